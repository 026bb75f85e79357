// The splash window: the banner for three seconds, then the central connection and the login.
#pragma once

#include "opciones.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace corvalo {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent = nullptr);

    std::function<void()> mostrarLogin; // after Timer2
    std::function<void()> terminar;     // a key pressed

    QLabel *Image1, *Label3, *Label_version;
    QTimer *Timer2;

    void Timer2_Timer();

protected:
    void keyPressEvent(QKeyEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

private:
    Contexto &ctx_;
    const OpcionesSesion &opciones_;
};

} // namespace corvalo
