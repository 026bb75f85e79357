// Sale benchmark: a sale is a fixed chain of statements, each one round trip to the central
// server, so its floor is (statements per sale) x (round trip of a trivial statement). This
// measures both in one run on the private server and prints their ratio, on a demo day and
// again with a large archive (2 million tickets in ventas, 200,000 of today in ma_principal).
#include "backoffice.h"
#include "contexto.h"
#include "db.h"
#include "guion.h"
#include "venta_puestos.h"
#include "venta_tablas.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <stdexcept>
#include <vector>

using namespace corvalo;

namespace {

// Counts the statements that pass.
class Contador : public BaseDatos {
public:
    explicit Contador(std::unique_ptr<BaseDatos> db) : db_(std::move(db)) {}
    Resultado ejecutar(const QString &sql) override {
        ++n;
        if (grabando)
            grabadas.push_back(sql);
        if (!detalle)
            return db_->ejecutar(sql);
        QElapsedTimer t;
        t.start();
        Resultado r = db_->ejecutar(sql);
        auto &[veces, ns] = tiempos[etiqueta + sql.left(24)];
        ++veces;
        ns += double(t.nsecsElapsed());
        return r;
    }
    bool detalle = qEnvironmentVariableIsSet("CORVALO_BENCH_DETAIL");
    std::map<QString, std::pair<int, double>> tiempos;
    QString etiqueta;
    long long filasAfectadas() const override { return db_->filasAfectadas(); }
    QString escapar(const QString &v) const override { return db_->escapar(v); }
    long long ultimoId() const override { return db_->ultimoId(); }
    unsigned long idHilo() const override { return db_->idHilo(); }
    long long inicioServidor() const override { return db_->inicioServidor(); }
    bool perdida() const override { return db_->perdida(); }
    long long n = 0;
    bool grabando = false;
    std::vector<QString> grabadas;

private:
    std::unique_ptr<BaseDatos> db_;
};

class FabricaUna : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &) override { throw DbError("not used"); }
};

std::unique_ptr<BaseDatos> conectar(const QString &cadena) {
    auto p = parsearCadena(cadena);
    if (!p)
        throw std::runtime_error("bad connection string");
    p->readTimeout = 600;
    p->writeTimeout = 600;
    return abrirMariaDb(*p);
}

double ida(BaseDatos &db, int veces) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < veces; ++i)
        db.ejecutar(QStringLiteral("SELECT 1"));
    return double(t.nsecsElapsed()) / veces;
}

// The floor of the sale's own statements: the texts a run sent, replayed on a bare
// Connector/C handle (send, store, free), with no program code in between. What the sale
// costs above this is the program's; what this costs above the round trips is the server's.
class Repeticion {
public:
    explicit Repeticion(const ParametrosConexion &p) : m_(mysql_init(nullptr)) {
        const QByteArray host = p.server.toLatin1(), user = p.uid.toLatin1(), pwd = p.pwd.toLatin1(),
                         base = p.database.toLatin1();
        mysql_optionsv(m_, MYSQL_SET_CHARSET_NAME, "latin1");
        if (!mysql_real_connect(m_, host.constData(), user.constData(), pwd.constData(), base.constData(),
                                p.port, nullptr, 0))
            throw std::runtime_error(mysql_error(m_));
    }
    ~Repeticion() { mysql_close(m_); }
    Repeticion(const Repeticion &) = delete;
    Repeticion &operator=(const Repeticion &) = delete;

    double ns(const std::vector<QString> &sentencias) {
        std::vector<QByteArray> bytes;
        bytes.reserve(sentencias.size());
        for (const QString &s : sentencias)
            bytes.push_back(s.toLatin1());
        QElapsedTimer t;
        t.start();
        for (const QByteArray &b : bytes) {
            if (mysql_real_query(m_, b.constData(), static_cast<unsigned long>(b.size())) != 0)
                throw std::runtime_error(mysql_error(m_));
            if (MYSQL_RES *r = mysql_store_result(m_))
                mysql_free_result(r);
        }
        return double(t.nsecsElapsed());
    }

private:
    MYSQL *m_;
};

// CPU time of this thread: what the client itself spends, whatever the machine's other load.
double cpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

