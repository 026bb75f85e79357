#include "ventana_venta.h"

#include "filtros.h"
#include "moneda.h"
#include "registro.h"
#include "teclado.h"
#include "texto.h"
#include "venta_puestos.h"
#include "venta_tablas.h"
#include "ventanas.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace corvalo {

int codigoTecla(const QKeyEvent *k) {
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return -1;
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    default:
        return k->text().isEmpty() ? -1 : k->text().at(0).unicode();
    }
}

VentanaVenta::VentanaVenta(Contexto &ctx, ImpresionTickets *impresion, ImpresionHojas *hojas,
                           PantallaVenta pantalla, QWidget *parent)
    : QWidget(parent), ctx_(ctx), impresion_(impresion), pantalla_(pantalla) {
    raiz_ = new QVBoxLayout(this);
    raiz_->setContentsMargins(0, 0, 0, 0);

    Frame_principal = nombrar(new QFrame(this), QStringLiteral("Frame_principal"));
    raiz_->addWidget(Frame_principal);
    principal_ = new QVBoxLayout(Frame_principal);

    Label_Barner =
        nombrar(new QLabel(QStringLiteral("CENTRO HÍPICO"), Frame_principal), QStringLiteral("Label_Barner"));
    Label_Barner->setAlignment(Qt::AlignCenter);
    QFont fb = Label_Barner->font();
    fb.setPointSize(16);
    fb.setBold(true);
    Label_Barner->setFont(fb);
    principal_->addWidget(Label_Barner);

    filaJuegos_ = new QHBoxLayout;
    Command3 = boton(QStringLiteral("Command3"), QStringLiteral("Dinamicas"), Frame_principal);
    Command6 = boton(QStringLiteral("Command6"), QStringLiteral("Tabla Fija"), Frame_principal);
    Command2 = boton(QStringLiteral("Command2"), QStringLiteral("Puestos"), Frame_principal);
    Command3->setToolTip(QStringLiteral("Tablas Dinámicas (F5)"));
    Command6->setToolTip(QStringLiteral("Tabla Fija (F6)"));
    Command2->setToolTip(QStringLiteral("Los Puestos (F7)"));
    for (auto *b : {Command3, Command6, Command2}) {
        b->setFocusPolicy(Qt::NoFocus);
        filaJuegos_->addWidget(b);
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
        fondo(Label_Moneda[i], kBlanco);
        monedas->addWidget(Label_Moneda[i]);
    }
    filaJuegos_->addWidget(Frame_Moneda);
    principal_->addLayout(filaJuegos_);

    Frame1 = nombrar(new QFrame(Frame_principal), QStringLiteral("Frame1"));
    venta_ = new QGridLayout(Frame1);
    Label1_0 = nombrar(new QLabel(QStringLiteral("VENTA"), Frame1), QStringLiteral("Label1_0"));
    Label1_0->setAlignment(Qt::AlignCenter);
    venta_->addWidget(Label1_0, 0, 0, 1, 3);
    auto *lc = new QLabel(QStringLiteral("Nº CARRERA"), Frame1);
    Text_datos_V1[0] = nombrar(new QLineEdit(Frame1), QStringLiteral("Text_datos_V1_0"));
    Label3_0 = nombrar(new QLabel(QStringLiteral("Nº DE TABLAS"), Frame1), QStringLiteral("Label3_0"));
    Text_Monto = nombrar(new QLineEdit(Frame1), QStringLiteral("Text_Monto"));
    Label_Caballo =
        nombrar(new QLabel(QStringLiteral("Nº DE CABALLO"), Frame1), QStringLiteral("Label_Caballo"));
    Text_datos_V1[1] = nombrar(new QLineEdit(Frame1), QStringLiteral("Text_datos_V1_1"));
    venta_->addWidget(lc, 1, 0);
    venta_->addWidget(Text_datos_V1[0], 1, 1);
    venta_->addWidget(Label3_0, 2, 0);
    venta_->addWidget(Text_Monto, 2, 1);
    venta_->addWidget(Label_Caballo, 3, 0);
    venta_->addWidget(Text_datos_V1[1], 3, 1);
    Label_SoloNumeros = nombrar(new QLabel(QStringLiteral("SOLO NUMEROS ENTEROS"), Frame1),
                                QStringLiteral("Label_SoloNumeros"));
    fondo(Label_SoloNumeros, kAmarillo);
    Label_SoloNumeros->setMargin(2);
    Label_SoloNumeros->hide();
    venta_->addWidget(Label_SoloNumeros, 2, 2);
    // Its column keeps its room, so the bet area does not move when the hint comes and goes.
    venta_->setColumnMinimumWidth(2, Label_SoloNumeros->sizeHint().width());
    for (QLineEdit *e : {Text_datos_V1[0], Text_datos_V1[1], Text_Monto}) {
        QFont f = e->font();
        f.setPointSize(14);
        e->setFont(f);
        e->installEventFilter(this);
        campoNumerico(e);
    }
    boton_procesar = boton(QStringLiteral("boton_procesar"), QStringLiteral("PROCESAR JUGADA"), Frame1);
    boton_procesarPT = boton(QStringLiteral("boton_procesarPT"), QStringLiteral("PROCESAR JUGADA"), Frame1);
    boton_procesarPT->hide();
    Command4 = boton(QStringLiteral("Command4"), QStringLiteral("NUEVA JUGADA"), Frame1);
    Command4->setToolTip(QStringLiteral("Nueva jugada (F9)"));
    venta_->addWidget(boton_procesar, 5, 0, 1, 3);
    venta_->addWidget(boton_procesarPT, 6, 0, 1, 3);
    venta_->addWidget(Command4, 7, 0, 1, 3);
    principal_->addWidget(Frame1);

    auto *ultimos = new QHBoxLayout;
    Label_UltimaVenta = nombrar(new QLabel(Frame_principal), QStringLiteral("Label_UltimaVenta"));
    Label_UltimoPago = nombrar(new QLabel(Frame_principal), QStringLiteral("Label_UltimoPago"));
    for (QLabel *l : {Label_UltimaVenta, Label_UltimoPago}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        ultimos->addWidget(l);
    }
    Label_UltimoPago->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    principal_->addLayout(ultimos);

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
    principal_->addWidget(Label_estado);
    principal_->addWidget(Label_Mensaje);
    principal_->addStretch(1);
    pie_ = new QHBoxLayout;
    pie_->addWidget(Label_administrador);
    pie_->addWidget(Label_tecnico);
    boton_pantallacliente =
        boton(QStringLiteral("boton_pantallacliente"), QStringLiteral("PANTALLA CLIENTE"), Frame_principal);
    boton_salir = boton(QStringLiteral("boton_salir"), QStringLiteral("SALIR DEL SISTEMA"), Frame_principal);
    boton_cuadrefinal =
        boton(QStringLiteral("boton_cuadrefinal"), QStringLiteral("CUADRE FINAL"), Frame_principal);
    boton_cuadrefinal->setToolTip(QStringLiteral("Resumen de ventas del día (F4)"));
    Boton_Buscar = boton(QStringLiteral("Boton_Buscar"), QStringLiteral("VENTAS Y PAGOS"), Frame_principal);
    Boton_Buscar->setToolTip(QStringLiteral("BUSCAR UN BOLETO"));
    pie_->addWidget(boton_cuadrefinal);
    pie_->addWidget(Boton_Buscar);
    pie_->addWidget(boton_pantallacliente);
    pie_->addWidget(boton_salir);
    principal_->addLayout(pie_);

    // The horse panel floats over the screen.
    Frame_Valores = new Frame_Caballos(this);
    connect(Frame_Valores, &Frame_Caballos::cerrar, this, &VentanaVenta::Image1_Click);
    Frame_Valores->hide();

    Frame_CuadreFinal = new corvalo::Frame_CuadreFinal(ctx_, hojas, pantalla_, this);
    connect(Frame_CuadreFinal, &Frame_CuadreFinal::cerrado, this, [this] { enfocar(Text_Monto); });
    Frame5 = new corvalo::Frame5(ctx_, pantalla_, this);
    connect(Frame5, &Frame5::cerrado, this, [this] { enfocar(Text_Monto); });
    paneles_ = {Frame_CuadreFinal, Frame5};

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
    connect(Command4, &QPushButton::clicked, this, [this] { NewJugada(); });
    connect(boton_procesar, &QPushButton::clicked, this, [this] { boton_procesar_Click(); });
    connect(boton_procesarPT, &QPushButton::clicked, this, [this] { boton_procesarPT_Click(); });
    connect(boton_pantallacliente, &QPushButton::clicked, this, [this] { boton_pantallacliente_Click(); });
    connect(boton_salir, &QPushButton::clicked, this, [this] { cerrarPantalla(this); });
    connect(boton_cuadrefinal, &QPushButton::clicked, this, [this] { boton_cuadrefinal_Click(); });
    connect(Boton_Buscar, &QPushButton::clicked, this, [this] { Boton_Buscar_Click(); });
    connect(this, &VentanaVenta::entradaRechazada, this, [] { QApplication::beep(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Timer_Dinamicas, &QTimer::timeout, this, [this] { Timer_Dinamicas_Timer(); });
    connect(Timer_Activo, &QTimer::timeout, this, [this] { Timer_Activo_Timer(); });
    connect(Timer_Pendientes, &QTimer::timeout, this, [this] { Timer_Pendientes_Timer(); });

    connect(atajo(QKeySequence(Qt::CTRL | Qt::Key_1)), &QAction::triggered, this,
            [this] { Label_Moneda_Click(0); });
    connect(atajo(QKeySequence(Qt::CTRL | Qt::Key_2)), &QAction::triggered, this,
            [this] { Label_Moneda_Click(1); });
    connect(atajo(QKeySequence(Qt::Key_F4)), &QAction::triggered, this,
            [this] { boton_cuadrefinal_Click(); });
    connect(atajo(QKeySequence(Qt::Key_F11)), &QAction::triggered, this, [this] { Boton_Buscar_Click(); });
}

QAction *VentanaVenta::atajo(const QKeySequence &k, QWidget *donde) {
    if (!donde)
        donde = this;
    auto *a = new QAction(donde);
    a->setShortcut(k);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    donde->addAction(a);
    return a;
}

void VentanaVenta::iniciar() {
    cargar();
    Timer1->start();
    // Outcomes left pending by an earlier run are settled as soon as the screen is up.
    if (!ctx_.pendientes.vacio())
        QTimer::singleShot(0, this, [this] { Timer_Pendientes_Timer(); });
}

void VentanaVenta::cargar() {
    try {
        CargaVenta c = cargarVenta(ctx_, QStringLiteral("CENTRO HÍPICO"));
        if (pantalla_ == PantallaVenta::Operador) {
            // The operator always starts on Tablas Dinámicas, with every game offered.
            c.juego = 1;
            c.mostrarDinamicas = c.mostrarTablaFija = c.mostrarPuestos = true;
        }
        aplicarAspecto(aspectoDe(c.juego));
        juego_actual = c.juego;
        Frame_CuadreFinal->setJuegoActual(c.juego);
        Frame5->setJuegoActual(c.juego);
        alCambiarJuego(c.juego);
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
            Frame_CuadreFinal->setNombreMoneda(nombre_moneda);
        }
        // The currency in effect (the first, set by the load) is the highlighted one.
        marcarMoneda(ctx_.sesion.id_moneda - 1);
        cargado_ = true;
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("carga"), e); // the screen stays as far as it got
    }
}

