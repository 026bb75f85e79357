// The four report screens of the menu "&Reportes".
#pragma once

#include "pantalla_reporte.h"

class QLineEdit;

namespace corvalo {

// "Cuadre de Ventas": the group's sales per day over a range.
class Form_RPT_Ventas : public PantallaReporte {
    Q_OBJECT
public:
    explicit Form_RPT_Ventas(Contexto &ctx, QWidget *parent = nullptr);
    // The statements of the last process (kept out of sight).
    QLineEdit *Text1, *Text2, *Text3;

protected:
    ResultadoProceso procesar(const FiltroReporte &f, Progreso *progreso) override;
};

// "Ventas  por Taquilla": the booths of the group on one date.
class Form_RPT_CuadreTaqTF : public PantallaReporte {
    Q_OBJECT
public:
    explicit Form_RPT_CuadreTaqTF(Contexto &ctx, QWidget *parent = nullptr);

protected:
    ResultadoProceso procesar(const FiltroReporte &f, Progreso *progreso) override;
};

// "Ventas  por Carrera": the races of the group on one date.
class Form_RPT_ResultadosCarreras : public PantallaReporte {
    Q_OBJECT
public:
    explicit Form_RPT_ResultadosCarreras(Contexto &ctx, QWidget *parent = nullptr);

protected:
    ResultadoProceso procesar(const FiltroReporte &f, Progreso *progreso) override;
};

// "Tickets Eliminados": the log of cancelled tickets over a range.
class Form_Bitacora : public PantallaReporte {
    Q_OBJECT
public:
    explicit Form_Bitacora(Contexto &ctx, QWidget *parent = nullptr);

protected:
    ResultadoProceso procesar(const FiltroReporte &f, Progreso *progreso) override;
};

} // namespace corvalo
