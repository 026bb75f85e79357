#include "teclado.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace corvalo {

bool FiltroTeclado::eventFilter(QObject *obj, QEvent *ev) {
    if (ev->type() != QEvent::KeyPress)
        return false;
    auto *tecla = static_cast<QKeyEvent *>(ev);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter)
        return false;
    if (tecla->modifiers() & ~(Qt::KeypadModifier))
        return false;
    auto *boton = qobject_cast<QAbstractButton *>(obj);
    if (!boton || !boton->hasFocus() || !boton->isEnabled() || !boton->isVisible())
        return false;
    if (!tecla->isAutoRepeat())
        boton->click();
    return true;
}

void instalarFiltroTeclado() {
    static FiltroTeclado *filtro = nullptr;
    if (filtro)
        return;
    filtro = new FiltroTeclado(qApp);
    qApp->installEventFilter(filtro);
}

} // namespace corvalo
