// The console's statements and figures against the recording fake: the live panel, the race
// look-up, the chart's limits, the booth totals, the day result and the ticket search with its
// copy into rpt_jugadas.
#include "boletos.h"
#include "cuadre.h"
#include "entorno_falso.h"
#include "monitor.h"
#include "texto.h"

#include <gtest/gtest.h>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

Resultado ajustes(const QString &modificar = "1", const QString &cupoTd = "0", const QString &cupoPt = "0") {
    return fila({{"fecha", "2026-01-03"},
                 {"carrera", "5"},
                 {"modificar", modificar},
                 {"multimoneda", "1"},
                 {"dolar_activado", "1"},
                 {"cupo_td_opcion", cupoTd},
                 {"cupo_tf_opcion", "0"},
                 {"opcioncupopt", cupoPt}});
}

PedidoPanel pedido(const QString &taquilla, const QString &juego, int moneda = 1) {
    PedidoPanel p;
    p.taquilla = taquilla;
    p.juego = juego;
    p.moneda = moneda;
    p.grupo = "G01";
    p.captionMoneda = "BS";
    return p;
}

const QString kTarjeta =
    "SELECT caballo,nu_caballo,retirado,puesto FROM carreras  where carrera ='5' and fecha  = '2026-01-03'";

class PanelFalso : public ::testing::Test {
protected:
    EntornoFalso e;
    BdFalsa &db = *e.db;
    void SetUp() override {
        db.responder("select * from configuracion", ajustes());
        db.responder("SELECT caballo,nu_caballo,retirado,puesto FROM carreras",
                     tabla({"caballo", "nu_caballo", "retirado", "puesto"}, {{"ALFA", "1", "0", "45"},
                                                                             {"BETA", "2", "1", "0.3"},
                                                                             {"GAMA", "3", "0", "-1"},
                                                                             {"DELTA", "4", "0", "-2"}}));
        db.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                     tabla({"caballo", "venta", "tablasf"},
                           {{"1", "1500", "6"}, {"2", "250.5", "1"}, {"9", "999", "9"}}));
    }
};

} // namespace

TEST(Gerencia, EtiquetasDePuesto) {
    const std::pair<const char *, const char *> casos[] = {
        {"12", "1p2nini"}, {"22", "2p2nini"}, {"23", "2p3nini"}, {"33", "3p3nini"}, {"34", "3p4nini"},
        {"44", "4p4nini"}, {"45", "4p5nini"}, {"55", "5p5nini"}, {"-2", "2nini"},   {"-3", "3nini"},
        {"-4", "4nini"},   {"-5", "5nini"},   {"0.1", "10/1"},   {"0.5", "10/5"},   {"0.9", "10/9"},
        {"0,3", "10/3"},   {"-1", "-1"},      {"3", "3"},        {"0", "0"},        {"", ""}};
    for (const auto &[codigo, etiqueta] : casos)
        EXPECT_EQ(etiquetaPuestoConsola(codigo), etiqueta) << codigo;
}

TEST(Gerencia, ListasDeTaquillasYJuegos) {
    const Resultado usuarios = tabla({"usuario", "grupo", "nivel"}, {{"taq1", "G01", "Taquilla"},
                                                                     {"oper1", "G01", "Operador"},
                                                                     {"taq2", "G02", "Taquilla"},
                                                                     {"super1", "G01", "Supervisor"},
                                                                     {"visor", "G01", "taquilla"}});
    EXPECT_EQ(listaTaquillas(usuarios, "G01"), QStringList({"taq1", "super1", "TODOS"}));
    const Resultado juegos =
        tabla({"id_juego", "juego"}, {{"2", "TABLA FIJA"}, {"1", "TABLAS DINAMICAS"}, {"3", "LOS PUESTOS"}});
    EXPECT_EQ(listaJuegos(juegos, false), QStringList({"TABLA FIJA", "TABLAS DINAMICAS", "LOS PUESTOS"}));
    EXPECT_EQ(listaJuegos(juegos, true).last(), "TODOS");
    EXPECT_EQ(idJuego(juegos, "LOS PUESTOS"), "3");
    EXPECT_EQ(idJuego(juegos, "TODOS"), "");
    EXPECT_EQ(idJuego(juegos, "TABLA DINAMICAS"), "");
    EXPECT_EQ(juegoInicial(juegos), "TABLAS DINAMICAS");
    EXPECT_EQ(encabezadoTablas("3"), "PUESTO");
    EXPECT_EQ(encabezadoTablas("1"), "TABLAS");
    EXPECT_EQ(listaCarreras(true).mid(0, 3), QStringList({"TODAS", "01", "02"}));
    EXPECT_EQ(listaCarreras(false).size(), 33);
    EXPECT_EQ(listaCarreras(false)[16], "00");
    EXPECT_EQ(listaCarreras(false).last(), "216");
}

