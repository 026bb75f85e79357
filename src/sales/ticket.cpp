#include "ticket.h"

#include "moneda.h"
#include "texto.h"

namespace corvalo {

QStringList lineasEncabezado(int impresion_datos, const QString &empresa, const QString &rif,
                             const Sesion &s) {
    const QString b = QStringLiteral(" ");
    if (impresion_datos == 1)
        return {b + sinControles(empresa), b + sinControles(rif)};
    if (impresion_datos == 2)
        return {b + sinControles(s.name_empresa), b + sinControles(s.rif_empresa),
                b + sinControles(s.direccion_empresa), b + sinControles(s.tlf_empresa)};
    return {};
}

namespace {

int carreraImpresa(int carrera) {
    return carrera > 200 ? carrera - 200 : carrera;
}

QString costo(const Boleto &b) {
    return QStringLiteral("COSTO DEL BOLETO: ") + formatoSegunMoneda(b.monto, b.nombre_moneda);
}

const QString kGuiones45 = QString(45, QLatin1Char('-'));

// The Tablas ticket serves Marcas too, with its own title and no tablas.
QString tituloTablas(int juego) {
    switch (juego) {
    case 2:
        return QStringLiteral("VENTA TABLA FIJA");
    case 4:
        return QStringLiteral("VENTA MARCAS");
    default:
        return QStringLiteral("VENTA DINAMICAS");
    }
}
// The lines that state the bet after the race. Tablas: the horse and the tablas (the printer
// names the tablas first); Marcas: the horse bet on, the one it is set against and the racetrack.
QStringList lineasApuesta(const Boleto &b, bool tablasPrimero) {
    auto caballo = [](const QString &inicio, int numero, const QString &nombre) {
        return inicio + QString::number(numero) + QStringLiteral(") ") + sinControles(nombre);
    };
    const QString primero = caballo(QStringLiteral("CABALLO: ("), b.caballo, b.nombre_caballo);
    if (b.juego == 4)
        return {primero, caballo(QStringLiteral("CONTRA: ("), b.caballo2, b.nombre_caballo2),
                QStringLiteral("HIPODROMO: ") + sinControles(b.hipodromo)};
    const QString tablas = QStringLiteral("Nº DE TABLAS: ") + textoNumero(b.tablas);
    return tablasPrimero ? QStringList{tablas, primero} : QStringList{primero, tablas};
}

} // namespace

QByteArray ticketTablasPuerto(const Boleto &b, const Sesion &s, const QString &hora) {
    TextoPuerto t;
    const QString asteriscos(40, QLatin1Char('*'));
    if (b.copia)
        t.linea(kLineaCopia);
    t.linea(asteriscos);
    t.linea(QString(12, QLatin1Char(' ')) + tituloTablas(b.juego));
    const QStringList encabezado = lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s);
    if (encabezado.isEmpty()) {
        t.texto(asteriscos); // the next line follows on the same line of text
    } else {
        t.linea(asteriscos);
        for (const QString &l : encabezado)
            t.linea(l);
    }
    t.linea(QStringLiteral("CH ") + sinControles(s.ch));
    t.linea(QStringLiteral("TAQUILLA ") + sinControles(s.nombre));
    t.linea(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral("H: ") + hora);
    t.linea(QStringLiteral("BOLETO: ") + b.nu_boleto);
    t.linea(QStringLiteral("CARRERA: ") + QString::number(carreraImpresa(b.carrera)));
    for (const QString &l : lineasApuesta(b, false))
        t.linea(l);
    t.linea(costo(b));
    t.linea(QString());
    t.linea(QString());
    t.crudo(kFinTicket);
    return t.bytes();
}

