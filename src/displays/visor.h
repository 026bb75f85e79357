// The customer displays' logic: what the public board shows for the current race, read from the
// central database every five seconds and never written back. The windows only copy a TableroVisor
// onto their controls.
#pragma once

#include "color.h"
#include "contexto.h"
#include "mensajes.h"

#include <QRandomGenerator>

#include <array>
#include <optional>

namespace corvalo {

// The triple board (TD, TF and PT columns, 16 rows) and the double board (TF and PT with the
// jockeys, 14 rows).
enum class TipoVisor { Triple, Doble };
inline constexpr int kFilasMaximas = 16;
constexpr int filasVisor(TipoVisor t) {
    return t == TipoVisor::Triple ? 16 : 14;
}

inline constexpr Color kBlancoVisor{255, 255, 255};
inline constexpr Color kRojoVisor{255, 0, 0};
inline constexpr Color kAzulMensaje{17, 61, 115};
inline constexpr Color kGrisVisor{192, 192, 192};
inline constexpr Color kVerdeMoneda1{0, 128, 0};
inline constexpr Color kVerdeMoneda2{0, 255, 0};
inline constexpr Color kAzulTD{17, 61, 115};
inline constexpr Color kRojoTF{128, 0, 0}; // dark enough to read on the grey
inline constexpr Color kVerdePT{0, 64, 64};

inline const QString kCaptionVisor = QStringLiteral("VISOR");
inline const QString kRetiradoVisor = QStringLiteral("RETIRADO");
inline const QString kAtencionPublico = QStringLiteral("ATENCION PUBLICO APOSTADOR");
inline const QString kBannerTriple = QStringLiteral(":.. TABLAS DINAMICAS ..:");
inline const QString kBannerDoble = QStringLiteral(":.. TABLAS  ..:");
inline const QString kMensajeSuspendidoVisor =
    QStringLiteral("Su Sistema se encuentra Suspendido, Comuniquese con el Administrador");
inline const QString kTituloSuspendidoVisor = QStringLiteral("Zazuvuz Odavizu");

// The source of the banner rotation and the colour cycling: uniform in [0, 1).
class AzarVisor {
public:
    virtual ~AzarVisor() = default;
    virtual double uniforme() = 0;
};

// The program's random source, seeded once from the system.
class AzarSistema : public AzarVisor {
public:
    double uniforme() override { return generador_.generateDouble(); }

private:
    QRandomGenerator generador_ = QRandomGenerator::securelySeeded();
};

// Rounds to the nearest integer, halves to the even one (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
int redondeoPar(double x);

// The 16 standard console colours, by QuickBASIC number 0 to 15.
Color colorConsola(int numero);
// A random console colour: number 15 x r rounded, halves to even.
Color colorAleatorio(AzarVisor &azar);
// A random text colour for "ATENCION PUBLICO APOSTADOR" on its white background: one of the
// console colours that read on white across a room.
Color colorMensajeAleatorio(AzarVisor &azar);

// The banner game: 0 Tabla Fija, 1 Los Puestos, 2 Tablas Dinámicas (2 at opening).
inline constexpr int kJuegoApertura = 2;
// The rotation every minute: triple 2 x r rounded (1 twice as likely as 0 or 2), double r rounded.
int rotarJuego(TipoVisor tipo, AzarVisor &azar);
QString textoBanner(int juego);

// Text and background of one label.
struct ColoresRotulo {
    Color texto, fondo;
    bool operator==(const ColoresRotulo &) const = default;
};
// A random text and background for the cycling labels: one of the pairs of console colours that
// read across a room (never olive on grey or navy on purple).
ColoresRotulo parAleatorio(AzarVisor &azar);
// What a tick of the banner colour timer paints: the banner and the column labels, the column of
// the banner game in random colours (the double board has no TD label).
struct ColoresBanner {
    ColoresRotulo barner, td, tf, pt;
};
ColoresBanner coloresBanner(TipoVisor tipo, int juego, AzarVisor &azar);

// The short label of a stored Los Puestos code ("10/3", "2N", "3P 4N"); any other value as stored.
QString etiquetaPuestoVisor(const QString &almacenado);

enum class Flecha { Ninguna, Arriba, Abajo };
// The price arrow: up or down when both the reference and the price are numbers other than 0 and
// they differ; none otherwise.
Flecha flechaDe(const QString &referencia, const QString &precio);

// One row of the board, as its controls hold it.
struct FilaVisor {
    QString idCaballo; // Text_IdCaballo: the row's id_carrera
    QString caballo;   // Label_caballos
    QString jinete;    // Label_Jinete (double board)
    bool jineteVisible = false;
    QString dinamica;                // Text_Dinm (triple board)
    Flecha flecha = Flecha::Ninguna; // Picture_Flecha
    QString tablaFija;               // Text_TF
    QString puesto;                  // Text_PT
    QString retirado;                // Text_retirado
    bool bannerRetirado = false;     // Text_ETI_RET
    QString referencia;              // Text_D2: the price the arrow compares with
    QString idReferencia;            // the horse (id_carrera) the reference price belongs to
};

// The board never has fewer rows than this, so a short race is not drawn in giant type.
inline constexpr int kFilasMinimas = 8;

// Everything the board shows, kept from one refresh to the next.
struct TableroVisor {
    explicit TableroVisor(TipoVisor t) : tipo(t) {}
    TipoVisor tipo;
    std::array<FilaVisor, kFilasMaximas> filas{};
    int filasUsadas() const { return filasVisor(tipo); }
    // The rows drawn: as many as the race has horses, at least kFilasMinimas, at most
    // filasUsadas(); the board's height is shared among them.
    int filasMostradas = kFilasMinimas;

