#include "form_venta_td.h"

#include "filtros.h"
#include "registro.h"
#include "teclado.h"
#include "texto.h"
#include "venta_puestos.h"
#include "venta_tablas.h"
#include "ventanas.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace corvalo {

namespace {

QString css(const Color &c) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b);
}

void fondo(QWidget *w, const Color &c, const QString &texto = QStringLiteral("white")) {
    w->setStyleSheet(QStringLiteral("background-color:%1;color:%2;").arg(css(c), texto));
}

template <typename W> W *nombrar(W *w, const QString &nombre) {
    w->setObjectName(nombre);
    return w;
}

QPushButton *boton(const QString &nombre, const QString &texto, QWidget *padre) {
    auto *b = nombrar(new QPushButton(texto, padre), nombre);
    b->setAutoDefault(true); // Enter presses the focused button
    return b;
}

} // namespace

Form_Venta_TD::Form_Venta_TD(Contexto &ctx, ImpresionTickets *impresion, ImpresionRecibos *recibos,
                             QWidget *parent)
    : QWidget(parent), ctx_(ctx), impresion_(impresion) {
    setObjectName(QStringLiteral("Form_Venta_TD"));
    setWindowTitle(QStringLiteral("CORVALO"));

    auto *raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    menuBar = nombrar(new QMenuBar(this), QStringLiteral("menuBar"));
    opciones = menuBar->addMenu(QStringLiteral("&Opciones"));
    ff1M = opciones->addAction(QStringLiteral("Vender Tabla &Dinamica"));
    ff1M->setObjectName(QStringLiteral("ff1M"));
    ff1M->setShortcut(Qt::Key_F5);
    vtf_menu = opciones->addAction(QStringLiteral("Vender Tabla &Fija"));
    vtf_menu->setObjectName(QStringLiteral("vtf_menu"));
    vtf_menu->setShortcut(Qt::Key_F6);
    vp_menu = opciones->addAction(QStringLiteral("Vender &Puestos"));
    vp_menu->setObjectName(QStringLiteral("vp_menu"));
    vp_menu->setShortcut(Qt::Key_F7);
    nv_menu = opciones->addAction(QStringLiteral("&Nueva Jugada"));
    nv_menu->setObjectName(QStringLiteral("nv_menu"));
    nv_menu->setShortcut(Qt::Key_F9);
    co_menu_op = opciones->addAction(QStringLiteral("&Cobrar"));
    co_menu_op->setObjectName(QStringLiteral("co_menu_op"));
    co_menu_op->setShortcut(Qt::Key_F3);
    reimprimir_menu = opciones->addAction(QStringLiteral("&Reimprimir último boleto"));
    reimprimir_menu->setObjectName(QStringLiteral("reimprimir_menu"));
    reimprimir_menu->setShortcut(Qt::Key_F8);
    reimprimir_recibo_menu = opciones->addAction(QStringLiteral("Reimprimir último r&ecibo"));
    reimprimir_recibo_menu->setObjectName(QStringLiteral("reimprimir_recibo_menu"));
    reimprimir_recibo_menu->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    salir_menu = opciones->addAction(QStringLiteral("&Salir"));
    salir_menu->setObjectName(QStringLiteral("salir_menu"));
    for (QAction *a : {ff1M, vtf_menu, vp_menu, nv_menu, co_menu_op, reimprimir_menu, reimprimir_recibo_menu})
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addActions({ff1M, vtf_menu, vp_menu, nv_menu, co_menu_op, reimprimir_menu, reimprimir_recibo_menu});
    raiz->setMenuBar(menuBar);

    Frame_principal = nombrar(new QFrame(this), QStringLiteral("Frame_principal"));
    raiz->addWidget(Frame_principal);
    auto *principal = new QVBoxLayout(Frame_principal);

    Label_Barner =
        nombrar(new QLabel(QStringLiteral("CENTRO HÍPICO"), Frame_principal), QStringLiteral("Label_Barner"));
    Label_Barner->setAlignment(Qt::AlignCenter);
    QFont fb = Label_Barner->font();
    fb.setPointSize(16);
    fb.setBold(true);
    Label_Barner->setFont(fb);
    principal->addWidget(Label_Barner);

    auto *juegos = new QHBoxLayout;
    Command3 = boton(QStringLiteral("Command3"), QStringLiteral("Dinamicas"), Frame_principal);
    Command6 = boton(QStringLiteral("Command6"), QStringLiteral("Tabla Fija"), Frame_principal);
    Command2 = boton(QStringLiteral("Command2"), QStringLiteral("Puestos"), Frame_principal);
    Command3->setToolTip(QStringLiteral("Tablas Dinámicas (F5)"));
    Command6->setToolTip(QStringLiteral("Tabla Fija (F6)"));
    Command2->setToolTip(QStringLiteral("Los Puestos (F7)"));
    for (auto *b : {Command3, Command6, Command2}) {
        b->setFocusPolicy(Qt::NoFocus);
        juegos->addWidget(b);
    }
    Frame_Moneda = nombrar(new QFrame(Frame_principal), QStringLiteral("Frame_Moneda"));
    auto *monedas = new QHBoxLayout(Frame_Moneda);
    for (int i = 0; i < 2; ++i) {
        Label_Moneda[i] =
            nombrar(new QLabel(i == 0 ? QStringLiteral("BS") : QStringLiteral("$"), Frame_Moneda),
                    QStringLiteral("Label_Moneda_%1").arg(i));
        Label_Moneda[i]->setAlignment(Qt::AlignCenter);
        Label_Moneda[i]->setMinimumWidth(60);
        Label_Moneda[i]->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        Label_Moneda[i]->setMargin(6);
        Label_Moneda[i]->setToolTip(QStringLiteral("Ctrl+%1").arg(i + 1));
        Label_Moneda[i]->installEventFilter(this);
        fondo(Label_Moneda[i], kBlanco, QStringLiteral("black"));
        monedas->addWidget(Label_Moneda[i]);
    }
    juegos->addWidget(Frame_Moneda);
    principal->addLayout(juegos);

    Frame1 = nombrar(new QFrame(Frame_principal), QStringLiteral("Frame1"));
    auto *venta = new QGridLayout(Frame1);
    Label1_0 = nombrar(new QLabel(QStringLiteral("VENTA"), Frame1), QStringLiteral("Label1_0"));
    Label1_0->setAlignment(Qt::AlignCenter);
    venta->addWidget(Label1_0, 0, 0, 1, 2);
    auto *lc = new QLabel(QStringLiteral("Nº CARRERA"), Frame1);
    Text_datos_V1[0] = nombrar(new QLineEdit(Frame1), QStringLiteral("Text_datos_V1_0"));
    Label3_0 = nombrar(new QLabel(QStringLiteral("Nº DE TABLAS"), Frame1), QStringLiteral("Label3_0"));
    Text_Monto = nombrar(new QLineEdit(Frame1), QStringLiteral("Text_Monto"));
    auto *lh = new QLabel(QStringLiteral("Nº DE CABALLO"), Frame1);
    Text_datos_V1[1] = nombrar(new QLineEdit(Frame1), QStringLiteral("Text_datos_V1_1"));
    venta->addWidget(lc, 1, 0);
    venta->addWidget(Text_datos_V1[0], 1, 1);
    venta->addWidget(Label3_0, 2, 0);
    venta->addWidget(Text_Monto, 2, 1);
    venta->addWidget(lh, 3, 0);
    venta->addWidget(Text_datos_V1[1], 3, 1);
    for (QLineEdit *e : {Text_datos_V1[0], Text_datos_V1[1], Text_Monto}) {
        QFont f = e->font();
        f.setPointSize(14);
        e->setFont(f);
        e->installEventFilter(this);
        filtrarTextoPegado(e, SoloNumeros);
    }
    boton_procesar = boton(QStringLiteral("boton_procesar"), QStringLiteral("PROCESAR JUGADA"), Frame1);
    boton_procesarPT = boton(QStringLiteral("boton_procesarPT"), QStringLiteral("PROCESAR JUGADA"), Frame1);
    boton_procesarPT->hide();
    Command4 = boton(QStringLiteral("Command4"), QStringLiteral("NUEVA JUGADA"), Frame1);
    Command4->setToolTip(QStringLiteral("Nueva jugada (F9)"));
    venta->addWidget(boton_procesar, 4, 0, 1, 2);
    venta->addWidget(boton_procesarPT, 5, 0, 1, 2);
    venta->addWidget(Command4, 6, 0, 1, 2);
    principal->addWidget(Frame1);

    Label_estado = nombrar(new QLabel(Frame_principal), QStringLiteral("Label_estado"));
    Label_estado->setAlignment(Qt::AlignCenter);
    {
        QFont f = Label_estado->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 2);
        Label_estado->setFont(f);
    }
    Label_estado->hide(); // shown only while sales are closed
    Label_Mensaje = nombrar(new QLabel(Frame_principal), QStringLiteral("Label_Mensaje"));
    Label_Mensaje->setWordWrap(true);
    Label_administrador = nombrar(new QLabel(QStringLiteral("Administrador"), Frame_principal),
                                  QStringLiteral("Label_administrador"));
    Label_tecnico =
        nombrar(new QLabel(QStringLiteral("Tecnico"), Frame_principal), QStringLiteral("Label_tecnico"));
    // "CERRADO" and the message take the room their text needs; the rest stays free above the
    // buttons.
    Label_estado->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Label_estado->setMargin(8);
    Label_Mensaje->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    principal->addWidget(Label_estado);
    principal->addWidget(Label_Mensaje);
    principal->addStretch(1);
    auto *pie = new QHBoxLayout;
    pie->addWidget(Label_administrador);
    pie->addWidget(Label_tecnico);
    boton_pantallacliente =
        boton(QStringLiteral("boton_pantallacliente"), QStringLiteral("PANTALLA CLIENTE"), Frame_principal);
    boton_salir = boton(QStringLiteral("boton_salir"), QStringLiteral("SALIR DEL SISTEMA"), Frame_principal);
    boton_cobrar = boton(QStringLiteral("boton_cobrar"), QStringLiteral("COBRAR"), Frame_principal);
    boton_cobrar->setToolTip(QStringLiteral("Cobrar un boleto (F3)"));
    pie->addWidget(boton_cobrar);
    pie->addWidget(boton_pantallacliente);
    pie->addWidget(boton_salir);
    principal->addLayout(pie);

    // The horse panel floats over the screen.
    Frame_Valores = nombrar(new QFrame(this), QStringLiteral("Frame_Valores"));
    Frame_Valores->setFrameShape(QFrame::Box);
    Frame_Valores->setAutoFillBackground(true);
    auto *panel = new QGridLayout(Frame_Valores);
    Label_Carrera = nombrar(new QLabel(Frame_Valores), QStringLiteral("Label_Carrera"));
    Image1 = nombrar(new QLabel(QStringLiteral("✕"), Frame_Valores), QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("Cerrar (Esc)"));
    Image1->installEventFilter(this);
    panel->addWidget(Label_Carrera, 0, 0, 1, 2);
    panel->addWidget(Image1, 0, 2, Qt::AlignRight);
    const QString columnas[3] = {QStringLiteral("Nº"), QStringLiteral("CABALLO"), QStringLiteral("PRECIO")};
    for (int c = 0; c < 3; ++c) {
        Label_Columna[c] =
            nombrar(new QLabel(columnas[c], Frame_Valores), QStringLiteral("Label_Columna_%1").arg(c));
        QFont f = Label_Columna[c]->font();
        f.setBold(true);
        Label_Columna[c]->setFont(f);
        panel->addWidget(Label_Columna[c], 1, c);
    }
    for (int i = 0; i < 16; ++i) {
        Text_NCaballo[i] = nombrar(new QLineEdit(QString::number(i + 1), Frame_Valores),
                                   QStringLiteral("Text_NCaballo_%1").arg(i));
        Text_Caballo[i] = nombrar(new QLineEdit(Frame_Valores), QStringLiteral("Text_Caballo_%1").arg(i));
        Text_Valor[i] = nombrar(new QLineEdit(Frame_Valores), QStringLiteral("Text_Valor_%1").arg(i));
        for (QLineEdit *e : {Text_NCaballo[i], Text_Caballo[i], Text_Valor[i]}) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
        }
        Text_NCaballo[i]->setMaximumWidth(40);
        panel->addWidget(Text_NCaballo[i], i + 2, 0);
        panel->addWidget(Text_Caballo[i], i + 2, 1);
        panel->addWidget(Text_Valor[i], i + 2, 2);
    }
    Text_Total_Dinm = nombrar(new QLineEdit(Frame_Valores), QStringLiteral("Text_Total_Dinm"));
    Text_Total_Dinm->setReadOnly(true);
    Text_Total_Dinm->setFocusPolicy(Qt::NoFocus);
    panel->addWidget(Text_Total_Dinm, 18, 2);
    panel->setSizeConstraint(QLayout::SetMinimumSize);
    Frame_Valores->hide();

    Frame_CobroBoleto = new corvalo::Frame_CobroBoleto(ctx_, recibos, this);
    connect(Frame_CobroBoleto, &Frame_CobroBoleto::cerrado, this, [this] { enfocar(Text_Monto); });

    Timer1 = nombrar(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(10000);
    Timer_Dinamicas = nombrar(new QTimer(this), QStringLiteral("Timer_Dinamicas"));
    Timer_Dinamicas->setInterval(5000);
    Timer_Activo = nombrar(new QTimer(this), QStringLiteral("Timer_Activo"));
    Timer_Activo->setInterval(60000);
    Timer_Pendientes = nombrar(new QTimer(this), QStringLiteral("Timer_Pendientes"));
    Timer_Pendientes->setInterval(5000);

    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(ff1M, &QAction::triggered, this, [this] { ff1M_Click(); });
    connect(vtf_menu, &QAction::triggered, this, [this] { Command6_Click(); });
    connect(vp_menu, &QAction::triggered, this, [this] { Command2_Click(); });
    connect(nv_menu, &QAction::triggered, this, [this] { NewJugada(); });
    connect(Command4, &QPushButton::clicked, this, [this] { NewJugada(); });
    connect(boton_procesar, &QPushButton::clicked, this, [this] { boton_procesar_Click(); });
    connect(boton_procesarPT, &QPushButton::clicked, this, [this] { boton_procesarPT_Click(); });
    connect(boton_pantallacliente, &QPushButton::clicked, this, [this] { boton_pantallacliente_Click(); });
    connect(boton_salir, &QPushButton::clicked, this, [this] { cerrarPantalla(this); });
    connect(salir_menu, &QAction::triggered, this, [this] { salir_menu_Click(); });
    connect(boton_cobrar, &QPushButton::clicked, this, [this] { boton_cobrar_Click(); });
    connect(co_menu_op, &QAction::triggered, this, [this] { boton_cobrar_Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Timer_Dinamicas, &QTimer::timeout, this, [this] { Timer_Dinamicas_Timer(); });
    connect(Timer_Activo, &QTimer::timeout, this, [this] { Timer_Activo_Timer(); });
    connect(Timer_Pendientes, &QTimer::timeout, this, [this] { Timer_Pendientes_Timer(); });
    connect(reimprimir_menu, &QAction::triggered, this, [this] { reimprimir_menu_Click(); });
    connect(reimprimir_recibo_menu, &QAction::triggered, this,
            [this] { Frame_CobroBoleto->reimprimirRecibo(); });
    connect(Frame_CobroBoleto, &Frame_CobroBoleto::pendiente, this, [this] { vigilarPendientes(); });

    auto atajo = [](QWidget *donde, const QKeySequence &k) {
        auto *a = new QAction(donde);
        a->setShortcut(k);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        donde->addAction(a);
        return a;
    };
    connect(atajo(this, QKeySequence(Qt::CTRL | Qt::Key_1)), &QAction::triggered, this,
            [this] { Label_Moneda_Click(0); });
    connect(atajo(this, QKeySequence(Qt::CTRL | Qt::Key_2)), &QAction::triggered, this,
            [this] { Label_Moneda_Click(1); });
    // Escape in the bet area hides the horse panel; in the payment panel it closes that panel.
    connect(atajo(Frame_principal, QKeySequence(Qt::Key_Escape)), &QAction::triggered, this, [this] {
        if (Frame_Valores->isVisible())
            Image1_Click();
    });

    cargar();
    Timer1->start();
    // Outcomes left pending by an earlier run are settled as soon as the screen is up.
    if (!ctx_.pendientes.vacio())
        QTimer::singleShot(0, this, [this] { Timer_Pendientes_Timer(); });
}

void Form_Venta_TD::cargar() {
    try {
        const CargaVenta c = cargarVenta(ctx_, QStringLiteral("CENTRO HÍPICO"));
        aplicarAspecto(aspectoDe(c.juego));
        juego_actual = c.juego;
        Frame_CobroBoleto->setJuegoActual(c.juego);
        colorearBotones(c.juego);
        NewJugada();
        Command3->setVisible(c.mostrarDinamicas);
        Command6->setVisible(c.mostrarTablaFija);
        Command2->setVisible(c.mostrarPuestos);
        Label_Barner->setText(c.banner);
        Frame_Moneda->setVisible(c.mostrarMonedas);
        Label_administrador->setText(c.administrador);
        Label_tecnico->setText(c.tecnico);
        Label_Moneda[0]->setText(c.moneda1);
        Label_Moneda[1]->setText(c.moneda2);
        if (!c.mostrarMoneda2) {
            Label_Moneda[1]->hide();
            nombre_moneda = c.nombre_moneda;
        }
        // The currency in effect (the first, set by the load) is the highlighted one.
        marcarMoneda(ctx_.sesion.id_moneda - 1);
        cargado_ = true;
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("carga"), e); // the screen stays as far as it got
    }
}

