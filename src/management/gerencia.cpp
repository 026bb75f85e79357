#include "gerencia.h"

#include "registro.h"
#include "texto.h"

#include <cmath>

namespace corvalo {

QString etiquetaPuestoConsola(const QString &almacenado) {
    const QString t = almacenado.trimmed();
    if (t.isEmpty())
        return almacenado;
    // The deployment writes the odds with a decimal comma ("0,3").
    const double v = numeroDe(QString(t).replace(QLatin1Char(','), QLatin1Char('.')));
    static const std::pair<int, const char *> combinaciones[] = {
        {12, "1p2nini"}, {22, "2p2nini"}, {23, "2p3nini"}, {33, "3p3nini"},
        {34, "3p4nini"}, {44, "4p4nini"}, {45, "4p5nini"}, {55, "5p5nini"}};
    for (const auto &[codigo, texto] : combinaciones)
        if (v == codigo)
            return QLatin1String(texto);
    for (int n = 2; n <= 5; ++n)
        if (v == -n)
            return QStringLiteral("%1nini").arg(n);
    for (int d = 1; d <= 9; ++d)
        if (std::abs(v - d / 10.0) < 1e-9)
            return QStringLiteral("10/%1").arg(d);
    return almacenado;
}

QStringList listaTaquillas(const Resultado &usuarios, const QString &grupo) {
    QStringList out;
    for (int i = 0; i < usuarios.filas(); ++i) {
        if (usuarios.valor(i, QStringLiteral("grupo")).texto() != grupo)
            continue;
        const QString nivel = usuarios.valor(i, QStringLiteral("nivel")).texto();
        if (nivel == QLatin1String("Taquilla") || nivel == QLatin1String("Supervisor"))
            out << usuarios.valor(i, QStringLiteral("usuario")).texto();
    }
    out << kTodos;
    return out;
}

QStringList listaJuegos(const Resultado &juegos, bool conTodos) {
    QStringList out;
    for (int i = 0; i < juegos.filas(); ++i)
        out << juegos.valor(i, QStringLiteral("juego")).texto();
    if (conTodos)
        out << kTodos;
    return out;
}

QString idJuego(const Resultado &juegos, const QString &texto) {
    for (int i = 0; i < juegos.filas(); ++i)
        if (juegos.valor(i, QStringLiteral("juego")).texto() == texto)
            return juegos.valor(i, QStringLiteral("id_juego")).texto();
    return {};
}

QString juegoInicial(const Resultado &juegos) {
    for (int i = 0; i < juegos.filas(); ++i)
        if (juegos.valor(i, QStringLiteral("id_juego")).entero() == 1)
            return juegos.valor(i, QStringLiteral("juego")).texto();
    return juegos.vacio() ? QString() : juegos.valor(0, QStringLiteral("juego")).texto();
}

QString encabezadoTablas(const QString &idJuego) {
    return idJuego == QLatin1String("3") ? QStringLiteral("PUESTO") : QStringLiteral("TABLAS");
}

QStringList listaCarreras(bool conTodas) {
    QStringList out;
    if (conTodas)
        out << kTodas;
    for (int i = 1; i <= 16; ++i)
        out << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    out << QStringLiteral("00");
    for (int i = 201; i <= 216; ++i)
        out << QString::number(i);
    return out;
}

QString carreraDeLista(const QString &carrera) {
    const QString t = carrera.trimmed();
    bool digitos = !t.isEmpty();
    for (QChar c : t)
        digitos = digitos && c.unicode() >= '0' && c.unicode() <= '9';
    if (!digitos || t.toInt() >= 100)
        return carrera;
    return QStringLiteral("%1").arg(t.toInt(), 2, 10, QLatin1Char('0'));
}

bool todasLasCarreras(const QString &carreraInicial) {
    return carreraInicial.isEmpty() || carreraInicial == kTodas;
}

EstadoCarrera estadoCarrera(const Resultado &configuracion, Color colorAbierta) {
    EstadoCarrera e;
    e.carrera = configuracion.valor(0, QStringLiteral("carrera")).texto();
    e.fecha = fechaDeTexto(configuracion.valor(0, QStringLiteral("fecha")).texto());
    e.abierta = configuracion.valor(0, QStringLiteral("modificar")).entero() == 1;
    if (e.abierta) {
        e.color = colorAbierta;
    } else {
        e.estado = kCerrado;
        e.color = kRgbRojo;
    }
    return e;
}

CargaGerencia cargarGerencia(Contexto &ctx) {
    CargaGerencia c;
    try {
        ctx.abrir_configuracion();
        ctx.abrir_juegos();
        ctx.abrir_usuarios();
        c.juegos = listaJuegos(ctx.rs_juegos, false);
        c.juegosConTodos = listaJuegos(ctx.rs_juegos, true);
        c.juego = juegoInicial(ctx.rs_juegos);
        c.taquillas = listaTaquillas(ctx.rs_usuarios, ctx.sesion.grupo);
        c.fecha = fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
        c.carrera = ctx.configuracion(QStringLiteral("carrera")).texto();
        // 4, 5.
        c.mostrarMonedas = ctx.configuracion(QStringLiteral("multimoneda")).entero() != 0;
        c.estado = estadoCarrera(ctx.rs_configuracion, kRgbCarreraAbierta);
        c.conEstado = true;
        // Only two labels: further rows of monedas name no currency of the console.
        ctx.abrir_monedas();
        for (int i = 0; i < std::min(2, ctx.rs_monedas.filas()); ++i)
            c.monedas << ctx.rs_monedas.valor(i, QStringLiteral("moneda")).texto();
        // The caption is the one of the console currency (1) from the start, so amounts are
        // never shown in the other currency's format.
        c.mostrarMoneda2 = ctx.configuracion(QStringLiteral("dolar_activado")).entero() != 0;
        c.captionMoneda = c.monedas.value(0);
        c.completa = true;
    } catch (const std::exception &e) {
        registrarFalla(lcGerencia(), &ctx.sesion, kPantallaGerencia, QStringLiteral("abrir la consola"), e);
    }
    return c;
}

} // namespace corvalo