struct Medida {
    double venta_ns = 0, sentencias = 0, ida_ns = 0, piso_ns = 0, venta_cpu_ns = 0, piso_cpu_ns = 0;
    double ratio() const { return venta_ns / (sentencias * ida_ns); }
    double ratioPiso() const { return piso_ns / (sentencias * ida_ns); }
    double sobrePiso() const { return venta_ns / piso_ns; }
};

// One measurement of a game: the booth emptied of its earlier sales (they would otherwise
// lengthen the sums over a horse from one measurement to the next), twenty sales to warm up,
// then a round trip, the timed sales, their bare replay and a round trip again.
template <typename Venta>
Medida medir(Contexto &ctx, Contador &cont, Repeticion &rep, CupoCaballo &cupo, int juego, int veces) {
    Venta venta(ctx, cupo, nullptr);
    const QString carrera = ctx.configuracion("carrera").texto();
    auto vender = [&](int i) {
        const ResultadoVenta r = venta.procesar({carrera, QString::number(1 + i % 8),
                                                 juego == 3 ? QStringLiteral("10") : QStringLiteral("1"),
                                                 juego, QStringLiteral("BS")});
        if (r.tipo != ResultadoVenta::Tipo::Registrada)
            throw std::runtime_error(("sale refused: " + r.mensaje).toStdString());
    };
    cont.ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE taquilla='") +
                  sqlTexto(cont, ctx.sesion.usuario) + QStringLiteral("'"));
    for (int i = 0; i < 20; ++i)
        vender(i);
    Medida m;
    const double ida1 = ida(cont, 200);
    cont.n = 0;
    cont.grabadas.clear();
    cont.grabando = true;
    QElapsedTimer t;
    double cpu = cpuNs();
    t.start();
    for (int i = 0; i < veces; ++i)
        vender(i);
    m.venta_ns = double(t.nsecsElapsed()) / veces;
    m.venta_cpu_ns = (cpuNs() - cpu) / veces;
    m.sentencias = double(cont.n) / veces;
    cont.grabando = false;
    cpu = cpuNs();
    m.piso_ns = rep.ns(cont.grabadas) / veces;
    m.piso_cpu_ns = (cpuNs() - cpu) / veces;
    m.ida_ns = (ida1 + ida(cont, 200)) / 2;
    return m;
}

// The round with the median ratio: a busy moment of the machine spoils one round, not the figure.
Medida mediana(std::vector<Medida> medidas) {
    std::sort(medidas.begin(), medidas.end(),
              [](const Medida &a, const Medida &b) { return a.ratio() < b.ratio(); });
    return medidas[medidas.size() / 2];
}

