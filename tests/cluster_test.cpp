// Workstations spread over the nodes of a Galera cluster (the one ./run.sh test starts,
// CORVALO_CLUSTER_SERVER) or, without a cluster, all on the private server: booths selling the
// last tablas of one horse, booths paying one ticket, and a connection string of several servers
// passing over one that does not answer.
#include "backoffice.h"
#include "cobro.h"
#include "entorno_falso.h"
#include "impresion_falsa.h"
#include "servidor_prueba.h"
#include "texto.h"
#include "venta_tablas.h"

#include <QFile>
#include <QThread>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <latch>
#include <mutex>
#include <thread>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

class Cluster : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cadena() = crearBaseCentral(QStringLiteral("t_cluster"), cadenaCluster());
        // One string per node (the private server alone without a cluster).
        const auto p = parsearCadena(cadena());
        ASSERT_TRUE(p);
        for (const Servidor &s : p->servidores)
            nodos().push_back(cadenaDeNodo(cadena(), textoServidor(s)));
        auto db = conectar(cadena());
        accesos() = backoffice::sembrarDemo(*db, QDate::currentDate());
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0", "cupo_td_opcion=0", "cupo_tf_opcion=0",
                                             "opcioncupopt=0", "min_vbs=0", "modificar=1", "venta_pt=1",
                                             "apuesta_max_td=2", "cobroespecial=1", "dias=3"});
    }
    static QString &cadena() {
        static QString c;
        return c;
    }
    static std::vector<QString> &nodos() {
        static std::vector<QString> n;
        return n;
    }
    static QList<backoffice::Acceso> &accesos() {
        static QList<backoffice::Acceso> a;
        return a;
    }
    // A connection to node `i` that sees everything the cluster committed.
    static std::unique_ptr<BaseDatos> conectarCausal(std::size_t i) {
        auto db = conectar(nodos()[i % nodos().size()]);
        lecturaCausal(*db);
        return db;
    }
    void SetUp() override {
        db = conectarCausal(0);
        db->ejecutar(QStringLiteral("DELETE FROM ma_principal"));
        for (const auto &a : accesos())
            if (a.nivel == QLatin1String("Taquilla") && a.estatus != QLatin1String("Baja")) {
                usuario = a.usuario;
                grupo = a.grupo;
                break;
            }
        ASSERT_FALSE(usuario.isEmpty());
        const Resultado c = db->ejecutar(QStringLiteral("select * from configuracion"));
        carrera = c.valor(0, "carrera").texto();
        fecha = c.valor(0, "fecha").texto().left(10);
        // Every node has applied the setup before a workstation reads it.
        for (std::size_t i = 0; i < nodos().size(); ++i)
            conectarCausal(i)->ejecutar(QStringLiteral("select carrera from configuracion"));
    }

    // One workstation on one node: its own connection, dialogs and printers.
    struct Puesto {
        FabricaMariaDb fabrica;
        DialogosGrabados dialogos;
        RelojSistema reloj;
        MaquinaFalsa maquina;
        Contexto ctx{fabrica, dialogos, reloj, maquina};
        BoletosGrabados boletos;
        RecibosGrabados recibos;
        CupoCaballo cupo{};
        Puesto(const QString &cadena, const QString &usuario, const QString &grupo) {
            ctx.sesion.cadena_central = cadena;
            ctx.sesion.usuario = usuario;
            ctx.sesion.grupo = grupo;
            ctx.sesion.impresion = 1;
            ctx.sesion.ticket_cobro = 1;
            ctx.conexion_central = conectar(cadena);
            ctx.abrir_configuracion();
        }
        ResultadoVenta vender(const QString &carrera, const QString &caballo, const QString &tablas) {
            VentaTablas v(ctx, cupo, &boletos);
            return v.procesar({carrera, caballo, tablas, 1, QStringLiteral("BS")});
        }
    };
    std::vector<std::unique_ptr<Puesto>> puestos(int n) {
        std::vector<std::unique_ptr<Puesto>> out;
        for (int i = 0; i < n; ++i)
            out.push_back(std::make_unique<Puesto>(nodos()[std::size_t(i) % nodos().size()], usuario, grupo));
        return out;
    }

    std::unique_ptr<BaseDatos> db;
    QString usuario, grupo, carrera, fecha;
};

