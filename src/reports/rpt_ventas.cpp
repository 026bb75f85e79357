// The sales summary: closed days from ventas_general, the working day from ma_principal.
#include "procesos.h"

#include "texto.h"

namespace corvalo {

namespace {

const MarcoProceso kMarco = {QStringLiteral("Form_RPT_Ventas"),
                             QStringLiteral("rpt_diario"),
                             {{"ch", 45},
                              {"venta", 0},
                              {"fecha", 0},
                              {"chipico", 45},
                              {"saldo", 0},
                              {"premios", 0},
                              {"fecha_inicio", 45},
                              {"fecha_final", 45},
                              {"monto_porpagar", 0},
                              {"juego", 25}},
                             false,
                             kTituloAdministracion};

} // namespace

ResultadoProceso procesarVentas(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
    return ejecutarProceso(
        ctx, kMarco, progreso, [&](PasoProceso &paso, ResultadoProceso &r) -> std::optional<Filas> {
            BaseDatos &db = ctx.central();
            paso.vaciar();
            const QDate w = paso.diaDeTrabajo();
            const QString W = fechaSql(w);
            const QString D = sqlTexto(db, fechaSql(f.desde));
            const QString H = sqlTexto(db, fechaSql(f.hasta));
            const auto [G, M, juego, todos, J] = valoresComunes(ctx, db, f);
            const bool cerrados = f.desde < w;
            // The working day counts when the range ends on it, and also when the range runs past it
            // (no day after the working date has sales).
            const bool hoy = f.hasta == w || (f.desde <= w && f.hasta > w);

            // The statements of the closed days and of the working day, kept for the screen.
            if (cerrados)
                r.Text1 = todos ? QStringLiteral("select * FROM ventas_general where fecha between '") + D +
                                      QStringLiteral("' and '") + H + QStringLiteral("'  and grupo = '") + G +
                                      QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("' ")
                                : QStringLiteral("select * FROM ventas_general where fecha between '") + D +
                                      QStringLiteral("' and '") + H + QStringLiteral("'  and grupo = '") + G +
                                      QStringLiteral("'   and id_juego = '") + J +
                                      QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
            if (hoy)
                r.Text2 = QStringLiteral(
                              "select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal  where  "
                              "fecha =  '") +
                          W + QStringLiteral("' and grupo = '") + G +
                          (todos ? QString() : QStringLiteral("'  and id_juego = '") + J) +
                          QStringLiteral("'  and id_moneda  = '") + M +
                          QStringLiteral("' group by grupo,fecha");

            const QString inicio = fechaPantalla(f.desde);
            const QString final_ = fechaPantalla(f.hasta);
            Filas filas;
            // The closed days as the day's closing left them.
            if (cerrados) {
                const Resultado dias = db.ejecutar(r.Text1);
                for (int i = 0; i < dias.filas(); ++i) {
                    paso.avanzar(i, dias.filas());
                    auto v = [&](const char *c) { return dias.valor(i, QLatin1String(c)); };
                    const double saldo = v("saldo").numero() - v("monto_porpagar").numero();
                    filas.push_back({centroDeGrupo(ctx, v("grupo").texto()), textoNumero(v("venta").numero()),
                                     fechaSql(fechaDeTexto(v("fecha").texto())), ctx.sesion.ch,
                                     textoNumero(saldo), textoNumero(v("premios").numero()), inicio, final_,
                                     textoNumero(v("monto_porpagar").numero()), juego});
                }
            }
            // The working day with its prizes paid and still to pay.
            if (hoy) {
                const Resultado dia = db.ejecutar(r.Text2);
                for (int i = 0; i < dia.filas(); ++i) {
                    paso.avanzar(i, dia.filas());
                    const QString grupo = dia.valor(i, QStringLiteral("grupo")).texto();
                    const QString F = fechaSql(fechaDeTexto(dia.valor(i, QStringLiteral("fecha")).texto()));
                    const QString Gr = sqlTexto(db, grupo);
                    const QString juegoTerm = todos ? QString() : QStringLiteral("' and id_juego = '") + J;
                    r.Text3 = QStringLiteral(
                                  "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 "
                                  "OR estatus=3) and grupo='") +
                              Gr + QStringLiteral("' and fecha  = '") + F + juegoTerm +
                              QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
                    const QString porPagarSql =
                        (todos
                             ? QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where "
                                              "(estatus=1 OR estatus=4 OR estatus=5) and grupo='")
                             : QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where "
                                              "(estatus=1 OR estatus=4  OR estatus=5) and grupo='")) +
                        Gr + QStringLiteral("' and fecha=  '") + F +
                        (todos ? QString() : QStringLiteral("'  and id_juego = '") + J) +
                        QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
                    const double premios =
                        sumaPositiva(db.ejecutar(r.Text3), QStringLiteral("monto_cobrado"));
                    const double porPagar =
                        sumaPositiva(db.ejecutar(porPagarSql), QStringLiteral("monto_porpagar"));
                    const double venta = dia.valor(i, QStringLiteral("venta")).numero();
                    filas.push_back({centroDeGrupo(ctx, grupo), textoNumero(venta), F, ctx.sesion.ch,
                                     textoNumero(venta - premios - porPagar), textoNumero(premios), inicio,
                                     final_, textoNumero(porPagar), juego});
                }
            }
            return filas;
        });
}

} // namespace corvalo
