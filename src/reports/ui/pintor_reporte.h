// Puts a laid-out report on pages: the title, heading lines and column headings on every page,
// the rows, group headings, subtotals and the total, and a foot with the print time and
// "Página n de m". The same painting serves the preview, the printer and the PDF file.
#pragma once

#include "reporte_documento.h"

class QPrinter;

namespace corvalo {

class PintorReporte {
public:
    explicit PintorReporte(const DocumentoReporte &doc) : doc_(doc) {}

    // Orientation and margins of the report on `impresora` (the paper stays the printer's).
    void prepararImpresora(QPrinter *impresora) const;
    // Paints every page; returns how many there were.
    int pintar(QPrinter *impresora) const;

private:
    const DocumentoReporte &doc_;
};

} // namespace corvalo
