// The report screens' statements and rows on the recording fake, and the report files.
#include "definicion.h"
#include "entorno_falso.h"
#include "procesos.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

// A process as its screen runs it: its message is shown once it is over.
ResultadoProceso mostrado(Contexto &ctx, ResultadoProceso r) {
    mostrarAviso(ctx.dialogos, r);
    return r;
}

const QDate W(2026, 1, 3);    // working date
const QDate AYER(2026, 1, 2); // an archived day

struct Entorno : EntornoFalso {
    BdFalsa *local = nullptr;
    explicit Entorno(const char *nivel = "Supervisor") {
        ctx.conexion_local = fabrica.abrir("local");
        local = fabrica.abiertas.back();
        ctx.sesion.grupo = "G01";
        ctx.sesion.ch = "CENTRO UNO";
        ctx.sesion.nivel = nivel;
        ctx.sesion.id_moneda = 1;
        ctx.sesion.cadena_central = "server=central";
        ctx.rs_juegos = tabla({"id_juego", "juego"},
                              {{"1", "TABLAS DINAMICAS"}, {"2", "TABLA FIJA"}, {"3", "LOS PUESTOS"}});
        ctx.rs_grupos = tabla({"grupo", "ch"}, {{"G01", "CENTRO UNO"}, {"G02", "AGENCIA DOS"}});
        db->responder("select * from configuracion", fila({{"fecha", "2026-01-03"}}));
    }
    // Central statements after the settings were read.
    QStringList central() const { return db->sentencias; }
};

enum class Pantalla { Ventas, Taquillas, Carreras };

ResultadoProceso correr(Pantalla p, Contexto &ctx, const FiltroReporte &f) {
    switch (p) {
    case Pantalla::Ventas:
        return mostrado(ctx, procesarVentas(ctx, f));
    case Pantalla::Taquillas:
        return mostrado(ctx, procesarCuadreTaquillas(ctx, f));
    case Pantalla::Carreras:
        return mostrado(ctx, procesarResultadosCarreras(ctx, f));
    }
    return {};
}

// One row for every statement a process runs, dated `dia`.
void responderFilas(BdFalsa &db, const QDate &dia) {
    const QString d = dia.toString("yyyy-MM-dd");
    db.responder("select * FROM ventas_general",
                 tabla({"fecha", "grupo", "venta", "premios", "saldo", "monto_porpagar"},
                       {{d, "G01", "1000", "300", "700", "50"}}));
    db.responder("select grupo as grupo", tabla({"grupo", "venta", "fecha"}, {{"G01", "800", d}}));
    db.responder("SELECT sum(cobrado) as monto_cobrado", fila({{"monto_cobrado", "120"}}));
    db.responder("SELECT sum(cobrado) as monto_porpagar", fila({{"monto_porpagar", "30"}}));
    db.responder("select m.taquilla", tabla({"taquilla", "venta", "fecha"}, {{"taq1", "500", d}}));
    db.responder("SELECT v.carrera,sum(v.monto)",
                 tabla({"carrera", "jugado", "grupo"}, {{"5", "640", "G01"}}));
    db.responder("SELECT v.carrera,sum(v.cobrado) as monto_cobrado",
                 fila({{"carrera", "5"}, {"monto_cobrado", "100"}}));
    db.responder("SELECT v.carrera,sum(v.cobrado) as monto_porpagar",
                 fila({{"carrera", "5"}, {"monto_porpagar", "40"}}));
}

struct Caso {
    const char *nombre;
    Pantalla pantalla;
    QDate desde, hasta;
    const char *juego;
    QStringList central;
    const char *insercion; // the local INSERT
};

const char *kConf = "select * from configuracion";

