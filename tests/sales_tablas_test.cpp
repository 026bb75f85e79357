// The Tablas sale against the recording fake: statement texts, the order of the refusals,
// limits, the confirmation and what is left after a failure.
#include "codificacion.h"
#include "entorno_falso.h"
#include "filtros.h"
#include "impresion_falsa.h"
#include "venta_tablas.h"

#include <gtest/gtest.h>

using namespace corvalo;
using corvalo::prueba::BdFalsa;

namespace {

using Dialogo = prueba::DialogosGrabados;
using Hora = prueba::RelojFijo;
using SinMaquina = prueba::MaquinaFalsa;

using Impresora = prueba::BoletosGrabados;

struct Ajustes {
    QString modificar = "1", carrera = "3", fecha = "2026-01-03", cab_max = "14", apuesta_max_td = "20",
            apuesta_max_tf = "20", cupo_td_opcion = "0", cupo_tf_opcion = "0", min_vbs = "10",
            max_vdls = "100";
};

Resultado configuracion(const Ajustes &a) {
    return prueba::fila({{"fecha", a.fecha},
                         {"carrera", a.carrera},
                         {"modificar", a.modificar},
                         {"cab_max", a.cab_max},
                         {"apuesta_max_td", a.apuesta_max_td},
                         {"apuesta_max_tf", a.apuesta_max_tf},
                         {"cupo_td_opcion", a.cupo_td_opcion},
                         {"cupo_tf_opcion", a.cupo_tf_opcion},
                         {"min_vbs", a.min_vbs},
                         {"max_vdls", a.max_vdls},
                         {"empresa", "HIPICA"},
                         {"rif", "J-1"},
                         {"impresion_datos", "1"}});
}

const QStringList kColumnasCarrera = {
    "caballo",         "valor_td",       "valor_td2",       "valor_tf",  "valor_tf2",   "apuesta_max_td",
    "apuesta_max_td2", "apuesta_max_tf", "apuesta_max_tf2", "estado",    "estado_td2",  "estado_tf",
    "estado_tf2",      "estado2_tf",     "retirado",        "retirado2", "retirado_tf", "retirado_tf2"};

// A race of four horses: 1 open (its limit `limite1`), 2 withdrawn, 3 with its quota filled, 4 with
// no name.
Resultado carrera(const QString &precio1 = "30", const QString &limite1 = "10") {
    return prueba::tabla(
        kColumnasCarrera,
        {{"ALAZAN", precio1, "3", "40", "4", limite1, limite1, limite1, limite1, "0", "0", "0", "0", "0", "0",
          "0", "0", "0"},
         {"BAYO", "30", "3", "40", "4", "10", "10", "10", "10", "0", "0", "0", "0", "0", "1", "1", "1", "1"},
         {"CASTAÑO", "30", "3", "40", "4", "10", "10", "10", "10", "1", "1", "1", "1", "1", "0", "0", "0",
          "0"},
         {"", "30", "3", "40", "4", "10", "10", "10", "10", "0", "0", "0", "0", "0", "0", "0", "0", "0"}});
}

struct Banco {
    prueba::FabricaFalsa fabrica;
    Dialogo dialogos;
    Hora reloj;
    SinMaquina maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    CupoCaballo cupo{};
    Impresora impresora;
    BdFalsa *db = nullptr;
    Ajustes ajustes;

    Banco() {
        ctx.conexion_central = fabrica.abrir(QStringLiteral("server=x"));
        db = fabrica.abiertas.back();
        ctx.sesion.usuario = QStringLiteral("taq1");
        ctx.sesion.grupo = QStringLiteral("G1");
        ctx.sesion.id_moneda = 1;
        ctx.sesion.impresion = 1;
        preparar();
    }
    void preparar() {
        ctx.rs_configuracion = configuracion(ajustes);
        guion(*db);
        // A connection opened again answers the same.
        fabrica.preparar = [this](BdFalsa &d) { guion(d); };
    }
    void guion(BdFalsa &d) {
        d.responder(QStringLiteral("select * from configuracion"), configuracion(ajustes));
        d.responder(QStringLiteral("SELECT * FROM carreras"), carrera());
        d.responder(QStringLiteral("SELECT sum(tablas)"), prueba::fila({{"venta_ch", ""}}));
        d.siguienteId = 7; // the row's number comes with the INSERT's reply
    }
    ResultadoVenta vender(const QString &caballo, const QString &tablas, int juego = 1,
                          const QString &carrera = "3") {
        VentaTablas venta(ctx, cupo, &impresora);
        return venta.procesar({carrera, caballo, tablas, juego, QStringLiteral("BS")});
    }
};

} // namespace

