// The report screens and the viewer, driven through their widgets on the recording fake.
#include "dibujo_reporte.h"
#include "entorno_falso.h"
#include "form_menu_principal.h"
#include "form_reportes.h"
#include "rpt_jugadas.h"
#include "ventanas.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
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

// Rows for the main statement of each screen, so that a process finds something.
void conFilas(Entorno &e) {
    e.db->responder("select grupo as grupo",
                    tabla({"grupo", "venta", "fecha"}, {{"G01", "800", "2026-01-03"}}));
    e.db->responder("select m.taquilla",
                    tabla({"taquilla", "venta", "fecha"}, {{"taq1", "300", "2026-01-03"}}));
    e.db->responder("SELECT v.carrera,sum(v.monto)",
                    tabla({"carrera", "jugado", "grupo"}, {{"1", "250", "G01"}}));
    e.db->responder("Select * from bitacora",
                    tabla({"numero", "carrera", "caballo", "tablas", "monto", "taquilla", "grupo", "hora",
                           "nu_boleto", "cobrado", "motivo", "usuario", "tipo_motivo", "estatus", "fecha"},
                          {{"8", "2", "1", "1", "80", "taq1", "G01", "10:00:00", "T04", "0", "DUPLICADO",
                            "super1", "ANULACION", "5", "2026-01-03"}}));
}

bool activar(QWidget *w) {
    w->show();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

// Opens the list of a selector with the mouse on its arrow and clicks the item in the list.
bool elegirConElRaton(QComboBox *c, const QString &texto) {
    if (!activar(c->window()))
        return false;
    QStyleOptionComboBox opcion;
    opcion.initFrom(c);
    opcion.editable = c->isEditable();
    const QRect flecha =
        c->style()->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxArrow, c);
    QTest::mouseClick(c, Qt::LeftButton, {}, flecha.center());
    if (!QTest::qWaitFor([&] { return c->view()->isVisible(); }))
        return false;
    const int fila = c->findText(texto);
    if (fila < 0)
        return false;
    const QRect item = c->view()->visualRect(c->model()->index(fila, 0));
    // The list takes no release in the double-click time after it opens (as a person's click).
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseMove(c->view()->viewport(), item.center());
    QTest::mouseClick(c->view()->viewport(), Qt::LeftButton, {}, item.center());
    if (!QTest::qWaitFor([&] { return !c->view()->isVisible(); }))
        return false;
    // The offscreen platform leaves no window active once the list closes; a desktop gives the
    // screen its activation back.
    return activar(c->window());
}

