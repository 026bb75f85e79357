// The payment panel "COBRAR UN BOLETO": the clerk scans or types a ticket code into its one box,
// Enter looks it up on the path its first digit names (Tablas or Los Puestos, whatever game the
// screen is on), and Enter on the pay button pays it. Any sales screen with a payment panel hosts
// it; the panel keeps what the lookup found to itself and tells its host what happened.
#pragma once

#include "cobro.h"

#include <QFrame>
#include <QPointer>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvalo {

class Frame_CobroBoleto : public QFrame {
    Q_OBJECT
public:
    // `recibos`: where the receipts go (null: the receipt is made and not printed).
    Frame_CobroBoleto(Contexto &ctx, ImpresionRecibos *recibos, QWidget *parent = nullptr);

    // The host's selected game (the code, not the game, chooses the payment's path).
    void setJuegoActual(int juego);
    int juegoActual() const { return juego_actual_; }

    // boton_cobrar / "Cobrar": shows the panel empty, centred on `centro` (kept there while its
    // content grows or shrinks), the cursor in Text_boletoCobro.
    void mostrar(QWidget *centro);

    QLabel *Label_Titulo, *Label_Codigo;
    QLineEdit *Text_boletoCobro;
    QLabel *Label_MCB, *Label_PCB;
    QPushButton *Boton_Cobrar_Boleto2, *Boton_Cobrar_Boleto3, *Command5, *Bto_SalirFCB;

    // Handlers.
    void Bto_SalirFCB_Click();
    void Command5_Click();
    void Text_boletoCobro_KeyPress();
    void Boton_Cobrar_Boleto2_Click();
    void Boton_Cobrar_Boleto3_Click();

    // Asks the server about payments whose outcome is pending and shows what became of them.
    void resolverPendientes();
    // A copy of the last receipt of this panel.
    void reimprimirRecibo();

signals:
    // The panel was closed by its own button or Escape: the host takes the cursor back.
    void cerrado();
    // A payment was made (the receipt, when one was due, has been sent to the output).
    void pagado(const corvalo::ResultadoPago &resultado);
    // The same payment for the host's status line: the code paid and the amount the panel showed.
    void boletoPagado(const QString &codigo, const QString &monto);
    // A payment's outcome is pending: the host asks again while the journal holds it.
    void pendiente();

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    bool event(QEvent *ev) override;

private:
    bool teclaCobro(QKeyEvent *k);
    void mostrarConsulta(const ConsultaCobro &c, QPushButton *pagar);
    void terminarPago(const ResultadoPago &r, QPushButton *pagar);
    void ocultarResultado();
    void ajustar();
    void aplicarFuentes();
    void ofrecerReimpresion(const Recibo &r, QString pregunta);

    Contexto &ctx_;
    Cobro cobro_;
    int juego_actual_ = 0;
    QPointer<QWidget> centro_;
};

} // namespace corvalo
