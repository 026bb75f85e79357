// The console's CUADRE CAJA tab: the booth totals and the day result.
#include "form_gerencia.h"

#include "controles_gerencia.h"
#include "moneda.h"
#include "ventanas.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvalo {

QWidget *Form_Gerencia::crearCuadre() {
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("SSTab1_1"));
    auto *capa = new QVBoxLayout(tab);
    auto *filtros = new QHBoxLayout;
    Combo6 = lista(QStringLiteral("Combo6"), tab);
    Combo_Carreras2 = tecleable(QStringLiteral("Combo_Carreras2"), listaCarreras(true), kTodas, tab);
    Combo_Carreras3 = tecleable(QStringLiteral("Combo_Carreras3"), listaCarreras(true), kTodas, tab);
    Command3 = boton(QStringLiteral("Command3"), QStringLiteral("Pr&ocesar"), tab);
    filtros->addWidget(rotulo(QStringLiteral("&Juego"), Combo6, tab));
    filtros->addWidget(Combo6);
    filtros->addSpacing(12);
    filtros->addWidget(rotulo(QStringLiteral("Car. &Inicial"), Combo_Carreras2, tab));
    filtros->addWidget(Combo_Carreras2);
    filtros->addWidget(rotulo(QStringLiteral("Car. &Final"), Combo_Carreras3, tab));
    filtros->addWidget(Combo_Carreras3);
    filtros->addSpacing(12);
    filtros->addWidget(Command3);
    filtros->addStretch(1);
    filtros->addWidget(new QLabel(QStringLiteral("Car. Actual"), tab));
    Label_carrera2 = nombrar(new QLabel(tab), QStringLiteral("Label_carrera2"));
    Label_carrera2->setFrameShape(QFrame::Box);
    Label_carrera2->setAlignment(Qt::AlignCenter);
    Label_carrera2->setMinimumWidth(ancho(Label_carrera2, QStringLiteral("0000")));
    filtros->addWidget(Label_carrera2);
    Label_estado2 = nombrar(new QLabel(tab), QStringLiteral("Label_estado2"));
    Label_estado2->setAlignment(Qt::AlignCenter);
    Label_estado2->setMinimumWidth(ancho(Label_estado2, kCerrado + QStringLiteral("    ")));
    filtros->addWidget(Label_estado2);
    capa->addLayout(filtros);

    ListView2 = nombrar(new QTreeWidget(tab), QStringLiteral("ListView2"));
    ListView2->setRootIsDecorated(false);
    ListView2->setAlternatingRowColors(true);
    ListView2->setUniformRowHeights(true);
    ListView2->setHeaderLabels({QStringLiteral("TAQUILLA"), QStringLiteral("VENTA"),
                                QStringLiteral("PREMIOS"), QStringLiteral("POR PAGAR"),
                                QStringLiteral("SALDO"), QStringLiteral("MONTO CAJA")});
    // The columns share the tab's width.
    ListView2->header()->setStretchLastSection(false);
    ListView2->header()->setSectionResizeMode(QHeaderView::Stretch);
    ListView2->header()->setDefaultAlignment(Qt::AlignCenter);
    capa->addWidget(ListView2, 1);

    auto *pie = new QHBoxLayout;
    Image8 = boton(QStringLiteral("Image8"), QStringLiteral("IMPRIMIR RESUMEN DEL DIA"), tab);
    Image8->setEnabled(false);
    Image8->setToolTip(QStringLiteral("La impresión del resumen no está disponible en esta versión"));
    pie->addStretch(1);
    pie->addWidget(Image8);
    capa->addLayout(pie);
    return tab;
}

void Form_Gerencia::Command3_Click() {
    Limpiar_ListView2();
    FiltroCuadre f;
    f.juego = Combo6->currentText();
    f.carreraInicial = Combo_Carreras2->currentText();
    f.carreraFinal = Combo_Carreras3->currentText();
    f.moneda = moneda;
    f.captionMoneda = captionMoneda;
    if (f.juego.isEmpty())
        ctx_.dialogos.mensaje(kDebeSeleccionarJuego, kTituloVerificarDatos, Icono::Error);
    // 3, 4.
    const CuadreCaja c = procesarCuadre(ctx_, f);
    auto linea = [this](const QString &texto, const QString &tag, const std::array<QString, 5> *montos) {
        auto *item = new QTreeWidgetItem(ListView2);
        item->setText(0, texto);
        item->setData(0, Qt::UserRole, tag);
        if (montos)
            for (int k = 0; k < 5; ++k) {
                item->setText(k + 1, (*montos)[std::size_t(k)]);
                item->setTextAlignment(k + 1, Qt::AlignRight | Qt::AlignVCenter);
            }
        return item;
    };
    for (const LineaCuadre &l : c.taquillas)
        linea(l.taquilla, l.taquilla, &l.textos);
    if (!c.completo) {
        ctx_.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
        return;
    }
    // 5, 6.
    linea(QString(), QStringLiteral("Space"), nullptr);
    linea(kLineaCuadre, QStringLiteral("Line"), nullptr);
    QTreeWidgetItem *total = linea(kTotalCuadre, QStringLiteral("Total"), &c.totalesTextos);
    QFont negrita = total->font(0);
    negrita.setBold(true);
    for (int k = 0; k < 6; ++k)
        total->setFont(k, negrita);
}

void Form_Gerencia::Command4_Click() {
    list_resume_diario->clear();
    list_resume_diario->addItem(QString());
    list_resume_diario->addItems(totalDia(ctx_, moneda, captionMoneda));
}

} // namespace corvalo
