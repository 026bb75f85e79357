// The management console "GERENCIA CENTRO HIPICO": live sales of the current race, booth
// totals, the day result and the ticket search.
// form_gerencia.cpp holds the window, its loading, the currency and the filters shared by the
// tabs; each tab is built and handled in its own file (form_gerencia_venta.cpp,
// form_gerencia_cuadre.cpp, form_gerencia_boletos.cpp).
#pragma once

#include "boletos.h"
#include "cuadre.h"
#include "refresco.h"

#include <QWidget>

#include <memory>
#include <vector>

class QComboBox;
class QDateEdit;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;
class QTreeWidget;

namespace corvalo {

class GraficoVentas;
class ModeloBoletos;

class Form_Gerencia : public QWidget {
    Q_OBJECT
public:
    // The live panel reads through a connection of its own opened with ctx.fabrica and the
    // session's central connection string.
    explicit Form_Gerencia(Contexto &ctx, QWidget *parent = nullptr);
    ~Form_Gerencia() override;

    // The console currency (1 or 2) and its caption.
    int moneda = 1;
    QString captionMoneda;

    // Controls (objectName = member name; arrays get "_index").
    QFrame *Frame_Principal;
    QTabWidget *SSTab1;
    QPushButton *boton_salir;
    // "VENTA"
    QComboBox *Combo_Taquilla, *Combo_SelJuego, *Combo_Carreras;
    QFrame *Frame_Moneda;
    QLabel *Label_Moneda[2];
    QLabel *Label_Carrera, *Label_estado;
    QLabel *Text_Etiqueta[6]; // 0 "Nº", 1 "CABALLO", 2 "MONTO", 3 "TABLAS", 5 the total's caption
    std::vector<QLineEdit *> Text_NCaballo, Text_Caballo, Text_puesto, Text_MontoBsf;
    QLineEdit *Text_TotalBs;
    QTimer *Timer1;
    QFrame *Frame_Timer;
    QLabel *Label_Timer; // inside Frame_Timer: when the figures were read
    GraficoVentas *Grafico_Ventas;
    QPushButton *Command4;
    QListWidget *list_resume_diario;
    // "CUADRE CAJA"
    QComboBox *Combo6, *Combo_Carreras2, *Combo_Carreras3;
    QPushButton *Command3, *Image8;
    QTreeWidget *ListView2;
    QLabel *Label_carrera2, *Label_estado2;
    // "BOLETOS"
    QDateEdit *DTPicke1;
    QComboBox *Combo7, *Combo2, *Combo1, *Combo3, *Combo5, *Combo4;
    QPushButton *bton_buscar, *Command2;
    QTableView *DataGrid_Tickets;
    QLineEdit *Text_datos2[4];

    // Handlers and public operations.
    void Label_Moneda_Click(int index);
    void SSTab1_Click(int tab);
    void Timer1_Timer() { actualizar_ventas(); }
    void Frame_Timer_Click();
    void Frame_Timer_DblClick();
    void Combo_Taquilla_GotFocus();
    void Combo_Taquilla_Click() { actualizar_ventas(); }
    void Combo_SelJuego_GotFocus();
    void Combo_Carreras_Change();
    void Combo_Carreras_Click() { Combo_Carreras_Change(); }
    void actualizar_ventas();
    void Limpiar_ListView2();
    void Command3_Click();
    void Command4_Click();
    void bton_buscar_Click();
    void Command2_Click();
    void Combo2_GotFocus();
    void Combo6_GotFocus();
    void Combo7_GotFocus();

    // The live panel's reader (tests watch it).
    RefrescoPanel &refresco() { return *refresco_; }
    // The refresh is switched off by the user (Frame_Timer red).
    bool detenido() const { return detenido_; }

signals:
    // The console closed: the main window takes back its timer, toolbar and caption.
    void cerrada();
    // "IMPRIMIR": Sesion.tipo_reporte is set to the ticket list's report; the viewer shows rpt_jugadas.
    void imprimirJugadas();

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;

private:
    QWidget *crearVenta();
    QWidget *crearCuadre();
    QWidget *crearBoletos();
    void Form_Load();
    void filasPanel(int n);
    void mostrarPanel(const PanelVentas &p);
    void panelFallido(const PedidoPanel &p, const QString &error);
    void mostrarIndicador();
    void mostrarEstado(const EstadoCarrera &e);
    void avisoJuego();
    void rellenar(QComboBox *combo, const QStringList &lista);
    void ajustarAnchos();
    void fijarCarreraInicial(QComboBox *inicial, QComboBox *final, const QString &carrera);
    // Sets a race box to the list's entry for `carrera` (the text itself when it has none).
    void ponerCarrera(QComboBox *combo, const QString &carrera);
    // The race box `obj` is (or is the line edit of); null for any other control.
    QComboBox *carreraDe(QObject *obj) const;
    // Answers to the requests made so far are not shown.
    void descartarPendientes();
    void cerrar();

    Contexto &ctx_;
    std::unique_ptr<RefrescoPanel> refresco_;
    ModeloBoletos *modelo_ = nullptr;
    QGridLayout *rejilla_ = nullptr;
    bool detenido_ = false;
    bool trasDobleClic_ = false;
    quint64 vigente_ = 0; // answers to requests numbered below it are dropped
    bool cerrada_ = false;
    bool avisando_ = false;
    bool fallando_ = false;
    QString leidoA_; // time of day of the last refresh that came back
    // The last race of a range follows the first until the user picks it.
    bool finalElegido2_ = false, finalElegido3_ = false;
};

} // namespace corvalo
