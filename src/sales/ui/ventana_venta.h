// What the two sales screens share: the game and currency choice, the bet entry and its keyboard
// flow, the status from the central settings, the horse panel (Frame_Caballos), the periodic
// checks, the sales of the games both screens sell, the pending outcomes and the reprint of the
// last ticket, and the day summary and lists panels they both host.
#pragma once

#include "frame5.h"
#include "frame_cuadre_final.h"
#include "panel_caballos.h"
#include "pantalla_venta.h"
#include "venta.h"
#include "ventanas.h"

#include <QWidget>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace corvalo {

class VentanaVenta : public QWidget {
    Q_OBJECT
public:
    // Public procedures of the screen.
    void NewJugada();
    virtual void Limpiar();
    void Limpiar_Dinamicas();
    void Cuadrar();
    void CuadrarPT();
    void ReinicioServer();

    int juego_actual = 0;
    QString nombre_moneda;
    CupoCaballo cupo_caballo{};

    // Controls (objectName = member name; arrays get "_index").
    QFrame *Frame_principal, *Frame1, *Frame_Moneda;
    Frame_Caballos *Frame_Valores; // the horse panel
    QLabel *Label1_0, *Label3_0, *Label_Barner, *Label_estado, *Label_Mensaje, *Label_administrador,
        *Label_tecnico;
    QLabel *Label_Moneda[2];
    QLabel *Label_Caballo; // "Nº DE CABALLO"
    // Beside a number field that refused a key or a pasted text: "SOLO NUMEROS ENTEROS".
    QLabel *Label_SoloNumeros;
    // The status line: the last ticket sold and the last one paid, each until the next.
    QLabel *Label_UltimaVenta, *Label_UltimoPago;
    QLineEdit *Text_datos_V1[2], *Text_Monto;
    QPushButton *boton_procesar, *boton_procesarPT, *Command4, *Command3, *Command6, *Command2,
        *boton_pantallacliente, *boton_salir;
    QTimer *Timer1, *Timer_Dinamicas, *Timer_Activo;
    // Asks the server again about writes whose outcome is pending, while there are any.
    QTimer *Timer_Pendientes;
    // The day summary (F4) and the sales and payments lists (F11).
    QPushButton *boton_cuadrefinal, *Boton_Buscar;
    corvalo::Frame_CuadreFinal *Frame_CuadreFinal;
    corvalo::Frame5 *Frame5;

    // Handlers.
    void Command3_Click() { seleccionarJuego(1, false); }
    void Command6_Click() { seleccionarJuego(2, false); }
    void Command2_Click() { seleccionarJuego(3, false); }
    void Label_Moneda_Click(int index);
    virtual void boton_procesar_Click();
    void boton_procesarPT_Click();
    void boton_pantallacliente_Click();
    void Image1_Click();
    void Timer_Dinamicas_Timer();
    void Timer1_Timer();
    void Timer_Activo_Timer();
    void boton_cuadrefinal_Click();
    void Boton_Buscar_Click();
    void Timer_Pendientes_Timer();
    // A copy of the last ticket this screen printed.
    void reimprimirUltimoBoleto();

signals:
    // The screen closed: the main window gets its toolbar and timer back.
    void cerrada();
    // The user's account was found suspended: the program must end.
    void suspendido();
    // A number field refused a key or a text (the host beeps).
    void entradaRechazada();

protected:
    // Builds the shared controls; the screen adds its own, then calls iniciar().
    VentanaVenta(Contexto &ctx, ImpresionTickets *impresion, ImpresionHojas *hojas, PantallaVenta pantalla,
                 QWidget *parent);
    // Loads the screen and starts its timers.
    void iniciar();

    bool eventFilter(QObject *obj, QEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

    // Game choice; a screen adds what its own panels do.
    virtual void seleccionarJuego(int juego, bool desdeMenu);
    virtual void alCambiarJuego(int) {}
    virtual void colorearBotones(int juego);
    // Where Enter in the amount and in the race box go.
    virtual QWidget *trasMonto();
    virtual QWidget *trasCarrera();
    // The values a sale reads from the screen.
    virtual DatosJugada datosJugada() const;
    // The cursor after a sale's outcome.
    virtual void enfocarCampo(CampoVenta campo);
    // Pending outcomes of the screen's own panels.
    virtual void alResolverPendientes() {}

    void aplicarAspecto(const AspectoJuego &a);
    void mostrarResultado(const ResultadoVenta &r);
    void enfocar(QLineEdit *campo);
    // Runs a sale unless one is under way.
    void vender(const std::function<ResultadoVenta(const DatosJugada &)> &venta);
    void vigilarPendientes();
    void soloPanel(QWidget *panel); // hides the other floating panels
    void fallaSilenciosa(const QString &accion, const std::exception &e);
    // An action with a key of its own, active anywhere inside `donde` (the screen by default).
    QAction *atajo(const QKeySequence &k, QWidget *donde = nullptr);
    QPushButton *procesarVisible() const;
    // Moves the cursor; the operator screen selects the text of the field it lands in.
    void mover(QWidget *destino);
    // A key of a race or horse box: the digit filter; Enter goes on to `siguiente` when the number
    // is a horse of the race, and warns when it is above cab_max; Backspace in an empty box goes
    // back to the amount. True when the key was taken.
    bool teclaCaballo(QLineEdit *campo, QKeyEvent *k, QWidget *siguiente);
    // A number field of the bet: only digits enter it, however the text comes; what it refuses
    // is refused visibly (a beep, and Label_SoloNumeros beside it until that field is emptied or
    // the bet is cleared).
    void campoNumerico(QLineEdit *campo);
    void rechazarEntrada(QLineEdit *campo);
    // The status line after a payment: the code paid and its amount as the panel showed it.
    void mostrarPago(const QString &codigo, const QString &monto);

    Contexto &ctx_;
    ImpresionTickets *impresion_;
    PantallaVenta pantalla_;
    QVBoxLayout *raiz_, *principal_;
    QHBoxLayout *filaJuegos_, *pie_;
    QGridLayout *venta_;
    QList<QWidget *> paneles_; // the floating panels, one shown at a time
    bool cargado_ = false;

private:
    void cargar();
    void marcarMoneda(int index);
    void mostrarVenta(const Boleto &b);
    // Offers to print a recorded ticket again until it prints or the clerk says no.
    void ofrecerReimpresion(const Boleto &b, QString pregunta, const QString &titulo);

    bool ocupado_ = false;              // a sale or a resolution is under way
    QLineEdit *campoRechazo_ = nullptr; // the field Label_SoloNumeros stands beside
    std::optional<Boleto> ultimoBoleto_;
};

// The character code a key press of an entry field stands for: 13 for Enter, 8 for Backspace,
// the character's code otherwise; -1 for navigation, function and Ctrl or Alt keys.
int codigoTecla(const QKeyEvent *k);

} // namespace corvalo
