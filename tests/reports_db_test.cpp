// The four reports on the private server: a demo day with sales, results, payments, a closed
// day and cancellations; each report's rows against figures worked out by hand from the tickets
// below, and each report's PDF text.
#include "backoffice.h"
#include "bd_local.h"
#include "entorno_falso.h"
#include "procesos.h"
#include "rpt_jugadas.h"
#include "servidor_prueba.h"
#include "texto.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

// A process as its screen runs it: its message is shown once it is over.
ResultadoProceso mostrado(Contexto &ctx, ResultadoProceso r) {
    mostrarAviso(ctx.dialogos, r);
    return r;
}

const QDate W(2026, 3, 14); // the working date
const QDate AYER = W.addDays(-1);

FabricaMariaDb fabrica;
QString cadenaCentral, cadenaLocal;

struct Boleto {
    const char *codigo;
    QDate fecha;
    int carrera, caballo;
    double monto;
    const char *taquilla, *grupo;
    int juego, moneda;
};

void vender(BaseDatos &db, const Boleto &b) {
    db.ejecutar(
        QStringLiteral("INSERT INTO ma_principal (carrera,caballo,monto,tablas,taquilla,grupo,hora,fecha,"
                       "nu_boleto,id_juego,id_moneda) VALUES ('%1','%2','%3','1','%4','%5','10:00:00','%6',"
                       "'%7','%8','%9')")
            .arg(b.carrera)
            .arg(b.caballo)
            .arg(b.monto)
            .arg(QString::fromLatin1(b.taquilla), QString::fromLatin1(b.grupo), fechaSql(b.fecha),
                 QString::fromLatin1(b.codigo))
            .arg(b.juego)
            .arg(b.moneda));
}