TEST_F(PanelFalso, RefrescoDeTodasLasTaquillas) {
    for (const QString &b : {QString(), QString("TODOS")}) {
        db.sentencias.clear();
        const PanelVentas p = actualizar_ventas(db, pedido(b, "1"));
        ASSERT_GE(db.sentencias.size(), 3);
        EXPECT_EQ(
            db.sentencias.mid(0, 3),
            QStringList({"select * from configuracion", kTarjeta,
                         "SELECT caballo,sum(monto) as venta,sum(tablas) as tablasf FROM ma_principal where "
                         "carrera ='5' and fecha  = '2026-01-03'  and grupo = 'G01' and id_juego = '1'  and "
                         "id_moneda  = '1'  group by caballo"}));
        // A sales row of a horse not on the card is neither shown nor counted.
        EXPECT_EQ(p.total, 1750.5);
        EXPECT_EQ(p.totalTexto, "Bs.S1.750,50");
        ASSERT_EQ(p.filas.size(), 4u);
        const QStringList esperado[] = {{"1", "ALFA", "6", "1500"},
                                        {"2", " R  E  T  I  R  A  D  O ", "1", "250.5"},
                                        {"3", "GAMA", "0", "0"},
                                        {"4", "DELTA", "0", "0"}};
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(
                QStringList({p.filas[i].numero, p.filas[i].caballo, p.filas[i].puesto, p.filas[i].monto}),
                esperado[i]);
        EXPECT_EQ(p.estado.carrera, "5");
        EXPECT_EQ(p.estado.estado, "");
        EXPECT_EQ(p.estado.color, (Color{64, 0, 0}));
    }
}

TEST_F(PanelFalso, RefrescoDeUnaTaquillaConComillas) {
    actualizar_ventas(db, pedido("ta'q", "2", 2));
    EXPECT_EQ(db.sentencias[2],
              "SELECT caballo,sum(monto) as venta,sum(tablas) as tablasf FROM ma_principal where "
              "carrera ='5' and fecha  = '2026-01-03' and grupo = 'G01' and taquilla='ta\\'q' and "
              "id_juego = '2'  and id_moneda  = '2' group by caballo");
    // One booth: the group's limits do not apply to its sales.
    EXPECT_EQ(db.sentencias.size(), 3);
}

TEST_F(PanelFalso, LosPuestosMuestraLasEtiquetasYElRotuloDolar) {
    PedidoPanel pp = pedido("", "3");
    pp.captionMoneda = "";
    const PanelVentas p = actualizar_ventas(db, pp);
    EXPECT_EQ(p.filas[0].puesto, "4p5nini");
    EXPECT_EQ(p.filas[1].puesto, "10/3");
    EXPECT_EQ(p.filas[2].puesto, "-1");
    EXPECT_EQ(p.filas[3].puesto, "2nini");
    EXPECT_EQ(p.totalTexto, "$1.750,50");
}

TEST_F(PanelFalso, SinVentasLosMontosQuedanEnBlancoYCerrada) {
    db.responder("select * from configuracion", ajustes("0"));
    db.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                 tabla({"caballo", "venta", "tablasf"}, {}));
    const PanelVentas p = actualizar_ventas(db, pedido("", ""));
    EXPECT_TRUE(p.sinVentas);
    for (const FilaPanel &f : p.filas) {
        EXPECT_EQ(f.monto, "");
        EXPECT_EQ(f.puesto, "0");
    }
    EXPECT_EQ(p.totalTexto, "Bs.S0,00");
    EXPECT_EQ(p.estado.estado, "CERRADO");
    EXPECT_EQ(p.estado.color, (Color{255, 0, 0}));
}

TEST_F(PanelFalso, UnaCarreraDeMasDeCatorceCaballosCuentaTodos) {
    std::vector<QStringList> tarjeta, ventas;
    for (int i = 1; i <= 16; ++i) {
        tarjeta.push_back({QString("C%1").arg(i), QString::number(i), "0", "0"});
        ventas.push_back({QString::number(i), "10", "1"});
    }
    db.responder("SELECT caballo,nu_caballo,retirado,puesto FROM carreras",
                 tabla({"caballo", "nu_caballo", "retirado", "puesto"}, tarjeta));
    db.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                 tabla({"caballo", "venta", "tablasf"}, ventas));
    const PanelVentas p = actualizar_ventas(db, pedido("", "1"));
    ASSERT_EQ(p.filas.size(), 16u);
    EXPECT_EQ(p.filas[15].caballo, "C16");
    EXPECT_EQ(p.total, 160);
}

TEST_F(PanelFalso, ConsultaDeUnaCarreraTecleada) {
    db.responder("SELECT caballo,nu_caballo FROM carreras",
                 tabla({"caballo", "nu_caballo"}, {{"UNO", "1"}, {"DOS", "2"}}));
    db.responder("SELECT caballo,sum(monto) as venta FROM", tabla({"caballo", "venta"}, {{"2", "300"}}));
    PedidoPanel pp;
    pp.tipo = PedidoPanel::Tipo::Consulta;
    pp.carrera = "7";
    pp.grupo = "G01";
    pp.fecha = QDate(2026, 1, 3);
    const PanelVentas p = consultarCarrera(db, pp);
    EXPECT_EQ(
        db.sentencias,
        QStringList({"SELECT caballo,nu_caballo FROM carreras  where carrera ='7' and fecha  = '2026-01-03'",
                     "SELECT caballo,sum(monto) as venta FROM ma_principal where carrera ='7' and fecha  = "
                     "'2026-01-03'  and grupo = 'G01' group by caballo"}));
    ASSERT_EQ(p.filas.size(), 2u);
    EXPECT_EQ(p.filas[0].caballo, "UNO");
    EXPECT_EQ(p.filas[0].monto, "0");
    EXPECT_EQ(p.filas[1].monto, "300");
    db.responder("SELECT caballo,sum(monto) as venta FROM", tabla({"caballo", "venta"}, {}));
    EXPECT_EQ(consultarCarrera(db, pp).filas[1].monto, "");
}

