#include "cobro.h"

#include "contexto.h"
#include "llaves.h"
#include "moneda.h"
#include "registro.h"
#include "texto.h"

#include <QJsonObject>

namespace corvalo {

namespace {

QString tablaDe(bool archivo) {
    return archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal");
}

ConsultaCobro mensaje(const QString &texto) {
    ConsultaCobro c;
    c.cambiaPanel = true;
    c.mensaje = texto;
    return c;
}

QString mensajePagado(RutaCobro ruta) {
    return ruta == RutaCobro::Tablas ? QStringLiteral("BOLETO YA PAGADO")
                                     : QStringLiteral("BOLETO YA COBRADO");
}

} // namespace

RutaCobro rutaDelCodigo(const QString &codigo) {
    // Leading blanks of a scan do not hide the digit: the Puestos path trims them.
    return codigo.trimmed().startsWith(QLatin1Char('3')) ? RutaCobro::Puestos : RutaCobro::Tablas;
}

QString condicionFila(int numero, int estatus) {
    return QStringLiteral(" and numero='") + QString::number(numero) + QStringLiteral("' and estatus=") +
           QString::number(estatus);
}

ConsultaCobro Cobro::consultar(const QString &codigo, RutaCobro ruta) {
    estatus_consultado = 0;
    if (!ctx_.pendientes.vacio()) {
        ConsultaCobro c;
        c.cuadro = mensajePendientes(ctx_.pendientes);
        c.tituloCuadro = kTituloPendiente;
        c.icono = Icono::Exclamacion;
        return c;
    }
    // An empty code is never looked up: it would find the rows left without a code.
    if ((ruta == RutaCobro::Tablas ? codigo : codigo.trimmed()).isEmpty())
        return mensaje(QStringLiteral("VERIFIQUE EL NUMERO DEL BOLETO"));
    ConsultaCobro sinConexion; // the connection message has been shown
    if (!ctx_.asegurarCentral())
        return sinConexion;
    for (int intento = 0;; ++intento) {
        try {
            // On a cluster the lookup sees what every node committed (a prize just set, a ticket
            // just paid at another workstation).
            BaseDatos &db = ctx_.central();
            lecturaCausal(db);
            ConsultaCobro c = buscar(codigo, ruta);
            lecturaCausal(db, false);
            return c;
        } catch (const DbError &e) {
            registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                           QStringLiteral("consulta ") + codigo, e);
            estatus_consultado = 0;
            if (e.conexion() && intento == 0) {
                // The connection was found lost: opened again once, the lookup goes on.
                ctx_.abrir_central(ctx_.sesion.cadena_central);
                if (!ctx_.conexion_central)
                    return sinConexion;
                continue;
            }
            ConsultaCobro c;
            c.cuadro = kMensajeFalloConsulta;
            c.tituloCuadro = kTituloCobro;
            return c;
        }
    }
}

