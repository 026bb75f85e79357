#include "cuadre.h"

#include "moneda.h"
#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {

// A prize sum: an empty result, a null or a value not above 0 counts as 0.
double premio(const Resultado &r, const QString &columna) {
    if (r.vacio())
        return 0;
    const double v = r.valor(0, columna).numero();
    return v > 0 ? v : 0;
}

QString fechaConsola(Contexto &ctx) {
    ctx.abrir_configuracion();
    return fechaSql(fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto()));
}

} // namespace

QString sentenciaTaquillas(const BaseDatos &db, const QString &fecha, const QString &grupo,
                           const QString &juego, bool todosLosJuegos, int moneda, const QString &ci,
                           const QString &cf) {
    QString s =
        QStringLiteral("select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal "
                       "m,configuracion c where m.fecha =  '") +
        sqlTexto(db, fecha) + QStringLiteral("' and grupo = '") + sqlTexto(db, grupo);
    const bool rango = !todasLasCarreras(ci);
    if (rango)
        s += QStringLiteral("' and m.carrera  between  '") + sqlTexto(db, ci) + QStringLiteral("'and '") +
             sqlTexto(db, cf);
    if (!todosLosJuegos)
        s += QStringLiteral("' and m.id_juego = '") + sqlTexto(db, juego);
    s += QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, QString::number(moneda));
    s += rango ? QStringLiteral("' group by m.taquilla,m.fecha;")
               : QStringLiteral("'  group by m.taquilla,m.fecha;");
    return s;
}

QString sentenciaPremiosTaquilla(const BaseDatos &db, bool pagados, const QString &taquilla,
                                 const QString &fecha, const QString &grupo, const QString &juego,
                                 bool todosLosJuegos, int moneda, const QString &ci, const QString &cf) {
    const bool rango = !todasLasCarreras(ci);
    QString s =
        pagados
            ? QStringLiteral("SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 or "
                             "estatus=3) and taquilla='")
            : QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where (estatus=1 or "
                             "estatus=4) and taquilla='");
    s += sqlTexto(db, taquilla) + QStringLiteral("' and fecha  = '") + sqlTexto(db, fecha);
    if (rango)
        s += (pagados ? QStringLiteral("'and carrera  between  '")
                      : QStringLiteral("' and carrera  between  '")) +
             sqlTexto(db, ci) + QStringLiteral("'and '") + sqlTexto(db, cf);
    s += QStringLiteral("' and grupo = '") + sqlTexto(db, grupo);
    if (!todosLosJuegos)
        s += (rango && !pagados ? QStringLiteral("' and id_juego = '")
                                : QStringLiteral("'  and id_juego = '")) +
             sqlTexto(db, juego);
    s += (pagados && !rango ? QStringLiteral("'   and id_moneda  = '")
                            : QStringLiteral("'  and id_moneda  = '")) +
         sqlTexto(db, QString::number(moneda)) + QStringLiteral("' ");
    return s;
}

CuadreCaja procesarCuadre(Contexto &ctx, const FiltroCuadre &f) {
    CuadreCaja c;
    try {
        // 1, 2.
        const QString fecha = fechaConsola(ctx);
        c.sinJuego = f.juego.isEmpty();
        const bool todos = f.juego == kTodos;
        const QString juego = todos ? QString() : idJuego(ctx.rs_juegos, f.juego);
        const QString &grupo = ctx.sesion.grupo;
        BaseDatos &db = ctx.central();
        const Resultado taquillas = db.ejecutar(
            sentenciaTaquillas(db, fecha, grupo, juego, todos, f.moneda, f.carreraInicial, f.carreraFinal));
        // One line per booth, in the order the server grouped them.
        for (int i = 0; i < taquillas.filas(); ++i) {
            LineaCuadre l;
            l.taquilla = taquillas.valor(i, QStringLiteral("taquilla")).texto();
            const double venta = taquillas.valor(i, QStringLiteral("venta")).numero();
            const double pagado =
                premio(db.ejecutar(sentenciaPremiosTaquilla(db, true, l.taquilla, fecha, grupo, juego, todos,
                                                            f.moneda, f.carreraInicial, f.carreraFinal)),
                       QStringLiteral("monto_cobrado"));
            const double porPagar =
                premio(db.ejecutar(sentenciaPremiosTaquilla(db, false, l.taquilla, fecha, grupo, juego, todos,
                                                            f.moneda, f.carreraInicial, f.carreraFinal)),
                       QStringLiteral("monto_porpagar"));
            l.montos = {venta, pagado, porPagar, venta - pagado - porPagar, venta - pagado};
            for (std::size_t k = 0; k < 5; ++k) {
                l.textos[k] = formatoSegunMoneda(l.montos[k], f.captionMoneda);
                c.totales[k] += l.montos[k];
            }
            c.taquillas.push_back(l);
        }
        c.completo = true;
    } catch (const std::exception &e) {
        registrarFalla(lcGerencia(), &ctx.sesion, kPantallaGerencia, QStringLiteral("cuadre de caja"), e);
        ctx.abrir_central(ctx.sesion.cadena_central);
    }
    // The totals of the lines shown, in the currency of those lines.
    for (std::size_t k = 0; k < 5; ++k)
        c.totalesTextos[k] = formatoSegunMoneda(c.totales[k], f.captionMoneda);
    return c;
}

QStringList totalDia(Contexto &ctx, int moneda, const QString &captionMoneda) {
    QStringList lineas;
    const QString blancos(11, QLatin1Char(' '));
    auto texto = [&](const Campo &v) {
        return v.esNulo() ? QString() : formatoSegunMoneda(v.numero(), captionMoneda);
    };
    try {
        const QString fecha = fechaConsola(ctx);
        BaseDatos &db = ctx.central();
        const QString grupo = sqlTexto(db, ctx.sesion.grupo);
        const QString m = sqlTexto(db, QString::number(moneda));
        const QString f = sqlTexto(db, fecha);
        // 2, 3.
        const Resultado rv =
            db.ejecutar(QStringLiteral("SELECT sum(monto) as venta   FROM ma_principal where  fecha  = '") +
                        f + QStringLiteral("' and grupo='") + grupo +
                        QStringLiteral("'  and id_moneda  = '") + m + QLatin1Char('\''));
        const Campo venta = rv.vacio() ? Campo() : rv.valor(0, QStringLiteral("venta"));
        const Resultado rc = db.ejecutar(
            QStringLiteral(
                "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=1 or estatus=2 or "
                "estatus=3 or estatus=4 or estatus=5)  and fecha  = '") +
            f + QStringLiteral("' and grupo='") + grupo + QStringLiteral("'  and id_moneda  = '") + m +
            QLatin1Char('\''));
        const Campo cobrado = rc.vacio() ? Campo() : rc.valor(0, QStringLiteral("monto_cobrado"));
        // 4, 5. A day without prizes still has a balance: the sales.
        lineas << kVentaDia + blancos + texto(venta);
        lineas << kMontoCobradoDia + blancos + texto(cobrado);
        const QString saldo = venta.esNulo() && cobrado.esNulo()
                                  ? QString()
                                  : formatoSegunMoneda(venta.numero() - cobrado.numero(), captionMoneda);
        lineas << kSaldoDia + blancos + saldo;
    } catch (const std::exception &e) {
        registrarFalla(lcGerencia(), &ctx.sesion, kPantallaGerencia, QStringLiteral("total del día"), e);
    }
    return lineas;
}

} // namespace corvalo
