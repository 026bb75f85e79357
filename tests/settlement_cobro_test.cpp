// Payment statements against the recording fake, and the receipt's bytes and printer lines.
#include "cobro.h"
#include "entorno_falso.h"
#include "impresion_falsa.h"
#include "texto.h"

#include <gtest/gtest.h>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

const QDate kHoy(2026, 3, 25);

Resultado boleto(const QString &nu, double tablas, double monto, int estatus,
                 const QString &taquilla = "taq1", const QDate &fecha = kHoy) {
    return fila({{"numero", "77"},
                 {"nu_boleto", nu},
                 {"tablas", textoNumero(tablas)},
                 {"monto", textoNumero(monto)},
                 {"carrera", "3"},
                 {"caballo", "5"},
                 {"cobrado", "40"},
                 {"estatus", QString::number(estatus)},
                 {"fecha", fechaSql(fecha)},
                 {"taquilla", taquilla},
                 {"id_juego", tablas > 0 ? "2" : "3"},
                 {"id_moneda", "2"},
                 {"llave1", ""},
                 {"llave2", ""},
                 {"llave3", ""},
                 {"llave4", "0"}});
}

class CobroFalso : public ::testing::Test {
protected:
    EntornoFalso e;
    RecibosGrabados recibos;
    Cobro cobro{e.ctx, &recibos};
    void SetUp() override {
        e.ctx.sesion.usuario = "taq1";
        e.ctx.sesion.grupo = "G01";
        e.ctx.sesion.ticket_cobro = 1;
        e.ctx.sesion.impresion = 1;
        e.db->responder("select * from configuracion",
                        fila({{"fecha", fechaSql(kHoy)}, {"dias", "3"}, {"cobroespecial", "0"}}));
    }
    // The statements a payment sent (the lookup's are cleared first).
    QStringList pagar(const QString &codigo, RutaCobro ruta) {
        e.db->sentencias.clear();
        cobro.pagar(codigo, ruta);
        return e.db->sentencias;
    }
};