const Caso kCasos[] = {
    {"ventas_archivo_todos",
     Pantalla::Ventas,
     AYER,
     AYER,
     "TODOS",
     {kConf, "select * FROM ventas_general where fecha between '2026-01-02' and '2026-01-02'  and grupo = "
             "'G01'  and "
             "id_moneda  = '1' "},
     "INSERT INTO `rpt_diario` "
     "(`ch`,`venta`,`fecha`,`chipico`,`saldo`,`premios`,`fecha_inicio`,`fecha_final`,"
     "`monto_porpagar`,`juego`) VALUES ('CENTRO UNO','1000','2026-01-02','CENTRO "
     "UNO','650','300','02-01-2026',"
     "'02-01-2026','50','TODOS')"},
    {"ventas_archivo_juego",
     Pantalla::Ventas,
     AYER,
     AYER,
     "TABLA FIJA",
     {kConf, "select * FROM ventas_general where fecha between '2026-01-02' and '2026-01-02'  and grupo = "
             "'G01'   and "
             "id_juego = '2'  and id_moneda  = '1'"},
     nullptr},
    {"ventas_hoy_todos",
     Pantalla::Ventas,
     W,
     W,
     "",
     {kConf,
      "select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal  where  fecha =  '2026-01-03' and "
      "grupo = "
      "'G01'  and id_moneda  = '1' group by grupo,fecha",
      "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 OR estatus=3) and grupo='G01' "
      "and "
      "fecha  = '2026-01-03'  and id_moneda  = '1'",
      "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 OR estatus=4 OR estatus=5) "
      "and "
      "grupo='G01' and fecha=  '2026-01-03'  and id_moneda  = '1'"},
     "INSERT INTO `rpt_diario` "
     "(`ch`,`venta`,`fecha`,`chipico`,`saldo`,`premios`,`fecha_inicio`,`fecha_final`,"
     "`monto_porpagar`,`juego`) VALUES ('CENTRO UNO','800','2026-01-03','CENTRO "
     "UNO','650','120','03-01-2026',"
     "'03-01-2026','30','TODOS')"},
    {"ventas_hoy_juego",
     Pantalla::Ventas,
     W,
     W,
     "TABLA FIJA",
     {kConf,
      "select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal  where  fecha =  '2026-01-03' and "
      "grupo = "
      "'G01'  and id_juego = '2'  and id_moneda  = '1' group by grupo,fecha",
      "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 OR estatus=3) and grupo='G01' "
      "and "
      "fecha  = '2026-01-03' and id_juego = '2'  and id_moneda  = '1'",
      "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 OR estatus=4  OR estatus=5) "
      "and "
      "grupo='G01' and fecha=  '2026-01-03'  and id_juego = '2'  and id_moneda  = '1'"},
     nullptr},
    {"taquillas_archivo_todos",
     Pantalla::Taquillas,
     AYER,
     AYER,
     "TODOS",
     {kConf,
      "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ventas m where m.fecha =  "
      "'2026-01-02' and "
      "m.grupo = 'G01'   and m.id_moneda  = '1' group by m.taquilla,m.fecha;",
      "SELECT sum(cobrado) as monto_cobrado FROM ventas where (estatus=2 OR estatus=3) and taquilla='taq1' "
      "and "
      "fecha  = '2026-01-02'   and id_moneda  = '1'",
      "SELECT sum(cobrado) as monto_porpagar FROM ventas where (estatus=1 OR estatus=4 OR estatus=5) and "
      "taquilla='taq1' and fecha  = '2026-01-02'  and id_moneda  = '1'"},
     "INSERT INTO `rpt_resultadostaqs` (`taquilla`,`jugado`,`fecha`,`ch`,`cobrado`,`monto_porpagar`,`total`,"
     "`juego`) VALUES ('taq1','500','02-01-2026','CENTRO UNO','120','30','350','TODOS')"},
    {"taquillas_archivo_juego",
     Pantalla::Taquillas,
     AYER,
     AYER,
     "TABLA FIJA",
     {kConf,
      "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ventas m where m.fecha =  "
      "'2026-01-02' and "
      "m.grupo = 'G01' and m.id_juego = '2'  and m.id_moneda  = '1'    group by m.taquilla,m.fecha;",
      "SELECT sum(cobrado) as monto_cobrado FROM ventas where (estatus=2 OR estatus=3) and taquilla='taq1' "
      "and "
      "fecha  = '2026-01-02'  and id_juego = '2'  and id_moneda  = '1'",
      "SELECT sum(cobrado) as monto_porpagar FROM ventas where (estatus=1 OR estatus=4 OR estatus=5) and "
      "taquilla='taq1' and fecha  = '2026-01-02'  and id_juego = '2'  and id_moneda  = '1'"},
     nullptr},
    {"taquillas_hoy_todos",
     Pantalla::Taquillas,
     W,
     W,
     "TODOS",
     {kConf,
      "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal m where m.fecha =  "
      "'2026-01-03' and m.grupo = 'G01'   and m.id_moneda  = '1'  group by m.taquilla,m.fecha;",
      "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 OR estatus=3) and "
      "taquilla='taq1' "
      "and fecha  = '2026-01-03'  and id_moneda  = '1'",
      "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 OR estatus=4 OR estatus=5) "
      "and "
      "taquilla='taq1' and fecha  = '2026-01-03'  and id_moneda  = '1'"},
     nullptr},
    {"taquillas_hoy_juego",
     Pantalla::Taquillas,
     W,
     W,
     "TABLA FIJA",
     {kConf,
      "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal m where m.fecha =  "
      "'2026-01-03' and m.grupo = 'G01'  and m.id_juego = '2'  and m.id_moneda  = '1'   group by "
      "m.taquilla,m.fecha;",
      "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 OR estatus=3) and "
      "taquilla='taq1' "
      "and fecha  = '2026-01-03' and id_juego = '2'  and id_moneda  = '1'",
      "SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 OR estatus=4 OR estatus=5) "
      "and "
      "taquilla='taq1' and fecha  = '2026-01-03' and id_juego = '2'  and id_moneda  = '1'"},
     "INSERT INTO `rpt_resultadostaqs` (`taquilla`,`jugado`,`fecha`,`ch`,`cobrado`,`monto_porpagar`,`total`,"
     "`juego`) VALUES ('taq1','500','03-01-2026','CENTRO UNO','120','30','350','TABLA FIJA')"},
    {"carreras_archivo_todos",
     Pantalla::Carreras,
     AYER,
     AYER,
     "TODOS",
     {kConf,
      "SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ventas v where v.fecha  = '2026-01-02' and "
      "v.grupo='G01'  and v.id_moneda  = '1'  group by  v.carrera,v.grupo",
      "SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ventas v where (estatus=2 OR estatus=3)  and "
      "v.grupo='G01' and fecha  = '2026-01-02' and  carrera = '5'  and v.id_moneda  = '1'  group by  "
      "v.carrera",
      "SELECT v.carrera,sum(v.cobrado) as monto_porpagar FROM ventas v where (estatus=1 OR estatus=4  OR "
      "estatus=5)  "
      "and v.grupo='G01' and fecha  = '2026-01-02' and  carrera = '5'  and v.id_moneda  = '1' group by  "
      "v.carrera"},
     "INSERT INTO `rpt_resultadoscarreras` "
     "(`ch`,`fecha`,`carrera`,`jugado`,`cobrado`,`monto_porpagar`,`total`,"
     "`juego`) VALUES ('CENTRO UNO','02-01-2026','5','640','100','40','500','TODOS')"},
    {"carreras_archivo_juego",
     Pantalla::Carreras,
     AYER,
     AYER,
     "TABLA FIJA",
     {kConf,
      "SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ventas v where v.fecha  = '2026-01-02' and "
      "v.grupo='G01'  and v.id_juego = '2'  and v.id_moneda  = '1' group by  v.carrera,v.grupo",
      "SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ventas v where (estatus=2 OR estatus=3)  and "
      "v.grupo='G01' and fecha  = '2026-01-02' and  carrera = '5' and v.id_juego = '2'  and v.id_moneda  = "
      "'1' "
      "group by  v.carrera",
      "SELECT v.carrera,sum(v.cobrado) as monto_porpagar FROM ventas v where (estatus=1 OR estatus=4  OR "
      "estatus=5)  "
      "and v.grupo='G01' and fecha  = '2026-01-02' and  carrera = '5'and v.id_juego = '2'  and v.id_moneda  "
      "= '1'  "
      "group by  v.carrera"},
     nullptr},
    {"carreras_hoy_todos",
     Pantalla::Carreras,
     W,
     W,
     "TODOS",
     {kConf,
      "SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ma_principal v where v.fecha  = '2026-01-03' "
      "and "
      "v.grupo='G01'  and v.id_moneda  = '1' group by  v.carrera,v.grupo",
      "SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ma_principal v where (estatus=2 OR estatus=3)  "
      "and "
      "v.grupo='G01' and fecha  = '2026-01-03'and carrera ='5'  and v.id_moneda  = '1'  group by  v.carrera",
      "SELECT v.carrera,sum(v.cobrado) as monto_porpagar FROM ma_principal v where (estatus=1 OR estatus=4 "
      "OR "
      "estatus=5)  and v.grupo='G01' and fecha  = '2026-01-03'and carrera ='5'  and v.id_moneda  = '1' group "
      "by  "
      "v.carrera"},
     nullptr},
    {"carreras_hoy_juego",
     Pantalla::Carreras,
     W,
     W,
     "TABLA FIJA",
     {kConf,
      "SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ma_principal v where v.fecha  = '2026-01-03' "
      "and "
      "v.grupo='G01' and v.id_juego = '2'  and v.id_moneda  = '1' group by  v.carrera,v.grupo",
      "SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ma_principal v where (estatus=2 OR estatus=3)  "
      "and "
      "v.grupo='G01' and fecha  = '2026-01-03'and carrera ='5' and v.id_juego = '2'  and v.id_moneda  = '1' "
      "group "
      "by  v.carrera",
      "SELECT v.carrera,sum(v.cobrado) as monto_porpagar FROM ma_principal v where (estatus=1 OR estatus=4 "
      "OR "
      "estatus=5)  and v.grupo='G01' and fecha  = '2026-01-03'and carrera ='5' and v.id_juego = '2'  and "
      "v.id_moneda  = '1' group by  v.carrera"},
     "INSERT INTO `rpt_resultadoscarreras` "
     "(`ch`,`fecha`,`carrera`,`jugado`,`cobrado`,`monto_porpagar`,`total`,"
     "`juego`) VALUES ('CENTRO UNO','03-01-2026','5','640','100','40','500','TABLA FIJA')"},
};

