#include "frame_cuadre_final.h"
#include "panel_flotante.h"

#include "filtros.h"
#include "registro.h"
#include "teclado.h"
#include "ventanas.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvalo {

namespace {

void negrita(QWidget *w, double factor) {
    QFont f = w->font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(true);
    w->setFont(f);
}

// The races the box offers: every race of the day, the first racetrack's and the second's.
QStringList carrerasOfrecidas() {
    QStringList c{QStringLiteral("TODAS")};
    for (int i = 1; i <= 16; ++i)
        c << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 201; i <= 216; ++i)
        c << QString::number(i);
    return c;
}

const QString kCountTips[4] = {QStringLiteral("BOLETOS VENDIDOS"), QStringLiteral("BOLETOS PAGOS"),
                               QStringLiteral("BOLETOS POR PAGAR"), QStringLiteral("BOLETOS ANULADOS")};

} // namespace

Frame_CuadreFinal::Frame_CuadreFinal(Contexto &ctx, ImpresionHojas *hojas, PantallaVenta pantalla,
                                     QWidget *parent)
    : QFrame(parent), ctx_(ctx), hojas_(hojas), pantalla_(pantalla) {
    setObjectName(QStringLiteral("Frame_CuadreFinal"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    Label_Titulo = nombrar(new QLabel(kTituloResumen, this), QStringLiteral("Label_Titulo"));
    Label_Titulo->setAlignment(Qt::AlignCenter);
    Label_JuegoPR = nombrar(new QLabel(QStringLiteral("VENTAS"), this), QStringLiteral("Label_JuegoPR"));
    Label_JuegoPR->setAlignment(Qt::AlignCenter);

    Label_Fecha = nombrar(new QLabel(QStringLiteral("&Fecha"), this), QStringLiteral("Label_Fecha"));
    DTPicker1 = nombrar(new QDateEdit(this), QStringLiteral("DTPicker1"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    Label_Fecha->setBuddy(DTPicker1);
    // The main window's menu titles hold Alt+C, Alt+P, Alt+R, Alt+G and Alt+A (shown or not) and
    // the booth screen's Alt+O: the panels' mnemonics keep clear of them.
    Label_Carrera = nombrar(new QLabel(QStringLiteral("Carr&era"), this), QStringLiteral("Label_Carrera"));
    Combo3 = nombrar(new QComboBox(this), QStringLiteral("Combo3"));
    Combo3->setEditable(true);
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is the race: no completion ("1" would become "10").
    Combo3->setCompleter(nullptr);
    Combo3->addItems(carrerasOfrecidas());
    Combo3->setCurrentIndex(-1);
    Combo3->setToolTip(QStringLiteral("TODAS, o el número de la carrera"));
    Label_Carrera->setBuddy(Combo3);
    bton_buscar = boton(QStringLiteral("bton_buscar"), QStringLiteral("&Buscar"), this);
    Command7 = boton(QStringLiteral("Command7"), QStringLiteral("&Buscar"), this);
    Command7->hide();

    const QString nombres[6] = {QStringLiteral("Venta:"),         QStringLiteral("Premios Pagados:"),
                                QStringLiteral("Por Pagar"),      QStringLiteral("Saldo:"),
                                QStringLiteral("Monto en Caja:"), QStringLiteral("Anulados:")};
    for (int i = 0; i < 6; ++i)
        Label_Nombres[i] = nombrar(new QLabel(nombres[i], this), QStringLiteral("Label_Nombres_%1").arg(i));
    Label_Cantidad = nombrar(new QLabel(QStringLiteral("Cantidad"), this), QStringLiteral("Label_Cantidad"));
    Label_Cantidad->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 9; ++i) {
        Label_Resultados[i] = nombrar(new QLabel(this), QStringLiteral("Label_Resultados_%1").arg(i));
        Label_Resultados[i]->setFrameShape(QFrame::Panel);
        Label_Resultados[i]->setFrameShadow(QFrame::Sunken);
        Label_Resultados[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Label_Resultados[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        Label_Resultados[i]->setMargin(2);
        if (i >= 5)
            Label_Resultados[i]->setToolTip(kCountTips[i - 5]);
    }
    Bton_ImprimirRV = boton(QStringLiteral("Bton_ImprimirRV"), QStringLiteral("&HOJA DEL DIA"), this);
    Bton_SalirFEV = boton(QStringLiteral("Bton_SalirFEV"), QStringLiteral("&SALIR"), this);
    Bton_SalirFEV->setToolTip(QStringLiteral("Cerrar (Esc)"));

    auto *raiz = new QVBoxLayout(this);
    // As large as its content at any font size; it stays centred on the host's frame.
    raiz->setSizeConstraint(QLayout::SetFixedSize);
    raiz->addWidget(Label_Titulo);
    raiz->addWidget(Label_JuegoPR);
    auto *filtro = new QHBoxLayout;
    filtro->addWidget(Label_Fecha);
    filtro->addWidget(DTPicker1);
    filtro->addSpacing(8);
    filtro->addWidget(Label_Carrera);
    filtro->addWidget(Combo3, 1);
    filtro->addSpacing(8);
    filtro->addWidget(bton_buscar);
    filtro->addWidget(Command7);
    raiz->addLayout(filtro);
    auto *cifras = new QGridLayout;
    cifras->addWidget(Label_Cantidad, 0, 2);
    for (int i = 0; i < 5; ++i) {
        cifras->addWidget(Label_Nombres[i], i + 1, 0);
        cifras->addWidget(Label_Resultados[i], i + 1, 1);
    }
    for (int i = 0; i < 3; ++i)
        cifras->addWidget(Label_Resultados[5 + i], i + 1, 2);
    cifras->addWidget(Label_Nombres[5], 6, 0);
    cifras->addWidget(Label_Resultados[8], 6, 2);
    cifras->setColumnStretch(1, 2);
    cifras->setColumnStretch(2, 1);
    raiz->addLayout(cifras);
    auto *pie = new QHBoxLayout;
    pie->addWidget(Bton_ImprimirRV);
    pie->addStretch(1);
    pie->addWidget(Bton_SalirFEV);
    raiz->addLayout(pie);
    aplicarFuentes();
    hide();

    auto *escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QAction::triggered, this, [this] { Bton_SalirFEV_Click(); });
    addAction(escape);

    DTPicker1->installEventFilter(this);
    Combo3->installEventFilter(this);
    Combo3->lineEdit()->installEventFilter(this);
    filtrarTextoPegado(Combo3->lineEdit(), FiltroMayusculas);

    connect(bton_buscar, &QPushButton::clicked, this, [this] { bton_buscar_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Bton_ImprimirRV, &QPushButton::clicked, this, [this] { Bton_ImprimirRV_Click(); });
    connect(Bton_SalirFEV, &QPushButton::clicked, this, [this] { Bton_SalirFEV_Click(); });
}

void Frame_CuadreFinal::aplicarFuentes() {
    negrita(Label_Titulo, 1.25);
    negrita(Label_JuegoPR, 1.0);
    QFont f = font();
    f.setBold(true);
    const QFontMetrics m(f);
    for (int i = 0; i < 9; ++i) {
        Label_Resultados[i]->setFont(f);
        // Room for a large amount (or count) before any search.
        Label_Resultados[i]->setMinimumWidth(
            m.horizontalAdvance(i < 5 ? QStringLiteral("Bs.S99.999.999,99") : QStringLiteral("999999")) + 8);
    }
}

void Frame_CuadreFinal::setJuegoActual(int juego) {
    juego_actual_ = juego;
    const bool puestos = juego == 3;
    Command7->setVisible(puestos);
    bton_buscar->setVisible(!puestos);
}

void Frame_CuadreFinal::setNombreMoneda(const QString &nombre) {
    nombre_moneda_ = nombre;
}

void Frame_CuadreFinal::limpiarCajas() {
    for (QLabel *l : Label_Resultados)
        l->clear();
    mostrado_.reset();
}

void Frame_CuadreFinal::mostrar(QWidget *centro, bool completo) {
    if (centro_ != centro) {
        if (centro_)
            centro_->removeEventFilter(this);
        centro_ = centro;
        if (centro_)
            centro_->installEventFilter(this);
    }
    if (completo) {
        limpiarCajas();
        Label_JuegoPR->setText(encabezadoJuego(juego_actual_));
    }
    Combo3->setCurrentIndex(-1);
    Combo3->clearEditText();
    try {
        DTPicker1->setDate(fechaDeTrabajo(ctx_));
    } catch (const DbError &e) {
        // The picker keeps its day; the search says what the server answers.
        registrarFalla(lcCobro(), &ctx_.sesion, kTituloResumen, QStringLiteral("fecha de trabajo"), e);
    }
    setJuegoActual(juego_actual_);
    show();
    raise();
    ajustar();
    DTPicker1->setFocus();
    if (completo && juego_actual_ == 0)
        ctx_.dialogos.mensaje(kSinJuegoVenta, kTituloVerificacion, Icono::Error);
}

void Frame_CuadreFinal::buscar(BusquedaResumen busqueda) {
    const PedidoResumen p{pantalla_,
                          busqueda,
                          juego_actual_,
                          DTPicker1->date(),
                          Combo3->currentText(),
                          ctx_.sesion.usuario,
                          ctx_.sesion.id_moneda,
                          nombre_moneda_};
    const ResultadoResumen r = resumirDia(ctx_, p);
    switch (r.tipo) {
    case ResultadoResumen::Tipo::SinJuego:
        ctx_.dialogos.mensaje(r.mensaje, r.titulo, Icono::Error);
        return;
    case ResultadoResumen::Tipo::Falla:
        // Figures of an earlier search must not stand for this one.
        limpiarCajas();
        ctx_.dialogos.mensaje(r.mensaje, r.titulo, Icono::Error);
        return;
    case ResultadoResumen::Tipo::Cifras:
        break;
    }
    for (int i = 0; i < 9; ++i)
        Label_Resultados[i]->setText(r.textos[std::size_t(i)]);
    Label_JuegoPR->setText(encabezadoJuego(r.juego));
    carreraMenor_ = r.carreraMenor;
    carreraMayor_ = r.carreraMayor;
    mostrado_ = r;
}

void Frame_CuadreFinal::bton_buscar_Click() {
    buscar(BusquedaResumen::Tablas);
}

void Frame_CuadreFinal::Command7_Click() {
    buscar(BusquedaResumen::Puestos);
}

// The sheet prints the figures with the game, day and race they were summed for, even when the
// picker or the race box was changed afterwards.
void Frame_CuadreFinal::Bton_ImprimirRV_Click() {
    PedidoHoja p;
    p.pantalla = pantalla_;
    p.juego_actual = juego_actual_;
    if (mostrado_) {
        p.juego = mostrado_->juego;
        p.cajas = mostrado_->textos;
        p.dia = mostrado_->dia;
        p.carrera = mostrado_->carrera;
    } else {
        p.juego = juego_actual_;
        p.dia = DTPicker1->date();
        p.carrera = Combo3->currentText();
    }
    p.carreraMenor = carreraMenor_;
    p.carreraMayor = carreraMayor_;
    const ResultadoHoja r = imprimirHojaDia(ctx_, hojas_, p);
    if (!r.mensaje.isEmpty())
        ctx_.dialogos.mensaje(r.mensaje, r.titulo, Icono::Error);
}

void Frame_CuadreFinal::Bton_SalirFEV_Click() {
    hide();
    emit cerrado();
}

// Centred on the host's frame, and inside the host wherever the frame is.
void Frame_CuadreFinal::ajustar() {
    centrarEnHost(this, centro_);
}

bool Frame_CuadreFinal::event(QEvent *ev) {
    const bool r = QFrame::event(ev);
    switch (ev->type()) {
    case QEvent::Resize:
    case QEvent::Show:
        ajustar();
        break;
    case QEvent::FontChange:
        aplicarFuentes();
        break;
    default:
        break;
    }
    return r;
}

// Enter goes from the day to the race and from the race to the search button; the race box
// takes the keys of the upper-case filter.
bool Frame_CuadreFinal::eventFilter(QObject *obj, QEvent *ev) {
    if (obj == centro_ && (ev->type() == QEvent::Resize || ev->type() == QEvent::Move)) {
        if (isVisible())
            ajustar();
        return false;
    }
    if (ev->type() != QEvent::KeyPress)
        return QFrame::eventFilter(obj, ev);
    auto *k = static_cast<QKeyEvent *>(ev);
    const bool enter =
        (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !(k->modifiers() & ~Qt::KeypadModifier);
    if (obj == DTPicker1 && enter) {
        Combo3->setFocus();
        Combo3->lineEdit()->selectAll();
        return true;
    }
    if (obj == Combo3 || obj == Combo3->lineEdit()) {
        if (enter) {
            (Command7->isVisible() ? Command7 : bton_buscar)->setFocus();
            return true;
        }
        const TeclaFiltrada t = filtrarTecla(Combo3->lineEdit(), k, FiltroMayusculas);
        return t == TeclaFiltrada::Tragada || t == TeclaFiltrada::Cambiada;
    }
    return QFrame::eventFilter(obj, ev);
}

} // namespace corvalo
