// Amounts as the printed documents and the screens show them.
#pragma once

#include <QLocale>
#include <QString>

namespace corvalo {

// The regional settings the amounts are formatted with (Spanish of Venezuela where the
// workstation has no regional settings of its own).
QLocale localeRegional();
// The named format "Currency" of the workstation.
QString formatoMoneda(double monto, const QLocale &loc = localeRegional());
// The format "$#,##0.00".
QString formatoDolares(double monto, const QLocale &loc = localeRegional());
// An amount as plain number text, to the cent at most: 10.1 + 20.2 less 10 % is "27.27", not
// the "27.269999999999996" the arithmetic leaves; whole amounts have no decimals ("54").
QString textoMonto(double monto);
// An amount in the format of its currency: "Currency" when the currency's label is exactly "BS",
// "$#,##0.00" otherwise.
QString formatoSegunMoneda(double monto, const QString &etiqueta, const QLocale &loc = localeRegional());
// An amount with its thousands separators and two decimals ("1.250,00"), so that no whole number
// can be read as a fraction.
QString cifraConSeparadores(double monto, const QLocale &loc = localeRegional());

} // namespace corvalo
