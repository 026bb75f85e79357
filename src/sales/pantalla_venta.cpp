#include "pantalla_venta.h"

#include "texto.h"

#include <cmath>

namespace corvalo {

AspectoJuego aspectoDe(int juego, bool desdeMenu) {
    switch (juego) {
    case 2:
        return {2, QStringLiteral("VENTA TABLA FIJA"), kColorTablaFija, QStringLiteral("Nº DE TABLAS"),
                false};
    case 3:
        return {3, QStringLiteral("VENTA PUESTOS"), kColorPuestos, QStringLiteral("MONTO"), true};
    case 4:
        return {4, QStringLiteral("VENTA MARCAS"), kColorMarcas, QStringLiteral("MONTO"), false};
    default:
        return {1,
                desdeMenu ? QStringLiteral("VENTA TABLA DINAMICAS") : QStringLiteral("VENTA TABLA DINAMICA"),
                kColorTablasDinamicas, QStringLiteral("Nº DE TABLAS"), false};
    }
}

AspectoJuego aspectoReinicio() {
    return {0, QStringLiteral("VENTA TABLA DINAMICAS"), kColorReinicio, QStringLiteral("Nº DE TABLAS"),
            false};
}

std::optional<Aviso> permisoJuego(int juego, const Sesion &s) {
    if ((juego == 2 && s.mostrar_tf != 1) || (juego == 3 && s.mostrar_pt != 1))
        return Aviso{QStringLiteral(" No tiene permiso para este juego"),
                     QStringLiteral("Llamar administracion si desea activarlo")};
    return std::nullopt;
}

CargaVenta cargarVenta(Contexto &ctx, const QString &bannerDisenado) {
    CargaVenta c;
    ctx.abrir_configuracion();
    ctx.sesion.id_moneda = 1;
    ctx.abrir_hipodromos();
    auto conf = [&](const char *n) { return ctx.configuracion(QLatin1String(n)); };
    conf("juego");
    const int j1 = conf("juego1").entero(), j2 = conf("juego2").entero(), j3 = conf("juego3").entero();
    c.juego = j1 == 1 ? 1 : (j2 != 1 ? 3 : 2);
    c.mostrarDinamicas = j1 != 0;
    c.mostrarTablaFija = j2 != 0;
    c.mostrarPuestos = j3 != 0;
    c.banner = bannerDisenado + QStringLiteral("    ") + ctx.sesion.ch + QStringLiteral("  ");
    c.mostrarMonedas = conf("multimoneda").entero() != 0;
    c.administrador = QStringLiteral("Admin: ") + conf("nu_administrador").texto();
    c.tecnico = QStringLiteral("Técnico: ") + conf("nu_tecnico").texto();
    ctx.abrir_monedas();
    if (ctx.rs_monedas.filas() > 0)
        c.moneda1 = ctx.rs_monedas.valor(0, QStringLiteral("moneda")).texto();
    if (ctx.rs_monedas.filas() > 1)
        c.moneda2 = ctx.rs_monedas.valor(1, QStringLiteral("moneda")).texto();
    if (conf("dolar_activado").entero() == 0) {
        c.mostrarMoneda2 = false;
        c.nombre_moneda = c.moneda1;
    }
    return c;
}

EstadoVenta refrescarEstado(Contexto &ctx, const QString &abierta) {
    ctx.abrir_configuracion();
    auto conf = [&](const char *n) { return ctx.configuracion(QLatin1String(n)); };
    EstadoVenta e;
    const int modificar = ctx.configuracion(abierta).entero();
    e.mensaje = conf("mensajetf").texto();
    e.administrador = QStringLiteral("Admin: ") + conf("nu_administrador").texto();
    e.tecnico = QStringLiteral("Técnico: ") + conf("nu_tecnico").texto();
    const QString carrera = conf("carrera").texto();
    e.abierta = modificar == 1;
    if (e.abierta) {
        e.colorEstado = kColorTablaFija;
        e.carrera = carrera;
    } else {
        e.estado = QStringLiteral("CERRADO");
        e.colorEstado = kRojo;
        // The message of the sale (mensajetf, "... ABIERTA HASTA LA SALIDA") would contradict it.
        e.mensaje.clear();
    }
    return e;
}

bool usuarioSuspendido(Contexto &ctx) {
    BaseDatos &db = ctx.central();
    const Resultado r = db.ejecutar(QStringLiteral("SELECT  estatus FROM usuarios Where usuario = '") +
                                    sqlTexto(db, ctx.sesion.usuario) + QStringLiteral("' "));
    return !r.vacio() && r.valor(0, QStringLiteral("estatus")).texto() == QLatin1String("Baja");
}

namespace {

Resultado caballosDeCarrera(Contexto &ctx, const QString &columnas, PanelCaballos &p) {
    ctx.abrir_configuracion();
    BaseDatos &db = ctx.central();
    const QString carrera = ctx.configuracion(QStringLiteral("carrera")).texto();
    const QString fecha = fechaSql(fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto()));
    p.carrera = QStringLiteral("C:  ") + carrera;
    return db.ejecutar(QStringLiteral("SELECT ") + columnas +
                       QStringLiteral(" FROM carreras Where carrera = '") + sqlTexto(db, carrera) +
                       QStringLiteral("' and fecha = '") + sqlTexto(db, fecha) +
                       QStringLiteral("'  order by id_carrera "));
}

} // namespace

