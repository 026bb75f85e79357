// The print settings screen "CONFIGURACION DE IMPRESIÓN".
#pragma once

#include "conf_impresion.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace corvalo {

class Form_ConfImpresion : public QWidget {
    Q_OBJECT
public:
    Form_ConfImpresion(Contexto &ctx, const QString &rutaAjustes, QWidget *parent = nullptr);

    QComboBox *Combo1, *Combo2, *Combo3, *Combo4;
    QLabel *N[4];
    QPushButton *Command1;

    void Form_Load();
    void Combo2_Click();
    void Command1_Click();

protected:
    void showEvent(QShowEvent *ev) override;

private:
    void mostrarExtras(bool mostrar);
    Contexto &ctx_;
    QString ruta_;
    bool centrada_ = false;
};

} // namespace corvalo
