// A stand-in for the public-address echo services, for demos on machines without internet: every
// GET is answered with the address given, as the real services answer with the caller's.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace corvalo::backoffice {

// serve-ip [--port N] [--answer ADDRESS]: listens on 127.0.0.1 until the process is ended.
// Returns the exit code (2 for a wrong command line, 1 when the port cannot be had).
int servirDireccion(const QStringList &argumentos, QTextStream &salida, QTextStream &errores);

} // namespace corvalo::backoffice
