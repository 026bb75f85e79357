#include "boletos.h"

#include "moneda.h"
#include "registro.h"
#include "texto.h"

#include <cmath>
#include <iterator>

namespace corvalo {

namespace {

const QString kTipoCobrados = QStringLiteral("COBRADOS");
const QString kTipoPorPagar = QStringLiteral("POR PAGAR");
const QString kTipoRetPagado = QStringLiteral("RET PAGADO");
const QString kTipoRetPorPagar = QStringLiteral("RET POR PAGAR");
const QString kTipoEmpate = QStringLiteral("EMPATE POR PAGAR");

bool uno(const QString &valor, const QString &todos) {
    return !valor.isEmpty() && valor != todos;
}

// A sum of the search: null, missing or not above 0 leaves 0.
double suma(const Resultado &r, const QString &columna) {
    if (r.vacio())
        return 0;
    const double v = r.valor(0, columna).numero();
    return v > 0 ? v : 0;
}

// Joins the terms of a WHERE clause; the paid and to-pay terms follow their "and" directly.
QString donde(const QStringList &terminos) {
    QString s = QStringLiteral(" where ");
    for (int i = 0; i < terminos.size(); ++i) {
        if (i > 0)
            s += terminos[i].startsWith(QLatin1Char('(')) ? QStringLiteral(" and") : QStringLiteral(" and ");
        s += terminos[i];
    }
    return s;
}

constexpr int kFilasPorInsercion = 250;

} // namespace

QStringList tiposDeTicket() {
    return {kTodos, kTipoCobrados, kTipoPorPagar, kTipoRetPagado, kTipoRetPorPagar, kTipoEmpate};
}

QString estatusDeTipo(const QString &tipo) {
    if (tipo == kTipoCobrados)
        return QStringLiteral("2");
    if (tipo == kTipoPorPagar)
        return QStringLiteral("1");
    if (tipo == kTipoRetPagado || tipo == QLatin1String("RET. PAGADO"))
        return QStringLiteral("3");
    if (tipo == kTipoRetPorPagar || tipo == QLatin1String("RET. POR PAGAR"))
        return QStringLiteral("4");
    if (tipo == kTipoEmpate)
        return QStringLiteral("5");
    return {};
}

QString nombreEstatus(const QString &estatus) {
    static const char *const nombres[] = {"VENDIDO",     "POR PAGAR",      "PAGADO",
                                          "RET. PAGADO", "RET. POR PAGAR", "EMPATE POR PAGAR"};
    bool numero = false;
    const int e = estatus.trimmed().toInt(&numero);
    return numero && e >= 0 && e < int(std::size(nombres)) ? QLatin1String(nombres[e]) : estatus;
}

SentenciasBoletos sentenciasBoletos(const BaseDatos &db, const FiltroBoletos &f, const QDate &fechaTrabajo,
                                    const QString &grupo, const QString &juego, bool todosLosJuegos) {
    SentenciasBoletos s;
    const QString fecha = fechaSql(f.fecha);
    s.tabla = fecha < fechaSql(fechaTrabajo) ? QStringLiteral("ventas") : QStringLiteral("ma_principal");
    const bool unaTaquilla = uno(f.taquilla, kTodos);
    const bool rango = !todasLasCarreras(f.carreraInicial);
    const bool unTipo = uno(f.tipo, kTodos);
    const bool unCaballo = uno(f.caballo, kTodos);

    QStringList filtros; // terms 1 to 4
    if (unaTaquilla)
        filtros << QStringLiteral("taquilla = '") + sqlTexto(db, f.taquilla) + QLatin1Char('\'');
    if (rango)
        filtros << QStringLiteral("carrera  between  '") + sqlTexto(db, f.carreraInicial) +
                       QStringLiteral("' and '") + sqlTexto(db, f.carreraFinal) + QLatin1Char('\'');
    const QString tipo =
        unTipo ? QStringLiteral("estatus = '") + sqlTexto(db, estatusDeTipo(f.tipo)) + QLatin1Char('\'')
               : QString();
    const QString caballo =
        unCaballo ? QStringLiteral("caballo= '") + sqlTexto(db, f.caballo) + QLatin1Char('\'') : QString();
    QStringList fijos; // terms 6 to 9
    fijos << QStringLiteral("fecha  = '") + sqlTexto(db, fecha) + QLatin1Char('\'');
    if (!todosLosJuegos)
        fijos << QStringLiteral("id_juego='") + sqlTexto(db, juego) + QLatin1Char('\'');
    fijos << QStringLiteral("id_moneda  = '") + sqlTexto(db, QString::number(f.moneda)) + QLatin1Char('\'')
          << QStringLiteral("grupo = '") + sqlTexto(db, grupo) + QLatin1Char('\'');

    auto terminos = [&](bool conTipo, const QString &estado) {
        QStringList t = filtros;
        if (conTipo && unTipo)
            t << tipo;
        if (unCaballo)
            t << caballo;
        if (!estado.isEmpty())
            t << estado;
        return t + fijos;
    };
    s.detalle = QStringLiteral(
                    "SELECT  numero,nu_boleto,carrera,caballo,tablas,puesto,monto,cobrado,estatus,taquilla,"
                    "grupo FROM ") +
                s.tabla + donde(terminos(true, {})) + QStringLiteral(" order by numero desc");
    s.ventas =
        (unaTaquilla ? QStringLiteral("SELECT  sum(monto) as sumamonto,sum(cobrado) as sumacobrado FROM ")
                     : QStringLiteral("SELECT  sum(monto) as sumamonto FROM ")) +
        s.tabla + donde(terminos(true, {}));
    if (!unTipo) {
        s.pagado = QStringLiteral("SELECT  sum(cobrado) as sumacobrado FROM ") + s.tabla +
                   donde(terminos(false, QStringLiteral("(estatus=2 or estatus=3)")));
        s.porPagar = QStringLiteral("SELECT  sum(cobrado) as sumaporcobrar FROM ") + s.tabla +
                     donde(terminos(false, QStringLiteral("(estatus=1 or estatus=4 or estatus=5)")));
    }
    return s;
}

void copiarJugadas(Contexto &ctx, const Resultado &filas, const QString &fecha, const QString &juego) {
    ctx.prepararLocal(); // a lost local connection is opened again
    BaseDatos &local = ctx.local();
    local.ejecutar(QStringLiteral("DELETE from rpt_jugadas"));
    local.ejecutar(QStringLiteral("select * from rpt_jugadas"));
    const QString cabeza =
        QStringLiteral("INSERT INTO rpt_jugadas (numero,boleto,carrera,caballo,tablas,monto,ch,grupo,"
                       "cobrado,estatus,fecha,juego) VALUES ");
    auto q = [&](const QString &v) { return QLatin1Char('\'') + sqlTexto(local, v) + QLatin1Char('\''); };
    const QString fechaQ = q(fecha), juegoQ = q(juego);
    QString sql;
    int enLote = 0;
    for (int i = 0; i < filas.filas(); ++i) {
        auto v = [&](const char *c) { return filas.valor(i, QLatin1String(c)); };
        sql += (enLote == 0 ? cabeza : QStringLiteral(",")) + QLatin1Char('(') + q(v("numero").texto()) +
               QLatin1Char(',') + q(v("nu_boleto").texto()) + QLatin1Char(',') + q(v("carrera").texto()) +
               QLatin1Char(',') + q(v("caballo").texto()) + QLatin1Char(',') +
               q(textoNumero(v("tablas").numero())) + QLatin1Char(',') + q(v("monto").texto()) +
               QLatin1Char(',') + q(v("taquilla").texto()) + QLatin1Char(',') + q(v("grupo").texto()) +
               QLatin1Char(',') + q(v("cobrado").texto()) + QLatin1Char(',') + q(v("estatus").texto()) +
               QLatin1Char(',') + fechaQ + QLatin1Char(',') + juegoQ + QLatin1Char(')');
        if (++enLote == kFilasPorInsercion) {
            local.ejecutar(sql);
            sql.clear();
            enLote = 0;
        }
    }
    if (enLote > 0)
        local.ejecutar(sql);
}

BusquedaBoletos buscarBoletos(Contexto &ctx, const FiltroBoletos &f) {
    BusquedaBoletos b;
    b.sinJuego = f.juego.isEmpty();
    try {
        // 1 - 4.
        ctx.abrir_configuracion();
        const QDate trabajo = fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
        const bool todos = f.juego == kTodos;
        const QString juego = todos ? QString() : idJuego(ctx.rs_juegos, f.juego);
        BaseDatos &db = ctx.central();
        const SentenciasBoletos s = sentenciasBoletos(db, f, trabajo, ctx.sesion.grupo, juego, todos);
        b.filas = db.ejecutar(s.detalle);
        b.conDetalle = true;
        // 6, 7.
        b.venta = suma(db.ejecutar(s.ventas), QStringLiteral("sumamonto"));
        if (s.pagado)
            b.pagado = suma(db.ejecutar(*s.pagado), QStringLiteral("sumacobrado"));
        if (s.porPagar)
            b.porPagar = suma(db.ejecutar(*s.porPagar), QStringLiteral("sumaporcobrar"));
        b.totales = {textoMonto(b.venta), textoMonto(b.pagado), textoMonto(b.venta - b.pagado - b.porPagar),
                     textoMonto(b.porPagar)};
        b.conTotales = true;
    } catch (const std::exception &e) {
        registrarFalla(lcGerencia(), &ctx.sesion, kPantallaGerencia, QStringLiteral("buscar boletos"), e);
        b.fallo = true;
        return b;
    }
    // The copy for printing; the list stands without it.
    try {
        copiarJugadas(ctx, b.filas, fechaSql(f.fecha), f.juego);
        b.copiaLocal = true;
    } catch (const std::exception &e) {
        registrarFalla(lcGerencia(), &ctx.sesion, kPantallaGerencia,
                       QStringLiteral("copiar los boletos a rpt_jugadas"), e);
        b.falloCopia = true;
    }
    return b;
}

} // namespace corvalo
