// The report screens and the viewer, driven through their widgets on the recording fake.
#include "entorno_falso.h"
#include "form_reportes.h"
#include "rpt_jugadas.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

struct Entorno : EntornoFalso {
    BdFalsa *local = nullptr;
    explicit Entorno(const QString &nivel, const QString &multimoneda = "1", const QString &dolar = "1") {
        ctx.conexion_local = fabrica.abrir("local");
        local = fabrica.abiertas.back();
        ctx.sesion.grupo = "G01";
        ctx.sesion.ch = "CENTRO UNO";
        ctx.sesion.nivel = nivel;
        ctx.rs_grupos = tabla({"grupo", "ch"}, {{"G01", "CENTRO UNO"}, {"G02", "AGENCIA DOS"}});
        ctx.rs_configuracion =
            fila({{"fecha", "2026-01-03"}, {"multimoneda", multimoneda}, {"dolar_activado", dolar}});
        db->responder("select * from configuracion", ctx.rs_configuracion);
        db->responder("select * from juegos",
                      tabla({"id_juego", "juego"}, {{"1", "TABLAS DINAMICAS"}, {"2", "TABLA FIJA"}}));
        db->responder("select * from monedas", tabla({"id_moneda", "moneda"}, {{"1", "BS"}, {"2", "$"}}));
    }
};

std::unique_ptr<PantallaReporte> crear(const QString &nombre, Contexto &ctx) {
    if (nombre == "Form_RPT_Ventas")
        return std::make_unique<Form_RPT_Ventas>(ctx);
    if (nombre == "Form_RPT_CuadreTaqTF")
        return std::make_unique<Form_RPT_CuadreTaqTF>(ctx);
    if (nombre == "Form_RPT_ResultadosCarreras")
        return std::make_unique<Form_RPT_ResultadosCarreras>(ctx);
    return std::make_unique<Form_Bitacora>(ctx);
}

} // namespace

class PruebaReportesUi : public QObject {
    Q_OBJECT
private slots:
    void centroPorNivel_data() {
        QTest::addColumn<QString>("pantalla");
        QTest::addColumn<QString>("nivel");
        QTest::addColumn<bool>("visible");
        QTest::newRow("ventas-supervisor") << "Form_RPT_Ventas"
                                           << "Supervisor" << false;
        QTest::newRow("ventas-socio") << "Form_RPT_Ventas"
                                      << "Socio" << true;
        QTest::newRow("taquillas-supervisor") << "Form_RPT_CuadreTaqTF"
                                              << "Supervisor" << false;
        QTest::newRow("taquillas-socio") << "Form_RPT_CuadreTaqTF"
                                         << "Socio" << true;
        QTest::newRow("carreras-supervisor") << "Form_RPT_ResultadosCarreras"
                                             << "Supervisor" << false;
        QTest::newRow("bitacora-taquilla") << "Form_Bitacora"
                                           << "Taquilla" << false;
        QTest::newRow("bitacora-visor") << "Form_Bitacora"
                                        << "Visor" << false;
        QTest::newRow("bitacora-socio") << "Form_Bitacora"
                                        << "Socio" << true;
    }
    void centroPorNivel() {
        QFETCH(QString, pantalla);
        QFETCH(QString, nivel);
        QFETCH(bool, visible);
        Entorno e(nivel);
        auto f = crear(pantalla, e.ctx);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        QCOMPARE(f->Combo_centro->isVisible(), visible);
        QCOMPARE(f->Label_Hipico->isVisible(), visible);
        QCOMPARE(f->Combo_centro->objectName(),
                 pantalla == "Form_Bitacora" ? "Combo_Hipicos" : "Combo_grupo");
        if (f->Frame_Hipico)
            QCOMPARE(f->Frame_Hipico->isVisible(), visible);
        QCOMPARE(f->DTPicker1->date(), QDate(2026, 1, 3));
        QVERIFY(f->DTPicker1->hasFocus());
    }

