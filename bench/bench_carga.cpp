// The busy minute before a race: many booths selling at once, each its own workstation (its own
// context, connection and user) running the booth screen's sale logic, on a big day (the demo
// day grown to 100,000 tickets), with a few payments among the sales. Then the day is checked:
// every row the booths wrote complete (code and keys as the payment checks them), every code
// unique, every booth's rows exactly the sales it was told were recorded, every payment made
// once, and no group past a horse's limit. Prints load_sales_per_s=, load_p99_ms= and
// load_lost= (rows missing, incomplete or wrong).
//
// corvalo-bench-carga --server CONN   (CORVALO_LOAD_BOOTHS, CORVALO_LOAD_SALES change 50 and 200)
#include "backoffice.h"
#include "cobro.h"
#include "contexto.h"
#include "db.h"
#include "llaves.h"
#include "texto.h"
#include "venta_puestos.h"
#include "venta_tablas.h"
#include "volumen.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
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

// Per-horse limits of the race the booths sell: tight enough that the busiest horses fill up
// during the run, so the sales near a limit take the server lock and some are refused.
constexpr double kLimiteTablas = 1400;   // tablas a horse, group and game (TD, TF)
constexpr double kLimitePuestos = 14000; // money a horse and group (Los Puestos)
constexpr double kPorJugadaTablas = 10;  // the largest bet in tablas
constexpr double kPorJugadaPuestos = 50; // the largest bet in Los Puestos

// A booth workstation.
struct Taquilla {
    QString usuario, grupo;
    FabricaMariaDb fabrica;
    DialogosAutomaticos dialogos;
    RelojSistema reloj;
    MaquinaNula maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    CupoCaballo cupo{};
    std::unique_ptr<VentaTablas> tablas;
    std::unique_ptr<VentaPuestos> puestos;
    // What the booth was told.
    std::map<int, QString> registradas; // numero -> code
    std::vector<QString> porCobrar, cobrados;
    std::vector<double> ms;
    int rechazadas = 0, fallidas = 0, pendientes = 0, pagosFallidos = 0;
    QString ultimoFallo;
};

// The games a booth sells, one entry each; the sale of an entry gets the booth and its random
// source and returns the outcome.
struct Juego {
    const char *nombre;
    std::function<ResultadoVenta(Taquilla &, std::mt19937 &, const QString &carrera)> vender;
};

std::vector<Juego> juegos() {
    auto tablas = [](int juego) {
        return [juego](Taquilla &t, std::mt19937 &r, const QString &carrera) {
            // The favourites draw most of the money.
            const int caballo = 1 + int(r() % 4);
            const int n = 1 + int(r() % 5);
            return t.tablas->procesar(
                {carrera, QString::number(caballo), QString::number(n), juego, QStringLiteral("BS")});
        };
    };
    return {
        {"tablas_dinamicas", tablas(1)},
        {"tabla_fija", tablas(2)},
        {"los_puestos",
         [](Taquilla &t, std::mt19937 &r, const QString &carrera) {
             const int caballo = 1 + int(r() % 4);
             const int monto = 10 * (1 + int(r() % 5));
             return t.puestos->procesar(
                 {carrera, QString::number(caballo), QString::number(monto), 3, QStringLiteral("BS")});
         }},
        // The operator's four games join here, one entry each, once their sale logic exists.
    };
}
constexpr const char *kJuegosOperador[] = {"operator games (4)"};

