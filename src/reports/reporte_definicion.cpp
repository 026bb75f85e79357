#include "reporte_definicion.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace corvalo {

namespace {

bool esIdentificador(const QString &s) {
    static const QRegularExpression id(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return id.match(s).hasMatch();
}

class Lector {
public:
    Lector(const QString &nombre) : nombre_(nombre) {}
    [[noreturn]] void error(const QString &que) const {
        throw ErrorReporte(ErrorReporte::Formato, QStringLiteral("%1, línea %2: %3").arg(nombre_).arg(linea_).arg(que));
    }
    void linea(int n) { linea_ = n; }
    QString identificador(const QString &s, const QString &que) const {
        const QString t = s.trimmed();
        if (!esIdentificador(t))
            error(QStringLiteral("%1 no válido: «%2»").arg(que, t));
        return t;
    }

private:
    QString nombre_;
    int linea_ = 0;
};

FormatoColumna formatoDe(const Lector &l, const QString &texto, QMap<QString, QString> &lista) {
    const QString t = texto.trimmed();
    if (t == QLatin1String("texto"))
        return FormatoColumna::Texto;
    if (t == QLatin1String("entero"))
        return FormatoColumna::Entero;
    if (t == QLatin1String("numero"))
        return FormatoColumna::Numero;
    if (t == QLatin1String("moneda"))
        return FormatoColumna::Moneda;
    if (t == QLatin1String("fecha"))
        return FormatoColumna::Fecha;
    if (t.startsWith(QLatin1String("lista(")) && t.endsWith(QLatin1Char(')'))) {
        const QString cuerpo = t.mid(6, t.size() - 7);
        for (const QString &par : cuerpo.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const int igual = par.indexOf(QLatin1Char('='));
            if (igual <= 0)
                l.error(QStringLiteral("la lista espera código=texto, no «%1»").arg(par.trimmed()));
            lista.insert(par.left(igual).trimmed(), par.mid(igual + 1).trimmed());
        }
        return FormatoColumna::Lista;
    }
    l.error(QStringLiteral("formato desconocido «%1» (texto, entero, numero, moneda, fecha o lista(...))").arg(t));
}

} // namespace

DefinicionReporte leerDefinicion(const QString &texto, const QString &nombre) {
    DefinicionReporte d;
    Lector l(nombre);
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    for (int n = 0; n < lineas.size(); ++n) {
        l.linea(n + 1);
        QString s = lineas[n];
        if (s.endsWith(QLatin1Char('\r')))
            s.chop(1);
        if (s.trimmed().isEmpty() || s.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const int dos = s.indexOf(QLatin1Char(':'));
        if (dos <= 0)
            l.error(QStringLiteral("se espera «clave: valor»"));
        const QString clave = s.left(dos).trimmed();
        const QString valor = s.mid(dos + 1).trimmed();
        if (clave == QLatin1String("titulo")) {
            d.titulo = valor;
        } else if (clave == QLatin1String("tabla")) {
            d.tabla = l.identificador(valor, QStringLiteral("nombre de tabla"));
        } else if (clave == QLatin1String("orden")) {
            for (const QString &parte : valor.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QStringList palabras = parte.simplified().split(QLatin1Char(' '));
                const QString campo = l.identificador(palabras.value(0), QStringLiteral("campo de orden"));
                if (palabras.size() == 2 && palabras[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0)
                    d.orden << campo + QStringLiteral(" desc");
                else if (palabras.size() == 1)
                    d.orden << campo;
                else
                    l.error(QStringLiteral("orden no válido: «%1»").arg(parte.trimmed()));
            }
        } else if (clave == QLatin1String("pagina")) {
            if (valor == QLatin1String("horizontal"))
                d.horizontal = true;
            else if (valor == QLatin1String("vertical"))
                d.horizontal = false;
            else
                l.error(QStringLiteral("pagina es vertical u horizontal, no «%1»").arg(valor));
        } else if (clave == QLatin1String("parametro")) {
            const QStringList p = valor.simplified().split(QLatin1Char(' '));
            if (p.size() != 2 || (p[1] != QLatin1String("texto") && p[1] != QLatin1String("entero")))
                l.error(QStringLiteral("parametro espera «NOMBRE texto» o «NOMBRE entero»"));
            d.parametros << ParametroReporte{l.identificador(p[0], QStringLiteral("nombre de parámetro")),
                                             p[1] == QLatin1String("entero")};
        } else if (clave == QLatin1String("encabezado")) {
            d.encabezados << valor;
        } else if (clave == QLatin1String("grupo")) {
            const int barra = valor.indexOf(QLatin1Char('|'));
            d.grupo = l.identificador(barra < 0 ? valor : valor.left(barra), QStringLiteral("campo de grupo"));
            d.cabeceraGrupo = barra < 0 ? QLatin1Char('{') + d.grupo + QLatin1Char('}') : valor.mid(barra + 1).trimmed();
        } else if (clave == QLatin1String("subtotal")) {
            d.subtotal = valor;
        } else if (clave == QLatin1String("total")) {
            d.total = valor;
        } else if (clave == QLatin1String("pie")) {
            d.pie << valor;
        } else if (clave == QLatin1String("columna")) {
            const QStringList partes = valor.split(QLatin1Char('|'));
            if (partes.size() < 4 || partes.size() > 5)
                l.error(QStringLiteral("columna espera «campo | encabezado | formato | ancho [| suma]»"));
            ColumnaReporte c;
            c.campo = l.identificador(partes[0], QStringLiteral("campo"));
            c.encabezado = partes[1].trimmed();
            c.formato = formatoDe(l, partes[2], c.lista);
            bool ok = false;
            c.ancho = partes[3].trimmed().toDouble(&ok);
            if (!ok || c.ancho <= 0)
                l.error(QStringLiteral("el ancho es un número mayor que 0, no «%1»").arg(partes[3].trimmed()));
            if (partes.size() == 5) {
                if (partes[4].trimmed() != QLatin1String("suma"))
                    l.error(QStringLiteral("se espera «suma», no «%1»").arg(partes[4].trimmed()));
                c.suma = true;
            }
            d.columnas << c;
        } else {
            l.error(QStringLiteral("clave desconocida «%1»").arg(clave));
        }
    }
    l.linea(lineas.size());
    if (d.titulo.isEmpty())
        l.error(QStringLiteral("falta «titulo:»"));
    if (d.tabla.isEmpty())
        l.error(QStringLiteral("falta «tabla:»"));
    if (d.columnas.isEmpty())
        l.error(QStringLiteral("falta al menos una «columna:»"));
    return d;
}

DefinicionReporte abrirDefinicion(const QString &ruta) {
    QFile f(ruta);
    if (!QFileInfo(ruta).isFile() || !f.open(QIODevice::ReadOnly))
        throw ErrorReporte(ErrorReporte::ArchivoFaltante, QStringLiteral("%1: no se encuentra").arg(ruta));
    return leerDefinicion(QString::fromUtf8(f.readAll()), QFileInfo(ruta).fileName());
}

QString sentenciaDefinicion(const DefinicionReporte &d) {
    QString s = QStringLiteral("select * from `") + d.tabla + QLatin1Char('`');
    QStringList orden;
    for (const QString &o : d.orden) {
        const bool desc = o.endsWith(QLatin1String(" desc"));
        orden << QLatin1Char('`') + (desc ? o.chopped(5) : o) + QLatin1Char('`') +
                     (desc ? QStringLiteral(" desc") : QString());
    }
    if (!orden.isEmpty())
        s += QStringLiteral(" order by ") + orden.join(QLatin1Char(','));
    return s;
}

} // namespace corvalo
