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
    // The text changes once a second: each thread keeps the last one it made.
    thread_local qint64 segundo = -1;
    thread_local QString texto;
    const qint64 ahoraS = QDateTime::currentSecsSinceEpoch();
    if (ahoraS != segundo) {
        texto = QLocale::system().toString(QDateTime::fromSecsSinceEpoch(ahoraS).time(), formato);
        segundo = ahoraS;
    }
    return texto;
}

qint64 RelojSistema::msDesdeEpoca() const {
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace corvalo
