#include "hoja_dia.h"

#include "moneda.h"
#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {

QString guiones(int n) {
    return QString(n, QLatin1Char('-'));
}

QString tituloPuerto(const HojaDia &h) {
    switch (h.juego) {
    case 1:
        return QStringLiteral("---- JUEGO TABLAS DINAMICAS ----");
    case 2:
        return QStringLiteral("---- JUEGO TABLA FIJA ----");
    case 3:
        return QStringLiteral("---- JUEGO DE LOS PUESTOS ----");
    case 4:
        if (h.pantalla == PantallaVenta::Operador)
            return QStringLiteral("---- JUEGO MARCAS ----");
        break;
    default:
        break;
    }
    return {};
}

QString tituloImpresora(const HojaDia &h) {
    const QString blancos(15, QLatin1Char(' '));
    switch (h.juego) {
    case 1:
        return blancos + QStringLiteral("TABLAS DINAMICAS ---");
    case 2:
        return blancos + QStringLiteral("TABLA FIJA ---");
    default:
        break;
    }
    if (h.pantalla == PantallaVenta::Taquilla || h.juego == 3)
        return blancos + QStringLiteral("LOS PUESTOS ---");
    if (h.juego == 4)
        return blancos + QStringLiteral("MARCAS ---");
    return {};
}

// The figure lines both outputs share, between the race and the dashes.
const QString kVenta = QStringLiteral("VENTA : ");
const QString kPremios = QStringLiteral("PREMIOS PAGADOS : ");
const QString kPorPagar = QStringLiteral("POR PAGAR : ");
const QString kSaldo = QStringLiteral("SALDO : ");
const QString kCaja = QStringLiteral("MONTO EN CAJA : ");
const QString kConteos[4] = {QStringLiteral("BOLETOS VENDIDOS : "), QStringLiteral("BOLETOS PAGADOS  : "),
                             QStringLiteral("BOLETOS POR PAGAR: "), QStringLiteral("BOLETOS ANULADOS : ")};

} // namespace

QString textoCarreraHoja(const QString &carrera, int menor, int mayor) {
    if (!esTodasLasCarreras(carrera))
        return carrera;
    return QStringLiteral("DE LA ") + QString::number(menor) + QStringLiteral(" HASTA LA ") +
           QString::number(mayor);
}

QString diaHoja(const QDate &dia) {
    return localeRegional().toString(dia, QLocale::ShortFormat);
}

QByteArray hojaDiaPuerto(const HojaDia &h, const Sesion &s) {
    TextoPuerto b;
    const QString titulo = tituloPuerto(h);
    b.linea(titulo.isEmpty() ? QString() : QString(12, QLatin1Char(' ')) + titulo)
        .blancas(2)
        .linea(QStringLiteral("CENTRO HIPICO ") + sinControles(s.ch))
        .linea(QStringLiteral("TAQUILLA ") + sinControles(s.nombre))
        .linea(QStringLiteral("FECHA: ") + h.dia)
        .linea(QStringLiteral("HORA: ") + h.hora)
        .linea(QStringLiteral("CARRERA: ") + h.carrera)
        .linea(kVenta + h.cajas[0])
        .linea(kPremios + h.cajas[1])
        .linea(kPorPagar + h.cajas[2])
        .linea(kSaldo + h.cajas[3])
        .linea(guiones(33))
        .linea(kCaja + h.cajas[4])
        .linea(guiones(33));
    for (int i = 0; i < 4; ++i)
        b.linea(kConteos[i] + h.cajas[std::size_t(5 + i)]);
    b.blancas(7).crudo(kFinTicket);
    return b.bytes();
}

void hojaDiaImpresora(ImpresoraSistema &imp, const HojaDia &h, const Sesion &s) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    imp.fuente(QStringLiteral("MS Sans Serif"));
    imp.tamano(s.tamletra);
    L(tituloImpresora(h));
    L(QStringLiteral("               RESUMEN DE VENTAS"));
    L(QStringLiteral("."));
    L(QStringLiteral("CENTRO HIPICO ") + sinControles(s.ch));
    L(QStringLiteral("."));
    L(QStringLiteral("TAQUILLA: ") + sinControles(s.nombre));
    L(QStringLiteral("FECHA: ") + h.dia);
    L(QStringLiteral("HORA: ") + h.hora);
    L(QStringLiteral("CARRERA: ") + h.carrera);
    L(guiones(35));
    L(kVenta + h.cajas[0]);
    L(kPremios + h.cajas[1]);
    L(kPorPagar + h.cajas[2]);
    L(kSaldo + h.cajas[3]);
    L(guiones(35));
    L(kCaja + h.cajas[4]);
    L(guiones(36));
    for (int i = 0; i < 4; ++i)
        L(kConteos[i] + h.cajas[std::size_t(5 + i)]);
    for (int i = 0; i < 4; ++i)
        L(QStringLiteral("."));
    imp.terminar();
}

namespace {

class HojaImpresa : public Impreso {
public:
    HojaImpresa(const HojaDia &h, const Sesion &s) : h_(h), s_(s) {}
    QByteArray bytesPuerto() const override { return hojaDiaPuerto(h_, s_); }
    void dibujar(ImpresoraSistema &imp) const override { hojaDiaImpresora(imp, h_, s_); }

private:
    const HojaDia &h_;
    const Sesion &s_;
};

} // namespace

void ServicioHojas::imprimir(const HojaDia &h) {
    servicio_.imprimir(HojaImpresa(h, servicio_.contexto().sesion));
}

ResultadoHoja imprimirHojaDia(Contexto &ctx, ImpresionHojas *hojas, const PedidoHoja &p) {
    ResultadoHoja r;
    if (p.juego_actual == 0) {
        r.mensaje = kSinJuegoImprimir;
        r.titulo = kTituloVerificacion;
        return r;
    }
    if (ctx.sesion.impresion != 1)
        return r;
    HojaDia h;
    h.pantalla = p.pantalla;
    h.juego = p.juego;
    h.cajas = p.cajas;
    h.dia = diaHoja(p.dia);
    h.hora = ctx.reloj.horaTexto();
    h.carrera = textoCarreraHoja(p.carrera, p.carreraMenor, p.carreraMayor);
    try {
        if (hojas)
            hojas->imprimir(h);
        r.hoja = h;
    } catch (const std::exception &e) {
        registrarFalla(lcCobro(), &ctx.sesion, kTituloResumen, QStringLiteral("hoja del dia"), e);
        r.mensaje = kFalloHoja;
        r.titulo = kTituloHoja;
    }
    return r;
}

} // namespace corvalo
