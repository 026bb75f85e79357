// Sale benchmark: a sale is a fixed chain of statements, each one round trip to the central
// server, so its floor is (statements per sale) x (round trip of a trivial statement). This
// measures both in one run on the private server and prints their ratio, on a demo day and
// again with a large archive (2 million tickets in ventas, 200,000 of today in ma_principal).
// The program's own share is measured against the bare replay of the very statements the sales
// sent: pairs of a block of sales and its replay, back to back, the order alternating, and the
// median of the pairs' ratios; the client's instructions are counted under callgrind. Last, the
// booth sells through a relay that adds 1 ms each way, where the statement count is the cost.
#include "backoffice.h"
#include "contexto.h"
#include "db.h"
#include "guion.h"
#include "relevo.h"
#include "venta_puestos.h"
#include "venta_tablas.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <mysql.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using namespace corvalo;

namespace {

// Counts the statements that pass; everything else goes to the connection unchanged (the sale
// reads the INSERT's number and the connection's identity through it).
class Contador : public BaseDatos {
public:
    explicit Contador(std::unique_ptr<BaseDatos> db) : db_(std::move(db)) {}
    Resultado ejecutar(const QString &sql) override {
        ++n;
        if (!detalle) {
            Resultado r = db_->ejecutar(sql);
            grabar(sql);
            return r;
        }
        QElapsedTimer t;
        t.start();
        Resultado r = db_->ejecutar(sql);
        grabar(sql);
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
    std::vector<long long> ids; // the row number each recorded INSERT made, 0 for the rest

private:
    void grabar(const QString &sql) {
        if (!grabando)
            return;
        grabadas.push_back(sql);
        ids.push_back(sql.startsWith(QLatin1String("INSERT")) ? db_->ultimoId() : 0);
    }
    std::unique_ptr<BaseDatos> db_;
};

class FabricaUna : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &) override { throw DbError(QStringLiteral("not used")); }
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

    // A statement of the replay. One that names the row a sale's INSERT made (the code and keys
    // written into it) names instead the row the replay's own INSERT made, so that the server
    // writes a row for the replay as it did for the sale, rather than finding the sale's row
    // already holding those values.
    struct Paso {
        QByteArray antes, despues; // the text, split where the row number goes
        int fila = -1;             // which INSERT of the replay made the row, -1: none
        bool insert = false;
    };
    // The statements' bytes, made before the timing starts.
    static std::vector<Paso> bytes(const std::vector<QString> &sentencias,
                                   const std::vector<long long> &ids) {
        std::vector<Paso> b;
        b.reserve(sentencias.size());
        static const QByteArray kPrefijo = "numero = '";
        std::vector<QByteArray> filas; // "numero = 'N'" of each INSERT so far, in order
        for (std::size_t i = 0; i < sentencias.size(); ++i) {
            Paso p;
            p.antes = sentencias[i].toLatin1();
            for (std::size_t k = 0; k < filas.size(); ++k) {
                const qsizetype en = p.antes.indexOf(filas[k]);
                if (en < 0)
                    continue;
                // Split around N: "... numero = '" | N | "' ..."
                p.despues = p.antes.mid(en + filas[k].size() - 1);
                p.antes.truncate(en + kPrefijo.size());
                p.fila = int(k);
                break;
            }
            if (i < ids.size() && ids[i] > 0) {
                p.insert = true;
                filas.push_back(kPrefijo + QByteArray::number(ids[i]) + "'");
            }
            b.push_back(std::move(p));
        }
        return b;
    }
    void correr(const std::vector<Paso> &pasos) {
        hechas_.clear();
        for (const Paso &p : pasos) {
            const char *texto = p.antes.constData();
            std::size_t largo = std::size_t(p.antes.size());
            if (p.fila >= 0 && std::size_t(p.fila) < hechas_.size()) {
                char n[24];
                const auto fin = std::to_chars(n, n + sizeof n, hechas_[std::size_t(p.fila)]).ptr;
                armado_.assign(p.antes.constData(), std::size_t(p.antes.size()));
                armado_.append(n, fin);
                armado_.append(p.despues.constData(), std::size_t(p.despues.size()));
                texto = armado_.data();
                largo = armado_.size();
            }
            if (mysql_real_query(m_, texto, static_cast<unsigned long>(largo)) != 0)
                throw std::runtime_error(mysql_error(m_));
            if (MYSQL_RES *r = mysql_store_result(m_))
                mysql_free_result(r);
            if (p.insert)
                hechas_.push_back(static_cast<long long>(mysql_insert_id(m_)));
            else if (p.fila >= 0 && mysql_affected_rows(m_) != 1)
                throw std::runtime_error("the replay's code and keys found no row of its own");
        }
    }

private:
    MYSQL *m_;
    std::vector<long long> hechas_; // the rows this replay's INSERTs made
    std::string armado_;
};

