// The platform side of printing: the system printer through Qt's printing (CUPS on Linux), raw
// port output, and the default printer's name.
#pragma once

#include "impresora.h"
#include "puerto.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPrinter;
class QPagedPaintDevice;

namespace corvalo {

// Draws on any paged device (a QPrinter, a PDF writer); lines one under the other from the top
// of the page, 10 twips from the left edge.
class ImpresoraQt : public ImpresoraSistema, public SuperficieDibujo {
public:
    // Takes ownership of the printer when given as unique_ptr.
    explicit ImpresoraQt(std::unique_ptr<QPrinter> impresora);
    ~ImpresoraQt() override;

    void fuente(const QString &nombre) override;
    void tamano(int puntos) override;
    void linea(const QString &texto) override;
    double posicionActual() const override { return y_; }
    SuperficieDibujo &superficie() override { return *this; }
    void barrasDibujadas(double abajo) override { y_ = std::max(y_, abajo); }
    void terminar() override;
    void rectangulo(double x, double y, double ancho, double alto) override;

private:
    void empezar();
    double aDispositivo(double twips) const;
    std::unique_ptr<QPrinter> impresora_;
    QPainter painter_;
    QFont font_;
    double y_ = 10; // twips from the top of the page
    bool empezado_ = false;
};

// A printer for the system's default destination (one job per document).
std::unique_ptr<ImpresoraSistema> impresoraPredeterminadaDelSistema();

// The system's default destination, one print job each time.
class ImpresorasDelSistema : public FabricaImpresoras {
public:
    std::unique_ptr<ImpresoraSistema> abrir() override { return impresoraPredeterminadaDelSistema(); }
};
// A printer writing a PDF file (tests and previews).
std::unique_ptr<ImpresoraSistema> impresoraPdf(const QString &ruta);

// The default printer's name (the CUPS default destination); empty when there is none.
QString nombreImpresoraPredeterminada();

// Port output to files and devices, and one raw job to a shared printer queue.
class PuertoSistema : public PuertoSalida {
public:
    void escribir(const QString &puerto, const QByteArray &bytes) override;
};

} // namespace corvalo
