// The operator screen's logic on the recording fake: the client rules, the operator's differences
// of the three booth sales, the Marcas sale and the Marcas ticket.
#include "clientes.h"
#include "entorno_falso.h"
#include "impresion_falsa.h"
#include "texto.h"
#include "ticket.h"
#include "venta_marcas.h"
#include "venta_puestos.h"
#include "venta_tablas.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

// Two client groups, a booth group, and a name that is a client's only with id_tipo 1.
Resultado grupos() {
    return tabla({"id_grupo", "grupo", "id_tipo", "ch"}, {{"1", "G01", "1", "EL TRIUNFO"},
                                                          {"3", "C01", "2", "LOS SAMANES"},
                                                          {"4", "C02", "2", "EL PORVENIR"},
                                                          {"7", "G07", "1", "LA FIJA"}});
}

Resultado hipodromos() {
    return tabla({"id_hipodromo", "hipodromo"}, {{"1", "LA RINCONADA"}, {"2", "VALENCIA"}});
}

struct Ajustes {
    QString fecha = "2026-05-07", carrera = "3", cab_max = "14", venta_mk = "1", cupo_mk_opcion = "0",
            modificar = "1", venta_pt = "1", opcioncupopt = "1", cupo_pt = "500";
};

Resultado configuracion(const Ajustes &a) {
    return fila({{"fecha", a.fecha},
                 {"carrera", a.carrera},
                 {"cab_max", a.cab_max},
                 {"venta_mk", a.venta_mk},
                 {"cupo_mk_opcion", a.cupo_mk_opcion},
                 {"modificar", a.modificar},
                 {"venta_pt", a.venta_pt},
                 {"apuesta_max_td", "20"},
                 {"apuesta_max_tf", "20"},
                 {"cupo_td_opcion", "0"},
                 {"cupo_tf_opcion", "0"},
                 {"opcioncupopt", a.opcioncupopt},
                 {"cupo_pt", a.cupo_pt},
                 {"min_vbs", "1"},
                 {"max_vdls", "1000"},
                 {"empresa", "HIPICA"},
                 {"rif", "J-1"},
                 {"impresion_datos", "0"}});
}

const QStringList kColumnasCarrera = {"caballo",     "id_hipodromo",   "apuesta_max_mk",  "apuesta_max_mk2",
                                      "estado_mk",   "estado_mk2",     "ret_mk",          "ret_mk2",
                                      "valor_td",    "valor_td2",      "apuesta_max_td",  "apuesta_max_td2",
                                      "estado",      "estado_td2",     "estado2_td",      "retirado",
                                      "retirado2",   "apuesta_max_pt", "apuesta_max_pt2", "estado_pt",
                                      "estado_pt2",  "estado2_pt",     "puesto",          "puesto2",
                                      "retirado_pt", "retirado_pt2"};

// A horse of racetrack 2, open everywhere: Marcas limit 1000 (currency 1) and 30 (currency 2),
// price 30 / 2, Los Puestos kind 0.3.
QStringList caballo(const QString &nombre) {
    return {nombre, "2", "1000", "30", "0",    "0",    "0", "0", "30", "2",   "20",  "20", "0",
            "0",    "0", "0",    "0",  "1000", "1000", "0", "0", "0",  "0.3", "0.3", "0",  "0"};
}

// A row of a per-horse limit table: cab1 ... cab18, the horses given and 0 for the rest.
Resultado cupos(const std::map<int, QString> &valores) {
    QStringList cols, fila;
    for (int i = 1; i <= 18; ++i) {
        cols << QStringLiteral("cab%1").arg(i);
        fila << (valores.count(i) ? valores.at(i) : QStringLiteral("0"));
    }
    return tabla(cols, {fila});
}

