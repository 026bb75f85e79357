// The operator's choice of client and racetrack: the client shops are the rows of `grupos`, the
// racetracks the rows of `hipodromos`, both as the shared recordsets hold them.
#pragma once

#include "db.h"

#include <optional>

namespace corvalo {

inline const QString kSinCliente = QStringLiteral("Debe escoger un cliente correctamente");
inline const QString kTituloSinCliente = QStringLiteral("Verificar Datos");

// The client list: the centre name of every group, in the recordset's order.
QStringList nombresClientes(const Resultado &grupos);
// Choosing by name: the number of the first client group (id_tipo 2) of that name; nothing when
// the name is no client group's.
std::optional<QString> codigoDeCliente(const Resultado &grupos, const QString &nombre);
// Enter in the code box: the name of the first group whose number is the one typed (read as a
// number); nothing when there is none, and the list's text is then emptied.
std::optional<QString> clienteDeCodigo(const Resultado &grupos, const QString &codigo);
// The group a sale is recorded for: that of the first group of that name, of any id_tipo.
std::optional<QString> grupoDeCliente(const Resultado &grupos, const QString &nombre);

// The racetrack list, and the number of the first racetrack of that name (0: none).
QStringList nombresHipodromos(const Resultado &hipodromos);
int numeroHipodromo(const Resultado &hipodromos, const QString &nombre);

} // namespace corvalo
