// The technician's log: every failure the program catches is written here with the time, the
// user, the screen and the error's own text, through Qt's logging categories. Passwords never
// reach it: every text is cleared of "pwd=" values before it is written.
#pragma once

#include <QLoggingCategory>
#include <QString>

#include <exception>
#include <optional>

namespace corvalo {

struct Sesion;

// One category per subsystem; "corvalo.*" selects them all in QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcBaseDatos) // corvalo.db
Q_DECLARE_LOGGING_CATEGORY(lcSesion)    // corvalo.session
Q_DECLARE_LOGGING_CATEGORY(lcVentas)    // corvalo.sales
Q_DECLARE_LOGGING_CATEGORY(lcCobro)     // corvalo.settlement
Q_DECLARE_LOGGING_CATEGORY(lcImpresion) // corvalo.printing
Q_DECLARE_LOGGING_CATEGORY(lcGerencia)  // corvalo.management
Q_DECLARE_LOGGING_CATEGORY(lcVisor)     // corvalo.displays
Q_DECLARE_LOGGING_CATEGORY(lcReportes)  // corvalo.reports

// The text with the value of every "pwd=" and "password=" field (up to the next ";") replaced by "***".
QString sinClaves(const QString &texto);

// Writes a caught failure as a warning of `categoria`:
//   "<user> <screen>: <what it was doing>: <error text>".
// `sesion` may be null (before login).
void registrarFalla(const QLoggingCategory &categoria, const Sesion *sesion, const QString &pantalla,
                    const QString &accion, const QString &error);
void registrarFalla(const QLoggingCategory &categoria, const Sesion *sesion, const QString &pantalla,
                    const QString &accion, const std::exception &e);

// Sends every message from `nivel` up (QtDebugMsg .. QtFatalMsg) to the end of `archivo`, one line
// each with its time, level and category, and on to the previous handler (the terminal). The
// folder is made when missing. Returns false (and logs to the terminal only) when the file cannot
// be opened.
bool instalarRegistro(const QString &archivo, QtMsgType nivel);
// The log file of the running user: ~/.local/state/Corvalo/corvalo.log.
QString archivoRegistroPredeterminado();
// "debug", "info", "warning", "critical"; nothing for any other text.
std::optional<QtMsgType> nivelRegistro(const QString &texto);

} // namespace corvalo
