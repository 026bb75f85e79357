// corvalo [--central CONN] [--local CONN] [--local-default-server ADDRESS] [--ip-services "URL URL URL"]
//         [--print-settings FILE] [--log-level LEVEL] [--log-file FILE] [--version]
#include "ajustes_puesto.h"
#include "contexto.h"
#include "db.h"
#include "dialogos_qt.h"
#include "form_gerencia.h"
#include "form_menu_principal.h"
#include "form_reportes.h"
#include "form_venta_operador.h"
#include "form_venta_td.h"
#include "form_visor.h"
#include "frm_login.h"
#include "frm_splash.h"
#include "hoja_dia.h"
#include "impresora_qt.h"
#include "maquina_escritorio.h"
#include "opciones.h"
#include "recibo.h"
#include "registro.h"
#include "rpt_jugadas.h"
#include "salida.h"
#include "teclado.h"
#include "ticket.h"
#include "ventanas.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

using namespace corvalo;

namespace {

// The workstation, with the default printer of the platform's printing system.
class MaquinaPuesto : public MaquinaEscritorio {
public:
    QString impresoraPredeterminada() override { return nombreImpresoraPredeterminada().toUpper(); }
};

// Command-line errors never show a password.
void error(const QString &texto) {
    std::fprintf(stderr, "corvalo: %s\n", sinClaves(texto).toLocal8Bit().constData());
}

// What the program starts with: the deployment values, the session's options and the journal of
// pending outcomes.
struct Arranque {
    AjustesPuesto puesto;
    OpcionesSesion opciones;
    QString archivoPendientes;
};

// Reads the settings files and the command line into `a`. The exit code when the program ends
// here (help, version, a wrong option or setting); nothing when it goes on.
std::optional<int> leerOpciones(int argc, char **argv, Arranque &a) {
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);

    // The deployment values: built in, then /etc/corvalo/corvalo.conf, then the user's
    // ~/.config/Corvalo/corvalo.conf, then the command line.
    QString problema;
    a.puesto =
        leerAjustesPuesto(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath(),
                          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), &problema);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Corvalo, point of sale for horse-racing betting windows."));
    const QCommandLineOption ayuda({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("Shows these options."));
    const QCommandLineOption version(
        QStringLiteral("version"), QStringLiteral("Shows the version, the settings files read and where each "
                                                  "value comes from (passwords masked)."));
    const QCommandLineOption archivoPendientes(
        QStringLiteral("pending-file"),
        QStringLiteral("The journal of sales and payments whose outcome is pending (default "
                       "~/.local/state/Corvalo/pendientes.json)."),
        QStringLiteral("FILE"));
    parser.addOptions({ayuda, version, archivoPendientes});
    const std::pair<const char *, const char *> descripciones[] = {
        {"CONN", "Connection string of the central database."},
        {"CONN", "Connection string of the local report database."},
        {"ADDRESS", "Server address written into conf_local when the local report database is created."},
        {"URLS", "Blank-separated URLs of the public-address services."},
        {"FILE", "The print-settings file (default KVR2.bin in ~/.config/Corvalo)."},
        {"LEVEL", "What the technician's log keeps: debug, info, warning (the default) or critical."},
        {"FILE", "The technician's log (default ~/.local/state/Corvalo/corvalo.log)."},
    };
    QList<QCommandLineOption> opcionesAjuste;
    for (int i = 0; i < clavesAjustes().size(); ++i) {
        opcionesAjuste.append(QCommandLineOption(clavesAjustes()[i],
                                                 QString::fromUtf8(descripciones[i].second),
                                                 QString::fromUtf8(descripciones[i].first)));
        parser.addOption(opcionesAjuste.last());
    }
    if (!parser.parse(argumentos)) {
        error(parser.errorText());
        return 2;
    }
    if (parser.isSet(ayuda)) {
        std::fputs(parser.helpText()
                       .replace(QStringLiteral("<executable_name>"), QStringLiteral("corvalo"))
                       .toLocal8Bit()
                       .constData(),
                   stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());
        return 2;
    }
    for (int i = 0; problema.isEmpty() && i < clavesAjustes().size(); ++i)
        if (parser.isSet(opcionesAjuste[i])) {
            problema = fijarAjuste(a.puesto, clavesAjustes()[i], parser.value(opcionesAjuste[i]),
                                   QStringLiteral("command line"));
            if (!problema.isEmpty())
                problema = QStringLiteral("--") + problema;
        }
    if (!problema.isEmpty()) {
        error(problema);
        if (!parser.isSet(version) &&
            (qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
             qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))) {
            QApplication app(argc, argv);
            QMessageBox::critical(nullptr, QStringLiteral("Corvalo"),
                                  QStringLiteral("Corvalo cannot start:\n\n") + sinClaves(problema));
        }
        return 2;
    }
    if (parser.isSet(version)) {
        std::fputs(textoVersion(a.puesto).toLocal8Bit().constData(), stdout);
        return 0;
    }

    a.archivoPendientes =
        parser.isSet(archivoPendientes) ? parser.value(archivoPendientes) : archivoPendientesPredeterminado();
    a.opciones.cadenaCentral = a.puesto.central.valor;
    a.opciones.servicios = a.puesto.servicios.valor;
    a.opciones.rutaAjustes = a.puesto.ajustesImpresion.valor;
    for (const AjustesPuesto::Archivo &f : a.puesto.archivos)
        a.opciones.archivosAjustes << f.ruta;
    a.opciones.sinAjustes =
        !a.puesto.algunoDeArchivo() && a.puesto.central.origen == QLatin1String("built in");
    a.opciones.revisarPuesto = true;

    return std::nullopt;
}

