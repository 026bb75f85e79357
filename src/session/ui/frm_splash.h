// The splash window: the banner for three seconds, then the central connection and the login.
#pragma once

#include "opciones.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace corvalo {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent = nullptr);

    QLabel *Image1, *Label3, *Label_version;
    QTimer *Timer2;

    void Timer2_Timer();

signals:
    // The banner's time is up and the central connection was opened: the login shows next.
    void listo();
    // A key was pressed on the banner: the program ends.
    void interrumpido();

protected:
    void keyPressEvent(QKeyEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

private:
    Contexto &ctx_;
    const OpcionesSesion &opciones_;
};

} // namespace corvalo
