// Login, main-window load and print-settings logic on the recording fake, and the public
// address lookup against a stand-in address service on 127.0.0.1.
#include "ajustes_impresion.h"
#include "bd_falsa.h"
#include "codificacion.h"
#include "conf_impresion.h"
#include "entorno_falso.h"
#include "login.h"
#include "maquina_linux.h"
#include "menu_principal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <deque>
#include <gtest/gtest.h>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

void asegurarAplicacion() {
    static int argc = 1;
    static char nombre[] = "session_logic_test";
    static char *argv[] = {nombre, nullptr};
    static QCoreApplication *app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// Answers GET /PATH with the body given for PATH (404 for others), recording every request.
class ServicioFalso {
public:
    ServicioFalso() {
        servidor.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&servidor, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = servidor.nextPendingConnection()) {
                auto *leido = new QByteArray;
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, leido] {
                    *leido += s->readAll();
                    if (!leido->contains("\r\n\r\n"))
                        return;
                    const QList<QByteArray> lineas = leido->split('\n');
                    const QByteArray ruta = lineas.first().split(' ').value(1).mid(1);
                    pedidos << QString::fromLatin1(ruta);
                    for (const QByteArray &l : lineas)
                        if (l.toLower().startsWith("user-agent:"))
                            agentes << QString::fromLatin1(l.mid(11).trimmed());
                    const auto it = cuerpos.find(QString::fromLatin1(ruta));
                    QByteArray r;
                    if (it == cuerpos.end())
                        r = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                    else
                        r = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                            QByteArray::number(it->second.size()) + "\r\nConnection: close\r\n\r\n" +
                            it->second;
                    s->write(r);
                    s->disconnectFromHost();
                    delete leido;
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString url(const QString &ruta) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(servidor.serverPort()).arg(ruta);
    }
    QTcpServer servidor;
    std::map<QString, QByteArray> cuerpos;
    QStringList pedidos, agentes;
};

// A port on which nothing listens.
QString urlSinServicio() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1/nada").arg(s.serverPort());
}

using DialogosFalsos = prueba::DialogosGrabados;

// The clock and the workstation of these tests.
RelojFijo relojDePrueba() {
    RelojFijo r;
    r.momento = QDateTime(QDate(2024, 5, 17), QTime(10, 15));
    r.hora = QStringLiteral("10:15:00 a.m.");
    return r;
}
MaquinaFalsa maquinaDePrueba() {
    MaquinaFalsa m;
    m.mac = QStringLiteral("AA:BB:CC:00:11:22");
    m.equipo = QStringLiteral("PC1");
    return m;
}
using Mensaje = prueba::DialogosGrabados::Visto;

} // namespace

// ---------------------------------------------------------------------------------------
// Public address lookup.

TEST(Direccion, FourNumbersUpTo255AreAnAddress) {
    const std::pair<const char *, bool> casos[] = {
        {"1.2.3.4", true},       {"0.0.0.0", true},    {"255.255.255.255", true},
        {"256.1.1.1", false},    {"1.2.3.999", false}, {"1.2.3", false},
        {"1.2.3.4.5", false},    {"1..3.4", false},    {"a.b.c.d", false},
        {"1.2.3.4x", false},     {"", false},          {"-1.2.3.4", false},
        {"<html>.a.b.c", false}, {"10.0.0.01", true},
    };
    for (const auto &[texto, esperado] : casos)
        EXPECT_EQ(esDireccion(QString::fromLatin1(texto)), esperado) << texto;
}