    void monedas() {
        Entorno e("Supervisor");
        e.ctx.sesion.id_moneda = 2;
        Form_RPT_Ventas f(e.ctx);
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(e.ctx.sesion.id_moneda, 1);
        QCOMPARE(f.Label_Moneda[0]->text(), QString("BS"));
        QCOMPARE(f.Label_Moneda[1]->text(), QString("$"));
        QVERIFY(f.Label_Moneda[1]->isVisible());
        QTest::mouseClick(f.Label_Moneda[1], Qt::LeftButton);
        QCOMPARE(e.ctx.sesion.id_moneda, 2);
        QVERIFY(f.Label_Moneda[1]->styleSheet().contains("rgb(255,255,0)"));
        QVERIFY(f.Label_Moneda[0]->styleSheet().contains("rgb(255,255,255)"));
        QTest::keyClick(&f, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(e.ctx.sesion.id_moneda, 1);

        Entorno sinDolar("Supervisor", "1", "0");
        Form_RPT_CuadreTaqTF g(sinDolar.ctx);
        g.show();
        QVERIFY(g.Frame_Moneda->isVisible());
        QVERIFY(!g.Label_Moneda[1]->isVisible());

        Entorno una("Supervisor", "0", "1");
        Form_RPT_ResultadosCarreras h(una.ctx);
        h.show();
        QVERIFY(!h.Frame_Moneda->isVisible());
    }

    void selectoresSeLlenanAlEntrar() {
        Entorno e("Socio");
        Form_RPT_Ventas f(e.ctx);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.boton_Impresion->show();
        f.Combo_SelJuego->setFocus();
        QTRY_VERIFY(f.Combo_SelJuego->hasFocus());
        QStringList juegos;
        for (int i = 0; i < f.Combo_SelJuego->count(); ++i)
            juegos << f.Combo_SelJuego->itemText(i);
        QCOMPARE(juegos, (QStringList{"TABLAS DINAMICAS", "TABLA FIJA", "TODOS"}));
        QVERIFY(!f.boton_Impresion->isVisible());
        QVERIFY(f.Combo_SelJuego->styleSheet().contains("rgb(255,255,128)"));
        f.Combo_centro->setFocus();
        QTRY_COMPARE(f.Combo_centro->count(), 3);
        QCOMPARE(f.Combo_centro->itemText(2), QString("TODOS"));

        Form_Bitacora b(e.ctx);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        b.Combo_centro->setFocus();
        QTRY_COMPARE(b.Combo_centro->count(), 2); // no "TODOS" here
    }

    void procesarMuestraElBotonDeImpresion() {
        Entorno e("Supervisor");
        e.db->responder("select grupo as grupo",
                        tabla({"grupo", "venta", "fecha"}, {{"G01", "800", "2026-01-03"}}));
        Form_RPT_Ventas f(e.ctx);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(f.Bton_Procesar, Qt::LeftButton);
        QVERIFY(f.boton_Impresion->isVisible());
        QVERIFY(
            f.Text2->text().startsWith("select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal"));
        QVERIFY(f.Text3->text().startsWith("SELECT sum(cobrado) as monto_cobrado"));
        QVERIFY(f.Text1->text().isEmpty());
        QVERIFY(!f.Text1->isVisible());

        // The day after: nothing, the message, no print button.
        f.DTPicker1->setDate(QDate(2026, 1, 4));
        f.DTPicker2->setDate(QDate(2026, 1, 5));
        f.Bton_Procesar->setFocus();
        QTest::keyClick(f.Bton_Procesar, Qt::Key_Return);
        QVERIFY(!f.boton_Impresion->isVisible());
        QCOMPARE(e.dialogos.textos.last(), QString("No se encontro Ningun registro"));
    }

    void escapeCierra_data() {
        QTest::addColumn<QString>("pantalla");
        for (const char *p :
             {"Form_RPT_Ventas", "Form_RPT_CuadreTaqTF", "Form_RPT_ResultadosCarreras", "Form_Bitacora"})
            QTest::newRow(p) << QString::fromLatin1(p);
    }
    void escapeCierra() {
        QFETCH(QString, pantalla);
        Entorno e("Socio");
        auto f = crear(pantalla, e.ctx);
        QSignalSpy cerrada(f.get(), &PantallaReporte::cerrada);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        QTest::keyClick(f->DTPicker1, Qt::Key_Escape);
        QVERIFY(!f->isVisible());
        QCOMPARE(cerrada.count(), 1);
    }

    // At every font size the print settings offer, nothing is clipped or overlaps.
    void fuentes_data() {
        QTest::addColumn<QString>("pantalla");
        QTest::addColumn<int>("puntos");
        for (const char *p :
             {"Form_RPT_Ventas", "Form_RPT_CuadreTaqTF", "Form_RPT_ResultadosCarreras", "Form_Bitacora"})
            for (int pt = 6; pt <= 12; ++pt)
                QTest::addRow("%s-%d", p, pt) << QString::fromLatin1(p) << pt;
    }
    void fuentes() {
        QFETCH(QString, pantalla);
        QFETCH(int, puntos);
        const QFont antes = QApplication::font();
        QFont letra = antes;
        letra.setPointSize(puntos);
        QApplication::setFont(letra);
        Entorno e("Socio");
        auto f = crear(pantalla, e.ctx);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        QList<QWidget *> hojas;
        for (QWidget *w : f->findChildren<QWidget *>()) {
            if (w->isVisible() && (qobject_cast<QLabel *>(w) || qobject_cast<QPushButton *>(w) ||
                                   qobject_cast<QComboBox *>(w) || qobject_cast<QDateEdit *>(w)))
                hojas << w;
        }
        for (QWidget *w : hojas) {
            const QRect r(w->mapTo(f.get(), QPoint(0, 0)), w->size());
            QVERIFY2(f->rect().contains(r), qPrintable(w->objectName() + " sale de la ventana"));
            QVERIFY2(w->width() >= w->minimumSizeHint().width() &&
                         w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName() + " recortado"));
            for (QWidget *o : hojas) {
                if (o == w || o->isAncestorOf(w) || w->isAncestorOf(o))
                    continue;
                const QRect q(o->mapTo(f.get(), QPoint(0, 0)), o->size());
                QVERIFY2(!r.intersects(q), qPrintable(w->objectName() + " pisa " + o->objectName()));
            }
        }
        QApplication::setFont(antes);
    }

