// Selling from the keyboard on the booth screen against the private server with the demo day:
// the rows written, the codes, the keys and the bytes sent to the port.
#include "backoffice.h"
#include "codificacion.h"
#include "entorno_falso.h"
#include "form_venta_td.h"
#include "impresora_qt.h"
#include "moneda.h"
#include "recibo.h"
#include "servidor_prueba.h"
#include "texto.h"
#include "ticket.h"
#include "venta_puestos.h"
#include "venta_tablas.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace corvalo;
using namespace corvalo::prueba;

class SalesDbTest : public QObject {
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
    std::unique_ptr<ServicioRecibos> recibos;
    QDate hoy = QDate::currentDate();

    Resultado consulta(const QString &sql) { return db->ejecutar(sql); }

    // The position of the first open horse of the current race whose Los Puestos kind
    // satisfies `cumple`, counted in the order the sale counts them.
    int caballoDonde(const std::function<bool(double)> &cumple) {
        const Resultado r =
            consulta("SELECT * FROM carreras where  carrera ='" + ctx->configuracion("carrera").texto() +
                     "' and fecha  = '" + fechaSql(hoy) + "'");
        for (int i = 0; i < r.filas(); ++i)
            if (r.valor(i, "retirado_pt").entero() != 1 && r.valor(i, "estado_pt").entero() != 1 &&
                !r.valor(i, "caballo").texto().isEmpty() && cumple(r.valor(i, "puesto").numero()))
                return i + 1;
        return 0;
    }
    int caballoAbierto() {
        const Resultado r =
            consulta("SELECT * FROM carreras where  carrera ='" + ctx->configuracion("carrera").texto() +
                     "' and fecha  = '" + fechaSql(hoy) + "'");
        for (int i = 0; i < r.filas(); ++i)
            if (r.valor(i, "retirado").entero() != 1 && r.valor(i, "retirado_tf").entero() != 1 &&
                r.valor(i, "estado").entero() != 1 && r.valor(i, "estado_tf").entero() != 1)
                return i + 1;
        return 0;
    }

    // Types a bet the way a clerk does: amount, Enter, horse, Enter, Enter on the button.
    void teclear(Form_Venta_TD *f, int caballo, const QString &monto) {
        f->Text_Monto->setFocus();
        QTest::keyClicks(f->Text_Monto, monto);
        QTest::keyClick(f->Text_Monto, Qt::Key_Return);
        QTest::keyClicks(f->Text_datos_V1[1], QString::number(caballo));
        QTest::keyClick(f->Text_datos_V1[1], Qt::Key_Return);
        QWidget *boton = QApplication::focusWidget();
        QVERIFY(boton == f->boton_procesar || boton == f->boton_procesarPT);
        QTest::keyClick(boton, Qt::Key_Return);
    }

    Resultado ultimoBoleto() {
        return consulta("SELECT * FROM ma_principal WHERE taquilla='" + ctx->sesion.usuario +
                        "' ORDER BY numero DESC LIMIT 1");
    }

    void comprobarLlaves(const Resultado &r, const QString &montoTxt) {
        const QString nu = r.valor(0, "nu_boleto").texto();
        const QString g = ctx->sesion.grupo;
        QCOMPARE(decodificar(r.valor(0, "llave1").texto(), r.valor(0, "caballo").texto() + g + nu), nu);
        QCOMPARE(decodificar(r.valor(0, "llave2").texto(), montoTxt + g + nu), nu);
        QCOMPARE(decodificar(r.valor(0, "llave3").texto(), r.valor(0, "carrera").texto() + g + nu), nu);
        QCOMPARE(r.valor(0, "llave4").texto(), QStringLiteral("0"));
    }

