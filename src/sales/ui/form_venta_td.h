// The booth sales screen "CORVALO": selling, the payment panel, the day summary and the lists.
#pragma once

#include "frame_cobro_boleto.h"
#include "ventana_venta.h"

class QMenuBar;
class QMenu;

namespace corvalo {

class Form_Venta_TD : public VentanaVenta {
    Q_OBJECT
public:
    // `impresion`: the tickets; `recibos`: the payment receipts; `hojas`: the day sheets (any may be
    // null: nothing is printed).
    Form_Venta_TD(Contexto &ctx, ImpresionTickets *impresion, ImpresionRecibos *recibos,
                  QWidget *parent = nullptr, ImpresionHojas *hojas = nullptr);

    QMenuBar *menuBar;
    QMenu *opciones;
    QAction *ff1M, *vtf_menu, *vp_menu, *nv_menu, *salir_menu;
    // Copies of the last ticket and the last receipt (F8, Shift+F8).
    QAction *reimprimir_menu, *reimprimir_recibo_menu;
    // The payment panel.
    QPushButton *boton_cobrar;
    QAction *co_menu_op;
    corvalo::Frame_CobroBoleto *Frame_CobroBoleto;
    QAction *rpt_menu_tsq;

    // Handlers.
    void ff1M_Click();
    void boton_cobrar_Click();
    void rpt_menu_tsq_Click();
    void salir_menu_Click();
    void reimprimir_menu_Click() { reimprimirUltimoBoleto(); }

protected:
    void alCambiarJuego(int juego) override;
    void alResolverPendientes() override;
};

} // namespace corvalo
