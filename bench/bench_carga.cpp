// The busy minute before a race: many booths selling at once, each its own workstation (its own
// context, connection and user) running the sale logic of its screen, on a big day (the demo day
// grown to 100,000 tickets), with a few payments among the sales. Every fifth workstation is an
// operator's, selling the four games of the operator screen for the client shops (and now and
// then for a booth's shop, against the same limits as its booths). Then the day is checked:
// every row written complete (a booth's with code and keys as the payment checks them, an
// operator's with its code and no keys) and holding the bet the workstation was told of, every
// code unique in its table, every workstation's rows exactly the sales it was told were
// recorded, every payment made once, and no group past a horse's limit or a bet past the
// largest allowed. Prints a line per game, load_sales_per_s=, load_p99_ms= and load_lost= (rows
// missing, incomplete or wrong).
//
// corvalo-bench-carga --server CONN   (CORVALO_LOAD_BOOTHS, CORVALO_LOAD_SALES change 50 and 200)
//   [--prefix NAME]   the figures' lines begin NAME_ instead of load_
//   [--spread]        CONN names the nodes of a cluster: workstation b starts on node b mod n
//   [--kill-pid FILE] SIGKILL the process whose id FILE holds a third of the way through the
//                     sales; prints failover_lost= and failover_max_stall_s= (the longest any
//                     workstation went between two sales)
#include "backoffice.h"
#include "cobro.h"
#include "contexto.h"
#include "db.h"
#include "llaves.h"
#include "texto.h"
#include "venta_marcas.h"
#include "venta_puestos.h"
#include "venta_tablas.h"
#include "volumen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <csignal>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace corvalo;