TEST(Direccion, ServicesAreTriedInOrderUntilAnAddress) {
    asegurarAplicacion();
    struct Caso {
        const char *nombre;
        std::vector<QByteArray> cuerpos; // nullptr-like "-" means: service absent (404)
        QString esperado;
        int pedidos;
        bool ups;
    };
    const std::vector<Caso> casos = {
        {"first answers", {"190.7.12.4\n", "1.1.1.1", "2.2.2.2"}, "190.7.12.4", 1, false},
        {"bad replies are skipped", {"-", "300.1.1.1", "10.0.0.7"}, "10.0.0.7", 3, false},
        {"NULs are removed", {QByteArray("1.2\0.3.4", 8), "9.9.9.9", "-"}, "1.2.3.4", 1, false},
        {"the last reply counts even when no address", {"-", "-", "a.b.c"}, "a.b.c", 3, false},
        {"an empty last reply is the Ups! case", {"x.y", "-", "-"}, "", 3, true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        ServicioFalso servicio;
        QStringList urls;
        for (int i = 0; i < int(c.cuerpos.size()); ++i) {
            const QString ruta = QStringLiteral("s%1").arg(i + 1);
            if (c.cuerpos[i] != "-")
                servicio.cuerpos[ruta] = c.cuerpos[i];
            urls << servicio.url(ruta);
        }
        MaquinaLinux maquina;
        DialogosFalsos dialogos;
        EXPECT_EQ(direccionPublica(maquina, dialogos, urls.join(QLatin1Char(' '))), c.esperado);
        EXPECT_EQ(servicio.pedidos.size(), c.pedidos);
        for (int i = 0; i < servicio.pedidos.size(); ++i)
            EXPECT_EQ(servicio.pedidos[i], QStringLiteral("s%1").arg(i + 1));
        for (const QString &a : servicio.agentes)
            EXPECT_EQ(a, QStringLiteral("vb wininet"));
        if (c.ups) {
            ASSERT_EQ(dialogos.vistos.size(), 1u);
            EXPECT_EQ(dialogos.vistos[0].texto, kSinInternet);
            EXPECT_EQ(dialogos.vistos[0].titulo, QStringLiteral("Ups!"));
            EXPECT_EQ(dialogos.vistos[0].icono, Icono::Error);
        } else {
            EXPECT_TRUE(dialogos.vistos.empty());
        }
    }
}

TEST(Direccion, AnUnreachableServiceGivesEmptyTextQuickly) {
    asegurarAplicacion();
    MaquinaLinux maquina;
    DialogosFalsos dialogos;
    QElapsedTimer t;
    t.start();
    const QString u = urlSinServicio();
    EXPECT_EQ(direccionPublica(maquina, dialogos, u + QStringLiteral("  ") + u + QLatin1Char(' ') + u),
              QString());
    EXPECT_LT(t.elapsed(), 6500);
    ASSERT_EQ(dialogos.vistos.size(), 1u);
    EXPECT_EQ(dialogos.vistos[0].titulo, QStringLiteral("Ups!"));
}

TEST(Direccion, AServiceThatNeverAnswersIsGivenUpAfterTheWait) {
    asegurarAplicacion();
    QTcpServer mudo; // accepts, never answers
    mudo.listen(QHostAddress::LocalHost, 0);
    MaquinaLinux maquina(300);
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(maquina.httpGet(QStringLiteral("http://127.0.0.1:%1/").arg(mudo.serverPort())).isEmpty());
    EXPECT_LT(t.elapsed(), 3000);
}

TEST(Maquina, MacAddressesAreSixUpperCasePairs) {
    EXPECT_EQ(formatoMac(QStringLiteral("0a:1b:2c:3d:4e:5f")), QStringLiteral("0A:1B:2C:3D:4E:5F"));
    EXPECT_EQ(formatoMac(QStringLiteral("00:00:00:00:00:00")), QString());
    EXPECT_EQ(formatoMac(QStringLiteral("0a:1b")), QString());
    const QString mac = MaquinaLinux().direccionMac();
    if (!mac.isEmpty()) {
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$")).match(mac).hasMatch())
            << mac.toStdString();
    }
}

// ---------------------------------------------------------------------------------------
// cmdOK on the recording fake.

namespace {

class LoginFalso : public ::testing::Test {
protected:
    void SetUp() override {
        fabrica.preparar = [this](BdFalsa &db) { preparar(db); };
        opciones.cadenaCentral =
            QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=central;uid=u;pwd=p;");
        opciones.servicios = QStringLiteral("http://a/ http://b/ http://c/");
        maquina.respuestas[QStringLiteral("http://a/")] = "200.44.1.9\n";
        ctx.sesion.tamletra = 8;
    }
    void preparar(BdFalsa &db) {
        db.responder(QStringLiteral("select * from configuracion"), fila({{"fecha", "2024-05-17"},
                                                                          {"mcobro", "Cuenta en mora"},
                                                                          {"vmt", vmt},
                                                                          {"vmp", vmp},
                                                                          {"vmg", vmg}}));
        db.responder(
            QStringLiteral("select * from usuarios where usuario="),
            tabla({"usuario", "clave", "nombre", "nivel", "grupo", "estatus", "mac", "fecha_ingreso"},
                  filasUsuario));
        if (conGrupo)
            db.responder(QStringLiteral("select * from grupos where grupo="),
                         fila({{"grupo", "G1"}, {"ch", "CH1"}}));
    }
    void usuario(const QString &nivel, const QString &estatus = QStringLiteral("Activo"),
                 const QString &mac = {}, const QString &fecha = {}) {
        filasUsuario = {{QStringLiteral("taq1"), codificar(QStringLiteral("s3creta"), kClaveUsuarios),
                         QStringLiteral("Ana"), nivel, QStringLiteral("G1"), estatus, mac, fecha}};
    }
    ResultadoLogin entrar(const QString &u = QStringLiteral("taq1"),
                          const QString &c = QStringLiteral("s3creta")) {
        Login login(ctx, opciones);
        login.cargar();
        return login.cmdOK(u, c);
    }
    BdFalsa &central() { return *fabrica.abiertas.at(0); }
    bool huboEscritura() {
        for (const QString &s : central().sentencias)
            if (s.startsWith(QStringLiteral("update")))
                return true;
        return false;
    }

    FabricaFalsa fabrica;
    DialogosFalsos dialogos;
    RelojFijo reloj = relojDePrueba();
    MaquinaFalsa maquina = maquinaDePrueba();
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    OpcionesSesion opciones;
    QString vmt = QStringLiteral("28001"), vmp = QStringLiteral("28001"), vmg = QStringLiteral("28001");
    std::vector<QStringList> filasUsuario;
    bool conGrupo = true;
};

} // namespace

TEST_F(LoginFalso, AGoodLoginRunsItsStatementsInOrder) {
    usuario(QStringLiteral("Taquilla"));
    const ResultadoLogin r = entrar();
    EXPECT_EQ(r.tipo, ResultadoLogin::Ingreso);
    EXPECT_EQ(fabrica.cadenas, QStringList{opciones.cadenaCentral});
    EXPECT_EQ(ctx.sesion.cadena_central, opciones.cadenaCentral);
    const QStringList esperadas = {
        "select * from usuarios",
        "select * from configuracion",
        "select * from grupos",
        "select * from configuracion",
        "select * from usuarios where usuario='taq1' ",
        "select * from grupos where grupo='G1' ",
        "update usuarios set fecha_ingreso='2024-05-17',hora_ingreso='10:15:00 a.m.',mac='AA:BB:CC:00:11:22',"
        "ip_pc='200.44.1.9',version='28001' where usuario ='taq1' and (mac='' or mac='AA:BB:CC:00:11:22' or "
        "fecha_ingreso is null or fecha_ingreso<>'2024-05-17') limit 1 ",
    };
    EXPECT_EQ(central().sentencias, esperadas);
    EXPECT_EQ(ctx.sesion.usuario, QStringLiteral("taq1"));
    EXPECT_EQ(ctx.sesion.nombre, QStringLiteral("Ana"));
    EXPECT_EQ(ctx.sesion.grupo, QStringLiteral("G1"));
    EXPECT_EQ(ctx.sesion.ch, QStringLiteral("CH1"));
    EXPECT_EQ(maquina.pedidas, QStringList{QStringLiteral("http://a/")});
    EXPECT_TRUE(dialogos.vistos.empty());
}

TEST_F(LoginFalso, TheLoginRecordThatChangesNoRowDecidesWhoHoldsTheWorkstationLock) {
    // The row was free at the check, but the conditional record changed nothing: another
    // machine took it meanwhile, unless the row now holds this machine's own login.
    struct Caso {
        const char *nombre;
        QString macAhora, fechaAhora;
        ResultadoLogin::Tipo tipo;
    };
    const Caso casos[] = {
        {"another machine took it", "11:22:33:44:55:66", "2024-05-17", ResultadoLogin::Terminar},
        {"this machine's own login", "AA:BB:CC:00:11:22", "2024-05-17", ResultadoLogin::Ingreso},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        FabricaFalsa f;
        DialogosFalsos d;
        Contexto otro{f, d, reloj, maquina};
        otro.sesion.tamletra = 8;
        usuario(QStringLiteral("Taquilla"));
        f.preparar = [&](BdFalsa &db) {
            preparar(db);
            db.alEjecutar = [&db, &c, this](const QString &sql) {
                if (sql.startsWith(QStringLiteral("update usuarios set fecha_ingreso"))) {
                    db.afectadas = 0;
                    db.responder(QStringLiteral("select * from usuarios where usuario="),
                                 tabla({"usuario", "clave", "nombre", "nivel", "grupo", "estatus", "mac",
                                        "fecha_ingreso"},
                                       {{"taq1", filasUsuario[0][1], "Ana", "Taquilla", "G1", "Activo",
                                         c.macAhora, c.fechaAhora}}));
                }
            };
        };
        Login login(otro, opciones);
        login.cargar();
        const ResultadoLogin r = login.cmdOK(QStringLiteral("taq1"), QStringLiteral("s3creta"));
        EXPECT_EQ(r.tipo, c.tipo);
        if (c.tipo == ResultadoLogin::Terminar) {
            EXPECT_EQ(r.texto, kSesionEnOtroEquipo);
        }
    }
}

TEST_F(LoginFalso, TypedTextIsQuotedInTheStatement) {
    filasUsuario.clear();
    const ResultadoLogin r = entrar(QStringLiteral("x' or '1'='1"), QStringLiteral("y"));
    EXPECT_EQ(r.tipo, ResultadoLogin::Rechazo);
    EXPECT_TRUE(central().sentencias.contains(
        QStringLiteral("select * from usuarios where usuario='x\\' or \\'1\\'=\\'1' ")));
}

TEST_F(LoginFalso, EachCheckRefusesWithItsOwnMessageAndNoWrite) {
    struct Caso {
        const char *nombre;
        QString nivel, estatus, mac, fecha, vmt, vmp, vmg, usuario, clave;
        ResultadoLogin::Tipo tipo;
        QString texto, titulo;
    };
    const QString otroMac = QStringLiteral("11:22:33:44:55:66"), hoy = QStringLiteral("2024-05-17");
    const QString v1 = QStringLiteral("28001"), v2 = QStringLiteral("28002");
    const QString u = QStringLiteral("taq1"), c = QStringLiteral("s3creta");
    const auto Rech = ResultadoLogin::Rechazo, Term = ResultadoLogin::Terminar, Ok = ResultadoLogin::Ingreso;
    const QString ins = QStringLiteral("Inicio de sesión");
    const std::vector<Caso> casos = {
        {"wrong password", "Taquilla", "Activo", "", "", v1, v1, v1, u, "S3creta", Rech, kClaveNoValida, ins},
        {"user typed in another case", "Taquilla", "Activo", "", "", v1, v1, v1, "TAQ1", c, Rech,
         kClaveNoValida, ins},
        {"locked on another PC today", "Taquilla", "Activo", otroMac, hoy, v1, v1, v1, u, c, Term,
         kSesionEnOtroEquipo, ins},
        {"other PC, another day", "Taquilla", "Activo", otroMac, "2024-05-16", v1, v1, v1, u, c, Ok, "", ""},
        {"this PC today", "Taquilla", "Activo", "AA:BB:CC:00:11:22", hoy, v1, v1, v1, u, c, Ok, "", ""},
        {"empty mac today", "Taquilla", "Activo", "", hoy, v1, v1, v1, u, c, Ok, "", ""},
        {"Baja", "Taquilla", "Baja", "", "", v1, v1, v1, u, c, Term, "Cuenta en mora",
         "DEPARTAMENTO DE COBRANZA"},
        {"Taquilla by vmt", "Taquilla", "Activo", "", "", v2, v1, v1, u, c, Term, kVersionVieja,
         "Actualizar"},
        {"Operador by vmt", "Operador", "Activo", "", "", v2, v1, v1, u, c, Term, kVersionVieja,
         "Actualizar"},
        {"Administrador by vmt", "Administrador", "Activo", "", "", v2, v1, v1, u, c, Term, kVersionVieja,
         "Actualizar"},
        {"Supervisor not by vmt", "Supervisor", "Activo", "", "", v2, v2, v1, u, c, Ok, "", ""},
        {"Supervisor by vmg", "Supervisor", "Activo", "", "", v1, v1, v2, u, c, Term, kVersionVieja,
         "Actualizar"},
        {"Socio by vmg", "Socio", "Activo", "", "", v1, v1, v2, u, c, Term, kVersionVieja, "Actualizar"},
        {"Visor by vmp", "Visor", "Activo", "", "", v1, v2, v1, u, c, Term, kVersionVieja, "Actualizar"},
        {"Visor not by vmt", "Visor", "Activo", "", "", v2, v1, v2, u, c, Ok, "", ""},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.nombre);
        fabrica.abiertas.clear();
        fabrica.propias.clear();
        dialogos.vistos.clear();
        vmt = k.vmt;
        vmp = k.vmp;
        vmg = k.vmg;
        usuario(k.nivel, k.estatus, k.mac, k.fecha);
        const ResultadoLogin r = entrar(k.usuario, k.clave);
        EXPECT_EQ(r.tipo, k.tipo);
        EXPECT_EQ(r.texto, k.texto);
        EXPECT_EQ(r.titulo, k.titulo);
        EXPECT_EQ(huboEscritura(), k.tipo == Ok);
        if (k.tipo == Rech) {
            EXPECT_EQ(r.campo, QStringLiteral("txtPassword"));
        }
        // Session values are set before the password is compared.
        EXPECT_EQ(ctx.sesion.nivel, k.nivel);
        EXPECT_TRUE(dialogos.vistos.empty());
    }
}

