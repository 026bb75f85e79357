// The workstation's deployment values: the built-in defaults, overridden in this order by the
// system settings file, the user's settings file and the command line.
//
// A settings file holds "key = value" lines; blank lines and lines starting with "#" are
// ignored. The keys are the long command-line options: central, local, local-default-server,
// ip-services, print-settings, log-level, log-file.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace corvalo {

// One value the program runs with and where it came from: "built in", "command line" or
// "FILE line N".
struct ValorAjuste {
    QString valor;
    QString origen;
};

struct AjustesPuesto {
    ValorAjuste central;          // the central connection string
    ValorAjuste local;            // the local report database's connection string
    ValorAjuste servidorLocal;    // the address written into conf_local.ip_secundaria
    ValorAjuste servicios;        // blank-separated URLs of the public-address services
    ValorAjuste ajustesImpresion; // the print-settings file KVR2.bin
    ValorAjuste nivelRegistro;    // the technician's log level
    ValorAjuste archivoRegistro;  // the technician's log file

    struct Archivo {
        QString ruta;
        bool leido = false; // false: not present
    };
    QList<Archivo> archivos; // the settings files looked at, in order

    // True when some settings file set a value.
    bool algunoDeArchivo() const;
    // The value of `clave` (one of clavesAjustes()); null for an unknown key.
    ValorAjuste *valor(const QString &clave);
    const ValorAjuste *valor(const QString &clave) const;
};

// The keys, in the order the version text lists them.
QStringList clavesAjustes();

// The built-in values; the print-settings file and the log file default to the given paths.
AjustesPuesto ajustesIncorporados(const QString &ajustesImpresion, const QString &archivoRegistro);

// Sets `clave` after checking its value. Returns the problem (empty when the value was taken):
// an unknown key, an empty value, a connection string that cannot be parsed, an unknown log
// level, an address that is not IPv4.
QString fijarAjuste(AjustesPuesto &a, const QString &clave, const QString &valor, const QString &origen);

// Reads the settings file `ruta` over `a`; a file that does not exist is no error and reads
// nothing. Returns the problem, naming the file and the line, or empty. Nothing of a file with a
// problem is taken. The text never holds a password.
QString leerArchivoAjustes(const QString &ruta, AjustesPuesto &a);

// The system settings file of a program installed in `carpetaPrograma`: etc/corvalo/corvalo.conf
// of the tree holding usr/bin (so /etc/corvalo/corvalo.conf for /usr/bin/corvalo, and the same
// place inside a folder a package was unpacked into); /etc/corvalo/corvalo.conf otherwise.
QString archivoAjustesSistema(const QString &carpetaPrograma);
// The user's settings file: corvalo.conf in Corvalo of the user's configuration folder.
QString archivoAjustesUsuario(const QString &carpetaConfiguracion);

// The built-in values (the print-settings file KVR2.bin in Corvalo of `carpetaConfiguracion`),
// then the system settings file of `carpetaPrograma`, then the user's file in
// `carpetaConfiguracion`. At the first problem it stops and sets *problema.
AjustesPuesto leerAjustesPuesto(const QString &carpetaPrograma, const QString &carpetaConfiguracion,
                                QString *problema);

// What "corvalo --version" prints: the version, the settings files and every value with its
// origin, passwords masked.
QString textoVersion(const AjustesPuesto &a);

} // namespace corvalo
