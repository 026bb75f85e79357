// "Cuadre de Ventas" (Form_RPT_Ventas): the group's sales, prizes paid, prizes to pay and balance
// per day over a date range, from ventas_general for closed days and from ma_principal for the
// working day, into rpt_diario.
#pragma once

#include "reporte_proceso.h"

namespace corvalo {

struct PeticionVentas {
    QDate desde, hasta; // DTPicker1, DTPicker2
    QString centro;     // Combo_grupo: read, but the statements always use the user's group
    QString juego;      // Combo_SelJuego
};

struct ResultadoVentas : ResultadoProceso {
    QString text1, text2, text3; // the statements shown in Text1, Text2, Text3
};

// The statements, values as "YYYY-MM-DD" dates, group and currency id.
QString sentenciaVentasCerrados(const BaseDatos &db, const QString &d, const QString &h, const QString &g,
                                const QString &m, const JuegoElegido &j);
QString sentenciaVentasDia(const BaseDatos &db, const QString &h, const QString &g, const QString &m,
                           const JuegoElegido &j);
QString sentenciaPremiosDia(const BaseDatos &db, const QString &grupo, const QString &f, const QString &m,
                            const JuegoElegido &j);
QString sentenciaPorPagarDia(const BaseDatos &db, const QString &grupo, const QString &f, const QString &m,
                             const JuegoElegido &j);

// Bton_Procesar: empties and fills rpt_diario. A failing statement shows "INTENTE NUEVAMENTE ".
ResultadoVentas procesarVentas(Contexto &ctx, const PeticionVentas &p, Progreso *progreso = nullptr);

} // namespace corvalo