TEST(Filtros, SoloNumerosAndFiltroMayusculas) {
    for (int c : std::initializer_list<int>{'0', '7', '9', 13, 8})
        EXPECT_EQ(SoloNumeros(c), c);
    for (int c : std::initializer_list<int>{',', '.', '-', 'a', ' ', '+', 0x1b})
        EXPECT_EQ(SoloNumeros(c), 0) << c;
    const std::vector<std::pair<int, int>> mayus = {
        {'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {'5', '5'}, {' ', ' '}, {13, 13}, {8, 8},    {'`', '`'},
        {241, 0},   {'-', 0},   {'!', 0},   {'/', 0},   {':', 0},   {'@', 0}, {'[', 0},  {'_', 0},
        {'{', 0},   {163, 0},   {164, 164}, {165, 165}, {166, 0},   {254, 0}, {255, 159}};
    for (const auto &[entra, sale] : mayus)
        EXPECT_EQ(FiltroMayusculas(entra), sale) << entra;
}

TEST(VentaTablas, TheHorsesTurnRowNamesGroupGameCurrencyRaceAndHorse) {
    // Every booth must write the same row for the same horse: the row is what they meet at.
    prueba::BdFalsa db;
    ControlCupo::Bloqueo b{QStringLiteral("G'01"), 1, 2, 3, 12};
    EXPECT_EQ(
        sentenciaTurnoCupo(db, b),
        QStringLiteral("INSERT INTO venta_cupo_turno (ch,id_juego,id_moneda,carrera,caballo,ventas) VALUES "
                       "('G\\'01','1','2','3','12','1') ON DUPLICATE KEY UPDATE ventas=ventas+1"));
}

TEST(VentaTablas, RecordsTheTicketWithTheExactStatements) {
    // Far from the horse's limit (5000 tablas, 20 a bet): no lock, six statements.
    Banco b;
    b.db->responder("SELECT * FROM carreras", carrera("30", "5000"));
    const ResultadoVenta r = b.vender(QStringLiteral("1"), QStringLiteral("2"));
    ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
    const QStringList esperadas = {
        "SELECT * FROM carreras where  carrera ='3' and fecha  = '2026-01-03'",
        "SELECT sum(tablas) as venta_ch FROM ma_principal where caballo='1' and carrera ='3' and fecha  = "
        "'2026-01-03' and grupo = 'G1' and id_juego=1 and id_moneda=1",
        "SELECT * FROM carreras where  carrera ='3' and fecha  = '2026-01-03'",
        "select * from configuracion",
        "INSERT INTO `ma_principal` VALUES "
        "(NULL,'3','1','60','2','0','taq1','G1','10:15:00','2026-01-03','0','','0','','1','1','0','0','0','0'"
        ");",
    };
    ASSERT_EQ(b.db->sentencias.size(), esperadas.size() + 1);
    for (int i = 0; i < esperadas.size(); ++i)
        EXPECT_EQ(b.db->sentencias[i], esperadas[i]);
    // The keys: "401037" scrambled under "1G1401037", "60G1401037" and "3G1401037".
    EXPECT_EQ(
        b.db->sentencias.last(),
        QStringLiteral(
            "update ma_principal set nu_boleto='401037',llave1='\u00a5\u00b7\u00a2\u00a4\u00a3\u00a8',"
            "llave2='\u00aa\u00a0\u00b8\u00a1\u00a7\u00a7',llave3='\u00a7\u00b7\u00a2\u00a4\u00a3\u00a8' "
            "Where taquilla='taq1' and numero = '7' limit 1   "));
    EXPECT_EQ(b.dialogos.titulos, QStringList{"¿Los datos están Correctos?"});
    EXPECT_EQ(b.dialogos.textos.first(),
              QStringLiteral(".\r\r\rEL VALOR DEL CABALLO ACTUAL ES DE : 30,00     "
                             "\r\r\r    2  TABLAS  AL CAB: 1    POR: 60,00 BS\r\r."));
    ASSERT_EQ(b.impresora.impresos.size(), 1u);
    EXPECT_EQ(b.impresora.impresos[0].nu_boleto, QStringLiteral("401037"));
    EXPECT_EQ(b.impresora.impresos[0].nombre_caballo, QStringLiteral("ALAZAN"));
    EXPECT_DOUBLE_EQ(b.impresora.impresos[0].monto, 60);
    EXPECT_TRUE(r.limpiar);
    EXPECT_EQ(r.foco, CampoVenta::Monto);
}

TEST(VentaTablas, RefusalsInOrder) {
    struct Caso {
        const char *nombre;
        QString caballo, tablas, carrera;
        int juego;
        std::function<void(Banco &)> preparar;
        QString mensaje, titulo;
        CampoVenta foco;
        int sentencias; // statements run before the refusal
    };
    const QString v = QStringLiteral("VERIFIQUE E INTENTE DE NUEVO");
    const std::vector<Caso> casos = {
        {"no game",
         "1",
         "2",
         "3",
         0,
         {},
         "Debe seleccionar un juego para poder hacer la venta",
         "Verificación de datos",
         CampoVenta::Ninguno,
         0},
        {"negative tablas",
         "1",
         "-1",
         "3",
         1,
         {},
         "EL NUMERO DE TABLAS NO ES VALIDO",
         v,
         CampoVenta::Monto,
         0},
        {"horse above cab_max",
         "15",
         "2",
         "3",
         1,
         {},
         "EL NUMERO DE CABALLO NO ES VALIDO",
         v,
         CampoVenta::Caballo,
         0},
        {"other race",
         "1",
         "2",
         "4",
         1,
         {},
         "EL NUMERO DE CARRERA NO ESTA PERMITIDO PARA LA VENTA",
         v,
         CampoVenta::Caballo,
         0},
        {"withdrawn", "2", "2", "3", 1, {}, "EL CABALLO ESTA RETIRADO", v, CampoVenta::Caballo, 1},
        {"no such horse",
         "4",
         "2",
         "3",
         1,
         {},
         "EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA",
         v,
         CampoVenta::Caballo,
         1},
        {"beyond the race",
         "9",
         "2",
         "3",
         1,
         {},
         "EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA",
         v,
         CampoVenta::Caballo,
         1},
        {"horse 0",
         "0",
         "2",
         "3",
         1,
         {},
         "EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA",
         v,
         CampoVenta::Caballo,
         1},
        {"quota filled",
         "3",
         "2",
         "3",
         1,
         {},
         "SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO",
         v,
         CampoVenta::Caballo,
         1},
        {"7 of 10 sold + 5", "1", "5", "3", 1,
         [](Banco &b) {
             b.db->responder("SELECT sum(tablas)", prueba::fila({{"venta_ch", "7"}}));
         },
         "EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: 3", v, CampoVenta::Monto, 2},
        {"12 of 10 sold", "1", "1", "3", 1,
         [](Banco &b) {
             b.db->responder("SELECT sum(tablas)", prueba::fila({{"venta_ch", "12"}}));
         },
         "EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: 0", v, CampoVenta::Monto, 2},
        {"per-bet limit", "1", "6", "3", 1,
         [](Banco &b) {
             b.ajustes.apuesta_max_td = "5";
             b.preparar();
         },
         "EL Nº DE TABLAS ES MAYOR AL PERMITIDO, PERMITIDO: 5", v, CampoVenta::Monto, 2},
        {"cupoviptf replaces it", "1", "6", "3", 1, [](Banco &b) { b.ctx.sesion.cupoviptf = 5; },
         "EL Nº DE TABLAS ES MAYOR AL PERMITIDO, PERMITIDO: 5", v, CampoVenta::Monto, 2},
        {"race closed", "1", "2", "3", 1,
         [](Banco &b) {
             b.ajustes.modificar = "0";
             b.preparar();
         },
         "LA CARRERA ESTA CERRADA, NO SE PUEDEN HACER CAMBIOS", "Validación del Sistema", CampoVenta::Ninguno,
         2},
        {"zero tablas", "1", "", "3", 1, {}, "DEBE INGRESAR UN Nº DE TABLAS", v, CampoVenta::Monto, 2},
        {"below the minimum", "1", "1", "3", 1,
         [](Banco &b) {
             b.ajustes.min_vbs = "31";
             b.preparar();
         },
         "EL MONTO ES MENOR AL PERMITIDO EN BS", v, CampoVenta::Ninguno, 2},
        {"above the maximum in $", "1", "4", "3", 2,
         [](Banco &b) {
             b.ctx.sesion.id_moneda = 2;
             b.ajustes.max_vdls = "15";
             b.preparar();
         },
         "EL MONTO ES MAYOR AL PERMITIDO EN BS", v, CampoVenta::Ninguno, 2},
    };
    for (const auto &c : casos) {
        Banco b;
        if (c.preparar)
            c.preparar(b);
        const ResultadoVenta r = b.vender(c.caballo, c.tablas, c.juego, c.carrera);
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Rechazada) << c.nombre;
        EXPECT_EQ(r.mensaje, c.mensaje) << c.nombre;
        EXPECT_EQ(r.titulo, c.titulo) << c.nombre;
        EXPECT_EQ(r.foco, c.foco) << c.nombre;
        EXPECT_EQ(b.db->sentencias.size(), c.sentencias) << c.nombre;
        EXPECT_TRUE(b.dialogos.textos.isEmpty()) << c.nombre; // never reached the confirmation
    }
}