struct Banco : EntornoFalso {
    Ajustes ajustes;
    CupoCaballo cupo{};
    BoletosGrabados impresora;
    std::vector<QStringList> caballos = {caballo("ALAZAN"), caballo("BAYO"), caballo("CASTAÑO"),
                                         caballo("DORADO"), caballo("ESTRELLA")};
    Banco() {
        ctx.sesion.usuario = "oper1";
        ctx.sesion.grupo = "G01";
        ctx.sesion.id_moneda = 1;
        ctx.sesion.impresion = 1;
        ctx.rs_grupos = grupos();
        ctx.rs_hipodromos = hipodromos();
        ctx.rs_monedas = tabla({"moneda"}, {{"BS"}, {"$"}});
        reloj.momento = QDateTime(QDate(2026, 5, 7), QTime(15, 30, 0));
        db->siguienteId = 15;
        preparar();
    }
    void preparar() {
        ctx.rs_configuracion = configuracion(ajustes);
        db->responder("select * from configuracion", configuracion(ajustes));
        db->responder("SELECT * FROM carreras", tabla(kColumnasCarrera, caballos));
        db->responder("SELECT sum(", fila({{"venta_ch", ""}}));
    }
    void fijar(int caballo, const QString &columna, const QString &valor) {
        caballos[std::size_t(caballo - 1)][kColumnasCarrera.indexOf(columna)] = valor;
        preparar();
    }
    ResultadoVenta marcas(const QString &h1, const QString &h2, const QString &monto,
                          const QString &hipodromo = "VALENCIA", const QString &cliente = "LOS SAMANES") {
        DatosJugada d{"3", h1, monto, 4, "BS"};
        d.caballo2 = h2;
        d.hipodromo = hipodromo;
        d.cliente = cliente;
        return VentaMarcas(ctx, cupo, &impresora).procesar(d);
    }
    QStringList escrituras() const {
        QStringList w;
        for (const QString &s : db->sentencias)
            if (s.startsWith("INSERT") || s.startsWith("update") || s.startsWith("UPDATE"))
                w << s;
        return w;
    }
};

} // namespace

TEST(Clientes, ByNameByNumberAndTheGroupOfTheSale) {
    const Resultado g = grupos();
    struct Caso {
        QString nombre;
        std::optional<QString> codigo, grupo;
    };
    // Choosing by name fills the code box only for a client group (id_tipo 2); the sale takes the
    // group of any name.
    for (const Caso &c : std::vector<Caso>{{"LOS SAMANES", "3", "C01"},
                                           {"EL PORVENIR", "4", "C02"},
                                           {"LA FIJA", std::nullopt, "G07"},
                                           {"NADIE", std::nullopt, std::nullopt},
                                           {"", std::nullopt, std::nullopt}}) {
        EXPECT_EQ(codigoDeCliente(g, c.nombre), c.codigo) << c.nombre.toStdString();
        EXPECT_EQ(grupoDeCliente(g, c.nombre), c.grupo) << c.nombre.toStdString();
    }
    // Typing a number: the name of any group with that number; none empties the list's text.
    for (const auto &[codigo, ch] :
         std::vector<std::pair<QString, std::optional<QString>>>{{"4", "EL PORVENIR"},
                                                                 {"7", "LA FIJA"},
                                                                 {"07", "LA FIJA"},
                                                                 {"9", std::nullopt},
                                                                 {"x", std::nullopt}})
        EXPECT_EQ(clienteDeCodigo(g, codigo), ch) << codigo.toStdString();
    EXPECT_EQ(nombresClientes(g), QStringList({"EL TRIUNFO", "LOS SAMANES", "EL PORVENIR", "LA FIJA"}));
    EXPECT_EQ(numeroHipodromo(hipodromos(), "VALENCIA"), 2);
    EXPECT_EQ(numeroHipodromo(hipodromos(), "valencia"), 0);
}

// A sale is booked to the client the list names and to no one else: an empty list (never chosen,
// or emptied by an unknown number) or a name no group has is refused, whatever group is in force.
TEST(Clientes, ASaleWithoutAClientIsRefused) {
    Banco b;
    EXPECT_FALSE(grupoDeVenta(b.ctx, "LA FIJA"));
    EXPECT_EQ(b.ctx.sesion.grupo, "G07");
    for (const QString cliente : {"", "NADIE"}) {
        const auto r = grupoDeVenta(b.ctx, cliente);
        ASSERT_TRUE(r) << cliente.toStdString();
        EXPECT_EQ(r->mensaje, "Debe escoger un cliente correctamente");
        EXPECT_EQ(r->titulo, "Verificar Datos");
        EXPECT_EQ(r->foco, CampoVenta::Cliente);
        EXPECT_EQ(b.ctx.sesion.grupo, "G07");
    }
    // Every game refuses before anything is asked of the server: the operator's own group is
    // never used.
    Banco c;
    DatosJugada d{"3", "2", "2", 1, "BS"};
    for (int juego : {1, 2, 3}) {
        d.juego_actual = juego;
        const ResultadoVenta r =
            juego == 3 ? VentaPuestos(c.ctx, c.cupo, &c.impresora, PantallaVenta::Operador).procesar(d)
                       : VentaTablas(c.ctx, c.cupo, &c.impresora, PantallaVenta::Operador).procesar(d);
        EXPECT_EQ(r.mensaje, "Debe escoger un cliente correctamente") << juego;
    }
    EXPECT_EQ(c.marcas("1", "2", "100", "VALENCIA", "").mensaje, "Debe escoger un cliente correctamente");
    EXPECT_TRUE(c.db->sentencias.isEmpty());
    EXPECT_EQ(c.ctx.sesion.grupo, "G01");
}

