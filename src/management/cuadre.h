// The "CUADRE CAJA" booth totals and the "Total Día" day result of the console, over today's
// tickets of the session's group in the console currency.
#pragma once

#include "gerencia.h"

#include <array>
#include <vector>

namespace corvalo {

struct FiltroCuadre {
    QString juego;          // the game box's text (Combo6)
    QString carreraInicial; // CI (Combo_Carreras2)
    QString carreraFinal;   // CF (Combo_Carreras3), used as typed
    int moneda = 1;
    QString captionMoneda;
};

// One line of ListView2.
struct LineaCuadre {
    QString taquilla; // item text and tag
    // VENTA, PREMIOS, POR PAGAR, SALDO, MONTO CAJA
    std::array<double, 5> montos{};
    std::array<QString, 5> textos;
};

struct CuadreCaja {
    bool sinJuego = false; // "Debe seleccionar un juego" goes first
    std::vector<LineaCuadre> taquillas;
    // The three closing lines ("", 18 dashes, "Total:") follow the booths; the totals go into
    // the "Total:" line.
    std::array<double, 5> totales{};
    std::array<QString, 5> totalesTextos;
    bool completo = false; // false: a statement failed; the booth lines read so far stay
};

inline const QString kLineaCuadre = QString(18, QLatin1Char('-'));
inline const QString kTotalCuadre = QStringLiteral("Total:");

// The statements of the booth totals (with `juego` the game id; "TODOS" takes every game).
QString sentenciaTaquillas(const BaseDatos &db, const QString &fecha, const QString &grupo,
                           const QString &juego, bool todosLosJuegos, int moneda, const QString &ci,
                           const QString &cf);
QString sentenciaPremiosTaquilla(const BaseDatos &db, bool pagados, const QString &taquilla,
                                 const QString &fecha, const QString &grupo, const QString &juego,
                                 bool todosLosJuegos, int moneda, const QString &ci, const QString &cf);

// Command3_Click: re-opens rs_configuracion, then one line per booth. A failure is logged,
// the central connection is opened again (cadena_central) and the result says so; the window
// then shows "INTENTE NUEVAMENTE ".
CuadreCaja procesarCuadre(Contexto &ctx, const FiltroCuadre &f);

// Command4_Click: the three lines of list_resume_diario (after its empty first line). A
// failure ends it silently (logged) with the lines made so far.
inline const QString kVentaDia = QStringLiteral("Venta del Día :");
inline const QString kMontoCobradoDia = QStringLiteral("Monto Cobrado :");
inline const QString kSaldoDia = QStringLiteral("Saldo del Día :");
QStringList totalDia(Contexto &ctx, int moneda, const QString &captionMoneda);

} // namespace corvalo
