// The public boards driven through their real widgets (offscreen) over the recording fake: what the
// rows show, the withdrawn banners over their rows, the arrows, the closed-race message, the timers,
// the keys, the suspended account, and type that fits its cells at every application font size.
#include "entorno_falso.h"
#include "form_visor.h"

#include <QApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace corvalo;

namespace {

struct AzarFijo : AzarVisor {
    double valor = 1.0 / 15; // colour 1 (blue, 0,0,128)
    double uniforme() override { return valor; }
};

const QStringList kColumnas = {"id_carrera", "caballo",   "jinete", "valor_td", "valor_td2",
                               "valor_tf",   "valor_tf2", "puesto", "puesto2",  "retirado"};

QColor fondo(const QWidget *w) {
    return w->palette().color(QPalette::Window);
}

} // namespace

class DisplaysUiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<prueba::EntornoFalso> e;
    AzarFijo azar;
    QMap<QString, QString> ajustes;
    std::vector<QStringList> carta;
    QString mensajech;

    void preparar() {
        QStringList cols, vals;
        for (auto it = ajustes.begin(); it != ajustes.end(); ++it) {
            cols << it.key();
            vals << it.value();
        }
        const Resultado conf = prueba::tabla(cols, {vals});
        e->ctx.rs_configuracion = conf;
        e->db->responder("select * from configuracion", conf);
        e->db->responder("select mensajech from grupos", prueba::tabla({"mensajech"}, {{mensajech}}));
        e->db->responder("SELECT * FROM carreras", prueba::tabla(kColumnas, carta));
    }

    template <typename Form> Form *abrir(QSize tamano = QSize(1920, 1080)) {
        preparar();
        auto *f = new Form(e->ctx, azar);
        f->resize(tamano);
        f->show();
        QApplication::setActiveWindow(f);
        (void)QTest::qWaitForWindowExposed(f);
        QApplication::processEvents();
        return f;
    }

    // Every shown cell holds its whole text, and the cells of one column do not overlap.
    void comprobarQueCabe(Form_Visor *f) {
        for (CeldaVisor *c : f->findChildren<CeldaVisor *>()) {
            if (!c->isVisibleTo(f) || c->text().isEmpty())
                continue;
            QVERIFY2(c->textoCabe(), qPrintable(c->objectName() + QStringLiteral(": ") + c->text()));
            QVERIFY2(c->width() > 0 && c->height() > 0, qPrintable(c->objectName()));
        }
        const int n = f->tablero().filasMostradas;
        for (auto *columna : {&f->Label_numero, &f->Label_caballos, &f->Text_TF, &f->Text_PT})
            for (int i = 0; i + 1 < n; ++i) {
                const QWidget *a = (*columna)[std::size_t(i)], *b = (*columna)[std::size_t(i + 1)];
                QVERIFY2(a->geometry().bottom() < b->geometry().top(), qPrintable(a->objectName()));
            }
        // The strip's parts side by side inside the window.
        const QList<QWidget *> franja = {f->Label_Carrera, f->Label_Barner, f->Label_m, f->Label_estado};
        for (int i = 0; i + 1 < franja.size(); ++i)
            QVERIFY(franja[i]->geometry().right() < franja[i + 1]->geometry().left());
        QVERIFY(f->Label_estado->mapTo(f, QPoint(f->Label_estado->width(), 0)).x() <= f->width());
    }

