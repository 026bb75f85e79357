#include "venta.h"

#include "clientes.h"
#include "registro.h"
#include "texto.h"

#include <QJsonArray>
#include <QRandomGenerator>
#include <QThread>

#include <climits>
#include <cmath>

namespace corvalo {

namespace {

const QString kMotivoAnulada = QStringLiteral("JUGADA SIN CONFIRMAR: SE PERDIO LA RESPUESTA DEL SERVIDOR");

QString nombreJuego(int juego) {
    switch (juego) {
    case 1:
        return QStringLiteral("TABLAS DINAMICAS");
    case 2:
        return QStringLiteral("TABLA FIJA");
    case 3:
        return QStringLiteral("LOS PUESTOS");
    case 4:
        return QStringLiteral("MARCAS");
    default:
        return QString::number(juego);
    }
}

// "JUGADA: TABLAS DINAMICAS, CARRERA 3, CABALLO 1, 2 TABLAS, MONTO 60 BS"
QString descripcionJugada(const Boleto &b) {
    QString d = QStringLiteral("JUGADA: ") + nombreJuego(b.juego) + QStringLiteral(", CARRERA ") +
                QString::number(b.carrera) + QStringLiteral(", CABALLO ") + QString::number(b.caballo);
    if (b.juego == 4)
        d += QStringLiteral(" CONTRA ") + QString::number(b.caballo2);
    else if (b.juego != 3)
        d += QStringLiteral(", ") + textoNumero(b.tablas) + QStringLiteral(" TABLAS");
    d += QStringLiteral(", MONTO ") + textoNumero(b.monto);
    if (!b.nombre_moneda.isEmpty())
        d += QStringLiteral(" ") + b.nombre_moneda;
    return d;
}

QJsonObject jsonDe(const Boleto &b) {
    return {{QStringLiteral("juego"), b.juego},
            {QStringLiteral("nu_boleto"), b.nu_boleto},
            {QStringLiteral("carrera"), b.carrera},
            {QStringLiteral("caballo"), b.caballo},
            {QStringLiteral("caballo2"), b.caballo2},
            {QStringLiteral("nombre_caballo"), b.nombre_caballo},
            {QStringLiteral("nombre_caballo2"), b.nombre_caballo2},
            {QStringLiteral("hipodromo"), b.hipodromo},
            {QStringLiteral("tablas"), b.tablas},
            {QStringLiteral("codigo_puesto"), b.codigo_puesto},
            {QStringLiteral("monto"), b.monto},
            {QStringLiteral("fecha"), fechaSql(b.fecha)},
            {QStringLiteral("nombre_moneda"), b.nombre_moneda},
            {QStringLiteral("impresion_datos"), b.impresion_datos},
            {QStringLiteral("empresa"), b.empresa},
            {QStringLiteral("rif"), b.rif},
            {QStringLiteral("hora"), b.hora}};
}

Boleto boletoDe(const QJsonObject &o) {
    Boleto b;
    b.juego = o.value(QStringLiteral("juego")).toInt();
    b.nu_boleto = o.value(QStringLiteral("nu_boleto")).toString();
    b.carrera = o.value(QStringLiteral("carrera")).toInt();
    b.caballo = o.value(QStringLiteral("caballo")).toInt();
    b.caballo2 = o.value(QStringLiteral("caballo2")).toInt();
    b.nombre_caballo = o.value(QStringLiteral("nombre_caballo")).toString();
    b.nombre_caballo2 = o.value(QStringLiteral("nombre_caballo2")).toString();
    b.hipodromo = o.value(QStringLiteral("hipodromo")).toString();
    b.tablas = o.value(QStringLiteral("tablas")).toDouble();
    b.codigo_puesto = o.value(QStringLiteral("codigo_puesto")).toString();
    b.monto = o.value(QStringLiteral("monto")).toDouble();
    b.fecha = fechaDeTexto(o.value(QStringLiteral("fecha")).toString());
    b.nombre_moneda = o.value(QStringLiteral("nombre_moneda")).toString();
    b.impresion_datos = o.value(QStringLiteral("impresion_datos")).toInt();
    b.empresa = o.value(QStringLiteral("empresa")).toString();
    b.rif = o.value(QStringLiteral("rif")).toString();
    b.hora = o.value(QStringLiteral("hora")).toString();
    return b;
}

QString texto(const QJsonObject &o, const char *clave) {
    return o.value(QLatin1String(clave)).toString();
}

// Where the values of a table's INSERT stand.
struct FormaTabla {
    int usuario, grupo, hora, fecha, cantidad;
};
FormaTabla formaDe(TablaBoletos t) {
    return t == TablaBoletos::Marcas ? FormaTabla{4, 5, 6, 7, 16} : FormaTabla{5, 6, 7, 8, 19};
}
TablaBoletos tablaDe(const QJsonObject &o) {
    return o.value(QStringLiteral("tabla")).toString() == QLatin1String("ma_marcas")
               ? TablaBoletos::Marcas
               : TablaBoletos::Principal;
}

const QString kMensajeSinImprimir = QStringLiteral("QUEDO REGISTRADO PERO NO SE PUDO IMPRIMIR. ¿DESEA "
                                                   "IMPRIMIRLO DE NUEVO?");

} // namespace

EncabezadoBoleto leerEncabezado(const Contexto &ctx) {
    return {ctx.configuracion(QStringLiteral("impresion_datos")).entero(),
            ctx.configuracion(QStringLiteral("empresa")).texto(),
            ctx.configuracion(QStringLiteral("rif")).texto()};
}

void completarBoleto(Boleto &b, double monto, const QDate &fecha, const QString &nombre_moneda,
                     const EncabezadoBoleto &encabezado) {
    b.monto = monto;
    b.fecha = fecha;
    b.nombre_moneda = nombre_moneda;
    b.impresion_datos = encabezado.impresion_datos;
    b.empresa = encabezado.empresa;
    b.rif = encabezado.rif;
}

QString etiquetaMoneda(const Contexto &ctx, int moneda, const QString &mostrada) {
    const int fila = moneda == 2 ? 1 : 0;
    if (fila < ctx.rs_monedas.filas()) {
        const QString etiqueta = ctx.rs_monedas.valor(fila, QStringLiteral("moneda")).texto();
        if (!etiqueta.isEmpty())
            return etiqueta;
    }
    if (!mostrada.isEmpty())
        return mostrada;
    return moneda == 2 ? QStringLiteral("$") : QStringLiteral("BS");
}

QString nombreTabla(TablaBoletos t) {
    return t == TablaBoletos::Marcas ? QStringLiteral("ma_marcas") : QStringLiteral("ma_principal");
}

std::optional<ResultadoVenta> grupoDeVenta(Contexto &ctx, const QString &cliente) {
    const auto g = grupoDeCliente(ctx.rs_grupos, cliente);
    if (!g || g->isEmpty())
        return rechazoVenta(kSinCliente, CampoVenta::Cliente, kTituloSinCliente);
    ctx.sesion.grupo = *g;
    return std::nullopt;
}

std::optional<ResultadoVenta> rechazoPorPendientes(const Contexto &ctx) {
    if (ctx.pendientes.vacio())
        return std::nullopt;
    ResultadoVenta r;
    r.tipo = ResultadoVenta::Tipo::Pendiente;
    r.mensaje = mensajePendientes(ctx.pendientes);
    r.titulo = kTituloPendiente;
    r.icono = Icono::Exclamacion;
    return r;
}

ResultadoVenta rechazoVenta(const QString &mensaje, CampoVenta foco, const QString &titulo) {
    ResultadoVenta r;
    r.tipo = ResultadoVenta::Tipo::Rechazada;
    r.mensaje = mensaje;
    r.titulo = titulo;
    r.foco = foco;
    return r;
}

std::optional<ResultadoVenta> sinConfirmar(Contexto &ctx, const QString &texto) {
    if (ctx.dialogos.pregunta(texto, QStringLiteral("¿Los datos están Correctos?"), Icono::Pregunta))
        return std::nullopt;
    ResultadoVenta r;
    r.tipo = ResultadoVenta::Tipo::Cancelada;
    r.limpiar = true;
    r.foco = CampoVenta::Monto;
    return r;
}

RevisionCarrera revisarCarrera(Contexto &ctx, const QString &abierta, double carreraTecleada) {
    ctx.abrir_configuracion();
    RevisionCarrera r;
    const double venta = ctx.configuracion(abierta).numero();
    r.fecha = fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
    ctx.configuracion(QStringLiteral("cab_max"));
    r.carrera = ctx.configuracion(QStringLiteral("carrera")).numero();
    if (venta == 0 || r.carrera != carreraTecleada)
        r.rechazo = rechazoVenta(QStringLiteral("LA CARRERA SE ENCUENTRA CERRADA"), CampoVenta::Ninguno,
                                 QStringLiteral("VERIFIQUE LA INFORMACION"));
    return r;
}

ResultadoVenta ventaRegistrada(const Boleto &boleto, int numero, int impresion, ImpresionTickets *impresora) {
    ResultadoVenta ok;
    ok.tipo = ResultadoVenta::Tipo::Registrada;
    ok.limpiar = true;
    ok.foco = CampoVenta::Monto;
    ok.boleto = boleto;
    ok.numero = numero;
    if (impresion == 1 && impresora) {
        try {
            impresora->imprimir(boleto);
        } catch (const std::exception &e) {
            // The customer has paid for a recorded ticket: the screen offers to print it again.
            registrarFalla(lcImpresion(), nullptr, QStringLiteral("CORVALO"),
                           QStringLiteral("imprimir el boleto ") + boleto.nu_boleto, e);
            ok.sinImprimir = true;
            ok.mensaje =
                QStringLiteral("EL BOLETO ") + boleto.nu_boleto + QStringLiteral(" ") + kMensajeSinImprimir;
            ok.titulo = QStringLiteral("IMPRESION DEL BOLETO");
            ok.icono = Icono::Exclamacion;
        }
    }
    return ok;
}

ResultadoVenta conFallaVenta(Contexto &ctx, const std::function<ResultadoVenta(ResultadoVenta &)> &pasos,
                             const QString &mensaje, const QString &titulo, CampoVenta foco) {
    ResultadoVenta hecho;
    try {
        return pasos(hecho);
    } catch (const DbError &e) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("venta (fila %1)").arg(hecho.numero), e);
        hecho.conexionAntes = e.conexion() && !hecho.confirmada && !hecho.limpiar && hecho.numero == 0;
    } catch (const std::exception &e) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("venta (fila %1)").arg(hecho.numero), e);
    } catch (const FallaVenta &) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("venta (fila %1)").arg(hecho.numero),
                       QStringLiteral("falla de la venta"));
    }
    ResultadoVenta falla;
    falla.tipo = ResultadoVenta::Tipo::Fallida;
    falla.mensaje = mensaje;
    falla.titulo = titulo;
    falla.foco = foco;
    falla.limpiar = hecho.limpiar;
    falla.numero = hecho.numero;
    falla.conexionAntes = hecho.conexionAntes;
    return falla;
}