const char *tablaDe(Pantalla p) {
    switch (p) {
    case Pantalla::Ventas:
        return "rpt_diario";
    case Pantalla::Taquillas:
        return "rpt_resultadostaqs";
    case Pantalla::Carreras:
        return "rpt_resultadoscarreras";
    }
    return "";
}

class Sentencias : public ::testing::TestWithParam<Caso> {};

TEST_P(Sentencias, CentralYLocal) {
    const Caso &c = GetParam();
    Entorno e;
    responderFilas(*e.db, c.desde);
    const ResultadoProceso r = correr(c.pantalla, e.ctx, {c.desde, c.hasta, "", c.juego});
    EXPECT_EQ(e.central(), c.central);
    const QString t = QString::fromLatin1(tablaDe(c.pantalla));
    ASSERT_EQ(e.local->sentencias.size(), 3);
    EXPECT_EQ(e.local->sentencias[0], "DELETE from " + t);
    EXPECT_EQ(e.local->sentencias[1], "select * from " + t);
    if (c.insercion) {
        EXPECT_EQ(e.local->sentencias[2], QString::fromLatin1(c.insercion));
    }

    EXPECT_EQ(r.filas, 1);
    EXPECT_TRUE(r.imprimir);
    EXPECT_TRUE(e.dialogos.textos.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Reportes, Sentencias, ::testing::ValuesIn(kCasos),
                         [](const auto &info) { return std::string(info.param.nombre); });

TEST(Ventas, RangoHastaHoyLeeAntesLosDiasCerradosYMuestraLasSentencias) {
    Entorno e;
    responderFilas(*e.db, W);
    const ResultadoProceso r = mostrado(e.ctx, procesarVentas(e.ctx, {AYER, W, "", "TODOS"}));
    ASSERT_EQ(e.central().size(), 5);
    EXPECT_TRUE(e.central()[1].startsWith("select * FROM ventas_general where fecha between '2026-01-02' and "
                                          "'2026-01-03'"));
    EXPECT_TRUE(e.central()[2].startsWith("select grupo as grupo"));
    EXPECT_EQ(r.Text1, e.central()[1]);
    EXPECT_EQ(r.Text2, e.central()[2]);
    EXPECT_EQ(r.Text3, e.central()[3]);
    EXPECT_EQ(r.filas, 2);
}

TEST(Ventas, UnRangoQuePasaDeHoyIncluyeElDiaDeTrabajo) {
    Entorno e;
    responderFilas(*e.db, W);
    mostrado(e.ctx, procesarVentas(e.ctx, {AYER, W.addDays(5), "", "TODOS"}));
    ASSERT_EQ(e.central().size(), 5);
    EXPECT_EQ(e.central()[2],
              "select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal  where  fecha =  "
              "'2026-01-03' and grupo = 'G01'  and id_moneda  = '1' group by grupo,fecha");
}

TEST(Ventas, DespuesDeHoyNoHaySentenciasYSeAvisa) {
    Entorno e;
    const ResultadoProceso r = mostrado(e.ctx, procesarVentas(e.ctx, {W.addDays(1), W.addDays(2), "", ""}));
    EXPECT_EQ(e.central(), QStringList{kConf});
    EXPECT_EQ(e.dialogos.textos, QStringList{"No se encontro Ningun registro"});
    EXPECT_EQ(e.dialogos.titulos, QStringList{" Busqueda "});
    EXPECT_FALSE(r.imprimir);
    EXPECT_EQ(e.local->sentencias, (QStringList{"DELETE from rpt_diario", "select * from rpt_diario"}));
}

TEST(Ventas, SumasNulasONegativasCuentanCero) {
    Entorno e;
    responderFilas(*e.db, W);
    e.db->responder("SELECT sum(cobrado) as monto_cobrado", tabla({"monto_cobrado"}, {{}}));
    e.db->responder("SELECT sum(cobrado) as monto_porpagar", fila({{"monto_porpagar", "-5"}}));
    mostrado(e.ctx, procesarVentas(e.ctx, {W, W, "", ""}));
    EXPECT_TRUE(
        e.local->sentencias[2].endsWith("VALUES ('CENTRO UNO','800','2026-01-03','CENTRO UNO','800','0',"
                                        "'03-01-2026','03-01-2026','0','TODOS')"));
}

TEST(Filtros, UnJuegoDesconocidoDejaElIdVacioYUnValorConComillasNoRompeLaSentencia) {
    Entorno e;
    e.ctx.sesion.grupo = "G0'1";
    mostrado(e.ctx, procesarCuadreTaquillas(e.ctx, {W, W, "", "NO EXISTE"}));
    EXPECT_EQ(e.central()[1],
              "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal m "
              "where m.fecha =  '2026-01-03' and m.grupo = 'G0\\'1'  and m.id_juego = ''  and "
              "m.id_moneda  = '1'   group by m.taquilla,m.fecha;");
}

TEST(Filtros, LaMonedaDeLaSesionEntraEnLasSentencias) {
    Entorno e;
    e.ctx.sesion.id_moneda = 2;
    mostrado(e.ctx, procesarResultadosCarreras(e.ctx, {W, W, "", "TODOS"}));
    EXPECT_TRUE(e.central()[1].contains("v.id_moneda  = '2'"));
}

class FechaPosterior : public ::testing::TestWithParam<Pantalla> {};

TEST_P(FechaPosterior, VaciaLaTablaYSoloAvisa) {
    Entorno e;
    const ResultadoProceso r = correr(GetParam(), e.ctx, {W.addDays(1), W.addDays(1), "", ""});
    EXPECT_EQ(e.central(), QStringList{kConf});
    EXPECT_EQ(e.dialogos.textos, QStringList{" La fecha debe ser menor ó igual a las ventas registradas"});
    EXPECT_EQ(e.dialogos.titulos, QStringList{"Validación de Datos"});
    EXPECT_EQ(e.local->sentencias.size(), 2);
    EXPECT_FALSE(r.imprimir);
}

INSTANTIATE_TEST_SUITE_P(Reportes, FechaPosterior,
                         ::testing::Values(Pantalla::Taquillas, Pantalla::Carreras));

TEST(Fallas, CadaPantallaAvisaYEscondeElBotonDeImpresion) {
    struct {
        Pantalla p;
        const char *falla;
        bool reconecta;
    } casos[] = {{Pantalla::Ventas, "select grupo", false},
                 {Pantalla::Taquillas, "SELECT sum(cobrado) as monto_porpagar", false},
                 {Pantalla::Carreras, "SELECT v.carrera,sum(v.cobrado) as monto_porpagar", true}};
    for (const auto &c : casos) {
        Entorno e;
        responderFilas(*e.db, W);
        e.db->fallar(c.falla);
        const ResultadoProceso r = correr(c.p, e.ctx, {W, W, "", ""});
        EXPECT_TRUE(r.fallo) << c.falla;
        EXPECT_FALSE(r.imprimir);
        EXPECT_EQ(e.dialogos.textos, QStringList{"INTENTE NUEVAMENTE "});
        EXPECT_EQ(e.dialogos.titulos, QStringList{"ADMINISTRACION DEL SISTEMA"});
        // Nothing half-done is left for the viewer: the rows go in only when every sum was read.
        EXPECT_EQ(e.local->sentencias.size(), 2);
        EXPECT_EQ(e.fabrica.cadenas.contains("server=central"), c.reconecta) << c.falla;
    }
}

struct CasoBitacora {
    const char *nombre;
    const char *nivel;
    const char *centro;
    const char *sql;
};

const CasoBitacora kBitacora[] = {
    {"supervisor", "Supervisor", "",
     "Select * from bitacora where fecha between '2026-01-01' and '2026-01-03' and grupo ='G01' order by "
     "numero desc "},
    {"socio_TODOS", "Socio", "TODOS",
     "Select * from bitacora where fecha between '2026-01-01' and '2026-01-03' and grupo = 'G01' and "
     "estatus=5 order "
     "by numero desc "},
    {"socio_Todos", "Socio", "Todos",
     "Select * from bitacora where fecha between '2026-01-01' and '2026-01-03' and grupo = 'G01' and "
     "estatus=5 order "
     "by numero desc "},
    {"socio_otro_centro", "Socio", "AGENCIA DOS",
     "Select * from bitacora where fecha between '2026-01-01' and '2026-01-03' and grupo = 'G01' and "
     "estatus=5 and "
     "grupo ='G02' order by numero desc "},
    {"socio_sin_centro", "Socio", "",
     "Select * from bitacora where fecha between '2026-01-01' and '2026-01-03' and grupo = 'G01' and "
     "estatus=5 and "
     "grupo ='G01' order by numero desc "},
};

class Bitacora : public ::testing::TestWithParam<CasoBitacora> {};

TEST_P(Bitacora, SentenciaPorNivel) {
    Entorno e(GetParam().nivel);
    const ResultadoProceso r =
        mostrado(e.ctx, procesarBitacora(e.ctx, {QDate(2026, 1, 1), W, GetParam().centro, ""}));
    EXPECT_EQ(e.central(), QStringList{QString::fromLatin1(GetParam().sql)});
    EXPECT_EQ(e.local->sentencias, (QStringList{"DELETE from rpt_bitacora", "select * from rpt_bitacora"}));
    EXPECT_EQ(e.dialogos.textos, QStringList{"No se encontro Ningun registro"});
    EXPECT_FALSE(r.imprimir);
}

INSTANTIATE_TEST_SUITE_P(Reportes, Bitacora, ::testing::ValuesIn(kBitacora),
                         [](const auto &info) { return std::string(info.param.nombre); });

TEST(Bitacora, CopiaLasEntradasEnSuOrdenConLaFechaQueAceptaLaTabla) {
    Entorno e;
    e.db->responder(
        "Select * from bitacora",
        tabla({"numero", "carrera", "caballo", "tablas", "monto", "taquilla", "grupo", "hora", "nu_boleto",
               "cobrado", "motivo", "usuario", "tipo_motivo", "estatus", "fecha"},
              {{"41", "3", "7", "2", "40", "taq1", "G01", "10:15:00", "20103041", "0", "ERROR DE CABALLO",
                "super1", "ANULACION", "5", "2026-01-03"},
               {"12", "1", "2", "0", "15.5", "taquilla-de-nombre-largo", "G01", "09:00:00", "30103012", "0",
                "O'Higgins", "supervisor_largo", "ANULACION", "5", "2026-01-02"}}));
    const ResultadoProceso r = mostrado(e.ctx, procesarBitacora(e.ctx, {QDate(2026, 1, 1), W, "", ""}));
    EXPECT_EQ(r.filas, 2);
    EXPECT_TRUE(r.imprimir);
    ASSERT_EQ(e.local->sentencias.size(), 3);
    EXPECT_EQ(
        e.local->sentencias[2],
        "INSERT INTO `rpt_bitacora` (`numero`,`carrera`,`caballo`,`tablas`,`monto`,`taquilla`,`grupo`,`hora`,"
        "`nu_boleto`,`cobrado`,`motivo`,`usuario`,`tipo_motivo`,`estatus`,`fecha`,`fecha_inicio`,`fecha_"
        "final`) "
        "VALUES ('41','3','7','2','40','taq1','G01','10:15:00','20103041','0','ERROR DE CABALLO','super1',"
        "'ANULACION','5','2026-01-03','01-01-2026','03-01-2026'),('12','1','2','0','15.5','taquilla-de-nom',"
        "'G01','09:00:00','30103012','0','O\\'Higgins','supervisor','ANULACION','5','2026-01-02','01-01-2026'"
        ","
        "'03-01-2026')");
}

TEST(Bitacora, UnaSentenciaFallidaDejaLasFilasAnterioresReconectaYAvisa) {
    Entorno e;
    e.db->fallar("Select * from bitacora");
    const ResultadoProceso r = mostrado(e.ctx, procesarBitacora(e.ctx, {W, W, "", ""}));
    EXPECT_TRUE(e.local->sentencias.isEmpty());
    EXPECT_EQ(e.fabrica.cadenas.last(), "server=central");
    EXPECT_EQ(e.dialogos.textos, QStringList{"INTENTE NUEVAMENTE "});
    EXPECT_EQ(e.dialogos.titulos, QStringList{"SISTEMA"});
    EXPECT_FALSE(r.imprimir);
}

TEST(BaseLocal, SeAbreCuandoElIngresoNoLaAbrioYSeOfreceCrearlaCuandoFalta) {
    Entorno e("Socio");
    e.ctx.conexion_local.reset();
    e.ctx.cadenaLocal = "server=local;database=bd_corvalo;";
    mostrado(e.ctx, procesarBitacora(e.ctx, {W, W, "", "TODOS"}));
    EXPECT_TRUE(e.fabrica.cadenas.contains("server=local;database=bd_corvalo;"));
    ASSERT_TRUE(e.ctx.conexion_local);
    EXPECT_EQ(e.fabrica.abiertas.back()->sentencias.first(), "select * from rpt_diario");

    // No database on a server that answers: its creation is offered.
    Entorno sin("Socio");
    sin.ctx.conexion_local.reset();
    sin.fabrica.falla = true;
    sin.fabrica.codigoFalla = 1049;
    sin.dialogos.respuestas = {Respuesta::No}; // the creation is declined
    const ResultadoProceso r = mostrado(sin.ctx, procesarVentas(sin.ctx, {W, W, "", ""}));
    EXPECT_EQ(sin.dialogos.textos,
              (QStringList{"Este Usuario Requiere crear las credenciales para los reportes "
                           "desea hacerlo? ",
                           "La base de datos local de reportes no se ha creado: los reportes no estarán "
                           "disponibles hasta crearla."}));
    EXPECT_TRUE(r.fallo);
    EXPECT_TRUE(sin.db->sentencias.isEmpty());

    // No server: no offer, the reason.
    Entorno caido("Socio");
    caido.ctx.conexion_local.reset();
    caido.fabrica.falla = true;
    EXPECT_TRUE(mostrado(caido.ctx, procesarBitacora(caido.ctx, {W, W, "", "TODOS"})).fallo);
    ASSERT_EQ(caido.dialogos.textos.size(), 1);
    EXPECT_EQ(caido.dialogos.textos[0],
              "Los reportes necesitan la base de datos local de reportes (bd_corvalo), que no se pudo "
              "abrir:\nservidor inalcanzable");
    EXPECT_EQ(caido.dialogos.titulos[0], "BASE DE DATOS LOCAL");
}

// A local connection the server no longer knows is opened again before the next process.
TEST(BaseLocal, UnaConexionPerdidaSeAbreDeNuevo) {
    Entorno e;
    BdFalsa *vieja = e.local;
    vieja->perdidaFalsa = true;
    const ResultadoProceso r = mostrado(e.ctx, procesarCuadreTaquillas(e.ctx, {W, W, "", ""}));
    EXPECT_FALSE(r.fallo);
    EXPECT_TRUE(vieja->sentencias.isEmpty());
    EXPECT_EQ(e.fabrica.abiertas.back()->sentencias.first(), "select * from rpt_diario");
    EXPECT_TRUE(e.fabrica.abiertas.back()->sentencias.contains("DELETE from rpt_resultadostaqs"));
}

class Cancelar : public Progreso {
public:
    bool avanzar(int, int) override { return false; }
};

TEST(Progreso, CancelarDejaLaTablaVaciaSinMensaje) {
    Entorno e;
    responderFilas(*e.db, W);
    Cancelar c;
    const ResultadoProceso r = mostrado(e.ctx, procesarCuadreTaquillas(e.ctx, {W, W, "", ""}, &c));
    EXPECT_TRUE(r.cancelado);
    EXPECT_FALSE(r.imprimir);
    EXPECT_EQ(e.local->sentencias.size(), 2);
    EXPECT_TRUE(e.dialogos.textos.isEmpty());
}

// --- Report files ---

TEST(ArchivosDeReporte, CadaTipoTieneSuArchivoYTodosSeLeen) {
    EXPECT_EQ(archivoReporte(2), "bitacora_tickets.rpt");
    EXPECT_EQ(archivoReporte(3), "resultados_taq.rpt");
    EXPECT_EQ(archivoReporte(4), "resultados_carreras.rpt");
    EXPECT_EQ(archivoReporte(5), "diario.rpt");
    EXPECT_EQ(archivoReporte(6), "jugadas.rpt");
    EXPECT_EQ(archivoReporte(7), "");
    const QStringList tablas{
        "", "", "rpt_bitacora", "rpt_resultadostaqs", "rpt_resultadoscarreras", "rpt_diario", "rpt_jugadas"};
    for (int t = 2; t <= 6; ++t) {
        const DefinicionReporte d =
            leerArchivoReporte(QStringLiteral(CORVALO_SOURCE_DIR "/Reportes/") + archivoReporte(t));
        EXPECT_EQ(d.tabla, tablas[t]);
        ASSERT_EQ(d.parametros.size(), 2);
        EXPECT_EQ(d.parametros[0].nombre, "Parametro1");
        EXPECT_TRUE(d.parametros[1].entero);
    }
    try {
        leerArchivoReporte("/no/such/dir/diario.rpt");
        ADD_FAILURE() << "no failure";
    } catch (const ErrorReporte &e) {
        EXPECT_TRUE(e.faltante);
    }
}

TEST(ArchivosDeReporte, UnaLineaMalaSeNombra) {
    const struct {
        const char *texto;
        const char *falla;
    } casos[] = {
        {"tabla: rpt_diario\ncolumna: venta | VENTA | moneda | 10",
         "línea 2: formato desconocido \"moneda\""},
        {"tabla: rpt_diario; drop table x\ncolumna: a | A | texto | 1", "línea 1: nombre de tabla no válido"},
        {"tabla: t\ncolumna: a | A | texto | 1 | suma", "línea 2: solo se suman columnas numéricas"},
        {"tabla: t\n\n# nota\nmarco: si", "línea 4: clave desconocida \"marco\""},
        {"titulo: X", "el reporte no nombra su tabla"},
    };
    for (const auto &c : casos) {
        try {
            leerDefinicion(QString::fromUtf8(c.texto));
            ADD_FAILURE() << c.texto;
        } catch (const ErrorReporte &e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QString::fromUtf8(c.falla));
        }
    }
}

