#include "moneda.h"

#include <cmath>

namespace corvalo {

QLocale localeRegional() {
    const QLocale sistema = QLocale::system();
    if (sistema.language() == QLocale::C)
        return QLocale(QLocale::Spanish, QLocale::Venezuela);
    return sistema;
}

QString formatoMoneda(double monto, const QLocale &loc) {
    return loc.toCurrencyString(monto);
}

QString formatoDolares(double monto, const QLocale &loc) {
    QLocale l = loc;
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString cifra = l.toString(std::fabs(monto), 'f', 2);
    return (monto < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + cifra;
}

} // namespace corvalo
