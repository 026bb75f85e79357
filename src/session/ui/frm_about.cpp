#include "frm_about.h"

#include "sesion.h"
#include "ventanas.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvalo {

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ACERCA CORVALO"));
    setWindowIcon(iconoPrograma());
    lblTitle = new QLabel(QStringLiteral("Corvalo"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont f = lblTitle->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 6);
    lblTitle->setFont(f);
    lblVersion = new QLabel(kBanner, this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(kDescripcionFabricante, this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    auto *capa = new QVBoxLayout(this);
    capa->addWidget(lblTitle, 0, Qt::AlignCenter);
    capa->addWidget(lblVersion, 0, Qt::AlignCenter);
    capa->addWidget(lblDescription);
    auto *fila = new QHBoxLayout;
    fila->addStretch();
    fila->addWidget(cmdOK);
    capa->addLayout(fila);
}

void frmAbout::showEvent(QShowEvent *ev) {
    QDialog::showEvent(ev);
    centrarVentana(this);
    cmdOK->setFocus();
}

} // namespace corvalo