TEST_F(PanelFalso, LimitesDelGraficoPorLaTarjeta) {
    db.responder("SELECT nu_caballo,",
                 tabla({"nu_caballo", "limite", "precio"},
                       {{"1", "100", "300"}, {"2", "50", "80"}, {"3", "40", "25"}, {"4", "0", "10"}}));
    const PanelVentas p = actualizar_ventas(db, pedido("TODOS", "1"));
    EXPECT_EQ(db.sentencias.last(),
              "SELECT nu_caballo,apuesta_max_td as limite,valor_td as precio FROM carreras  where "
              "carrera ='5' and fecha  = '2026-01-03'");
    EXPECT_TRUE(p.conLimites);
    // Sold tablas value the limit at their own price (1500 / 6); unsold at the card's price.
    EXPECT_EQ(p.filas[0].limite, 25000);
    EXPECT_EQ(p.filas[1].limite, 50 * 250.5);
    EXPECT_EQ(p.filas[2].limite, 1000);
    EXPECT_EQ(p.filas[3].limite, 0);
    actualizar_ventas(db, pedido("", "2", 2));
    EXPECT_EQ(db.sentencias.last(),
              "SELECT nu_caballo,apuesta_max_tf2 as limite,valor_tf2 as precio FROM carreras  "
              "where carrera ='5' and fecha  = '2026-01-03'");
}

TEST_F(PanelFalso, LimitesDelGraficoPorElGrupo) {
    QStringList cols{"ch", "id_moneda"};
    QStringList vals{"G01", "1"};
    for (int i = 1; i <= 18; ++i) {
        cols << QString("cab%1").arg(i);
        vals << QString::number(i * 10);
    }
    db.responder("SELECT * FROM venta_cupo_", tabla(cols, {vals}));
    db.responder("SELECT nu_caballo,", tabla({"nu_caballo", "limite", "precio"}, {{"3", "99", "25"}}));
    db.responder("select * from configuracion", ajustes("1", "1", "1"));
    PanelVentas p = actualizar_ventas(db, pedido("", "1"));
    EXPECT_EQ(db.sentencias[3], "SELECT * FROM venta_cupo_td where  ch  = 'G01' and id_moneda='1'");
    EXPECT_EQ(p.filas[2].limite, 30 * 25); // the group's 30 tablas at the card's price
    p = actualizar_ventas(db, pedido("", "3"));
    EXPECT_EQ(db.sentencias.last(), "SELECT * FROM venta_cupo_pt where  ch  = 'G01' and id_moneda='1'");
    EXPECT_EQ(p.filas[3].limite, 40); // money, as the group's row has it
    // Los Puestos without the group's limits has no total per horse.
    db.responder("select * from configuracion", ajustes("1", "1", "0"));
    db.sentencias.clear();
    p = actualizar_ventas(db, pedido("", "3"));
    EXPECT_FALSE(p.conLimites);
    EXPECT_EQ(db.sentencias.size(), 3);
}

// The chart's limits are read last; a failure there leaves the panel's figures standing.
TEST_F(PanelFalso, UnaFallaDelGraficoNoTiraLasCifras) {
    for (const char *prefijo : {"SELECT nu_caballo,", "SELECT * FROM venta_cupo_"}) {
        db.responder("select * from configuracion", ajustes("1", "1", "1"));
        db.fallar(prefijo);
        const PanelVentas p = actualizar_ventas(db, pedido("", "1"));
        EXPECT_EQ(p.totalTexto, "Bs.S1.750,50") << prefijo;
        ASSERT_EQ(p.filas.size(), 4u);
        EXPECT_EQ(p.filas[0].monto, "1500");
        EXPECT_FALSE(p.conLimites);
        EXPECT_EQ(p.filas[0].limite, 0);
        EXPECT_FALSE(p.falloLimites.isEmpty());
    }
    // A failure in the figures themselves still ends the refresh.
    db.fallar("SELECT caballo,sum(monto)");
    EXPECT_THROW(actualizar_ventas(db, pedido("", "1")), DbError);
}

