// The sale of one Los Puestos bet on the booth screen.
#pragma once

#include "venta.h"

namespace corvalo {

// The texts and the code of a horse's Los Puestos kind.
struct TipoPuesto {
    QString texto1, texto2, codigo;
};
TipoPuesto tipoPuesto(double valor);

class VentaPuestos {
public:
    VentaPuestos(Contexto &ctx, CupoCaballo &cupo_caballo, ImpresionTickets *impresion)
        : ctx_(ctx), cupo_(cupo_caballo), impresion_(impresion) {}

    // boton_procesarPT_Click. Never throws.
    ResultadoVenta procesar(const DatosJugada &datos);

private:
    ResultadoVenta ejecutar(const DatosJugada &datos, ResultadoVenta &res);
    Contexto &ctx_;
    CupoCaballo &cupo_;
    ImpresionTickets *impresion_;
};

} // namespace corvalo
