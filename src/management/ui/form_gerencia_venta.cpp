// The console's VENTA tab: the live sales of a race, its panel and its refresh.
#include "form_gerencia.h"

#include "controles_gerencia.h"
#include "grafico_ventas.h"
#include "moneda.h"
#include "registro.h"
#include "texto.h"
#include "ventanas.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvalo {

QWidget *Form_Gerencia::crearVenta() {
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("SSTab1_0"));
    auto *capa = new QVBoxLayout(tab);

    // Filters, currency and the race.
    auto *filtros = new QHBoxLayout;
    Combo_Taquilla = lista(QStringLiteral("Combo_Taquilla"), tab);
    Combo_SelJuego = lista(QStringLiteral("Combo_SelJuego"), tab);
    filtros->addWidget(rotulo(QStringLiteral("Ta&quilla"), Combo_Taquilla, tab));
    filtros->addWidget(Combo_Taquilla);
    filtros->addSpacing(12);
    filtros->addWidget(rotulo(QStringLiteral("&Juego"), Combo_SelJuego, tab));
    filtros->addWidget(Combo_SelJuego);
    filtros->addSpacing(12);
    Frame_Moneda = nombrar(new QFrame(tab), QStringLiteral("Frame_Moneda"));
    auto *monedas = new QHBoxLayout(Frame_Moneda);
    monedas->setContentsMargins(4, 2, 4, 2);
    monedas->addWidget(new QLabel(QStringLiteral("Moneda"), Frame_Moneda));
    for (int i = 0; i < 2; ++i) {
        Label_Moneda[i] = nombrar(new QLabel(Frame_Moneda), QStringLiteral("Label_Moneda_%1").arg(i));
        Label_Moneda[i]->setAlignment(Qt::AlignCenter);
        Label_Moneda[i]->setFrameShape(QFrame::Box);
        Label_Moneda[i]->setMinimumWidth(ancho(Label_Moneda[i], QStringLiteral("BS  ")));
        Label_Moneda[i]->setToolTip(QStringLiteral("Ctrl+%1").arg(i + 1));
        Label_Moneda[i]->installEventFilter(this);
        fondo(Label_Moneda[i], kRgbBlanco);
        monedas->addWidget(Label_Moneda[i]);
    }
    filtros->addStretch(1);
    capa->addLayout(filtros);

    auto *carrera = new QHBoxLayout;
    Combo_Carreras = tecleable(QStringLiteral("Combo_Carreras"), listaCarreras(false), QString(), tab);
    carrera->addWidget(rotulo(QStringLiteral("Carr&era"), Combo_Carreras, tab));
    carrera->addWidget(Combo_Carreras);
    carrera->addSpacing(12);
    carrera->addWidget(new QLabel(QStringLiteral("Carrera Actual"), tab));
    Label_Carrera = nombrar(new QLabel(tab), QStringLiteral("Label_Carrera"));
    Label_Carrera->setFrameShape(QFrame::Box);
    Label_Carrera->setAlignment(Qt::AlignCenter);
    Label_Carrera->setMinimumWidth(ancho(Label_Carrera, QStringLiteral("0000")));
    carrera->addWidget(Label_Carrera);
    Label_estado = nombrar(new QLabel(tab), QStringLiteral("Label_estado"));
    Label_estado->setAlignment(Qt::AlignCenter);
    Label_estado->setMinimumWidth(ancho(Label_estado, kCerrado + QStringLiteral("    ")));
    carrera->addWidget(Label_estado);
    carrera->addStretch(1);
    Frame_Timer = nombrar(new QFrame(tab), QStringLiteral("Frame_Timer"));
    Frame_Timer->setFrameShape(QFrame::Box);
    Frame_Timer->setToolTip(
        QStringLiteral("Clic: detener la actualización · Doble clic: reanudarla (F8 alterna)"));
    auto *capaTimer = new QHBoxLayout(Frame_Timer);
    capaTimer->setContentsMargins(6, 2, 6, 2);
    Label_Timer = nombrar(new QLabel(Frame_Timer), QStringLiteral("Label_Timer"));
    Label_Timer->setAlignment(Qt::AlignCenter);
    Label_Timer->setMinimumWidth(ancho(Label_Timer, QStringLiteral("SIN ACTUALIZAR DESDE 00:00:00")));
    capaTimer->addWidget(Label_Timer);
    Frame_Timer->installEventFilter(this);
    Label_Timer->installEventFilter(this);
    carrera->addWidget(Frame_Timer);
    capa->addLayout(carrera);

    // The panel and the chart side by side.
    auto *centro = new QHBoxLayout;
    auto *panel = new QFrame(tab);
    panel->setObjectName(QStringLiteral("Frame_Panel"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *capaPanel = new QVBoxLayout(panel);
    rejilla_ = new QGridLayout;
    rejilla_->setHorizontalSpacing(2);
    rejilla_->setVerticalSpacing(1);
    const std::pair<int, QString> encabezados[] = {{0, QStringLiteral("Nº")},
                                                   {1, QStringLiteral("CABALLO")},
                                                   {3, QStringLiteral("TABLAS")},
                                                   {2, QStringLiteral("MONTO")}};
    int columna = 0;
    for (const auto &[indice, texto] : encabezados) {
        auto *l = nombrar(new QLabel(texto, panel), QStringLiteral("Text_Etiqueta_%1").arg(indice));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Raised);
        Text_Etiqueta[indice] = l;
        rejilla_->addWidget(l, 0, columna++);
    }
    Text_Etiqueta[4] = nullptr;
    rejilla_->setColumnStretch(1, 1);
    capaPanel->addLayout(rejilla_);
    filasPanel(kFilasPanel);
    auto *pie = new QHBoxLayout;
    Text_Etiqueta[5] = nombrar(new QLabel(QStringLiteral("TOTAL  ") + QString(40, QLatin1Char('-')), panel),
                               QStringLiteral("Text_Etiqueta_5"));
    Text_TotalBs = celda(QStringLiteral("Text_TotalBs"), panel);
    Text_TotalBs->setAlignment(Qt::AlignRight);
    Text_TotalBs->setMinimumWidth(ancho(Text_TotalBs, QStringLiteral("Bs.S 99.999.999,99")));
    QFont negrita = Text_TotalBs->font();
    negrita.setBold(true);
    Text_TotalBs->setFont(negrita);
    pie->addWidget(Text_Etiqueta[5], 1);
    pie->addWidget(Text_TotalBs);
    capaPanel->addLayout(pie);
    capaPanel->addStretch(1);
    centro->addWidget(panel, 0);
    Grafico_Ventas = new GraficoVentas(tab);
    centro->addWidget(Grafico_Ventas, 1);
    capa->addLayout(centro, 1);

    // The day result.
    auto *dia = new QHBoxLayout;
    Command4 = boton(QStringLiteral("Command4"), QStringLiteral("T&otal Día"), tab);
    list_resume_diario = nombrar(new QListWidget(tab), QStringLiteral("list_resume_diario"));
    list_resume_diario->setFocusPolicy(Qt::NoFocus);
    // The lines align their amounts with blanks.
    QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fija.setPointSizeF(list_resume_diario->font().pointSizeF());
    list_resume_diario->setFont(fija);
    list_resume_diario->setMinimumWidth(
        ancho(list_resume_diario, QStringLiteral("Monto Cobrado :           Bs.S 99.999.999,99")));
    list_resume_diario->setFixedHeight(list_resume_diario->fontMetrics().height() * 4 + 12);
    dia->addWidget(Command4, 0, Qt::AlignTop);
    dia->addWidget(list_resume_diario, 0);
    dia->addStretch(1);
    capa->addLayout(dia);
    return tab;
}

