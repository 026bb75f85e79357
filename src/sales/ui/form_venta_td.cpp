#include "form_venta_td.h"

#include "ventanas.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvalo {

Form_Venta_TD::Form_Venta_TD(Contexto &ctx, ImpresionTickets *impresion, ImpresionRecibos *recibos,
                             QWidget *parent, ImpresionHojas *hojas)
    : VentanaVenta(ctx, impresion, hojas, PantallaVenta::Taquilla, parent) {
    setObjectName(QStringLiteral("Form_Venta_TD"));
    setWindowTitle(QStringLiteral("CORVALO"));

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    opciones = menuBar->addMenu(QStringLiteral("&Opciones"));
    auto accion = [this](const QString &texto, const QString &nombre, const QKeySequence &k = {}) {
        QAction *a = opciones->addAction(texto);
        a->setObjectName(nombre);
        if (!k.isEmpty()) {
            a->setShortcut(k);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(a);
        }
        return a;
    };
    ff1M = accion(QStringLiteral("Vender Tabla &Dinamica"), QStringLiteral("ff1M"), Qt::Key_F5);
    vtf_menu = accion(QStringLiteral("Vender Tabla &Fija"), QStringLiteral("vtf_menu"), Qt::Key_F6);
    vp_menu = accion(QStringLiteral("Vender &Puestos"), QStringLiteral("vp_menu"), Qt::Key_F7);
    nv_menu = accion(QStringLiteral("&Nueva Jugada"), QStringLiteral("nv_menu"), Qt::Key_F9);
    co_menu_op = accion(QStringLiteral("&Cobrar"), QStringLiteral("co_menu_op"), Qt::Key_F3);
    reimprimir_menu =
        accion(QStringLiteral("&Reimprimir último boleto"), QStringLiteral("reimprimir_menu"), Qt::Key_F8);
    reimprimir_recibo_menu =
        accion(QStringLiteral("Reimprimir último r&ecibo"), QStringLiteral("reimprimir_recibo_menu"),
               QKeySequence(Qt::SHIFT | Qt::Key_F8));
    rpt_menu_tsq = accion(QStringLiteral("Reporte &Taquilla"), QStringLiteral("rpt_menu_tsq"));
    salir_menu = accion(QStringLiteral("&Salir"), QStringLiteral("salir_menu"));
    raiz_->setMenuBar(menuBar);

    boton_cobrar = boton(QStringLiteral("boton_cobrar"), QStringLiteral("COBRAR"), Frame_principal);
    boton_cobrar->setToolTip(QStringLiteral("Cobrar un boleto (F3)"));
    pie_->insertWidget(2, boton_cobrar);

    Frame_CobroBoleto = new corvalo::Frame_CobroBoleto(ctx_, recibos, this);
    connect(Frame_CobroBoleto, &Frame_CobroBoleto::cerrado, this, [this] { enfocar(Text_Monto); });
    connect(Frame_CobroBoleto, &Frame_CobroBoleto::pendiente, this, [this] { vigilarPendientes(); });
    connect(Frame_CobroBoleto, &Frame_CobroBoleto::boletoPagado, this,
            [this](const QString &codigo, const QString &monto) { mostrarPago(codigo, monto); });
    paneles_.prepend(Frame_CobroBoleto);

    connect(ff1M, &QAction::triggered, this, [this] { ff1M_Click(); });
    connect(vtf_menu, &QAction::triggered, this, [this] { Command6_Click(); });
    connect(vp_menu, &QAction::triggered, this, [this] { Command2_Click(); });
    connect(nv_menu, &QAction::triggered, this, [this] { NewJugada(); });
    connect(salir_menu, &QAction::triggered, this, [this] { salir_menu_Click(); });
    connect(boton_cobrar, &QPushButton::clicked, this, [this] { boton_cobrar_Click(); });
    connect(co_menu_op, &QAction::triggered, this, [this] { boton_cobrar_Click(); });
    connect(rpt_menu_tsq, &QAction::triggered, this, [this] { rpt_menu_tsq_Click(); });
    connect(reimprimir_menu, &QAction::triggered, this, [this] { reimprimir_menu_Click(); });
    connect(reimprimir_recibo_menu, &QAction::triggered, this,
            [this] { Frame_CobroBoleto->reimprimirRecibo(); });
    // Escape in the bet area hides the horse panel; in the payment panel it closes that panel.
    connect(atajo(QKeySequence(Qt::Key_Escape), Frame_principal), &QAction::triggered, this, [this] {
        if (Frame_Valores->isVisible())
            Image1_Click();
    });

    iniciar();
}

void Form_Venta_TD::alCambiarJuego(int juego) {
    Frame_CobroBoleto->setJuegoActual(juego);
}

void Form_Venta_TD::alResolverPendientes() {
    Frame_CobroBoleto->resolverPendientes();
}

void Form_Venta_TD::ff1M_Click() {
    ctx_.abrir_central(ctx_.sesion.cadena_central);
    seleccionarJuego(1, true);
}

void Form_Venta_TD::boton_cobrar_Click() {
    soloPanel(Frame_CobroBoleto);
    Frame_CobroBoleto->setJuegoActual(juego_actual);
    Frame_CobroBoleto->mostrar(Frame_principal);
}

void Form_Venta_TD::rpt_menu_tsq_Click() {
    soloPanel(Frame_CuadreFinal);
    Frame_CuadreFinal->mostrar(Frame_principal, false);
}

void Form_Venta_TD::salir_menu_Click() {
    cerrarPantalla(this);
}

} // namespace corvalo
