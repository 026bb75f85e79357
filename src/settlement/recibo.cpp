#include "recibo.h"

#include "texto.h"

namespace corvalo {

namespace {

const QByteArray kSoloCrLf("\r\n", 2);

class Bytes {
public:
    Bytes &linea(const QString &texto = {}) {
        datos_ += aCp1252(texto) + kFinLinea;
        return *this;
    }
    Bytes &lineaCrLf(const QString &texto) {
        datos_ += aCp1252(texto) + kSoloCrLf;
        return *this;
    }
    Bytes &blancas(int n) {
        for (int i = 0; i < n; ++i)
            linea();
        return *this;
    }
    Bytes &crudo(const QByteArray &b) {
        datos_ += b;
        return *this;
    }
    QByteArray datos() const { return datos_; }

private:
    QByteArray datos_;
};

QString guiones(int n) {
    return QString(n, QLatin1Char('-'));
}

} // namespace

QByteArray reciboTablasPuerto(const Recibo &r, const Sesion &s) {
    Bytes b;
    b.linea(QString(12, QLatin1Char(' ')) + QStringLiteral("COBRO DE JUGADA"))
        .blancas(2)
        .linea(QStringLiteral("CENTRO HIPICO ") + s.ch)
        .linea(QStringLiteral("FECHA: ") + fechaPantalla(r.fecha))
        .linea(QStringLiteral("HORA: ") + r.hora)
        .linea(QStringLiteral("BOLETO: ") + r.codigo)
        .lineaCrLf(QStringLiteral("TAQUILLA ") + s.nombre)
        .blancas(1)
        .linea(QStringLiteral("MONTO COBRADO : ") + r.monto)
        .blancas(1)
        .linea(QStringLiteral("     ¡¡¡¡¡¡¡¡¡GRACIAS POR JUGAR!!!!!!!!      "))
        .blancas(3)
        .linea(guiones(39))
        .blancas(4);
    return b.datos();
}

QByteArray reciboPuestosPuerto(const Recibo &r, const Sesion &) {
    Bytes b;
    b.linea(guiones(33))
        .linea(QStringLiteral("        COBRO DE JUGADA       "))
        .linea(guiones(33))
        .blancas(2)
        .linea(QStringLiteral("FECHA: ") + fechaPantalla(r.fecha))
        .linea(QStringLiteral("HORA: ") + r.hora)
        .linea(QStringLiteral("BOLETO: ") + r.codigo)
        .blancas(1)
        .linea(QStringLiteral("MONTO COBRADO : ") + r.monto)
        .blancas(1)
        .linea(QStringLiteral("        GRACIAS POR JUGAR     "))
        .blancas(5)
        .crudo(kCorte);
    return b.datos();
}

namespace {

void reciboImpresora(ImpresoraSistema &imp, const Recibo &r, const Sesion &s, bool tablas) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    imp.fuente(QStringLiteral("MS Sans Serif"));
    imp.tamano(tablas ? s.tamletra : 10);
    L(guiones(61));
    L(QString(tablas ? 24 : 25, QLatin1Char(' ')) + QStringLiteral("COBRO DE JUGADA"));
    L(guiones(61));
    if (tablas)
        L(QStringLiteral("CENTRO HIPICO ") + s.ch);
    L(QStringLiteral("."));
    L(QStringLiteral("TAQUILLA: ") + s.nombre);
    L(QStringLiteral("FECHA: ") + fechaPantalla(r.fecha));
    L(QStringLiteral("BOLETO: ") + r.codigo);
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

void ServicioRecibos::imprimir(const Recibo &r) {
    const bool tablas = r.ruta == RutaCobro::Tablas;
    if (ServicioImpresion::elegirSalida(ctx_)) {
        std::unique_ptr<ImpresoraSistema> imp = impresora_ ? impresora_() : nullptr;
        if (!imp)
            throw std::runtime_error("no printer");
        if (tablas)
            reciboTablasImpresora(*imp, r, ctx_.sesion);
        else
            reciboPuestosImpresora(*imp, r, ctx_.sesion);
        return;
    }
    puerto_.escribir(ctx_.sesion.puerto,
                     tablas ? reciboTablasPuerto(r, ctx_.sesion) : reciboPuestosPuerto(r, ctx_.sesion));
}

} // namespace corvalo
