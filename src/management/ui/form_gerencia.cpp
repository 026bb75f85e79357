#include "form_gerencia.h"

#include "moneda.h"
#include "ventanas.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace corvalo {

Form_Gerencia::Form_Gerencia(Contexto &ctx, QWidget *parent)
    : QWidget(parent), ctx_(ctx),
      refresco_(std::make_unique<RefrescoPanel>(ctx.fabrica, ctx.sesion.cadena_central)) {
    setObjectName(QStringLiteral("Form_Gerencia"));
    setWindowTitle(kTituloGerencia);

    auto *raiz = new QVBoxLayout(this);
    Frame_Principal = nombrar(new QFrame(this), QStringLiteral("Frame_Principal"));
    raiz->addWidget(Frame_Principal, 1);
    auto *principal = new QVBoxLayout(Frame_Principal);
    principal->setContentsMargins(0, 0, 0, 0);
    SSTab1 = nombrar(new QTabWidget(Frame_Principal), QStringLiteral("SSTab1"));
    SSTab1->addTab(crearVenta(), QStringLiteral("&VENTA"));
    SSTab1->addTab(crearCuadre(), QStringLiteral("C&UADRE CAJA"));
    SSTab1->addTab(crearBoletos(), QStringLiteral("&BOLETOS"));
    principal->addWidget(SSTab1, 1);
    // The console currency applies to every tab, so its choice is shown beside them.
    SSTab1->setCornerWidget(Frame_Moneda, Qt::TopRightCorner);
    boton_salir = boton(QStringLiteral("boton_salir"), QStringLiteral("SA&LIR DEL SISTEMA"), Frame_Principal);
    boton_salir->setToolTip(QStringLiteral("Cerrar la consola (Esc)"));
    principal->addWidget(boton_salir, 0, Qt::AlignRight);

    // The lists filled on focus, and Enter in a filter running its tab's command.
    for (QComboBox *c : {Combo_Taquilla, Combo_SelJuego, Combo_Carreras, Combo6, Combo_Carreras2,
                         Combo_Carreras3, Combo7, Combo2, Combo1, Combo3, Combo5, Combo4}) {
        c->installEventFilter(this);
        if (c->lineEdit())
            c->lineEdit()->installEventFilter(this);
    }
    DTPicke1->installEventFilter(this);

    Timer1 = nombrar(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(3000);

    connect(SSTab1, &QTabWidget::currentChanged, this, &Form_Gerencia::SSTab1_Click);
    connect(boton_salir, &QPushButton::clicked, this, &Form_Gerencia::cerrar);
    connect(Timer1, &QTimer::timeout, this, &Form_Gerencia::Timer1_Timer);
    connect(Combo_Taquilla, &QComboBox::activated, this, [this] { Combo_Taquilla_Click(); });
    connect(Combo_SelJuego, &QComboBox::activated, this, [this] {
        Text_Etiqueta[3]->setText(encabezadoTablas(idJuego(ctx_.rs_juegos, Combo_SelJuego->currentText())));
        actualizar_ventas();
    });
    connect(Combo_Carreras->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo_Carreras_Change(); });
    connect(Combo_Carreras, &QComboBox::activated, this, [this] { Combo_Carreras_Click(); });
    connect(Command4, &QPushButton::clicked, this, &Form_Gerencia::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form_Gerencia::Command3_Click);
    connect(bton_buscar, &QPushButton::clicked, this, &Form_Gerencia::bton_buscar_Click);
    connect(Command2, &QPushButton::clicked, this, &Form_Gerencia::Command2_Click);
    connect(Combo_Carreras2, &QComboBox::activated, this, [this] {
        fijarCarreraInicial(Combo_Carreras2, Combo_Carreras3, Combo_Carreras2->currentText());
    });
    connect(Combo_Carreras2->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString &t) { fijarCarreraInicial(Combo_Carreras2, Combo_Carreras3, t); });
    connect(Combo1, &QComboBox::activated, this,
            [this] { fijarCarreraInicial(Combo1, Combo3, Combo1->currentText()); });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString &t) { fijarCarreraInicial(Combo1, Combo3, t); });
    for (QComboBox *c : {Combo_Carreras3, Combo3}) {
        bool &elegido = c == Combo3 ? finalElegido3_ : finalElegido2_;
        connect(c, &QComboBox::activated, this, [&elegido] { elegido = true; });
        connect(c->lineEdit(), &QLineEdit::textEdited, this, [&elegido] { elegido = true; });
    }
    connect(refresco_.get(), &RefrescoPanel::listo, this, &Form_Gerencia::mostrarPanel);
    connect(refresco_.get(), &RefrescoPanel::fallido, this, &Form_Gerencia::panelFallido);
    connect(refresco_.get(), &RefrescoPanel::alDiaCambiado, this, [this] { mostrarIndicador(); });

    auto atajo = [this](const QKeySequence &k, auto f) {
        auto *a = new QAction(this);
        a->setShortcut(k);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, f);
        addAction(a);
    };
    atajo(QKeySequence(Qt::Key_Escape), [this] { cerrar(); });
    atajo(QKeySequence(Qt::CTRL | Qt::Key_1), [this] { Label_Moneda_Click(0); });
    atajo(QKeySequence(Qt::CTRL | Qt::Key_2), [this] { Label_Moneda_Click(1); });
    atajo(QKeySequence(Qt::Key_F8), [this] {
        if (detenido_)
            Frame_Timer_DblClick();
        else
            Frame_Timer_Click();
    });

    Form_Load();
    mostrarIndicador();
    // The first figures come with the window; the ticks follow every 10 seconds.
    actualizar_ventas();
    Timer1->start();
}