TEST(VentaTablas, LimitsAtTheEdge) {
    { // exactly the per-horse limit passes
        Banco b;
        b.db->responder("SELECT sum(tablas)", prueba::fila({{"venta_ch", "7"}}));
        EXPECT_EQ(b.vender("1", "3").tipo, ResultadoVenta::Tipo::Registrada);
    }
    { // the currency-2 maximum: price 3 x 5 = 15 passes at max_vdls 15
        Banco b;
        b.ctx.sesion.id_moneda = 2;
        b.ajustes.max_vdls = "15";
        b.preparar();
        const ResultadoVenta r = b.vender("1", "5");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        EXPECT_TRUE(b.db->sentencias[1].endsWith("and id_juego=1 and id_moneda=2"));
        EXPECT_TRUE(b.db->sentencias.filter("INSERT INTO `")
                        .value(0)
                        .contains("'15','5','0','taq1','G1','10:15:00','2026-01-03','0','','0','','1','2',"));
    }
    { // the limit table: cab1..cab18 kept; Tabla Fija in currency 2
        Banco b;
        b.ajustes.cupo_tf_opcion = "1";
        b.preparar();
        b.ctx.sesion.id_moneda = 2;
        Resultado cupo = prueba::fila({{"ch", "G1"},   {"id_moneda", "2"}, {"cab1", "4"},  {"cab2", "0"},
                                       {"cab3", "0"},  {"cab4", "0"},      {"cab5", "0"},  {"cab6", "0"},
                                       {"cab7", "0"},  {"cab8", "0"},      {"cab9", "0"},  {"cab10", "0"},
                                       {"cab11", "0"}, {"cab12", "0"},     {"cab13", "0"}, {"cab14", "0"},
                                       {"cab15", "0"}, {"cab16", "0"},     {"cab17", "0"}, {"cab18", "9"}});
        b.db->responder("SELECT * FROM venta_cupo_tf", cupo);
        const ResultadoVenta r = b.vender("1", "5", 2);
        EXPECT_EQ(r.mensaje, QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: 4"));
        EXPECT_EQ(b.db->sentencias[2],
                  QStringLiteral("SELECT * FROM venta_cupo_tf where  ch  = 'G1'  and id_moneda=2"));
        EXPECT_EQ(b.cupo[1], 4);
        EXPECT_EQ(b.cupo[18], 9);
        // With no row the values read last stay in force.
        b.db->responder("SELECT * FROM venta_cupo_tf", Resultado());
        EXPECT_EQ(b.vender("1", "4", 2).tipo, ResultadoVenta::Tipo::Registrada);
    }
}

TEST(VentaTablas, HorseAboveTwentyEndsInTheFailureMessage) {
    Banco b;
    b.ajustes.cab_max = "30";
    b.ajustes.cupo_td_opcion = "1";
    b.preparar();
    b.db->responder("SELECT * FROM carreras",
                    prueba::tabla(kColumnasCarrera,
                                  std::vector<QStringList>(
                                      21, carrera().filas()
                                              ? QStringList{"X", "30", "3", "40", "4", "10", "10", "10", "10",
                                                            "0", "0", "0", "0", "0", "0", "0", "0", "0"}
                                              : QStringList{})));
    const ResultadoVenta r = b.vender("21", "1");
    EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Fallida);
    EXPECT_EQ(r.mensaje, QStringLiteral("VERIFIQUE LA INFORMACION E INTENTE NUEVAMENTE "));
    EXPECT_EQ(r.titulo, QStringLiteral("VERIFICACION DE LA CONEXION"));
    EXPECT_EQ(r.foco, CampoVenta::Caballo);
}