ResultadoVenta procesarVenta(Contexto &ctx, const std::function<ResultadoVenta(ResultadoVenta &)> &pasos,
                             const QString &mensaje, const QString &titulo, CampoVenta foco) {
    if (auto p = rechazoPorPendientes(ctx))
        return *p;
    ResultadoVenta sinConexion;
    sinConexion.tipo = ResultadoVenta::Tipo::Fallida; // the connection message has been shown
    if (!ctx.asegurarCentral())
        return sinConexion;
    ResultadoVenta r = conFallaVenta(ctx, pasos, mensaje, titulo, foco);
    if (r.tipo == ResultadoVenta::Tipo::Fallida && r.conexionAntes) {
        // The connection was found lost before anything was asked or written: opened again
        // once, the sale starts over.
        ctx.abrir_central(ctx.sesion.cadena_central);
        if (!ctx.conexion_central)
            return sinConexion;
        r = conFallaVenta(ctx, pasos, mensaje, titulo, foco);
    }
    return r;
}

double limiteDeTabla(BaseDatos &db, const QString &sql, CupoCaballo &cupo, double caballo) {
    const Resultado r = db.ejecutar(sql);
    if (!r.vacio())
        for (int i = 1; i <= 18; ++i)
            cupo[std::size_t(i)] = r.valor(0, QStringLiteral("cab%1").arg(i)).numero();
    const int n = int(caballo);
    if (n < 0 || n > 20 || caballo != n)
        throw FallaVenta{}; // beyond the limits kept for horses 0 to 20
    return cupo[std::size_t(n)];
}