// CPU time of this thread: what the client itself spends, whatever the machine's other load.
double cpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double mediana(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One pair: a block of sales and the bare replay of a block of the same sales' statements, run
// back to back, so a slow moment of the machine falls on both sides of the ratio alike.
struct Par {
    double venta_ns = 0, repeticion_ns = 0, venta_cpu_ns = 0, repeticion_cpu_ns = 0;
    double sobreRepeticion() const { return venta_ns / repeticion_ns; }
    double cpuSobreRepeticion() const { return venta_cpu_ns / repeticion_cpu_ns; }
};

struct Medida {
    std::vector<Par> pares;
    double ventas = 0, sentencias = 0, ida_ns = 0;
    double venta_ns() const {
        double s = 0;
        for (const Par &p : pares)
            s += p.venta_ns;
        return s / ventas;
    }
    double repeticion_ns() const {
        double s = 0;
        for (const Par &p : pares)
            s += p.repeticion_ns;
        return s / ventas;
    }
    double venta_cpu_ns() const {
        double s = 0;
        for (const Par &p : pares)
            s += p.venta_cpu_ns;
        return s / ventas;
    }
    double repeticion_cpu_ns() const {
        double s = 0;
        for (const Par &p : pares)
            s += p.repeticion_cpu_ns;
        return s / ventas;
    }
    // sale / (statements x round trip), and the same for the replay.
    double ratio() const { return venta_ns() / (sentencias * ida_ns); }
    double ratioRepeticion() const { return repeticion_ns() / (sentencias * ida_ns); }
};

// Sells on the booth's screen logic: game 1 is Tablas Dinámicas (one tabla), game 3 Los
// Puestos (an amount of 10).
template <typename Venta> struct Vendedor {
    Vendedor(Contexto &ctx, CupoCaballo &cupo, int juego)
        : venta(ctx, cupo, nullptr), carrera(ctx.configuracion(QStringLiteral("carrera")).texto()),
          juego(juego) {}
    void operator()(int i) {
        const ResultadoVenta r = venta.procesar({carrera, QString::number(1 + i % 8),
                                                 juego == 3 ? QStringLiteral("10") : QStringLiteral("1"),
                                                 juego, QStringLiteral("BS")});
        if (r.tipo != ResultadoVenta::Tipo::Registrada)
            throw std::runtime_error(
                ("sale refused: " + r.mensaje + QStringLiteral(" ") + r.titulo).toStdString());
    }
    Venta venta;
    QString carrera;
    int juego;
};

// One measurement of a game: the booth emptied of its earlier sales (they would otherwise
// lengthen the sums over a horse from one measurement to the next), sales to warm up, a round
// trip, `pares` pairs of `porBloque` sales and a replay (the order alternating: a pair that
// replays first replays the block sold just before it), and a round trip again.
template <typename Venta>
Medida medir(Contexto &ctx, Contador &cont, Repeticion &rep, CupoCaballo &cupo, int juego, int pares,
             int porBloque) {
    Vendedor<Venta> vender(ctx, cupo, juego);
    cont.ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE taquilla='") +
                  sqlTexto(cont, ctx.sesion.usuario) + QStringLiteral("'"));
    cont.n = 0;
    cont.grabadas.clear();
    cont.ids.clear();
    cont.grabando = true;
    for (int i = 0; i < porBloque; ++i)
        vender(i);
    cont.grabando = false;
    std::vector<Repeticion::Paso> ultimas = Repeticion::bytes(cont.grabadas, cont.ids);
    Medida m;
    const double ida1 = ida(cont, 100);
    long long sentencias = 0;
    auto bloqueVenta = [&](Par &p) {
        cont.n = 0;
        cont.grabadas.clear();
        cont.ids.clear();
        cont.grabando = true;
        QElapsedTimer t;
        const double c = cpuNs();
        t.start();
        for (int i = 0; i < porBloque; ++i)
            vender(i);
        p.venta_ns = double(t.nsecsElapsed());
        p.venta_cpu_ns = cpuNs() - c;
        cont.grabando = false;
        sentencias += cont.n;
    };
    auto bloqueRepeticion = [&](Par &p) {
        QElapsedTimer t;
        const double c = cpuNs();
        t.start();
        rep.correr(ultimas);
        p.repeticion_ns = double(t.nsecsElapsed());
        p.repeticion_cpu_ns = cpuNs() - c;
    };
    for (int i = 0; i < pares; ++i) {
        Par p;
        if (i % 2 == 0) {
            bloqueVenta(p);
            ultimas = Repeticion::bytes(cont.grabadas, cont.ids);
            bloqueRepeticion(p);
        } else {
            bloqueRepeticion(p);
            bloqueVenta(p);
            ultimas = Repeticion::bytes(cont.grabadas, cont.ids);
        }
        m.pares.push_back(p);
    }
    m.ventas = double(pares) * porBloque;
    m.sentencias = double(sentencias) / m.ventas;
    m.ida_ns = (ida1 + ida(cont, 100)) / 2;
    return m;
}

