// Sales by booth: one date, the booths of the group with their prizes paid and still to pay.
#include "procesos.h"

#include "texto.h"

namespace corvalo {

namespace {

const MarcoProceso kMarco = {QStringLiteral("Form_RPT_CuadreTaqTF"),
                             QStringLiteral("rpt_resultadostaqs"),
                             {{"taquilla", 45},
                              {"jugado", 0},
                              {"fecha", 45},
                              {"ch", 45},
                              {"cobrado", 0},
                              {"monto_porpagar", 0},
                              {"total", 0},
                              {"juego", 25}},
                             false,
                             kTituloAdministracion};

} // namespace

ResultadoProceso procesarCuadreTaquillas(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
    return ejecutarProceso(
        ctx, kMarco, progreso, [&](PasoProceso &paso, ResultadoProceso &) -> std::optional<Filas> {
            BaseDatos &db = ctx.central();
            paso.vaciar();
            const std::optional<QDate> w = paso.diaDeTrabajoDesde(f.desde);
            if (!w)
                return std::nullopt;
            const QString F0 = sqlTexto(db, fechaSql(f.desde));
            const auto [G, M, juego, todos, J] = valoresComunes(ctx, db, f);
            const bool archivo = f.desde < *w;

            // The booths of the day with their sales.
            QString sql;
            if (archivo)
                sql = todos
                          ? QStringLiteral(
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

            // The prizes paid and still to pay of each booth.
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
                    (archivo ? QStringLiteral("'  and id_juego = '") : QStringLiteral("' and id_juego = '")) +
                    J + moneda;
            }

            const Resultado taquillas = db.ejecutar(sql);
            Filas filas;
            for (int i = 0; i < taquillas.filas(); ++i) {
                paso.avanzar(i, taquillas.filas());
                const QString B = taquillas.valor(i, QStringLiteral("taquilla")).texto();
                const QDate dia = fechaDeTexto(taquillas.valor(i, QStringLiteral("fecha")).texto());
                const QString medio = sqlTexto(db, B) + QStringLiteral("' and fecha  = '") + fechaSql(dia);
                const double V = taquillas.valor(i, QStringLiteral("venta")).numero();
                const double cobrado = sumaPositiva(db.ejecutar(abrePagado + medio + ciernePagado),
                                                    QStringLiteral("monto_cobrado"));
                const double porPagar = sumaPositiva(db.ejecutar(abrePorPagar + medio + ciernePorPagar),
                                                     QStringLiteral("monto_porpagar"));
                filas.push_back({B, textoNumero(V), fechaPantalla(dia), ctx.sesion.ch, textoNumero(cobrado),
                                 textoNumero(porPagar), textoNumero(V - cobrado - porPagar), juego});
            }
            return filas;
        });
}

} // namespace corvalo
