#include "reporte_bitacora.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("Form_Bitacora");
}

QString sentenciaBitacora(const Contexto &ctx, const BaseDatos &db, const PeticionBitacora &p) {
    const QString d = fechaSql(p.desde), h = fechaSql(p.hasta), g = ctx.sesion.grupo;
    const QString c = p.centro;
    QString s = grupoDeCentro(ctx, c);
    if (s.isEmpty())
        s = g;
    const QString inicio = QStringLiteral("Select * from bitacora where fecha between '") + sqlTexto(db, d) +
                           QStringLiteral("' and '") + sqlTexto(db, h);
    if (ctx.sesion.nivel == QLatin1String("Supervisor"))
        return inicio + QStringLiteral("' and grupo ='") + sqlTexto(db, s) + QStringLiteral("' order by numero desc ");
    const QString propios = inicio + QStringLiteral("' and grupo = '") + sqlTexto(db, g) + QStringLiteral("' and estatus=5");
    if (c == QLatin1String("TODOS") || c == QLatin1String("Todos"))
        return propios + QStringLiteral(" order by numero desc ");
    return propios + QStringLiteral(" and grupo ='") + sqlTexto(db, s) + QStringLiteral("' order by numero desc ");
}

ResultadoProceso procesarBitacora(Contexto &ctx, const PeticionBitacora &p, Progreso *progreso) {
    ResultadoProceso r;
    if (!asegurarLocal(ctx, kPantalla)) {
        r.fin = FinProceso::SinBaseLocal;
        return r;
    }
    // The log mixes both currencies: its amounts are printed as plain numbers.
    try {
        // 1-2.
        BaseDatos &central = ctx.central();
        const Resultado entradas = central.ejecutar(sentenciaBitacora(ctx, central, p));
        // 3.
        vaciarTabla(ctx, kTablaBitacora);
        // 4.
        const QString desde = fechaPantalla(p.desde), hasta = fechaPantalla(p.hasta);
        FilasLocales filas(ctx.local(), kTablaBitacora);
        for (int i = 0; i < entradas.filas(); ++i) {
            auto texto = [&](const char *c) { return entradas.valor(i, QString::fromLatin1(c)).texto(); };
            auto numero = [&](const char *c) { return textoNumero(entradas.valor(i, QString::fromLatin1(c)).numero()); };
            // The local column is a date: it takes the entry's date as the database writes dates.
            const QDate fecha = fechaDeTexto(texto("fecha"));
            filas.agregar({numero("numero"), numero("carrera"), numero("caballo"), numero("tablas"), numero("monto"),
                           texto("taquilla"), texto("grupo"), texto("hora"), texto("nu_boleto"), numero("cobrado"),
                           texto("motivo"), texto("usuario"), texto("tipo_motivo"), numero("estatus"),
                           fecha.isValid() ? fechaSql(fecha) : QStringLiteral("0000-00-00"), desde, hasta});
            if (progreso && !progreso->seguir(i + 1, entradas.filas())) {
                r.fin = FinProceso::Cancelado;
                return r;
            }
        }
        filas.escribir();
        // 5.
        return terminarProceso(ctx, filas.filas(), r.moneda);
    } catch (const std::exception &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("procesar"), e);
        ctx.abrir_central(ctx.sesion.cadena_central);
        ctx.dialogos.mensaje(kIntenteNuevamente, kTituloSistema, Icono::Error);
        r.fin = FinProceso::Fallo;
        return r;
    }
}

} // namespace corvalo
