#include "frame5.h"

#include "contexto.h"
#include "ventanas.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvalo {

namespace {

// Twips of the design at 15 twips a pixel.
int pixeles(int twips) {
    return (twips + 7) / 15;
}

// The panel's place and designed size on each screen (twips).
constexpr int kIzquierda = 1920, kArriba = 720, kAlto = 6255;
int anchoPanel(PantallaVenta p) {
    return p == PantallaVenta::Taquilla ? 7215 : 8175;
}
int anchoGrilla(PantallaVenta p) {
    return p == PantallaVenta::Taquilla ? 6975 : 7935;
}
constexpr int kAltoGrilla = 4935;

} // namespace

void ModeloLista::mostrar(const ListaBoletos &l) {
    beginResetModel();
    campos_ = l.filas.columnas();
    columnas_ = l.columnas;
    filas_.clear();
    filas_.reserve(std::size_t(l.filas.filas()));
    for (int i = 0; i < l.filas.filas(); ++i) {
        QStringList f;
        for (const QString &c : campos_)
            f << textoCelda(c, l.filas.valor(i, c));
        filas_.push_back(std::move(f));
    }
    endResetModel();
}

int ModeloLista::rowCount(const QModelIndex &padre) const {
    return padre.isValid() ? 0 : int(filas_.size());
}

int ModeloLista::columnCount(const QModelIndex &padre) const {
    return padre.isValid() ? 0 : int(campos_.size());
}

QVariant ModeloLista::data(const QModelIndex &i, int rol) const {
    if (!i.isValid() || i.row() >= rowCount() || i.column() >= columnCount())
        return {};
    if (rol == Qt::DisplayRole)
        return filas_[std::size_t(i.row())].value(i.column());
    if (rol == Qt::TextAlignmentRole) {
        const AlineacionLista a = i.column() < int(columnas_.size())
                                      ? columnas_[std::size_t(i.column())].alineacion
                                      : AlineacionLista::Izquierda;
        switch (a) {
        case AlineacionLista::Derecha:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        case AlineacionLista::Centro:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case AlineacionLista::Izquierda:
            break;
        }
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation o, int rol) const {
    if (o != Qt::Horizontal || seccion < 0 || seccion >= columnCount())
        return QAbstractTableModel::headerData(seccion, o, rol);
    if (rol == Qt::DisplayRole)
        return seccion < int(columnas_.size()) ? columnas_[std::size_t(seccion)].titulo
                                               : campos_.value(seccion);
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Frame5::Frame5(Contexto &ctx, PantallaVenta pantalla, QWidget *parent)
    : QFrame(parent), ctx_(ctx), pantalla_(pantalla) {
    setObjectName(QStringLiteral("Frame5"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    Label_Titulo = nombrar(new QLabel(kTituloListas, this), QStringLiteral("Label_Titulo"));
    QFont f = Label_Titulo->font();
    f.setBold(true);
    Label_Titulo->setFont(f);
    Command20 = nombrar(new QToolButton(this), QStringLiteral("Command20"));
    Command20->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    Command20->setAutoRaise(true);
    Command20->setToolTip(QStringLiteral("Cerrar (Esc)"));
    Command20->setAccessibleName(QStringLiteral("Cerrar"));
    Command19 = boton(QStringLiteral("Command19"), QStringLiteral("&Ventas "), this);
    // Alt+P is the main window's "Pantallas", shown or not.
    Command1 = boton(QStringLiteral("Command1"), QStringLiteral("Pago&s"), this);
    DataGrid2 = nombrar(new QTableView(this), QStringLiteral("DataGrid2"));
    modelo = new ModeloLista(this);
    DataGrid2->setModel(modelo);
    DataGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid2->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid2->setAlternatingRowColors(true);
    DataGrid2->verticalHeader()->hide();
    DataGrid2->horizontalHeader()->setHighlightSections(false);
    DataGrid2->setMinimumSize(pixeles(anchoGrilla(pantalla)), pixeles(kAltoGrilla));

    auto *raiz = new QVBoxLayout(this);
    auto *arriba = new QHBoxLayout;
    arriba->addWidget(Label_Titulo, 1);
    arriba->addWidget(Command20, 0, Qt::AlignRight | Qt::AlignTop);
    raiz->addLayout(arriba);
    auto *botones = new QHBoxLayout;
    botones->addWidget(Command19);
    botones->addWidget(Command1);
    botones->addStretch(1);
    raiz->addLayout(botones);
    raiz->addWidget(DataGrid2, 1);
    hide();

    auto *escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QAction::triggered, this, [this] { Command20_Click(); });
    addAction(escape);

    connect(Command19, &QPushButton::clicked, this, [this] { Command19_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command20, &QToolButton::clicked, this, [this] { Command20_Click(); });
}

void Frame5::mostrar() {
    show();
    raise();
    anchos();
    ajustar();
    Command19->setFocus();
}

// Each column as wide as its setup says, or as its header and values need.
void Frame5::anchos() {
    QHeaderView *h = DataGrid2->horizontalHeader();
    const ColumnasLista &c = modelo->columnas();
    for (int i = 0; i < modelo->columnCount(); ++i) {
        const int disenado = i < int(c.size()) ? pixeles(c[std::size_t(i)].ancho) : 0;
        h->resizeSection(i, std::max({disenado, h->sectionSizeHint(i),
                                      static_cast<QAbstractItemView *>(DataGrid2)->sizeHintForColumn(i)}));
    }
}

// At its place on the host, as large as designed or as the grid's columns need, inside the host.
void Frame5::ajustar() {
    QWidget *padre = parentWidget();
    if (!padre || ajustando_)
        return;
    ajustando_ = true;
    QHeaderView *h = DataGrid2->horizontalHeader();
    int columnas = 0;
    for (int i = 0; i < h->count(); ++i)
        columnas += h->sectionSize(i);
    const int grilla =
        columnas + 2 * DataGrid2->frameWidth() + DataGrid2->verticalScrollBar()->sizeHint().width();
    const QMargins m = layout()->contentsMargins();
    QSize tam = sizeHint().expandedTo(QSize(pixeles(anchoPanel(pantalla_)), pixeles(kAlto)));
    tam.setWidth(std::max(tam.width(), grilla + m.left() + m.right()));
    tam = tam.boundedTo(padre->size());
    resize(tam);
    QPoint esquina(pixeles(kIzquierda), pixeles(kArriba));
    esquina.setX(std::max(0, std::min(esquina.x(), padre->width() - width())));
    esquina.setY(std::max(0, std::min(esquina.y(), padre->height() - height())));
    move(esquina);
    ajustando_ = false;
}

bool Frame5::event(QEvent *ev) {
    const bool r = QFrame::event(ev);
    if (ev->type() == QEvent::FontChange) {
        anchos();
        if (isVisible())
            ajustar();
    }
    return r;
}

void Frame5::listar(TipoLista tipo) {
    const std::optional<ListaBoletos> l = listarBoletos(ctx_, tipo, pantalla_, juego_actual_);
    if (!l)
        return; // no list for this game: the grid keeps what it shows
    modelo->mostrar(*l);
    anchos();
    ajustar();
    if (!l->mensaje.isEmpty())
        ctx_.dialogos.mensaje(l->mensaje, l->titulo, Icono::Error);
}

void Frame5::Command19_Click() {
    listar(TipoLista::Ventas);
}

void Frame5::Command1_Click() {
    listar(TipoLista::Pagos);
}

void Frame5::Command20_Click() {
    hide();
    emit cerrado();
}

} // namespace corvalo
