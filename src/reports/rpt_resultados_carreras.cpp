// Sales by race: one date, the races of the group with their prizes paid and still to pay.
#include "procesos.h"

#include "texto.h"

namespace corvalo {

namespace {

// A failed process opens the central connection again.
const MarcoProceso kMarco = {QStringLiteral("Form_RPT_ResultadosCarreras"),
                             QStringLiteral("rpt_resultadoscarreras"),
                             {{"ch", 45},
                              {"fecha", 45},
                              {"carrera", 0},
                              {"jugado", 0},
                              {"cobrado", 0},
                              {"monto_porpagar", 0},
                              {"total", 0},
                              {"juego", 25}},
                             true,
                             kTituloAdministracion};

double sumaComoViene(const Resultado &r, const QString &columna) {
    return r.vacio() ? 0 : r.valor(0, columna).numero();
}

} // namespace

ResultadoProceso procesarResultadosCarreras(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
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
            const QString tabla = archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal");

            // The races of the day with their sales.
            QString sql = QStringLiteral("SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ") + tabla +
                          QStringLiteral(" v where v.fecha  = '") + F0 + QStringLiteral("' and v.grupo='") +
                          G;
            if (todos)
                sql += QStringLiteral("'  and v.id_moneda  = '") + M +
                       (archivo ? QStringLiteral("'  group by  v.carrera,v.grupo")
                                : QStringLiteral("' group by  v.carrera,v.grupo"));
            else
                sql += (archivo ? QStringLiteral("'  and v.id_juego = '")
                                : QStringLiteral("' and v.id_juego = '")) +
                       J + QStringLiteral("'  and v.id_moneda  = '") + M +
                       QStringLiteral("' group by  v.carrera,v.grupo");

            // The pieces of the two sums of a race.
            const QString abrePagado =
                QStringLiteral("SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ") + tabla +
                QStringLiteral(" v where (estatus=2 OR estatus=3)  and v.grupo='");
            const QString abrePorPagar =
                QStringLiteral("SELECT v.carrera,sum(v.cobrado) as monto_porpagar FROM ") + tabla +
                (archivo ? QStringLiteral(" v where (estatus=1 OR estatus=4  OR estatus=5)  and v.grupo='")
                         : QStringLiteral(" v where (estatus=1 OR estatus=4 OR estatus=5)  and v.grupo='"));
            const QString clausulaCarrera =
                archivo ? QStringLiteral("' and  carrera = '") : QStringLiteral("'and carrera ='");
            QString ciernePagado, ciernePorPagar;
            if (todos) {
                ciernePagado =
                    QStringLiteral("'  and v.id_moneda  = '") + M + QStringLiteral("'  group by  v.carrera");
                ciernePorPagar =
                    QStringLiteral("'  and v.id_moneda  = '") + M + QStringLiteral("' group by  v.carrera");
            } else {
                ciernePagado = QStringLiteral("' and v.id_juego = '") + J +
                               QStringLiteral("'  and v.id_moneda  = '") + M +
                               QStringLiteral("' group by  v.carrera");
                ciernePorPagar = archivo ? QStringLiteral("'and v.id_juego = '") + J +
                                               QStringLiteral("'  and v.id_moneda  = '") + M +
                                               QStringLiteral("'  group by  v.carrera")
                                         : ciernePagado;
            }

            const Resultado carreras = db.ejecutar(sql);
            const QString fecha = fechaPantalla(f.desde);
            Filas filas;
            for (int i = 0; i < carreras.filas(); ++i) {
                paso.avanzar(i, carreras.filas());
                const QString C = carreras.valor(i, QStringLiteral("carrera")).texto();
                const QString Gr = carreras.valor(i, QStringLiteral("grupo")).texto();
                const double V = carreras.valor(i, QStringLiteral("jugado")).numero();
                const QString medio = sqlTexto(db, Gr) + QStringLiteral("' and fecha  = '") + F0 +
                                      clausulaCarrera + sqlTexto(db, C);
                const double cobrado = sumaComoViene(db.ejecutar(abrePagado + medio + ciernePagado),
                                                     QStringLiteral("monto_cobrado"));
                const double porPagar = sumaComoViene(db.ejecutar(abrePorPagar + medio + ciernePorPagar),
                                                      QStringLiteral("monto_porpagar"));
                filas.push_back({ctx.sesion.ch, fecha, C, textoNumero(V), textoNumero(cobrado),
                                 textoNumero(porPagar), textoNumero(V - cobrado - porPagar), juego});
            }
            return filas;
        });
}

} // namespace corvalo