class Reportes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cadenaCentral = crearBaseCentral(QStringLiteral("reports_db_test"));
        auto db = conectar(cadenaCentral);
        backoffice::sembrarDemo(*db, W);

        // The closed day, sold and processed yesterday and archived.
        const Boleto ayer[] = {{"A01", AYER, 3, 1, 200, "taq1", "G01", 1, 1},
                               {"A02", AYER, 3, 2, 120, "taq1", "G01", 2, 1},
                               {"A03", AYER, 4, 6, 90, "taq3", "G01", 3, 1},
                               {"A04", AYER, 3, 1, 55, "taq2", "G02", 1, 1}};
        for (const Boleto &b : ayer)
            vender(*db, b);
        backoffice::cargarResultados(*db, {AYER, 3, {1}, {}, {}, 2}); // A01 wins 400, A04 110
        backoffice::cargarResultados(*db, {AYER, 4, {}, {}, {6}, 2}); // A03 tie: 90
        backoffice::archivarDia(*db, AYER);
        db->ejecutar("UPDATE ventas SET estatus=2, fecha_cobro='2026-03-14' WHERE nu_boleto='A01'");
        // The day totals, one row per date and group, as the back-office leaves them.
        db->ejecutar("DELETE FROM ventas_general");
        db->ejecutar(
            "INSERT INTO ventas_general (fecha,grupo,id_juego,id_moneda,venta,premios,saldo,monto_porpagar) "
            "VALUES ('2026-03-12','G01',0,1,500,100,400,0),('2026-03-13','G01',0,1,410,400,10,90),"
            "('2026-03-13','G02',0,1,55,0,55,110)");

        // Today.
        const Boleto hoy[] = {
            {"T01", W, 1, 3, 100, "taq1", "G01", 1, 1}, {"T02", W, 1, 5, 50, "taq1", "G01", 1, 1},
            {"T03", W, 2, 4, 30, "taq1", "G01", 3, 1},  {"T04", W, 2, 1, 80, "taq1", "G01", 2, 1},
            {"T05", W, 1, 3, 40, "taq3", "G01", 2, 1},  {"T06", W, 2, 2, 60, "taq3", "G01", 1, 1},
            {"T07", W, 1, 2, 25, "taq3", "G01", 1, 2},  {"T08", W, 1, 3, 70, "taq2", "G02", 1, 1},
            {"T09", W, 2, 7, 10, "taq2", "G02", 1, 1}};
        for (const Boleto &b : hoy)
            vender(*db, b);
        backoffice::anularBoleto(*db, {"T04", "CABALLO EQUIVOCADO", "ANULACION", "super1"});
        backoffice::anularBoleto(*db, {"T09", "DUPLICADO", "ANULACION", "super2"});
        backoffice::cargarResultados(*db, {W, 1, {3}, {}, {}, 2}); // T01 200, T05 80, T08 140 (T07 is in $)
        backoffice::cargarResultados(*db, {W, 2, {}, {4}, {}, 2}); // T03 refund 30
        db->ejecutar("UPDATE ma_principal SET estatus=2, fecha_cobro='2026-03-14' WHERE nu_boleto='T01'");
        // A log entry that is not a cancellation: only a Supervisor sees it.
        db->ejecutar(
            "INSERT INTO bitacora (numero,carrera,caballo,taquilla,grupo,hora,fecha,estatus,nu_boleto,motivo,"
            "usuario,tipo_motivo,monto,tablas,id_juego) VALUES (2,1,1,'taq3','G01','09:00:00','2026-03-13',3,"
            "'A00','REVISION','super1','CONSULTA',15,1,1)");

        // The local report database of this program.
        auto servidor = conectar(cadenaServidor());
        servidor->ejecutar("DROP DATABASE IF EXISTS reports_db_test_local");
        servidor->ejecutar("CREATE DATABASE reports_db_test_local DEFAULT CHARACTER SET latin1");
        QString base = cadenaServidor();
        if (!base.endsWith(';'))
            base += ';';
        cadenaLocal = base + "database=reports_db_test_local;";
        auto local = conectar(cadenaLocal);
        const QStringList crear = sentenciasCrearBdLocal(true, "127.0.0.1");
        for (int i = 1; i < crear.size(); ++i)
            local->ejecutar(crear[i]);
    }

    Reportes() {
        ctx.cadenaLocal = cadenaLocal;
        ctx.sesion.cadena_central = cadenaCentral;
        ctx.abrir_central(cadenaCentral);
        ctx.sesion.usuario = "super1";
        ctx.sesion.nivel = "Supervisor";
        ctx.sesion.grupo = "G01";
        ctx.sesion.ch = "CENTRO HIPICO EL TRIUNFO";
        ctx.sesion.id_moneda = 1;
        ctx.abrir_grupos();
        ctx.abrir_juegos();
        ctx.abrir_monedas();
        ctx.abrir_configuracion();
    }

    // The local table's rows in order, the named columns joined by "|".
    QStringList filas(const QString &tabla, const QString &columnas) {
        const Resultado r = ctx.local().ejecutar("select " + columnas + " from " + tabla + " order by 1");
        QStringList out;
        for (int i = 0; i < r.filas(); ++i) {
            QStringList f;
            for (const Campo &c : r.fila(i))
                f << (c.texto().contains(QRegularExpression("^-?[0-9]+\\.[0-9]+$")) ? textoNumero(c.numero())
                                                                                    : c.texto());
            out << f.join('|');
        }
        return out;
    }

    // The report as the viewer shows it, written as PDF and read back as text.
    QString textoPdf(int tipo) {
        QTemporaryDir dir;
        RPT_Jugadas visor(ctx, QStringLiteral(CORVALO_SOURCE_DIR "/Reportes"));
        ctx.sesion.tipo_reporte = tipo;
        EXPECT_TRUE(visor.Form_Load());
        const QString pdf = dir.filePath("reporte.pdf");
        EXPECT_TRUE(visor.guardarPdfEn(pdf));
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(p.waitForFinished(60000));
        QString t = QString::fromUtf8(p.readAllStandardOutput());
        t.replace(QRegularExpression(" +"), " ");
        return t;
    }

    DialogosGrabados dialogos;
    RelojFijo reloj;
    MaquinaNula maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
};

