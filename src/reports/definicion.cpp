#include "definicion.h"

#include "texto.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace corvalo {

namespace {

bool esIdentificador(const QString &s) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(s).hasMatch();
}

[[noreturn]] void falta(int linea, const QString &que) {
    throw ErrorReporte(QStringLiteral("línea %1: %2").arg(linea).arg(que));
}

Formato formatoDe(const QString &t, int linea) {
    if (t == QLatin1String("texto"))
        return Formato::Texto;
    if (t == QLatin1String("entero"))
        return Formato::Entero;
    if (t == QLatin1String("numero"))
        return Formato::Numero;
    if (t == QLatin1String("dinero"))
        return Formato::Dinero;
    if (t == QLatin1String("fecha"))
        return Formato::Fecha;
    falta(linea, QStringLiteral("formato desconocido \"%1\"").arg(t));
}

Alineacion alineacionDe(const QString &t, int linea) {
    if (t == QLatin1String("izquierda"))
        return Alineacion::Izquierda;
    if (t == QLatin1String("centro"))
        return Alineacion::Centro;
    if (t == QLatin1String("derecha"))
        return Alineacion::Derecha;
    falta(linea, QStringLiteral("alineación desconocida \"%1\"").arg(t));
}

QLocale localeReportes() {
    const QLocale sistema = QLocale::system();
    QLocale l = sistema.language() == QLocale::C ? QLocale(QLocale::Spanish, QLocale::Venezuela) : sistema;
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    return l;
}

// Replaces every {name} by its value.
QString rellenar(const QString &plantilla, const std::function<QString(const QString &)> &valor) {
    static const QRegularExpression re(QStringLiteral("\\{([A-Za-z0-9_]+)\\}"));
    QString out;
    qsizetype desde = 0;
    auto it = re.globalMatch(plantilla);
    while (it.hasNext()) {
        const auto m = it.next();
        out += plantilla.mid(desde, m.capturedStart() - desde);
        out += valor(m.captured(1));
        desde = m.capturedEnd();
    }
    out += plantilla.mid(desde);
    return out;
}