Resultado leerCarrera(BaseDatos &db, double carrera, const QDate &fecha) {
    Armado sql(96);
    sql << QLatin1String("SELECT * FROM carreras where  carrera ='") << sqlTexto(db, carrera)
        << QLatin1String("' and fecha  = '") << sqlTexto(db, fechaSql(fecha)) << QLatin1Char('\'');
    return db.ejecutar(std::move(sql).texto());
}

QString sentenciaInsertarBoleto(const BaseDatos &db, const QStringList &valores, TablaBoletos tabla) {
    // One buffer, sized once: the row is long and built on every sale.
    qsizetype largo = 32;
    for (const QString &v : valores)
        largo += v.size() + 3;
    Armado sql(largo + largo / 8);
    sql << QLatin1String("INSERT INTO `") << nombreTabla(tabla) << QLatin1String("` VALUES (NULL,");
    for (int i = 0; i < valores.size(); ++i)
        sql << QLatin1Char('\'') << sqlTexto(db, valores[i])
            << (i + 1 < valores.size() ? QLatin1String("',") : QLatin1String("');"));
    return std::move(sql).texto();
}

QString sentenciaCodigoYLlaves(const BaseDatos &db, const QString &nu, const Llaves &k,
                               const QString &usuario, int numero) {
    Armado sql(128 + nu.size() + k.llave1.size() + k.llave2.size() + k.llave3.size() + usuario.size());
    sql << QLatin1String("update ma_principal set nu_boleto='") << sqlTexto(db, nu)
        << QLatin1String("',llave1='") << sqlTexto(db, k.llave1) << QLatin1String("',llave2='")
        << sqlTexto(db, k.llave2) << QLatin1String("',llave3='") << sqlTexto(db, k.llave3)
        << QLatin1String("' Where taquilla='") << sqlTexto(db, usuario) << QLatin1String("' and numero = '")
        << sqlTexto(db, QString::number(numero)) << QLatin1String("' limit 1   ");
    return std::move(sql).texto();
}

QString sentenciaCodigo(const BaseDatos &db, TablaBoletos tabla, const QString &nu, const QString &usuario,
                        int numero) {
    return QStringLiteral("update ") + nombreTabla(tabla) + QStringLiteral(" set nu_boleto='") +
           sqlTexto(db, nu) + QStringLiteral("' Where taquilla='") + sqlTexto(db, usuario) +
           QStringLiteral("' and numero = '") + sqlTexto(db, QString::number(numero)) +
           QStringLiteral("' limit 1   ");
}

bool cercaDelLimite(const ControlCupo &c) {
    if (c.maximoJugada <= 0)
        return true;
    return c.limite - c.vendido <= kJugadasMargen * c.maximoJugada;
}

QString sentenciaTurnoCupo(const BaseDatos &db, const ControlCupo::Bloqueo &b) {
    Armado sql(160 + b.grupo.size());
    sql << QLatin1String(
               "INSERT INTO venta_cupo_turno (ch,id_juego,id_moneda,carrera,caballo,ventas) VALUES ('")
        << sqlTexto(db, b.grupo) << QLatin1String("','") << sqlTexto(db, QString::number(b.juego))
        << QLatin1String("','") << sqlTexto(db, QString::number(b.moneda)) << QLatin1String("','")
        << sqlTexto(db, b.carrera) << QLatin1String("','") << sqlTexto(db, b.caballo)
        << QLatin1String("','1') ON DUPLICATE KEY UPDATE ventas=ventas+1");
    return std::move(sql).texto();
}

