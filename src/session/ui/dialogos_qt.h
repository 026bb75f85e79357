// Message and input boxes of the windows: Yes is the default of every yes/no question
// (Enter answers Yes, Escape answers No).
#pragma once

#include "plataforma.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace corvalo {

class DialogosQt : public Dialogos {
public:
    // Boxes are centred on the active window when there is one.
    Respuesta mensaje(const QString &texto, const QString &titulo, Icono icono = Icono::Ninguno,
                      Botones botones = Botones::Ok) override;
    std::optional<QString> entrada(const QString &texto, const QString &titulo) override;
};

// Ends the program: leaves the application's event loop.
void terminarPrograma();

} // namespace corvalo
