#include "form_gerencia.h"

#include "grafico_ventas.h"
#include "moneda.h"
#include "registro.h"
#include "texto.h"
#include "ventanas.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValidator>

namespace corvalo {

// The ticket rows of the search as the grid shows them.
class ModeloBoletos : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void mostrar(const Resultado &r) {
        beginResetModel();
        filas_ = r;
        endResetModel();
    }
    int rowCount(const QModelIndex &padre = {}) const override {
        return padre.isValid() ? 0 : filas_.filas();
    }
    int columnCount(const QModelIndex &padre = {}) const override {
        return padre.isValid() ? 0 : int(kColumnasBoletos.size());
    }
    QVariant data(const QModelIndex &i, int rol) const override {
        if (!i.isValid())
            return {};
        if (rol == Qt::DisplayRole) {
            const QString &columna = kColumnasBoletos[i.column()];
            if (!filas_.tieneColumna(columna))
                return QString();
            const Campo v = filas_.valor(i.row(), columna);
            if (columna == QLatin1String("estatus"))
                return nombreEstatus(v.texto());
            if (columna == QLatin1String("monto") || columna == QLatin1String("cobrado"))
                return v.texto().isEmpty() ? QString() : textoMonto(v.numero());
            return v.texto();
        }
        if (rol == Qt::TextAlignmentRole)
            return i.column() >= 8 || i.column() == 1 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                      : int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion < kEncabezadosBoletos.size())
            return kEncabezadosBoletos[seccion];
        return QAbstractTableModel::headerData(seccion, o, rol);
    }

private:
    Resultado filas_;
};

