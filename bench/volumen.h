// A big day for the benchmarks of the readers (console, reports, displays): many tickets of
// today in ma_principal and a long archive in ventas, over the demo day's booths and groups.
#pragma once

#include "db.h"

#include <QDate>

namespace corvalo::bench {

struct Volumen {
    int hoy = 100000;      // tickets of `fecha` in ma_principal
    int archivo = 2000000; // tickets of the 700 days before `fecha` in ventas
};

// Adds the tickets with plain INSERT ... SELECT statements over the server's sequence tables:
// booths taq1, taq3 (G01), taq2 (G02) and 300 booths "otraN" of 40 other groups; races 1 to 12,
// horses 1 to 14, games 1 to 3, both currencies, and the statuses of a processed day (mostly 0,
// some winners paid and unpaid, refunds and ties). Codes are unique. Waits (half a minute at most) until the
// server has written the load out, so what is measured next is not the load.
void llenarVolumen(BaseDatos &db, const QDate &fecha, const Volumen &v = {});

} // namespace corvalo::bench