private slots:
    void init() {
        e = std::make_unique<prueba::EntornoFalso>();
        e->ctx.sesion.usuario = "visor1";
        e->ctx.sesion.grupo = "G01";
        e->ctx.sesion.id_moneda = 1;
        e->ctx.sesion.mostrar_tf = 1;
        e->ctx.sesion.mostrar_pt = 1;
        e->ctx.sesion.cadena_central = "server=central;pwd=x;";
        e->db->responder("select * from monedas", prueba::tabla({"moneda"}, {{"BS"}, {"$"}}));
        ajustes = {{"fecha", "2026-01-03"},    {"carrera", "4"},
                   {"modificar", "1"},         {"mostrartd", "1"},
                   {"mostrartf", "1"},         {"mostrar_pt", "1"},
                   {"mensajeclientes", ""},    {"pantalla_td", "1"},
                   {"por_td", "10"},           {"pantalla_tf", "0"},
                   {"por_tablafija", "0"},     {"valortablafija", "20000"},
                   {"valortablafija2", "800"}, {"juego", ":.. TABLAS DINAMICAS ..:"}};
        carta = {{"501", "DON DE ORO", "J. ORTIZ", "10", "1", "520", "13", "0.4", "2", "0"},
                 {"502", "SEÑOR ALTIVA", "L. PEREZ", "20", "2", "350", "9", "12", "-3", "1"},
                 {"503", "BRISA DE PLATA", "R. CAPRILES", "30", "3", "410", "10", "-1", "0.2", "0"}};
        mensajech.clear();
        azar.valor = 1.0 / 15;
    }

    void elTableroTripleMuestraLaCarrera() {
        auto *f = abrir<Form_Pantalla_Triple>();
        QCOMPARE(f->windowTitle(), QStringLiteral("VISOR"));
        QCOMPARE(f->objectName(), QStringLiteral("Form_Pantalla_Triple"));
        QCOMPARE(f->Label_Carrera->text(), QStringLiteral("C:  4"));
        QCOMPARE(f->Label_Barner->text(), QStringLiteral(":.. TABLAS DINAMICAS ..:"));
        QCOMPARE(f->Label_m->text(), QStringLiteral("BS"));
        QCOMPARE(f->Label_estado->text(), QString());
        QCOMPARE(fondo(f->Frame_CAB), QColor(0, 128, 0));
        QCOMPARE(f->Label_numero[15]->text(), QStringLiteral("16"));
        QCOMPARE(f->Label_caballos[1]->text(), QStringLiteral("SEÑOR ALTIVA"));
        QCOMPARE(f->Text_Dinm[2]->text(), QStringLiteral("30"));
        QCOMPARE(f->Text_TF[0]->text(), QStringLiteral("520"));
        QCOMPARE(f->Text_PT[0]->text(), QStringLiteral("10/4"));
        QCOMPARE(f->Text_PT[1]->text(), QStringLiteral("1P 2N"));
        QCOMPARE(f->Text_IdCaballo[2]->text(), QStringLiteral("503"));
        QCOMPARE(f->Text_Total->text(), QStringLiteral("54"));
        QCOMPARE(f->Text_Total2->text(), QStringLiteral("20000"));
        QVERIFY(f->Label_caballos[3]->text().isEmpty());

        // The withdrawn horse's banner lies over its row, from the name across the prices.
        QVERIFY(f->Text_ETI_RET[1]->isVisible());
        QVERIFY(!f->Text_ETI_RET[0]->isVisible() && !f->Text_ETI_RET[2]->isVisible());
        QCOMPARE(f->Text_ETI_RET[1]->text(), QStringLiteral("RETIRADO"));
        const QRect banner = f->Text_ETI_RET[1]->geometry();
        for (QWidget *celda :
             std::initializer_list<QWidget *>{f->Label_caballos[1], f->Text_Dinm[1], f->Text_PT[1]})
            QVERIFY(banner.contains(QRect(celda->mapTo(f->Frame_CAB, QPoint(0, 0)), celda->size())));
        QVERIFY(!banner.intersects(
            QRect(f->Label_numero[1]->mapTo(f->Frame_CAB, QPoint(0, 0)), f->Label_numero[1]->size())));
        QCOMPARE(f->Text_TF[1]->text(), QStringLiteral("350")); // kept under the banner

        // Large type for a room: a row's text is most of a row's height at 1080 lines.
        QVERIFY(f->Label_caballos[0]->font().pixelSize() >= 30);
        // Three horses: the board's height is shared by 8 rows, not by 16.
        QCOMPARE(f->tablero().filasMostradas, 8);
        QVERIFY(f->Label_numero[7]->isVisible() && f->Label_caballos[7]->isVisible());
        QVERIFY(!f->Label_numero[8]->isVisible() && !f->Text_Dinm[8]->isVisible() &&
                !f->Picture_Flecha[8]->isVisible() && !f->Text_PT[15]->isVisible());
        const int ocho = f->Label_caballos[0]->height();
        QVERIFY2(ocho * 8 > f->Frame_CAB->height() * 6 / 10,
                 qPrintable(QString("%1 x 8 / %2").arg(ocho).arg(f->Frame_CAB->height())));
        QVERIFY(f->Text_Total->geometry().top() > f->Text_Dinm[7]->geometry().bottom());
        // Sixteen horses take every row, each smaller.
        carta.clear();
        for (int i = 0; i < 16; ++i)
            carta.push_back({QString::number(600 + i), QString("CABALLO %1").arg(i + 1), "J", "10", "1", "20",
                             "2", "0", "0", "0"});
        preparar();
        f->Timer1_Timer();
        QApplication::processEvents();
        QCOMPARE(f->tablero().filasMostradas, 16);
        QVERIFY(f->Label_numero[15]->isVisible());
        QCOMPARE(f->Label_caballos[15]->text(), QStringLiteral("CABALLO 16"));
        QVERIFY(f->Label_caballos[0]->height() < ocho * 3 / 4);
        comprobarQueCabe(f);
        QCOMPARE(f->Timer1->interval(), 5000);
        QCOMPARE(f->Timer2->interval(), 150);
        QCOMPARE(f->Timer3->interval(), 150);
        QCOMPARE(f->Timer_Activo->interval(), 60000);
        QVERIFY(f->Timer1->isActive() && f->Timer3->isActive() && f->Timer_Activo->isActive());
        QVERIFY(!f->Timer2->isActive());
        delete f;
    }

    void laFlechaSubeYBajaContraLaApertura() {
        auto *f = abrir<Form_Pantalla_Triple>();
        QCOMPARE(f->Picture_Flecha[0]->flecha(), Flecha::Ninguna);
        carta[0][3] = "15";
        carta[1][3] = "5";
        preparar();
        f->Timer1_Timer();
        QCOMPARE(f->Picture_Flecha[0]->flecha(), Flecha::Arriba);
        QCOMPARE(f->Picture_Flecha[1]->flecha(), Flecha::Abajo);
        QCOMPARE(f->Picture_Flecha[2]->flecha(), Flecha::Ninguna);
        QCOMPARE(f->Text_D2[0]->text(), QStringLiteral("10"));
        // Each arrow beside its price, inside the TD column, on the price's line, and painted.
        for (int i = 0; i < f->tablero().filasMostradas; ++i) {
            const QRect precio(f->Text_Dinm[i]->mapTo(f->Frame_TD, QPoint(0, 0)), f->Text_Dinm[i]->size());
            const QRect flecha(f->Picture_Flecha[i]->mapTo(f->Frame_TD, QPoint(0, 0)),
                               f->Picture_Flecha[i]->size());
            QVERIFY(flecha.width() >= 30 && flecha.height() >= 30);
            QCOMPARE(flecha.top(), precio.top());
            QCOMPARE(flecha.left(), precio.right() + 1);
            QVERIFY(f->Frame_TD->rect().contains(flecha));
        }
        const QImage pintada = f->Picture_Flecha[0]->grab().toImage();
        QVERIFY(pintada.pixelColor(pintada.width() / 2, pintada.height() * 3 / 4).green() > 100);
        // The two pictures are the program's own drawings, and they differ.
        const QImage sube = imagenFlecha(Flecha::Arriba, QSize(40, 40)).toImage();
        const QImage baja = imagenFlecha(Flecha::Abajo, QSize(40, 40)).toImage();
        QVERIFY(sube != baja);
        QCOMPARE(sube.pixelColor(20, 30).green() > 100, true);
        QCOMPARE(baja.pixelColor(20, 10).red() > 150, true);
        QVERIFY(imagenFlecha(Flecha::Ninguna, QSize(40, 40)).toImage().pixelColor(20, 20).alpha() == 0);
        delete f;
    }

    void carreraCerradaConMensaje() {
        ajustes["modificar"] = "0";
        ajustes["mensajeclientes"] =
            "LAS APUESTAS DE LA CUARTA CARRERA ESTAN CERRADAS, GRACIAS POR SU PREFERENCIA";
        auto *f = abrir<Form_Pantalla_Triple>();
        QVERIFY(f->Frame_Mensaje->isVisible());
        QCOMPARE(f->Text1->text(), QStringLiteral("ATENCION PUBLICO APOSTADOR"));
        QCOMPARE(f->Text_Mensaje->text(), ajustes["mensajeclientes"]);
        QCOMPARE(f->Label_estado->text(), QStringLiteral("CERRADO"));
        QCOMPARE(fondo(f->Label_estado), QColor(255, 0, 0));
        QCOMPARE(fondo(f), QColor(17, 61, 115));
        QVERIFY(f->Timer2->isActive());
        comprobarQueCabe(f);
        f->Timer2_Timer();
        // A draw of 1/15 gives the first of the colours that read on white: black.
        QCOMPARE(f->Text1->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        // Sales open again: the message goes, the colour cycling stops.
        ajustes["modificar"] = "1";
        preparar();
        f->Cuadrar();
        QVERIFY(!f->Frame_Mensaje->isVisible());
        QVERIFY(!f->Timer2->isActive());
        QCOMPARE(fondo(f), QColor(255, 255, 255));
        delete f;
    }

    void coloresDelBannerYRotacion() {
        auto *f = abrir<Form_Pantalla_Triple>();
        f->Timer3_Timer();
        // Banner game 2 at opening: the TD label in random colours, the others fixed.
        auto colores = [](const CeldaVisor *c) { return ColoresRotulo{c->colorTexto(), c->colorFondo()}; };
        ColoresRotulo esperado = parAleatorio(azar);
        QVERIFY(colores(f->Label_TD) == esperado);
        QVERIFY(colores(f->Label_Barner) == esperado);
        QCOMPARE(fondo(f->Label_TF), QColor(192, 192, 192));
        QCOMPARE(f->Label_TF->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        // The public message cycles its text over white, the background its colours are chosen for.
        ajustes["modificar"] = "0";
        ajustes["mensajeclientes"] = "CERRADO";
        preparar();
        f->Cuadrar();
        QVERIFY(f->Timer2->isActive());
        for (double r : {0.0, 0.3, 0.6, 0.99}) {
            azar.valor = r;
            f->Timer2_Timer();
            QCOMPARE(f->Text1->colorFondo(), kBlancoVisor);
            QCOMPARE(f->Text1->colorTexto(), colorMensajeAleatorio(azar));
        }
        azar.valor = 1.0 / 15;
        e->db->responder("SELECT  estatus", prueba::tabla({"estatus"}, {{"Activo"}}));
        azar.valor = 0.1; // 2 x 0.1 rounds to 0: Tabla Fija
        f->Timer_Activo_Timer();
        QCOMPARE(f->juegoBanner(), 0);
        QCOMPARE(f->Label_Barner->text(), QStringLiteral(":.. TABLA FIJA ..:"));
        f->Timer3_Timer();
        QCOMPARE(fondo(f->Label_TD), QColor(192, 192, 192));
        esperado = parAleatorio(azar);
        QVERIFY(colores(f->Label_TF) == esperado);
        delete f;
    }

    void cuentaSuspendidaTerminaElPrograma() {
        auto *f = abrir<Form_PantDoble>();
        QSignalSpy suspendido(f, &Form_Visor::suspendido);
        e->db->responder("SELECT  estatus", prueba::tabla({"estatus"}, {{"Baja"}}));
        f->Timer_Activo_Timer();
        QCOMPARE(suspendido.count(), 1);
        QCOMPARE(e->dialogos.textos.last(),
                 QStringLiteral("Su Sistema se encuentra Suspendido, Comuniquese con el Administrador"));
        QCOMPARE(e->dialogos.titulos.last(), QStringLiteral("Zazuvuz Odavizu"));
        QVERIFY(!f->Timer1->isActive() && !f->Timer_Activo->isActive());
        delete f;
    }

    void escapeCierraYReconecta() {
        QPointer<Form_Visor> f = abrir<Form_Pantalla_Triple>();
        QSignalSpy cerrada(f.data(), &Form_Visor::cerrada);
        const int antes = int(e->fabrica.cadenas.size());
        QTest::keyClick(f.data(), Qt::Key_F11);
        QVERIFY(f->isFullScreen());
        QTest::keyClick(f.data(), Qt::Key_F11);
        QVERIFY(!f->isFullScreen());
        QTest::keyClick(f.data(), Qt::Key_Escape);
        QCOMPARE(cerrada.count(), 1);
        QCOMPARE(int(e->fabrica.cadenas.size()), antes + 1);
        QCOMPARE(e->fabrica.cadenas.last(), QStringLiteral("server=central;pwd=x;"));
        QTRY_VERIFY(f.isNull()); // deleted once closed
    }

    void elTableroDobleMuestraJinetesYOcultaElEstado() {
        e->ctx.sesion.id_moneda = 2;
        auto *f = abrir<Form_PantDoble>();
        QCOMPARE(f->objectName(), QStringLiteral("Form_PantDoble"));
        QVERIFY(f->Frame_TD == nullptr && f->Text_Dinm[0] == nullptr && f->Picture_Flecha[0] == nullptr);
        QVERIFY(f->Label_numero[14] == nullptr);
        QCOMPARE(f->Label_numero[13]->text(), QStringLiteral("14"));
        QCOMPARE(f->Label_TF->text(), QStringLiteral("T. FIJA"));
        QCOMPARE(f->Label_PT->text(), QStringLiteral("PUESTO"));
        QCOMPARE(fondo(f->Frame_CAB), QColor(0, 255, 0));
        QCOMPARE(f->Label_m->text(), QStringLiteral("$"));
        QVERIFY(!f->Label_estado->isVisible());
        QCOMPARE(f->Text_TF[0]->text(), QStringLiteral("13"));
        QCOMPARE(f->Text_PT[0]->text(), QStringLiteral("2"));
        QCOMPARE(f->Text_PT[2]->text(), QStringLiteral("10/2"));
        QVERIFY(f->Label_Jinete[0]->isVisible());
        QCOMPARE(f->Label_Jinete[0]->text(), QStringLiteral("J. ORTIZ"));
        QVERIFY(!f->Label_Jinete[1]->isVisible()); // withdrawn
        QVERIFY(f->Text_ETI_RET[1]->isVisible());
        QVERIFY(!f->Label_Jinete[3]->isVisible()); // no horse
        QCOMPARE(f->Text_Total2->text(), QStringLiteral("800"));
        // Rows stay in line while a jockey is hidden.
        QCOMPARE(f->Label_Jinete[1]->geometry().top(), f->Label_caballos[1]->geometry().top());
        ajustes["modificar"] = "0";
        preparar();
        f->Cuadrar();
        QVERIFY(f->Label_estado->isVisible());
        QCOMPARE(f->Label_estado->text(), QStringLiteral("CERRADO"));
        delete f;
    }

    void sinPuestosElBannerLlegaHastaLaTablaFija() {
        e->ctx.sesion.mostrar_pt = 0;
        auto *f = abrir<Form_Pantalla_Triple>();
        QVERIFY(f->Frame_TF->isVisible());
        QVERIFY(!f->Frame_PT->isVisible());
        QVERIFY(f->Text_PT[0]->text().isEmpty());
        const QRect banner = f->Text_ETI_RET[1]->geometry();
        QCOMPARE(banner.right(), f->Frame_TF->geometry().right());
        comprobarQueCabe(f);
        delete f;
    }

    void nadaSeCortaConCualquierLetraDeLaAplicacion_data() {
        QTest::addColumn<int>("puntos");
        QTest::addColumn<bool>("triple");
        QTest::addColumn<QSize>("tamano");
        for (int puntos : {6, 8, 10, 12}) {
            QTest::addRow("triple %dpt 1920x1080", puntos) << puntos << true << QSize(1920, 1080);
            QTest::addRow("double %dpt 1920x1080", puntos) << puntos << false << QSize(1920, 1080);
        }
        QTest::addRow("triple 12pt 1024x768") << 12 << true << QSize(1024, 768);
        QTest::addRow("double 12pt 1024x768") << 12 << false << QSize(1024, 768);
    }

    void nadaSeCortaConCualquierLetraDeLaAplicacion() {
        QFETCH(int, puntos);
        QFETCH(bool, triple);
        QFETCH(QSize, tamano);
        const QFont original = QApplication::font();
        QFont letra = original;
        letra.setPointSize(puntos);
        QApplication::setFont(letra);
        // The longest names and messages the tables hold: of the widest letter on a full screen, of
        // ordinary letters on a small one.
        const bool grande = tamano.height() >= 1080;
        carta[0][1] = grande ? QString(45, QLatin1Char('W'))
                             : QStringLiteral("PRINCESA DEL CARIBE Y DE LOS LLANOS DEL SURES");
        carta[0][2] = grande ? QString(45, QLatin1Char('M'))
                             : QStringLiteral("J. A. CASTELLANO RODRIGUEZ DE LA TRINIDAD SAN");
        carta[0][3] = "123456.75";
        ajustes["pantalla_td"] = "1";
        ajustes["por_td"] = "3";
        ajustes["modificar"] = "0";
        mensajech = QString(255, QLatin1Char('A')).replace(QRegularExpression("(A{9})A"), "\\1 ");
        std::unique_ptr<Form_Visor> f;
        if (triple)
            f.reset(abrir<Form_Pantalla_Triple>(tamano));
        else
            f.reset(abrir<Form_PantDoble>(tamano));
        f->setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(f->Frame_Mensaje->isVisible());
        comprobarQueCabe(f.get());
        QApplication::setFont(original);
    }
};

QTEST_MAIN(DisplaysUiTest)
#include "displays_ui_test.moc"
