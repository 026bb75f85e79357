// The management console "GERENCIA CENTRO HIPICO": what its three tabs share (the console
// currency and its amount format, the booth and game lists, the puesto labels) and the
// window's set-up, apart from its widgets.
#pragma once

#include "color.h"
#include "contexto.h"
#include "mensajes.h"

#include <QDate>
#include <QStringList>

#include <optional>

namespace corvalo {

inline constexpr Color kRgbVerde{0, 255, 0};
inline constexpr Color kRgbRojo{255, 0, 0};
inline constexpr Color kRgbAmarillo{255, 255, 0};
inline constexpr Color kRgbBlanco{255, 255, 255};
inline constexpr Color kRgbAmarilloClaro{255, 255, 128};  // lists refilled on focus
inline constexpr Color kRgbCarreraAbierta{17, 61, 115};   // set-up and race look-up
inline constexpr Color kRgbCarreraAbiertaPanel{64, 0, 0}; // the live panel's refresh
// The refresh indicator while the figures shown are older than the last tick (the central
// server is slow or unreachable).
inline constexpr Color kRgbSinActualizar{255, 170, 0};

inline const QString kTituloGerencia = QStringLiteral("GERENCIA CENTRO HIPICO");
inline const QString kDebeSeleccionarJuego = QStringLiteral("Debe seleccionar un juego");
inline const QString kTituloVerificarDatos = QStringLiteral("Verificar datos");
inline const QString kTodos = QStringLiteral("TODOS");
inline const QString kTodas = QStringLiteral("TODAS");
inline const QString kCaballoRetirado = QStringLiteral(" R  E  T  I  R  A  D  O ");
inline const QString kPantallaGerencia = QStringLiteral("Form_Gerencia");

// The label of a Los Puestos code as the live panel shows it ("4p5nini" for 45, "10/3" for
// 0.3); any other value is shown as stored.
QString etiquetaPuestoConsola(const QString &almacenado);

// The booth list: booth users (levels "Taquilla" and "Supervisor") of the group, in the order
// of the users recordset, then "TODOS".
QStringList listaTaquillas(const Resultado &usuarios, const QString &grupo);
// The game names of `juegos` in table order; `conTodos` adds "TODOS" last.
QStringList listaJuegos(const Resultado &juegos, bool conTodos);
// id_juego of the first row whose name is `texto`; empty when none matches ("TODOS" included).
QString idJuego(const Resultado &juegos, const QString &texto);
// The name the game boxes start with: the game with id 1 (the first row when there is none).
QString juegoInicial(const Resultado &juegos);
// The heading over the tablas column for the selected game: "PUESTO" for Los Puestos,
// "TABLAS" for every other game.
QString encabezadoTablas(const QString &idJuego);
// The race lists of the booth totals and the search: "01" to "16", "00", "201" to "216";
// `conTodas` puts "TODAS" first.
QStringList listaCarreras(bool conTodas);

// A race as the race lists write it: "02" for "2" or "002", "00" for "0"; "201", "TODAS" and
// any other text as they are.
QString carreraDeLista(const QString &carrera);

// A race filter: all races when the first race is empty or "TODAS".
bool todasLasCarreras(const QString &carreraInicial);

// The settings the console reads, taken from a row of configuracion.
struct EstadoCarrera {
    QString carrera; // configuracion.carrera
    QDate fecha;     // configuracion.fecha
    bool abierta = false;
    QString estado; // Label_estado: empty when open, "CERRADO" when closed
    Color color;
};
// `colorAbierta` differs between the set-up, the refresh and the race look-up.
EstadoCarrera estadoCarrera(const Resultado &configuracion, Color colorAbierta);

// What the window's set-up (Form_Load) leaves; fields it did not reach keep these values.
struct CargaGerencia {
    bool completa = false;
    QDate fecha;                // DTPicke1
    QString carrera;            // Combo_Carreras, Combo_Carreras2
    bool mostrarMonedas = true; // Frame_Moneda
    bool conEstado = false;
    EstadoCarrera estado;
    QStringList monedas; // captions of Label_Moneda(0), (1)
    bool mostrarMoneda2 = true;
    QString captionMoneda; // the console currency caption
    QStringList juegos;    // the live panel's game list
    QStringList juegosConTodos;
    QString juego;         // the game the boxes start with
    QStringList taquillas; // the booth lists
};
// Re-opens configuracion, juegos, usuarios and monedas; a failure stops it where it happens
// (the failure is logged). The console currency is 1 and its caption that of the first
// currency label.
CargaGerencia cargarGerencia(Contexto &ctx);

} // namespace corvalo