void Form_Venta_TD::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    Text_Monto->setFocus();
}

void Form_Venta_TD::aplicarAspecto(const AspectoJuego &a) {
    Label1_0->setText(a.titulo);
    fondo(Label1_0, a.color);
    Frame1->setStyleSheet(
        QStringLiteral("QFrame#Frame1{background-color:%1;} QLabel{color:white;}").arg(css(a.color)));
    Label3_0->setText(a.etiquetaMonto);
    boton_procesar->setVisible(!a.procesarPT);
    boton_procesarPT->setVisible(a.procesarPT);
}

void Form_Venta_TD::colorearBotones(int juego) {
    const std::pair<QPushButton *, int> botones[] = {{Command3, 1}, {Command6, 2}, {Command2, 3}};
    for (const auto &[b, j] : botones)
        b->setStyleSheet(
            QStringLiteral("background-color:%1;").arg(css(j == juego ? kAmarillo : kGrisClaro)));
}

void Form_Venta_TD::seleccionarJuego(int juego, bool desdeMenu) {
    Frame_Valores->hide();
    if (auto aviso = permisoJuego(juego, ctx_.sesion)) {
        // A refused switch changes nothing but the hidden horse panel.
        ctx_.dialogos.mensaje(aviso->texto, aviso->titulo, Icono::Error);
        return;
    }
    Frame_CobroBoleto->hide();
    aplicarAspecto(aspectoDe(juego, desdeMenu));
    juego_actual = juego;
    Frame_CobroBoleto->setJuegoActual(juego);
    NewJugada();
    colorearBotones(juego);
}

