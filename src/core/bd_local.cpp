#include "bd_local.h"

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

void ofrecer_bd_local(Contexto &ctx) {
    if (!ctx.dialogos.pregunta(
            QStringLiteral("Este Usuario Requiere crear las credenciales para los reportes desea hacerlo? "),
            QStringLiteral("Confirmar Requerimiento"), Icono::Pregunta))
        return; // nothing is recorded for a No
    const auto clave =
        ctx.dialogos.entrada(QStringLiteral("INGRESE LA CLAVE"), QStringLiteral("CONFIRMACION"));
    if (!clave)
        return;
    bool hecho = false;
    if (*clave == QLatin1String("40917")) {
        crear_bd_local(ctx);
        hecho = true;
    } else if (*clave == QLatin1String("82365")) {
        recrear_bd_local(ctx);
        hecho = true;
    }
    if (!hecho)
        return;
    ctx.dialogos.mensaje(QStringLiteral("La BD ha sido creada con exito"), QStringLiteral("SISTEMA"),
                         Icono::Informacion);
    ctx.abrir_local();
}

void borrar_bd_local(Contexto &ctx) {
    if (!ctx.dialogos.pregunta(QStringLiteral(" ¿Esta usted seguro de querer borrar la bd local?"),
                               QStringLiteral("confirmar"), Icono::Pregunta))
        return;
    // Only a Supervisor's login opens the local connection; other levels get one here.
    if (!ctx.conexion_local)
        ctx.conexion_local = ctx.fabrica.abrir(cadenaServidorLocal(ctx.cadenaLocal));
    soltar_bd_local(ctx);
    ctx.dialogos.mensaje(QStringLiteral("Se ha borrado con exito la bd local"),
                         QStringLiteral("Administración del Sistema"), Icono::Informacion);
    crear_bd_local(ctx);
    ctx.abrir_local();
}

} // namespace corvalo
