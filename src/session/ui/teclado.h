// Keyboard use across the program: a focused button is pressed with Enter as well as Space.
#pragma once

#include <QObject>

namespace corvalo {

class FiltroTeclado : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
};

// Installs one filter on the application.
void instalarFiltroTeclado();

} // namespace corvalo
