// Sales by booth: one date, the booths of the group with their prizes paid and still to pay.
#include "procesos.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {

const QString kPantalla = QStringLiteral("Form_RPT_CuadreTaqTF");

const std::vector<ColumnaLocal> kColumnas = {{"taquilla", 45}, {"jugado", 0},  {"fecha", 45},
                                             {"ch", 45},       {"cobrado", 0}, {"monto_porpagar", 0},
                                             {"total", 0},     {"juego", 25}};

struct Cancelado {};

} // namespace

ResultadoProceso procesarCuadreTaquillas(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
    ResultadoProceso r;
    auto falla = [&] {
        r.fallo = true;
        r.imprimir = false;
        ctx.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
    };
    if (!asegurarLocal(ctx, kPantalla)) {
        r.fallo = true; // asegurarLocal said why
        return r;
    }
    try {
        BaseDatos &local = ctx.local();
        BaseDatos &db = ctx.central();
        // 1.
        vaciarTabla(local, QStringLiteral("rpt_resultadostaqs"), ctx.rs_rpt_resultadostaqs);
        ctx.abrir_configuracion();
        const QDate w = fechaTrabajo(ctx);
        // 2.
        if (f.desde > w) {
            ctx.dialogos.mensaje(kFechaPosterior, kTituloValidacion, Icono::Error);
            return r;
        }
        const QString F0 = sqlTexto(db, fechaSql(f.desde));
        const QString G = sqlTexto(db, ctx.sesion.grupo);
        const QString M = QString::number(ctx.sesion.id_moneda);
        const QString juego = textoJuego(f.juego);
        const bool todos = juego == QLatin1String("TODOS");
        const QString J = todos ? QString() : sqlTexto(db, idJuego(ctx, juego));
        const bool archivo = f.desde < w;

        // 3.
        QString sql;
        if (archivo)
            sql = todos ? QStringLiteral(
                              "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ventas m "
                              "where m.fecha =  '") +
                              F0 + QStringLiteral("' and m.grupo = '") + G +
                              QStringLiteral("'   and m.id_moneda  = '") + M +
                              QStringLiteral("' group by m.taquilla,m.fecha;")
                        : QStringLiteral(
                              "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ventas m "
                              "where m.fecha =  '") +
                              F0 + QStringLiteral("' and m.grupo = '") + G +
                              QStringLiteral("' and m.id_juego = '") + J +
                              QStringLiteral("'  and m.id_moneda  = '") + M +
                              QStringLiteral("'    group by m.taquilla,m.fecha;");
        else
            sql = QStringLiteral(
                      "select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ma_principal m "
                      "where m.fecha =  '") +
                  F0 + QStringLiteral("' and m.grupo = '") + G +
                  (todos ? QStringLiteral("'   and m.id_moneda  = '") + M +
                               QStringLiteral("'  group by m.taquilla,m.fecha;")
                         : QStringLiteral("'  and m.id_juego = '") + J +
                               QStringLiteral("'  and m.id_moneda  = '") + M +
                               QStringLiteral("'   group by m.taquilla,m.fecha;"));

        // 4., 5.
        const QString tabla = archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal");
        const QString abrePagado = QStringLiteral("SELECT sum(cobrado) as monto_cobrado FROM ") + tabla +
                                   QStringLiteral(" where (estatus=2 OR estatus=3) and taquilla='");
        const QString abrePorPagar =
            QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ") + tabla +
            QStringLiteral(" where (estatus=1 OR estatus=4 OR estatus=5) and taquilla='");
        const QString moneda = QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
        QString ciernePagado, ciernePorPagar;
        if (todos) {
            ciernePagado =
                archivo ? QStringLiteral("'   and id_moneda  = '") + M + QStringLiteral("'") : moneda;
            ciernePorPagar = moneda;
        } else {
            ciernePagado = ciernePorPagar =
                (archivo ? QStringLiteral("'  and id_juego = '") : QStringLiteral("' and id_juego = '")) + J +
                moneda;
        }

        const Resultado taquillas = db.ejecutar(sql);
        const QString juegoTexto = juego;
        std::vector<QStringList> filas;
        for (int i = 0; i < taquillas.filas(); ++i) {
            if (progreso && !progreso->avanzar(i, taquillas.filas()))
                throw Cancelado{};
            const QString B = taquillas.valor(i, QStringLiteral("taquilla")).texto();
            const QDate dia = fechaDeTexto(taquillas.valor(i, QStringLiteral("fecha")).texto());
            const QString medio = sqlTexto(db, B) + QStringLiteral("' and fecha  = '") + fechaSql(dia);
            const double V = taquillas.valor(i, QStringLiteral("venta")).numero();
            const double cobrado =
                sumaPositiva(db.ejecutar(abrePagado + medio + ciernePagado), QStringLiteral("monto_cobrado"));
            const double porPagar = sumaPositiva(db.ejecutar(abrePorPagar + medio + ciernePorPagar),
                                                 QStringLiteral("monto_porpagar"));
            filas.push_back({B, textoNumero(V), fechaPantalla(dia), ctx.sesion.ch, textoNumero(cobrado),
                             textoNumero(porPagar), textoNumero(V - cobrado - porPagar), juegoTexto});
        }
        anexarFilas(local, QStringLiteral("rpt_resultadostaqs"), kColumnas, filas);
        r.filas = int(filas.size());
        // 6.
        terminarProceso(ctx, r);
    } catch (const Cancelado &) {
        r.cancelado = true;
    } catch (const DbError &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("procesar"), e);
        falla();
    }
    return r;
}

} // namespace corvalo
