// The Los Puestos sale against the recording fake.
#include "codificacion.h"
#include "entorno_falso.h"
#include "impresion_falsa.h"
#include "venta_puestos.h"

#include <gtest/gtest.h>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

struct Ajustes {
    QString venta_pt = "1", carrera = "9", fecha = "2026-11-09", cab_max = "14", cupo_pt = "500",
            opcioncupopt = "0", min_vbs = "10", max_vdls = "100";
};

Resultado configuracion(const Ajustes &a) {
    return fila({{"fecha", a.fecha},
                 {"carrera", a.carrera},
                 {"venta_pt", a.venta_pt},
                 {"cab_max", a.cab_max},
                 {"cupo_pt", a.cupo_pt},
                 {"opcioncupopt", a.opcioncupopt},
                 {"min_vbs", a.min_vbs},
                 {"max_vdls", a.max_vdls},
                 {"empresa", "HIPICA"},
                 {"rif", "J-1"},
                 {"impresion_datos", "0"}});
}

// Horses 1..4 with the kinds 0.3, -4, 45, -1; limits 1000 in both currencies (horse 1: `limite1`).
Resultado carrera(const QString &limite1 = "1000") {
    const QStringList cols = {"caballo", "apuesta_max_pt", "apuesta_max_pt2", "estado_pt",   "estado_pt2",
                              "puesto",  "puesto2",        "retirado_pt",     "retirado_pt2"};
    return tabla(cols, {{"ALAZAN", limite1, limite1, "0", "0", "0.3", "0.3", "0", "0"},
                        {"BAYO", "1000", "1000", "0", "0", "-4", "-4", "0", "0"},
                        {"CASTAÑO", "1000", "1000", "0", "0", "45", "45", "0", "0"},
                        {"DORADO", "1000", "1000", "0", "0", "-1", "-1", "0", "0"}});
}

using Impresora = prueba::BoletosGrabados;

struct Banco : EntornoFalso {
    Ajustes ajustes;
    CupoCaballo cupo{};
    Impresora impresora;
    Banco() {
        ctx.sesion.usuario = "taq1";
        ctx.sesion.grupo = "G1";
        ctx.sesion.id_moneda = 1;
        ctx.sesion.impresion = 1;
        reloj.momento = QDateTime(QDate(2026, 11, 9), QTime(16, 0, 0));
        preparar();
    }
    void preparar() {
        db->responder("select * from configuracion", configuracion(ajustes));
        db->responder("SELECT * FROM carreras", carrera());
        db->responder("SELECT sum(monto)", fila({{"venta_ch", ""}}));
        db->siguienteId = 120; // the row's number comes with the INSERT's reply
    }
    ResultadoVenta vender(const QString &caballo, const QString &monto, const QString &moneda = "BS") {
        VentaPuestos v(ctx, cupo, &impresora);
        return v.procesar({"9", caballo, monto, 3, moneda});
    }
};

} // namespace

TEST(TipoPuesto, KindsAndTheirTexts) {
    struct Caso {
        double valor;
        QString t1, t2, codigo;
    };
    const std::vector<Caso> casos = {{0.1, "10/1", "10 A  1 ", "10/1"},
                                     {0.3, "10/3", "10 A  3 ", "10/3"},
                                     {0.5, "10/5", "10 A  5", "10/5"},
                                     {0.9, "10/9", "10 A  9 ", "10/9"},
                                     {-1, "1", "NINI", "1N"},
                                     {-2, "2", "NINI", "2N"},
                                     {-4, "4", "NINI", "4N"},
                                     {-5, "5", "NINI", "5N"},
                                     {1, "1", "PUESTO", "1"},
                                     {5, "5", "PUESTO", "5"},
                                     {12, "1 PUESTOS Y 2 NINI", "", "1P2N"},
                                     {22, "2 PUESTOS Y 2 NINI", "", "2P2N"},
                                     {23, "2 PUESTOS Y 3 NINI", "", "2P3N"},
                                     {33, "3 PUESTOS Y 3 NINI", "", "3P3N"},
                                     {34, "3 PUESTOS Y 4 NINI", "", "3P4N"},
                                     {44, "4 PUESTOS Y 4 NINI", "", "4P4N"},
                                     {45, "4 PUESTOS Y 5 NINI", "", "4P5N"},
                                     {55, "5 PUESTOS Y 5 NINI", "", "5P5N"},
                                     {0, "", "", ""},
                                     {6, "", "", ""},
                                     {-6, "", "", ""},
                                     {13, "", "", ""},
                                     {0.35, "", "", ""}};
    for (const auto &c : casos) {
        const TipoPuesto t = tipoPuesto(c.valor);
        EXPECT_EQ(t.texto1, c.t1) << c.valor;
        EXPECT_EQ(t.texto2, c.t2) << c.valor;
        EXPECT_EQ(t.codigo, c.codigo) << c.valor;
    }
}

