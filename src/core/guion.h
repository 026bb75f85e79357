// Running a SQL script one statement at a time (the connections never allow several
// statements in one call).
#pragma once

#include "db.h"

namespace corvalo {

// Splits a script at the ";" that end statements, outside quotes, back-quotes and comments.
QStringList dividirGuion(const QString &guion);
void ejecutarGuion(BaseDatos &db, const QString &guion);

} // namespace corvalo
