// Ticket payment at a booth: the lookup that decides what the payment panel shows, and the
// payment that marks the row paid, moves an archived prize in ventas_general and prints the
// receipt. The window only reads its code boxes and shows what these return.
#pragma once

#include "db.h"
#include "plataforma.h"
#include "recibo.h"

#include <optional>

namespace corvalo {

class Contexto;

inline const QString kTituloSeguridad = QStringLiteral("Seguridad del Sistema");
inline const QString kTituloCobro = QStringLiteral("COBRAR UN BOLETO");
inline const QString kMensajeFalloConsulta =
    QStringLiteral("NO SE PUDO CONSULTAR EL BOLETO. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE");

// What a lookup shows on the panel.
struct ConsultaCobro {
    // false: the panel is left as it was (a key mismatch, a failure, or a status the path
    // does not know).
    bool cambiaPanel = false;
    QString mensaje;      // Label_MCB (shown when cambiaPanel)
    bool pagable = false; // Label_PCB and the pay button are shown
    QString monto;        // Label_PCB: the prize in the workstation's currency format
    // A message box to show first (key mismatch, failure); empty when none.
    QString cuadro, tituloCuadro;
    Icono icono = Icono::Error;
};

inline const QString kCodigoDuplicado = QStringLiteral(
    "HAY MAS DE UN BOLETO CON ESTE CODIGO. NO SE PUEDE COBRAR: COMUNIQUESE CON EL ADMINISTRADOR");

struct ResultadoPago {
    bool hecho = false; // the server changed the ticket's row
    // Paid meanwhile by another workstation: the paid-state message to show; else empty.
    QString mensaje;
    // The receipt, when one was due (it has then been handed to the output).
    std::optional<Recibo> recibo;
    // The receipt was due but the printer or port failed: the panel offers to print it again.
    bool sinImprimir = false;
    // A message box to show (the reply was lost: pending, made or not made).
    QString cuadro, tituloCuadro;
    Icono icono = Icono::Informacion;
};

// What became of a pending payment once the server answered.
struct ResolucionPago {
    bool resuelto = false; // false: still pending
    bool hecho = false;    // the payment took effect
    QString mensaje, titulo;
    std::optional<Recibo> recibo;
    bool sinImprimir = false;
    // Made, by an earlier run of the program: its receipt (marked as a copy) is offered, not printed.
    bool ofrecerCopia = false;
};
// Resolves every pending payment of the journal the server can be asked about: a payment of
// this run that took effect prints its receipt (the customer is owed it); one an earlier run left
// (closed or cut off while the reply was awaited) offers it as a copy; one that did not take
// effect says so. One the server refuses to settle kIntentosPendiente times is set aside with a
// message naming its ticket for the supervisor.
std::vector<ResolucionPago> resolverPagosPendientes(Contexto &ctx, ImpresionRecibos *recibos);

// Prints a receipt again, marked as a copy; nothing is written.
void reimprimirRecibo(ImpresionRecibos &recibos, Recibo recibo);

class Cobro {
public:
    // `recibos` may be null: the receipt is then only returned.
    Cobro(Contexto &ctx, ImpresionRecibos *recibos) : recibos(recibos), ctx_(ctx) {}

    ImpresionRecibos *recibos;

    // Enter in Text_boletoCobro, on the path rutaDelCodigo names: `codigo` is the box text as
    // typed; the Puestos path trims it. Database failures come back as a message box.
    ConsultaCobro consultar(const QString &codigo, RutaCobro ruta);

    // Boton_Cobrar_Boleto2 / Boton_Cobrar_Boleto3, whatever game the screen is on. Failures
    // abandon the rest silently; the statements already sent stay done.
    ResultadoPago pagar(const QString &codigo, RutaCobro ruta);

    // Kept between the lookup and the payment.
    int estatus_consultado = 0;
    bool archivo = false;
    QDate fecha_boleto;
    double cobrado = 0;     // the prize read at lookup
    QString monto_mostrado; // as Label_PCB shows it
    int numero = 0;         // the row looked up: the one row a payment may change
    // Its game and currency: an archived prize moves in the day's totals row of both.
    int juego_boleto = 0, moneda_boleto = 0;
    // The last receipt of this panel, for a copy.
    std::optional<Recibo> ultimo_recibo;

private:
    ConsultaCobro buscar(const QString &codigo, RutaCobro ruta);
    void ejecutarPago(const QString &codigo, RutaCobro ruta, ResultadoPago &res);
    // The payment's journal entry, on disk before its update is sent; returns its id.
    QString anotarPago(BaseDatos &db, const QString &tabla, int nuevo, int previo, const Recibo &recibo);
    void quitarPago(const QString &id);
    // The payment's statements (in one transaction for an archived ticket); res.mensaje is set
    // when the row was no longer to be paid.
    void pagarFila(BaseDatos &db, const QString &sql, const QString &fechaVenta, RutaCobro ruta,
                   ResultadoPago &res);
    void respuestaPerdida(const QString &id, const Recibo &recibo, ResultadoPago &res, const DbError &e);
    Contexto &ctx_;
};

// The path a code is paid on: its first digit names its game, "3" Los Puestos, anything else
// ("4" Tablas Dinámicas, "2" Tabla Fija, or no ticket at all) the Tablas path.
RutaCobro rutaDelCodigo(const QString &codigo);

// The condition added to each status update so that a ticket is paid once and one payment
// changes at most the row looked up: its number and the status read at lookup, written right
// after the last quoted value of the Where clause.
QString condicionFila(int numero, int estatus);

} // namespace corvalo
