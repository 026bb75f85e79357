// The horse panel of the sales screens (Frame_Valores): the race, and for each horse its name
// and its price (or its place in Los Puestos), with the total of Tablas Dinámicas. It floats over
// the screen; the screen places it, refreshes it and hides it.
#pragma once

#include "pantalla_venta.h"

#include <QFrame>

class QLabel;
class QLineEdit;

namespace corvalo {

class Frame_Caballos : public QFrame {
    Q_OBJECT
public:
    explicit Frame_Caballos(QWidget *parent);

    // Controls (objectName = member name; arrays get "_index").
    QLabel *Label_Carrera, *Image1;
    QLabel *Label_Columna[3]; // the column headings
    QLineEdit *Text_NCaballo[16], *Text_Caballo[16], *Text_Valor[16], *Text_Total_Dinm;

    // The headings and the total of a game: Los Puestos (3) shows places and no total.
    void prepararJuego(int juego);
    // Empties the names and prices.
    void limpiar();
    // Shows what the logic read.
    void mostrar(const PanelCaballos &p);

signals:
    // Image1 was clicked.
    void cerrar();

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
};

} // namespace corvalo
