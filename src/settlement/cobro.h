// Ticket payment at a booth: the lookup that decides what the payment panel shows, and the
// payment that marks the row paid, moves an archived prize in ventas_general and prints the
// receipt. The window only reads its code boxes and shows what these return.
#pragma once

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

struct ResultadoPago {
    bool hecho = false; // the server changed the ticket's row
    // Paid meanwhile by another workstation: the paid-state message to show; else empty.
    QString mensaje;
    // The receipt, when one was due (it has then been handed to the output).
    std::optional<Recibo> recibo;
};

class Cobro {
public:
    // `recibos` may be null: the receipt is then only returned.
    Cobro(Contexto &ctx, ImpresionRecibos *recibos) : recibos(recibos), ctx_(ctx) {}

    ImpresionRecibos *recibos;

    // Enter in Text_boletoCobro (Tablas) or Text_cobro2 (Puestos): `codigo` is the box text
    // as typed; the Puestos path trims it. Database failures come back as a message box.
    ConsultaCobro consultar(const QString &codigo, RutaCobro ruta);

    // Boton_Cobrar_Boleto2 / Boton_Cobrar_Boleto3. `juego_actual` is the screen's game (the
    // Tablas path pays only while it is 1 or 2). Failures abandon the rest silently; the
    // statements already sent stay done.
    ResultadoPago pagar(const QString &codigo, RutaCobro ruta, int juego_actual);

    // Kept between the lookup and the payment.
    int estatus_consultado = 0;
    bool archivo = false;
    QDate fecha_boleto;
    double cobrado = 0;     // the prize read at lookup
    QString monto_mostrado; // as Label_PCB shows it

private:
    ConsultaCobro buscar(const QString &codigo, RutaCobro ruta);
    void ejecutarPago(const QString &codigo, RutaCobro ruta, ResultadoPago &res);
    Contexto &ctx_;
};

// The condition added to each status update so that a ticket is paid once: the status read
// at lookup, written right after the last quoted value of the Where clause.
QString condicionEstatus(int estatus);

} // namespace corvalo