TEST(VentaTablas, ChangesDuringTheConfirmation) {
    { // "No": the fields are emptied, nothing is written
        Banco b;
        b.dialogos.respuestas = {Respuesta::No};
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Cancelada);
        EXPECT_TRUE(r.limpiar);
        EXPECT_EQ(r.foco, CampoVenta::Monto);
        EXPECT_EQ(b.db->sentencias.size(), 2);
    }
    { // the price changes
        Banco b;
        b.dialogos.alPreguntar = [&] { b.db->responder("SELECT * FROM carreras", carrera("35")); };
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.mensaje,
                  QStringLiteral(
                      "El valor del caballo cambio, debe hacer la jugada de nuevo, Cambio de 30  a :35"));
        EXPECT_EQ(r.titulo, QStringLiteral("Verificación de la Jugada"));
        EXPECT_EQ(r.foco, CampoVenta::Monto);
        EXPECT_FALSE(b.db->sentencias.last().startsWith("INSERT"));
    }
    { // the race advances
        Banco b;
        b.dialogos.alPreguntar = [&] {
            b.ajustes.carrera = "4";
            b.db->responder("select * from configuracion", configuracion(b.ajustes));
        };
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.mensaje, QStringLiteral("LA CARRERA SE ENCUENTRA CERRADA"));
        EXPECT_EQ(r.titulo, QStringLiteral("VERIFIQUE LA INFORMACION"));
        EXPECT_EQ(b.db->sentencias.size(), 4);
    }
}

