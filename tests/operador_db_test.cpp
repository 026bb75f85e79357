// The operator screen driven from the keyboard against the private server with the demo day: a
// client chosen by name and by number, each of the four games sold for it, the rows written, the
// Marcas ticket on the port, and the back-office's Marcas results and cancellation in the summary.
#include "backoffice.h"
#include "entorno_falso.h"
#include "form_venta_operador.h"
#include "impresora_qt.h"
#include "moneda.h"
#include "servidor_prueba.h"
#include "texto.h"
#include "ticket.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace corvalo;
using namespace corvalo::prueba;

class OperadorDbTest : public QObject {
    Q_OBJECT

    QString cadena;
    FabricaMariaDb fabrica;
    DialogosGrabados dialogos;
    RelojSistema reloj;
    MaquinaFalsa maquina;
    std::unique_ptr<Contexto> ctx;
    std::unique_ptr<BaseDatos> db;
    QTemporaryDir dir;
    PuertoSistema puerto;
    ImpresorasDelSistema impresoras;
    std::unique_ptr<ServicioImpresion> salida;
    std::unique_ptr<ImpresionBoletos> impresion;
    QDate hoy = QDate::currentDate();

    Resultado consulta(const QString &sql) { return db->ejecutar(sql); }
    Resultado carrera() {
        return consulta("SELECT * FROM carreras where  carrera ='" + ctx->configuracion("carrera").texto() +
                        "' and fecha  = '" + fechaSql(hoy) + "'");
    }
    // An open horse of the current race in every game, counted as the sales count them.
    int abierto(const Resultado &r, int desde = 0) {
        for (int i = desde; i < r.filas(); ++i)
            if (r.valor(i, "retirado").entero() == 0 && r.valor(i, "retirado_pt").entero() == 0 &&
                r.valor(i, "ret_mk").entero() == 0)
                return i + 1;
        return 0;
    }
    QByteArray leerPuerto() {
        QFile f(dir.filePath("LPT1.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    Resultado ultimo(const QString &tabla) {
        return consulta("SELECT * FROM " + tabla + " WHERE taquilla='oper1' ORDER BY numero DESC LIMIT 1");
    }
    static void teclas(QWidget *w, const QString &texto) {
        w->setFocus();
        QTest::keyClicks(w, texto);
        QTest::keyClick(w, Qt::Key_Return);
    }

private slots:
    void initTestCase() {
        cadena = crearBaseCentral("t_operador");
        db = conectar(cadena);
        backoffice::sembrarDemo(*db, hoy);
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0", "cupo_td_opcion=0", "cupo_tf_opcion=0",
                                             "opcioncupopt=0", "cupo_mk_opcion=0", "min_vbs=0", "modificar=1",
                                             "venta_pt=1", "venta_mk=1"});
        ctx = std::make_unique<Contexto>(fabrica, dialogos, reloj, maquina);
        ctx->conexion_central = conectar(cadena);
        ctx->sesion.cadena_central = cadena;
        ctx->sesion.usuario = "oper1";
        ctx->sesion.grupo = "G01";
        ctx->sesion.ch = "EL TRIUNFO";
        ctx->sesion.nombre = "OPERADOR";
        ctx->sesion.mostrar_tf = 1;
        ctx->sesion.mostrar_pt = 1;
        ctx->sesion.impresion = 1;
        ctx->sesion.puerto = dir.filePath("LPT1.txt");
        ctx->abrir_grupos(); // as the login leaves it
        salida = std::make_unique<ServicioImpresion>(*ctx, puerto, impresoras);
        impresion = std::make_unique<ImpresionBoletos>(*salida);
    }

