// The sale of one Marcas bet on the operator screen: a horse set against another horse of the
// same race and racetrack, recorded in ma_marcas for the chosen client.
#pragma once

#include "venta.h"

namespace corvalo {

class VentaMarcas {
public:
    VentaMarcas(Contexto &ctx, CupoCaballo &cupo_caballo, ImpresionTickets *impresion)
        : ctx_(ctx), cupo_(cupo_caballo), impresion_(impresion) {}

    // Command8_Click: the client's group, the racetrack, the checks on both horses and the
    // limit, confirmation, recording, code and printing. Never throws.
    ResultadoVenta procesar(const DatosJugada &datos);

private:
    ResultadoVenta ejecutar(const DatosJugada &datos, ResultadoVenta &res);
    Contexto &ctx_;
    CupoCaballo &cupo_;
    ImpresionTickets *impresion_;
};

} // namespace corvalo
