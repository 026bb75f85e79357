// The "BOLETOS" ticket search of the console: the group's tickets of one day and game,
// narrowed by booth, races, horse and ticket type, its four totals, and the copy of the list
// into the local report table rpt_jugadas for printing.
#pragma once

#include "gerencia.h"

#include <array>
#include <optional>

namespace corvalo {

inline const QString kSinCopiaLocal =
    QStringLiteral("La lista de boletos se muestra, pero no se pudo copiar a la base de datos local para "
                   "imprimirla. Revise la base de datos local (menú Configuración) e intente de nuevo.");
inline const QString kTituloCopiaLocal = QStringLiteral("IMPRIMIR BOLETOS");

// The ticket types of Combo4, "TODOS" first.
QStringList tiposDeTicket();
// The status a ticket type stands for; empty for "TODOS", an empty text or a text outside the
// table. Ties ("EMPATE POR PAGAR") exist only among Los Puestos tickets, so the type selects
// status 5 whatever the game (other games simply have none).
QString estatusDeTipo(const QString &tipo);

// The filter values of one search.
struct FiltroBoletos {
    QDate fecha;            // F (DTPicke1)
    QString juego;          // Combo7's text
    QString taquilla;       // T (Combo2)
    QString carreraInicial; // CI (Combo1)
    QString carreraFinal;   // CF (Combo3)
    QString caballo;        // C (Combo5)
    QString tipo;           // the ticket type (Combo4)
    int moneda = 1;         // M
};

struct SentenciasBoletos {
    QString tabla; // ventas for a day before the working date, ma_principal otherwise
    QString detalle, ventas;
    std::optional<QString> pagado, porPagar; // only with all ticket types
};
// `juego`: the game id; `todosLosJuegos` drops the game term ("TODOS").
SentenciasBoletos sentenciasBoletos(const BaseDatos &db, const FiltroBoletos &f, const QDate &fechaTrabajo,
                                    const QString &grupo, const QString &juego, bool todosLosJuegos);

// The grid's columns and the widths of the first ten, in twips.
inline const QStringList kColumnasBoletos = {
    QStringLiteral("numero"),   QStringLiteral("nu_boleto"), QStringLiteral("carrera"),
    QStringLiteral("caballo"),  QStringLiteral("tablas"),    QStringLiteral("puesto"),
    QStringLiteral("monto"),    QStringLiteral("cobrado"),   QStringLiteral("estatus"),
    QStringLiteral("taquilla"), QStringLiteral("grupo")};
// The grid's headings, one per column.
inline const QStringList kEncabezadosBoletos = {
    QStringLiteral("Nº"),       QStringLiteral("BOLETO"),  QStringLiteral("CARRERA"),
    QStringLiteral("CABALLO"),  QStringLiteral("TABLAS"),  QStringLiteral("PUESTO"),
    QStringLiteral("MONTO"),    QStringLiteral("COBRADO"), QStringLiteral("ESTADO"),
    QStringLiteral("TAQUILLA"), QStringLiteral("GRUPO")};
// What a ticket's estatus means, as the grid shows it ("PAGADO" for 2); a value outside the
// codes is shown as stored.
QString nombreEstatus(const QString &estatus);
inline constexpr int kAnchosBoletos[10] = {600, 1500, 600, 600, 900, 850, 900, 700, 950, 850};

struct BusquedaBoletos {
    bool sinJuego = false;   // "Debe seleccionar un juego" goes first
    bool conDetalle = false; // the detail statement ran: `filas` is the list
    Resultado filas;
    bool conTotales = false; // the sums ran
    double venta = 0, pagado = 0, porPagar = 0;
    // Text_datos2(0) .. (3): VENTA, PAGADO, SALDO, POR PAGAR as plain number text.
    std::array<QString, 4> totales;
    bool fallo = false;      // a central statement failed: "INTENTE NUEVAMENTE "
    bool copiaLocal = false; // rpt_jugadas holds the list
    bool falloCopia = false; // the copy could not be made (the list is shown all the same)
    bool imprimir() const { return conDetalle && !fallo && copiaLocal && filas.filas() > 0; }
};

// bton_buscar_Click: re-opens rs_configuracion, runs the statements on the central connection
// and copies the rows into rpt_jugadas on the local connection. Failures are logged; the
// result tells the window what to show.
BusquedaBoletos buscarBoletos(Contexto &ctx, const FiltroBoletos &f);

// The copy: "DELETE from rpt_jugadas", the shared recordset re-opened, then the rows in the
// list's order (several rows a statement). Throws DbError.
void copiarJugadas(Contexto &ctx, const Resultado &filas, const QString &fecha, const QString &juego);

} // namespace corvalo
