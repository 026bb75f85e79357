#include "pantalla_reporte.h"

#include "ventanas.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>

namespace corvalo {

namespace {
const QColor kAmarillo(255, 255, 0), kBlanco(255, 255, 255), kAmarilloClaro(255, 255, 128);

void colorear(QWidget *w, QPalette::ColorRole rol, const QColor &color) {
    QPalette p = w->palette();
    p.setColor(rol, color);
    w->setPalette(p);
}
} // namespace

void EtiquetaMoneda::mousePressEvent(QMouseEvent *ev) {
    QLabel::mousePressEvent(ev);
    emit pulsada();
}

void EtiquetaMoneda::keyPressEvent(QKeyEvent *ev) {
    if (ev->key() == Qt::Key_Space || ev->key() == Qt::Key_Return || ev->key() == Qt::Key_Enter) {
        emit pulsada();
        return;
    }
    QLabel::keyPressEvent(ev);
}

ProgresoQt::ProgresoQt(QWidget *padre)
    : dialogo_(new QProgressDialog(QStringLiteral("Procesando..."), QStringLiteral("&Cancelar"), 0, 1, padre)) {
    dialogo_->setObjectName(QStringLiteral("Progreso"));
    dialogo_->setWindowTitle(padre ? padre->windowTitle() : QString());
    dialogo_->setWindowModality(Qt::WindowModal);
    dialogo_->setMinimumDuration(400);
    dialogo_->setAutoClose(false);
    dialogo_->setAutoReset(false);
    dialogo_->setValue(0);
}

ProgresoQt::~ProgresoQt() { delete dialogo_; }

bool ProgresoQt::seguir(int hecho, int total) {
    if (dialogo_->maximum() != total)
        dialogo_->setMaximum(std::max(total, 1));
    dialogo_->setLabelText(QStringLiteral("Procesando %1 de %2...").arg(hecho).arg(total));
    dialogo_->setValue(std::min(hecho, dialogo_->maximum()));
    return !dialogo_->wasCanceled();
}

PantallaReporte::PantallaReporte(Contexto &ctx, const DisenoPantalla &diseno, QWidget *parent)
    : QWidget(parent), ctx_(ctx), diseno_(diseno) {
    setObjectName(diseno.objeto);
    setWindowTitle(diseno.caption);
    capa_ = new QGridLayout(this);
    int fila = 0;

    auto fecha = [this](const char *nombre) {
        auto *d = new QDateEdit(this);
        d->setObjectName(QString::fromLatin1(nombre));
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
        return d;
    };
    auto etiqueta = [this](const char *nombre, const QString &texto, QWidget *de) {
        auto *l = new QLabel(texto, this);
        l->setObjectName(QString::fromLatin1(nombre));
        l->setBuddy(de);
        return l;
    };
    auto selector = [this](const QString &nombre) {
        auto *c = new QComboBox(this);
        c->setObjectName(nombre);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMinimumContentsLength(26);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->installEventFilter(this);
        return c;
    };

    DTPicker1 = fecha("DTPicker1");
    Label_Fecha1 = etiqueta("Label_Fecha1", diseno.fecha1, DTPicker1);
    capa_->addWidget(Label_Fecha1, fila, 0);
    capa_->addWidget(DTPicker1, fila, 1);
    if (!diseno.fecha2.isEmpty()) {
        DTPicker2 = fecha("DTPicker2");
        Label_Fecha2 = etiqueta("Label_Fecha2", diseno.fecha2, DTPicker2);
        capa_->addWidget(Label_Fecha2, fila, 2);
        capa_->addWidget(DTPicker2, fila, 3);
    }
    ++fila;

    selectorCentro = selector(diseno.nombreCentro);
    Label_Centro = etiqueta("Label_Centro", diseno.centro, selectorCentro);
    if (diseno.marcoHipico) {
        Frame_Hipico = new QFrame(this);
        Frame_Hipico->setObjectName(QStringLiteral("Frame_Hipico"));
        auto *c = new QHBoxLayout(Frame_Hipico);
        c->setContentsMargins(0, 0, 0, 0);
        Label_Centro->setParent(Frame_Hipico);
        selectorCentro->setParent(Frame_Hipico);
        c->addWidget(Label_Centro);
        c->addWidget(selectorCentro, 1);
        capa_->addWidget(Frame_Hipico, fila, 0, 1, 4);
    } else {
        capa_->addWidget(Label_Centro, fila, 0);
        capa_->addWidget(selectorCentro, fila, 1, 1, 3);
    }
    ++fila;

    if (!diseno.juego.isEmpty()) {
        Combo_SelJuego = selector(QStringLiteral("Combo_SelJuego"));
        Label_Juego = etiqueta("Label_Juego", diseno.juego, Combo_SelJuego);
        capa_->addWidget(Label_Juego, fila, 0);
        capa_->addWidget(Combo_SelJuego, fila, 1, 1, 3);
        ++fila;
    }

    if (diseno.conMoneda) {
        Frame_Moneda = new QFrame(this);
        Frame_Moneda->setObjectName(QStringLiteral("Frame_Moneda"));
        Frame_Moneda->setFrameShape(QFrame::StyledPanel);
        auto *c = new QHBoxLayout(Frame_Moneda);
        c->addStretch();
        for (int i = 0; i < 2; ++i) {
            Label_Moneda[i] = new EtiquetaMoneda(Frame_Moneda);
            Label_Moneda[i]->setObjectName(QStringLiteral("Label_Moneda_%1").arg(i));
            Label_Moneda[i]->setAlignment(Qt::AlignCenter);
            Label_Moneda[i]->setFrameShape(QFrame::Box);
            Label_Moneda[i]->setAutoFillBackground(true);
            Label_Moneda[i]->setFocusPolicy(Qt::StrongFocus);
            Label_Moneda[i]->setMargin(4);
            Label_Moneda[i]->setMinimumWidth(Label_Moneda[i]->fontMetrics().averageCharWidth() * 10);
            Label_Moneda[i]->setToolTip(QStringLiteral("Ctrl+%1").arg(i + 1));
            connect(Label_Moneda[i], &EtiquetaMoneda::pulsada, this, [this, i] { Label_Moneda_Click(i); });
            auto *atajo = new QShortcut(QKeySequence(Qt::CTRL | (i == 0 ? Qt::Key_1 : Qt::Key_2)), this);
            atajo->setContext(Qt::WidgetWithChildrenShortcut);
            connect(atajo, &QShortcut::activated, this, [this, i] {
                if (Label_Moneda[i]->isVisibleTo(this))
                    Label_Moneda_Click(i);
            });
            c->addWidget(Label_Moneda[i]);
        }
        c->addStretch();
        capa_->addWidget(Frame_Moneda, fila, 0, 1, 4);
        ++fila;
    }

    auto *botones = new QHBoxLayout;
    boton_procesar = new QPushButton(diseno.procesar, this);
    boton_procesar->setObjectName(diseno.nombreProcesar);
    boton_procesar->setText(QLatin1Char('&') + diseno.procesar);
    boton_Impresion = new QPushButton(QStringLiteral("&Imprimir"), this);
    boton_Impresion->setObjectName(QStringLiteral("boton_Impresion"));
    boton_Impresion->setVisible(false);
    Command1 = new QPushButton(QStringLiteral("&Salir"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    botones->addStretch();
    botones->addWidget(boton_procesar);
    botones->addWidget(boton_Impresion);
    botones->addWidget(Command1);
    botones->addStretch();
    capa_->addLayout(botones, fila++, 0, 1, 4);
    filaLibre_ = fila;
    capa_->setColumnStretch(1, 1);
    capa_->setColumnStretch(3, 1);

    connect(boton_procesar, &QPushButton::clicked, this, &PantallaReporte::Procesar_Click);
    connect(boton_Impresion, &QPushButton::clicked, this, &PantallaReporte::boton_Impresion_Click);
    connect(Command1, &QPushButton::clicked, this, &PantallaReporte::Command1_Click);
}

void PantallaReporte::Form_Load() {
    if (cargado_)
        return;
    cargado_ = true;
    // 1.
    const QDate hoy = ctx_.reloj.ahora().date();
    DTPicker1->setDate(hoy);
    if (DTPicker2)
        DTPicker2->setDate(hoy);
    // 2-4.
    const CargaReporte c =
        cargarPantallaReporte(ctx_, objectName(), Combo_SelJuego != nullptr, diseno_.conMoneda, diseno_.nivelesSinCentro);
    if (Frame_Hipico)
        Frame_Hipico->setVisible(c.centroVisible);
    else {
        selectorCentro->setVisible(c.centroVisible);
        Label_Centro->setVisible(c.centroVisible);
    }
    if (Combo_SelJuego) {
        rellenar(Combo_SelJuego, juegosOfrecidos(ctx_));
        Combo_SelJuego->setEditText(kTodos);
    }
    if (diseno_.conMoneda) {
        mostrarMonedas(c);
        Label_Moneda_Click(0);
    }
}

void PantallaReporte::mostrarMonedas(const CargaReporte &c) {
    if (!Frame_Moneda)
        return;
    for (int i = 0; i < 2; ++i)
        Label_Moneda[i]->setText(c.monedas.value(i));
    Label_Moneda[1]->setVisible(c.moneda2Visible);
    Frame_Moneda->setVisible(c.marcoMoneda);
}

void PantallaReporte::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    if (!centrada_) {
        centrada_ = true;
        Form_Load();
        centrarVentana(this);
        DTPicker1->setFocus();
    }
}

void PantallaReporte::Label_Moneda_Click(int index) {
    ctx_.sesion.id_moneda = index + 1;
    if (!Frame_Moneda)
        return;
    colorear(Label_Moneda[0], QPalette::Window, index == 0 ? kAmarillo : kBlanco);
    colorear(Label_Moneda[1], QPalette::Window, index == 1 ? kAmarillo : kBlanco);
}

void PantallaReporte::rellenar(QComboBox *c, const QStringList &valores) {
    const QString texto = c->currentText();
    const QSignalBlocker bloqueo(c);
    c->clear();
    c->addItems(valores);
    const int i = c->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    c->setCurrentIndex(i);
    c->setEditText(texto);
}

bool PantallaReporte::eventFilter(QObject *obj, QEvent *ev) {
    if (ev->type() == QEvent::FocusIn) {
        if (obj == selectorCentro) {
            rellenar(selectorCentro, centrosOfrecidos(ctx_, diseno_.centroConTodos));
            colorear(selectorCentro, QPalette::Base, kAmarilloClaro);
        } else if (obj == Combo_SelJuego) {
            rellenar(Combo_SelJuego, juegosOfrecidos(ctx_));
            colorear(Combo_SelJuego, QPalette::Base, kAmarilloClaro);
            boton_Impresion->setVisible(false);
            juegoEnfocado();
        }
    }
    return QWidget::eventFilter(obj, ev);
}

void PantallaReporte::Procesar_Click() {
    boton_procesar->setEnabled(false);
    setCursor(Qt::WaitCursor);
    {
        ProgresoQt progreso(this);
        ultimo_ = procesar(progreso);
    }
    unsetCursor();
    boton_procesar->setEnabled(true);
    boton_Impresion->setVisible(ultimo_.imprimir());
    if (ultimo_.imprimir())
        boton_Impresion->setFocus();
    else
        boton_procesar->setFocus();
}

void PantallaReporte::boton_Impresion_Click() {
    ctx_.sesion.tipo_reporte = diseno_.tipo_reporte;
    emit reporteSolicitado(diseno_.tipo_reporte, ultimo_.moneda);
}

void PantallaReporte::Command1_Click() {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void PantallaReporte::keyPressEvent(QKeyEvent *ev) {
    if (ev->key() == Qt::Key_Escape && ev->modifiers() == Qt::NoModifier) {
        Command1_Click();
        return;
    }
    QWidget::keyPressEvent(ev);
}

void PantallaReporte::closeEvent(QCloseEvent *ev) {
    QWidget::closeEvent(ev);
    emit cerrada();
}

} // namespace corvalo
