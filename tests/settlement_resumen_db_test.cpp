// The day summary and the sales and payments lists on the private server, after a day of real
// sales, results, payments and a cancellation: every figure equals the one computed here from the
// rows, today and once the day is archived; one race and every race; ties only in Los Puestos;
// Los Puestos in one currency, Tablas in both; another booth's tickets never counted or listed.
#include "backoffice.h"
#include "cobro.h"
#include "entorno_falso.h"
#include "resumen_dia.h"
#include "servidor_prueba.h"
#include "texto.h"
#include "venta_puestos.h"
#include "venta_tablas.h"
#include "ventas_pagos.h"

#include <gtest/gtest.h>

#include <set>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

const QDate kHoy(2026, 3, 25);

struct Fila {
    int numero = 0, carrera = 0, caballo = 0, estatus = 0, juego = 0, moneda = 0;
    double monto = 0, cobrado = 0;
    QString taquilla, fecha;
};

std::vector<Fila> filas(BaseDatos &db, const QString &tabla) {
    const Resultado r = db.ejecutar("SELECT * FROM " + tabla + " ORDER BY numero");
    std::vector<Fila> v;
    for (int i = 0; i < r.filas(); ++i)
        v.push_back({r.valor(i, "numero").entero(), r.valor(i, "carrera").entero(),
                     r.valor(i, "caballo").entero(), r.valor(i, "estatus").entero(),
                     r.valor(i, "id_juego").entero(), r.valor(i, "id_moneda").entero(),
                     r.valor(i, "monto").numero(), r.valor(i, "cobrado").numero(),
                     r.valor(i, "taquilla").texto(), r.valor(i, "fecha").texto().left(10)});
    return v;
}

// What a summary must show, summed here from the rows.
struct Esperado {
    int juego = 1;
    int moneda = 0;  // 0: both currencies
    int carrera = 0; // 0: every race
    std::set<int> pagados{2, 3}, porPagar{1, 4};
};

CifrasResumen sumar(const std::vector<Fila> &boletos, const std::vector<Fila> &anulados, const Esperado &e) {
    CifrasResumen c;
    auto cuenta = [&](const Fila &f) {
        return f.taquilla == "taq1" && f.fecha == fechaSql(kHoy) && f.juego == e.juego &&
               (e.moneda == 0 || f.moneda == e.moneda) && (e.carrera == 0 || f.carrera == e.carrera);
    };
    for (const Fila &f : boletos) {
        if (!cuenta(f))
            continue;
        c.venta += f.monto;
        ++c.vendidos;
        if (e.pagados.count(f.estatus)) {
            c.premios += f.cobrado;
            ++c.pagados;
        }
        if (e.porPagar.count(f.estatus)) {
            c.porPagar += f.cobrado;
            ++c.porPagarCantidad;
        }
    }
    for (const Fila &f : anulados)
        if (cuenta(f) && f.estatus == 5)
            ++c.anulados;
    return c;
}

class ResumenReal : public ::testing::Test {
protected:
    static inline QString *cadena = nullptr;
    static inline int carreraA = 0, carreraB = 0;
    static inline int ganador = 0, retirado = 0, empate = 0, perdedor = 0;
    static inline QStringList pagar; // codes paid by the booth

    FabricaMariaDb fabrica;
    DialogosGrabados dialogos;
    RelojFijo reloj;
    MaquinaFalsa maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    std::unique_ptr<BaseDatos> db;

    static void configurar(BaseDatos &db, const QStringList &a) { backoffice::fijarConfiguracion(db, a); }