TEST_F(LoginFalso, NoRowIsRefusedBeforeAnythingIsKept) {
    const ResultadoLogin r = entrar(QStringLiteral("nadie"), QStringLiteral("x"));
    EXPECT_EQ(r.tipo, ResultadoLogin::Rechazo);
    EXPECT_EQ(r.texto, QStringLiteral("EL usuario ó la clave no es válida. Vuelva a intentarlo"));
    EXPECT_EQ(r.titulo, QStringLiteral("Inicio de sesión"));
    EXPECT_EQ(r.campo, QStringLiteral("txtPassword"));
    EXPECT_TRUE(ctx.sesion.usuario.isEmpty());
}

TEST_F(LoginFalso, AFailingStepSaysWhatFailed) {
    struct Caso {
        const char *nombre;
        std::function<void()> preparar;
    };
    const std::vector<Caso> casos = {
        {"no grupos row", [this] { conGrupo = false; }},
        {"configuracion unreadable",
         [this] { fabrica.preparar = [](BdFalsa &db) { db.fallar("select * from configuracion"); }; }},
        {"login record fails",
         [this] {
             fabrica.preparar = [this](BdFalsa &db) {
                 preparar(db);
                 db.fallar("update usuarios");
             };
         }},
        {"central closed", [this] { fabrica.falla = true; }},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.nombre);
        SetUp();
        fabrica.falla = false;
        conGrupo = true;
        dialogos.vistos.clear();
        usuario(QStringLiteral("Taquilla"));
        k.preparar();
        const ResultadoLogin r = entrar();
        EXPECT_EQ(r.tipo, ResultadoLogin::Fallo);
        ASSERT_FALSE(dialogos.vistos.empty());
        EXPECT_TRUE(
            dialogos.vistos.back().texto.startsWith(QStringLiteral("No se pudo completar el ingreso:\n")))
            << dialogos.vistos.back().texto.toStdString();
        EXPECT_GT(dialogos.vistos.back().texto.size(), 35);
        EXPECT_EQ(dialogos.vistos.back().titulo, QStringLiteral("Inicio de sesión"));
        EXPECT_EQ(dialogos.vistos.back().icono, Icono::Error);
        for (const auto &v : dialogos.vistos)
            EXPECT_NE(v.titulo, QStringLiteral("Confirmar Requerimiento")); // no offer for these
    }
}

