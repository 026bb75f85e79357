#include "form_conf_impresion.h"

#include "ajustes_impresion.h"
#include "ventanas.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvalo {

namespace {
QComboBox *selector(QWidget *padre, const char *nombre, const QStringList &valores) {
    auto *c = new QComboBox(padre);
    c->setObjectName(QString::fromLatin1(nombre));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(valores);
    c->setCurrentIndex(-1);
    c->setEditText(QString());
    return c;
}

void mostrarTexto(QComboBox *c, const QString &texto) {
    const int i = c->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        c->setCurrentIndex(i);
    else
        c->setCurrentIndex(-1);
    c->setEditText(texto);
}
} // namespace

Form_ConfImpresion::Form_ConfImpresion(Contexto &ctx, const QString &rutaAjustes, QWidget *parent)
    : QWidget(parent), ctx_(ctx), ruta_(rutaAjustes) {
    setObjectName(QStringLiteral("Form_ConfImpresion"));
    setWindowTitle(QStringLiteral("CONFIGURACION DE IMPRESIÓN"));
    const QStringList siNo{QStringLiteral("SI"), QStringLiteral("NO")};
    Combo2 = selector(this, "Combo2", puertosOfrecidos());
    Combo1 = selector(this, "Combo1", siNo);
    Combo3 = selector(this, "Combo3",
                      {QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                       QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")});
    Combo4 = selector(this, "Combo4", siNo);
    const QString etiquetas[4] = {QStringLiteral("PUERTO"), QStringLiteral("TAMAÑO LETRA"),
                                  QStringLiteral("CODIGO DE BARRAS"), QStringLiteral("IMPRESIÓN DE TICKET")};
    QComboBox *de[4] = {Combo2, Combo3, Combo4, Combo1};
    for (int i = 0; i < 4; ++i) {
        N[i] = new QLabel(etiquetas[i], this);
        N[i]->setObjectName(QStringLiteral("N_%1").arg(i));
        N[i]->setBuddy(de[i]);
    }
    Command1 = new QPushButton(QStringLiteral("Guardar Cambios"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto *capa = new QGridLayout(this);
    capa->addWidget(N[0], 0, 0);
    capa->addWidget(Combo2, 0, 1);
    capa->addWidget(N[3], 1, 0);
    capa->addWidget(Combo1, 1, 1);
    capa->addWidget(N[1], 2, 0);
    capa->addWidget(Combo3, 2, 1);
    capa->addWidget(N[2], 3, 0);
    capa->addWidget(Combo4, 3, 1);
    capa->addWidget(Command1, 4, 0, 1, 2, Qt::AlignCenter);
    setTabOrder(Combo2, Combo1);
    setTabOrder(Combo1, Combo3);
    setTabOrder(Combo3, Combo4);
    setTabOrder(Combo4, Command1);

    cerrarConEscape(this);

    connect(Combo2, &QComboBox::currentIndexChanged, this, [this](int) { Combo2_Click(); });
    connect(Command1, &QPushButton::clicked, this, &Form_ConfImpresion::Command1_Click);

    Form_Load();
}

void Form_ConfImpresion::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    if (!centrada_) {
        centrada_ = true;
        centrarVentana(this);
    }
    Combo2->setFocus();
}

void Form_ConfImpresion::mostrarExtras(bool mostrar) {
    Combo3->setVisible(mostrar);
    Combo4->setVisible(mostrar);
    N[1]->setVisible(mostrar);
    N[2]->setVisible(mostrar);
}

void Form_ConfImpresion::Form_Load() {
    const VistaImpresion v = abrirConfImpresion(ctx_.sesion, ruta_);
    if (!v.leido)
        return;
    mostrarTexto(Combo2, v.puerto);
    mostrarTexto(Combo1, v.impresion);
    mostrarExtras(v.extras);
    if (v.extras) {
        mostrarTexto(Combo3, v.tamletra);
        mostrarTexto(Combo4, v.codbarras);
    }
}

void Form_ConfImpresion::Combo2_Click() {
    mostrarExtras(muestraLetraYBarras(Combo2->currentText()));
}

void Form_ConfImpresion::Command1_Click() {
    if (!guardarConfImpresion(ctx_, ruta_, Combo1->currentText(), Combo2->currentText(),
                              Combo3->currentText(), Combo4->currentText())) {
        Combo2->setFocus();
        if (Combo2->lineEdit())
            Combo2->lineEdit()->selectAll();
    }
}

} // namespace corvalo
