// The back-office stand-in: creates the central schema, fills a demo day, changes the
// settings row and prepares a workstation's local report database. The back-office proper
// is outside the system; this tool only leaves in the tables what the workstations read.
#pragma once

#include "db.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <QTextStream>

#include <memory>
#include <stdexcept>
#include <utility>

namespace corvalo::backoffice {

// A wrong command line or argument: usage on stderr, exit 2.
class ErrorUso : public std::runtime_error {
public:
    explicit ErrorUso(const QString &what) : std::runtime_error(what.toStdString()) {}
};

// The reference schema db/central.sql, compiled into the program.
QString esquemaCentral();
// Names of the tables the schema creates, in its order.
QStringList tablasEsquema();

// The columns of each table of the reference schema, tables and columns in its order.
QList<std::pair<QString, QStringList>> columnasEsquema();

// What `db` (its current database) lacks of the reference schema, in the schema's order:
// "missing table T" for a table, "missing column T.C" for a column of a table it has. Names
// compare without regard to case, as MySQL compares them.
QStringList faltantesEsquema(BaseDatos &db);

// Marcas tickets are numbered from here up, Tablas and Los Puestos tickets below: a Marcas code
// and a Tablas Dinámicas code ("4" + MMDD + number both) are never the same.
inline constexpr long long kPrimerNumeroMarcas = 1000000000;
// Where the numbering of ma_marcas or ma_principal has left its range, one line each (empty
// when both are in theirs).
QStringList rangosFueraDeLugar(BaseDatos &db);
// Puts the next Marcas number back at the start of its range when it is below it.
void mantenerRangoMarcas(BaseDatos &db);

// Opens the central connection of `cadena`. With `crearBase` the database it names is
// created first (latin1) when the server does not have it.
std::unique_ptr<BaseDatos> abrirCentral(const QString &cadena, bool crearBase = false);

// Runs the schema on `db`; with `soltar` every table of the schema is dropped first.
void crearEsquema(BaseDatos &db, bool soltar);

// One demo login.
struct Acceso {
    QString usuario;
    QString clave; // the plain password
    QString nivel;
    QString grupo;
    QString estatus;
};

// Fills a demo day for `fecha`: code tables, groups, users, the race card, the limits and
// the settings row. Rows of those tables are replaced; tickets are left alone.
QList<Acceso> sembrarDemo(BaseDatos &db, const QDate &fecha);

// Applies "COLUMN=VALUE" assignments to the settings row. Column names are checked against
// the table's real columns (case-insensitive); an unknown one throws ErrorUso and changes
// nothing. Returns the assignments as applied (real column names).
QStringList fijarConfiguracion(BaseDatos &db, const QStringList &asignaciones);

// A processed race: the unpaid tickets of the race (ma_principal and ventas) on the winning
// horses become 1 with the stake times `premioPorUnidad`, on withdrawn horses 4 with the stake
// back, Los Puestos tickets on tied horses 5 with half the prize; every other unpaid ticket of
// the race becomes 0 with no prize. Marcas tickets (ma_marcas and ventas_mk) win (1) when their
// horse is a winner and the one it is set against is not, and are refunded (4) when either is
// withdrawn; cancelled ones (5) stay. Paid tickets (2, 3) are left alone. carreras gets `win`
// (the first winner) and `win_ganadores` (how many winners).
struct Resultados {
    QDate fecha;
    int carrera = 0;
    QList<int> ganadores, retirados, empates;
    double premioPorUnidad = 2;
};
struct ConteoResultados {
    long long ganadores = 0, retirados = 0, empates = 0;
};
ConteoResultados cargarResultados(BaseDatos &db, const Resultados &r);

// Closes a day: its ma_principal rows move into ventas, its ma_marcas rows into ventas_mk, and
// ventas_general gets the day's totals (totalizarDia). All or nothing.
struct ConteoArchivo {
    long long boletos = 0, marcas = 0, totales = 0;
};
ConteoArchivo archivarDia(BaseDatos &db, const QDate &fecha);

// The totals of a closed day in ventas_general, from its archived tickets: one row per group, game
// and currency that sold: venta; premios, the prizes paid;
// saldo = venta - premios; monto_porpagar, the prizes still owed. Replaces the day's rows;
// returns how many were written. `results` on a closed day writes them again.
long long totalizarDia(BaseDatos &db, const QDate &fecha);
// Cancels a ticket of today: its ma_principal row is logged in bitacora with estatus 5, the
// reason, its type and the user who cancelled it, and leaves ma_principal, so it can never be
// paid and no summary counts it as a sale. A code not in ma_principal, or a ticket already paid
// (2, 3), is refused with ErrorUso and nothing changes. Returns the ticket's number.
// A Marcas ticket (`marcas`: its code is looked up in ma_marcas, since Marcas and Tablas Dinámicas
// codes may be the same) is logged in bitacora_mk and stays in ma_marcas with estatus 5.
struct Anulacion {
    QString boleto; // nu_boleto
    QString motivo, tipoMotivo, usuario;
    bool marcas = false;
};
long long anularBoleto(BaseDatos &db, const Anulacion &a);

// Drops bd_corvalo on the server of `cadenaLocal` when it exists and creates it as a
// workstation does.
void prepararLocal(const QString &cadenaLocal);

// The whole command line (without the program name); returns the exit code: 0 done,
// 1 database failure, 2 usage, 3 the central database lacks part of the schema (check).
int ejecutar(const QStringList &argumentos, QTextStream &salida, QTextStream &errores);

QString textoUso();

} // namespace corvalo::backoffice
