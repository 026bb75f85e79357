#include "recibo.h"

#include "contexto.h"
#include "texto.h"

namespace corvalo {

namespace {

QString guiones(int n) {
    return QString(n, QLatin1Char('-'));
}

} // namespace

QByteArray reciboTablasPuerto(const Recibo &r, const Sesion &s) {
    TextoPuerto b;
    if (r.copia)
        b.linea(kLineaCopia);
    b.linea(QString(12, QLatin1Char(' ')) + QStringLiteral("COBRO DE JUGADA"))
        .blancas(2)
        .linea(QStringLiteral("CENTRO HIPICO ") + sinControles(s.ch))
        .linea(QStringLiteral("FECHA: ") + fechaPantalla(r.fecha))
        .linea(QStringLiteral("HORA: ") + r.hora)
        .linea(QStringLiteral("BOLETO: ") + sinControles(r.codigo))
        .lineaCrLf(QStringLiteral("TAQUILLA ") + sinControles(s.nombre))
        .blancas(1)
        .linea(QStringLiteral("MONTO COBRADO : ") + r.monto)
        .blancas(1)
        .linea(QStringLiteral("     ¡¡¡¡¡¡¡¡¡GRACIAS POR JUGAR!!!!!!!!      "))
        .blancas(3)
        .linea(guiones(39))
        .blancas(4);
    return b.bytes();
}

QByteArray reciboPuestosPuerto(const Recibo &r, const Sesion &) {
    TextoPuerto b;
    if (r.copia)
        b.linea(kLineaCopia);
    b.linea(guiones(33))
        .linea(QStringLiteral("        COBRO DE JUGADA       "))
        .linea(guiones(33))
        .blancas(2)
        .linea(QStringLiteral("FECHA: ") + fechaPantalla(r.fecha))
        .linea(QStringLiteral("HORA: ") + r.hora)
        .linea(QStringLiteral("BOLETO: ") + sinControles(r.codigo))
        .blancas(1)
        .linea(QStringLiteral("MONTO COBRADO : ") + r.monto)
        .blancas(1)
        .linea(QStringLiteral("        GRACIAS POR JUGAR     "))
        .blancas(5)
        .crudo(kCorte);
    return b.bytes();
}

namespace {

void reciboImpresora(ImpresoraSistema &imp, const Recibo &r, const Sesion &s, bool tablas) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    imp.fuente(QStringLiteral("MS Sans Serif"));
    imp.tamano(tablas ? s.tamletra : 10);
    if (r.copia)
        L(kLineaCopia);
    L(guiones(61));
    L(QString(tablas ? 24 : 25, QLatin1Char(' ')) + QStringLiteral("COBRO DE JUGADA"));
    L(guiones(61));
    if (tablas)
        L(QStringLiteral("CENTRO HIPICO ") + sinControles(s.ch));
    L(QStringLiteral("."));
    L(QStringLiteral("TAQUILLA: ") + sinControles(s.nombre));
    L(QStringLiteral("FECHA: ") + fechaPantalla(r.fecha));
    L(QStringLiteral("BOLETO: ") + sinControles(r.codigo));
    L(guiones(61));
    L(QStringLiteral("MONTO COBRADO : ") + r.monto);
    L(guiones(61));
    for (int i = 0; i < 4; ++i)
        L(QStringLiteral("."));
    imp.terminar();
}

} // namespace

void reciboTablasImpresora(ImpresoraSistema &imp, const Recibo &r, const Sesion &s) {
    reciboImpresora(imp, r, s, true);
}

void reciboPuestosImpresora(ImpresoraSistema &imp, const Recibo &r, const Sesion &s) {
    reciboImpresora(imp, r, s, false);
}

namespace {

// The two forms of one receipt.
class ReciboImpreso : public Impreso {
public:
    ReciboImpreso(const Recibo &r, const Sesion &s) : r_(r), s_(s) {}
    QByteArray bytesPuerto() const override {
        return r_.ruta == RutaCobro::Tablas ? reciboTablasPuerto(r_, s_) : reciboPuestosPuerto(r_, s_);
    }
    void dibujar(ImpresoraSistema &imp) const override {
        if (r_.ruta == RutaCobro::Tablas)
            reciboTablasImpresora(imp, r_, s_);
        else
            reciboPuestosImpresora(imp, r_, s_);
    }

private:
    const Recibo &r_;
    const Sesion &s_;
};

} // namespace

void ServicioRecibos::imprimir(const Recibo &r) {
    servicio_.imprimir(ReciboImpreso(r, servicio_.contexto().sesion));
}

} // namespace corvalo
