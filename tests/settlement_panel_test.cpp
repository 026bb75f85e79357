// The payment panel of the booth screen against the private server with the demo day: sell,
// process the race with the back-office, scan the ticket into the one code box and press Enter;
// the receipt goes to a port file. Winner, withdrawn-horse refund, Los Puestos tie (each paid
// whatever game the screen is on) and an archived winner.
#include "backoffice.h"
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

class SettlementPanelTest : public QObject {
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
    CupoCaballo cupo{};
    QDate hoy = QDate::currentDate();
    QString carrera;
    int ganador = 0, retirado = 0, empate = 0;

    Resultado consulta(const QString &sql) { return db->ejecutar(sql); }

    // Open horses of the current race for the Tablas games and for Los Puestos.
    QList<int> abiertos(bool puestos) {
        const Resultado r = consulta("SELECT * FROM carreras where  carrera ='" + carrera +
                                     "' and fecha  = '" + fechaSql(hoy) + "'");
        QList<int> v;
        for (int i = 0; i < r.filas(); ++i) {
            const bool ok =
                puestos ? r.valor(i, "retirado_pt").entero() != 1 && r.valor(i, "estado_pt").entero() != 1 &&
                              !r.valor(i, "caballo").texto().isEmpty()
                        : r.valor(i, "retirado").entero() != 1 && r.valor(i, "estado").entero() != 1;
            if (ok)
                v << i + 1;
        }
        return v;
    }

    QString vender(int juego, int caballo, const QString &monto) {
        ResultadoVenta r;
        if (juego == 3)
            r = VentaPuestos(*ctx, cupo, impresion.get())
                    .procesar({carrera, QString::number(caballo), monto, 3, "BS"});
        else
            r = VentaTablas(*ctx, cupo, impresion.get())
                    .procesar({carrera, QString::number(caballo), monto, juego, "BS"});
        if (r.tipo != ResultadoVenta::Tipo::Registrada || !r.boleto)
            return {};
        return r.boleto->nu_boleto;
    }

    int backoffice(const QStringList &args) {
        QString out, err;
        QTextStream so(&out), se(&err);
        const int c = backoffice::ejecutar(QStringList{"--central", cadena} + args, so, se);
        so.flush();
        se.flush();
        if (c != 0)
            qWarning() << err;
        return c;
    }