void VentanaVenta::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    Text_Monto->setFocus();
}

void VentanaVenta::aplicarAspecto(const AspectoJuego &a) {
    Label1_0->setText(a.titulo);
    fondo(Label1_0, a.color, QStringLiteral("white"));
    Frame1->setStyleSheet(
        QStringLiteral("QFrame#Frame1{background-color:%1;} QLabel{color:white;}").arg(css(a.color)));
    Label3_0->setText(a.etiquetaMonto);
    boton_procesar->setVisible(!a.procesarPT);
    boton_procesarPT->setVisible(a.procesarPT);
}

void VentanaVenta::colorearBotones(int juego) {
    const std::pair<QPushButton *, int> botones[] = {{Command3, 1}, {Command6, 2}, {Command2, 3}};
    for (const auto &[b, j] : botones)
        b->setStyleSheet(
            QStringLiteral("background-color:%1;").arg(css(j == juego ? kAmarillo : kGrisClaro)));
}

void VentanaVenta::seleccionarJuego(int juego, bool desdeMenu) {
    Frame_Valores->hide();
    if (auto aviso = permisoJuego(juego, ctx_.sesion)) {
        // A refused switch changes nothing but the hidden horse panel.
        ctx_.dialogos.mensaje(aviso->texto, aviso->titulo, Icono::Error);
        return;
    }
    for (QWidget *p : paneles_)
        p->hide();
    aplicarAspecto(aspectoDe(juego, desdeMenu));
    juego_actual = juego;
    Frame_CuadreFinal->setJuegoActual(juego);
    Frame5->setJuegoActual(juego);
    alCambiarJuego(juego);
    NewJugada();
    colorearBotones(juego);
}