TEST(VentaTablas, FailuresAfterTheInsertLeaveTheRow) {
    { // the server refuses the code: the row never stays without it, it is voided
        Banco b;
        b.db->responder("SELECT * FROM carreras", carrera("30", "5000"));
        b.db->fallar("update ma_principal set nu_boleto=");
        b.db->responder("SELECT numero FROM ma_principal WHERE numero='7'", prueba::fila({{"numero", "7"}}));
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Fallida);
        EXPECT_TRUE(r.limpiar);
        EXPECT_EQ(r.foco, CampoVenta::Caballo);
        const QStringList despues = b.db->sentencias.mid(5);
        ASSERT_EQ(despues.size(), 6);
        EXPECT_EQ(despues[1], QStringLiteral("START TRANSACTION"));
        EXPECT_EQ(despues[2],
                  QStringLiteral("SELECT numero FROM ma_principal WHERE numero='7' AND taquilla='taq1' "
                                 "AND estatus=0 FOR UPDATE"));
        EXPECT_TRUE(despues[3].startsWith("INSERT INTO bitacora (numero,"));
        EXPECT_TRUE(despues[3].contains(",5,nu_boleto,cobrado,'JUGADA SIN CONFIRMAR: SE PERDIO LA RESPUESTA "
                                        "DEL SERVIDOR','taq1','SISTEMA',"));
        EXPECT_EQ(despues[4], QStringLiteral("DELETE FROM ma_principal WHERE numero='7'"));
        EXPECT_EQ(despues[5], QStringLiteral("COMMIT"));
        EXPECT_TRUE(b.impresora.impresos.empty());
    }
    { // the printer fails: the ticket is recorded and coded, and offered again
        Banco b;
        b.impresora.falla = true;
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada);
        EXPECT_TRUE(r.sinImprimir);
        ASSERT_TRUE(r.boleto);
        EXPECT_EQ(r.boleto->nu_boleto, QStringLiteral("401037"));
        EXPECT_EQ(r.mensaje,
                  QStringLiteral("EL BOLETO 401037 QUEDO REGISTRADO PERO NO SE PUDO IMPRIMIR. ¿DESEA "
                                 "IMPRIMIRLO DE NUEVO?"));
        EXPECT_TRUE(b.db->sentencias.last().startsWith("update ma_principal set nu_boleto='401037'"));
    }
    { // printing off: nothing is printed
        Banco b;
        b.ctx.sesion.impresion = 0;
        EXPECT_EQ(b.vender("1", "2").tipo, ResultadoVenta::Tipo::Registrada);
        EXPECT_TRUE(b.impresora.impresos.empty());
    }
}