Form_Gerencia::~Form_Gerencia() = default;

void Form_Gerencia::ajustarAnchos() {
    // The design's widths in twips, at the size of the font in use (8 points at design), and
    // never narrower than the column's heading or, for the state, its longest name.
    const double escala = std::max(1.0, font().pointSizeF() / 8.0);
    QHeaderView *h = DataGrid_Tickets->horizontalHeader();
    for (int i = 0; i < int(std::size(kAnchosBoletos)); ++i) {
        const int px = int(kAnchosBoletos[i] / 15.0 * escala);
        int cabe = h->fontMetrics().horizontalAdvance(kEncabezadosBoletos[i]) + 16;
        // The states in words, whole.
        if (kColumnasBoletos[i] == QLatin1String("estatus"))
            for (int e = 0; e <= 5; ++e)
                cabe = std::max(cabe, DataGrid_Tickets->fontMetrics().horizontalAdvance(
                                          nombreEstatus(QString::number(e))) +
                                          16);
        DataGrid_Tickets->setColumnWidth(i, std::max(px, cabe));
    }
}

void Form_Gerencia::Form_Load() {
    // 1 - 7.
    const CargaGerencia c = cargarGerencia(ctx_);
    moneda = 1;
    rellenar(Combo_SelJuego, c.juegos);
    Combo_SelJuego->setCurrentIndex(Combo_SelJuego->findText(c.juego));
    Text_Etiqueta[3]->setText(encabezadoTablas(idJuego(ctx_.rs_juegos, c.juego)));
    for (QComboBox *j : {Combo6, Combo7}) {
        rellenar(j, c.juegosConTodos);
        j->setCurrentIndex(j->findText(c.juego));
    }
    for (QComboBox *t : {Combo_Taquilla, Combo2}) {
        rellenar(t, c.taquillas);
        t->setCurrentIndex(t->findText(kTodos));
    }
    if (c.fecha.isValid())
        DTPicke1->setDate(c.fecha);
    Combo_Carreras->setEditText(c.carrera);
    // The booth totals start on the whole day.
    ponerCarrera(Combo_Carreras2, kTodas);
    ponerCarrera(Combo_Carreras3, kTodas);
    Label_Carrera->setText(c.carrera);
    Label_carrera2->setText(c.carrera);
    Frame_Moneda->setVisible(c.mostrarMonedas);
    if (c.conEstado)
        mostrarEstado(c.estado);
    for (int i = 0; i < 2; ++i)
        Label_Moneda[i]->setText(c.monedas.value(i));
    Label_Moneda[1]->setVisible(c.mostrarMoneda2 && c.monedas.size() > 1);
    captionMoneda = c.captionMoneda;
    if (!captionMoneda.isEmpty())
        fondo(Label_Moneda[0], kRgbAmarillo);
}