PanelCaballos Cuadrar(Contexto &ctx, int juego) {
    PanelCaballos p;
    const Resultado r = caballosDeCarrera(
        ctx,
        QStringLiteral("id_carrera ,fecha,carrera,caballo,valor_tf,retirado,valor_td,valor_td2,valor_tf2"),
        p);
    const bool segunda = ctx.sesion.id_moneda == 2;
    const QString columna = juego == 2 ? (segunda ? QStringLiteral("valor_tf2") : QStringLiteral("valor_tf"))
                                       : (segunda ? QStringLiteral("valor_td2") : QStringLiteral("valor_td"));
    double suma = 0;
    p.filas = std::min(r.filas(), 16);
    for (int i = 0; i < p.filas; ++i) {
        p.caballos[std::size_t(i)] = r.valor(i, QStringLiteral("retirado")).entero() == 1
                                         ? kRetirado
                                         : r.valor(i, QStringLiteral("caballo")).texto();
        const double v = r.valor(i, columna).numero();
        p.valores[std::size_t(i)] = textoNumero(v);
        suma += v;
    }
    auto conf = [&](const char *n) { return ctx.configuracion(QLatin1String(n)); };
    if (juego == 2) {
        p.total = conf("pantalla_tf").entero() == 1
                      ? textoNumero(suma - suma * conf("por_tablafija").numero() / 100)
                      : conf(segunda ? "valortablafija2" : "valortablafija").texto();
    } else {
        p.total = conf("pantalla_td").entero() == 1
                      ? textoNumero(suma - suma * conf("por_td").numero() / 100)
                      : conf(segunda ? "valor_tabladinamica2" : "valor_tabladinamica").texto();
    }
    return p;
}

QString puestoCorto(double v) {
    static const std::pair<int, const char *> combinaciones[] = {{12, "1P 2N"}, {22, "2P 2N"}, {23, "2P 3N"},
                                                                 {33, "3P 3N"}, {34, "3P 4N"}, {44, "4P 4N"},
                                                                 {45, "4P 5N"}, {55, "5P 5N"}};
    for (int d = 1; d <= 9; ++d)
        if (std::abs(v - d / 10.0) < 1e-9)
            return QStringLiteral("10/%1").arg(d);
    for (int n = 1; n <= 5; ++n)
        if (v == -n)
            return QStringLiteral("%1N").arg(n);
    for (const auto &[valor, texto] : combinaciones)
        if (v == valor)
            return QLatin1String(texto);
    return textoNumero(v);
}

PanelCaballos CuadrarPT(Contexto &ctx) {
    PanelCaballos p;
    const Resultado r =
        caballosDeCarrera(ctx, QStringLiteral("id_carrera ,fecha,carrera,caballo,puesto,retirado"), p);
    p.filas = std::min(r.filas(), 16);
    for (int i = 0; i < p.filas; ++i) {
        const bool retirado = r.valor(i, QStringLiteral("retirado")).entero() == 1;
        p.caballos[std::size_t(i)] = retirado ? kRetirado : r.valor(i, QStringLiteral("caballo")).texto();
        p.valores[std::size_t(i)] =
            retirado ? QStringLiteral("0") : puestoCorto(r.valor(i, QStringLiteral("puesto")).numero());
    }
    return p;
}

} // namespace corvalo
