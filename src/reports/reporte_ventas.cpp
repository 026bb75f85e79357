#include "reporte_ventas.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("Form_RPT_Ventas");
}

QString sentenciaVentasCerrados(const BaseDatos &db, const QString &d, const QString &h, const QString &g,
                                const QString &m, const JuegoElegido &j) {
    const QString inicio = QStringLiteral("select * FROM ventas_general where fecha between '") + sqlTexto(db, d) +
                           QStringLiteral("' and '") + sqlTexto(db, h) + QStringLiteral("'  and grupo = '") +
                           sqlTexto(db, g);
    if (j.todos)
        return inicio + QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, m) + QStringLiteral("' ");
    return inicio + QStringLiteral("'   and id_juego = '") + sqlTexto(db, j.id) +
           QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, m) + QStringLiteral("'");
}

QString sentenciaVentasDia(const BaseDatos &db, const QString &h, const QString &g, const QString &m,
                           const JuegoElegido &j) {
    QString s = QStringLiteral("select grupo as grupo,sum(monto) as venta,fecha FROM ma_principal  where  fecha =  '") +
                sqlTexto(db, h) + QStringLiteral("' and grupo = '") + sqlTexto(db, g);
    if (!j.todos)
        s += QStringLiteral("'  and id_juego = '") + sqlTexto(db, j.id);
    return s + QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, m) + QStringLiteral("' group by grupo,fecha");
}

QString sentenciaPremiosDia(const BaseDatos &db, const QString &grupo, const QString &f, const QString &m,
                            const JuegoElegido &j) {
    QString s = QStringLiteral(
                    "SELECT sum(cobrado) as monto_cobrado FROM ma_principal where (estatus=2 OR estatus=3) and grupo='") +
                sqlTexto(db, grupo) + QStringLiteral("' and fecha  = '") + sqlTexto(db, f);
    if (!j.todos)
        s += QStringLiteral("' and id_juego = '") + sqlTexto(db, j.id);
    return s + QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, m) + QStringLiteral("'");
}

QString sentenciaPorPagarDia(const BaseDatos &db, const QString &grupo, const QString &f, const QString &m,
                             const JuegoElegido &j) {
    QString s = j.todos ? QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where "
                                         "(estatus=1 OR estatus=4 OR estatus=5) and grupo='")
                        : QStringLiteral("SELECT sum(cobrado) as monto_porpagar FROM ma_principal where "
                                         "(estatus=1 OR estatus=4  OR estatus=5) and grupo='");
    s += sqlTexto(db, grupo) + QStringLiteral("' and fecha=  '") + sqlTexto(db, f);
    if (!j.todos)
        s += QStringLiteral("'  and id_juego = '") + sqlTexto(db, j.id);
    return s + QStringLiteral("'  and id_moneda  = '") + sqlTexto(db, m) + QStringLiteral("'");
}

namespace {

// A database date as "YYYY-MM-DD"; a value that is no date is kept as it came.
QString fechaDeFila(const Campo &c) {
    const QDate d = fechaDeTexto(c.texto());
    return d.isValid() ? fechaSql(d) : c.texto();
}

} // namespace

ResultadoVentas procesarVentas(Contexto &ctx, const PeticionVentas &p, Progreso *progreso) {
    ResultadoVentas r;
    r.moneda = etiquetaMoneda(ctx, ctx.sesion.id_moneda);
    if (!asegurarLocal(ctx, kPantalla)) {
        r.fin = FinProceso::SinBaseLocal;
        return r;
    }
    try {
        // 1.
        vaciarTabla(ctx, kTablaDiario);
        ctx.abrir_configuracion();
        const QString w = fechaTrabajo(ctx);
        const QString d = fechaSql(p.desde), h = fechaSql(p.hasta);
        const QString g = ctx.sesion.grupo, m = QString::number(ctx.sesion.id_moneda);
        const JuegoElegido j = juegoElegido(ctx, p.juego);
        BaseDatos &central = ctx.central();
        // 2-4.
        const bool cerrados = d < w, dia = h == w;
        if (cerrados)
            r.text1 = sentenciaVentasCerrados(central, d, h, g, m, j);
        if (dia)
            r.text2 = sentenciaVentasDia(central, h, g, m, j);
        // 5.
        const Resultado filasCerradas = cerrados ? central.ejecutar(r.text1) : Resultado();
        const Resultado filasDia = dia ? central.ejecutar(r.text2) : Resultado();
        const int total = filasCerradas.filas() + filasDia.filas();
        const QString desde = fechaPantalla(p.desde), hasta = fechaPantalla(p.hasta);
        FilasLocales filas(ctx.local(), kTablaDiario);
        int hecho = 0;
        auto seguir = [&] { return !progreso || progreso->seguir(++hecho, total); };
        // 6. Closed days.
        for (int i = 0; i < filasCerradas.filas(); ++i) {
            auto v = [&](const char *c) { return filasCerradas.valor(i, QString::fromLatin1(c)); };
            const double saldo = v("saldo").numero() - v("monto_porpagar").numero();
            filas.agregar({centroDeGrupo(ctx, v("grupo").texto()), textoNumero(v("venta").numero()),
                           fechaDeFila(v("fecha")), ctx.sesion.ch, textoNumero(saldo),
                           textoNumero(v("premios").numero()), desde, hasta,
                           textoNumero(v("monto_porpagar").numero()), j.texto});
            if (!seguir()) {
                r.fin = FinProceso::Cancelado;
                return r;
            }
        }
        // 7. The working day.
        for (int i = 0; i < filasDia.filas(); ++i) {
            const QString grupo = filasDia.valor(i, QStringLiteral("grupo")).texto();
            const QString f = fechaDeFila(filasDia.valor(i, QStringLiteral("fecha")));
            const double venta = filasDia.valor(i, QStringLiteral("venta")).numero();
            r.text3 = sentenciaPremiosDia(central, grupo, f, m, j);
            const double premios = sumaPositiva(central.ejecutar(r.text3), QStringLiteral("monto_cobrado"));
            const double porPagar = sumaPositiva(central.ejecutar(sentenciaPorPagarDia(central, grupo, f, m, j)),
                                                 QStringLiteral("monto_porpagar"));
            filas.agregar({centroDeGrupo(ctx, grupo), textoNumero(venta), f, ctx.sesion.ch,
                           textoNumero(venta - premios - porPagar), textoNumero(premios), desde, hasta,
                           textoNumero(porPagar), j.texto});
            if (!seguir()) {
                r.fin = FinProceso::Cancelado;
                return r;
            }
        }
        filas.escribir();
        // 8.
        const ResultadoProceso fin = terminarProceso(ctx, filas.filas(), r.moneda);
        r.fin = fin.fin;
        r.filas = fin.filas;
    } catch (const std::exception &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("procesar"), e);
        ctx.dialogos.mensaje(kIntenteNuevamente, kTituloAdministracion, Icono::Error);
        r.fin = FinProceso::Fallo;
    }
    return r;
}

} // namespace corvalo
