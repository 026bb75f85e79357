#include "plataforma.h"

#include <QLocale>
#include <QRegularExpression>

namespace corvalo {

QDateTime RelojSistema::ahora() const { return QDateTime::currentDateTime(); }

QString RelojSistema::horaTexto() const {
    // The regional long time format without its time-zone part.
    QString formato = QLocale::system().timeFormat(QLocale::LongFormat);
    formato.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return QLocale::system().toString(ahora().time(), formato.trimmed());
}

} // namespace corvalo