    void sellsTheFourGamesForAClientFromTheKeyboard() {
        auto *f = new Form_VentaOperador(*ctx, impresion.get());
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        QCOMPARE(f->juego_actual, 1);
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        const Resultado r = carrera();
        const int h1 = abierto(r), h2 = abierto(r, h1);
        QVERIFY(h1 > 0 && h2 > 0);

        // By name: a client group fills the code box and the cursor goes to the amount.
        teclas(f->Combo_Cliente, "LOS SAMANES");
        QCOMPARE(f->Text_codigo->text(), QStringLiteral("3"));
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        QVERIFY(f->Text_Monto->styleSheet().contains("rgb(255,255,0)"));

        auto vender = [&](Qt::Key juego, const QString &monto, const QString &tabla, int id_juego,
                          const QString &grupo) {
            QTest::keyClick(f, juego);
            QCOMPARE(f->juego_actual, id_juego);
            dialogos.textos.clear();
            teclas(f->Text_Monto, monto);
            QCOMPARE(QApplication::focusWidget(), f->Text_datos_V1[1]);
            QTest::keyClicks(f->Text_datos_V1[1], QString::number(h1));
            QTest::keyClick(f->Text_datos_V1[1], Qt::Key_Return);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(dialogos.textos.size(), 1); // the confirmation only
            const Resultado t = ultimo(tabla);
            QCOMPARE(t.valor(0, "id_juego").entero(), id_juego);
            QCOMPARE(t.valor(0, "grupo").texto(), grupo);
            QCOMPARE(t.valor(0, "taquilla").texto(), QStringLiteral("oper1"));
            QCOMPARE(t.valor(0, "nu_boleto").texto(), QString::number(id_juego == 1 ? 4 : id_juego) +
                                                          hoy.toString("MMdd") +
                                                          t.valor(0, "numero").texto());
            for (const char *llave : {"llave1", "llave2", "llave3", "llave4"})
                QCOMPARE(t.valor(0, llave).texto(), QStringLiteral("0"));
        };
        vender(Qt::Key_F5, "2", "ma_principal", 1, "C01");

        // By number: the name comes into the list and the next sales are that client's.
        f->Text_codigo->clear();
        teclas(f->Text_codigo, "4");
        QCOMPARE(f->Combo_Cliente->currentText(), QStringLiteral("EL PORVENIR"));
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        vender(Qt::Key_F6, "1", "ma_principal", 2, "C02");
        vender(Qt::Key_F7, "100", "ma_principal", 3, "C02");

        // Marcas: the racetrack of the race, amount, the two horses, then the button.
        const Resultado pista = consulta("SELECT hipodromo FROM hipodromos WHERE id_hipodromo='" +
                                         r.valor(0, "id_hipodromo").texto() + "'");
        teclas(f->Combo_Hipodromo, pista.valor(0, "hipodromo").texto());
        QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        QTest::keyClick(f, Qt::Key_F8);
        QCOMPARE(f->juego_actual, 4);
        QVERIFY(f->Frame_Marcas->isVisible());
        dialogos.textos.clear();
        teclas(f->Text_Monto, "50");
        QCOMPARE(QApplication::focusWidget(), f->Text_datos_mk[0]);
        QTest::keyClicks(f->Text_datos_mk[0], QString::number(h1));
        QTest::keyClick(f->Text_datos_mk[0], Qt::Key_Return);
        QTest::keyClicks(f->Text_datos_mk[1], QString::number(h2));
        QTest::keyClick(f->Text_datos_mk[1], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->Command8);
        QTest::keyClick(f->Command8, Qt::Key_Return);
        QCOMPARE(dialogos.textos.size(), 1);
        const Resultado m = ultimo("ma_marcas");
        QCOMPARE(m.valor(0, "caballo").entero(), h1);
        QCOMPARE(m.valor(0, "caballo2").entero(), h2);
        QCOMPARE(m.valor(0, "monto").numero(), 50.0);
        QCOMPARE(m.valor(0, "grupo").texto(), QStringLiteral("C02"));
        QCOMPARE(m.valor(0, "id_hipodromo").texto(), r.valor(0, "id_hipodromo").texto());
        QCOMPARE(m.valor(0, "combinacion").texto(), QString::number(h1) + "-" + QString::number(h2));
        QCOMPARE(m.valor(0, "estatus").entero(), 0);
        const QString nu = "4" + hoy.toString("MMdd") + m.valor(0, "numero").texto();
        QCOMPARE(m.valor(0, "nu_boleto").texto(), nu);
        const QByteArray port = leerPuerto();
        QVERIFY(port.contains("            VENTA MARCAS"));
        QVERIFY(port.contains(aCp1252("BOLETO: " + nu)));
        QVERIFY(port.contains(
            aCp1252("CABALLO: (" + QString::number(h1) + ") " + r.valor(h1 - 1, "caballo").texto())));
        QVERIFY(f->Text_datos_mk[0]->text().isEmpty() && f->Text_Monto->text().isEmpty());

        // The back-office processes the race (the first horse wins) and then cancels the ticket.
        const int race = ctx->configuracion("carrera").entero();
        backoffice::Resultados res;
        res.fecha = hoy;
        res.carrera = race;
        res.ganadores = {h1};
        backoffice::cargarResultados(*db, res);
        QCOMPARE(ultimo("ma_marcas").valor(0, "estatus").entero(), 1);
        QCOMPARE(ultimo("ma_marcas").valor(0, "cobrado").numero(), 100.0);
        backoffice::Anulacion a;
        a.boleto = nu;
        a.marcas = true;
        a.usuario = "backoffice";
        backoffice::anularBoleto(*db, a);
        QCOMPARE(ultimo("ma_marcas").valor(0, "estatus").entero(), 5);
        QCOMPARE(consulta("SELECT count(*) n FROM bitacora_mk WHERE nu_boleto='" + nu + "' AND estatus=5")
                     .valor(0, "n")
                     .entero(),
                 1);
        PedidoResumen p;
        p.pantalla = PantallaVenta::Operador;
        p.juego = 4;
        p.dia = hoy;
        p.taquilla = "oper1";
        const ResultadoResumen s = resumirDia(*ctx, p);
        QCOMPARE(int(s.tipo), int(ResultadoResumen::Tipo::Cifras));
        QCOMPARE(s.cifras.anulados, 1LL);
        QCOMPARE(s.cifras.vendidos, 0LL);
        f->close();
    }

