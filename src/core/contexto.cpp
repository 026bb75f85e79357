#include "contexto.h"

#include "build_config.h"
#include "registro.h"

namespace corvalo {

QString cadenaCentralIncorporada() {
    return QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=") + QStringLiteral(CORVALO_CENTRAL_HOST) +
           QStringLiteral(";port=3306 ;uid=") + QStringLiteral(CORVALO_CENTRAL_USER) +
           QStringLiteral(";pwd=") + QStringLiteral(CORVALO_CENTRAL_PASSWORD) + QStringLiteral(";database=") +
           QStringLiteral(CORVALO_CENTRAL_DATABASE) + QStringLiteral(";");
}

QString cadenaLocalIncorporada() {
    return QStringLiteral(
        "driver={MySQL ODBC 3.51 "
        "Driver};server=localhost;port=3306;uid=root;pwd=qwe456;database=bd_corvalo;connection=");
}

QString servidorLocalPredeterminado() {
    return QStringLiteral(CORVALO_LOCAL_DEFAULT_SERVER);
}

void Contexto::abrir_central(const QString &cadena) {
    conexion_central.reset();
    try {
        conexion_central = fabrica.abrir(cadena);
    } catch (const DbError &e) {
        registrarFalla(lcBaseDatos(), &sesion, QStringLiteral("CONEXION CON EL SERVIDOR"),
                       QStringLiteral("abrir la base central"), e);
        dialogos.mensaje(kMensajeConexion, kTituloConexion, Icono::Ninguno, Botones::OkCancel);
    }
}

bool Contexto::asegurarCentral() {
    if (conexion_central && !conexion_central->perdida())
        return true;
    abrir_central(sesion.cadena_central);
    return conexion_central != nullptr;
}

void Contexto::abrir_local() {
    conexion_local.reset();
    conexion_local = fabrica.abrir(cadenaLocal);
    BaseDatos &db = *conexion_local;
    rs_rpt_diario = db.ejecutar(QStringLiteral("select * from rpt_diario"));
    rs_conf_local = db.ejecutar(QStringLiteral("select * from conf_local"));
    rs_rpt_dividendos = db.ejecutar(QStringLiteral("select * from rpt_dividendos"));
    rs_rpt_resultadostaqs = db.ejecutar(QStringLiteral("select * from rpt_resultadostaqs"));
    rs_rpt_caballos_tf = db.ejecutar(QStringLiteral("select * from rpt_caballos_tf"));
}

void Contexto::prepararLocal() {
    if (conexion_local && conexion_local->comprobar())
        return;
    abrir_local();
}

BaseDatos &Contexto::central() {
    if (!conexion_central)
        throw DbError(QStringLiteral("la conexión central no está abierta"));
    return *conexion_central;
}

BaseDatos &Contexto::local() {
    if (!conexion_local)
        throw DbError(QStringLiteral("la conexión local no está abierta"));
    return *conexion_local;
}

Campo Contexto::configuracion(const QString &columna) const {
    return rs_configuracion.valor(0, columna);
}

Campo Contexto::configuracion(QLatin1String columna) const {
    return rs_configuracion.valor(0, columna);
}

} // namespace corvalo
