// What the two sales share: the screen's values, the outcome handed back to the window, and
// the ticket handed to printing.
#pragma once

#include "contexto.h"
#include "llaves.h"

#include <array>
#include <functional>
#include <optional>

namespace corvalo {

// Per-horse limits last read from a venta_cupo_* table (indexes 0 to 20).
using CupoCaballo = std::array<double, 21>;

// The values of the sales screen a sale reads.
struct DatosJugada {
    QString carrera;       // Text_datos_V1(0)
    QString caballo;       // Text_datos_V1(1)
    QString monto;         // Text_Monto: tablas, or the amount in Los Puestos
    int juego_actual = 0;  // 0 none, 1 Tablas Dinámicas, 2 Tabla Fija, 3 Los Puestos
    QString nombre_moneda; // the currency label shown
};

enum class CampoVenta { Ninguno, Monto, Caballo, Carrera };

// A ticket ready for printing.
struct Boleto {
    int juego = 0;
    QString nu_boleto;
    int carrera = 0;
    int caballo = 0;
    QString nombre_caballo;
    double tablas = 0;
    QString codigo_puesto;
    double monto = 0;
    QDate fecha;
    QString nombre_moneda;
    int impresion_datos = 0;
    QString empresa, rif;
};

class ImpresionTickets {
public:
    virtual ~ImpresionTickets() = default;
    // Prints a recorded ticket; throws on a printer or port failure.
    virtual void imprimir(const Boleto &boleto) = 0;
};

struct ResultadoVenta {
    enum class Tipo { Rechazada, Cancelada, Registrada, Fallida };
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
};

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

// Runs the steps of a sale. Any failure (database, scrambling, printer) ends in the sale's
// failure message with the cursor in `foco`; what the steps already wrote stays written, and
// the outcome keeps whether the fields were emptied and the row written.
// The failure is written to the technician's log.
ResultadoVenta conFallaVenta(Contexto &ctx, const std::function<ResultadoVenta(ResultadoVenta &)> &pasos,
                             const QString &mensaje, const QString &titulo, CampoVenta foco);

// The race card of a race and day as the sales read it: horse n is the n-th row returned.
Resultado leerCarrera(BaseDatos &db, double carrera, const QDate &fecha);

// "INSERT INTO `ma_principal` VALUES (NULL," and the 19 values, each quoted.
QString sentenciaInsertarBoleto(const BaseDatos &db, const QStringList &valores);

// Writes the code and the keys into the booth's row.
QString sentenciaCodigoYLlaves(const BaseDatos &db, const QString &nu_boleto, const Llaves &k,
                               const QString &usuario, int numero);

} // namespace corvalo
