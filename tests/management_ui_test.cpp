// The management console driven through its real widgets (offscreen): opened and closed from
// the main window, the live panel read by its worker from a scripted server that can be made
// slow or unreachable, the tabs, the lists, the keyboard and the layout at every font size.
#include "bd_falsa.h"
#include "entorno_falso.h"
#include "form_gerencia.h"
#include "form_menu_principal.h"
#include "grafico_ventas.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <condition_variable>
#include <mutex>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

// The central server as the live panel's worker sees it: scripted answers shared between
// threads, a gate that holds every statement (a slow server) and a switch that makes it fail.
struct ServidorGuionado {
    std::mutex m;
    std::condition_variable cv;
    bool abierto = true;
    bool caido = false;
    int enEspera = 0;
    int aperturas = 0;
    std::map<QString, Resultado> respuestas;
    QStringList sentencias;

    void responder(const QString &prefijo, const Resultado &r) {
        std::lock_guard l(m);
        respuestas[prefijo] = r;
    }
    void abrir(bool v) {
        {
            std::lock_guard l(m);
            abierto = v;
        }
        cv.notify_all();
    }
    int esperando() {
        std::lock_guard l(m);
        return enEspera;
    }
    QStringList vistas() {
        std::lock_guard l(m);
        return sentencias;
    }
    // The last sales-by-horse statement of a refresh; empty when none ran.
    QString ultimaVenta() {
        const QStringList v = vistas().filter("sum(tablas) as tablasf");
        return v.isEmpty() ? QString() : v.last();
    }
};

class BdGuionada : public BaseDatos {
public:
    explicit BdGuionada(ServidorGuionado &s) : s_(s) {}
    Resultado ejecutar(const QString &sql) override {
        std::unique_lock l(s_.m);
        s_.sentencias << sql;
        ++s_.enEspera;
        s_.cv.wait(l, [this] { return s_.abierto; });
        --s_.enEspera;
        if (s_.caido)
            throw DbError("el servidor no responde");
        const Resultado *mejor = nullptr;
        int largo = -1;
        for (const auto &[p, r] : s_.respuestas)
            if (sql.startsWith(p) && int(p.size()) > largo) {
                mejor = &r;
                largo = int(p.size());
            }
        return mejor ? *mejor : Resultado();
    }
    long long filasAfectadas() const override { return 0; }
    QString escapar(const QString &v) const override { return escaparMysql(v); }

private:
    ServidorGuionado &s_;
};

class FabricaGuionada : public FabricaConexiones {
public:
    explicit FabricaGuionada(ServidorGuionado &s) : s_(s) {}
    std::unique_ptr<BaseDatos> abrir(const QString &) override {
        std::lock_guard l(s_.m);
        ++s_.aperturas;
        if (s_.caido)
            throw DbError("servidor inalcanzable");
        return std::make_unique<BdGuionada>(s_);
    }

private:
    ServidorGuionado &s_;
};

Resultado ajustes(const QString &carrera = "3", const QString &dolar = "1",
                  const QString &multimoneda = "1") {
    return fila({{"fecha", "2026-01-03"},
                 {"carrera", carrera},
                 {"modificar", "1"},
                 {"multimoneda", multimoneda},
                 {"dolar_activado", dolar},
                 {"cupo_td_opcion", "0"},
                 {"cupo_tf_opcion", "0"},
                 {"opcioncupopt", "0"},
                 {"mora", "0"},
                 {"version", "28001"},
                 {"pantalla1", "1"},
                 {"pantalla2", "1"}});
}

Resultado tarjeta(int caballos) {
    std::vector<QStringList> filas;
    for (int i = 1; i <= caballos; ++i)
        filas.push_back({QString("CABALLO %1").arg(i), QString::number(i), i == 2 ? "1" : "0", "0"});
    return tabla({"caballo", "nu_caballo", "retirado", "puesto"}, filas);
}

QString colorDe(QWidget *w) {
    return w->styleSheet();
}

bool verde(QWidget *w) {
    return colorDe(w).contains("rgb(0,255,0)");
}
bool rojo(QWidget *w) {
    return colorDe(w).contains("rgb(255,0,0)");
}
bool ambar(QWidget *w) {
    return colorDe(w).contains("rgb(255,170,0)");
}

} // namespace

class ManagementUiTest : public QObject {
    Q_OBJECT

    ServidorGuionado servidor;
    std::unique_ptr<FabricaGuionada> fabrica;
    DialogosGrabados dialogos;
    RelojFijo reloj;
    MaquinaFalsa maquina;
    std::unique_ptr<Contexto> ctx;
    FabricaFalsa fabricaLocal;
    BdFalsa *central = nullptr;
    BdFalsa *local = nullptr;

    void guionCentral(BdFalsa &db) {
        db.responder("select * from configuracion", ajustes());
        db.responder("select * from juegos",
                     tabla({"id_juego", "juego"},
                           {{"1", "TABLAS DINAMICAS"}, {"2", "TABLA FIJA"}, {"3", "LOS PUESTOS"}}));
        db.responder("select * from usuarios",
                     tabla({"usuario", "grupo", "nivel"}, {{"taq1", "G01", "Taquilla"},
                                                           {"taq2", "G02", "Taquilla"},
                                                           {"super1", "G01", "Supervisor"}}));
        db.responder("select * from monedas", tabla({"moneda"}, {{"BS"}, {"$"}}));
    }

