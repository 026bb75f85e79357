// Report files: small text definitions of a report over one local report table (title,
// columns with headings and formats, grouping and totals, parameters), and the layout they
// give a table's rows: the lines of the report, ready to be drawn or exported.
#pragma once

#include "db.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <stdexcept>

namespace corvalo {

// A report file that cannot be used. `faltante`: the file does not exist.
class ErrorReporte : public std::runtime_error {
public:
    ErrorReporte(const QString &what, bool faltante = false)
        : std::runtime_error(what.toStdString()), faltante(faltante) {}
    bool faltante;
};

enum class Formato { Texto, Entero, Numero, Dinero, Fecha };
enum class Alineacion { Izquierda, Centro, Derecha };
enum class Total { Ninguno, Suma, Cuenta };

struct ColumnaReporte {
    QString campo;  // column of the table
    QString titulo; // heading
    Formato formato = Formato::Texto;
    int ancho = 10; // share of the line width
    Alineacion alineacion = Alineacion::Izquierda;
    Total total = Total::Ninguno;
};

struct ParametroReporte {
    QString nombre; // "Parametro1", "Parametro2"
    bool entero = false;
};

struct DefinicionReporte {
    QString titulo;
    QString tabla;
    QString orden; // column the rows are read in order of
    bool horizontal = false;
    QStringList subtitulos;     // with {placeholders}
    QString grupo, tituloGrupo; // grouping column and the heading of each group
    QList<ColumnaReporte> columnas;
    QList<ParametroReporte> parametros;
    // When set, subtotals and totals add (and count) only the rows whose column holds the value.
    QString totalizaCampo, totalizaValor;
    QString textoTotal = QStringLiteral("TOTAL");
    QString pie;
    QString vacio = QStringLiteral("Sin registros");
};

// Reads a definition. Throws ErrorReporte naming the line of the first fault.
DefinicionReporte leerDefinicion(const QString &texto);
// Reads a report file (UTF-8). A missing file throws ErrorReporte with `faltante`.
DefinicionReporte leerArchivoReporte(const QString &ruta);
// The statement that reads the report's rows from its local table.
QString sentenciaReporte(const DefinicionReporte &def);

// One line of a laid-out report.
struct LineaReporte {
    enum class Tipo { Grupo, Detalle, Subtotal, Total };
    Tipo tipo = Tipo::Detalle;
    QString texto;       // group heading
    QStringList celdas;  // one text per column, formatted (details and totals)
    QStringList valores; // details: the values for a spreadsheet (numbers with a decimal comma)
};

struct Maqueta {
    QString titulo;
    QStringList subtitulos;
    QList<ColumnaReporte> columnas;
    QList<LineaReporte> lineas;
    QString pie;
    QString vacio;
    bool horizontal = false;
    int registros = 0;
};

// The report's lines over `filas`. `valores` holds the values the placeholders may name besides
// the table's columns (centre, currency, user, print time, the parameters); a placeholder that
// names nothing is left empty.
Maqueta maquetar(const DefinicionReporte &def, const Resultado &filas, const QMap<QString, QString> &valores);

// A value in a column's format: money and numbers with two decimals and thousands separators
// of the regional settings, dates "DD-MM-YYYY".
QString formatear(const QString &valor, Formato formato);

// The detail lines as CSV for a spreadsheet in a Spanish locale (UTF-8 with a byte-order mark,
// ";" between fields, numbers with a decimal comma and no thousands separator, CR LF line ends),
// headed by the column titles. Text that starts like a formula ("=", "+", "-", "@") gets a
// leading apostrophe.
QByteArray csvDe(const Maqueta &m);

} // namespace corvalo
