#include "guion.h"

namespace corvalo {

QStringList dividirGuion(const QString &guion) {
    QStringList out;
    QString actual;
    QChar comilla;
    const int n = int(guion.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = guion[i];
        if (!comilla.isNull()) {
            actual += c;
            if (c == QLatin1Char('\\') && comilla != QLatin1Char('`') && i + 1 < n) {
                actual += guion[++i];
            } else if (c == comilla) {
                comilla = QChar();
            }
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && guion[i + 1] == QLatin1Char('-')) {
            while (i < n && guion[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && guion[i + 1] == QLatin1Char('*')) {
            const int fin = guion.indexOf(QStringLiteral("*/"), i + 2);
            i = fin < 0 ? n : fin + 1;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
            comilla = c;
        if (c == QLatin1Char(';')) {
            if (!actual.trimmed().isEmpty())
                out << actual.trimmed();
            actual.clear();
            continue;
        }
        actual += c;
    }
    if (!actual.trimmed().isEmpty())
        out << actual.trimmed();
    return out;
}

void ejecutarGuion(BaseDatos &db, const QString &guion) {
    for (const QString &s : dividirGuion(guion))
        db.ejecutar(s);
}

} // namespace corvalo