// Sums of doubles show to the cent on the panel, in both the refresh and the race look-up.
TEST_F(PanelFalso, LosMontosSinRuidoDeComaFlotante) {
    db.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                 tabla({"caballo", "venta", "tablasf"}, {{"1", "30.299999999999997", "3"}}));
    const PanelVentas refresco = actualizar_ventas(db, pedido("", "1"));
    ASSERT_FALSE(refresco.filas.empty());
    EXPECT_EQ(refresco.filas[0].monto, "30.3");
    db.responder("SELECT caballo,nu_caballo FROM carreras",
                 tabla({"caballo", "nu_caballo"}, {{"ALFA", "1"}}));
    db.responder("SELECT caballo,sum(monto) as venta FROM",
                 tabla({"caballo", "venta"}, {{"1", "0.30000000000000004"}}));
    PedidoPanel p = pedido("", "1");
    p.carrera = "5";
    p.fecha = QDate(2026, 1, 3);
    const PanelVentas consulta = consultarCarrera(db, p);
    ASSERT_FALSE(consulta.filas.empty());
    EXPECT_EQ(consulta.filas[0].monto, "0.3");
}

TEST(Gerencia, CarrerasEnLaFormaDeLaLista) {
    const std::pair<const char *, const char *> casos[] = {{"2", "02"},        {"02", "02"}, {"002", "02"},
                                                           {"0", "00"},        {"16", "16"}, {"201", "201"},
                                                           {"TODAS", "TODAS"}, {"", ""},     {" 7", "07"}};
    for (const auto &[entrada, salida] : casos) {
        EXPECT_EQ(carreraDeLista(entrada), salida) << entrada;
        // Whatever the lists hold is found again.
        if (QString(salida).size() > 1) {
            EXPECT_TRUE(listaCarreras(true).contains(carreraDeLista(entrada))) << entrada;
        }
    }
}

// ---- Booth totals and the day result.

namespace {

class CuadreFalso : public ::testing::Test {
protected:
    EntornoFalso e;
    BdFalsa &db = *e.db;
    void SetUp() override {
        e.ctx.sesion.grupo = "G01";
        e.ctx.sesion.cadena_central = "server=central";
        e.ctx.rs_juegos = tabla({"id_juego", "juego"}, {{"1", "TABLAS DINAMICAS"}, {"3", "LOS PUESTOS"}});
        db.responder("select * from configuracion", ajustes());
        db.responder("select m.taquilla",
                     tabla({"taquilla", "venta", "fecha"},
                           {{"taq1", "1000", "2026-01-03"}, {"taq3", "500", "2026-01-03"}}));
        db.responder("SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or estatus=3) "
                     "and taquilla='taq1'",
                     fila({{"monto_cobrado", "300"}}));
        db.responder("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or estatus=4) "
                     "and taquilla='taq1'",
                     fila({{"monto_porpagar", "200.25"}}));
        db.responder("SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or estatus=3) "
                     "and taquilla='taq3'",
                     tabla({"monto_cobrado"}, {}));
        db.responder("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or estatus=4) "
                     "and taquilla='taq3'",
                     fila({{"monto_porpagar", "-5"}}));
    }
    FiltroCuadre filtro(const QString &juego, const QString &ci, const QString &cf) {
        FiltroCuadre f;
        f.juego = juego;
        f.carreraInicial = ci;
        f.carreraFinal = cf;
        f.captionMoneda = "BS";
        return f;
    }
};

} // namespace

TEST_F(CuadreFalso, TodasLasCarreras) {
    for (const QString &ci : {QString(), QString("TODAS")}) {
        db.sentencias.clear();
        const CuadreCaja c = procesarCuadre(e.ctx, filtro("TABLAS DINAMICAS", ci, "09"));
        EXPECT_EQ(
            db.sentencias,
            QStringList(
                {"select * from configuracion",
                 "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal "
                 "m,configuracion c where m.fecha =  '2026-01-03' and grupo = 'G01' and m.id_juego = '1' "
                 " and id_moneda  = '1'  group by m.taquilla,m.fecha;",
                 "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or estatus=3) "
                 "and taquilla='taq1' and fecha  = '2026-01-03' and grupo = 'G01'  and id_juego = '1'   "
                 "and id_moneda  = '1' ",
                 "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or estatus=4) "
                 "and taquilla='taq1' and fecha  = '2026-01-03' and grupo = 'G01'  and id_juego = '1'  and "
                 "id_moneda  = '1' ",
                 "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or estatus=3) "
                 "and taquilla='taq3' and fecha  = '2026-01-03' and grupo = 'G01'  and id_juego = '1'   "
                 "and id_moneda  = '1' ",
                 "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or estatus=4) "
                 "and taquilla='taq3' and fecha  = '2026-01-03' and grupo = 'G01'  and id_juego = '1'  and "
                 "id_moneda  = '1' "}));
        ASSERT_TRUE(c.completo);
        ASSERT_EQ(c.taquillas.size(), 2u);
        EXPECT_EQ(c.taquillas[0].taquilla, "taq1");
        EXPECT_EQ(c.taquillas[0].montos, (std::array<double, 5>{1000, 300, 200.25, 499.75, 700}));
        EXPECT_EQ(c.taquillas[0].textos[3], "Bs.S499,75");
        // Nothing paid and a sum not above 0 count as 0: the cash is the sales.
        EXPECT_EQ(c.taquillas[1].montos, (std::array<double, 5>{500, 0, 0, 500, 500}));
        EXPECT_EQ(c.totales, (std::array<double, 5>{1500, 300, 200.25, 999.75, 1200}));
        EXPECT_EQ(c.totalesTextos[0], "Bs.S1.500,00");
    }
}

