// The processes of the four report screens, each run in the frame of ejecutarProceso: the
// statements of one report and the rows they give. What the screen should say comes back in the
// result (mostrarAviso); only the local database's offer is asked on the way.
#pragma once

#include "pipeline.h"

namespace corvalo {

// "Resumen Venta " (rpt_diario): the group's day totals over a range, closed days from
// ventas_general and the working day from ma_principal.
ResultadoProceso procesarVentas(Contexto &ctx, const FiltroReporte &f, Progreso *progreso = nullptr);

// "CUADRE POR TAQUILLA " (rpt_resultadostaqs): one date, one row per booth of the group.
ResultadoProceso procesarCuadreTaquillas(Contexto &ctx, const FiltroReporte &f, Progreso *progreso = nullptr);

// "REPORTE RESULTADOS POR CARRERA " (rpt_resultadoscarreras): one date, one row per race.
ResultadoProceso procesarResultadosCarreras(Contexto &ctx, const FiltroReporte &f,
                                            Progreso *progreso = nullptr);

// "BOLETOS ELIMINADOS " (rpt_bitacora): the log of cancelled tickets over a range.
ResultadoProceso procesarBitacora(Contexto &ctx, const FiltroReporte &f, Progreso *progreso = nullptr);

} // namespace corvalo