// A Supervisor whose workstation has no local report database is offered its creation and gets
// in whatever the answer; one whose local server is down is told so and gets in.
TEST_F(LoginFalso, ASupervisorGetsInWithoutTheLocalDatabase) {
    usuario(QStringLiteral("Supervisor"));
    const QString local = QStringLiteral(
        "driver={MySQL ODBC 3.51 Driver};server=localhost;uid=root;pwd=x;database=bd_corvalo;");
    ctx.cadenaLocal = local;
    struct Caso {
        std::optional<QString> clave;
        Respuesta respuesta;
        unsigned codigo; // of the first open of the local database
        QString ultimo;  // the last message of the local database
        bool abierta;
    };
    const QString noCreada = QStringLiteral("La base de datos local de reportes no se ha creado: los "
                                            "reportes no estarán disponibles hasta crearla.");
    const std::vector<Caso> casos = {
        {QStringLiteral("40917"), Respuesta::Si, 1049, QStringLiteral("La BD ha sido creada con exito"),
         true},
        {QStringLiteral("12345"), Respuesta::Si, 1049,
         QStringLiteral(
             "La clave de acceso no es válida: la base de datos local de reportes no se ha creado."),
         false},
        {std::nullopt, Respuesta::Si, 1049, noCreada, false},
        {QStringLiteral("40917"), Respuesta::No, 1049, noCreada, false},
        {QStringLiteral("40917"), Respuesta::Si, 2002,
         QStringLiteral(
             "Los reportes necesitan la base de datos local de reportes (bd_corvalo), que no se pudo "
             "abrir:\nno responde"),
         false},
    };
    for (const Caso &k : casos) {
        SCOPED_TRACE(k.clave.value_or(QStringLiteral("(cancel)")).toStdString() + " " +
                     std::to_string(k.codigo));
        ctx.conexion_local.reset();
        dialogos.vistos.clear();
        dialogos.respuestas = {k.respuesta};
        dialogos.entradaTexto = k.clave;
        bool primera = true;
        fabrica.preparar = [&](BdFalsa &db) {
            if (fabrica.cadenas.last() == local && primera) {
                primera = false;
                throw DbError(k.codigo == 1049 ? QStringLiteral("Unknown database 'bd_corvalo'")
                                               : QStringLiteral("no responde"),
                              true, k.codigo);
            }
            preparar(db);
        };
        EXPECT_EQ(entrar().tipo, ResultadoLogin::Ingreso);
        EXPECT_EQ(ctx.conexion_local != nullptr, k.abierta);
        QString ultimo;
        for (const auto &v : dialogos.vistos)
            if (v.titulo != QStringLiteral("Ups!"))
                ultimo = v.texto;
        EXPECT_EQ(ultimo, k.ultimo);
    }
}

