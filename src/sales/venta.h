// What the two sales share: the screen's values, the outcome handed back to the window, and
// the ticket handed to printing.
#pragma once

#include "contexto.h"
#include "llaves.h"
#include "resumen_dia.h"

#include <array>
#include <functional>
#include <optional>

namespace corvalo {

// Per-horse limits last read from a venta_cupo_* table (indexes 0 to 20).
using CupoCaballo = std::array<double, 21>;

// The values of the sales screen a sale reads.
struct DatosJugada {
    QString carrera;       // Text_datos_V1(0)
    QString caballo;       // Text_datos_V1(1); the first horse (Text_datos_mk(0)) in Marcas
    QString monto;         // Text_Monto: tablas, or the amount in Los Puestos and Marcas
    int juego_actual = 0;  // 0 none, 1 Tablas Dinámicas, 2 Tabla Fija, 3 Los Puestos, 4 Marcas
    QString nombre_moneda; // the currency label shown
    // The operator screen: the client list's text, and in Marcas the second horse
    // (Text_datos_mk(1)) and the racetrack list's text.
    QString cliente{};
    QString caballo2{};
    QString hipodromo{};
};

// Caballo1 and Caballo2: the two horse boxes of a Marcas bet; Cliente: the client list.
enum class CampoVenta { Ninguno, Monto, Caballo, Carrera, Caballo1, Caballo2, Cliente };

// A ticket ready for printing.
struct Boleto {
    int juego = 0;
    QString nu_boleto;
    int carrera = 0;
    int caballo = 0;
    int caballo2 = 0; // Marcas: the horse it is set against
    QString nombre_caballo;
    QString nombre_caballo2; // Marcas: the name of the horse it is set against
    QString hipodromo;       // Marcas: the racetrack's name
    double tablas = 0;
    QString codigo_puesto;
    double monto = 0;
    QDate fecha;
    QString nombre_moneda; // the label of the sale's currency (monedas)
    int impresion_datos = 0;
    QString empresa, rif;
    QString hora;       // the time of the sale (empty: the time it is printed)
    bool copia = false; // printed again: marked as a copy, the same code and barcode
};

// The ticket header settings of configuracion, read with the sale's other settings.
struct EncabezadoBoleto {
    int impresion_datos = 0;
    QString empresa, rif;
};
EncabezadoBoleto leerEncabezado(const Contexto &ctx);
// What every ticket carries besides its bet: the amount, the working date, the currency label
// and the header.
void completarBoleto(Boleto &b, double monto, const QDate &fecha, const QString &nombre_moneda,
                     const EncabezadoBoleto &encabezado);

class ImpresionTickets {
public:
    virtual ~ImpresionTickets() = default;
    // Prints a recorded ticket; throws on a printer or port failure.
    virtual void imprimir(const Boleto &boleto) = 0;
};

struct ResultadoVenta {
    // Pendiente: the server's reply to a write was lost and it cannot be asked yet; the outcome
    // is kept in the journal of pending writes.
    enum class Tipo { Rechazada, Cancelada, Registrada, Fallida, Pendiente };
    Tipo tipo = Tipo::Rechazada;
    // The message box to show (refusal or failure); empty for a recorded or cancelled sale.
    QString mensaje, titulo;
    Icono icono = Icono::Error;
    // Where the cursor goes (its whole text selected).
    CampoVenta foco = CampoVenta::Ninguno;
    // The horse and amount fields were emptied (cursor to Text_Monto).
    bool limpiar = false;
    std::optional<Boleto> boleto;
    // Row written into ma_principal (0 when none).
    int numero = 0;
    // Recorded, but the printer or port failed: the screen offers to print it again.
    bool sinImprimir = false;
    // The failure was the connection's, before anything was written or confirmed.
    bool conexionAntes = false;
    bool confirmada = false;
};

// The label of the sale's currency `moneda` (1 or 2): its row of `monedas` (as the screen loaded
// it); without that row the label the screen shows, else "BS" or "$".
QString etiquetaMoneda(const Contexto &ctx, int moneda, const QString &mostrada);

// A refusal: the message box (an error) and the field the cursor goes to.
ResultadoVenta rechazoVenta(const QString &mensaje, CampoVenta foco,
                            const QString &titulo = QStringLiteral("VERIFIQUE E INTENTE DE NUEVO"));

// The end of a recorded sale: the ticket printed when the booth prints (`impresion` 1 and a
// printer given), the fields emptied and the cursor back in the amount.
ResultadoVenta ventaRegistrada(const Boleto &boleto, int numero, int impresion, ImpresionTickets *impresora);

// The clerk's confirmation of the bet; "No" gives the cancelled outcome (fields emptied,
// cursor in the amount), "Yes" nothing.
std::optional<ResultadoVenta> sinConfirmar(Contexto &ctx, const QString &texto);

// The settings read again once the bet is confirmed: sales (the column `abierta`) must still be
// open on the race the clerk typed. Gives the working date and race as read, or the refusal.
struct RevisionCarrera {
    QDate fecha;
    double carrera = 0;
    std::optional<ResultadoVenta> rechazo;
};
RevisionCarrera revisarCarrera(Contexto &ctx, const QString &abierta, double carreraTecleada);

// Thrown inside a sale for a failure that is not the database's.
struct FallaVenta {};

// The operator screen: every sale is recorded for the group of the client whose name the client
// list shows (any id_tipo); that group replaces the session's and stays until the next sale. A
// list naming no client (empty, or a name no group has) is refused: the sale is never booked to
// the operator's own shop or to an earlier client by default.
std::optional<ResultadoVenta> grupoDeVenta(Contexto &ctx, const QString &cliente);

// A sale is refused while the outcome of an earlier write is pending.
std::optional<ResultadoVenta> rechazoPorPendientes(const Contexto &ctx);

// Runs the steps of a sale. Any failure (database, scrambling, printer) ends in the sale's
// failure message with the cursor in `foco`; what the steps already wrote stays written, and
// the outcome keeps whether the fields were emptied and the row written.
// The failure is written to the technician's log.
ResultadoVenta conFallaVenta(Contexto &ctx, const std::function<ResultadoVenta(ResultadoVenta &)> &pasos,
                             const QString &mensaje, const QString &titulo, CampoVenta foco);
// A whole sale: refused while an outcome is pending; a closed or lost central connection is
// opened again first, and once more when the first statement finds it lost.
ResultadoVenta procesarVenta(Contexto &ctx, const std::function<ResultadoVenta(ResultadoVenta &)> &pasos,
                             const QString &mensaje, const QString &titulo, CampoVenta foco);

// A per-horse limit from a venta_cupo_* table: the row the statement returns (if any) replaces the
// limits kept in `cupo`, and the limit of `caballo` comes from them. A horse that is not a whole
// number from 0 to 20 has no place there: the sale fails (FallaVenta).
double limiteDeTabla(BaseDatos &db, const QString &sql, CupoCaballo &cupo, double caballo);

// The race card of a race and day as the sales read it: horse n is the n-th row returned.
Resultado leerCarrera(BaseDatos &db, double carrera, const QDate &fecha);

// The table a ticket is written to: ma_principal (games 1 to 3, 19 values) or ma_marcas
// (Marcas, 16 values).
enum class TablaBoletos { Principal, Marcas };
QString nombreTabla(TablaBoletos t);

// "INSERT INTO `ma_principal` VALUES (NULL," and the values, each quoted.
QString sentenciaInsertarBoleto(const BaseDatos &db, const QStringList &valores,
                                TablaBoletos tabla = TablaBoletos::Principal);

// Writes the code alone (operator tickets carry no keys).
QString sentenciaCodigo(const BaseDatos &db, TablaBoletos tabla, const QString &nu_boleto,
                        const QString &usuario, int numero);

// Writes the code and the keys into the booth's row.
QString sentenciaCodigoYLlaves(const BaseDatos &db, const QString &nu_boleto, const Llaves &k,
                               const QString &usuario, int numero);

// The per-horse limit as the first check found it. Far from the limit the sale goes on as it
// is; near it (what is left is no more than kJugadasMargen of the largest bets a booth may
// sell, the most the booths of a group can sell between one check and its INSERT) the check is
// made again in one transaction with the INSERT, which first writes the horse's row of
// `venta_cupo_turno`: on one server the row's lock makes the sales of a horse wait for each
// other, on a cluster two nodes that sell it at once cannot both commit (the second is refused
// by certification and sells again from the check). So the limit is never passed.
inline constexpr double kJugadasMargen = 50;
// How many times a sale that lost to another one on the same rows (error 1213) is made again
// before it fails.
inline constexpr int kIntentosConflicto = 20;
struct ControlCupo {
    QString sqlVendido;      // the statement that sums what the group has sold on the horse
    double limite = 0;       // the per-horse limit
    double vendido = 0;      // sold at the first check
    double pedido = 0;       // this bet (tablas or amount)
    double maximoJugada = 0; // the largest bet of one booth (0: no such limit)
    QString rechazo;         // the refusal text, the available number follows
    // What names the horse's row of venta_cupo_turno (group, game, currency, race and horse).
    struct Bloqueo {
        QString grupo;
        int juego = 0, moneda = 0;
        double carrera = 0, caballo = 0;
    } bloqueo;
};
bool cercaDelLimite(const ControlCupo &c);
// "INSERT INTO venta_cupo_turno (ch,id_juego,id_moneda,carrera,caballo,ventas) VALUES (...,'1') ON
// DUPLICATE KEY UPDATE ventas=ventas+1": the write that orders the sales near a horse's limit.
QString sentenciaTurnoCupo(const BaseDatos &db, const ControlCupo::Bloqueo &b);

// A confirmed bet ready to be written.
struct JugadaPorRegistrar {
    TablaBoletos tabla = TablaBoletos::Principal;
    bool llaves = true;  // the booth's tickets carry the keys, the operator's do not
    QStringList valores; // the values of the INSERT
    QString digito;      // the game digit of the code
    QString caballoTxt, montoTxt, carreraTxt;
    Boleto boleto; // without its code
    std::optional<ControlCupo> cupo;
    QString columnaAbierta; // the setting that says the race is on sale ("modificar", "venta_pt", "venta_mk")
};

// Writes the ticket (INSERT, the row's number from the INSERT's reply, code and keys) and prints
// it. A text that Windows-1252 cannot hold is refused before anything is written. The sale's
// journal entry is on disk before the INSERT is sent and leaves once the ticket is printed or the
// sale failed. After a lost reply the program asks the server, on a new connection, what it did
// (see resolverVentasPendientes); while it cannot, the outcome is pending. A row left without code
// and keys is voided.
ResultadoVenta registrarJugada(Contexto &ctx, JugadaPorRegistrar &j, ImpresionTickets *impresora,
                               ResultadoVenta &res);

// What became of a pending sale.
struct ResolucionVenta {
    // Apartada: the server refused every attempt to settle it; set aside for the supervisor.
    enum class Estado { Pendiente, Completada, NoRegistrada, Anulada, Apartada };
    Estado estado = Estado::Pendiente;
    QString mensaje, titulo;
    Icono icono = Icono::Informacion;
    std::optional<Boleto> boleto; // completed: the ticket (printed unless sinImprimir)
    bool sinImprimir = false;
    int numero = 0;
};
// Resolves every pending sale of the journal the server can now be asked about, this run's and
// those an earlier run left (closed or cut off while a reply was awaited): a sale is completed
// and printed when its race is still on sale, otherwise voided. One the server refuses to settle
// kIntentosPendiente times is set aside with a message naming its ticket for the supervisor.
// Each resolved entry leaves the journal.
std::vector<ResolucionVenta> resolverVentasPendientes(Contexto &ctx, ImpresionTickets *impresora);

// Voids a row of this booth that was never completed, in one transaction, the way the back-office
// cancels a ticket: a row of games 1 to 3 is logged in `bitacora` (estatus 5) and removed from
// ma_principal; a Marcas row is logged in `bitacora_mk` and stays in ma_marcas with estatus 5. It
// never counts as a sale and can never be paid. False when no such row is there.
bool anularBoletoSinConfirmar(BaseDatos &db, int numero, const QString &usuario,
                              TablaBoletos tabla = TablaBoletos::Principal);

// Prints a recorded ticket again, marked as a copy; nothing is written.
void reimprimirBoleto(ImpresionTickets &impresora, Boleto boleto);

} // namespace corvalo
