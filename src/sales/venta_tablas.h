// The sale of one Tablas Dinámicas or Tabla Fija bet, on the booth screen or the operator's.
#pragma once

#include "venta.h"

namespace corvalo {

class VentaTablas {
public:
    VentaTablas(Contexto &ctx, CupoCaballo &cupo_caballo, ImpresionTickets *impresion,
                PantallaVenta pantalla = PantallaVenta::Taquilla)
        : ctx_(ctx), cupo_(cupo_caballo), impresion_(impresion), pantalla_(pantalla) {}

    // boton_procesar_Click: checks, confirmation (through the context's dialogs), recording,
    // code, keys and printing. On the operator screen the sale is the chosen client's and its
    // ticket carries no keys. Never throws.
    ResultadoVenta procesar(const DatosJugada &datos);

private:
    ResultadoVenta ejecutar(const DatosJugada &datos, ResultadoVenta &res);
    Contexto &ctx_;
    CupoCaballo &cupo_;
    ImpresionTickets *impresion_;
    PantallaVenta pantalla_;
};

} // namespace corvalo
