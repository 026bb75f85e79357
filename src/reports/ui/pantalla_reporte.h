// What the four report screens share: date pickers, the centre and game selectors, the
// currency labels, the process, print and close buttons, and the progress of a process.
#pragma once

#include "pipeline.h"

#include <QMap>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvalo {

class PantallaReporte : public QWidget {
    Q_OBJECT
public:
    // How one screen is made.
    struct Diseno {
        const char *nombre;       // objectName of the screen
        QString caption;          // window title
        QString etiquetaDesde;    // label of DTPicker1
        QString etiquetaHasta;    // label of DTPicker2; empty: one date only
        const char *nombreCentro; // "Combo_grupo" or "Combo_Hipicos"
        QString etiquetaCentro;
        bool marcoCentro = false;     // the centre selector sits in Frame_Hipico
        bool centroConTodos = true;   // its list ends with "TODOS"
        QStringList nivelesSinCentro; // levels for which it is hidden
        QString etiquetaJuego;        // empty: no game selector and no currency
        QString captionProcesar;
        int tipoReporte;
    };

    PantallaReporte(Contexto &ctx, const Diseno &d, QWidget *parent = nullptr);

    QDateEdit *DTPicker1, *DTPicker2 = nullptr;
    QLabel *Label_Desde, *Label_Hasta = nullptr;
    QFrame *Frame_Hipico = nullptr;
    QComboBox *Combo_centro; // Combo_grupo / Combo_Hipicos
    QLabel *Label_Hipico;
    QComboBox *Combo_SelJuego = nullptr;
    QLabel *Label_Juego = nullptr;
    QFrame *Frame_Moneda = nullptr;
    QPushButton *Label_Moneda[2] = {nullptr, nullptr};
    QPushButton *Bton_Procesar, *boton_Impresion, *Command1;

    void Form_Load();
    void Label_Moneda_Click(int indice);
    void Combo_centro_GotFocus();
    void Combo_SelJuego_GotFocus();
    void Bton_Procesar_Click();
    void boton_Impresion_Click();
    void Command1_Click();

    // What the last process did.
    const ResultadoProceso &ultimo() const { return ultimo_; }

signals:
    void cerrada();

protected:
    virtual ResultadoProceso procesar(const FiltroReporte &f, Progreso *progreso) = 0;
    // Captions the currency labels from monedas; the second hides when dolar_activado is 0.
    void rotularMonedas();
    bool eventFilter(QObject *obj, QEvent *ev) override;
    void showEvent(QShowEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;
    Contexto &ctx_;

private:
    // The field whose Enter runs the process.
    QWidget *ultimoCampo() const;
    Diseno d_;
    ResultadoProceso ultimo_;
    QMap<QString, QString> corrida_; // the last run's parameters, for the viewer
    bool centrada_ = false;
};

} // namespace corvalo
