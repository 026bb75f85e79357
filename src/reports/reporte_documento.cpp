#include "reporte_documento.h"

#include "texto.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace corvalo {

QLocale localeReportes() {
    const QLocale sistema = QLocale::system();
    if (sistema.language() == QLocale::C)
        return QLocale(QLocale::Spanish, QLocale::Venezuela);
    return sistema;
}

QString textoMoneda(double monto, const QString &moneda, const QLocale &loc) {
    if (moneda == QLatin1String("BS"))
        return loc.toCurrencyString(monto);
    QLocale l = loc;
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString cifra = l.toString(std::fabs(monto), 'f', 2);
    return (monto < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + cifra;
}

namespace {

const QRegularExpression &marcador() {
    static const QRegularExpression m(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
    return m;
}

// A stored "YYYY-MM-DD" (optionally with a time) as "DD-MM-YYYY"; other texts as they are.
QString fechaVisible(const QString &t) {
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}"));
    if (iso.match(t).hasMatch()) {
        const QDate d = fechaDeTexto(t);
        if (d.isValid())
            return fechaPantalla(d);
    }
    return t;
}

struct Armador {
    const DefinicionReporte &d;
    const Resultado &filas;
    const ValoresReporte &v;

    bool hayColumna(const QString &c) const { return filas.tieneColumna(c); }

    QString crudo(int fila, const QString &campo) const {
        if (fila < 0 || fila >= filas.filas() || !hayColumna(campo))
            return {};
        return filas.valor(fila, campo).texto();
    }

    // The text of a placeholder; `fila` -1 when there is no row.
    QString valorMarcador(const QString &nombre, int fila, int n) const {
        if (nombre == QLatin1String("moneda"))
            return v.moneda;
        if (nombre == QLatin1String("n"))
            return n < 0 ? QString() : QString::number(n);
        for (const ParametroReporte &p : d.parametros)
            if (p.nombre == nombre) {
                if (!p.entero)
                    return nombre == QLatin1String("Parametro1") ? v.parametro1 : QString();
                const int valor = nombre == QLatin1String("Parametro2") ? v.parametro2 : 0;
                return valor == 0 ? QString() : QString::number(valor);
            }
        return fechaVisible(crudo(fila, nombre));
    }

    // The line with its placeholders filled in; nothing when it has placeholders and all are empty.
    std::optional<QString> llenar(const QString &plantilla, int fila, int n = -1) const {
        QString out;
        int desde = 0, marcadores = 0, llenos = 0;
        auto it = marcador().globalMatch(plantilla);
        while (it.hasNext()) {
            const auto m = it.next();
            out += plantilla.mid(desde, m.capturedStart() - desde);
            const QString valor = valorMarcador(m.captured(1), fila, n);
            ++marcadores;
            if (!valor.isEmpty())
                ++llenos;
            out += valor;
            desde = int(m.capturedEnd());
        }
        out += plantilla.mid(desde);
        if (marcadores > 0 && llenos == 0)
            return std::nullopt;
        return out;
    }

    QString celda(const ColumnaReporte &c, const QString &t) const {
        switch (c.formato) {
        case FormatoColumna::Texto:
            return t;
        case FormatoColumna::Entero:
            return QString::number(std::llround(numeroDe(t)));
        case FormatoColumna::Numero:
            return v.locale.toString(numeroDe(t), 'f', 2);
        case FormatoColumna::Moneda:
            return v.moneda.isEmpty() ? v.locale.toString(numeroDe(t), 'f', 2) : textoMoneda(numeroDe(t), v.moneda, v.locale);
        case FormatoColumna::Fecha:
            return fechaVisible(t);
        case FormatoColumna::Lista:
            return c.lista.value(t, t);
        }
        return t;
    }

    QString suma(const ColumnaReporte &c, double total) const {
        if (c.formato == FormatoColumna::Entero)
            return QString::number(std::llround(total));
        if (c.formato == FormatoColumna::Moneda && !v.moneda.isEmpty())
            return textoMoneda(total, v.moneda, v.locale);
        return v.locale.toString(total, 'f', 2);
    }

    // A value for the spreadsheet: numbers plain, dates and codes as shown.
    QString csv(const ColumnaReporte &c, const QString &t) const {
        switch (c.formato) {
        case FormatoColumna::Entero:
            return QString::number(std::llround(numeroDe(t)));
        case FormatoColumna::Numero:
        case FormatoColumna::Moneda: {
            QLocale l = v.locale;
            l.setNumberOptions(QLocale::OmitGroupSeparator);
            return l.toString(numeroDe(t), 'f', 2);
        }
        default:
            return celda(c, t);
        }
    }

    LineaDocumento totales(LineaDocumento::Tipo tipo, const QString &texto, const std::vector<double> &sumas) const {
        LineaDocumento l;
        l.tipo = tipo;
        l.texto = texto;
        for (int i = 0; i < d.columnas.size(); ++i)
            l.celdas << (d.columnas[i].suma ? suma(d.columnas[i], sumas[std::size_t(i)]) : QString());
        return l;
    }
};

} // namespace

DocumentoReporte armarDocumento(const DefinicionReporte &d, const Resultado &filas, const ValoresReporte &v) {
    Armador a{d, filas, v};
    DocumentoReporte doc;
    doc.titulo = d.titulo;
    doc.horizontal = d.horizontal;
    doc.filas = filas.filas();
    doc.impreso = QStringLiteral("Impreso el ") + fechaPantalla(v.impreso.date()) + QLatin1Char(' ') +
                  v.impreso.time().toString(QStringLiteral("HH:mm"));
    const int primera = filas.vacio() ? -1 : 0;
    for (const QString &e : d.encabezados)
        if (const auto t = a.llenar(e, primera))
            doc.encabezados << *t;
    for (const QString &p : d.pie)
        if (const auto t = a.llenar(p, primera))
            doc.pie << *t;
    for (const ColumnaReporte &c : d.columnas) {
        ColumnaDocumento cd;
        cd.encabezado = c.encabezado;
        cd.ancho = c.ancho;
        switch (c.formato) {
        case FormatoColumna::Entero:
        case FormatoColumna::Numero:
        case FormatoColumna::Moneda:
            cd.alineacion = Alineacion::Derecha;
            break;
        case FormatoColumna::Fecha:
            cd.alineacion = Alineacion::Centro;
            break;
        default:
            cd.alineacion = Alineacion::Izquierda;
        }
        doc.columnas << cd;
        doc.csvEncabezados << c.encabezado;
    }

    const std::size_t n = std::size_t(d.columnas.size());
    std::vector<double> total(n, 0.0), subtotal(n, 0.0);
    const bool agrupado = !d.grupo.isEmpty() && a.hayColumna(d.grupo);
    int inicioGrupo = 0, filasGrupo = 0;
    QString grupoActual;
    auto cerrarGrupo = [&](int ultima) {
        const QString etiqueta = a.llenar(d.subtotal.isEmpty() ? QStringLiteral("Total {%1}").arg(d.grupo) : d.subtotal,
                                          ultima, filasGrupo)
                                     .value_or(QString());
        doc.lineas << a.totales(LineaDocumento::Subtotal, etiqueta, subtotal);
        std::fill(subtotal.begin(), subtotal.end(), 0.0);
        filasGrupo = 0;
    };
    for (int i = 0; i < filas.filas(); ++i) {
        if (agrupado) {
            const QString g = a.crudo(i, d.grupo);
            if (i == 0 || g != grupoActual) {
                if (i > 0)
                    cerrarGrupo(inicioGrupo);
                grupoActual = g;
                inicioGrupo = i;
                LineaDocumento cab;
                cab.tipo = LineaDocumento::Grupo;
                cab.texto = a.llenar(d.cabeceraGrupo, i).value_or(QString());
                doc.lineas << cab;
            }
        }
        LineaDocumento l;
        QStringList csv;
        for (std::size_t c = 0; c < n; ++c) {
            const ColumnaReporte &col = d.columnas[int(c)];
            const QString t = a.crudo(i, col.campo);
            l.celdas << a.celda(col, t);
            csv << a.csv(col, t);
            if (col.suma) {
                total[c] += numeroDe(t);
                subtotal[c] += numeroDe(t);
            }
        }
        ++filasGrupo;
        doc.lineas << l;
        doc.csvFilas << csv;
    }
    if (agrupado && filas.filas() > 0)
        cerrarGrupo(inicioGrupo);
    doc.lineas << a.totales(LineaDocumento::Total, a.llenar(d.total, primera, filas.filas()).value_or(QString()), total);
    return doc;
}

QByteArray csvDocumento(const DocumentoReporte &doc, const QLocale &loc) {
    const QChar separador = loc.decimalPoint() == QLatin1String(",") ? QLatin1Char(';') : QLatin1Char(',');
    auto campo = [&](const QString &t) {
        if (!t.contains(separador) && !t.contains(QLatin1Char('"')) && !t.contains(QLatin1Char('\n')) &&
            !t.contains(QLatin1Char('\r')))
            return t;
        QString c = t;
        c.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + c + QLatin1Char('"');
    };
    auto linea = [&](const QStringList &valores) {
        QStringList out;
        for (const QString &v : valores)
            out << campo(v);
        return out.join(separador) + QStringLiteral("\r\n");
    };
    QString texto = linea(doc.csvEncabezados);
    for (const QStringList &f : doc.csvFilas)
        texto += linea(f);
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

} // namespace corvalo
