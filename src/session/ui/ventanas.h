// Placement of windows and frames, used by the screens when they open, and what every screen
// shares as a child window: closing, Escape and the program's icon.
#pragma once

class QIcon;
class QWidget;

namespace corvalo {

// A window in the middle of its screen (an MDI child: in the middle of its area).
void centrarVentana(QWidget *ventana);
// A frame centred horizontally on the screen, keeping its top.
void centrarMarcoEnPantalla(QWidget *marco);
// A frame in the middle of another frame.
void centrarMarcoEnMarco(QWidget *marco, QWidget *exterior);

// Closes a screen: inside the main window its child window closes, and with it the screen.
void cerrarPantalla(QWidget *pantalla);
// Escape anywhere inside the screen closes it.
void cerrarConEscape(QWidget *pantalla);

// The program's own icon, drawn: a horseshoe on the green of the track.
QIcon iconoPrograma();

// Qt's own Spanish translations (Debian's qt6-translations-l10n), so the standard dialogs (save
// as PDF, print, the date picker) speak the program's language. False when they are not
// installed; the dialogs then stay in English.
bool instalarTraduccionesQt();

} // namespace corvalo