TEST_F(CuadreFalso, RangoDeCarrerasYTodosLosJuegos) {
    procesarCuadre(e.ctx, filtro("TABLAS DINAMICAS", "03", "TODAS"));
    EXPECT_EQ(db.sentencias[1],
              "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal "
              "m,configuracion c where m.fecha =  '2026-01-03' and grupo = 'G01' and m.carrera  "
              "between  '03'and 'TODAS' and m.id_juego = '1'  and id_moneda  = '1' group by "
              "m.taquilla,m.fecha;");
    EXPECT_EQ(db.sentencias[2],
              "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or estatus=3) "
              "and taquilla='taq1' and fecha  = '2026-01-03'and carrera  between  '03'and 'TODAS' and "
              "grupo = 'G01'  and id_juego = '1'  and id_moneda  = '1' ");
    EXPECT_EQ(db.sentencias[3],
              "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or estatus=4) "
              "and taquilla='taq1' and fecha  = '2026-01-03' and carrera  between  '03'and 'TODAS' and "
              "grupo = 'G01' and id_juego = '1'  and id_moneda  = '1' ");
    db.sentencias.clear();
    FiltroCuadre f = filtro("TODOS", "", "");
    f.moneda = 2;
    f.captionMoneda = "$";
    const CuadreCaja c = procesarCuadre(e.ctx, f);
    EXPECT_EQ(db.sentencias[1],
              "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal "
              "m,configuracion c where m.fecha =  '2026-01-03' and grupo = 'G01'  and id_moneda  = '2'  "
              "group by m.taquilla,m.fecha;");
    EXPECT_EQ(db.sentencias[2],
              "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or estatus=3) "
              "and taquilla='taq1' and fecha  = '2026-01-03' and grupo = 'G01'   and id_moneda  = '2' ");
    // The total line is in the currency of the booth lines.
    EXPECT_EQ(c.totalesTextos[0], "$1.500,00");
    db.sentencias.clear();
    procesarCuadre(e.ctx, filtro("", "", ""));
    EXPECT_TRUE(db.sentencias[1].contains("and m.id_juego = ''  and"));
}

TEST_F(CuadreFalso, UnaFallaGuardaLasLineasYReconecta) {
    db.fallar("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or estatus=4) and "
              "taquilla='taq3'");
    const int abiertas = int(e.fabrica.cadenas.size());
    const CuadreCaja c = procesarCuadre(e.ctx, filtro("TABLAS DINAMICAS", "", ""));
    EXPECT_FALSE(c.completo);
    ASSERT_EQ(c.taquillas.size(), 1u);
    EXPECT_EQ(c.taquillas[0].taquilla, "taq1");
    ASSERT_EQ(int(e.fabrica.cadenas.size()), abiertas + 1);
    EXPECT_EQ(e.fabrica.cadenas.last(), "server=central");
}

TEST_F(CuadreFalso, TotalDelDia) {
    db.responder("SELECT sum(monto) as venta", fila({{"venta", "1500"}}));
    db.responder("SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=1 or",
                 fila({{"monto_cobrado", "420.5"}}));
    EXPECT_EQ(totalDia(e.ctx, 2, "BS"),
              QStringList({"Venta del Día :           Bs.S1.500,00", "Monto Cobrado :           Bs.S420,50",
                           "Saldo del Día :           Bs.S1.079,50"}));
    EXPECT_EQ(
        db.sentencias.mid(1),
        QStringList(
            {"SELECT sum(monto) as venta   FROM ma_principal where  fecha  = '2026-01-03' and grupo='G01'  "
             "and id_moneda  = '2'",
             "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=1 or estatus=2 or "
             "estatus=3 or estatus=4 or estatus=5)  and fecha  = '2026-01-03' and grupo='G01'  and "
             "id_moneda  = '2'"}));
    // Null sums show no amount; a day without prizes still has its balance.
    Resultado nulo({"monto_cobrado"}, {{Campo()}});
    db.responder("SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=1 or", nulo);
    EXPECT_EQ(totalDia(e.ctx, 1, "$"),
              QStringList({"Venta del Día :           $1.500,00",
                           "Monto Cobrado :           ", "Saldo del Día :           $1.500,00"}));
    db.responder("SELECT sum(monto) as venta", Resultado({"venta"}, {{Campo()}}));
    EXPECT_EQ(totalDia(e.ctx, 1, "$"),
              QStringList({"Venta del Día :           ", "Monto Cobrado :           ",
                           "Saldo del Día :           "}));
    db.fallar("SELECT sum(cobrado)");
    EXPECT_EQ(totalDia(e.ctx, 1, "$"), QStringList());
}

// ---- The ticket search.

