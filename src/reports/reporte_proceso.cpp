#include "reporte_proceso.h"

#include "bd_local.h"
#include "registro.h"
#include "texto.h"

namespace corvalo {

QString archivoReporte(int tipo_reporte) {
    switch (tipo_reporte) {
    case kReporteJugadas:
        return QStringLiteral("jugadas.rpt");
    case kReporteBitacora:
        return QStringLiteral("bitacora_tickets.rpt");
    case kReporteTaquillas:
        return QStringLiteral("resultados_taq.rpt");
    case kReporteCarreras:
        return QStringLiteral("resultados_carreras.rpt");
    case kReporteDiario:
        return QStringLiteral("diario.rpt");
    default:
        return {};
    }
}

bool asegurarLocal(Contexto &ctx, const QString &pantalla) {
    if (ctx.conexion_local)
        return true;
    try {
        ctx.abrir_local();
        return true;
    } catch (const std::exception &e) {
        // A database without its tables is no better than none: offer to create it.
        ctx.conexion_local.reset();
        registrarFalla(lcReportes(), &ctx.sesion, pantalla, QStringLiteral("abrir la base local de reportes"), e);
    }
    try {
        ofrecer_bd_local(ctx);
    } catch (const std::exception &e) {
        ctx.conexion_local.reset();
        registrarFalla(lcReportes(), &ctx.sesion, pantalla, QStringLiteral("crear la base local de reportes"), e);
    }
    if (ctx.conexion_local)
        return true;
    ctx.dialogos.mensaje(kSinBaseLocal, kTituloSistema, Icono::Error);
    return false;
}

JuegoElegido juegoElegido(const Contexto &ctx, const QString &seleccion) {
    if (seleccion.isEmpty() || seleccion == kTodos)
        return {true, {}, kTodos};
    JuegoElegido j{false, {}, seleccion};
    const Resultado &r = ctx.rs_juegos;
    for (int i = 0; i < r.filas(); ++i) {
        if (r.valor(i, QStringLiteral("juego")).texto() == seleccion) {
            j.id = r.valor(i, QStringLiteral("id_juego")).texto();
            break;
        }
    }
    return j;
}

QString grupoDeCentro(const Contexto &ctx, const QString &ch) {
    const Resultado &r = ctx.rs_grupos;
    for (int i = 0; i < r.filas(); ++i)
        if (r.valor(i, QStringLiteral("ch")).texto() == ch)
            return r.valor(i, QStringLiteral("grupo")).texto();
    return {};
}

QString centroDeGrupo(const Contexto &ctx, const QString &grupo) {
    const Resultado &r = ctx.rs_grupos;
    for (int i = 0; i < r.filas(); ++i)
        if (r.valor(i, QStringLiteral("grupo")).texto() == grupo)
            return r.valor(i, QStringLiteral("ch")).texto();
    return {};
}

QStringList centrosOfrecidos(const Contexto &ctx, bool conTodos) {
    QStringList l;
    for (int i = 0; i < ctx.rs_grupos.filas(); ++i)
        l << ctx.rs_grupos.valor(i, QStringLiteral("ch")).texto();
    if (conTodos)
        l << kTodos;
    return l;
}

QStringList juegosOfrecidos(const Contexto &ctx) {
    QStringList l;
    for (int i = 0; i < ctx.rs_juegos.filas(); ++i)
        l << ctx.rs_juegos.valor(i, QStringLiteral("juego")).texto();
    l << kTodos;
    return l;
}

QString etiquetaMoneda(const Contexto &ctx, int id_moneda) {
    if (id_moneda < 1 || id_moneda > ctx.rs_monedas.filas() || !ctx.rs_monedas.tieneColumna(QStringLiteral("moneda")))
        return {};
    return ctx.rs_monedas.valor(id_moneda - 1, QStringLiteral("moneda")).texto();
}

QString fechaTrabajo(const Contexto &ctx) {
    const QDate d = fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
    if (!d.isValid())
        throw DbError(QStringLiteral("configuracion.fecha no es una fecha"));
    return fechaSql(d);
}

double sumaPositiva(const Resultado &r, const QString &columna) {
    if (r.vacio() || !r.tieneColumna(columna))
        return 0;
    const double v = r.valor(0, columna).numero();
    return v > 0 ? v : 0;
}

void leerMonedas(Contexto &ctx, CargaReporte &c) {
    ctx.abrir_monedas();
    c.monedas.clear();
    for (int i = 0; i < ctx.rs_monedas.filas() && i < 2; ++i)
        c.monedas << ctx.rs_monedas.valor(i, QStringLiteral("moneda")).texto();
    c.moneda2Visible = ctx.configuracion(QStringLiteral("dolar_activado")).entero() != 0;
    c.marcoMoneda = ctx.configuracion(QStringLiteral("multimoneda")).entero() != 0;
}

CargaReporte cargarPantallaReporte(Contexto &ctx, const QString &pantalla, bool conJuegos, bool conMoneda,
                                   const QStringList &nivelesSinCentro) {
    CargaReporte c;
    ctx.sesion.id_moneda = 1;
    c.centroVisible = !nivelesSinCentro.contains(ctx.sesion.nivel);
    try {
        if (conJuegos)
            ctx.abrir_juegos();
        if (conMoneda)
            leerMonedas(ctx, c);
    } catch (const std::exception &e) {
        registrarFalla(lcReportes(), &ctx.sesion, pantalla, QStringLiteral("cargar la pantalla"), e);
    }
    return c;
}

const TablaLocal kTablaDiario{QStringLiteral("rpt_diario"),
                              &Contexto::rs_rpt_diario,
                              {{QStringLiteral("ch"), 45},
                               {QStringLiteral("venta"), 0},
                               {QStringLiteral("fecha"), 0},
                               {QStringLiteral("chipico"), 45},
                               {QStringLiteral("saldo"), 0},
                               {QStringLiteral("premios"), 0},
                               {QStringLiteral("fecha_inicio"), 45},
                               {QStringLiteral("fecha_final"), 45},
                               {QStringLiteral("monto_porpagar"), 0},
                               {QStringLiteral("juego"), 25}}};

const TablaLocal kTablaResultadosTaqs{QStringLiteral("rpt_resultadostaqs"),
                                      &Contexto::rs_rpt_resultadostaqs,
                                      {{QStringLiteral("taquilla"), 45},
                                       {QStringLiteral("jugado"), 0},
                                       {QStringLiteral("fecha"), 45},
                                       {QStringLiteral("ch"), 45},
                                       {QStringLiteral("cobrado"), 0},
                                       {QStringLiteral("monto_porpagar"), 0},
                                       {QStringLiteral("total"), 0},
                                       {QStringLiteral("juego"), 25}}};

const TablaLocal kTablaResultadosCarreras{QStringLiteral("rpt_resultadoscarreras"),
                                          &Contexto::rs_rpt_resultadoscarreras,
                                          {{QStringLiteral("ch"), 45},
                                           {QStringLiteral("fecha"), 45},
                                           {QStringLiteral("carrera"), 0},
                                           {QStringLiteral("jugado"), 0},
                                           {QStringLiteral("cobrado"), 0},
                                           {QStringLiteral("monto_porpagar"), 0},
                                           {QStringLiteral("total"), 0},
                                           {QStringLiteral("juego"), 25}}};

const TablaLocal kTablaBitacora{QStringLiteral("rpt_bitacora"),
                                &Contexto::rs_rpt_bitacora,
                                {{QStringLiteral("numero"), 0},
                                 {QStringLiteral("carrera"), 0},
                                 {QStringLiteral("caballo"), 0},
                                 {QStringLiteral("tablas"), 0},
                                 {QStringLiteral("monto"), 0},
                                 {QStringLiteral("taquilla"), 15},
                                 {QStringLiteral("grupo"), 5},
                                 {QStringLiteral("hora"), 15},
                                 {QStringLiteral("nu_boleto"), 25},
                                 {QStringLiteral("cobrado"), 0},
                                 {QStringLiteral("motivo"), 255},
                                 {QStringLiteral("usuario"), 10},
                                 {QStringLiteral("tipo_motivo"), 15},
                                 {QStringLiteral("estatus"), 0},
                                 {QStringLiteral("fecha"), 0},
                                 {QStringLiteral("fecha_inicio"), 45},
                                 {QStringLiteral("fecha_final"), 45}}};

void vaciarTabla(Contexto &ctx, const TablaLocal &tabla) {
    BaseDatos &db = ctx.local();
    db.ejecutar(QStringLiteral("DELETE from ") + tabla.nombre);
    ctx.*tabla.recordset = db.ejecutar(QStringLiteral("select * from ") + tabla.nombre);
}

namespace {
constexpr int kFilasPorEnvio = 250;
}

void FilasLocales::agregar(const QStringList &valores) {
    if (valores.size() != tabla_.columnas.size())
        throw DbError(QStringLiteral("%1: %2 valores para %3 columnas")
                          .arg(tabla_.nombre)
                          .arg(valores.size())
                          .arg(tabla_.columnas.size()));
    QString fila = QStringLiteral("(");
    for (int i = 0; i < valores.size(); ++i) {
        const int largo = tabla_.columnas[i].largo;
        const QString v = largo > 0 ? valores[i].left(largo) : valores[i];
        if (i > 0)
            fila += QLatin1Char(',');
        fila += QLatin1Char('\'') + sqlTexto(db_, v) + QLatin1Char('\'');
    }
    fila += QLatin1Char(')');
    pendientes_ << fila;
    ++filas_;
    if (pendientes_.size() >= kFilasPorEnvio)
        escribir();
}

void FilasLocales::escribir() {
    if (pendientes_.isEmpty())
        return;
    QStringList nombres;
    for (const ColumnaLocal &c : tabla_.columnas)
        nombres << QLatin1Char('`') + c.nombre + QLatin1Char('`');
    const QString sql = QStringLiteral("INSERT INTO `") + tabla_.nombre + QStringLiteral("` (") +
                        nombres.join(QLatin1Char(',')) + QStringLiteral(") VALUES ") +
                        pendientes_.join(QLatin1Char(','));
    pendientes_.clear();
    db_.ejecutar(sql);
}

ResultadoProceso terminarProceso(Contexto &ctx, int filas, const QString &moneda) {
    if (filas > 0)
        return {FinProceso::ConFilas, filas, moneda};
    ctx.dialogos.mensaje(kSinRegistros, kTituloBusqueda, Icono::Informacion);
    return {FinProceso::SinFilas, 0, moneda};
}

} // namespace corvalo
