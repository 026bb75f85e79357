#include "llaves.h"

#include "codificacion.h"

namespace corvalo {

QString codigoBoleto(const QString &digito, const QDate &fecha, int numero) {
    return digito + fecha.toString(QStringLiteral("MM")) + fecha.toString(QStringLiteral("dd")) +
           QString::number(numero);
}

Llaves llavesBoleto(const QString &nu_boleto, const QString &caballo, const QString &montoTexto,
                    const QString &carrera, const QString &grupo) {
    return {codificar(nu_boleto, caballo + grupo + nu_boleto),
            codificar(nu_boleto, montoTexto + grupo + nu_boleto),
            codificar(nu_boleto, carrera + grupo + nu_boleto)};
}

} // namespace corvalo