TEST(Maqueta, GruposSubtotalesTotalYFormatos) {
    const DefinicionReporte d = leerDefinicion(QString::fromUtf8(
        "titulo: VENTAS {ch}\ntabla: t\norden: id\nsubtitulo: Moneda {moneda} {nada}\ngrupo: taquilla | "
        "Taquilla "
        "{taquilla}\n"
        "columna: fecha | FECHA | fecha | 10\ncolumna: numero | NUM | entero | 5\n"
        "columna: monto | MONTO | dinero | 10 | suma\ncolumna: motivo | MOTIVO | texto | 20 | cuenta\n"
        "total: TOTAL\npie: {registros} boletos"));
    EXPECT_EQ(sentenciaReporte(d), "select * from t order by taquilla,id");
    const Resultado filas = tabla({"id", "ch", "taquilla", "fecha", "numero", "monto", "motivo"},
                                  {{"1", "CENTRO", "taq1", "2026-01-03", "1234", "1234.5", "A"},
                                   {"2", "CENTRO", "taq1", "2026-01-03", "7", "10", "B, C"},
                                   {"3", "CENTRO", "taq3", "2026-01-02", "8", "0.25", "\"D\""}});
    const Maqueta m = maquetar(d, filas, {{"moneda", "BS"}});
    EXPECT_EQ(m.titulo, "VENTAS CENTRO");
    EXPECT_EQ(m.subtitulos, QStringList{"Moneda BS "});
    EXPECT_EQ(m.pie, "3 boletos");
    QStringList vista;
    for (const LineaReporte &l : m.lineas)
        vista << (l.tipo == LineaReporte::Tipo::Grupo ? "G " + l.texto : l.celdas.join('|'));
    EXPECT_EQ(vista,
              (QStringList{"G Taquilla taq1", "03-01-2026|1.234|1.234,50|A", "03-01-2026|7|10,00|B, C",
                           "Total Taquilla taq1||1.244,50|2", "G Taquilla taq3", "02-01-2026|8|0,25|\"D\"",
                           "Total Taquilla taq3||0,25|1", "TOTAL||1.244,75|3"}));
    EXPECT_EQ(csvDe(m),
              QByteArray("\xEF\xBB\xBF"
                         "FECHA;NUM;MONTO;MOTIVO\r\n03-01-2026;1234;1234,50;A\r\n03-01-2026;7;10,00;B, "
                         "C\r\n02-01-2026;8;0,25;\"\"\"D\"\"\"\r\n"));
}

