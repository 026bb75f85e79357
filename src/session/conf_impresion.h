// The print settings screen's logic: opening, the port rule and saving.
#pragma once

#include "contexto.h"

namespace corvalo {

inline const QString kPuertoSistema2 = QStringLiteral("WINDOWS2:");
inline const QString kCambiosGuardados = QStringLiteral("Los cambios se han realizado con exito");
inline const QString kTituloConfiguracion = QStringLiteral("Configuración del Sistema");

// Font size and barcode are only chosen for the port "WINDOWS2:" (exact text).
bool muestraLetraYBarras(const QString &puerto);

// What the selectors show when the screen opens; the extra selectors are filled only for
// "WINDOWS2:".
struct VistaImpresion {
    bool leido = false; // false: the file could not be read, the selectors keep what they had
    QString puerto;     // Combo2
    QString impresion;  // Combo1
    bool extras = false;
    QString tamletra;  // Combo3
    QString codbarras; // Combo4
};
// Reads the file into the session and says what to show.
VistaImpresion abrirConfImpresion(Sesion &sesion, const QString &ruta);

// Combo3's value: the leading number, rounded half to even; empty text is 0.
int tamletraDe(const QString &texto);

inline const QString kPuertoNoValido =
    QStringLiteral("EL PUERTO NO PUEDE CONTENER COMILLAS NI SALTOS DE LINEA");
// A port the settings file can hold: no quote (it ends the port's text), CR or LF (they end the
// line).
bool puertoValido(const QString &puerto);

// Command1 with the four selectors' texts: sets the session, writes the file (creating its
// folder) and confirms. A file that cannot be written ends it silently. A port the file cannot
// hold is refused with a message and nothing changes: returns false.
bool guardarConfImpresion(Contexto &ctx, const QString &ruta, const QString &combo1, const QString &combo2,
                          const QString &combo3, const QString &combo4);

} // namespace corvalo
