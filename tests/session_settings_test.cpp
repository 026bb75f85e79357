// The workstation's settings files (system, user, command line) and the notice of a workstation
// that is not set up yet.
#include "ajustes_puesto.h"
#include "entorno_falso.h"
#include "primer_arranque.h"
#include "registro.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

// A workstation tree: ROOT/usr/bin holds the program, ROOT/etc/corvalo/corvalo.conf is the system
// file, ROOT/home/.config the user's configuration folder.
struct Arbol {
    QTemporaryDir dir;
    QString raiz() const { return dir.path(); }
    QString programa() const { return raiz() + "/usr/bin"; }
    QString configuracion() const { return raiz() + "/home/.config"; }
    QString sistema() const { return raiz() + "/etc/corvalo/corvalo.conf"; }
    QString usuario() const { return raiz() + "/home/.config/Corvalo/corvalo.conf"; }
    static void escribir(const QString &ruta, const QByteArray &texto) {
        QDir().mkpath(QFileInfo(ruta).path());
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    }
};

const char *const kCentralSistema = "server=db.agencia;port=3306 ;uid=caja;pwd=s3creta;database=hipica;";

} // namespace

TEST(Ajustes, SystemThenUserThenCommandLine) {
    struct Caso {
        const char *nombre;
        const char *sistema, *usuario; // null: no file
        std::vector<std::pair<const char *, const char *>> lineaComandos;
        // Expected central and ip-services values and their origins ("" = built in).
        const char *central, *origenCentral, *servicios, *origenServicios;
    };
    const Caso casos[] = {
        {"no files", nullptr, nullptr, {}, nullptr, "built in", nullptr, "built in"},
        {"system only",
         "# agency values\n\ncentral = server=db.agencia;port=3306 ;uid=caja;pwd=s3creta;database=hipica;\n",
         nullptr,
         {},
         kCentralSistema,
         "SYS line 3",
         nullptr,
         "built in"},
        {"user over system, the system's other keys stay",
         "central=server=db.agencia;port=3306 ;uid=caja;pwd=s3creta;database=hipica;\r\nip-services = "
         "http://a/ http://b/\r\n",
         "  central   =   server=otra;database=x;  \n",
         {},
         "server=otra;database=x;",
         "USR line 1",
         "http://a/ http://b/",
         "SYS line 2"},
        {"command line over both",
         "ip-services = http://a/\n",
         "ip-services = http://b/\ncentral = server=otra;\n",
         {{"central", "server=cli;"}},
         "server=cli;",
         "command line",
         "http://b/",
         "USR line 1"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Arbol a;
        if (c.sistema)
            Arbol::escribir(a.sistema(), c.sistema);
        if (c.usuario)
            Arbol::escribir(a.usuario(), c.usuario);
        QString problema;
        AjustesPuesto p = leerAjustesPuesto(a.programa(), a.configuracion(), &problema);
        ASSERT_EQ(problema, QString());
        for (const auto &[clave, valor] : c.lineaComandos)
            ASSERT_EQ(fijarAjuste(p, clave, valor, "command line"), QString());
        auto origen = [&](const char *o) {
            return QString::fromUtf8(o).replace("SYS", a.sistema()).replace("USR", a.usuario());
        };
        EXPECT_EQ(p.central.origen, origen(c.origenCentral));
        if (c.central) {
            EXPECT_EQ(p.central.valor, c.central);
        }
        EXPECT_EQ(p.servicios.origen, origen(c.origenServicios));
        if (c.servicios) {
            EXPECT_EQ(p.servicios.valor, c.servicios);
        } else {
            EXPECT_EQ(p.servicios.valor,
                      "http://checkip.amazonaws.com/ http://api.ipify.org/ http://icanhazip.com/");
        }
        EXPECT_EQ(p.algunoDeArchivo(), c.sistema || c.usuario);
        // Keys no file sets keep their defaults.
        EXPECT_EQ(p.ajustesImpresion.valor, a.configuracion() + "/Corvalo/KVR2.bin");
        EXPECT_EQ(p.nivelRegistro.valor, "warning");
        ASSERT_EQ(p.archivos.size(), 2);
        EXPECT_EQ(p.archivos[0].ruta, a.sistema());
        EXPECT_EQ(p.archivos[0].leido, c.sistema != nullptr);
        EXPECT_EQ(p.archivos[1].leido, c.usuario != nullptr);
    }
}

TEST(Ajustes, BadFilesNameTheFileAndLineAndNeverThePassword) {
    struct Caso {
        const char *nombre;
        const char *sistema, *usuario;
        const char *problema; // SYS / USR stand for the files' paths
    };
    const Caso casos[] = {
        {"unknown key", "central = server=h;\ncentrl = server=h;pwd=s3creta;\n", nullptr,
         "SYS line 2: unknown key \"centrl\" (the keys are central, local, local-default-server, "
         "ip-services, "
         "print-settings, log-level, log-file)"},
        {"line without =", "# values\npwd s3creta\n", nullptr, "SYS line 2: not a \"key = value\" line"},
        {"line starting with =", "= s3creta\n", nullptr, "SYS line 1: not a \"key = value\" line"},
        {"malformed connection string", "central = uid=caja;pwd=s3creta;port=99999;\n", nullptr,
         "SYS line 1: central: malformed connection string: puerto no válido en la cadena de conexión: "
         "\"99999\""},
        {"key without value", "log-level =\n", nullptr, "SYS line 1: log-level has no value"},
        {"unknown log level", "log-level = verbose\n", nullptr,
         "SYS line 1: log-level: unknown level \"verbose\" (debug, info, warning or critical)"},
        {"address that is not IPv4", "local-default-server = 10.0.0.256\n", nullptr,
         "SYS line 1: local-default-server: \"10.0.0.256\" is not an IPv4 address"},
        {"key set twice", "central = server=a;\n\ncentral = server=b;pwd=s3creta;\n", nullptr,
         "SYS line 3: central is already set on line 1"},
        {"good system file, bad user file", "central = server=a;\n", "ip-services\n",
         "USR line 1: not a \"key = value\" line"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Arbol a;
        Arbol::escribir(a.sistema(), c.sistema);
        if (c.usuario)
            Arbol::escribir(a.usuario(), c.usuario);
        QString problema;
        leerAjustesPuesto(a.programa(), a.configuracion(), &problema);
        EXPECT_EQ(problema,
                  QString::fromUtf8(c.problema).replace("SYS", a.sistema()).replace("USR", a.usuario()));
        EXPECT_FALSE(problema.contains("s3creta"));
    }

    // Nothing of a file with a problem is taken.
    Arbol a;
    Arbol::escribir(a.sistema(), "ip-services = http://a/\nlog-level = loud\n");
    AjustesPuesto p = ajustesIncorporados("kvr", "log");
    EXPECT_FALSE(leerArchivoAjustes(a.sistema(), p).isEmpty());
    EXPECT_EQ(p.servicios.origen, "built in");
    EXPECT_TRUE(p.archivos.isEmpty());

    // The command line goes through the same checks.
    EXPECT_EQ(fijarAjuste(p, "log-level", "loud", "command line"),
              "log-level: unknown level \"loud\" (debug, info, warning or critical)");
    EXPECT_EQ(fijarAjuste(p, "local", "pwd=s3creta", "command line"),
              "local: malformed connection string: la cadena de conexión no indica el servidor (server=)");
}

TEST(Ajustes, AFileThatCannotBeReadSaysWhy) {
    Arbol a;
    // A folder where the file should be.
    QDir().mkpath(a.sistema());
    QString problema;
    leerAjustesPuesto(a.programa(), a.configuracion(), &problema);
    EXPECT_EQ(problema, "cannot read the settings file " + a.sistema() + ": it is a folder");

    if (geteuid() == 0)
        return; // root reads every file: a mode of 000 does not stop it
    Arbol b;
    Arbol::escribir(b.usuario(), "central = server=a;\n");
    QFile::setPermissions(b.usuario(), QFileDevice::Permissions());
    problema.clear();
    leerAjustesPuesto(b.programa(), b.configuracion(), &problema);
    EXPECT_TRUE(problema.startsWith("cannot read the settings file " + b.usuario() + ": "))
        << problema.toStdString();
    EXPECT_TRUE(problema.contains("the group corvalo")) << problema.toStdString();
}

TEST(Ajustes, SystemFileOfTheInstalledTree) {
    EXPECT_EQ(archivoAjustesSistema("/usr/bin"), "/etc/corvalo/corvalo.conf");
    EXPECT_EQ(archivoAjustesSistema("/tmp/paquete/usr/bin/"), "/tmp/paquete/etc/corvalo/corvalo.conf");
    EXPECT_EQ(archivoAjustesSistema("/work/build/app"), "/etc/corvalo/corvalo.conf");
    EXPECT_EQ(archivoAjustesUsuario("/home/ana/.config"), "/home/ana/.config/Corvalo/corvalo.conf");
}

TEST(Ajustes, VersionTextShowsOriginsWithPasswordsMasked) {
    Arbol a;
    Arbol::escribir(a.sistema(), "central = server=db.agencia;uid=caja;PWD = s3creta;database=hipica;\n"
                                 "local = server=localhost;uid=root;password=qwe456;database=bd_corvalo;\n");
    QString problema;
    AjustesPuesto p = leerAjustesPuesto(a.programa(), a.configuracion(), &problema);
    ASSERT_EQ(problema, QString());
    ASSERT_EQ(fijarAjuste(p, "log-level", "info", "command line"), QString());
    p.archivoRegistro.valor = "/var/log/corvalo.log";
    const QString texto = textoVersion(p);
    EXPECT_EQ(texto,
              "corvalo 2.8.01 (version 28001)\n"
              "settings file " +
                  a.sistema() +
                  ": read\n"
                  "settings file " +
                  a.usuario() +
                  ": not present\n"
                  "central = server=db.agencia;uid=caja;PWD =***;database=hipica;\n"
                  "    (" +
                  a.sistema() +
                  " line 1)\n"
                  "local = server=localhost;uid=root;password=***;database=bd_corvalo;\n"
                  "    (" +
                  a.sistema() +
                  " line 2)\n"
                  "local-default-server = 192.168.1.10\n    (built in)\n"
                  "ip-services = http://checkip.amazonaws.com/ http://api.ipify.org/ http://icanhazip.com/\n"
                  "    (built in)\n"
                  "print-settings = " +
                  a.configuracion() +
                  "/Corvalo/KVR2.bin\n    (built in)\n"
                  "log-level = info\n    (command line)\n"
                  "log-file = /var/log/corvalo.log\n    (built in)\n");
    EXPECT_FALSE(texto.contains("s3creta"));
    EXPECT_FALSE(texto.contains("qwe456"));
}

// --- a workstation that is not set up yet -----------------------------------------------------

namespace {

struct PuestoNuevo {
    EntornoFalso e;
    OpcionesSesion o;
    QTemporaryDir dir;
    PuestoNuevo() {
        o.revisarPuesto = true;
        o.sinAjustes = true;
        o.archivosAjustes =
            QStringList{"/etc/corvalo/corvalo.conf", "/home/ana/.config/Corvalo/corvalo.conf"};
        o.cadenaCentral = "driver={MySQL ODBC 3.51 Driver};server=central.corvalo.local;port=3306 "
                          ";uid=corvalo;pwd=corvalo;database=corvalo;";
        o.rutaAjustes = dir.path() + "/KVR2.bin";
        e.ctx.cadenaLocal =
            "driver={MySQL ODBC 3.51 "
            "Driver};server=localhost;port=3306;uid=root;pwd=qwe456;database=bd_corvalo;connection=";
    }
    void hayBase() {
        e.fabrica.preparar = [](BdFalsa &db) {
            db.responder("show databases like 'bd_corvalo'", fila({{"Database (bd_corvalo)", "bd_corvalo"}}));
        };
    }
};

const QString kSinArchivo =
    "No hay archivo de configuración con valores (/etc/corvalo/corvalo.conf ni "
    "/home/ana/.config/Corvalo/corvalo.conf). Se usa la base central incorporada: "
    "«corvalo» en el servidor central.corvalo.local:3306. Si la base central de la "
    "agencia es otra, escríbala en /etc/corvalo/corvalo.conf (clave central) y abra el "
    "programa de nuevo.";
const QString kSinBase =
    "El servidor MariaDB de este puesto (localhost:3306) no tiene la base de los reportes "
    "bd_corvalo. Puede crearla ahora con la clave de acceso.";

} // namespace

TEST(PuestoSinPreparar, AFreshWorkstationIsToldEverythingAndOfferedTheReportDatabase) {
    PuestoNuevo p;
    p.e.dialogos.entradaTexto = QStringLiteral("40917");
    ASSERT_TRUE(avisarPuestoSinPreparar(p.e.ctx, p.o));
    const QString kSinImpresion = "No hay configuración de impresión (" + p.o.rutaAjustes +
                                  "): no se imprimirá ningún boleto. Después de entrar, guárdela en "
                                  "Configuración, Puerto de Impresión.";
    ASSERT_GE(p.e.dialogos.vistos.size(), 4u);
    EXPECT_EQ(p.e.dialogos.vistos[0].texto, "Este puesto todavía no está preparado:\n\n- " + kSinArchivo +
                                                "\n\n- " + kSinImpresion + "\n\n- " + kSinBase);
    EXPECT_EQ(p.e.dialogos.vistos[0].titulo, "PUESTO SIN PREPARAR");
    EXPECT_EQ(p.e.dialogos.vistos[0].icono, Icono::Exclamacion);
    // Then what a failed login step offers: the question, the access code, the creation.
    EXPECT_EQ(p.e.dialogos.textos.mid(1),
              QStringList({"Este Usuario Requiere crear las credenciales para los reportes desea hacerlo? ",
                           "INGRESE LA CLAVE", "La BD ha sido creada con exito"}));
    // The look-up went to the server without a database; the creation ran its statements.
    EXPECT_EQ(p.e.fabrica.cadenas.at(1).contains("database="), false);
    EXPECT_EQ(p.e.fabrica.abiertas.at(1)->sentencias, QStringList{"show databases like 'bd_corvalo'"});
    EXPECT_TRUE(p.e.fabrica.abiertas.at(2)->sentencias.contains("CREATE DATABASE `bd_corvalo`;"));
}

TEST(PuestoSinPreparar, OnlyWhatIsMissingIsSaid) {
    { // Settings file and print settings in place: nothing is said, nothing is looked up.
        PuestoNuevo p;
        p.o.sinAjustes = false;
        QFile f(p.o.rutaAjustes);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"LPT1:\",1,0,8\r\n");
        f.close();
        EXPECT_FALSE(avisarPuestoSinPreparar(p.e.ctx, p.o));
        EXPECT_TRUE(p.e.dialogos.vistos.empty());
        EXPECT_EQ(p.e.fabrica.cadenas.size(), 1); // the central connection of the fixture only
    }
    { // The report database is there: only the settings file and print settings are missing.
        PuestoNuevo p;
        p.hayBase();
        ASSERT_TRUE(avisarPuestoSinPreparar(p.e.ctx, p.o));
        ASSERT_EQ(p.e.dialogos.vistos.size(), 1u);
        EXPECT_TRUE(p.e.dialogos.vistos[0].texto.contains(kSinArchivo));
        EXPECT_FALSE(p.e.dialogos.vistos[0].texto.contains("bd_corvalo"));
    }
    { // No local server: said, and no offer, since nothing could be created.
        PuestoNuevo p;
        p.o.sinAjustes = false;
        p.e.fabrica.falla = true;
        ASSERT_TRUE(avisarPuestoSinPreparar(p.e.ctx, p.o));
        ASSERT_EQ(p.e.dialogos.vistos.size(), 1u);
        EXPECT_FALSE(p.e.dialogos.vistos[0].texto.contains(kSinArchivo));
        EXPECT_TRUE(p.e.dialogos.vistos[0].texto.contains(
            "No responde el servidor MariaDB de este puesto (localhost:3306), que guarda las tablas de los "
            "reportes: instale y arranque mariadb-server para que los supervisores saquen reportes. Las "
            "taquillas pueden trabajar sin él."));
    }
    { // The offer answered No: nothing is created.
        PuestoNuevo p;
        p.e.dialogos.respuestas.push_back(Respuesta::No);
        ASSERT_TRUE(avisarPuestoSinPreparar(p.e.ctx, p.o));
        ASSERT_EQ(p.e.dialogos.vistos.size(), 3u); // the notice, the offer and why nothing was made
        EXPECT_TRUE(p.e.dialogos.vistos.back().texto.startsWith("La base de datos local de reportes no se ha creado"));
        EXPECT_EQ(p.e.fabrica.abiertas.size(), 2u); // the central one and the look-up
    }
}

TEST(PuestoSinPreparar, AFailedCreationIsToldWithoutThePassword) {
    PuestoNuevo p;
    p.e.dialogos.entradaTexto = QStringLiteral("40917");
    p.e.fabrica.preparar = [](BdFalsa &db) { db.fallar("CREATE DATABASE"); };
    ASSERT_TRUE(avisarPuestoSinPreparar(p.e.ctx, p.o));
    ASSERT_FALSE(p.e.dialogos.vistos.empty());
    EXPECT_EQ(p.e.dialogos.vistos.back().titulo, "SISTEMA");
    EXPECT_TRUE(
        p.e.dialogos.vistos.back().texto.startsWith("No se pudo crear la base de datos local de reportes:\n"));
    EXPECT_EQ(p.e.dialogos.vistos.back().icono, Icono::Error);
    EXPECT_FALSE(p.e.dialogos.textos.contains("La BD ha sido creada con exito"));
}