namespace {

QLineEdit *celda(const QString &nombre, QWidget *padre) {
    auto *e = nombrar(new QLineEdit(padre), nombre);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QLabel *rotulo(const QString &texto, QWidget *buddy, QWidget *padre) {
    auto *l = new QLabel(texto, padre);
    l->setBuddy(buddy);
    return l;
}

// Typed races and horses: digits, or the list's word for "all" ("TODAS", "TODOS"), in
// capitals. The same check applies to typing, pasting and dropping.
class ValidadorNumero : public QValidator {
public:
    ValidadorNumero(const QString &todos, QObject *padre) : QValidator(padre), todos_(todos) {}
    State validate(QString &texto, int &) const override {
        texto = texto.toUpper();
        if (texto.isEmpty())
            return Intermediate;
        bool digitos = texto.size() <= 3;
        for (QChar c : texto)
            digitos = digitos && c.isDigit() && c.unicode() < 128;
        if (digitos)
            return Acceptable;
        if (!todos_.isEmpty() && todos_.startsWith(texto))
            return texto == todos_ ? Acceptable : Intermediate;
        return Invalid;
    }

private:
    QString todos_;
};

QComboBox *lista(const QString &nombre, QWidget *padre) {
    auto *c = nombrar(new QComboBox(padre), nombre);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QComboBox *tecleable(const QString &nombre, const QStringList &items, const QString &todos, QWidget *padre) {
    QComboBox *c = lista(nombre, padre);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // A race is typed whole: "2" stays 2 (the list's "02"), not the "201" a completion would make.
    c->setCompleter(nullptr);
    c->addItems(items);
    c->setValidator(new ValidadorNumero(todos, c));
    c->setCurrentIndex(-1);
    c->setEditText(QString());
    return c;
}

int ancho(const QWidget *w, const QString &muestra) {
    return w->fontMetrics().horizontalAdvance(muestra) + 16;
}

} // namespace

Form_Gerencia::Form_Gerencia(Contexto &ctx, QWidget *parent)
    : QWidget(parent), ctx_(ctx),
      refresco_(std::make_unique<RefrescoPanel>(ctx.fabrica, ctx.sesion.cadena_central)) {
    setObjectName(QStringLiteral("Form_Gerencia"));
    setWindowTitle(kTituloGerencia);

    auto *raiz = new QVBoxLayout(this);
    Frame_Principal = nombrar(new QFrame(this), QStringLiteral("Frame_Principal"));
    raiz->addWidget(Frame_Principal, 1);
    auto *principal = new QVBoxLayout(Frame_Principal);
    principal->setContentsMargins(0, 0, 0, 0);
    SSTab1 = nombrar(new QTabWidget(Frame_Principal), QStringLiteral("SSTab1"));
    SSTab1->addTab(crearVenta(), QStringLiteral("&VENTA"));
    SSTab1->addTab(crearCuadre(), QStringLiteral("C&UADRE CAJA"));
    SSTab1->addTab(crearBoletos(), QStringLiteral("&BOLETOS"));
    principal->addWidget(SSTab1, 1);
    // The console currency applies to every tab, so its choice is shown beside them.
    SSTab1->setCornerWidget(Frame_Moneda, Qt::TopRightCorner);
    boton_salir = boton(QStringLiteral("boton_salir"), QStringLiteral("SA&LIR DEL SISTEMA"), Frame_Principal);
    boton_salir->setToolTip(QStringLiteral("Cerrar la consola (Esc)"));
    principal->addWidget(boton_salir, 0, Qt::AlignRight);

    // The lists filled on focus, and Enter in a filter running its tab's command.
    for (QComboBox *c : {Combo_Taquilla, Combo_SelJuego, Combo_Carreras, Combo6, Combo_Carreras2,
                         Combo_Carreras3, Combo7, Combo2, Combo1, Combo3, Combo5, Combo4}) {
        c->installEventFilter(this);
        if (c->lineEdit())
            c->lineEdit()->installEventFilter(this);
    }
    DTPicke1->installEventFilter(this);

    Timer1 = nombrar(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(3000);

    connect(SSTab1, &QTabWidget::currentChanged, this, &Form_Gerencia::SSTab1_Click);
    connect(boton_salir, &QPushButton::clicked, this, &Form_Gerencia::cerrar);
    connect(Timer1, &QTimer::timeout, this, &Form_Gerencia::Timer1_Timer);
    connect(Combo_Taquilla, &QComboBox::activated, this, [this] { Combo_Taquilla_Click(); });
    connect(Combo_SelJuego, &QComboBox::activated, this, [this] {
        Text_Etiqueta[3]->setText(encabezadoTablas(idJuego(ctx_.rs_juegos, Combo_SelJuego->currentText())));
        actualizar_ventas();
    });
    connect(Combo_Carreras->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo_Carreras_Change(); });
    connect(Combo_Carreras, &QComboBox::activated, this, [this] { Combo_Carreras_Click(); });
    connect(Command4, &QPushButton::clicked, this, &Form_Gerencia::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form_Gerencia::Command3_Click);
    connect(bton_buscar, &QPushButton::clicked, this, &Form_Gerencia::bton_buscar_Click);
    connect(Command2, &QPushButton::clicked, this, &Form_Gerencia::Command2_Click);
    connect(Combo_Carreras2, &QComboBox::activated, this, [this] {
        fijarCarreraInicial(Combo_Carreras2, Combo_Carreras3, Combo_Carreras2->currentText());
    });
    connect(Combo_Carreras2->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString &t) { fijarCarreraInicial(Combo_Carreras2, Combo_Carreras3, t); });
    connect(Combo1, &QComboBox::activated, this,
            [this] { fijarCarreraInicial(Combo1, Combo3, Combo1->currentText()); });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString &t) { fijarCarreraInicial(Combo1, Combo3, t); });
    for (QComboBox *c : {Combo_Carreras3, Combo3}) {
        bool &elegido = c == Combo3 ? finalElegido3_ : finalElegido2_;
        connect(c, &QComboBox::activated, this, [&elegido] { elegido = true; });
        connect(c->lineEdit(), &QLineEdit::textEdited, this, [&elegido] { elegido = true; });
    }
    connect(refresco_.get(), &RefrescoPanel::listo, this, &Form_Gerencia::mostrarPanel);
    connect(refresco_.get(), &RefrescoPanel::fallido, this, &Form_Gerencia::panelFallido);
    connect(refresco_.get(), &RefrescoPanel::alDiaCambiado, this, [this] { mostrarIndicador(); });

    auto atajo = [this](const QKeySequence &k, auto f) {
        auto *a = new QAction(this);
        a->setShortcut(k);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(a, &QAction::triggered, this, f);
        addAction(a);
    };
    atajo(QKeySequence(Qt::Key_Escape), [this] { cerrar(); });
    atajo(QKeySequence(Qt::CTRL | Qt::Key_1), [this] { Label_Moneda_Click(0); });
    atajo(QKeySequence(Qt::CTRL | Qt::Key_2), [this] { Label_Moneda_Click(1); });
    atajo(QKeySequence(Qt::Key_F8), [this] {
        if (detenido_)
            Frame_Timer_DblClick();
        else
            Frame_Timer_Click();
    });

    Form_Load();
    mostrarIndicador();
    // The first figures come with the window; the ticks follow every 10 seconds.
    actualizar_ventas();
    Timer1->start();
}

