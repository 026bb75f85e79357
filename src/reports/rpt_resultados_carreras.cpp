// Sales by race: one date, the races of the group with their prizes paid and still to pay.
#include "procesos.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {

const QString kPantalla = QStringLiteral("Form_RPT_ResultadosCarreras");

const std::vector<ColumnaLocal> kColumnas = {{"ch", 45},    {"fecha", 45},  {"carrera", 0},
                                             {"jugado", 0}, {"cobrado", 0}, {"monto_porpagar", 0},
                                             {"total", 0},  {"juego", 25}};

struct Cancelado {};

double sumaComoViene(const Resultado &r, const QString &columna) {
    return r.vacio() ? 0 : r.valor(0, columna).numero();
}

} // namespace

ResultadoProceso procesarResultadosCarreras(Contexto &ctx, const FiltroReporte &f, Progreso *progreso) {
    ResultadoProceso r;
    // A failed process re-connects and says so; the print button hides, so what was left of an
    // earlier process is not printed as this one's.
    auto falla = [&] {
        r.fallo = true;
        r.imprimir = false;
        ctx.abrir_central(ctx.sesion.cadena_central);
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
        vaciarTabla(local, QStringLiteral("rpt_resultadoscarreras"), ctx.rs_rpt_resultadoscarreras);
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
        const QString tabla = archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal");

        // 3.
        QString sql = QStringLiteral("SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ") + tabla +
                      QStringLiteral(" v where v.fecha  = '") + F0 + QStringLiteral("' and v.grupo='") + G;
        if (todos)
            sql += QStringLiteral("'  and v.id_moneda  = '") + M +
                   (archivo ? QStringLiteral("'  group by  v.carrera,v.grupo")
                            : QStringLiteral("' group by  v.carrera,v.grupo"));
        else
            sql +=
                (archivo ? QStringLiteral("'  and v.id_juego = '") : QStringLiteral("' and v.id_juego = '")) +
                J + QStringLiteral("'  and v.id_moneda  = '") + M +
                QStringLiteral("' group by  v.carrera,v.grupo");

        // 5. The pieces of the two sums of a race.
        const QString abrePagado = QStringLiteral("SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ") +
                                   tabla + QStringLiteral(" v where (estatus=2 OR estatus=3)  and v.grupo='");
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

        // 4.
        const Resultado carreras = db.ejecutar(sql);
        const QString fecha = fechaPantalla(f.desde);
        std::vector<QStringList> filas;
        for (int i = 0; i < carreras.filas(); ++i) {
            if (progreso && !progreso->avanzar(i, carreras.filas()))
                throw Cancelado{};
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
        anexarFilas(local, QStringLiteral("rpt_resultadoscarreras"), kColumnas, filas);
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