TEST_F(Reportes, CuadreDeVentasDeUnRangoConDiasCerradosYElDiaDeTrabajo) {
    const ResultadoProceso r = mostrado(ctx, procesarVentas(ctx, {W.addDays(-2), W, "", "TODOS"}));
    EXPECT_EQ(r.filas, 3);
    EXPECT_TRUE(dialogos.textos.isEmpty()) << dialogos.textos.join('/').toStdString();
    EXPECT_EQ(filas("rpt_diario", "id_rpt,fecha,ch,venta,premios,monto_porpagar,saldo,chipico,fecha_inicio,"
                                  "fecha_final,juego"),
              (QStringList{"1|2026-03-12|EL TRIUNFO|500|100|0|400|CENTRO HIPICO EL TRIUNFO|12-03-2026|"
                           "14-03-2026|TODOS",
                           "2|2026-03-13|EL TRIUNFO|410|400|90|-80|CENTRO HIPICO EL TRIUNFO|12-03-2026|"
                           "14-03-2026|TODOS",
                           "3|2026-03-14|EL TRIUNFO|280|200|110|-30|CENTRO HIPICO EL TRIUNFO|12-03-2026|"
                           "14-03-2026|TODOS"}));
    const QString pdf = textoPdf(kReporteDiario);
    EXPECT_TRUE(pdf.contains("RESUMEN DE VENTAS")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("14-03-2026 EL TRIUNFO 280,00 200,00 110,00 -30,00")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("TOTAL DEL PERIODO 1.190,00 700,00 200,00 290,00")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("Moneda: BS")) << pdf.toStdString();
}

// The local connection cut on the server between two runs (as a restart or an idle timeout
// leaves it): the next run and the viewer open it again and work.
TEST_F(Reportes, UnaConexionLocalCortadaSeAbreDeNuevoAntesDeUsarla) {
    mostrado(ctx, procesarCuadreTaquillas(ctx, {W, W, "", ""}));
    ASSERT_TRUE(ctx.conexion_local);
    auto servidor = conectar(cadenaServidor());
    const auto cortar = [&] { servidor->ejecutar("KILL " + QString::number(ctx.conexion_local->idHilo())); };
    const unsigned long primera = ctx.conexion_local->idHilo();
    cortar();
    const ResultadoProceso r = mostrado(ctx, procesarCuadreTaquillas(ctx, {W, W, "", ""}));
    EXPECT_FALSE(r.fallo);
    EXPECT_EQ(r.filas, 2);
    EXPECT_TRUE(dialogos.textos.isEmpty()) << dialogos.textos.join('/').toStdString();
    EXPECT_NE(ctx.conexion_local->idHilo(), primera);
    EXPECT_EQ(filas("rpt_resultadostaqs", "taquilla").size(), 2);
    cortar();
    EXPECT_TRUE(textoPdf(kReporteTaquillas).contains("taq1 180,00 200,00 30,00 -50,00"));
    EXPECT_TRUE(dialogos.textos.isEmpty()) << dialogos.textos.join('/').toStdString();
}

TEST_F(Reportes, CuadreDeVentasDeUnJuegoDelDia) {
    mostrado(ctx, procesarVentas(ctx, {W, W, "", "TABLAS DINAMICAS"}));
    // T01 100 paid 200, T02 50, T06 60; T07 is in the other currency.
    EXPECT_EQ(filas("rpt_diario", "fecha,venta,premios,monto_porpagar,saldo,juego"),
              QStringList{"2026-03-14|210|200|0|10|TABLAS DINAMICAS"});
}

TEST_F(Reportes, VentasPorTaquillaDelDiaYDeUnDiaArchivado) {
    mostrado(ctx, procesarCuadreTaquillas(ctx, {W, W, "", ""}));
    EXPECT_EQ(filas("rpt_resultadostaqs", "taquilla,fecha,jugado,cobrado,monto_porpagar,total,ch,juego"),
              (QStringList{"taq1|14-03-2026|180|200|30|-50|CENTRO HIPICO EL TRIUNFO|TODOS",
                           "taq3|14-03-2026|100|0|80|20|CENTRO HIPICO EL TRIUNFO|TODOS"}));
    const QString pdf = textoPdf(kReporteTaquillas);
    EXPECT_TRUE(pdf.contains("taq1 180,00 200,00 30,00 -50,00")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("TOTAL DEL CENTRO 280,00 200,00 110,00 -30,00")) << pdf.toStdString();

    mostrado(ctx, procesarCuadreTaquillas(ctx, {AYER, AYER, "", "TODOS"}));
    EXPECT_EQ(filas("rpt_resultadostaqs", "taquilla,fecha,jugado,cobrado,monto_porpagar,total"),
              (QStringList{"taq1|13-03-2026|320|400|0|-80", "taq3|13-03-2026|90|0|90|0"}));
}