// The statements of the central connection that name a game.
QStringList conJuego(const BdFalsa &db) {
    QStringList out;
    for (const QString &s : db.sentencias)
        if (s.contains("id_juego"))
            out << s;
    return out;
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

    // A game picked with the mouse from the open list is the game the report runs for, and the
    // one written into its rows.
    void juegoElegidoDeLaListaAbierta_data() {
        QTest::addColumn<QString>("pantalla");
        for (const char *p : {"Form_RPT_Ventas", "Form_RPT_CuadreTaqTF", "Form_RPT_ResultadosCarreras"})
            QTest::newRow(p) << QString::fromLatin1(p);
    }
    void juegoElegidoDeLaListaAbierta() {
        QFETCH(QString, pantalla);
        Entorno e("Supervisor");
        conFilas(e);
        auto f = crear(pantalla, e.ctx);
        QVERIFY(activar(f.get()));
        QVERIFY(elegirConElRaton(f->Combo_SelJuego, "TABLA FIJA"));
        QCOMPARE(f->Combo_SelJuego->currentText(), QString("TABLA FIJA"));
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(f->boton_Impresion->isVisible()); // a mnemonic clicks a moment later
        const QStringList juego = conJuego(*e.db);
        QVERIFY2(!juego.isEmpty() && juego.first().contains("id_juego = '2'"), qPrintable(juego.join('\n')));
        QVERIFY(e.local->sentencias.last().contains("'TABLA FIJA'"));

        // Typed, and picked by keyboard from the list: the same.
        e.db->sentencias.clear();
        f->Combo_SelJuego->lineEdit()->selectAll();
        QTest::keyClicks(f->Combo_SelJuego, "TABLAS DINAMICAS");
        QVERIFY(!f->boton_Impresion->isVisible());
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_Return); // the last field: runs the process
        QVERIFY(conJuego(*e.db).first().contains("id_juego = '1'"));
        e.db->sentencias.clear();
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_F4);
        QTRY_VERIFY(f->Combo_SelJuego->view()->isVisible());
        QTest::keyClick(f->Combo_SelJuego->view(), Qt::Key_Home);
        QTest::keyClick(f->Combo_SelJuego->view(), Qt::Key_Down);
        QTest::keyClick(f->Combo_SelJuego->view(), Qt::Key_Return);
        QTRY_VERIFY(!f->Combo_SelJuego->view()->isVisible());
        QCOMPARE(f->Combo_SelJuego->currentText(), QString("TABLA FIJA"));
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(!conJuego(*e.db).isEmpty());
        QVERIFY(conJuego(*e.db).first().contains("id_juego = '2'"));
    }

    // The print button is the last run's: a changed date takes it away; a range that starts
    // after it ends is refused with a message that says so; the viewer names the run's currency
    // even when the session's changed since.
    void imprimirEsDeLaUltimaCorrida() {
        Entorno e("Socio");
        conFilas(e);
        e.local->responder("select * from rpt_diario order by id_rpt",
                           tabla({"id_rpt", "ch", "venta", "fecha", "chipico", "saldo", "premios",
                                  "fecha_inicio", "fecha_final", "monto_porpagar", "juego"},
                                 {{"1", "CENTRO UNO", "800", "2026-01-03", "CENTRO UNO", "800", "0",
                                   "03-01-2026", "03-01-2026", "0", "TODOS"}}));
        QDir programa(QCoreApplication::applicationDirPath());
        if (!programa.exists("Reportes"))
            QVERIFY(QFile::link(CORVALO_SOURCE_DIR "/Reportes", programa.filePath("Reportes")));
        Form_RPT_Ventas f(e.ctx);
        QVERIFY(activar(&f));
        QTest::mouseClick(f.Label_Moneda[1], Qt::LeftButton);
        QTest::mouseClick(f.Bton_Procesar, Qt::LeftButton);
        QVERIFY(f.boton_Impresion->isVisible());
        e.ctx.sesion.id_moneda = 1; // another screen opened meanwhile
        QTest::mouseClick(f.boton_Impresion, Qt::LeftButton);
        RPT_Jugadas *v = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *r = qobject_cast<RPT_Jugadas *>(w); r && r->isVisible())
                v = r;
        QVERIFY(v && v->maqueta());
        QCOMPARE(v->windowTitle(), QString("RESUMEN DE VENTAS"));
        QCOMPARE(v->maqueta()->subtitulos.first(), QString("Centro: CENTRO UNO        Moneda: $"));
        v->close();
        QVERIFY(activar(&f));

        // A date changed by keyboard: the print button goes.
        f.DTPicker1->setFocus();
        QTest::keyClick(f.DTPicker1, Qt::Key_Up);
        QCOMPARE(f.DTPicker1->date(), QDate(2026, 1, 4));
        QVERIFY(!f.boton_Impresion->isVisible());
        // 04/01 to 03/01: refused, nothing run.
        e.db->sentencias.clear();
        e.dialogos.textos.clear();
        QTest::keyClick(f.DTPicker1, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(e.dialogos.textos,
                     QStringList{"La fecha DESDE debe ser menor ó igual a la fecha HASTA"});
        QCOMPARE(e.dialogos.titulos.last(), QString("Validación de Datos"));
        QVERIFY(e.db->sentencias.isEmpty());
        QVERIFY(!f.boton_Impresion->isVisible());
        QCOMPARE(f.focusWidget(), f.DTPicker1);
        // Back to a good range: it runs again.
        QTest::keyClick(f.DTPicker1, Qt::Key_Down);
        QTest::mouseClick(f.Bton_Procesar, Qt::LeftButton);
        QVERIFY(f.boton_Impresion->isVisible());
    }

    // Inside the main window, Alt+P presses "Procesar" (no hidden menu takes it), and every field
    // and button of the screen has its own Alt letter that works there.
    void teclasDentroDelMenuPrincipal_data() {
        QTest::addColumn<QString>("pantalla");
        QTest::addColumn<QString>("nivel");
        for (const char *p :
             {"Form_RPT_Ventas", "Form_RPT_CuadreTaqTF", "Form_RPT_ResultadosCarreras", "Form_Bitacora"})
            for (const char *n : {"Supervisor", "Socio"})
                QTest::addRow("%s-%s", p, n) << QString::fromLatin1(p) << QString::fromLatin1(n);
    }
    void teclasDentroDelMenuPrincipal() {
        QFETCH(QString, pantalla);
        QFETCH(QString, nivel);
        Entorno e(nivel);
        OpcionesSesion opciones;
        Form_MenuPrincipal m(e.ctx, opciones);
        PantallaReporte *f = nullptr;
        const auto abrir = [&](Form_MenuPrincipal &) -> QWidget * {
            return f = crear(pantalla, e.ctx).release();
        };
        m.pantallas.Form_RPT_Ventas = m.pantallas.Form_RPT_CuadreTaqTF =
            m.pantallas.Form_RPT_ResultadosCarreras = m.pantallas.Form_Bitacora = abrir;
        QVERIFY(activar(&m));
        const QMap<QString, QAction *> entradas{{"Form_RPT_Ventas", m.diario_menu_tf},
                                                {"Form_RPT_CuadreTaqTF", m.tf_porTaquilla},
                                                {"Form_RPT_ResultadosCarreras", m.rctf_admin_menu},
                                                {"Form_Bitacora", m.te_menu}};
        // (Offscreen, a menu opened with the keyboard keeps the activation once closed: the
        // entry is triggered here, the keys below are real.)
        entradas[pantalla]->trigger();
        QTRY_VERIFY(f && f->isVisible());
        QVERIFY(activar(&m));
        QTRY_VERIFY(f->DTPicker1->hasFocus());

        // The letters of the screen: every one is its own and none is a visible menu's.
        QSet<QChar> menus, pantallaLetras;
        for (QAction *a : m.menuBar()->actions())
            if (a->isVisible() && a->text().contains('&'))
                menus << a->text().at(a->text().indexOf('&') + 1).toUpper();
        QList<QPair<QChar, QWidget *>> teclas;
        for (QLabel *l : f->findChildren<QLabel *>())
            if (l->buddy() && l->isVisibleTo(f) && l->text().contains('&'))
                teclas << qMakePair(l->text().at(l->text().indexOf('&') + 1).toUpper(), l->buddy());
        for (QPushButton *b : {f->Bton_Procesar, f->Command1, f->boton_Impresion})
            teclas << qMakePair(b->text().at(b->text().indexOf('&') + 1).toUpper(),
                                static_cast<QWidget *>(b));
        for (const auto &t : teclas) {
            QVERIFY2(!menus.contains(t.first), qPrintable(QString(t.first)));
            QVERIFY2(!pantallaLetras.contains(t.first), qPrintable(QString(t.first)));
            pantallaLetras << t.first;
        }
        for (const auto &t : teclas) {
            if (!qobject_cast<QPushButton *>(t.second)) {
                QTest::keyClick(QApplication::focusWidget(), t.first.toLatin1(), Qt::AltModifier);
                QTRY_VERIFY2(t.second->hasFocus(), qPrintable(t.second->objectName()));
            }
        }

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(e.dialogos.textos, QStringList{"No se encontro Ningun registro"});
        QVERIFY(m.mdiArea->activeSubWindow());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(m.mdiArea->subWindowList().isEmpty());
    }

    // The print dialog's page range: only those pages are drawn.
    void rangoDePaginas() {
        QString def = "titulo: LARGO\ntabla: t\ncolumna: n | N | entero | 10\n";
        std::vector<QStringList> filas;
        for (int i = 0; i < 200; ++i)
            filas.push_back({QString::number(i)});
        const Maqueta m = maquetar(leerDefinicion(def), tabla({"n"}, filas), {});
        auto paginas = [&](int desde, int hasta) {
            QTemporaryDir dir;
            QPrinter p(QPrinter::HighResolution);
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(dir.filePath("x.pdf"));
            prepararImpresora(p, m);
            if (desde > 0) {
                p.setPrintRange(QPrinter::PageRange);
                p.setFromTo(desde, hasta);
            }
            dibujarReporte(m, &p, "pie");
            QFile f(dir.filePath("x.pdf"));
            f.open(QIODevice::ReadOnly);
            return int(QString::fromLatin1(f.readAll()).count(QRegularExpression("/Type\\s*/Page(?!s)")));
        };
        const int todas = paginas(0, 0);
        QVERIFY(todas >= 4);
        QCOMPARE(paginas(2, 3), 2);
        QCOMPARE(paginas(todas, todas + 5), 1);
    }

    // Qt's own dialogs speak Spanish; a file saved without its extension gets it; a local report
    // file wins over the packaged one.
    void dialogosArchivosYReportesLocales() {
        QVERIFY(instalarTraduccionesQt());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QString("Guardar como"));
        QCOMPARE(conExtension("/tmp/ventas", "pdf"), QString("/tmp/ventas.pdf"));
        QCOMPARE(conExtension("/tmp/ventas.PDF", "pdf"), QString("/tmp/ventas.PDF"));
        QCOMPARE(conExtension("/tmp/ventas.csv", "pdf"), QString("/tmp/ventas.csv.pdf"));

        Entorno e("Socio");
        e.ctx.sesion.tipo_reporte = kReporteDiario;
        QTemporaryDir local;
        QFile propio(local.filePath("diario.rpt"));
        QVERIFY(propio.open(QIODevice::WriteOnly));
        propio.write(
            "titulo: CUADRE DE LA AGENCIA\ntabla: rpt_diario\ncolumna: venta | VENTA | dinero | 10\n");
        propio.close();
        RPT_Jugadas v(e.ctx, QStringLiteral(CORVALO_SOURCE_DIR "/Reportes"));
        v.carpetaLocal = local.path();
        QVERIFY(v.Form_Load());
        QCOMPARE(v.windowTitle(), QString("CUADRE DE LA AGENCIA"));
        e.ctx.sesion.tipo_reporte = kReporteTaquillas; // none of its own there: the packaged one
        QVERIFY(v.Form_Load());
        QCOMPARE(v.maqueta()->titulo.left(6), QString("CUADRE"));
        QVERIFY(v.windowTitle() != QString("CUADRE DE LA AGENCIA"));
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
                                           "FECHA;CENTRO;VENTA;PREMIOS;POR PAGAR;SALDO\r\n"
                                           "02-01-2026;CENTRO UNO;1500,50;300,00;500,50;700,00\r\n"
                                           "03-01-2026;CENTRO UNO;800,00;120,00;30,00;650,00\r\n"));
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
