#include "login.h"

#include "bd_local.h"
#include "codificacion.h"
#include "mensajes.h"
#include "registro.h"
#include "texto.h"

#include <QStringList>

namespace corvalo {

IndicadorInternet indicadorInternet(bool redActiva) {
    if (redActiva)
        return {QStringLiteral("Online"), {0, 255, 0}, {0, 0, 255}};
    return {QStringLiteral("No hay Internet"), {255, 0, 0}, {255, 255, 255}};
}

bool esDireccion(const QString &respuesta) {
    const QStringList partes = respuesta.split(QLatin1Char('.'));
    if (partes.size() != 4)
        return false;
    for (const QString &p : partes) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

QString respuestaServicio(const QByteArray &cuerpo) {
    QByteArray sinNul = cuerpo;
    sinNul.replace('\0', QByteArray());
    // The echo services end their answer with a line break.
    return QString::fromLatin1(sinNul).trimmed();
}

QString direccionPublica(Maquina &maquina, Dialogos &dialogos, const QString &servicios) {
    const QStringList urls = servicios.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString respuesta;
    for (const QString &url : urls) {
        respuesta = respuestaServicio(maquina.httpGet(url));
        if (esDireccion(respuesta))
            break;
    }
    if (respuesta.isEmpty())
        dialogos.mensaje(kSinInternet, kTituloUps, Icono::Error);
    return respuesta;
}

QString columnaVersionMinima(const QString &nivel) {
    if (nivel == QLatin1String("Supervisor") || nivel == QLatin1String("Socio"))
        return QStringLiteral("vmg");
    if (nivel == QLatin1String("Visor"))
        return QStringLiteral("vmp");
    return QStringLiteral("vmt");
}

QString sentenciaUsuario(const BaseDatos &db, const QString &usuario) {
    return QStringLiteral("select * from usuarios where usuario='") + sqlTexto(db, usuario) +
           QStringLiteral("' ");
}

QString sentenciaGrupo(const BaseDatos &db, const QString &grupo) {
    return QStringLiteral("select * from grupos where grupo='") + sqlTexto(db, grupo) + QStringLiteral("' ");
}

QString sentenciaIngreso(const BaseDatos &db, const QString &fecha, const QString &hora, const QString &mac,
                         const QString &ip, const QString &usuario) {
    return QStringLiteral("update usuarios set fecha_ingreso='") + sqlTexto(db, fecha) +
           QStringLiteral("',hora_ingreso='") + sqlTexto(db, hora) + QStringLiteral("',mac='") +
           sqlTexto(db, mac) + QStringLiteral("',ip_pc='") + sqlTexto(db, ip) +
           QStringLiteral("',version='") + sqlTexto(db, QString::number(VERSION_PROGRAMA)) +
           QStringLiteral("' where usuario ='") + sqlTexto(db, usuario) +
           QStringLiteral("' and (mac='' or mac='") + sqlTexto(db, mac) +
           QStringLiteral("' or fecha_ingreso is null or fecha_ingreso<>'") + sqlTexto(db, fecha) +
           QStringLiteral("') limit 1 ");
}

void Login::cargar() {
    try {
        ctx_.sesion.cadena_central = opciones_.cadenaCentral;
        ctx_.abrir_central(ctx_.sesion.cadena_central);
        ctx_.abrir_usuarios();
        ctx_.abrir_configuracion();
        ctx_.abrir_grupos();
    } catch (const std::exception &e) {
        // The window shows anyway.
        registrarFalla(lcSesion(), nullptr, QStringLiteral("Acceso"), QStringLiteral("carga"), e);
    }
}

ResultadoLogin Login::cmdOK(const QString &usuario, const QString &clave) {
    try {
        return pasos(usuario, clave);
    } catch (const std::exception &e) {
        registrarFalla(lcSesion(), &ctx_.sesion, QStringLiteral("Acceso"), QStringLiteral("ingreso"), e);
        // What failed is said; the user may try again.
        ctx_.dialogos.mensaje(kIngresoFallido + sinClaves(QString::fromUtf8(e.what())), kTituloInicio,
                              Icono::Error);
    }
    return {ResultadoLogin::Fallo, {}, {}, {}};
}

ResultadoLogin Login::pasos(const QString &usuario, const QString &clave) {
    // The working date.
    ctx_.abrir_configuracion();
    const QDate fecha = fechaDeTexto(ctx_.configuracion(QStringLiteral("fecha")).texto());
    const QString fechaTexto = fechaSql(fecha);
    // This machine's address.
    const QString mac = ctx_.maquina.direccionMac();
    // The settings the checks use.
    const QString mcobro = ctx_.configuracion(QStringLiteral("mcobro")).texto();
    const int vmt = ctx_.configuracion(QStringLiteral("vmt")).entero();
    const int vmp = ctx_.configuracion(QStringLiteral("vmp")).entero();
    const int vmg = ctx_.configuracion(QStringLiteral("vmg")).entero();
    // 4-5. The user's row.
    BaseDatos &db = ctx_.central();
    ctx_.rs_usuarios = db.ejecutar(sentenciaUsuario(db, usuario));
    if (ctx_.rs_usuarios.vacio())
        return {ResultadoLogin::Rechazo, kUsuarioNoValido, kTituloInicio, QStringLiteral("txtPassword")};
    // Into the session, before the password is compared.
    const Resultado &u = ctx_.rs_usuarios;
    Sesion &s = ctx_.sesion;
    s.grupo = u.valor(0, QStringLiteral("grupo")).texto();
    s.usuario = u.valor(0, QStringLiteral("usuario")).texto();
    s.nivel = u.valor(0, QStringLiteral("nivel")).texto();
    s.nombre = u.valor(0, QStringLiteral("nombre")).texto();
    const QString guardada = u.valor(0, QStringLiteral("clave")).texto();
    const QString estatus = u.valor(0, QStringLiteral("estatus")).texto();
    const QString macUsuario = u.valor(0, QStringLiteral("mac")).texto();
    const QDate ultimoIngreso = fechaDeTexto(u.valor(0, QStringLiteral("fecha_ingreso")).texto());
    // 7-8. Credentials, compared exactly.
    const QString plana = decodificar(guardada, kClaveUsuarios);
    if (usuario != s.usuario || plana != clave)
        return {ResultadoLogin::Rechazo, kClaveNoValida, kTituloInicio, QStringLiteral("txtPassword")};
    // One PC per user and working day.
    if (!macUsuario.isEmpty() && macUsuario != mac && ultimoIngreso.isValid() && ultimoIngreso == fecha)
        return {ResultadoLogin::Terminar, kSesionEnOtroEquipo, kTituloInicio, {}};
    // Account status.
    if (estatus == QLatin1String("Baja"))
        return {ResultadoLogin::Terminar, mcobro, kTituloCobranza, {}};
    // Minimum version of the level.
    const QString columna = columnaVersionMinima(s.nivel);
    const int minima = columna == QLatin1String("vmg") ? vmg : columna == QLatin1String("vmp") ? vmp : vmt;
    if (minima > VERSION_PROGRAMA)
        return {ResultadoLogin::Terminar, kVersionVieja, kTituloActualizar, {}};
    // The centre's name.
    const Resultado g = db.ejecutar(sentenciaGrupo(db, s.grupo));
    s.ch = g.valor(0, QStringLiteral("ch")).texto(); // a missing row throws
    // Supervisors use the local report database. One that cannot be opened keeps nobody out:
    // a missing database is offered for creation, any other failure is said, and the reports
    // say they need it until it opens.
    if (s.nivel == QLatin1String("Supervisor")) {
        try {
            ctx_.abrir_local();
        } catch (const DbError &e) {
            ctx_.conexion_local.reset();
            registrarFalla(lcSesion(), &ctx_.sesion, QStringLiteral("Acceso"),
                           QStringLiteral("abrir bd local"), e);
            if (e.baseDesconocida())
                ofrecer_bd_local(ctx_);
            else
                ctx_.dialogos.mensaje(kReportesSinBaseLocal + sinClaves(QString::fromUtf8(e.what())),
                                      kTituloBaseLocal, Icono::Error);
        }
    }
    // Public address.
    const QString ip = direccionPublica(ctx_.maquina, ctx_.dialogos, opciones_.servicios);
    // The login record, which holds the one-PC lock: no row changed means another machine
    // took it meanwhile, unless this machine already holds it (the same values written again).
    db.ejecutar(sentenciaIngreso(db, fechaTexto, ctx_.reloj.horaTexto(), mac, ip, s.usuario));
    if (db.filasAfectadas() < 1) {
        const Resultado ahora = db.ejecutar(sentenciaUsuario(db, s.usuario));
        const bool nuestra = !ahora.vacio() && ahora.valor(0, QStringLiteral("mac")).texto() == mac &&
                             fechaDeTexto(ahora.valor(0, QStringLiteral("fecha_ingreso")).texto()) == fecha;
        if (!nuestra)
            return {ResultadoLogin::Terminar, kSesionEnOtroEquipo, kTituloInicio, {}};
    }
    return {ResultadoLogin::Ingreso, {}, {}, {}};
}

} // namespace corvalo