Form_Gerencia::~Form_Gerencia() = default;

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

void Form_Gerencia::ajustarAnchos() {
    // The design's widths in twips, at the size of the font in use (8 points at design), and
    // never narrower than the column's heading or, for the state, its longest name.
    const double escala = std::max(1.0, font().pointSizeF() / 8.0);
    QHeaderView *h = DataGrid_Tickets->horizontalHeader();
    for (int i = 0; i < int(std::size(kAnchosBoletos)); ++i) {
        const int px = int(kAnchosBoletos[i] / 15.0 * escala);
        int cabe = h->fontMetrics().horizontalAdvance(kEncabezadosBoletos[i]) + 16;
        // The states in words, whole.
        if (kColumnasBoletos[i] == QLatin1String("estatus"))
            for (int e = 0; e <= 5; ++e)
                cabe = std::max(cabe, DataGrid_Tickets->fontMetrics().horizontalAdvance(
                                          nombreEstatus(QString::number(e))) +
                                          16);
        DataGrid_Tickets->setColumnWidth(i, std::max(px, cabe));
    }
}

void Form_Gerencia::Form_Load() {
    // 1 - 7.
    const CargaGerencia c = cargarGerencia(ctx_);
    moneda = 1;
    rellenar(Combo_SelJuego, c.juegos);
    Combo_SelJuego->setCurrentIndex(Combo_SelJuego->findText(c.juego));
    Text_Etiqueta[3]->setText(encabezadoTablas(idJuego(ctx_.rs_juegos, c.juego)));
    for (QComboBox *j : {Combo6, Combo7}) {
        rellenar(j, c.juegosConTodos);
        j->setCurrentIndex(j->findText(c.juego));
    }
    for (QComboBox *t : {Combo_Taquilla, Combo2}) {
        rellenar(t, c.taquillas);
        t->setCurrentIndex(t->findText(kTodos));
    }
    if (c.fecha.isValid())
        DTPicke1->setDate(c.fecha);
    Combo_Carreras->setEditText(c.carrera);
    // The booth totals start on the whole day.
    ponerCarrera(Combo_Carreras2, kTodas);
    ponerCarrera(Combo_Carreras3, kTodas);
    Label_Carrera->setText(c.carrera);
    Label_carrera2->setText(c.carrera);
    Frame_Moneda->setVisible(c.mostrarMonedas);
    if (c.conEstado)
        mostrarEstado(c.estado);
    for (int i = 0; i < 2; ++i)
        Label_Moneda[i]->setText(c.monedas.value(i));
    Label_Moneda[1]->setVisible(c.mostrarMoneda2 && c.monedas.size() > 1);
    captionMoneda = c.captionMoneda;
    if (!captionMoneda.isEmpty())
        fondo(Label_Moneda[0], kRgbAmarillo);
}

void Form_Gerencia::rellenar(QComboBox *combo, const QStringList &lista) {
    const QString actual = combo->currentText();
    const QSignalBlocker bloqueo(combo);
    combo->clear();
    combo->addItems(lista);
    combo->setCurrentIndex(combo->findText(actual));
}

