// One-dimensional barcodes: a symbology routine turns a text into `patron_barras` (one digit
// per element, its width in modules, bar and space alternating from a bar), and DibujarCodigo
// draws it as filled rectangles.
#pragma once

#include <QString>

namespace corvalo {

// What a barcode is drawn on: filled black rectangles, in the surface's units.
class SuperficieDibujo {
public:
    virtual ~SuperficieDibujo() = default;
    virtual void rectangulo(double x, double y, double ancho, double alto) = 0;
};

class Module_CodigoBarras {
public:
    QString patron_barras;

    void Codigo39(const QString &texto);
    void Codigo128(const QString &texto);
    void CodigoI25(const QString &texto);
    void CodigoCodabar(const QString &texto);

    // Builds the pattern for the named symbology ("39", "128", "2/5", "Codabar") and draws it.
    // For "39" and "Codabar" the caller's text is turned to upper case. Returns false for an
    // unknown name (nothing drawn) or a text the symbology cannot hold.
    bool DibujarCodigo(const QString &simbologia, QString &texto, SuperficieDibujo &superficie, double modulo,
                       double alto, double izquierda, double arriba);

    // Total width of the pattern as drawn (spaces 1.3 times their nominal width).
    double anchoDibujado(double modulo) const;
};

} // namespace corvalo
