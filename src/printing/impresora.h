// The system printer as the printed documents use it, and the printer-line routine.
#pragma once

#include "Module_CodigoBarras.h"

#include <QString>

#include <memory>

namespace corvalo {

// The system printer. Units are twips (1/1440 inch) of the page.
class ImpresoraSistema {
public:
    virtual ~ImpresoraSistema() = default;
    virtual void fuente(const QString &nombre) = 0;
    virtual void tamano(int puntos) = 0;
    // One line of text under the previous one.
    virtual void linea(const QString &texto) = 0;
    // Where the next line would start, from the top of the page.
    virtual double posicionActual() const = 0;
    // Filled rectangles for a barcode.
    virtual SuperficieDibujo &superficie() = 0;
    // The bars reach down to `abajo`: the next line starts below them.
    virtual void barrasDibujadas(double abajo) = 0;
    // Ends the print job; throws on a printer failure.
    virtual void terminar() = 0;
};

// Opens the system printer for one print job; throws when there is none.
class FabricaImpresoras {
public:
    virtual ~FabricaImpresoras() = default;
    virtual std::unique_ptr<ImpresoraSistema> abrir() = 0;
};

// Splits the text at CR LF and prints each piece as one line; an empty text prints nothing.
// The lines start at the left edge, one under the other from the top of the page, whatever
// placement the caller passes.
void ImprimirLinea(ImpresoraSistema &imp, const QString &texto, double izquierda = 10, double arriba = 10);

} // namespace corvalo
