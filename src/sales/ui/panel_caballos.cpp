#include "panel_caballos.h"

#include "ventanas.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace corvalo {

Frame_Caballos::Frame_Caballos(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame_Valores"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    auto *panel = new QGridLayout(this);
    Label_Carrera = nombrar(new QLabel(this), QStringLiteral("Label_Carrera"));
    Image1 = nombrar(new QLabel(QStringLiteral("✕"), this), QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("Cerrar (Esc)"));
    Image1->installEventFilter(this);
    panel->addWidget(Label_Carrera, 0, 0, 1, 2);
    panel->addWidget(Image1, 0, 2, Qt::AlignRight);
    const QString columnas[3] = {QStringLiteral("Nº"), QStringLiteral("CABALLO"), QStringLiteral("PRECIO")};
    for (int c = 0; c < 3; ++c) {
        Label_Columna[c] = nombrar(new QLabel(columnas[c], this), QStringLiteral("Label_Columna_%1").arg(c));
        QFont f = Label_Columna[c]->font();
        f.setBold(true);
        Label_Columna[c]->setFont(f);
        panel->addWidget(Label_Columna[c], 1, c);
    }
    for (int i = 0; i < 16; ++i) {
        Text_NCaballo[i] =
            nombrar(new QLineEdit(QString::number(i + 1), this), QStringLiteral("Text_NCaballo_%1").arg(i));
        Text_Caballo[i] = nombrar(new QLineEdit(this), QStringLiteral("Text_Caballo_%1").arg(i));
        Text_Valor[i] = nombrar(new QLineEdit(this), QStringLiteral("Text_Valor_%1").arg(i));
        for (QLineEdit *e : {Text_NCaballo[i], Text_Caballo[i], Text_Valor[i]}) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
        }
        Text_NCaballo[i]->setMaximumWidth(40);
        panel->addWidget(Text_NCaballo[i], i + 2, 0);
        panel->addWidget(Text_Caballo[i], i + 2, 1);
        panel->addWidget(Text_Valor[i], i + 2, 2);
    }
    Text_Total_Dinm = nombrar(new QLineEdit(this), QStringLiteral("Text_Total_Dinm"));
    Text_Total_Dinm->setReadOnly(true);
    Text_Total_Dinm->setFocusPolicy(Qt::NoFocus);
    panel->addWidget(Text_Total_Dinm, 18, 2);
    panel->setSizeConstraint(QLayout::SetMinimumSize);
}

void Frame_Caballos::prepararJuego(int juego) {
    Label_Columna[2]->setText(juego == 3 ? QStringLiteral("PUESTO") : QStringLiteral("PRECIO"));
    Text_Total_Dinm->setVisible(juego != 3);
}

void Frame_Caballos::limpiar() {
    for (int i = 0; i < 16; ++i) {
        Text_Caballo[i]->clear();
        Text_Valor[i]->clear();
    }
}

void Frame_Caballos::mostrar(const PanelCaballos &p) {
    Label_Carrera->setText(p.carrera);
    limpiar();
    for (int i = 0; i < p.filas; ++i) {
        Text_Caballo[i]->setText(p.caballos[std::size_t(i)]);
        Text_Valor[i]->setText(p.valores[std::size_t(i)]);
        Text_Valor[i]->setStyleSheet(QStringLiteral("color:black;"));
    }
    if (p.total)
        Text_Total_Dinm->setText(*p.total);
}

bool Frame_Caballos::eventFilter(QObject *obj, QEvent *ev) {
    if (obj == Image1 && ev->type() == QEvent::MouseButtonRelease) {
        emit cerrar();
        return true;
    }
    return QFrame::eventFilter(obj, ev);
}

} // namespace corvalo
