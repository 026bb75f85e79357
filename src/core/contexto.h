// The program's shared state: the two connections, the shared recordsets and the session.
#pragma once

#include "db.h"
#include "pendientes.h"
#include "plataforma.h"
#include "sesion.h"

#include <memory>

namespace corvalo {

// Built-in connection strings; the deployment values come from the build configuration.
QString cadenaCentralIncorporada();
QString cadenaLocalIncorporada();
// Default server address written into conf_local.ip_secundaria.
QString servidorLocalPredeterminado();

inline const QString kMensajeConexion =
    QStringLiteral(" HA OCURRIDO UN ERROR CON LA CONEXIÓN, REVISE LA CONEXION DE INTERNET ");
inline const QString kTituloConexion = QStringLiteral("CONEXION CON EL SERVIDOR");

class Contexto {
public:
    Contexto(FabricaConexiones &fabrica, Dialogos &dialogos, Reloj &reloj, Maquina &maquina)
        : fabrica(fabrica), dialogos(dialogos), reloj(reloj), maquina(maquina) {}

    FabricaConexiones &fabrica;
    Dialogos &dialogos;
    Reloj &reloj;
    Maquina &maquina;

    Sesion sesion;
    QString cadenaLocal = cadenaLocalIncorporada();
    QString servidorLocal = servidorLocalPredeterminado(); // written into conf_local.ip_secundaria

    std::unique_ptr<BaseDatos> conexion_central;
    // Writes of this workstation whose outcome is not known yet.
    DiarioPendientes pendientes;
    std::unique_ptr<BaseDatos> conexion_local;

    Resultado rs_usuarios, rs_configuracion, rs_grupos, rs_hipodromos, rs_juegos, rs_monedas;
    // What the local open reads.
    Resultado rs_rpt_diario, rs_conf_local, rs_rpt_dividendos, rs_rpt_resultadostaqs, rs_rpt_caballos_tf;

    // Opens the central connection with the given string; a failure shows the connection
    // message and leaves the connection closed.
    void abrir_central(const QString &cadena);
    // Before a sale or a lookup: a closed or lost central connection is opened again once with
    // `cadena_central`. False when that fails too (the connection message has been shown).
    bool asegurarCentral();
    // Opens the local report connection and its shared recordsets; failures reach the caller.
    void abrir_local();
    // Before the local report connection is used: one that is not open, or that the server no
    // longer knows (restarted, killed, idled out), is opened again. Failures reach the caller.
    void prepararLocal();

    // The central connection; throws DbError when it is closed.
    BaseDatos &central();
    BaseDatos &local();

    void abrir_usuarios() { rs_usuarios = central().ejecutar(QStringLiteral("select * from usuarios")); }
    void abrir_configuracion() {
        rs_configuracion = central().ejecutar(QStringLiteral("select * from configuracion"));
    }
    void abrir_grupos() { rs_grupos = central().ejecutar(QStringLiteral("select * from grupos")); }
    void abrir_hipodromos() {
        rs_hipodromos = central().ejecutar(QStringLiteral("select * from hipodromos"));
    }
    void abrir_juegos() { rs_juegos = central().ejecutar(QStringLiteral("select * from juegos")); }
    void abrir_monedas() { rs_monedas = central().ejecutar(QStringLiteral("select * from monedas")); }

    // A setting of the current (first) row of rs_configuracion; throws DbError when missing.
    Campo configuracion(const QString &columna) const;
    Campo configuracion(QLatin1String columna) const;
};

} // namespace corvalo