void VentanaVenta::Label_Moneda_Click(int index) {
    if (!Label_Moneda[index]->isVisible() || !Frame_Moneda->isVisible())
        return;
    ctx_.sesion.id_moneda = index + 1;
    marcarMoneda(index);
    nombre_moneda = Label_Moneda[index]->text();
    Frame_CuadreFinal->setNombreMoneda(nombre_moneda);
}

void VentanaVenta::marcarMoneda(int index) {
    if (index < 0 || index > 1)
        return;
    fondo(Label_Moneda[index], kAmarillo);
    fondo(Label_Moneda[1 - index], kBlanco);
    for (int i = 0; i < 2; ++i) {
        QFont f = Label_Moneda[i]->font();
        f.setBold(i == index);
        Label_Moneda[i]->setFont(f);
    }
}

void VentanaVenta::fallaSilenciosa(const QString &accion, const std::exception &e) {
    registrarFalla(lcVentas(), &ctx_.sesion, windowTitle(), accion, e);
}

void VentanaVenta::NewJugada() {
    try {
        ctx_.abrir_configuracion();
        Text_datos_V1[0]->setText(ctx_.configuracion(QStringLiteral("carrera")).texto());
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("nueva jugada"), e);
    }
    Limpiar();
}

void VentanaVenta::Limpiar() {
    Label_SoloNumeros->hide();
    Text_datos_V1[1]->clear();
    Text_Monto->clear();
    Text_Monto->setFocus();
}

