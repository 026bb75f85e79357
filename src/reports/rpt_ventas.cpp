// The sales summary: closed days from ventas_general, the working day from ma_principal.
#include "procesos.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {

const QString kPantalla = QStringLiteral("Form_RPT_Ventas");

const std::vector<ColumnaLocal> kColumnas = {
    {"ch", 45},     {"venta", 0},         {"fecha", 0},        {"chipico", 45},       {"saldo", 0},
    {"premios", 0}, {"fecha_inicio", 45}, {"fecha_final", 45}, {"monto_porpagar", 0}, {"juego", 25}};

struct Cancelado {};

void avanzar(Progreso *p, int hecho, int total) {
    if (p && !p->avanzar(hecho, total))
        throw Cancelado{};
}

} // namespace

ResultadoProceso procesarVentas(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
    ResultadoProceso r;
    if (!asegurarLocal(ctx, kPantalla)) {
        r.fallo = true; // asegurarLocal said why
        return r;
    }
    try {
        BaseDatos &local = ctx.local();
        BaseDatos &db = ctx.central();
        // 1.
        vaciarTabla(local, QStringLiteral("rpt_diario"), ctx.rs_rpt_diario);
        ctx.abrir_configuracion();
        const QDate w = fechaTrabajo(ctx);
        const QString W = fechaSql(w);
        const QString D = sqlTexto(db, fechaSql(f.desde));
        const QString H = sqlTexto(db, fechaSql(f.hasta));
        const QString G = sqlTexto(db, ctx.sesion.grupo);
        const QString M = QString::number(ctx.sesion.id_moneda);
        const QString juego = textoJuego(f.juego);
        const bool todos = juego == QLatin1String("TODOS");
        const QString J = todos ? QString() : sqlTexto(db, idJuego(ctx, juego));
        const bool cerrados = f.desde < w;
        // The working day counts when the range ends on it, and also when the range runs past it
        // (no day after the working date has sales).
        const bool hoy = f.hasta == w || (f.desde <= w && f.hasta > w);

        // 2., 3., 4.
        if (cerrados)
            r.Text1 = todos ? QStringLiteral("select * FROM ventas_general where fecha between '") + D +
                                  QStringLiteral("' and '") + H + QStringLiteral("'  and grupo = '") + G +
                                  QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("' ")
                            : QStringLiteral("select * FROM ventas_general where fecha between '") + D +
                                  QStringLiteral("' and '") + H + QStringLiteral("'  and grupo = '") + G +
                                  QStringLiteral("'   and id_juego = '") + J +
                                  QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
        if (hoy)
            r.Text2 =
                QStringLiteral("select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal  where  "
                               "fecha =  '") +
                W + QStringLiteral("' and grupo = '") + G +
                (todos ? QString() : QStringLiteral("'  and id_juego = '") + J) +
                QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("' group by grupo,fecha");

        const QString inicio = fechaPantalla(f.desde);
        const QString final_ = fechaPantalla(f.hasta);
        std::vector<QStringList> filas;
        // 5., 6.
        if (cerrados) {
            const Resultado dias = db.ejecutar(r.Text1);
            for (int i = 0; i < dias.filas(); ++i) {
                avanzar(progreso, i, dias.filas());
                auto v = [&](const char *c) { return dias.valor(i, QLatin1String(c)); };
                const double saldo = v("saldo").numero() - v("monto_porpagar").numero();
                filas.push_back({centroDeGrupo(ctx, v("grupo").texto()), textoNumero(v("venta").numero()),
                                 fechaSql(fechaDeTexto(v("fecha").texto())), ctx.sesion.ch,
                                 textoNumero(saldo), textoNumero(v("premios").numero()), inicio, final_,
                                 textoNumero(v("monto_porpagar").numero()), juego});
            }
        }
        // 7.
        if (hoy) {
            const Resultado dia = db.ejecutar(r.Text2);
            for (int i = 0; i < dia.filas(); ++i) {
                avanzar(progreso, i, dia.filas());
                const QString grupo = dia.valor(i, QStringLiteral("grupo")).texto();
                const QString F = fechaSql(fechaDeTexto(dia.valor(i, QStringLiteral("fecha")).texto()));
                const QString Gr = sqlTexto(db, grupo);
                const QString juegoTerm = todos ? QString() : QStringLiteral("' and id_juego = '") + J;
                r.Text3 =
                    QStringLiteral("SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 "
                                   "OR estatus=3) and grupo='") +
                    Gr + QStringLiteral("' and fecha  = '") + F + juegoTerm +
                    QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
                const QString porPagarSql =
                    (todos ? QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where "
                                            "(estatus=1 OR estatus=4 OR estatus=5) and grupo='")
                           : QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where "
                                            "(estatus=1 OR estatus=4  OR estatus=5) and grupo='")) +
                    Gr + QStringLiteral("' and fecha=  '") + F +
                    (todos ? QString() : QStringLiteral("'  and id_juego = '") + J) +
                    QStringLiteral("'  and id_moneda  = '") + M + QStringLiteral("'");
                const double premios = sumaPositiva(db.ejecutar(r.Text3), QStringLiteral("monto_cobrado"));
                const double porPagar =
                    sumaPositiva(db.ejecutar(porPagarSql), QStringLiteral("monto_porpagar"));
                const double venta = dia.valor(i, QStringLiteral("venta")).numero();
                filas.push_back({centroDeGrupo(ctx, grupo), textoNumero(venta), F, ctx.sesion.ch,
                                 textoNumero(venta - premios - porPagar), textoNumero(premios), inicio,
                                 final_, textoNumero(porPagar), juego});
            }
        }
        anexarFilas(local, QStringLiteral("rpt_diario"), kColumnas, filas);
        r.filas = int(filas.size());
        // 8.
        terminarProceso(ctx, r);
    } catch (const Cancelado &) {
        r.cancelado = true;
    } catch (const DbError &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("procesar"), e);
        r.fallo = true;
        ctx.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
    }
    return r;
}

} // namespace corvalo