ConsultaCobro Cobro::buscar(const QString &codigoTexto, RutaCobro ruta) {
    const bool tablas = ruta == RutaCobro::Tablas;
    estatus_consultado = 0;
    archivo = false;
    ctx_.abrir_configuracion();
    const int cobroespecial = ctx_.configuracion(QStringLiteral("cobroespecial")).entero();
    const QString codigo = tablas ? codigoTexto : codigoTexto.trimmed();
    const QDate hoy = fechaDeTexto(ctx_.configuracion(QStringLiteral("fecha")).texto());
    const double dias = ctx_.configuracion(QStringLiteral("dias")).numero();
    BaseDatos &db = ctx_.central();

    // The server compares text ignoring trailing blanks (and letter case): only a row whose code
    // is the typed code exactly is the ticket, so "4032512 " is not found on the Tablas path.
    auto consulta = [&](const QString &tabla) {
        const Resultado r =
            db.ejecutar(QStringLiteral("SELECT * FROM ") + tabla + QStringLiteral(" Where nu_boleto = '") +
                        sqlTexto(db, codigo) + QLatin1Char('\''));
        std::vector<std::vector<Campo>> iguales;
        for (int i = 0; i < r.filas(); ++i)
            if (r.valor(i, QStringLiteral("nu_boleto")).texto() == codigo)
                iguales.push_back(r.fila(i));
        return Resultado(r.columnas(), std::move(iguales));
    };
    // A code that names more than one row is never paid.
    auto duplicado = [](const Resultado &r) { return r.filas() > 1; };

    Resultado r = consulta(tablaDe(false));
    if (duplicado(r))
        return mensaje(kCodigoDuplicado);
    if (r.vacio()) {
        archivo = true;
        r = consulta(tablaDe(true));
    } else {
        if (cobroespecial == 1) {
            const QString nu = r.valor(0, QStringLiteral("nu_boleto")).texto();
            const QString monto = textoNumero(r.valor(0, QStringLiteral("monto")).numero())
                                      .replace(QLatin1Char(','), QLatin1Char('.'));
            const Llaves esperadas =
                llavesBoleto(nu, textoNumero(r.valor(0, QStringLiteral("caballo")).numero()), monto,
                             textoNumero(r.valor(0, QStringLiteral("carrera")).numero()), ctx_.sesion.grupo);
            const std::pair<QString, QString> pruebas[] = {{esperadas.llave1, QStringLiteral("llave1")},
                                                           {esperadas.llave2, QStringLiteral("llave2")},
                                                           {esperadas.llave3, QStringLiteral("llave3")}};
            const QString textos[] = {
                QStringLiteral("Este boleto presenta una alteración, verificar bien los datos del boleto"),
                QStringLiteral("Este boleto presenta una alteración en el monto de carrera, verificar bien "
                               "los datos del boleto"),
                QStringLiteral("Este boleto presenta una alteración en el numero de carrera, verificar bien "
                               "los datos del boleto")};
            for (int i = 0; i < 3; ++i) {
                if (r.valor(0, pruebas[i].second).texto() != pruebas[i].first) {
                    ConsultaCobro c;
                    c.cuadro = textos[i];
                    c.tituloCuadro = kTituloSeguridad;
                    return c;
                }
            }
        }
        const bool esBoleto = tablas ? r.valor(0, QStringLiteral("tablas")).numero() > 0
                                     : r.valor(0, QStringLiteral("monto")).numero() > 0;
        if (!esBoleto) {
            archivo = true;
            r = consulta(tablaDe(true));
        }
    }
    if (duplicado(r))
        return mensaje(kCodigoDuplicado);

    if (r.vacio())
        return mensaje(tablas ? QStringLiteral("VERIFIQUE EL NUMERO DEL BOLETO")
                              : QStringLiteral("BOLETO NO GANADOR"));

    const int estatus = r.valor(0, QStringLiteral("estatus")).entero();
    numero = r.valor(0, QStringLiteral("numero")).entero();
    fecha_boleto = fechaDeTexto(r.valor(0, QStringLiteral("fecha")).texto());
    cobrado = r.valor(0, QStringLiteral("cobrado")).numero();
    // An archived prize moves in the day's totals row of the ticket's game and currency.
    juego_boleto = archivo ? r.valor(0, QStringLiteral("id_juego")).entero() : 0;
    moneda_boleto = archivo ? r.valor(0, QStringLiteral("id_moneda")).entero() : 0;

    if (r.valor(0, QStringLiteral("taquilla")).texto() != ctx_.sesion.usuario)
        return mensaje(tablas ? QStringLiteral("EL BOLETO NO PERTENECE A ESTA TAQUILLA")
                              : QStringLiteral("El BOLETO ES DE OTRA TAQUILLA"));

    auto pagable = [&](const QString &texto, bool conEdad) {
        if (conEdad && fecha_boleto.daysTo(hoy) > dias)
            return mensaje(QStringLiteral("BOLETO CADUCADO"));
        ConsultaCobro c = mensaje(texto);
        c.pagable = true;
        c.monto = formatoMoneda(cobrado);
        monto_mostrado = c.monto;
        estatus_consultado = estatus;
        return c;
    };

    switch (estatus) {
    case 0:
        return mensaje(QStringLiteral("BOLETO NO GANADOR"));
    case 1:
        return pagable(tablas ? QStringLiteral("CABALLO GANADOR") : QStringLiteral("BOLETO GANADOR"), true);
    case 2:
    case 3:
        return mensaje(mensajePagado(ruta));
    case 4:
        return pagable(QStringLiteral("CABALLO RETIRADO"), tablas);
    case 5:
        if (!tablas)
            return pagable(QStringLiteral("BOLETO EMPATE"), true);
        break;
    default:
        break;
    }
    return {};
}

