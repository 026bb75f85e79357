// The login: the load of the login window, the Internet indicator, the public address lookup
// and every step of the OK button.
#pragma once

#include "color.h"
#include "opciones.h"

namespace corvalo {

inline const QString kTituloInicio = QStringLiteral("Inicio de sesión");
inline const QString kUsuarioNoValido =
    QStringLiteral("EL usuario ó la clave no es válida. Vuelva a intentarlo");
inline const QString kClaveNoValida = QStringLiteral("La contraseña no es válida. Vuelva a intentarlo");
inline const QString kSesionEnOtroEquipo =
    QStringLiteral("Este usuario ya tiene una sesión abierta en otro equipo. Debe salir del sistema en ese "
                   "equipo para poder ingresar en este.");
inline const QString kTituloCobranza = QStringLiteral("DEPARTAMENTO DE COBRANZA");
inline const QString kVersionVieja =
    QStringLiteral("La version es muy vieja, debe actualizar el sistema para poder ingresar");
inline const QString kTituloActualizar = QStringLiteral("Actualizar");
inline const QString kSinInternet =
    QStringLiteral("Checkee su conexion a internet por favor, parece que esta fallando.");
inline const QString kTituloUps = QStringLiteral("Ups!");
// A login step failed (server unreachable, a setting or the group's row missing); the reason follows.
inline const QString kIngresoFallido = QStringLiteral("No se pudo completar el ingreso:\n");

// Label_internet.
struct IndicadorInternet {
    QString texto;
    Color fondo, letra;
};
IndicadorInternet indicadorInternet(bool redActiva);

// True when the reply is four dot-separated numbers none of which is above 255. A part that
// is empty or holds anything but digits makes it no address (the lookup goes on).
bool esDireccion(const QString &respuesta);
// The reply of one service: the body without its NUL characters and surrounding blanks.
QString respuestaServicio(const QByteArray &cuerpo);
// Tries the blank-separated services in order, stops at the first address; the last reply
// taken is the result. An empty last reply shows the "Ups!" message.
QString direccionPublica(Maquina &maquina, Dialogos &dialogos, const QString &servicios);

// The minimum version that judges a level.
QString columnaVersionMinima(const QString &nivel);

// Statements of the login.
QString sentenciaUsuario(const BaseDatos &db, const QString &usuario);
QString sentenciaGrupo(const BaseDatos &db, const QString &grupo);
// The login record, taken only when the one-PC lock lets this machine in (no address, this
// machine's address, or another day's login): the check and the record are one statement, so
// of simultaneous logins of one user on several machines exactly one gets through.
QString sentenciaIngreso(const BaseDatos &db, const QString &fecha, const QString &hora, const QString &mac,
                         const QString &ip, const QString &usuario);

// What one press of OK ends in.
struct ResultadoLogin {
    enum Tipo {
        Rechazo,  // message shown by the window, cursor to `campo`; wait again
        Terminar, // message shown by the window, then the program ends
        Ingreso,  // close the login window, open the main window
        Fallo     // a step failed and what failed was said; wait again
    };
    Tipo tipo = Fallo;
    QString texto, titulo;
    QString campo; // objectName of the field that gets the cursor
};

class Login {
public:
    Login(Contexto &ctx, const OpcionesSesion &opciones) : ctx_(ctx), opciones_(opciones) {}

    // The login window's load: central connection with the built-in string and the shared
    // recordsets usuarios, configuracion, grupos. Failures end it silently.
    void cargar();
    // cmdOK with the typed texts.
    ResultadoLogin cmdOK(const QString &usuario, const QString &clave);

private:
    ResultadoLogin pasos(const QString &usuario, const QString &clave);
    Contexto &ctx_;
    const OpcionesSesion &opciones_;
};

} // namespace corvalo