void VentanaVenta::Limpiar_Dinamicas() {
    Frame_Valores->limpiar();
}

void VentanaVenta::ReinicioServer() {
    aplicarAspecto(aspectoReinicio());
    fondo(Frame1, kColorReinicio, QStringLiteral("white"));
    juego_actual = 0;
    alCambiarJuego(0);
    Frame_CuadreFinal->hide();
    Frame_CuadreFinal->setJuegoActual(0);
    Frame5->setJuegoActual(0);
}

QPushButton *VentanaVenta::procesarVisible() const {
    return boton_procesarPT->isVisibleTo(Frame1) ? boton_procesarPT : boton_procesar;
}

QWidget *VentanaVenta::trasMonto() {
    return Text_datos_V1[1];
}

QWidget *VentanaVenta::trasCarrera() {
    return Text_datos_V1[1];
}

void VentanaVenta::campoNumerico(QLineEdit *campo) {
    rechazarTextoFiltrado(campo, SoloNumeros, [this, campo] { rechazarEntrada(campo); });
    // The hint stays while the field keeps what was typed around the refused key ("12.50" leaves
    // 1250): it goes once the clerk empties that field, or with the bet.
    connect(campo, &QLineEdit::textChanged, this, [this, campo](const QString &texto) {
        if (texto.isEmpty() && campo == campoRechazo_)
            Label_SoloNumeros->hide();
    });
}

