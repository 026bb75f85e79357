#include "plataforma.h"

#include <QLocale>
#include <QRegularExpression>

namespace corvalo {

QDateTime RelojSistema::ahora() const {
    return QDateTime::currentDateTime();
}

QString RelojSistema::horaTexto() const {
    // The regional long time format without its time-zone part.
    // The regional settings are read once: a sale asks for the time every time.
    static const QLocale local = QLocale::system();
    static const QString formato = [] {
        QString f = local.timeFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral("\\s*t+")));
        return f.trimmed();
    }();
    return local.toString(ahora().time(), formato);
}

} // namespace corvalo
