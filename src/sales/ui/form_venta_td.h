// The booth sales screen "CORVALO".
#pragma once

#include "frame5.h"
#include "frame_cobro_boleto.h"
#include "frame_cuadre_final.h"
#include "pantalla_venta.h"
#include "venta.h"

#include <QWidget>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenuBar;
class QMenu;
class QPushButton;
class QTimer;

namespace corvalo {

class Form_Venta_TD : public QWidget {
    Q_OBJECT
public:
    // `impresion`: the tickets; `recibos`: the payment receipts; `hojas`: the day sheets (any may be
    // null: nothing is printed).
    Form_Venta_TD(Contexto &ctx, ImpresionTickets *impresion, ImpresionRecibos *recibos,
                  QWidget *parent = nullptr, ImpresionHojas *hojas = nullptr);

    // Public procedures of the screen.
    void NewJugada();
    void Limpiar();
    void Limpiar_Dinamicas();
    void Cuadrar();
    void CuadrarPT();
    void ReinicioServer();

    int juego_actual = 0;
    QString nombre_moneda;
    CupoCaballo cupo_caballo{};

    // Controls (objectName = member name; arrays get "_index").
    QFrame *Frame_principal, *Frame1, *Frame_Moneda, *Frame_Valores;
    QLabel *Label1_0, *Label3_0, *Label_Barner, *Label_estado, *Label_Mensaje, *Label_administrador,
        *Label_tecnico;
    QLabel *Label_Moneda[2];
    QLineEdit *Text_datos_V1[2], *Text_Monto;
    QPushButton *boton_procesar, *boton_procesarPT, *Command4, *Command3, *Command6, *Command2,
        *boton_pantallacliente, *boton_salir;
    QLabel *Label_Carrera, *Image1;
    QLabel *Label_Columna[3]; // the horse panel's column headings
    QLineEdit *Text_NCaballo[16], *Text_Caballo[16], *Text_Valor[16], *Text_Total_Dinm;
    QTimer *Timer1, *Timer_Dinamicas, *Timer_Activo;
    // Asks the server again about writes whose outcome is pending, while there are any.
    QTimer *Timer_Pendientes;
    QMenuBar *menuBar;
    QMenu *opciones;
    QAction *ff1M, *vtf_menu, *vp_menu, *nv_menu, *salir_menu;
    // Copies of the last ticket and the last receipt (F8, Shift+F8).
    QAction *reimprimir_menu, *reimprimir_recibo_menu;
    // The payment panel.
    QPushButton *boton_cobrar;
    QAction *co_menu_op;
    corvalo::Frame_CobroBoleto *Frame_CobroBoleto;
    // The day summary (F4, "Reporte Taquilla") and the sales and payments lists (F11).
    QPushButton *boton_cuadrefinal, *Boton_Buscar;
    QAction *rpt_menu_tsq;
    corvalo::Frame_CuadreFinal *Frame_CuadreFinal;
    corvalo::Frame5 *Frame5;

    // Handlers.
    void Command3_Click() { seleccionarJuego(1, false); }
    void Command6_Click() { seleccionarJuego(2, false); }
    void Command2_Click() { seleccionarJuego(3, false); }
    void ff1M_Click();
    void Label_Moneda_Click(int index);
    void boton_procesar_Click();
    void boton_procesarPT_Click();
    void boton_pantallacliente_Click();
    void Image1_Click();
    void Timer_Dinamicas_Timer();
    void Timer1_Timer();
    void Timer_Activo_Timer();
    void boton_cobrar_Click();
    void boton_cuadrefinal_Click();
    void rpt_menu_tsq_Click();
    void Boton_Buscar_Click();
    void salir_menu_Click();
    void reimprimir_menu_Click();
    void Timer_Pendientes_Timer();

signals:
    // The screen closed: the main window gets its toolbar and timer back.
    void cerrada();
    // The user's account was found suspended: the program must end.
    void suspendido();

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

private:
    void cargar();
    void seleccionarJuego(int juego, bool desdeMenu);
    void aplicarAspecto(const AspectoJuego &a);
    void colorearBotones(int juego);
    void mostrarResultado(const ResultadoVenta &r);
    void enfocar(QLineEdit *campo);
    void mostrarPanel(const PanelCaballos &p);
    QPushButton *procesarVisible() const;
    void marcarMoneda(int index);
    void fallaSilenciosa(const QString &accion, const std::exception &e);
    // Offers to print a recorded ticket again until it prints or the clerk says no.
    void ofrecerReimpresion(const Boleto &b, QString pregunta, const QString &titulo);
    void vigilarPendientes();
    void soloPanel(QWidget *panel); // hides the other floating panels

    Contexto &ctx_;
    ImpresionTickets *impresion_;
    bool cargado_ = false;
    bool ocupado_ = false; // a sale or a resolution is under way
    std::optional<Boleto> ultimoBoleto_;
};

} // namespace corvalo