    void visorMuestraGuardaYCierra() {
        Entorno e("Supervisor");
        e.ctx.sesion.id_moneda = 1;
        e.ctx.rs_monedas = tabla({"id_moneda", "moneda"}, {{"1", "BS"}, {"2", "$"}});
        e.local->responder("select * from rpt_diario order by id_rpt",
                           tabla({"id_rpt", "ch", "venta", "fecha", "chipico", "saldo", "premios",
                                  "fecha_inicio", "fecha_final", "monto_porpagar", "juego"},
                                 {{"1", "CENTRO UNO", "1500.5", "2026-01-02", "CENTRO UNO", "700", "300",
                                   "02-01-2026", "03-01-2026", "500.5", "TODOS"},
                                  {"2", "CENTRO UNO", "800", "2026-01-03", "CENTRO UNO", "650", "120",
                                   "02-01-2026", "03-01-2026", "30", "TODOS"}}));
        e.ctx.sesion.tipo_reporte = 5;
        RPT_Jugadas v(e.ctx, QStringLiteral(CORVALO_SOURCE_DIR "/Reportes"));
        QCOMPARE(v.windowTitle(), QString("JUGADAS DEL DIA"));
        QSignalSpy cerrada(&v, &RPT_Jugadas::cerrada);
        v.show();
        QApplication::setActiveWindow(&v);
        QVERIFY(QTest::qWaitForWindowActive(&v));
        QVERIFY(v.Form_Load());
        QVERIFY(e.dialogos.textos.isEmpty());
        QVERIFY(v.accionPdf->isEnabled());
        QCOMPARE(v.crViewer->pageCount(), 1);
        QCOMPARE(v.maqueta()->titulo, QString("RESUMEN DE VENTAS"));
        QCOMPARE(v.maqueta()->subtitulos.first(), QString("Centro: CENTRO UNO        Moneda: BS"));
        QCOMPARE(v.maqueta()->lineas.last().celdas,
                 (QStringList{"TOTAL DEL PERIODO", "", "2.300,50", "420,00", "530,50", "1.350,00"}));

        QTemporaryDir dir;
        QVERIFY(v.guardarCsvEn(dir.filePath("diario.csv")));
        QFile csv(dir.filePath("diario.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), QByteArray("\xEF\xBB\xBF"
                                           "FECHA,CENTRO,VENTA,PREMIOS,POR PAGAR,SALDO\r\n"
                                           "02-01-2026,CENTRO UNO,1500.50,300.00,500.50,700.00\r\n"
                                           "03-01-2026,CENTRO UNO,800.00,120.00,30.00,650.00\r\n"));
        QVERIFY(v.guardarPdfEn(dir.filePath("diario.pdf")));
        QFile pdf(dir.filePath("diario.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
        QVERIFY(!QFile::exists(dir.filePath("diario.pdf.parcial")));
        QVERIFY(!v.guardarCsvEn(dir.filePath("no/such/folder/x.csv")));
        QCOMPARE(e.dialogos.titulos.size(), 1);

        QTest::keyClick(v.crViewer, Qt::Key_Escape);
        QVERIFY(!v.isVisible());
        QCOMPARE(cerrada.count(), 1);
    }

    void visorDeLaListaDeBoletos() {
        Entorno e("Supervisor");
        e.local->responder("select * from rpt_jugadas order by id_rpt",
                           tabla({"id_rpt", "numero", "boleto", "ch", "carrera", "caballo", "tablas", "monto",
                                  "cobrado", "estatus", "fecha", "juego"},
                                 {{"1", "41", "10103041", "taq1", "3", "7", "2", "40", "80", "1",
                                   "2026-01-03", "TABLAS DINAMICAS"}}));
        e.ctx.sesion.tipo_reporte = 6;
        RPT_Jugadas v(e.ctx, QStringLiteral(CORVALO_SOURCE_DIR "/Reportes"));
        QVERIFY(v.Form_Load());
        QVERIFY(v.maqueta()->horizontal);
        QCOMPARE(v.maqueta()->subtitulos.first(),
                 QString("Centro: CENTRO UNO        Fecha: 03-01-2026        Juego: TABLAS DINAMICAS"));
        QCOMPARE(v.maqueta()->lineas.first().celdas,
                 (QStringList{"41", "10103041", "taq1", "3", "7", "2,00", "40,00", "80,00", "1"}));
    }

    void visorSinBaseLocalDiceElMotivo() {
        Entorno e("Socio");
        e.local->fallar("select * from rpt_bitacora");
        e.ctx.sesion.tipo_reporte = 2;
        RPT_Jugadas v(e.ctx, QStringLiteral(CORVALO_SOURCE_DIR "/Reportes"));
        QVERIFY(!v.Form_Load());
        QCOMPARE(e.dialogos.textos, QStringList{"fallo simulado"});
        QCOMPARE(e.dialogos.titulos, QStringList{QCoreApplication::applicationName()});
        QVERIFY(!v.accionImprimir->isEnabled());
    }
};

QTEST_MAIN(PruebaReportesUi)
#include "reports_ui_test.moc"