void VentanaVenta::rechazarEntrada(QLineEdit *campo) {
    // The hint goes to the row of the bet area that holds the field (or the box around it).
    QWidget *fila = campo;
    while (fila && venta_->indexOf(fila) < 0)
        fila = fila->parentWidget();
    if (fila) {
        int r = 0, c = 0, rs = 0, cs = 0;
        venta_->getItemPosition(venta_->indexOf(fila), &r, &c, &rs, &cs);
        venta_->removeWidget(Label_SoloNumeros);
        venta_->addWidget(Label_SoloNumeros, r, 2);
    }
    campoRechazo_ = campo;
    Label_SoloNumeros->show();
    emit entradaRechazada();
}

void VentanaVenta::mostrarVenta(const Boleto &b) {
    Label_UltimaVenta->setText(QStringLiteral("BOLETO ") + b.nu_boleto + QStringLiteral(" — ") +
                               cifraConSeparadores(b.monto) + QStringLiteral(" ") + b.nombre_moneda);
}

void VentanaVenta::mostrarPago(const QString &codigo, const QString &monto) {
    Label_UltimoPago->setText(QStringLiteral("PAGADO ") + codigo + QStringLiteral(" — ") + monto);
}

void VentanaVenta::enfocar(QLineEdit *campo) {
    campo->setFocus();
    campo->selectAll();
}

bool VentanaVenta::eventFilter(QObject *obj, QEvent *ev) {
    if (ev->type() == QEvent::MouseButtonRelease) {
        if (obj == Label_Moneda[0] || obj == Label_Moneda[1]) {
            Label_Moneda_Click(obj == Label_Moneda[0] ? 0 : 1);
            return true;
        }
    }
    if (ev->type() != QEvent::KeyPress)
        return QWidget::eventFilter(obj, ev);
    auto *k = static_cast<QKeyEvent *>(ev);
    auto *campo = qobject_cast<QLineEdit *>(obj);
    if (!campo || (campo != Text_Monto && campo != Text_datos_V1[0] && campo != Text_datos_V1[1]))
        return QWidget::eventFilter(obj, ev);
    if (campo != Text_Monto) {
        QWidget *siguiente = campo == Text_datos_V1[0] ? trasCarrera() : procesarVisible();
        return teclaCaballo(campo, k, siguiente) || QWidget::eventFilter(obj, ev);
    }
    const int codigo = codigoTecla(k);
    if (codigo < 0)
        return QWidget::eventFilter(obj, ev); // navigation, function and modified keys
    if (SoloNumeros(codigo) == 0) {
        rechazarEntrada(campo);
        return true; // swallowed
    }
    if (codigo == 13) {
        if (!Text_Monto->text().isEmpty()) {
            QWidget *destino = trasMonto();
            if (auto *e = qobject_cast<QLineEdit *>(destino))
                enfocar(e);
            else
                destino->setFocus();
        }
        return true;
    }
    return QWidget::eventFilter(obj, ev);
}

void VentanaVenta::mover(QWidget *destino) {
    // The operator screen selects the text of the field the cursor is moved to.
    if (auto *e = qobject_cast<QLineEdit *>(destino); e && pantalla_ == PantallaVenta::Operador)
        enfocar(e);
    else
        destino->setFocus();
}