TEST(VentaOperador, TablasForTheClientWithoutKeys) {
    Banco b;
    DatosJugada d{"3", "2", "2", 1, "BS"};
    d.cliente = "EL PORVENIR";
    const ResultadoVenta r = VentaTablas(b.ctx, b.cupo, &b.impresora, PantallaVenta::Operador).procesar(d);
    ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
    EXPECT_EQ(b.dialogos.textos.value(0),
              ".\r\r\rEL VALOR DEL CABALLO ACTUAL ES DE : 30,00     \r\r\r    2  TABLAS  AL "
              "CAB: 2    POR: 60,00  BS\r\r.");
    EXPECT_TRUE(
        b.db->sentencias.contains("SELECT sum(tablas) as venta_ch FROM ma_principal where caballo='2' and "
                                  "carrera ='3' and fecha  = '2026-05-07' and grupo = 'C02' and id_juego=1 "
                                  "and id_moneda=1"));
    EXPECT_EQ(
        b.escrituras(),
        // Near the limit: the horse's row of the client's group first.
        QStringList({"INSERT INTO venta_cupo_turno (ch,id_juego,id_moneda,carrera,caballo,ventas) VALUES "
                     "('C02','1','1','3','2','1') ON DUPLICATE KEY UPDATE ventas=ventas+1",
                     "INSERT INTO `ma_principal` VALUES (NULL,'3','2','60','2','0','oper1','C02','15:30:00',"
                     "'2026-05-07','0','','0','','1','1','0','0','0','0');",
                     "update ma_principal set nu_boleto='4050715' Where taquilla='oper1' and numero = '15' "
                     "limit 1   "}));
    EXPECT_EQ(b.ctx.sesion.grupo, "C02");
}

// A sale in dollars is confirmed in dollars and its ticket costs dollars, in every game; the
// amount carries its separators so that 1250 cannot be read as 12,50.
TEST(VentaOperador, ADollarSaleOfEachGameIsConfirmedAndPrintedInDollars) {
    struct Caso {
        int juego;
        QString monto, por, costo;
    };
    for (const Caso &c : {Caso{1, "3", "POR: 6,00  $", "$6,00"}, Caso{3, "25", "POR: 25,00  $", "$25,00"},
                          Caso{4, "25", "POR: 25,00  $", "$25,00"}}) {
        SCOPED_TRACE(c.juego);
        Banco b;
        b.ctx.sesion.id_moneda = 2;
        b.db->responder("SELECT * FROM venta_cupo_pt", cupos({{2, "900"}}));
        // The label shown on the screen is not what names the currency: its row of monedas is.
        DatosJugada d{"3", "2", c.monto, c.juego, ""};
        d.cliente = "LOS SAMANES";
        ResultadoVenta r;
        if (c.juego == 4)
            r = b.marcas("2", "3", c.monto);
        else if (c.juego == 3)
            r = VentaPuestos(b.ctx, b.cupo, &b.impresora, PantallaVenta::Operador).procesar(d);
        else
            r = VentaTablas(b.ctx, b.cupo, &b.impresora, PantallaVenta::Operador).procesar(d);
        ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        EXPECT_TRUE(b.dialogos.textos.value(0).contains(c.por)) << b.dialogos.textos.value(0).toStdString();
        EXPECT_FALSE(b.dialogos.textos.value(0).contains("BS"));
        ASSERT_EQ(b.impresora.impresos.size(), 1u);
        const Boleto &t = b.impresora.impresos[0];
        EXPECT_EQ(t.nombre_moneda, "$");
        const QByteArray bytes = c.juego == 3 ? ticketPuestosPuerto(t, b.ctx.sesion, "h")
                                              : ticketTablasPuerto(t, b.ctx.sesion, "h");
        EXPECT_TRUE(bytes.contains("COSTO DEL BOLETO: " + c.costo.toLatin1() + "\x1b\x19\r\n"))
            << bytes.toStdString();
        // The ticket's row (near the limit the horse's row of venta_cupo_turno is written first).
        const QString fila = b.escrituras().filter(QRegularExpression("^INSERT INTO `")).value(0);
        EXPECT_TRUE(fila.contains("'2','0','0','0','0');") || fila.contains("'4','2','2',")) << fila.toStdString();
    }
}

