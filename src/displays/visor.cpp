#include "visor.h"

#include "moneda.h"
#include "texto.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace corvalo {

int redondeoPar(double x) {
    double entero = std::floor(x);
    const double resto = x - entero;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(entero, 2.0) != 0.0))
        entero += 1.0;
    return int(entero);
}

Color colorConsola(int numero) {
    static constexpr Color paleta[16] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                         {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                         {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                         {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    return paleta[std::clamp(numero, 0, 15)];
}

Color colorAleatorio(AzarVisor &azar) {
    return colorConsola(redondeoPar(15.0 * azar.uniforme()));
}

namespace {

// A pick among `n` choices, uniform in r.
int eleccion(AzarVisor &azar, int n) {
    return std::clamp(int(std::floor(azar.uniforme() * n)), 0, n - 1);
}

} // namespace

Color colorMensajeAleatorio(AzarVisor &azar) {
    // Black, navy, green, teal, maroon, purple and blue: all of them read on white.
    static constexpr int kSobreBlanco[] = {0, 1, 2, 3, 4, 5, 9};
    return colorConsola(kSobreBlanco[eleccion(azar, int(std::size(kSobreBlanco)))]);
}

ColoresRotulo parAleatorio(AzarVisor &azar) {
    // Text and background by console colour number: dark on light and light on dark, every pair
    // far enough apart in lightness to be read from across the room.
    static constexpr std::pair<int, int> kPares[] = {
        {0, 7},  {0, 10}, {0, 11}, {0, 12}, {0, 13}, {0, 14}, {0, 15}, {1, 7},  {1, 10}, {1, 11}, {1, 14},
        {1, 15}, {4, 7},  {4, 10}, {4, 11}, {4, 14}, {4, 15}, {5, 7},  {5, 10}, {5, 11}, {5, 14}, {5, 15},
        {9, 10}, {9, 11}, {9, 14}, {9, 15}, {15, 0}, {15, 1}, {15, 2}, {15, 4}, {15, 5}, {15, 9}, {14, 0},
        {14, 1}, {14, 4}, {14, 5}, {14, 9}, {10, 0}, {10, 1}, {10, 4}, {11, 0}, {11, 1}, {11, 4}};
    const auto [texto, fondo] = kPares[eleccion(azar, int(std::size(kPares)))];
    return {colorConsola(texto), colorConsola(fondo)};
}

int rotarJuego(TipoVisor tipo, AzarVisor &azar) {
    return redondeoPar((tipo == TipoVisor::Triple ? 2.0 : 1.0) * azar.uniforme());
}

QString textoBanner(int juego) {
    switch (juego) {
    case 0:
        return QStringLiteral(":.. TABLA FIJA ..:");
    case 1:
        return QStringLiteral(":.. LOS PUESTOS ..:");
    default:
        return QStringLiteral(":.. TABLAS DINAMICAS ..:");
    }
}

ColoresBanner coloresBanner(TipoVisor tipo, int juego, AzarVisor &azar) {
    auto aleatorio = [&azar] { return parAleatorio(azar); };
    ColoresBanner c;
    c.barner = aleatorio();
    c.td = {kAzulTD, kGrisVisor};
    c.tf = {kRojoTF, kGrisVisor};
    c.pt = {kVerdePT, kGrisVisor};
    if (juego == 0)
        c.tf = aleatorio();
    else if (juego == 1)
        c.pt = aleatorio();
    else if (juego == 2 && tipo == TipoVisor::Triple)
        c.td = aleatorio();
    return c;
}

QString etiquetaPuestoVisor(const QString &almacenado) {
    static const std::pair<int, const char *> combinaciones[] = {{12, "1P 2N"}, {22, "2P 2N"}, {23, "2P 3N"},
                                                                 {33, "3P 3N"}, {34, "3P 4N"}, {44, "4P 4N"},
                                                                 {45, "4P 5N"}, {55, "5P 5N"}};
    const double v = numeroDe(almacenado);
    for (int d = 1; d <= 9; ++d)
        if (std::abs(v - d / 10.0) < 1e-9)
            return QStringLiteral("10/%1").arg(d);
    for (int n = 1; n <= 5; ++n)
        if (v == -n)
            return QStringLiteral("%1N").arg(n);
    for (const auto &[valor, texto] : combinaciones)
        if (v == valor)
            return QLatin1String(texto);
    return almacenado;
}

Flecha flechaDe(const QString &referencia, const QString &precio) {
    const double antes = numeroDe(referencia), ahora = numeroDe(precio);
    if (antes == 0 || ahora == 0 || ahora == antes)
        return Flecha::Ninguna;
    return ahora > antes ? Flecha::Arriba : Flecha::Abajo;
}

void cambiarRetirado(TableroVisor &t, int i, const QString &valor) {
    FilaVisor &f = t.filas[std::size_t(i)];
    if (f.retirado == valor)
        return;
    f.retirado = valor;
    const bool doble = t.tipo == TipoVisor::Doble;
    if (numeroDe(valor) == 1) {
        f.bannerRetirado = true;
        if (doble)
            f.jineteVisible = false;
    } else {
        f.bannerRetirado = false;
        if (doble)
            f.jineteVisible = true;
        cambiarRetirado(t, i, QStringLiteral("0"));
    }
}

void cambiarDinamica(TableroVisor &t, int i, const QString &valor) {
    FilaVisor &f = t.filas[std::size_t(i)];
    if (f.dinamica == valor)
        return;
    f.dinamica = valor;
    f.flecha = flechaDe(f.referencia, valor);
}

void limpiarTablero(TableroVisor &t, int modificar) {
    const bool triple = t.tipo == TipoVisor::Triple;
    for (int i = 0; i < t.filasUsadas(); ++i) {
        FilaVisor &f = t.filas[std::size_t(i)];
        f.idCaballo.clear();
        f.caballo.clear();
        if (triple)
            cambiarDinamica(t, i, QString());
        f.tablaFija.clear();
        f.puesto.clear();
        cambiarRetirado(t, i, QString());
        if (!triple) {
            f.jineteVisible = false;
            f.jinete.clear();
        }
        if (modificar == 0)
            f.referencia.clear();
    }
}

namespace {

// The pool total of a column: its numbers less the percentage.
QString totalColumna(const TableroVisor &t, QString FilaVisor::*columna, double porcentaje) {
    double x = 0;
    for (int i = 0; i < t.filasUsadas(); ++i)
        x += numeroDe(t.filas[std::size_t(i)].*columna);
    return textoMonto(x - x * porcentaje / 100);
}

// A price or a pool set by the back-office, as money is shown; nothing stays nothing.
QString monto(const QString &almacenado) {
    return almacenado.trimmed().isEmpty() ? QString() : textoMonto(numeroDe(almacenado));
}

} // namespace

ResultadoCuadre cuadrarTablero(Contexto &ctx, TableroVisor &t) {
    const bool triple = t.tipo == TipoVisor::Triple;
    try {
        // The settings, re-read.
        ctx.abrir_configuracion();
        auto conf = [&ctx](const char *columna) { return ctx.configuracion(QLatin1String(columna)); };
        const QString fecha = fechaSql(fechaDeTexto(conf("fecha").texto()));
        const QString carrera = conf("carrera").texto();
        t.carrera = QStringLiteral("C:  ") + carrera;
        const int mostrartf = conf("mostrartf").entero();
        const int mostrarpt = conf("mostrar_pt").entero();
        const int mostrartd = triple ? conf("mostrartd").entero() : 0;
        const int modificar = conf("modificar").entero();
        const QString mensajeclientes = conf("mensajeclientes").texto();

        // The group's own message (none when the group has no row).
        BaseDatos &db = ctx.central();
        const Resultado grupo = db.ejecutar(QStringLiteral("select mensajech from grupos where grupo='") +
                                            sqlTexto(db, ctx.sesion.grupo) + QLatin1Char('\''));
        const QString mensajech =
            grupo.vacio() ? QString() : grupo.valor(0, QStringLiteral("mensajech")).texto();

        // The closed-race message: the message for every group before the group's own.
        if (modificar == 0 && (!mensajeclientes.isEmpty() || !mensajech.isEmpty())) {
            t.mensajeVisible = true;
            t.fondoVentana = kAzulMensaje;
            t.cicloMensaje = true;
            t.mensaje = mensajeclientes.isEmpty() ? mensajech : mensajeclientes;
        } else {
            t.mensajeVisible = false;
            t.cicloMensaje = false;
            t.fondoVentana = kBlancoVisor;
        }

        // Open or closed.
        const bool abierta = modificar == 1;
        t.estado = abierta ? QString() : kCerrado;
        t.fondoEstado = abierta ? kBlancoVisor : kRojoVisor;
        t.estadoVisible = triple || !abierta;

        limpiarTablero(t, modificar);

        // The race card in its order.
        const Resultado card = db.ejecutar(QStringLiteral("SELECT * FROM carreras Where carrera = '") +
                                           sqlTexto(db, carrera) + QStringLiteral("' and fecha = '") +
                                           sqlTexto(db, fecha) + QStringLiteral("'  order by id_carrera "));

        // The board's height goes to the race's horses.
        t.filasMostradas = std::clamp(card.filas(), kFilasMinimas, t.filasUsadas());

        // One row per horse, in the prices of the session's currency.
        const bool primera = ctx.sesion.id_moneda == 1;
        auto valor = [&card](int fila, const char *columna) {
            return card.valor(fila, QLatin1String(columna)).texto();
        };
        for (int i = 0; i < card.filas(); ++i) {
            if (i >= t.filasUsadas()) {
                // The board holds no more horses: no total can stand for the whole race.
                if (triple)
                    t.total.clear();
                t.total2.clear();
                return {ResultadoCuadre::Fin::Desborde,
                        QStringLiteral("la carrera %1 tiene %2 caballos y el tablero %3")
                            .arg(carrera)
                            .arg(card.filas())
                            .arg(t.filasUsadas())};
            }
            FilaVisor &f = t.filas[std::size_t(i)];
            const QString id = valor(i, "id_carrera");
            f.idCaballo = id;
            f.caballo = valor(i, "caballo");
            if (!triple) {
                f.jinete = valor(i, "jinete");
                f.jineteVisible = true;
            }
            const QString td = triple ? monto(valor(i, primera ? "valor_td" : "valor_td2")) : QString();
            const QString tf = monto(valor(i, primera ? "valor_tf" : "valor_tf2"));
            const QString puesto = etiquetaPuestoVisor(valor(i, primera ? "puesto" : "puesto2"));
            cambiarRetirado(t, i, valor(i, "retirado"));
            if (triple && mostrartd == 1) {
                // The reference price belongs to the horse it was taken for: a row that now holds
                // another horse (the race changed while open) takes its reference afresh.
                if (f.idReferencia != id)
                    f.referencia.clear();
                cambiarDinamica(t, i, td);
                if (f.referencia.isEmpty()) {
                    f.referencia = td;
                    f.idReferencia = id;
                }
            }
            if (mostrartf == 1 && ctx.sesion.mostrar_tf == 1)
                f.tablaFija = tf;
            if (mostrarpt == 1 && ctx.sesion.mostrar_pt == 1)
                f.puesto = puesto;
        }

        // The TD pool.
        if (triple) {
            if (conf("pantalla_td").entero() == 1)
                t.total = totalColumna(t, &FilaVisor::dinamica, conf("por_td").numero());
            else
                t.total = monto(conf(primera ? "valor_tabladinamica" : "valor_tabladinamica2").texto());
        }
        // The TF pool, in the board's currency.
        if (conf("pantalla_tf").entero() == 1)
            t.total2 = totalColumna(t, &FilaVisor::tablaFija, conf("por_tablafija").numero());
        else
            t.total2 = monto(conf(primera ? "valortablafija" : "valortablafija2").texto());
        return {};
    } catch (const std::exception &e) {
        return {ResultadoCuadre::Fin::Falla, QString::fromUtf8(e.what())};
    }
}

AperturaVisor abrirVisor(Contexto &ctx, TableroVisor &t) {
    AperturaVisor a;
    try {
        // The banner as the settings name it (the double board re-reads them first).
        if (t.tipo == TipoVisor::Doble)
            ctx.abrir_configuracion();
        a.banner = ctx.configuracion(QStringLiteral("juego")).texto();
    } catch (const std::exception &e) {
        a.error = QString::fromUtf8(e.what());
        return a;
    }
    // 3, 4.
    a.mostrarPT = ctx.sesion.mostrar_pt != 0;
    a.mostrarTF = ctx.sesion.mostrar_tf != 0;
    a.fondoTablero = ctx.sesion.id_moneda == 1 ? kVerdeMoneda1 : kVerdeMoneda2;
    a.cuadre = cuadrarTablero(ctx, t);
    // The currency's name.
    try {
        ctx.abrir_monedas();
        a.moneda = ctx.rs_monedas.valor(ctx.sesion.id_moneda == 1 ? 0 : 1, QStringLiteral("moneda")).texto();
    } catch (const std::exception &e) {
        a.error = QString::fromUtf8(e.what());
    }
    return a;
}

ComprobacionUsuario comprobarUsuario(Contexto &ctx) {
    try {
        BaseDatos &db = ctx.central();
        const Resultado r = db.ejecutar(QStringLiteral("SELECT  estatus FROM usuarios Where usuario = '") +
                                        sqlTexto(db, ctx.sesion.usuario) + QStringLiteral("' "));
        if (r.vacio())
            return {ComprobacionUsuario::Estado::Desconocido,
                    QStringLiteral("el usuario no está en usuarios")};
        return {r.valor(0, QStringLiteral("estatus")).texto() == QLatin1String("Baja")
                    ? ComprobacionUsuario::Estado::Suspendido
                    : ComprobacionUsuario::Estado::Activo,
                {}};
    } catch (const std::exception &e) {
        return {ComprobacionUsuario::Estado::Desconocido, QString::fromUtf8(e.what())};
    }
}

} // namespace corvalo