// All pairs of all rounds of a game together.
Medida juntar(const std::vector<Medida> &medidas) {
    Medida t;
    double ida = 0, sentencias = 0;
    for (const Medida &m : medidas) {
        t.pares.insert(t.pares.end(), m.pares.begin(), m.pares.end());
        t.ventas += m.ventas;
        sentencias += m.sentencias * m.ventas;
        ida += m.ida_ns;
    }
    t.sentencias = sentencias / t.ventas;
    t.ida_ns = ida / double(medidas.size());
    return t;
}

double medianaSobreRepeticion(const Medida &m) {
    std::vector<double> r;
    for (const Par &p : m.pares)
        r.push_back(p.sobreRepeticion());
    return mediana(r);
}
double medianaCpu(const Medida &m) {
    std::vector<double> r;
    for (const Par &p : m.pares)
        r.push_back(p.cpuSobreRepeticion());
    return mediana(r);
}

// The round with the median ratio (sale over the round trips).
double medianaRatio(const std::vector<Medida> &medidas) {
    std::vector<double> r;
    for (const Medida &m : medidas)
        r.push_back(m.ratio());
    return mediana(r);
}

void imprimirDetalle(Contador &cont) {
    for (const auto &[sql, v] : cont.tiempos)
        std::printf("  %-34s %6d x %8.1f us\n", sql.toUtf8().constData(), v.first, v.second / v.first / 1000);
    cont.tiempos.clear();
}

// The booth the benchmark sells at, and its session.
struct Puesto {
    FabricaUna fabrica;
    DialogosAutomaticos dialogos;
    RelojSistema reloj;
    MaquinaNula maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    Contador *cont = nullptr;
    CupoCaballo cupo{};
    Puesto(const QString &cadena, const QString &usuario, const QString &grupo) {
        auto c = std::make_unique<Contador>(conectar(cadena));
        cont = c.get();
        ctx.conexion_central = std::move(c);
        ctx.sesion.usuario = usuario;
        ctx.sesion.grupo = grupo;
        ctx.sesion.id_moneda = 1;
        ctx.abrir_configuracion();
    }
};