bool anularBoletoSinConfirmar(BaseDatos &db, int numero, const QString &usuario, TablaBoletos tabla) {
    const QString n = sqlTexto(db, QString::number(numero));
    db.ejecutar(QStringLiteral("START TRANSACTION"));
    try {
        const Resultado r =
            db.ejecutar(QStringLiteral("SELECT numero FROM ") + nombreTabla(tabla) +
                        QStringLiteral(" WHERE numero='") + n + QStringLiteral("' AND taquilla='") +
                        sqlTexto(db, usuario) + QStringLiteral("' AND estatus=0 FOR UPDATE"));
        if (r.vacio()) {
            db.ejecutar(QStringLiteral("ROLLBACK"));
            return false;
        }
        if (tabla == TablaBoletos::Marcas) {
            db.ejecutar(
                QStringLiteral("INSERT INTO bitacora_mk (numero,carrera,caballo,caballo2,ganadores,taquilla,"
                               "grupo,hora,fecha,estatus,nu_boleto,cobrado,motivo,usuario,tipo_motivo,monto,"
                               "tablas,id_juego,id_moneda,id_hipodromo,combinacion) SELECT numero,carrera,"
                               "caballo,caballo2,0,taquilla,grupo,hora,fecha,5,nu_boleto,cobrado,'") +
                sqlTexto(db, kMotivoAnulada) + QStringLiteral("','") + sqlTexto(db, usuario) +
                QStringLiteral("','SISTEMA',monto,0,id_juego,id_moneda,id_hipodromo,combinacion FROM "
                               "ma_marcas WHERE numero='") +
                n + QLatin1Char('\''));
            db.ejecutar(QStringLiteral("UPDATE ma_marcas SET estatus=5 WHERE numero='") + n +
                        QLatin1Char('\''));
            db.ejecutar(QStringLiteral("COMMIT"));
            return true;
        }
        db.ejecutar(
            QStringLiteral(
                "INSERT INTO bitacora (numero,carrera,caballo,ganadores,taquilla,grupo,hora,fecha,"
                "estatus,nu_boleto,cobrado,motivo,usuario,tipo_motivo,monto,tablas,puesto,id_juego,"
                "id_moneda) SELECT numero,carrera,caballo,0,taquilla,grupo,hora,fecha,5,nu_boleto,"
                "cobrado,'") +
            sqlTexto(db, kMotivoAnulada) + QStringLiteral("','") + sqlTexto(db, usuario) +
            QStringLiteral("','SISTEMA',monto,tablas,puesto,id_juego,id_moneda FROM ma_principal WHERE "
                           "numero='") +
            n + QLatin1Char('\''));
        db.ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE numero='") + n + QLatin1Char('\''));
        db.ejecutar(QStringLiteral("COMMIT"));
        return true;
    } catch (const DbError &) {
        try {
            db.ejecutar(QStringLiteral("ROLLBACK"));
        } catch (const DbError &e) {
            // The connection is gone: the server rolls the transaction back itself.
            registrarFalla(lcVentas(), nullptr, QStringLiteral("CORVALO"),
                           QStringLiteral("anular (rollback)"), e);
        }
        throw;
    }
}

void reimprimirBoleto(ImpresionTickets &impresora, Boleto boleto) {
    boleto.copia = true;
    impresora.imprimir(boleto);
}

namespace {

// Ends the open transaction; a connection gone has ended it already.
void deshacer(Contexto &ctx, BaseDatos &db) {
    try {
        db.ejecutar(QStringLiteral("ROLLBACK"));
    } catch (const DbError &e) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("rollback de la venta"), e);
    }
}

// A moment before the sale that lost a conflict is made again, longer each time and different
// from booth to booth, so that the same sales do not meet again.
void esperarConflicto(int intento) {
    QThread::msleep(1 + QRandomGenerator::global()->bounded(std::min(10u * unsigned(intento), 100u)));
}

// The central connection opened anew with the session's string; false when no server answers.
bool nuevaConexion(Contexto &ctx) {
    try {
        ctx.conexion_central = ctx.fabrica.abrir(ctx.sesion.cadena_central);
        return true;
    } catch (const DbError &e) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"), QStringLiteral("abrir de nuevo"),
                       e);
        return false;
    }
}

// One statement on its own rows, made again when it lost to another one (error 1213).
void ejecutarSinConflicto(Contexto &ctx, BaseDatos &db, const QString &sql) {
    for (int intento = 1;; ++intento) {
        try {
            db.ejecutar(sql);
            return;
        } catch (const DbError &e) {
            if (!e.conflicto() || intento >= kIntentosConflicto)
                throw;
            registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                           QStringLiteral("sentencia en conflicto, intento %1").arg(intento), e);
            esperarConflicto(intento);
        }
    }
}

