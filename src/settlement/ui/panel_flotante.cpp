#include "panel_flotante.h"

#include <QRect>
#include <QWidget>

#include <algorithm>

void centrarEnHost(QWidget *panel, const QWidget *centro) {
    QWidget *padre = panel->parentWidget();
    if (!padre)
        return;
    const QRect area = padre->rect();
    QPoint medio = area.center();
    if (centro)
        medio = QRect(centro->mapTo(padre, QPoint(0, 0)), centro->size()).center();
    QPoint esquina(medio.x() - panel->width() / 2, medio.y() - panel->height() / 2);
    esquina.setX(std::max(area.left(), std::min(esquina.x(), area.right() + 1 - panel->width())));
    esquina.setY(std::max(area.top(), std::min(esquina.y(), area.bottom() + 1 - panel->height())));
    panel->move(esquina);
}
