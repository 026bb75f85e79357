// corvalo [--central CONN] [--local CONN] [--print-settings FILE] [--ip-services "URL URL URL"]
#include "contexto.h"
#include "db.h"
#include "dialogos_qt.h"
#include "form_gerencia.h"
#include "form_menu_principal.h"
#include "form_venta_td.h"
#include "frm_login.h"
#include "frm_splash.h"
#include "impresora_qt.h"
#include "maquina_escritorio.h"
#include "opciones.h"
#include "teclado.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>

using namespace corvalo;

namespace {

// The workstation, with the default printer of the platform's printing system.
class MaquinaPuesto : public MaquinaEscritorio {
public:
    QString impresoraPredeterminada() override { return nombreImpresoraPredeterminada().toUpper(); }
};

void error(const QString &texto) {
    std::fprintf(stderr, "corvalo: %s\n", texto.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv) {
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Corvalo, point of sale for horse-racing betting windows."));
    const QCommandLineOption ayuda({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("Shows these options."));
    const QCommandLineOption central(QStringLiteral("central"),
                                     QStringLiteral("Connection string of the central database."),
                                     QStringLiteral("CONN"));
    const QCommandLineOption local(QStringLiteral("local"),
                                   QStringLiteral("Connection string of the local report database."),
                                   QStringLiteral("CONN"));
    const QCommandLineOption ajustes(
        QStringLiteral("print-settings"),
        QStringLiteral("The print-settings file (default KVR2.bin in the per-user "
                       "configuration folder)."),
        QStringLiteral("FILE"));
    const QCommandLineOption servicios(QStringLiteral("ip-services"),
                                       QStringLiteral("Blank-separated URLs of the public-address services."),
                                       QStringLiteral("URLS"));
    parser.addOptions({ayuda, central, local, ajustes, servicios});
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

    OpcionesSesion opciones;
    QString cadenaLocal = cadenaLocalIncorporada();
    for (const auto &[opcion, destino] :
         {std::pair{&central, &opciones.cadenaCentral}, std::pair{&local, &cadenaLocal}}) {
        if (!parser.isSet(*opcion))
            continue;
        QString motivo;
        const QString valor = parser.value(*opcion);
        if (!parsearCadena(valor, &motivo)) {
            error(
                QStringLiteral("malformed --%1 connection string: %2").arg(opcion->names().first(), motivo));
            return 2;
        }
        *destino = valor;
    }
    if (parser.isSet(servicios))
        opciones.servicios = parser.value(servicios);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvalo"));
    QApplication::setQuitOnLastWindowClosed(false); // every ending goes through terminarPrograma
    instalarFiltroTeclado();

    opciones.rutaAjustes = parser.isSet(ajustes)
                               ? parser.value(ajustes)
                               : QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                                     .filePath(QStringLiteral("KVR2.bin"));

    FabricaMariaDb fabrica;
    DialogosQt dialogos;
    RelojSistema reloj;
    MaquinaPuesto maquina;
    Contexto ctx(fabrica, dialogos, reloj, maquina);
    ctx.cadenaLocal = cadenaLocal;

    PuertoSistema puerto;
    ServicioImpresion impresion(ctx, puerto, [] { return impresoraPredeterminadaDelSistema(); });

    std::unique_ptr<frmLogin> login;
    std::unique_ptr<Form_MenuPrincipal> menu;
    frmSplash splash(ctx, opciones);
    splash.mostrarLogin = [&] {
        login = std::make_unique<frmLogin>(ctx, opciones);
        login->alIngresar = [&] {
            menu = std::make_unique<Form_MenuPrincipal>(ctx, opciones);
            // The console, the displays and the reports attach here through menu->pantallas
            // as their subsystems are built.
            menu->pantallas.Form_Venta_TD = [&](Form_MenuPrincipal &m) -> QWidget * {
                auto *f = new Form_Venta_TD(ctx, &impresion);
                f->alCerrar = [&m] { m.pantallaCerrada(); };
                f->terminar = [] { terminarPrograma(); };
                // The booth works on a full-size screen inside the main window.
                QTimer::singleShot(0, f, [f] {
                    if (auto *sub = qobject_cast<QMdiSubWindow *>(f->parentWidget()))
                        sub->showMaximized();
                });
                return f;
            };
            menu->pantallas.Form_Gerencia = [&](Form_MenuPrincipal &m) -> QWidget * {
                auto *f = new Form_Gerencia(ctx);
                QObject::connect(f, &Form_Gerencia::cerrada, &m, [&m, &ctx] {
                    m.pantallaCerrada();
                    m.setWindowTitle(QStringLiteral("MENU PRINCIPAL -  ") + ctx.sesion.ch);
                });
                // The report viewer of the ticket list comes with the reports.
                QObject::connect(f, &Form_Gerencia::imprimirJugadas, f, [&dialogos] {
                    dialogos.mensaje(QStringLiteral("Esta opción no está disponible en esta versión"),
                                     QStringLiteral("IMPRIMIR"), Icono::Informacion);
                });
                QTimer::singleShot(0, f, [f] {
                    if (auto *sub = qobject_cast<QMdiSubWindow *>(f->parentWidget()))
                        sub->showMaximized();
                });
                return f;
            };
            menu->Form_Load();
            menu->show();
        };
        login->show();
    };
    splash.show();
    const int codigo = app.exec();
    menu.reset();
    login.reset();
    return codigo;
}