TEST(VentaPuestos, RecordsWithTheExactStatements) {
    // Far from the horse's limit (100000, 500 a bet): no lock, six statements.
    Banco b;
    b.db->responder("SELECT * FROM carreras", carrera("100000"));
    const ResultadoVenta r = b.vender("1", "150");
    ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
    EXPECT_EQ(b.dialogos.textos, QStringList{"    10/3  10 A  3   AL CAB: 1    POR: 150,00  BS"});
    const QString nu = "31109120";
    const QStringList esperadas = {
        "select * from configuracion", "SELECT * FROM carreras where  carrera ='9' and fecha  = '2026-11-09'",
        "SELECT sum(monto) as venta_ch FROM ma_principal where caballo='1' and carrera ='9' and fecha  = "
        "'2026-11-09' and grupo = 'G1' and id_juego=3",
        "select * from configuracion",
        "INSERT INTO `ma_principal` VALUES "
        "(NULL,'9','1','150','0','0.3','taq1','G1','16:00:00','2026-11-09','0','0','0','','3','1','0','0','0'"
        ",'0');",
        // The keys: "31109120" scrambled under "1G131109120", "150G131109120" and "9G131109120".
        QStringLiteral("update ma_principal set "
                       "nu_boleto='31109120',llave1='\u00a4\u00b8\u00a2\u00a3\u00aa\u00a2\u00a2\u00a9',"
                       "llave2='\u00a4\u00a6\u00a1\u00b7\u00aa\u00a4\u00a3\u00a1',"
                       "llave3='\u00ac\u00b8\u00a2\u00a3\u00aa\u00a2\u00a2\u00a9' Where taquilla='taq1' and "
                       "numero = '120' "
                       "limit 1   ")};
    EXPECT_EQ(b.db->sentencias, esperadas);
    ASSERT_EQ(b.impresora.impresos.size(), 1u);
    EXPECT_EQ(b.impresora.impresos[0].codigo_puesto, QStringLiteral("10/3"));
    EXPECT_EQ(b.impresora.impresos[0].nu_boleto, nu);

    // -4 and 45: their texts in the confirmation, their kind written as it is.
    Banco c;
    c.vender("2", "20");
    EXPECT_EQ(c.dialogos.textos.last(), QStringLiteral("    4  NINI  AL CAB: 2    POR: 20,00  BS"));
    EXPECT_TRUE(c.db->sentencias.filter("INSERT INTO `").value(0).contains("'20','0','-4','taq1'"));
    Banco d;
    const ResultadoVenta r45 = d.vender("3", "20");
    EXPECT_EQ(d.dialogos.textos.last(),
              QStringLiteral("    4 PUESTOS Y 5 NINI    AL CAB: 3    POR: 20,00  BS"));
    EXPECT_EQ(d.impresora.impresos[0].codigo_puesto, QStringLiteral("4P5N"));
    Banco e;
    e.vender("4", "20");
    EXPECT_EQ(e.impresora.impresos[0].codigo_puesto, QStringLiteral("1N"));
}

TEST(VentaPuestos, RefusalsAndTheirOrder) {
    struct Caso {
        const char *nombre;
        QString caballo, monto, moneda;
        std::function<void(Banco &)> preparar;
        QString mensaje, titulo;
        CampoVenta foco;
    };
    const QString v = "VERIFIQUE E INTENTE DE NUEVO";
    const std::vector<Caso> casos = {
        {"minimum before cupo_pt", "1", "5", "BS",
         [](Banco &b) {
             b.ajustes.cupo_pt = "1";
             b.preparar();
         },
         "EL MONTO ES MENOR AL PERMITIDO EN BS", v, CampoVenta::Ninguno},
        {"empty amount stopped by the minimum",
         "1",
         "",
         "BS",
         {},
         "EL MONTO ES MENOR AL PERMITIDO EN BS",
         v,
         CampoVenta::Ninguno},
        {"empty amount with min_vbs 0", "1", "", "BS",
         [](Banco &b) {
             b.ajustes.min_vbs = "0";
             b.preparar();
         },
         "DEBE INGRESAR UN MONTO", v, CampoVenta::Monto},
        {"dollar maximum", "1", "101", "$", [](Banco &b) { b.ctx.sesion.id_moneda = 2; },
         "EL MONTO ES MAYOR AL PERMITIDO EN  $", v, CampoVenta::Ninguno},
        {"cupo_pt", "1", "501", "BS", {}, "EL MONTO ES MAYOR AL CUPO POR JUGADOR", v, CampoVenta::Monto},
        {"both currencies count", "1", "150", "$",
         [](Banco &b) {
             b.ctx.sesion.id_moneda = 2;
             b.ajustes.max_vdls = "1000";
             b.preparar();
             b.db->responder("SELECT sum(monto)", fila({{"venta_ch", "900"}}));
         },
         "EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: 100", v, CampoVenta::Monto},
        {"limit table: over the horse's column", "1", "1001", "BS",
         [](Banco &b) {
             b.ajustes.opcioncupopt = "1";
             b.preparar();
         },
         "LA JUGADA ES MAYOR A LA PERMITIDA", v, CampoVenta::Caballo},
        {"limit table: no row, nothing stored", "1", "50", "BS",
         [](Banco &b) {
             b.ajustes.opcioncupopt = "1";
             b.preparar();
         },
         "EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: 0", v, CampoVenta::Monto},
        {"sales closed", "1", "50", "BS",
         [](Banco &b) {
             b.ajustes.venta_pt = "0";
             b.preparar();
         },
         "LA CARRERA SE ENCUENTRA CERRADA", "VERIFIQUE LA INFORMACION", CampoVenta::Ninguno},
        {"other race", "1", "50", "BS",
         [](Banco &b) {
             b.ajustes.carrera = "8";
             b.preparar();
         },
         "EL NUMERO DE CARRERA NO ESTA PERMITIDO PARA LA VENTA", v, CampoVenta::Carrera},
    };
    for (const auto &c : casos) {
        Banco b;
        if (c.preparar)
            c.preparar(b);
        const ResultadoVenta r = b.vender(c.caballo, c.monto, c.moneda);
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Rechazada) << c.nombre;
        EXPECT_EQ(r.mensaje, c.mensaje) << c.nombre;
        EXPECT_EQ(r.titulo, c.titulo) << c.nombre;
        EXPECT_EQ(r.foco, c.foco) << c.nombre;
        EXPECT_TRUE(b.dialogos.textos.isEmpty()) << c.nombre;
    }
}

