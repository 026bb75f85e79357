// "Ventas  por Taquilla" (Form_RPT_CuadreTaqTF): for one date, each booth of the user's group with
// its sales, prizes paid, prizes to pay and balance, from ventas (earlier dates) or ma_principal
// (the working date), into rpt_resultadostaqs.
#pragma once

#include "reporte_proceso.h"

namespace corvalo {

struct PeticionDia {
    QDate fecha;    // DTPicker1
    QString centro; // Combo_grupo: read, but the statements always use the user's group
    QString juego;  // Combo_SelJuego
};

// `archivo`: ventas (a date before the working date) instead of ma_principal.
QString sentenciaTaquillas(const BaseDatos &db, bool archivo, const QString &f0, const QString &g,
                           const QString &m, const JuegoElegido &j);
QString sentenciaPagadoTaquilla(const BaseDatos &db, bool archivo, const QString &taquilla, const QString &f,
                                const QString &m, const JuegoElegido &j);
QString sentenciaPorPagarTaquilla(const BaseDatos &db, bool archivo, const QString &taquilla, const QString &f,
                                  const QString &m, const JuegoElegido &j);

// The process button: empties and fills rpt_resultadostaqs. A date after the working date is
// refused; any failure shows "INTENTE NUEVAMENTE ".
ResultadoProceso procesarCuadreTaquillas(Contexto &ctx, const PeticionDia &p, Progreso *progreso = nullptr);

} // namespace corvalo
