#include "form_menu_principal.h"

#include "bd_local.h"
#include "dialogos_qt.h"
#include "form_conf_impresion.h"
#include "frm_about.h"
#include "registro.h"
#include "ventanas.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvalo {

QAction *Form_MenuPrincipal::entrada(QMenu *menu, const char *nombre, const QString &caption) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(nombre));
    return a;
}

Form_MenuPrincipal::Form_MenuPrincipal(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent)
    : QMainWindow(parent), ctx_(ctx), opciones_(opciones) {
    setObjectName(QStringLiteral("Form_MenuPrincipal"));
    setWindowTitle(QStringLiteral("MENU PRINCIPAL -  "));

    auto nuevoMenu = [this](const char *nombre, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(nombre));
        m->menuAction()->setProperty("caption", caption);
        m->menuAction()->setObjectName(QString::fromLatin1(nombre) + QStringLiteral("_accion"));
        return m;
    };
    acciones_menu = nuevoMenu("acciones_menu", QStringLiteral("Accio&nes"));
    cp_menu = entrada(acciones_menu, "cp_menu", QStringLiteral("&Calculadora Parley"));
    acciones_menu->addSeparator();
    cerrar_menu = entrada(acciones_menu, "cerrar_menu", QStringLiteral("&Salir"));

    gerencia_menu = nuevoMenu("gerencia_menu", QStringLiteral("&Gerencia"));
    vt_ger_menu = entrada(gerencia_menu, "vt_ger_menu", QStringLiteral("&Gerencia"));

    pantallamenus = nuevoMenu("pantallamenus", QStringLiteral("&Pantallas"));
    tbfija_pant_menu = entrada(pantallamenus, "tbfija_pant_menu", QStringLiteral("Visor Moneda &1"));
    visor2menu = entrada(pantallamenus, "visor2menu", QStringLiteral("Visor Moneda &2"));

    reportes_admin = nuevoMenu("reportes_admin", QStringLiteral("&Reportes"));
    diario_menu_tf = entrada(reportes_admin, "diario_menu_tf", QStringLiteral("Cuadre de &Ventas"));
    tf_porTaquilla = entrada(reportes_admin, "tf_porTaquilla", QStringLiteral("Ventas  por &Taquilla"));
    rctf_admin_menu = entrada(reportes_admin, "rctf_admin_menu", QStringLiteral("Ventas  por &Carrera"));
    vp_menu = entrada(reportes_admin, "vp_menu", QStringLiteral("Ventas  por &Grupos"));
    te_menu = entrada(reportes_admin, "te_menu", QStringLiteral("Tickets &Eliminados"));
    rpt_menu_Ganancias =
        entrada(reportes_admin, "rpt_menu_Ganancias", QStringLiteral("Cuadre de Ga&nancias"));

    conf_menu_pc = nuevoMenu("conf_menu_pc", QStringLiteral("&Configuración"));
    pimp_menu = entrada(conf_menu_pc, "pimp_menu", QStringLiteral("&Puerto de Impresión"));
    bdlocalmenu = entrada(conf_menu_pc, "bdlocalmenu", QStringLiteral("&Borrar BD Local"));

    tienda_menu = nuevoMenu("tienda_menu", QStringLiteral("&Tienda"));
    ver_tienda = entrada(tienda_menu, "ver_tienda", QStringLiteral("&Ver Tienda"));

    acer_mnu = nuevoMenu("acer_mnu", QStringLiteral("&Acerca"));
    acerca_menu = entrada(acer_mnu, "acerca_menu", QStringLiteral("&Acerca"));

    // Not offered: no level shows them.
    cp_menu->setVisible(false);
    vp_menu->setVisible(false);
    rpt_menu_Ganancias->setVisible(false);
    tienda_menu->menuAction()->setVisible(false);

    connect(cerrar_menu, &QAction::triggered, this, &Form_MenuPrincipal::cerrar_menu_Click);
    connect(vt_ger_menu, &QAction::triggered, this, &Form_MenuPrincipal::vt_ger_menu_Click);
    connect(tbfija_pant_menu, &QAction::triggered, this, [this] { visor_Click(1); });
    connect(visor2menu, &QAction::triggered, this, [this] { visor_Click(2); });
    connect(diario_menu_tf, &QAction::triggered, this, [this] { abrirCon(pantallas.Form_RPT_Ventas); });
    connect(tf_porTaquilla, &QAction::triggered, this, [this] { abrirCon(pantallas.Form_RPT_CuadreTaqTF); });
    connect(rctf_admin_menu, &QAction::triggered, this,
            [this] { abrirCon(pantallas.Form_RPT_ResultadosCarreras); });
    connect(te_menu, &QAction::triggered, this, [this] { abrirCon(pantallas.Form_Bitacora); });
    connect(pimp_menu, &QAction::triggered, this, &Form_MenuPrincipal::pimp_menu_Click);
    connect(bdlocalmenu, &QAction::triggered, this, &Form_MenuPrincipal::bdlocalmenu_Click);
    connect(acerca_menu, &QAction::triggered, this, &Form_MenuPrincipal::acerca_menu_Click);

    // Toolbar with the pictures of ImageList1.
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1_Button[0] = Toolbar1->addAction(style()->standardIcon(QStyle::SP_DialogApplyButton), QString());
    Toolbar1_Button[0]->setObjectName(QStringLiteral("Toolbar1_Button_1"));
    Toolbar1_Button[0]->setShortcut(QKeySequence(Qt::Key_F2));
    Toolbar1_Button[0]->setToolTip(QStringLiteral("VENTA (F2)"));
    Toolbar1_Button[1] = Toolbar1->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), QString());
    Toolbar1_Button[1]->setObjectName(QStringLiteral("Toolbar1_Button_2"));
    Toolbar1_Button[1]->setShortcut(QKeySequence(Qt::Key_F10));
    Toolbar1_Button[1]->setToolTip(QStringLiteral("SALIR (F10)"));
    connect(Toolbar1_Button[0], &QAction::triggered, this, [this] { Toolbar1_ButtonClick(1); });
    connect(Toolbar1_Button[1], &QAction::triggered, this, [this] { Toolbar1_ButtonClick(2); });

    // The container, with the download picture above it.
    auto *centro = new QWidget(this);
    auto *capa = new QVBoxLayout(centro);
    capa->setContentsMargins(0, 0, 0, 0);
    Picture1 = new QWidget(centro);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    auto *capaPicture = new QHBoxLayout(Picture1);
    Image1 = new QToolButton(Picture1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    Image1->setIconSize(QSize(32, 32));
    Image1->setText(QStringLiteral("DESCARGAR"));
    Image1->setToolTip(QStringLiteral("DESCARGAR"));
    Image1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Image1->setAutoRaise(true);
    capaPicture->addWidget(Image1);
    capaPicture->addStretch();
    Picture1->setVisible(false);
    connect(Image1, &QToolButton::clicked, this, &Form_MenuPrincipal::Image1_Click);
    mdiArea = new QMdiArea(centro);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    capa->addWidget(Picture1);
    capa->addWidget(mdiArea, 1);
    setCentralWidget(centro);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 7; ++i) {
        StatusBar1_Panel[i] = new QLabel(this);
        StatusBar1_Panel[i]->setObjectName(QStringLiteral("StatusBar1_Panel_%1").arg(i + 1));
        StatusBar1_Panel[i]->setFrameShape(QFrame::StyledPanel);
        statusBar()->addWidget(StatusBar1_Panel[i], i >= 2 ? 1 : 0);
    }

    Timer_Activo = new QTimer(this);
    Timer_Activo->setObjectName(QStringLiteral("Timer_Activo"));
    Timer_Activo->setInterval(60000);
    connect(Timer_Activo, &QTimer::timeout, this, &Form_MenuPrincipal::Timer_Activo_Timer);
    resize(1024, 700);
}

