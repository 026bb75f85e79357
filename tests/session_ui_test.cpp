// Start-up, login, main window and print settings driven through their real widgets
// (offscreen) against the private database server.
#include "bd_falsa.h"
#include "codificacion.h"
#include "dialogos_qt.h"
#include "entorno_falso.h"
#include "form_conf_impresion.h"
#include "form_menu_principal.h"
#include "frm_about.h"
#include "frm_login.h"
#include "frm_splash.h"
#include "maquina_linux.h"
#include "servidor_prueba.h"
#include "teclado.h"
#include "ventanas.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <deque>

using namespace corvalo;

namespace {

const QString kMac = QStringLiteral("AA:BB:CC:00:11:22");
const QString kHoy = QStringLiteral("2024-05-17");

using DialogosFalsos = prueba::DialogosGrabados;

class RelojFijo : public Reloj {
public:
    QDateTime ahora() const override { return QDateTime(QDate(2024, 5, 17), QTime(10, 15)); }
    QString horaTexto() const override { return QStringLiteral("10:15:00"); }
};

// The real web client; a fixed adapter and network state.
class MaquinaPrueba : public MaquinaLinux {
public:
    QString direccionMac() override { return kMac; }
    bool redActiva() override { return red; }
    bool abrirDireccion(const QString &url) override {
        abiertas << url;
        return true;
    }
    bool red = true;
    QStringList abiertas;
};

// Records every connection string asked for.
class FabricaGrabadora : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &cadena) override {
        cadenas << cadena;
        return real.abrir(cadena);
    }
    FabricaMariaDb real;
    QStringList cadenas;
};

// An address-echo service on 127.0.0.1 answering every GET with `cuerpo`.
class ServicioDireccion {
public:
    ServicioDireccion() {
        servidor.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&servidor, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = servidor.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (!s->readAll().contains("\r\n"))
                        return;
                    s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(cuerpo.size()) +
                             "\r\nConnection: close\r\n\r\n" + cuerpo);
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/ip").arg(servidor.serverPort()); }
    QTcpServer servidor;
    QByteArray cuerpo = "10.20.30.40\n";
};

QString urlSinServicio() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1/").arg(s.serverPort());
}

// One workstation: its context and the program's options.
struct Puesto {
    explicit Puesto(const QString &cadena) {
        opciones.cadenaCentral = cadena;
        ctx.sesion.tamletra = 8;
    }
    FabricaGrabadora fabrica;
    DialogosFalsos dialogos;
    RelojFijo reloj;
    MaquinaPrueba maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    OpcionesSesion opciones;
    int terminado = 0, ingresado = 0;
};

} // namespace

class PruebaSesion : public QObject {
    Q_OBJECT
private:
    QString cadena;
    std::unique_ptr<BaseDatos> db;
    std::unique_ptr<ServicioDireccion> servicio;
    QTemporaryDir carpeta;