// For a spreadsheet in a Spanish locale: ";" between fields, decimal commas (negative amounts
// stay numbers), a ";" inside a text quoted, and typed text that starts like a formula shown as
// text.
TEST(Maqueta, CsvParaUnaHojaDeCalculoEnEspanol) {
    const DefinicionReporte d = leerDefinicion(
        "tabla: t\ncolumna: usuario | USUARIO | texto | 10\ncolumna: motivo | MOTIVO | texto | 20\n"
        "columna: monto | MONTO | dinero | 10 | suma\ncolumna: tablas | TABLAS | entero | 5");
    const Resultado filas = tabla({"usuario", "motivo", "monto", "tablas"},
                                  {{"@admin", "=HYPERLINK(\"http://x\";\"ver\")", "-80", "-2"},
                                   {"ana", "+34 duplicado", "1234.5", "3"},
                                   {"-luis", "error; repetido", "0.25", "1"},
                                   {"pedro", "CABALLO EQUIVOCADO", "7", "0"}});
    EXPECT_EQ(csvDe(maquetar(d, filas, {})),
              QByteArray("\xEF\xBB\xBF"
                         "USUARIO;MOTIVO;MONTO;TABLAS\r\n"
                         "'@admin;\"'=HYPERLINK(\"\"http://x\"\";\"\"ver\"\")\";-80,00;-2\r\n"
                         "ana;'+34 duplicado;1234,50;3\r\n"
                         "'-luis;\"error; repetido\";0,25;1\r\n"
                         "pedro;CABALLO EQUIVOCADO;7,00;0\r\n"));
}

