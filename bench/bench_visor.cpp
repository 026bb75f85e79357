// Display benchmark: what one refresh of a public board costs the program itself, apart from the
// server. The boards run full size (1920x1080, offscreen) on the demo day with two years of race
// cards behind it; the prices change between refreshes, so every refresh writes new text, lays
// the board out and paints it. The figure is the thread's own CPU time of a refresh (the three
// statements' decoding, the logic, the widgets and the painting); the server's work and the
// waiting for it are not in it. The last line is display_refresh_ms=T, the slower board's median.
#include "backoffice.h"
#include "contexto.h"
#include "db.h"
#include "form_visor.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <vector>

using namespace corvalo;

namespace {

class FabricaUna : public FabricaConexiones {
public:
    explicit FabricaUna(QString cadena) : cadena_(std::move(cadena)) {}
    std::unique_ptr<BaseDatos> abrir(const QString &) override { return conectar(cadena_); }
    static std::unique_ptr<BaseDatos> conectar(const QString &cadena) {
        auto p = parsearCadena(cadena);
        if (!p)
            throw std::runtime_error("bad connection string");
        p->readTimeout = 600;
        p->writeTimeout = 600;
        return abrirMariaDb(*p);
    }

private:
    QString cadena_;
};

// CPU time of this thread: what the program itself spends, whatever the server and the machine do.
double cpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Medida {
    double cpu_ms = 0, logica_ms = 0, pared_ms = 0;
};

// `veces` refreshes of the board, each after the back-office moved the prices: the median of the
// whole refresh (statements, logic, widgets, layout and paint) and of the logic alone.
Medida medir(Contexto &ctx, BaseDatos &oficina, Form_Visor &f, int veces) {
    std::vector<double> cpu, logica, pared;
    TableroVisor solo(f.tipo());
    for (int i = 0; i < veces; ++i) {
        oficina.ejecutar(
            QStringLiteral("UPDATE carreras SET valor_td=valor_td+%1, valor_tf=valor_tf-%1, "
                           "valor_td2=valor_td2+%1, valor_tf2=valor_tf2-%1 WHERE fecha='%2' AND carrera=4")
                .arg(i % 2 == 0 ? 10 : -10)
                .arg(QDate::currentDate().toString(Qt::ISODate)));
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        double c = cpuNs();
        f.Cuadrar();
        // What the refresh posted: the layout and the painting of the changed cells.
        QApplication::processEvents();
        cpu.push_back((cpuNs() - c) / 1e6);
        pared.push_back(double(t.nsecsElapsed()) / 1e6);
        c = cpuNs();
        (void)cuadrarTablero(ctx, solo);
        logica.push_back((cpuNs() - c) / 1e6);
    }
    return {mediana(cpu), mediana(logica), mediana(pared)};
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString servidor;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--server"))
            servidor = args[i + 1];
    if (servidor.isEmpty()) {
        std::fprintf(stderr, "usage: corvalo-bench-visor --server CONN\n");
        return 2;
    }
    const int veces = qEnvironmentVariableIntValue("CORVALO_BENCH_REFRESHES") > 0
                          ? qEnvironmentVariableIntValue("CORVALO_BENCH_REFRESHES")
                          : 201;
    try {
        if (!servidor.endsWith(QLatin1Char(';')))
            servidor += QLatin1Char(';');
        {
            auto s = FabricaUna::conectar(servidor);
            s->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS corvalo_bench_visor"));
            s->ejecutar(QStringLiteral("CREATE DATABASE corvalo_bench_visor DEFAULT CHARACTER SET latin1"));
        }
        const QString cadena = servidor + QStringLiteral("database=corvalo_bench_visor;");
        auto oficina = FabricaUna::conectar(cadena);
        backoffice::crearEsquema(*oficina, false);
        const QDate hoy = QDate::currentDate();
        backoffice::sembrarDemo(*oficina, hoy);
        // Race 4: 14 horses, one withdrawn; open, both totals summed from the board.
        backoffice::fijarConfiguracion(*oficina,
                                       {QStringLiteral("carrera=4"), QStringLiteral("modificar=1"),
                                        QStringLiteral("pantalla_td=1"), QStringLiteral("pantalla_tf=1")});
        // Two years of earlier race cards in the same table.
        oficina->ejecutar(
            QStringLiteral(
                "INSERT INTO carreras (fecha, carrera, nu_caballo, caballo, jinete, valor_td, valor_td2, "
                "valor_tf, valor_tf2, puesto, puesto2) SELECT DATE_SUB('%1', INTERVAL 1+seq DIV 168 DAY), "
                "1+(seq DIV 14)%12, 1+seq%14, CONCAT('CABALLO ', seq), 'J. ORTIZ', 10*(5+seq%56), "
                "1+seq%30, 10*(5+seq%50), 1+seq%25, 0.1*(1+seq%9), -1.0-CAST(seq%5 AS SIGNED) FROM "
                "seq_0_to_122639")
                .arg(hoy.toString(Qt::ISODate)));
        oficina->ejecutar(QStringLiteral("ANALYZE TABLE carreras"));

        FabricaUna fabrica(cadena);
        DialogosAutomaticos dialogos;
        RelojSistema reloj;
        MaquinaNula maquina;
        Contexto ctx(fabrica, dialogos, reloj, maquina);
        ctx.conexion_central = FabricaUna::conectar(cadena);
        ctx.sesion.usuario = QStringLiteral("visor1");
        ctx.sesion.grupo = QStringLiteral("G01");
        ctx.sesion.cadena_central = cadena;
        ctx.sesion.id_moneda = 1;
        ctx.sesion.mostrar_tf = 1;
        ctx.sesion.mostrar_pt = 1;
        ctx.abrir_configuracion();

        AzarSistema azar;
        double peor = 0;
        for (const bool triple : {true, false}) {
            std::unique_ptr<Form_Visor> f;
            if (triple)
                f = std::make_unique<Form_Pantalla_Triple>(ctx, azar);
            else
                f = std::make_unique<Form_PantDoble>(ctx, azar);
            f->setAttribute(Qt::WA_DeleteOnClose, false);
            f->resize(1920, 1080);
            f->show();
            QApplication::processEvents();
            for (QTimer *t : {f->Timer1, f->Timer2, f->Timer3, f->Timer_Activo})
                t->stop();                      // only the measured refreshes run
            (void)medir(ctx, *oficina, *f, 20); // warm-up
            const Medida m = medir(ctx, *oficina, *f, veces);
            std::printf(
                "%s board, race of 14 horses at 1920x1080: a refresh costs the program %.3f ms of CPU "
                "(the logic and its 3 statements %.3f ms, the board's update and paint %.3f ms); "
                "%.3f ms wall with the server\n",
                triple ? "triple" : "double", m.cpu_ms, m.logica_ms, m.cpu_ms - m.logica_ms, m.pared_ms);
            peor = std::max(peor, m.cpu_ms);
        }
        std::printf("display_refresh_ms=%.3f\n", peor);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "corvalo-bench-visor: %s\n", e.what());
        return 1;
    }
}
