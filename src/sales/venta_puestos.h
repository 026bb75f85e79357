// The sale of one Los Puestos bet, on the booth screen or the operator's.
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
    VentaPuestos(Contexto &ctx, CupoCaballo &cupo_caballo, ImpresionTickets *impresion,
                 PantallaVenta pantalla = PantallaVenta::Taquilla)
        : ctx_(ctx), cupo_(cupo_caballo), impresion_(impresion), pantalla_(pantalla) {}

    // boton_procesarPT_Click. Never throws.
    ResultadoVenta procesar(const DatosJugada &datos);

private:
    ResultadoVenta ejecutar(const DatosJugada &datos, ResultadoVenta &res);
    Contexto &ctx_;
    CupoCaballo &cupo_;
    ImpresionTickets *impresion_;
    PantallaVenta pantalla_;
};

} // namespace corvalo
