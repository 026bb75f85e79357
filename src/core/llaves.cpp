#include "llaves.h"

#include "codificacion.h"
#include "texto.h"

namespace corvalo {

QString codigoBoleto(const QString &digito, const QDate &fecha, int numero) {
    if (!fecha.isValid())
        return digito + QString::number(numero);
    // Month and day in two digits each, as the date's "MMdd" gives them, without a format parser.
    const int mes = fecha.month(), dia = fecha.day();
    const QString n = QString::number(numero);
    QString out;
    out.reserve(digito.size() + 4 + n.size());
    out += digito;
    out += QChar(u'0' + mes / 10);
    out += QChar(u'0' + mes % 10);
    out += QChar(u'0' + dia / 10);
    out += QChar(u'0' + dia % 10);
    out += n;
    return out;
}

Llaves llavesBoleto(const QString &nu_boleto, const QString &caballo, const QString &montoTexto,
                    const QString &carrera, const QString &grupo) {
    auto clave = [&](const QString &primero) {
        Armado a(primero.size() + grupo.size() + nu_boleto.size());
        a << primero << grupo << nu_boleto;
        return std::move(a).texto();
    };
    return {codificar(nu_boleto, clave(caballo)), codificar(nu_boleto, clave(montoTexto)),
            codificar(nu_boleto, clave(carrera))};
}

} // namespace corvalo