// The services made once and handed to every screen.
struct Servicios {
    explicit Servicios(const Arranque &a) : ctx(fabrica, dialogos, reloj, maquina) {
        ctx.cadenaLocal = a.puesto.local.valor;
        ctx.servidorLocal = a.puesto.servidorLocal.valor;
        // Outcomes a lost reply left pending are kept over a restart or a power cut.
        ctx.pendientes.abrir(a.archivoPendientes);
    }
    FabricaMariaDb fabrica;
    DialogosQt dialogos;
    RelojSistema reloj;
    MaquinaPuesto maquina;
    Contexto ctx;
    AzarSistema azar;
    // Everything the booth prints goes through one output choice.
    PuertoSistema puerto;
    ImpresorasDelSistema impresoras;
    ServicioImpresion salida{ctx, puerto, impresoras};
    // Booth and operator tickets alike write their amounts in the format of the sale's currency.
    ImpresionBoletos boletos{salida};
    ServicioRecibos recibos{salida};
    ServicioHojas hojas{salida};
};

// The screens the main window opens from its menu, each with what it needs and what it tells back.
void conectarPantallas(Form_MenuPrincipal &menu, Servicios &s) {
    Contexto &ctx = s.ctx;
    ImpresionBoletos &boletos = s.boletos;
    ServicioRecibos &recibos = s.recibos;
    ServicioHojas &hojas = s.hojas;
    AzarSistema &azar = s.azar;
    menu.pantallas.Form_VentaOperador = [&](Form_MenuPrincipal &m) -> QWidget * {
        auto *f = new Form_VentaOperador(ctx, &boletos, nullptr, &hojas);
        QObject::connect(f, &Form_VentaOperador::cerrada, &m, [&m] { m.pantallaCerrada(); });
        QObject::connect(f, &Form_VentaOperador::suspendido, &m, [] { terminarPrograma(); });
        maximizarEnVentanaPrincipal(f);
        return f;
    };
    menu.pantallas.Form_Venta_TD = [&](Form_MenuPrincipal &m) -> QWidget * {
        auto *f = new Form_Venta_TD(ctx, &boletos, &recibos, nullptr, &hojas);
        QObject::connect(f, &Form_Venta_TD::cerrada, &m, [&m] { m.pantallaCerrada(); });
        QObject::connect(f, &Form_Venta_TD::suspendido, &m, [] { terminarPrograma(); });
        // The booth works on a full-size screen inside the main window.
        maximizarEnVentanaPrincipal(f);
        return f;
    };
    // The customer displays: one board at a time, full screen on the workstation's
    // display; the main window keeps its toolbar and gets its timer back when it closes.
    auto visor = std::make_shared<QPointer<Form_Visor>>();
    auto abrirVisor = [visor](Form_MenuPrincipal &m, Form_Visor *f) -> QWidget * {
        if (*visor)
            (*visor)->close();
        m.Timer_Activo->stop();
        *visor = f;
        QObject::connect(f, &Form_Visor::cerrada, &m, [&m] {
            m.pantallaCerrada(false);
            m.activateWindow();
        });
        QObject::connect(f, &Form_Visor::suspendido, &m, [] { terminarPrograma(); });
        f->mostrarEn(m.screen());
        return f;
    };
    menu.pantallas.Form_Pantalla_Triple = [&, abrirVisor](Form_MenuPrincipal &m) {
        return abrirVisor(m, new Form_Pantalla_Triple(ctx, azar, &m));
    };
    menu.pantallas.Form_PantDoble = [&, abrirVisor](Form_MenuPrincipal &m) {
        return abrirVisor(m, new Form_PantDoble(ctx, azar, &m));
    };
    // The reports: their screens need nothing back from the main window. Other screens
    // print a report through abrirReporte(ctx, tipo_reporte, parent).
    menu.pantallas.Form_RPT_Ventas = [&](Form_MenuPrincipal &) -> QWidget * {
        return new Form_RPT_Ventas(ctx);
    };
    menu.pantallas.Form_RPT_CuadreTaqTF = [&](Form_MenuPrincipal &) -> QWidget * {
        return new Form_RPT_CuadreTaqTF(ctx);
    };
    menu.pantallas.Form_RPT_ResultadosCarreras = [&](Form_MenuPrincipal &) -> QWidget * {
        return new Form_RPT_ResultadosCarreras(ctx);
    };
    menu.pantallas.Form_Bitacora = [&](Form_MenuPrincipal &) -> QWidget * { return new Form_Bitacora(ctx); };
    menu.pantallas.Form_Gerencia = [&](Form_MenuPrincipal &m) -> QWidget * {
        auto *f = new Form_Gerencia(ctx);
        QObject::connect(f, &Form_Gerencia::cerrada, &m, [&m, &ctx] {
            m.pantallaCerrada();
            m.setWindowTitle(QStringLiteral("MENU PRINCIPAL -  ") + ctx.sesion.ch);
        });
        // The ticket list prints through the report viewer.
        QObject::connect(f, &Form_Gerencia::imprimirJugadas, f,
                         [&ctx, f] { abrirReporte(ctx, ctx.sesion.tipo_reporte, f); });
        maximizarEnVentanaPrincipal(f);
        return f;
    };
}

} // namespace