// A number for a spreadsheet in a Spanish locale: decimal comma, no thousands separator.
QString numeroCsv(double v) {
    return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

// Typed text (a reason, a user name) that a spreadsheet would take for a formula gets a leading
// apostrophe, so it is shown as the text it is.
QString textoCsvSeguro(const QString &v) {
    if (!v.isEmpty() && QStringLiteral("=+-@\t\r").contains(v.front()))
        return QLatin1Char('\'') + v;
    return v;
}

// A whole number keeps its digits; "5.000" from a double column compares as "5".
QString numeroOTexto(const QString &v) {
    bool ok = false;
    const double n = v.toDouble(&ok);
    return ok ? textoNumero(n) : v;
}

QString campoCsv(const QString &v) {
    if (!v.contains(QLatin1Char(';')) && !v.contains(QLatin1Char('"')) && !v.contains(QLatin1Char('\n')) &&
        !v.contains(QLatin1Char('\r')))
        return v;
    QString t = v;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

} // namespace

DefinicionReporte leerDefinicion(const QString &texto) {
    DefinicionReporte d;
    d.titulo.clear();
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    for (int n = 0; n < lineas.size(); ++n) {
        const int num = n + 1;
        const QString linea = lineas[n].trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype dos = linea.indexOf(QLatin1Char(':'));
        if (dos <= 0)
            falta(num, QStringLiteral("se esperaba \"clave: valor\""));
        const QString clave = linea.left(dos).trimmed();
        const QString valor = linea.mid(dos + 1).trimmed();
        QStringList partes = valor.split(QLatin1Char('|'));
        for (QString &p : partes)
            p = p.trimmed();
        if (clave == QLatin1String("titulo")) {
            d.titulo = valor;
        } else if (clave == QLatin1String("tabla")) {
            if (!esIdentificador(valor))
                falta(num, QStringLiteral("nombre de tabla no válido"));
            d.tabla = valor;
        } else if (clave == QLatin1String("orden")) {
            if (!esIdentificador(valor))
                falta(num, QStringLiteral("nombre de columna no válido"));
            d.orden = valor;
        } else if (clave == QLatin1String("orientacion")) {
            if (valor != QLatin1String("vertical") && valor != QLatin1String("horizontal"))
                falta(num, QStringLiteral("orientación: vertical u horizontal"));
            d.horizontal = valor == QLatin1String("horizontal");
        } else if (clave == QLatin1String("subtitulo")) {
            d.subtitulos << valor;
        } else if (clave == QLatin1String("grupo")) {
            if (!esIdentificador(partes.value(0)))
                falta(num, QStringLiteral("nombre de columna no válido"));
            d.grupo = partes.value(0);
            d.tituloGrupo = partes.size() > 1 ? partes[1] : QLatin1Char('{') + d.grupo + QLatin1Char('}');
        } else if (clave == QLatin1String("parametro")) {
            const QStringList p = valor.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (p.size() != 2 || !esIdentificador(p[0]) ||
                (p[1] != QLatin1String("texto") && p[1] != QLatin1String("entero")))
                falta(num, QStringLiteral("parametro: NOMBRE texto|entero"));
            d.parametros.append({p[0], p[1] == QLatin1String("entero")});
        } else if (clave == QLatin1String("columna")) {
            if (partes.size() < 4 || partes.size() > 6)
                falta(num, QStringLiteral(
                               "columna: campo | título | formato | ancho [| alineación] [| suma|cuenta]"));
            ColumnaReporte c;
            if (!esIdentificador(partes[0]))
                falta(num, QStringLiteral("nombre de columna no válido"));
            c.campo = partes[0];
            c.titulo = partes[1];
            c.formato = formatoDe(partes[2], num);
            bool ok = false;
            c.ancho = partes[3].toInt(&ok);
            if (!ok || c.ancho <= 0 || c.ancho > 100)
                falta(num, QStringLiteral("ancho: un número de 1 a 100"));
            const bool numerica =
                c.formato == Formato::Entero || c.formato == Formato::Numero || c.formato == Formato::Dinero;
            c.alineacion = numerica ? Alineacion::Derecha : Alineacion::Izquierda;
            for (int i = 4; i < partes.size(); ++i) {
                if (partes[i] == QLatin1String("suma")) {
                    if (!numerica)
                        falta(num, QStringLiteral("solo se suman columnas numéricas"));
                    c.total = Total::Suma;
                } else if (partes[i] == QLatin1String("cuenta")) {
                    c.total = Total::Cuenta;
                } else {
                    c.alineacion = alineacionDe(partes[i], num);
                }
            }
            d.columnas.append(c);
        } else if (clave == QLatin1String("totaliza")) {
            const qsizetype igual = valor.indexOf(QLatin1Char('='));
            if (igual <= 0 || !esIdentificador(valor.left(igual).trimmed()))
                falta(num, QStringLiteral("totaliza: columna=valor"));
            d.totalizaCampo = valor.left(igual).trimmed();
            d.totalizaValor = valor.mid(igual + 1).trimmed();
        } else if (clave == QLatin1String("total")) {
            d.textoTotal = valor;
        } else if (clave == QLatin1String("pie")) {
            d.pie = valor;
        } else if (clave == QLatin1String("vacio")) {
            d.vacio = valor;
        } else {
            falta(num, QStringLiteral("clave desconocida \"%1\"").arg(clave));
        }
    }
    if (d.tabla.isEmpty())
        throw ErrorReporte(QStringLiteral("el reporte no nombra su tabla"));
    if (d.columnas.isEmpty())
        throw ErrorReporte(QStringLiteral("el reporte no tiene columnas"));
    return d;
}

DefinicionReporte leerArchivoReporte(const QString &ruta) {
    QFile f(ruta);
    if (!f.exists())
        throw ErrorReporte(QStringLiteral("no existe %1").arg(ruta), true);
    if (!f.open(QIODevice::ReadOnly))
        throw ErrorReporte(QStringLiteral("%1: %2").arg(ruta, f.errorString()));
    try {
        return leerDefinicion(QString::fromUtf8(f.readAll()));
    } catch (const ErrorReporte &e) {
        throw ErrorReporte(ruta + QStringLiteral(", ") + QString::fromUtf8(e.what()));
    }
}

QString sentenciaReporte(const DefinicionReporte &def) {
    QString sql = QStringLiteral("select * from ") + def.tabla;
    QStringList orden;
    if (!def.grupo.isEmpty())
        orden << def.grupo;
    if (!def.orden.isEmpty())
        orden << def.orden;
    if (!orden.isEmpty())
        sql += QStringLiteral(" order by ") + orden.join(QLatin1Char(','));
    return sql;
}

QString formatear(const QString &valor, Formato formato) {
    switch (formato) {
    case Formato::Texto:
        return valor;
    case Formato::Entero:
        return localeReportes().toString(qRound64(numeroDe(valor)));
    case Formato::Numero:
    case Formato::Dinero:
        return localeReportes().toString(numeroDe(valor), 'f', 2);
    case Formato::Fecha: {
        const QDate d = fechaDeTexto(valor);
        return d.isValid() ? fechaPantalla(d) : valor;
    }
    }
    return valor;
}

Maqueta maquetar(const DefinicionReporte &def, const Resultado &filas,
                 const QMap<QString, QString> &valores) {
    Maqueta m;
    m.columnas = def.columnas;
    m.horizontal = def.horizontal;
    m.vacio = def.vacio;
    m.registros = filas.filas();
    // A placeholder: a column of the given row, or one of the values.
    auto valorEn = [&](int fila) {
        return [&, fila](const QString &nombre) -> QString {
            if (fila >= 0 && fila < filas.filas() && filas.tieneColumna(nombre)) {
                QString v = filas.valor(fila, nombre).texto();
                const QDate d = QDate::fromString(v, QStringLiteral("yyyy-MM-dd"));
                return d.isValid() ? fechaPantalla(d) : v;
            }
            if (nombre == QLatin1String("registros"))
                return QString::number(filas.filas());
            return valores.value(nombre);
        };
    };
    m.titulo = rellenar(def.titulo, valorEn(0));
    for (const QString &s : def.subtitulos)
        m.subtitulos << rellenar(s, valorEn(0));
    m.pie = rellenar(def.pie, valorEn(0));

    const int nc = int(def.columnas.size());
    auto lineaTotal = [&](const std::vector<double> &sumas, int cuenta, const QString &texto,
                          LineaReporte::Tipo tipo) {
        LineaReporte l;
        l.tipo = tipo;
        bool rotulo = false;
        for (int c = 0; c < nc; ++c) {
            const ColumnaReporte &col = def.columnas[c];
            if (col.total == Total::Suma)
                l.celdas << formatear(textoNumero(sumas[size_t(c)]), col.formato);
            else if (col.total == Total::Cuenta)
                l.celdas << localeReportes().toString(cuenta);
            else if (!rotulo) {
                l.celdas << texto;
                rotulo = true;
            } else
                l.celdas << QString();
        }
        return l;
    };
    const bool hayTotales = std::any_of(def.columnas.begin(), def.columnas.end(),
                                        [](const ColumnaReporte &c) { return c.total != Total::Ninguno; });

    std::vector<double> total(size_t(nc), 0), parcial(size_t(nc), 0);
    int cuentaTotal = 0, cuentaParcial = 0;
    QString grupoActual;
    QString tituloActual;
    const bool agrupa = !def.grupo.isEmpty() && filas.tieneColumna(def.grupo);
    for (int f = 0; f < filas.filas(); ++f) {
        if (agrupa) {
            const QString g = filas.valor(f, def.grupo).texto();
            if (f == 0 || g != grupoActual) {
                if (f > 0 && hayTotales)
                    m.lineas << lineaTotal(parcial, cuentaParcial, QStringLiteral("Total ") + tituloActual,
                                           LineaReporte::Tipo::Subtotal);
                std::fill(parcial.begin(), parcial.end(), 0);
                cuentaParcial = 0;
                grupoActual = g;
                tituloActual = rellenar(def.tituloGrupo, valorEn(f));
                LineaReporte cab;
                cab.tipo = LineaReporte::Tipo::Grupo;
                cab.texto = tituloActual;
                m.lineas << cab;
            }
        }
        // A report that totals only some rows ("totaliza") still lists every row.
        const bool cuenta = def.totalizaCampo.isEmpty() ||
                            (filas.tieneColumna(def.totalizaCampo) &&
                             numeroOTexto(filas.valor(f, def.totalizaCampo).texto()) == def.totalizaValor);
        LineaReporte l;
        for (int c = 0; c < nc; ++c) {
            const ColumnaReporte &col = def.columnas[c];
            const QString crudo =
                filas.tieneColumna(col.campo) ? filas.valor(f, col.campo).texto() : QString();
            l.celdas << formatear(crudo, col.formato);
            switch (col.formato) {
            case Formato::Numero:
            case Formato::Dinero:
                l.valores << numeroCsv(numeroDe(crudo));
                break;
            case Formato::Entero:
                l.valores << QString::number(qRound64(numeroDe(crudo)));
                break;
            case Formato::Fecha:
                l.valores << formatear(crudo, Formato::Fecha);
                break;
            case Formato::Texto:
                l.valores << textoCsvSeguro(crudo);
                break;
            }
            if (cuenta) {
                total[size_t(c)] += numeroDe(crudo);
                parcial[size_t(c)] += numeroDe(crudo);
            }
        }
        if (cuenta) {
            ++cuentaTotal;
            ++cuentaParcial;
        }
        m.lineas << l;
    }
    if (agrupa && filas.filas() > 0 && hayTotales)
        m.lineas << lineaTotal(parcial, cuentaParcial, QStringLiteral("Total ") + tituloActual,
                               LineaReporte::Tipo::Subtotal);
    if (hayTotales && filas.filas() > 0)
        m.lineas << lineaTotal(total, cuentaTotal, def.textoTotal, LineaReporte::Tipo::Total);
    return m;
}

QByteArray csvDe(const Maqueta &m) {
    QString out;
    QStringList cab;
    for (const ColumnaReporte &c : m.columnas)
        cab << campoCsv(c.titulo);
    out += cab.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    for (const LineaReporte &l : m.lineas) {
        if (l.tipo != LineaReporte::Tipo::Detalle)
            continue;
        QStringList f;
        for (const QString &v : l.valores)
            f << campoCsv(v);
        out += f.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace corvalo
