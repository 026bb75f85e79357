#include "pantalla_reporte.h"

#include "registro.h"
#include "rpt_jugadas.h"
#include "texto.h"
#include "ventanas.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>

namespace corvalo {

namespace {

// The progress of a process, shown when it takes more than a moment; its button cancels it.
class ProgresoVentana : public Progreso {
public:
    explicit ProgresoVentana(QWidget *padre) : padre_(padre) { reloj_.start(); }
    ~ProgresoVentana() override { delete dialogo_; }
    bool avanzar(int hecho, int total) override {
        if (!dialogo_ && reloj_.elapsed() > 300) {
            dialogo_ = new QProgressDialog(QStringLiteral("Procesando..."), QStringLiteral("Cancelar"), 0,
                                           total, padre_);
            dialogo_->setObjectName(QStringLiteral("progreso"));
            dialogo_->setWindowTitle(padre_->windowTitle());
            dialogo_->setWindowModality(Qt::WindowModal);
            dialogo_->setMinimumDuration(0);
            dialogo_->show();
        }
        if (!dialogo_)
            return true;
        dialogo_->setMaximum(total);
        dialogo_->setValue(hecho);
        QApplication::processEvents();
        return !dialogo_->wasCanceled();
    }

private:
    QWidget *padre_;
    QElapsedTimer reloj_;
    QProgressDialog *dialogo_ = nullptr;
};

QDateEdit *selectorFecha(QWidget *padre, const char *nombre) {
    auto *d = new QDateEdit(padre);
    d->setObjectName(QString::fromLatin1(nombre));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return d;
}

QComboBox *selector(QWidget *padre, const char *nombre) {
    auto *c = new QComboBox(padre);
    c->setObjectName(QString::fromLatin1(nombre));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(18);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

const QString kAmarilloClaro = QStringLiteral("background-color: rgb(255,255,128);");

} // namespace

PantallaReporte::PantallaReporte(Contexto &ctx, const Diseno &d, QWidget *parent)
    : QWidget(parent), ctx_(ctx), d_(d) {
    setObjectName(QString::fromLatin1(d.nombre));
    setWindowTitle(d.caption);

    auto *titulo = new QLabel(d.caption.trimmed(), this);
    titulo->setObjectName(QStringLiteral("Label_Titulo"));
    QFont ft = titulo->font();
    ft.setBold(true);
    ft.setPointSizeF(ft.pointSizeF() * 1.3);
    titulo->setFont(ft);
    titulo->setAlignment(Qt::AlignCenter);

    auto *grilla = new QGridLayout;
    grilla->setColumnStretch(1, 1);
    grilla->setColumnStretch(3, 1);
    DTPicker1 = selectorFecha(this, "DTPicker1");
    Label_Desde = new QLabel(d.etiquetaDesde, this);
    Label_Desde->setObjectName(QStringLiteral("Label_Desde"));
    Label_Desde->setBuddy(DTPicker1);
    grilla->addWidget(Label_Desde, 0, 0);
    grilla->addWidget(DTPicker1, 0, 1);
    if (!d.etiquetaHasta.isEmpty()) {
        DTPicker2 = selectorFecha(this, "DTPicker2");
        Label_Hasta = new QLabel(d.etiquetaHasta, this);
        Label_Hasta->setObjectName(QStringLiteral("Label_Hasta"));
        Label_Hasta->setBuddy(DTPicker2);
        grilla->addWidget(Label_Hasta, 0, 2);
        grilla->addWidget(DTPicker2, 0, 3);
    }

    int fila = 1;
    if (d.marcoCentro) {
        Frame_Hipico = new QFrame(this);
        Frame_Hipico->setObjectName(QStringLiteral("Frame_Hipico"));
        auto *capa = new QHBoxLayout(Frame_Hipico);
        capa->setContentsMargins(0, 0, 0, 0);
        Combo_centro = selector(Frame_Hipico, d.nombreCentro);
        Label_Hipico = new QLabel(d.etiquetaCentro, Frame_Hipico);
        capa->addWidget(Label_Hipico);
        capa->addWidget(Combo_centro, 1);
        grilla->addWidget(Frame_Hipico, fila++, 0, 1, 4);
    } else {
        Combo_centro = selector(this, d.nombreCentro);
        Label_Hipico = new QLabel(d.etiquetaCentro, this);
        grilla->addWidget(Label_Hipico, fila, 0);
        grilla->addWidget(Combo_centro, fila++, 1, 1, 3);
    }
    Label_Hipico->setObjectName(QStringLiteral("Label_Hipico"));
    Label_Hipico->setBuddy(Combo_centro);
    Combo_centro->installEventFilter(this);

    if (!d.etiquetaJuego.isEmpty()) {
        Combo_SelJuego = selector(this, "Combo_SelJuego");
        Label_Juego = new QLabel(d.etiquetaJuego, this);
        Label_Juego->setObjectName(QStringLiteral("Label_Juego"));
        Label_Juego->setBuddy(Combo_SelJuego);
        grilla->addWidget(Label_Juego, fila, 0);
        grilla->addWidget(Combo_SelJuego, fila++, 1, 1, 3);
        Combo_SelJuego->installEventFilter(this);

        Frame_Moneda = new QFrame(this);
        Frame_Moneda->setObjectName(QStringLiteral("Frame_Moneda"));
        Frame_Moneda->setFrameShape(QFrame::StyledPanel);
        auto *capa = new QHBoxLayout(Frame_Moneda);
        auto *rotulo = new QLabel(QStringLiteral("MONEDA"), Frame_Moneda);
        capa->addWidget(rotulo);
        for (int i = 0; i < 2; ++i) {
            Label_Moneda[i] = new QPushButton(Frame_Moneda);
            Label_Moneda[i]->setObjectName(QStringLiteral("Label_Moneda_%1").arg(i));
            Label_Moneda[i]->setMinimumWidth(
                Label_Moneda[i]->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMM")));
            Label_Moneda[i]->setToolTip(QStringLiteral("Ctrl+%1").arg(i + 1));
            capa->addWidget(Label_Moneda[i]);
            connect(Label_Moneda[i], &QPushButton::clicked, this, [this, i] { Label_Moneda_Click(i); });
            auto *atajo = new QShortcut(QKeySequence(Qt::CTRL | (i == 0 ? Qt::Key_1 : Qt::Key_2)), this);
            atajo->setContext(Qt::WidgetWithChildrenShortcut);
            connect(atajo, &QShortcut::activated, this, [this, i] {
                if (Label_Moneda[i]->isVisibleTo(this) && Frame_Moneda->isVisibleTo(this))
                    Label_Moneda_Click(i);
            });
        }
        capa->addStretch();
        grilla->addWidget(Frame_Moneda, fila++, 0, 1, 4);
    }

    Bton_Procesar = new QPushButton(d.captionProcesar, this);
    Bton_Procesar->setObjectName(QStringLiteral("Bton_Procesar"));
    Bton_Procesar->setDefault(true);
    boton_Impresion = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                      QStringLiteral("I&mprimir"), this);
    boton_Impresion->setObjectName(QStringLiteral("boton_Impresion"));
    boton_Impresion->setVisible(false);
    Command1 = new QPushButton(QStringLiteral("C&errar"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(Bton_Procesar);
    botones->addWidget(boton_Impresion);
    botones->addWidget(Command1);

    auto *capa = new QVBoxLayout(this);
    capa->addWidget(titulo);
    capa->addLayout(grilla);
    capa->addSpacing(6);
    capa->addLayout(botones);
    capa->setSizeConstraint(QLayout::SetMinimumSize);

    // Enter in a field goes on to the next one.
    for (QWidget *w : std::initializer_list<QWidget *>{DTPicker1, DTPicker2, Combo_centro, Combo_SelJuego})
        if (w)
            w->installEventFilter(this);

    // A changed parameter makes the last run's rows another report: the print button goes.
    auto ocultarImpresion = [this] { boton_Impresion->setVisible(false); };
    for (QDateEdit *d : {DTPicker1, DTPicker2})
        if (d)
            connect(d, &QDateEdit::dateChanged, this, ocultarImpresion);
    for (QComboBox *c : {Combo_centro, Combo_SelJuego})
        if (c)
            connect(c, &QComboBox::editTextChanged, this, ocultarImpresion);

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &PantallaReporte::Command1_Click);
    connect(Bton_Procesar, &QPushButton::clicked, this, &PantallaReporte::Bton_Procesar_Click);
    connect(boton_Impresion, &QPushButton::clicked, this, &PantallaReporte::boton_Impresion_Click);
    connect(Command1, &QPushButton::clicked, this, &PantallaReporte::Command1_Click);
}

void PantallaReporte::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    if (!centrada_) {
        centrada_ = true;
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->adjustSize();
        centrarVentana(this);
        DTPicker1->setFocus();
    }
}

void PantallaReporte::closeEvent(QCloseEvent *ev) {
    QWidget::closeEvent(ev);
    emit cerrada();
}

void PantallaReporte::Form_Load() {
    ctx_.sesion.id_moneda = 1;
    const QDate hoy = ctx_.reloj.ahora().date();
    DTPicker1->setDate(hoy);
    if (DTPicker2)
        DTPicker2->setDate(hoy);
    const bool ocultaCentro = d_.nivelesSinCentro.contains(ctx_.sesion.nivel);
    if (Frame_Hipico)
        Frame_Hipico->setVisible(!ocultaCentro);
    Combo_centro->setVisible(!ocultaCentro);
    Label_Hipico->setVisible(!ocultaCentro);
    try {
        if (ctx_.rs_grupos.vacio())
            ctx_.abrir_grupos();
        if (Combo_SelJuego) {
            ctx_.abrir_juegos();
            if (ctx_.rs_configuracion.vacio())
                ctx_.abrir_configuracion();
            rotularMonedas();
            Label_Moneda_Click(0);
            if (ctx_.configuracion(QStringLiteral("multimoneda")).numero() == 0)
                Frame_Moneda->setVisible(false);
        }
    } catch (const DbError &e) {
        registrarFalla(lcReportes(), &ctx_.sesion, objectName(), QStringLiteral("cargar"), e);
    }
}

void PantallaReporte::rotularMonedas() {
    ctx_.abrir_monedas();
    for (int i = 0; i < 2; ++i)
        if (i < ctx_.rs_monedas.filas())
            Label_Moneda[i]->setText(ctx_.rs_monedas.valor(i, QStringLiteral("moneda")).texto());
    if (ctx_.configuracion(QStringLiteral("dolar_activado")).numero() == 0)
        Label_Moneda[1]->setVisible(false);
}

void PantallaReporte::Label_Moneda_Click(int indice) {
    if (!Label_Moneda[0])
        return;
    ctx_.sesion.id_moneda = indice + 1;
    const QString amarillo =
        QStringLiteral("QPushButton { background-color: rgb(255,255,0); color: black; }");
    const QString blanco =
        QStringLiteral("QPushButton { background-color: rgb(255,255,255); color: black; }");
    Label_Moneda[0]->setStyleSheet(indice == 0 ? amarillo : blanco);
    Label_Moneda[1]->setStyleSheet(indice == 1 ? amarillo : blanco);
    // The rows on the print button are of the other currency.
    boton_Impresion->setVisible(false);
}

void PantallaReporte::Combo_centro_GotFocus() {
    const QString texto = Combo_centro->currentText();
    Combo_centro->blockSignals(true);
    Combo_centro->clear();
    for (int i = 0; i < ctx_.rs_grupos.filas(); ++i)
        Combo_centro->addItem(ctx_.rs_grupos.valor(i, QStringLiteral("ch")).texto());
    if (d_.centroConTodos)
        Combo_centro->addItem(QStringLiteral("TODOS"));
    Combo_centro->setCurrentIndex(Combo_centro->findText(texto));
    Combo_centro->setEditText(texto);
    Combo_centro->blockSignals(false);
    Combo_centro->setStyleSheet(kAmarilloClaro);
}

void PantallaReporte::Combo_SelJuego_GotFocus() {
    const QString texto = Combo_SelJuego->currentText();
    Combo_SelJuego->blockSignals(true);
    Combo_SelJuego->clear();
    for (int i = 0; i < ctx_.rs_juegos.filas(); ++i)
        Combo_SelJuego->addItem(ctx_.rs_juegos.valor(i, QStringLiteral("juego")).texto());
    Combo_SelJuego->addItem(QStringLiteral("TODOS"));
    Combo_SelJuego->setCurrentIndex(Combo_SelJuego->findText(texto));
    Combo_SelJuego->setEditText(texto);
    Combo_SelJuego->blockSignals(false);
    Combo_SelJuego->setStyleSheet(kAmarilloClaro);
    boton_Impresion->setVisible(false);
    if (d_.tipoReporte == kReporteCarreras) {
        try {
            rotularMonedas();
        } catch (const DbError &e) {
            registrarFalla(lcReportes(), &ctx_.sesion, objectName(), QStringLiteral("rotular las monedas"),
                           e);
        }
    }
}

bool PantallaReporte::eventFilter(QObject *obj, QEvent *ev) {
    // The focus coming back from the selector's own open list (or from another window) is no
    // entry into the field: refilling then would drop the item being picked.
    const auto razon =
        ev->type() == QEvent::FocusIn ? static_cast<QFocusEvent *>(ev)->reason() : Qt::OtherFocusReason;
    if (ev->type() == QEvent::FocusIn && razon != Qt::PopupFocusReason &&
        razon != Qt::ActiveWindowFocusReason) {
        if (obj == Combo_centro)
            Combo_centro_GotFocus();
        else if (obj == Combo_SelJuego)
            Combo_SelJuego_GotFocus();
    } else if (ev->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(ev);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && k->modifiers() == Qt::NoModifier) {
            if (auto *combo = qobject_cast<QComboBox *>(obj); combo && combo->view()->isVisible())
                return false;
            // The last field runs the process; the others go on to the next field.
            if (obj == ultimoCampo())
                Bton_Procesar->click();
            else
                focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(obj, ev);
}

QWidget *PantallaReporte::ultimoCampo() const {
    if (Combo_SelJuego)
        return Combo_SelJuego;
    if (Combo_centro->isVisibleTo(this))
        return Combo_centro;
    return DTPicker2 ? DTPicker2 : DTPicker1;
}

void PantallaReporte::Bton_Procesar_Click() {
    FiltroReporte f;
    f.desde = DTPicker1->date();
    f.hasta = DTPicker2 ? DTPicker2->date() : f.desde;
    f.centro = Combo_centro->currentText();
    f.juego = Combo_SelJuego ? Combo_SelJuego->currentText() : QString();
    if (f.hasta < f.desde) {
        boton_Impresion->setVisible(false);
        ctx_.dialogos.mensaje(kRangoInvertido, kTituloValidacion, Icono::Error);
        DTPicker1->setFocus();
        DTPicker1->selectAll();
        return;
    }
    // What the viewer names: the run's own dates, game, centre and currency.
    corrida_.clear();
    corrida_.insert(QStringLiteral("desde"), fechaPantalla(f.desde));
    corrida_.insert(QStringLiteral("hasta"), fechaPantalla(f.hasta));
    if (Combo_SelJuego)
        corrida_.insert(QStringLiteral("juego"), textoJuego(f.juego));
    if (Combo_centro->isVisibleTo(this) && !f.centro.isEmpty())
        corrida_.insert(QStringLiteral("centro"), f.centro);
    if (Label_Moneda[0] && Frame_Moneda->isVisibleTo(this))
        corrida_.insert(QStringLiteral("moneda"), Label_Moneda[ctx_.sesion.id_moneda == 2 ? 1 : 0]->text());
    Bton_Procesar->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    {
        ProgresoVentana progreso(this);
        ultimo_ = procesar(f, &progreso);
    }
    QApplication::restoreOverrideCursor();
    mostrarAviso(ctx_.dialogos, ultimo_);
    Bton_Procesar->setEnabled(true);
    boton_Impresion->setVisible(ultimo_.imprimir);
    // The button was disabled while the process ran, and the focus left it (and maybe the
    // screen): it comes back to the screen's next step.
    if (ultimo_.imprimir)
        boton_Impresion->setFocus();
    else
        Bton_Procesar->setFocus();
}

void PantallaReporte::boton_Impresion_Click() {
    abrirReporte(ctx_, d_.tipoReporte, window(), {}, 0, corrida_);
}

void PantallaReporte::Command1_Click() {
    cerrarPantalla(this);
}

} // namespace corvalo
