#include "cobro.h"

#include "contexto.h"
#include "llaves.h"
#include "moneda.h"
#include "registro.h"
#include "texto.h"

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

QString condicionEstatus(int estatus) {
    return QStringLiteral(" and estatus=") + QString::number(estatus);
}

ConsultaCobro Cobro::consultar(const QString &codigo, RutaCobro ruta) {
    try {
        return buscar(codigo, ruta);
    } catch (const DbError &e) {
        registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                       QStringLiteral("consulta ") + codigo, e);
        estatus_consultado = 0;
        ConsultaCobro c;
        c.cuadro = kMensajeFalloConsulta;
        c.tituloCuadro = kTituloCobro;
        return c;
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

    Resultado r = consulta(tablaDe(false));
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

    if (r.vacio())
        return mensaje(tablas ? QStringLiteral("VERIFIQUE EL NUMERO DEL BOLETO")
                              : QStringLiteral("BOLETO NO GANADOR"));

    const int estatus = r.valor(0, QStringLiteral("estatus")).entero();
    fecha_boleto = fechaDeTexto(r.valor(0, QStringLiteral("fecha")).texto());
    cobrado = r.valor(0, QStringLiteral("cobrado")).numero();

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

ResultadoPago Cobro::pagar(const QString &codigo, RutaCobro ruta, int juego_actual) {
    ResultadoPago res;
    if (ruta == RutaCobro::Tablas && juego_actual != 1 && juego_actual != 2)
        return res;
    try {
        ejecutarPago(codigo, ruta, res);
    } catch (const std::exception &e) {
        // The rest of the payment is abandoned; what was sent stays done.
        registrarFalla(lcCobro(), &ctx_.sesion, QStringLiteral("COBRAR UN BOLETO"),
                       QStringLiteral("pago ") + codigo, e);
    }
    if (ruta == RutaCobro::Tablas)
        archivo = false;
    return res;
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
    const QString codigo = sqlTexto(db, tablas ? codigoTexto : codigoTexto.trimmed());
    const QDate hoy = fechaDeTexto(ctx_.configuracion(QStringLiteral("fecha")).texto());
    const QString fechaPago = sqlTexto(db, fechaSql(hoy));
    const QString fechaVenta = sqlTexto(db, fechaSql(fecha_boleto));

    QString sql = QStringLiteral("Update ") + tablaDe(archivo) + QStringLiteral(" set estatus=") +
                  QString::number(nuevo) + QStringLiteral(",fecha_cobro='") + fechaPago +
                  QStringLiteral("' Where nu_boleto = '") + codigo + QLatin1Char('\'');
    if (tablas)
        sql += condicionEstatus(estatus) + QStringLiteral("  ");
    else if (archivo)
        sql += QStringLiteral(" and fecha ='") + fechaVenta + QLatin1Char('\'') + condicionEstatus(estatus) +
               QStringLiteral(" limit 1 ");
    else
        sql += condicionEstatus(estatus) + QStringLiteral("  limit 1 ");

    estatus_consultado = 0;
    db.ejecutar(sql);
    if (db.filasAfectadas() < 1) {
        // Paid meanwhile at another workstation of the same booth.
        res.mensaje = mensajePagado(ruta);
        return;
    }
    res.hecho = true;

    if (archivo) {
        const QString monto = sqlTexto(db, textoNumero(cobrado).replace(QLatin1Char(','), QLatin1Char('.')));
        db.ejecutar(QStringLiteral("Update ventas_general set premios=premios + '") + monto +
                    QStringLiteral("',saldo=saldo - '") + monto +
                    QStringLiteral("',monto_porpagar=monto_porpagar - '") + monto +
                    QStringLiteral("' Where fecha ='") + fechaVenta + QStringLiteral("' and grupo='") +
                    sqlTexto(db, ctx_.sesion.grupo) + QStringLiteral("'limit 1 "));
    }

    if (ctx_.sesion.ticket_cobro == 1 && ctx_.sesion.impresion == 1) {
        res.recibo = Recibo{ruta, tablas ? codigoTexto : codigoTexto.trimmed(), monto_mostrado, hoy,
                            ctx_.reloj.horaTexto()};
        if (recibos)
            recibos->imprimir(*res.recibo);
    }
}

} // namespace corvalo
