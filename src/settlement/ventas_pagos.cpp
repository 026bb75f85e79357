#include "ventas_pagos.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {

constexpr AlineacionLista D = AlineacionLista::Derecha;
constexpr AlineacionLista C = AlineacionLista::Centro;

// The heads, one per list; the booth and the operator share the payments lists of the games of
// ma_principal.
const QString kVentasTablasTaquilla =
    QStringLiteral("SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal Where  taquilla='");
const QString kVentasPuestosTaquilla = QStringLiteral(
    "SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal Where  taquilla='");
const QString kPagosTablas = QStringLiteral("SELECT carrera,caballo,tablas,monto,cobrado FROM ma_principal "
                                            "Where (estatus=2 OR estatus=3) and taquilla='");
const QString kPagosPuestos = QStringLiteral("SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM "
                                             "ma_principal Where (estatus=2 OR estatus=4) and taquilla='");
const QString kVentasTablasOperador = QStringLiteral(
    "SELECT carrera,nu_boleto,caballo,tablas,monto,hora,grupo FROM ma_principal Where  taquilla='");
const QString kVentasPuestosOperador = QStringLiteral(
    "SELECT carrera,nu_boleto,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal Where  taquilla='");
const QString kVentasMarcas = QStringLiteral(
    "SELECT carrera,nu_boleto,caballo,caballo2,monto,hora,estatus,cobrado FROM ma_marcas Where  taquilla='");
const QString kPagosMarcas =
    QStringLiteral("SELECT carrera,caballo,caballo2,monto,hora,estatus,cobrado FROM ma_marcas "
                   "Where (estatus=2 OR estatus=4) and taquilla='");

// The columns of a head: between "SELECT " and " FROM".
QStringList camposDe(const QString &cabeza) {
    const qsizetype inicio = cabeza.indexOf(QLatin1Char(' ')) + 1;
    return cabeza.mid(inicio, cabeza.indexOf(QStringLiteral(" FROM")) - inicio).split(QLatin1Char(','));
}

QString clausulaJuego(int juego) {
    return QStringLiteral("' and id_juego=") + QString::number(juego) +
           (juego >= 3 ? QStringLiteral("   and id_moneda  = '") : QStringLiteral("  and id_moneda  = '"));
}

// The two columns the operator's eight-column lists end with: status and prize, as the booth's
// Los Puestos lists show them.
void estatusYCobrado(ColumnasLista &c) {
    c.push_back({QStringLiteral(" ESTATUS "), C, 800});
    c.push_back({QStringLiteral(" COBRADO "), D, 900});
}

} // namespace

ColumnasLista VerCuadroVentaT(PantallaVenta pantalla) {
    if (pantalla == PantallaVenta::Taquilla)
        return {{QStringLiteral(" CARRERA "), C, 1000}, {QStringLiteral(" CABALLO "), C, 850},
                {QStringLiteral(" TABLAS "), C, 850},   {QStringLiteral(" MONTO "), D, 1200},
                {QStringLiteral(" FECHA "), C, 1200},   {QStringLiteral(" CH "), C, 500}};
    return {{QStringLiteral(" CAR "), C, 500},    {QStringLiteral(" NU_BOLETO "), C, 1500},
            {QStringLiteral(" CAB "), C, 500},    {QStringLiteral(" TABLAS "), C, 800},
            {QStringLiteral(" MONTO "), C, 1500}, {QStringLiteral(" HORA "), C, 1300},
            {QStringLiteral(" CH "), C, 800}};
}

ColumnasLista VerPagosT() {
    return {{QStringLiteral(" CARRERA "), C, 1000},
            {QStringLiteral(" CABALLO "), C, 850},
            {QStringLiteral(" TABLAS "), C, 850},
            {QStringLiteral(" MONTO "), D, 1200},
            {QStringLiteral(" COBRADO "), C, 1200}};
}

ColumnasLista VerCuadroPagosPT() {
    return {{QStringLiteral(" CARRERA "), C, 900}, {QStringLiteral(" CAB "), C, 500},
            {QStringLiteral(" PUESTO "), C, 800},  {QStringLiteral(" MONTO "), C, 1200},
            {QStringLiteral(" HORA "), D, 1250},   {QStringLiteral(" ESTATUS "), C, 900},
            {QStringLiteral(" COBRADO "), D, 1000}};
}

