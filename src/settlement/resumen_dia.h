// The booth's day summary "RESUMEN DE VENTAS DEL DIA": for one day, one race or all, and one
// game, what the booth sold, paid and still owes, the balance and the cash that should be in
// the drawer. Days before the working date are read from the archive tables, the working date
// and later ones from today's tables. The summary only reads.
#pragma once

#include "contexto.h"

#include <array>

#include <QDate>

namespace corvalo {

// The sales screen a panel lives on: the booth's or the operator's. They differ in the status
// sets of the Los Puestos summary, the game Marcas, the amount format and the lists.
enum class PantallaVenta { Taquilla, Operador };

// The panel's two search buttons: bton_buscar (Tablas, and Marcas on the operator screen) and
// Command7 (Los Puestos).
enum class BusquedaResumen { Tablas, Puestos };

struct PedidoResumen {
    PantallaVenta pantalla = PantallaVenta::Taquilla;
    BusquedaResumen busqueda = BusquedaResumen::Tablas;
    int juego = 0;         // the screen's game
    QDate dia;             // DTPicker1
    QString carrera;       // Combo3 as typed; "" or "TODAS": every race
    QString taquilla;      // the session's usuario
    int moneda = 1;        // the session's id_moneda (Los Puestos only)
    QString nombre_moneda; // the screen's currency label: "BS" formats amounts as currency
};

bool esTodasLasCarreras(const QString &carrera);
// Label_JuegoPR for a game: "VENTAS TABLA DINAMICA" ... ("VENTAS" without one).
QString encabezadoJuego(int juego);

// The four figure statements in the order they run, and the column of the still-to-pay sum
// (monto_porcobrar in the archive statements of Tablas and Marcas, monto_porpagar elsewhere).
struct SentenciasResumen {
    QString anulados, porPagar, pagados, venta;
    QString columnaPorPagar;
};
// `busqueda` must be the one that runs for the request's game (see `busquedaEfectiva`);
// `archivado`: the day is before the working date.
SentenciasResumen sentenciasResumen(const BaseDatos &db, const PedidoResumen &p, bool archivado);
// The operator's bton_buscar runs the Los Puestos summary for Los Puestos, so that one summary
// of that game (ties counted, one currency) comes out whichever button asked for it.
BusquedaResumen busquedaEfectiva(const PedidoResumen &p);

// The highest and the lowest race of the day's race card.
QString sentenciaCarreraMayor(const BaseDatos &db, const QDate &dia);
QString sentenciaCarreraMenor(const BaseDatos &db, const QDate &dia);

struct CifrasResumen {
    double venta = 0, premios = 0, porPagar = 0;
    long long vendidos = 0, pagados = 0, porPagarCantidad = 0, anulados = 0;
    double saldo() const { return venta - premios - porPagar; }
    double caja() const { return venta - premios; }
};

// Label_Resultados 0 to 8: sales, prizes paid, still to pay, balance, cash (amounts), then the
// counts sold, paid, still to pay and cancelled.
using TextosResumen = std::array<QString, 9>;
// `moneda`: the workstation's currency format; otherwise "$#,##0.00".
TextosResumen textosResumen(const CifrasResumen &c, bool moneda);
// The format the screen uses: the operator always the currency format, the booth for "BS".
bool formatoMonedaDe(PantallaVenta pantalla, const QString &nombre_moneda);

inline const QString kTituloVerificacion = QStringLiteral("Verificación de datos");
inline const QString kSinJuegoVenta = QStringLiteral("Debe seleccionar un juego para poder hacer la venta");
inline const QString kSinJuegoVer = QStringLiteral("Debe seleccionar un juego para poder ver las ventas");
inline const QString kTituloResumen = QStringLiteral("RESUMEN DE VENTAS DEL DIA");
inline const QString kFalloResumen =
    QStringLiteral("NO SE PUDO CONSULTAR EL RESUMEN. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE");

struct ResultadoResumen {
    enum class Tipo { Cifras, SinJuego, Falla } tipo = Tipo::Falla;
    QString mensaje, titulo; // the message box of SinJuego and Falla
    // Cifras: what was summed, and for what.
    CifrasResumen cifras;
    TextosResumen textos;
    int juego = 0; // the game summed (3 for a Los Puestos summary)
    QDate dia;
    QString carrera;
    int carreraMenor = 0, carreraMayor = 0; // of the day's race card; 0 without one
};

// The working date, configuracion re-read. Throws DbError.
QDate fechaDeTrabajo(Contexto &ctx);

// bton_buscar / Command7: re-reads configuracion, reads the day's races and runs the four
// statements. A day without tickets of the booth sums to zero. A database failure is logged
// and comes back as Falla with its message.
ResultadoResumen resumirDia(Contexto &ctx, const PedidoResumen &p);

} // namespace corvalo
