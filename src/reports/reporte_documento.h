// A report laid out as lines of text, ready for the viewer to put on pages: the title and
// heading lines, the columns, and one line per group heading, row, subtotal and total with
// every cell already formatted. Also the same rows for a spreadsheet (CSV).
#pragma once

#include "db.h"
#include "reporte_definicion.h"

#include <QDateTime>
#include <QLocale>

namespace corvalo {

// What the viewer gives the report besides its rows.
// The regional settings amounts are written with (Spanish of Venezuela where the workstation
// has none of its own).
QLocale localeReportes();

struct ValoresReporte {
    QString parametro1; // "Parametro1" (text)
    int parametro2 = 0; // "Parametro2" (integer)
    QString moneda;     // label of the figures' currency: "BS" or "$"; empty: plain numbers
    QDateTime impreso;  // when the report is made
    QLocale locale = localeReportes();
};

// Amounts: the currency format of the workstation for "BS", "$#,##0.00" for any other label.
QString textoMoneda(double monto, const QString &moneda, const QLocale &loc);

enum class Alineacion { Izquierda, Centro, Derecha };

struct ColumnaDocumento {
    QString encabezado;
    double ancho = 10;
    Alineacion alineacion = Alineacion::Izquierda;
};

struct LineaDocumento {
    enum Tipo { Grupo, Detalle, Subtotal, Total };
    Tipo tipo = Detalle;
    QString texto;      // group heading, or the label of a subtotal or total
    QStringList celdas; // one per column (empty for the columns a total does not sum)
};

struct DocumentoReporte {
    QString titulo;
    QStringList encabezados; // under the title on every page
    bool horizontal = false;
    QList<ColumnaDocumento> columnas;
    QList<LineaDocumento> lineas;
    QStringList pie;
    QString impreso; // "Impreso el DD-MM-YYYY HH:MM"
    int filas = 0;   // rows of the table
    // The rows for a spreadsheet: headings, then one list of values per row.
    QStringList csvEncabezados;
    QList<QStringList> csvFilas;
};

// Lays the rows out as the definition says. Placeholders {campo} of the heading lines take the
// first row's value; {Parametro1}, {Parametro2}, {moneda} the values; {n} (in subtotals and the
// total) the number of rows. A heading line whose placeholders are all empty is left out.
DocumentoReporte armarDocumento(const DefinicionReporte &d, const Resultado &filas, const ValoresReporte &v);

// The spreadsheet file: UTF-8 with a byte-order mark, fields separated by ";" where the regional
// decimal separator is "," (else ","), numbers without thousands separators, CR LF line ends.
QByteArray csvDocumento(const DocumentoReporte &doc, const QLocale &loc);

} // namespace corvalo
