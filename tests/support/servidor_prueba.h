// The private MariaDB server of the tests (started by ./run.sh test). A missing server is a
// failure, never a skip.
#pragma once

#include "db.h"

namespace corvalo::prueba {

// Connection string of the private server without a database (CORVALO_TEST_SERVER).
QString cadenaServidor();
// Creates (afresh) the database `nombre` with the reference central schema and returns the
// connection string that names it; on the private server, or on the one `servidor` names.
QString crearBaseCentral(const QString &nombre, const QString &servidor = {});
// The Galera cluster of the tests, when ./run.sh test started one (CORVALO_CLUSTER_SERVER, its
// nodes in one string); empty otherwise.
QString cadenaCluster();
// Connection to the given string; throws on failure.
std::unique_ptr<BaseDatos> conectar(const QString &cadena);
// The local report database string of the private server (CORVALO_TEST_LOCAL).
QString cadenaLocalPrueba();

} // namespace corvalo::prueba
