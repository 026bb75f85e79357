#include "frame_cobro_boleto.h"
#include "panel_flotante.h"

#include "contexto.h"
#include "filtros.h"
#include "registro.h"
#include "teclado.h"
#include "ventanas.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvalo {

namespace {

// A font `factor` times the panel's, bold when asked.
void escalar(QWidget *w, const QFont &base, double factor, bool negrita) {
    QFont f = base;
    if (base.pointSizeF() > 0)
        f.setPointSizeF(base.pointSizeF() * factor);
    f.setBold(negrita);
    w->setFont(f);
}

} // namespace

Frame_CobroBoleto::Frame_CobroBoleto(Contexto &ctx, ImpresionRecibos *recibos, QWidget *parent)
    : QFrame(parent), ctx_(ctx), cobro_(ctx, recibos) {
    setObjectName(QStringLiteral("Frame_CobroBoleto"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    Label_Titulo =
        nombrar(new QLabel(QStringLiteral("COBRAR UN BOLETO"), this), QStringLiteral("Label_Titulo"));
    Label_Titulo->setAlignment(Qt::AlignCenter);
    Label_Codigo = nombrar(new QLabel(QStringLiteral("CODIGO DEL BOLETO A COBRAR"), this),
                           QStringLiteral("Label_Codigo"));
    Text_boletoCobro = nombrar(new QLineEdit(this), QStringLiteral("Text_boletoCobro"));
    Label_Codigo->setBuddy(Text_boletoCobro);
    Label_MCB = nombrar(new QLabel(QStringLiteral("MENSAJE"), this), QStringLiteral("Label_MCB"));
    Label_PCB = nombrar(new QLabel(QStringLiteral("MONTO"), this), QStringLiteral("Label_PCB"));
    for (QLabel *l : {Label_MCB, Label_PCB}) {
        l->setAlignment(Qt::AlignCenter);
        l->hide();
    }
    Label_MCB->setWordWrap(false);
    Boton_Cobrar_Boleto2 =
        boton(QStringLiteral("Boton_Cobrar_Boleto2"), QStringLiteral("COBRAR BOLETO"), this);
    Boton_Cobrar_Boleto3 =
        boton(QStringLiteral("Boton_Cobrar_Boleto3"), QStringLiteral("COBRAR BOLETO"), this);
    Boton_Cobrar_Boleto2->hide();
    Boton_Cobrar_Boleto3->hide();
    Command5 = boton(QStringLiteral("Command5"), QStringLiteral("LIMPIAR"), this);
    Bto_SalirFCB = boton(QStringLiteral("Bto_SalirFCB"), QStringLiteral("SALIR"), this);
    Bto_SalirFCB->setToolTip(QStringLiteral("Cerrar (Esc)"));
    Text_boletoCobro->installEventFilter(this);
    filtrarTextoPegado(Text_boletoCobro, FiltroMayusculas);

    auto *g = new QGridLayout(this);
    // The panel is always as large as its content: a longer message, a larger amount or a
    // larger font make it grow, and it stays centred on the host's frame.
    g->setSizeConstraint(QLayout::SetFixedSize);
    g->addWidget(Label_Titulo, 0, 0, 1, 2);
    g->addWidget(Label_Codigo, 1, 0, 1, 2);
    g->addWidget(Text_boletoCobro, 2, 0, 1, 2);
    g->addWidget(Label_MCB, 3, 0, 1, 2);
    g->addWidget(Label_PCB, 4, 0, 1, 2);
    g->addWidget(Boton_Cobrar_Boleto2, 5, 0, 1, 2);
    g->addWidget(Boton_Cobrar_Boleto3, 6, 0, 1, 2);
    g->addWidget(Command5, 7, 0);
    g->addWidget(Bto_SalirFCB, 7, 1);
    aplicarFuentes();
    hide();

    auto *escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QAction::triggered, this, [this] { Bto_SalirFCB_Click(); });
    addAction(escape);

    connect(Text_boletoCobro, &QLineEdit::textChanged, this, [this] { ocultarResultado(); });
    connect(Boton_Cobrar_Boleto2, &QPushButton::clicked, this, [this] { Boton_Cobrar_Boleto2_Click(); });
    connect(Boton_Cobrar_Boleto3, &QPushButton::clicked, this, [this] { Boton_Cobrar_Boleto3_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Bto_SalirFCB, &QPushButton::clicked, this, [this] { Bto_SalirFCB_Click(); });
}

void Frame_CobroBoleto::aplicarFuentes() {
    const QFont base = font();
    escalar(Label_Titulo, base, 1.0, true);
    escalar(Label_MCB, base, 1.5, true);
    escalar(Label_PCB, base, 1.5, true);
    escalar(Text_boletoCobro, base, 1.75, false);
    // Room for a whole ticket code.
    Text_boletoCobro->setMinimumWidth(
        QFontMetrics(Text_boletoCobro->font()).horizontalAdvance(QStringLiteral("0")) * 16);
}

void Frame_CobroBoleto::setJuegoActual(int juego) {
    juego_actual_ = juego;
}

void Frame_CobroBoleto::ocultarResultado() {
    Label_MCB->hide();
    Label_PCB->hide();
    Boton_Cobrar_Boleto2->hide();
    Boton_Cobrar_Boleto3->hide();
}

void Frame_CobroBoleto::mostrar(QWidget *centro) {
    if (centro_ != centro) {
        if (centro_)
            centro_->removeEventFilter(this);
        centro_ = centro;
        if (centro_)
            centro_->installEventFilter(this);
    }
    // Empty, whatever an earlier lookup left: the next scan is the whole code.
    Text_boletoCobro->clear();
    ocultarResultado();
    cobro_.estatus_consultado = 0;
    show();
    raise();
    ajustar();
    Text_boletoCobro->setFocus();
}

// Centred on the host's frame, and inside the host wherever the frame is.
void Frame_CobroBoleto::ajustar() {
    centrarEnHost(this, centro_);
}

bool Frame_CobroBoleto::event(QEvent *ev) {
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

void Frame_CobroBoleto::Bto_SalirFCB_Click() {
    hide();
    emit cerrado();
}

void Frame_CobroBoleto::Command5_Click() {
    Text_boletoCobro->clear();
    Text_boletoCobro->setFocus();
}

bool Frame_CobroBoleto::eventFilter(QObject *obj, QEvent *ev) {
    if (obj == centro_ && (ev->type() == QEvent::Resize || ev->type() == QEvent::Move)) {
        if (isVisible())
            ajustar();
        return false;
    }
    if (ev->type() == QEvent::KeyPress && obj == Text_boletoCobro)
        return teclaCobro(static_cast<QKeyEvent *>(ev));
    return QFrame::eventFilter(obj, ev);
}

// Every key passes FiltroMayusculas; Enter looks the ticket up.
bool Frame_CobroBoleto::teclaCobro(QKeyEvent *k) {
    switch (filtrarTecla(Text_boletoCobro, k, FiltroMayusculas)) {
    case TeclaFiltrada::Pasa:
        return false;
    case TeclaFiltrada::Tragada:
    case TeclaFiltrada::Cambiada:
        return true;
    case TeclaFiltrada::Enter:
        Text_boletoCobro_KeyPress();
        return true;
    }
    return false;
}

void Frame_CobroBoleto::mostrarConsulta(const ConsultaCobro &c, QPushButton *pagar) {
    if (!c.cuadro.isEmpty())
        ctx_.dialogos.mensaje(c.cuadro, c.tituloCuadro, c.icono);
    if (!c.cambiaPanel)
        return;
    Label_MCB->setText(c.mensaje);
    Label_MCB->show();
    Label_PCB->setVisible(c.pagable);
    pagar->setVisible(c.pagable);
    if (c.pagable) {
        Label_PCB->setText(c.monto);
        pagar->setFocus(); // a scan followed by Enter pays
    }
}

// The code's first digit names its path; each path shows its own pay button.
void Frame_CobroBoleto::Text_boletoCobro_KeyPress() {
    const RutaCobro ruta = rutaDelCodigo(Text_boletoCobro->text());
    Boton_Cobrar_Boleto2->hide();
    Boton_Cobrar_Boleto3->hide();
    mostrarConsulta(cobro_.consultar(Text_boletoCobro->text(), ruta),
                    ruta == RutaCobro::Puestos ? Boton_Cobrar_Boleto3 : Boton_Cobrar_Boleto2);
}

void Frame_CobroBoleto::terminarPago(const ResultadoPago &r, QPushButton *pagar) {
    const QString codigo = Text_boletoCobro->text();
    Text_boletoCobro->clear();
    pagar->hide();
    if (!r.mensaje.isEmpty()) {
        Label_MCB->setText(r.mensaje);
        Label_MCB->show();
    }
    if (r.sinImprimir && r.recibo)
        ofrecerReimpresion(*r.recibo,
                           (r.cuadro.isEmpty() ? QString() : r.cuadro + QStringLiteral("\r\r")) +
                               QStringLiteral("EL COBRO SE REALIZO PERO EL RECIBO NO SE PUDO IMPRIMIR. "
                                              "¿DESEA IMPRIMIRLO DE NUEVO?"));
    else if (!r.cuadro.isEmpty())
        ctx_.dialogos.mensaje(r.cuadro, r.tituloCuadro, r.icono);
    Text_boletoCobro->setFocus();
    if (!ctx_.pendientes.vacio())
        emit pendiente();
    if (r.hecho) {
        emit pagado(r);
        emit boletoPagado(codigo, Label_PCB->text());
    }
}

void Frame_CobroBoleto::ofrecerReimpresion(const Recibo &r, QString pregunta) {
    if (!cobro_.recibos)
        return;
    ofrecerImprimirDeNuevo(
        ctx_.dialogos, std::move(pregunta), kTituloCobro,
        QStringLiteral("NO SE PUDO IMPRIMIR EL RECIBO DEL BOLETO ") + r.codigo +
            QStringLiteral(". ¿DESEA INTENTARLO DE NUEVO?"),
        [&] { corvalo::reimprimirRecibo(*cobro_.recibos, r); },
        [&](const std::exception &e) {
            registrarFalla(lcImpresion(), &ctx_.sesion, kTituloCobro, QStringLiteral("reimprimir el recibo"),
                           e);
        });
}

void Frame_CobroBoleto::reimprimirRecibo() {
    if (!cobro_.ultimo_recibo || !cobro_.recibos) {
        ctx_.dialogos.mensaje(QStringLiteral("NO HAY UN RECIBO PARA REIMPRIMIR"), kTituloCobro,
                              Icono::Informacion);
        return;
    }
    const Recibo r = *cobro_.ultimo_recibo;
    try {
        corvalo::reimprimirRecibo(*cobro_.recibos, r);
    } catch (const std::exception &e) {
        registrarFalla(lcImpresion(), &ctx_.sesion, kTituloCobro, QStringLiteral("reimprimir el recibo"), e);
        ofrecerReimpresion(r, QStringLiteral("NO SE PUDO IMPRIMIR EL RECIBO DEL BOLETO ") + r.codigo +
                                  QStringLiteral(". ¿DESEA INTENTARLO DE NUEVO?"));
    }
}

void Frame_CobroBoleto::resolverPendientes() {
    for (const ResolucionPago &r : resolverPagosPendientes(ctx_, cobro_.recibos)) {
        if (r.recibo)
            cobro_.ultimo_recibo = r.recibo;
        if (r.ofrecerCopia && r.recibo)
            ofrecerReimpresion(*r.recibo,
                               r.mensaje + QStringLiteral("\r\rNO SE SABE SI SU RECIBO SE IMPRIMIO. "
                                                          "¿DESEA IMPRIMIR UNA COPIA?"));
        else if (r.sinImprimir && r.recibo)
            ofrecerReimpresion(*r.recibo,
                               r.mensaje + QStringLiteral("\r\rEL RECIBO NO SE PUDO IMPRIMIR. ¿DESEA "
                                                          "IMPRIMIRLO DE NUEVO?"));
        else
            ctx_.dialogos.mensaje(r.mensaje, r.titulo, r.hecho ? Icono::Informacion : Icono::Exclamacion);
    }
}

void Frame_CobroBoleto::Boton_Cobrar_Boleto2_Click() {
    terminarPago(cobro_.pagar(Text_boletoCobro->text(), RutaCobro::Tablas), Boton_Cobrar_Boleto2);
}

void Frame_CobroBoleto::Boton_Cobrar_Boleto3_Click() {
    terminarPago(cobro_.pagar(Text_boletoCobro->text(), RutaCobro::Puestos), Boton_Cobrar_Boleto3);
}

} // namespace corvalo