void Form_Gerencia::filasPanel(int n) {
    QWidget *panel = Text_Etiqueta[0]->parentWidget();
    while (int(Text_Caballo.size()) < n) {
        const int i = int(Text_Caballo.size());
        Text_NCaballo.push_back(celda(QStringLiteral("Text_NCaballo_%1").arg(i), panel));
        Text_Caballo.push_back(celda(QStringLiteral("Text_Caballo_%1").arg(i), panel));
        Text_puesto.push_back(celda(QStringLiteral("Text_puesto_%1").arg(i), panel));
        Text_MontoBsf.push_back(celda(QStringLiteral("Text_MontoBsf_%1").arg(i), panel));
        Text_NCaballo[std::size_t(i)]->setText(QString::number(i + 1));
        Text_NCaballo[std::size_t(i)]->setAlignment(Qt::AlignCenter);
        Text_NCaballo[std::size_t(i)]->setFixedWidth(
            ancho(Text_NCaballo[std::size_t(i)], QStringLiteral("000")));
        Text_Caballo[std::size_t(i)]->setMinimumWidth(
            ancho(Text_Caballo[std::size_t(i)], kCaballoRetirado + QStringLiteral("  ")));
        Text_puesto[std::size_t(i)]->setAlignment(Qt::AlignCenter);
        Text_puesto[std::size_t(i)]->setMinimumWidth(
            ancho(Text_puesto[std::size_t(i)], QStringLiteral("4p5nini ")));
        Text_MontoBsf[std::size_t(i)]->setAlignment(Qt::AlignRight);
        Text_MontoBsf[std::size_t(i)]->setMinimumWidth(
            ancho(Text_MontoBsf[std::size_t(i)], QStringLiteral("99999999.99")));
        rejilla_->addWidget(Text_NCaballo[std::size_t(i)], i + 1, 0);
        rejilla_->addWidget(Text_Caballo[std::size_t(i)], i + 1, 1);
        rejilla_->addWidget(Text_puesto[std::size_t(i)], i + 1, 2);
        rejilla_->addWidget(Text_MontoBsf[std::size_t(i)], i + 1, 3);
    }
}