    static void SetUpTestSuite() {
        cadena = new QString(crearBaseCentral("t_day_summary"));
        auto db = conectar(*cadena);
        backoffice::sembrarDemo(*db, kHoy);
        configurar(*db, {"dolar_activado=1", "cupo_td_opcion=0", "cupo_tf_opcion=0", "opcioncupopt=0",
                         "min_vbs=0", "modificar=1", "venta_pt=1", "dias=3", "cobroespecial=1"});
        carreraA = db->ejecutar("SELECT carrera FROM configuracion").valor(0, "carrera").entero();
        carreraB = carreraA > 1 ? carreraA - 1 : carreraA + 1;
        // Four horses open for every game and currency in both races.
        const QStringList cerrados{"retirado",    "retirado2",    "retirado_tf", "retirado_tf2",
                                   "retirado_pt", "retirado_pt2", "estado",      "estado_td2",
                                   "estado_tf",   "estado_tf2",   "estado_pt",   "estado_pt2"};
        std::vector<int> libres;
        for (int n = 1; n <= 8; ++n) {
            bool libre = true;
            for (int carrera : {carreraA, carreraB}) {
                const Resultado r =
                    db->ejecutar("SELECT * FROM carreras where  carrera ='" + QString::number(carrera) +
                                 "' and fecha  = '" + fechaSql(kHoy) + "'");
                if (r.filas() < n || r.valor(n - 1, "caballo").texto().isEmpty())
                    libre = false;
                for (const QString &c : cerrados)
                    if (r.filas() >= n && r.valor(n - 1, c).entero() == 1)
                        libre = false;
            }
            if (libre)
                libres.push_back(n);
        }
        ASSERT_GE(libres.size(), 4u);
        ganador = libres[0];
        retirado = libres[1];
        empate = libres[2];
        perdedor = libres[3];

        FabricaMariaDb f;
        DialogosAutomaticos d;
        RelojFijo r;
        MaquinaNula m;
        Contexto venta(f, d, r, m);
        venta.conexion_central = conectar(*cadena);
        venta.sesion.grupo = "G01";
        CupoCaballo cupo{};
        auto vender = [&](const QString &taquilla, int carrera, int juego, int moneda, int caballo,
                          const QString &monto) {
            configurar(*db, {"carrera=" + QString::number(carrera)});
            venta.abrir_configuracion();
            venta.sesion.usuario = taquilla;
            venta.sesion.id_moneda = moneda;
            const DatosJugada dj{QString::number(carrera), QString::number(caballo), monto, juego,
                                 moneda == 1 ? "BS" : "$"};
            const ResultadoVenta rv = juego == 3 ? VentaPuestos(venta, cupo, nullptr).procesar(dj)
                                                 : VentaTablas(venta, cupo, nullptr).procesar(dj);
            EXPECT_EQ(rv.tipo, ResultadoVenta::Tipo::Registrada) << rv.mensaje.toStdString();
            return rv.boleto ? rv.boleto->nu_boleto : QString();
        };
        const QString td1 = vender("taq1", carreraA, 1, 1, ganador, "2");
        const QString td2 = vender("taq1", carreraA, 1, 1, retirado, "1");
        const QString td3 = vender("taq1", carreraA, 1, 1, empate, "1");
        vender("taq1", carreraA, 1, 2, ganador, "1");
        const QString tf1 = vender("taq1", carreraA, 2, 1, ganador, "1");
        vender("taq1", carreraA, 2, 1, perdedor, "3");
        vender("taq1", carreraA, 3, 1, ganador, "20");
        const QString pt2 = vender("taq1", carreraA, 3, 1, empate, "30");
        vender("taq1", carreraA, 3, 1, empate, "40");
        const QString pt3 = vender("taq1", carreraA, 3, 1, retirado, "10");
        vender("taq1", carreraA, 3, 1, retirado, "15");
        vender("taq1", carreraA, 3, 2, ganador, "5");
        vender("taq1", carreraA, 3, 1, perdedor, "10");
        vender("taq1", carreraB, 1, 1, ganador, "1");
        vender("taq1", carreraB, 3, 1, ganador, "10");
        // Another booth of the same group.
        vender("taq3", carreraA, 1, 1, ganador, "4");
        vender("taq3", carreraA, 3, 1, empate, "50");
        configurar(*db, {"carrera=" + QString::number(carreraA)});

        backoffice::Resultados res;
        res.fecha = kHoy;
        res.carrera = carreraA;
        res.ganadores = {ganador};
        res.retirados = {retirado};
        res.empates = {empate};
        backoffice::cargarResultados(*db, res);

        venta.sesion.usuario = "taq1";
        venta.sesion.id_moneda = 1;
        Cobro cobro(venta, nullptr);
        for (const auto &[nu, ruta] : {std::pair{td1, RutaCobro::Tablas}, std::pair{td2, RutaCobro::Tablas},
                                       std::pair{tf1, RutaCobro::Tablas}, std::pair{pt2, RutaCobro::Puestos},
                                       std::pair{pt3, RutaCobro::Puestos}}) {
            ASSERT_TRUE(cobro.consultar(nu, ruta).pagable) << nu.toStdString();
            ASSERT_TRUE(cobro.pagar(nu, ruta).hecho) << nu.toStdString();
        }
        backoffice::anularBoleto(*db, {td3, "ERROR DEL TAQUILLERO", "ANULACION", "super1"});
    }

    void SetUp() override {
        db = conectar(*cadena);
        ctx.conexion_central = conectar(*cadena);
        ctx.sesion.usuario = "taq1";
        ctx.sesion.grupo = "G01";
        ctx.sesion.id_moneda = 1;
    }

