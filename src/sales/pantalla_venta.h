// What the sales screen reads and shows, apart from its widgets: loading, game choice, the
// status refresh, the user check and the horse panel.
#pragma once

#include "color.h"
#include "contexto.h"

#include <array>
#include <optional>

namespace corvalo {

inline constexpr Color kColorTablasDinamicas{64, 0, 0};
inline constexpr Color kColorTablaFija{64, 64, 64};
inline constexpr Color kColorPuestos{0, 64, 64};
inline constexpr Color kColorReinicio{2, 70, 4}; // 280066
inline constexpr Color kAmarillo{255, 255, 0};
inline constexpr Color kGrisClaro{192, 192, 192};
inline constexpr Color kBlanco{255, 255, 255};
inline constexpr Color kRojo{255, 0, 0};
inline constexpr Color kColorMarcas{192, 64, 0};
inline constexpr Color kAmarilloHipodromo{255, 255, 128}; // the racetrack list while it has the cursor

// How the bet area looks for a game.
struct AspectoJuego {
    int juego = 0;
    QString titulo;          // Label1(0)
    Color color;             // Label1(0) and Frame1
    QString etiquetaMonto;   // Label3(0)
    bool procesarPT = false; // boton_procesarPT visible instead of boton_procesar
};
// `desdeMenu`: the menu command's title for Tablas Dinámicas.
AspectoJuego aspectoDe(int juego, bool desdeMenu = false);
AspectoJuego aspectoReinicio();

// The permission refusal of a game the group may not sell; nothing when it may.
struct Aviso {
    QString texto, titulo;
};
std::optional<Aviso> permisoJuego(int juego, const Sesion &s);

struct CargaVenta {
    int juego = 1;
    bool mostrarDinamicas = true, mostrarTablaFija = true, mostrarPuestos = true;
    QString banner;
    bool mostrarMonedas = true;
    QString administrador, tecnico;
    QString moneda1, moneda2;
    bool mostrarMoneda2 = true;
    QString nombre_moneda; // empty until a currency is clicked when both are offered
};
// Loading of the booth screen (re-opens rs_configuracion, hipodromos and monedas; sets id_moneda 1).
// Throws DbError at the first failure.
CargaVenta cargarVenta(Contexto &ctx, const QString &bannerDisenado = QStringLiteral("CENTRO HÍPICO"));

struct EstadoVenta {
    bool abierta = false;
    QString estado; // Label_estado
    Color colorEstado;
    QString carrera; // the race field (empty when closed)
    QString mensaje; // Label_Mensaje (mensajetf while sales are open); hidden when empty
    QString administrador, tecnico;
};
// Timer1: re-opens rs_configuracion; `abierta` is the setting that says sales are open (the
// booth: modificar; the operator: the game's). Throws DbError.
EstadoVenta refrescarEstado(Contexto &ctx, const QString &abierta = QStringLiteral("modificar"));

// Timer_Activo: true when the user's account is suspended ("Baja").
bool usuarioSuspendido(Contexto &ctx);
inline const QString kMensajeSuspendido =
    QStringLiteral("Su Sistema se encuentra Suspendido, Comuniquese con el Administrador");
inline const QString kTituloSuspendido = QStringLiteral("Zazuvuz Odavizu");

// The horse panel.
struct PanelCaballos {
    QString carrera; // Label_Carrera
    std::array<QString, 16> caballos, valores;
    int filas = 0;
    std::optional<QString> total; // Text_Total_Dinm; none for Los Puestos
};
inline const QString kRetirado = QStringLiteral(" R  E  T  I  R  A  D  O ");
PanelCaballos Cuadrar(Contexto &ctx, int juego);
PanelCaballos CuadrarPT(Contexto &ctx);
// The short text of a Los Puestos kind ("10/3", "4N", "1P 2N" ...).
QString puestoCorto(double valor);

} // namespace corvalo