    QByteArray leerPuerto() {
        QFile f(dir.filePath("LPT1.txt"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

private slots:
    void initTestCase() {
        cadena = crearBaseCentral("t_sales");
        db = conectar(cadena);
        const auto accesos = backoffice::sembrarDemo(*db, hoy);
        ctx = std::make_unique<Contexto>(fabrica, dialogos, reloj, maquina);
        ctx->conexion_central = conectar(cadena);
        ctx->sesion.cadena_central = cadena;
        for (const auto &a : accesos)
            if (a.nivel == "Taquilla" && a.estatus != "Baja") {
                ctx->sesion.usuario = a.usuario;
                ctx->sesion.grupo = a.grupo;
                break;
            }
        QVERIFY(!ctx->sesion.usuario.isEmpty());
        const Resultado g = consulta("select * from grupos where grupo='" + ctx->sesion.grupo + "' ");
        ctx->sesion.ch = g.valor(0, "ch").texto();
        ctx->sesion.nombre = "CLERK";
        ctx->sesion.mostrar_tf = 1;
        ctx->sesion.mostrar_pt = 1;
        ctx->sesion.impresion = 1;
        ctx->sesion.puerto = dir.filePath("LPT1.txt");
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0", "cupo_td_opcion=0", "cupo_tf_opcion=0",
                                             "opcioncupopt=0", "min_vbs=0", "modificar=1", "venta_pt=1"});
        salida = std::make_unique<ServicioImpresion>(*ctx, puerto, impresoras);
        impresion = std::make_unique<ImpresionBoletos>(*salida);
        recibos = std::make_unique<ServicioRecibos>(*salida);
    }

    void sellsTablasFromTheKeyboard() {
        auto *f = new Form_Venta_TD(*ctx, impresion.get(), recibos.get());
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        const int caballo = caballoAbierto();
        QVERIFY(caballo > 0);
        for (int juego : {1, 2}) {
            QTest::keyClick(f, juego == 1 ? Qt::Key_F5 : Qt::Key_F6);
            QCOMPARE(f->juego_actual, juego);
            dialogos.textos.clear();
            teclear(f, caballo, "2");
            QCOMPARE(dialogos.titulos.value(0), QStringLiteral("¿Los datos están Correctos?"));
            QCOMPARE(dialogos.textos.size(), 1); // the confirmation only: the sale went through
            const Resultado r = ultimoBoleto();
            QCOMPARE(r.filas(), 1);
            const QString precioCol = juego == 1 ? "valor_td" : "valor_tf";
            const double precio =
                consulta("SELECT * FROM carreras where  carrera ='" + ctx->configuracion("carrera").texto() +
                         "' and fecha  = '" + fechaSql(hoy) + "'")
                    .valor(caballo - 1, precioCol)
                    .numero();
            QCOMPARE(r.valor(0, "carrera").texto(), ctx->configuracion("carrera").texto());
            QCOMPARE(r.valor(0, "caballo").entero(), caballo);
            QCOMPARE(r.valor(0, "monto").numero(), precio * 2);
            QCOMPARE(r.valor(0, "tablas").numero(), 2.0);
            QCOMPARE(r.valor(0, "puesto").numero(), 0.0);
            QCOMPARE(r.valor(0, "grupo").texto(), ctx->sesion.grupo);
            QCOMPARE(r.valor(0, "fecha").texto(), fechaSql(hoy));
            QVERIFY(!r.valor(0, "hora").texto().isEmpty());
            QCOMPARE(r.valor(0, "cobrado").numero(), 0.0);
            QCOMPARE(r.valor(0, "fecha_cobro").texto(), QString());
            QCOMPARE(r.valor(0, "estatus").entero(), 0);
            QCOMPARE(r.valor(0, "id_juego").entero(), juego);
            QCOMPARE(r.valor(0, "id_moneda").entero(), 1);
            const QString nu = (juego == 1 ? "4" : "2") + hoy.toString("MMdd") + r.valor(0, "numero").texto();
            QCOMPARE(r.valor(0, "nu_boleto").texto(), nu);
            comprobarLlaves(r, textoNumero(precio * 2));
            QVERIFY(leerPuerto().contains(aCp1252("BOLETO: " + nu)));
            QVERIFY(f->Text_Monto->text().isEmpty());
            QCOMPARE(QApplication::focusWidget(), f->Text_Monto);
        }
        f->close();
        delete f;
    }

    void sellsLosPuestosOfEveryKind() {
        auto *f = new Form_Venta_TD(*ctx, impresion.get(), recibos.get());
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        QTest::keyClick(f, Qt::Key_F7);
        QCOMPARE(f->juego_actual, 3);
        QCOMPARE(f->Label3_0->text(), QStringLiteral("MONTO"));
        struct Clase {
            const char *nombre;
            std::function<bool(double)> cumple;
        };
        const std::vector<Clase> clases = {{"odds", [](double v) { return v > 0 && v < 1; }},
                                           {"places", [](double v) { return v >= 1 && v <= 5; }},
                                           {"nini", [](double v) { return v <= -1 && v >= -5; }},
                                           {"combination", [](double v) { return v >= 12; }}};
        int vendidos = 0;
        for (int carrera = 1; carrera <= 12; ++carrera) {
            backoffice::fijarConfiguracion(*db, {QStringLiteral("carrera=%1").arg(carrera)});
            ctx->abrir_configuracion();
            f->NewJugada();
            for (const auto &c : clases) {
                const int caballo = caballoDonde(c.cumple);
                if (caballo == 0)
                    continue;
                dialogos.textos.clear();
                teclear(f, caballo, "20");
                QCOMPARE(dialogos.textos.size(), 1);
                const Resultado r = ultimoBoleto();
                const double kind =
                    consulta("SELECT * FROM carreras where  carrera ='" + QString::number(carrera) +
                             "' and fecha  = '" + fechaSql(hoy) + "'")
                        .valor(caballo - 1, "puesto")
                        .numero();
                QCOMPARE(r.valor(0, "tablas").numero(), 0.0);
                QCOMPARE(r.valor(0, "puesto").numero(), kind);
                QCOMPARE(r.valor(0, "id_juego").entero(), 3);
                QCOMPARE(r.valor(0, "fecha_cobro").texto(), QStringLiteral("0"));
                QCOMPARE(r.valor(0, "nu_boleto").texto(),
                         "3" + hoy.toString("MMdd") + r.valor(0, "numero").texto());
                comprobarLlaves(r, "20");
                const QByteArray bytes = leerPuerto();
                QVERIFY(bytes.contains(aCp1252("PUESTO: " + tipoPuesto(kind).codigo)));
                QVERIFY(bytes.endsWith(QByteArray("\x1b"
                                                  "m\r\n",
                                                  4)));
                ++vendidos;
            }
        }
        QVERIFY2(vendidos >= 4, "the demo day offers every kind");
        backoffice::fijarConfiguracion(*db, {"carrera=1"});
        ctx->abrir_configuracion();
        f->close();
        delete f;
    }

    void limitsOnTheRealServer() {
        // A horse with a per-horse limit of 10 tablas of which the group sold 7.
        const int caballo = caballoAbierto();
        const QString carrera = ctx->configuracion("carrera").texto();
        db->ejecutar("UPDATE carreras SET apuesta_max_td=10 WHERE carrera='" + carrera + "' and fecha='" +
                     fechaSql(hoy) + "'");
        db->ejecutar("DELETE FROM ma_principal");
        db->ejecutar("INSERT INTO `ma_principal` VALUES (NULL,'" + carrera + "','" +
                     QString::number(caballo) + "','70','7','0','otra','" + ctx->sesion.grupo +
                     "','10:00:00','" + fechaSql(hoy) + "','0','','0','','1','1','0','0','0','0');");
        CupoCaballo cupo{};
        VentaTablas venta(*ctx, cupo, nullptr);
        ctx->abrir_configuracion();
        ResultadoVenta r = venta.procesar({carrera, QString::number(caballo), "5", 1, "BS"});
        QCOMPARE(r.mensaje, QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: 3"));
        r = venta.procesar({carrera, QString::number(caballo), "3", 1, "BS"});
        QCOMPARE(int(r.tipo), int(ResultadoVenta::Tipo::Registrada));
        r = venta.procesar({carrera, QString::number(caballo), "1", 1, "BS"});
        QCOMPARE(r.mensaje, QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: 0"));
        // Another currency and another game count apart.
        r = venta.procesar({carrera, QString::number(caballo), "1", 2, "BS"});
        QCOMPARE(int(r.tipo), int(ResultadoVenta::Tipo::Registrada));
    }

    // A sale in dollars from the keyboard: confirmed and printed in dollars; then the status line
    // names it, and after its payment the ticket paid too.
    void statusLineAfterADollarSaleAndItsPayment() {
        backoffice::fijarConfiguracion(*db, {"dolar_activado=1", "carrera=2", "modificar=1"});
        ctx->abrir_configuracion();
        auto *f = new Form_Venta_TD(*ctx, impresion.get(), recibos.get());
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        QTest::keyClick(f, Qt::Key_F5);
        QTest::mouseClick(f->Label_Moneda[1], Qt::LeftButton);
        QCOMPARE(ctx->sesion.id_moneda, 2);
        const int caballo = caballoAbierto();
        QVERIFY(caballo > 0);
        QVERIFY(f->Label_UltimaVenta->text().isEmpty() && f->Label_UltimoPago->text().isEmpty());
        dialogos.textos.clear();
        teclear(f, caballo, "1");
        QCOMPARE(dialogos.textos.size(), 1);
        const Resultado r = ultimoBoleto();
        QCOMPARE(r.valor(0, "id_moneda").entero(), 2);
        const double monto = r.valor(0, "monto").numero();
        QVERIFY(monto > 0);
        const QString nu = r.valor(0, "nu_boleto").texto();
        QVERIFY2(dialogos.textos[0].endsWith("    POR: " + cifraConSeparadores(monto) + " $\r\r."),
                 qPrintable(dialogos.textos[0]));
        QVERIFY(
            leerPuerto().contains(aCp1252("COSTO DEL BOLETO: " + formatoDolares(monto)) + "\x1b\x19\r\n"));
        QCOMPARE(f->Label_UltimaVenta->text(), "BOLETO " + nu + " — " + cifraConSeparadores(monto) + " $");
        QVERIFY(f->Label_UltimaVenta->isVisible());

        // The race is processed with the ticket's horse the winner; the clerk scans it and pays.
        QString salida, errores;
        QTextStream so(&salida), se(&errores);
        QCOMPARE(backoffice::ejecutar({"--central", cadena, "results", "--date", fechaSql(hoy), "--race", "2",
                                       "--winner", QString::number(caballo)},
                                      so, se),
                 0);
        QTest::keyClick(f, Qt::Key_F3);
        QLineEdit *caja = f->Frame_CobroBoleto->Text_boletoCobro;
        QCOMPARE(QApplication::focusWidget(), caja);
        QTest::keyClicks(caja, nu);
        QTest::keyClick(caja, Qt::Key_Return);
        QVERIFY(f->Frame_CobroBoleto->Label_PCB->isVisible());
        const QString mostrado = f->Frame_CobroBoleto->Label_PCB->text();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(ultimoBoleto().valor(0, "estatus").entero(), 2);
        QCOMPARE(f->Label_UltimoPago->text(), "PAGADO " + nu + " — " + mostrado);
        QCOMPARE(f->Label_UltimaVenta->text(), "BOLETO " + nu + " — " + cifraConSeparadores(monto) + " $");
        f->close();
        delete f;
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0", "carrera=1"});
        ctx->abrir_configuracion();
        ctx->sesion.id_moneda = 1;
    }
};

QTEST_MAIN(SalesDbTest)
#include "sales_db_test.moc"
