// The operator sales screen "Venta": the operator sells for client shops, chosen by name or
// number, the three games of the booth and Marcas; no payment panel and no menu.
#pragma once

#include "ventana_venta.h"

class QComboBox;

namespace corvalo {

class Form_VentaOperador : public VentanaVenta {
    Q_OBJECT
public:
    // `impresion`: the tickets (amounts in the currency format on both outputs); `hojas`: the day
    // sheets (either may be null: nothing is printed).
    Form_VentaOperador(Contexto &ctx, ImpresionTickets *impresion, QWidget *parent = nullptr,
                       ImpresionHojas *hojas = nullptr);

    void Limpiar() override;

    // Controls.
    QComboBox *Combo_Cliente, *Combo_Hipodromo;
    QLineEdit *Text_codigo;
    QLabel *Label_Cliente, *Label_Codigo, *Label_Hipodromo, *Label_Caballos;
    QPushButton *Command5, *Command8, *boton_reimprimir;
    QFrame *Frame_Marcas;
    QLineEdit *Text_datos_mk[2];

    // Handlers.
    void Combo_Cliente_GotFocus();
    void Combo_Cliente_Click();
    void Text_codigo_Enter();
    void Combo_Hipodromo_GotFocus();
    void Command5_Click() { seleccionarJuego(4, false); }
    void Command8_Click();
    void boton_procesar_Click() override;

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    void alCambiarJuego(int juego) override;
    void colorearBotones(int juego) override;
    QWidget *trasMonto() override;
    QWidget *trasCarrera() override;
    DatosJugada datosJugada() const override;
    void enfocarCampo(CampoVenta campo) override;
};

} // namespace corvalo