TEST_F(Cluster, ThirtyBoothsOverTheNodesSellingTheLastTablasOfAHorseNeverPassItsLimit) {
    // Horse 1 may take 30 tablas of the group. All confirm at the same moment.
    db->ejecutar(QStringLiteral("UPDATE carreras SET apuesta_max_td=30 WHERE carrera='") + carrera +
                 QStringLiteral("' AND fecha='") + fecha + QStringLiteral("' ORDER BY id_carrera LIMIT 1"));
    struct Caso {
        int vendidas, pedido;
    };
    for (const Caso &c : {Caso{21, 2}, Caso{0, 1}}) {
        SCOPED_TRACE(c.vendidas);
        db->ejecutar(QStringLiteral("DELETE FROM ma_principal"));
        if (c.vendidas > 0) {
            Puesto p(nodos()[0], usuario, grupo);
            for (int hechas = 0; hechas < c.vendidas; ++hechas)
                ASSERT_EQ(p.vender(carrera, QStringLiteral("1"), QStringLiteral("1")).tipo,
                          ResultadoVenta::Tipo::Registrada);
        }
        constexpr int kPuestos = 30;
        auto ps = puestos(kPuestos);
        std::latch confirmando(kPuestos);
        std::atomic<int> registradas = 0, rechazadas = 0, fallidas = 0;
        std::mutex m;
        QStringList otros;
        std::vector<std::thread> hilos;
        for (auto &p : ps) {
            p->dialogos.alPreguntar = [&] { confirmando.arrive_and_wait(); };
            hilos.emplace_back([&, q = p.get()] {
                const ResultadoVenta r = q->vender(carrera, QStringLiteral("1"), QString::number(c.pedido));
                if (r.tipo == ResultadoVenta::Tipo::Registrada)
                    ++registradas;
                else if (r.mensaje.startsWith(
                             QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: ")))
                    ++rechazadas;
                else if (r.tipo == ResultadoVenta::Tipo::Fallida)
                    ++fallidas; // lost to other sales every time it tried: its message, nothing written
                else {
                    std::lock_guard<std::mutex> l(m);
                    otros << r.mensaje;
                }
            });
        }
        for (auto &h : hilos)
            h.join();
        EXPECT_TRUE(otros.isEmpty()) << otros.join(" | ").toStdString();
        const Resultado s = db->ejecutar(QStringLiteral(
            "SELECT COUNT(*) AS n, SUM(tablas) AS t, SUM(nu_boleto='') AS sin FROM ma_principal"));
        const double total = s.valor(0, "t").numero();
        EXPECT_LE(total, 30);
        EXPECT_EQ(total, c.vendidas + c.pedido * registradas.load());
        EXPECT_EQ(s.valor(0, "sin").entero(), 0);
        EXPECT_GE(registradas.load(), 1);
        // Most of the horse is sold: a conflict is tried again, not given up at once.
        EXPECT_GE(total, 30 - c.pedido * 3);
        EXPECT_EQ(registradas + rechazadas + fallidas, kPuestos);
        std::cout << "vendidas " << c.vendidas << ": registradas " << registradas << ", rechazadas "
                  << rechazadas << ", fallidas " << fallidas << ", tablas " << total << "\n";
    }
}

TEST_F(Cluster, TwentyBoothsOverTheNodesPayingOneTicketPayItOnceWithOneReceipt) {
    // A winning ticket of the booth, looked up at twenty workstations of it, paid at the same moment.
    std::string codigo;
    {
        Puesto p(nodos()[0], usuario, grupo);
        const ResultadoVenta r = p.vender(carrera, QStringLiteral("2"), QStringLiteral("1"));
        ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        codigo = r.boleto->nu_boleto.toStdString();
        db->ejecutar(QStringLiteral("UPDATE ma_principal SET estatus=1, cobrado=150 WHERE numero='") +
                     QString::number(r.numero) + QLatin1Char('\''));
    }
    const QString nu = QString::fromStdString(codigo);
    for (std::size_t i = 0; i < nodos().size(); ++i)
        conectarCausal(i)->ejecutar(QStringLiteral("select estatus from ma_principal"));
    constexpr int kPuestos = 20;
    auto ps = puestos(kPuestos);
    std::latch pagando(kPuestos);
    std::vector<ResultadoPago> pagos(kPuestos);
    std::vector<bool> pagable(kPuestos);
    std::vector<std::thread> hilos;
    for (int i = 0; i < kPuestos; ++i)
        hilos.emplace_back([&, i] {
            Cobro cobro(ps[std::size_t(i)]->ctx, &ps[std::size_t(i)]->recibos);
            pagable[std::size_t(i)] = cobro.consultar(nu, RutaCobro::Tablas).pagable;
            pagando.arrive_and_wait();
            pagos[std::size_t(i)] = cobro.pagar(nu, RutaCobro::Tablas);
        });
    for (auto &h : hilos)
        h.join();
    int hechos = 0, recibos = 0;
    for (int i = 0; i < kPuestos; ++i) {
        EXPECT_TRUE(pagable[std::size_t(i)]) << i;
        const ResultadoPago &r = pagos[std::size_t(i)];
        EXPECT_TRUE(r.cuadro.isEmpty()) << r.cuadro.toStdString();
        if (r.hecho)
            ++hechos;
        else
            EXPECT_EQ(r.mensaje, QStringLiteral("BOLETO YA PAGADO")) << i;
        recibos += int(ps[std::size_t(i)]->recibos.recibos.size());
    }
    EXPECT_EQ(hechos, 1);
    EXPECT_EQ(recibos, 1);
    const Resultado f = db->ejecutar(QStringLiteral("SELECT estatus FROM ma_principal WHERE nu_boleto='") +
                                     nu + QLatin1Char('\''));
    ASSERT_EQ(f.filas(), 1);
    EXPECT_EQ(f.valor(0, "estatus").entero(), 2);
}

TEST_F(Cluster, AConnectionStringOfSeveralServersPassesOverOneThatDoesNotAnswer) {
    // Port 1 of the loopback refuses at once: the next server takes the connection.
    const auto p = parsearCadena(nodos().back());
    ASSERT_TRUE(p);
    const QString nodo = textoServidor(p->servidores.front());
    const QString cadenaDos = cadenaDeNodo(nodos().back(), QStringLiteral("127.0.0.1:1,") + nodo);
    FabricaMariaDb fabrica;
    auto c = fabrica.abrir(cadenaDos);
    EXPECT_EQ(c->nodo(), nodo);
    EXPECT_EQ(c->ejecutar(QStringLiteral("select count(*) as n from configuracion")).valor(0, "n").entero(),
              1);
    // None answers: one connection failure naming each server.
    try {
        fabrica.abrir(cadenaDeNodo(nodos().back(), QStringLiteral("127.0.0.1:1,127.0.0.1:2")));
        ADD_FAILURE() << "connected to nothing";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.conexion());
        EXPECT_NE(std::string(e.what()).find("127.0.0.1:2"), std::string::npos) << e.what();
    }
}

// A connection that kills its own node (SIGKILL) just before the first statement starting with
// `prefijo`: the statement then meets a dead server.
class ConexionAsesina : public BaseDatos {
public:
    ConexionAsesina(std::unique_ptr<BaseDatos> db, QString prefijo, QString archivoPid, bool &armada)
        : db_(std::move(db)), prefijo_(std::move(prefijo)), pid_(std::move(archivoPid)), armada_(armada) {}
    Resultado ejecutar(const QString &sql) override {
        if (armada_ && sql.startsWith(prefijo_)) {
            armada_ = false;
            QFile f(pid_);
            const long long pid = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLongLong() : 0;
            EXPECT_GT(pid, 0) << pid_.toStdString();
            if (pid > 0) {
                ::kill(pid_t(pid), SIGKILL);
                while (::kill(pid_t(pid), 0) == 0)
                    QThread::msleep(10);
            }
        }
        return db_->ejecutar(sql);
    }
    long long filasAfectadas() const override { return db_->filasAfectadas(); }
    QString escapar(const QString &v) const override { return db_->escapar(v); }
    long long ultimoId() const override { return db_->ultimoId(); }
    unsigned long idHilo() const override { return db_->idHilo(); }
    long long inicioServidor() const override { return db_->inicioServidor(); }
    bool perdida() const override { return db_->perdida(); }
    QString nodo() const override { return db_->nodo(); }
    bool enCluster() const override { return db_->enCluster(); }

private:
    std::unique_ptr<BaseDatos> db_;
    QString prefijo_, pid_;
    bool &armada_;
};

class FabricaAsesina : public FabricaConexiones {
public:
    FabricaAsesina(QString prefijo, QString archivoPid)
        : prefijo_(std::move(prefijo)), pid_(std::move(archivoPid)) {}
    std::unique_ptr<BaseDatos> abrir(const QString &cadena) override {
        return std::make_unique<ConexionAsesina>(FabricaMariaDb().abrir(cadena), prefijo_, pid_, armada);
    }
    bool armada = true;

private:
    QString prefijo_, pid_;
};

// Last: it leaves the third node to be started again.
TEST_F(Cluster, ANodeKilledBetweenASalesInsertAndItsCodeLeavesTheClerkToldAndNoGhostTicket) {
    const char *dir = std::getenv("CORVALO_CLUSTER_DIR");
    if (nodos().size() < 3 || !dir || !*dir)
        GTEST_SKIP() << "one server: the lost reply there is faults_db_test's";
    // The workstation's string names every node, the third first: it sells on the third.
    const auto p = parsearCadena(cadena());
    ASSERT_TRUE(p);
    const QString orden = textoServidor(p->servidores[2]) + QLatin1Char(',') +
                          textoServidor(p->servidores[0]) + QLatin1Char(',') +
                          textoServidor(p->servidores[1]);
    const QString suya = cadenaDeNodo(cadena(), orden);
    FabricaAsesina fabrica(QStringLiteral("update ma_principal set nu_boleto="),
                           QString::fromLocal8Bit(dir) + QStringLiteral("/nodo3/mysqld.pid"));
    DialogosGrabados dialogos;
    RelojSistema reloj;
    MaquinaFalsa maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    BoletosGrabados boletos;
    CupoCaballo cupo{};
    ctx.sesion.cadena_central = suya;
    ctx.sesion.usuario = usuario;
    ctx.sesion.grupo = grupo;
    ctx.sesion.impresion = 1;
    ctx.abrir_central(suya);
    ASSERT_TRUE(ctx.conexion_central);
    ASSERT_EQ(ctx.conexion_central->nodo(), textoServidor(p->servidores[2]));
    ctx.abrir_configuracion();
    VentaTablas venta(ctx, cupo, &boletos);
    const ResultadoVenta r =
        venta.procesar({carrera, QStringLiteral("3"), QStringLiteral("1"), 1, QStringLiteral("BS")});
    EXPECT_FALSE(fabrica.armada);
    // The INSERT had committed on the cluster: the sale is completed on another node and printed.
    ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
    ASSERT_TRUE(r.boleto);
    ASSERT_EQ(boletos.impresos.size(), 1u);
    EXPECT_NE(ctx.conexion_central->nodo(), textoServidor(p->servidores[2]));
    EXPECT_TRUE(ctx.pendientes.vacio());
    const Resultado f =
        db->ejecutar(QStringLiteral("SELECT nu_boleto, llave1 FROM ma_principal WHERE numero='") +
                     QString::number(r.numero) + QLatin1Char('\''));
    ASSERT_EQ(f.filas(), 1);
    EXPECT_EQ(f.valor(0, "nu_boleto").texto(), r.boleto->nu_boleto);
    EXPECT_FALSE(f.valor(0, "llave1").texto().isEmpty());
    EXPECT_EQ(db->ejecutar(QStringLiteral("SELECT COUNT(*) AS n FROM ma_principal WHERE nu_boleto=''"))
                  .valor(0, "n")
                  .entero(),
              0);
    // The third node joins again for whoever comes next.
    if (const char *volver = std::getenv("CORVALO_CLUSTER_JOIN"); volver && *volver)
        EXPECT_EQ(std::system(volver), 0);
}

} // namespace