TEST(VentaOperador, TablasReadTheOperatorsColumnsAndMessages) {
    struct Caso {
        int moneda;
        QString columna, valor, mensaje;
    };
    for (const Caso &c : std::vector<Caso>{
             // Withdrawn is `retirado` in the second currency too; the state there is estado2_td.
             {2, "retirado", "1", "EL CABALLO ESTA RETIRADO"},
             {2, "retirado2", "1", "EL MONTO ES MAYOR AL PERMITIDO EN $"},
             {2, "estado2_td", "1", "SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO"},
             {2, "estado_td2", "1", "EL MONTO ES MAYOR AL PERMITIDO EN $"},
             {1, "valor_td", "0.1", "EL MONTO ES MENOR AL PERMITIDO EN BS"},
         }) {
        Banco b;
        b.ctx.sesion.id_moneda = c.moneda;
        // 2 tablas at 600 are above the dollar maximum: a bet that reaches that check stops there.
        b.fijar(2, "valor_td2", "600");
        b.fijar(2, c.columna, c.valor);
        DatosJugada d{"3", "2", "2", 1, "$"};
        d.cliente = "LOS SAMANES";
        const ResultadoVenta r = VentaTablas(b.ctx, b.cupo, nullptr, PantallaVenta::Operador).procesar(d);
        EXPECT_EQ(r.mensaje, c.mensaje) << c.columna.toStdString();
    }
}

TEST(VentaOperador, PuestosSumsTheCurrencyAndWritesNoKeys) {
    for (const QString opcion : {"1", "0"}) {
        Banco b;
        b.ajustes.opcioncupopt = opcion;
        b.preparar();
        b.db->responder("SELECT * FROM venta_cupo_pt", cupos({{2, "900"}}));
        // With the limit table the horse's own column is not compared with the amount.
        if (opcion == "1")
            b.fijar(2, "apuesta_max_pt2", "10");
        b.ctx.sesion.id_moneda = 2;
        DatosJugada d{"3", "2", "50", 3, "$"};
        d.cliente = "LOS SAMANES";
        const ResultadoVenta r = VentaPuestos(b.ctx, b.cupo, nullptr, PantallaVenta::Operador).procesar(d);
        ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        const QString suma =
            "SELECT sum(monto) as venta_ch FROM ma_principal where caballo='2' and carrera ='3' "
            "and fecha  = '2026-05-07' and grupo = 'C01' and id_juego=3 and id_moneda= '2'";
        EXPECT_TRUE(b.db->sentencias.contains(opcion == "1" ? suma : suma + " ")) << opcion.toStdString();
        EXPECT_EQ(
            b.db->sentencias.contains("SELECT * FROM venta_cupo_pt where ch= 'C01'  and id_moneda= '2' "),
            opcion == "1");
        EXPECT_EQ(b.dialogos.textos.value(0), "    10/3  10 A  3   AL CAB: 2    POR: 50,00  $");
        // One row for both currencies (currency 0), as one limit covers them.
        EXPECT_EQ(b.escrituras().value(0),
                  "INSERT INTO venta_cupo_turno (ch,id_juego,id_moneda,carrera,caballo,ventas) VALUES "
                  "('C01','3','0','3','2','1') ON DUPLICATE KEY UPDATE ventas=ventas+1");
        EXPECT_EQ(b.escrituras().value(2),
                  "update ma_principal set nu_boleto='3050715' Where taquilla='oper1' and "
                  "numero = '15' limit 1   ");
    }
}