    ResultadoResumen resumir(PantallaVenta pantalla, BusquedaResumen b, int juego, const QString &carrera) {
        return resumirDia(ctx, {pantalla, b, juego, kHoy, carrera, "taq1", ctx.sesion.id_moneda, "BS"});
    }

    // Every summary of the day against the rows of `tabla`.
    void comprobarDia(const QString &tabla) {
        const std::vector<Fila> boletos = filas(*db, tabla), anulados = filas(*db, "bitacora");
        struct Caso {
            const char *nombre;
            PantallaVenta pantalla;
            BusquedaResumen busqueda;
            int moneda;
            Esperado e;
            QString carrera;
        };
        const QString a = QString::number(carreraA), b = QString::number(carreraB);
        const Caso casos[] = {
            {"Tablas Dinamicas, every race, both currencies",
             PantallaVenta::Taquilla,
             BusquedaResumen::Tablas,
             1,
             {1, 0, 0},
             "TODAS"},
            {"Tablas Dinamicas, one race",
             PantallaVenta::Taquilla,
             BusquedaResumen::Tablas,
             2,
             {1, 0, carreraA},
             a},
            {"Tablas Dinamicas, the other race",
             PantallaVenta::Taquilla,
             BusquedaResumen::Tablas,
             1,
             {1, 0, carreraB},
             b},
            {"Tabla Fija, empty race box",
             PantallaVenta::Taquilla,
             BusquedaResumen::Tablas,
             1,
             {2, 0, 0},
             ""},
            {"Los Puestos BS: ties still to pay",
             PantallaVenta::Taquilla,
             BusquedaResumen::Puestos,
             1,
             {3, 1, 0, {2, 3}, {1, 4, 5}},
             "TODAS"},
            {"Los Puestos $",
             PantallaVenta::Taquilla,
             BusquedaResumen::Puestos,
             2,
             {3, 2, 0, {2, 3}, {1, 4, 5}},
             ""},
            {"Los Puestos BS, one race",
             PantallaVenta::Taquilla,
             BusquedaResumen::Puestos,
             1,
             {3, 1, carreraA, {2, 3}, {1, 4, 5}},
             a},
            {"operator's Los Puestos",
             PantallaVenta::Operador,
             BusquedaResumen::Puestos,
             1,
             {3, 1, 0, {2, 4}, {1, 3, 6}},
             ""},
        };
        for (const Caso &c : casos) {
            SCOPED_TRACE(c.nombre);
            ctx.sesion.id_moneda = c.moneda;
            const ResultadoResumen r = resumir(c.pantalla, c.busqueda, c.e.juego, c.carrera);
            ASSERT_EQ(r.tipo, ResultadoResumen::Tipo::Cifras);
            const CifrasResumen x = sumar(boletos, anulados, c.e);
            EXPECT_GT(x.vendidos, 0);
            EXPECT_DOUBLE_EQ(r.cifras.venta, x.venta);
            EXPECT_DOUBLE_EQ(r.cifras.premios, x.premios);
            EXPECT_DOUBLE_EQ(r.cifras.porPagar, x.porPagar);
            EXPECT_EQ(r.cifras.vendidos, x.vendidos);
            EXPECT_EQ(r.cifras.pagados, x.pagados);
            EXPECT_EQ(r.cifras.porPagarCantidad, x.porPagarCantidad);
            EXPECT_EQ(r.cifras.anulados, x.anulados);
        }
        ctx.sesion.id_moneda = 1;
    }
};

} // namespace