int main(int argc, char **argv) {
    Arranque a;
    if (const std::optional<int> fin = leerOpciones(argc, argv, a))
        return *fin;
    const OpcionesSesion &opciones = a.opciones;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvalo"));
    QApplication::setWindowIcon(iconoPrograma());
    QApplication::setQuitOnLastWindowClosed(false); // every ending goes through terminarPrograma
    instalarFiltroTeclado();
    const bool traducido = instalarTraduccionesQt();
    instalarRegistro(a.puesto.archivoRegistro.valor, *nivelRegistro(a.puesto.nivelRegistro.valor));
    if (!traducido)
        qCWarning(lcSesion) << "Qt's Spanish translations (qt6-translations-l10n) are not installed";
    for (const AjustesPuesto::Archivo &f : a.puesto.archivos)
        qCInfo(lcSesion).noquote() << QStringLiteral("settings file %1: %2")
                                          .arg(f.ruta, f.leido ? QStringLiteral("read")
                                                               : QStringLiteral("not present"));

    Servicios s(a);
    Contexto &ctx = s.ctx;

    std::unique_ptr<frmLogin> login;
    std::unique_ptr<Form_MenuPrincipal> menu;
    frmSplash splash(ctx, opciones);
    QObject::connect(&splash, &frmSplash::interrumpido, &app, [] { terminarPrograma(); });
    QObject::connect(&splash, &frmSplash::listo, &app, [&] {
        login = std::make_unique<frmLogin>(ctx, opciones);
        QObject::connect(login.get(), &frmLogin::abandonado, &app, [] { terminarPrograma(); });
        QObject::connect(login.get(), &frmLogin::ingresado, &app, [&] {
            menu = std::make_unique<Form_MenuPrincipal>(ctx, opciones);
            QObject::connect(menu.get(), &Form_MenuPrincipal::salidaConfirmada, &app,
                             [] { terminarPrograma(); });
            conectarPantallas(*menu, s);
            menu->Form_Load();
            menu->showMaximized(); // the container of every screen takes the whole display
        });
        login->show();
    });
    splash.show();
    const int codigo = app.exec();
    menu.reset();
    login.reset();
    return codigo;
}
