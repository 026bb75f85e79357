// "Tickets Eliminados" (Form_Bitacora): the central log of cancelled tickets (bitacora) of the
// user's group over a date range, newest first, into rpt_bitacora.
#pragma once

#include "reporte_proceso.h"

namespace corvalo {

struct PeticionBitacora {
    QDate desde, hasta; // DTPicker1, DTPicker2
    QString centro;     // Combo_Hipicos
};

// The statement of the user's level: "Supervisor" gets every entry of the own group; every
// other level only the cancelled ones (estatus 5), and none when another centre is chosen.
QString sentenciaBitacora(const Contexto &ctx, const BaseDatos &db, const PeticionBitacora &p);

// The process button. The statement runs before the table is emptied, so a failing statement
// leaves the previous rows; the failure re-opens the central connection and says
// "INTENTE NUEVAMENTE ".
ResultadoProceso procesarBitacora(Contexto &ctx, const PeticionBitacora &p, Progreso *progreso = nullptr);

} // namespace corvalo