// What the server did with a sale whose reply was lost, asked on a new connection once the old
// one has ended. Throws DbError while the server cannot be asked (the entry stays pending, with
// the connection whose statement is now in doubt).
ResolucionVenta resolver(Contexto &ctx, QJsonObject entrada, ImpresionTickets *impresora) {
    ResolucionVenta out;
    const QString descripcion = texto(entrada, "descripcion");
    std::unique_ptr<BaseDatos> nueva = terminarConexionPerdida(
        ctx, static_cast<unsigned long>(entrada.value(QStringLiteral("hilo")).toDouble()),
        static_cast<long long>(entrada.value(QStringLiteral("inicio")).toDouble()), 15000,
        entrada.value(QStringLiteral("nodo")).toString());
    BaseDatos &db = *nueva;
    QStringList valores;
    for (const QJsonValue &v : entrada.value(QStringLiteral("valores")).toArray())
        valores << v.toString();
    const TablaBoletos tabla = tablaDe(entrada);
    const FormaTabla forma = formaDe(tabla);
    const bool llaves = entrada.value(QStringLiteral("llaves")).toBool(true);
    if (valores.size() != forma.cantidad)
        throw DbError(QStringLiteral("entrada de venta pendiente sin sus valores"));
    const QString usuario = valores[forma.usuario];
    Boleto b = boletoDe(entrada.value(QStringLiteral("boleto")).toObject());
    int numero = entrada.value(QStringLiteral("numero")).toInt();
    auto q = [&](const QString &v) { return QStringLiteral("'") + sqlTexto(db, v) + QStringLiteral("'"); };

    auto terminar = [&](ResolucionVenta::Estado estado, const QString &mensaje, const QString &titulo,
                        Icono icono) {
        out.estado = estado;
        out.mensaje = mensaje + QStringLiteral(":\r\r") + descripcion;
        out.titulo = titulo;
        out.icono = icono;
        out.numero = numero;
        ctx.pendientes.quitar(texto(entrada, "id"));
        // The lost connection is replaced by the one that asked.
        if (!ctx.conexion_central || ctx.conexion_central->perdida())
            ctx.conexion_central = std::move(nueva);
    };

    try {
        if (numero == 0 && tabla == TablaBoletos::Marcas) {
            // The INSERT's reply was lost with its number: the row is the booth's uncoded row of
            // this very bet.
            const Resultado r = db.ejecutar(
                QStringLiteral("SELECT numero FROM ma_marcas WHERE taquilla=") + q(usuario) +
                QStringLiteral(" AND fecha=") + q(valores[7]) + QStringLiteral(" AND hora=") + q(valores[6]) +
                QStringLiteral(" AND carrera=") + q(valores[0]) + QStringLiteral(" AND caballo=") +
                q(valores[1]) + QStringLiteral(" AND caballo2=") + q(valores[2]) +
                QStringLiteral(" AND monto=") + q(valores[3]) + QStringLiteral(" AND id_moneda=") +
                q(valores[13]) + QStringLiteral(" AND id_hipodromo=") + q(valores[14]) +
                QStringLiteral(" AND nu_boleto='' ORDER BY numero DESC LIMIT 1"));
            if (!r.vacio())
                numero = r.valor(0, QStringLiteral("numero")).entero();
        } else if (numero == 0) {
            // The INSERT's reply was lost with its number: the row is the booth's uncoded row of
            // this very bet.
            const Resultado r = db.ejecutar(
                QStringLiteral("SELECT numero FROM ma_principal WHERE taquilla=") + q(usuario) +
                QStringLiteral(" AND fecha=") + q(valores[8]) + QStringLiteral(" AND hora=") + q(valores[7]) +
                QStringLiteral(" AND carrera=") + q(valores[0]) + QStringLiteral(" AND caballo=") +
                q(valores[1]) + QStringLiteral(" AND monto=") + q(valores[2]) +
                QStringLiteral(" AND tablas=") + q(valores[3]) + QStringLiteral(" AND id_juego=") +
                q(valores[13]) + QStringLiteral(" AND id_moneda=") + q(valores[14]) +
                QStringLiteral(" AND nu_boleto='' ORDER BY numero DESC LIMIT 1"));
            if (!r.vacio())
                numero = r.valor(0, QStringLiteral("numero")).entero();
        }
        Resultado fila;
        if (numero > 0)
            fila = db.ejecutar(QStringLiteral("SELECT numero,nu_boleto,estatus FROM ") + nombreTabla(tabla) +
                               QStringLiteral(" WHERE numero=") + q(QString::number(numero)) +
                               QStringLiteral(" AND taquilla=") + q(usuario));
        if (fila.vacio()) {
            terminar(ResolucionVenta::Estado::NoRegistrada,
                     QStringLiteral("LA JUGADA NO QUEDO REGISTRADA, PUEDE HACERLA DE NUEVO"),
                     QStringLiteral("JUGADA NO REGISTRADA"), Icono::Exclamacion);
            return out;
        }
        // Completed and printed while the race is still on sale (the customer is at the window,
        // or back at it once the workstation has started again), otherwise voided.
        const Resultado conf = db.ejecutar(QStringLiteral("select * from configuracion"));
        const bool completar =
            !conf.vacio() && conf.valor(0, texto(entrada, "abierta")).numero() == 1 &&
            conf.valor(0, QStringLiteral("carrera")).numero() == numeroDe(valores[0]) &&
            fechaSql(fechaDeTexto(conf.valor(0, QStringLiteral("fecha")).texto())) == valores[forma.fecha];
        if (!completar) {
            const bool anulada = anularBoletoSinConfirmar(db, numero, usuario, tabla);
            terminar(
                anulada ? ResolucionVenta::Estado::Anulada : ResolucionVenta::Estado::NoRegistrada,
                anulada ? QStringLiteral("LA JUGADA QUEDO ANULADA: NO CUENTA NI SE PUEDE COBRAR. DEVUELVA EL "
                                         "DINERO AL CLIENTE")
                        : QStringLiteral("LA JUGADA NO QUEDO REGISTRADA, PUEDE HACERLA DE NUEVO"),
                anulada ? QStringLiteral("JUGADA ANULADA") : QStringLiteral("JUGADA NO REGISTRADA"),
                Icono::Exclamacion);
            return out;
        }
        const QString nu = codigoBoleto(texto(entrada, "digito"), b.fecha, numero);
        if (fila.valor(0, QStringLiteral("nu_boleto")).texto() != nu) {
            if (llaves) {
                const Llaves k = llavesBoleto(nu, texto(entrada, "caballoTxt"), texto(entrada, "montoTxt"),
                                              texto(entrada, "carreraTxt"), valores[forma.grupo]);
                db.ejecutar(sentenciaCodigoYLlaves(db, nu, k, usuario, numero));
            } else {
                db.ejecutar(sentenciaCodigo(db, tabla, nu, usuario, numero));
            }
        }
    } catch (const DbError &e) {
        if (e.conexion()) {
            // Now this connection's statement is the one in doubt.
            entrada.insert(QStringLiteral("hilo"), double(db.idHilo()));
            entrada.insert(QStringLiteral("inicio"), double(db.inicioServidor()));
            entrada.insert(QStringLiteral("nodo"), db.nodo());
            entrada.insert(QStringLiteral("numero"), numero);
            ctx.pendientes.actualizar(entrada);
        }
        throw;
    }
    b.nu_boleto = texto(entrada, "digito").isEmpty()
                      ? b.nu_boleto
                      : codigoBoleto(texto(entrada, "digito"), b.fecha, numero);
    terminar(ResolucionVenta::Estado::Completada,
             QStringLiteral("LA JUGADA QUEDO REGISTRADA CON EL BOLETO ") + b.nu_boleto,
             QStringLiteral("JUGADA REGISTRADA"), Icono::Informacion);
    const ResultadoVenta impreso = ventaRegistrada(b, numero, ctx.sesion.impresion, impresora);
    out.boleto = b;
    out.sinImprimir = impreso.sinImprimir;
    return out;
}

