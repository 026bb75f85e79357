// The ticket code and the integrity keys of a booth ticket: the sale makes them, the payment
// checks them.
#pragma once

#include <QDate>
#include <QString>

namespace corvalo {

// Ticket code: game digit, working month and day, row number.
QString codigoBoleto(const QString &digito, const QDate &fecha, int numero);

// The three integrity keys: the code scrambled under the horse, the amount and the race, each
// followed by the group and the code.
struct Llaves {
    QString llave1, llave2, llave3;
};
Llaves llavesBoleto(const QString &nu_boleto, const QString &caballo, const QString &montoTexto,
                    const QString &carrera, const QString &grupo);

} // namespace corvalo
