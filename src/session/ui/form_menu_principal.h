// The main window "MENU PRINCIPAL": the container every other screen opens in.
#pragma once

#include "menu_principal.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>

class QMenu;

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace corvalo {

class Form_MenuPrincipal;

// The screens of the other subsystems, attached by the program. Each returns the new
// screen (shown as a child window) or nothing. A screen that switches the timer off or
// hides the toolbar has pantallaCerrada() called when it closes. An entry whose screen is not
// attached tells the user so and changes nothing. A screen already shown (a window of its own,
// such as a customer board) is left where it is.
struct PantallasMenu {
    using Abridor = std::function<QWidget *(Form_MenuPrincipal &)>;
    Abridor Form_Venta_TD, Form_VentaOperador, Form_Gerencia, Form_PantDoble, Form_Pantalla_Triple,
        Form_RPT_Ventas, Form_RPT_CuadreTaqTF, Form_RPT_ResultadosCarreras, Form_Bitacora;
};

class Form_MenuPrincipal : public QMainWindow {
    Q_OBJECT
public:
    Form_MenuPrincipal(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent = nullptr);

    PantallasMenu pantallas;

    // Shows a screen as a child window.
    void abrirHija(QWidget *pantalla);
    // A sales screen, the console or a display closed: the timer runs again and, when
    // `conBarra`, the toolbar shows again.
    void pantallaCerrada(bool conBarra = true);

    // Window-level values kept from configuracion.
    QString web;
    int tipopantalla = 0;

    QMdiArea *mdiArea;
    QMenu *acciones_menu, *gerencia_menu, *pantallamenus, *reportes_admin, *conf_menu_pc, *tienda_menu,
        *acer_mnu;
    QAction *cp_menu, *cerrar_menu, *vt_ger_menu, *tbfija_pant_menu, *visor2menu, *diario_menu_tf,
        *tf_porTaquilla, *rctf_admin_menu, *vp_menu, *te_menu, *rpt_menu_Ganancias, *pimp_menu, *bdlocalmenu,
        *ver_tienda, *acerca_menu;
    QToolBar *Toolbar1;
    QAction *Toolbar1_Button[2]; // "VENTA", "SALIR"
    std::array<QLabel *, 7> StatusBar1_Panel;
    QWidget *Picture1;
    QToolButton *Image1;
    QTimer *Timer_Activo;

    void Form_Load();
    void Toolbar1_ButtonClick(int index); // 1 "VENTA", 2 "SALIR"
    void cerrar_menu_Click();
    void vt_ger_menu_Click();
    void visor_Click(int moneda);
    void pimp_menu_Click();
    void bdlocalmenu_Click();
    void acerca_menu_Click();
    void Image1_Click();
    void Timer_Activo_Timer();

signals:
    // The user chose to leave (or accepted the download): the program ends.
    void salidaConfirmada();

protected:
    void closeEvent(QCloseEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

private:
    // Opens the screen of `abridor`; `sinBarra` hides the toolbar and `sinTimer` stops the timer
    // while it is open. A screen that is not attached shows the not-available message.
    // One screen per command (`clave`, the abridor itself when none is given): while it is open
    // a second click brings it forward and opens nothing.
    void abrirCon(const PantallasMenu::Abridor &abridor, bool sinBarra = false, bool sinTimer = false,
                  const void *clave = nullptr);
    // Brings forward the open screen of a command; false when it has none open.
    bool traerAlFrente(const void *clave);
    std::map<const void *, QPointer<QWidget>> abiertas_;
    QAction *entrada(QMenu *menu, const char *nombre, const QString &caption);
    Contexto &ctx_;
    const OpcionesSesion &opciones_;
    bool cargado_ = false;
    bool terminando_ = false;
};

} // namespace corvalo