// Under callgrind (corvalo-bench --instructions, started by the benchmark itself): pairs of a
// block of sales and its replay, each side's instructions dumped under its own name, which the
// parent reads from the dump files. Instructions do not move with the machine's other load.
int contarInstrucciones(const QString &cadena, const QString &usuario, const QString &grupo) {
    Puesto p(cadena, usuario, grupo);
    Repeticion rep(*parsearCadena(cadena));
    auto un = [&](auto &vender, const char *nombre) {
        // The names outlive the requests (the macros keep only the pointer).
        const std::string venta = std::string("venta-") + nombre,
                          repeticion = std::string("repeticion-") + nombre;
        p.cont->ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE taquilla='") + usuario +
                         QStringLiteral("'"));
        for (int i = 0; i < 10; ++i)
            vender(i); // warm-up: the caches of the connection and of Qt
        for (int par = 0; par < 3; ++par) {
            p.cont->grabadas.clear();
            p.cont->ids.clear();
            p.cont->grabando = true;
            CALLGRIND_ZERO_STATS;
            CALLGRIND_TOGGLE_COLLECT;
            for (int i = 0; i < 10; ++i)
                vender(i);
            CALLGRIND_TOGGLE_COLLECT;
            p.cont->grabando = false;
            CALLGRIND_DUMP_STATS_AT(venta.c_str());
            const std::vector<Repeticion::Paso> b = Repeticion::bytes(p.cont->grabadas, p.cont->ids);
            CALLGRIND_ZERO_STATS;
            CALLGRIND_TOGGLE_COLLECT;
            rep.correr(b);
            CALLGRIND_TOGGLE_COLLECT;
            CALLGRIND_DUMP_STATS_AT(repeticion.c_str());
        }
    };
    Vendedor<VentaTablas> tablas(p.ctx, p.cupo, 1);
    un(tablas, "tablas");
    Vendedor<VentaPuestos> puestos(p.ctx, p.cupo, 3);
    un(puestos, "puestos");
    return 0;
}

