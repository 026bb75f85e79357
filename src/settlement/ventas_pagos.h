// The sales and payments lists "VENTAS Y PAGOS": the booth's tickets of today in the screen's
// game and currency, all sold ones ("Ventas ") or the paid ones ("Pagos"), newest first, and the
// column setup the grid shows them with. The lists only read.
#pragma once

#include "resumen_dia.h"

#include <optional>
#include <vector>

namespace corvalo {

enum class TipoLista { Ventas, Pagos };

enum class AlineacionLista { Izquierda = 0, Derecha = 1, Centro = 2 };

struct ColumnaLista {
    QString titulo;
    AlineacionLista alineacion = AlineacionLista::Izquierda;
    int ancho = 0; // twips
};
using ColumnasLista = std::vector<ColumnaLista>;

// The column setups by the grid's column position.
ColumnasLista VerCuadroVentaT(PantallaVenta pantalla);
ColumnasLista VerPagosT();
ColumnasLista VerCuadroVentaPT(PantallaVenta pantalla);
ColumnasLista VerCuadroPagosPT();
ColumnasLista VerCuadroVentaMK();
ColumnasLista VerCuadroPagosMK();

struct ConsultaLista {
    QString sentencia;
    QStringList campos; // the query's columns, in its order
    ColumnasLista columnas;
};

// The list of game `juego` on this screen; nothing when the game has none (no game chosen, or
// Marcas on the booth screen).
std::optional<ConsultaLista> consultaLista(const BaseDatos &db, TipoLista tipo, PantallaVenta pantalla,
                                           int juego, const QString &taquilla, int moneda);

inline const QString kTituloListas = QStringLiteral("VENTAS Y PAGOS");
inline const QString kFalloLista =
    QStringLiteral("NO SE PUDO CONSULTAR LA LISTA. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE");

struct ListaBoletos {
    ColumnasLista columnas;
    Resultado filas;         // on a failure: the list's columns without rows
    QString mensaje, titulo; // the failure's message box; empty when the list was read
};

// Command19 / Command1: the list of the session's booth and currency. Nothing when the game has
// no list. A database failure is logged and comes back as an empty list with its message.
std::optional<ListaBoletos> listarBoletos(Contexto &ctx, TipoLista tipo, PantallaVenta pantalla, int juego);

// A value as the grid shows it: dates as DD-MM-YYYY, everything else as the server sent it.
QString textoCelda(const QString &campo, const Campo &valor);

} // namespace corvalo
