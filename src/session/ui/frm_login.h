// The login window "Acceso".
#pragma once

#include "login.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace corvalo {

class frmLogin : public QWidget {
    Q_OBJECT
public:
    frmLogin(Contexto &ctx, const OpcionesSesion &opciones, QWidget *parent = nullptr);

    QLabel *Label3, *Label_internet, *lblUserName, *lblPassword;
    QLineEdit *txtUserName, *txtPassword;
    QPushButton *cmdOK, *cmdCancel;
    QTimer *Timer1;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void Timer1_Timer();

signals:
    // The login passed: the main window opens.
    void ingresado();
    // The user cancelled, or may not use the program: it ends.
    void abandonado();

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

private:
    void mostrarIndicador();
    Contexto &ctx_;
    Login login_;
    bool cargado_ = false;
};

} // namespace corvalo