    QByteArray leerPuerto() {
        QFile f(dir.filePath("LPT1.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    Resultado boleto(const QString &nu, const QString &tabla = "ma_principal") {
        return consulta("SELECT * FROM " + tabla + " WHERE nu_boleto='" + nu + "'");
    }

    std::unique_ptr<Form_Venta_TD> pantalla() {
        auto f = std::make_unique<Form_Venta_TD>(*ctx, impresion.get(), recibos.get());
        f->show();
        QApplication::setActiveWindow(f.get());
        if (!QTest::qWaitForWindowActive(f.get()))
            return nullptr;
        return f;
    }

    // Scan: the code and Enter into the box; a payable ticket puts the cursor on its button.
    void escanear(QLineEdit *caja, const QString &codigo) {
        caja->setFocus();
        QTest::keyClicks(caja, codigo);
        QTest::keyClick(caja, Qt::Key_Return);
    }

    // Scans, pays with Enter, and checks the row, the receipt and a second scan.
    void cobrar(Form_Venta_TD *f, bool puestos, const QString &tecleado, const QString &tabla, int antes,
                int despues, const QString &mensaje) {
        const QString nu = tecleado.trimmed();
        QLineEdit *caja = f->Frame_CobroBoleto->Text_boletoCobro;
        QPushButton *otro =
            puestos ? f->Frame_CobroBoleto->Boton_Cobrar_Boleto2 : f->Frame_CobroBoleto->Boton_Cobrar_Boleto3;
        QPushButton *pagar =
            puestos ? f->Frame_CobroBoleto->Boton_Cobrar_Boleto3 : f->Frame_CobroBoleto->Boton_Cobrar_Boleto2;
        QCOMPARE(boleto(nu, tabla).valor(0, "estatus").entero(), antes);
        QFile::remove(dir.filePath("LPT1.txt"));
        escanear(caja, tecleado);
        QCOMPARE(f->Frame_CobroBoleto->Label_MCB->text(), mensaje);
        QVERIFY(f->Frame_CobroBoleto->Label_MCB->isVisible());
        QVERIFY(f->Frame_CobroBoleto->Label_PCB->isVisible());
        QCOMPARE(f->Frame_CobroBoleto->Label_PCB->text(),
                 formatoMoneda(boleto(nu, tabla).valor(0, "cobrado").numero()));
        QVERIFY(pagar->isVisible());
        QVERIFY(!otro->isVisible());
        QCOMPARE(QApplication::focusWidget(), pagar);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        const Resultado r = boleto(nu, tabla);
        QCOMPARE(r.valor(0, "estatus").entero(), despues);
        QCOMPARE(r.valor(0, "fecha_cobro").texto(), ctx->configuracion("fecha").texto().left(10));
        QVERIFY(caja->text().isEmpty());
        QVERIFY(!pagar->isVisible());
        const QByteArray recibo = leerPuerto();
        QVERIFY(recibo.contains(aCp1252("BOLETO: " + nu) + "\x1b\x19\r\n"));
        QVERIFY(recibo.contains(aCp1252("MONTO COBRADO : " + f->Frame_CobroBoleto->Label_PCB->text())));
        QVERIFY(recibo.startsWith(puestos ? QByteArray(33, '-') : QByteArray("            COBRO DE JUGADA")));
        // A second scan shows it paid.
        QFile::remove(dir.filePath("LPT1.txt"));
        escanear(caja, nu);
        QCOMPARE(f->Frame_CobroBoleto->Label_MCB->text(),
                 puestos ? QStringLiteral("BOLETO YA COBRADO") : QStringLiteral("BOLETO YA PAGADO"));
        QVERIFY(!pagar->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(boleto(nu, tabla).valor(0, "estatus").entero(), despues);
        QVERIFY(leerPuerto().isEmpty());
        caja->clear();
    }

private slots:
    void initTestCase() {
        cadena = crearBaseCentral("t_pay_panel");
        db = conectar(cadena);
        backoffice::sembrarDemo(*db, hoy);
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0", "cupo_td_opcion=0", "cupo_tf_opcion=0",
                                             "opcioncupopt=0", "min_vbs=0", "modificar=1", "venta_pt=1",
                                             "dias=3", "cobroespecial=1"});
        ctx = std::make_unique<Contexto>(fabrica, dialogos, reloj, maquina);
        ctx->conexion_central = conectar(cadena);
        ctx->sesion.cadena_central = cadena;
        ctx->sesion.usuario = "taq1";
        ctx->sesion.grupo = "G01";
        ctx->sesion.ch = "EL TRIUNFO";
        ctx->sesion.nombre = "TAQ1 TAQUILLA";
        ctx->sesion.mostrar_tf = 1;
        ctx->sesion.mostrar_pt = 1;
        ctx->sesion.impresion = 1;
        ctx->sesion.ticket_cobro = 1;
        ctx->sesion.puerto = dir.filePath("LPT1.txt");
        salida = std::make_unique<ServicioImpresion>(*ctx, puerto, impresoras);
        impresion = std::make_unique<ImpresionBoletos>(*salida);
        recibos = std::make_unique<ServicioRecibos>(*salida);
        ctx->abrir_configuracion();
        carrera = ctx->configuracion("carrera").texto();
        const QList<int> tablas = abiertos(false), puestos = abiertos(true);
        QVERIFY(tablas.size() >= 2);
        ganador = tablas[0];
        retirado = tablas[1];
        for (int c : puestos)
            if (c != ganador && c != retirado)
                empate = c;
        QVERIFY(empate > 0);
    }

    void paysAWinnerARefundAndATieByScanning() {
        const QString nuGanador = vender(1, ganador, "2");
        const QString nuRetirado = vender(2, retirado, "1");
        const QString nuEmpate = vender(3, empate, "20");
        const QString nuPerdedor = vender(1, empate, "1");
        const QString nuGanadorTf = vender(2, ganador, "1");
        QVERIFY(!nuGanador.isEmpty() && !nuRetirado.isEmpty() && !nuEmpate.isEmpty() &&
                !nuPerdedor.isEmpty() && !nuGanadorTf.isEmpty());
        QCOMPARE(backoffice({"results", "--date", fechaSql(hoy), "--race", carrera, "--winner",
                             QString::number(ganador), "--withdrawn", QString::number(retirado), "--tie",
                             QString::number(empate)}),
                 0);
        QCOMPARE(boleto(nuGanador).valor(0, "cobrado").numero(),
                 2 * boleto(nuGanador).valor(0, "monto").numero());
        QCOMPARE(boleto(nuRetirado).valor(0, "cobrado").numero(),
                 boleto(nuRetirado).valor(0, "monto").numero());
        QCOMPARE(boleto(nuEmpate).valor(0, "cobrado").numero(), 20.0);

        auto f = pantalla();
        QVERIFY(f);
        QVERIFY(!f->Frame_CobroBoleto->isVisible());
        QTest::keyClick(f.get(), Qt::Key_F5);
        QTest::keyClick(f.get(), Qt::Key_F3);
        QVERIFY(f->Frame_CobroBoleto->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->Frame_CobroBoleto->Text_boletoCobro);
        QCOMPARE(f->Frame_CobroBoleto->Label_Codigo->buddy(), f->Frame_CobroBoleto->Text_boletoCobro);

        cobrar(f.get(), false, nuGanador, "ma_principal", 1, 2, "CABALLO GANADOR");
        cobrar(f.get(), false, nuRetirado, "ma_principal", 4, 3, "CABALLO RETIRADO");
        escanear(f->Frame_CobroBoleto->Text_boletoCobro, nuPerdedor);
        QCOMPARE(f->Frame_CobroBoleto->Label_MCB->text(), QStringLiteral("BOLETO NO GANADOR"));
        QVERIFY(!f->Frame_CobroBoleto->Boton_Cobrar_Boleto2->isVisible());
        // A Los Puestos tie scanned on the Tablas Dinamicas screen: its "3" takes the Los Puestos
        // path, which trims the code and pays the tie.
        QCOMPARE(f->juego_actual, 1);
        f->Frame_CobroBoleto->Text_boletoCobro->clear();
        cobrar(f.get(), true, "  " + nuEmpate + " ", "ma_principal", 5, 2, "BOLETO EMPATE");

        // And a Tabla Fija winner on the Los Puestos screen; the game buttons hide the panel.
        QTest::keyClick(f.get(), Qt::Key_F7);
        QCOMPARE(f->juego_actual, 3);
        QVERIFY(!f->Frame_CobroBoleto->isVisible());
        f->boton_cobrar->click();
        QVERIFY(f->Frame_CobroBoleto->isVisible());
        cobrar(f.get(), false, nuGanadorTf, "ma_principal", 1, 2, "CABALLO GANADOR");
        f->close();
    }

    void keysAreFilteredAndEditsHideTheResult() {
        auto f = pantalla();
        QVERIFY(f);
        QTest::keyClick(f.get(), Qt::Key_F6);
        f->co_menu_op->trigger();
        QTest::keyClicks(f->Frame_CobroBoleto->Text_boletoCobro, "4a.b-c/1");
        QCOMPARE(f->Frame_CobroBoleto->Text_boletoCobro->text(), QStringLiteral("4ABC1"));
        const QString nu = vender(2, ganador, "1");
        QCOMPARE(backoffice({"results", "--date", fechaSql(hoy), "--race", carrera, "--winner",
                             QString::number(ganador)}),
                 0);
        f->Frame_CobroBoleto->Command5->click();
        QVERIFY(f->Frame_CobroBoleto->Text_boletoCobro->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f->Frame_CobroBoleto->Text_boletoCobro);
        escanear(f->Frame_CobroBoleto->Text_boletoCobro, nu);
        QVERIFY(f->Frame_CobroBoleto->Boton_Cobrar_Boleto2->isVisible());
        QTest::keyClick(f->Frame_CobroBoleto->Text_boletoCobro, Qt::Key_Backspace);
        QVERIFY(!f->Frame_CobroBoleto->Label_MCB->isVisible());
        QVERIFY(!f->Frame_CobroBoleto->Label_PCB->isVisible());
        QVERIFY(!f->Frame_CobroBoleto->Boton_Cobrar_Boleto2->isVisible());
        f->Frame_CobroBoleto->Bto_SalirFCB->click();
        QVERIFY(!f->Frame_CobroBoleto->isVisible());
        QCOMPARE(boleto(nu).valor(0, "estatus").entero(), 1);

        // A failed lookup, the panel closed and opened again: it opens empty, so the next scan
        // is the whole code and pays.
        f->co_menu_op->trigger();
        escanear(f->Frame_CobroBoleto->Text_boletoCobro, "3999901");
        QCOMPARE(f->Frame_CobroBoleto->Label_MCB->text(), QStringLiteral("BOLETO NO GANADOR"));
        QTest::keyClick(f->Frame_CobroBoleto->Text_boletoCobro, Qt::Key_Escape);
        QVERIFY(!f->Frame_CobroBoleto->isVisible());
        QTest::keyClick(f.get(), Qt::Key_F3);
        QVERIFY(f->Frame_CobroBoleto->isVisible());
        QVERIFY(f->Frame_CobroBoleto->Text_boletoCobro->text().isEmpty());
        QVERIFY(!f->Frame_CobroBoleto->Label_MCB->isVisible());
        QCOMPARE(QApplication::focusWidget(), f->Frame_CobroBoleto->Text_boletoCobro);
        escanear(f->Frame_CobroBoleto->Text_boletoCobro, nu);
        QCOMPARE(f->Frame_CobroBoleto->Text_boletoCobro->text(), nu);
        QVERIFY(f->Frame_CobroBoleto->Boton_Cobrar_Boleto2->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(boleto(nu).valor(0, "estatus").entero(), 2);
        f->close();
    }

    void aPaymentLeftByAKilledRunOffersItsReceiptAsACopyAtTheNextStart() {
        // The journal a run killed while its payment's reply was awaited left behind; the server
        // made the payment meanwhile.
        const QString nu = vender(1, ganador, "1");
        QVERIFY(!nu.isEmpty());
        QCOMPARE(backoffice({"results", "--date", fechaSql(hoy), "--race", carrera, "--winner",
                             QString::number(ganador)}),
                 0);
        consulta("UPDATE ma_principal SET estatus=2 WHERE nu_boleto='" + nu + "'");
        const QString diario = dir.filePath("pendientes.json");
        {
            QFile f(diario);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral(
                        "[{\"id\":\"1\",\"corrida\":\"otra\",\"tipo\":\"pago\",\"descripcion\":"
                        "\"COBRO: BOLETO %1, MONTO 2\",\"hilo\":0,\"inicio\":0,\"tabla\":\"ma_principal\","
                        "\"numero\":%2,\"nuevo\":2,\"previo\":1,\"imprimir\":true,\"recibo\":{\"ruta\":1,"
                        "\"codigo\":\"%1\",\"monto\":\"2\",\"fecha\":\"%3\",\"hora\":\"10:00:00\"}}]")
                        .arg(nu, boleto(nu).valor(0, "numero").texto(), fechaSql(hoy))
                        .toUtf8());
        }
        ctx->pendientes.abrir(diario);
        QFile::remove(dir.filePath("LPT1.txt"));
        dialogos.textos.clear();
        auto f = pantalla();
        QVERIFY(f);
        // Settled as the screen starts: the clerk is asked, and the receipt prints marked as a copy.
        QTRY_VERIFY(ctx->pendientes.vacio());
        QTRY_VERIFY(!leerPuerto().isEmpty());
        QVERIFY(dialogos.textos.join("|").contains("EL COBRO SE REALIZO"));
        QVERIFY(dialogos.textos.join("|").contains("¿DESEA IMPRIMIR UNA COPIA?"));
        const QByteArray recibo = leerPuerto();
        QVERIFY(recibo.contains(aCp1252("BOLETO: " + nu)));
        QVERIFY(recibo.contains(aCp1252(kLineaCopia)));
        QCOMPARE(boleto(nu).valor(0, "estatus").entero(), 2);
        f->close();
        ctx->pendientes.abrir(QString());
    }

    void paysAnArchivedWinnerAndMovesItsPrize() {
        const QString nu = vender(1, ganador, "3");
        QVERIFY(!nu.isEmpty());
        QCOMPARE(backoffice({"results", "--date", fechaSql(hoy), "--race", carrera, "--winner",
                             QString::number(ganador)}),
                 0);
        QCOMPARE(backoffice({"archive-day", "--date", fechaSql(hoy)}), 0);
        QCOMPARE(boleto(nu).filas(), 0);
        QCOMPARE(boleto(nu, "ventas").valor(0, "estatus").entero(), 1);
        auto totales = [&] {
            return consulta("SELECT SUM(premios) p, SUM(saldo) s, SUM(monto_porpagar) x FROM ventas_general "
                            "WHERE fecha='" +
                            fechaSql(hoy) + "' AND grupo='G01'");
        };
        const Resultado antes = totales();
        const double premio = boleto(nu, "ventas").valor(0, "cobrado").numero();
        QVERIFY(premio > 0);
        backoffice::fijarConfiguracion(*db, {"fecha=" + fechaSql(hoy.addDays(1))});
        ctx->abrir_configuracion();

        auto f = pantalla();
        QVERIFY(f);
        QTest::keyClick(f.get(), Qt::Key_F5);
        QTest::keyClick(f.get(), Qt::Key_F3);
        cobrar(f.get(), false, nu, "ventas", 1, 2, "CABALLO GANADOR");
        const Resultado despues = totales();
        QCOMPARE(despues.valor(0, "p").numero(), antes.valor(0, "p").numero() + premio);
        QCOMPARE(despues.valor(0, "s").numero(), antes.valor(0, "s").numero() - premio);
        QCOMPARE(despues.valor(0, "x").numero(), antes.valor(0, "x").numero() - premio);
        f->close();
        backoffice::fijarConfiguracion(*db, {"fecha=" + fechaSql(hoy)});
    }
};

QTEST_MAIN(SettlementPanelTest)
#include "settlement_panel_test.moc"