TEST(VentaMarcas, RecordsTheTicketWithItsStatementsAndCode) {
    Banco b;
    const ResultadoVenta r = b.marcas("5", "5", "100");
    ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
    EXPECT_EQ(b.dialogos.textos,
              QStringList({".\r\r\r    \r\r\r  CAB  5  CONTRAL EL: 5    POR: 100,00  BS\r\r."}));
    EXPECT_EQ(b.dialogos.titulos, QStringList({"¿Los datos están Correctos?"}));
    const QString lectura = "SELECT * FROM carreras where  carrera ='3' and fecha  = '2026-05-07'  and "
                            "id_hipodromo  = '2'";
    EXPECT_EQ(
        b.db->sentencias.mid(0, 2),
        QStringList({lectura, "SELECT sum(monto) as venta_ch FROM ma_marcas where caballo='5' and carrera "
                              "='3' and fecha  = '2026-05-07' and grupo = 'C01' and id_juego=4 and "
                              "id_moneda=1 and estatus<>5"}));
    EXPECT_EQ(b.db->sentencias.value(2), lectura);
    EXPECT_EQ(
        b.escrituras(),
        QStringList({"INSERT INTO venta_cupo_turno (ch,id_juego,id_moneda,carrera,caballo,ventas) VALUES "
                     "('C01','4','1','3','5','1') ON DUPLICATE KEY UPDATE ventas=ventas+1",
                     "INSERT INTO `ma_marcas` VALUES (NULL,'3','5','5','100','oper1','C01','15:30:00',"
                     "'2026-05-07','0','','0','','4','1','2','5-5');",
                     "update ma_marcas set nu_boleto='4050715' Where taquilla='oper1' and numero = '15' "
                     "limit 1   "}));
    ASSERT_EQ(b.impresora.impresos.size(), 1u);
    const Boleto &t = b.impresora.impresos[0];
    EXPECT_EQ(t.nu_boleto, "4050715");
    EXPECT_EQ(t.juego, 4);
    EXPECT_EQ(t.caballo, 5);
    EXPECT_EQ(t.nombre_caballo, "ESTRELLA");
    EXPECT_EQ(t.nombre_caballo2, "ESTRELLA");
    EXPECT_EQ(t.hipodromo, "VALENCIA");
    EXPECT_EQ(t.nombre_moneda, "BS");
    EXPECT_EQ(t.monto, 100);
    EXPECT_TRUE(r.limpiar);
}

TEST(VentaMarcas, RefusalsInOrder) {
    struct Caso {
        QString h1, h2, monto, hipodromo;
        int caballo; // a horse to change, 0 none
        QString columna, valor;
        QString mensaje, titulo;
        CampoVenta foco;
    };
    const QString V = "VERIFIQUE E INTENTE DE NUEVO";
    for (const Caso &c : std::vector<Caso>{
             // The racetrack comes before every other check.
             {"99", "99", "-5", "MIAMI", 0, "", "", " El hipodromo no Existe", "Validación de Datos",
              CampoVenta::Ninguno},
             {"99", "1", "-5", "VALENCIA", 0, "", "", "EL NUMERO DE MONTO NO ES VALIDO", V,
              CampoVenta::Monto},
             {"99", "1", "5", "VALENCIA", 0, "", "", "EL NUMERO DE CABALLO NO ES VALIDO", V,
              CampoVenta::Caballo1},
             {"1", "15", "5", "VALENCIA", 0, "", "", "EL NUMERO DE CABALLO NO ES VALIDO", V,
              CampoVenta::Caballo2},
             {"1", "2", "5", "VALENCIA", 1, "ret_mk", "1", "EL CABALLO ESTA RETIRADO", V,
              CampoVenta::Caballo1},
             {"8", "2", "5", "VALENCIA", 0, "", "", "EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA", V,
              CampoVenta::Caballo1},
             {"1", "2", "5", "VALENCIA", 1, "estado_mk", "1", "SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO",
              V, CampoVenta::Caballo1},
             {"1", "2", "5", "VALENCIA", 2, "ret_mk", "1", "EL CABALLO 2 ESTA RETIRADO", V,
              CampoVenta::Caballo2},
             {"1", "9", "5", "VALENCIA", 0, "", "", "EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA", V,
              CampoVenta::Caballo2},
             {"1", "2", "5", "VALENCIA", 2, "estado_mk", "1",
              "SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO 2", V, CampoVenta::Caballo2},
             {"1", "2", "1001", "VALENCIA", 0, "", "", "EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: 1000", V,
              CampoVenta::Monto},
             {"1", "2", "0", "VALENCIA", 0, "", "", "DEBE INGRESAR UN Nº DE MONTO", V, CampoVenta::Monto},
         }) {
        Banco b;
        if (c.caballo)
            b.fijar(c.caballo, c.columna, c.valor);
        const ResultadoVenta r = b.marcas(c.h1, c.h2, c.monto, c.hipodromo);
        EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Rechazada) << c.mensaje.toStdString();
        EXPECT_EQ(r.mensaje, c.mensaje);
        EXPECT_EQ(r.titulo, c.titulo) << c.mensaje.toStdString();
        EXPECT_EQ(r.foco, c.foco) << c.mensaje.toStdString();
        EXPECT_TRUE(b.escrituras().isEmpty());
    }
    // Marcas closed: refused after the limit, before the amount.
    Banco b;
    b.ajustes.venta_mk = "0";
    b.preparar();
    const ResultadoVenta r = b.marcas("1", "2", "0");
    EXPECT_EQ(r.mensaje, "LA CARRERA ESTA CERRADA, NO SE PUEDEN HACER CAMBIOS");
    EXPECT_EQ(r.titulo, "Validación del Sistema");
}

