#include "reporte_taquillas.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("Form_RPT_CuadreTaqTF");
}

QString sentenciaTaquillas(const BaseDatos &db, bool archivo, const QString &f0, const QString &g,
                           const QString &m, const JuegoElegido &j) {
    const QString inicio = QStringLiteral("select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM ") +
                           (archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal")) +
                           QStringLiteral(" m where m.fecha =  '") + sqlTexto(db, f0) +
                           QStringLiteral("' and m.grupo = '") + sqlTexto(db, g);
    const QString mm = sqlTexto(db, m);
    if (archivo) {
        if (j.todos)
            return inicio + QStringLiteral("'   and m.id_moneda  = '") + mm +
                   QStringLiteral("' group by m.taquilla,m.fecha;");
        return inicio + QStringLiteral("' and m.id_juego = '") + sqlTexto(db, j.id) +
               QStringLiteral("'  and m.id_moneda  = '") + mm + QStringLiteral("'    group by m.taquilla,m.fecha;");
    }
    if (j.todos)
        return inicio + QStringLiteral("'   and m.id_moneda  = '") + mm +
               QStringLiteral("'  group by m.taquilla,m.fecha;");
    return inicio + QStringLiteral("'  and m.id_juego = '") + sqlTexto(db, j.id) +
           QStringLiteral("'  and m.id_moneda  = '") + mm + QStringLiteral("'   group by m.taquilla,m.fecha;");
}

namespace {

QString cierreTaquilla(const BaseDatos &db, bool archivo, bool pagado, const QString &m, const JuegoElegido &j) {
    if (j.todos)
        return (archivo && pagado ? QStringLiteral("'   and id_moneda  = '") : QStringLiteral("'  and id_moneda  = '")) +
               sqlTexto(db, m) + QStringLiteral("'");
    return (archivo ? QStringLiteral("'  and id_juego = '") : QStringLiteral("' and id_juego = '")) +
           sqlTexto(db, j.id) + QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, m) + QStringLiteral("'");
}

} // namespace

QString sentenciaPagadoTaquilla(const BaseDatos &db, bool archivo, const QString &taquilla, const QString &f,
                                const QString &m, const JuegoElegido &j) {
    return QStringLiteral("SELECT sum(cobrado) as monto_cobrado FROM ") +
           (archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal")) +
           QStringLiteral(" where (estatus=2 OR estatus=3) and taquilla='") + sqlTexto(db, taquilla) +
           QStringLiteral("' and fecha  = '") + sqlTexto(db, f) + cierreTaquilla(db, archivo, true, m, j);
}

QString sentenciaPorPagarTaquilla(const BaseDatos &db, bool archivo, const QString &taquilla, const QString &f,
                                  const QString &m, const JuegoElegido &j) {
    return QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ") +
           (archivo ? QStringLiteral("ventas") : QStringLiteral("ma_principal")) +
           QStringLiteral(" where (estatus=1 OR estatus=4 OR estatus=5) and taquilla='") + sqlTexto(db, taquilla) +
           QStringLiteral("' and fecha  = '") + sqlTexto(db, f) + cierreTaquilla(db, archivo, false, m, j);
}

ResultadoProceso procesarCuadreTaquillas(Contexto &ctx, const PeticionDia &p, Progreso *progreso) {
    ResultadoProceso r;
    r.moneda = etiquetaMoneda(ctx, ctx.sesion.id_moneda);
    if (!asegurarLocal(ctx, kPantalla)) {
        r.fin = FinProceso::SinBaseLocal;
        return r;
    }
    try {
        // 1.
        vaciarTabla(ctx, kTablaResultadosTaqs);
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
        const Resultado taquillas = central.ejecutar(sentenciaTaquillas(central, archivo, f0, g, m, j));
        // 5.
        FilasLocales filas(ctx.local(), kTablaResultadosTaqs);
        for (int i = 0; i < taquillas.filas(); ++i) {
            const QString b = taquillas.valor(i, QStringLiteral("taquilla")).texto();
            const QDate fecha = fechaDeTexto(taquillas.valor(i, QStringLiteral("fecha")).texto());
            const QString f = fechaSql(fecha);
            const double venta = taquillas.valor(i, QStringLiteral("venta")).numero();
            const double pagado = sumaPositiva(central.ejecutar(sentenciaPagadoTaquilla(central, archivo, b, f, m, j)),
                                               QStringLiteral("monto_cobrado"));
            const double porPagar =
                sumaPositiva(central.ejecutar(sentenciaPorPagarTaquilla(central, archivo, b, f, m, j)),
                             QStringLiteral("monto_porpagar"));
            filas.agregar({b, textoNumero(venta), fechaPantalla(fecha), ctx.sesion.ch, textoNumero(pagado),
                           textoNumero(porPagar), textoNumero(venta - pagado - porPagar), j.texto});
            if (progreso && !progreso->seguir(i + 1, taquillas.filas())) {
                r.fin = FinProceso::Cancelado;
                return r;
            }
        }
        filas.escribir();
        // 6.
        return terminarProceso(ctx, filas.filas(), r.moneda);
    } catch (const std::exception &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("procesar"), e);
        ctx.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
        r.fin = FinProceso::Fallo;
        return r;
    }
}

} // namespace corvalo