void imprimirDetalle(Contador &cont) {
    for (const auto &[sql, v] : cont.tiempos)
        std::printf("  %-34s %6d x %8.1f us\n", sql.toUtf8().constData(), v.first, v.second / v.first / 1000);
    cont.tiempos.clear();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString servidor;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--server"))
            servidor = args[i + 1];
    if (servidor.isEmpty()) {
        std::fprintf(stderr, "usage: corvalo-bench --server CONN\n");
        return 2;
    }
    const int veces = qEnvironmentVariableIntValue("CORVALO_BENCH_SALES") > 0
                          ? qEnvironmentVariableIntValue("CORVALO_BENCH_SALES")
                          : 880;
    try {
        if (!servidor.endsWith(QLatin1Char(';')))
            servidor += QLatin1Char(';');
        {
            auto s = conectar(servidor);
            s->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS corvalo_bench"));
            s->ejecutar(QStringLiteral("CREATE DATABASE corvalo_bench DEFAULT CHARACTER SET latin1"));
        }
        const QString cadena = servidor + QStringLiteral("database=corvalo_bench;");
        auto preparar = conectar(cadena);
        backoffice::crearEsquema(*preparar, false);
        const QDate hoy = QDate::currentDate();
        const auto accesos = backoffice::sembrarDemo(*preparar, hoy);
        // Limits out of the way: the benchmark sells the same horses again and again.
        preparar->ejecutar(
            QStringLiteral("UPDATE carreras SET apuesta_max_td=1000000000, apuesta_max_td2=1000000000, "
                           "apuesta_max_pt=1000000000, apuesta_max_pt2=1000000000, estado=0, estado_pt=0, "
                           "retirado=0, retirado_pt=0"));
        backoffice::fijarConfiguracion(*preparar, {"modificar=1", "venta_pt=1", "cupo_td_opcion=0",
                                                   "opcioncupopt=0", "apuesta_max_td=1000000",
                                                   "cupo_pt=1000000", "min_vbs=0", "carrera=1"});
        QString usuario, grupo;
        for (const auto &a : accesos)
            if (a.nivel == QLatin1String("Taquilla") && a.estatus != QLatin1String("Baja")) {
                usuario = a.usuario;
                grupo = a.grupo;
                break;
            }

        FabricaUna fabrica;
        DialogosAutomaticos dialogos;
        RelojSistema reloj;
        MaquinaNula maquina;
        Contexto ctx(fabrica, dialogos, reloj, maquina);
        auto contador = std::make_unique<Contador>(conectar(cadena));
        Contador &cont = *contador;
        ctx.conexion_central = std::move(contador);
        ctx.sesion.usuario = usuario;
        ctx.sesion.grupo = grupo;
        ctx.sesion.id_moneda = 1;
        ctx.abrir_configuracion();
        CupoCaballo cupo{};
        Repeticion rep(*parsearCadena(cadena));

        // The large archive: other booths' tickets (booths "otra0" to "otra299", groups G0 to
        // G39), none of the benchmark's own booth or group, in copies of the day's two tables.
        const bool archivo = !qEnvironmentVariableIsSet("CORVALO_BENCH_SMALL");
        if (archivo) {
            std::printf(
                "filling the archive: 2000000 tickets in ventas, 200000 of today in ma_principal ...\n");
            std::fflush(stdout);
            QElapsedTimer t;
            t.start();
            for (const char *tabla : {"ventas", "ma_principal"}) {
                preparar->ejecutar(
                    QStringLiteral("CREATE TABLE %1_archivo LIKE %1").arg(QLatin1String(tabla)));
                preparar->ejecutar(
                    QStringLiteral("INSERT INTO %1_archivo SELECT * FROM %1").arg(QLatin1String(tabla)));
            }
            const QString cols = QStringLiteral("(carrera,caballo,monto,tablas,puesto,taquilla,grupo,hora,"
                                                "fecha,cobrado,fecha_cobro,estatus,nu_boleto,"
                                                "id_juego,id_moneda,llave1,llave2,llave3,llave4)");
            preparar->ejecutar(
                QStringLiteral("INSERT INTO ventas_archivo ") + cols +
                QStringLiteral(" SELECT 1+seq%12, 1+seq%14, 100, 2, 0, CONCAT('otra', seq%300), "
                               "CONCAT('G', seq%40), '10:00:00', DATE_SUB('%1', INTERVAL 1+seq%700 DAY), 0, "
                               "'', 0, CONCAT('4', seq), 1+seq%2, 1, '', '', '', '' FROM seq_1_to_2000000")
                    .arg(hoy.toString(Qt::ISODate)));
            preparar->ejecutar(
                QStringLiteral("INSERT INTO ma_principal_archivo ") + cols +
                QStringLiteral(" SELECT 1+seq%12, 1+seq%14, 100, 2, 0, CONCAT('otra', seq%300), "
                               "CONCAT('G', seq%40), '10:00:00', '%1', 0, '', 0, CONCAT('4', seq), 1+seq%2, "
                               "1, '', '', '', '' FROM seq_1_to_200000")
                    .arg(hoy.toString(Qt::ISODate)));
            preparar->ejecutar(QStringLiteral("ANALYZE TABLE ventas_archivo, ma_principal_archivo"));
            // Measure once the server has written the bulk load out, not while it is doing so.
            for (int i = 0; i < 120; ++i) {
                const Resultado r = preparar->ejecutar(
                    QStringLiteral("SHOW GLOBAL STATUS LIKE 'Innodb_buffer_pool_pages_dirty'"));
                if (r.valor(0, QStringLiteral("Value")).entero() < 200)
                    break;
                QThread::msleep(500);
            }
            std::printf("filled in %.0f s\n", t.elapsed() / 1000.0);
        }
        // The demo day and the archive take turns under the same names, so each round measures
        // both in the same state of the machine and of the server; the order alternates too.
        bool archivoPuesto = false;
        auto poner = [&](bool conArchivo) {
            if (conArchivo == archivoPuesto)
                return;
            preparar->ejecutar(
                QStringLiteral("RENAME TABLE ventas TO ventas_otro, ventas_archivo TO ventas, ventas_otro TO "
                               "ventas_archivo, "
                               "ma_principal TO ma_principal_otro, ma_principal_archivo TO ma_principal, "
                               "ma_principal_otro TO ma_principal_archivo"));
            archivoPuesto = conArchivo;
        };
        constexpr int rondas = 11;
        const int porRonda = std::max(1, veces / rondas);
        std::vector<Medida> tDia, pDia, tArchivo, pArchivo;
        for (int ronda = 0; ronda < rondas; ++ronda) {
            for (const bool conArchivo : {ronda % 2 == 1, ronda % 2 == 0}) {
                if (conArchivo && !archivo)
                    continue;
                poner(conArchivo);
                cont.etiqueta = conArchivo ? QStringLiteral("archive ") : QStringLiteral("demo day ");
                (conArchivo ? tArchivo : tDia)
                    .push_back(medir<VentaTablas>(ctx, cont, rep, cupo, 1, porRonda));
                (conArchivo ? pArchivo : pDia)
                    .push_back(medir<VentaPuestos>(ctx, cont, rep, cupo, 3, porRonda));
            }
        }
        poner(false);
        imprimirDetalle(cont);
        if (cont.detalle)
            for (int r = 0; r < rondas; ++r)
                std::printf("  round %d: tablas %.3f / %.3f, puestos %.3f / %.3f (demo day / archive)\n", r,
                            tDia[r].ratio(), archivo ? tArchivo[r].ratio() : 0.0, pDia[r].ratio(),
                            archivo ? pArchivo[r].ratio() : 0.0);

        const Medida t1 = mediana(tDia), p1 = mediana(pDia);
        std::printf("round_trip_us=%.1f\n", t1.ida_ns / 1000);
        for (const auto &[nombre, m] : {std::pair{"tablas", t1}, std::pair{"puestos", p1}})
            std::printf(
                "%s: %.0f statements, %.1f us a sale, ratio %.3f; the same statements replayed bare: "
                "%.1f us, ratio %.3f; sale / replay %.3f; client CPU a sale %.1f us (replay %.1f us)\n",
                nombre, m.sentencias, m.venta_ns / 1000, m.ratio(), m.piso_ns / 1000, m.ratioPiso(),
                m.sobrePiso(), m.venta_cpu_ns / 1000, m.piso_cpu_ns / 1000);
        if (archivo) {
            // Each round's archive figure against the same round's demo-day figure, then the median.
            auto cambio = [](const std::vector<Medida> &archivo, const std::vector<Medida> &dia) {
                std::vector<double> c;
                for (size_t i = 0; i < archivo.size(); ++i)
                    c.push_back(archivo[i].ratio() / dia[i].ratio() - 1);
                std::sort(c.begin(), c.end());
                return 100 * c[c.size() / 2];
            };
            const Medida t2 = mediana(tArchivo), p2 = mediana(pArchivo);
            std::printf("large tables: tablas ratio %.3f (%+.1f %% against the same rounds' demo day), "
                        "puestos ratio %.3f (%+.1f %%)\n",
                        t2.ratio(), cambio(tArchivo, tDia), p2.ratio(), cambio(pArchivo, pDia));
        }
        // Near the horse's limit (within fifty of the largest bets) the check is made again under a
        // server lock: three statements more, only for those sales.
        backoffice::fijarConfiguracion(*preparar, {"apuesta_max_td=100000000", "cupo_pt=100000000"});
        const Medida tc = medir<VentaTablas>(ctx, cont, rep, cupo, 1, porRonda);
        const Medida pc = medir<VentaPuestos>(ctx, cont, rep, cupo, 3, porRonda);
        std::printf("near the horse's limit: tablas %.0f statements, %.1f us a sale (%+.1f %%); puestos %.0f "
                    "statements, %.1f us a sale (%+.1f %%)\n",
                    tc.sentencias, tc.venta_ns / 1000, 100 * (tc.venta_ns / t1.venta_ns - 1), pc.sentencias,
                    pc.venta_ns / 1000, 100 * (pc.venta_ns / p1.venta_ns - 1));
        std::printf("tablas_statements=%.0f\n", t1.sentencias);
        std::printf("puestos_statements=%.0f\n", p1.sentencias);
        std::printf("puestos_sale_ratio=%.3f\n", p1.ratio());
        std::printf("tablas_sale_ratio=%.3f\n", t1.ratio());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
