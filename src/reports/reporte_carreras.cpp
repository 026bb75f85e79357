#include "reporte_carreras.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("Form_RPT_ResultadosCarreras");

QString tabla(bool archivo) { return archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal"); }
} // namespace

QString sentenciaCarreras(const BaseDatos &db, bool archivo, const QString &f0, const QString &g,
                          const QString &m, const JuegoElegido &j) {
    QString s = QStringLiteral("SELECT v.carrera,sum(v.monto) as jugado,v.grupo  FROM ") + tabla(archivo) +
                QStringLiteral(" v where v.fecha  = '") + sqlTexto(db, f0) + QStringLiteral("' and v.grupo='") +
                sqlTexto(db, g);
    if (j.todos)
        return s + QStringLiteral("'  and v.id_moneda  = '") + sqlTexto(db, m) +
               (archivo ? QStringLiteral("'  group by  v.carrera,v.grupo") : QStringLiteral("' group by  v.carrera,v.grupo"));
    return s + (archivo ? QStringLiteral("'  and v.id_juego = '") : QStringLiteral("' and v.id_juego = '")) +
           sqlTexto(db, j.id) + QStringLiteral("'  and v.id_moneda  = '") + sqlTexto(db, m) +
           QStringLiteral("' group by  v.carrera,v.grupo");
}

namespace {

QString sumaCarrera(const BaseDatos &db, bool archivo, bool pagado, const QString &grupo, const QString &f0,
                    const QString &carrera, const QString &m, const JuegoElegido &j) {
    QString s = pagado ? QStringLiteral("SELECT v.carrera,sum(v.cobrado) as monto_cobrado FROM ") + tabla(archivo) +
                             QStringLiteral(" v where (estatus=2 OR estatus=3)  and v.grupo='")
                       : QStringLiteral("SELECT v.carrera,sum(v.cobrado) as monto_porpagar FROM ") + tabla(archivo) +
                             (archivo ? QStringLiteral(" v where (estatus=1 OR estatus=4  OR estatus=5)  and v.grupo='")
                                      : QStringLiteral(" v where (estatus=1 OR estatus=4 OR estatus=5)  and v.grupo='"));
    s += sqlTexto(db, grupo) + QStringLiteral("' and fecha  = '") + sqlTexto(db, f0) +
         (archivo ? QStringLiteral("' and  carrera = '") : QStringLiteral("'and carrera ='")) + sqlTexto(db, carrera);
    if (j.todos)
        return s + QStringLiteral("'  and v.id_moneda  = '") + sqlTexto(db, m) +
               (pagado ? QStringLiteral("'  group by  v.carrera") : QStringLiteral("' group by  v.carrera"));
    return s + (archivo && !pagado ? QStringLiteral("'and v.id_juego = '") : QStringLiteral("' and v.id_juego = '")) +
           sqlTexto(db, j.id) + QStringLiteral("'  and v.id_moneda  = '") + sqlTexto(db, m) +
           (archivo && !pagado ? QStringLiteral("'  group by  v.carrera") : QStringLiteral("' group by  v.carrera"));
}

// The sum of a statement that returns a row, taken as it comes; 0 when it returns none.
double sumaDeFila(const Resultado &r, const QString &columna) {
    return r.vacio() ? 0.0 : r.valor(0, columna).numero();
}

} // namespace

QString sentenciaPagadoCarrera(const BaseDatos &db, bool archivo, const QString &grupo, const QString &f0,
                               const QString &carrera, const QString &m, const JuegoElegido &j) {
    return sumaCarrera(db, archivo, true, grupo, f0, carrera, m, j);
}

QString sentenciaPorPagarCarrera(const BaseDatos &db, bool archivo, const QString &grupo, const QString &f0,
                                 const QString &carrera, const QString &m, const JuegoElegido &j) {
    return sumaCarrera(db, archivo, false, grupo, f0, carrera, m, j);
}

ResultadoProceso procesarCarreras(Contexto &ctx, const PeticionDia &p, Progreso *progreso) {
    ResultadoProceso r;
    r.moneda = etiquetaMoneda(ctx, ctx.sesion.id_moneda);
    if (!asegurarLocal(ctx, kPantalla)) {
        r.fin = FinProceso::SinBaseLocal;
        return r;
    }
    try {
        // 1.
        vaciarTabla(ctx, kTablaResultadosCarreras);
        ctx.abrir_configuracion();
        const QString f0 = fechaSql(p.fecha), w = fechaTrabajo(ctx);
        // 2.
        if (f0 > w) {
            ctx.dialogos.mensaje(kFechaPosterior, kTituloValidacion, Icono::Error);
            r.fin = FinProceso::Rechazado;
            return r;
        }
        // 3-4.
        const bool archivo = f0 < w;
        const QString g = ctx.sesion.grupo, m = QString::number(ctx.sesion.id_moneda);
        const JuegoElegido j = juegoElegido(ctx, p.juego);
        BaseDatos &central = ctx.central();
        const Resultado carreras = central.ejecutar(sentenciaCarreras(central, archivo, f0, g, m, j));
        // 5.
        const QString fecha = fechaPantalla(p.fecha);
        FilasLocales filas(ctx.local(), kTablaResultadosCarreras);
        for (int i = 0; i < carreras.filas(); ++i) {
            const QString c = carreras.valor(i, QStringLiteral("carrera")).texto();
            const QString gr = carreras.valor(i, QStringLiteral("grupo")).texto();
            const double jugado = carreras.valor(i, QStringLiteral("jugado")).numero();
            const double pagado = sumaDeFila(
                central.ejecutar(sentenciaPagadoCarrera(central, archivo, gr, f0, c, m, j)), QStringLiteral("monto_cobrado"));
            const double porPagar =
                sumaDeFila(central.ejecutar(sentenciaPorPagarCarrera(central, archivo, gr, f0, c, m, j)),
                           QStringLiteral("monto_porpagar"));
            filas.agregar({ctx.sesion.ch, fecha, c, textoNumero(jugado), textoNumero(pagado), textoNumero(porPagar),
                           textoNumero(jugado - pagado - porPagar), j.texto});
            if (progreso && !progreso->seguir(i + 1, carreras.filas())) {
                r.fin = FinProceso::Cancelado;
                return r;
            }
        }
        filas.escribir();
        // 6.
        return terminarProceso(ctx, filas.filas(), r.moneda);
    } catch (const std::exception &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("procesar"), e);
        ctx.abrir_central(ctx.sesion.cadena_central);
        ctx.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
        r.fin = FinProceso::Fallo;
        return r;
    }
}

} // namespace corvalo