void Form_Venta_TD::ff1M_Click() {
    ctx_.abrir_central(ctx_.sesion.cadena_central);
    seleccionarJuego(1, true);
}

void Form_Venta_TD::Label_Moneda_Click(int index) {
    if (!Label_Moneda[index]->isVisible() || !Frame_Moneda->isVisible())
        return;
    ctx_.sesion.id_moneda = index + 1;
    marcarMoneda(index);
    nombre_moneda = Label_Moneda[index]->text();
}

void Form_Venta_TD::marcarMoneda(int index) {
    if (index < 0 || index > 1)
        return;
    fondo(Label_Moneda[index], kAmarillo, QStringLiteral("black"));
    fondo(Label_Moneda[1 - index], kBlanco, QStringLiteral("black"));
    for (int i = 0; i < 2; ++i) {
        QFont f = Label_Moneda[i]->font();
        f.setBold(i == index);
        Label_Moneda[i]->setFont(f);
    }
}

void Form_Venta_TD::fallaSilenciosa(const QString &accion, const std::exception &e) {
    registrarFalla(lcVentas(), &ctx_.sesion, QStringLiteral("CORVALO"), accion, e);
}

void Form_Venta_TD::NewJugada() {
    try {
        ctx_.abrir_configuracion();
        Text_datos_V1[0]->setText(ctx_.configuracion(QStringLiteral("carrera")).texto());
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("nueva jugada"), e);
    }
    Limpiar();
}