// The ticket a pending sale names for the supervisor: its code and row once the row is known.
QString boletoNombrado(const QJsonObject &entrada) {
    const int numero = entrada.value(QStringLiteral("numero")).toInt();
    if (numero <= 0)
        return QStringLiteral("SIN NUMERO (FILA NO CONOCIDA)");
    const Boleto b = boletoDe(entrada.value(QStringLiteral("boleto")).toObject());
    return codigoBoleto(texto(entrada, "digito"), b.fecha, numero) + QStringLiteral(" (FILA ") +
           QString::number(numero) + QStringLiteral(" DE ") + texto(entrada, "tabla").toUpper() +
           QStringLiteral(")");
}

ResolucionVenta resolverOPendiente(Contexto &ctx, const QJsonObject &entrada, ImpresionTickets *impresora) {
    try {
        return resolver(ctx, entrada, impresora);
    } catch (const DbError &e) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("jugada pendiente: ") + texto(entrada, "descripcion"), e);
        if (e.conexion())
            return {}; // the server is silent: asked again later
        // Refused by the server: it will refuse it again. After a few attempts the sale is set
        // aside for the supervisor and the workstation sells again.
        const QString id = texto(entrada, "id");
        try {
            if (ctx.pendientes.contarIntento(id) < kIntentosPendiente)
                return {};
        } catch (const DbError &ej) {
            registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                           QStringLiteral("diario de pendientes"), ej);
        }
        const QJsonObject ultima =
            ctx.pendientes.entrada(id).isEmpty() ? entrada : ctx.pendientes.entrada(id);
        ResolucionVenta out;
        out.estado = ResolucionVenta::Estado::Apartada;
        out.numero = ultima.value(QStringLiteral("numero")).toInt();
        out.titulo = QStringLiteral("JUGADA APARTADA");
        out.icono = Icono::Exclamacion;
        out.mensaje = QStringLiteral("EL SERVIDOR NO PERMITE CONFIRMAR NI ANULAR ESTA JUGADA. QUEDA APARTADA "
                                     "Y LAS VENTAS CONTINUAN. AVISE AL SUPERVISOR QUE REVISE EL BOLETO ") +
                      boletoNombrado(ultima) + QStringLiteral(":\r\r") + texto(ultima, "descripcion");
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("jugada apartada tras %1 intentos, boleto ").arg(kIntentosPendiente) +
                           boletoNombrado(ultima) + QStringLiteral(": ") + texto(ultima, "descripcion"),
                       e);
        try {
            ctx.pendientes.quitar(id);
        } catch (const DbError &ej) {
            registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                           QStringLiteral("diario de pendientes"), ej);
        }
        return out;
    }
}

