// Drawing a laid-out report on printer pages (the screen preview, the system printer, PDF).
#pragma once

#include "definicion.h"

class QPrinter;

namespace corvalo {

// Letter pages, in the report's orientation.
void prepararImpresora(QPrinter &impresora, const Maqueta &m);
// Draws the report on the printer: title, subtitles and column headings on each page, the lines
// with their group headings and totals, and a foot with the page number. A printer set to a
// page range gets those pages only.
void dibujarReporte(const Maqueta &m, QPrinter *impresora, const QString &pieImpresion);
// Writes the report as a PDF file; false with the reason when the file cannot be written.
bool guardarPdf(const Maqueta &m, const QString &ruta, const QString &pieImpresion, QString *error);

} // namespace corvalo
