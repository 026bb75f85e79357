#include "form_venta_operador.h"

#include "clientes.h"
#include "texto.h"
#include "venta_marcas.h"
#include "ventanas.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvalo {

namespace {

// Refills a list keeping the text it shows.
void rellenar(QComboBox *c, const QStringList &elementos) {
    const QString texto = c->currentText();
    const QSignalBlocker b(c);
    c->clear();
    c->addItems(elementos);
    c->setCurrentIndex(-1);
    c->setEditText(texto);
}

QComboBox *lista(const QString &nombre, QWidget *padre) {
    auto *c = new QComboBox(padre);
    c->setObjectName(nombre);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(16);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QLabel *etiqueta(const QString &texto, const QString &nombre, QWidget *companero, QWidget *padre) {
    auto *l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->setBuddy(companero);
    return l;
}

} // namespace

Form_VentaOperador::Form_VentaOperador(Contexto &ctx, ImpresionTickets *impresion, QWidget *parent,
                                       ImpresionHojas *hojas)
    : VentanaVenta(ctx, impresion, hojas, PantallaVenta::Operador, parent) {
    setObjectName(QStringLiteral("Form_VentaOperador"));
    setWindowTitle(QStringLiteral("Venta"));

    // The client and the racetrack, above the bet.
    auto *fila = new QHBoxLayout;
    Combo_Cliente = lista(QStringLiteral("Combo_Cliente"), Frame_principal);
    Text_codigo = new QLineEdit(Frame_principal);
    Text_codigo->setObjectName(QStringLiteral("Text_codigo"));
    Text_codigo->setMaximumWidth(Text_codigo->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    Combo_Hipodromo = lista(QStringLiteral("Combo_Hipodromo"), Frame_principal);
    Label_Cliente =
        etiqueta(QStringLiteral("C&LIENTE"), QStringLiteral("Label_Cliente"), Combo_Cliente, Frame_principal);
    Label_Codigo =
        etiqueta(QStringLiteral("C&ODIGO"), QStringLiteral("Label_Codigo"), Text_codigo, Frame_principal);
    Label_Hipodromo = etiqueta(QStringLiteral("H&IPODROMO"), QStringLiteral("Label_Hipodromo"),
                               Combo_Hipodromo, Frame_principal);
    fila->addWidget(Label_Cliente);
    fila->addWidget(Combo_Cliente, 3);
    fila->addWidget(Label_Codigo);
    fila->addWidget(Text_codigo, 1);
    fila->addWidget(Label_Hipodromo);
    fila->addWidget(Combo_Hipodromo, 2);
    principal_->insertLayout(2, fila);
    for (QWidget *w : std::initializer_list<QWidget *>{Combo_Cliente, Text_codigo, Combo_Hipodromo})
        w->installEventFilter(this);

    Command5 = boton(QStringLiteral("Command5"), QStringLiteral("Marcas"), Frame_principal);
    Command5->setToolTip(QStringLiteral("Marcas (F8)"));
    Command5->setFocusPolicy(Qt::NoFocus);
    filaJuegos_->insertWidget(3, Command5);

    // The Marcas entry: the horse bet on and the one it is set against, in the place of the horse,
    // and its own button in the place of boton_procesar.
    Frame_Marcas = new QFrame(Frame1);
    Frame_Marcas->setObjectName(QStringLiteral("Frame_Marcas"));
    auto *marcas = new QHBoxLayout(Frame_Marcas);
    marcas->setContentsMargins(0, 0, 0, 0);
    Label_Caballos = new QLabel(QStringLiteral("CABALLOS"), Frame1);
    Label_Caballos->setObjectName(QStringLiteral("Label_Caballos"));
    for (int i = 0; i < 2; ++i) {
        Text_datos_mk[i] = new QLineEdit(Frame_Marcas);
        Text_datos_mk[i]->setObjectName(QStringLiteral("Text_datos_mk_%1").arg(i));
        QFont f = Text_datos_mk[i]->font();
        f.setPointSize(14);
        Text_datos_mk[i]->setFont(f);
        Text_datos_mk[i]->installEventFilter(this);
        campoNumerico(Text_datos_mk[i]);
        marcas->addWidget(Text_datos_mk[i]);
    }
    Text_datos_mk[0]->setToolTip(QStringLiteral("El caballo jugado"));
    Text_datos_mk[1]->setToolTip(QStringLiteral("El caballo contra el que se juega"));
    Command8 = boton(QStringLiteral("Command8"), QStringLiteral("PROCESAR JUGADA"), Frame1);
    venta_->addWidget(Label_Caballos, 4, 0);
    venta_->addWidget(Frame_Marcas, 4, 1);
    venta_->addWidget(Command8, 5, 0, 1, 3);
    for (QWidget *w : std::initializer_list<QWidget *>{Label_Caballos, Frame_Marcas, Command8})
        w->hide();

    boton_reimprimir =
        boton(QStringLiteral("boton_reimprimir"), QStringLiteral("REIMPRIMIR"), Frame_principal);
    boton_reimprimir->setToolTip(QStringLiteral("Reimprimir el último boleto (F12)"));
    pie_->insertWidget(2, boton_reimprimir);

    connect(Combo_Cliente, &QComboBox::activated, this, [this] { Combo_Cliente_Click(); });
    connect(Combo_Hipodromo, &QComboBox::activated, this, [this] { enfocar(Text_Monto); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(boton_reimprimir, &QPushButton::clicked, this, [this] { reimprimirUltimoBoleto(); });
    connect(atajo(QKeySequence(Qt::Key_F5)), &QAction::triggered, this, [this] { Command3_Click(); });
    connect(atajo(QKeySequence(Qt::Key_F6)), &QAction::triggered, this, [this] { Command6_Click(); });
    connect(atajo(QKeySequence(Qt::Key_F7)), &QAction::triggered, this, [this] { Command2_Click(); });
    connect(atajo(QKeySequence(Qt::Key_F8)), &QAction::triggered, this, [this] { Command5_Click(); });
    connect(atajo(QKeySequence(Qt::Key_F9)), &QAction::triggered, this, [this] { NewJugada(); });
    connect(atajo(QKeySequence(Qt::Key_F12)), &QAction::triggered, this,
            [this] { reimprimirUltimoBoleto(); });
    // Escape in the bet area hides the horse panel, and otherwise closes the screen; the floating
    // panels close themselves.
    connect(atajo(QKeySequence(Qt::Key_Escape), Frame_principal), &QAction::triggered, this, [this] {
        if (Frame_Valores->isVisible())
            Image1_Click();
        else
            cerrarPantalla(this);
    });

    setTabOrder(Combo_Cliente, Text_codigo);
    setTabOrder(Text_codigo, Combo_Hipodromo);
    setTabOrder(Combo_Hipodromo, Text_datos_V1[0]);
    setTabOrder(Text_datos_V1[0], Text_Monto);
    setTabOrder(Text_Monto, Text_datos_V1[1]);
    setTabOrder(Text_datos_V1[1], Text_datos_mk[0]);
    setTabOrder(Text_datos_mk[0], Text_datos_mk[1]);
    setTabOrder(Text_datos_mk[1], Command8);

    iniciar();
    try {
        rellenar(Combo_Cliente, nombresClientes(ctx_.rs_grupos));
        rellenar(Combo_Hipodromo, nombresHipodromos(ctx_.rs_hipodromos));
    } catch (const DbError &e) {
        fallaSilenciosa(QStringLiteral("listas de clientes e hipodromos"), e);
    }
}

void Form_VentaOperador::Limpiar() {
    if (juego_actual == 4)
        for (QLineEdit *e : Text_datos_mk)
            e->clear();
    VentanaVenta::Limpiar();
}

void Form_VentaOperador::alCambiarJuego(int juego) {
    const bool marcas = juego == 4;
    Frame_Marcas->setVisible(marcas);
    Label_Caballos->setVisible(marcas);
    Command8->setVisible(marcas);
    // Marcas takes its two horses in its own boxes and sells with its own button.
    Label_Caballo->setVisible(!marcas);
    Text_datos_V1[1]->setVisible(!marcas);
    if (marcas)
        boton_procesar->hide();
    for (QLineEdit *e : Text_datos_mk)
        e->clear();
}

void Form_VentaOperador::colorearBotones(int juego) {
    VentanaVenta::colorearBotones(juego);
    Command5->setStyleSheet(
        QStringLiteral("background-color:%1;").arg(css(juego == 4 ? kAmarillo : kGrisClaro)));
}

QWidget *Form_VentaOperador::trasMonto() {
    return juego_actual == 4 ? Text_datos_mk[0] : VentanaVenta::trasMonto();
}

QWidget *Form_VentaOperador::trasCarrera() {
    // In Marcas the horse box is hidden: the race leads to the first horse.
    return juego_actual == 4 ? Text_datos_mk[0] : VentanaVenta::trasCarrera();
}

DatosJugada Form_VentaOperador::datosJugada() const {
    DatosJugada d = VentanaVenta::datosJugada();
    d.cliente = Combo_Cliente->currentText();
    if (juego_actual == 4) {
        d.caballo = Text_datos_mk[0]->text();
        d.caballo2 = Text_datos_mk[1]->text();
        d.hipodromo = Combo_Hipodromo->currentText();
    }
    return d;
}

void Form_VentaOperador::enfocarCampo(CampoVenta campo) {
    switch (campo) {
    case CampoVenta::Caballo1:
        enfocar(Text_datos_mk[0]);
        break;
    case CampoVenta::Caballo2:
        enfocar(Text_datos_mk[1]);
        break;
    case CampoVenta::Cliente:
        Combo_Cliente->setFocus();
        Combo_Cliente->lineEdit()->selectAll();
        break;
    default:
        VentanaVenta::enfocarCampo(campo);
    }
}

void Form_VentaOperador::Combo_Cliente_GotFocus() {
    rellenar(Combo_Cliente, nombresClientes(ctx_.rs_grupos));
}

void Form_VentaOperador::Combo_Cliente_Click() {
    if (const auto codigo = codigoDeCliente(ctx_.rs_grupos, Combo_Cliente->currentText())) {
        Text_codigo->setText(*codigo);
        enfocar(Text_Monto);
    }
}

void Form_VentaOperador::Text_codigo_Enter() {
    if (const auto ch = clienteDeCodigo(ctx_.rs_grupos, Text_codigo->text())) {
        Combo_Cliente->setEditText(*ch);
        enfocar(Text_Monto);
    } else if (ctx_.rs_grupos.filas() > 0) {
        Combo_Cliente->setEditText(QString());
    }
}

void Form_VentaOperador::Combo_Hipodromo_GotFocus() {
    rellenar(Combo_Hipodromo, nombresHipodromos(ctx_.rs_hipodromos));
}

void Form_VentaOperador::boton_procesar_Click() {
    if (juego_actual == 4)
        Command8_Click();
    else
        VentanaVenta::boton_procesar_Click();
}

void Form_VentaOperador::Command8_Click() {
    vender([this](const DatosJugada &d) { return VentaMarcas(ctx_, cupo_caballo, impresion_).procesar(d); });
}

bool Form_VentaOperador::eventFilter(QObject *obj, QEvent *ev) {
    const bool entra = ev->type() == QEvent::FocusIn, sale = ev->type() == QEvent::FocusOut;
    if (entra || sale) {
        // The fields being typed in stand out in yellow.
        if (obj == Text_Monto || obj == Text_datos_V1[1] || obj == Text_codigo || obj == Combo_Cliente) {
            if (entra && obj == Combo_Cliente &&
                static_cast<QFocusEvent *>(ev)->reason() != Qt::PopupFocusReason)
                Combo_Cliente_GotFocus();
            fondo(static_cast<QWidget *>(obj), entra ? kAmarillo : kBlanco);
        } else if (obj == Combo_Hipodromo) {
            if (entra && static_cast<QFocusEvent *>(ev)->reason() != Qt::PopupFocusReason)
                Combo_Hipodromo_GotFocus();
            fondo(Combo_Hipodromo, entra ? kAmarilloHipodromo : kBlanco);
        }
    } else if (ev->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(ev);
        const bool enter = (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
                           !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (obj == Text_datos_mk[0] || obj == Text_datos_mk[1])
            return teclaCaballo(static_cast<QLineEdit *>(obj), k,
                                obj == Text_datos_mk[0] ? static_cast<QWidget *>(Text_datos_mk[1])
                                                        : Command8) ||
                   VentanaVenta::eventFilter(obj, ev);
        if (enter && obj == Text_codigo) {
            Text_codigo_Enter();
            return true;
        }
        if (enter && obj == Combo_Cliente) {
            Combo_Cliente_Click();
            return true;
        }
        if (enter && obj == Combo_Hipodromo) {
            enfocar(Text_Monto);
            return true;
        }
    }
    return VentanaVenta::eventFilter(obj, ev);
}

} // namespace corvalo
