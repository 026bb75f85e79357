// The day summary panel and the sales and payments lists driven through the booth screen's real
// widgets (offscreen) over the recording fake: opened by their keys, run by Enter, the day sheet
// sent to a port, the grid's headers, the panels whole at every offered font size, and their
// mnemonics inside the main window.
#include "entorno_falso.h"
#include "form_menu_principal.h"
#include "form_venta_td.h"
#include "impresion_falsa.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

const QStringList kSinFiguras{"", "", "", "", "", "", "", "", ""};

QMap<QString, QString> ajustesBase() {
    return {{"fecha", "2026-01-03 00:00:00"},
            {"carrera", "3"},
            {"modificar", "1"},
            {"cab_max", "14"},
            {"juego", "1"},
            {"juego1", "1"},
            {"juego2", "1"},
            {"juego3", "1"},
            {"multimoneda", "1"},
            {"nu_administrador", "0414-1"},
            {"nu_tecnico", "0414-2"},
            {"dolar_activado", "0"},
            {"mensajetf", ""}};
}

Resultado comoFila(const QMap<QString, QString> &m) {
    return tabla(m.keys(), {QStringList(m.values())});
}

QStringList textos(Frame_CuadreFinal *p) {
    QStringList t;
    for (QLabel *l : p->Label_Resultados)
        t << l->text();
    return t;
}

QByteArray lineas(std::initializer_list<const char *> ls) {
    QByteArray b;
    for (const char *l : ls)
        b += QByteArray(l) + "\x1b\x19\r\n";
    return b;
}

} // namespace

class SettlementResumenUiTest : public QObject {
    Q_OBJECT

    FabricaFalsa fabrica;
    DialogosGrabados dialogos;
    RelojFijo reloj;
    MaquinaFalsa maquina;
    std::unique_ptr<Contexto> ctx;
    BdFalsa *db = nullptr;
    PuertoGrabado puerto;
    ImpresorasGrabadas impresoras;
    std::unique_ptr<ServicioImpresion> salida;
    std::unique_ptr<ServicioHojas> hojas;

    // The figures of a busy day, whatever the summary asks.
    void figuras(const char *venta, const char *vendidos) {
        db->responder("SELECT carrera FROM carreras where fecha='2026-01-03' order by  carrera desc",
                      fila({{"carrera", "12"}}));
        db->responder("SELECT carrera FROM carreras where fecha='2026-01-03' order by  carrera asc",
                      fila({{"carrera", "1"}}));
        db->responder("SELECT count(numero)as cant_anulados", fila({{"cant_anulados", "2"}}));
        db->responder("SELECT sum(cobrado) as monto_porpagar",
                      fila({{"monto_porpagar", "300.5"}, {"cant_mpc", "3"}}));
        db->responder("SELECT sum(cobrado) as monto_cobrado",
                      fila({{"monto_cobrado", "1000"}, {"cant_mc", "4"}}));
        db->responder("SELECT sum(monto) as venta", fila({{"venta", venta}, {"cant_venta", vendidos}}));
    }

    Form_Venta_TD *abrir() {
        auto *f = new Form_Venta_TD(*ctx, nullptr, nullptr, nullptr, hojas.get());
        f->resize(800, 600);
        f->show();
        QApplication::setActiveWindow(f);
        [&] { QVERIFY(QTest::qWaitForWindowActive(f)); }();
        return f;
    }

    void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }

