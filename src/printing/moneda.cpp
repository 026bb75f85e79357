#include "moneda.h"

#include "texto.h"

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

QString textoMonto(double monto) {
    return textoNumero(std::round(monto * 100) / 100);
}

} // namespace corvalo