double percentil(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
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
        std::fprintf(stderr, "usage: corvalo-bench-carga --server CONN\n");
        return 2;
    }
    const int nTaquillas = qEnvironmentVariableIntValue("CORVALO_LOAD_BOOTHS") > 0
                               ? qEnvironmentVariableIntValue("CORVALO_LOAD_BOOTHS")
                               : 50;
    const int nVentas = qEnvironmentVariableIntValue("CORVALO_LOAD_SALES") > 0
                            ? qEnvironmentVariableIntValue("CORVALO_LOAD_SALES")
                            : 200;
    // The pace of the busy minute, all booths together: each booth sells one bet every
    // booths / rate seconds, the booths' turns spread over that interval. A booth that falls
    // behind sells at once, and its latency counts from the moment the sale was due, so a
    // server that cannot keep up shows in the figures rather than slowing the pace.
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

        const QString carrera = QStringLiteral("1");
        const QString dia = fechaSql(hoy);
        db->ejecutar(
            QStringLiteral("UPDATE carreras SET apuesta_max_td=%1, apuesta_max_td2=%1, apuesta_max_tf=%1, "
                           "apuesta_max_tf2=%1, apuesta_max_pt=%2, apuesta_max_pt2=%2, estado=0, "
                           "estado_tf=0, estado_pt=0, retirado=0, retirado_tf=0, retirado_pt=0 WHERE "
                           "fecha='%3' AND carrera=%4")
                .arg(kLimiteTablas)
                .arg(kLimitePuestos)
                .arg(dia, carrera));
        backoffice::fijarConfiguracion(
            *db, {QStringLiteral("modificar=1"), QStringLiteral("venta_pt=1"),
                  QStringLiteral("cupo_td_opcion=0"), QStringLiteral("cupo_tf_opcion=0"),
                  QStringLiteral("opcioncupopt=0"), QStringLiteral("apuesta_max_td=%1").arg(kPorJugadaTablas),
                  QStringLiteral("apuesta_max_tf=%1").arg(kPorJugadaTablas),
                  QStringLiteral("cupo_pt=%1").arg(kPorJugadaPuestos), QStringLiteral("min_vbs=0"),
                  QStringLiteral("carrera=") + carrera});
        // The booths' users, half in each group of the demo day.
        db->ejecutar(QStringLiteral("INSERT INTO usuarios (usuario,nombre,nivel,grupo,estatus) SELECT "
                                    "CONCAT('carga',LPAD(seq,2,'0')), CONCAT('TAQUILLA ',seq), 'Taquilla', "
                                    "IF(seq%2=1,'G01','G02'), 'Activo' FROM seq_1_to_%1")
                         .arg(nTaquillas));

        std::vector<std::unique_ptr<Taquilla>> taquillas;
        for (int i = 1; i <= nTaquillas; ++i) {
            auto t = std::make_unique<Taquilla>();
            t->usuario = QStringLiteral("carga%1").arg(i, 2, 10, QLatin1Char('0'));
            t->grupo = i % 2 == 1 ? QStringLiteral("G01") : QStringLiteral("G02");
            t->ctx.sesion.usuario = t->usuario;
            t->ctx.sesion.grupo = t->grupo;
            t->ctx.sesion.id_moneda = 1;
            t->ctx.sesion.cadena_central = cadena;
            t->ctx.abrir_central(cadena);
            t->ctx.abrir_configuracion();
            t->tablas = std::make_unique<VentaTablas>(t->ctx, t->cupo, nullptr);
            t->puestos = std::make_unique<VentaPuestos>(t->ctx, t->cupo, nullptr);
            taquillas.push_back(std::move(t));
        }
        // Winning tickets to pay during the run: each booth sells its own before, and the
        // back-office marks them winners.
        for (auto &t : taquillas) {
            for (int k = 0; k < kPagosPorTaquilla; ++k) {
                const ResultadoVenta r = t->tablas->procesar(
                    {carrera, QStringLiteral("%1").arg(5 + k), QStringLiteral("1"), 1, QStringLiteral("BS")});
                if (r.tipo != ResultadoVenta::Tipo::Registrada || !r.boleto)
                    throw std::runtime_error(("the sale of a winner failed: " + r.mensaje).toStdString());
                t->registradas[r.numero] = r.boleto->nu_boleto;
                t->porCobrar.push_back(r.boleto->nu_boleto);
                db->ejecutar(
                    QStringLiteral("UPDATE ma_principal SET estatus=1, cobrado=monto*3 WHERE numero=%1")
                        .arg(r.numero));
            }
        }

        // All booths start together and sell as fast as the server answers.
        const std::vector<Juego> lista = juegos();
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
                {
                    std::unique_lock<std::mutex> l(m);
                    cv.wait(l, [&] { return salida; });
                }
                for (int i = 0; i < nVentas; ++i) {
                    // A payment now and then, between the sales.
                    if (i % (nVentas / (kPagosPorTaquilla + 1)) == nVentas / (2 * (kPagosPorTaquilla + 1)) &&
                        !t.porCobrar.empty()) {
                        const QString codigo = t.porCobrar.back();
                        t.porCobrar.pop_back();
                        const ConsultaCobro c = cobro.consultar(codigo, RutaCobro::Tablas);
                        const ResultadoPago p =
                            c.pagable ? cobro.pagar(codigo, RutaCobro::Tablas, 1) : ResultadoPago{};
                        if (p.hecho)
                            t.cobrados.push_back(codigo);
                        else
                            ++t.pagosFallidos;
                    }
                    const Juego &j = lista[std::size_t(i + int(b)) % lista.size()];
                    const double debida = intervaloNs * (double(i) + double(b) / double(taquillas.size()));
                    const double falta = debida - double(pared.nsecsElapsed());
                    if (falta > 0)
                        std::this_thread::sleep_for(std::chrono::nanoseconds(static_cast<long long>(falta)));
                    const ResultadoVenta r = j.vender(t, azar, carrera);
                    t.ms.push_back((double(pared.nsecsElapsed()) - debida) / 1e6);
                    switch (r.tipo) {
                    case ResultadoVenta::Tipo::Registrada:
                        if (r.boleto)
                            t.registradas[r.numero] = r.boleto->nu_boleto;
                        break;
                    case ResultadoVenta::Tipo::Rechazada:
                    case ResultadoVenta::Tipo::Cancelada:
                        ++t.rechazadas;
                        break;
                    case ResultadoVenta::Tipo::Pendiente:
                        ++t.pendientes;
                        t.ultimoFallo = r.mensaje;
                        break;
                    case ResultadoVenta::Tipo::Fallida:
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

        std::vector<double> todos;
        long long vendidas = 0, rechazadas = 0, fallidas = 0, pendientes = 0, pagos = 0, pagosFallidos = 0;
        for (const auto &t : taquillas) {
            todos.insert(todos.end(), t->ms.begin(), t->ms.end());
            vendidas += (long long)(t->registradas.size()) - kPagosPorTaquilla;
            rechazadas += t->rechazadas;
            fallidas += t->fallidas;
            pendientes += t->pendientes;
            pagos += (long long)(t->cobrados.size());
            pagosFallidos += t->pagosFallidos;
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
        const Resultado filas = db->ejecutar(QStringLiteral(
            "SELECT numero,carrera,caballo,monto,tablas,taquilla,grupo,fecha,estatus,nu_boleto,"
            "id_juego,llave1,llave2,llave3 FROM ma_principal WHERE taquilla LIKE 'carga%' ORDER BY "
            "numero"));
        std::map<QString, Taquilla *> porUsuario;
        for (auto &t : taquillas)
            porUsuario[t->usuario] = t.get();
        std::map<QString, std::set<int>> vistas;
        for (int i = 0; i < filas.filas(); ++i) {
            auto v = [&](const char *c) { return filas.valor(i, QLatin1String(c)); };
            const int numero = v("numero").entero();
            const QString usuario = v("taquilla").texto(), nu = v("nu_boleto").texto();
            const int juego = v("id_juego").entero();
            Taquilla *t = porUsuario.count(usuario) ? porUsuario[usuario] : nullptr;
            vistas[usuario].insert(numero);
            if (!t || !t->registradas.count(numero)) {
                fallo(
                    QStringLiteral("row %1 of %2 was never reported to the booth").arg(numero).arg(usuario));
                continue;
            }
            if (t->registradas[numero] != nu || v("grupo").texto() != t->grupo || v("fecha").texto() != dia)
                fallo(QStringLiteral("row %1: code, group or date not the booth's sale").arg(numero));
            const QString digito = juego == 1   ? QStringLiteral("4")
                                   : juego == 2 ? QStringLiteral("2")
                                                : QStringLiteral("3");
            if (nu != codigoBoleto(digito, hoy, numero))
                fallo(QStringLiteral("row %1: code %2 is not its number's").arg(numero).arg(nu));
            const QString monto =
                textoNumero(v("monto").numero()).replace(QLatin1Char(','), QLatin1Char('.'));
            const Llaves k = llavesBoleto(nu, textoNumero(v("caballo").numero()), monto,
                                          textoNumero(v("carrera").numero()), t->grupo);
            if (v("llave1").texto() != k.llave1 || v("llave2").texto() != k.llave2 ||
                v("llave3").texto() != k.llave3)
                fallo(QStringLiteral("row %1: keys do not check").arg(numero));
            const bool pagado = std::find(t->cobrados.begin(), t->cobrados.end(), nu) != t->cobrados.end();
            const int estatus = v("estatus").entero();
            if (pagado ? estatus != 2 : (estatus != 0 && estatus != 1))
                fallo(QStringLiteral("row %1: status %2").arg(numero).arg(estatus));
        }
        for (auto &t : taquillas)
            for (const auto &[numero, nu] : t->registradas)
                if (!vistas[t->usuario].count(numero))
                    fallo(
                        QStringLiteral("%1's ticket %2 (row %3) is missing").arg(t->usuario, nu).arg(numero));
        const Resultado dobles =
            db->ejecutar(QStringLiteral("SELECT nu_boleto, COUNT(*) AS n FROM ma_principal WHERE "
                                        "nu_boleto<>'' GROUP BY nu_boleto HAVING n>1"));
        for (int i = 0; i < dobles.filas(); ++i)
            fallo(QStringLiteral("code %1 on %2 rows")
                      .arg(dobles.valor(i, QStringLiteral("nu_boleto")).texto(),
                           dobles.valor(i, QStringLiteral("n")).texto()));
        const Resultado cupos = db->ejecutar(
            QStringLiteral(
                "SELECT grupo,id_juego,caballo,SUM(tablas) AS t,SUM(monto) AS m FROM ma_principal WHERE "
                "fecha='%1' AND carrera=%2 AND id_moneda=1 AND grupo IN ('G01','G02') GROUP BY "
                "grupo,id_juego,caballo")
                .arg(dia, carrera));
        double masCerca = 0;
        for (int i = 0; i < cupos.filas(); ++i) {
            const bool puestos = cupos.valor(i, QStringLiteral("id_juego")).entero() == 3;
            const double vendido =
                cupos.valor(i, puestos ? QStringLiteral("m") : QStringLiteral("t")).numero();
            const double limite = puestos ? kLimitePuestos : kLimiteTablas;
            masCerca = std::max(masCerca, vendido / limite);
            if (vendido > limite)
                fallo(QStringLiteral("group %1, game %2, horse %3: %4 sold over the limit %5")
                          .arg(cupos.valor(i, QStringLiteral("grupo")).texto(),
                               cupos.valor(i, QStringLiteral("id_juego")).texto(),
                               cupos.valor(i, QStringLiteral("caballo")).texto())
                          .arg(vendido)
                          .arg(limite));
        }
        if (pagos + pagosFallidos != (long long)(taquillas.size()) * kPagosPorTaquilla || pagosFallidos > 0)
            fallo(QStringLiteral("%1 of %2 payments failed")
                      .arg(pagosFallidos)
                      .arg(taquillas.size() * kPagosPorTaquilla));

        std::printf(
            "%d booths x %d sales: %lld recorded, %lld refused (limits), %lld failed, %lld pending, "
            "%lld payments, in %.2f s; latency median %.1f ms, p90 %.1f ms, worst %.1f ms; the fullest "
            "horse at %.0f %% of its limit\n",
            nTaquillas, nVentas, vendidas, rechazadas, fallidas, pendientes, pagos, segundos,
            percentil(todos, 0.5), percentil(todos, 0.9), percentil(todos, 1.0), 100 * masCerca);
        for (const char *j : kJuegosOperador)
            std::printf("  %s: not-built\n", j);
        std::printf("load_sales_per_s=%.0f\n", double(vendidas + rechazadas) / segundos);
        std::printf("load_p99_ms=%.1f\n", percentil(todos, 0.99));
        std::printf("load_lost=%lld\n", perdidas + fallidas + pendientes);
        return perdidas + fallidas + pendientes == 0 ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench-carga: %s\n", e.what());
        return 1;
    }
}