void Form_MenuPrincipal::showEvent(QShowEvent *ev) {
    QMainWindow::showEvent(ev);
    if (!cargado_)
        Form_Load();
}

void Form_MenuPrincipal::Form_Load() {
    if (cargado_)
        return;
    cargado_ = true;
    Toolbar1_Button[0]->setText(QStringLiteral("VENTA"));
    Toolbar1_Button[1]->setText(QStringLiteral("SALIR"));
    Timer_Activo->start();
    const CargaMenu c = cargarMenuPrincipal(ctx_, opciones_.rutaAjustes);
    setWindowTitle(c.caption);
    gerencia_menu->menuAction()->setVisible(c.visibilidad.gerencia);
    reportes_admin->menuAction()->setVisible(c.visibilidad.reportes);
    pantallamenus->menuAction()->setVisible(c.visibilidad.pantallas);
    Toolbar1_Button[0]->setVisible(c.visibilidad.venta);
    Toolbar1_Button[1]->setVisible(c.visibilidad.salir);
    web = c.web;
    tipopantalla = c.tipopantalla;
    tbfija_pant_menu->setVisible(c.visor1);
    visor2menu->setVisible(c.visor2);
    // A hidden menu takes no Alt letter: the letter goes to the screen in front.
    for (QMenu *m :
         {acciones_menu, gerencia_menu, pantallamenus, reportes_admin, conf_menu_pc, tienda_menu, acer_mnu}) {
        const QString caption = m->menuAction()->property("caption").toString();
        m->menuAction()->setText(m->menuAction()->isVisible() ? caption
                                                              : QString(caption).remove(QLatin1Char('&')));
    }
    for (int i = 2; i < 7; ++i)
        StatusBar1_Panel[i]->setText(c.paneles[i]);
    Picture1->setVisible(c.mostrarDescargar);
    if (c.terminar) {
        terminando_ = true;
        emit salidaConfirmada();
    }
}

void Form_MenuPrincipal::abrirHija(QWidget *pantalla) {
    if (!pantalla)
        return;
    QMdiSubWindow *sub = mdiArea->addSubWindow(pantalla);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(iconoPrograma());
    pantalla->show();
    sub->show();
    mdiArea->setActiveSubWindow(sub);
}

