// The sale of one Tablas Dinámicas or Tabla Fija bet on the booth screen.
#pragma once

#include "venta.h"

namespace corvalo {

class VentaTablas {
public:
    VentaTablas(Contexto &ctx, CupoCaballo &cupo_caballo, ImpresionTickets *impresion)
        : ctx_(ctx), cupo_(cupo_caballo), impresion_(impresion) {}

    // boton_procesar_Click: checks, confirmation (through the context's dialogs), recording,
    // code, keys and printing. Never throws.
    ResultadoVenta procesar(const DatosJugada &datos);

private:
    ResultadoVenta ejecutar(const DatosJugada &datos, ResultadoVenta &res);
    Contexto &ctx_;
    CupoCaballo &cupo_;
    ImpresionTickets *impresion_;
};

} // namespace corvalo