ResultadoPago Cobro::pagar(const QString &codigo, RutaCobro ruta) {
    ResultadoPago res;
    try {
        ejecutarPago(codigo, ruta, res);
    } catch (const std::exception &e) {
        // The rest of the payment is abandoned; what the server did is told by the row.
        registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                       QStringLiteral("pago ") + codigo, e);
    }
    if (ruta == RutaCobro::Tablas)
        archivo = false;
    return res;
}

namespace {

QJsonObject jsonDe(const Recibo &r) {
    return {{QStringLiteral("ruta"), r.ruta == RutaCobro::Tablas ? 1 : 2},
            {QStringLiteral("codigo"), r.codigo},
            {QStringLiteral("monto"), r.monto},
            {QStringLiteral("fecha"), fechaSql(r.fecha)},
            {QStringLiteral("hora"), r.hora}};
}

Recibo reciboDe(const QJsonObject &o) {
    Recibo r;
    r.ruta = o.value(QStringLiteral("ruta")).toInt() == 2 ? RutaCobro::Puestos : RutaCobro::Tablas;
    r.codigo = o.value(QStringLiteral("codigo")).toString();
    r.monto = o.value(QStringLiteral("monto")).toString();
    r.fecha = fechaDeTexto(o.value(QStringLiteral("fecha")).toString());
    r.hora = o.value(QStringLiteral("hora")).toString();
    return r;
}

// Prints a receipt; false when the printer or port failed.
bool imprimirRecibo(Contexto &ctx, ImpresionRecibos *recibos, const Recibo &r) {
    if (!recibos)
        return true;
    try {
        recibos->imprimir(r);
        return true;
    } catch (const std::exception &e) {
        registrarFalla(lcImpresion(), &ctx.sesion, QStringLiteral("COBRAR UN BOLETO"),
                       QStringLiteral("imprimir el recibo ") + r.codigo, e);
        return false;
    }
}

// What the server did with a payment whose reply was lost, asked on a new connection once the
// old one has ended. Throws DbError while it cannot be asked.
ResolucionPago resolver(Contexto &ctx, QJsonObject entrada, ImpresionRecibos *recibos) {
    std::unique_ptr<BaseDatos> nueva = terminarConexionPerdida(
        ctx, static_cast<unsigned long>(entrada.value(QStringLiteral("hilo")).toDouble()),
        static_cast<long long>(entrada.value(QStringLiteral("inicio")).toDouble()), 15000,
        entrada.value(QStringLiteral("nodo")).toString());
    BaseDatos &db = *nueva;
    const QString tabla = entrada.value(QStringLiteral("tabla")).toString() == QLatin1String("ventas")
                              ? QStringLiteral("ventas")
                              : QStringLiteral("ma_principal");
    const int numero = entrada.value(QStringLiteral("numero")).toInt();
    const int nuevo = entrada.value(QStringLiteral("nuevo")).toInt();
    const int previo = entrada.value(QStringLiteral("previo")).toInt();
    const Resultado r =
        db.ejecutar(QStringLiteral("SELECT estatus FROM ") + tabla + QStringLiteral(" WHERE numero='") +
                    sqlTexto(db, QString::number(numero)) + QLatin1Char('\''));
    const int estatus = r.vacio() ? -1 : r.valor(0, QStringLiteral("estatus")).entero();
    ResolucionPago out;
    out.resuelto = true;
    const Recibo recibo = reciboDe(entrada.value(QStringLiteral("recibo")).toObject());
    const QString cual =
        QStringLiteral("BOLETO ") + recibo.codigo + QStringLiteral(", MONTO ") + recibo.monto;
    if (estatus == nuevo) {
        out.hecho = true;
        out.mensaje =
            QStringLiteral("EL COBRO SE REALIZO. ENTREGUE EL MONTO Y EL RECIBO AL CLIENTE:\r\r") + cual;
        out.titulo = QStringLiteral("COBRO REALIZADO");
    } else if (estatus == previo) {
        out.mensaje = QStringLiteral("EL COBRO NO SE REALIZO, PUEDE COBRAR EL BOLETO DE NUEVO:\r\r") + cual;
        out.titulo = QStringLiteral("COBRO NO REALIZADO");
    } else {
        out.mensaje = QStringLiteral("EL COBRO NO SE REALIZO: EL BOLETO YA NO ESTA POR COBRAR:\r\r") + cual;
        out.titulo = QStringLiteral("COBRO NO REALIZADO");
    }
    ctx.pendientes.quitar(entrada.value(QStringLiteral("id")).toString());
    if (!ctx.conexion_central || ctx.conexion_central->perdida())
        ctx.conexion_central = std::move(nueva);
    if (out.hecho && entrada.value(QStringLiteral("imprimir")).toBool()) {
        out.recibo = recibo;
        if (ctx.pendientes.deEstaCorrida(entrada)) {
            out.sinImprimir = !imprimirRecibo(ctx, recibos, recibo);
        } else {
            // Left by an earlier run (closed or cut off while the reply was awaited): whether its
            // receipt came out is not known, so it is offered as a copy.
            out.recibo->copia = true;
            out.ofrecerCopia = true;
        }
    }
    return out;
}

// A failed write of the journal: kept in memory for this run; the technician must see it.
void fallaDiario(Contexto &ctx, const DbError &e) {
    registrarFalla(lcCobro(), &ctx.sesion, QStringLiteral("COBRAR UN BOLETO"),
                   QStringLiteral("diario de pendientes"), e);
}

ResolucionPago resolverOPendiente(Contexto &ctx, const QJsonObject &entrada, ImpresionRecibos *recibos) {
    const QString descripcion = entrada.value(QStringLiteral("descripcion")).toString();
    try {
        return resolver(ctx, entrada, recibos);
    } catch (const DbError &e) {
        registrarFalla(lcCobro(), &ctx.sesion, QStringLiteral("COBRAR UN BOLETO"),
                       QStringLiteral("cobro pendiente: ") + descripcion, e);
        if (e.conexion())
            return {}; // the server is silent: asked again later
        // Refused by the server: it will refuse it again. After a few attempts the payment is set
        // aside for the supervisor and the booth pays and sells again.
        const QString id = entrada.value(QStringLiteral("id")).toString();
        try {
            if (ctx.pendientes.contarIntento(id) < kIntentosPendiente)
                return {};
        } catch (const DbError &ej) {
            fallaDiario(ctx, ej);
        }
        const QString codigo =
            entrada.value(QStringLiteral("recibo")).toObject().value(QStringLiteral("codigo")).toString();
        registrarFalla(lcCobro(), &ctx.sesion, QStringLiteral("COBRAR UN BOLETO"),
                       QStringLiteral("cobro apartado tras %1 intentos, boleto ").arg(kIntentosPendiente) +
                           codigo + QStringLiteral(": ") + descripcion,
                       e);
        try {
            ctx.pendientes.quitar(id);
        } catch (const DbError &ej) {
            fallaDiario(ctx, ej);
        }
        ResolucionPago out;
        out.resuelto = true;
        out.titulo = QStringLiteral("COBRO APARTADO");
        out.mensaje =
            QStringLiteral("EL SERVIDOR NO PERMITE CONFIRMAR ESTE COBRO. QUEDA APARTADO Y LAS VENTAS "
                           "CONTINUAN. NO ENTREGUE EL MONTO: AVISE AL SUPERVISOR QUE REVISE EL BOLETO ") +
            codigo + QStringLiteral(":\r\r") + descripcion;
        return out;
    }
}

} // namespace

