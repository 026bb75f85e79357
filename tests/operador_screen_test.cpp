// The operator screen driven through its real widgets (offscreen) over the recording fake: what
// it loads, its colours, the client keys, the open flag by game, Escape and the font sizes.
#include "entorno_falso.h"
#include "form_menu_principal.h"
#include "form_venta_operador.h"
#include "frame_cuadre_final.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

Resultado ajustes(const QString &venta_mk = "1") {
    return fila({{"fecha", "2026-05-07"},
                 {"carrera", "3"},
                 {"modificar", "1"},
                 {"venta_pt", "1"},
                 {"venta_mk", venta_mk},
                 {"cab_max", "14"},
                 {"juego", "1"},
                 {"juego1", "0"},
                 {"juego2", "0"},
                 {"juego3", "0"},
                 {"multimoneda", "1"},
                 {"nu_administrador", "0414-1"},
                 {"nu_tecnico", "0414-2"},
                 {"dolar_activado", "0"},
                 {"mensajetf", ""}});
}

} // namespace

class OperadorScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EntornoFalso> e;

    Form_VentaOperador *abrir() {
        auto *f = new Form_VentaOperador(e->ctx, nullptr);
        f->resize(800, 600);
        f->show();
        QApplication::setActiveWindow(f);
        (void)QTest::qWaitForWindowActive(f);
        return f;
    }