// The journal entry of a sale about to be written: what resolving it needs, whatever becomes of
// the program meanwhile.
QJsonObject entradaVenta(const JugadaPorRegistrar &j, const BaseDatos &db) {
    QJsonArray valores;
    for (const QString &v : j.valores)
        valores.append(v);
    return {{QStringLiteral("tipo"), QStringLiteral("venta")},
            {QStringLiteral("descripcion"), descripcionJugada(j.boleto)},
            {QStringLiteral("hilo"), double(db.idHilo())},
            {QStringLiteral("inicio"), double(db.inicioServidor())},
            {QStringLiteral("nodo"), db.nodo()},
            {QStringLiteral("numero"), 0},
            {QStringLiteral("valores"), valores},
            {QStringLiteral("digito"), j.digito},
            {QStringLiteral("tabla"), nombreTabla(j.tabla)},
            {QStringLiteral("llaves"), j.llaves},
            {QStringLiteral("abierta"), j.columnaAbierta},
            {QStringLiteral("caballoTxt"), j.caballoTxt},
            {QStringLiteral("montoTxt"), j.montoTxt},
            {QStringLiteral("carreraTxt"), j.carreraTxt},
            {QStringLiteral("boleto"), jsonDe(j.boleto)}};
}

// A failed write of the journal: kept in memory for this run; the technician must see it.
void fallaDiario(Contexto &ctx, const DbError &e) {
    registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"), QStringLiteral("diario de pendientes"),
                   e);
}

// Writes the sale's entry before its INSERT is sent; returns its id.
QString anotarVenta(Contexto &ctx, const JugadaPorRegistrar &j, const BaseDatos &db) {
    try {
        return ctx.pendientes.anotar(entradaVenta(j, db));
    } catch (const DbError &e) {
        fallaDiario(ctx, e);
    }
    return ctx.pendientes.entradas().back().value(QStringLiteral("id")).toString();
}

// Sets a value of the sale's entry and writes the file before the next write is sent.
void anotarEnVenta(Contexto &ctx, const QString &id, const QString &clave, const QJsonValue &valor) {
    QJsonObject e = ctx.pendientes.entrada(id);
    if (e.isEmpty())
        return;
    e.insert(clave, valor);
    try {
        ctx.pendientes.actualizar(e);
    } catch (const DbError &ej) {
        fallaDiario(ctx, ej);
    }
}

// The outcome is known: the entry leaves the journal.
void quitarVenta(Contexto &ctx, const QString &id) {
    try {
        ctx.pendientes.quitar(id);
    } catch (const DbError &e) {
        fallaDiario(ctx, e);
    }
}

// The reply of a write was lost: its entry, written before the write, names the connection whose
// statement is in doubt and the row when known, and the server is asked at once.
ResultadoVenta respuestaPerdida(Contexto &ctx, const QString &id, BaseDatos &db, int numero,
                                ImpresionTickets *impresora, ResultadoVenta &res, const DbError &e) {
    registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                   QStringLiteral("respuesta perdida (fila %1)").arg(numero), e);
    res.limpiar = true;
    QJsonObject entrada = ctx.pendientes.entrada(id);
    entrada.insert(QStringLiteral("hilo"), double(db.idHilo()));
    entrada.insert(QStringLiteral("inicio"), double(db.inicioServidor()));
    entrada.insert(QStringLiteral("nodo"), db.nodo());
    entrada.insert(QStringLiteral("numero"), numero);
    try {
        ctx.pendientes.actualizar(entrada);
    } catch (const DbError &ej) {
        fallaDiario(ctx, ej);
    }
    const ResolucionVenta rv = resolverOPendiente(ctx, entrada, impresora);
    ResultadoVenta r;
    r.limpiar = true;
    r.foco = CampoVenta::Monto;
    r.numero = rv.numero;
    switch (rv.estado) {
    case ResolucionVenta::Estado::Pendiente:
        r.tipo = ResultadoVenta::Tipo::Pendiente;
        r.mensaje = mensajePendientes(ctx.pendientes);
        r.titulo = kTituloPendiente;
        r.icono = Icono::Exclamacion;
        break;
    case ResolucionVenta::Estado::Completada:
        r.tipo = ResultadoVenta::Tipo::Registrada;
        r.boleto = rv.boleto;
        r.sinImprimir = rv.sinImprimir;
        if (rv.sinImprimir) {
            r.mensaje = QStringLiteral("EL BOLETO ") + rv.boleto->nu_boleto + QStringLiteral(" ") +
                        kMensajeSinImprimir;
            r.titulo = QStringLiteral("IMPRESION DEL BOLETO");
            r.icono = Icono::Exclamacion;
        }
        break;
    case ResolucionVenta::Estado::NoRegistrada:
    case ResolucionVenta::Estado::Anulada:
    case ResolucionVenta::Estado::Apartada:
        r.tipo = ResultadoVenta::Tipo::Fallida;
        r.mensaje = rv.mensaje;
        r.titulo = rv.titulo;
        r.icono = rv.icono;
        break;
    }
    return r;
}

} // namespace

std::vector<ResolucionVenta> resolverVentasPendientes(Contexto &ctx, ImpresionTickets *impresora) {
    std::vector<ResolucionVenta> out;
    for (const QJsonObject &e : ctx.pendientes.deTipo(QStringLiteral("venta"))) {
        ResolucionVenta r = resolverOPendiente(ctx, e, impresora);
        if (r.estado == ResolucionVenta::Estado::Pendiente)
            break; // the server still does not answer
        out.push_back(std::move(r));
    }
    return out;
}