TEST(VentaTablas, NearTheHorsesLimitTheCheckIsMadeAgainInOneTransactionWithTheHorsesRow) {
    // Horse 1 takes 10 tablas of the group, 20 a bet: within fifty bets of the limit.
    const QString suma =
        "SELECT sum(tablas) as venta_ch FROM ma_principal where caballo='1' and carrera ='3' "
        "and fecha  = '2026-01-03' and grupo = 'G1' and id_juego=1 and id_moneda=1";
    prueba::BdFalsa escape;
    const QString turno = sentenciaTurnoCupo(escape, {QStringLiteral("G1"), 1, 1, 3, 1});
    { // the limit still holds the bet: the row, the sum again and the INSERT commit together
        Banco b;
        const ResultadoVenta r = b.vender("1", "2");
        ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        const QStringList s = b.db->sentencias;
        ASSERT_EQ(s.size(), 10);
        EXPECT_EQ(s[4], "START TRANSACTION");
        EXPECT_EQ(s[5], turno);
        EXPECT_EQ(s[6], suma);
        EXPECT_TRUE(s[7].startsWith("INSERT INTO `ma_principal`"));
        EXPECT_EQ(s[8], "COMMIT");
        EXPECT_TRUE(s[9].startsWith("update ma_principal set nu_boleto='401037'"));
    }
    { // other booths sold meanwhile: refused with what is left, nothing written
        Banco b;
        b.dialogos.alPreguntar = [&] {
            b.db->responder("SELECT sum(tablas)", prueba::fila({{"venta_ch", "9"}}));
        };
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Rechazada);
        EXPECT_EQ(r.mensaje, QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: 1"));
        EXPECT_TRUE(b.db->sentencias.filter("INSERT INTO `ma_principal`").isEmpty());
        EXPECT_EQ(b.db->sentencias.last(), "ROLLBACK");
    }
    { // another node committed first (1213 on COMMIT): sold again from the check, recorded once
        Banco b;
        int commits = 0;
        b.db->alEjecutar = [&](const QString &sql) {
            if (sql == "COMMIT" && ++commits == 1)
                throw DbError("Deadlock found when trying to get lock; try restarting transaction", false,
                              1213);
        };
        const ResultadoVenta r = b.vender("1", "2");
        ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        const QStringList s = b.db->sentencias;
        EXPECT_EQ(s.filter("START TRANSACTION").size(), 2);
        EXPECT_EQ(s.filter(suma).size(), 3); // the first check, then once a try
        EXPECT_EQ(s.indexOf("ROLLBACK"), s.indexOf("COMMIT") + 1);
        EXPECT_TRUE(s.last().startsWith("update ma_principal set nu_boleto="));
    }
    { // it keeps losing: after a bounded number of tries the sale fails, nothing is left written
        Banco b;
        b.db->alEjecutar = [&](const QString &sql) {
            if (sql == "COMMIT")
                throw DbError("Deadlock found when trying to get lock; try restarting transaction", false,
                              1213);
        };
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Fallida);
        EXPECT_EQ(b.db->sentencias.filter("COMMIT").size(), kIntentosConflicto);
        EXPECT_TRUE(b.db->sentencias.filter("update ma_principal").isEmpty());
    }
    { // any other refusal is not made again
        Banco b;
        b.db->fallar(turno);
        EXPECT_EQ(b.vender("1", "2").tipo, ResultadoVenta::Tipo::Fallida);
        EXPECT_EQ(b.db->sentencias.filter("START TRANSACTION").size(), 1);
        EXPECT_TRUE(b.db->sentencias.filter("INSERT INTO `ma_principal`").isEmpty());
    }
}