TEST(VentaMarcas, LimitAtTheEdgeInEachCurrencyAndFromTheLimitTable) {
    struct Caso {
        int moneda;
        QString opcion, vendido, monto;
        bool pasa;
        QString disponible;
    };
    for (const Caso &c : std::vector<Caso>{{1, "0", "", "1000", true, ""},
                                           {1, "0", "", "1001", false, "1000"},
                                           {1, "0", "400", "600", true, ""},
                                           {1, "0", "400", "601", false, "600"},
                                           {2, "0", "", "30", true, ""},
                                           {2, "0", "", "31", false, "30"},
                                           {1, "1", "", "250", true, ""},
                                           {1, "1", "100", "151", false, "150"}}) {
        Banco b;
        b.ctx.sesion.id_moneda = c.moneda;
        b.ajustes.cupo_mk_opcion = c.opcion;
        b.preparar();
        b.db->responder("SELECT sum(", fila({{"venta_ch", c.vendido}}));
        b.db->responder("SELECT * FROM venta_cupo_mk", cupos({{1, "250"}, {3, "9"}}));
        const ResultadoVenta r = b.marcas("1", "3", c.monto);
        EXPECT_EQ(r.tipo, c.pasa ? ResultadoVenta::Tipo::Registrada : ResultadoVenta::Tipo::Rechazada)
            << c.monto.toStdString() << " " << r.mensaje.toStdString();
        if (!c.pasa) {
            EXPECT_EQ(r.mensaje, "EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: " + c.disponible);
        }
        if (c.opcion == "1") {
            EXPECT_TRUE(
                b.db->sentencias.contains("SELECT * FROM venta_cupo_mk where  ch  = 'C01' and id_moneda=1"));
        }
        EXPECT_TRUE(b.db->sentencias.contains(
            QStringLiteral(
                "SELECT sum(monto) as venta_ch FROM ma_marcas where caballo='1' and carrera ='3' and "
                "fecha  = '2026-05-07' and grupo = 'C01' and id_juego=4 and id_moneda=%1 and "
                "estatus<>5")
                .arg(c.moneda)));
    }
}

TEST(VentaMarcas, ClosedOrAdvancedDuringTheConfirmationWritesNothing) {
    for (const auto &[columna, valor] :
         std::vector<std::pair<QString, QString>>{{"venta_mk", "0"}, {"carrera", "4"}}) {
        Banco b;
        b.dialogos.alPreguntar = [&b, columna = columna, valor = valor] {
            if (columna == "venta_mk")
                b.ajustes.venta_mk = valor;
            else
                b.ajustes.carrera = valor;
            b.db->responder("select * from configuracion", configuracion(b.ajustes));
        };
        const ResultadoVenta r = b.marcas("1", "2", "100");
        EXPECT_EQ(r.mensaje, "LA CARRERA SE ENCUENTRA CERRADA") << columna.toStdString();
        EXPECT_EQ(r.titulo, "VERIFIQUE LA INFORMACION");
        EXPECT_TRUE(b.escrituras().isEmpty());
    }
    // "No" at the confirmation empties the bet.
    Banco b;
    b.dialogos.respuestas.push_back(Respuesta::No);
    const ResultadoVenta r = b.marcas("1", "2", "100");
    EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Cancelada);
    EXPECT_TRUE(r.limpiar);
    EXPECT_TRUE(b.escrituras().isEmpty());
}

