// corvalo-bench-reportes --server CONN: how long each report screen takes to fill its local
// table over a big day (100,000 tickets of today in ma_principal) and a long archive (2 million
// tickets in ventas), on the working date and on an archived date. Prints one line per report,
// report_<name>_ms=N (the slower of the two dates, median of five runs).
#include "backoffice.h"
#include "bd_local.h"
#include "procesos.h"
#include "texto.h"
#include "volumen.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

using namespace corvalo;

namespace {

QString conBase(QString servidor, const QString &base) {
    if (!servidor.endsWith(QLatin1Char(';')))
        servidor += QLatin1Char(';');
    return servidor + QStringLiteral("database=") + base + QLatin1Char(';');
}

// A connection that waits for the long fills.
std::unique_ptr<BaseDatos> conectar(const QString &cadena) {
    auto p = parsearCadena(cadena);
    if (!p)
        throw DbError(QStringLiteral("malformed connection string"));
    p->readTimeout = 900;
    p->writeTimeout = 900;
    return abrirMariaDb(*p);
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
        std::fprintf(stderr, "usage: corvalo-bench-reportes --server CONN\n");
        return 2;
    }
    try {
        const QDate w(2026, 3, 14);
        const QString central = conBase(servidor, QStringLiteral("corvalo_bench_reportes"));
        backoffice::abrirCentral(central, true); // creates the database
        auto db = conectar(central);
        backoffice::crearEsquema(*db, true);
        backoffice::sembrarDemo(*db, w);
        std::fprintf(stderr, "filling 100,000 tickets of today and 2,000,000 archived...\n");
        bench::llenarVolumen(*db, w);
        // The closed days' totals, one row per date and group, and a log of cancellations.
        db->ejecutar(QStringLiteral(
            "INSERT INTO ventas_general (fecha,grupo,id_juego,id_moneda,venta,premios,saldo,monto_porpagar) "
            "SELECT fecha,grupo,0,1,SUM(monto),SUM(IF(estatus IN (2,3),cobrado,0)),"
            "SUM(monto)-SUM(IF(estatus IN (2,3),cobrado,0)),SUM(IF(estatus IN (1,4,5),cobrado,0)) FROM "
            "ventas "
            "WHERE id_moneda=1 GROUP BY fecha,grupo"));
        db->ejecutar(QStringLiteral(
            "INSERT INTO bitacora "
            "(numero,carrera,caballo,taquilla,grupo,hora,fecha,estatus,nu_boleto,motivo,usuario,"
            "tipo_motivo,monto,tablas,id_juego,id_moneda) SELECT "
            "numero,carrera,caballo,taquilla,grupo,hora,fecha,5,"
            "nu_boleto,'ANULADO EN TAQUILLA','super1','ANULACION',monto,tablas,id_juego,id_moneda FROM "
            "ventas "
            "WHERE numero % 50 = 0"));
        db->ejecutar(QStringLiteral("ANALYZE TABLE ventas_general, bitacora"));

        auto servidorLocal = backoffice::abrirCentral(servidor);
        servidorLocal->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS corvalo_bench_reportes_local"));
        servidorLocal->ejecutar(
            QStringLiteral("CREATE DATABASE corvalo_bench_reportes_local DEFAULT CHARACTER SET latin1"));
        const QString local = conBase(servidor, QStringLiteral("corvalo_bench_reportes_local"));
        {
            auto l = backoffice::abrirCentral(local);
            const QStringList crear = sentenciasCrearBdLocal(true, QStringLiteral("127.0.0.1"));
            for (int i = 1; i < crear.size(); ++i)
                l->ejecutar(crear[i]);
        }

        FabricaMariaDb fabrica;
        DialogosAutomaticos dialogos;
        RelojSistema reloj;
        MaquinaNula maquina;
        Contexto ctx(fabrica, dialogos, reloj, maquina);
        ctx.cadenaLocal = local;
        ctx.sesion.cadena_central = central;
        ctx.abrir_central(central);
        ctx.abrir_local();
        ctx.sesion.usuario = QStringLiteral("super1");
        ctx.sesion.nivel = QStringLiteral("Supervisor");
        ctx.sesion.grupo = QStringLiteral("G01");
        ctx.sesion.ch = QStringLiteral("CENTRO HIPICO EL TRIUNFO");
        ctx.sesion.id_moneda = 1;
        ctx.abrir_grupos();
        ctx.abrir_juegos();
        ctx.abrir_monedas();

        using Proceso = std::function<ResultadoProceso(const FiltroReporte &)>;
        struct Medida {
            const char *nombre;
            Proceso proceso;
            FiltroReporte hoy, archivo;
        };
        // An archived day with sales of the group in the first currency (the big day's archive gives
        // each day its own booths and currencies).
        const QDate ayer = w.addDays(-2);
        const std::vector<Medida> medidas = {
            {"diario",
             [&](const FiltroReporte &f) { return procesarVentas(ctx, f); },
             {w.addDays(-30), w, {}, {}},
             {w.addDays(-60), ayer, {}, {}}},
            {"resultados_taq",
             [&](const FiltroReporte &f) { return procesarCuadreTaquillas(ctx, f); },
             {w, w, {}, {}},
             {ayer, ayer, {}, {}}},
            {"resultados_carreras",
             [&](const FiltroReporte &f) { return procesarResultadosCarreras(ctx, f); },
             {w, w, {}, {}},
             {ayer, ayer, {}, {}}},
            {"bitacora",
             [&](const FiltroReporte &f) { return procesarBitacora(ctx, f); },
             {w.addDays(-30), w, {}, {}},
             {w.addDays(-31), ayer, {}, {}}},
        };
        for (const Medida &m : medidas) {
            double peor = 0;
            for (const FiltroReporte *f : {&m.hoy, &m.archivo}) {
                std::vector<double> veces;
                int filas = 0;
                for (int i = 0; i < 5; ++i) {
                    QElapsedTimer t;
                    t.start();
                    const ResultadoProceso r = m.proceso(*f);
                    veces.push_back(double(t.nsecsElapsed()) / 1e6);
                    if (r.fallo)
                        throw DbError(QStringLiteral("%1 failed").arg(QLatin1String(m.nombre)));
                    filas = r.filas;
                }
                const double ms = mediana(veces);
                std::fprintf(stderr, "%s %s..%s: %d rows, %.1f ms\n", m.nombre,
                             qPrintable(fechaSql(f->desde)), qPrintable(fechaSql(f->hasta)), filas, ms);
                peor = std::max(peor, ms);
            }
            std::printf("report_%s_ms=%.0f\n", m.nombre, peor);
            if (std::string_view(m.nombre) == "bitacora") {
                // A whole year of the log: its cost follows the entries copied, not the tickets.
                std::vector<double> veces;
                int filas = 0;
                for (int i = 0; i < 3; ++i) {
                    QElapsedTimer t;
                    t.start();
                    filas = procesarBitacora(ctx, {w.addDays(-365), w, {}, {}}).filas;
                    veces.push_back(double(t.nsecsElapsed()) / 1e6);
                }
                std::fprintf(stderr, "bitacora, a year: %d rows, %.1f ms\n", filas, mediana(veces));
            }
            std::fflush(stdout);
        }
        db->ejecutar(QStringLiteral("DROP DATABASE corvalo_bench_reportes"));
        servidorLocal->ejecutar(QStringLiteral("DROP DATABASE corvalo_bench_reportes_local"));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench-reportes: %s\n", e.what());
        return 1;
    }
    return 0;
}