TEST_F(Reportes, VentasPorCarreraDelDiaYDeUnDiaArchivado) {
    mostrado(ctx, procesarResultadosCarreras(ctx, {W, W, "", "TODOS"}));
    EXPECT_EQ(filas("rpt_resultadoscarreras", "carrera,fecha,jugado,cobrado,monto_porpagar,total"),
              (QStringList{"1|14-03-2026|190|200|80|-90", "2|14-03-2026|90|0|30|60"}));
    const QString pdf = textoPdf(kReporteCarreras);
    EXPECT_TRUE(pdf.contains("1 190,00 200,00 80,00 -90,00")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("TOTAL DEL DÍA 280,00 200,00 110,00 -30,00")) << pdf.toStdString();

    ctx.sesion.id_moneda = 2;
    mostrado(ctx, procesarResultadosCarreras(ctx, {W, W, "", "TODOS"}));
    EXPECT_EQ(filas("rpt_resultadoscarreras", "carrera,jugado,cobrado,monto_porpagar,total"),
              QStringList{"1|25|0|0|25"});
    ctx.sesion.id_moneda = 1;
    mostrado(ctx, procesarResultadosCarreras(ctx, {AYER, AYER, "", "TODOS"}));
    EXPECT_EQ(filas("rpt_resultadoscarreras", "carrera,jugado,cobrado,monto_porpagar,total"),
              (QStringList{"3|320|400|0|-80", "4|90|0|90|0"}));
}

TEST_F(Reportes, TicketsEliminadosParaSupervisorYSocio) {
    mostrado(ctx, procesarBitacora(ctx, {AYER, W, "", ""}));
    EXPECT_EQ(
        filas("rpt_bitacora", "id,nu_boleto,numero,taquilla,fecha,monto,estatus,motivo,usuario,fecha_inicio"),
        (QStringList{"1|T04|8|taq1|2026-03-14|80|5|CABALLO EQUIVOCADO|super1|13-03-2026",
                     "2|A00|2|taq3|2026-03-13|15|3|REVISION|super1|13-03-2026"}));
    const QString pdf = textoPdf(kReporteBitacora);
    EXPECT_TRUE(pdf.contains("Taquilla: taq1")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("14-03-2026 10:00:00 8 T04 2 1 1 80,00 5 super1 ANULACION CABALLO EQUIVOCADO"))
        << pdf.toStdString();
    // The log entry that is no cancellation shows its status and is left out of the total.
    EXPECT_TRUE(pdf.contains("13-03-2026 09:00:00 2 A00 1 1 1 15,00 3 super1 CONSULTA REVISION"))
        << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("TOTAL ANULADO 80,00")) << pdf.toStdString();

    ctx.sesion.nivel = "Socio";
    mostrado(ctx, procesarBitacora(ctx, {AYER, W, "TODOS", ""}));
    EXPECT_EQ(filas("rpt_bitacora", "nu_boleto,estatus"), QStringList{"T04|5"});
    dialogos.textos.clear();
    mostrado(ctx, procesarBitacora(ctx, {AYER, W, "LA HERRADURA", ""}));
    EXPECT_EQ(filas("rpt_bitacora", "nu_boleto"), QStringList{});
    EXPECT_EQ(dialogos.textos, QStringList{"No se encontro Ningun registro"});
}

TEST_F(Reportes, UnBoletoAnuladoNoSeCobraNiCuentaYUnoPagadoNoSeAnula) {
    auto db = conectar(cadenaCentral);
    EXPECT_TRUE(db->ejecutar("select * from ma_principal where nu_boleto='T04'").vacio());
    EXPECT_THROW(backoffice::anularBoleto(*db, {"T01", "X", "ANULACION", "super1"}), backoffice::ErrorUso);
    EXPECT_THROW(backoffice::anularBoleto(*db, {"NOEXISTE", "X", "ANULACION", "super1"}),
                 backoffice::ErrorUso);
    EXPECT_EQ(db->ejecutar("select count(*) as n from bitacora where nu_boleto='T01'").valor(0, "n").entero(),
              0);
}

TEST_F(Reportes, ElVisorSinArchivoAvisaYQuedaVacio) {
    QTemporaryDir vacia;
    RPT_Jugadas visor(ctx, vacia.path());
    ctx.sesion.tipo_reporte = kReporteDiario;
    EXPECT_FALSE(visor.Form_Load());
    EXPECT_FALSE(visor.cargado());
    EXPECT_EQ(dialogos.textos,
              QStringList{"El archivo de reporte no se encuentra, restáurelo de los discos de instalación"});
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