void Form_Venta_TD::Limpiar() {
    Text_datos_V1[1]->clear();
    Text_Monto->clear();
    Text_Monto->setFocus();
}

void Form_Venta_TD::Limpiar_Dinamicas() {
    for (int i = 0; i < 16; ++i) {
        Text_Caballo[i]->clear();
        Text_Valor[i]->clear();
    }
}

void Form_Venta_TD::ReinicioServer() {
    aplicarAspecto(aspectoReinicio());
    fondo(Frame1, kColorReinicio);
    juego_actual = 0;
    Frame_CobroBoleto->setJuegoActual(0);
}

QPushButton *Form_Venta_TD::procesarVisible() const {
    return boton_procesarPT->isVisibleTo(Frame1) ? boton_procesarPT : boton_procesar;
}

void Form_Venta_TD::enfocar(QLineEdit *campo) {
    campo->setFocus();
    campo->selectAll();
}

bool Form_Venta_TD::eventFilter(QObject *obj, QEvent *ev) {
    if (ev->type() == QEvent::MouseButtonRelease) {
        if (obj == Label_Moneda[0] || obj == Label_Moneda[1]) {
            Label_Moneda_Click(obj == Label_Moneda[0] ? 0 : 1);
            return true;
        }
        if (obj == Image1) {
            Image1_Click();
            return true;
        }
    }
    if (ev->type() != QEvent::KeyPress)
        return QWidget::eventFilter(obj, ev);
    auto *k = static_cast<QKeyEvent *>(ev);
    auto *campo = qobject_cast<QLineEdit *>(obj);
    if (!campo || (campo != Text_Monto && campo != Text_datos_V1[0] && campo != Text_datos_V1[1]))
        return QWidget::eventFilter(obj, ev);
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return QWidget::eventFilter(obj, ev);
    // Navigation and function keys are not characters: let them through.
    int codigo = 0;
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        codigo = 13;
        break;
    case Qt::Key_Backspace:
        codigo = 8;
        break;
    default:
        if (k->text().isEmpty())
            return QWidget::eventFilter(obj, ev);
        codigo = k->text().at(0).unicode();
    }
    if (SoloNumeros(codigo) == 0)
        return true; // swallowed
    if (codigo == 13) {
        if (campo == Text_Monto) {
            if (!Text_Monto->text().isEmpty())
                enfocar(Text_datos_V1[1]);
            return true;
        }
        double cabMax = 0;
        try {
            cabMax = ctx_.configuracion(QStringLiteral("cab_max")).numero();
        } catch (const DbError &e) {
            fallaSilenciosa(QStringLiteral("cab_max"), e);
            return true;
        }
        const double v = numeroDe(campo->text());
        if (v > 0 && v <= cabMax) {
            if (campo == Text_datos_V1[0])
                Text_datos_V1[1]->setFocus();
            else
                procesarVisible()->setFocus();
        } else if (v > cabMax) {
            ctx_.dialogos.mensaje(QStringLiteral("EL NUMERO DE CABALLO NO ES VALIDO"),
                                  QStringLiteral("VALIDACION DE DATOS"), Icono::Error);
        }
        return true;
    }
    if (codigo == 8 && campo != Text_Monto && campo->text().isEmpty()) {
        Text_Monto->setFocus();
        return true;
    }
    return QWidget::eventFilter(obj, ev);
}

