#include "impresion.h"

#include "texto.h"

#include <QRegularExpression>

#include <cmath>

namespace corvalo {

QLocale localeRegional() {
    const QLocale sistema = QLocale::system();
    if (sistema.language() == QLocale::C)
        return QLocale(QLocale::Spanish, QLocale::Venezuela);
    return sistema;
}

QString formatoMoneda(double monto, const QLocale &loc) { return loc.toCurrencyString(monto); }

QString formatoDolares(double monto, const QLocale &loc) {
    QLocale l = loc;
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString cifra = l.toString(std::fabs(monto), 'f', 2);
    return (monto < 0 ? QStringLiteral("-$") : QStringLiteral("$")) + cifra;
}

QStringList lineasEncabezado(int impresion_datos, const QString &empresa, const QString &rif, const Sesion &s) {
    const QString b = QStringLiteral(" ");
    if (impresion_datos == 1)
        return {b + empresa, b + rif};
    if (impresion_datos == 2)
        return {b + s.name_empresa, b + s.rif_empresa, b + s.direccion_empresa, b + s.tlf_empresa};
    return {};
}

namespace {

int carreraImpresa(int carrera) { return carrera > 200 ? carrera - 200 : carrera; }

QString montoPuerto(double monto, bool operador) { return operador ? formatoMoneda(monto) : textoNumero(monto); }

QString montoImpresora(double monto, const QString &moneda, bool operador) {
    if (operador || moneda == QLatin1String("BS"))
        return formatoMoneda(monto);
    return formatoDolares(monto);
}

class Bytes {
public:
    void linea(const QString &t) { out_ += aCp1252(t) + kFinLinea; }
    void texto(const QString &t) { out_ += aCp1252(t); }
    void crudo(const QByteArray &b) { out_ += b; }
    QByteArray out_;
};

const QString kGuiones45 = QString(45, QLatin1Char('-'));

} // namespace

QByteArray ticketTablasPuerto(const Boleto &b, const Sesion &s, const QString &hora, bool operador) {
    Bytes t;
    const QString asteriscos(40, QLatin1Char('*'));
    t.linea(asteriscos);
    t.linea(QString(12, QLatin1Char(' ')) +
            (b.juego == 2 ? QStringLiteral("VENTA TABLA FIJA") : QStringLiteral("VENTA DINAMICAS")));
    const QStringList encabezado = lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s);
    if (encabezado.isEmpty()) {
        t.texto(asteriscos); // the next line follows on the same line of text
    } else {
        t.linea(asteriscos);
        for (const QString &l : encabezado)
            t.linea(l);
    }
    t.linea(QStringLiteral("CH ") + s.ch);
    t.linea(QStringLiteral("TAQUILLA ") + s.nombre);
    t.linea(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral("H: ") + hora);
    t.linea(QStringLiteral("BOLETO: ") + b.nu_boleto);
    t.linea(QStringLiteral("CARRERA: ") + QString::number(carreraImpresa(b.carrera)));
    t.linea(QStringLiteral("CABALLO: (") + QString::number(b.caballo) + QStringLiteral(") ") + b.nombre_caballo);
    t.linea(QStringLiteral("Nº DE TABLAS: ") + textoNumero(b.tablas));
    t.linea(QStringLiteral("COSTO DEL BOLETO: ") + montoPuerto(b.monto, operador));
    t.linea(QString());
    t.linea(QString());
    t.crudo(kFinTicket);
    return t.out_;
}

QByteArray ticketPuestosPuerto(const Boleto &b, const Sesion &s, const QString &hora, bool operador) {
    Bytes t;
    const QString guiones(34, QLatin1Char('-'));
    t.linea(guiones);
    t.linea(QStringLiteral("    Los Puestos"));
    t.linea(guiones);
    for (const QString &l : lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s))
        t.linea(l);
    t.linea(QStringLiteral("CH ") + s.ch);
    t.linea(QStringLiteral("TAQUILLA: ") + s.usuario);
    t.linea(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral("H: ") + hora);
    t.linea(QStringLiteral("BOLETO: ") + b.nu_boleto);
    t.linea(QStringLiteral("CAR: ") + QString::number(b.carrera) + QStringLiteral("CAB: ") + QString::number(b.caballo));
    t.linea(QStringLiteral("PUESTO: ") + b.codigo_puesto);
    t.linea(QStringLiteral("COSTO DEL BOLETO: ") + montoPuerto(b.monto, operador));
    t.linea(QString());
    t.linea(QString());
    t.crudo(kFinTicket);
    t.crudo(kCorte);
    return t.out_;
}

void ImprimirLinea(ImpresoraSistema &imp, const QString &texto, double, double) {
    if (texto.isEmpty())
        return;
    for (const QString &pieza : texto.split(QStringLiteral("\r\n")))
        imp.linea(pieza);
}

