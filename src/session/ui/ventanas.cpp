#include "ventanas.h"

#include "menu_principal.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace corvalo {

namespace {
QRect areaPantalla(QWidget *w) {
    QScreen *pantalla = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return pantalla ? pantalla->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

void centrarVentana(QWidget *ventana) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(ventana->parentWidget())) {
        if (QMdiArea *area = sub->mdiArea()) {
            const QSize exterior = area->viewport()->size();
            sub->move(centradoEnMarco(exterior, sub->size()));
            return;
        }
    }
    const QPoint p = centrado(areaPantalla(ventana), ventana->frameGeometry().size());
    ventana->move(p);
}

void centrarMarcoEnPantalla(QWidget *marco) {
    const QRect pantalla = areaPantalla(marco);
    const QPoint global =
        centradoHorizontal(pantalla, QRect(marco->mapToGlobal(QPoint(0, 0)), marco->size()));
    marco->move(marco->parentWidget() ? marco->parentWidget()->mapFromGlobal(global) : global);
}

void centrarMarcoEnMarco(QWidget *marco, QWidget *exterior) {
    const QPoint p = centradoEnMarco(exterior->size(), marco->size());
    if (marco->parentWidget() == exterior || !marco->parentWidget())
        marco->move(p);
    else
        marco->move(marco->parentWidget()->mapFromGlobal(exterior->mapToGlobal(p)));
}

} // namespace corvalo
