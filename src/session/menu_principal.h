// The main window's logic: what each level sees, the load, the timer and leaving.
#pragma once

#include "opciones.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

namespace corvalo {

// Menus and toolbar buttons a level changes; everything else keeps the design's state.
struct VisibilidadNivel {
    bool gerencia = true;  // gerencia_menu
    bool reportes = true;  // reportes_admin
    bool pantallas = true; // pantallamenus
    bool venta = true;     // toolbar "VENTA"
    bool salir = true;     // toolbar "SALIR"
    bool operator==(const VisibilidadNivel &) const = default;
};
// Levels are exact, case-sensitive texts; an unknown level is treated as "Operador".
VisibilidadNivel visibilidadDe(const QString &nivel);

inline const QString kTituloMensajeAdmin = QStringLiteral("ATENCION MENSAJE DEL ADMINISTRADOR");
inline const QString kOfertaVersion =
    QStringLiteral("Ya existe una nueva versión del sistema, ¿desea descargarla ahora?");
inline const QString kTituloOfertaVersion = QStringLiteral("Actualización de Sistema");
inline const QString kPreguntaSalida = QStringLiteral("Esta seguro de salir del sistema");
inline const QString kPreguntaSalir = QStringLiteral(" SALIR DEL SISTEMA, ¿DESEA CONTINUAR? ");
inline const QString kTituloSalir = QStringLiteral("SALIR DEL SISTEMA");
// A menu entry whose screen this version does not have.
inline const QString kPantallaNoDisponible =
    QStringLiteral("ESTA PANTALLA NO ESTA DISPONIBLE EN ESTA VERSION DEL SISTEMA");
inline const QString kTituloNoDisponible = QStringLiteral("PANTALLA NO DISPONIBLE");
// VENTA (F2) for a level that sells from no screen.
inline const QString kNivelSinVenta = QStringLiteral(
    "ESTE NIVEL DE USUARIO NO TIENE PANTALLA DE VENTA: SOLO VENDEN LOS NIVELES TAQUILLA Y OPERADOR");

// The state the load leaves the window in. Fields the load did not reach keep these defaults.
struct CargaMenu {
    QString caption;
    VisibilidadNivel visibilidad;
    bool visor1 = true, visor2 = true; // tbfija_pant_menu, visor2menu
    std::array<QString, 7> paneles;    // StatusBar1 panels 1..7
    QString web;
    int tipopantalla = 0;
    bool mostrarDescargar = false; // Picture1
    bool terminar = false;         // the download was accepted: the program ends
};

// Steps 2 to 10 of the load. The administrator's message and the version offer are shown
// through the context's dialogs; a failure ends the load silently at that step.
CargaMenu cargarMenuPrincipal(Contexto &ctx, const QString &rutaAjustes);

// Copies the group settings of the session's group from rs_grupos; false when the group
// has no row (the settings keep their previous values).
bool copiarGrupo(Contexto &ctx);

// Timer_Activo: re-opens rs_configuracion; failures are silent.
void Timer_Activo_Timer(Contexto &ctx);

QString sentenciaSalida(const BaseDatos &db, const QString &usuario);
// The close box and toolbar "SALIR": the question, then the statement that frees the
// one-PC lock. True when the program is to end.
bool confirmarSalida(Contexto &ctx);
// Menu "Salir": the question only; true when the program is to end.
bool confirmarSalir(Contexto &ctx);

// Placement: top-left corner of a window of `ventana` size centred in `pantalla`
// (integer halves), of a frame centred horizontally (same top), and of a frame centred
// inside another frame (coordinates of the outer frame's content).
QPoint centrado(const QRect &pantalla, const QSize &ventana);
QPoint centradoHorizontal(const QRect &pantalla, const QRect &marco);
QPoint centradoEnMarco(const QSize &exterior, const QSize &marco);

} // namespace corvalo
