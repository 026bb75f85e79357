// What the report screens share: the report files and their selector values, the local report
// connection, the filter values of a process, and the rows appended to a local report table.
#pragma once

#include "contexto.h"
#include "mensajes.h"

#include <QDate>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace corvalo {

// Values of Sesion.tipo_reporte and the report file each one opens.
enum TipoReporte : int {
    kReporteBitacora = 2,  // cancelled tickets
    kReporteTaquillas = 3, // sales by booth
    kReporteCarreras = 4,  // sales by race
    kReporteDiario = 5,    // sales summary
    kReporteJugadas = 6,   // the ticket list of the console's ticket search
};
// "bitacora_tickets.rpt", ...; empty for a value that names no report.
QString archivoReporte(int tipo_reporte);

inline const QString kFechaPosterior =
    QStringLiteral(" La fecha debe ser menor ó igual a las ventas registradas");
inline const QString kTituloValidacion = QStringLiteral("Validación de Datos");
inline const QString kRangoInvertido =
    QStringLiteral("La fecha DESDE debe ser menor ó igual a la fecha HASTA");

// The local report connection, before a process or the viewer uses it. A login that did not
// open it (every level but Supervisor) gets it opened here, and one the server no longer knows
// is opened again. A missing database is offered for creation; any other failure is said on
// screen (the reports need the local database). False when it is still closed.
bool asegurarLocal(Contexto &ctx, const QString &pantalla);

// Told how far a process is; answers false when the user cancelled it.
class Progreso {
public:
    virtual ~Progreso() = default;
    virtual bool avanzar(int hecho, int total) = 0;
};

// What the screen types into a process.
struct FiltroReporte {
    QDate desde;    // DTPicker1
    QDate hasta;    // DTPicker2 (screens with a range)
    QString centro; // Combo_grupo / Combo_Hipicos
    QString juego;  // Combo_SelJuego
};

// A message the screen shows once the process is over.
struct AvisoProceso {
    QString texto, titulo;
    Icono icono = Icono::Ninguno;
};

// What a process did.
struct ResultadoProceso {
    int filas = 0;                     // rows appended to the report table
    bool imprimir = false;             // the print button shows
    bool cancelado = false;            // the user stopped it
    bool fallo = false;                // a statement failed (the message says so)
    std::optional<AvisoProceso> aviso; // what the screen says about it
    QString Text1, Text2, Text3;       // the statements the sales summary shows
};

// Shows the message of a process, if it has one.
void mostrarAviso(Dialogos &dialogos, const ResultadoProceso &r);

// The game of the selector: "TODOS" for an empty selector, otherwise the text.
QString textoJuego(const QString &selector);
// id_juego of the first juegos row whose juego is `texto`; empty when none is.
QString idJuego(const Contexto &ctx, const QString &texto);
// grupo of the first grupos row whose ch is `ch`; nothing when none is.
std::optional<QString> grupoDeCentro(const Contexto &ctx, const QString &ch);
// ch of the first grupos row whose grupo is `grupo`; empty when none is.
QString centroDeGrupo(const Contexto &ctx, const QString &grupo);
// The working date of rs_configuracion.
QDate fechaTrabajo(const Contexto &ctx);
// A sum as the reports take it: missing, null or not above 0 is 0.
double sumaPositiva(const Resultado &r, const QString &columna);

// A column of a local report table: its name and, for text columns, its width (longer values
// are cut to it so the row fits); 0 for numbers and dates.
struct ColumnaLocal {
    const char *nombre;
    int ancho;
};
// Appends rows to a local report table, many rows a statement; every value goes through
// sqlTexto. Each row holds one value per column, in the columns' order.
void anexarFilas(BaseDatos &local, const QString &tabla, const std::vector<ColumnaLocal> &columnas,
                 const std::vector<QStringList> &filas);
// Empties a local report table ("DELETE from " + table) and reads it again.
void vaciarTabla(BaseDatos &local, const QString &tabla);

// How a report's process differs from the others.
struct MarcoProceso {
    QString pantalla;                   // the screen's name, for the log
    QString tabla;                      // the local report table it fills
    std::vector<ColumnaLocal> columnas; // and its columns
    bool reconectar = false;            // a failure opens the central connection again
    QString tituloFalla;                // the title of the failure's message
};

// What the frame hands a process's statements.
class PasoProceso {
public:
    PasoProceso(Contexto &ctx, const MarcoProceso &marco, ResultadoProceso &r, Progreso *progreso)
        : ctx(ctx), marco_(marco), r_(r), progreso_(progreso) {}
    Contexto &ctx;
    // Empties the report table.
    void vaciar();
    // Re-reads rs_configuracion and answers the working date.
    QDate diaDeTrabajo();
    // The same for a process of one date, which may not come after the working date: when it
    // does, the process stops with that message.
    std::optional<QDate> diaDeTrabajoDesde(const QDate &desde);
    // Tells the progress; leaves the process when the user cancelled it.
    void avanzar(int hecho, int total);
    // Stops the process with a message; its rows are not appended.
    std::nullopt_t detener(const QString &texto, const QString &titulo, Icono icono);

private:
    const MarcoProceso &marco_;
    ResultadoProceso &r_;
    Progreso *progreso_;
};

// The values the statements of the sales reports share, quoted for the central connection.
struct ValoresComunes {
    QString G;     // the session's group
    QString M;     // its id_moneda
    QString juego; // the game's text, "TODOS" for every game
    bool todos;    // every game
    QString J;     // id_juego of the game; empty for every game
};
ValoresComunes valoresComunes(const Contexto &ctx, BaseDatos &db, const FiltroReporte &f);

// The rows of a process, or nothing when it stopped (PasoProceso::detener).
using Filas = std::vector<QStringList>;
using SentenciasProceso = std::function<std::optional<Filas>(PasoProceso &, ResultadoProceso &)>;

// Every report's process: the local connection checked, the statements run, their rows appended
// to the report table, and the end: with rows the print button shows, without them the "no rows"
// message. A failed statement is logged and said (with the frame's title; the central connection
// opened again when the frame asks for it); a cancelled process ends without a message.
ResultadoProceso ejecutarProceso(Contexto &ctx, const MarcoProceso &marco, Progreso *progreso,
                                 const SentenciasProceso &sentencias);

} // namespace corvalo