void Form_Gerencia::mostrarEstado(const EstadoCarrera &e) {
    for (QLabel *l : {Label_estado, Label_estado2}) {
        l->setText(e.estado);
        fondo(l, e.color, QStringLiteral("white"));
    }
}

void Form_Gerencia::Frame_Timer_Click() {
    detenido_ = true;
    Timer1->stop();
    // What was asked before the stop does not change the panel after it.
    descartarPendientes();
    mostrarIndicador();
}

void Form_Gerencia::Frame_Timer_DblClick() {
    detenido_ = false;
    Timer1->start();
    mostrarIndicador();
    // The current race comes back at once, not at the next tick.
    actualizar_ventas();
}

void Form_Gerencia::descartarPendientes() {
    if (refresco_)
        vigente_ = refresco_->siguiente();
}

void Form_Gerencia::mostrarIndicador() {
    if (detenido_) {
        fondo(Frame_Timer, kRgbRojo, QStringLiteral("white"));
        Label_Timer->setText(QStringLiteral("DETENIDO"));
    } else if (refresco_ && refresco_->alDia()) {
        fondo(Frame_Timer, kRgbVerde);
        Label_Timer->setText(leidoA_.isEmpty() ? QStringLiteral("ACTUALIZANDO")
                                               : QStringLiteral("ACTUALIZADO ") + leidoA_);
    } else {
        fondo(Frame_Timer, kRgbSinActualizar);
        Label_Timer->setText(leidoA_.isEmpty() ? QStringLiteral("SIN DATOS DEL SERVIDOR")
                                               : QStringLiteral("SIN ACTUALIZAR DESDE ") + leidoA_);
    }
}

void Form_Gerencia::avisoJuego() {
    // One box at a time: a tick while it is open does not stack another.
    if (avisando_)
        return;
    avisando_ = true;
    ctx_.dialogos.mensaje(kDebeSeleccionarJuego, kTituloVerificarDatos, Icono::Error);
    avisando_ = false;
}

void Form_Gerencia::actualizar_ventas() {
    // Every later tick comes after 10 seconds.
    Timer1->setInterval(10000);
    PedidoPanel p;
    p.tipo = PedidoPanel::Tipo::Refresco;
    p.taquilla = Combo_Taquilla->currentText();
    p.moneda = moneda;
    p.grupo = ctx_.sesion.grupo;
    p.captionMoneda = captionMoneda;
    if (!refresco_)
        return;
    const QString juego = Combo_SelJuego->currentText();
    if (juego.isEmpty())
        avisoJuego();
    else
        p.juego = idJuego(ctx_.rs_juegos, juego);
    refresco_->pedir(p);
}

