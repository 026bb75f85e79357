// The customer boards' logic over the recording fake: the statements of a refresh, the rows and
// prices of each currency, the pool totals, the arrows, the closed-race message, the withdrawn
// banners and jockeys, the row limits, the opening, the user check and the banner colours.
#include "entorno_falso.h"
#include "visor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <set>
#include <tuple>

using namespace corvalo;

namespace {

// A scripted random source.
struct AzarGuion : AzarVisor {
    std::deque<double> valores;
    double uniforme() override {
        const double v = valores.front();
        valores.pop_front();
        return v;
    }
};

const QStringList kColumnasCarrera = {"id_carrera", "caballo",   "jinete", "valor_td", "valor_td2",
                                      "valor_tf",   "valor_tf2", "puesto", "puesto2",  "retirado"};

struct Caballo {
    QString id, nombre, td = "100", td2 = "5", tf = "200", tf2 = "8", puesto = "0.3", puesto2 = "-2",
                        retirado = "0", jinete = "J. ORTIZ";
    QStringList fila() const { return {id, nombre, jinete, td, td2, tf, tf2, puesto, puesto2, retirado}; }
};

std::vector<Caballo> caballos(int n, int primerId = 501) {
    std::vector<Caballo> c;
    for (int i = 0; i < n; ++i)
        c.push_back({QString::number(primerId + i), QStringLiteral("CABALLO %1").arg(i + 1)});
    return c;
}

class Visor : public ::testing::Test {
protected:
    prueba::EntornoFalso e;
    QMap<QString, QString> ajustes = {{"fecha", "2026-01-03"},
                                      {"carrera", "4"},
                                      {"modificar", "1"},
                                      {"mostrartd", "1"},
                                      {"mostrartf", "1"},
                                      {"mostrar_pt", "1"},
                                      {"mensajeclientes", ""},
                                      {"pantalla_td", "0"},
                                      {"por_td", "10"},
                                      {"valor_tabladinamica", "25000"},
                                      {"valor_tabladinamica2", "1000"},
                                      {"pantalla_tf", "0"},
                                      {"por_tablafija", "20"},
                                      {"valortablafija", "20000"},
                                      {"valortablafija2", "800"},
                                      {"juego", ":.. HOY TABLAS ..:"}};
    std::vector<Caballo> carta = caballos(3);
    QString mensajech;

    void SetUp() override {
        e.ctx.sesion.usuario = "visor1";
        e.ctx.sesion.grupo = "G01";
        e.ctx.sesion.id_moneda = 1;
        e.ctx.sesion.mostrar_tf = 1;
        e.ctx.sesion.mostrar_pt = 1;
        e.db->responder("select * from monedas", prueba::tabla({"moneda"}, {{"BS"}, {"$"}}));
    }

    // Scripts the server's answers from the fixture's settings, message and race card.
    void preparar() {
        QStringList cols, vals;
        for (auto it = ajustes.begin(); it != ajustes.end(); ++it) {
            cols << it.key();
            vals << it.value();
        }
        e.db->responder("select * from configuracion", prueba::tabla(cols, {vals}));
        e.db->responder("select mensajech from grupos", prueba::tabla({"mensajech"}, {{mensajech}}));
        std::vector<QStringList> filas;
        for (const Caballo &c : carta)
            filas.push_back(c.fila());
        e.db->responder("SELECT * FROM carreras", prueba::tabla(kColumnasCarrera, filas));
    }

