// The booth sales screen driven through its real widgets (offscreen), over the recording fake.
#include "entorno_falso.h"
#include "form_menu_principal.h"
#include "form_venta_td.h"
#include "frame_cobro_boleto.h"
#include "impresion_falsa.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace corvalo;
using corvalo::prueba::BdFalsa;

namespace {

using Dialogo = prueba::DialogosGrabados;
using Hora = prueba::RelojFijo;
using SinMaquina = prueba::MaquinaFalsa;

QMap<QString, QString> ajustesBase() {
    return {{"fecha", "2026-01-03"},
            {"carrera", "3"},
            {"modificar", "1"},
            {"cab_max", "14"},
            {"apuesta_max_td", "20"},
            {"apuesta_max_tf", "20"},
            {"cupo_td_opcion", "0"},
            {"cupo_tf_opcion", "0"},
            {"min_vbs", "1"},
            {"max_vdls", "1000"},
            {"empresa", "HIPICA"},
            {"rif", "J-1"},
            {"impresion_datos", "0"},
            {"juego", "1"},
            {"juego1", "1"},
            {"juego2", "1"},
            {"juego3", "1"},
            {"multimoneda", "1"},
            {"nu_administrador", "0414-1"},
            {"nu_tecnico", "0414-2"},
            {"dolar_activado", "0"},
            {"mensajetf", ""},
            {"pantalla_td", "1"},
            {"por_td", "20"},
            {"valor_tabladinamica", "999"},
            {"valor_tabladinamica2", "99"},
            {"pantalla_tf", "0"},
            {"por_tablafija", "0"},
            {"valortablafija", "500"},
            {"valortablafija2", "50"}};
}

Resultado comoFila(const QMap<QString, QString> &m) {
    QStringList cols;
    QStringList vals;
    for (auto it = m.begin(); it != m.end(); ++it) {
        cols << it.key();
        vals << it.value();
    }
    return prueba::tabla(cols, {vals});
}

} // namespace

class SalesScreenTest : public QObject {
    Q_OBJECT

    prueba::FabricaFalsa fabrica;
    Dialogo dialogos;
    Hora reloj;
    SinMaquina maquina;
    std::unique_ptr<Contexto> ctx;
    BdFalsa *db = nullptr;
    QMap<QString, QString> ajustes;

    void configurar() {
        ctx->rs_configuracion = comoFila(ajustes);
        db->responder("select * from configuracion", comoFila(ajustes));
    }

    Form_Venta_TD *abrir() {
        auto *f = new Form_Venta_TD(*ctx, nullptr, nullptr);
        f->show();
        QApplication::setActiveWindow(f);
        (void)QTest::qWaitForWindowActive(f);
        return f;
    }

private slots:
    void init() {
        ctx = std::make_unique<Contexto>(fabrica, dialogos, reloj, maquina);
        ctx->conexion_central = fabrica.abrir("server=x");
        db = fabrica.abiertas.back();
        dialogos.textos.clear();
        dialogos.titulos.clear();
        ajustes = ajustesBase();
        configurar();
        db->responder("select * from monedas", prueba::tabla({"moneda"}, {{"BS"}, {"$"}}));
        ctx->sesion.ch = "HIPODROMO NORTE";
        ctx->sesion.mostrar_tf = 1;
        ctx->sesion.mostrar_pt = 0;
        ctx->sesion.usuario = "taq1";
    }

    void loadsOnTheFirstGameWithItsLook() {
        ajustes["juego1"] = "0";
        configurar();
        auto *f = abrir();
        QCOMPARE(f->juego_actual, 2);
        QVERIFY(!f->Command3->isVisibleTo(f));
        QCOMPARE(f->Label1_0->text(), QStringLiteral("VENTA TABLA FIJA"));
        QCOMPARE(f->Label_Barner->text(), QStringLiteral("CENTRO HÍPICO    HIPODROMO NORTE  "));
        QCOMPARE(f->Text_datos_V1[0]->text(), QStringLiteral("3"));
        QCOMPARE(f->Label_administrador->text(), QStringLiteral("Admin: 0414-1"));
        QCOMPARE(f->Label_tecnico->text(), QStringLiteral("Técnico: 0414-2"));
        QVERIFY(!f->Label_Moneda[1]->isVisibleTo(f));
        QCOMPARE(f->nombre_moneda, QStringLiteral("BS"));
        QCOMPARE(ctx->sesion.id_moneda, 1);
        QVERIFY(f->Command6->styleSheet().contains("rgb(255,255,0)"));
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        // The racetracks are opened with the screen.
        QVERIFY(db->sentencias.contains(QStringLiteral("select * from hipodromos")));
        f->close();
    }