TEST_F(LoginFalso, ASupervisorOpensTheLocalDatabase) {
    usuario(QStringLiteral("Supervisor"));
    ctx.cadenaLocal = QStringLiteral(
        "driver={MySQL ODBC 3.51 Driver};server=localhost;uid=root;pwd=x;database=bd_corvalo;");
    EXPECT_EQ(entrar().tipo, ResultadoLogin::Ingreso);
    ASSERT_EQ(fabrica.cadenas.size(), 2);
    EXPECT_EQ(fabrica.cadenas[1], ctx.cadenaLocal);
    EXPECT_NE(ctx.conexion_local, nullptr);
}

TEST(Indicador, OnlineAndOffline) {
    const IndicadorInternet on = indicadorInternet(true), off = indicadorInternet(false);
    EXPECT_EQ(on.texto, QStringLiteral("Online"));
    EXPECT_EQ(on.fondo, (Color{0, 255, 0}));
    EXPECT_EQ(on.letra, (Color{0, 0, 255}));
    EXPECT_EQ(off.texto, QStringLiteral("No hay Internet"));
    EXPECT_EQ(off.fondo, (Color{255, 0, 0}));
    EXPECT_EQ(off.letra, (Color{255, 255, 255}));
}

// ---------------------------------------------------------------------------------------
// Main window load.

