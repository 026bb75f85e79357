// Keyboard use across the program: a focused button is pressed with Enter as well as Space, and
// the key filters of the entry fields.
#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QLineEdit;

namespace corvalo {

class FiltroTeclado : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
};

// Installs one filter on the application.
void instalarFiltroTeclado();

// A key filter of the entry fields: takes a character code, returns the code to let through
// (0 swallows it).
using FiltroCaracter = int (*)(int);

// What a key press in a filtered field comes to.
enum class TeclaFiltrada {
    Pasa,     // the field handles the key as it is (navigation, function keys, accepted characters)
    Tragada,  // the filter swallowed it
    Cambiada, // the filter changed the character; the changed one has been typed into the field
    Enter,    // Enter (13) passed the filter
};
// Runs one key press of `campo` through `filtro`: Enter is 13, Backspace 8, a character its
// Windows-1252 code (a character without one is swallowed).
TeclaFiltrada filtrarTecla(QLineEdit *campo, QKeyEvent *tecla, FiltroCaracter filtro);

// Every other way text enters the field (paste, drop, input methods) passes the same filter:
// characters it swallows are dropped, characters it changes are changed.
void filtrarTextoPegado(QLineEdit *campo, FiltroCaracter filtro);

// The same, refusing visibly: text that enters the field by any way other than a key press the
// field's own handler filters (paste, drop, input methods, a key that reaches the field) and holds
// a character the filter swallows is refused whole, and `rechazado` runs, as the handler does for
// a swallowed key; characters the filter changes are changed. Text set by the program is not
// filtered.
void rechazarTextoFiltrado(QLineEdit *campo, FiltroCaracter filtro, std::function<void()> rechazado);

} // namespace corvalo
