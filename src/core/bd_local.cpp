#include "bd_local.h"

#include "mensajes.h"
#include "registro.h"

#include <QStringList>

namespace corvalo {

namespace {
#include "bd_local_sql.inc"

const QString kCrearBase = QStringLiteral("CREATE DATABASE `bd_corvalo`;");
const QString kSoltarBase = QStringLiteral("drop DATABASE `bd_corvalo`;");

QString sinCampo(const QString &cadena, const QString &campo) {
    QStringList partes = cadena.split(QLatin1Char(';'));
    QStringList fuera;
    for (const QString &p : partes) {
        const int igual = p.indexOf(QLatin1Char('='));
        if (igual > 0 && p.left(igual).trimmed().compare(campo, Qt::CaseInsensitive) == 0)
            continue;
        fuera << p;
    }
    return fuera.join(QLatin1Char(';'));
}
} // namespace

QString cadenaServidorLocal(const QString &cadenaLocal) {
    return sinCampo(cadenaLocal, QStringLiteral("database"));
}

QString cadenaBaseLocal(const QString &cadenaLocal) {
    QString s = sinCampo(cadenaLocal, QStringLiteral("database"));
    if (!s.endsWith(QLatin1Char(';')))
        s += QLatin1Char(';');
    return s + QStringLiteral("database=bd_corvalo;");
}

QStringList sentenciasCrearBdLocal(bool puestoNumerico, const QString &servidorPredeterminado) {
    return {kCrearBase,
            kCrear_rpt_diario,
            puestoNumerico ? kCrearRptJugadasNumero : kCrearRptJugadasTexto,
            kCrear_conf_local,
            QStringLiteral(
                "INSERT INTO `conf_local` (`id`,`impresion`,`puerto`,`ip_secundaria`,`version`,`tamletra`,"
                "`grupo`,`ip`,`server`,`codbarras`) VALUES (1,1,'WINDOWS2:','") +
                servidorPredeterminado + QStringLiteral("',") + QStringLiteral("28001") +
                QStringLiteral(",8,'','','',1);"),
            kCrear_rpt_bitacora,
            kCrear_rpt_dividendos,
            kCrear_rpt_resultadoscarreras,
            kCrear_rpt_resultadostaqs,
            kCrear_rpt_caballos_tf};
}

void crear_bd_local(Contexto &ctx, bool puestoNumerico) {
    const QStringList sentencias = sentenciasCrearBdLocal(puestoNumerico, ctx.servidorLocal);
    {
        auto servidor = ctx.fabrica.abrir(cadenaServidorLocal(ctx.cadenaLocal));
        servidor->ejecutar(sentencias.first());
    }
    auto base = ctx.fabrica.abrir(cadenaBaseLocal(ctx.cadenaLocal));
    for (int i = 1; i < sentencias.size(); ++i)
        base->ejecutar(sentencias[i]);
}

void recrear_bd_local(Contexto &ctx) {
    {
        auto servidor = ctx.fabrica.abrir(cadenaServidorLocal(ctx.cadenaLocal));
        servidor->ejecutar(kSoltarBase);
    }
    crear_bd_local(ctx, true);
}

void soltar_bd_local(Contexto &ctx) {
    ctx.local().ejecutar(kSoltarBase);
}

namespace {

const QString kNoCreada = QStringLiteral(
    "La base de datos local de reportes no se ha creado: los reportes no estarán disponibles hasta crearla.");
const QString kClaveIncorrecta =
    QStringLiteral("La clave de acceso no es válida: la base de datos local de reportes no se ha creado.");

QString motivo(const std::exception &e) {
    return sinClaves(QString::fromUtf8(e.what()));
}

} // namespace

bool ofrecer_bd_local(Contexto &ctx) {
    const QString confirmar = QStringLiteral("Confirmar Requerimiento");
    if (!ctx.dialogos.pregunta(
            QStringLiteral("Este Usuario Requiere crear las credenciales para los reportes desea hacerlo? "),
            confirmar, Icono::Pregunta)) {
        ctx.dialogos.mensaje(kNoCreada, confirmar, Icono::Informacion);
        return false;
    }
    const auto clave =
        ctx.dialogos.entrada(QStringLiteral("INGRESE LA CLAVE"), QStringLiteral("CONFIRMACION"));
    if (!clave) {
        ctx.dialogos.mensaje(kNoCreada, confirmar, Icono::Informacion);
        return false;
    }
    const bool crear = *clave == QLatin1String("40917"), recrear = *clave == QLatin1String("82365");
    if (!crear && !recrear) {
        ctx.dialogos.mensaje(kClaveIncorrecta, QStringLiteral("CONFIRMACION"), Icono::Error);
        return false;
    }
    try {
        if (crear)
            crear_bd_local(ctx);
        else
            recrear_bd_local(ctx);
    } catch (const DbError &e) {
        registrarFalla(lcBaseDatos(), &ctx.sesion, confirmar, QStringLiteral("crear bd local"), e);
        ctx.dialogos.mensaje(QStringLiteral("No se pudo crear la base de datos local de reportes:\n") + motivo(e),
                             QStringLiteral("SISTEMA"), Icono::Error);
        return false;
    }
    ctx.dialogos.mensaje(QStringLiteral("La BD ha sido creada con exito"), QStringLiteral("SISTEMA"),
                         Icono::Informacion);
    try {
        ctx.abrir_local();
    } catch (const DbError &e) {
        ctx.conexion_local.reset();
        registrarFalla(lcBaseDatos(), &ctx.sesion, confirmar, QStringLiteral("abrir bd local"), e);
        ctx.dialogos.mensaje(kReportesSinBaseLocal + motivo(e), kTituloBaseLocal, Icono::Error);
        return false;
    }
    return true;
}

bool borrar_bd_local(Contexto &ctx) {
    const QString titulo = QStringLiteral("Administración del Sistema");
    if (!ctx.dialogos.pregunta(QStringLiteral(" ¿Esta usted seguro de querer borrar la bd local?"),
                               QStringLiteral("confirmar"), Icono::Pregunta, Botones::SiNoPorNo))
        return false;
    // The drop runs on the open local connection; a level whose login did not open it (every one
    // but Supervisor) drops through a server connection of its own, which is not kept.
    try {
        if (ctx.conexion_local && ctx.conexion_local->comprobar()) {
            soltar_bd_local(ctx);
        } else {
            auto servidor = ctx.fabrica.abrir(cadenaServidorLocal(ctx.cadenaLocal));
            servidor->ejecutar(kSoltarBase);
        }
    } catch (const DbError &e) {
        // A database that is not there has nothing to drop: it is created below.
        if (e.codigo() != 1008) {
            registrarFalla(lcBaseDatos(), &ctx.sesion, titulo, QStringLiteral("borrar bd local"), e);
            ctx.dialogos.mensaje(QStringLiteral("No se pudo borrar la bd local:\n") + motivo(e), titulo,
                                 Icono::Error);
            return false;
        }
    }
    ctx.conexion_local.reset(); // it named the database just dropped
    ctx.dialogos.mensaje(QStringLiteral("Se ha borrado con exito la bd local"), titulo, Icono::Informacion);
    try {
        crear_bd_local(ctx);
    } catch (const DbError &e) {
        registrarFalla(lcBaseDatos(), &ctx.sesion, titulo, QStringLiteral("crear bd local"), e);
        ctx.dialogos.mensaje(QStringLiteral("No se pudo crear la base de datos local de reportes:\n") + motivo(e),
                             titulo, Icono::Error);
        return false;
    }
    try {
        ctx.abrir_local();
    } catch (const DbError &e) {
        ctx.conexion_local.reset();
        registrarFalla(lcBaseDatos(), &ctx.sesion, titulo, QStringLiteral("abrir bd local"), e);
        ctx.dialogos.mensaje(kReportesSinBaseLocal + motivo(e), kTituloBaseLocal, Icono::Error);
        return false;
    }
    return true;
}

} // namespace corvalo
