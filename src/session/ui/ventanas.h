// Placement of windows and frames, used by the screens when they open.
#pragma once

class QWidget;

namespace corvalo {

// A window in the middle of its screen (an MDI child: in the middle of its area).
void centrarVentana(QWidget *ventana);
// A frame centred horizontally on the screen, keeping its top.
void centrarMarcoEnPantalla(QWidget *marco);
// A frame in the middle of another frame.
void centrarMarcoEnMarco(QWidget *marco, QWidget *exterior);

} // namespace corvalo
