#include "ajustes_impresion.h"

#include "texto.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <cmath>

namespace corvalo {

namespace {

// One integer field; false when it is not a number (an empty field reads as 0).
bool leerEntero(const QString &campo, int &valor) {
    const QString t = campo.trimmed();
    if (t.isEmpty()) {
        valor = 0;
        return true;
    }
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d) || d < -32768.5 || d > 32767.5)
        return false;
    valor = int(std::nearbyint(d)); // halves to the even neighbour
    return true;
}

} // namespace

void leerAjustesImpresionDe(const QByteArray &contenido, Sesion &sesion) {
    QString linea = desdeCp1252(contenido);
    const int fin = linea.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    if (fin >= 0)
        linea.truncate(fin);
    if (linea.trimmed().isEmpty())
        return;

    // The port: quoted text (commas allowed inside), or unquoted text up to the first comma.
    int pos = 0;
    while (pos < linea.size() && linea[pos] == QLatin1Char(' '))
        ++pos;
    QString puerto;
    if (pos < linea.size() && linea[pos] == QLatin1Char('"')) {
        const int cierre = linea.indexOf(QLatin1Char('"'), pos + 1);
        if (cierre < 0)
            return;
        puerto = linea.mid(pos + 1, cierre - pos - 1);
        pos = cierre + 1;
        const int coma = linea.indexOf(QLatin1Char(','), pos);
        pos = coma < 0 ? int(linea.size()) : coma + 1;
    } else {
        const int coma = linea.indexOf(QLatin1Char(','), pos);
        puerto = (coma < 0 ? linea.mid(pos) : linea.mid(pos, coma - pos)).trimmed();
        pos = coma < 0 ? int(linea.size()) : coma + 1;
    }
    sesion.puerto = puerto;

    const QStringList resto = pos >= linea.size() ? QStringList() : linea.mid(pos).split(QLatin1Char(','));
    int *destinos[] = {&sesion.impresion, &sesion.codbarras, &sesion.tamletra};
    for (int i = 0; i < 3; ++i) {
        if (i >= resto.size())
            return;
        int v = 0;
        if (!leerEntero(resto[i], v))
            return;
        *destinos[i] = v;
    }
}

bool leerAjustesImpresion(const QString &ruta, Sesion &sesion) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    leerAjustesImpresionDe(f.read(64 * 1024), sesion);
    return true;
}

QByteArray lineaAjustesImpresion(const Sesion &s) {
    // Joined piece by piece: a marker such as "%1" inside the port is the port's own text.
    return aCp1252(QStringLiteral("\"") + s.puerto + QStringLiteral("\",") + QString::number(s.impresion) +
                   QLatin1Char(',') + QString::number(s.codbarras) + QLatin1Char(',') +
                   QString::number(s.tamletra) + QStringLiteral("\r\n"));
}

bool guardarAjustesImpresion(const QString &ruta, const Sesion &sesion, QString *motivo) {
    QSaveFile f(ruta);
    const QByteArray linea = lineaAjustesImpresion(sesion);
    if (f.open(QIODevice::WriteOnly) && f.write(linea) == linea.size() && f.commit())
        return true;
    if (motivo)
        *motivo = f.errorString();
    return false;
}

QStringList puertosOfrecidos() {
    QStringList l;
    for (int i = 1; i <= 10; ++i)
        l << QStringLiteral("LPT%1:").arg(i);
    for (int i = 1; i <= 10; ++i)
        l << QStringLiteral("COM%1:").arg(i);
    l << QStringLiteral("WINDOWS:") << QStringLiteral("WINDOWS2:");
    return l;
}

} // namespace corvalo