    void sql(const QString &s) { db->ejecutar(s); }
    void usuario(const QString &nivel, const QString &estatus = QStringLiteral("Activo"),
                 const QString &mac = {}, const QString &fecha = {}) {
        sql(QStringLiteral("DELETE FROM usuarios"));
        sql(QStringLiteral(
                "INSERT INTO usuarios (usuario, clave, nombre, nivel, grupo, estatus, mac, fecha_ingreso) "
                "VALUES ('taq1','") +
            sqlTexto(*db, codificar(QStringLiteral("s3creta"), kClaveUsuarios)) +
            QStringLiteral("','Ana','") + sqlTexto(*db, nivel) + QStringLiteral("','G1','") +
            sqlTexto(*db, estatus) + QStringLiteral("','") + sqlTexto(*db, mac) + QStringLiteral("',") +
            (fecha.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'") + fecha + QStringLiteral("'")) +
            QStringLiteral(")"));
    }
    QString columna(const QString &c) {
        return db
            ->ejecutar(QStringLiteral("select ") + c + QStringLiteral(" from usuarios where usuario='taq1'"))
            .valor(0, c)
            .texto();
    }
    std::unique_ptr<frmLogin> login(Puesto &p) {
        auto l = std::make_unique<frmLogin>(p.ctx, p.opciones);
        connect(l.get(), &frmLogin::abandonado, this, [&p] { ++p.terminado; });
        connect(l.get(), &frmLogin::ingresado, this, [&p] { ++p.ingresado; });
        l->show();
        return l;
    }
    void entrar(frmLogin &l, const QString &u, const QString &c) {
        QTest::keyClicks(l.txtUserName, u);
        QTest::keyClick(l.txtUserName, Qt::Key_Return); // to the password
        QTest::keyClicks(l.txtPassword, c);
        QTest::keyClick(l.txtPassword, Qt::Key_Return);
    }
    // A logged-in session for the main window.
    std::unique_ptr<Form_MenuPrincipal> menu(Puesto &p, const QString &nivel) {
        p.ctx.sesion.cadena_central = cadena;
        p.ctx.abrir_central(cadena);
        p.ctx.abrir_configuracion();
        p.ctx.abrir_grupos();
        p.ctx.sesion.usuario = QStringLiteral("taq1");
        p.ctx.sesion.nombre = QStringLiteral("Ana");
        p.ctx.sesion.nivel = nivel;
        p.ctx.sesion.grupo = QStringLiteral("G1");
        p.ctx.sesion.ch = QStringLiteral("CENTRO UNO");
        p.opciones.rutaAjustes = carpeta.filePath(QStringLiteral("KVR2.bin"));
        auto m = std::make_unique<Form_MenuPrincipal>(p.ctx, p.opciones);
        connect(m.get(), &Form_MenuPrincipal::salidaConfirmada, this, [&p] { ++p.terminado; });
        m->show();
        return m;
    }
    void escribirAjustes(const QByteArray &contenido) {
        QFile f(carpeta.filePath(QStringLiteral("KVR2.bin")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenido);
    }
    QByteArray leerAjustes() {
        QFile f(carpeta.filePath(QStringLiteral("KVR2.bin")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() {
        cadena = prueba::crearBaseCentral(QStringLiteral("t_session_ui"));
        db = prueba::conectar(cadena);
        servicio = std::make_unique<ServicioDireccion>();
        instalarFiltroTeclado();
    }

    void init() {
        sql(QStringLiteral("DELETE FROM configuracion"));
        sql(QStringLiteral(
            "INSERT INTO configuracion (id, fecha, mcobro, vmt, vmp, vmg, version, web, mora, mensaje, "
            "empresa, pantalla1, pantalla2, tipopantalla) VALUES (1, '2024-05-17', 'Su cuenta "
            "presenta mora', 28001, 28001, 28001, 28001, 'http://descargas.corvalo/', 0, 'Aviso', "
            "'HIPICA', 1, 1, 0)"));
        sql(QStringLiteral("DELETE FROM grupos"));
        sql(QStringLiteral(
            "INSERT INTO grupos (id_grupo, grupo, ch, ticket_cobro, cupoviptf, name_empresa) VALUES "
            "(1, 'G1', 'CENTRO UNO', 1, 30, 'EMPRESA UNO')"));
        usuario(QStringLiteral("Taquilla"));
        QFile::remove(carpeta.filePath(QStringLiteral("KVR2.bin")));
    }

    // -------------------------------------------------------------------------- splash

    void splash_timerOpensCentralAndLogin() {
        Puesto p(cadena);
        p.ctx.sesion.tamletra = 0;
        frmSplash s(p.ctx, p.opciones);
        int login = 0;
        connect(&s, &frmSplash::listo, this, [&] { ++login; });
        connect(&s, &frmSplash::interrumpido, this, [&] { ++p.terminado; });
        s.show();
        QCOMPARE(s.Label_version->text(), QStringLiteral("....:::: Corvalo 2.8.01::::...."));
        QVERIFY(s.Timer2->isActive() && s.Timer2->isSingleShot());
        QCOMPARE(s.Timer2->interval(), 3000);
        s.Timer2_Timer();
        QCOMPARE(login, 1);
        QVERIFY(p.ctx.conexion_central != nullptr);
        QCOMPARE(p.ctx.sesion.cadena_central, cadena);
        QCOMPARE(p.ctx.sesion.tamletra, 8);
        QVERIFY(!s.isVisible());
        QCOMPARE(p.terminado, 0);
    }

    void splash_unreachableServerStillLeadsToLogin() {
        Puesto p(QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=127.0.0.1;port=1 ;uid=x;pwd=y;"));
        frmSplash s(p.ctx, p.opciones);
        int login = 0;
        connect(&s, &frmSplash::listo, this, [&] { ++login; });
        s.Timer2_Timer();
        QCOMPARE(login, 1);
        QCOMPARE(p.dialogos.textos, QStringList{kMensajeConexion});
        QCOMPARE(p.dialogos.vistos[0].botones, Botones::OkCancel);
    }

    void splash_keyEndsTheProgram() {
        Puesto p(cadena);
        frmSplash s(p.ctx, p.opciones);
        int login = 0;
        connect(&s, &frmSplash::listo, this, [&] { ++login; });
        connect(&s, &frmSplash::interrumpido, this, [&] { ++p.terminado; });
        s.show();
        QTest::keyClick(&s, Qt::Key_Space);
        QCOMPARE(p.terminado, 1);
        QVERIFY(!s.Timer2->isActive());
        QCOMPARE(login, 0);
        QVERIFY(!s.isVisible());
    }

    // --------------------------------------------------------------------------- login

    void login_goodLoginWritesTheRecord() {
        Puesto p(cadena);
        p.opciones.servicios = urlSinServicio() + QLatin1Char(' ') + servicio->url();
        auto l = login(p);
        QCOMPARE(l->windowTitle(), QStringLiteral("Acceso"));
        QCOMPARE(l->Label3->text(), kBanner);
        QCOMPARE(l->txtPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(l->focusWidget(), l->txtUserName);
        entrar(*l, QStringLiteral("taq1"), QStringLiteral("s3creta"));
        QCOMPARE(p.ingresado, 1);
        QVERIFY(!l->isVisible());
        QVERIFY(p.dialogos.vistos.empty());
        QCOMPARE(columna(QStringLiteral("fecha_ingreso")), kHoy);
        QCOMPARE(columna(QStringLiteral("hora_ingreso")), QStringLiteral("10:15:00"));
        QCOMPARE(columna(QStringLiteral("mac")), kMac);
        QCOMPARE(columna(QStringLiteral("ip_pc")), QStringLiteral("10.20.30.40"));
        QCOMPARE(columna(QStringLiteral("version")), QStringLiteral("28001"));
        QCOMPARE(p.ctx.sesion.ch, QStringLiteral("CENTRO UNO"));
    }

    void login_withoutInternetStillLogsIn() {
        Puesto p(cadena);
        const QString nada = urlSinServicio();
        p.opciones.servicios = nada + QLatin1Char(' ') + nada + QLatin1Char(' ') + nada;
        sql(QStringLiteral("UPDATE usuarios SET ip_pc='1.1.1.1'"));
        auto l = login(p);
        entrar(*l, QStringLiteral("taq1"), QStringLiteral("s3creta"));
        QCOMPARE(p.dialogos.textos, QStringList{kSinInternet});
        QCOMPARE(p.dialogos.vistos[0].titulo, QStringLiteral("Ups!"));
        QCOMPARE(p.ingresado, 1);
        QCOMPARE(columna(QStringLiteral("ip_pc")), QString());
        QCOMPARE(columna(QStringLiteral("mac")), kMac);
    }

    void login_refusals_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("texto");
        QTest::newRow("unknown user") << "nadie"
                                      << "s3creta" << kUsuarioNoValido;
        QTest::newRow("wrong password") << "taq1"
                                        << "s3cretA" << kClaveNoValida;
        QTest::newRow("user in another case") << "TAQ1"
                                              << "s3creta" << kClaveNoValida;
    }
    void login_refusals() {
        QFETCH(QString, usuario);
        QFETCH(QString, clave);
        QFETCH(QString, texto);
        Puesto p(cadena);
        p.opciones.servicios = servicio->url();
        auto l = login(p);
        entrar(*l, usuario, clave);
        QCOMPARE(p.dialogos.textos, QStringList{texto});
        QCOMPARE(p.dialogos.vistos[0].titulo, QStringLiteral("Inicio de sesión"));
        QCOMPARE(p.dialogos.vistos[0].icono, Icono::Error);
        QCOMPARE(l->focusWidget(), l->txtPassword);
        QCOMPARE(l->txtPassword->selectedText(), clave);
        QVERIFY(l->isVisible());
        QCOMPARE(p.ingresado + p.terminado, 0);
        QCOMPARE(columna(QStringLiteral("version")), QStringLiteral("0"));
        // The password typed right the second time logs in.
        QTest::keyClicks(l->txtUserName, QString()); // fields keep their text
        l->txtUserName->setText(QStringLiteral("taq1"));
        l->txtPassword->setText(QStringLiteral("s3creta"));
        QTest::mouseClick(l->cmdOK, Qt::LeftButton);
        QCOMPARE(p.ingresado, 1);
    }

    void login_policyEndsTheProgramWithoutWrite_data() {
        QTest::addColumn<QString>("nivel");
        QTest::addColumn<QString>("estatus");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("fecha");
        QTest::addColumn<QString>("ajuste");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("session lock")
            << "Taquilla"
            << "Activo"
            << "11:22:33:44:55:66" << kHoy << "" << kSesionEnOtroEquipo << "Inicio de sesión";
        QTest::newRow("Baja") << "Taquilla"
                              << "Baja"
                              << ""
                              << ""
                              << ""
                              << "Su cuenta presenta mora"
                              << "DEPARTAMENTO DE COBRANZA";
        QTest::newRow("old version, Taquilla by vmt") << "Taquilla"
                                                      << "Activo"
                                                      << ""
                                                      << ""
                                                      << "vmt=28002" << kVersionVieja << "Actualizar";
        QTest::newRow("old version, Supervisor by vmg") << "Supervisor"
                                                        << "Activo"
                                                        << ""
                                                        << ""
                                                        << "vmg=28002" << kVersionVieja << "Actualizar";
    }
    void login_policyEndsTheProgramWithoutWrite() {
        QFETCH(QString, nivel);
        QFETCH(QString, estatus);
        QFETCH(QString, mac);
        QFETCH(QString, fecha);
        QFETCH(QString, ajuste);
        QFETCH(QString, texto);
        QFETCH(QString, titulo);
        usuario(nivel, estatus, mac, fecha);
        if (!ajuste.isEmpty())
            sql(QStringLiteral("UPDATE configuracion SET ") + ajuste);
        Puesto p(cadena);
        p.opciones.servicios = servicio->url();
        auto l = login(p);
        entrar(*l, QStringLiteral("taq1"), QStringLiteral("s3creta"));
        QCOMPARE(p.dialogos.textos, QStringList{texto});
        QCOMPARE(p.dialogos.vistos[0].titulo, titulo);
        QCOMPARE(p.dialogos.vistos[0].icono, Icono::Error);
        QCOMPARE(p.terminado, 1);
        QCOMPARE(p.ingresado, 0);
        QCOMPARE(columna(QStringLiteral("version")), QStringLiteral("0"));
        QCOMPARE(columna(QStringLiteral("mac")), mac);
        QCOMPARE(columna(QStringLiteral("ip_pc")), QString());
    }

    void login_sessionLockPasses_data() {
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("fecha");
        QTest::newRow("empty mac today") << "" << kHoy;
        QTest::newRow("this machine today") << kMac << kHoy;
        QTest::newRow("other machine, other day") << "11:22:33:44:55:66"
                                                  << "2024-05-16";
    }
    void login_sessionLockPasses() {
        QFETCH(QString, mac);
        QFETCH(QString, fecha);
        usuario(QStringLiteral("Taquilla"), QStringLiteral("Activo"), mac, fecha);
        Puesto p(cadena);
        p.opciones.servicios = servicio->url();
        auto l = login(p);
        entrar(*l, QStringLiteral("taq1"), QStringLiteral("s3creta"));
        QCOMPARE(p.ingresado, 1);
        QCOMPARE(columna(QStringLiteral("mac")), kMac);
        QCOMPARE(columna(QStringLiteral("fecha_ingreso")), kHoy);
    }

    void login_failureSaysWhatFailed() {
        sql(QStringLiteral("DELETE FROM grupos")); // the user's group has no row: step 12 fails
        Puesto p(cadena);
        p.opciones.servicios = servicio->url();
        auto l = login(p);
        const QStringList antes = p.fabrica.cadenas;
        entrar(*l, QStringLiteral("taq1"), QStringLiteral("s3creta"));
        QCOMPARE(p.dialogos.textos.size(), 1);
        QVERIFY2(p.dialogos.textos[0].startsWith(QStringLiteral("No se pudo completar el ingreso:\n")),
                 qPrintable(p.dialogos.textos[0]));
        QCOMPARE(p.dialogos.vistos[0].titulo, QStringLiteral("Inicio de sesión"));
        QCOMPARE(p.fabrica.cadenas, antes); // no local connection was opened
        QVERIFY(l->isVisible());
        QCOMPARE(p.ingresado + p.terminado, 0);
        QCOMPARE(columna(QStringLiteral("version")), QStringLiteral("0"));
    }

    void login_internetIndicator() {
        Puesto p(cadena);
        p.maquina.red = false;
        auto l = login(p);
        QVERIFY(l->Label_internet->isVisible());
        QCOMPARE(l->Label_internet->text(), QStringLiteral("No hay Internet"));
        QCOMPARE(l->Label_internet->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(l->Label_internet->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        QVERIFY(l->Timer1->isActive());
        QCOMPARE(l->Timer1->interval(), 3000);
        p.maquina.red = true;
        l->Timer1_Timer();
        QCOMPARE(l->Label_internet->text(), QStringLiteral("Online"));
        QCOMPARE(l->Label_internet->palette().color(QPalette::Window), QColor(0, 255, 0));
        QCOMPARE(l->Label_internet->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }

    void login_cancelEndsTheProgram() {
        Puesto p(cadena);
        auto l = login(p);
        QTest::mouseClick(l->cmdCancel, Qt::LeftButton);
        QCOMPARE(p.terminado, 1);
        QVERIFY(!l->isVisible());
        QCOMPARE(columna(QStringLiteral("version")), QStringLiteral("0"));
    }

    // --------------------------------------------------------------------- main window

    void menu_levelMatrix_data() {
        QTest::addColumn<QString>("nivel");
        QTest::addColumn<bool>("gerencia");
        QTest::addColumn<bool>("reportes");
        QTest::addColumn<bool>("pantallas");
        QTest::addColumn<bool>("venta");
        QTest::addColumn<bool>("salir");
        QTest::newRow("Taquilla") << "Taquilla" << false << false << false << true << true;
        QTest::newRow("Supervisor") << "Supervisor" << true << true << false << false << true;
        QTest::newRow("Visor") << "Visor" << false << false << true << false << true;
        QTest::newRow("Socio") << "Socio" << false << true << false << false << false;
        QTest::newRow("Operador") << "Operador" << false << false << false << true << true;
        QTest::newRow("Administrador") << "Administrador" << false << false << false << true << true;
    }
    void menu_levelMatrix() {
        QFETCH(QString, nivel);
        QFETCH(bool, gerencia);
        QFETCH(bool, reportes);
        QFETCH(bool, pantallas);
        QFETCH(bool, venta);
        QFETCH(bool, salir);
        Puesto p(cadena);
        auto m = menu(p, nivel);
        QCOMPARE(m->windowTitle(), QStringLiteral("MENU PRINCIPAL -  CENTRO UNO"));
        QCOMPARE(m->gerencia_menu->menuAction()->isVisible(), gerencia);
        QCOMPARE(m->reportes_admin->menuAction()->isVisible(), reportes);
        QCOMPARE(m->pantallamenus->menuAction()->isVisible(), pantallas);
        QCOMPARE(m->Toolbar1_Button[0]->isVisible(), venta);
        QCOMPARE(m->Toolbar1_Button[1]->isVisible(), salir);
        for (QMenu *siempre : {m->acciones_menu, m->conf_menu_pc, m->acer_mnu})
            QVERIFY(siempre->menuAction()->isVisible());
        for (QAction *nunca : {m->cp_menu, m->vp_menu, m->rpt_menu_Ganancias, m->tienda_menu->menuAction()})
            QVERIFY(!nunca->isVisible());
        QCOMPARE(m->Toolbar1_Button[0]->text(), QStringLiteral("VENTA"));
        QCOMPARE(m->Toolbar1_Button[1]->text(), QStringLiteral("SALIR"));
        QCOMPARE(m->StatusBar1_Panel[2]->text(), QStringLiteral("HIPICA"));
        QCOMPARE(m->StatusBar1_Panel[3]->text(), QStringLiteral("taq1"));
        QCOMPARE(m->StatusBar1_Panel[4]->text(), QStringLiteral("Ana"));
        QCOMPARE(m->StatusBar1_Panel[5]->text(), nivel);
        QCOMPARE(m->StatusBar1_Panel[6]->text(), QStringLiteral("CENTRO UNO"));
        QCOMPARE(p.ctx.sesion.ticket_cobro, 1);
        QCOMPARE(p.ctx.sesion.cupoviptf, 30);
        QCOMPARE(p.ctx.sesion.name_empresa, QStringLiteral("EMPRESA UNO"));
        QVERIFY(m->Timer_Activo->isActive());
        QCOMPARE(m->Timer_Activo->interval(), 60000);
        QVERIFY(p.dialogos.vistos.empty());
    }

    void menu_menusCarryTheirCaptions() {
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Supervisor"));
        QStringList menus;
        for (QAction *a : m->menuBar()->actions())
            menus << a->text();
        // The menus a Supervisor does not see take no Alt letter (Alt+P belongs to the screen in front).
        QCOMPARE(menus, (QStringList{"Accio&nes", "&Gerencia", "Pantallas", "&Reportes", "&Configuración",
                                     "Tienda", "&Acerca"}));
        QStringList reportes;
        for (QAction *a : m->reportes_admin->actions())
            reportes << a->text();
        QCOMPARE(reportes,
                 (QStringList{"Cuadre de &Ventas", "Ventas  por &Taquilla", "Ventas  por &Carrera",
                              "Ventas  por &Grupos", "Tickets &Eliminados", "Cuadre de Ga&nancias"}));
        // Every title and entry has a mnemonic, and the mnemonics of one menu differ.
        QSet<QChar> titulos;
        for (QAction *a : m->menuBar()->actions()) {
            if (!a->isVisible())
                continue;
            const QKeySequence t = QKeySequence::mnemonic(a->text());
            QVERIFY2(!t.isEmpty(), qPrintable(a->text()));
            QVERIFY2(!titulos.contains(a->text().at(a->text().indexOf(QLatin1Char('&')) + 1).toLower()),
                     qPrintable(a->text()));
            titulos << a->text().at(a->text().indexOf(QLatin1Char('&')) + 1).toLower();
            QSet<QChar> entradas;
            for (QAction *e : a->menu()->actions()) {
                if (e->isSeparator())
                    continue;
                QVERIFY2(!QKeySequence::mnemonic(e->text()).isEmpty(), qPrintable(e->text()));
                const QChar letra = e->text().at(e->text().indexOf(QLatin1Char('&')) + 1).toLower();
                QVERIFY2(!entradas.contains(letra), qPrintable(e->text()));
                entradas << letra;
            }
        }
        QCOMPARE(m->Toolbar1_Button[0]->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(m->Toolbar1_Button[1]->shortcut(), QKeySequence(Qt::Key_F10));
        QVERIFY(m->Toolbar1_Button[0]->toolTip().contains(QStringLiteral("F2")));
    }

    void menu_displayEntries_data() {
        QTest::addColumn<int>("p1");
        QTest::addColumn<int>("p2");
        QTest::newRow("both") << 1 << 1;
        QTest::newRow("only 1") << 1 << 0;
        QTest::newRow("only 2") << 0 << 1;
        QTest::newRow("none") << 0 << 0;
    }
    void menu_displayEntries() {
        QFETCH(int, p1);
        QFETCH(int, p2);
        sql(QStringLiteral("UPDATE configuracion SET pantalla1=%1, pantalla2=%2").arg(p1).arg(p2));
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Visor"));
        QCOMPARE(m->tbfija_pant_menu->isVisible(), p1 != 0);
        QCOMPARE(m->visor2menu->isVisible(), p2 != 0);
    }

    void menu_versionOffer_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("respuesta"); // -1 no question expected, 0 No, 1 Yes
        QTest::newRow("28001 no offer") << 28001 << -1;
        QTest::newRow("28002 offer, No") << 28002 << 0;
        QTest::newRow("28002 offer, Yes") << 28002 << 1;
    }
    void menu_versionOffer() {
        QFETCH(int, version);
        QFETCH(int, respuesta);
        sql(QStringLiteral("UPDATE configuracion SET version=%1").arg(version));
        Puesto p(cadena);
        if (respuesta >= 0)
            p.dialogos.respuestas = {respuesta ? Respuesta::Si : Respuesta::No};
        auto m = menu(p, QStringLiteral("Taquilla"));
        QCOMPARE(int(p.dialogos.vistos.size()), respuesta < 0 ? 0 : 1);
        if (respuesta >= 0) {
            QCOMPARE(p.dialogos.vistos[0].titulo, QStringLiteral("Actualización de Sistema"));
            QCOMPARE(p.dialogos.vistos[0].botones, Botones::SiNo);
        }
        QCOMPARE(m->Picture1->isVisible(), respuesta == 0);
        QCOMPARE(p.terminado, respuesta == 1 ? 1 : 0);
        QCOMPARE(p.maquina.abiertas,
                 respuesta == 1 ? QStringList{QStringLiteral("http://descargas.corvalo/")} : QStringList{});
        if (respuesta == 0) {
            QCOMPARE(m->Image1->toolTip(), QStringLiteral("DESCARGAR"));
            QTest::mouseClick(m->Image1, Qt::LeftButton);
            QCOMPARE(p.maquina.abiertas, QStringList{QStringLiteral("http://descargas.corvalo/")});
        }
    }

    void menu_exitThroughToolbarClearsTheLock() {
        sql(QStringLiteral("UPDATE usuarios SET mac='") + kMac + QStringLiteral("'"));
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Taquilla"));
        p.dialogos.respuestas = {Respuesta::No};
        m->Toolbar1_Button[1]->trigger();
        QVERIFY(m->isVisible());
        QCOMPARE(columna(QStringLiteral("mac")), kMac);
        QCOMPARE(p.terminado, 0);
        p.dialogos.respuestas = {Respuesta::Si};
        m->Toolbar1_Button[1]->trigger();
        QCOMPARE(p.dialogos.vistos.back().texto, QStringLiteral("Esta seguro de salir del sistema"));
        QCOMPARE(p.terminado, 1);
        QCOMPARE(columna(QStringLiteral("mac")), QString());
    }

    void menu_salirLeavesTheLock() {
        sql(QStringLiteral("UPDATE usuarios SET mac='") + kMac + QStringLiteral("'"));
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Socio"));
        p.dialogos.respuestas = {Respuesta::Si};
        m->cerrar_menu->trigger();
        QCOMPARE(p.dialogos.textos, QStringList{QStringLiteral(" SALIR DEL SISTEMA, ¿DESEA CONTINUAR? ")});
        QCOMPARE(p.terminado, 1);
        QCOMPARE(columna(QStringLiteral("mac")), kMac);
        m->close(); // the program is ending: no second question
        QCOMPARE(int(p.dialogos.vistos.size()), 1);
    }

    // "VENTA" hides the toolbar while the level's sales screen is open; a level without one is
    // told so (by the button and by F2), and it, or a screen that does not open, leaves the toolbar
    // (and F10) where it was.
    void menu_ventaHidesTheToolbarOnlyWhileASalesScreenIsOpen() {
        struct Caso {
            QString nivel;
            QStringList abiertas;
            bool sinBarra;
        };
        for (const Caso &c : {Caso{QStringLiteral("Administrador"), {}, false},
                              Caso{QStringLiteral("Taquilla"), {QStringLiteral("TD")}, false},
                              Caso{QStringLiteral("Operador"), {QStringLiteral("OP")}, true}}) {
            Puesto p(cadena);
            auto m = menu(p, c.nivel);
            QStringList abiertas;
            m->pantallas.Form_Venta_TD = [&](Form_MenuPrincipal &) -> QWidget * {
                abiertas << QStringLiteral("TD");
                return nullptr; // the screen could not open
            };
            m->pantallas.Form_VentaOperador = [&](Form_MenuPrincipal &) -> QWidget * {
                abiertas << QStringLiteral("OP");
                return new QWidget;
            };
            m->Toolbar1_Button[0]->trigger();
            QCOMPARE(abiertas, c.abiertas);
            QCOMPARE(m->Toolbar1->isVisible(), !c.sinBarra);
            QCOMPARE(int(m->mdiArea->subWindowList().size()), c.sinBarra ? 1 : 0);
            const bool sinPantalla = c.abiertas.isEmpty();
            QCOMPARE(p.dialogos.textos, sinPantalla ? QStringList{kNivelSinVenta} : QStringList{});
            if (sinPantalla) {
                QCOMPARE(p.dialogos.titulos, QStringList{kTituloNoDisponible});
                m->show();
                QApplication::setActiveWindow(m.get());
                QVERIFY(QTest::qWaitForWindowActive(m.get()));
                QTest::keyClick(m.get(), Qt::Key_F2);
                QCOMPARE(p.dialogos.textos, (QStringList{kNivelSinVenta, kNivelSinVenta}));
            }
            m->pantallaCerrada();
            QVERIFY(m->Toolbar1->isVisible());
        }
    }

    void menu_timerReopensSettings() {
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Taquilla"));
        sql(QStringLiteral("UPDATE configuracion SET carrera=7"));
        m->Timer_Activo_Timer();
        QCOMPARE(p.ctx.configuracion(QStringLiteral("carrera")).texto(), QStringLiteral("7"));
        m->pantallas.Form_Gerencia = [](Form_MenuPrincipal &) -> QWidget * { return new QWidget; };
        m->vt_ger_menu->trigger();
        QVERIFY(!m->Timer_Activo->isActive());
        QVERIFY(!m->Toolbar1->isVisible());
        m->pantallaCerrada();
        QVERIFY(m->Timer_Activo->isActive());
        QVERIFY(m->Toolbar1->isVisible());
    }

    // An entry whose screen this version does not have says so, and leaves the toolbar, the timer
    // and the exit key alone.
    void menu_entriesWithoutTheirScreenSaySo() {
        struct Caso {
            const char *nivel, *entrada;
        };
        for (const Caso &c : {Caso{"Supervisor", "vt_ger_menu"}, Caso{"Visor", "tbfija_pant_menu"},
                              Caso{"Visor", "visor2menu"}, Caso{"Supervisor", "diario_menu_tf"},
                              Caso{"Supervisor", "tf_porTaquilla"}, Caso{"Supervisor", "rctf_admin_menu"},
                              Caso{"Supervisor", "te_menu"}, Caso{"Operador", "Toolbar1_Button_1"}}) {
            Puesto p(cadena);
            auto m = menu(p, QString::fromLatin1(c.nivel));
            const bool barra = m->Toolbar1->isVisible();
            auto *a = m->findChild<QAction *>(QString::fromLatin1(c.entrada));
            QVERIFY2(a, c.entrada);
            a->trigger();
            QCOMPARE(p.dialogos.textos, QStringList{kPantallaNoDisponible});
            QCOMPARE(p.dialogos.titulos, QStringList{kTituloNoDisponible});
            QCOMPARE(m->Toolbar1->isVisible(), barra);
            QVERIFY(m->Timer_Activo->isActive());
            QVERIFY(m->mdiArea->subWindowList().isEmpty());
            QCOMPARE(p.ctx.sesion.id_moneda, 0);
            // F10 still leaves (the question answered No keeps the program).
            p.dialogos.respuestas = {Respuesta::No};
            m->Toolbar1_Button[1]->trigger();
            QCOMPARE(p.dialogos.textos.last(), kPreguntaSalida);
            QCOMPARE(p.terminado, 0);
        }
    }

    // Every screen of the menus is opened once: a second click brings the open one forward, and
    // the console's second click neither opens another console nor touches the timer.
    void menu_aSecondClickRaisesTheOpenScreen() {
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Supervisor"));
        m->show();
        QApplication::setActiveWindow(m.get());
        QVERIFY(QTest::qWaitForWindowActive(m.get()));
        int reportes = 0, consolas = 0;
        QWidget *reporte = nullptr, *consola = nullptr;
        m->pantallas.Form_RPT_Ventas = [&](Form_MenuPrincipal &) -> QWidget * {
            ++reportes;
            return reporte = new QWidget;
        };
        m->pantallas.Form_Gerencia = [&](Form_MenuPrincipal &) -> QWidget * {
            ++consolas;
            return consola = new QWidget;
        };
        auto clic = [&](QMenu *menu, QAction *entrada) {
            QMenuBar *barra = m->menuBar();
            QTest::mouseClick(barra, Qt::LeftButton, {}, barra->actionGeometry(menu->menuAction()).center());
            QTRY_VERIFY(menu->isVisible());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entrada).center());
            QTRY_VERIFY(!menu->isVisible());
        };
        clic(m->reportes_admin, m->diario_menu_tf);
        clic(m->gerencia_menu, m->vt_ger_menu);
        QCOMPARE(m->mdiArea->activeSubWindow()->widget(), consola);
        clic(m->reportes_admin, m->diario_menu_tf);
        QCOMPARE(reportes, 1);
        QCOMPARE(m->mdiArea->activeSubWindow()->widget(), reporte);
        clic(m->gerencia_menu, m->vt_ger_menu);
        QCOMPARE(consolas, 1);
        QCOMPARE(m->mdiArea->activeSubWindow()->widget(), consola);
        QCOMPARE(int(m->mdiArea->subWindowList().size()), 2);
        QVERIFY(!m->Timer_Activo->isActive());
        // Closed, it opens anew.
        m->mdiArea->activeSubWindow()->close();
        QTRY_COMPARE(int(m->mdiArea->subWindowList().size()), 1);
        clic(m->gerencia_menu, m->vt_ger_menu);
        QCOMPARE(consolas, 2);
        QVERIFY(p.dialogos.textos.isEmpty());
    }

    void menu_borrarBdLocalAnsweredNo() {
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Taquilla"));
        const QStringList antes = p.fabrica.cadenas;
        p.dialogos.respuestas = {Respuesta::No};
        m->bdlocalmenu->trigger();
        QCOMPARE(p.dialogos.textos,
                 QStringList{QStringLiteral(" ¿Esta usted seguro de querer borrar la bd local?")});
        QCOMPARE(p.dialogos.vistos[0].botones, Botones::SiNoPorNo); // Enter answers No
        QCOMPARE(p.fabrica.cadenas, antes);
        QVERIFY(p.ctx.conexion_local == nullptr);
    }

    void menu_about() {
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Taquilla"));
        m->acerca_menu->trigger();
        auto *a = m->findChild<frmAbout *>();
        QVERIFY(a && a->isVisible());
        QCOMPARE(a->windowTitle(), QStringLiteral("ACERCA CORVALO"));
        QCOMPARE(a->lblVersion->text(), kBanner);
        QVERIFY(a->lblDescription->text().startsWith(QStringLiteral("Corvalo")));
        a->close();
    }

    // Escape closes the sub-windows (print settings, about); they carry the program's own icon;
    // the toolbar and its exit key are still there afterwards.
    void menu_escapeClosesTheSubWindows() {
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Taquilla"));
        QApplication::setActiveWindow(m.get());
        QVERIFY(QTest::qWaitForWindowActive(m.get()));
        const QImage icono = iconoPrograma().pixmap(16).toImage();
        m->pimp_menu->trigger();
        QCOMPARE(int(m->mdiArea->subWindowList().size()), 1);
        QMdiSubWindow *sub = m->mdiArea->subWindowList().first();
        QCOMPARE(sub->windowIcon().pixmap(16).toImage(), icono);
        auto *conf = m->findChild<Form_ConfImpresion *>();
        QVERIFY(conf);
        QTRY_COMPARE(QApplication::focusWidget(), conf->Combo2);
        QTest::keyClick(conf->Combo2, Qt::Key_Escape);
        QTRY_VERIFY(m->mdiArea->subWindowList().isEmpty());

        m->acerca_menu->trigger();
        auto *a = m->findChild<frmAbout *>();
        QVERIFY(a && a->isVisible());
        QCOMPARE(a->windowIcon().pixmap(16).toImage(), icono);
        QTest::keyClick(a->cmdOK, Qt::Key_Escape);
        QTRY_VERIFY(!a->isVisible());

        QVERIFY(m->Toolbar1->isVisible() && m->Toolbar1_Button[1]->isVisible());
        QCOMPARE(m->Toolbar1_Button[1]->shortcut(), QKeySequence(Qt::Key_F10));
        p.dialogos.respuestas = {Respuesta::No};
        m->Toolbar1_Button[1]->trigger();
        QCOMPARE(p.dialogos.textos.last(), kPreguntaSalida);
    }

    // ------------------------------------------------------------------ print settings

    void impresion_openedFromTheMenu() {
        escribirAjustes("\"WINDOWS2:\",1,0,9\r\n");
        Puesto p(cadena);
        auto m = menu(p, QStringLiteral("Visor"));
        QCOMPARE(p.ctx.sesion.puerto, QStringLiteral("WINDOWS2:")); // read at load
        QCOMPARE(p.ctx.sesion.tamletra, 9);
        m->pimp_menu->trigger();
        auto *f = m->findChild<Form_ConfImpresion *>();
        QVERIFY(f && f->isVisible());
        QCOMPARE(f->windowTitle(), QStringLiteral("CONFIGURACION DE IMPRESIÓN"));
        QCOMPARE(f->Combo2->currentText(), QStringLiteral("WINDOWS2:"));
        QCOMPARE(f->Combo1->currentText(), QStringLiteral("SI"));
        QCOMPARE(f->Combo3->currentText(), QStringLiteral("9"));
        QCOMPARE(f->Combo4->currentText(), QStringLiteral("NO"));
        QVERIFY(f->Combo3->isVisible() && f->N[1]->isVisible());
        QCOMPARE(f->Command1->text(), QStringLiteral("Guardar Cambios"));
        QCOMPARE(f->N[0]->text(), QStringLiteral("PUERTO"));
        QCOMPARE(f->Combo2->count(), 22);
    }

    void impresion_saving_data() {
        QTest::addColumn<QByteArray>("archivo");
        QTest::addColumn<QString>("puerto"); // chosen before saving; empty: unchanged
        QTest::addColumn<QString>("combo1"); // typed before saving; empty: unchanged
        QTest::addColumn<bool>("extras");    // visible after the choice
        QTest::addColumn<QByteArray>("guardado");
        QTest::newRow("LPT1: saves empty size and barcode")
            << QByteArray("\"LPT1:\",1,1,10\r\n") << ""
            << "" << false << QByteArray("\"LPT1:\",1,0,0\r\n");
        QTest::newRow("WINDOWS2: to LPT1: keeps the loaded values")
            << QByteArray("\"WINDOWS2:\",1,1,10\r\n") << "LPT1:"
            << "" << false << QByteArray("\"LPT1:\",1,1,10\r\n");
        QTest::newRow("LPT1: to WINDOWS2: shows the empty selectors")
            << QByteArray("\"LPT1:\",0,1,10\r\n") << "WINDOWS2:"
            << "" << true << QByteArray("\"WINDOWS2:\",0,0,0\r\n");
        QTest::newRow("si in lower case is not SI") << QByteArray("\"WINDOWS2:\",1,1,10\r\n") << ""
                                                    << "si" << true << QByteArray("\"WINDOWS2:\",0,1,10\r\n");
        QTest::newRow("a file of several lines ends with one")
            << QByteArray("\"COM3:\",1,1,8\r\n\"LPT2:\",0,0,6\r\nbasura\r\n") << ""
            << "" << false << QByteArray("\"COM3:\",1,0,0\r\n");
    }
    void impresion_saving() {
        QFETCH(QByteArray, archivo);
        QFETCH(QString, puerto);
        QFETCH(QString, combo1);
        QFETCH(bool, extras);
        QFETCH(QByteArray, guardado);
        escribirAjustes(archivo);
        Puesto p(cadena);
        Form_ConfImpresion f(p.ctx, carpeta.filePath(QStringLiteral("KVR2.bin")));
        f.show();
        QCOMPARE(f.focusWidget(), f.Combo2);
        if (!puerto.isEmpty())
            f.Combo2->setCurrentIndex(f.Combo2->findText(puerto));
        if (!combo1.isEmpty()) {
            f.Combo1->lineEdit()->selectAll();
            QTest::keyClicks(f.Combo1->lineEdit(), combo1);
        }
        QCOMPARE(f.Combo3->isVisible(), extras);
        QCOMPARE(f.Combo4->isVisible(), extras);
        QCOMPARE(f.N[1]->isVisible(), extras);
        QCOMPARE(f.N[2]->isVisible(), extras);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(leerAjustes(), guardado);
        QCOMPARE(p.dialogos.textos, QStringList{QStringLiteral("Los cambios se han realizado con exito")});
        QCOMPARE(p.dialogos.vistos[0].titulo, QStringLiteral("Configuración del Sistema"));
        QCOMPARE(p.dialogos.vistos[0].icono, Icono::Informacion);
    }

    void impresion_noFileKeepsTheSelectorsEmpty() {
        Puesto p(cadena);
        Form_ConfImpresion f(p.ctx, carpeta.filePath(QStringLiteral("KVR2.bin")));
        QCOMPARE(f.Combo2->currentText(), QString());
        QCOMPARE(p.ctx.sesion.impresion, 0);
        QCOMPARE(p.ctx.sesion.tamletra, 8);
    }

    // ------------------------------------------------------------------------ keyboard

    void teclado_enterPressesTheFocusedButton() {
        QWidget w;
        auto *b = new QPushButton(QStringLiteral("B"), &w);
        int pulsado = 0;
        connect(b, &QPushButton::clicked, [&] { ++pulsado; });
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(pulsado, 2);
    }

    void teclado_yesIsTheDefaultOfEveryQuestion_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<bool>("si");
        QTest::newRow("Enter answers Yes") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape answers No") << int(Qt::Key_Escape) << false;
    }
    void teclado_yesIsTheDefaultOfEveryQuestion() {
        QFETCH(int, tecla);
        QFETCH(bool, si);
        DialogosQt d;
        QTimer::singleShot(50, [tecla] {
            QWidget *caja = QApplication::activeModalWidget();
            QVERIFY(caja);
            QTest::keyClick(caja->focusWidget() ? caja->focusWidget() : caja, Qt::Key(tecla));
        });
        QCOMPARE(d.pregunta(QStringLiteral("¿Seguro?"), QStringLiteral("T")), si);
    }
};

QTEST_MAIN(PruebaSesion)
#include "session_ui_test.moc"