void Form_Gerencia::fijarCarreraInicial(QComboBox *inicial, QComboBox *final, const QString &carrera) {
    if (inicial->currentText() != carrera)
        inicial->setEditText(carrera);
    bool &elegido = final == Combo3 ? finalElegido3_ : finalElegido2_;
    if (!elegido)
        ponerCarrera(final, carrera);
}

void Form_Gerencia::ponerCarrera(QComboBox *combo, const QString &carrera) {
    // The list's own entry ("02" for a race typed "2"), so Up and Down go on from it.
    const QString texto = carreraDeLista(carrera);
    const int i = combo->findText(texto);
    if (i >= 0)
        combo->setCurrentIndex(i);
    if (combo->currentText() != texto)
        combo->setEditText(texto);
}

void Form_Gerencia::mostrarEstado(const EstadoCarrera &e) {
    for (QLabel *l : {Label_estado, Label_estado2}) {
        l->setText(e.estado);
        fondo(l, e.color, QStringLiteral("white"));
    }
}

void Form_Gerencia::Label_Moneda_Click(int index) {
    if (Frame_Moneda->isHidden() || Label_Moneda[index]->isHidden())
        return;
    moneda = index + 1;
    fondo(Label_Moneda[index], kRgbAmarillo);
    fondo(Label_Moneda[1 - index], kRgbBlanco);
    captionMoneda = Label_Moneda[index]->text();
}