private slots:
    void init() {
        ctx = std::make_unique<Contexto>(fabrica, dialogos, reloj, maquina);
        ctx->conexion_central = fabrica.abrir("server=x");
        db = fabrica.abiertas.back();
        dialogos.vistos.clear();
        dialogos.textos.clear();
        dialogos.titulos.clear();
        dialogos.respuestas.clear();
        puerto.puertos.clear();
        puerto.escritos.clear();
        impresoras.trabajos.clear();
        ctx->rs_configuracion = comoFila(ajustesBase());
        db->responder("select * from configuracion", comoFila(ajustesBase()));
        db->responder("select * from monedas", tabla({"moneda"}, {{"BS"}, {"$"}}));
        ctx->sesion.ch = "EL TRIUNFO";
        ctx->sesion.nombre = "TAQ1 TAQUILLA";
        ctx->sesion.usuario = "taq1";
        ctx->sesion.mostrar_tf = 1;
        ctx->sesion.mostrar_pt = 1;
        ctx->sesion.impresion = 1;
        ctx->sesion.tamletra = 9;
        ctx->sesion.puerto = "LPT1:";
        reloj.hora = "10:15:00";
        salida = std::make_unique<ServicioImpresion>(*ctx, puerto, impresoras);
        hojas = std::make_unique<ServicioHojas>(*salida);
        figuras("5234.5", "40");
    }

    // F4, then Enter all the way: the day, the race typed in lower case, Buscar; the figures of
    // the working date, and "HOJA DEL DIA" on the port with the race range of the day.
    void summaryFromTheKeyboardAndItsDaySheet() {
        std::unique_ptr<Form_Venta_TD> f(abrir());
        Frame_CuadreFinal *p = f->Frame_CuadreFinal;
        QSignalSpy cerrada(f.get(), &Form_Venta_TD::cerrada);
        QVERIFY(!p->isVisible());
        QTest::keyClick(f->Text_Monto, Qt::Key_F4);
        QVERIFY(p->isVisible());
        QCOMPARE(p->Label_JuegoPR->text(), QStringLiteral("VENTAS TABLA DINAMICA"));
        QCOMPARE(p->DTPicker1->date(), QDate(2026, 1, 3));
        QCOMPARE(p->Combo3->currentText(), QString());
        QCOMPARE(textos(p), kSinFiguras);
        QVERIFY(p->bton_buscar->isVisible());
        QVERIFY(!p->Command7->isVisible());
        QCOMPARE(QApplication::focusWidget(), p->DTPicker1);
        // The panel lies on the screen, centred on its frame.
        QVERIFY(f->rect().contains(p->geometry()));
        QVERIFY(qAbs(p->geometry().center().x() - f->Frame_principal->geometry().center().x()) <= 1);

        tecla(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), p->Combo3);
        // Typed or pasted, the race passes the upper-case filter.
        QApplication::clipboard()->setText(QStringLiteral("0'5;"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->Combo3->currentText(), QStringLiteral("05"));
        p->Combo3->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), "to.das");
        QCOMPARE(p->Combo3->currentText(), QStringLiteral("TODAS"));
        tecla(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), p->bton_buscar);
        db->sentencias.clear();
        tecla(Qt::Key_Return);
        QCOMPARE(dialogos.textos, QStringList());
        QCOMPARE(db->sentencias.size(), 7);
        QCOMPARE(db->sentencias.last(),
                 QStringLiteral("SELECT sum(monto) as venta,count(cobrado)as cant_venta  "
                                "FROM ma_principal where  fecha  = '2026-01-03' and "
                                "taquilla='taq1'  and id_juego=1"));
        QCOMPARE(textos(p), QStringList({"Bs.S5.234,50", "Bs.S1.000,00", "Bs.S300,50", "Bs.S3.934,00",
                                         "Bs.S4.234,50", "40", "4", "3", "2"}));

        // The sheet: the boxes as shown, the day, the race range of the last search.
        tecla(Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(puerto.puertos, QStringList{"LPT1:"});
        QCOMPARE(dialogos.textos, QStringList());
        QCOMPARE(puerto.escritos.size(), 1u);
        QCOMPARE(puerto.escritos[0], lineas({"            ---- JUEGO TABLAS DINAMICAS ----",
                                             "",
                                             "",
                                             "CENTRO HIPICO EL TRIUNFO",
                                             "TAQUILLA TAQ1 TAQUILLA",
                                             "FECHA: 3/1/26",
                                             "HORA: 10:15:00",
                                             "CARRERA: DE LA 1 HASTA LA 12",
                                             "VENTA : Bs.S5.234,50",
                                             "PREMIOS PAGADOS : Bs.S1.000,00",
                                             "POR PAGAR : Bs.S300,50",
                                             "SALDO : Bs.S3.934,00",
                                             "---------------------------------",
                                             "MONTO EN CAJA : Bs.S4.234,50",
                                             "---------------------------------",
                                             "BOLETOS VENDIDOS : 40",
                                             "BOLETOS PAGADOS  : 4",
                                             "BOLETOS POR PAGAR: 3",
                                             "BOLETOS ANULADOS : 2",
                                             "",
                                             "",
                                             "",
                                             "",
                                             "",
                                             "",
                                             ""}) +
                                         QByteArray("\x1b"
                                                    "d\x01\r\n"));
        // Without impresion 1 the button prints nothing and says nothing.
        ctx->sesion.impresion = 0;
        p->Bton_ImprimirRV->click();
        QCOMPARE(puerto.escritos.size(), 1u);
        QCOMPARE(dialogos.textos, QStringList());
        ctx->sesion.impresion = 1;

        // Escape closes the panel and gives the cursor back to the bet; the screen stays.
        tecla(Qt::Key_Escape);
        QVERIFY(!p->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        QVERIFY(f->isVisible());
        QCOMPARE(cerrada.count(), 0);
    }

    // Los Puestos searches with Command7; "Reporte Taquilla" keeps the boxes and the heading, F4
    // clears them; a game switch hides the panel.
    void puestosAndReporteTaquilla() {
        std::unique_ptr<Form_Venta_TD> f(abrir());
        Frame_CuadreFinal *p = f->Frame_CuadreFinal;
        QTest::keyClick(f->Text_Monto, Qt::Key_F4);
        p->bton_buscar->click();
        QCOMPARE(textos(p).first(), QStringLiteral("Bs.S5.234,50"));
        QTest::keyClick(f->Text_Monto, Qt::Key_F7);
        QCOMPARE(f->juego_actual, 3);
        QVERIFY(!p->isVisible());

        f->rpt_menu_tsq->trigger();
        QVERIFY(p->isVisible());
        QCOMPARE(p->Label_JuegoPR->text(), QStringLiteral("VENTAS TABLA DINAMICA"));
        QCOMPARE(textos(p).first(), QStringLiteral("Bs.S5.234,50"));
        QVERIFY(p->Command7->isVisible());
        QVERIFY(!p->bton_buscar->isVisible());
        figuras("150", "3");
        tecla(Qt::Key_Return);                              // from the day to the race
        QTest::keyClicks(QApplication::focusWidget(), "1"); // as typed, never completed to "10"
        tecla(Qt::Key_Return);                              // from the race to Command7
        QCOMPARE(QApplication::focusWidget(), p->Command7);
        db->sentencias.clear();
        tecla(Qt::Key_Return);
        QCOMPARE(db->sentencias.last(),
                 QStringLiteral("SELECT sum(monto) as venta,count(cobrado)as cant_venta  "
                                "FROM ma_principal where  fecha  = '2026-01-03' and "
                                "taquilla='taq1' and carrera='1' and id_juego=3  and "
                                "id_moneda  = '1'"));
        QCOMPARE(p->Label_JuegoPR->text(), QStringLiteral("VENTAS LOS PUESTOS"));
        QCOMPARE(textos(p), QStringList({"Bs.S150,00", "Bs.S1.000,00", "Bs.S300,50", "Bs.S-1.150,50",
                                         "Bs.S-850,00", "3", "4", "3", "2"}));
        p->Bton_ImprimirRV->click();
        QCOMPARE(puerto.escritos.size(), 1u);
        QVERIFY(puerto.escritos[0].startsWith(lineas({"            ---- JUEGO DE LOS PUESTOS ----"})));
        QVERIFY(puerto.escritos[0].contains(lineas({"CARRERA: 1", "VENTA : Bs.S150,00"})));

        f->boton_cuadrefinal->click();
        QCOMPARE(textos(p), kSinFiguras);
        QCOMPARE(p->Label_JuegoPR->text(), QStringLiteral("VENTAS LOS PUESTOS"));
        QCOMPARE(p->Combo3->currentText(), QString());
    }

    // Without a game: F4 opens the panel and says so; the search and the sheet refuse.
    void withoutAGameEveryButtonRefuses() {
        std::unique_ptr<Form_Venta_TD> f(abrir());
        f->ReinicioServer();
        QTest::keyClick(f->Text_Monto, Qt::Key_F4);
        Frame_CuadreFinal *p = f->Frame_CuadreFinal;
        QVERIFY(p->isVisible());
        QCOMPARE(p->Label_JuegoPR->text(), QStringLiteral("VENTAS"));
        p->bton_buscar->click();
        p->Bton_ImprimirRV->click();
        QCOMPARE(dialogos.textos, QStringList({"Debe seleccionar un juego para poder hacer la venta",
                                               "Debe seleccionar un juego para poder hacer la venta",
                                               "Debe seleccionar un juego para poder imprimir"}));
        QCOMPARE(dialogos.titulos, QStringList(3, QStringLiteral("Verificación de datos")));
        QCOMPARE(textos(p), kSinFiguras);
        QVERIFY(puerto.escritos.empty());
        // A failing server clears the boxes instead of leaving earlier figures.
        p->Command7->click();
        QCOMPARE(dialogos.textos.last(),
                 QStringLiteral("Debe seleccionar un juego para poder ver las ventas"));
        f->Command3->click();
        f->boton_cuadrefinal->click();
        p->bton_buscar->click();
        QCOMPARE(textos(p).last(), QStringLiteral("2"));
        db->fallar("SELECT sum(monto) as venta");
        p->bton_buscar->click();
        QCOMPARE(textos(p), kSinFiguras);
        QCOMPARE(
            dialogos.textos.last(),
            QStringLiteral("NO SE PUDO CONSULTAR EL RESUMEN. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE"));
    }

    // F11: "Ventas " and "Pagos" fill the read-only grid with the list's headers and alignments;
    // an empty list keeps its headers; no game lists nothing; Escape closes the panel.
    void listsFromTheKeyboard() {
        std::unique_ptr<Form_Venta_TD> f(abrir());
        Frame5 *p = f->Frame5;
        QVERIFY(!p->isVisible());
        QTest::keyClick(f->Text_Monto, Qt::Key_F11);
        QVERIFY(p->isVisible());
        QCOMPARE(p->pos(), QPoint(128, 48));
        QVERIFY(p->width() >= 481 && p->height() >= 417);
        QCOMPARE(QApplication::focusWidget(), p->Command19);
        QVERIFY(p->Command20->text().isEmpty());
        QCOMPARE(p->Command20->toolTip(), QStringLiteral("Cerrar (Esc)"));

        db->responder("SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal",
                      tabla({"carrera", "caballo", "tablas", "monto", "fecha", "grupo"},
                            {{"3", "7", "2", "120.5", "2026-01-03", "G01"},
                             {"3", "5", "1", "60", "2026-01-03", "G01"}}));
        db->sentencias.clear();
        tecla(Qt::Key_Return);
        QCOMPARE(db->sentencias,
                 QStringList{"SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal "
                             "Where  taquilla='taq1' and id_juego=1  and id_moneda  = '1' order "
                             "by numero desc   "});
        QAbstractItemModel *m = p->DataGrid2->model();
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->columnCount(), 6);
        QStringList cabeceras, fila0;
        for (int c = 0; c < m->columnCount(); ++c) {
            cabeceras << m->headerData(c, Qt::Horizontal).toString();
            fila0 << m->index(0, c).data().toString();
        }
        QCOMPARE(cabeceras,
                 QStringList({" CARRERA ", " CABALLO ", " TABLAS ", " MONTO ", " FECHA ", " CH "}));
        QCOMPARE(fila0, QStringList({"3", "7", "2", "120.5", "03-01-2026", "G01"}));
        QCOMPARE(m->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(m->index(0, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(p->DataGrid2->editTriggers(), QAbstractItemView::NoEditTriggers);
        // The designed widths, at 15 twips a pixel, or what the header needs.
        QVERIFY(p->DataGrid2->horizontalHeader()->sectionSize(0) >= 67);
        QVERIFY(p->DataGrid2->horizontalHeader()->sectionSize(3) >= 80);

        // Los Puestos payments of this booth: none; the grid keeps the list's headers.
        QTest::keyClick(f->Text_Monto, Qt::Key_F7);
        QVERIFY(!p->isVisible());
        QTest::keyClick(f->Text_Monto, Qt::Key_F11);
        QCOMPARE(m->rowCount(), 2); // opening keeps what the grid showed
        db->responder("SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal",
                      tabla({"carrera", "caballo", "puesto", "monto", "hora", "estatus", "cobrado"}, {}));
        db->sentencias.clear();
        p->Command1->click();
        QCOMPARE(db->sentencias,
                 QStringList{"SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM "
                             "ma_principal Where (estatus=2 OR estatus=4) and taquilla='taq1' and "
                             "id_juego=3   and id_moneda  = '1' order by numero desc   "});
        QCOMPARE(m->rowCount(), 0);
        cabeceras.clear();
        for (int c = 0; c < m->columnCount(); ++c)
            cabeceras << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(cabeceras, QStringList({" CARRERA ", " CAB ", " PUESTO ", " MONTO ", " HORA ", " ESTATUS ",
                                         " COBRADO "}));
        QVERIFY(p->DataGrid2->horizontalHeader()->isVisible());

        // No game: neither button asks anything, and the grid stays.
        f->ReinicioServer();
        db->sentencias.clear();
        p->Command19->click();
        p->Command1->click();
        QVERIFY(db->sentencias.isEmpty());
        QCOMPARE(m->columnCount(), 7);

        // A failed list says so and keeps the headers, without rows.
        f->Command3->click();
        QTest::keyClick(f->Text_Monto, Qt::Key_F11);
        db->fallar("SELECT carrera,caballo,tablas,monto,cobrado");
        p->Command1->click();
        QCOMPARE(dialogos.textos.last(),
                 QStringLiteral("NO SE PUDO CONSULTAR LA LISTA. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE"));
        QCOMPARE(m->rowCount(), 0);
        QCOMPARE(m->headerData(4, Qt::Horizontal).toString(), QStringLiteral(" COBRADO "));

        p->DataGrid2->setFocus();
        tecla(Qt::Key_Escape);
        QVERIFY(!p->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
    }

    // At every font size the print settings offer, each panel lies inside the screen and shows
    // every label, figure and header whole.
    void panelsWholeAtEveryFontSize_data() {
        QTest::addColumn<int>("puntos");
        for (int p : {6, 9, 12})
            QTest::newRow(qPrintable(QStringLiteral("%1 pt").arg(p))) << p;
    }
    void panelsWholeAtEveryFontSize() {
        QFETCH(int, puntos);
        const QFont antes = QApplication::font();
        QFont letra = antes;
        letra.setPointSize(puntos);
        QApplication::setFont(letra);
        figuras("-98765432.5", "123456");
        std::unique_ptr<Form_Venta_TD> f(abrir());
        QTest::keyClick(f->Text_Monto, Qt::Key_F4);
        Frame_CuadreFinal *p = f->Frame_CuadreFinal;
        p->bton_buscar->click();
        QCOMPARE(p->Label_Resultados[0]->text(), QStringLiteral("Bs.S-98.765.432,50"));
        QApplication::processEvents();
        QVERIFY(f->rect().contains(p->geometry()));
        QList<QWidget *> partes{p->Label_Titulo,    p->Label_JuegoPR, p->Label_Fecha, p->DTPicker1,
                                p->Label_Carrera,   p->Combo3,        p->bton_buscar, p->Label_Cantidad,
                                p->Bton_ImprimirRV, p->Bton_SalirFEV};
        for (QLabel *l : p->Label_Resultados)
            partes << l;
        for (QLabel *l : p->Label_Nombres)
            partes << l;
        for (QWidget *w : partes) {
            QVERIFY2(p->rect().contains(w->geometry()), qPrintable(w->objectName()));
            QVERIFY2(w->width() >= w->minimumSizeHint().width() &&
                         w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName()));
            if (auto *l = qobject_cast<QLabel *>(w))
                QVERIFY2(l->contentsRect().width() >=
                             l->fontMetrics().horizontalAdvance(QString(l->text()).remove(QLatin1Char('&'))),
                         qPrintable(l->text()));
        }
        // Two widgets never overlap.
        for (int i = 0; i < partes.size(); ++i)
            for (int j = i + 1; j < partes.size(); ++j)
                QVERIFY2(!partes[i]->geometry().intersects(partes[j]->geometry()),
                         qPrintable(partes[i]->objectName() + QLatin1Char('/') + partes[j]->objectName()));
        QVERIFY(p->DTPicker1->width() >=
                p->DTPicker1->fontMetrics().horizontalAdvance(QStringLiteral("28-12-2026")));

        // The lists of Los Puestos, the widest of the booth.
        QTest::keyClick(f->Text_Monto, Qt::Key_F7);
        QTest::keyClick(f->Text_Monto, Qt::Key_F11);
        db->responder("SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal",
                      tabla({"carrera", "caballo", "puesto", "monto", "hora", "estatus", "cobrado"},
                            {{"203", "14", "-5", "123456.5", "10:15:00 p. m.", "2", "246913"}}));
        f->Frame5->Command19->click();
        QApplication::processEvents();
        Frame5 *l = f->Frame5;
        QVERIFY(f->rect().contains(l->geometry()));
        QVERIFY(l->rect().contains(l->DataGrid2->geometry()));
        QHeaderView *h = l->DataGrid2->horizontalHeader();
        int ancho = 0;
        for (int c = 0; c < h->count(); ++c) {
            const QString t = l->DataGrid2->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(h->sectionSize(c) >= h->fontMetrics().horizontalAdvance(t), qPrintable(t));
            QVERIFY2(h->sectionSize(c) >=
                         static_cast<QAbstractItemView *>(l->DataGrid2)->sizeHintForColumn(c),
                     qPrintable(t));
            ancho += h->sectionSize(c);
        }
        // Every column in view without scrolling sideways.
        QVERIFY(l->DataGrid2->viewport()->width() >= ancho);
        QApplication::setFont(antes);
    }

    // Inside the main window: the panels' mnemonics are not taken by the main window's menus, F4
    // and F11 open them, Escape closes them, and F10 still asks to leave the program.
    void mnemonicsAndKeysInsideTheMainWindow() {
        ctx->sesion.nivel = "Taquilla";
        OpcionesSesion opciones;
        Form_MenuPrincipal m(*ctx, opciones);
        m.pantallas.Form_Venta_TD = [this](Form_MenuPrincipal &menu) -> QWidget * {
            auto *f = new Form_Venta_TD(*ctx, nullptr, nullptr, nullptr, hojas.get());
            connect(f, &Form_Venta_TD::cerrada, &menu, [&menu] { menu.pantallaCerrada(); });
            return f;
        };
        m.resize(1000, 700);
        m.show();
        QApplication::setActiveWindow(&m);
        QVERIFY(QTest::qWaitForWindowActive(&m));
        m.Toolbar1_Button[0]->trigger();
        auto *f = m.findChild<Form_Venta_TD *>();
        QVERIFY(f);
        QTRY_COMPARE(QApplication::focusWidget(), f->Text_Monto);

        tecla(Qt::Key_F4);
        Frame_CuadreFinal *p = f->Frame_CuadreFinal;
        QVERIFY(p->isVisible());
        QVERIFY(f->rect().contains(p->geometry()));
        tecla(Qt::Key_E, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), p->Combo3);
        tecla(Qt::Key_F, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), p->DTPicker1);
        tecla(Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(textos(p).first(), QStringLiteral("Bs.S5.234,50"));
        tecla(Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(puerto.escritos.size(), 1u);
        tecla(Qt::Key_S, Qt::AltModifier); // SALIR
        QTRY_VERIFY(!p->isVisible());

        tecla(Qt::Key_F11);
        Frame5 *l = f->Frame5;
        QVERIFY(l->isVisible());
        db->responder(
            "SELECT carrera,caballo,tablas,monto,cobrado FROM ma_principal",
            tabla({"carrera", "caballo", "tablas", "monto", "cobrado"}, {{"3", "7", "2", "120", "240"}}));
        tecla(Qt::Key_S, Qt::AltModifier); // Pagos
        QTRY_COMPARE(l->DataGrid2->model()->rowCount(), 1);
        QCOMPARE(l->DataGrid2->model()->columnCount(), 5);
        db->responder("SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal",
                      tabla({"carrera", "caballo", "tablas", "monto", "fecha", "grupo"}, {}));
        tecla(Qt::Key_V, Qt::AltModifier); // Ventas
        QTRY_COMPARE(l->DataGrid2->model()->columnCount(), 6);
        tecla(Qt::Key_Escape);
        QVERIFY(!l->isVisible());
        QCOMPARE(int(m.mdiArea->subWindowList().size()), 1);

        f->salir_menu->trigger();
        QTRY_VERIFY(m.mdiArea->subWindowList().isEmpty());
        dialogos.respuestas = {Respuesta::No};
        QTest::keyClick(&m, Qt::Key_F10);
        QCOMPARE(dialogos.textos.last(), kPreguntaSalida);
    }
};

QTEST_MAIN(SettlementResumenUiTest)
#include "settlement_resumen_ui_test.moc"