std::vector<ResolucionPago> resolverPagosPendientes(Contexto &ctx, ImpresionRecibos *recibos) {
    std::vector<ResolucionPago> out;
    for (const QJsonObject &e : ctx.pendientes.deTipo(QStringLiteral("pago"))) {
        ResolucionPago r = resolverOPendiente(ctx, e, recibos);
        if (!r.resuelto)
            break;
        out.push_back(std::move(r));
    }
    return out;
}

void reimprimirRecibo(ImpresionRecibos &recibos, Recibo recibo) {
    recibo.copia = true;
    recibos.imprimir(recibo);
}

QString Cobro::anotarPago(BaseDatos &db, const QString &tabla, int nuevo, int previo, const Recibo &recibo) {
    const QJsonObject entrada{
        {QStringLiteral("tipo"), QStringLiteral("pago")},
        {QStringLiteral("descripcion"),
         QStringLiteral("COBRO: BOLETO ") + recibo.codigo + QStringLiteral(", MONTO ") + recibo.monto},
        {QStringLiteral("hilo"), double(db.idHilo())},
        {QStringLiteral("inicio"), double(db.inicioServidor())},
        {QStringLiteral("nodo"), db.nodo()},
        {QStringLiteral("tabla"), tabla},
        {QStringLiteral("numero"), numero},
        {QStringLiteral("nuevo"), nuevo},
        {QStringLiteral("previo"), previo},
        {QStringLiteral("imprimir"), ctx_.sesion.ticket_cobro == 1 && ctx_.sesion.impresion == 1},
        {QStringLiteral("recibo"), jsonDe(recibo)}};
    try {
        return ctx_.pendientes.anotar(entrada);
    } catch (const DbError &e) {
        fallaDiario(ctx_, e);
    }
    return ctx_.pendientes.entradas().back().value(QStringLiteral("id")).toString();
}