namespace {
struct Menu {
    FabricaFalsa fabrica;
    DialogosFalsos dialogos;
    RelojFijo reloj = relojDePrueba();
    MaquinaFalsa maquina = maquinaDePrueba();
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    explicit Menu(const QString &nivel, QString mora = QStringLiteral("0"),
                  QString version = QStringLiteral("28001")) {
        ctx.sesion.nivel = nivel;
        ctx.sesion.usuario = QStringLiteral("u1");
        ctx.sesion.nombre = QStringLiteral("Nombre");
        ctx.sesion.grupo = QStringLiteral("G2");
        ctx.sesion.ch = QStringLiteral("CH2");
        ctx.rs_configuracion = fila({{"mora", mora},
                                     {"mensaje", "Pague"},
                                     {"web", "http://descargas/"},
                                     {"version", version},
                                     {"empresa", "EMPRESA"},
                                     {"pantalla1", "1"},
                                     {"pantalla2", "0"},
                                     {"tipopantalla", "1"}});
        const QStringList cols = {"grupo",        "ticket_cobro", "cupoviptf",
                                  "name_empresa", "rif_empresa",  "direccion_empresa",
                                  "tlf_empresa",  "mostrar_tf",   "mostrar_pt"};
        ctx.rs_grupos = tabla(cols, {{"G1", "0", "0", "N1", "R1", "D1", "T1", "0", "0"},
                                     {"G2", "1", "25", "N2", "R2", "D2", "T2", "1", "0"}});
    }
};
} // namespace

TEST(MenuPrincipal, LevelMatrix) {
    struct Caso {
        const char *nivel;
        VisibilidadNivel v; // gerencia reportes pantallas venta salir
    };
    const Caso casos[] = {
        {"Taquilla", {false, false, false, true, true}}, {"Supervisor", {true, true, false, false, true}},
        {"Visor", {false, false, true, false, true}},    {"Socio", {false, true, false, false, false}},
        {"Operador", {false, false, false, true, true}}, {"Administrador", {false, false, false, true, true}},
        {"taquilla", {false, false, false, true, true}}, {"SUPERVISOR", {false, false, false, true, true}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nivel);
        Menu m(QString::fromLatin1(c.nivel));
        const CargaMenu carga = cargarMenuPrincipal(m.ctx, QStringLiteral("/nonexistent/KVR2.bin"));
        EXPECT_EQ(carga.visibilidad, c.v);
        EXPECT_EQ(carga.caption, QStringLiteral("MENU PRINCIPAL -  CH2"));
        EXPECT_TRUE(carga.visor1);
        EXPECT_FALSE(carga.visor2);
        EXPECT_EQ(carga.paneles[2], QStringLiteral("EMPRESA"));
        EXPECT_EQ(carga.paneles[3], QStringLiteral("u1"));
        EXPECT_EQ(carga.paneles[4], QStringLiteral("Nombre"));
        EXPECT_EQ(carga.paneles[5], QString::fromLatin1(c.nivel));
        EXPECT_EQ(carga.paneles[6], QStringLiteral("CH2"));
        EXPECT_EQ(carga.tipopantalla, 1);
        // The group row G2, not the first row.
        EXPECT_EQ(m.ctx.sesion.ticket_cobro, 1);
        EXPECT_EQ(m.ctx.sesion.cupoviptf, 25);
        EXPECT_EQ(m.ctx.sesion.name_empresa, QStringLiteral("N2"));
        EXPECT_EQ(m.ctx.sesion.tlf_empresa, QStringLiteral("T2"));
        EXPECT_EQ(m.ctx.sesion.mostrar_tf, 1);
        EXPECT_TRUE(m.dialogos.vistos.empty());
    }
}

TEST(MenuPrincipal, AdministratorMessageOnlyForGerenteAndAdministrador) {
    for (const auto &[nivel, muestra] : {std::pair{"Administrador", true}, std::pair{"Gerente", true},
                                         std::pair{"Supervisor", false}, std::pair{"Taquilla", false}}) {
        SCOPED_TRACE(nivel);
        Menu m(QString::fromLatin1(nivel), QStringLiteral("1"));
        const CargaMenu c = cargarMenuPrincipal(m.ctx, QStringLiteral("/nonexistent/KVR2.bin"));
        ASSERT_EQ(m.dialogos.vistos.size(), muestra ? 1u : 0u);
        EXPECT_EQ(c.paneles[2], muestra ? QStringLiteral("Pague") : QStringLiteral("EMPRESA"));
        if (muestra) {
            EXPECT_EQ(m.dialogos.vistos[0].texto, QStringLiteral("Pague"));
            EXPECT_EQ(m.dialogos.vistos[0].titulo, QStringLiteral("ATENCION MENSAJE DEL ADMINISTRADOR"));
            EXPECT_EQ(m.dialogos.vistos[0].icono, Icono::Error);
        }
    }
}