ColumnasLista VerCuadroVentaPT(PantallaVenta pantalla) {
    if (pantalla == PantallaVenta::Taquilla)
        return VerCuadroPagosPT();
    ColumnasLista c{{QStringLiteral(" CAR "), C, 500},    {QStringLiteral(" NU_BOLETO "), C, 1500},
                    {QStringLiteral(" CAB "), C, 500},    {QStringLiteral(" PUESTO "), D, 800},
                    {QStringLiteral(" MONTO "), C, 1500}, {QStringLiteral(" HORA "), C, 1300}};
    estatusYCobrado(c);
    return c;
}

ColumnasLista VerCuadroVentaMK() {
    ColumnasLista c{{QStringLiteral(" CAR "), C, 500},    {QStringLiteral(" NU_BOLETO "), C, 1500},
                    {QStringLiteral(" CAB "), C, 500},    {QStringLiteral(" CONTRA "), C, 800},
                    {QStringLiteral(" MONTO "), C, 1500}, {QStringLiteral(" HORA "), C, 1300}};
    estatusYCobrado(c);
    return c;
}

// The Marcas payments have no ticket code: the sales headers without " NU_BOLETO ".
ColumnasLista VerCuadroPagosMK() {
    ColumnasLista c{{QStringLiteral(" CAR "), C, 500},
                    {QStringLiteral(" CAB "), C, 500},
                    {QStringLiteral(" CONTRA "), C, 800},
                    {QStringLiteral(" MONTO "), C, 1500},
                    {QStringLiteral(" HORA "), C, 1300}};
    estatusYCobrado(c);
    return c;
}

namespace {

struct Definicion {
    QString cabeza;
    ColumnasLista columnas;
};

std::optional<Definicion> definicion(TipoLista tipo, PantallaVenta pantalla, int juego) {
    const bool operador = pantalla == PantallaVenta::Operador;
    const bool ventas = tipo == TipoLista::Ventas;
    switch (juego) {
    case 1:
    case 2:
        return Definicion{ventas ? (operador ? kVentasTablasOperador : kVentasTablasTaquilla) : kPagosTablas,
                          ventas ? VerCuadroVentaT(pantalla) : VerPagosT()};
    case 3:
        return Definicion{ventas ? (operador ? kVentasPuestosOperador : kVentasPuestosTaquilla)
                                 : kPagosPuestos,
                          ventas ? VerCuadroVentaPT(pantalla) : VerCuadroPagosPT()};
    case 4:
        if (!operador)
            return std::nullopt;
        return Definicion{ventas ? kVentasMarcas : kPagosMarcas,
                          ventas ? VerCuadroVentaMK() : VerCuadroPagosMK()};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<ConsultaLista> consultaLista(const BaseDatos &db, TipoLista tipo, PantallaVenta pantalla,
                                           int juego, const QString &taquilla, int moneda) {
    const std::optional<Definicion> d = definicion(tipo, pantalla, juego);
    if (!d)
        return std::nullopt;
    ConsultaLista c;
    c.sentencia = d->cabeza + sqlTexto(db, taquilla) + clausulaJuego(juego) +
                  sqlTexto(db, QString::number(moneda)) + QStringLiteral("' order by numero desc   ");
    c.campos = camposDe(d->cabeza);
    c.columnas = d->columnas;
    return c;
}

std::optional<ListaBoletos> listarBoletos(Contexto &ctx, TipoLista tipo, PantallaVenta pantalla, int juego) {
    const std::optional<Definicion> d = definicion(tipo, pantalla, juego);
    if (!d)
        return std::nullopt;
    ListaBoletos l;
    l.columnas = d->columnas;
    try {
        BaseDatos &db = ctx.central();
        const QString sql =
            consultaLista(db, tipo, pantalla, juego, ctx.sesion.usuario, ctx.sesion.id_moneda)->sentencia;
        l.filas = db.ejecutar(sql);
    } catch (const DbError &e) {
        registrarFalla(lcCobro(), &ctx.sesion, kTituloListas,
                       tipo == TipoLista::Ventas ? QStringLiteral("lista de ventas")
                                                 : QStringLiteral("lista de pagos"),
                       e);
        // The grid keeps the list's headers, without rows.
        l.filas = Resultado(camposDe(d->cabeza), {});
        l.mensaje = kFalloLista;
        l.titulo = kTituloListas;
    }
    return l;
}

QString textoCelda(const QString &campo, const Campo &valor) {
    if (campo == QLatin1String("fecha") && !valor.esNulo()) {
        const QDate d = fechaDeTexto(valor.texto());
        if (d.isValid())
            return fechaPantalla(d);
    }
    return valor.texto();
}

} // namespace corvalo