namespace {

std::unique_ptr<BaseDatos> conectar(const QString &cadena) {
    auto p = parsearCadena(cadena);
    if (!p)
        throw std::runtime_error("bad connection string");
    p->readTimeout = 600;
    p->writeTimeout = 600;
    return abrirMariaDb(*p);
}

// Per-horse limits of the race the workstations sell: tight enough that the busiest horses fill
// up during the run, so the sales near a limit meet at the horse's row and some are refused.
constexpr double kLimiteTablas = 1400;    // tablas a horse and group (TD; the big day has some)
constexpr double kLimiteTablaFija = 1100; // tablas a horse and group (TF)
constexpr double kLimitePuestos = 11000;  // money a horse and group (Los Puestos)
constexpr double kLimiteMarcas = 1200;    // money a first horse and group (Marcas)
constexpr double kPorJugadaTablas = 10;   // the largest bet in tablas
constexpr double kPorJugadaPuestos = 50;  // the largest bet in Los Puestos
// Every fifth workstation is an operator's.
constexpr int kCadaOperador = 5;

// A shop a sale is made for: its name in the operator's client list, and its group.
struct Tienda {
    QString ch, grupo;
};

// What a workstation was told of a recorded sale: the ticket, and the group it was sold for.
struct Vendida {
    QString nu_boleto, grupo;
    int juego = 0, caballo = 0, caballo2 = 0;
    double tablas = 0, monto = 0;
};

Vendida vendidaDe(const Boleto &b, const QString &grupo) {
    return {b.nu_boleto, grupo, b.juego, b.caballo, b.caballo2, b.tablas, b.monto};
}

struct Cuenta {
    long long registradas = 0, rechazadas = 0;
};

// A workstation: a booth, or an operator's selling for the client shops.
struct Taquilla {
    QString usuario, grupo;
    bool operador = false;
    FabricaMariaDb fabrica;
    DialogosAutomaticos dialogos;
    RelojSistema reloj;
    MaquinaNula maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    CupoCaballo cupo{};
    std::unique_ptr<VentaTablas> tablas;
    std::unique_ptr<VentaPuestos> puestos;
    std::unique_ptr<VentaMarcas> marcas; // the operator's fourth game
    // The client the operator chose for the sale being made.
    Tienda cliente;
    // What the workstation was told, by row number: of ma_principal, and of ma_marcas.
    std::map<int, Vendida> registradas, registradasMk;
    int ganadores = 0; // of `registradas`, the winners sold before the run
    std::vector<QString> porCobrar, cobrados;
    std::vector<double> ms;
    std::vector<Cuenta> porJuego; // by entry of juegos()
    int rechazadas = 0, fallidas = 0, pendientes = 0, pagosFallidos = 0;
    QString ultimoFallo;
    double maxParada = 0;   // seconds, the longest between two sales
    QString cobroPendiente; // the ticket of a payment whose outcome is pending
    int noRegistradas = 0;  // lost replies resolved as not recorded, and so told
};

// What the sales read besides the bet.
struct Dia {
    QString carrera;              // the race on sale
    QString hipodromo;            // its racetrack, as the operator's list names it
    int idHipodromo = 0;          // and its number, which a Marcas row carries
    int caballos = 0;             // the horses of the race at that racetrack
    std::vector<Tienda> clientes; // the client shops (id_tipo 2)
    std::vector<Tienda> tiendas;  // the booths' own shops
};

// The operator's client for a sale: a client shop three times in four, otherwise a booth's shop,
// whose sales count against the same limits as its booths'.
void elegirCliente(Taquilla &t, std::mt19937 &r, const Dia &d) {
    const unsigned k = r() % 8;
    t.cliente = k < 6 ? d.clientes[k % d.clientes.size()] : d.tiendas[(k - 6) % d.tiendas.size()];
}

// The games, one entry each: those of the booth screen and the four of the operator screen. The
// sale of an entry gets the workstation, its random source and the day, and returns the outcome.
struct Juego {
    const char *nombre;
    int juego;     // id_juego; Marcas (4) is recorded in ma_marcas
    bool operador; // sold on the operator screen
    std::function<ResultadoVenta(Taquilla &, std::mt19937 &, const Dia &)> vender;
};

std::vector<Juego> juegos() {
    // The favourites draw most of the money.
    auto tablas = [](int juego) {
        return [juego](Taquilla &t, std::mt19937 &r, const Dia &d) {
            const int caballo = 1 + int(r() % 4);
            const int n = 1 + int(r() % 5);
            DatosJugada datos{d.carrera, QString::number(caballo), QString::number(n), juego,
                              QStringLiteral("BS")};
            if (t.operador) {
                elegirCliente(t, r, d);
                datos.cliente = t.cliente.ch;
            }
            return t.tablas->procesar(datos);
        };
    };
    auto puestos = [](Taquilla &t, std::mt19937 &r, const Dia &d) {
        const int caballo = 1 + int(r() % 4);
        const int monto = 10 * (1 + int(r() % 5));
        DatosJugada datos{d.carrera, QString::number(caballo), QString::number(monto), 3,
                          QStringLiteral("BS")};
        if (t.operador) {
            elegirCliente(t, r, d);
            datos.cliente = t.cliente.ch;
        }
        return t.puestos->procesar(datos);
    };
    auto marcas = [](Taquilla &t, std::mt19937 &r, const Dia &d) {
        elegirCliente(t, r, d);
        const int h1 = 1 + int(r() % 4);
        // Set against another horse of the race.
        const int h2 = 1 + (h1 + int(r() % unsigned(d.caballos - 1))) % d.caballos;
        const int monto = 10 * (1 + int(r() % 5));
        return t.marcas->procesar({d.carrera, QString::number(h1), QString::number(monto), 4,
                                   QStringLiteral("BS"), t.cliente.ch, QString::number(h2), d.hipodromo});
    };
    return {
        // The booth screen's three.
        {"tablas_dinamicas", 1, false, tablas(1)},
        {"tabla_fija", 2, false, tablas(2)},
        {"los_puestos", 3, false, puestos},
        // The operator screen's four: the same three with the operator's differences, and Marcas.
        {"operator_tablas_dinamicas", 1, true, tablas(1)},
        {"operator_tabla_fija", 2, true, tablas(2)},
        {"operator_los_puestos", 3, true, puestos},
        {"operator_marcas", 4, true, marcas},
    };
}

double percentil(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

bool igual(double a, double b) {
    return std::abs(a - b) < 1e-6;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QString servidor, prefijo = QStringLiteral("load"), archivoPid;
    bool repartir = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--spread"))
            repartir = true;
        if (i + 1 >= args.size())
            continue;
        if (args[i] == QLatin1String("--server"))
            servidor = args[i + 1];
        else if (args[i] == QLatin1String("--prefix"))
            prefijo = args[i + 1];
        else if (args[i] == QLatin1String("--kill-pid"))
            archivoPid = args[i + 1];
    }
    if (servidor.isEmpty()) {
        std::fprintf(stderr, "usage: corvalo-bench-carga --server CONN\n");
        return 2;
    }
    const int nTaquillas = qEnvironmentVariableIntValue("CORVALO_LOAD_BOOTHS") > 0
                               ? qEnvironmentVariableIntValue("CORVALO_LOAD_BOOTHS")
                               : 50;
    const int nVentas = qEnvironmentVariableIntValue("CORVALO_LOAD_SALES") > 0
                            ? qEnvironmentVariableIntValue("CORVALO_LOAD_SALES")
                            : 200;
    // The pace of the busy minute, all workstations together: each sells one bet every
    // workstations / rate seconds, their turns spread over that interval. One that falls behind
    // sells at once, and its latency counts from the moment the sale was due, so a server that
    // cannot keep up shows in the figures rather than slowing the pace.
    const double ritmo = qEnvironmentVariableIntValue("CORVALO_LOAD_RATE") > 0
                             ? qEnvironmentVariableIntValue("CORVALO_LOAD_RATE")
                             : 700;
    constexpr int kPagosPorTaquilla = 2;
    try {
        if (!servidor.endsWith(QLatin1Char(';')))
            servidor += QLatin1Char(';');
        {
            auto s = conectar(servidor);
            s->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS corvalo_bench_carga"));
            s->ejecutar(QStringLiteral("CREATE DATABASE corvalo_bench_carga DEFAULT CHARACTER SET latin1"));
        }
        const QString cadena = servidor + QStringLiteral("database=corvalo_bench_carga;");
        auto db = conectar(cadena);
        backoffice::crearEsquema(*db, false);
        const QDate hoy = QDate::currentDate();
        backoffice::sembrarDemo(*db, hoy);
        std::printf("filling the big day: 100000 tickets of today ...\n");
        std::fflush(stdout);
        QElapsedTimer llenado;
        llenado.start();
        bench::llenarVolumen(*db, hoy, {100000, 0});
        std::printf("filled in %.0f s\n", llenado.elapsed() / 1000.0);

        Dia d;
        d.carrera = QStringLiteral("1");
        const QString dia = fechaSql(hoy);
        db->ejecutar(
            QStringLiteral("UPDATE carreras SET apuesta_max_td=%1, apuesta_max_td2=%1, apuesta_max_tf=%6, "
                           "apuesta_max_tf2=%6, apuesta_max_pt=%2, apuesta_max_pt2=%2, apuesta_max_mk=%5, "
                           "apuesta_max_mk2=%5, estado=0, estado_tf=0, estado_pt=0, estado_mk=0, retirado=0, "
                           "retirado_tf=0, retirado_pt=0, ret_mk=0 WHERE fecha='%3' AND carrera=%4")
                .arg(kLimiteTablas)
                .arg(kLimitePuestos)
                .arg(dia, d.carrera)
                .arg(kLimiteMarcas)
                .arg(kLimiteTablaFija));
        backoffice::fijarConfiguracion(
            *db, {QStringLiteral("modificar=1"), QStringLiteral("venta_pt=1"), QStringLiteral("venta_mk=1"),
                  QStringLiteral("cupo_td_opcion=0"), QStringLiteral("cupo_tf_opcion=0"),
                  QStringLiteral("opcioncupopt=0"), QStringLiteral("cupo_mk_opcion=0"),
                  QStringLiteral("apuesta_max_td=%1").arg(kPorJugadaTablas),
                  QStringLiteral("apuesta_max_tf=%1").arg(kPorJugadaTablas),
                  QStringLiteral("cupo_pt=%1").arg(kPorJugadaPuestos), QStringLiteral("min_vbs=0"),
                  QStringLiteral("carrera=") + d.carrera});
        // The shops the operators sell for, as their client list names them.
        const Resultado grupos =
            db->ejecutar(QStringLiteral("SELECT ch,grupo,id_tipo FROM grupos ORDER BY id_grupo"));
        for (int i = 0; i < grupos.filas(); ++i) {
            const Tienda g{grupos.valor(i, QStringLiteral("ch")).texto(),
                           grupos.valor(i, QStringLiteral("grupo")).texto()};
            if (grupos.valor(i, QStringLiteral("id_tipo")).entero() == 2)
                d.clientes.push_back(g);
            else if (g.grupo == QLatin1String("G01") || g.grupo == QLatin1String("G02"))
                d.tiendas.push_back(g);
        }
        // The racetrack of the race, and its horses there (the Marcas bets' second horses).
        const Resultado pista = db->ejecutar(
            QStringLiteral(
                "SELECT h.hipodromo, c.id_hipodromo, COUNT(*) AS n FROM carreras c JOIN hipodromos "
                "h ON h.id_hipodromo=c.id_hipodromo WHERE c.fecha='%1' AND c.carrera=%2 GROUP BY "
                "c.id_hipodromo, h.hipodromo ORDER BY c.id_hipodromo LIMIT 1")
                .arg(dia, d.carrera));
        if (d.clientes.empty() || d.tiendas.size() != 2 || pista.vacio())
            throw std::runtime_error("the demo day has no client shops or no racetrack for the race");
        d.hipodromo = pista.valor(0, QStringLiteral("hipodromo")).texto();
        d.idHipodromo = pista.valor(0, QStringLiteral("id_hipodromo")).entero();
        d.caballos = pista.valor(0, QStringLiteral("n")).entero();
        if (d.caballos < 5)
            throw std::runtime_error("the race has too few horses for the load");

        // The workstations' users, half in each group of the demo day; every fifth an operator.
        db->ejecutar(QStringLiteral("INSERT INTO usuarios (usuario,nombre,nivel,grupo,estatus) SELECT "
                                    "CONCAT('carga',LPAD(seq,2,'0')), CONCAT(IF(MOD(seq,%2)=0,'OPERADOR ',"
                                    "'TAQUILLA '),seq), IF(MOD(seq,%2)=0,'Operador','Taquilla'), "
                                    "IF(MOD(seq,2)=1,'G01','G02'), 'Activo' FROM seq_1_to_%1")
                         .arg(nTaquillas)
                         .arg(kCadaOperador));

        const std::vector<Juego> lista = juegos();
        std::vector<std::unique_ptr<Taquilla>> taquillas;
        int nOperadores = 0;
        for (int i = 1; i <= nTaquillas; ++i) {
            auto t = std::make_unique<Taquilla>();
            t->operador = i % kCadaOperador == 0;
            nOperadores += t->operador ? 1 : 0;
            t->usuario = QStringLiteral("carga%1").arg(i, 2, 10, QLatin1Char('0'));
            t->grupo = i % 2 == 1 ? QStringLiteral("G01") : QStringLiteral("G02");
            // The session as the login leaves it.
            t->ctx.sesion.usuario = t->usuario;
            t->ctx.sesion.grupo = t->grupo;
            t->ctx.sesion.nivel = t->operador ? QStringLiteral("Operador") : QStringLiteral("Taquilla");
            t->ctx.sesion.id_moneda = 1;
            // Spread over the nodes: the workstation's string names them all, its own node first.
            QString suya = cadena;
            if (repartir) {
                const auto p = parsearCadena(cadena);
                const std::size_t n = p ? p->servidores.size() : 0;
                QStringList orden;
                for (std::size_t k = 0; k < n; ++k)
                    orden << textoServidor(p->servidores[(std::size_t(i) + k) % n]);
                if (n > 1)
                    suya = cadenaDeNodo(cadena, orden.join(QLatin1Char(',')));
            }
            t->ctx.sesion.cadena_central = suya;
            t->ctx.abrir_central(suya);
            t->ctx.abrir_configuracion();
            t->ctx.abrir_grupos();
            const PantallaVenta pantalla = t->operador ? PantallaVenta::Operador : PantallaVenta::Taquilla;
            t->tablas = std::make_unique<VentaTablas>(t->ctx, t->cupo, nullptr, pantalla);
            t->puestos = std::make_unique<VentaPuestos>(t->ctx, t->cupo, nullptr, pantalla);
            if (t->operador) {
                // The operator screen reads the racetracks as it opens.
                t->ctx.abrir_hipodromos();
                t->marcas = std::make_unique<VentaMarcas>(t->ctx, t->cupo, nullptr);
            }
            t->porJuego.resize(lista.size());
            taquillas.push_back(std::move(t));
        }
        const int nCabinas = nTaquillas - nOperadores;
        // Winning tickets to pay during the run: each booth sells its own before, and the
        // back-office marks them winners. The operator screen pays nothing.
        for (auto &t : taquillas) {
            if (t->operador)
                continue;
            for (int k = 0; k < kPagosPorTaquilla; ++k) {
                const ResultadoVenta r = t->tablas->procesar({d.carrera, QStringLiteral("%1").arg(5 + k),
                                                              QStringLiteral("1"), 1, QStringLiteral("BS")});
                if (r.tipo != ResultadoVenta::Tipo::Registrada || !r.boleto)
                    throw std::runtime_error(("the sale of a winner failed: " + r.mensaje).toStdString());
                t->registradas[r.numero] = vendidaDe(*r.boleto, t->grupo);
                ++t->ganadores;
                t->porCobrar.push_back(r.boleto->nu_boleto);
                db->ejecutar(
                    QStringLiteral("UPDATE ma_principal SET estatus=1, cobrado=monto*3 WHERE numero=%1")
                        .arg(r.numero));
            }
        }

        // A third of the way through, the node is killed.
        std::atomic<long long> hechas = 0;
        std::atomic<bool> matado = false;
        const long long tercio = (long long)(nTaquillas)*nVentas / 3;
        auto quizaMatar = [&] {
            if (archivoPid.isEmpty() || hechas.load() < tercio || matado.exchange(true))
                return;
            QFile f(archivoPid);
            const long long pid = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLongLong() : 0;
            if (pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0)
                std::printf("node killed (pid %lld) after %lld sales\n", pid, hechas.load());
            else
                std::printf("could not kill the node of %s\n", qPrintable(archivoPid));
            std::fflush(stdout);
        };
        // Tickets whose outcome became known later, as the screen learns it.
        auto resolverPendientes = [&](Taquilla &t) {
            for (const ResolucionVenta &rv : resolverVentasPendientes(t.ctx, nullptr))
                if (rv.estado == ResolucionVenta::Estado::Completada && rv.boleto) {
                    (rv.boleto->juego == 4 ? t.registradasMk : t.registradas)[rv.numero] =
                        vendidaDe(*rv.boleto, t.operador ? t.cliente.grupo : t.grupo);
                }
            for (const ResolucionPago &rp : resolverPagosPendientes(t.ctx, nullptr)) {
                if (rp.hecho)
                    t.cobrados.push_back(t.cobroPendiente);
                else
                    ++t.pagosFallidos;
                t.cobroPendiente.clear();
            }
        };

        // All workstations start together and keep the pace.
        std::mutex m;
        std::condition_variable cv;
        bool salida = false;
        std::vector<std::thread> hilos;
        QElapsedTimer pared;
        const double intervaloNs = 1e9 * double(nTaquillas) / ritmo;
        for (std::size_t b = 0; b < taquillas.size(); ++b) {
            hilos.emplace_back([&, b] {
                Taquilla &t = *taquillas[b];
                std::mt19937 azar(unsigned(1000 + b));
                Cobro cobro(t.ctx, nullptr);
                // The games of this workstation's screen.
                std::vector<std::size_t> propios;
                for (std::size_t k = 0; k < lista.size(); ++k)
                    if (lista[k].operador == t.operador)
                        propios.push_back(k);
                {
                    std::unique_lock<std::mutex> l(m);
                    cv.wait(l, [&] { return salida; });
                }
                double ultimaVenta = 0;
                for (int i = 0; i < nVentas; ++i) {
                    // A write whose outcome is pending is asked about before the next sale, until
                    // the server answers.
                    for (int vez = 0; !t.ctx.pendientes.vacio() && vez < 300; ++vez) {
                        resolverPendientes(t);
                        if (!t.ctx.pendientes.vacio())
                            std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    }
                    // A payment now and then, between the sales.
                    if (i % (nVentas / (kPagosPorTaquilla + 1)) == nVentas / (2 * (kPagosPorTaquilla + 1)) &&
                        !t.porCobrar.empty()) {
                        const QString codigo = t.porCobrar.back();
                        t.porCobrar.pop_back();
                        const ConsultaCobro c = cobro.consultar(codigo, RutaCobro::Tablas);
                        const ResultadoPago p =
                            c.pagable ? cobro.pagar(codigo, RutaCobro::Tablas) : ResultadoPago{};
                        if (p.hecho)
                            t.cobrados.push_back(codigo);
                        else if (!t.ctx.pendientes.deTipo(QStringLiteral("pago")).empty())
                            t.cobroPendiente = codigo;
                        else
                            ++t.pagosFallidos;
                    }
                    const std::size_t k = propios[std::size_t(i + int(b)) % propios.size()];
                    const Juego &j = lista[k];
                    const double debida = intervaloNs * (double(i) + double(b) / double(taquillas.size()));
                    const double falta = debida - double(pared.nsecsElapsed());
                    if (falta > 0)
                        std::this_thread::sleep_for(std::chrono::nanoseconds(static_cast<long long>(falta)));
                    const ResultadoVenta r = j.vender(t, azar, d);
                    const double ahora = double(pared.nsecsElapsed());
                    t.ms.push_back((ahora - debida) / 1e6);
                    if (r.tipo != ResultadoVenta::Tipo::Fallida &&
                        r.tipo != ResultadoVenta::Tipo::Pendiente) {
                        if (i > 0)
                            t.maxParada = std::max(t.maxParada, (ahora - ultimaVenta) / 1e9);
                        ultimaVenta = ahora;
                    }
                    ++hechas;
                    quizaMatar();
                    switch (r.tipo) {
                    case ResultadoVenta::Tipo::Registrada:
                        if (r.boleto) {
                            (j.juego == 4 ? t.registradasMk : t.registradas)[r.numero] =
                                vendidaDe(*r.boleto, t.operador ? t.cliente.grupo : t.grupo);
                            ++t.porJuego[k].registradas;
                        }
                        break;
                    case ResultadoVenta::Tipo::Rechazada:
                    case ResultadoVenta::Tipo::Cancelada:
                        ++t.rechazadas;
                        ++t.porJuego[k].rechazadas;
                        break;
                    case ResultadoVenta::Tipo::Pendiente:
                        t.ultimoFallo = r.mensaje; // asked about before the next sale
                        break;
                    case ResultadoVenta::Tipo::Fallida:
                        // A lost reply resolved as not recorded (or voided), or a failure before
                        // anything was sent (the connection lost after the confirmation, fields
                        // kept, no row): the clerk was told the sale is not made. Not lost; the
                        // checks of the rows would find a row that says otherwise.
                        if (r.mensaje.startsWith(QStringLiteral("LA JUGADA NO QUEDO REGISTRADA")) ||
                            r.mensaje.startsWith(QStringLiteral("LA JUGADA QUEDO ANULADA")) ||
                            (r.numero == 0 && !r.limpiar)) {
                            ++t.noRegistradas;
                            break;
                        }
                        ++t.fallidas;
                        t.ultimoFallo = r.mensaje;
                        break;
                    }
                }
            });
        }
        {
            std::lock_guard<std::mutex> l(m);
            salida = true;
            pared.start();
        }
        cv.notify_all();
        for (std::thread &h : hilos)
            h.join();
        const double segundos = double(pared.nsecsElapsed()) / 1e9;
        // What is still pending once the cluster has settled.
        for (auto &t : taquillas) {
            for (int vez = 0; !t->ctx.pendientes.vacio() && vez < 300; ++vez) {
                resolverPendientes(*t);
                if (!t->ctx.pendientes.vacio())
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            t->pendientes = int(t->ctx.pendientes.entradas().size());
        }

        std::vector<double> todos;
        std::vector<Cuenta> porJuego(lista.size());
        long long vendidas = 0, rechazadas = 0, fallidas = 0, pendientes = 0, pagos = 0, pagosFallidos = 0,
                  noRegistradas = 0;
        for (const auto &t : taquillas) {
            noRegistradas += t->noRegistradas;
            todos.insert(todos.end(), t->ms.begin(), t->ms.end());
            vendidas += (long long)(t->registradas.size() + t->registradasMk.size()) - t->ganadores;
            rechazadas += t->rechazadas;
            fallidas += t->fallidas;
            pendientes += t->pendientes;
            pagos += (long long)(t->cobrados.size());
            pagosFallidos += t->pagosFallidos;
            for (std::size_t k = 0; k < lista.size(); ++k) {
                porJuego[k].registradas += t->porJuego[k].registradas;
                porJuego[k].rechazadas += t->porJuego[k].rechazadas;
            }
            if (!t->ultimoFallo.isEmpty())
                std::printf("  %s: %s\n", qPrintable(t->usuario), qPrintable(t->ultimoFallo));
        }

        // The checks, on the rows themselves.
        long long perdidas = 0;
        auto fallo = [&](const QString &que) {
            ++perdidas;
            if (perdidas <= 20)
                std::printf("  lost: %s\n", qPrintable(que));
        };
        std::map<QString, Taquilla *> porUsuario;
        for (auto &t : taquillas)
            porUsuario[t->usuario] = t.get();

        // The tickets of games 1 to 3.
        const Resultado filas = db->ejecutar(QStringLiteral(
            "SELECT numero,carrera,caballo,monto,tablas,taquilla,grupo,fecha,estatus,nu_boleto,"
            "id_juego,id_moneda,llave1,llave2,llave3,llave4 FROM ma_principal WHERE taquilla LIKE 'carga%' "
            "ORDER BY numero"));
        std::map<QString, std::set<int>> vistas;
        for (int i = 0; i < filas.filas(); ++i) {
            auto v = [&](const char *c) { return filas.valor(i, QLatin1String(c)); };
            const int numero = v("numero").entero();
            const QString usuario = v("taquilla").texto(), nu = v("nu_boleto").texto();
            const int juego = v("id_juego").entero();
            Taquilla *t = porUsuario.count(usuario) ? porUsuario[usuario] : nullptr;
            vistas[usuario].insert(numero);
            if (!t || !t->registradas.count(numero)) {
                fallo(QStringLiteral("row %1 of %2 was never reported to the workstation")
                          .arg(numero)
                          .arg(usuario));
                continue;
            }
            const Vendida &s = t->registradas[numero];
            if (s.nu_boleto != nu || v("grupo").texto() != s.grupo || v("fecha").texto() != dia)
                fallo(QStringLiteral("row %1: code, group or date not the workstation's sale").arg(numero));
            if (juego != s.juego || v("caballo").entero() != s.caballo ||
                !igual(v("tablas").numero(), s.tablas) || !igual(v("monto").numero(), s.monto) ||
                v("carrera").texto() != d.carrera || v("id_moneda").entero() != 1)
                fallo(QStringLiteral("row %1: not the bet of the ticket").arg(numero));
            const QString digito = juego == 1   ? QStringLiteral("4")
                                   : juego == 2 ? QStringLiteral("2")
                                                : QStringLiteral("3");
            if (nu != codigoBoleto(digito, hoy, numero))
                fallo(QStringLiteral("row %1: code %2 is not its number's").arg(numero).arg(nu));
            if (t->operador) {
                // An operator's ticket carries no keys: the row keeps the INSERT's zeros.
                if (v("llave1").texto() != QLatin1String("0") || v("llave2").texto() != QLatin1String("0") ||
                    v("llave3").texto() != QLatin1String("0"))
                    fallo(QStringLiteral("row %1: an operator's ticket with keys").arg(numero));
            } else {
                const QString monto =
                    textoNumero(v("monto").numero()).replace(QLatin1Char(','), QLatin1Char('.'));
                const Llaves k = llavesBoleto(nu, textoNumero(v("caballo").numero()), monto,
                                              textoNumero(v("carrera").numero()), s.grupo);
                if (v("llave1").texto() != k.llave1 || v("llave2").texto() != k.llave2 ||
                    v("llave3").texto() != k.llave3)
                    fallo(QStringLiteral("row %1: keys do not check").arg(numero));
            }
            if (v("llave4").texto() != QLatin1String("0"))
                fallo(QStringLiteral("row %1: llave4 is %2").arg(numero).arg(v("llave4").texto()));
            if (juego == 3 ? v("monto").numero() > kPorJugadaPuestos
                           : v("tablas").numero() > kPorJugadaTablas)
                fallo(QStringLiteral("row %1: a bet over the largest allowed").arg(numero));
            const bool pagado = std::find(t->cobrados.begin(), t->cobrados.end(), nu) != t->cobrados.end();
            const int estatus = v("estatus").entero();
            if (pagado ? estatus != 2 : (estatus != 0 && estatus != 1))
                fallo(QStringLiteral("row %1: status %2").arg(numero).arg(estatus));
        }
        // The Marcas tickets: no keys; the bet, its racetrack and its combination.
        const Resultado marcas = db->ejecutar(QStringLiteral(
            "SELECT numero,carrera,caballo,caballo2,monto,taquilla,grupo,fecha,cobrado,fecha_cobro,estatus,"
            "nu_boleto,id_juego,id_moneda,id_hipodromo,combinacion FROM ma_marcas WHERE taquilla LIKE "
            "'carga%' ORDER BY numero"));
        std::map<QString, std::set<int>> vistasMk;
        for (int i = 0; i < marcas.filas(); ++i) {
            auto v = [&](const char *c) { return marcas.valor(i, QLatin1String(c)); };
            const int numero = v("numero").entero();
            const QString usuario = v("taquilla").texto(), nu = v("nu_boleto").texto();
            Taquilla *t = porUsuario.count(usuario) ? porUsuario[usuario] : nullptr;
            vistasMk[usuario].insert(numero);
            if (!t || !t->registradasMk.count(numero)) {
                fallo(QStringLiteral("Marcas row %1 of %2 was never reported to the workstation")
                          .arg(numero)
                          .arg(usuario));
                continue;
            }
            const Vendida &s = t->registradasMk[numero];
            if (s.nu_boleto != nu || v("grupo").texto() != s.grupo || v("fecha").texto() != dia)
                fallo(
                    QStringLiteral("Marcas row %1: code, group or date not the operator's sale").arg(numero));
            if (nu != codigoBoleto(QStringLiteral("4"), hoy, numero))
                fallo(QStringLiteral("Marcas row %1: code %2 is not its number's").arg(numero).arg(nu));
            if (v("id_juego").entero() != 4 || v("caballo").entero() != s.caballo ||
                v("caballo2").entero() != s.caballo2 || !igual(v("monto").numero(), s.monto) ||
                v("carrera").texto() != d.carrera || v("id_moneda").entero() != 1 ||
                v("id_hipodromo").entero() != d.idHipodromo ||
                v("combinacion").texto() != QStringLiteral("%1-%2").arg(s.caballo).arg(s.caballo2))
                fallo(QStringLiteral("Marcas row %1: not the bet of the ticket").arg(numero));
            if (v("estatus").entero() != 0 || v("cobrado").numero() != 0 ||
                !v("fecha_cobro").texto().isEmpty())
                fallo(QStringLiteral("Marcas row %1: status %2, paid %3")
                          .arg(numero)
                          .arg(v("estatus").texto(), v("cobrado").texto()));
        }
        for (auto &t : taquillas) {
            for (const auto &[numero, s] : t->registradas)
                if (!vistas[t->usuario].count(numero))
                    fallo(QStringLiteral("%1's ticket %2 (row %3) is missing")
                              .arg(t->usuario, s.nu_boleto)
                              .arg(numero));
            for (const auto &[numero, s] : t->registradasMk)
                if (!vistasMk[t->usuario].count(numero))
                    fallo(QStringLiteral("%1's Marcas ticket %2 (row %3) is missing")
                              .arg(t->usuario, s.nu_boleto)
                              .arg(numero));
        }
        // Codes are unique within each table (a Marcas code may repeat a Tablas Dinámicas one:
        // the tables number their rows apart, and each game is paid from its own table).
        for (const char *tabla : {"ma_principal", "ma_marcas"}) {
            const Resultado dobles = db->ejecutar(
                QStringLiteral("SELECT nu_boleto, COUNT(*) AS n FROM %1 WHERE nu_boleto<>'' GROUP BY "
                               "nu_boleto HAVING n>1")
                    .arg(QLatin1String(tabla)));
            for (int i = 0; i < dobles.filas(); ++i)
                fallo(QStringLiteral("code %1 on %2 rows of %3")
                          .arg(dobles.valor(i, QStringLiteral("nu_boleto")).texto(),
                               dobles.valor(i, QStringLiteral("n")).texto(), QLatin1String(tabla)));
        }
        // The per-horse limits, over every row of the groups sold for (the big day's included).
        const Resultado cupos = db->ejecutar(
            QStringLiteral(
                "SELECT grupo,id_juego,caballo,SUM(tablas) AS t,SUM(monto) AS m FROM ma_principal WHERE "
                "fecha='%1' AND carrera=%2 AND id_moneda=1 AND grupo IN ('G01','G02','C01','C02') GROUP BY "
                "grupo,id_juego,caballo UNION ALL SELECT grupo,4,caballo,0,SUM(monto) FROM ma_marcas WHERE "
                "fecha='%1' AND carrera=%2 AND id_moneda=1 AND id_juego=4 GROUP BY grupo,caballo")
                .arg(dia, d.carrera));
        std::array<double, 5> masCerca{}; // by game
        for (int i = 0; i < cupos.filas(); ++i) {
            const int juego = std::clamp(cupos.valor(i, QStringLiteral("id_juego")).entero(), 0, 4);
            const bool enMonto = juego == 3 || juego == 4;
            const double vendido =
                cupos.valor(i, enMonto ? QStringLiteral("m") : QStringLiteral("t")).numero();
            const double limite = juego == 4   ? kLimiteMarcas
                                  : juego == 3 ? kLimitePuestos
                                  : juego == 2 ? kLimiteTablaFija
                                               : kLimiteTablas;
            masCerca[std::size_t(juego)] = std::max(masCerca[std::size_t(juego)], vendido / limite);
            if (vendido > limite)
                fallo(QStringLiteral("group %1, game %2, horse %3: %4 sold over the limit %5")
                          .arg(cupos.valor(i, QStringLiteral("grupo")).texto(),
                               cupos.valor(i, QStringLiteral("id_juego")).texto(),
                               cupos.valor(i, QStringLiteral("caballo")).texto())
                          .arg(vendido)
                          .arg(limite));
        }
        if (pagos + pagosFallidos != (long long)(nCabinas)*kPagosPorTaquilla || pagosFallidos > 0)
            fallo(QStringLiteral("%1 of %2 payments failed")
                      .arg(pagosFallidos)
                      .arg(nCabinas * kPagosPorTaquilla));

        std::printf("%d workstations (%d booths, %d operators) x %d sales: %lld recorded, %lld refused "
                    "(limits), %lld failed, %lld pending, %lld told not recorded, %lld payments, in %.2f s; "
                    "latency median %.1f ms, p90 %.1f ms, worst %.1f ms\n",
                    nTaquillas, nCabinas, nOperadores, nVentas, vendidas, rechazadas, fallidas, pendientes,
                    noRegistradas, pagos, segundos, percentil(todos, 0.5), percentil(todos, 0.9),
                    percentil(todos, 1.0));
        for (std::size_t k = 0; k < lista.size(); ++k) {
            std::printf("  %-26s %6lld recorded, %4lld refused; the game's fullest horse at %.0f %% of its "
                        "limit\n",
                        lista[k].nombre, porJuego[k].registradas, porJuego[k].rechazadas,
                        100 * masCerca[std::size_t(lista[k].juego)]);
        }
        const QByteArray pre = prefijo.toUtf8();
        std::printf("%s_sales_per_s=%.0f\n", pre.constData(), double(vendidas + rechazadas) / segundos);
        std::printf("%s_p99_ms=%.1f\n", pre.constData(), percentil(todos, 0.99));
        std::printf("%s_lost=%lld\n", pre.constData(), perdidas + fallidas + pendientes);
        if (!archivoPid.isEmpty()) {
            double parada = 0;
            for (const auto &t : taquillas)
                parada = std::max(parada, t->maxParada);
            std::printf("failover_lost=%lld\n", perdidas + fallidas + pendientes);
            std::printf("failover_max_stall_s=%.1f\n", parada);
        }
        return perdidas + fallidas + pendientes == 0 ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench-carga: %s\n", e.what());
        return 1;
    }
}
