// The console's BOLETOS tab: the ticket search and its list.
#include "form_gerencia.h"

#include "controles_gerencia.h"
#include "modelo_boletos.h"
#include "moneda.h"
#include "ventanas.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace corvalo {

QWidget *Form_Gerencia::crearBoletos() {
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("SSTab1_2"));
    auto *capa = new QVBoxLayout(tab);
    auto *visualizar = new QGroupBox(QStringLiteral("VISUALIZAR "), tab);
    visualizar->setObjectName(QStringLiteral("Frame_Visualizar"));
    auto *g = new QGridLayout(visualizar);
    DTPicke1 = nombrar(new QDateEdit(visualizar), QStringLiteral("DTPicke1"));
    DTPicke1->setCalendarPopup(true);
    DTPicke1->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    Combo7 = lista(QStringLiteral("Combo7"), visualizar);
    Combo2 = lista(QStringLiteral("Combo2"), visualizar);
    Combo1 = tecleable(QStringLiteral("Combo1"), listaCarreras(true), kTodas, visualizar);
    Combo3 = tecleable(QStringLiteral("Combo3"), listaCarreras(true), kTodas, visualizar);
    QStringList caballos;
    for (int i = 1; i <= 17; ++i)
        caballos << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    caballos << kTodos;
    Combo5 = tecleable(QStringLiteral("Combo5"), caballos, kTodos, visualizar);
    Combo4 = lista(QStringLiteral("Combo4"), visualizar);
    Combo4->addItems(tiposDeTicket());
    Combo1->setEditText(kTodas);
    Combo3->setEditText(kTodas);
    Combo5->setEditText(kTodos);
    bton_buscar = boton(QStringLiteral("bton_buscar"), QStringLiteral("BU&SCAR"), visualizar);
    bton_buscar->setToolTip(QStringLiteral("Buscar (Enter en cualquier filtro)"));
    const std::pair<QString, QWidget *> campos[] = {
        {QStringLiteral("FEC&HA"), DTPicke1},       {QStringLiteral("&JUEGO"), Combo7},
        {QStringLiteral("TA&QUILLA"), Combo2},      {QStringLiteral("CAR &I."), Combo1},
        {QStringLiteral("CAR &F."), Combo3},        {QStringLiteral("CAB"), Combo5},
        {QStringLiteral("TIPO DE TIC&KET"), Combo4}};
    int col = 0;
    for (const auto &[texto, control] : campos) {
        g->addWidget(rotulo(texto, control, visualizar), 0, col);
        g->addWidget(control, 1, col);
        ++col;
    }
    g->addWidget(bton_buscar, 1, col);
    g->setColumnStretch(col + 1, 1);
    auto *leyenda = new QHBoxLayout;
    for (const QString &t : {QStringLiteral("1-Ganador  Por Pagar "), QStringLiteral("2-Ganador Pagado"),
                             QStringLiteral("3-Retirado Pagado"), QStringLiteral("4-Retirado Por Pagar"),
                             QStringLiteral("5-Empate Por Pagar")})
        leyenda->addWidget(new QLabel(t, visualizar));
    leyenda->addStretch(1);
    g->addLayout(leyenda, 2, 0, 1, col + 2);
    capa->addWidget(visualizar);

    DataGrid_Tickets = nombrar(new QTableView(tab), QStringLiteral("DataGrid_Tickets"));
    modelo_ = new ModeloBoletos(DataGrid_Tickets);
    DataGrid_Tickets->setModel(modelo_);
    DataGrid_Tickets->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid_Tickets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid_Tickets->setAlternatingRowColors(true);
    DataGrid_Tickets->verticalHeader()->setVisible(false);
    DataGrid_Tickets->verticalHeader()->setDefaultSectionSize(DataGrid_Tickets->fontMetrics().height() + 6);
    capa->addWidget(DataGrid_Tickets, 1);
    ajustarAnchos();

    auto *totales = new QHBoxLayout;
    const QString titulos[4] = {QStringLiteral("VENTA"), QStringLiteral("PAGADO"), QStringLiteral("SALDO"),
                                QStringLiteral("POR PAGAR")};
    for (int i = 0; i < 4; ++i) {
        Text_datos2[i] = celda(QStringLiteral("Text_datos2_%1").arg(i), tab);
        Text_datos2[i]->setAlignment(Qt::AlignRight);
        Text_datos2[i]->setMinimumWidth(ancho(Text_datos2[i], QStringLiteral("999999999.99")));
        totales->addWidget(new QLabel(titulos[i], tab));
        totales->addWidget(Text_datos2[i]);
        totales->addSpacing(8);
    }
    totales->addStretch(1);
    Command2 = boton(QStringLiteral("Command2"), QStringLiteral("I&MPRIMIR"), tab);
    Command2->setVisible(false);
    totales->addWidget(Command2);
    capa->addLayout(totales);
    return tab;
}

void Form_Gerencia::bton_buscar_Click() {
    FiltroBoletos f;
    f.fecha = DTPicke1->date();
    f.juego = Combo7->currentText();
    f.taquilla = Combo2->currentText();
    f.carreraInicial = Combo1->currentText();
    f.carreraFinal = Combo3->currentText();
    f.caballo = Combo5->currentText();
    f.tipo = Combo4->currentText();
    f.moneda = moneda;
    if (f.juego.isEmpty())
        ctx_.dialogos.mensaje(kDebeSeleccionarJuego, kTituloVerificarDatos, Icono::Error);
    const BusquedaBoletos b = buscarBoletos(ctx_, f);
    if (b.conDetalle) {
        modelo_->mostrar(b.filas);
        ajustarAnchos();
    }
    if (b.conTotales)
        for (int i = 0; i < 4; ++i)
            Text_datos2[i]->setText(b.totales[std::size_t(i)]);
    if (b.fallo) {
        // What the printout would show is not this list.
        Command2->setVisible(false);
        ctx_.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
        return;
    }
    if (b.filas.filas() == 0) {
        ctx_.dialogos.mensaje(kSinRegistros, kTituloBusqueda, Icono::Informacion);
        Command2->setVisible(false);
        return;
    }
    Command2->setVisible(b.imprimir());
    if (b.falloCopia)
        ctx_.dialogos.mensaje(kSinCopiaLocal, kTituloCopiaLocal, Icono::Exclamacion);
}

void Form_Gerencia::Command2_Click() {
    ctx_.sesion.tipo_reporte = 6; // the ticket list's own report (2 is the cancelled tickets')
    emit imprimirJugadas();
}

} // namespace corvalo