TEST_F(CobroFalso, LookupStatementsAndTheArchiveSearch) {
    struct Caso {
        const char *nombre;
        RutaCobro ruta;
        bool enPrincipal;
        double tablas, monto;
        bool buscaArchivo;
    };
    const Caso casos[] = {
        {"Tablas ticket found today", RutaCobro::Tablas, true, 2, 20, false},
        {"Los Puestos ticket on the Tablas path", RutaCobro::Tablas, true, 0, 20, true},
        {"not in ma_principal, Tablas", RutaCobro::Tablas, false, 0, 0, true},
        {"Los Puestos ticket found today", RutaCobro::Puestos, true, 0, 20, false},
        {"row with no amount, Puestos", RutaCobro::Puestos, true, 0, 0, true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        e.db->sentencias.clear();
        e.db->responder("SELECT * FROM ma_principal",
                        c.enPrincipal ? boleto("4032512", c.tablas, c.monto, 1) : Resultado());
        cobro.consultar(c.ruta == RutaCobro::Puestos ? " 4032512 " : "4032512", c.ruta);
        QStringList esperadas{"select * from configuracion",
                              "SELECT * FROM ma_principal Where nu_boleto = '4032512'"};
        if (c.buscaArchivo)
            esperadas << "SELECT * FROM ventas Where nu_boleto = '4032512'";
        EXPECT_EQ(e.db->sentencias, esperadas);
        EXPECT_EQ(cobro.archivo, c.buscaArchivo);
    }
}

TEST_F(CobroFalso, PaymentStatementsCarryTheLookedUpStatus) {
    // The archived prize moves in the totals row of the ticket's game and currency.
    const QString vgTablas =
        "Update ventas_general set premios=premios + '40',saldo=saldo - '40',monto_porpagar=monto_porpagar "
        "- '40' Where fecha ='2026-03-23' and grupo='G01' and id_juego='2' and id_moneda='2'limit 1 ";
    QString vgPuestos = vgTablas;
    vgPuestos.replace("id_juego='2'", "id_juego='3'");
    struct Caso {
        RutaCobro ruta;
        bool archivado;
        int estatus;
        QStringList sentencias;
    };
    const std::vector<Caso> casos = {
        {RutaCobro::Tablas,
         false,
         1,
         {"Update ma_principal set estatus=2,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and "
          "numero='77' and "
          "estatus=1  "}},
        {RutaCobro::Tablas,
         false,
         4,
         {"Update ma_principal set estatus=3,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and "
          "numero='77' and "
          "estatus=4  "}},
        {RutaCobro::Tablas,
         true,
         1,
         {"START TRANSACTION",
          "Update ventas set estatus=2,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and numero='77' "
          "and estatus=1  ",
          vgTablas, "COMMIT"}},
        {RutaCobro::Tablas,
         true,
         4,
         {"START TRANSACTION",
          "Update ventas set estatus=3,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and numero='77' "
          "and estatus=4  ",
          vgTablas, "COMMIT"}},
        {RutaCobro::Puestos,
         false,
         1,
         {"Update ma_principal set estatus=2,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and "
          "numero='77' and "
          "estatus=1  limit 1 "}},
        {RutaCobro::Puestos,
         false,
         5,
         {"Update ma_principal set estatus=2,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and "
          "numero='77' and "
          "estatus=5  limit 1 "}},
        {RutaCobro::Puestos,
         false,
         4,
         {"Update ma_principal set estatus=3,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and "
          "numero='77' and "
          "estatus=4  limit 1 "}},
        {RutaCobro::Puestos,
         true,
         5,
         {"START TRANSACTION",
          "Update ventas set estatus=2,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and fecha "
          "='2026-03-23' and "
          "numero='77' and estatus=5 limit 1 ",
          vgPuestos, "COMMIT"}},
        {RutaCobro::Puestos,
         true,
         4,
         {"START TRANSACTION",
          "Update ventas set estatus=3,fecha_cobro='2026-03-25' Where nu_boleto = '4032512' and fecha "
          "='2026-03-23' and "
          "numero='77' and estatus=4 limit 1 ",
          vgPuestos, "COMMIT"}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 archived=%2 status=%3")
                         .arg(c.ruta == RutaCobro::Tablas ? "Tablas" : "Puestos")
                         .arg(c.archivado)
                         .arg(c.estatus)
                         .toStdString());
        const bool tablas = c.ruta == RutaCobro::Tablas;
        const Resultado r = boleto("4032512", tablas ? 2 : 0, 20, c.estatus, "taq1", QDate(2026, 3, 23));
        e.db->responder("SELECT * FROM ma_principal", c.archivado ? Resultado() : r);
        e.db->responder("SELECT * FROM ventas", c.archivado ? r : Resultado());
        ASSERT_TRUE(cobro.consultar(tablas ? "4032512" : "4032512 ", c.ruta).pagable);
        recibos.recibos.clear();
        EXPECT_EQ(pagar(tablas ? "4032512" : " 4032512", c.ruta), c.sentencias);
        ASSERT_EQ(recibos.recibos.size(), 1);
        EXPECT_EQ(recibos.recibos[0].codigo, QStringLiteral("4032512"));
        EXPECT_EQ(cobro.estatus_consultado, 0);
        // A second press of the button changes nothing.
        EXPECT_EQ(pagar("4032512", c.ruta), QStringList());
    }
}

TEST_F(CobroFalso, AnEmptyOrSharedCodeIsNeverPaid) {
    const Resultado sinCodigo = boleto("", 2, 20, 1);
    const Resultado dos =
        tabla(sinCodigo.columnas(),
              {{"77", "4032512", "2", "20", "3", "5", "40", "1", "2026-03-25", "taq1", "", "", "", "0"},
               {"78", "4032512", "2", "20", "3", "5", "40", "1", "2026-03-25", "taq2", "", "", "", "0"}});
    struct Caso {
        const char *nombre;
        QString codigo;
        RutaCobro ruta;
        Resultado principal, archivo;
        QString mensaje;
        int sentencias; // statements the lookup sends
    };
    const Caso casos[] = {
        {"empty, Tablas", "", RutaCobro::Tablas, sinCodigo, sinCodigo, "VERIFIQUE EL NUMERO DEL BOLETO", 0},
        {"blanks, Puestos", "   ", RutaCobro::Puestos, sinCodigo, sinCodigo, "VERIFIQUE EL NUMERO DEL BOLETO",
         0},
        {"blanks, Tablas: only a row of that very code", "  ", RutaCobro::Tablas, sinCodigo, sinCodigo,
         "VERIFIQUE EL NUMERO DEL BOLETO", 3},
        {"two rows today", "4032512", RutaCobro::Tablas, dos, Resultado(), kCodigoDuplicado, 2},
        {"two rows today, Puestos", "4032512", RutaCobro::Puestos, dos, Resultado(), kCodigoDuplicado, 2},
        {"two rows archived", "4032512", RutaCobro::Tablas, Resultado(), dos, kCodigoDuplicado, 3},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        e.db->responder("SELECT * FROM ma_principal", c.principal);
        e.db->responder("SELECT * FROM ventas", c.archivo);
        e.db->sentencias.clear();
        const ConsultaCobro q = cobro.consultar(c.codigo, c.ruta);
        EXPECT_EQ(e.db->sentencias.size(), c.sentencias);
        EXPECT_EQ(q.mensaje, c.mensaje);
        EXPECT_FALSE(q.pagable);
        // The pay button then sends nothing at all.
        EXPECT_EQ(pagar(c.codigo, c.ruta), QStringList());
    }
}

TEST_F(CobroFalso, AValueIsQuotedThroughTheConnection) {
    e.db->responder("SELECT * FROM ma_principal", boleto("4'1", 2, 20, 1));
    cobro.consultar("4'1", RutaCobro::Tablas);
    EXPECT_EQ(e.db->sentencias.value(1),
              QStringLiteral("SELECT * FROM ma_principal Where nu_boleto = '4\\'1'"));
    EXPECT_EQ(pagar("4'1", RutaCobro::Tablas).value(0),
              QStringLiteral(
                  "Update ma_principal set estatus=2,fecha_cobro='2026-03-25' Where nu_boleto = '4\\'1' and "
                  "numero='77' and estatus=1  "));
}

TEST_F(CobroFalso, NoRowChangedMeansNoPaymentNoTotalsNoReceipt) {
    for (RutaCobro ruta : {RutaCobro::Tablas, RutaCobro::Puestos}) {
        const bool tablas = ruta == RutaCobro::Tablas;
        e.db->responder("SELECT * FROM ma_principal", Resultado());
        e.db->responder("SELECT * FROM ventas", boleto("4032512", tablas ? 2 : 0, 20, 1));
        ASSERT_TRUE(cobro.consultar("4032512", ruta).pagable);
        e.db->afectadas = 0;
        recibos.recibos.clear();
        e.db->sentencias.clear();
        const ResultadoPago r = cobro.pagar("4032512", ruta);
        e.db->afectadas = 1;
        EXPECT_FALSE(r.hecho);
        EXPECT_EQ(r.mensaje,
                  tablas ? QStringLiteral("BOLETO YA PAGADO") : QStringLiteral("BOLETO YA COBRADO"));
        // The archived ticket's transaction is rolled back: its day's totals stay as they are.
        ASSERT_EQ(e.db->sentencias.size(), 3);
        EXPECT_EQ(e.db->sentencias.value(0), QStringLiteral("START TRANSACTION"));
        EXPECT_TRUE(e.db->sentencias.value(1).startsWith("Update ventas set"));
        EXPECT_EQ(e.db->sentencias.value(2), QStringLiteral("ROLLBACK"));
        EXPECT_TRUE(recibos.recibos.isEmpty());
        EXPECT_FALSE(r.recibo.has_value());
    }
}

TEST(RutaDelCodigo, TheFirstDigitOfTheCodeNamesItsPath) {
    // One box pays every game: "3" is a Los Puestos code, "4" and "2" Tablas codes; anything else
    // takes the Tablas path, whose message asks to check the number.
    const std::pair<const char *, RutaCobro> casos[] = {
        {"312113", RutaCobro::Puestos}, {"  312113 ", RutaCobro::Puestos}, {"412113", RutaCobro::Tablas},
        {"212113", RutaCobro::Tablas},  {"", RutaCobro::Tablas},           {"X3", RutaCobro::Tablas},
        {"1312113", RutaCobro::Tablas}};
    for (const auto &[codigo, ruta] : casos)
        EXPECT_EQ(rutaDelCodigo(codigo), ruta) << codigo;
}

TEST_F(CobroFalso, ReceiptOnlyWhenBothPrintSettingsAreOne) {
    struct Caso {
        int ticket_cobro, impresion;
        bool recibo;
    };
    for (const Caso c :
         {Caso{1, 1, true}, Caso{0, 1, false}, Caso{1, 0, false}, Caso{2, 1, false}, Caso{0, 0, false}}) {
        SCOPED_TRACE(QStringLiteral("ticket_cobro=%1 impresion=%2")
                         .arg(c.ticket_cobro)
                         .arg(c.impresion)
                         .toStdString());
        e.ctx.sesion.ticket_cobro = c.ticket_cobro;
        e.ctx.sesion.impresion = c.impresion;
        e.db->responder("SELECT * FROM ma_principal", boleto("4032512", 2, 20, 1));
        ASSERT_TRUE(cobro.consultar("4032512", RutaCobro::Tablas).pagable);
        recibos.recibos.clear();
        const ResultadoPago r = cobro.pagar("4032512", RutaCobro::Tablas);
        EXPECT_TRUE(r.hecho);
        EXPECT_EQ(recibos.recibos.size(), c.recibo ? 1 : 0);
    }
}

TEST_F(CobroFalso, APrinterFailureLeavesThePaymentMade) {
    struct Falla : ImpresionRecibos {
        void imprimir(const Recibo &) override { throw std::runtime_error("paper out"); }
    } falla;
    cobro.recibos = &falla;
    e.db->responder("SELECT * FROM ma_principal", boleto("4032512", 2, 20, 1));
    ASSERT_TRUE(cobro.consultar("4032512", RutaCobro::Tablas).pagable);
    EXPECT_TRUE(cobro.pagar("4032512", RutaCobro::Tablas).hecho);
}

TEST_F(CobroFalso, ADatabaseFailureDuringALookupIsReported) {
    for (const char *falla :
         {"select * from configuracion", "SELECT * FROM ma_principal", "SELECT * FROM ventas"}) {
        SCOPED_TRACE(falla);
        EntornoFalso otro;
        otro.ctx.sesion.usuario = "taq1";
        otro.db->responder("select * from configuracion",
                           fila({{"fecha", "2026-03-25"}, {"dias", "3"}, {"cobroespecial", "0"}}));
        otro.db->fallar(falla);
        Cobro c(otro.ctx, nullptr);
        const ConsultaCobro r = c.consultar("4032512", RutaCobro::Tablas);
        EXPECT_EQ(r.cuadro, kMensajeFalloConsulta);
        EXPECT_EQ(r.tituloCuadro, QStringLiteral("COBRAR UN BOLETO"));
        EXPECT_FALSE(r.cambiaPanel);
        EXPECT_FALSE(r.pagable);
        EXPECT_EQ(c.estatus_consultado, 0);
    }
}

// ---- receipts ----

Sesion sesionRecibo() {
    Sesion s;
    s.ch = QStringLiteral("CENTRO HIPICO EL TRIUNFO");
    s.nombre = QStringLiteral("TAQ1 TAQUILLA");
    s.tamletra = 9;
    return s;
}

QByteArray L(const QByteArray &t = {}) {
    return t + QByteArray("\x1b\x19\r\n", 4);
}

TEST(Recibo, TablasPortBytes) {
    const Recibo r{RutaCobro::Tablas, "4032512", "Bs.40,00", kHoy, "10:15:00"};
    QByteArray esperado = L("            COBRO DE JUGADA") + L() + L() +
                          L("CENTRO HIPICO CENTRO HIPICO EL TRIUNFO") + L("FECHA: 25-03-2026") +
                          L("HORA: 10:15:00") + L("BOLETO: 4032512") + "TAQUILLA TAQ1 TAQUILLA\r\n" + L() +
                          L("MONTO COBRADO : Bs.40,00") + L() +
                          L("     \xa1\xa1\xa1\xa1\xa1\xa1\xa1\xa1\xa1GRACIAS POR JUGAR!!!!!!!!      ") +
                          L() + L() + L() + L(QByteArray(39, '-')) + L() + L() + L() + L();
    EXPECT_EQ(reciboTablasPuerto(r, sesionRecibo()), esperado);
}

TEST(Recibo, PuestosPortBytes) {
    const Recibo r{RutaCobro::Puestos, "3032577", "Bs.15,50", kHoy, "10:15:00"};
    QByteArray esperado = L(QByteArray(33, '-')) + L("        COBRO DE JUGADA       ") +
                          L(QByteArray(33, '-')) + L() + L() + L("FECHA: 25-03-2026") + L("HORA: 10:15:00") +
                          L("BOLETO: 3032577") + L() + L("MONTO COBRADO : Bs.15,50") + L() +
                          L("        GRACIAS POR JUGAR     ") + L() + L() + L() + L() + L() +
                          QByteArray("\x1bm\r\n", 4);
    EXPECT_EQ(reciboPuestosPuerto(r, sesionRecibo()), esperado);
}

TEST(Recibo, PrinterLinesOfBothPaths) {
    const QString g(61, QLatin1Char('-'));
    ImpresoraGrabada t, p;
    reciboTablasImpresora(t, {RutaCobro::Tablas, "4032512", "Bs.40,00", kHoy, "10:15:00"}, sesionRecibo());
    reciboPuestosImpresora(p, {RutaCobro::Puestos, "3032577", "Bs.15,50", kHoy, "10:15:00"}, sesionRecibo());
    EXPECT_EQ(t.registro,
              QStringList({"font:MS Sans Serif", "size:9", g, "                        COBRO DE JUGADA", g,
                           "CENTRO HIPICO CENTRO HIPICO EL TRIUNFO", ".", "TAQUILLA: TAQ1 TAQUILLA",
                           "FECHA: 25-03-2026", "BOLETO: 4032512", g, "MONTO COBRADO : Bs.40,00", g, ".", ".",
                           ".", ".", "end"}));
    EXPECT_EQ(p.registro,
              QStringList({"font:MS Sans Serif", "size:10", g, "                         COBRO DE JUGADA", g,
                           ".", "TAQUILLA: TAQ1 TAQUILLA", "FECHA: 25-03-2026", "BOLETO: 3032577", g,
                           "MONTO COBRADO : Bs.15,50", g, ".", ".", ".", ".", "end"}));
    EXPECT_TRUE(t.terminada);
    EXPECT_TRUE(p.terminada);
}

// Receipts take the output choice of the tickets: "WINDOWS:" becomes the shared default printer,
// "WINDOWS2:" the system printer (read after the service has let it go).
TEST(Recibo, OutputFollowsThePortSetting) {
    EntornoFalso e;
    e.ctx.sesion = sesionRecibo();
    e.maquina.equipo = "CAJA1";
    e.maquina.impresora = "Tickets";
    PuertoGrabado puerto;
    ImpresorasGrabadas impresoras;
    ServicioImpresion salida(e.ctx, puerto, impresoras);
    ServicioRecibos servicio(salida);
    const Recibo r{RutaCobro::Puestos, "3032577", "Bs.15,50", kHoy, "10:15:00"};

    e.ctx.sesion.puerto = "WINDOWS:";
    servicio.imprimir(r);
    EXPECT_EQ(puerto.puertos, QStringList{"\\\\CAJA1\\TICKETS"});
    EXPECT_EQ(e.ctx.sesion.puerto, QStringLiteral("\\\\CAJA1\\TICKETS"));
    EXPECT_EQ(puerto.escritos.at(0), reciboPuestosPuerto(r, e.ctx.sesion));

    e.ctx.sesion.puerto = "WINDOWS2:";
    servicio.imprimir(r);
    ASSERT_EQ(impresoras.trabajos.size(), 1u);
    EXPECT_EQ(puerto.puertos.size(), 1);
    EXPECT_TRUE(impresoras.ultima().registro.contains("BOLETO: 3032577"));
    EXPECT_TRUE(impresoras.ultima().terminada);
}

} // namespace