void Cobro::quitarPago(const QString &id) {
    try {
        ctx_.pendientes.quitar(id);
    } catch (const DbError &e) {
        fallaDiario(ctx_, e);
    }
}

void Cobro::respuestaPerdida(const QString &id, const Recibo &recibo, ResultadoPago &res, const DbError &e) {
    registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                   QStringLiteral("respuesta perdida del pago ") + recibo.codigo, e);
    const ResolucionPago r = resolverOPendiente(ctx_, ctx_.pendientes.entrada(id), recibos);
    if (!r.resuelto) {
        res.cuadro = mensajePendientes(ctx_.pendientes);
        res.tituloCuadro = kTituloPendiente;
        res.icono = Icono::Exclamacion;
        return;
    }
    res.hecho = r.hecho;
    res.recibo = r.recibo;
    res.sinImprimir = r.sinImprimir;
    if (r.recibo)
        ultimo_recibo = r.recibo;
    if (!r.hecho || r.sinImprimir) {
        res.cuadro = r.mensaje;
        res.tituloCuadro = r.titulo;
        res.icono = r.hecho ? Icono::Informacion : Icono::Exclamacion;
    }
}

void Cobro::pagarFila(BaseDatos &db, const QString &sql, const QString &fechaVenta, RutaCobro ruta,
                      ResultadoPago &res) {
    // An archived ticket's status and its day's totals change together or not at all.
    if (archivo)
        db.ejecutar(QStringLiteral("START TRANSACTION"));
    db.ejecutar(sql);
    if (db.filasAfectadas() < 1) {
        if (archivo)
            db.ejecutar(QStringLiteral("ROLLBACK"));
        // Paid meanwhile at another workstation of the same booth.
        res.mensaje = mensajePagado(ruta);
        return;
    }
    if (archivo) {
        const QString monto = sqlTexto(db, textoNumero(cobrado).replace(QLatin1Char(','), QLatin1Char('.')));
        db.ejecutar(QStringLiteral("Update ventas_general set premios=premios + '") + monto +
                    QStringLiteral("',saldo=saldo - '") + monto +
                    QStringLiteral("',monto_porpagar=monto_porpagar - '") + monto +
                    QStringLiteral("' Where fecha ='") + fechaVenta + QStringLiteral("' and grupo='") +
                    sqlTexto(db, ctx_.sesion.grupo) + QStringLiteral("' and id_juego='") +
                    sqlTexto(db, QString::number(juego_boleto)) + QStringLiteral("' and id_moneda='") +
                    sqlTexto(db, QString::number(moneda_boleto)) + QStringLiteral("'limit 1 "));
        db.ejecutar(QStringLiteral("COMMIT"));
    }
}