void barrasTicket(ImpresoraSistema &imp, const QString &nu_boleto) {
    // The bars stand at a fixed place of the page unless the text already reaches it.
    const double arriba = std::max(3400.0, imp.posicionActual());
    Module_CodigoBarras m;
    QString texto = nu_boleto;
    m.DibujarCodigo(QStringLiteral("128"), texto, imp.superficie(), 15, 900, 1000, arriba);
    imp.barrasDibujadas(arriba + 900);
}

// The end both tickets share: the cost between dashes, the barcode when the booth prints it.
static void pieTicketImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, bool operador) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    L(kGuiones45);
    L(QStringLiteral("COSTO DEL BOLETO: ") + montoImpresora(b.monto, b.nombre_moneda, operador));
    L(kGuiones45);
    L(QStringLiteral("."));
    L(QStringLiteral("."));
    if (s.codbarras == 1) {
        barrasTicket(imp, b.nu_boleto);
        L(QStringLiteral("."));
        L(QStringLiteral("."));
    }
    imp.terminar();
}

void ticketTablasImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora,
                           bool operador) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    imp.fuente(QStringLiteral("MS Sans Serif"));
    L(kGuiones45);
    imp.tamano(10);
    L(b.juego == 2 ? QStringLiteral("         VENTA TABLA FIJA") : QStringLiteral("         VENTA DINAMICAS"));
    imp.tamano(s.tamletra);
    L(kGuiones45);
    for (const QString &l : lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s))
        L(l);
    L(QStringLiteral("CH ") + s.ch);
    L(QStringLiteral("TAQUILLA: ") + s.nombre);
    L(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral(" H: ") + hora);
    L(QStringLiteral("BOLETO: ") + b.nu_boleto);
    L(QStringLiteral("CARRERA: ") + QString::number(carreraImpresa(b.carrera)));
    L(QStringLiteral("Nº DE TABLAS: ") + textoNumero(b.tablas));
    L(QStringLiteral("CABALLO: (") + QString::number(b.caballo) + QStringLiteral(") ") + b.nombre_caballo);
    pieTicketImpresora(imp, b, s, operador);
}

void ticketPuestosImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora,
                            bool operador) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    L(kGuiones45);
    imp.fuente(QStringLiteral("MS Sans Serif"));
    imp.tamano(10);
    L(QStringLiteral("             LOS PUESTOS     "));
    imp.tamano(s.tamletra);
    for (const QString &l : lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s))
        L(l);
    L(kGuiones45);
    L(QStringLiteral("CH ") + s.ch);
    L(QStringLiteral("."));
    L(QStringLiteral("TAQUILLA: ") + s.usuario);
    L(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral(" H: ") + hora);
    L(QStringLiteral("BOLETO: ") + b.nu_boleto);
    L(QStringLiteral("CARRERA: ") + QString::number(b.carrera));
    L(QStringLiteral("CABALLO: (") + QString::number(b.caballo) + QStringLiteral(") ") + b.nombre_caballo);
    L(QStringLiteral("PUESTO: ") + b.codigo_puesto);
    pieTicketImpresora(imp, b, s, operador);
}

DestinoPuerto destinoDePuerto(const QString &puerto, const std::function<bool(const QString &)> &existe) {
    DestinoPuerto d;
    static const QRegularExpression lpt(QStringLiteral("^LPT([1-9]|10):$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression com(QStringLiteral("^COM([1-9]|10):$"), QRegularExpression::CaseInsensitiveOption);
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

bool ServicioImpresion::elegirSalida(Contexto &ctx) {
    Sesion &s = ctx.sesion;
    if (s.puerto == QLatin1String("WINDOWS:"))
        s.puerto = QStringLiteral("\\\\") + ctx.maquina.nombreEquipo().left(32) + QStringLiteral("\\") +
                   ctx.maquina.impresoraPredeterminada().toUpper();
    return s.puerto == QLatin1String("WINDOWS2:");
}

void ServicioImpresion::imprimir(const Boleto &b) {
    const QString hora = ctx_.reloj.horaTexto();
    if (elegirSalida(ctx_)) {
        std::unique_ptr<ImpresoraSistema> imp = impresora_ ? impresora_() : nullptr;
        if (!imp)
            throw std::runtime_error("no printer");
        if (b.juego == 3)
            ticketPuestosImpresora(*imp, b, ctx_.sesion, hora, operador_);
        else
            ticketTablasImpresora(*imp, b, ctx_.sesion, hora, operador_);
        return;
    }
    puerto_.escribir(ctx_.sesion.puerto, b.juego == 3 ? ticketPuestosPuerto(b, ctx_.sesion, hora, operador_)
                                                      : ticketTablasPuerto(b, ctx_.sesion, hora, operador_));
}

} // namespace corvalo