TEST_F(ResumenReal, ListsHoldTheBoothsTicketsOfTheGameAndCurrency) {
    const std::vector<Fila> boletos = filas(*db, "ma_principal");
    struct Caso {
        TipoLista tipo;
        int juego, moneda;
        std::set<int> estatus; // empty: every status
    };
    const Caso casos[] = {
        {TipoLista::Ventas, 1, 1, {}},    {TipoLista::Ventas, 2, 1, {}},    {TipoLista::Ventas, 3, 1, {}},
        {TipoLista::Ventas, 3, 2, {}},    {TipoLista::Pagos, 1, 1, {2, 3}}, {TipoLista::Pagos, 2, 1, {2, 3}},
        {TipoLista::Pagos, 3, 1, {2, 4}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 game %2 currency %3")
                         .arg(c.tipo == TipoLista::Ventas ? "sales" : "payments")
                         .arg(c.juego)
                         .arg(c.moneda)
                         .toStdString());
        ctx.sesion.id_moneda = c.moneda;
        const std::optional<ListaBoletos> l = listarBoletos(ctx, c.tipo, PantallaVenta::Taquilla, c.juego);
        ASSERT_TRUE(l);
        ASSERT_TRUE(l->mensaje.isEmpty());
        QStringList esperado, vistos;
        for (auto it = boletos.rbegin(); it != boletos.rend(); ++it)
            if (it->taquilla == "taq1" && it->juego == c.juego && it->moneda == c.moneda &&
                (c.estatus.empty() || c.estatus.count(it->estatus)))
                esperado << QStringLiteral("%1/%2/%3").arg(it->carrera).arg(it->caballo).arg(it->monto);
        for (int i = 0; i < l->filas.filas(); ++i)
            vistos << QStringLiteral("%1/%2/%3")
                          .arg(l->filas.valor(i, "carrera").entero())
                          .arg(l->filas.valor(i, "caballo").entero())
                          .arg(l->filas.valor(i, "monto").numero());
        EXPECT_FALSE(esperado.isEmpty());
        EXPECT_EQ(vistos, esperado);
    }
    // The refund paid (3) is in the Tablas payments, and not in Los Puestos', where the unpaid
    // refund (4) is.
    ctx.sesion.id_moneda = 1;
    const ListaBoletos pagosPt = *listarBoletos(ctx, TipoLista::Pagos, PantallaVenta::Taquilla, 3);
    std::multiset<int> estatus;
    for (int i = 0; i < pagosPt.filas.filas(); ++i)
        estatus.insert(pagosPt.filas.valor(i, "estatus").entero());
    EXPECT_EQ(estatus, (std::multiset<int>{2, 4}));
    const ListaBoletos pagosTd = *listarBoletos(ctx, TipoLista::Pagos, PantallaVenta::Taquilla, 1);
    EXPECT_EQ(pagosTd.filas.filas(), 2);
}

// Last: it closes the day.
TEST_F(ResumenReal, TodayAndTheArchivedDayEqualTheRows) {
    // The fixture's own counts: four Tablas Dinámicas tickets left (one cancelled), a refund paid
    // (3) and a tie paid and one owed in Los Puestos.
    ResultadoResumen td = resumir(PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1, "");
    EXPECT_EQ(td.cifras.vendidos, 4);
    EXPECT_EQ(td.cifras.pagados, 2);
    EXPECT_EQ(td.cifras.porPagarCantidad, 1); // the winner in $
    EXPECT_EQ(td.cifras.anulados, 1);
    EXPECT_EQ(td.carreraMayor, 12);
    EXPECT_EQ(td.carreraMenor, 1);
    const ResultadoResumen pt = resumir(PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3, "");
    EXPECT_EQ(pt.cifras.vendidos, 7);
    EXPECT_EQ(pt.cifras.pagados, 2);
    EXPECT_EQ(pt.cifras.porPagarCantidad, 3); // a winner, a withdrawn horse, a tie
    EXPECT_EQ(pt.cifras.anulados, 0);
    comprobarDia("ma_principal");

    backoffice::archivarDia(*db, kHoy);
    configurar(*db, {"fecha=" + fechaSql(kHoy.addDays(1))});
    EXPECT_TRUE(filas(*db, "ma_principal").empty());
    comprobarDia("ventas");
    td = resumir(PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1, "");
    EXPECT_EQ(td.cifras.vendidos, 4);
    EXPECT_EQ(td.cifras.anulados, 1);

    // The new working day has nothing yet: zero, not an earlier figure.
    const ResultadoResumen nuevo = resumirDia(
        ctx, {PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1, kHoy.addDays(1), "", "taq1", 1, "BS"});
    ASSERT_EQ(nuevo.tipo, ResultadoResumen::Tipo::Cifras);
    EXPECT_EQ(QStringList(nuevo.textos.begin(), nuevo.textos.end()),
              QStringList({"Bs.S0,00", "Bs.S0,00", "Bs.S0,00", "Bs.S0,00", "Bs.S0,00", "0", "0", "0", "0"}));
    EXPECT_EQ(nuevo.carreraMayor, 0);

    // The lists read today's table only: the archived day lists nothing, its headers kept.
    const std::optional<ListaBoletos> l = listarBoletos(ctx, TipoLista::Ventas, PantallaVenta::Taquilla, 1);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->filas.filas(), 0);
    EXPECT_EQ(l->filas.columnas(), QStringList({"carrera", "caballo", "tablas", "monto", "fecha", "grupo"}));
    configurar(*db, {"fecha=" + fechaSql(kHoy)});
}
