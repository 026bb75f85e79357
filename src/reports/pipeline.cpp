#include "pipeline.h"

#include "bd_local.h"
#include "registro.h"
#include "texto.h"

namespace corvalo {

QString archivoReporte(int tipo_reporte) {
    switch (tipo_reporte) {
    case kReporteBitacora:
        return QStringLiteral("bitacora_tickets.rpt");
    case kReporteTaquillas:
        return QStringLiteral("resultados_taq.rpt");
    case kReporteCarreras:
        return QStringLiteral("resultados_carreras.rpt");
    case kReporteDiario:
        return QStringLiteral("diario.rpt");
    case kReporteJugadas:
        return QStringLiteral("jugadas.rpt");
    default:
        return {};
    }
}

bool asegurarLocal(Contexto &ctx, const QString &pantalla) {
    try {
        ctx.prepararLocal();
        return true;
    } catch (const DbError &e) {
        ctx.conexion_local.reset();
        registrarFalla(lcReportes(), &ctx.sesion, pantalla, QStringLiteral("abrir la base local"), e);
        // The server is there without the database: its creation is offered.
        if (e.baseDesconocida())
            return ofrecer_bd_local(ctx);
        ctx.dialogos.mensaje(kReportesSinBaseLocal + sinClaves(QString::fromUtf8(e.what())), kTituloBaseLocal,
                             Icono::Error);
    }
    return false;
}

QString textoJuego(const QString &selector) {
    return selector.isEmpty() ? QStringLiteral("TODOS") : selector;
}

QString idJuego(const Contexto &ctx, const QString &texto) {
    const Resultado &j = ctx.rs_juegos;
    for (int i = 0; i < j.filas(); ++i)
        if (j.valor(i, QStringLiteral("juego")).texto() == texto)
            return j.valor(i, QStringLiteral("id_juego")).texto();
    return {};
}

std::optional<QString> grupoDeCentro(const Contexto &ctx, const QString &ch) {
    const Resultado &g = ctx.rs_grupos;
    for (int i = 0; i < g.filas(); ++i)
        if (g.valor(i, QStringLiteral("ch")).texto() == ch)
            return g.valor(i, QStringLiteral("grupo")).texto();
    return std::nullopt;
}

QString centroDeGrupo(const Contexto &ctx, const QString &grupo) {
    const Resultado &g = ctx.rs_grupos;
    for (int i = 0; i < g.filas(); ++i)
        if (g.valor(i, QStringLiteral("grupo")).texto() == grupo)
            return g.valor(i, QStringLiteral("ch")).texto();
    return {};
}

QDate fechaTrabajo(const Contexto &ctx) {
    return fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
}

double sumaPositiva(const Resultado &r, const QString &columna) {
    if (r.vacio())
        return 0;
    const double v = r.valor(0, columna).numero();
    return v > 0 ? v : 0;
}

void anexarFilas(BaseDatos &local, const QString &tabla, const std::vector<ColumnaLocal> &columnas,
                 const std::vector<QStringList> &filas) {
    QString cabeza = QStringLiteral("INSERT INTO `") + tabla + QStringLiteral("` (");
    for (size_t c = 0; c < columnas.size(); ++c) {
        if (c)
            cabeza += QLatin1Char(',');
        cabeza += QLatin1Char('`') + QLatin1String(columnas[c].nombre) + QLatin1Char('`');
    }
    cabeza += QStringLiteral(") VALUES ");
    constexpr size_t kPorSentencia = 500;
    for (size_t inicio = 0; inicio < filas.size(); inicio += kPorSentencia) {
        QString sql = cabeza;
        const size_t fin = std::min(filas.size(), inicio + kPorSentencia);
        for (size_t f = inicio; f < fin; ++f) {
            const QStringList &fila = filas[f];
            sql += f == inicio ? QStringLiteral("(") : QStringLiteral(",(");
            for (size_t c = 0; c < columnas.size(); ++c) {
                QString v = fila.value(int(c));
                if (columnas[c].ancho > 0 && v.size() > columnas[c].ancho)
                    v.truncate(columnas[c].ancho);
                if (c)
                    sql += QLatin1Char(',');
                sql += QLatin1Char('\'') + sqlTexto(local, v) + QLatin1Char('\'');
            }
            sql += QLatin1Char(')');
        }
        local.ejecutar(sql);
    }
}

void vaciarTabla(BaseDatos &local, const QString &tabla) {
    local.ejecutar(QStringLiteral("DELETE from ") + tabla);
    local.ejecutar(QStringLiteral("select * from ") + tabla);
}

void mostrarAviso(Dialogos &dialogos, const ResultadoProceso &r) {
    if (r.aviso)
        dialogos.mensaje(r.aviso->texto, r.aviso->titulo, r.aviso->icono);
}

namespace {
struct Cancelado {};
} // namespace

void PasoProceso::vaciar() {
    vaciarTabla(ctx.local(), marco_.tabla);
}

QDate PasoProceso::diaDeTrabajo() {
    ctx.abrir_configuracion();
    return fechaTrabajo(ctx);
}

std::optional<QDate> PasoProceso::diaDeTrabajoDesde(const QDate &desde) {
    const QDate w = diaDeTrabajo();
    if (desde > w) {
        detener(kFechaPosterior, kTituloValidacion, Icono::Error);
        return std::nullopt;
    }
    return w;
}

ValoresComunes valoresComunes(const Contexto &ctx, BaseDatos &db, const FiltroReporte &f) {
    ValoresComunes v;
    v.G = sqlTexto(db, ctx.sesion.grupo);
    v.M = QString::number(ctx.sesion.id_moneda);
    v.juego = textoJuego(f.juego);
    v.todos = v.juego == QLatin1String("TODOS");
    if (!v.todos)
        v.J = sqlTexto(db, idJuego(ctx, v.juego));
    return v;
}

void PasoProceso::avanzar(int hecho, int total) {
    if (progreso_ && !progreso_->avanzar(hecho, total))
        throw Cancelado{};
}

std::nullopt_t PasoProceso::detener(const QString &texto, const QString &titulo, Icono icono) {
    r_.aviso = AvisoProceso{texto, titulo, icono};
    return std::nullopt;
}

ResultadoProceso ejecutarProceso(Contexto &ctx, const MarcoProceso &marco, Progreso *progreso,
                                 const SentenciasProceso &sentencias) {
    ResultadoProceso r;
    if (!asegurarLocal(ctx, marco.pantalla)) {
        r.fallo = true; // asegurarLocal said why
        return r;
    }
    try {
        PasoProceso paso(ctx, marco, r, progreso);
        const std::optional<Filas> filas = sentencias(paso, r);
        if (!filas)
            return r;
        anexarFilas(ctx.local(), marco.tabla, marco.columnas, *filas);
        r.filas = int(filas->size());
        r.imprimir = r.filas > 0;
        if (!r.imprimir)
            r.aviso = AvisoProceso{kSinRegistros, kTituloBusqueda, Icono::Informacion};
    } catch (const Cancelado &) {
        r.cancelado = true;
    } catch (const DbError &e) {
        registrarFalla(lcReportes(), &ctx.sesion, marco.pantalla, QStringLiteral("procesar"), e);
        // The print button hides, so what was left of an earlier process is not printed as
        // this one's.
        r.fallo = true;
        r.imprimir = false;
        if (marco.reconectar)
            ctx.abrir_central(ctx.sesion.cadena_central);
        r.aviso = AvisoProceso{kIntenteNuevamente, marco.tituloFalla, Icono::Error};
    }
    return r;
}

} // namespace corvalo