void Form_Venta_TD::mostrarResultado(const ResultadoVenta &r) {
    if (r.limpiar)
        Limpiar();
    if (r.tipo == ResultadoVenta::Tipo::Registrada && r.boleto)
        ultimoBoleto_ = *r.boleto;
    if (r.sinImprimir && r.boleto)
        ofrecerReimpresion(*r.boleto, r.mensaje, r.titulo);
    else if (!r.mensaje.isEmpty())
        ctx_.dialogos.mensaje(r.mensaje, r.titulo, r.icono);
    if (r.tipo == ResultadoVenta::Tipo::Pendiente)
        vigilarPendientes();
    switch (r.foco) {
    case CampoVenta::Monto:
        enfocar(Text_Monto);
        break;
    case CampoVenta::Caballo:
        enfocar(Text_datos_V1[1]);
        break;
    case CampoVenta::Carrera:
        enfocar(Text_datos_V1[0]);
        break;
    case CampoVenta::Ninguno:
        break;
    }
}

void Form_Venta_TD::boton_procesar_Click() {
    if (ocupado_)
        return;
    ocupado_ = true;
    VentaTablas venta(ctx_, cupo_caballo, impresion_);
    const ResultadoVenta r = venta.procesar({Text_datos_V1[0]->text(), Text_datos_V1[1]->text(),
                                             Text_Monto->text(), juego_actual, nombre_moneda});
    ocupado_ = false;
    mostrarResultado(r);
}

