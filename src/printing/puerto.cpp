#include "puerto.h"

#include "texto.h"

#include <QRegularExpression>

namespace corvalo {

TextoPuerto &TextoPuerto::linea(const QString &t) {
    bytes_ += aCp1252(t) + kFinLinea;
    return *this;
}

TextoPuerto &TextoPuerto::lineaCrLf(const QString &t) {
    bytes_ += aCp1252(t) + kSoloCrLf;
    return *this;
}

TextoPuerto &TextoPuerto::texto(const QString &t) {
    bytes_ += aCp1252(t);
    return *this;
}

TextoPuerto &TextoPuerto::blancas(int n) {
    for (int i = 0; i < n; ++i)
        linea();
    return *this;
}

TextoPuerto &TextoPuerto::crudo(const QByteArray &b) {
    bytes_ += b;
    return *this;
}

DestinoPuerto destinoDePuerto(const QString &puerto, const std::function<bool(const QString &)> &existe) {
    DestinoPuerto d;
    static const QRegularExpression lpt(QStringLiteral("^LPT([1-9]|10):$"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression com(QStringLiteral("^COM([1-9]|10):$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (auto m = lpt.match(puerto); m.hasMatch()) {
        const int n = m.captured(1).toInt() - 1;
        const QString paralelo = QStringLiteral("/dev/lp%1").arg(n);
        const QString usb = QStringLiteral("/dev/usb/lp%1").arg(n);
        d.ruta = !existe(paralelo) && existe(usb) ? usb : paralelo;
        return d;
    }
    if (auto m = com.match(puerto); m.hasMatch()) {
        d.ruta = QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
        return d;
    }
    if (puerto.startsWith(QStringLiteral("\\\\"))) {
        const QString resto = puerto.mid(2);
        const int barra = resto.indexOf(QLatin1Char('\\'));
        if (barra > 0 && barra < resto.size() - 1) {
            d.tipo = DestinoPuerto::Tipo::Cola;
            d.servidor = resto.left(barra);
            d.cola = resto.mid(barra + 1);
            return d;
        }
    }
    d.ruta = puerto;
    return d;
}

} // namespace corvalo