TEST(MenuPrincipal, VersionOfferAndPrintSettings) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("KVR2.bin"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"COM2:\",1,1,10\r\n");
    f.close();
    struct Caso {
        const char *version;
        std::optional<Respuesta> respuesta; // none: no question expected
        bool descargar, terminar, leeAjustes;
    };
    const Caso casos[] = {{"28001", std::nullopt, false, false, true},
                          {"28002", Respuesta::No, true, false, true},
                          {"28002", Respuesta::Si, false, true, false}};
    for (const Caso &k : casos) {
        SCOPED_TRACE(std::string(k.version) + (k.respuesta == Respuesta::Si ? " yes" : " no"));
        Menu m(QStringLiteral("Taquilla"), QStringLiteral("0"), QString::fromLatin1(k.version));
        if (k.respuesta)
            m.dialogos.respuestas = {*k.respuesta};
        const CargaMenu c = cargarMenuPrincipal(m.ctx, ruta);
        ASSERT_EQ(m.dialogos.vistos.size(), k.respuesta ? 1u : 0u);
        if (k.respuesta) {
            EXPECT_EQ(m.dialogos.vistos[0].texto,
                      QStringLiteral("Ya existe una nueva versión del sistema, ¿desea descargarla ahora?"));
            EXPECT_EQ(m.dialogos.vistos[0].titulo, QStringLiteral("Actualización de Sistema"));
            EXPECT_EQ(m.dialogos.vistos[0].botones, Botones::SiNo);
        }
        EXPECT_EQ(c.mostrarDescargar, k.descargar);
        EXPECT_EQ(c.terminar, k.terminar);
        EXPECT_EQ(m.maquina.abiertas,
                  k.terminar ? QStringList{QStringLiteral("http://descargas/")} : QStringList{});
        EXPECT_EQ(m.ctx.sesion.puerto, k.leeAjustes ? QStringLiteral("COM2:") : QString());
        EXPECT_EQ(m.ctx.sesion.tamletra, k.leeAjustes ? 10 : 0);
    }
}

TEST(MenuPrincipal, AFailingLoadStopsWhereItIs) {
    // configuracion without tipopantalla: nothing after step 4 is applied.
    Menu m(QStringLiteral("Taquilla"));
    m.ctx.rs_configuracion = fila({{"mora", "0"}, {"mensaje", ""}, {"web", ""}, {"version", "28001"}});
    const CargaMenu c = cargarMenuPrincipal(m.ctx, QStringLiteral("/nonexistent/KVR2.bin"));
    EXPECT_EQ(c.visibilidad, visibilidadDe(QStringLiteral("Taquilla")));
    EXPECT_TRUE(c.visor1 && c.visor2);
    EXPECT_TRUE(c.paneles[3].isEmpty());
    EXPECT_EQ(m.ctx.sesion.ticket_cobro, 0);

    // A group missing from grupos leaves the group settings as they were.
    Menu sinGrupo(QStringLiteral("Taquilla"));
    sinGrupo.ctx.sesion.grupo = QStringLiteral("G9");
    sinGrupo.ctx.sesion.name_empresa = QStringLiteral("antes");
    EXPECT_FALSE(copiarGrupo(sinGrupo.ctx));
    EXPECT_EQ(sinGrupo.ctx.sesion.name_empresa, QStringLiteral("antes"));
}

TEST(MenuPrincipal, LeavingStatements) {
    FabricaFalsa fabrica;
    DialogosFalsos dialogos;
    RelojFijo reloj = relojDePrueba();
    MaquinaFalsa maquina = maquinaDePrueba();
    Contexto ctx(fabrica, dialogos, reloj, maquina);
    ctx.abrir_central(QStringLiteral("x=y"));
    ctx.sesion.usuario = QStringLiteral("o'k");
    dialogos.respuestas = {Respuesta::No, Respuesta::Si, Respuesta::Si};
    EXPECT_FALSE(confirmarSalida(ctx));
    EXPECT_TRUE(confirmarSalida(ctx));
    EXPECT_TRUE(confirmarSalir(ctx));
    EXPECT_EQ(fabrica.abiertas[0]->sentencias,
              QStringList{QStringLiteral("update usuarios set mac='' where usuario ='o\\'k' limit 1 ")});
    EXPECT_EQ(dialogos.vistos[0].texto, QStringLiteral("Esta seguro de salir del sistema"));
    EXPECT_EQ(dialogos.vistos[2].texto, QStringLiteral(" SALIR DEL SISTEMA, ¿DESEA CONTINUAR? "));
    for (const Mensaje &v : dialogos.vistos)
        EXPECT_EQ(v.titulo, QStringLiteral("SALIR DEL SISTEMA"));
}

TEST(MenuPrincipal, Placement) {
    EXPECT_EQ(centrado(QRect(0, 0, 1025, 769), QSize(301, 201)), QPoint(512 - 150, 384 - 100));
    EXPECT_EQ(centrado(QRect(1920, 0, 1280, 1024), QSize(400, 300)), QPoint(1920 + 440, 362));
    EXPECT_EQ(centradoHorizontal(QRect(0, 0, 1000, 800), QRect(5, 77, 300, 10)), QPoint(350, 77));
    EXPECT_EQ(centradoEnMarco(QSize(500, 401), QSize(100, 100)), QPoint(200, 150));
}

// ---------------------------------------------------------------------------------------
// Print settings.

TEST(ConfImpresion, FontSizeConversion) {
    const std::pair<const char *, int> casos[] = {{"8", 8},    {"", 0},      {"12", 12}, {"8.5", 8},
                                                  {"9.5", 10}, {"10.5", 10}, {" 7", 7},  {"11pt", 11},
                                                  {"x", 0},    {"6.6", 7}};
    for (const auto &[texto, valor] : casos)
        EXPECT_EQ(tamletraDe(QString::fromLatin1(texto)), valor) << texto;
}