    ResultadoCuadre cuadrar(TableroVisor &t) {
        preparar();
        return cuadrarTablero(e.ctx, t);
    }
};

TEST_F(Visor, UnRefrescoLeeAjustesMensajeDelGrupoYCarreraConValoresEscapados) {
    e.ctx.sesion.grupo = "G'01";
    TableroVisor t(TipoVisor::Triple);
    EXPECT_EQ(cuadrar(t).fin, ResultadoCuadre::Fin::Completo);
    EXPECT_EQ(e.db->sentencias,
              (QStringList{"select * from configuracion", "select mensajech from grupos where grupo='G\\'01'",
                           "SELECT * FROM carreras Where carrera = '4' and fecha = '2026-01-03'  "
                           "order by id_carrera "}));
    EXPECT_EQ(t.carrera, "C:  4");
}

TEST_F(Visor, FilasConLosPreciosDeLaMonedaDelTablero) {
    carta[0].retirado = "1";
    carta[1].puesto = "45";
    carta[1].puesto2 = "0.9";
    struct Caso {
        TipoVisor tipo;
        int moneda;
        QStringList td, tf, pt;
    } casos[] = {
        {TipoVisor::Triple, 1, {"100", "100", "100"}, {"200", "200", "200"}, {"10/3", "4P 5N", "10/3"}},
        {TipoVisor::Triple, 2, {"5", "5", "5"}, {"8", "8", "8"}, {"2N", "10/9", "2N"}},
        {TipoVisor::Doble, 2, {"", "", ""}, {"8", "8", "8"}, {"2N", "10/9", "2N"}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.moneda);
        e.ctx.sesion.id_moneda = c.moneda;
        TableroVisor t(c.tipo);
        cuadrar(t);
        for (int i = 0; i < 3; ++i) {
            const FilaVisor &f = t.filas[std::size_t(i)];
            EXPECT_EQ(f.idCaballo, QString::number(501 + i));
            EXPECT_EQ(f.caballo, QStringLiteral("CABALLO %1").arg(i + 1));
            EXPECT_EQ(f.dinamica, c.td[i]);
            EXPECT_EQ(f.tablaFija, c.tf[i]);
            EXPECT_EQ(f.puesto, c.pt[i]);
            // The withdrawal flag is `retirado` in either currency; the prices stay on the row.
            EXPECT_EQ(f.bannerRetirado, i == 0);
            EXPECT_EQ(f.retirado, i == 0 ? "1" : "0");
        }
        EXPECT_TRUE(t.filas[3].caballo.isEmpty());
        EXPECT_FALSE(t.filas[3].bannerRetirado);
    }
}

TEST_F(Visor, ColumnasQueLosAjustesOElGrupoNoMuestran) {
    struct Caso {
        const char *mostrartd, *mostrartf, *mostrar_pt;
        int sesionTF, sesionPT;
        QString td, tf, pt;
    } casos[] = {
        {"1", "1", "1", 1, 1, "100", "200", "10/3"}, {"0", "1", "1", 1, 1, "", "200", "10/3"},
        {"1", "0", "1", 1, 1, "100", "", "10/3"},    {"1", "1", "0", 1, 1, "100", "200", ""},
        {"1", "1", "1", 0, 1, "100", "", "10/3"},    {"1", "1", "1", 1, 2, "100", "200", ""},
    };
    for (const Caso &c : casos) {
        ajustes["mostrartd"] = c.mostrartd;
        ajustes["mostrartf"] = c.mostrartf;
        ajustes["mostrar_pt"] = c.mostrar_pt;
        e.ctx.sesion.mostrar_tf = c.sesionTF;
        e.ctx.sesion.mostrar_pt = c.sesionPT;
        TableroVisor t(TipoVisor::Triple);
        cuadrar(t);
        EXPECT_EQ(t.filas[0].dinamica, c.td);
        EXPECT_EQ(t.filas[0].tablaFija, c.tf);
        EXPECT_EQ(t.filas[0].puesto, c.pt);
    }
}

TEST_F(Visor, TotalesDeLosPozos) {
    struct Caso {
        const char *nombre;
        TipoVisor tipo;
        int moneda;
        const char *pantalla_td, *pantalla_tf, *mostrartd;
        QStringList td, tf;
        QString total, total2;
    } casos[] = {
        {"TD 10+20+30 less 10%",
         TipoVisor::Triple,
         1,
         "1",
         "0",
         "1",
         {"10", "20", "30"},
         {"1", "1", "1"},
         "54",
         "20000"},
        {"TF sums only its column",
         TipoVisor::Triple,
         1,
         "1",
         "1",
         "1",
         {"10", "20", "30"},
         {"100", "200", "200"},
         "54",
         "400"},
        {"stored fractions count",
         TipoVisor::Triple,
         1,
         "0",
         "1",
         "1",
         {"1", "1", "1"},
         {"12.5", "7.5", "0"},
         "25000",
         "16"},
        {"fixed values, currency 1",
         TipoVisor::Triple,
         1,
         "0",
         "0",
         "1",
         {"10", "20", "30"},
         {"1", "1", "1"},
         "25000",
         "20000"},
        {"fixed values, currency 2",
         TipoVisor::Triple,
         2,
         "0",
         "0",
         "1",
         {"10", "20", "30"},
         {"1", "1", "1"},
         "1000",
         "800"},
        {"currency 2 sums its own prices",
         TipoVisor::Triple,
         2,
         "1",
         "1",
         "1",
         {"2", "4", "4"},
         {"5", "5", "10"},
         "9",
         "16"},
        {"TD not shown sums nothing",
         TipoVisor::Triple,
         1,
         "1",
         "0",
         "0",
         {"10", "20", "30"},
         {"1", "1", "1"},
         "0",
         "20000"},
        {"double: TF only",
         TipoVisor::Doble,
         1,
         "1",
         "1",
         "1",
         {"10", "20", "30"},
         {"100", "200", "200"},
         "",
         "400"},
        {"double: fixed TF",
         TipoVisor::Doble,
         2,
         "1",
         "0",
         "1",
         {"10", "20", "30"},
         {"100", "200", "200"},
         "",
         "800"},
        // Money to the cent: 30.3 less 10 % is 27.269999999999996 in floating point.
        {"no floating-point noise",
         TipoVisor::Triple,
         1,
         "1",
         "1",
         "1",
         {"10.1", "20.2", "0"},
         {"0.1", "0.2", "0.0000001"},
         "27.27",
         "0.24"},
        {"fractions of a cent in stored pools and prices",
         TipoVisor::Triple,
         1,
         "0",
         "0",
         "1",
         {"10.129", "0.30000000000000004", ""},
         {"1", "1", "1"},
         "25000",
         "20000"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        ajustes["pantalla_td"] = c.pantalla_td;
        ajustes["pantalla_tf"] = c.pantalla_tf;
        ajustes["mostrartd"] = c.mostrartd;
        e.ctx.sesion.id_moneda = c.moneda;
        for (int i = 0; i < 3; ++i) {
            (c.moneda == 1 ? carta[std::size_t(i)].td : carta[std::size_t(i)].td2) = c.td[i];
            (c.moneda == 1 ? carta[std::size_t(i)].tf : carta[std::size_t(i)].tf2) = c.tf[i];
        }
        TableroVisor t(c.tipo);
        EXPECT_EQ(cuadrar(t).fin, ResultadoCuadre::Fin::Completo);
        EXPECT_EQ(t.total, c.total);
        EXPECT_EQ(t.total2, c.total2);
        // The prices on the rows show as money too; a missing price stays blank.
        if (c.tipo == TipoVisor::Triple && QString(c.mostrartd) == "1")
            for (int i = 0; i < 3; ++i) {
                const QString &td = c.td[i];
                EXPECT_EQ(t.filas[std::size_t(i)].dinamica,
                          td == "10.129" ? "10.13" : (td.startsWith("0.3") ? "0.3" : td));
            }
    }
    // A pool set by the back-office with a fraction of a cent.
    ajustes["pantalla_td"] = "0";
    ajustes["valor_tabladinamica"] = "1234.5678";
    e.ctx.sesion.id_moneda = 1;
    TableroVisor t(TipoVisor::Triple);
    cuadrar(t);
    EXPECT_EQ(t.total, "1234.57");
}

// The board's height goes to the race's horses: at least 8 rows, at most the board's.
TEST_F(Visor, LasFilasDibujadasSonLasDeLaCarrera) {
    const std::tuple<TipoVisor, int, int> casos[] = {{TipoVisor::Triple, 0, 8},   {TipoVisor::Triple, 3, 8},
                                                     {TipoVisor::Triple, 8, 8},   {TipoVisor::Triple, 9, 9},
                                                     {TipoVisor::Triple, 16, 16}, {TipoVisor::Triple, 17, 16},
                                                     {TipoVisor::Doble, 12, 12},  {TipoVisor::Doble, 15, 14}};
    for (const auto &[tipo, n, filas] : casos) {
        SCOPED_TRACE(n);
        carta = caballos(n);
        TableroVisor t(tipo);
        cuadrar(t);
        EXPECT_EQ(t.filasMostradas, filas);
    }
}

TEST(VisorFlecha, ReglasDeLaFlecha) {
    struct Caso {
        QString referencia, precio;
        Flecha flecha;
    } casos[] = {
        {"100", "120", Flecha::Arriba}, {"100", "80", Flecha::Abajo},      {"100", "100", Flecha::Ninguna},
        {"0", "50", Flecha::Ninguna},   {"100", "0", Flecha::Ninguna},     {"", "50", Flecha::Ninguna},
        {"100", "", Flecha::Ninguna},   {"12.5", "12.75", Flecha::Arriba},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(flechaDe(c.referencia, c.precio), c.flecha)
            << c.referencia.toStdString() << " -> " << c.precio.toStdString();
}

TEST_F(Visor, LaFlechaComparaConElPrecioDeApertura) {
    TableroVisor t(TipoVisor::Triple);
    auto refrescar = [&](const char *modificar, const QString &precio) {
        ajustes["modificar"] = modificar;
        carta[0].td = precio;
        cuadrar(t);
        return t.filas[0].flecha;
    };
    // The first price seen while open is the reference.
    EXPECT_EQ(refrescar("1", "100"), Flecha::Ninguna);
    EXPECT_EQ(t.filas[0].referencia, "100");
    EXPECT_EQ(refrescar("1", "120"), Flecha::Arriba);
    EXPECT_EQ(refrescar("1", "130"), Flecha::Arriba);
    EXPECT_EQ(refrescar("1", "90"), Flecha::Abajo);
    EXPECT_EQ(t.filas[0].referencia, "100");
    // Closed: no arrow, the reference follows the price.
    EXPECT_EQ(refrescar("0", "90"), Flecha::Ninguna);
    EXPECT_EQ(t.filas[0].referencia, "90");
    EXPECT_EQ(refrescar("1", "95"), Flecha::Arriba);
    // A price of 0 never shows an arrow.
    EXPECT_EQ(refrescar("1", "0"), Flecha::Ninguna);
}

TEST_F(Visor, OtraCarreraAbiertaTomaSusPropiasReferencias) {
    TableroVisor t(TipoVisor::Triple);
    carta[0].td = "300";
    cuadrar(t);
    // The next race is put on sale without the board seeing it closed: row 1 now holds another
    // horse, whose price is not compared with the previous horse's.
    ajustes["carrera"] = "5";
    carta = caballos(3, 601);
    carta[0].td = "150";
    cuadrar(t);
    EXPECT_EQ(t.filas[0].flecha, Flecha::Ninguna);
    EXPECT_EQ(t.filas[0].referencia, "150");
    carta[0].td = "160";
    cuadrar(t);
    EXPECT_EQ(t.filas[0].flecha, Flecha::Arriba);
}

TEST_F(Visor, MensajeDeCarreraCerradaYEstado) {
    struct Caso {
        const char *modificar;
        QString clientes, grupo;
        bool visible;
        QString mensaje, estado;
        Color fondo, fondoEstado;
    } casos[] = {
        {"0", "CERRADO POR LLUVIA", "SUERTE", true, "CERRADO POR LLUVIA", "CERRADO", kAzulMensaje,
         kRojoVisor},
        {"0", "", "SUERTE", true, "SUERTE", "CERRADO", kAzulMensaje, kRojoVisor},
        {"0", "", "", false, "", "CERRADO", kBlancoVisor, kRojoVisor},
        {"1", "CERRADO POR LLUVIA", "SUERTE", false, "", "", kBlancoVisor, kBlancoVisor},
        {"2", "CERRADO POR LLUVIA", "SUERTE", false, "", "CERRADO", kBlancoVisor, kRojoVisor},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.modificar);
        ajustes["modificar"] = c.modificar;
        ajustes["mensajeclientes"] = c.clientes;
        mensajech = c.grupo;
        for (TipoVisor tipo : {TipoVisor::Triple, TipoVisor::Doble}) {
            TableroVisor t(tipo);
            cuadrar(t);
            EXPECT_EQ(t.mensajeVisible, c.visible);
            EXPECT_EQ(t.cicloMensaje, c.visible);
            if (c.visible) {
                EXPECT_EQ(t.mensaje, c.mensaje);
            }
            EXPECT_EQ(t.fondoVentana, c.fondo);
            EXPECT_EQ(t.estado, c.estado);
            EXPECT_EQ(t.fondoEstado, c.fondoEstado);
            // The double board hides the state while the race is open.
            EXPECT_EQ(t.estadoVisible, tipo == TipoVisor::Triple || c.estado == "CERRADO");
        }
    }
}

TEST_F(Visor, GrupoSinFilaNoTieneMensaje) {
    ajustes["modificar"] = "0";
    preparar();
    e.db->responder("select mensajech from grupos", prueba::tabla({"mensajech"}, {}));
    TableroVisor t(TipoVisor::Triple);
    EXPECT_EQ(cuadrarTablero(e.ctx, t).fin, ResultadoCuadre::Fin::Completo);
    EXPECT_FALSE(t.mensajeVisible);
    EXPECT_EQ(t.filas[2].caballo, "CABALLO 3");
}

TEST_F(Visor, FilasDelTableroYLaParadaMasAlla) {
    ajustes["pantalla_td"] = "1";
    ajustes["pantalla_tf"] = "1";
    struct Caso {
        TipoVisor tipo;
        int caballos;
        ResultadoCuadre::Fin fin;
        QString total2;
    } casos[] = {
        {TipoVisor::Triple, 16, ResultadoCuadre::Fin::Completo, "2560"},
        {TipoVisor::Triple, 17, ResultadoCuadre::Fin::Desborde, ""},
        {TipoVisor::Doble, 14, ResultadoCuadre::Fin::Completo, "2240"},
        {TipoVisor::Doble, 15, ResultadoCuadre::Fin::Desborde, ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.caballos);
        carta = caballos(c.caballos);
        TableroVisor t(c.tipo);
        t.total = t.total2 = "9999"; // an earlier race's totals
        EXPECT_EQ(cuadrar(t).fin, c.fin);
        const int filas = filasVisor(c.tipo);
        EXPECT_EQ(t.filas[std::size_t(filas - 1)].caballo, QStringLiteral("CABALLO %1").arg(filas));
        EXPECT_EQ(t.total2, c.total2);
        if (c.tipo == TipoVisor::Triple) {
            EXPECT_EQ(t.total, c.fin == ResultadoCuadre::Fin::Completo ? "1440" : "");
        } else {
            EXPECT_TRUE(t.filas[14].caballo.isEmpty());
        }
    }
}

TEST_F(Visor, JineteOcultoMientrasElCaballoEstaRetirado) {
    TableroVisor t(TipoVisor::Doble);
    carta[1].retirado = "1";
    cuadrar(t);
    EXPECT_TRUE(t.filas[0].jineteVisible);
    EXPECT_EQ(t.filas[0].jinete, "J. ORTIZ");
    EXPECT_FALSE(t.filas[1].jineteVisible);
    EXPECT_TRUE(t.filas[1].bannerRetirado);
    EXPECT_FALSE(t.filas[3].jineteVisible); // no horse on this row
    cuadrar(t);
    EXPECT_FALSE(t.filas[1].jineteVisible);
    carta[1].retirado = "0";
    cuadrar(t);
    EXPECT_TRUE(t.filas[1].jineteVisible);
    EXPECT_FALSE(t.filas[1].bannerRetirado);
}

TEST(VisorPuesto, EtiquetasDePuesto) {
    const std::pair<QString, QString> casos[] = {
        {"0.1", "10/1"}, {"0.5", "10/5"}, {"0.9", "10/9"}, {"-1", "1N"},     {"-5", "5N"},    {"12", "1P 2N"},
        {"22", "2P 2N"}, {"23", "2P 3N"}, {"33", "3P 3N"}, {"34", "3P 4N"},  {"44", "4P 4N"}, {"45", "4P 5N"},
        {"55", "5P 5N"}, {"3", "3"},      {"0", "0"},      {"0.15", "0.15"}, {"", ""},
    };
    for (const auto &[almacenado, etiqueta] : casos)
        EXPECT_EQ(etiquetaPuestoVisor(almacenado), etiqueta) << almacenado.toStdString();
}

TEST_F(Visor, UnaFallaDejaElTableroHastaDondeLlego) {
    TableroVisor t(TipoVisor::Triple);
    cuadrar(t);
    // The settings cannot be read: nothing changes.
    e.db->fallar("select * from configuracion");
    ajustes["carrera"] = "5";
    ResultadoCuadre r = cuadrarTablero(e.ctx, t);
    EXPECT_EQ(r.fin, ResultadoCuadre::Fin::Falla);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(t.carrera, "C:  4");
    EXPECT_EQ(t.filas[0].caballo, "CABALLO 1");
    // The race card cannot be read: the race, the state and the emptied rows.
    prueba::EntornoFalso otro;
    otro.ctx.sesion = e.ctx.sesion;
    QStringList cols, vals;
    ajustes["modificar"] = "0";
    for (auto it = ajustes.begin(); it != ajustes.end(); ++it) {
        cols << it.key();
        vals << it.value();
    }
    otro.db->responder("select * from configuracion", prueba::tabla(cols, {vals}));
    otro.db->fallar("SELECT * FROM carreras");
    r = cuadrarTablero(otro.ctx, t);
    EXPECT_EQ(r.fin, ResultadoCuadre::Fin::Falla);
    EXPECT_EQ(t.carrera, "C:  5");
    EXPECT_EQ(t.estado, "CERRADO");
    EXPECT_TRUE(t.filas[0].caballo.isEmpty());
}

TEST_F(Visor, AperturaBannerFondoYMoneda) {
    preparar();
    // The shared settings as the main window left them; the server has changed since.
    e.ctx.rs_configuracion = prueba::fila({{"juego", ":.. AYER ..:"}});
    struct Caso {
        TipoVisor tipo;
        int moneda;
        QString banner, nombreMoneda;
        Color fondo;
    } casos[] = {
        {TipoVisor::Triple, 1, ":.. AYER ..:", "BS", kVerdeMoneda1},
        {TipoVisor::Triple, 2, ":.. AYER ..:", "$", kVerdeMoneda2},
        {TipoVisor::Doble, 1, ":.. HOY TABLAS ..:", "BS", kVerdeMoneda1},
    };
    for (const Caso &c : casos) {
        e.ctx.rs_configuracion = prueba::fila({{"juego", ":.. AYER ..:"}});
        e.ctx.sesion.id_moneda = c.moneda;
        e.ctx.sesion.mostrar_pt = 0;
        TableroVisor t(c.tipo);
        const AperturaVisor a = abrirVisor(e.ctx, t);
        EXPECT_EQ(a.banner, c.banner);
        EXPECT_EQ(a.fondoTablero, c.fondo);
        EXPECT_EQ(a.mostrarPT, false);
        EXPECT_EQ(a.mostrarTF, true);
        ASSERT_TRUE(a.cuadre);
        EXPECT_EQ(a.cuadre->fin, ResultadoCuadre::Fin::Completo);
        EXPECT_EQ(a.moneda, c.nombreMoneda);
        EXPECT_TRUE(a.error.isEmpty());
    }
    // A failure stops the set-up where it is.
    e.ctx.rs_configuracion = Resultado();
    TableroVisor t(TipoVisor::Triple);
    const AperturaVisor a = abrirVisor(e.ctx, t);
    EXPECT_FALSE(a.banner);
    EXPECT_FALSE(a.cuadre);
    EXPECT_FALSE(a.error.isEmpty());
}

TEST_F(Visor, ComprobacionDelUsuario) {
    using E = ComprobacionUsuario::Estado;
    e.ctx.sesion.usuario = "vis'or";
    e.db->responder("SELECT  estatus", prueba::tabla({"estatus"}, {{"Baja"}}));
    EXPECT_EQ(comprobarUsuario(e.ctx).estado, E::Suspendido);
    EXPECT_EQ(e.db->sentencias.last(), "SELECT  estatus FROM usuarios Where usuario = 'vis\\'or' ");
    e.db->responder("SELECT  estatus", prueba::tabla({"estatus"}, {{"baja"}}));
    EXPECT_EQ(comprobarUsuario(e.ctx).estado, E::Activo);
    e.db->responder("SELECT  estatus", prueba::tabla({"estatus"}, {}));
    ComprobacionUsuario c = comprobarUsuario(e.ctx);
    EXPECT_EQ(c.estado, E::Desconocido);
    EXPECT_FALSE(c.error.isEmpty());
    e.db->fallar("SELECT  estatus");
    EXPECT_EQ(comprobarUsuario(e.ctx).estado, E::Desconocido);
}

TEST(VisorAzar, RedondeoRotacionYColores) {
    const std::pair<double, int> redondeos[] = {{0.5, 0},   {1.5, 2},  {2.5, 2},
                                                {14.5, 14}, {0.49, 0}, {0.51, 1}};
    for (const auto &[x, n] : redondeos)
        EXPECT_EQ(redondeoPar(x), n) << x;

    AzarGuion azar;
    // Triple: 2r rounded; 0.25 and 0.75 fall on halves.
    azar.valores = {0.0, 0.25, 0.26, 0.74, 0.75, 0.99};
    std::vector<int> juegos;
    for (int i = 0; i < 6; ++i)
        juegos.push_back(rotarJuego(TipoVisor::Triple, azar));
    EXPECT_EQ(juegos, (std::vector<int>{0, 0, 1, 1, 2, 2}));
    // Double: r rounded.
    azar.valores = {0.5, 0.51};
    EXPECT_EQ(rotarJuego(TipoVisor::Doble, azar), 0);
    EXPECT_EQ(rotarJuego(TipoVisor::Doble, azar), 1);
    EXPECT_EQ(textoBanner(0), ":.. TABLA FIJA ..:");
    EXPECT_EQ(textoBanner(1), ":.. LOS PUESTOS ..:");
    EXPECT_EQ(textoBanner(2), ":.. TABLAS DINAMICAS ..:");

    // 15r rounded: 0 black, 7.5 -> 8 grey, 14 yellow, 14.85 -> 15 white, 7 light grey, 12 red.
    azar.valores = {0.0, 0.5, 14.0 / 15, 0.99, 7.0 / 15, 12.0 / 15};
    const Color esperados[] = {{0, 0, 0},       {128, 128, 128}, {255, 255, 0},
                               {255, 255, 255}, {192, 192, 192}, {255, 0, 0}};
    for (const Color &c : esperados)
        EXPECT_EQ(colorAleatorio(azar), c);
}

TEST(VisorAzar, ColoresDelBannerSegunElJuego) {
    const ColoresRotulo td{{17, 61, 115}, {192, 192, 192}}, tf{{128, 0, 0}, {192, 192, 192}},
        pt{{0, 64, 64}, {192, 192, 192}};
    // A draw of 0 gives the first readable pair: black on light grey.
    const ColoresRotulo azaroso{{0, 0, 0}, {192, 192, 192}};
    struct Caso {
        TipoVisor tipo;
        int juego;
        ColoresRotulo td, tf, pt;
    } casos[] = {
        {TipoVisor::Triple, 0, td, azaroso, pt}, {TipoVisor::Triple, 1, td, tf, azaroso},
        {TipoVisor::Triple, 2, azaroso, tf, pt}, {TipoVisor::Doble, 0, td, azaroso, pt},
        {TipoVisor::Doble, 1, td, tf, azaroso},  {TipoVisor::Doble, 2, td, tf, pt},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.juego);
        AzarGuion azar;
        azar.valores = {0.0, 0.0, 0.0, 0.0};
        const ColoresBanner b = coloresBanner(c.tipo, c.juego, azar);
        EXPECT_EQ(b.barner, azaroso);
        if (c.tipo == TipoVisor::Triple) {
            EXPECT_EQ(b.td, c.td);
        }
        EXPECT_EQ(b.tf, c.tf);
        EXPECT_EQ(b.pt, c.pt);
    }
}

// The WCAG 2 contrast ratio of two sRGB colours.
double contraste(const Color &a, const Color &b) {
    auto canal = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    auto luz = [&](const Color &c) {
        return 0.2126 * canal(c.r) + 0.7152 * canal(c.g) + 0.0722 * canal(c.b);
    };
    const double la = luz(a), lb = luz(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every colour pair the cycling labels can show, over the whole range of the random source,
// reads at the WCAG AA ratio for text (4.5:1); the cycle still has many pairs to go through.
TEST(VisorAzar, TodoElCicloSeLeeDesdeElOtroLadoDelLocal) {
    // The ratios this check stands on: black on white 21, the old olive on grey too low.
    EXPECT_NEAR(contraste({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_LT(contraste({128, 128, 0}, {192, 192, 192}), 4.5);
    std::set<std::tuple<int, int, int, int, int, int>> pares;
    constexpr int kPasos = 4000;
    for (TipoVisor tipo : {TipoVisor::Triple, TipoVisor::Doble})
        for (int juego = 0; juego <= 2; ++juego)
            for (int k = 0; k < kPasos; ++k) {
                AzarGuion azar;
                const double r = double(k) / kPasos;
                azar.valores = {r, r, r, r};
                const ColoresBanner b = coloresBanner(tipo, juego, azar);
                const std::pair<const char *, ColoresRotulo> rotulos[] = {
                    {"banner", b.barner}, {"TD", b.td}, {"TF", b.tf}, {"PT", b.pt}};
                for (const auto &[nombre, c] : rotulos) {
                    const double cr = contraste(c.texto, c.fondo);
                    EXPECT_GE(cr, 4.5) << nombre << " r=" << r << " juego " << juego << " (" << c.texto.r
                                       << "," << c.texto.g << "," << c.texto.b << ") on (" << c.fondo.r << ","
                                       << c.fondo.g << "," << c.fondo.b << ")";
                    pares.insert({c.texto.r, c.texto.g, c.texto.b, c.fondo.r, c.fondo.g, c.fondo.b});
                }
            }
    EXPECT_GE(pares.size(), 30u);
    // "ATENCION PUBLICO APOSTADOR" cycles its text on white.
    std::set<std::tuple<int, int, int>> mensaje;
    for (int k = 0; k < kPasos; ++k) {
        AzarGuion azar;
        azar.valores = {double(k) / kPasos};
        const Color c = colorMensajeAleatorio(azar);
        EXPECT_GE(contraste(c, kBlancoVisor), 4.5);
        mensaje.insert({c.r, c.g, c.b});
    }
    EXPECT_GE(mensaje.size(), 5u);
}

} // namespace