void Form_Venta_TD::boton_procesarPT_Click() {
    if (ocupado_)
        return;
    ocupado_ = true;
    VentaPuestos venta(ctx_, cupo_caballo, impresion_);
    const ResultadoVenta r = venta.procesar({Text_datos_V1[0]->text(), Text_datos_V1[1]->text(),
                                             Text_Monto->text(), juego_actual, nombre_moneda});
    ocupado_ = false;
    mostrarResultado(r);
}

void Form_Venta_TD::ofrecerReimpresion(const Boleto &b, QString pregunta, const QString &titulo) {
    if (!impresion_)
        return;
    while (ctx_.dialogos.pregunta(pregunta, titulo, Icono::Exclamacion)) {
        try {
            reimprimirBoleto(*impresion_, b);
            return;
        } catch (const std::exception &e) {
            fallaSilenciosa(QStringLiteral("reimprimir el boleto ") + b.nu_boleto, e);
            pregunta = QStringLiteral("NO SE PUDO IMPRIMIR EL BOLETO ") + b.nu_boleto +
                       QStringLiteral(". ¿DESEA INTENTARLO DE NUEVO?");
        }
    }
}

void Form_Venta_TD::reimprimir_menu_Click() {
    if (!ultimoBoleto_ || !impresion_) {
        ctx_.dialogos.mensaje(QStringLiteral("NO HAY UN BOLETO PARA REIMPRIMIR"),
                              QStringLiteral("IMPRESION DEL BOLETO"), Icono::Informacion);
        return;
    }
    try {
        reimprimirBoleto(*impresion_, *ultimoBoleto_);
    } catch (const std::exception &e) {
        fallaSilenciosa(QStringLiteral("reimprimir el boleto ") + ultimoBoleto_->nu_boleto, e);
        ofrecerReimpresion(*ultimoBoleto_,
                           QStringLiteral("NO SE PUDO IMPRIMIR EL BOLETO ") + ultimoBoleto_->nu_boleto +
                               QStringLiteral(". ¿DESEA INTENTARLO DE NUEVO?"),
                           QStringLiteral("IMPRESION DEL BOLETO"));
    }
}

