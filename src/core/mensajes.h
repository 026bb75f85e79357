// Messages and titles several screens show in the same words.
#pragma once

#include <QString>

namespace corvalo {

inline const QString kSinRegistros = QStringLiteral("No se encontro Ningun registro");
inline const QString kTituloBusqueda = QStringLiteral(" Busqueda ");
inline const QString kIntenteNuevamente = QStringLiteral("INTENTE NUEVAMENTE ");
inline const QString kTituloAdministracion = QStringLiteral("ADMINISTRACION DEL SISTEMA");
inline const QString kCerrado = QStringLiteral("CERRADO");

} // namespace corvalo