namespace {

struct Combinacion {
    bool taquilla, carreras, caballo, tipo;
    QStringList sentencias;
};

const Combinacion kCombinaciones[] = {
    {false,
     false,
     false,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01' "
      "order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where (estatus=2 or estatus=3) and fecha  = "
      "'2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where (estatus=1 or estatus=4 or estatus=5) "
      "and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}},
    {false,
     false,
     false,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where estatus = '2' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and "
      "grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where estatus = '2' and fecha  = '2026-01-03' and "
      "id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}},
    {false,
     false,
     true,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and "
      "grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where caballo= '07' and fecha  = '2026-01-03' and "
      "id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where caballo= '07' and(estatus=2 or estatus=3) "
      "and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where caballo= '07' and(estatus=1 or "
      "estatus=4 or estatus=5) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = "
      "'G01'"}},
    {false,
     false,
     true,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where estatus = '2' and caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where estatus = '2' and caballo= '07' and fecha  = "
      "'2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}},
    {false,
     true,
     false,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where carrera  between  '03' and '05' and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where carrera  between  '03' and '05' and fecha  = "
      "'2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where carrera  between  '03' and '05' "
      "and(estatus=2 or estatus=3) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo "
      "= 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where carrera  between  '03' and '05' "
      "and(estatus=1 or estatus=4 or estatus=5) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = "
      "'1' and grupo = 'G01'"}},
    {false,
     true,
     false,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where carrera  between  '03' and '05' and estatus = '2' and fecha  = '2026-01-03' and "
      "id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where carrera  between  '03' and '05' and estatus = "
      "'2' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}},
    {false,
     true,
     true,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where carrera  between  '03' and '05' and caballo= '07' and fecha  = '2026-01-03' and "
      "id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where carrera  between  '03' and '05' and caballo= "
      "'07' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where carrera  between  '03' and '05' and "
      "caballo= '07' and(estatus=2 or estatus=3) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = "
      "'1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where carrera  between  '03' and '05' and "
      "caballo= '07' and(estatus=1 or estatus=4 or estatus=5) and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01'"}},
    {false,
     true,
     true,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where carrera  between  '03' and '05' and estatus = '2' and caballo= '07' and fecha  = "
      "'2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto FROM ma_principal where carrera  between  '03' and '05' and estatus = "
      "'2' and caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = "
      "'G01'"}},
    {true,
     false,
     false,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' "
      "and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' and(estatus=2 or "
      "estatus=3) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where taquilla = 'taq1' and(estatus=1 or "
      "estatus=4 or estatus=5) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = "
      "'G01'"}},
    {true,
     false,
     false,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and estatus = '2' and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and estatus = '2' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}},
    {true,
     false,
     true,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' and caballo= '07' "
      "and(estatus=2 or estatus=3) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo "
      "= 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where taquilla = 'taq1' and caballo= '07' "
      "and(estatus=1 or estatus=4 or estatus=5) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = "
      "'1' and grupo = 'G01'"}},
    {true,
     false,
     true,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and estatus = '2' and caballo= '07' and fecha  = '2026-01-03' "
      "and id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and estatus = '2' and caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' "
      "and grupo = 'G01'"}},
    {true,
     true,
     false,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and carrera  between  '03' and '05' and fecha  = '2026-01-03' "
      "and id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and carrera  between  '03' and '05' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' "
      "and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' and carrera  between  "
      "'03' and '05' and(estatus=2 or estatus=3) and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = "
      "'1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where taquilla = 'taq1' and carrera  between  "
      "'03' and '05' and(estatus=1 or estatus=4 or estatus=5) and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01'"}},
    {true,
     true,
     false,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and carrera  between  '03' and '05' and estatus = '2' and fecha  "
      "= '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and carrera  between  '03' and '05' and estatus = '2' and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01'"}},
    {true,
     true,
     true,
     false,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and carrera  between  '03' and '05' and caballo= '07' and fecha  "
      "= '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01' order by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and carrera  between  '03' and '05' and caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and "
      "id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' and carrera  between  "
      "'03' and '05' and caballo= '07' and(estatus=2 or estatus=3) and fecha  = '2026-01-03' and "
      "id_juego='1' and id_moneda  = '1' and grupo = 'G01'",
      "SELECT  sum(cobrado) as sumaporcobrar FROM ma_principal where taquilla = 'taq1' and carrera  between  "
      "'03' and '05' and caballo= '07' and(estatus=1 or estatus=4 or estatus=5) and fecha  = '2026-01-03' "
      "and id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}},
    {true,
     true,
     true,
     true,
     {"SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,grupo FROM "
      "ma_principal where taquilla = 'taq1' and carrera  between  '03' and '05' and estatus = '2' and "
      "caballo= '07' and fecha  = '2026-01-03' and id_juego='1' and id_moneda  = '1' and grupo = 'G01' order "
      "by numero desc",
      "SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ma_principal where taquilla = 'taq1' "
      "and carrera  between  '03' and '05' and estatus = '2' and caballo= '07' and fecha  = '2026-01-03' and "
      "id_juego='1' and id_moneda  = '1' and grupo = 'G01'"}}};

