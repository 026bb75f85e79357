// What every screen is built with: named controls, buttons, colours; the placement of windows
// and frames when they open; and what every screen shares as a child window: closing, Escape
// and the program's icon.
#pragma once

#include "color.h"
#include "plataforma.h"

#include <QString>

#include <exception>
#include <functional>

class QIcon;
class QPushButton;
class QWidget;

namespace corvalo {

// A control with its objectName, which the tests and the style sheets find it by.
template <typename W> W *nombrar(W *w, const QString &nombre) {
    w->setObjectName(nombre);
    return w;
}
// A named push button that Enter presses when it has the focus.
QPushButton *boton(const QString &nombre, const QString &texto, QWidget *padre);
// "rgb(r,g,b)" for a style sheet.
QString css(const Color &c);
// A control's background colour and its text colour.
void fondo(QWidget *w, const Color &c, const QString &texto = QStringLiteral("black"));

// A window in the middle of its screen (an MDI child: in the middle of its area).
void centrarVentana(QWidget *ventana);
// A frame centred horizontally on the screen, keeping its top.
void centrarMarcoEnPantalla(QWidget *marco);
// A frame in the middle of another frame.
void centrarMarcoEnMarco(QWidget *marco, QWidget *exterior);

// Offers to print a document again until it prints or the person says no: `imprimir` throws
// when the printer fails, `fallo` logs that, and the question becomes `otraVez`.
void ofrecerImprimirDeNuevo(Dialogos &dialogos, QString pregunta, const QString &titulo,
                            const QString &otraVez, const std::function<void()> &imprimir,
                            const std::function<void(const std::exception &)> &fallo);

// A screen that works full-size inside the main window: once the main window has put it in its
// child window, that child window is maximized.
void maximizarEnVentanaPrincipal(QWidget *pantalla);

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