TEST(VentaTablas, WhateverReachesTheSaleOnlyWholeTablasAndTextTheDatabaseHoldsAreSold) {
    struct Caso {
        const char *nombre;
        QString tablas, usuario;
        ResultadoVenta::Tipo tipo;
    };
    const Caso casos[] = {
        {"negative", "-2", "taq1", ResultadoVenta::Tipo::Rechazada},
        {"half", "0.5", "taq1", ResultadoVenta::Tipo::Rechazada},
        {"one and a half", "1.5", "taq1", ResultadoVenta::Tipo::Rechazada},
        {"a user the database cannot hold", "2", QString::fromUtf8("taq\u4e2d"),
         ResultadoVenta::Tipo::Fallida},
        {"whole", "2", "taq1", ResultadoVenta::Tipo::Registrada},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Banco b;
        b.ctx.sesion.usuario = c.usuario;
        const ResultadoVenta r = b.vender("1", c.tablas);
        EXPECT_EQ(r.tipo, c.tipo);
        if (c.tipo == ResultadoVenta::Tipo::Rechazada) {
            EXPECT_EQ(r.mensaje, QStringLiteral("EL NUMERO DE TABLAS NO ES VALIDO"));
        }
        EXPECT_EQ(b.db->sentencias.filter("INSERT INTO `").size(),
                  c.tipo == ResultadoVenta::Tipo::Registrada ? 1 : 0);
    }
}

TEST(VentaTablas, ALostConnectionIsOpenedAgainOnceAndTheSaleGoesOn) {
    struct Caso {
        const char *nombre;
        bool perdidaAntes;  // known lost before the sale
        bool perdidaAlLeer; // found lost by the sale's first statement
        bool servidorCaido; // opening again fails too
        ResultadoVenta::Tipo tipo;
        int aperturas; // connections opened again
    };
    const Caso casos[] = {
        {"known lost", true, false, false, ResultadoVenta::Tipo::Registrada, 1},
        {"found lost by the first statement", false, true, false, ResultadoVenta::Tipo::Registrada, 1},
        {"server down", true, false, true, ResultadoVenta::Tipo::Fallida, 1},
        {"found lost, server down", false, true, true, ResultadoVenta::Tipo::Fallida, 1},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Banco b;
        b.ctx.sesion.cadena_central = "server=central";
        b.db->perdidaFalsa = c.perdidaAntes;
        if (c.perdidaAlLeer)
            b.db->fallar("SELECT * FROM carreras", true);
        b.fabrica.falla = c.servidorCaido;
        const ResultadoVenta r = b.vender("1", "2");
        EXPECT_EQ(r.tipo, c.tipo) << r.mensaje.toStdString();
        EXPECT_EQ(b.fabrica.cadenas.mid(1), QStringList(c.aperturas, "server=central"));
        if (c.tipo == ResultadoVenta::Tipo::Registrada) {
            EXPECT_TRUE(b.dialogos.titulos == QStringList{"¿Los datos están Correctos?"});
            EXPECT_EQ(b.fabrica.abiertas.back()->sentencias.filter("INSERT INTO `").size(), 1);
            EXPECT_EQ(b.impresora.impresos.size(), 1u);
        } else {
            // Only the connection message: nothing was asked or written.
            EXPECT_EQ(b.dialogos.textos, QStringList{kMensajeConexion});
            EXPECT_TRUE(r.mensaje.isEmpty());
            EXPECT_TRUE(b.impresora.impresos.empty());
        }
    }
}