class BoletosFalso : public ::testing::Test {
protected:
    EntornoFalso e;
    BdFalsa &db = *e.db;
    BdFalsa *local = nullptr;
    void SetUp() override {
        e.ctx.sesion.grupo = "G01";
        e.ctx.rs_juegos = tabla({"id_juego", "juego"}, {{"1", "TABLAS DINAMICAS"}, {"3", "LOS PUESTOS"}});
        db.responder("select * from configuracion", ajustes());
        e.ctx.conexion_local = e.fabrica.abrir("local");
        local = e.fabrica.abiertas.back();
    }
    FiltroBoletos filtro(const Combinacion &c) {
        FiltroBoletos f;
        f.fecha = QDate(2026, 1, 3);
        f.juego = "TABLAS DINAMICAS";
        f.taquilla = c.taquilla ? "taq1" : "TODOS";
        f.carreraInicial = c.carreras ? "03" : "TODAS";
        f.carreraFinal = "05";
        f.caballo = c.caballo ? "07" : "TODOS";
        f.tipo = c.tipo ? "COBRADOS" : "TODOS";
        return f;
    }
};

} // namespace

TEST_F(BoletosFalso, LasDieciseisCombinacionesEnAmbasTablas) {
    for (const Combinacion &c : kCombinaciones) {
        for (const bool archivo : {false, true}) {
            SCOPED_TRACE(QString("taquilla %1 carreras %2 caballo %3 tipo %4 archivo %5")
                             .arg(c.taquilla)
                             .arg(c.carreras)
                             .arg(c.caballo)
                             .arg(c.tipo)
                             .arg(archivo)
                             .toStdString());
            db.sentencias.clear();
            FiltroBoletos f = filtro(c);
            QStringList esperadas = c.sentencias;
            if (archivo) {
                f.fecha = QDate(2026, 1, 2);
                esperadas.replaceInStrings("FROM ma_principal", "FROM ventas");
                esperadas.replaceInStrings("fecha  = '2026-01-03'", "fecha  = '2026-01-02'");
            }
            const BusquedaBoletos b = buscarBoletos(e.ctx, f);
            EXPECT_FALSE(b.fallo);
            EXPECT_EQ(db.sentencias, QStringList({"select * from configuracion"}) + esperadas);
        }
    }
}

TEST_F(BoletosFalso, LaFechaDeTrabajoYLasPosterioresLeenElDia) {
    FiltroBoletos f = filtro(kCombinaciones[0]);
    f.fecha = QDate(2026, 1, 4);
    buscarBoletos(e.ctx, f);
    EXPECT_TRUE(db.sentencias[1].contains("FROM ma_principal where fecha  = '2026-01-04'"));
}

TEST(Boletos, TiposDeTicket) {
    const std::pair<const char *, const char *> casos[] = {{"COBRADOS", "2"},
                                                           {"POR PAGAR", "1"},
                                                           {"RET PAGADO", "3"},
                                                           {"RET. PAGADO", "3"},
                                                           {"RET POR PAGAR", "4"},
                                                           {"RET. POR PAGAR", "4"},
                                                           {"EMPATE POR PAGAR", "5"},
                                                           {"TODOS", ""},
                                                           {"", ""},
                                                           {"OTRO", ""}};
    for (const auto &[tipo, estatus] : casos)
        EXPECT_EQ(estatusDeTipo(tipo), estatus) << tipo;
    EXPECT_EQ(tiposDeTicket(), QStringList({"TODOS", "COBRADOS", "POR PAGAR", "RET PAGADO", "RET POR PAGAR",
                                            "EMPATE POR PAGAR"}));
}

TEST_F(BoletosFalso, JuegosTodosYDesconocidosYTipoFueraDeLaTabla) {
    FiltroBoletos f = filtro(kCombinaciones[0]);
    f.juego = "TODOS";
    f.tipo = "OTRO";
    buscarBoletos(e.ctx, f);
    EXPECT_EQ(db.sentencias[1],
              "SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,"
              "grupo FROM ma_principal where estatus = '' and fecha  = '2026-01-03' and id_moneda  = "
              "'1' and grupo = 'G01' order by numero desc");
    db.sentencias.clear();
    f.juego = "NO EXISTE";
    f.tipo = "TODOS";
    f.moneda = 2;
    buscarBoletos(e.ctx, f);
    EXPECT_TRUE(db.sentencias[1].endsWith(
        "where fecha  = '2026-01-03' and id_juego='' and id_moneda  = '2' and grupo "
        "= 'G01' order by numero desc"));
}