    void gamePermissionAndCurrencyChoice() {
        ajustes["dolar_activado"] = "1";
        configurar();
        auto *f = abrir();
        QCOMPARE(f->juego_actual, 1);
        QVERIFY(f->nombre_moneda.isEmpty()); // both currencies: nothing until one is clicked
        QTest::mouseClick(f->Command2, Qt::LeftButton);
        QCOMPARE(dialogos.textos, QStringList{" No tiene permiso para este juego"});
        QCOMPARE(dialogos.titulos, QStringList{"Llamar administracion si desea activarlo"});
        QCOMPARE(f->juego_actual, 1);
        QTest::keyClick(f, Qt::Key_F6);
        QCOMPARE(f->juego_actual, 2);
        QVERIFY(f->boton_procesar->isVisibleTo(f));
        QTest::keyClick(f, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(ctx->sesion.id_moneda, 2);
        QCOMPARE(f->nombre_moneda, QStringLiteral("$"));
        QVERIFY(f->Label_Moneda[1]->styleSheet().contains("rgb(255,255,0)"));
        QVERIFY(f->Label_Moneda[0]->styleSheet().contains("rgb(255,255,255)"));
        f->close();
    }

    void keyboardFlowEndsOnTheProcessButton() {
        auto *f = abrir();
        QTest::keyClicks(f->Text_Monto, "2a,-");
        QCOMPARE(f->Text_Monto->text(), QStringLiteral("2"));
        QTest::keyClick(f->Text_Monto, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->Text_datos_V1[1]);
        QTest::keyClicks(f->Text_datos_V1[1], "15");
        QTest::keyClick(f->Text_datos_V1[1], Qt::Key_Return);
        QCOMPARE(dialogos.textos, QStringList{"EL NUMERO DE CABALLO NO ES VALIDO"});
        QCOMPARE(dialogos.titulos, QStringList{"VALIDACION DE DATOS"});
        f->Text_datos_V1[1]->setText("5");
        QTest::keyClick(f->Text_datos_V1[1], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->boton_procesar);
        // Backspace in an empty horse field goes back to the tablas.
        f->Text_datos_V1[1]->clear();
        f->Text_datos_V1[1]->setFocus();
        QTest::keyClick(f->Text_datos_V1[1], Qt::Key_Backspace);
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        f->close();
    }

    // The open/closed line follows configuracion at each refresh, both ways; the sale's message
    // ("... ABIERTA HASTA LA SALIDA") is not shown under "CERRADO".
    void statusRefreshShowsClosedAndStartsTheUserCheck() {
        auto *f = abrir();
        bool terminado = false;
        connect(f, &Form_Venta_TD::suspendido, this, [&] { terminado = true; });
        ajustes["mensajetf"] = "TABLA FIJA ABIERTA HASTA LA SALIDA";
        db->responder("select * from configuracion", comoFila(ajustes));
        f->Timer1_Timer();
        QVERIFY(f->Label_Mensaje->isVisible());
        ajustes["modificar"] = "0";
        db->responder("select * from configuracion", comoFila(ajustes));
        f->Timer1_Timer();
        QCOMPARE(f->Label_estado->text(), QStringLiteral("CERRADO"));
        QVERIFY(f->Label_estado->isVisible());
        QVERIFY(f->Label_estado->styleSheet().contains("rgb(255,0,0)"));
        QVERIFY(f->Text_datos_V1[0]->text().isEmpty());
        QVERIFY(f->Timer_Activo->isActive());
        QVERIFY(!f->Label_Mensaje->isVisible());
        db->responder("SELECT  estatus FROM usuarios", prueba::fila({{"estatus", "Baja"}}));
        f->Timer_Activo_Timer();
        QCOMPARE(db->sentencias.last(),
                 QStringLiteral("SELECT  estatus FROM usuarios Where usuario = 'taq1' "));
        QVERIFY(terminado);
        QCOMPARE(dialogos.titulos.last(), QStringLiteral("Zazuvuz Odavizu"));
        ajustes["modificar"] = "1";
        db->responder("select * from configuracion", comoFila(ajustes));
        f->Timer1_Timer();
        QVERIFY(f->Label_estado->text().isEmpty());
        QVERIFY(!f->Label_estado->isVisible());
        QCOMPARE(f->Label_Mensaje->text(), QStringLiteral("TABLA FIJA ABIERTA HASTA LA SALIDA"));
        QVERIFY(f->Label_Mensaje->isVisible());
        QCOMPARE(f->Text_datos_V1[0]->text(), QStringLiteral("3"));
        QVERIFY(!f->Timer_Activo->isActive());
        f->close();
    }

    // The payment panel shows the code box, the message, the whole amount and the pay button at
    // every font size the print settings offer, set on the program or on the screen.
    void paymentPanelShowsItsContentWholeAtEveryFontSize_data() {
        QTest::addColumn<int>("puntos");
        QTest::addColumn<bool>("enLaPantalla");
        for (int p = 6; p <= 12; p += 3)
            for (bool enLaPantalla : {false, true})
                QTest::newRow(qPrintable(QStringLiteral("%1 pt%2").arg(p).arg(enLaPantalla ? " screen" : "")))
                    << p << enLaPantalla;
    }
    void paymentPanelShowsItsContentWholeAtEveryFontSize() {
        QFETCH(int, puntos);
        QFETCH(bool, enLaPantalla);
        const QFont antes = QApplication::font();
        QFont letra = antes;
        letra.setPointSize(puntos);
        if (!enLaPantalla)
            QApplication::setFont(letra);
        ctx->sesion.tamletra = puntos;
        ajustes["cobroespecial"] = "0";
        ajustes["dias"] = "3";
        configurar();
        db->responder("SELECT * FROM ma_principal Where nu_boleto = '4010312'",
                      prueba::fila({{"numero", "12"},
                                    {"nu_boleto", "4010312"},
                                    {"tablas", "2"},
                                    {"monto", "60"},
                                    {"carrera", "3"},
                                    {"caballo", "5"},
                                    {"cobrado", "1200"},
                                    {"estatus", "1"},
                                    {"fecha", "2026-01-03"},
                                    {"taquilla", "taq1"},
                                    {"llave1", ""},
                                    {"llave2", ""},
                                    {"llave3", ""},
                                    {"llave4", "0"}}));
        auto *f = new Form_Venta_TD(*ctx, nullptr, nullptr);
        if (enLaPantalla)
            f->setFont(letra);
        f->resize(800, 600);
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        QTest::keyClick(f->Text_Monto, Qt::Key_F3);
        Frame_CobroBoleto *panel = f->Frame_CobroBoleto;
        QVERIFY(panel->isVisible());
        QTest::keyClicks(panel->Text_boletoCobro, "4010312");
        QTest::keyClick(panel->Text_boletoCobro, Qt::Key_Return);
        QCOMPARE(panel->Label_MCB->text(), QStringLiteral("CABALLO GANADOR"));
        QCOMPARE(panel->Label_PCB->text(), QStringLiteral("Bs.S1.200,00"));
        QTRY_VERIFY(panel->Boton_Cobrar_Boleto2->isVisible());
        QApplication::processEvents();
        // The panel lies inside the screen, and each control inside the panel, with its text whole.
        QVERIFY(f->rect().contains(QRect(panel->mapTo(f, QPoint(0, 0)), panel->size())));
        for (QWidget *w : std::initializer_list<QWidget *>{panel->Text_boletoCobro, panel->Label_MCB,
                                                           panel->Label_PCB, panel->Boton_Cobrar_Boleto2}) {
            QVERIFY2(panel->rect().contains(w->geometry()), qPrintable(w->objectName()));
            QVERIFY2(w->width() >= w->minimumSizeHint().width() &&
                         w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName()));
        }
        for (QLabel *l : {panel->Label_MCB, panel->Label_PCB})
            QVERIFY2(l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text()),
                     qPrintable(l->text()));
        QVERIFY(panel->Boton_Cobrar_Boleto2->width() >=
                panel->Boton_Cobrar_Boleto2->fontMetrics().horizontalAdvance(
                    panel->Boton_Cobrar_Boleto2->text()));
        QVERIFY(panel->Text_boletoCobro->width() >=
                panel->Text_boletoCobro->fontMetrics().horizontalAdvance(QStringLiteral("4010312")));
        delete f;
        QApplication::setFont(antes);
    }

    // Escape closes the payment panel and puts the cursor back in the amount; with the cursor in
    // the bet it hides the horse panel; it never closes the screen.
    void escapeClosesThePanels() {
        auto *f = abrir();
        QSignalSpy cerrada(f, &Form_Venta_TD::cerrada);
        f->boton_cobrar->click();
        QVERIFY(f->Frame_CobroBoleto->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->Frame_CobroBoleto->Text_boletoCobro);
        QTest::keyClick(f->Frame_CobroBoleto->Text_boletoCobro, Qt::Key_Escape);
        QVERIFY(!f->Frame_CobroBoleto->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        f->boton_pantallacliente->click();
        QVERIFY(f->Frame_Valores->isVisible());
        QCOMPARE(f->Frame_Valores->Label_Columna[1]->text(), QStringLiteral("CABALLO"));
        QTest::keyClick(f->Text_Monto, Qt::Key_Escape);
        QVERIFY(!f->Frame_Valores->isVisible());
        QVERIFY(f->isVisible());
        QCOMPARE(cerrada.count(), 0);
        delete f;
    }

    // A refused game switch hides the horse panel and changes nothing else: the payment panel
    // stays open on the game that was selected.
    void aRefusedGameSwitchLeavesThePaymentPanel() {
        auto *f = abrir();
        f->boton_cobrar->click();
        f->boton_pantallacliente->click();
        QTest::mouseClick(f->Command2, Qt::LeftButton); // Los Puestos: not allowed to this group
        QCOMPARE(dialogos.textos, QStringList{" No tiene permiso para este juego"});
        QVERIFY(!f->Frame_Valores->isVisible());
        QVERIFY(f->Frame_CobroBoleto->isVisible());
        QCOMPARE(f->juego_actual, 1);
        QCOMPARE(f->Frame_CobroBoleto->juegoActual(), 1);
        // An allowed switch closes it.
        QTest::mouseClick(f->Command6, Qt::LeftButton);
        QVERIFY(!f->Frame_CobroBoleto->isVisible());
        QCOMPARE(f->Frame_CobroBoleto->juegoActual(), 2);
        delete f;
    }

    // "Opciones" > "Salir" closes the screen; every entry has a mnemonic; the currency in effect is
    // highlighted from the start.
    void salirClosesTheScreenAndTheMenuHasMnemonics() {
        ajustes["dolar_activado"] = "1";
        configurar();
        auto *f = abrir();
        QVERIFY(f->Label_Moneda[0]->styleSheet().contains("rgb(255,255,0)"));
        QVERIFY(f->Label_Moneda[1]->styleSheet().contains("rgb(255,255,255)"));
        QVERIFY(!QKeySequence::mnemonic(f->opciones->title()).isEmpty());
        for (QAction *a : f->opciones->actions())
            QVERIFY2(!QKeySequence::mnemonic(a->text()).isEmpty(), qPrintable(a->text()));
        QSignalSpy cerrada(f, &Form_Venta_TD::cerrada);
        f->salir_menu->trigger();
        QCOMPARE(cerrada.count(), 1);
        QVERIFY(!f->isVisible());
        delete f;
    }

    // Inside the main window: "VENTA" opens the booth full size without the toolbar; "Salir" of its
    // menu closes it and gives the toolbar, the timer and the exit key back.
    void salirInsideTheMainWindowGivesTheToolbarBack() {
        ctx->sesion.nivel = "Taquilla";
        OpcionesSesion opciones;
        Form_MenuPrincipal m(*ctx, opciones);
        m.pantallas.Form_Venta_TD = [this](Form_MenuPrincipal &menu) -> QWidget * {
            auto *f = new Form_Venta_TD(*ctx, nullptr, nullptr);
            connect(f, &Form_Venta_TD::cerrada, &menu, [&menu] { menu.pantallaCerrada(); });
            return f;
        };
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.Toolbar1_Button[0]->trigger();
        QCOMPARE(int(m.mdiArea->subWindowList().size()), 1);
        QVERIFY(!m.Toolbar1->isVisible());
        auto *f = m.findChild<Form_Venta_TD *>();
        QVERIFY(f);
        // The screen's keys reach it inside the main window.
        QApplication::setActiveWindow(&m);
        QSignalSpy copia(f->reimprimir_menu, &QAction::triggered), nueva(f->nv_menu, &QAction::triggered);
        f->Text_Monto->setFocus();
        QTest::keyClick(f->Text_Monto, Qt::Key_F8);
        QTest::keyClick(f->Text_Monto, Qt::Key_F9);
        QCOMPARE(copia.count(), 1);
        QCOMPARE(nueva.count(), 1);
        f->salir_menu->trigger();
        QTRY_VERIFY(m.mdiArea->subWindowList().isEmpty());
        QVERIFY(m.Toolbar1->isVisible());
        QVERIFY(m.Timer_Activo->isActive());
        QVERIFY(m.Toolbar1_Button[1]->isVisible());
        dialogos.respuestas = {Respuesta::No};
        m.Toolbar1_Button[1]->trigger(); // F10
        QCOMPARE(dialogos.textos.last(), kPreguntaSalida);
    }

    void horsePanelShowsTheRaceAndItsTotal() {
        db->responder("SELECT id_carrera ,fecha,carrera,caballo,valor_tf",
                      prueba::tabla({"id_carrera", "caballo", "retirado", "valor_td", "valor_td2", "valor_tf",
                                     "valor_tf2"},
                                    {{"1", "ALAZAN", "0", "100", "1", "7", "1"},
                                     {"2", "BAYO", "1", "200", "2", "8", "2"},
                                     {"3", "CASTAÑO", "0", "300", "3", "9", "3"}}));
        auto *f = abrir();
        for (int i = 0; i < 16; ++i)
            f->Frame_Valores->Text_Caballo[i]->setText("viejo");
        QTest::mouseClick(f->boton_pantallacliente, Qt::LeftButton);
        QVERIFY(f->Frame_Valores->isVisible());
        QVERIFY(f->Timer_Dinamicas->isActive());
        QCOMPARE(f->Frame_Valores->Label_Carrera->text(), QStringLiteral("C:  3"));
        QCOMPARE(f->Frame_Valores->Text_Caballo[0]->text(), QStringLiteral("ALAZAN"));
        QCOMPARE(f->Frame_Valores->Text_Caballo[1]->text(), QStringLiteral(" R  E  T  I  R  A  D  O "));
        QCOMPARE(f->Frame_Valores->Text_Valor[2]->text(), QStringLiteral("300"));
        QVERIFY(f->Frame_Valores->Text_Caballo[3]->text().isEmpty());
        QCOMPARE(f->Frame_Valores->Text_Total_Dinm->text(), QStringLiteral("480")); // 600 less 20 %
        QCOMPARE(
            db->sentencias.last(),
            QStringLiteral(
                "SELECT id_carrera ,fecha,carrera,caballo,valor_tf,retirado,valor_td,valor_td2,valor_tf2 "
                "FROM carreras Where carrera = '3' and fecha = '2026-01-03'  order by id_carrera "));
        QTest::keyClick(f, Qt::Key_F6); // Tabla Fija: fixed total
        QVERIFY(!f->Frame_Valores->isVisible());
        QTest::mouseClick(f->boton_pantallacliente, Qt::LeftButton);
        QCOMPARE(f->Frame_Valores->Text_Valor[0]->text(), QStringLiteral("7"));
        QCOMPARE(f->Frame_Valores->Text_Total_Dinm->text(), QStringLiteral("500"));
        QTest::keyClick(f, Qt::Key_Escape);
        QVERIFY(!f->Frame_Valores->isVisible());
        QVERIFY(!f->Timer_Dinamicas->isActive());
        f->close();
    }

    void aTicketThatDidNotPrintIsOfferedAgainAndF8PrintsACopy() {
        // A horse far from its limit, priced 30.
        const QStringList cols = {"caballo",         "valor_td",       "valor_td2",       "valor_tf",
                                  "valor_tf2",       "apuesta_max_td", "apuesta_max_td2", "apuesta_max_tf",
                                  "apuesta_max_tf2", "estado",         "estado_td2",      "estado_tf",
                                  "estado_tf2",      "estado2_tf",     "retirado",        "retirado2",
                                  "retirado_tf",     "retirado_tf2"};
        db->responder("SELECT * FROM carreras",
                      prueba::tabla(cols, {{"ALAZAN", "30", "3", "40", "4", "9000", "9000", "9000", "9000",
                                            "0", "0", "0", "0", "0", "0", "0", "0", "0"}}));
        db->responder("SELECT sum(tablas)", prueba::fila({{"venta_ch", ""}}));
        db->siguienteId = 7;
        ctx->sesion.impresion = 1;
        prueba::BoletosGrabados boletos;
        boletos.falla = true;
        auto *f = new Form_Venta_TD(*ctx, &boletos, nullptr);
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        // Yes to the bet; the printer is mended while the offer is on screen, and Yes prints.
        dialogos.alPreguntar = [&] {
            if (dialogos.textos.last().startsWith("EL BOLETO"))
                boletos.falla = false;
        };
        f->Text_Monto->setFocus();
        QTest::keyClicks(f->Text_Monto, "2");
        QTest::keyClick(f->Text_Monto, Qt::Key_Return);
        QTest::keyClicks(f->Text_datos_V1[1], "1");
        QTest::keyClick(f->Text_datos_V1[1], Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(
            dialogos.textos.last(),
            QStringLiteral("EL BOLETO 401037 QUEDO REGISTRADO PERO NO SE PUDO IMPRIMIR. ¿DESEA IMPRIMIRLO DE "
                           "NUEVO?"));
        QCOMPARE(boletos.impresos.size(), std::size_t(1));
        QVERIFY(boletos.impresos[0].copia);
        QCOMPARE(boletos.impresos[0].nu_boleto, QStringLiteral("401037"));
        const int escritas = int(db->sentencias.size());
        // F8: another copy of the same ticket, and nothing written.
        QTest::keyClick(f, Qt::Key_F8);
        QCOMPARE(boletos.impresos.size(), std::size_t(2));
        QVERIFY(boletos.impresos[1].copia);
        QCOMPARE(boletos.impresos[1].nu_boleto, QStringLiteral("401037"));
        QCOMPARE(int(db->sentencias.size()), escritas);
        delete f;
    }

    // The number fields of the bet refuse a text with anything but digits whole, and say so (a
    // digit taken out of "12.50" would make a stake a hundred times larger); blanks and line ends
    // around a copied number are dropped. The code boxes turn what they can into their characters.
    void everyWayTextEntersAFieldPassesItsFilter_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("queda");
        for (const char *via : {"paste", "drop", "input method"}) {
            const QByteArray v(via);
            QTest::newRow((v + ": negative amount").constData()) << "Text_Monto" << via << "-500"
                                                                 << "";
            QTest::newRow((v + ": fraction").constData()) << "Text_Monto" << via << "12.50"
                                                          << "";
            QTest::newRow((v + ": decimal comma and blanks").constData()) << "Text_Monto" << via << " 1,5 "
                                                                          << "";
            QTest::newRow((v + ": a copied cell").constData()) << "Text_Monto" << via << " 1250\r\n"
                                                               << "1250";
            QTest::newRow((v + ": horse with letters").constData()) << "Text_datos_V1(1)" << via << "7a\r\n"
                                                                    << "";
            QTest::newRow((v + ": race with sign").constData()) << "Text_datos_V1(0)" << via << "+3"
                                                                << "";
            QTest::newRow((v + ": code in lower case").constData()) << "Text_boletoCobro" << via << "4ab12"
                                                                    << "4AB12";
            QTest::newRow((v + ": code with a quote").constData()) << "Text_boletoCobro" << via << "41' OR '1"
                                                                   << "41 OR 1";
            QTest::newRow((v + ": code with control bytes").constData()) << "Text_boletoCobro" << via
                                                                         << "3\x1b"
                                                                            "m9\t"
                                                                         << "3M9";
        }
    }

    void everyWayTextEntersAFieldPassesItsFilter() {
        QFETCH(QString, campo);
        QFETCH(QString, via);
        QFETCH(QString, texto);
        QFETCH(QString, queda);
        auto *f = abrir();
        QSignalSpy rechazos(f, &VentanaVenta::entradaRechazada);
        QLineEdit *e = campo == "Text_Monto"         ? f->Text_Monto
                       : campo == "Text_datos_V1(0)" ? f->Text_datos_V1[0]
                       : campo == "Text_datos_V1(1)" ? f->Text_datos_V1[1]
                                                     : f->Frame_CobroBoleto->Text_boletoCobro;
        e->setReadOnly(false);
        e->clear();
        e->setFocus();
        if (via == "paste") {
            QApplication::clipboard()->setText(texto);
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        } else if (via == "drop") {
            QMimeData datos;
            datos.setText(texto);
            // As a drag from another program arrives: enter, move, drop.
            QDragEnterEvent entra(QPoint(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(e, &entra);
            QDragMoveEvent mueve(QPoint(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(e, &mueve);
            QDropEvent caida(QPointF(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(e, &caida);
        } else {
            QInputMethodEvent metodo;
            metodo.setCommitString(texto);
            QApplication::sendEvent(e, &metodo);
        }
        QCOMPARE(e->text(), queda);
        const bool numero = !campo.contains("Cobro") && !campo.contains("cobro");
        const bool rechazado = numero && queda.isEmpty();
        QCOMPARE(rechazos.count(), rechazado ? 1 : 0);
        QCOMPARE(f->Label_SoloNumeros->isVisible(), rechazado);
        delete f;
    }

    // A key the amount refuses is refused visibly: a beep (the signal) and the hint beside it,
    // kept while the digits around the refused key stand ("12.50" typed leaves 1250), gone once
    // the field is emptied.
    void aRefusedKeyIsRefusedVisibly() {
        auto *f = abrir();
        QSignalSpy rechazos(f, &VentanaVenta::entradaRechazada);
        f->Text_Monto->setFocus();
        QTest::keyClicks(f->Text_Monto, "12.");
        QCOMPARE(rechazos.count(), 1);
        QVERIFY(f->Label_SoloNumeros->isVisible());
        QCOMPARE(f->Label_SoloNumeros->text(), QStringLiteral("SOLO NUMEROS ENTEROS"));
        // Beside the amount: on its row of the bet area, to its right.
        QVERIFY(qAbs(f->Label_SoloNumeros->geometry().center().y() -
                     f->Text_Monto->geometry().center().y()) <= 2);
        QVERIFY(f->Label_SoloNumeros->geometry().left() >= f->Text_Monto->geometry().right());
        QTest::keyClicks(f->Text_Monto, "50");
        QCOMPARE(f->Text_Monto->text(), QStringLiteral("1250"));
        QVERIFY(f->Label_SoloNumeros->isVisible());
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(f->Text_Monto, Qt::Key_Backspace);
        QVERIFY(!f->Label_SoloNumeros->isVisible());
        QTest::keyClicks(f->Text_Monto, "1,");
        QCOMPARE(rechazos.count(), 2);
        QVERIFY(f->Label_SoloNumeros->isVisible());
        // In the horse box too, beside it.
        QTest::keyClicks(f->Text_datos_V1[1], "-");
        QCOMPARE(rechazos.count(), 3);
        QTRY_VERIFY(qAbs(f->Label_SoloNumeros->geometry().center().y() -
                         f->Text_datos_V1[1]->geometry().center().y()) <= 2);
        delete f;
    }

    void closingHandsBackToTheMainWindow() {
        auto *f = abrir();
        bool devuelto = false;
        connect(f, &Form_Venta_TD::cerrada, this, [&] { devuelto = true; });
        QTest::mouseClick(f->boton_salir, Qt::LeftButton);
        QVERIFY(devuelto);
    }
};

QTEST_MAIN(SalesScreenTest)
#include "sales_screen_test.moc"