bool VentanaVenta::teclaCaballo(QLineEdit *campo, QKeyEvent *k, QWidget *siguiente) {
    const int codigo = codigoTecla(k);
    if (codigo < 0)
        return false; // navigation, function and modified keys
    if (SoloNumeros(codigo) == 0) {
        rechazarEntrada(campo);
        return true; // swallowed
    }
    if (codigo == 13) {
        double cabMax = 0;
        try {
            cabMax = ctx_.configuracion(QStringLiteral("cab_max")).numero();
        } catch (const DbError &e) {
            fallaSilenciosa(QStringLiteral("cab_max"), e);
            return true;
        }
        const double v = numeroDe(campo->text());
        if (v > 0 && v <= cabMax)
            mover(siguiente);
        else if (v > cabMax)
            ctx_.dialogos.mensaje(QStringLiteral("EL NUMERO DE CABALLO NO ES VALIDO"),
                                  QStringLiteral("VALIDACION DE DATOS"), Icono::Error);
        return true;
    }
    if (codigo == 8 && campo->text().isEmpty()) {
        mover(Text_Monto);
        return true;
    }
    return false;
}

void VentanaVenta::enfocarCampo(CampoVenta campo) {
    switch (campo) {
    case CampoVenta::Monto:
        enfocar(Text_Monto);
        break;
    case CampoVenta::Caballo:
        enfocar(Text_datos_V1[1]);
        break;
    case CampoVenta::Carrera:
        enfocar(Text_datos_V1[0]);
        break;
    default:
        break;
    }
}

void VentanaVenta::mostrarResultado(const ResultadoVenta &r) {
    if (r.limpiar)
        Limpiar();
    if (r.tipo == ResultadoVenta::Tipo::Registrada && r.boleto) {
        ultimoBoleto_ = *r.boleto;
        mostrarVenta(*r.boleto);
    }
    if (r.sinImprimir && r.boleto)
        ofrecerReimpresion(*r.boleto, r.mensaje, r.titulo);
    else if (!r.mensaje.isEmpty())
        ctx_.dialogos.mensaje(r.mensaje, r.titulo, r.icono);
    if (r.tipo == ResultadoVenta::Tipo::Pendiente)
        vigilarPendientes();
    enfocarCampo(r.foco);
}

DatosJugada VentanaVenta::datosJugada() const {
    return {Text_datos_V1[0]->text(), Text_datos_V1[1]->text(), Text_Monto->text(), juego_actual,
            nombre_moneda};
}

void VentanaVenta::vender(const std::function<ResultadoVenta(const DatosJugada &)> &venta) {
    if (ocupado_)
        return;
    ocupado_ = true;
    const ResultadoVenta r = venta(datosJugada());
    ocupado_ = false;
    mostrarResultado(r);
}

void VentanaVenta::boton_procesar_Click() {
    vender([this](const DatosJugada &d) {
        return VentaTablas(ctx_, cupo_caballo, impresion_, pantalla_).procesar(d);
    });
}

void VentanaVenta::boton_procesarPT_Click() {
    vender([this](const DatosJugada &d) {
        return VentaPuestos(ctx_, cupo_caballo, impresion_, pantalla_).procesar(d);
    });
}

void VentanaVenta::ofrecerReimpresion(const Boleto &b, QString pregunta, const QString &titulo) {
    if (!impresion_)
        return;
    ofrecerImprimirDeNuevo(
        ctx_.dialogos, std::move(pregunta), titulo,
        QStringLiteral("NO SE PUDO IMPRIMIR EL BOLETO ") + b.nu_boleto +
            QStringLiteral(". ¿DESEA INTENTARLO DE NUEVO?"),
        [&] { reimprimirBoleto(*impresion_, b); },
        [&](const std::exception &e) {
            fallaSilenciosa(QStringLiteral("reimprimir el boleto ") + b.nu_boleto, e);
        });
}