TEST(ConfImpresion, SavingWritesOneLineAndTheSession) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("sub/carpeta/KVR2.bin")); // folder created on saving
    FabricaFalsa fabrica;
    DialogosFalsos dialogos;
    RelojFijo reloj = relojDePrueba();
    MaquinaFalsa maquina = maquinaDePrueba();
    Contexto ctx(fabrica, dialogos, reloj, maquina);
    guardarConfImpresion(ctx, ruta, QStringLiteral("si"), QStringLiteral("WINDOWS2:"), QStringLiteral("9.5"),
                         QStringLiteral("SI"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"WINDOWS2:\",0,1,10\r\n"));
    EXPECT_EQ(ctx.sesion.impresion, 0);
    EXPECT_EQ(ctx.sesion.tamletra, 10);
    ASSERT_EQ(dialogos.vistos.size(), 1u);
    EXPECT_EQ(dialogos.vistos[0].texto, QStringLiteral("Los cambios se han realizado con exito"));
    EXPECT_EQ(dialogos.vistos[0].titulo, QStringLiteral("Configuración del Sistema"));
    EXPECT_EQ(dialogos.vistos[0].icono, Icono::Informacion);

    // A file that cannot be written: the session keeps the values, no message.
    dialogos.vistos.clear();
    guardarConfImpresion(ctx, QStringLiteral("/proc/no/KVR2.bin"), QStringLiteral("SI"),
                         QStringLiteral("LPT1:"), QString(), QString());
    EXPECT_TRUE(dialogos.vistos.empty());
    EXPECT_EQ(ctx.sesion.puerto, QStringLiteral("LPT1:"));
    EXPECT_EQ(ctx.sesion.impresion, 1);
    EXPECT_EQ(ctx.sesion.tamletra, 0);
}

TEST(ConfImpresion, APortIsWrittenAsItIsAndReadBackWhole) {
    // Markers and commas inside the port are the port's own text; the three numbers follow it.
    struct Caso {
        const char *puerto;
        QByteArray linea;
    };
    const Caso casos[] = {
        {"/tmp/tickets%1.prn", "\"/tmp/tickets%1.prn\",1,0,9\r\n"},
        {"%4%3%2%1", "\"%4%3%2%1\",1,0,9\r\n"},
        {"LPT1:", "\"LPT1:\",1,0,9\r\n"},
        {"/dev/usb/lp0,1", "\"/dev/usb/lp0,1\",1,0,9\r\n"},
        {"%%1", "\"%%1\",1,0,9\r\n"},
    };
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("KVR2.bin"));
    for (const Caso &c : casos) {
        FabricaFalsa fabrica;
        DialogosFalsos dialogos;
        RelojFijo reloj = relojDePrueba();
        MaquinaFalsa maquina = maquinaDePrueba();
        Contexto ctx(fabrica, dialogos, reloj, maquina);
        ASSERT_TRUE(guardarConfImpresion(ctx, ruta, QStringLiteral("SI"), QString::fromLatin1(c.puerto),
                                         QStringLiteral("9"), QStringLiteral("NO")));
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.linea) << c.puerto;
        Sesion leida;
        ASSERT_TRUE(leerAjustesImpresion(ruta, leida));
        EXPECT_EQ(leida.puerto, QString::fromLatin1(c.puerto));
        EXPECT_EQ(leida.impresion, 1) << c.puerto;
        EXPECT_EQ(leida.codbarras, 0) << c.puerto;
        EXPECT_EQ(leida.tamletra, 9) << c.puerto;
    }
}

TEST(ConfImpresion, APortWithAQuoteOrLineBreakIsRefusedAndNothingChanges) {
    const char *casos[] = {"LPT\"1:", "LPT1:\r", "/tmp/a\nb", "\""};
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("KVR2.bin"));
    for (const char *puerto : casos) {
        FabricaFalsa fabrica;
        DialogosFalsos dialogos;
        RelojFijo reloj = relojDePrueba();
        MaquinaFalsa maquina = maquinaDePrueba();
        Contexto ctx(fabrica, dialogos, reloj, maquina);
        ctx.sesion.puerto = QStringLiteral("LPT2:");
        EXPECT_FALSE(guardarConfImpresion(ctx, ruta, QStringLiteral("SI"), QString::fromLatin1(puerto),
                                          QStringLiteral("9"), QStringLiteral("NO")));
        EXPECT_EQ(ctx.sesion.puerto, QStringLiteral("LPT2:"));
        EXPECT_FALSE(QFile::exists(ruta)) << puerto;
        ASSERT_EQ(dialogos.vistos.size(), 1u);
        EXPECT_EQ(dialogos.vistos[0].texto,
                  QStringLiteral("EL PUERTO NO PUEDE CONTENER COMILLAS NI SALTOS DE LINEA"));
        EXPECT_EQ(dialogos.vistos[0].icono, Icono::Error);
    }
}
