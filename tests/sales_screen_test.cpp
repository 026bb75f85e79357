// The booth sales screen driven through its real widgets (offscreen), over the recording fake.
#include "entorno_falso.h"
#include "form_venta_td.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

    void statusRefreshShowsClosedAndStartsTheUserCheck() {
        auto *f = abrir();
        bool terminado = false;
        connect(f, &Form_Venta_TD::suspendido, this, [&] { terminado = true; });
        ajustes["modificar"] = "0";
        ajustes["mensajetf"] = "ULTIMA CARRERA";
        db->responder("select * from configuracion", comoFila(ajustes));
        f->Timer1_Timer();
        QCOMPARE(f->Label_estado->text(), QStringLiteral("CERRADO"));
        QVERIFY(f->Label_estado->styleSheet().contains("rgb(255,0,0)"));
        QVERIFY(f->Text_datos_V1[0]->text().isEmpty());
        QVERIFY(f->Timer_Activo->isActive());
        QCOMPARE(f->Label_Mensaje->text(), QStringLiteral("ULTIMA CARRERA"));
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
        QCOMPARE(f->Text_datos_V1[0]->text(), QStringLiteral("3"));
        QVERIFY(!f->Timer_Activo->isActive());
        f->close();
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
            f->Text_Caballo[i]->setText("viejo");
        QTest::mouseClick(f->boton_pantallacliente, Qt::LeftButton);
        QVERIFY(f->Frame_Valores->isVisible());
        QVERIFY(f->Timer_Dinamicas->isActive());
        QCOMPARE(f->Label_Carrera->text(), QStringLiteral("C:  3"));
        QCOMPARE(f->Text_Caballo[0]->text(), QStringLiteral("ALAZAN"));
        QCOMPARE(f->Text_Caballo[1]->text(), QStringLiteral(" R  E  T  I  R  A  D  O "));
        QCOMPARE(f->Text_Valor[2]->text(), QStringLiteral("300"));
        QVERIFY(f->Text_Caballo[3]->text().isEmpty());
        QCOMPARE(f->Text_Total_Dinm->text(), QStringLiteral("480")); // 600 less 20 %
        QCOMPARE(
            db->sentencias.last(),
            QStringLiteral(
                "SELECT id_carrera ,fecha,carrera,caballo,valor_tf,retirado,valor_td,valor_td2,valor_tf2 "
                "FROM carreras Where carrera = '3' and fecha = '2026-01-03'  order by id_carrera "));
        QTest::keyClick(f, Qt::Key_F6); // Tabla Fija: fixed total
        QVERIFY(!f->Frame_Valores->isVisible());
        QTest::mouseClick(f->boton_pantallacliente, Qt::LeftButton);
        QCOMPARE(f->Text_Valor[0]->text(), QStringLiteral("7"));
        QCOMPARE(f->Text_Total_Dinm->text(), QStringLiteral("500"));
        QTest::keyClick(f, Qt::Key_Escape);
        QVERIFY(!f->Frame_Valores->isVisible());
        QVERIFY(!f->Timer_Dinamicas->isActive());
        f->close();
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