// "totaliza": every row is listed, the totals add only the rows with the value.
TEST(Maqueta, TotalDeLasFilasConUnValor) {
    const DefinicionReporte d = leerDefinicion(
        "tabla: t\ntotaliza: estatus=5\ncolumna: estatus | ESTATUS | entero | 5\n"
        "columna: monto | MONTO | dinero | 10 | suma\ncolumna: nu_boleto | BOLETOS | texto | 10 | cuenta\n"
        "total: TOTAL ANULADO");
    const Resultado filas =
        tabla({"estatus", "monto", "nu_boleto"}, {{"5", "100", "A"}, {"3", "15", "B"}, {"5.0", "20", "C"}});
    const Maqueta m = maquetar(d, filas, {});
    ASSERT_EQ(m.lineas.size(), 4);
    EXPECT_EQ(m.lineas[1].celdas, (QStringList{"3", "15,00", "B"}));
    EXPECT_EQ(m.lineas.last().celdas, (QStringList{"TOTAL ANULADO", "120,00", "2"}));
    EXPECT_THROW(leerDefinicion("tabla: t\ntotaliza: estatus\ncolumna: a | A | texto | 5"), ErrorReporte);
}

TEST(Maqueta, SinFilasNoHayTotales) {
    const DefinicionReporte d =
        leerDefinicion("tabla: t\ncolumna: monto | MONTO | dinero | 10 | suma\nvacio: Nada que mostrar");
    const Maqueta m = maquetar(d, tabla({"monto"}, {}), {});
    EXPECT_TRUE(m.lineas.isEmpty());
    EXPECT_EQ(m.vacio, "Nada que mostrar");
}

} // namespace
