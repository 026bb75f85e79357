// The log of cancelled tickets over a range, newest ticket number first.
#include "procesos.h"

#include "texto.h"

namespace corvalo {

namespace {

// rpt_bitacora.fecha is a DATE column: the entry's date goes in as "YYYY-MM-DD" (the report
// shows it as "DD-MM-YYYY"); a "DD-MM-YYYY" text would be refused by the server. A failed process
// opens the central connection again and says so under "SISTEMA".
const MarcoProceso kMarco = {QStringLiteral("Form_Bitacora"),
                             QStringLiteral("rpt_bitacora"),
                             {{"numero", 0},
                              {"carrera", 0},
                              {"caballo", 0},
                              {"tablas", 0},
                              {"monto", 0},
                              {"taquilla", 15},
                              {"grupo", 5},
                              {"hora", 15},
                              {"nu_boleto", 25},
                              {"cobrado", 0},
                              {"motivo", 255},
                              {"usuario", 10},
                              {"tipo_motivo", 15},
                              {"estatus", 0},
                              {"fecha", 0},
                              {"fecha_inicio", 45},
                              {"fecha_final", 45}},
                             true,
                             QStringLiteral("SISTEMA")};

QString fechaLocal(const QString &valor) {
    const QDate d = fechaDeTexto(valor);
    return d.isValid() ? fechaSql(d) : QStringLiteral("0000-00-00");
}

} // namespace

ResultadoProceso procesarBitacora(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
    return ejecutarProceso(
        ctx, kMarco, progreso, [&](PasoProceso &paso, ResultadoProceso &) -> std::optional<Filas> {
            BaseDatos &db = ctx.central();
            const QString D = sqlTexto(db, fechaSql(f.desde));
            const QString H = sqlTexto(db, fechaSql(f.hasta));
            const QString G = sqlTexto(db, ctx.sesion.grupo);
            const QString C = f.centro;
            const QString S = sqlTexto(db, grupoDeCentro(ctx, C).value_or(ctx.sesion.grupo));

            // A Supervisor sees every entry of the own group; every other level (Socio) only the
            // cancelled ones, and none of another centre.
            QString sql;
            if (ctx.sesion.nivel == QLatin1String("Supervisor"))
                sql = QStringLiteral("Select * from bitacora where fecha between '") + D +
                      QStringLiteral("' and '") + H + QStringLiteral("' and grupo ='") + S +
                      QStringLiteral("' order by numero desc ");
            else if (C == QLatin1String("TODOS") || C == QLatin1String("Todos"))
                sql = QStringLiteral("Select * from bitacora where fecha between '") + D +
                      QStringLiteral("' and '") + H + QStringLiteral("' and grupo = '") + G +
                      QStringLiteral("' and estatus=5 order by numero desc ");
            else
                sql = QStringLiteral("Select * from bitacora where fecha between '") + D +
                      QStringLiteral("' and '") + H + QStringLiteral("' and grupo = '") + G +
                      QStringLiteral("' and estatus=5 and grupo ='") + S +
                      QStringLiteral("' order by numero desc ");

            // The table is emptied only once the log was read: a failed read leaves the last rows.
            const Resultado e = db.ejecutar(sql);
            paso.vaciar();
            const QString inicio = fechaPantalla(f.desde);
            const QString final_ = fechaPantalla(f.hasta);
            Filas filas;
            filas.reserve(size_t(e.filas()));
            for (int i = 0; i < e.filas(); ++i) {
                if (i % 200 == 0)
                    paso.avanzar(i, e.filas());
                auto t = [&](const char *c) { return e.valor(i, QLatin1String(c)).texto(); };
                auto n = [&](const char *c) { return textoNumero(e.valor(i, QLatin1String(c)).numero()); };
                filas.push_back({n("numero"), n("carrera"), n("caballo"),
                                 QString::number(qRound64(e.valor(i, QStringLiteral("tablas")).numero())),
                                 n("monto"), t("taquilla"), t("grupo"), t("hora"), t("nu_boleto"),
                                 n("cobrado"), t("motivo"), t("usuario"), t("tipo_motivo"), n("estatus"),
                                 fechaLocal(t("fecha")), inicio, final_});
            }
            return filas;
        });
}

} // namespace corvalo