private slots:
    void init() {
        e = std::make_unique<EntornoFalso>();
        e->ctx.rs_configuracion = ajustes();
        e->db->responder("select * from configuracion", ajustes());
        e->db->responder("select * from monedas", tabla({"moneda"}, {{"BS"}, {"$"}}));
        e->db->responder("select * from hipodromos",
                         tabla({"id_hipodromo", "hipodromo"}, {{"1", "LA RINCONADA"}, {"2", "VALENCIA"}}));
        e->ctx.rs_grupos = tabla({"id_grupo", "grupo", "id_tipo", "ch"},
                                 {{"1", "G01", "1", "EL TRIUNFO"}, {"3", "C01", "2", "LOS SAMANES"}});
        e->ctx.sesion.usuario = "oper1";
        e->ctx.sesion.grupo = "G01";
        e->ctx.sesion.mostrar_tf = 1;
        e->ctx.sesion.mostrar_pt = 1;
    }

    // Every game is offered and Tablas Dinámicas chosen whatever the settings say; Marcas shows its
    // own entry; no menu and no payment panel.
    void loadsOnTablasDinamicasAndSwitchesToMarcas() {
        auto *f = abrir();
        QCOMPARE(f->windowTitle(), QStringLiteral("Venta"));
        QCOMPARE(f->juego_actual, 1);
        for (QPushButton *b : {f->Command3, f->Command6, f->Command2, f->Command5})
            QVERIFY2(b->isVisible(), qPrintable(b->objectName()));
        QVERIFY(f->findChildren<QMenuBar *>().isEmpty());
        QVERIFY(!f->findChild<QWidget *>("Frame_CobroBoleto"));
        QCOMPARE(f->Combo_Hipodromo->count(), 2);
        QTest::keyClick(f->Text_Monto, Qt::Key_F8);
        QCOMPARE(f->juego_actual, 4);
        QCOMPARE(f->Label1_0->text(), QStringLiteral("VENTA MARCAS"));
        QVERIFY(f->Label1_0->styleSheet().contains("rgb(192,64,0)"));
        QCOMPARE(f->Label3_0->text(), QStringLiteral("MONTO"));
        QVERIFY(f->Command5->styleSheet().contains("rgb(255,255,0)"));
        QVERIFY(f->Command3->styleSheet().contains("rgb(192,192,192)"));
        QVERIFY(f->Frame_Marcas->isVisible() && f->Command8->isVisible());
        QVERIFY(!f->Text_datos_V1[1]->isVisible() && !f->boton_procesar->isVisible());
        // Enter in the amount goes to the first horse; Backspace in an empty box comes back.
        QTest::keyClicks(f->Text_Monto, "50");
        QTest::keyClick(f->Text_Monto, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->Text_datos_mk[0]);
        QTest::keyClicks(f->Text_datos_mk[0], "3a,");
        QCOMPARE(f->Text_datos_mk[0]->text(), QStringLiteral("3"));
        QTest::keyClick(f->Text_datos_mk[0], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->Text_datos_mk[1]);
        QTest::keyClicks(f->Text_datos_mk[1], "15");
        QTest::keyClick(f->Text_datos_mk[1], Qt::Key_Return);
        QCOMPARE(e->dialogos.textos, QStringList{"EL NUMERO DE CABALLO NO ES VALIDO"});
        f->Text_datos_mk[1]->clear();
        QTest::keyClick(f->Text_datos_mk[1], Qt::Key_Backspace);
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        QCOMPARE(f->Text_Monto->selectedText(), QStringLiteral("50"));
        QTest::keyClick(f->Text_Monto, Qt::Key_F5);
        QVERIFY(!f->Frame_Marcas->isVisible() && f->Text_datos_V1[1]->isVisible());
        QCOMPARE(f->Label1_0->text(), QStringLiteral("VENTA TABLA DINAMICA"));
        delete f;
    }

    void fieldsTurnYellowWithTheCursor() {
        auto *f = abrir();
        QVERIFY(f->Text_Monto->styleSheet().contains("rgb(255,255,0)"));
        f->Text_datos_V1[1]->setFocus();
        QVERIFY(f->Text_Monto->styleSheet().contains("rgb(255,255,255)"));
        QVERIFY(f->Text_datos_V1[1]->styleSheet().contains("rgb(255,255,0)"));
        f->Combo_Hipodromo->setFocus();
        QVERIFY(f->Combo_Hipodromo->styleSheet().contains("rgb(255,255,128)"));
        f->Combo_Cliente->setFocus();
        QVERIFY(f->Combo_Cliente->styleSheet().contains("rgb(255,255,0)"));
        QVERIFY(f->Combo_Hipodromo->styleSheet().contains("rgb(255,255,255)"));
        delete f;
    }

    // A name of another id_tipo leaves the code box and the cursor alone; an unknown number empties
    // the list's text; a known one brings its name and the cursor to the amount.
    void clientKeys() {
        auto *f = abrir();
        f->Combo_Cliente->setFocus();
        QTest::keyClicks(f->Combo_Cliente, "EL TRIUNFO");
        QTest::keyClick(f->Combo_Cliente, Qt::Key_Return);
        QVERIFY(f->Text_codigo->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f->Combo_Cliente);
        f->Text_codigo->setFocus();
        QTest::keyClicks(f->Text_codigo, "9");
        QTest::keyClick(f->Text_codigo, Qt::Key_Return);
        QCOMPARE(f->Combo_Cliente->currentText(), QString());
        f->Text_codigo->clear();
        QTest::keyClicks(f->Text_codigo, "3");
        QTest::keyClick(f->Text_codigo, Qt::Key_Return);
        QCOMPARE(f->Combo_Cliente->currentText(), QStringLiteral("LOS SAMANES"));
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        delete f;
    }

    // The open flag is the game's: Marcas closed shows CERRADO while the other games are open.
    void theOpenFlagIsTheGames() {
        e->db->responder("select * from configuracion", ajustes("0"));
        auto *f = abrir();
        f->Timer1_Timer();
        QVERIFY(!f->Label_estado->isVisible());
        f->Command5_Click();
        f->Timer1_Timer();
        QCOMPARE(f->Label_estado->text(), QStringLiteral("CERRADO"));
        QVERIFY(f->Timer_Activo->isActive());
        delete f;
    }

    void escapeHidesTheHorsePanelThenClosesTheScreen() {
        auto *f = abrir();
        QSignalSpy cerrada(f, &Form_VentaOperador::cerrada);
        f->Frame_Valores->show();
        QTest::keyClick(f->Text_Monto, Qt::Key_Escape);
        QVERIFY(!f->Frame_Valores->isVisible());
        QCOMPARE(cerrada.count(), 0);
        QTest::keyClick(f->Text_Monto, Qt::Key_Escape);
        QCOMPARE(cerrada.count(), 1);
    }

    // Inside the main window: F2 opens the screen, its mnemonics are not taken by the main window's
    // menus, the summary serves Marcas, Escape closes the panel and then the screen, and F10 still
    // asks to leave the program.
    void keysInsideTheMainWindow() {
        e->ctx.sesion.nivel = "Operador";
        OpcionesSesion opciones;
        Form_MenuPrincipal m(e->ctx, opciones);
        m.pantallas.Form_VentaOperador = [this](Form_MenuPrincipal &menu) -> QWidget * {
            auto *f = new Form_VentaOperador(e->ctx, nullptr);
            connect(f, &Form_VentaOperador::cerrada, &menu, [&menu] { menu.pantallaCerrada(); });
            return f;
        };
        m.resize(1000, 700);
        m.show();
        QApplication::setActiveWindow(&m);
        QVERIFY(QTest::qWaitForWindowActive(&m));
        QTest::keyClick(&m, Qt::Key_F2);
        auto *f = m.findChild<Form_VentaOperador *>();
        QVERIFY(f);
        QTRY_COMPARE(QApplication::focusWidget(), f->Text_Monto);
        auto tecla = [](Qt::Key k, Qt::KeyboardModifiers mod = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, mod);
        };
        tecla(Qt::Key_L, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), f->Combo_Cliente);
        tecla(Qt::Key_O, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), f->Text_codigo);
        tecla(Qt::Key_I, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), f->Combo_Hipodromo);
        tecla(Qt::Key_F8);
        QCOMPARE(f->juego_actual, 4);
        e->db->responder("SELECT carrera FROM carreras", tabla({"carrera"}, {{"12"}}));
        e->db->responder("SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_marcas",
                         tabla({"venta", "cant_venta"}, {{"150", "2"}}));
        tecla(Qt::Key_F4);
        QVERIFY(f->Frame_CuadreFinal->isVisible());
        QCOMPARE(f->Frame_CuadreFinal->Label_JuegoPR->text(), QStringLiteral("VENTAS MARCAS"));
        tecla(Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(f->Frame_CuadreFinal->Label_Resultados[5]->text(), QStringLiteral("2"));
        tecla(Qt::Key_Escape);
        QVERIFY(!f->Frame_CuadreFinal->isVisible());
        tecla(Qt::Key_Escape);
        QTRY_VERIFY(m.mdiArea->subWindowList().isEmpty());
        QVERIFY(m.Toolbar1->isVisible());
        e->dialogos.respuestas = {Respuesta::No};
        QTest::keyClick(&m, Qt::Key_F10);
        QCOMPARE(e->dialogos.textos.last(), kPreguntaSalida);
    }

    // Nothing clipped or overlapping at the font sizes the print settings offer.
    void everyControlWholeAtEveryFontSize_data() {
        QTest::addColumn<int>("puntos");
        for (int p : {6, 9, 12})
            QTest::newRow(qPrintable(QStringLiteral("%1 pt").arg(p))) << p;
    }
    void everyControlWholeAtEveryFontSize() {
        QFETCH(int, puntos);
        const QFont antes = QApplication::font();
        QFont letra = antes;
        letra.setPointSize(puntos);
        QApplication::setFont(letra);
        auto *f = new Form_VentaOperador(e->ctx, nullptr);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->Command5_Click();
        QApplication::processEvents();
        const QList<QWidget *> controles = {
            f->Label_Cliente,     f->Combo_Cliente,    f->Label_Codigo, f->Text_codigo,
            f->Label_Hipodromo,   f->Combo_Hipodromo,  f->Command3,     f->Command6,
            f->Command2,          f->Command5,         f->Text_Monto,   f->Label_Caballos,
            f->Text_datos_mk[0],  f->Text_datos_mk[1], f->Command8,     f->boton_reimprimir,
            f->boton_cuadrefinal, f->Boton_Buscar,     f->boton_salir};
        for (QWidget *w : controles) {
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
            QVERIFY2(w->width() >= w->minimumSizeHint().width() &&
                         w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName()));
            const QRect r(w->mapTo(f, QPoint(0, 0)), w->size());
            QVERIFY2(f->rect().contains(r), qPrintable(w->objectName()));
            for (QWidget *o : controles)
                if (o != w && o->parentWidget() == w->parentWidget())
                    QVERIFY2(!w->geometry().intersects(o->geometry()),
                             qPrintable(w->objectName() + " / " + o->objectName()));
        }
        delete f;
        QApplication::setFont(antes);
    }
};

QTEST_MAIN(OperadorScreenTest)
#include "operador_screen_test.moc"