void Form_Gerencia::rellenar(QComboBox *combo, const QStringList &lista) {
    const QString actual = combo->currentText();
    const QSignalBlocker bloqueo(combo);
    combo->clear();
    combo->addItems(lista);
    combo->setCurrentIndex(combo->findText(actual));
}

void Form_Gerencia::fijarCarreraInicial(QComboBox *inicial, QComboBox *final, const QString &carrera) {
    if (inicial->currentText() != carrera)
        inicial->setEditText(carrera);
    bool &elegido = final == Combo3 ? finalElegido3_ : finalElegido2_;
    if (!elegido)
        ponerCarrera(final, carrera);
}

void Form_Gerencia::ponerCarrera(QComboBox *combo, const QString &carrera) {
    // The list's own entry ("02" for a race typed "2"), so Up and Down go on from it.
    const QString texto = carreraDeLista(carrera);
    const int i = combo->findText(texto);
    if (i >= 0)
        combo->setCurrentIndex(i);
    if (combo->currentText() != texto)
        combo->setEditText(texto);
}

void Form_Gerencia::Label_Moneda_Click(int index) {
    if (Frame_Moneda->isHidden() || Label_Moneda[index]->isHidden())
        return;
    moneda = index + 1;
    fondo(Label_Moneda[index], kRgbAmarillo);
    fondo(Label_Moneda[1 - index], kRgbBlanco);
    captionMoneda = Label_Moneda[index]->text();
}

void Form_Gerencia::SSTab1_Click(int tab) {
    if (tab == 0) {
        if (!detenido_)
            Timer1->start();
    } else {
        Timer1->stop();
        descartarPendientes();
    }
    // The keyboard goes on in the tab's first filter, where Enter runs the tab's command.
    QWidget *primero = tab == 0
                           ? static_cast<QWidget *>(Combo_Taquilla)
                           : (tab == 1 ? static_cast<QWidget *>(Combo6) : static_cast<QWidget *>(DTPicke1));
    QTimer::singleShot(0, primero, [primero] { primero->setFocus(Qt::TabFocusReason); });
}

void Form_Gerencia::Combo_Taquilla_GotFocus() {
    rellenar(Combo_Taquilla, listaTaquillas(ctx_.rs_usuarios, ctx_.sesion.grupo));
    fondo(Combo_Taquilla, kRgbAmarilloClaro);
}

void Form_Gerencia::Combo_SelJuego_GotFocus() {
    rellenar(Combo_SelJuego, listaJuegos(ctx_.rs_juegos, false));
    fondo(Combo_SelJuego, kRgbAmarilloClaro);
    Text_Etiqueta[3]->setText(encabezadoTablas(idJuego(ctx_.rs_juegos, Combo_SelJuego->currentText())));
}

void Form_Gerencia::Combo2_GotFocus() {
    rellenar(Combo2, listaTaquillas(ctx_.rs_usuarios, ctx_.sesion.grupo));
    fondo(Combo2, kRgbAmarilloClaro);
}

void Form_Gerencia::Combo6_GotFocus() {
    rellenar(Combo6, listaJuegos(ctx_.rs_juegos, true));
    fondo(Combo6, kRgbAmarilloClaro);
}

void Form_Gerencia::Combo7_GotFocus() {
    rellenar(Combo7, listaJuegos(ctx_.rs_juegos, true));
    fondo(Combo7, kRgbAmarilloClaro);
}

