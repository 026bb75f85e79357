#include "frm_login.h"

#include "dialogos_qt.h"
#include "ventanas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace corvalo {

namespace {
constexpr int kAltoPixeles = 4020 / 15; // 4020 twips at 15 twips a pixel
}

frmLogin::frmLogin(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), login_(ctx, opciones) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Acceso"));

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);
    lblUserName = new QLabel(QStringLiteral("Usuario:"), this);
    lblUserName->setObjectName(QStringLiteral("lblUserName"));
    txtUserName = new QLineEdit(this);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    lblUserName->setBuddy(txtUserName);
    lblPassword = new QLabel(QStringLiteral("Clave:"), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    lblPassword->setBuddy(txtPassword);
    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Label_internet = new QLabel(this);
    Label_internet->setObjectName(QStringLiteral("Label_internet"));
    Label_internet->setAlignment(Qt::AlignCenter);
    Label_internet->setAutoFillBackground(true);
    Label_internet->setVisible(false);

    auto *capa = new QVBoxLayout(this);
    capa->addWidget(Label3);
    auto *campos = new QGridLayout;
    campos->addWidget(lblUserName, 0, 0);
    campos->addWidget(txtUserName, 0, 1);
    campos->addWidget(lblPassword, 1, 0);
    campos->addWidget(txtPassword, 1, 1);
    capa->addLayout(campos);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    capa->addLayout(botones);
    capa->addWidget(Label_internet);
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
    txtUserName->installEventFilter(this);
    txtPassword->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &frmLogin::Timer1_Timer);
    resize(360, kAltoPixeles);
}

void frmLogin::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    if (!cargado_) {
        cargado_ = true;
        Form_Load();
        centrarVentana(this);
    }
    txtUserName->setFocus();
}

void frmLogin::Form_Load() {
    resize(width(), kAltoPixeles);
    Label3->setText(kBanner);
    mostrarIndicador();
    login_.cargar();
    Timer1->start();
}

void frmLogin::mostrarIndicador() {
    const IndicadorInternet i = indicadorInternet(ctx_.maquina.redActiva());
    Label_internet->setVisible(true);
    Label_internet->setText(i.texto);
    QPalette p = Label_internet->palette();
    p.setColor(QPalette::Window, QColor(i.fondo.r, i.fondo.g, i.fondo.b));
    p.setColor(QPalette::WindowText, QColor(i.letra.r, i.letra.g, i.letra.b));
    Label_internet->setPalette(p);
}

void frmLogin::Timer1_Timer() {
    mostrarIndicador();
}

void frmLogin::cmdOK_Click() {
    const ResultadoLogin r = login_.cmdOK(txtUserName->text(), txtPassword->text());
    switch (r.tipo) {
    case ResultadoLogin::Rechazo: {
        ctx_.dialogos.mensaje(r.texto, r.titulo, Icono::Error);
        auto *campo = findChild<QLineEdit *>(r.campo);
        if (campo) {
            campo->setFocus();
            campo->selectAll();
        }
        break;
    }
    case ResultadoLogin::Terminar:
        ctx_.dialogos.mensaje(r.texto, r.titulo, Icono::Error);
        Timer1->stop();
        emit abandonado();
        break;
    case ResultadoLogin::Ingreso:
        Timer1->stop();
        close();
        emit ingresado();
        break;
    case ResultadoLogin::Fallo:
        break;
    }
}

void frmLogin::cmdCancel_Click() {
    Timer1->stop();
    close();
    // no other window is open while the login shows
    emit abandonado();
}

bool frmLogin::eventFilter(QObject *obj, QEvent *ev) {
    if (ev->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(ev)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            if (obj == txtPassword) {
                cmdOK->click();
                return true;
            }
            if (obj == txtUserName) {
                txtPassword->setFocus();
                txtPassword->selectAll();
                return true;
            }
        }
    }
    return QWidget::eventFilter(obj, ev);
}

} // namespace corvalo