bool Form_MenuPrincipal::traerAlFrente(const void *clave) {
    const auto it = abiertas_.find(clave);
    if (it == abiertas_.end())
        return false;
    QWidget *pantalla = it->second;
    auto *sub = pantalla ? qobject_cast<QMdiSubWindow *>(pantalla->parentWidget()) : nullptr;
    if (!pantalla || !(sub ? sub->isVisible() : pantalla->isVisible())) {
        abiertas_.erase(it);
        return false;
    }
    if (sub) {
        if (sub->isMinimized())
            sub->showNormal();
        mdiArea->setActiveSubWindow(sub);
    } else {
        if (pantalla->isMinimized())
            pantalla->showNormal();
        pantalla->raise();
        pantalla->activateWindow();
    }
    return true;
}

void Form_MenuPrincipal::abrirCon(const PantallasMenu::Abridor &abridor, bool sinBarra, bool sinTimer,
                                  const void *clave) {
    if (!abridor) {
        ctx_.dialogos.mensaje(kPantallaNoDisponible, kTituloNoDisponible, Icono::Informacion);
        return;
    }
    // One screen of each: a second click brings the open one forward.
    if (!clave)
        clave = &abridor;
    if (traerAlFrente(clave))
        return;
    if (sinTimer)
        Timer_Activo->stop();
    if (sinBarra)
        Toolbar1->hide();
    QWidget *pantalla = abridor(*this);
    if (!pantalla) {
        pantallaCerrada(sinBarra);
        return;
    }
    abiertas_[clave] = pantalla;
    if (pantalla->isVisible())
        return; // a window of its own (a customer board), already on its screen
    abrirHija(pantalla);
}

void Form_MenuPrincipal::pantallaCerrada(bool conBarra) {
    Timer_Activo->start();
    if (conBarra)
        Toolbar1->show();
}

void Form_MenuPrincipal::Toolbar1_ButtonClick(int index) {
    if (index == 1) {
        // A level without a sales screen is told so, and keeps its toolbar.
        if (ctx_.sesion.nivel == QLatin1String("Taquilla"))
            abrirCon(pantallas.Form_Venta_TD, true);
        else if (ctx_.sesion.nivel == QLatin1String("Operador"))
            abrirCon(pantallas.Form_VentaOperador, true);
        else
            ctx_.dialogos.mensaje(kNivelSinVenta, kTituloNoDisponible, Icono::Informacion);
    } else if (index == 2) {
        close();
    }
}

void Form_MenuPrincipal::closeEvent(QCloseEvent *ev) {
    if (terminando_) {
        ev->accept();
        return;
    }
    if (!confirmarSalida(ctx_)) {
        ev->ignore();
        return;
    }
    terminando_ = true;
    ev->accept();
    emit salidaConfirmada();
}

void Form_MenuPrincipal::cerrar_menu_Click() {
    if (!confirmarSalir(ctx_))
        return;
    terminando_ = true;
    emit salidaConfirmada();
}

void Form_MenuPrincipal::vt_ger_menu_Click() {
    abrirCon(pantallas.Form_Gerencia, true, true);
}

void Form_MenuPrincipal::visor_Click(int moneda) {
    const PantallasMenu::Abridor &abridor =
        tipopantalla == 1 ? pantallas.Form_PantDoble : pantallas.Form_Pantalla_Triple;
    // Each entry is a screen of its own: the other currency replaces the board on show.
    const void *clave = moneda == 1 ? static_cast<const void *>(tbfija_pant_menu) : visor2menu;
    if (traerAlFrente(clave))
        return;
    if (abridor)
        ctx_.sesion.id_moneda = moneda;
    abrirCon(abridor, false, true, clave);
}

void Form_MenuPrincipal::pimp_menu_Click() {
    if (traerAlFrente(pimp_menu))
        return;
    auto *pantalla = new Form_ConfImpresion(ctx_, opciones_.rutaAjustes);
    abiertas_[pimp_menu] = pantalla;
    abrirHija(pantalla);
}

void Form_MenuPrincipal::bdlocalmenu_Click() {
    try {
        borrar_bd_local(ctx_);
    } catch (const std::exception &e) {
        // A drop or creation that fails leaves what was done.
        registrarFalla(lcSesion(), &ctx_.sesion, QStringLiteral("MENU PRINCIPAL"),
                       QStringLiteral("borrar bd local"), e);
    }
}

void Form_MenuPrincipal::acerca_menu_Click() {
    auto *acerca = new frmAbout(this);
    acerca->setAttribute(Qt::WA_DeleteOnClose);
    acerca->setWindowModality(Qt::ApplicationModal);
    acerca->show();
}

void Form_MenuPrincipal::Image1_Click() {
    ctx_.maquina.abrirDireccion(web);
}

void Form_MenuPrincipal::Timer_Activo_Timer() {
    corvalo::Timer_Activo_Timer(ctx_);
}

} // namespace corvalo
