// What the report screens share: the report values and files, the filter values of a process,
// the local report tables they empty and fill, and the end of every process (print button or
// "No se encontro Ningun registro").
#pragma once

#include "contexto.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace corvalo {

// Values of Sesion.tipo_reporte: which report file the viewer opens.
constexpr int kReporteJugadas = 1;   // the ticket list of the console's ticket search
constexpr int kReporteBitacora = 2;  // "Tickets Eliminados"
constexpr int kReporteTaquillas = 3; // "Ventas  por Taquilla"
constexpr int kReporteCarreras = 4;  // "Ventas  por Carrera"
constexpr int kReporteDiario = 5;    // "Cuadre de Ventas"

// The file of a report value inside the Reportes folder ("diario.rpt" ...); empty for a value
// that names no report.
QString archivoReporte(int tipo_reporte);

inline const QString kTodos = QStringLiteral("TODOS");
inline const QString kSinRegistros = QStringLiteral("No se encontro Ningun registro");
inline const QString kTituloBusqueda = QStringLiteral(" Busqueda ");
inline const QString kFechaPosterior =
    QStringLiteral(" La fecha debe ser menor ó igual a las ventas registradas");
inline const QString kTituloValidacion = QStringLiteral("Validación de Datos");
inline const QString kIntenteNuevamente = QStringLiteral("INTENTE NUEVAMENTE ");
inline const QString kTituloAdministracion = QStringLiteral("ADMINISTRACION DEL SISTEMA");
inline const QString kTituloSistema = QStringLiteral("SISTEMA");
inline const QString kSinBaseLocal =
    QStringLiteral("No se pudo abrir la base de datos local de los reportes. Intente nuevamente.");

// How a long process tells its progress; false from seguir() cancels it.
class Progreso {
public:
    virtual ~Progreso() = default;
    virtual bool seguir(int hecho, int total) = 0;
};

// How a process ended. Only ConFilas shows the print button.
enum class FinProceso {
    ConFilas,     // rows were added to the report table
    SinFilas,     // "No se encontro Ningun registro" was shown
    Rechazado,    // a check refused the values (its message was shown)
    Fallo,        // a statement failed (the screen's failure rule was applied)
    Cancelado,    // the user stopped it
    SinBaseLocal, // the local report database could not be opened
};

struct ResultadoProceso {
    FinProceso fin = FinProceso::Fallo;
    int filas = 0;          // rows added to the report table
    QString moneda;         // label of the currency the figures are in
    bool imprimir() const { return fin == FinProceso::ConFilas; }
};

// Makes sure conexion_local is open: opens it when it is not (levels other than Supervisor
// do not open it at login) and, when that fails, offers to create the local database. False
// (after the message kSinBaseLocal) when it is still closed.
bool asegurarLocal(Contexto &ctx, const QString &pantalla);

// The game of the selector: empty or "TODOS" is every game; any other text is looked up in
// rs_juegos (first row whose `juego` equals it) and a text that matches none leaves the id
// empty.
struct JuegoElegido {
    bool todos = true;
    QString id;    // id_juego when not `todos`
    QString texto; // what goes into the rows' `juego` column: the selector's text or "TODOS"
};
JuegoElegido juegoElegido(const Contexto &ctx, const QString &seleccion);

// `grupo` of the first rs_grupos row whose `ch` is `ch`; empty when none.
QString grupoDeCentro(const Contexto &ctx, const QString &ch);
// `ch` of the first rs_grupos row whose `grupo` is `grupo`; empty when none.
QString centroDeGrupo(const Contexto &ctx, const QString &grupo);
// The lists the selectors are refilled with when they get the focus.
QStringList centrosOfrecidos(const Contexto &ctx, bool conTodos);
QStringList juegosOfrecidos(const Contexto &ctx);
// The label of currency `id_moneda` (row id_moneda of rs_monedas); empty when there is none.
QString etiquetaMoneda(const Contexto &ctx, int id_moneda);

// The working date of rs_configuracion as "YYYY-MM-DD"; throws DbError when it is missing.
QString fechaTrabajo(const Contexto &ctx);

// A sum that is missing, null or not above 0 counts as 0.
double sumaPositiva(const Resultado &r, const QString &columna);

// The load of a report screen: Sesion.id_moneda 1, rs_juegos (with a game selector), the
// centre selector's visibility and the currency labels. A failure ends it at that step with
// what was set so far (and is logged).
struct CargaReporte {
    bool centroVisible = true;
    QStringList monedas;       // captions of Label_Moneda(0), (1), ...
    bool moneda2Visible = true; // Label_Moneda(1)
    bool marcoMoneda = true;    // Frame_Moneda
};
CargaReporte cargarPantallaReporte(Contexto &ctx, const QString &pantalla, bool conJuegos, bool conMoneda,
                                   const QStringList &nivelesSinCentro);
// The currency labels again (the race report does it when its game selector gets the focus).
void leerMonedas(Contexto &ctx, CargaReporte &c);

// A report table of the local database: its name, its shared recordset and the text width of
// each column that holds text (0 for numbers and dates).
struct ColumnaLocal {
    QString nombre;
    int largo = 0;
};
struct TablaLocal {
    QString nombre;
    Resultado Contexto::*recordset;
    QList<ColumnaLocal> columnas;
};
extern const TablaLocal kTablaDiario, kTablaResultadosTaqs, kTablaResultadosCarreras, kTablaBitacora;

// "DELETE from " + the table on conexion_local, then the shared recordset again.
void vaciarTabla(Contexto &ctx, const TablaLocal &tabla);

// Appends rows to a report table. Values are given in the order of the table's columns;
// texts longer than a column are cut to it, so one long name cannot make the report fail.
// Rows are sent in batches; escribir() sends what is left.
class FilasLocales {
public:
    FilasLocales(BaseDatos &db, const TablaLocal &tabla) : db_(db), tabla_(tabla) {}
    void agregar(const QStringList &valores);
    void escribir();
    int filas() const { return filas_; }

private:
    BaseDatos &db_;
    const TablaLocal &tabla_;
    QStringList pendientes_;
    int filas_ = 0;
};

// The end of every process: rows → ConFilas; none → the "No se encontro Ningun registro" message.
ResultadoProceso terminarProceso(Contexto &ctx, int filas, const QString &moneda);

} // namespace corvalo