void Form_Venta_TD::vigilarPendientes() {
    if (ctx_.pendientes.vacio())
        Timer_Pendientes->stop();
    else if (!Timer_Pendientes->isActive())
        Timer_Pendientes->start(5000);
}

void Form_Venta_TD::Timer_Pendientes_Timer() {
    if (ocupado_ || ctx_.pendientes.vacio()) {
        vigilarPendientes();
        return;
    }
    ocupado_ = true;
    const std::vector<ResolucionVenta> ventas = resolverVentasPendientes(ctx_, impresion_);
    ocupado_ = false;
    for (const ResolucionVenta &r : ventas) {
        if (r.boleto)
            ultimoBoleto_ = *r.boleto;
        if (r.sinImprimir && r.boleto)
            ofrecerReimpresion(*r.boleto,
                               r.mensaje + QStringLiteral("\r\rEL BOLETO NO SE PUDO IMPRIMIR. ¿DESEA "
                                                          "IMPRIMIRLO DE NUEVO?"),
                               r.titulo);
        else
            ctx_.dialogos.mensaje(r.mensaje, r.titulo, r.icono);
    }
    Frame_CobroBoleto->resolverPendientes();
    // Each attempt on a silent server holds the screen up to the connection timeout: while it
    // stays silent, ask less often.
    if (!ctx_.pendientes.vacio())
        Timer_Pendientes->start(30000);
    vigilarPendientes();
}