TEST_F(BoletosFalso, TotalesYCopiaLocal) {
    db.responder("SELECT  numero",
                 tabla({"numero", "nu_boleto", "carrera", "caballo", "tablas", "puesto", "monto", "cobrado",
                        "estatus", "taquilla", "grupo"},
                       {{"12", "1010312", "3", "7", "2", "0", "500", "0", "0", "taq1", "G01"},
                        {"9", "1010309", "3", "2", "1.5", "0", "375", "750", "2", "ta'q", "G01"}}));
    db.responder("SELECT  sum(monto)", fila({{"sumamonto", "875"}}));
    db.responder("SELECT  sum(cobrado) as sumacobrado", fila({{"sumacobrado", "750"}}));
    db.responder("SELECT  sum(cobrado) as sumaporcobrar", Resultado({"sumaporcobrar"}, {{Campo()}}));
    const BusquedaBoletos b = buscarBoletos(e.ctx, filtro(kCombinaciones[0]));
    EXPECT_EQ(b.totales, (std::array<QString, 4>{"875", "750", "125", "0"}));
    EXPECT_TRUE(b.imprimir());
    EXPECT_EQ(
        local->sentencias,
        QStringList(
            {"DELETE from rpt_jugadas", "select * from rpt_jugadas",
             "INSERT INTO rpt_jugadas (numero,boleto,carrera,caballo,tablas,monto,ch,grupo,cobrado,estatus,"
             "fecha,juego) VALUES ('12','1010312','3','7','2','500','taq1','G01','0','0','2026-01-03',"
             "'TABLAS DINAMICAS'),('9','1010309','3','2','1.5','375','ta\\'q','G01','750','2','2026-01-03',"
             "'TABLAS DINAMICAS')"}));
    // One ticket type: only the sales statement sums, so the balance is the sales.
    FiltroBoletos f = filtro(kCombinaciones[0]);
    f.tipo = "POR PAGAR";
    EXPECT_EQ(buscarBoletos(e.ctx, f).totales, (std::array<QString, 4>{"875", "0", "875", "0"}));
}

TEST(Boletos, NombresDeLosEstados) {
    const std::pair<const char *, const char *> casos[] = {
        {"0", "VENDIDO"},        {"1", "POR PAGAR"},        {"2", "PAGADO"}, {"3", "RET. PAGADO"},
        {"4", "RET. POR PAGAR"}, {"5", "EMPATE POR PAGAR"}, {"7", "7"},      {"", ""}};
    for (const auto &[estatus, nombre] : casos)
        EXPECT_EQ(nombreEstatus(estatus), nombre) << estatus;
    EXPECT_EQ(kEncabezadosBoletos.size(), kColumnasBoletos.size());
}

// Sums of doubles show to the cent.
TEST_F(BoletosFalso, LosTotalesSinRuidoDeComaFlotante) {
    db.responder("SELECT  numero", tabla({"numero"}, {{"1"}}));
    db.responder("SELECT  sum(monto)", fila({{"sumamonto", "30.299999999999997"}}));
    db.responder("SELECT  sum(cobrado) as sumacobrado", fila({{"sumacobrado", "10.1"}}));
    db.responder("SELECT  sum(cobrado) as sumaporcobrar", fila({{"sumaporcobrar", "0.1"}}));
    EXPECT_EQ(buscarBoletos(e.ctx, filtro(kCombinaciones[0])).totales,
              (std::array<QString, 4>{"30.3", "10.1", "20.1", "0.1"}));
}

TEST_F(BoletosFalso, LaCopiaVaEnLotesDeDoscientosCincuenta) {
    std::vector<QStringList> filas;
    for (int i = 600; i > 0; --i)
        filas.push_back({QString::number(i), "x", "1", "1", "1", "0", "10", "0", "0", "taq1", "G01"});
    const Resultado r = tabla({"numero", "nu_boleto", "carrera", "caballo", "tablas", "puesto", "monto",
                               "cobrado", "estatus", "taquilla", "grupo"},
                              filas);
    copiarJugadas(e.ctx, r, "2026-01-03", "TODOS");
    ASSERT_EQ(local->sentencias.size(), 5);
    EXPECT_EQ(local->sentencias[2].count("),("), 249);
    EXPECT_EQ(local->sentencias[4].count("),("), 99);
    EXPECT_TRUE(local->sentencias[2].contains("VALUES ('600',"));
    EXPECT_TRUE(local->sentencias[4].endsWith(
        "('1','x','1','1','1','10','taq1','G01','0','0','2026-01-03','TODOS')"));
}

TEST_F(BoletosFalso, SinBaseLocalLaListaSeMuestraIgual) {
    db.responder("SELECT  numero",
                 tabla({"numero", "nu_boleto", "carrera", "caballo", "tablas", "puesto", "monto", "cobrado",
                        "estatus", "taquilla", "grupo"},
                       {{"12", "1010312", "3", "7", "2", "0", "500", "0", "0", "taq1", "G01"}}));
    e.ctx.conexion_local.reset();
    e.fabrica.falla = true; // and it cannot be opened again
    BusquedaBoletos b = buscarBoletos(e.ctx, filtro(kCombinaciones[0]));
    EXPECT_FALSE(b.fallo);
    EXPECT_EQ(b.filas.filas(), 1);
    EXPECT_TRUE(b.falloCopia);
    EXPECT_FALSE(b.imprimir());
    // A lost local connection is opened again before the copy.
    e.fabrica.falla = false;
    b = buscarBoletos(e.ctx, filtro(kCombinaciones[0]));
    EXPECT_FALSE(b.falloCopia);
    EXPECT_TRUE(b.imprimir());
    // A central failure ends the search; the list read before it stands.
    e.ctx.conexion_local = e.fabrica.abrir("local");
    db.fallar("SELECT  sum(cobrado) as sumaporcobrar");
    b = buscarBoletos(e.ctx, filtro(kCombinaciones[0]));
    EXPECT_TRUE(b.fallo);
    EXPECT_TRUE(b.conDetalle);
    EXPECT_FALSE(b.conTotales);
    EXPECT_FALSE(b.imprimir());
}