void Form_Gerencia::Combo_Carreras_Change() {
    if (!refresco_)
        return;
    // A race typed stays on the panel: the automatic refresh stops (the indicator says so) until
    // a double click or F8 brings the current race back.
    if (!detenido_)
        Frame_Timer_Click();
    PedidoPanel p;
    p.tipo = PedidoPanel::Tipo::Consulta;
    p.carrera = Combo_Carreras->currentText();
    p.grupo = ctx_.sesion.grupo;
    try {
        p.fecha = fechaDeTexto(ctx_.configuracion(QStringLiteral("fecha")).texto());
        mostrarEstado(estadoCarrera(ctx_.rs_configuracion, kRgbCarreraAbierta));
    } catch (const DbError &e) {
        registrarFalla(lcGerencia(), &ctx_.sesion, kPantallaGerencia, QStringLiteral("consultar la carrera"),
                       e);
        return;
    }
    // Only the answer for the race now typed is shown.
    vigente_ = refresco_->pedir(p);
}

void Form_Gerencia::mostrarPanel(const PanelVentas &p) {
    fallando_ = false;
    // An answer to a request made before a stop, a tab change or a newer race typed no longer
    // matches what is on screen.
    const bool consulta = p.tipo == PedidoPanel::Tipo::Consulta;
    if (p.numero < vigente_ ||
        (consulta && carreraDeLista(p.carrera) != carreraDeLista(Combo_Carreras->currentText())) ||
        (!consulta && SSTab1->currentIndex() != 0)) {
        mostrarIndicador();
        return;
    }
    if (!p.falloLimites.isEmpty())
        registrarFalla(lcGerencia(), &ctx_.sesion, kPantallaGerencia,
                       QStringLiteral("leer los límites del gráfico"), p.falloLimites);
    const int n = int(p.filas.size());
    filasPanel(n);
    const bool refresco = p.tipo == PedidoPanel::Tipo::Refresco;
    if (refresco) {
        // 1 - 5. The settings read are the console's settings from now on.
        ctx_.rs_configuracion = p.configuracion;
        Label_Carrera->setText(p.carrera);
        Label_carrera2->setText(p.carrera);
        Combo_Carreras->setEditText(p.carrera);
        mostrarEstado(p.estado);
        Text_Etiqueta[3]->setText(encabezadoTablas(p.juego));
    }
    // Rows below the race's last horse are emptied.
    for (int i = 0; i < int(Text_Caballo.size()); ++i) {
        const std::size_t k = std::size_t(i);
        if (i < n) {
            Text_Caballo[k]->setText(p.filas[k].caballo);
            Text_MontoBsf[k]->setText(p.filas[k].monto);
            if (refresco)
                Text_puesto[k]->setText(p.filas[k].puesto);
        } else {
            Text_Caballo[k]->clear();
            Text_MontoBsf[k]->clear();
            Text_puesto[k]->clear();
        }
        const bool visible = i < kFilasPanel || i < n;
        for (QLineEdit *e : {Text_NCaballo[k], Text_Caballo[k], Text_puesto[k], Text_MontoBsf[k]})
            e->setVisible(visible);
        Text_Caballo[k]->setCursorPosition(0);
    }
    if (refresco) {
        Text_TotalBs->setText(p.totalTexto);
        Grafico_Ventas->mostrar(p, captionMoneda);
        leidoA_ = ctx_.reloj.ahora().time().toString(QStringLiteral("HH:mm:ss"));
    }
    mostrarIndicador();
}

void Form_Gerencia::panelFallido(const PedidoPanel &p, const QString &error) {
    // The panel keeps its figures; the indicator shows they are old. One log line for each
    // spell of failures.
    if (!fallando_)
        registrarFalla(lcGerencia(), &ctx_.sesion, kPantallaGerencia,
                       p.tipo == PedidoPanel::Tipo::Refresco ? QStringLiteral("actualizar la venta")
                                                             : QStringLiteral("consultar la carrera"),
                       error);
    fallando_ = true;
    mostrarIndicador();
}

void Form_Gerencia::Limpiar_ListView2() {
    ListView2->clear();
}

} // namespace corvalo
