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

QString cifraConSeparadores(double monto, const QLocale &loc) {
    QLocale l = loc;
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    return l.toString(monto, 'f', 2);
}

QString formatoDolares(double monto, const QLocale &loc) {
    const QString cifra = cifraConSeparadores(std::fabs(monto), loc);
    return (monto < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + cifra;
}

QString textoMonto(double monto) {
    return textoNumero(std::round(monto * 100) / 100);
}

QString formatoSegunMoneda(double monto, const QString &etiqueta, const QLocale &loc) {
    return etiqueta == QLatin1String("BS") ? formatoMoneda(monto, loc) : formatoDolares(monto, loc);
}

} // namespace corvalo