ResultadoVenta registrarJugada(Contexto &ctx, JugadaPorRegistrar &j, ImpresionTickets *impresora,
                               ResultadoVenta &res) {
    BaseDatos *conexion = &ctx.central();
    // A text the database cannot hold would leave a row without code or keys.
    for (const QString &v : j.valores)
        if (!cabeEnCp1252(v))
            throw std::runtime_error(
                (QStringLiteral("un valor no cabe en Windows-1252: ") + v).toStdString());
    const FormaTabla forma = formaDe(j.tabla);
    const QString usuario = j.valores[forma.usuario], grupo = j.valores[forma.grupo];
    j.boleto.hora = j.valores[forma.hora];

    // The INSERT, alone far from the horse's limit; near it, in one transaction with the horse's
    // row and the check made again. A sale that lost to another one on the same rows (error
    // 1213: nothing of it was applied) is made again from the check.
    long long id = 0;
    QString diario;
    for (int intento = 1;; ++intento) {
        BaseDatos &db = *conexion;
        id = 0;
        const bool turno = j.cupo && cercaDelLimite(*j.cupo);
        bool enviado = false; // the INSERT may have reached the server
        try {
            if (turno) {
                db.ejecutar(QStringLiteral("START TRANSACTION"));
                db.ejecutar(sentenciaTurnoCupo(db, j.cupo->bloqueo));
                const Resultado v = db.ejecutar(j.cupo->sqlVendido);
                const double ya = v.vacio() ? 0.0 : v.valor(0, QStringLiteral("venta_ch")).numero();
                if (ya + j.cupo->pedido > j.cupo->limite) {
                    db.ejecutar(QStringLiteral("ROLLBACK"));
                    return rechazoVenta(j.cupo->rechazo + textoNumero(std::max(0.0, j.cupo->limite - ya)),
                                        CampoVenta::Monto);
                }
            }
            // On disk before the INSERT is sent: a power cut while its reply is awaited leaves the
            // entry that settles the row at the next start.
            diario = anotarVenta(ctx, j, db);
            enviado = true;
            db.ejecutar(sentenciaInsertarBoleto(db, j.valores, j.tabla));
            id = db.ultimoId();
            if (turno)
                db.ejecutar(QStringLiteral("COMMIT"));
            break;
        } catch (const DbError &e) {
            if (e.conexion() && enviado)
                return respuestaPerdida(ctx, diario, db, id > 0 && id <= INT_MAX ? int(id) : 0, impresora, res,
                                        e);
            if (!diario.isEmpty()) {
                quitarVenta(ctx, diario); // nothing of this try was written
                diario.clear();
            }
            if (e.conexion()) {
                // Nothing was written (the server rolls the transaction back with the connection):
                // on a new connection, on another node of a cluster, the sale goes on from the check.
                if (intento >= kIntentosConflicto || !nuevaConexion(ctx))
                    throw;
                registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                               QStringLiteral("venta sin conexion, intento %1").arg(intento), e);
                conexion = &ctx.central();
                continue;
            }
            if (turno)
                deshacer(ctx, db);
            if (!e.conflicto() || intento >= kIntentosConflicto)
                throw; // the server refused it: nothing was written
            registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                           QStringLiteral("venta en conflicto, intento %1").arg(intento), e);
            esperarConflicto(intento);
        }
    }
    BaseDatos &db = *conexion;
    res.limpiar = true;
    if (id <= 0 || id > INT_MAX) {
        // Written, but its number did not come back: found as a lost reply.
        return respuestaPerdida(ctx, diario, db, 0, impresora, res,
                                DbError(QStringLiteral("la respuesta del INSERT no trajo el número"), true));
    }
    const int numero = int(id);
    res.numero = numero;
    anotarEnVenta(ctx, diario, QStringLiteral("numero"), numero);

    const QString nu = codigoBoleto(j.digito, j.boleto.fecha, numero);
    try {
        const QString codigo =
            j.llaves ? sentenciaCodigoYLlaves(db, nu,
                                              llavesBoleto(nu, j.caballoTxt, j.montoTxt, j.carreraTxt, grupo),
                                              usuario, numero)
                     : sentenciaCodigo(db, j.tabla, nu, usuario, numero);
        ejecutarSinConflicto(ctx, db, codigo);
        if (db.filasAfectadas() != 1)
            throw DbError(QStringLiteral("la fila %1 no tomó su código").arg(numero));
    } catch (const DbError &e) {
        if (e.conexion())
            return respuestaPerdida(ctx, diario, db, numero, impresora, res, e);
        // The server refused the code: the row must not stay without it.
        try {
            anularBoletoSinConfirmar(db, numero, usuario, j.tabla);
        } catch (const DbError &ea) {
            if (ea.conexion())
                return respuestaPerdida(ctx, diario, db, numero, impresora, res, ea);
            throw; // the entry stays: the row is settled once the server lets it
        }
        quitarVenta(ctx, diario);
        throw;
    }
    j.boleto.nu_boleto = nu;
    // The entry leaves once the ticket is printed: a cut before that settles it at the next start.
    const ResultadoVenta hecho = ventaRegistrada(j.boleto, numero, ctx.sesion.impresion, impresora);
    quitarVenta(ctx, diario);
    return hecho;
}

} // namespace corvalo
