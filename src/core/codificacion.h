// Keyed text scrambling of stored passwords and ticket keys. Texts are byte strings in the
// database code page: each character stands for its Windows-1252 code (see texto.h).
#pragma once

#include <QString>
#include <stdexcept>

namespace corvalo {

class ErrorCodificacion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Key used for the passwords stored in usuarios.clave.
inline const QString kClaveUsuarios = QStringLiteral("kem27r*lopq");

QString codificar(const QString &texto, const QString &clave);
QString decodificar(const QString &texto, const QString &clave);

} // namespace corvalo