TEST(VentaPuestos, LimitTableAndChangesDuringTheConfirmation) {
    {
        Banco b;
        b.ajustes.opcioncupopt = "1";
        b.preparar();
        b.ctx.sesion.id_moneda = 2;
        QStringList cols = {"ch", "id_moneda"}, vals = {"G1", "2"};
        for (int i = 1; i <= 18; ++i) {
            cols << QStringLiteral("cab%1").arg(i);
            vals << (i == 1 ? "300" : "0");
        }
        b.db->responder("SELECT * FROM venta_cupo_pt", tabla(cols, {vals}));
        b.db->responder("SELECT sum(monto)", fila({{"venta_ch", "250"}}));
        const ResultadoVenta r = b.vender("1", "60", "$");
        EXPECT_EQ(r.mensaje, QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: 50"));
        EXPECT_EQ(b.db->sentencias.last(),
                  QStringLiteral("SELECT * FROM venta_cupo_pt where  ch  = 'G1' and id_moneda='2'"));
        EXPECT_EQ(b.vender("1", "50", "$").tipo, ResultadoVenta::Tipo::Registrada);
    }
    { // venta_pt closes while the clerk confirms
        Banco b;
        b.dialogos.alPreguntar = [&] {
            b.ajustes.venta_pt = "0";
            b.db->responder("select * from configuracion", configuracion(b.ajustes));
        };
        const ResultadoVenta r = b.vender("1", "50");
        EXPECT_EQ(r.mensaje, QStringLiteral("LA CARRERA SE ENCUENTRA CERRADA"));
        EXPECT_FALSE(b.db->sentencias.join("\n").contains("INSERT"));
    }
    { // "No"
        Banco b;
        b.dialogos.respuestas = {Respuesta::No};
        const ResultadoVenta r = b.vender("1", "50");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Cancelada);
        EXPECT_TRUE(r.limpiar);
    }
    { // a failure after the insert
        Banco b;
        b.db->fallar("update ma_principal");
        const ResultadoVenta r = b.vender("1", "50");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Fallida);
        EXPECT_EQ(r.mensaje, QStringLiteral("HUBO UN ERROR INTENTE NUEVAMENTE "));
        EXPECT_EQ(r.titulo, QStringLiteral("VERIFIQUE LA INFORMACION"));
        EXPECT_EQ(r.foco, CampoVenta::Carrera);
        EXPECT_TRUE(r.limpiar);
    }
}

TEST(VentaPuestos, WhateverReachesTheSaleOnlyAWholePositiveAmountIsSold) {
    // A negative row would lower the group's total on the horse.
    const std::pair<const char *, bool> casos[] = {
        {"-500", false}, {"0.5", false}, {"10.5", false}, {"50", true}};
    for (const auto &[monto, vende] : casos) {
        SCOPED_TRACE(monto);
        Banco b;
        const ResultadoVenta r = b.vender("1", monto);
        EXPECT_EQ(r.tipo, vende ? ResultadoVenta::Tipo::Registrada : ResultadoVenta::Tipo::Rechazada);
        if (!vende) {
            EXPECT_EQ(r.mensaje, QStringLiteral("EL MONTO NO ES VALIDO"));
            EXPECT_TRUE(b.db->sentencias.isEmpty() || b.db->sentencias.filter("INSERT INTO `").isEmpty());
        }
    }
}