    QString carrera;             // Label_Carrera
    bool mensajeVisible = false; // Frame_Mensaje
    QString mensaje;             // Text_Mensaje
    bool cicloMensaje = false;   // Timer2 running
    Color fondoVentana = kBlancoVisor;
    QString estado; // Label_estado
    Color fondoEstado = kBlancoVisor;
    bool estadoVisible = true; // the double board hides it while the race is open
    QString total;             // Text_Total (triple board)
    QString total2;            // Text_Total2
};

// Text_retirado's change: 1 shows the "RETIRADO" banner (and hides the jockey); any other value hides
// it, shows the jockey and leaves "0". Nothing happens when the text does not change.
void cambiarRetirado(TableroVisor &t, int i, const QString &valor);
// Text_Dinm's change: the arrow against the reference price.
void cambiarDinamica(TableroVisor &t, int i, const QString &valor);
// Limpiar: empties the rows; with the race closed (modificar 0) also the reference prices.
void limpiarTablero(TableroVisor &t, int modificar);

struct ResultadoCuadre {
    enum class Fin {
        Completo, // the whole card shown with its totals
        Desborde, // the card has more horses than the board has rows: those rows, no totals
        Falla,    // a statement or a value failed: the board as far as it got
    };
    Fin fin = Fin::Completo;
    QString error;
};

// Cuadrar: the full refresh of the board, step by step on `t`, so that a failure leaves the board as
// far as it got. Re-opens rs_configuracion; reads the group's message and the current race card.
ResultadoCuadre cuadrarTablero(Contexto &ctx, TableroVisor &t);

// Form_Load: what the opening sets before and after its first refresh. A failure stops the set-up:
// what was not reached stays as designed.
struct AperturaVisor {
    std::optional<QString> banner; // Label_Barner: configuracion.juego
    std::optional<bool> mostrarTF, mostrarPT;
    std::optional<Color> fondoTablero; // Frame_CAB
    std::optional<ResultadoCuadre> cuadre;
    std::optional<QString> moneda; // Label_m
    QString error;                 // the failure that stopped it, if any
};
AperturaVisor abrirVisor(Contexto &ctx, TableroVisor &t);

// The user check of Timer_Activo.
struct ComprobacionUsuario {
    enum class Estado { Activo, Suspendido, Desconocido };
    Estado estado = Estado::Activo;
    QString error; // Desconocido: why (no such user, a failed statement)
};
ComprobacionUsuario comprobarUsuario(Contexto &ctx);

} // namespace corvalo