bool Form_Gerencia::eventFilter(QObject *obj, QEvent *ev) {
    switch (ev->type()) {
    case QEvent::MouseButtonRelease:
        if (obj == Label_Moneda[0] || obj == Label_Moneda[1]) {
            Label_Moneda_Click(obj == Label_Moneda[0] ? 0 : 1);
            return true;
        }
        if (obj == Frame_Timer || obj == Label_Timer) {
            // A double click comes as press, release, double click, release: the release that
            // ends it is not a new click.
            if (trasDobleClic_)
                trasDobleClic_ = false;
            else
                Frame_Timer_Click();
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (obj == Frame_Timer || obj == Label_Timer) {
            trasDobleClic_ = true;
            Frame_Timer_DblClick();
            return true;
        }
        break;
    case QEvent::FocusOut:
        // A race typed into a range takes the list's form when the cursor leaves it.
        if (static_cast<QFocusEvent *>(ev)->reason() != Qt::PopupFocusReason && obj != Combo_Carreras &&
            obj != Combo_Carreras->lineEdit())
            if (QComboBox *c = carreraDe(obj))
                ponerCarrera(c, c->currentText());
        break;
    case QEvent::FocusIn: {
        // The lists are filled afresh each time they get the focus (not when their own list
        // closes).
        if (static_cast<QFocusEvent *>(ev)->reason() == Qt::PopupFocusReason)
            break;
        if (obj == Combo_Taquilla)
            Combo_Taquilla_GotFocus();
        else if (obj == Combo_SelJuego)
            Combo_SelJuego_GotFocus();
        else if (obj == Combo2)
            Combo2_GotFocus();
        else if (obj == Combo6)
            Combo6_GotFocus();
        else if (obj == Combo7)
            Combo7_GotFocus();
        break;
    }
    case QEvent::KeyPress: {
        const int tecla = static_cast<QKeyEvent *>(ev)->key();
        if (tecla == Qt::Key_Up || tecla == Qt::Key_Down) {
            // Up and Down go on from the race shown, also when it was typed ("2" is "02").
            if (QComboBox *c = carreraDe(obj); c && !c->view()->isVisible()) {
                const int i = c->findText(carreraDeLista(c->currentText()));
                if (i >= 0 && i != c->currentIndex()) {
                    const QSignalBlocker bloqueo(c);
                    c->setCurrentIndex(i);
                }
            }
            break;
        }
        if (tecla != Qt::Key_Return && tecla != Qt::Key_Enter)
            break;
        auto *w = qobject_cast<QWidget *>(obj);
        if (!w)
            break;
        auto *combo = qobject_cast<QComboBox *>(w);
        if (!combo)
            combo = qobject_cast<QComboBox *>(w->parentWidget());
        if (combo && combo->view()->isVisible())
            break; // Enter picks from the open list
        if (SSTab1->currentWidget()->isAncestorOf(w)) {
            if (SSTab1->currentIndex() == 1) {
                Command3->click();
                return true;
            }
            if (SSTab1->currentIndex() == 2) {
                bton_buscar->click();
                return true;
            }
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(obj, ev);
}

QComboBox *Form_Gerencia::carreraDe(QObject *obj) const {
    auto *w = qobject_cast<QWidget *>(obj);
    if (!w)
        return nullptr;
    auto *c = qobject_cast<QComboBox *>(w);
    if (!c)
        c = qobject_cast<QComboBox *>(w->parentWidget());
    for (QComboBox *r : {Combo_Carreras, Combo_Carreras2, Combo_Carreras3, Combo1, Combo3})
        if (c == r)
            return c;
    return nullptr;
}

void Form_Gerencia::cerrar() {
    cerrarPantalla(this);
}

void Form_Gerencia::closeEvent(QCloseEvent *ev) {
    Timer1->stop();
    ev->accept();
    if (cerrada_)
        return;
    cerrada_ = true;
    // A refresh still waiting on the server is left to end on its own.
    disconnect(refresco_.get(), nullptr, this, nullptr);
    refresco_.reset();
    emit cerrada();
}

} // namespace corvalo
