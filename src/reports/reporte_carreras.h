// "Ventas  por Carrera" (Form_RPT_ResultadosCarreras): for one date, the amount the user's group
// played on each race with its prizes paid, prizes to pay and balance, from ventas (earlier
// dates) or ma_principal (the working date), into rpt_resultadoscarreras.
#pragma once

#include "reporte_taquillas.h"

namespace corvalo {

QString sentenciaCarreras(const BaseDatos &db, bool archivo, const QString &f0, const QString &g,
                          const QString &m, const JuegoElegido &j);
QString sentenciaPagadoCarrera(const BaseDatos &db, bool archivo, const QString &grupo, const QString &f0,
                               const QString &carrera, const QString &m, const JuegoElegido &j);
QString sentenciaPorPagarCarrera(const BaseDatos &db, bool archivo, const QString &grupo, const QString &f0,
                                 const QString &carrera, const QString &m, const JuegoElegido &j);

// The process button: empties and fills rpt_resultadoscarreras. A date after the working date
// is refused. A failure re-opens the central connection, hides the print button and says
// "INTENTE NUEVAMENTE ".
ResultadoProceso procesarCarreras(Contexto &ctx, const PeticionDia &p, Progreso *progreso = nullptr);

} // namespace corvalo
