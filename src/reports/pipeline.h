// What the report screens share: the report files and their selector values, the local report
// connection, the filter values of a process, and the rows appended to a local report table.
#pragma once

#include "contexto.h"
#include "mensajes.h"

#include <QDate>
#include <QStringList>

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
inline const QString kRangoInvertido = QStringLiteral("La fecha DESDE debe ser menor ó igual a la fecha HASTA");

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

// What a process did.
struct ResultadoProceso {
    int filas = 0;               // rows appended to the report table
    bool imprimir = false;       // the print button shows
    bool cancelado = false;      // the user stopped it
    bool fallo = false;          // a statement failed (the message was shown)
    QString Text1, Text2, Text3; // the statements the sales summary shows
};

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
// Empties a local report table ("DELETE from " + table) and re-opens its shared recordset.
void vaciarTabla(BaseDatos &local, const QString &tabla, Resultado &recordset);

// The end of every process: with rows the print button shows; without, the message.
void terminarProceso(Contexto &ctx, ResultadoProceso &r);

} // namespace corvalo
