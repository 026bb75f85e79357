// The workstation's print-settings file: one line  "PUERTO",impresion,codbarras,tamletra CR LF.
#pragma once

#include "sesion.h"

#include <QString>

namespace corvalo {

// Reads the file into the session in file order. Values before a field that cannot be read
// are kept; the rest stay as they were. Returns false when the file could not be opened.
bool leerAjustesImpresion(const QString &ruta, Sesion &sesion);
// The same over the file's bytes.
void leerAjustesImpresionDe(const QByteArray &contenido, Sesion &sesion);

// The file's content for the session's four values.
QByteArray lineaAjustesImpresion(const Sesion &sesion);
// Replaces the file by one holding the one line, written beside it first so that a crash or a
// full disk never leaves half a file; false, with the reason in `motivo`, when it cannot be
// written.
bool guardarAjustesImpresion(const QString &ruta, const Sesion &sesion, QString *motivo = nullptr);

// The ports offered by the settings screen, in order.
QStringList puertosOfrecidos();

} // namespace corvalo
