#include "primer_arranque.h"

#include "bd_local.h"
#include "registro.h"

#include <QFileInfo>

namespace corvalo {

namespace {

// "HOST:PORT" (or the socket) of a connection string, without its password.
QString lugarServidor(const QString &cadena) {
    const auto p = parsearCadena(cadena);
    if (!p)
        return QStringLiteral("?");
    if (!p->socket.isEmpty())
        return p->socket;
    return QStringLiteral("%1:%2").arg(p->server).arg(p->port);
}

} // namespace

EstadoBdLocal estadoBdLocal(Contexto &ctx) {
    std::unique_ptr<BaseDatos> servidor;
    try {
        servidor = ctx.fabrica.abrir(cadenaServidorLocal(ctx.cadenaLocal));
    } catch (const std::exception &e) {
        registrarFalla(lcSesion(), nullptr, kTituloPuestoSinPreparar, QStringLiteral("servidor local"), e);
        return EstadoBdLocal::SinServidor;
    }
    try {
        const Resultado r = servidor->ejecutar(QStringLiteral("show databases like 'bd_corvalo'"));
        return r.vacio() ? EstadoBdLocal::Falta : EstadoBdLocal::Presente;
    } catch (const std::exception &e) {
        registrarFalla(lcSesion(), nullptr, kTituloPuestoSinPreparar, QStringLiteral("buscar bd_corvalo"), e);
        return EstadoBdLocal::Falta;
    }
}

QStringList faltantesPuesto(const OpcionesSesion &o, bool hayAjustesImpresion, EstadoBdLocal bd,
                            const QString &cadenaLocal) {
    QStringList puntos;
    if (o.sinAjustes) {
        const auto central = parsearCadena(o.cadenaCentral);
        puntos << QStringLiteral(
                      "No hay archivo de configuración con valores (%1). Se usa la base central "
                      "incorporada: «%2» en el servidor %3. Si la base central de la agencia es otra, "
                      "escríbala en /etc/corvalo/corvalo.conf (clave central) y abra el programa de "
                      "nuevo.")
                      .arg(o.archivosAjustes.join(QStringLiteral(" ni ")),
                           central ? central->database : QString(), lugarServidor(o.cadenaCentral));
    }
    if (!hayAjustesImpresion)
        puntos << QStringLiteral(
                      "No hay configuración de impresión (%1): no se imprimirá ningún boleto. Después "
                      "de entrar, guárdela en Configuración, Puerto de Impresión.")
                      .arg(o.rutaAjustes);
    if (bd == EstadoBdLocal::Falta)
        puntos << QStringLiteral("El servidor MariaDB de este puesto (%1) no tiene la base de los reportes "
                                 "bd_corvalo. Puede crearla ahora con la clave de acceso.")
                      .arg(lugarServidor(cadenaLocal));
    else if (bd == EstadoBdLocal::SinServidor)
        puntos << QStringLiteral(
                      "No responde el servidor MariaDB de este puesto (%1), que guarda las tablas de "
                      "los reportes: instale y arranque mariadb-server para que los supervisores "
                      "saquen reportes. Las taquillas pueden trabajar sin él.")
                      .arg(lugarServidor(cadenaLocal));
    return puntos;
}

bool avisarPuestoSinPreparar(Contexto &ctx, const OpcionesSesion &o) {
    const bool hayAjustesImpresion = QFileInfo(o.rutaAjustes).isFile();
    if (!o.sinAjustes && hayAjustesImpresion)
        return false;
    const EstadoBdLocal bd = estadoBdLocal(ctx);
    const QStringList puntos = faltantesPuesto(o, hayAjustesImpresion, bd, ctx.cadenaLocal);
    ctx.dialogos.mensaje(QStringLiteral("Este puesto todavía no está preparado:\n\n- ") +
                             puntos.join(QStringLiteral("\n\n- ")),
                         kTituloPuestoSinPreparar, Icono::Exclamacion);
    if (bd != EstadoBdLocal::Falta)
        return true;
    try {
        ofrecer_bd_local(ctx);
    } catch (const std::exception &e) {
        registrarFalla(lcSesion(), nullptr, kTituloPuestoSinPreparar, QStringLiteral("crear bd local"), e);
        ctx.dialogos.mensaje(QStringLiteral("No se pudo crear la base de los reportes: ") +
                                 sinClaves(QString::fromUtf8(e.what())),
                             kTituloPuestoSinPreparar, Icono::Error);
    }
    return true;
}

} // namespace corvalo