TEST(VentaMarcas, ALostReplyIsResolvedInMaMarcas) {
    Banco b;
    b.db->alEjecutar = [&b](const QString &sql) {
        if (sql.startsWith("INSERT INTO `ma_marcas`"))
            b.db->perdidaFalsa = true; // written, reply lost
    };
    b.fabrica.preparar = [&b](BdFalsa &nueva) {
        nueva.responder("SELECT numero FROM ma_marcas", fila({{"numero", "15"}}));
        nueva.responder("SELECT numero,nu_boleto,estatus FROM ma_marcas",
                        fila({{"numero", "15"}, {"nu_boleto", ""}, {"estatus", "0"}}));
        nueva.responder("select * from configuracion", configuracion(b.ajustes));
    };
    const ResultadoVenta r = b.marcas("1", "2", "100");
    ASSERT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
    BdFalsa &nueva = *b.fabrica.abiertas.back();
    EXPECT_TRUE(
        nueva.sentencias.contains("update ma_marcas set nu_boleto='4050715' Where taquilla='oper1' and "
                                  "numero = '15' limit 1   "));
    ASSERT_EQ(b.impresora.impresos.size(), 1u);
    // The ticket names the horse bet on and the one it is set against.
    EXPECT_EQ(b.impresora.impresos[0].nombre_caballo, "ALAZAN");
    EXPECT_EQ(b.impresora.impresos[0].nombre_caballo2, "BAYO");
    EXPECT_TRUE(b.ctx.pendientes.vacio());
}

TEST(TicketMarcas, PortBytesAndPrinterLines) {
    Sesion s;
    s.ch = "LOS SAMANES";
    s.nombre = "ANA PEÑA";
    s.tamletra = 8;
    s.codbarras = 1;
    Boleto b;
    b.juego = 4;
    b.nu_boleto = "4050715";
    b.carrera = 204;
    b.caballo = 5;
    b.caballo2 = 7;
    b.nombre_caballo = "ESTRELLA";
    b.nombre_caballo2 = "RELAMPAGO";
    b.hipodromo = "LA RINCONADA";
    b.monto = 150;
    b.fecha = QDate(2026, 5, 7);
    b.nombre_moneda = "$";
    b.impresion_datos = 1;
    b.empresa = "HIPICA C.A.";
    b.rif = "J-1";
    auto L = [](const QByteArray &t) { return t + QByteArray("\x1b\x19\r\n", 4); };
    const QByteArray ast(40, '*');
    EXPECT_EQ(ticketTablasPuerto(b, s, "15:30:00"),
              L(ast) + L("            VENTA MARCAS") + L(ast) + L(" HIPICA C.A.") + L(" J-1") +
                  L("CH LOS SAMANES") +
                  L("TAQUILLA ANA PE\xd1"
                    "A") +
                  L("F: 07-05-2026H: 15:30:00") + L("BOLETO: 4050715") + L("CARRERA: 4") +
                  L("CABALLO: (5) ESTRELLA") + L("CONTRA: (7) RELAMPAGO") + L("HIPODROMO: LA RINCONADA") +
                  L("COSTO DEL BOLETO: $150,00") + L("") + L("") +
                  QByteArray("\x1b"
                             "d\x01\r\n",
                             5));
    ImpresoraGrabada imp;
    ticketTablasImpresora(imp, b, s, "15:30:00");
    const QString g(45, QLatin1Char('-'));
    EXPECT_EQ(imp.registro, QStringList({"font:MS Sans Serif",
                                         g,
                                         "size:10",
                                         "         VENTA MARCAS",
                                         "size:8",
                                         g,
                                         " HIPICA C.A.",
                                         " J-1",
                                         "CH LOS SAMANES",
                                         "TAQUILLA: ANA PEÑA",
                                         "F: 07-05-2026 H: 15:30:00",
                                         "BOLETO: 4050715",
                                         "CARRERA: 4",
                                         "CABALLO: (5) ESTRELLA",
                                         "CONTRA: (7) RELAMPAGO",
                                         "HIPODROMO: LA RINCONADA",
                                         g,
                                         "COSTO DEL BOLETO: $150,00",
                                         g,
                                         ".",
                                         ".",
                                         "bars@3552", // the text reaches the bars' place: they go below it
                                         ".",
                                         ".",
                                         "end"}));
}
