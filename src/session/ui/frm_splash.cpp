#include "frm_splash.h"

#include "dialogos_qt.h"
#include "primer_arranque.h"
#include "ventanas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace corvalo {

frmSplash::frmSplash(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ctx_(ctx), opciones_(opciones) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Corvalo"));

    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(32, 24, 32, 24);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(64, 64));
    Image1->setAlignment(Qt::AlignCenter);
    Label3 = new QLabel(QStringLiteral("Corvalo"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    QFont grande = Label3->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    Label3->setFont(grande);
    Label_version = new QLabel(this);
    Label_version->setObjectName(QStringLiteral("Label_version"));
    Label_version->setAlignment(Qt::AlignCenter);
    capa->addWidget(Image1);
    capa->addWidget(Label3);
    capa->addWidget(Label_version);
    setFocusPolicy(Qt::StrongFocus);

    // Load.
    Label_version->setText(kBanner);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    Timer2->setInterval(3000);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);
    Timer2->start();
}

void frmSplash::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    centrarVentana(this);
    activateWindow();
    setFocus();
}

void frmSplash::Timer2_Timer() {
    // A workstation that is not set up yet says so first: it explains what follows.
    if (opciones_.revisarPuesto)
        avisarPuestoSinPreparar(ctx_, opciones_);
    ctx_.sesion.cadena_central = opciones_.cadenaCentral;
    ctx_.abrir_central(ctx_.sesion.cadena_central);
    if (ctx_.sesion.tamletra == 0)
        ctx_.sesion.tamletra = 8;
    close();
    emit listo();
}

void frmSplash::keyPressEvent(QKeyEvent *ev) {
    ev->accept();
    Timer2->stop();
    close();
    emit interrumpido();
}

} // namespace corvalo
