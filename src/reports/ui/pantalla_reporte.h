// What the four report screens share: the date pickers, the centre and game selectors that
// refill themselves when they get the focus, the currency labels, the process button with its
// progress, the print button that appears when a process found rows, and the close button.
#pragma once

#include "reporte_proceso.h"

#include <QLabel>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QFrame;
class QGridLayout;
class QProgressDialog;
class QPushButton;

namespace corvalo {

// A currency label that is clicked, or pressed with Space or Enter when it has the focus.
class EtiquetaMoneda : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void pulsada();

protected:
    void mousePressEvent(QMouseEvent *ev) override;
    void keyPressEvent(QKeyEvent *ev) override;
};

// Progress of a process in a dialog that appears when it takes a while and can cancel it.
class ProgresoQt : public Progreso {
public:
    explicit ProgresoQt(QWidget *padre);
    ~ProgresoQt() override;
    bool seguir(int hecho, int total) override;

private:
    QProgressDialog *dialogo_;
};

// How a screen is designed.
struct DisenoPantalla {
    QString objeto, caption;
    QString fecha1, fecha2;   // labels of DTPicker1 and DTPicker2 (empty: no second picker)
    QString centro;           // label of the centre selector
    QString nombreCentro;     // Combo_grupo or Combo_Hipicos
    bool centroConTodos = true;
    bool marcoHipico = false; // the selector sits in Frame_Hipico, hidden as a whole
    QStringList nivelesSinCentro;
    QString juego;            // label of the game selector (empty: none)
    bool conMoneda = true;
    QString procesar;         // caption of the process button
    QString nombreProcesar;
    int tipo_reporte = 0;
};

class PantallaReporte : public QWidget {
    Q_OBJECT
public:
    PantallaReporte(Contexto &ctx, const DisenoPantalla &diseno, QWidget *parent = nullptr);

    QDateEdit *DTPicker1, *DTPicker2 = nullptr;
    QLabel *Label_Fecha1, *Label_Fecha2 = nullptr, *Label_Centro, *Label_Juego = nullptr;
    QFrame *Frame_Hipico = nullptr;
    QComboBox *selectorCentro, *Combo_SelJuego = nullptr;
    QFrame *Frame_Moneda = nullptr;
    EtiquetaMoneda *Label_Moneda[2] = {nullptr, nullptr};
    QPushButton *boton_procesar, *boton_Impresion, *Command1;

    void Form_Load();
    void Label_Moneda_Click(int index);
    void Procesar_Click();
    void boton_Impresion_Click();
    void Command1_Click();
    // The end of the last process.
    const ResultadoProceso &ultimoProceso() const { return ultimo_; }

signals:
    void cerrada();
    // The print button: the host opens the viewer over the report (Sesion.tipo_reporte is set).
    void reporteSolicitado(int tipo_reporte, const QString &moneda);

protected:
    virtual ResultadoProceso procesar(Progreso &progreso) = 0;
    // The game selector got the focus (after the refill and hiding the print button).
    virtual void juegoEnfocado() {}
    void mostrarMonedas(const CargaReporte &c);

    bool eventFilter(QObject *obj, QEvent *ev) override;
    void keyPressEvent(QKeyEvent *ev) override;
    void showEvent(QShowEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;

    Contexto &ctx_;
    DisenoPantalla diseno_;
    QGridLayout *capa_;
    int filaLibre_ = 0; // first grid row after the common controls

private:
    void rellenar(QComboBox *c, const QStringList &valores);
    ResultadoProceso ultimo_;
    bool cargado_ = false, centrada_ = false;
};

} // namespace corvalo