void Cobro::ejecutarPago(const QString &codigoTexto, RutaCobro ruta, ResultadoPago &res) {
    const bool tablas = ruta == RutaCobro::Tablas;
    const int estatus = estatus_consultado;
    int nuevo = 0;
    if (estatus == 1 || (!tablas && estatus == 5))
        nuevo = 2;
    else if (estatus == 4)
        nuevo = 3;
    if (nuevo == 0)
        return;

    BaseDatos &db = ctx_.central();
    const QString codigoUsado = tablas ? codigoTexto : codigoTexto.trimmed();
    const QString codigo = sqlTexto(db, codigoUsado);
    const QDate hoy = fechaDeTexto(ctx_.configuracion(QStringLiteral("fecha")).texto());
    const QString fechaPago = sqlTexto(db, fechaSql(hoy));
    const QString fechaVenta = sqlTexto(db, fechaSql(fecha_boleto));
    const QString tabla = tablaDe(archivo);
    const Recibo recibo{ruta, codigoUsado, monto_mostrado, hoy, ctx_.reloj.horaTexto()};

    QString sql = QStringLiteral("Update ") + tabla + QStringLiteral(" set estatus=") +
                  QString::number(nuevo) + QStringLiteral(",fecha_cobro='") + fechaPago +
                  QStringLiteral("' Where nu_boleto = '") + codigo + QLatin1Char('\'');
    if (tablas)
        sql += condicionFila(numero, estatus) + QStringLiteral("  ");
    else if (archivo)
        sql += QStringLiteral(" and fecha ='") + fechaVenta + QLatin1Char('\'') +
               condicionFila(numero, estatus) + QStringLiteral(" limit 1 ");
    else
        sql += condicionFila(numero, estatus) + QStringLiteral("  limit 1 ");

    estatus_consultado = 0;
    // On disk before the update is sent: a power cut while its reply is awaited leaves the entry
    // that settles the payment at the next start.
    const QString diario = anotarPago(db, tabla, nuevo, estatus, recibo);
    for (int intento = 1;; ++intento) {
        try {
            pagarFila(db, sql, fechaVenta, ruta, res);
            break;
        } catch (const DbError &e) {
            if (e.conexion()) {
                respuestaPerdida(diario, recibo, res, e);
                return;
            }
            if (archivo) {
                try {
                    db.ejecutar(QStringLiteral("ROLLBACK"));
                } catch (const DbError &er) {
                    registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                                   QStringLiteral("rollback del pago"), er);
                }
            }
            if (!e.conflicto()) {
                quitarPago(diario); // refused: nothing changed
                throw;
            }
            // Another workstation changed the row at the same moment (on a cluster, another node
            // committed first): nothing of this payment was applied. The row says what happened.
            registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                           QStringLiteral("pago en conflicto ") + codigoUsado, e);
            lecturaCausal(db);
            const Resultado r = db.ejecutar(QStringLiteral("SELECT estatus FROM ") + tabla +
                                            QStringLiteral(" WHERE numero='") +
                                            sqlTexto(db, QString::number(numero)) + QLatin1Char('\''));
            lecturaCausal(db, false);
            if (r.vacio() || r.valor(0, QStringLiteral("estatus")).entero() != estatus) {
                quitarPago(diario);
                res.mensaje = mensajePagado(ruta);
                return;
            }
            if (intento >= 8) {
                quitarPago(diario);
                throw;
            }
        }
    }
    if (!res.mensaje.isEmpty()) {
        quitarPago(diario);
        return; // paid meanwhile
    }
    res.hecho = true;

    if (ctx_.sesion.ticket_cobro == 1 && ctx_.sesion.impresion == 1) {
        res.recibo = recibo;
        ultimo_recibo = recibo;
        res.sinImprimir = !imprimirRecibo(ctx_, recibos, recibo);
    }
    // The entry leaves once the receipt is out: a cut before that offers it at the next start.
    quitarPago(diario);
}

} // namespace corvalo