void VentanaVenta::reimprimirUltimoBoleto() {
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

void VentanaVenta::vigilarPendientes() {
    if (ctx_.pendientes.vacio())
        Timer_Pendientes->stop();
    else if (!Timer_Pendientes->isActive())
        Timer_Pendientes->start(5000);
}

void VentanaVenta::Timer_Pendientes_Timer() {
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
        if (r.boleto && r.estado == ResolucionVenta::Estado::Completada)
            mostrarVenta(*r.boleto);
        if (r.sinImprimir && r.boleto)
            ofrecerReimpresion(*r.boleto,
                               r.mensaje + QStringLiteral("\r\rEL BOLETO NO SE PUDO IMPRIMIR. ¿DESEA "
                                                          "IMPRIMIRLO DE NUEVO?"),
                               r.titulo);
        else
            ctx_.dialogos.mensaje(r.mensaje, r.titulo, r.icono);
    }
    alResolverPendientes();
    // Each attempt on a silent server holds the screen up to the connection timeout: while it
    // stays silent, ask less often.
    if (!ctx_.pendientes.vacio())
        Timer_Pendientes->start(30000);
    vigilarPendientes();
}

void VentanaVenta::Cuadrar() {
    try {
        Frame_Valores->mostrar(corvalo::Cuadrar(ctx_, juego_actual));
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("panel de caballos"), e);
    }
}

void VentanaVenta::CuadrarPT() {
    try {
        Frame_Valores->mostrar(corvalo::CuadrarPT(ctx_));
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("panel de puestos"), e);
    }
}

void VentanaVenta::boton_pantallacliente_Click() {
    // 1680, 720, 7815 x 5535 twips at 15 twips a pixel; larger when a larger font needs it.
    Frame_Valores->prepararJuego(juego_actual);
    Frame_Valores->move(112, 48);
    Frame_Valores->resize(Frame_Valores->sizeHint().expandedTo(QSize(521, 369)));
    Frame_Valores->show();
    Frame_Valores->raise();
    Timer_Dinamicas->start();
    if (juego_actual == 3)
        CuadrarPT();
    else
        Cuadrar();
    Frame_Valores->prepararJuego(juego_actual);
}

void VentanaVenta::Image1_Click() {
    Frame_Valores->hide();
    Timer_Dinamicas->stop();
}

void VentanaVenta::Timer_Dinamicas_Timer() {
    if (juego_actual == 3)
        CuadrarPT();
    else
        Cuadrar();
}

void VentanaVenta::Timer1_Timer() {
    try {
        // The operator's open flag is the game's: venta_mk for Marcas, venta_pt for Los Puestos.
        QString columna = QStringLiteral("modificar");
        if (pantalla_ == PantallaVenta::Operador && juego_actual == 4)
            columna = QStringLiteral("venta_mk");
        else if (pantalla_ == PantallaVenta::Operador && juego_actual == 3)
            columna = QStringLiteral("venta_pt");
        const EstadoVenta e = refrescarEstado(ctx_, columna);
        Label_administrador->setText(e.administrador);
        Label_tecnico->setText(e.tecnico);
        Label_estado->setText(e.estado);
        fondo(Label_estado, e.colorEstado, QStringLiteral("white"));
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

void VentanaVenta::Timer_Activo_Timer() {
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

void VentanaVenta::closeEvent(QCloseEvent *ev) {
    Timer1->stop();
    Timer_Pendientes->stop();
    Timer_Dinamicas->stop();
    Timer_Activo->stop();
    ev->accept();
    emit cerrada();
}

void VentanaVenta::soloPanel(QWidget *panel) {
    for (QWidget *w : paneles_)
        if (w != panel)
            w->hide();
}

void VentanaVenta::boton_cuadrefinal_Click() {
    soloPanel(Frame_CuadreFinal);
    Frame_CuadreFinal->mostrar(Frame_principal, true);
}

void VentanaVenta::Boton_Buscar_Click() {
    soloPanel(Frame5);
    Frame5->mostrar();
}

} // namespace corvalo
