#include "plataforma.h"

#include <QLocale>
#include <QRegularExpression>

namespace corvalo {

QDateTime RelojSistema::ahora() const {
    return QDateTime::currentDateTime();
}

QString RelojSistema::horaTexto() const {
    // The regional long time format without its time-zone part.
    static const QString formato = [] {
        QString f = QLocale::system().timeFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral("\\s*t+")));
        return f.trimmed();
    }();
    return QLocale::system().toString(ahora().time(), formato);
}

} // namespace corvalo