QByteArray ticketPuestosPuerto(const Boleto &b, const Sesion &s, const QString &hora) {
    TextoPuerto t;
    const QString guiones(34, QLatin1Char('-'));
    if (b.copia)
        t.linea(kLineaCopia);
    t.linea(guiones);
    t.linea(QStringLiteral("    Los Puestos"));
    t.linea(guiones);
    for (const QString &l : lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s))
        t.linea(l);
    t.linea(QStringLiteral("CH ") + sinControles(s.ch));
    t.linea(QStringLiteral("TAQUILLA: ") + sinControles(s.usuario));
    t.linea(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral("H: ") + hora);
    t.linea(QStringLiteral("BOLETO: ") + b.nu_boleto);
    t.linea(QStringLiteral("CAR: ") + QString::number(b.carrera) + QStringLiteral("CAB: ") +
            QString::number(b.caballo));
    t.linea(QStringLiteral("PUESTO: ") + sinControles(b.codigo_puesto));
    t.linea(costo(b));
    t.linea(QString());
    t.linea(QString());
    t.crudo(kFinTicket);
    t.crudo(kCorte);
    return t.bytes();
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
static void pieTicketImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    L(kGuiones45);
    L(costo(b));
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

void ticketTablasImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    imp.fuente(QStringLiteral("MS Sans Serif"));
    if (b.copia)
        L(kLineaCopia);
    L(kGuiones45);
    imp.tamano(10);
    L(QStringLiteral("         ") + tituloTablas(b.juego));
    imp.tamano(s.tamletra);
    L(kGuiones45);
    for (const QString &l : lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s))
        L(l);
    L(QStringLiteral("CH ") + sinControles(s.ch));
    L(QStringLiteral("TAQUILLA: ") + sinControles(s.nombre));
    L(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral(" H: ") + hora);
    L(QStringLiteral("BOLETO: ") + b.nu_boleto);
    L(QStringLiteral("CARRERA: ") + QString::number(carreraImpresa(b.carrera)));
    for (const QString &l : lineasApuesta(b, true))
        L(l);
    pieTicketImpresora(imp, b, s);
}

void ticketPuestosImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora) {
    auto L = [&](const QString &t) { ImprimirLinea(imp, t, 10, 10); };
    if (b.copia)
        L(kLineaCopia);
    L(kGuiones45);
    imp.fuente(QStringLiteral("MS Sans Serif"));
    imp.tamano(10);
    L(QStringLiteral("             LOS PUESTOS     "));
    imp.tamano(s.tamletra);
    for (const QString &l : lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s))
        L(l);
    L(kGuiones45);
    L(QStringLiteral("CH ") + sinControles(s.ch));
    L(QStringLiteral("."));
    L(QStringLiteral("TAQUILLA: ") + sinControles(s.usuario));
    L(QStringLiteral("F: ") + fechaPantalla(b.fecha) + QStringLiteral(" H: ") + hora);
    L(QStringLiteral("BOLETO: ") + b.nu_boleto);
    L(QStringLiteral("CARRERA: ") + QString::number(b.carrera));
    L(QStringLiteral("CABALLO: (") + QString::number(b.caballo) + QStringLiteral(") ") +
      sinControles(b.nombre_caballo));
    L(QStringLiteral("PUESTO: ") + sinControles(b.codigo_puesto));
    pieTicketImpresora(imp, b, s);
}

// The two forms of one ticket.
namespace {
class TicketImpreso : public Impreso {
public:
    TicketImpreso(const Boleto &b, const Sesion &s, QString hora) : b_(b), s_(s), hora_(std::move(hora)) {}
    QByteArray bytesPuerto() const override {
        return b_.juego == 3 ? ticketPuestosPuerto(b_, s_, hora_) : ticketTablasPuerto(b_, s_, hora_);
    }
    void dibujar(ImpresoraSistema &imp) const override {
        if (b_.juego == 3)
            ticketPuestosImpresora(imp, b_, s_, hora_);
        else
            ticketTablasImpresora(imp, b_, s_, hora_);
    }

private:
    const Boleto &b_;
    const Sesion &s_;
    QString hora_;
};
} // namespace

void ImpresionBoletos::imprimir(const Boleto &b) {
    Contexto &ctx = servicio_.contexto();
    // The output is chosen first: "WINDOWS:" turns into the shared-printer path of the session.
    servicio_.imprimir(TicketImpreso(b, ctx.sesion, b.hora.isEmpty() ? ctx.reloj.horaTexto() : b.hora));
}

} // namespace corvalo
