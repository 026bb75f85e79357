// The boards' refresh and user check on the private server with the reference schema: the race
// card of the working date and current race only, in id_carrera order, the values as the server
// writes them, and a group message with a quote.
#include "servidor_prueba.h"
#include "visor.h"

#include <gtest/gtest.h>

using namespace corvalo;

namespace {

class VisorDb : public ::testing::Test {
protected:
    static inline QString cadena;
    FabricaMariaDb fabrica;
    DialogosAutomaticos dialogos;
    RelojSistema reloj;
    MaquinaNula maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};

    static void SetUpTestSuite() {
        cadena = prueba::crearBaseCentral(QStringLiteral("corvalo_displays_db"));
        auto db = prueba::conectar(cadena);
        const char *sentencias[] = {
            "INSERT INTO configuracion (id, fecha, carrera, modificar, mensajeclientes, mostrartd, "
            "mostrartf, "
            "mostrar_pt, pantalla_td, por_td, pantalla_tf, por_tablafija, valortablafija, valortablafija2, "
            "juego) "
            "VALUES (1, '2026-01-03', 4, 0, '', 1, 1, 1, 1, 10, 0, 20, 20000, 800, ':.. TABLAS DINAMICAS "
            "..:')",
            "INSERT INTO grupos (id_grupo, grupo, ch, mensajech) VALUES (1, 'G01', 'CENTRO', 'HOY ES EL "
            "\\'GRAN\\' DIA')",
            "INSERT INTO usuarios (usuario, nivel, grupo, estatus) VALUES ('visor1', 'Visor', 'G01', "
            "'Activo'), "
            "('visor2', 'Visor', 'G01', 'Baja')",
            // Race 4 of the day, inserted out of id order, with another day's and another race's rows.
            "INSERT INTO carreras (id_carrera, fecha, carrera, nu_caballo, caballo, jinete, valor_td, "
            "valor_td2, "
            "valor_tf, valor_tf2, puesto, puesto2, retirado, retirado2) VALUES "
            "(30, '2026-01-03', 4, 3, 'BRISA DE PLATA', 'R. CAPRILES', 30, 3, 410, 10.5, -1, 0.2, 0, 1), "
            "(10, '2026-01-03', 4, 1, 'DON DE ORO', 'J. ORTIZ', 10, 1, 520, 13, 0.4, 2, 0, 0), "
            "(20, '2026-01-03', 4, 2, 'SEÑOR ALTIVA', 'L. PEREZ', 20.5, 2, 350, 9, 12, 55, 1, 0), "
            "(5, '2026-01-02', 4, 1, 'AYER', '', 99, 9, 99, 9, 1, 1, 0, 0), "
            "(40, '2026-01-03', 5, 1, 'OTRA CARRERA', '', 99, 9, 99, 9, 1, 1, 0, 0)",
        };
        for (const char *s : sentencias)
            db->ejecutar(QString::fromUtf8(s));
    }

    void SetUp() override {
        ctx.conexion_central = prueba::conectar(cadena);
        ctx.sesion.usuario = QStringLiteral("visor1");
        ctx.sesion.grupo = QStringLiteral("G01");
        ctx.sesion.mostrar_tf = 1;
        ctx.sesion.mostrar_pt = 1;
    }
};

TEST_F(VisorDb, RefrescoDeLaCarreraDelDiaEnSuOrden) {
    struct Caso {
        int moneda;
        QStringList td, tf, pt;
        QString total;
    } casos[] = {
        {1, {"10", "20.5", "30"}, {"520", "350", "410"}, {"10/4", "1P 2N", "1N"}, "54.45"},
        {2, {"1", "2", "3"}, {"13", "9", "10.5"}, {"2", "5P 5N", "10/2"}, "5.4"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.moneda);
        ctx.sesion.id_moneda = c.moneda;
        TableroVisor t(TipoVisor::Triple);
        const ResultadoCuadre r = cuadrarTablero(ctx, t);
        ASSERT_EQ(r.fin, ResultadoCuadre::Fin::Completo) << r.error.toStdString();
        EXPECT_EQ(t.carrera, "C:  4");
        const QStringList nombres = {"DON DE ORO", "SEÑOR ALTIVA", "BRISA DE PLATA"};
        for (int i = 0; i < 3; ++i) {
            const FilaVisor &f = t.filas[std::size_t(i)];
            EXPECT_EQ(f.idCaballo, QString::number(10 * (i + 1)));
            EXPECT_EQ(f.caballo, nombres[i]);
            EXPECT_EQ(f.dinamica, c.td[i]);
            EXPECT_EQ(f.tablaFija, c.tf[i]);
            EXPECT_EQ(f.puesto, c.pt[i]);
            // `retirado` in both currencies.
            EXPECT_EQ(f.bannerRetirado, i == 1);
        }
        EXPECT_TRUE(t.filas[3].caballo.isEmpty());
        EXPECT_EQ(t.total, c.total);
        EXPECT_EQ(t.total2, c.moneda == 1 ? "20000" : "800");
        // Closed, no message for every group: the group's own, quote and all.
        EXPECT_TRUE(t.mensajeVisible);
        EXPECT_EQ(t.mensaje, "HOY ES EL 'GRAN' DIA");
    }
}

TEST_F(VisorDb, ElTableroDobleConLosJinetes) {
    ctx.sesion.id_moneda = 1;
    TableroVisor t(TipoVisor::Doble);
    ASSERT_EQ(cuadrarTablero(ctx, t).fin, ResultadoCuadre::Fin::Completo);
    EXPECT_EQ(t.filas[0].jinete, "J. ORTIZ");
    EXPECT_TRUE(t.filas[0].jineteVisible);
    EXPECT_FALSE(t.filas[1].jineteVisible);
    EXPECT_TRUE(t.filas[2].jineteVisible);
    EXPECT_TRUE(t.filas[0].dinamica.isEmpty());
    EXPECT_EQ(t.total2, "20000");
}

TEST_F(VisorDb, ComprobacionDelUsuario) {
    using E = ComprobacionUsuario::Estado;
    EXPECT_EQ(comprobarUsuario(ctx).estado, E::Activo);
    ctx.sesion.usuario = QStringLiteral("visor2");
    EXPECT_EQ(comprobarUsuario(ctx).estado, E::Suspendido);
    ctx.sesion.usuario = QStringLiteral("nadie' OR '1'='1");
    EXPECT_EQ(comprobarUsuario(ctx).estado, E::Desconocido);
}

} // namespace