void Form_Venta_TD::mostrarPanel(const PanelCaballos &p) {
    Label_Carrera->setText(p.carrera);
    Limpiar_Dinamicas();
    for (int i = 0; i < p.filas; ++i) {
        Text_Caballo[i]->setText(p.caballos[std::size_t(i)]);
        Text_Valor[i]->setText(p.valores[std::size_t(i)]);
        Text_Valor[i]->setStyleSheet(QStringLiteral("color:black;"));
    }
    if (p.total)
        Text_Total_Dinm->setText(*p.total);
}

void Form_Venta_TD::Cuadrar() {
    try {
        mostrarPanel(corvalo::Cuadrar(ctx_, juego_actual));
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("panel de caballos"), e);
    }
}

void Form_Venta_TD::CuadrarPT() {
    try {
        mostrarPanel(corvalo::CuadrarPT(ctx_));
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("panel de puestos"), e);
    }
}

void Form_Venta_TD::boton_pantallacliente_Click() {
    // 1680, 720, 7815 x 5535 twips at 15 twips a pixel; larger when a larger font needs it.
    Label_Columna[2]->setText(juego_actual == 3 ? QStringLiteral("PUESTO") : QStringLiteral("PRECIO"));
    Text_Total_Dinm->setVisible(juego_actual != 3);
    Frame_Valores->move(112, 48);
    Frame_Valores->resize(Frame_Valores->sizeHint().expandedTo(QSize(521, 369)));
    Frame_Valores->show();
    Frame_Valores->raise();
    Timer_Dinamicas->start();
    if (juego_actual == 3)
        CuadrarPT();
    else
        Cuadrar();
    Text_Total_Dinm->setVisible(juego_actual != 3);
}

void Form_Venta_TD::Image1_Click() {
    Frame_Valores->hide();
    Timer_Dinamicas->stop();
}

void Form_Venta_TD::Timer_Dinamicas_Timer() {
    if (juego_actual == 3)
        CuadrarPT();
    else
        Cuadrar();
}

void Form_Venta_TD::Timer1_Timer() {
    try {
        const EstadoVenta e = refrescarEstado(ctx_);
        Label_administrador->setText(e.administrador);
        Label_tecnico->setText(e.tecnico);
        Label_estado->setText(e.estado);
        fondo(Label_estado, e.colorEstado);
        // Open sales show no box at all; "CERRADO" stands out in large white letters on red.
        Label_estado->setVisible(!e.estado.isEmpty());
        if (e.abierta) {
            Text_datos_V1[0]->setText(e.carrera);
            Timer_Activo->stop();
        } else {
            Text_datos_V1[0]->clear();
            if (!Timer_Activo->isActive())
                Timer_Activo->start();
        }
        Label_Mensaje->setVisible(!e.mensaje.isEmpty());
        Label_Mensaje->setText(e.mensaje);
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("estado de la venta"), e);
    }
}

void Form_Venta_TD::Timer_Activo_Timer() {
    try {
        if (usuarioSuspendido(ctx_)) {
            Timer_Activo->stop();
            ctx_.dialogos.mensaje(kMensajeSuspendido, kTituloSuspendido, Icono::Error);
            emit suspendido();
        }
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("revision del usuario"), e);
    }
}

void Form_Venta_TD::closeEvent(QCloseEvent *ev) {
    Timer1->stop();
    Timer_Pendientes->stop();
    Timer_Dinamicas->stop();
    Timer_Activo->stop();
    ev->accept();
    emit cerrada();
}

void Form_Venta_TD::boton_cobrar_Click() {
    Frame_CobroBoleto->setJuegoActual(juego_actual);
    Frame_CobroBoleto->mostrar(Frame_principal);
}

void Form_Venta_TD::salir_menu_Click() {
    cerrarPantalla(this);
}

} // namespace corvalo