    std::unique_ptr<Form_Gerencia> abrir() {
        auto f = std::make_unique<Form_Gerencia>(*ctx);
        f->resize(1100, 760);
        f->show();
        QApplication::setActiveWindow(f.get());
        (void)QTest::qWaitForWindowActive(f.get());
        // The first figures, asked for when the window opened.
        (void)QTest::qWaitFor([&f] { return !f->refresco().ocupado(); });
        return f;
    }

    void pulsarPestana(Form_Gerencia &f, int i) {
        QTabBar *barra = f.SSTab1->tabBar();
        QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(i).center());
        QCOMPARE(f.SSTab1->currentIndex(), i);
        QTest::qWait(10); // the tab's first filter takes the cursor
    }

    // One refresh of the panel, through the worker.
    void refrescar(Form_Gerencia &f) {
        const int antes = int(servidor.vistas().size());
        f.Timer1_Timer();
        QTRY_VERIFY(!f.refresco().ocupado() && int(servidor.vistas().size()) > antes);
    }

private slots:
    void initTestCase() { QApplication::setFont(QFont("DejaVu Sans", 9)); }

    void init() {
        servidor.abrir(true);
        {
            std::lock_guard l(servidor.m);
            servidor.caido = false;
            servidor.sentencias.clear();
            servidor.respuestas.clear();
        }
        servidor.responder("select * from configuracion", ajustes());
        servidor.responder("SELECT caballo,nu_caballo,retirado,puesto FROM carreras", tarjeta(10));
        servidor.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                           tabla({"caballo", "venta", "tablasf"}, {{"1", "1200", "4"}, {"2", "300", "1"}}));
        servidor.responder("SELECT nu_caballo,",
                           tabla({"nu_caballo", "limite", "precio"}, {{"1", "10", "300"}}));
        fabrica = std::make_unique<FabricaGuionada>(servidor);
        ctx = std::make_unique<Contexto>(*fabrica, dialogos, reloj, maquina);
        ctx->sesion.grupo = "G01";
        ctx->sesion.ch = "CENTRO NORTE";
        ctx->sesion.cadena_central = "server=central";
        ctx->conexion_central = fabricaLocal.abrir("server=central");
        central = fabricaLocal.abiertas.back();
        guionCentral(*central);
        ctx->conexion_local = fabricaLocal.abrir("local");
        local = fabricaLocal.abiertas.back();
        dialogos.textos.clear();
        dialogos.titulos.clear();
    }

    void cleanup() {
        servidor.abrir(true);
        QApplication::setFont(QFont("DejaVu Sans", 9));
    }

    // The main window's "Gerencia" entry: the timer stops and the toolbar hides while the
    // console is open, and both come back (with the caption) when Escape closes it.
    void abreYCierraDesdeElMenu() {
        ctx->sesion.nivel = "Supervisor";
        OpcionesSesion opciones;
        Form_MenuPrincipal menu(*ctx, opciones);
        Form_Gerencia *consola = nullptr;
        menu.pantallas.Form_Gerencia = [&](Form_MenuPrincipal &m) -> QWidget * {
            consola = new Form_Gerencia(*ctx);
            connect(consola, &Form_Gerencia::cerrada, &m, [&m] { m.pantallaCerrada(); });
            return consola;
        };
        menu.show();
        QApplication::setActiveWindow(&menu);
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        QVERIFY(menu.Timer_Activo->isActive());
        QTest::keyClick(&menu, Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QTRY_VERIFY(consola != nullptr);
        QVERIFY(!menu.Timer_Activo->isActive());
        QVERIFY(!menu.Toolbar1->isVisible());
        QCOMPARE(consola->windowTitle(), QString("GERENCIA CENTRO HIPICO"));
        QPointer<Form_Gerencia> vigia(consola);
        QTest::keyClick(consola->Combo_SelJuego, Qt::Key_Escape);
        QTRY_VERIFY(vigia.isNull());
        QVERIFY(menu.Timer_Activo->isActive());
        QVERIFY(menu.Toolbar1->isVisible());
        QVERIFY(menu.mdiArea->subWindowList().isEmpty());
    }

    void cargaMonedasYEncabezado() {
        auto f = abrir();
        QCOMPARE(f->moneda, 1);
        QCOMPARE(f->Label_Moneda[0]->text(), QString("BS"));
        QCOMPARE(f->Label_Moneda[1]->text(), QString("$"));
        QVERIFY(f->Label_Moneda[1]->isVisible());
        // The caption is the console currency's from the start.
        QCOMPARE(f->captionMoneda, QString("BS"));
        QVERIFY(colorDe(f->Label_Moneda[0]).contains("rgb(255,255,0)"));
        QCOMPARE(f->Combo_SelJuego->currentText(), QString("TABLAS DINAMICAS"));
        QCOMPARE(f->Combo7->count(), 4);
        QCOMPARE(f->Combo7->itemText(3), QString("TODOS"));
        QCOMPARE(f->Combo_Taquilla->currentText(), QString("TODOS"));
        QCOMPARE(f->DTPicke1->date(), QDate(2026, 1, 3));
        QCOMPARE(f->Combo_Carreras->currentText(), QString("3"));
        // The booth totals start on the whole day.
        QCOMPARE(f->Combo_Carreras2->currentText(), QString("TODAS"));
        QCOMPARE(f->Combo_Carreras3->currentText(), QString("TODAS"));
        QCOMPARE(f->Label_estado->text(), QString());
        QCOMPARE(f->Text_Etiqueta[3]->text(), QString("TABLAS"));
        // The first figures came with the window, without a tick; the next one is 10 s away.
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        QCOMPARE(f->Text_TotalBs->text(), QString("Bs.S1.500,00"));
        QCOMPARE(f->Timer1->interval(), 10000);
        QVERIFY(f->Timer1->isActive());
        QVERIFY(verde(f->Frame_Timer));

        // The second currency by keyboard; nothing is read until the next refresh.
        const int vistas = int(servidor.vistas().size());
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(f->moneda, 2);
        QCOMPARE(f->captionMoneda, QString("$"));
        QVERIFY(colorDe(f->Label_Moneda[1]).contains("rgb(255,255,0)"));
        QVERIFY(colorDe(f->Label_Moneda[0]).contains("rgb(255,255,255)"));
        QTest::qWait(50);
        QCOMPARE(int(servidor.vistas().size()), vistas);
        refrescar(*f);
        QVERIFY(servidor.ultimaVenta().contains("id_moneda  = '2'"));
        QCOMPARE(f->Text_TotalBs->text(), QString("$1.500,00"));

        // Without the second currency its label hides; without currencies the frame hides.
        central->responder("select * from configuracion", ajustes("3", "0", "1"));
        auto g = abrir();
        QVERIFY(!g->Label_Moneda[1]->isVisible());
        QVERIFY(g->Frame_Moneda->isVisible());
        QTest::keyClick(g->Combo_SelJuego, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(g->moneda, 1);
        central->responder("select * from configuracion", ajustes("3", "1", "0"));
        auto h = abrir();
        QVERIFY(!h->Frame_Moneda->isVisible());
    }

    void elRefrescoLlenaElPanelYElGrafico() {
        auto f = abrir();
        refrescar(*f);
        QCOMPARE(f->Timer1->interval(), 10000);
        QCOMPARE(f->Text_Caballo[0]->text(), QString("CABALLO 1"));
        QCOMPARE(f->Text_Caballo[1]->text(), QString(" R  E  T  I  R  A  D  O "));
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        QCOMPARE(f->Text_MontoBsf[1]->text(), QString("300"));
        QCOMPARE(f->Text_MontoBsf[2]->text(), QString("0"));
        QCOMPARE(f->Text_puesto[0]->text(), QString("4"));
        QCOMPARE(f->Text_MontoBsf[12]->text(), QString());
        QCOMPARE(f->Text_TotalBs->text(), QString("Bs.S1.500,00"));
        QCOMPARE(f->Label_Carrera->text(), QString("3"));
        QCOMPARE(f->Label_carrera2->text(), QString("3"));
        QCOMPARE(f->Label_Timer->text(), QString("ACTUALIZADO 10:15:00"));
        QCOMPARE(f->Grafico_Ventas->categorias().mid(0, 3), QStringList({"1", "2 R", "3"}));
        QCOMPARE(f->Grafico_Ventas->montos().mid(0, 2), QList<double>({1200, 300}));
        // Horse 1: 10 tablas at the 300 its 4 tablas were sold at.
        QCOMPARE(f->Grafico_Ventas->limites().first(), 3000.0);
        QVERIFY(f->Grafico_Ventas->titulo().startsWith("CARRERA 3"));
        // The settings read by the worker are the console's settings now.
        QCOMPARE(ctx->rs_configuracion.valor(0, "carrera").texto(), QString("3"));

        // A later race with more horses grows the panel; one with fewer empties the rows
        // below its last horse.
        servidor.responder("select * from configuracion", ajustes("4"));
        servidor.responder("SELECT caballo,nu_caballo,retirado,puesto FROM carreras", tarjeta(16));
        refrescar(*f);
        QCOMPARE(int(f->Text_Caballo.size()), 16);
        QVERIFY(f->Text_Caballo[15]->isVisible());
        QCOMPARE(f->Text_Caballo[15]->text(), QString("CABALLO 16"));
        QCOMPARE(f->Combo_Carreras->currentText(), QString("4"));
        servidor.responder("SELECT caballo,nu_caballo,retirado,puesto FROM carreras", tarjeta(8));
        refrescar(*f);
        QCOMPARE(f->Text_Caballo[8]->text(), QString());
        QCOMPARE(f->Text_MontoBsf[8]->text(), QString());
        QVERIFY(f->Text_Caballo[13]->isVisible());
        QVERIFY(!f->Text_Caballo[15]->isVisible());

        // Choosing a booth refreshes at once with that booth.
        f->Combo_Taquilla->setFocus();
        QCOMPARE(f->Combo_Taquilla->count(), 3);
        f->Combo_Taquilla->setCurrentText("taq1");
        emit f->Combo_Taquilla->activated(0);
        QTRY_VERIFY(servidor.ultimaVenta().contains("taquilla='taq1'"));
    }

    void pestanasYFrameTimer() {
        auto f = abrir();
        f->SSTab1->setCurrentIndex(1);
        QVERIFY(!f->Timer1->isActive());
        f->SSTab1->setCurrentIndex(0);
        QVERIFY(f->Timer1->isActive());
        QTest::mouseClick(f->Label_Timer, Qt::LeftButton);
        QVERIFY(!f->Timer1->isActive());
        QVERIFY(rojo(f->Frame_Timer));
        QCOMPARE(f->Label_Timer->text(), QString("DETENIDO"));
        // Choosing the tab again does not restart a refresh the user stopped.
        f->SSTab1->setCurrentIndex(2);
        f->SSTab1->setCurrentIndex(0);
        QVERIFY(!f->Timer1->isActive());
        // A double click as the mouse gives it: press, release, double click, release. The
        // first release is a click (stopped stays stopped); the last one ends the double click.
        for (QWidget *donde :
             {static_cast<QWidget *>(f->Label_Timer), static_cast<QWidget *>(f->Frame_Timer)}) {
            QTest::mouseClick(f->Label_Timer, Qt::LeftButton);
            QVERIFY(rojo(f->Frame_Timer));
            const QPoint punto = donde == f->Frame_Timer ? QPoint(2, 2) : QPoint();
            QTest::mousePress(donde, Qt::LeftButton, {}, punto);
            QTest::mouseRelease(donde, Qt::LeftButton, {}, punto);
            QVERIFY(!f->Timer1->isActive());
            QTest::mouseDClick(donde, Qt::LeftButton, {}, punto);
            QTest::mouseRelease(donde, Qt::LeftButton, {}, punto);
            QVERIFY(f->Timer1->isActive());
            QTRY_VERIFY(verde(f->Frame_Timer));
            QCOMPARE(f->Label_Timer->text().left(11), QString("ACTUALIZADO"));
            // The next plain click stops it again.
            QTest::mouseClick(donde, Qt::LeftButton, {}, punto);
            QVERIFY(rojo(f->Frame_Timer));
            QTest::mouseDClick(donde, Qt::LeftButton, {}, punto);
            QTest::mouseRelease(donde, Qt::LeftButton, {}, punto);
        }
        QVERIFY(f->Timer1->isActive());
        QTRY_VERIFY(verde(f->Frame_Timer));
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_F8);
        QVERIFY(!f->Timer1->isActive());
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_F8);
        QVERIFY(f->Timer1->isActive());
    }

    // A slow central server never holds the window: the tick returns at once, the keyboard
    // works, the indicator turns amber with the time of the last figures, and the figures come
    // in when the server answers.
    void unServidorLentoNoCongelaLaVentana() {
        auto f = abrir();
        refrescar(*f);
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        servidor.abrir(false);
        servidor.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                           tabla({"caballo", "venta", "tablasf"}, {{"1", "2400", "8"}}));
        QElapsedTimer reloj;
        reloj.start();
        f->Timer1_Timer();
        QVERIFY(reloj.elapsed() < 100);
        QTRY_COMPARE(servidor.esperando(), 1);
        // The keyboard goes on while the worker waits.
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(f->moneda, 2);
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(f->moneda, 1);
        QTRY_VERIFY_WITH_TIMEOUT(ambar(f->Frame_Timer), 4000);
        QCOMPARE(f->Label_Timer->text(), QString("SIN ACTUALIZAR DESDE 10:15:00"));
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        // Further ticks wait behind the one on the server, without piling up.
        f->Timer1_Timer();
        f->Timer1_Timer();
        QTest::qWait(50);
        QCOMPARE(servidor.esperando(), 1);
        servidor.abrir(true);
        QTRY_VERIFY(verde(f->Frame_Timer) && !f->refresco().ocupado());
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("2400"));
    }

    void unServidorCaidoConservaLasCifras() {
        auto f = abrir();
        f->Timer1->stop();
        refrescar(*f);
        {
            std::lock_guard l(servidor.m);
            servidor.caido = true;
        }
        f->Timer1_Timer();
        QTRY_VERIFY(ambar(f->Frame_Timer));
        QCOMPARE(f->Text_TotalBs->text(), QString("Bs.S1.500,00"));
        QVERIFY(dialogos.textos.isEmpty());
        // The worker opens a new connection once the server is back.
        {
            std::lock_guard l(servidor.m);
            servidor.caido = false;
        }
        const int aperturas = servidor.aperturas;
        refrescar(*f);
        QTRY_VERIFY(verde(f->Frame_Timer));
        QCOMPARE(servidor.aperturas, aperturas + 1);
    }

    // Answers that come back after the screen moved on are dropped: a refresh asked before a
    // switch to "CUADRE CAJA" leaves its race boxes alone; one asked before the stop leaves the
    // panel as it was when it stopped; a race typed is not replaced by the refresh that was
    // already on the server, nor by the next tick.
    void lasRespuestasTardiasSeDescartan() {
        auto f = abrir();
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        servidor.responder("select * from configuracion", ajustes("9"));
        servidor.responder("SELECT caballo,sum(monto) as venta,sum(tablas)",
                           tabla({"caballo", "venta", "tablasf"}, {{"1", "5555", "8"}}));

        // A tab switch.
        servidor.abrir(false);
        f->Timer1_Timer();
        QTRY_COMPARE(servidor.esperando(), 1);
        pulsarPestana(*f, 1);
        f->Combo_Carreras2->setFocus();
        f->Combo_Carreras2->lineEdit()->selectAll();
        QTest::keyClicks(f->Combo_Carreras2, "5");
        QTest::keyClick(f->Combo_Carreras2, Qt::Key_Tab); // leaves the first race for the last
        QCOMPARE(f->Combo_Carreras2->currentText(), QString("05"));
        QCOMPARE(f->Combo_Carreras3->currentText(), QString("05"));
        servidor.abrir(true);
        QTRY_VERIFY(!f->refresco().ocupado());
        QTest::qWait(20);
        QCOMPARE(f->Combo_Carreras2->currentText(), QString("05"));
        QCOMPARE(f->Combo_Carreras3->currentText(), QString("05"));
        QCOMPARE(f->Label_carrera2->text(), QString("3"));
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        pulsarPestana(*f, 0);

        // The stop.
        servidor.abrir(false);
        f->Timer1_Timer();
        QTRY_COMPARE(servidor.esperando(), 1);
        QTest::mouseClick(f->Label_Timer, Qt::LeftButton);
        QCOMPARE(f->Label_Timer->text(), QString("DETENIDO"));
        servidor.abrir(true);
        QTRY_VERIFY(!f->refresco().ocupado());
        QTest::qWait(20);
        QCOMPARE(f->Label_Timer->text(), QString("DETENIDO"));
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("1200"));
        QCOMPARE(f->Label_Carrera->text(), QString("3"));

        // A race typed while a refresh is on the server.
        QTest::mouseDClick(f->Label_Timer, Qt::LeftButton);
        QTest::mouseRelease(f->Label_Timer, Qt::LeftButton);
        QTRY_COMPARE(f->Text_MontoBsf[0]->text(), QString("5555"));
        servidor.responder("SELECT caballo,nu_caballo FROM carreras",
                           tabla({"caballo", "nu_caballo"}, {{"OTRO", "1"}}));
        servidor.responder("SELECT caballo,sum(monto) as venta FROM",
                           tabla({"caballo", "venta"}, {{"1", "77"}}));
        servidor.abrir(false);
        f->Timer1_Timer();
        QTRY_COMPARE(servidor.esperando(), 1);
        f->Combo_Carreras->setFocus();
        f->Combo_Carreras->lineEdit()->selectAll();
        QTest::keyClicks(f->Combo_Carreras, "7");
        // Typing a race stops the refresh, and the indicator says so.
        QVERIFY(rojo(f->Frame_Timer));
        QVERIFY(!f->Timer1->isActive());
        servidor.abrir(true);
        QTRY_COMPARE(f->Text_Caballo[0]->text(), QString("OTRO"));
        QTRY_VERIFY(!f->refresco().ocupado());
        QTest::qWait(20);
        QCOMPARE(f->Text_Caballo[0]->text(), QString("OTRO"));
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("77"));
        QCOMPARE(f->Combo_Carreras->currentText(), QString("7"));
        // The double click brings the current race back at once.
        QTest::mouseDClick(f->Label_Timer, Qt::LeftButton);
        QTest::mouseRelease(f->Label_Timer, Qt::LeftButton);
        QTRY_COMPARE(f->Text_Caballo[0]->text(), QString("CABALLO 1"));
        QCOMPARE(f->Combo_Carreras->currentText(), QString("9"));
    }

    void laCarreraTecleadaSeConsulta() {
        auto f = abrir();
        refrescar(*f);
        servidor.responder("SELECT caballo,nu_caballo FROM carreras",
                           tabla({"caballo", "nu_caballo"}, {{"OTRO", "1"}}));
        servidor.responder("SELECT caballo,sum(monto) as venta FROM",
                           tabla({"caballo", "venta"}, {{"1", "77"}}));
        f->Combo_Carreras->setFocus();
        f->Combo_Carreras->lineEdit()->selectAll();
        QTest::keyClicks(f->Combo_Carreras, "7x");
        QCOMPARE(f->Combo_Carreras->currentText(), QString("7")); // only digits get in
        QTRY_COMPARE(f->Text_Caballo[0]->text(), QString("OTRO"));
        QCOMPARE(f->Text_MontoBsf[0]->text(), QString("77"));
        QCOMPARE(f->Text_Caballo[1]->text(), QString());
        QVERIFY(servidor.vistas().contains(
            "SELECT caballo,nu_caballo FROM carreras  where carrera ='7' and fecha  = '2026-01-03'"));
        // The total and the puesto column stay as the refresh left them.
        QCOMPARE(f->Text_TotalBs->text(), QString("Bs.S1.500,00"));
        QCOMPARE(f->Text_puesto[0]->text(), QString("4"));
        // Pasting goes through the same check.
        f->Combo_Carreras->lineEdit()->selectAll();
        f->Combo_Carreras->lineEdit()->insert("1a2");
        QCOMPARE(f->Combo_Carreras->currentText(), QString("7"));
    }

    void listasAlEnfocarYEncabezado() {
        auto f = abrir();
        central->responder("select * from usuarios", Resultado());
        ctx->rs_usuarios = tabla({"usuario", "grupo", "nivel"}, {{"nueva", "G01", "Taquilla"}});
        f->SSTab1->setCurrentIndex(2);
        f->Combo2->setFocus();
        QTRY_COMPARE(f->Combo2->count(), 2);
        QCOMPARE(f->Combo2->itemText(0), QString("nueva"));
        QVERIFY(colorDe(f->Combo2).contains("rgb(255,255,128)"));
        // The heading follows the game chosen.
        f->SSTab1->setCurrentIndex(0);
        f->Combo_SelJuego->setFocus();
        f->Combo_SelJuego->setCurrentIndex(2);
        emit f->Combo_SelJuego->activated(2);
        QCOMPARE(f->Text_Etiqueta[3]->text(), QString("PUESTO"));
        QTRY_VERIFY(servidor.ultimaVenta().contains("id_juego = '3'"));
    }

    void cuadreDeCajaYTotalDelDia() {
        auto f = abrir();
        central->responder("select m.taquilla",
                           tabla({"taquilla", "venta", "fecha"}, {{"taq1", "1000", "2026-01-03"}}));
        central->responder("SELECT sum(cobrado) as monto_cobrado", fila({{"monto_cobrado", "250"}}));
        central->responder("SELECT sum(cobrado) as monto_porpagar", fila({{"monto_porpagar", "100"}}));
        pulsarPestana(*f, 1);
        // A race typed as "2" is the list's "02": Down goes on to "03", the last race follows.
        f->Combo_Carreras2->setFocus();
        f->Combo_Carreras2->lineEdit()->selectAll();
        QTest::keyClicks(f->Combo_Carreras2, "2");
        QTest::keyClick(f->Combo_Carreras2, Qt::Key_Down);
        QCOMPARE(f->Combo_Carreras2->currentText(), QString("03"));
        QCOMPARE(f->Combo_Carreras3->currentText(), QString("03"));
        QTest::keyClick(f->Combo_Carreras2, Qt::Key_Up);
        QTest::keyClick(f->Combo_Carreras2, Qt::Key_Up);
        QCOMPARE(f->Combo_Carreras2->currentText(), QString("01"));
        f->Combo_Carreras2->lineEdit()->selectAll();
        QTest::keyClicks(f->Combo_Carreras2, "todas");
        QCOMPARE(f->Combo_Carreras2->currentText(), QString("TODAS"));
        QCOMPARE(f->Combo_Carreras3->currentText(), QString("TODAS")); // follows until chosen
        QTest::keyClick(f->Combo_Carreras2, Qt::Key_Return);           // Enter runs "Procesar"
        QCOMPARE(f->ListView2->topLevelItemCount(), 4);
        QTreeWidgetItem *t = f->ListView2->topLevelItem(0);
        QCOMPARE(t->text(0), QString("taq1"));
        QCOMPARE(t->data(0, Qt::UserRole).toString(), QString("taq1"));
        QCOMPARE(t->text(4), QString("Bs.S650,00"));
        QCOMPARE(t->text(5), QString("Bs.S750,00"));
        QCOMPARE(f->ListView2->topLevelItem(1)->data(0, Qt::UserRole).toString(), QString("Space"));
        QCOMPARE(f->ListView2->topLevelItem(2)->text(0), QString("------------------"));
        QCOMPARE(f->ListView2->topLevelItem(3)->text(0), QString("Total:"));
        QCOMPARE(f->ListView2->topLevelItem(3)->text(1), QString("Bs.S1.000,00"));
        QVERIFY(dialogos.textos.isEmpty());
        // The columns fill the list's width.
        int ancho = 0;
        for (int c = 0; c < 6; ++c)
            ancho += f->ListView2->header()->sectionSize(c);
        QVERIFY2(ancho >= f->ListView2->viewport()->width() - 6,
                 qPrintable(QString("%1 / %2").arg(ancho).arg(f->ListView2->viewport()->width())));
        central->fallar("SELECT sum(cobrado) as monto_porpagar");
        const int aperturas = servidor.aperturas;
        f->Command3->click();
        QCOMPARE(f->ListView2->topLevelItemCount(), 0);
        QCOMPARE(dialogos.textos, QStringList({"INTENTE NUEVAMENTE "}));
        QCOMPARE(dialogos.titulos, QStringList({"ADMINISTRACION DEL SISTEMA"}));
        // The failure opened the central connection again.
        QCOMPARE(servidor.aperturas, aperturas + 1);
        ctx->conexion_central = fabricaLocal.abrir("server=central");
        central = fabricaLocal.abiertas.back();
        guionCentral(*central);

        f->SSTab1->setCurrentIndex(0);
        central->responder("SELECT sum(monto) as venta", fila({{"venta", "1000"}}));
        central->responder("SELECT sum(cobrado) as monto_cobrado", fila({{"monto_cobrado", "250"}}));
        QTest::keyClick(f->Combo_SelJuego, Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(f->list_resume_diario->count(), 4);
        QCOMPARE(f->list_resume_diario->item(0)->text(), QString());
        QCOMPARE(f->list_resume_diario->item(3)->text(), QString("Saldo del Día :           Bs.S750,00"));
    }

    void busquedaDeBoletos() {
        auto f = abrir();
        std::vector<QStringList> filas;
        for (int i = 30; i > 0; --i)
            filas.push_back({QString::number(i), QString("10103%1").arg(i, 4, 10, QChar('0')), "3", "5", "2",
                             "0", "100", "0", "0", "taq1", "G01"});
        central->responder("SELECT  numero",
                           tabla({"numero", "nu_boleto", "carrera", "caballo", "tablas", "puesto", "monto",
                                  "cobrado", "estatus", "taquilla", "grupo"},
                                 filas));
        central->responder("SELECT  sum(monto)", fila({{"sumamonto", "3000"}}));
        pulsarPestana(*f, 2);
        QVERIFY(!f->Command2->isVisible());
        // The currency in use shows on this tab too, and Ctrl+2 changes it from the date.
        QVERIFY(f->Frame_Moneda->isVisible());
        QVERIFY(f->Label_Moneda[1]->isVisible());
        QTRY_VERIFY(f->DTPicke1->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(f->moneda, 2);
        QVERIFY(colorDe(f->Label_Moneda[1]).contains("rgb(255,255,0)"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(central->sentencias.filter("SELECT  numero").last().contains("id_moneda  = '2'"));
        // and a mouse click on the first currency takes it back.
        QTest::mouseClick(f->Label_Moneda[0], Qt::LeftButton);
        QCOMPARE(f->moneda, 1);
        f->Combo5->setFocus();
        QTest::keyClick(f->Combo5, Qt::Key_Return);
        QVERIFY(central->sentencias.filter("SELECT  numero").last().contains("id_moneda  = '1'"));
        QCOMPARE(f->DataGrid_Tickets->model()->rowCount(), 30);
        QCOMPARE(f->DataGrid_Tickets->model()->data(f->DataGrid_Tickets->model()->index(0, 1)).toString(),
                 QString("101030030"));
        // Headings and states in words.
        QAbstractItemModel *m = f->DataGrid_Tickets->model();
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QString("BOLETO"));
        QCOMPARE(m->headerData(8, Qt::Horizontal).toString(), QString("ESTADO"));
        QCOMPARE(m->data(m->index(0, 8)).toString(), QString("VENDIDO"));
        QVERIFY(f->DataGrid_Tickets->columnWidth(8) >
                f->DataGrid_Tickets->fontMetrics().horizontalAdvance("EMPATE POR PAGAR"));
        QCOMPARE(f->Text_datos2[0]->text(), QString("3000"));
        QCOMPARE(f->Text_datos2[2]->text(), QString("3000"));
        QVERIFY(f->Command2->isVisible());
        QCOMPARE(local->sentencias.mid(0, 2),
                 QStringList({"DELETE from rpt_jugadas", "select * from rpt_jugadas"}));
        // The design widths (twips at 15 a pixel, scaled from 8 points to the font in use).
        QVERIFY(f->DataGrid_Tickets->columnWidth(1) >= 1500 / 15);
        QVERIFY(f->DataGrid_Tickets->columnWidth(0) >= 600 / 15);
        QSignalSpy imprimir(f.get(), &Form_Gerencia::imprimirJugadas);
        QTest::keyClick(f->Combo5, Qt::Key_M, Qt::AltModifier);
        QTRY_COMPARE(imprimir.size(), 1);
        QCOMPARE(ctx->sesion.tipo_reporte, 6);

        // Without the local database (it cannot be opened again) the list shows and the
        // supervisor is told.
        ctx->conexion_local.reset();
        {
            std::lock_guard l(servidor.m);
            servidor.caido = true;
        }
        f->bton_buscar->click();
        {
            std::lock_guard l(servidor.m);
            servidor.caido = false;
        }
        QCOMPARE(f->DataGrid_Tickets->model()->rowCount(), 30);
        QVERIFY(!f->Command2->isVisible());
        QCOMPARE(dialogos.titulos.last(), QString("IMPRIMIR BOLETOS"));

        central->responder("SELECT  numero", tabla({"numero"}, {}));
        f->bton_buscar->click();
        QCOMPARE(dialogos.textos.last(), QString("No se encontro Ningun registro"));
        QCOMPARE(dialogos.titulos.last(), QString(" Busqueda "));
        QVERIFY(!f->Command2->isVisible());
    }

    // Every mnemonic of a tab, with the main window's menus, names one control.
    void mnemonicosSinAmbiguedad() {
        OpcionesSesion opciones;
        Form_MenuPrincipal menu(*ctx, opciones);
        QSet<QChar> delMenu;
        for (QAction *a : menu.menuBar()->actions()) {
            const int i = a->text().indexOf('&');
            if (i >= 0)
                delMenu << a->text().at(i + 1).toUpper();
        }
        auto f = abrir();
        auto letra = [](const QString &t) {
            const int i = t.indexOf('&');
            return i >= 0 && i + 1 < t.size() ? t.at(i + 1).toUpper() : QChar();
        };
        for (int tab = 0; tab < 3; ++tab) {
            f->SSTab1->setCurrentIndex(tab);
            QMap<QChar, QString> usadas;
            auto usar = [&](const QString &texto) {
                const QChar c = letra(texto);
                if (c.isNull())
                    return;
                QVERIFY2(!usadas.contains(c) && !delMenu.contains(c),
                         qPrintable(texto + " / " + usadas.value(c)));
                usadas[c] = texto;
            };
            for (int i = 0; i < 3; ++i)
                usar(f->SSTab1->tabText(i));
            for (QAbstractButton *b : f->findChildren<QAbstractButton *>())
                if (b->isVisible())
                    usar(b->text());
            for (QLabel *l : f->findChildren<QLabel *>())
                if (l->isVisible() && l->buddy())
                    usar(l->text());
        }
    }

    // Nothing clipped or overlapping at the font sizes the print settings offer.
    void nadaRecortadoDeSeisADocePuntos() {
        for (const int puntos : {6, 9, 12}) {
            QApplication::setFont(QFont("DejaVu Sans", puntos));
            auto f = abrir();
            const QSize minimo = f->minimumSizeHint();
            QVERIFY2(minimo.width() <= 1920 && minimo.height() <= 1080, qPrintable(QString::number(puntos)));
            f->resize(minimo.expandedTo(QSize(1024, 700)));
            refrescar(*f);
            for (int tab = 0; tab < 3; ++tab) {
                f->SSTab1->setCurrentIndex(tab);
                QTest::qWait(30); // focus changes restyle the lists; let the layouts settle
                for (QWidget *w : f->findChildren<QWidget *>()) {
                    if (!w->isVisible() || w->window() != f.get() ||
                        qobject_cast<GraficoVentas *>(w->parentWidget()))
                        continue;
                    const QString donde = QString("%1pt tab %2 %3 '%4'")
                                              .arg(puntos)
                                              .arg(tab)
                                              .arg(w->objectName(), w->metaObject()->className());
                    if (auto *l = qobject_cast<QLabel *>(w))
                        QVERIFY2(l->width() >= l->minimumSizeHint().width(),
                                 qPrintable(donde + " " + l->text()));
                    if (auto *b = qobject_cast<QPushButton *>(w))
                        QVERIFY2(b->width() >= b->sizeHint().width() &&
                                     b->height() >= b->minimumSizeHint().height(),
                                 qPrintable(donde));
                    if (auto *e = qobject_cast<QLineEdit *>(w); e && !e->text().isEmpty() && e->isReadOnly())
                        QVERIFY2(e->fontMetrics().horizontalAdvance(e->text()) <= e->width() - 6,
                                 qPrintable(donde + " " + e->text()));
                    if (auto *c = qobject_cast<QComboBox *>(w))
                        QVERIFY2(c->width() >= c->minimumSizeHint().width(),
                                 qPrintable(
                                     donde +
                                     QString(" %1 < %2").arg(c->width()).arg(c->minimumSizeHint().width())));
                }
                // Sibling controls never overlap (the insides of Qt's own composite widgets aside).
                QList<QWidget *> padres = f->findChildren<QWidget *>();
                padres << f.get();
                for (QWidget *padre : padres) {
                    if (!padre->isVisible() || !padre->layout() ||
                        qobject_cast<QAbstractScrollArea *>(padre) || qobject_cast<QComboBox *>(padre) ||
                        qobject_cast<QAbstractSpinBox *>(padre) || qobject_cast<QTabWidget *>(padre))
                        continue;
                    QList<QWidget *> hijos;
                    for (QWidget *h : padre->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                        if (h->isVisible() && !h->isWindow())
                            hijos << h;
                    for (int a = 0; a < hijos.size(); ++a)
                        for (int b = a + 1; b < hijos.size(); ++b)
                            QVERIFY2(!hijos[a]->geometry().intersects(hijos[b]->geometry()),
                                     qPrintable(QString("%1pt %2 / %3")
                                                    .arg(puntos)
                                                    .arg(hijos[a]->objectName(), hijos[b]->objectName())));
                }
            }
        }
    }
};

QTEST_MAIN(ManagementUiTest)
#include "management_ui_test.moc"
