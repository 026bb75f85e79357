// The report files of the Reportes folder: small text definitions of a report over one local
// report table (title, heading lines, columns with their headings and formats, one grouping
// with subtotals, the grand total and the parameters "Parametro1" and "Parametro2"). The
// format is described in Reportes/README.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace corvalo {

class ErrorReporte : public std::runtime_error {
public:
    enum Tipo { ArchivoFaltante, Formato };
    ErrorReporte(Tipo tipo, const QString &que) : std::runtime_error(que.toStdString()), tipo(tipo) {}
    Tipo tipo;
};

enum class FormatoColumna {
    Texto,  // as stored
    Entero, // 12
    Numero, // 1.234,50 (two decimals, regional separators)
    Moneda, // the currency format of the report's currency
    Fecha,  // DD-MM-YYYY (a stored "YYYY-MM-DD" is turned round; other texts are kept)
    Lista,  // stored codes shown as the texts of a list: lista(0=VENDIDO;1=GANADOR)
};

struct ColumnaReporte {
    QString campo;
    QString encabezado;
    FormatoColumna formato = FormatoColumna::Texto;
    double ancho = 10; // share of the line's width, relative to the other columns
    bool suma = false; // summed in the subtotals and the total
    QMap<QString, QString> lista;
};

struct ParametroReporte {
    QString nombre;
    bool entero = false;
};

struct DefinicionReporte {
    QString titulo;
    QString tabla;
    QStringList orden; // "campo" or "campo desc"
    bool horizontal = false;
    QList<ParametroReporte> parametros;
    QStringList encabezados;
    QString grupo, cabeceraGrupo, subtotal;
    QString total = QStringLiteral("TOTAL");
    QStringList pie;
    QList<ColumnaReporte> columnas;
};

// Reads a definition; `nombre` names it in the errors. Throws ErrorReporte(Formato) with the
// line at fault.
DefinicionReporte leerDefinicion(const QString &texto, const QString &nombre);
// Reads the file; a file that does not exist throws ErrorReporte(ArchivoFaltante).
DefinicionReporte abrirDefinicion(const QString &ruta);

// "select * from `tabla` order by `a`,`b` desc": the rows the report shows.
QString sentenciaDefinicion(const DefinicionReporte &d);

} // namespace corvalo