    // In dollars: every game is confirmed in dollars with the amount's separators, its ticket
    // costs dollars on the port, the status line names it; the Marcas ticket states both horses
    // and the racetrack. A sale with no client is refused; a cancelled Marcas ticket does not use
    // up the horse's limit.
    void sellsEachGameInDollars() {
        backoffice::fijarConfiguracion(*db, {"dolar_activado=1"});
        auto *f = new Form_VentaOperador(*ctx, impresion.get());
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        QTest::mouseClick(f->Label_Moneda[1], Qt::LeftButton);
        QCOMPARE(ctx->sesion.id_moneda, 2);
        const Resultado r = carrera();
        const int h1 = abierto(r), h2 = abierto(r, h1);
        QVERIFY(h1 > 0 && h2 > 0);
        const QString pista = consulta("SELECT hipodromo FROM hipodromos WHERE id_hipodromo='" +
                                       r.valor(0, "id_hipodromo").texto() + "'")
                                  .valor(0, "hipodromo")
                                  .texto();

        // No client chosen: refused, nothing written.
        const int antes = consulta("SELECT count(*) n FROM ma_principal").valor(0, "n").entero();
        dialogos.textos.clear();
        teclas(f->Text_Monto, "1");
        teclas(f->Text_datos_V1[1], QString::number(h1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dialogos.textos, QStringList{"Debe escoger un cliente correctamente"});
        QVERIFY(f->Combo_Cliente->hasFocus());
        QCOMPARE(consulta("SELECT count(*) n FROM ma_principal").valor(0, "n").entero(), antes);

        teclas(f->Combo_Cliente, "LOS SAMANES");
        teclas(f->Combo_Hipodromo, pista);
        struct Caso {
            Qt::Key tecla;
            int juego;
            QString monto;
        };
        for (const Caso &c : {Caso{Qt::Key_F5, 1, "2"}, Caso{Qt::Key_F6, 2, "1"}, Caso{Qt::Key_F7, 3, "20"},
                              Caso{Qt::Key_F8, 4, "20"}}) {
            QTest::keyClick(f, c.tecla);
            QCOMPARE(f->juego_actual, c.juego);
            QFile::remove(dir.filePath("LPT1.txt"));
            dialogos.textos.clear();
            teclas(f->Text_Monto, c.monto);
            if (c.juego == 4) {
                // Enter in the race box goes on to the first horse of the bet.
                teclas(f->Text_datos_V1[0], QString());
                QCOMPARE(QApplication::focusWidget(), f->Text_datos_mk[0]);
                teclas(f->Text_datos_mk[0], QString::number(h1));
                teclas(f->Text_datos_mk[1], QString::number(h2));
            } else {
                teclas(f->Text_datos_V1[1], QString::number(h1));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(dialogos.textos.size(), 1);
            const Resultado t = ultimo(c.juego == 4 ? "ma_marcas" : "ma_principal");
            QCOMPARE(t.valor(0, "id_juego").entero(), c.juego);
            QCOMPARE(t.valor(0, "id_moneda").entero(), 2);
            const double monto = t.valor(0, "monto").numero();
            QVERIFY2(dialogos.textos[0].contains("    POR: " + cifraConSeparadores(monto) + "  $"),
                     qPrintable(dialogos.textos[0]));
            QVERIFY(!dialogos.textos[0].contains("BS"));
            const QByteArray port = leerPuerto();
            QVERIFY2(port.contains(aCp1252("COSTO DEL BOLETO: " + formatoDolares(monto)) + "\x1b\x19\r\n"),
                     port.constData());
            const QString nu = t.valor(0, "nu_boleto").texto();
            QCOMPARE(f->Label_UltimaVenta->text(),
                     "BOLETO " + nu + " — " + cifraConSeparadores(monto) + " $");
            if (c.juego == 4) {
                for (const QString &linea :
                     {"CABALLO: (" + QString::number(h1) + ") " + r.valor(h1 - 1, "caballo").texto(),
                      "CONTRA: (" + QString::number(h2) + ") " + r.valor(h2 - 1, "caballo").texto(),
                      "HIPODROMO: " + pista})
                    QVERIFY2(port.contains(aCp1252(linea) + "\x1b\x19\r\n"), qPrintable(linea));
                QVERIFY(!port.contains(aCp1252("Nº DE TABLAS")));
            }
        }

        // Marcas in dollars allows 300 on the horse; 20 are sold. Cancelled, they count no more.
        const QString ultimoMk = ultimo("ma_marcas").valor(0, "nu_boleto").texto();
        backoffice::Anulacion a;
        a.boleto = ultimoMk;
        a.marcas = true;
        a.usuario = "backoffice";
        backoffice::anularBoleto(*db, a);
        dialogos.textos.clear();
        teclas(f->Text_Monto, "300");
        teclas(f->Text_datos_mk[0], QString::number(h1));
        teclas(f->Text_datos_mk[1], QString::number(h2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dialogos.textos.size(), 1);
        QCOMPARE(ultimo("ma_marcas").valor(0, "monto").numero(), 300.0);
        f->close();
        delete f;
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0"});
        ctx->sesion.id_moneda = 1;
    }
};

QTEST_MAIN(OperadorDbTest)
#include "operador_db_test.moc"
