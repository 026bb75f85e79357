// Messages and titles several screens show in the same words.
#pragma once

#include <QString>

namespace corvalo {

inline const QString kSinRegistros = QStringLiteral("No se encontro Ningun registro");
inline const QString kTituloBusqueda = QStringLiteral(" Busqueda ");
inline const QString kIntenteNuevamente = QStringLiteral("INTENTE NUEVAMENTE ");
inline const QString kTituloAdministracion = QStringLiteral("ADMINISTRACION DEL SISTEMA");
inline const QString kCerrado = QStringLiteral("CERRADO");
// The local report database bd_corvalo could not be opened; the reason follows.
inline const QString kReportesSinBaseLocal =
    QStringLiteral("Los reportes necesitan la base de datos local de reportes (bd_corvalo), que no se "
                   "pudo abrir:\n");
inline const QString kTituloBaseLocal = QStringLiteral("BASE DE DATOS LOCAL");

} // namespace corvalo
