// Console benchmark: the live panel's refresh and the ticket search on a big day (200,000
// tickets of today in ma_principal, 2,000,000 archived in ventas) on the private server. The
// refresh must stay under 100 ms and the search (with its copy into rpt_jugadas) under 1 s.
#include "backoffice.h"
#include "bd_local.h"
#include "boletos.h"
#include "cuadre.h"
#include "monitor.h"
#include "volumen.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
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

class SinFabrica : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &) override { throw DbError(QStringLiteral("not used")); }
};

// Median and worst of `veces` runs, in milliseconds, after two runs to warm up.
struct Tiempo {
    double mediana = 0, peor = 0;
};
Tiempo medir(int veces, const std::function<void()> &f) {
    for (int i = 0; i < 2; ++i)
        f();
    std::vector<double> ms;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
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
        std::fprintf(stderr, "usage: corvalo-bench-gerencia --server CONN\n");
        return 2;
    }
    try {
        if (!servidor.endsWith(QLatin1Char(';')))
            servidor += QLatin1Char(';');
        {
            auto s = conectar(servidor);
            for (const char *base : {"corvalo_bench_gerencia", "corvalo_bench_gerencia_local"}) {
                s->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(QLatin1String(base)));
                s->ejecutar(QStringLiteral("CREATE DATABASE %1 DEFAULT CHARACTER SET latin1")
                                .arg(QLatin1String(base)));
            }
        }
        const QString cadena = servidor + QStringLiteral("database=corvalo_bench_gerencia;");
        const QString cadenaLocal = servidor + QStringLiteral("database=corvalo_bench_gerencia_local;");
        auto db = conectar(cadena);
        backoffice::crearEsquema(*db, false);
        const QDate hoy = QDate::currentDate();
        backoffice::sembrarDemo(*db, hoy);
        backoffice::fijarConfiguracion(*db,
                                       {QStringLiteral("carrera=5"), QStringLiteral("dolar_activado=0")});
        conectar(cadenaLocal)->ejecutar(sentenciasCrearBdLocal(false, servidorLocalPredeterminado()).at(2));
        const bench::Volumen volumen{200000, 2000000};
        std::printf("filling the big day: %d tickets of today in ma_principal, %d archived in ventas ...\n",
                    volumen.hoy, volumen.archivo);
        std::fflush(stdout);
        QElapsedTimer llenado;
        llenado.start();
        bench::llenarVolumen(*db, hoy, volumen);
        std::printf("filled in %.0f s\n", llenado.elapsed() / 1000.0);

        SinFabrica fabrica;
        DialogosAutomaticos dialogos;
        RelojSistema reloj;
        MaquinaNula maquina;
        Contexto ctx(fabrica, dialogos, reloj, maquina);
        ctx.conexion_central = conectar(cadena);
        ctx.conexion_local = conectar(cadenaLocal);
        ctx.sesion.grupo = QStringLiteral("G01");
        ctx.abrir_juegos();

        // The refresh: all booths (with the chart's limits), one booth, and the race look-up.
        PedidoPanel p;
        p.juego = QStringLiteral("1");
        p.grupo = QStringLiteral("G01");
        p.captionMoneda = QStringLiteral("BS");
        p.taquilla = QStringLiteral("TODOS");
        int filas = 0;
        const Tiempo todas = medir(41, [&] { filas = int(actualizar_ventas(*db, p).filas.size()); });
        p.taquilla = QStringLiteral("taq1");
        const Tiempo una = medir(41, [&] { actualizar_ventas(*db, p); });
        p.tipo = PedidoPanel::Tipo::Consulta;
        p.carrera = QStringLiteral("7");
        p.fecha = hoy;
        const Tiempo consulta = medir(41, [&] { consultarCarrera(*db, p); });
        std::printf("refresh, all booths: %.1f ms median, %.1f ms worst (%d horses); one booth %.1f ms; race "
                    "look-up %.1f ms\n",
                    todas.mediana, todas.peor, filas, una.mediana, consulta.mediana);

        // The search with its copy: the whole day of a game (the longest list), one booth and a
        // race range, and an archived day.
        FiltroBoletos f;
        f.fecha = hoy;
        f.juego = QStringLiteral("TABLAS DINAMICAS");
        f.taquilla = f.caballo = f.tipo = QStringLiteral("TODOS");
        f.carreraInicial = QStringLiteral("TODAS");
        int boletos = 0;
        const Tiempo dia = medir(9, [&] {
            const BusquedaBoletos b = buscarBoletos(ctx, f);
            if (b.fallo || !b.copiaLocal)
                throw std::runtime_error("the search failed");
            boletos = b.filas.filas();
        });
        f.taquilla = QStringLiteral("taq1");
        f.carreraInicial = QStringLiteral("03");
        f.carreraFinal = QStringLiteral("08");
        const Tiempo filtrada = medir(9, [&] { buscarBoletos(ctx, f); });
        f.fecha = hoy.addDays(-31); // a day with the group's booths in the archive
        f.taquilla = QStringLiteral("TODOS");
        f.carreraInicial = QStringLiteral("TODAS");
        int archivados = 0;
        const Tiempo archivo = medir(9, [&] { archivados = buscarBoletos(ctx, f).filas.filas(); });
        std::printf(
            "search, a whole day of a game: %.1f ms median, %.1f ms worst (%d tickets copied); one booth "
            "and races 3 to 8: %.1f ms; an archived day: %.1f ms (%d tickets)\n",
            dia.mediana, dia.peor, boletos, filtrada.mediana, archivo.mediana, archivados);

        FiltroCuadre c;
        c.juego = QStringLiteral("TABLAS DINAMICAS");
        c.captionMoneda = QStringLiteral("BS");
        const Tiempo cuadre = medir(9, [&] { procesarCuadre(ctx, c); });
        const Tiempo totalDiaMs = medir(9, [&] { totalDia(ctx, 1, QStringLiteral("BS")); });
        std::printf("booth totals %.1f ms, day result %.1f ms\n", cuadre.mediana, totalDiaMs.mediana);

        std::printf("console_refresh_ms=%.1f\n", std::max(todas.mediana, una.mediana));
        std::printf("ticket_search_ms=%.1f\n", std::max({dia.mediana, filtrada.mediana, archivo.mediana}));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench-gerencia: %s\n", e.what());
        return 1;
    }
    return 0;
}
