#include "form_visor.h"

#include "registro.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace corvalo {

namespace {

// Heights of the board's parts in rows: the strip at the top, the column titles, the totals and the
// message for the public while the race is closed.
constexpr double kAltoFranja = 1.5, kAltoCabecera = 1.0, kAltoTotal = 1.1, kAltoMensaje = 3.4,
                 kMargenes = 0.9;

constexpr Color kNegro{0, 0, 0};
constexpr Color kAmarilloVisor{255, 255, 0};

void pintarFondo(QWidget *w, const Color &c) {
    QPalette p = w->palette();
    const QColor color(c.r, c.g, c.b);
    if (p.color(QPalette::Window) == color && w->testAttribute(Qt::WA_SetPalette))
        return;
    p.setColor(QPalette::Window, color);
    w->setPalette(p);
}

QWidget *vacio(QWidget *padre) {
    auto *w = new QWidget(padre);
    w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return w;
}

// A cell keeps its place in the column while hidden, so the rows stay in line.
void guardarLugar(QWidget *w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

} // namespace

bool MarcoTablero::event(QEvent *ev) {
    const bool r = QFrame::event(ev);
    if (ev->type() == QEvent::LayoutRequest)
        emit distribuido();
    return r;
}

void MarcoTablero::resizeEvent(QResizeEvent *ev) {
    QFrame::resizeEvent(ev);
    emit distribuido();
}

Form_Visor::Form_Visor(Contexto &ctx, AzarVisor &azar, TipoVisor tipo, QWidget *parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), azar_(azar), tablero_(tipo) {
    const bool triple = tipo == TipoVisor::Triple;
    const int n = filasVisor(tipo);
    setWindowTitle(kCaptionVisor);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    pintarFondo(this, kBlancoVisor);

    // The strip: race, banner, currency, open or closed.
    franja_ = new QWidget(this);
    franja_->setObjectName(QStringLiteral("franja"));
    franja_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    auto *capaFranja = new QHBoxLayout(franja_);
    capaFranja->setContentsMargins(0, 0, 0, 0);
    auto celda = [](QWidget *padre, const char *nombre, double proporcion = 0.72,
                    Qt::Alignment alineacion = Qt::AlignCenter) {
        auto *c = new CeldaVisor(padre, proporcion, alineacion);
        c->setObjectName(QLatin1String(nombre));
        return c;
    };
    Label_Carrera = celda(franja_, "Label_Carrera", 0.62);
    Label_Carrera->ponerColores(kNegro, kAmarilloVisor);
    Label_Barner = celda(franja_, "Label_Barner", 0.66);
    Label_Barner->ponerTexto(triple ? kBannerTriple : kBannerDoble);
    Label_m = celda(franja_, "Label_m", 0.62);
    Label_m->ponerColores(kAmarilloVisor, kNegro);
    Label_estado = celda(franja_, "Label_estado", 0.62);
    if (!triple) {
        Label_estado->ponerTexto(kCerrado);
        Label_estado->ponerColores(kBlancoVisor, kRojoVisor);
    }
    guardarLugar(Label_estado);
    capaFranja->addWidget(Label_Carrera);
    capaFranja->addWidget(Label_Barner, 1);
    capaFranja->addWidget(Label_m);
    capaFranja->addWidget(Label_estado);

    // The board: one frame per column, every column the same rows.
    Frame_CAB = new MarcoTablero(this);
    Frame_CAB->setObjectName(QStringLiteral("Frame_CAB"));
    Frame_CAB->setAutoFillBackground(true);
    Frame_CAB->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    pintarFondo(Frame_CAB, kVerdeMoneda1);
    auto *capaTablero = new QHBoxLayout(Frame_CAB);

    auto cabecera = [&](const char *nombre, const QString &texto) {
        CeldaVisor *c = celda(Frame_CAB, nombre, 0.7);
        c->ponerTexto(texto);
        c->ponerColores(kAzulTD, kGrisVisor);
        return c;
    };
    Frame_Numeros = columna(QStringLiteral("Frame_Numeros"), nullptr, &Label_numero, nullptr);
    for (int i = 0; i < n; ++i) {
        Label_numero[std::size_t(i)]->setObjectName(QStringLiteral("Label_numero_%1").arg(i));
        Label_numero[std::size_t(i)]->ponerTexto(QString::number(i + 1));
        Label_numero[std::size_t(i)]->ponerColores(kNegro, kAmarilloVisor);
    }
    Frame_Caballos =
        columna(QStringLiteral("Frame_Caballos"), cabecera("Label_Cab_Caballos", QStringLiteral("CABALLO")),
                &Label_caballos, nullptr);
    capaTablero->addWidget(Frame_Numeros);
    capaTablero->addWidget(Frame_Caballos, triple ? 1 : 3);
    if (!triple) {
        Frame_Jinetes =
            columna(QStringLiteral("Frame_Jinetes"), cabecera("Label_Cab_Jinetes", QStringLiteral("JINETE")),
                    &Label_Jinete, nullptr);
        capaTablero->addWidget(Frame_Jinetes, 2);
    }
    if (triple) {
        Label_TD = cabecera("Label_TD", QStringLiteral("TD"));
        Text_Total = celda(Frame_CAB, "Text_Total", 0.66);
        Frame_TD = columna(QStringLiteral("Frame_TD"), Label_TD, &Text_Dinm, Text_Total, true);
        capaTablero->addWidget(Frame_TD);
    }
    Label_TF = cabecera("Label_TF", triple ? QStringLiteral("TF") : QStringLiteral("T. FIJA"));
    Text_Total2 = celda(Frame_CAB, "Text_Total2", 0.66);
    Frame_TF = columna(QStringLiteral("Frame_TF"), Label_TF, &Text_TF, Text_Total2);
    Label_PT = cabecera("Label_PT", triple ? QStringLiteral("PT") : QStringLiteral("PUESTO"));
    Frame_PT = columna(QStringLiteral("Frame_PT"), Label_PT, &Text_PT, nullptr);
    capaTablero->addWidget(Frame_TF);
    capaTablero->addWidget(Frame_PT);
    for (CeldaVisor *total : {Text_Total, Text_Total2})
        if (total)
            total->ponerColores(kNegro, kAmarilloVisor);
    for (int i = 0; i < n; ++i) {
        const auto k = std::size_t(i);
        Label_caballos[k]->setObjectName(QStringLiteral("Label_caballos_%1").arg(i));
        Label_caballos[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Label_caballos[k]->setContentsMargins(8, 0, 8, 0);
        if (triple) {
            Text_Dinm[k]->setObjectName(QStringLiteral("Text_Dinm_%1").arg(i));
            Picture_Flecha[k]->setObjectName(QStringLiteral("Picture_Flecha_%1").arg(i));
        } else {
            Label_Jinete[k]->setObjectName(QStringLiteral("Label_Jinete_%1").arg(i));
            Label_Jinete[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            Label_Jinete[k]->setContentsMargins(8, 0, 8, 0);
            Label_Jinete[k]->ponerColores({40, 40, 40}, {232, 232, 232});
            Label_Jinete[k]->hide();
        }
        Text_TF[k]->setObjectName(QStringLiteral("Text_TF_%1").arg(i));
        Text_PT[k]->setObjectName(QStringLiteral("Text_PT_%1").arg(i));

        // The banner over a withdrawn horse's row, placed by colocarBanners.
        CeldaVisor *ret = celda(Frame_CAB, "", 0.74);
        ret->setObjectName(QStringLiteral("Text_ETI_RET_%1").arg(i));
        ret->ponerTexto(kRetiradoVisor);
        ret->ponerColores(kBlancoVisor, kRojoVisor);
        ret->hide();
        Text_ETI_RET[k] = ret;

        for (auto [arreglo, nombre] :
             {std::pair{&Text_IdCaballo, "Text_IdCaballo_%1"}, std::pair{&Text_retirado, "Text_retirado_%1"},
              std::pair{&Text_D2, "Text_D2_%1"}}) {
            auto *guardado = new QLabel(Frame_CAB);
            guardado->setObjectName(QString::fromLatin1(nombre).arg(i));
            guardado->hide();
            (*arreglo)[k] = guardado;
        }
    }
    connect(Frame_CAB, &MarcoTablero::distribuido, this, &Form_Visor::colocarBanners);

    // The message for the public while the race is closed.
    Frame_Mensaje = new QFrame(this);
    Frame_Mensaje->setObjectName(QStringLiteral("Frame_Mensaje"));
    Frame_Mensaje->setAutoFillBackground(true);
    Frame_Mensaje->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    pintarFondo(Frame_Mensaje, kBlancoVisor);
    auto *capaMensaje = new QVBoxLayout(Frame_Mensaje);
    Text1 = celda(Frame_Mensaje, "Text1", 0.8);
    Text1->ponerTexto(kAtencionPublico);
    Text_Mensaje = celda(Frame_Mensaje, "Text_Mensaje", 0.4);
    Text_Mensaje->ponerColores(kAzulMensaje, kBlancoVisor);
    Text_Mensaje->ponerVariasLineas(true);
    capaMensaje->addWidget(Text1, 10);
    capaMensaje->addWidget(Text_Mensaje, 24);
    Frame_Mensaje->hide();

    Text1->ponerColores(kNegro, kBlancoVisor);
    auto *capa = new QVBoxLayout(this);
    capa->addWidget(franja_, int(kAltoFranja * 10));
    capa->addWidget(Frame_CAB, int((kAltoCabecera + n + kAltoTotal) * 10));
    capa->addWidget(Frame_Mensaje, int(kAltoMensaje * 10));
    filasDibujadas_ = n;
    dibujarFilas(tablero_.filasMostradas);

    // The column titles as the banner game 2 leaves them between ticks.
    Label_TF->ponerColores(kRojoTF, kGrisVisor);
    Label_PT->ponerColores(kVerdePT, kGrisVisor);

    auto temporizador = [this](const char *nombre, int ms, void (Form_Visor::*manejador)()) {
        auto *t = new QTimer(this);
        t->setObjectName(QLatin1String(nombre));
        t->setInterval(ms);
        connect(t, &QTimer::timeout, this, manejador);
        return t;
    };
    Timer1 = temporizador("Timer1", 5000, &Form_Visor::Timer1_Timer);
    Timer2 = temporizador("Timer2", 150, &Form_Visor::Timer2_Timer);
    Timer3 = temporizador("Timer3", 150, &Form_Visor::Timer3_Timer);
    Timer_Activo = temporizador("Timer_Activo", 60000, &Form_Visor::Timer_Activo_Timer);
    resize(1280, 720);
}

QFrame *Form_Visor::columna(const QString &nombre, CeldaVisor *cabecera,
                            std::array<CeldaVisor *, kFilasMaximas> *celdas, CeldaVisor *total,
                            bool conFlechas) {
    // Every column is the same grid of rows: the title, the horses, the total. The TD column has
    // the arrows in a second grid column, beside each price in one white box.
    auto *marco = new QFrame(Frame_CAB);
    marco->setObjectName(nombre);
    marco->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    auto *capa = new QGridLayout(marco);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->setHorizontalSpacing(0);
    const int columnas = conFlechas ? 2 : 1;
    const int n = tablero_.filasUsadas();
    if (cabecera)
        cabecera->setParent(marco);
    capa->addWidget(cabecera ? static_cast<QWidget *>(cabecera) : vacio(marco), 0, 0, 1, columnas);
    capa->setRowStretch(0, int(kAltoCabecera * 10));
    for (int i = 0; i < n; ++i) {
        const auto k = std::size_t(i);
        (*celdas)[k] = new CeldaVisor(marco, 0.74);
        guardarLugar((*celdas)[k]);
        capa->addWidget((*celdas)[k], i + 1, 0);
        if (conFlechas) {
            Picture_Flecha[k] = new FlechaVisor(marco);
            capa->addWidget(Picture_Flecha[k], i + 1, 1);
        }
        capa->setRowStretch(i + 1, 10);
    }
    if (total)
        total->setParent(marco);
    capa->addWidget(total ? static_cast<QWidget *>(total) : vacio(marco), n + 1, 0, 1, columnas);
    capa->setRowStretch(n + 1, int(kAltoTotal * 10));
    capa->setColumnStretch(0, conFlechas ? 32 : 1);
    if (conFlechas)
        capa->setColumnStretch(1, 10);
    return marco;
}

void Form_Visor::mostrarEn(QScreen *pantalla) {
    if (pantalla) {
        setScreen(pantalla);
        const QRect area = pantalla->geometry();
        // Where F11 brings it back to: most of the screen, in the middle.
        normal_ = QRect(QPoint(), area.size() * 4 / 5);
        normal_.moveCenter(area.center());
        // The whole screen also where no window manager applies the full-screen state.
        setGeometry(area);
    }
    showFullScreen();
    raise();
    activateWindow();
}

void Form_Visor::alternarPantallaCompleta() {
    if (isFullScreen()) {
        showNormal();
        if (normal_.isValid())
            setGeometry(normal_);
    } else {
        normal_ = geometry();
        if (screen())
            setGeometry(screen()->geometry());
        showFullScreen();
    }
}

void Form_Visor::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    if (!cargado_)
        Form_Load();
    QTimer::singleShot(0, this, &Form_Visor::colocarBanners);
}

void Form_Visor::Form_Load() {
    if (cargado_)
        return;
    cargado_ = true;
    Timer1->start();
    Timer3->start();
    Timer_Activo->start();
    const AperturaVisor a = abrirVisor(ctx_, tablero_);
    if (a.banner)
        Label_Barner->ponerTexto(*a.banner);
    juego_ = kJuegoApertura;
    if (a.mostrarPT)
        Frame_PT->setVisible(*a.mostrarPT);
    if (a.mostrarTF)
        Frame_TF->setVisible(*a.mostrarTF);
    if (a.fondoTablero)
        pintarFondo(Frame_CAB, *a.fondoTablero);
    if (a.cuadre) {
        mostrarTablero();
        anotarCuadre(*a.cuadre);
    }
    if (a.moneda)
        Label_m->ponerTexto(*a.moneda);
    if (!a.error.isEmpty())
        registrar(QStringLiteral("abrir el tablero"), a.error);
}

void Form_Visor::Cuadrar() {
    const ResultadoCuadre r = cuadrarTablero(ctx_, tablero_);
    mostrarTablero();
    anotarCuadre(r);
}

void Form_Visor::Limpiar() {
    int modificar = 1;
    try {
        modificar = ctx_.configuracion(QStringLiteral("modificar")).entero();
    } catch (const std::exception &e) {
        registrar(QStringLiteral("vaciar el tablero"), QString::fromUtf8(e.what()));
    }
    limpiarTablero(tablero_, modificar);
    mostrarTablero();
}

void Form_Visor::anotarCuadre(const ResultadoCuadre &r) {
    if (r.fin == ResultadoCuadre::Fin::Completo) {
        ultimaFalla_.clear();
        return;
    }
    // The refresh runs every five seconds: a failure goes to the log when it starts or changes.
    if (r.error != ultimaFalla_)
        registrar(QStringLiteral("refrescar el tablero"), r.error);
    ultimaFalla_ = r.error;
}

void Form_Visor::dibujarFilas(int n) {
    if (n == filasDibujadas_)
        return;
    filasDibujadas_ = n;
    // Rows past the race's horses take no room: the cells go and their rows stop sharing height.
    for (QFrame *c : {Frame_Numeros, Frame_Caballos, Frame_Jinetes, Frame_TD, Frame_TF, Frame_PT}) {
        auto *rejilla = c ? qobject_cast<QGridLayout *>(c->layout()) : nullptr;
        if (!rejilla)
            continue;
        for (int i = 0; i < tablero_.filasUsadas(); ++i) {
            rejilla->setRowStretch(i + 1, i < n ? 10 : 0);
            for (int col = 0; col < rejilla->columnCount(); ++col) {
                QLayoutItem *item = rejilla->itemAtPosition(i + 1, col);
                QWidget *w = item ? item->widget() : nullptr;
                if (!w)
                    continue;
                QSizePolicy p = w->sizePolicy();
                p.setRetainSizeWhenHidden(i < n);
                w->setSizePolicy(p);
                // The jockeys show and hide with their horse (mostrarTablero).
                if (c != Frame_Jinetes)
                    w->setVisible(i < n);
            }
        }
    }
    auto *capa = static_cast<QVBoxLayout *>(layout());
    capa->setStretchFactor(Frame_CAB, int((kAltoCabecera + n + kAltoTotal) * 10));
}

void Form_Visor::mostrarTablero() {
    const TableroVisor &t = tablero_;
    const bool triple = t.tipo == TipoVisor::Triple;
    dibujarFilas(t.filasMostradas);
    pintarFondo(this, t.fondoVentana);
    Label_Carrera->ponerTexto(t.carrera);
    Label_estado->ponerTexto(t.estado);
    Label_estado->ponerColores(t.estado.isEmpty() ? kNegro : kBlancoVisor, t.fondoEstado);
    Label_estado->setVisible(t.estadoVisible);
    Text_Mensaje->ponerTexto(t.mensaje);
    Frame_Mensaje->setVisible(t.mensajeVisible);
    if (t.cicloMensaje && !Timer2->isActive())
        Timer2->start();
    else if (!t.cicloMensaje)
        Timer2->stop();
    for (int i = 0; i < t.filasUsadas(); ++i) {
        const auto k = std::size_t(i);
        const FilaVisor &f = t.filas[k];
        Text_IdCaballo[k]->setText(f.idCaballo);
        Label_caballos[k]->ponerTexto(f.caballo);
        if (triple) {
            Text_Dinm[k]->ponerTexto(f.dinamica);
            Picture_Flecha[k]->ponerFlecha(f.flecha);
        } else {
            Label_Jinete[k]->ponerTexto(f.jinete);
            Label_Jinete[k]->setVisible(f.jineteVisible && i < filasDibujadas_);
        }
        Text_TF[k]->ponerTexto(f.tablaFija);
        Text_PT[k]->ponerTexto(f.puesto);
        Text_retirado[k]->setText(f.retirado);
        Text_D2[k]->setText(f.referencia);
        Text_ETI_RET[k]->setVisible(f.bannerRetirado && i < filasDibujadas_);
    }
    if (Text_Total)
        Text_Total->ponerTexto(t.total);
    Text_Total2->ponerTexto(t.total2);
}

void Form_Visor::Timer1_Timer() {
    Cuadrar();
}

void Form_Visor::Timer2_Timer() {
    Text1->ponerColores(colorMensajeAleatorio(azar_), kBlancoVisor);
}

void Form_Visor::Timer3_Timer() {
    const ColoresBanner c = coloresBanner(tablero_.tipo, juego_, azar_);
    Label_Barner->ponerColores(c.barner.texto, c.barner.fondo);
    if (Label_TD)
        Label_TD->ponerColores(c.td.texto, c.td.fondo);
    Label_TF->ponerColores(c.tf.texto, c.tf.fondo);
    Label_PT->ponerColores(c.pt.texto, c.pt.fondo);
}

void Form_Visor::Timer_Activo_Timer() {
    const ComprobacionUsuario c = comprobarUsuario(ctx_);
    if (c.estado == ComprobacionUsuario::Estado::Suspendido) {
        detenerTemporizadores();
        terminando_ = true;
        ctx_.dialogos.mensaje(kMensajeSuspendidoVisor, kTituloSuspendidoVisor, Icono::Error);
        emit suspendido();
        return;
    }
    // A check that cannot be made leaves the board running; the technician finds it in the log.
    if (c.estado == ComprobacionUsuario::Estado::Desconocido)
        registrar(QStringLiteral("comprobar el usuario"), c.error);
    juego_ = rotarJuego(tablero_.tipo, azar_);
    Label_Barner->ponerTexto(textoBanner(juego_));
}

void Form_Visor::detenerTemporizadores() {
    for (QTimer *t : {Timer1, Timer2, Timer3, Timer_Activo})
        t->stop();
}

void Form_Visor::closeEvent(QCloseEvent *ev) {
    detenerTemporizadores();
    if (!terminando_) {
        terminando_ = true;
        ctx_.abrir_central(ctx_.sesion.cadena_central);
        emit cerrada();
    }
    ev->accept();
}

void Form_Visor::keyPressEvent(QKeyEvent *ev) {
    if (ev->key() == Qt::Key_Escape && ev->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    if (ev->key() == Qt::Key_F11 && ev->modifiers() == Qt::NoModifier) {
        alternarPantallaCompleta();
        return;
    }
    QWidget::keyPressEvent(ev);
}

void Form_Visor::resizeEvent(QResizeEvent *ev) {
    QWidget::resizeEvent(ev);
    reescalar();
}

void Form_Visor::reescalar() {
    // One row's height, from the window's: everything on the board is measured in rows.
    // The widths follow the full board's rows, so a short race gives its rows more height without
    // narrowing the names.
    const double u =
        height() / (kAltoFranja + kAltoCabecera + tablero_.filasUsadas() + kAltoTotal + kMargenes);
    const int hueco = std::max(2, int(std::lround(u * 0.08)));
    auto ancho = [u](double filas) { return int(std::lround(u * filas)); };
    layout()->setContentsMargins(2 * hueco, 2 * hueco, 2 * hueco, 2 * hueco);
    layout()->setSpacing(2 * hueco);
    franja_->layout()->setSpacing(2 * hueco);
    Frame_CAB->layout()->setContentsMargins(hueco, hueco, hueco, hueco);
    Frame_CAB->layout()->setSpacing(hueco);
    Frame_Mensaje->layout()->setContentsMargins(hueco, hueco, hueco, hueco);
    Frame_Mensaje->layout()->setSpacing(hueco);
    for (QFrame *c : Frame_CAB->findChildren<QFrame *>(Qt::FindDirectChildrenOnly))
        if (auto *rejilla = qobject_cast<QGridLayout *>(c->layout()))
            rejilla->setVerticalSpacing(hueco);
    Label_Carrera->setFixedWidth(ancho(3.6));
    Label_m->setFixedWidth(ancho(2.4));
    Label_estado->setFixedWidth(ancho(4.6));
    Frame_Numeros->setFixedWidth(ancho(1.5));
    const bool triple = tablero_.tipo == TipoVisor::Triple;
    if (triple)
        Frame_TD->setFixedWidth(ancho(4.2)); // the price 3.2 rows wide, its arrow 1
    Frame_TF->setFixedWidth(ancho(triple ? 3.2 : 4.2));
    Frame_PT->setFixedWidth(ancho(triple ? 3.2 : 4.2));
}

void Form_Visor::colocarBanners() {
    // From the horse's name to the last column shown, over the prices.
    int derecha = Frame_Caballos->geometry().right();
    for (QFrame *c : {Frame_Jinetes, Frame_TD, Frame_TF, Frame_PT})
        if (c && !c->isHidden())
            derecha = std::max(derecha, c->geometry().right());
    for (int i = 0; i < tablero_.filasUsadas(); ++i) {
        const auto k = std::size_t(i);
        CeldaVisor *nombre = Label_caballos[k];
        QRect r(nombre->mapTo(Frame_CAB, QPoint(0, 0)), nombre->size());
        r.setRight(derecha);
        Text_ETI_RET[k]->setGeometry(r);
        Text_ETI_RET[k]->raise();
    }
}

void Form_Visor::registrar(const QString &accion, const QString &error) {
    registrarFalla(lcVisor(), &ctx_.sesion, objectName(), accion, error);
}

Form_Pantalla_Triple::Form_Pantalla_Triple(Contexto &ctx, AzarVisor &azar, QWidget *parent)
    : Form_Visor(ctx, azar, TipoVisor::Triple, parent) {
    setObjectName(QStringLiteral("Form_Pantalla_Triple"));
}

Form_PantDoble::Form_PantDoble(Contexto &ctx, AzarVisor &azar, QWidget *parent)
    : Form_Visor(ctx, azar, TipoVisor::Doble, parent) {
    setObjectName(QStringLiteral("Form_PantDoble"));
}

} // namespace corvalo