void Form_Gerencia::SSTab1_Click(int tab) {
    if (tab == 0) {
        if (!detenido_)
            Timer1->start();
    } else {
        Timer1->stop();
        descartarPendientes();
    }
    // The keyboard goes on in the tab's first filter, where Enter runs the tab's command.
    QWidget *primero = tab == 0
                           ? static_cast<QWidget *>(Combo_Taquilla)
                           : (tab == 1 ? static_cast<QWidget *>(Combo6) : static_cast<QWidget *>(DTPicke1));
    QTimer::singleShot(0, primero, [primero] { primero->setFocus(Qt::TabFocusReason); });
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

void Form_Gerencia::Combo_Taquilla_GotFocus() {
    rellenar(Combo_Taquilla, listaTaquillas(ctx_.rs_usuarios, ctx_.sesion.grupo));
    fondo(Combo_Taquilla, kRgbAmarilloClaro);
}

void Form_Gerencia::Combo_SelJuego_GotFocus() {
    rellenar(Combo_SelJuego, listaJuegos(ctx_.rs_juegos, false));
    fondo(Combo_SelJuego, kRgbAmarilloClaro);
    Text_Etiqueta[3]->setText(encabezadoTablas(idJuego(ctx_.rs_juegos, Combo_SelJuego->currentText())));
}

void Form_Gerencia::Combo2_GotFocus() {
    rellenar(Combo2, listaTaquillas(ctx_.rs_usuarios, ctx_.sesion.grupo));
    fondo(Combo2, kRgbAmarilloClaro);
}

void Form_Gerencia::Combo6_GotFocus() {
    rellenar(Combo6, listaJuegos(ctx_.rs_juegos, true));
    fondo(Combo6, kRgbAmarilloClaro);
}

void Form_Gerencia::Combo7_GotFocus() {
    rellenar(Combo7, listaJuegos(ctx_.rs_juegos, true));
    fondo(Combo7, kRgbAmarilloClaro);
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
    // 1. Every later tick comes after 10 seconds.
    Timer1->setInterval(10000);
    PedidoPanel p;
    p.tipo = PedidoPanel::Tipo::Refresco;
    p.taquilla = Combo_Taquilla->currentText();
    p.moneda = moneda;
    p.grupo = ctx_.sesion.grupo;
    p.captionMoneda = captionMoneda;
    if (!refresco_)
        return;
    // 4.
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
    // 8. Rows below the race's last horse are emptied.
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
        // 9.
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

void Form_Gerencia::Command3_Click() {
    // 1.
    Limpiar_ListView2();
    FiltroCuadre f;
    f.juego = Combo6->currentText();
    f.carreraInicial = Combo_Carreras2->currentText();
    f.carreraFinal = Combo_Carreras3->currentText();
    f.moneda = moneda;
    f.captionMoneda = captionMoneda;
    // 2.
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
    // 2.
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
    // 9.
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

bool Form_Gerencia::eventFilter(QObject *obj, QEvent *ev) {
    switch (ev->type()) {
    case QEvent::MouseButtonRelease:
        if (obj == Label_Moneda[0] || obj == Label_Moneda[1]) {
            Label_Moneda_Click(obj == Label_Moneda[0] ? 0 : 1);
            return true;
        }
        if (obj == Frame_Timer || obj == Label_Timer) {
            // A double click comes as press, release, double click, release: the release that
            // ends it is not a new click.
            if (trasDobleClic_)
                trasDobleClic_ = false;
            else
                Frame_Timer_Click();
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (obj == Frame_Timer || obj == Label_Timer) {
            trasDobleClic_ = true;
            Frame_Timer_DblClick();
            return true;
        }
        break;
    case QEvent::FocusOut:
        // A race typed into a range takes the list's form when the cursor leaves it.
        if (static_cast<QFocusEvent *>(ev)->reason() != Qt::PopupFocusReason && obj != Combo_Carreras &&
            obj != Combo_Carreras->lineEdit())
            if (QComboBox *c = carreraDe(obj))
                ponerCarrera(c, c->currentText());
        break;
    case QEvent::FocusIn: {
        // The lists are filled afresh each time they get the focus (not when their own list
        // closes).
        if (static_cast<QFocusEvent *>(ev)->reason() == Qt::PopupFocusReason)
            break;
        if (obj == Combo_Taquilla)
            Combo_Taquilla_GotFocus();
        else if (obj == Combo_SelJuego)
            Combo_SelJuego_GotFocus();
        else if (obj == Combo2)
            Combo2_GotFocus();
        else if (obj == Combo6)
            Combo6_GotFocus();
        else if (obj == Combo7)
            Combo7_GotFocus();
        break;
    }
    case QEvent::KeyPress: {
        const int tecla = static_cast<QKeyEvent *>(ev)->key();
        if (tecla == Qt::Key_Up || tecla == Qt::Key_Down) {
            // Up and Down go on from the race shown, also when it was typed ("2" is "02").
            if (QComboBox *c = carreraDe(obj); c && !c->view()->isVisible()) {
                const int i = c->findText(carreraDeLista(c->currentText()));
                if (i >= 0 && i != c->currentIndex()) {
                    const QSignalBlocker bloqueo(c);
                    c->setCurrentIndex(i);
                }
            }
            break;
        }
        if (tecla != Qt::Key_Return && tecla != Qt::Key_Enter)
            break;
        auto *w = qobject_cast<QWidget *>(obj);
        if (!w)
            break;
        auto *combo = qobject_cast<QComboBox *>(w);
        if (!combo)
            combo = qobject_cast<QComboBox *>(w->parentWidget());
        if (combo && combo->view()->isVisible())
            break; // Enter picks from the open list
        if (SSTab1->currentWidget()->isAncestorOf(w)) {
            if (SSTab1->currentIndex() == 1) {
                Command3->click();
                return true;
            }
            if (SSTab1->currentIndex() == 2) {
                bton_buscar->click();
                return true;
            }
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(obj, ev);
}

QComboBox *Form_Gerencia::carreraDe(QObject *obj) const {
    auto *w = qobject_cast<QWidget *>(obj);
    if (!w)
        return nullptr;
    auto *c = qobject_cast<QComboBox *>(w);
    if (!c)
        c = qobject_cast<QComboBox *>(w->parentWidget());
    for (QComboBox *r : {Combo_Carreras, Combo_Carreras2, Combo_Carreras3, Combo1, Combo3})
        if (c == r)
            return c;
    return nullptr;
}

void Form_Gerencia::cerrar() {
    cerrarPantalla(this);
}

void Form_Gerencia::closeEvent(QCloseEvent *ev) {
    Timer1->stop();
    ev->accept();
    if (cerrada_)
        return;
    cerrada_ = true;
    // A refresh still waiting on the server is left to end on its own.
    disconnect(refresco_.get(), nullptr, this, nullptr);
    refresco_.reset();
    emit cerrada();
}

} // namespace corvalo