// Runs this program under callgrind in --instructions mode and gives, for each game, the
// median over its pairs of the sale's instructions over the replay's (empty without valgrind).
std::map<std::string, double> instruccionesPorCallgrind(const QString &programa, const QString &cadena,
                                                        const QString &usuario, const QString &grupo) {
    std::map<std::string, double> out;
    QTemporaryDir dir;
    if (!dir.isValid() || QStandardPaths::findExecutable(QStringLiteral("valgrind")).isEmpty())
        return out;
    QProcess vg;
    vg.setProcessChannelMode(QProcess::MergedChannels);
    vg.start(QStringLiteral("valgrind"),
             {QStringLiteral("--tool=callgrind"), QStringLiteral("--collect-atstart=no"),
              QStringLiteral("--callgrind-out-file=") + dir.filePath(QStringLiteral("cg.out")), programa,
              QStringLiteral("--instructions"), cadena, usuario, grupo});
    if (!vg.waitForFinished(900000) || vg.exitCode() != 0) {
        std::fprintf(stderr, "callgrind run failed:\n%s\n", vg.readAll().constData());
        return out;
    }
    std::map<std::string, std::vector<double>> venta, repeticion;
    const QFileInfoList volcados = QDir(dir.path()).entryInfoList({QStringLiteral("cg.out*")}, QDir::Files);
    if (volcados.isEmpty())
        std::fprintf(stderr, "callgrind left no dumps:\n%s\n", vg.readAll().constData());
    for (const QFileInfo &f : volcados) {
        QFile file(f.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        std::string nombre;
        double total = -1;
        while (!file.atEnd()) {
            const QByteArray linea = file.readLine().trimmed();
            if (linea.startsWith("desc: Trigger: Client Request: "))
                nombre = linea.mid(31).toStdString();
            else if (linea.startsWith("totals: ") || (total < 0 && linea.startsWith("summary: ")))
                total = linea.mid(linea.indexOf(' ') + 1).toDouble();
        }
        if (nombre.rfind("venta-", 0) == 0)
            venta[nombre.substr(6)].push_back(total);
        else if (nombre.rfind("repeticion-", 0) == 0)
            repeticion[nombre.substr(11)].push_back(total);
    }
    if (qEnvironmentVariableIsSet("CORVALO_BENCH_DETAIL"))
        std::fprintf(stderr, "callgrind: %lld dumps, %zu sale and %zu replay groups\n",
                     (long long)volcados.size(), venta.size(), repeticion.size());
    // Dumps come in order; the file names carry their sequence number.
    for (auto &[juego, v] : venta) {
        const auto &r = repeticion[juego];
        std::vector<double> ratios;
        for (std::size_t i = 0; i < v.size() && i < r.size(); ++i)
            if (r[i] > 0)
                ratios.push_back(v[i] / r[i]);
        if (!ratios.empty()) {
            out[juego] = mediana(ratios);
            out[juego + "_venta"] = mediana(v) / 10;
            out[juego + "_repeticion"] = mediana(r) / 10;
        }
    }
    return out;
}

// The booth on a network: sales on a connection through the latency relay, each block of
// sales paired with a block of round trips on the same connection, the order alternating.
struct MedidaRed {
    double ratio = 0, sentencias = 0, ida_us = 0, venta_us = 0;
};
template <typename Venta> MedidaRed medirRed(Puesto &p, int juego, int pares, int porBloque) {
    Vendedor<Venta> vender(p.ctx, p.cupo, juego);
    for (int i = 0; i < 5; ++i)
        vender(i);
    std::vector<double> ratios, idas, ventas, sentencias;
    for (int i = 0; i < pares; ++i) {
        double venta = 0, rt = 0;
        long long n = 0;
        auto bloqueVenta = [&] {
            p.cont->n = 0;
            QElapsedTimer t;
            t.start();
            for (int k = 0; k < porBloque; ++k)
                vender(k);
            venta = double(t.nsecsElapsed()) / porBloque;
            n = p.cont->n;
        };
        auto bloqueIda = [&] { rt = ida(*p.cont, 2 * porBloque); };
        if (i % 2 == 0) {
            bloqueVenta();
            bloqueIda();
        } else {
            bloqueIda();
            bloqueVenta();
        }
        const double porVenta = double(n) / porBloque;
        ratios.push_back(venta / (porVenta * rt));
        idas.push_back(rt);
        ventas.push_back(venta);
        sentencias.push_back(porVenta);
    }
    return {mediana(ratios), mediana(sentencias), mediana(idas) / 1000, mediana(ventas) / 1000};
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString servidor;
    int puertoRelevo = qEnvironmentVariableIntValue("CORVALO_RELAY_PORT");
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--instructions")) {
        try {
            return contarInstrucciones(args[2], args[3], args[4]);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "corvalo-bench --instructions: %s\n", e.what());
            return 1;
        }
    }
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--server"))
            servidor = args[i + 1];
        else if (args[i] == QLatin1String("--relay-port"))
            puertoRelevo = args[i + 1].toInt();
    }
    if (servidor.isEmpty()) {
        std::fprintf(stderr, "usage: corvalo-bench --server CONN [--relay-port PORT]\n");
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

        Puesto puesto(cadena, usuario, grupo);
        Contexto &ctx = puesto.ctx;
        Contador &cont = *puesto.cont;
        CupoCaballo &cupo = puesto.cupo;
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
        constexpr int rondas = 11, paresPorRonda = 4;
        const int porBloque = std::max(1, veces / rondas / paresPorRonda);
        std::vector<Medida> tDia, pDia, tArchivo, pArchivo;
        for (int ronda = 0; ronda < rondas; ++ronda) {
            for (const bool conArchivo : {ronda % 2 == 1, ronda % 2 == 0}) {
                if (conArchivo && !archivo)
                    continue;
                poner(conArchivo);
                cont.etiqueta = conArchivo ? QStringLiteral("archive ") : QStringLiteral("demo day ");
                (conArchivo ? tArchivo : tDia)
                    .push_back(medir<VentaTablas>(ctx, cont, rep, cupo, 1, paresPorRonda, porBloque));
                (conArchivo ? pArchivo : pDia)
                    .push_back(medir<VentaPuestos>(ctx, cont, rep, cupo, 3, paresPorRonda, porBloque));
            }
        }
        poner(false);
        imprimirDetalle(cont);
        if (cont.detalle && archivo) {
            // The plans of the sale's reads on the large tables: a full scan ("ALL") would show
            // here first.
            poner(true);
            std::set<QString> vistas;
            for (const QString &sql : cont.grabadas) {
                if (!sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) ||
                    !vistas.insert(sql.left(30)).second)
                    continue;
                const Resultado plan = preparar->ejecutar(QStringLiteral("EXPLAIN ") + sql);
                for (int i = 0; i < plan.filas(); ++i)
                    std::printf("  plan of %-30s table %s, type %s, key %s, rows %s\n",
                                qPrintable(sql.left(30)),
                                qPrintable(plan.valor(i, QStringLiteral("table")).texto()),
                                qPrintable(plan.valor(i, QStringLiteral("type")).texto()),
                                qPrintable(plan.valor(i, QStringLiteral("key")).texto()),
                                qPrintable(plan.valor(i, QStringLiteral("rows")).texto()));
            }
            poner(false);
        }
        if (cont.detalle)
            for (int r = 0; r < rondas; ++r)
                std::printf("  round %d: tablas %.3f / %.3f, puestos %.3f / %.3f (demo day / archive)\n", r,
                            tDia[r].ratio(), archivo ? tArchivo[r].ratio() : 0.0, pDia[r].ratio(),
                            archivo ? pArchivo[r].ratio() : 0.0);

        const Medida t1 = juntar(tDia), p1 = juntar(pDia);
        std::printf("round_trip_us=%.1f\n", t1.ida_ns / 1000);
        for (const auto &[nombre, m, rs] :
             {std::tuple{"tablas", t1, &tDia}, std::tuple{"puestos", p1, &pDia}})
            std::printf("%s: %.0f statements, %.1f us a sale, ratio %.3f; the same statements replayed bare: "
                        "%.1f us, ratio %.3f; sale / replay %.3f (median of %zu pairs); client CPU a sale "
                        "%.1f us (replay %.1f us)\n",
                        nombre, m.sentencias, m.venta_ns() / 1000, medianaRatio(*rs),
                        m.repeticion_ns() / 1000, m.ratioRepeticion(), medianaSobreRepeticion(m),
                        m.pares.size(), m.venta_cpu_ns() / 1000, m.repeticion_cpu_ns() / 1000);
        if (archivo) {
            // Each round's archive figure against the same round's demo-day figure, then the median.
            auto cambio = [](const std::vector<Medida> &archivo, const std::vector<Medida> &dia) {
                std::vector<double> c;
                for (size_t i = 0; i < archivo.size(); ++i)
                    c.push_back(archivo[i].ratio() / dia[i].ratio() - 1);
                return 100 * mediana(c);
            };
            std::printf("large tables: tablas ratio %.3f (%+.1f %% against the same rounds' demo day), "
                        "puestos ratio %.3f (%+.1f %%); sale / replay %.3f and %.3f\n",
                        medianaRatio(tArchivo), cambio(tArchivo, tDia), medianaRatio(pArchivo),
                        cambio(pArchivo, pDia), medianaSobreRepeticion(juntar(tArchivo)),
                        medianaSobreRepeticion(juntar(pArchivo)));
        }
        std::printf("puestos_sale_ratio=%.3f\n", medianaRatio(pDia));
        std::printf("tablas_sale_ratio=%.3f\n", medianaRatio(tDia));
        std::printf("tablas_sale_over_replay=%.3f\n", medianaSobreRepeticion(t1));
        std::printf("puestos_sale_over_replay=%.3f\n", medianaSobreRepeticion(p1));
        std::fflush(stdout);

        // The client's own work, counted in instructions under callgrind; without valgrind, the
        // thread's CPU time of the same pairs (which the machine's load moves).
        const auto inst = instruccionesPorCallgrind(app.applicationFilePath(), cadena, usuario, grupo);
        if (inst.count("tablas") && inst.count("puestos")) {
            std::printf("client instructions a sale: tablas %.0f (replay %.0f), puestos %.0f (replay %.0f)\n",
                        inst.at("tablas_venta"), inst.at("tablas_repeticion"), inst.at("puestos_venta"),
                        inst.at("puestos_repeticion"));
            std::printf("sale_cpu_over_replay_cpu=%.3f\n", std::max(inst.at("tablas"), inst.at("puestos")));
        } else {
            std::printf("no callgrind: the CPU figure is the thread's CPU time\n");
            std::printf("sale_cpu_over_replay_cpu=%.3f\n", std::max(medianaCpu(t1), medianaCpu(p1)));
        }
        std::fflush(stdout);

        // The booth on a network: 1 ms added each way by the relay.
        if (puertoRelevo > 0) {
            const ParametrosConexion pc = *parsearCadena(cadena);
            bench::Relevo relevo(std::uint16_t(puertoRelevo), std::uint16_t(pc.port), 1000);
            const QString cadenaRed = QStringLiteral("server=127.0.0.1;port=%1;uid=%2;pwd=%3;database=%4;")
                                          .arg(puertoRelevo)
                                          .arg(pc.uid, pc.pwd, pc.database);
            Puesto red(cadenaRed, usuario, grupo);
            red.cont->ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE taquilla='") + usuario +
                               QStringLiteral("'"));
            const MedidaRed t = medirRed<VentaTablas>(red, 1, 15, 8);
            const MedidaRed p = medirRed<VentaPuestos>(red, 3, 15, 8);
            std::printf(
                "network (relay adding 1 ms each way): SELECT 1 round trip %.0f us; tablas %.0f statements, "
                "%.0f us a sale, ratio %.3f; puestos %.0f statements, %.0f us, ratio %.3f (medians of 15 "
                "pairs)\n",
                t.ida_us, t.sentencias, t.venta_us, t.ratio, p.sentencias, p.venta_us, p.ratio);
            std::printf("wan_tablas_sale_ratio=%.3f\n", t.ratio);
        } else {
            std::printf("wan_tablas_sale_ratio=not-built\n");
        }
        // Near the horse's limit (within fifty of the largest bets) the check is made again under a
        // server lock: three statements more, only for those sales.
        backoffice::fijarConfiguracion(*preparar, {"apuesta_max_td=100000000", "cupo_pt=100000000"});
        const Medida tc = medir<VentaTablas>(ctx, cont, rep, cupo, 1, 4, porBloque);
        const Medida pc = medir<VentaPuestos>(ctx, cont, rep, cupo, 3, 4, porBloque);
        std::printf("near the horse's limit: tablas %.0f statements, %.1f us a sale (%+.1f %%); puestos %.0f "
                    "statements, %.1f us a sale (%+.1f %%)\n",
                    tc.sentencias, tc.venta_ns() / 1000, 100 * (tc.venta_ns() / t1.venta_ns() - 1),
                    pc.sentencias, pc.venta_ns() / 1000, 100 * (pc.venta_ns() / p1.venta_ns() - 1));
        std::printf("tablas_statements=%.0f\n", t1.sentencias);
        std::printf("puestos_statements=%.0f\n", p1.sentencias);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
