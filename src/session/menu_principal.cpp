#include "menu_principal.h"

#include "ajustes_impresion.h"
#include "registro.h"

namespace corvalo {

VisibilidadNivel visibilidadDe(const QString &nivel) {
    struct Fila {
        const char *nivel;
        VisibilidadNivel v;
    };
    //                                 gerencia reportes pantallas venta  salir
    static const Fila kMatriz[] = {
        {"Taquilla", {false, false, false, true, true}},
        {"Supervisor", {true, true, false, false, true}},
        {"Visor", {false, false, true, false, true}},
        {"Socio", {false, true, false, false, false}},
    };
    for (const Fila &f : kMatriz)
        if (nivel == QLatin1String(f.nivel))
            return f.v;
    return {false, false, false, true, true}; // "Operador" and every other level
}

bool copiarGrupo(Contexto &ctx) {
    const Resultado &g = ctx.rs_grupos;
    Sesion &s = ctx.sesion;
    for (int i = 0; i < g.filas(); ++i) {
        if (g.valor(i, QStringLiteral("grupo")).texto() != s.grupo)
            continue;
        s.ticket_cobro = g.valor(i, QStringLiteral("ticket_cobro")).entero();
        s.cupoviptf = g.valor(i, QStringLiteral("cupoviptf")).entero();
        s.name_empresa = g.valor(i, QStringLiteral("name_empresa")).texto();
        s.rif_empresa = g.valor(i, QStringLiteral("rif_empresa")).texto();
        s.direccion_empresa = g.valor(i, QStringLiteral("direccion_empresa")).texto();
        s.tlf_empresa = g.valor(i, QStringLiteral("tlf_empresa")).texto();
        s.mostrar_tf = g.valor(i, QStringLiteral("mostrar_tf")).entero();
        s.mostrar_pt = g.valor(i, QStringLiteral("mostrar_pt")).entero();
        return true;
    }
    return false;
}

CargaMenu cargarMenuPrincipal(Contexto &ctx, const QString &rutaAjustes) {
    CargaMenu c;
    const Sesion &s = ctx.sesion;
    c.caption = QStringLiteral("MENU PRINCIPAL -  ") + s.ch;
    c.visibilidad = visibilidadDe(s.nivel);
    try {
        const int mora = ctx.configuracion(QStringLiteral("mora")).entero();
        const QString mensaje = ctx.configuracion(QStringLiteral("mensaje")).texto();
        const QString web = ctx.configuracion(QStringLiteral("web")).texto();
        const int version = ctx.configuracion(QStringLiteral("version")).entero();
        const QString empresa = ctx.configuracion(QStringLiteral("empresa")).texto();
        const int pantalla1 = ctx.configuracion(QStringLiteral("pantalla1")).entero();
        const int pantalla2 = ctx.configuracion(QStringLiteral("pantalla2")).entero();
        const int tipopantalla = ctx.configuracion(QStringLiteral("tipopantalla")).entero();
        c.web = web;
        c.tipopantalla = tipopantalla;

        c.visor1 = pantalla1 != 0;
        c.visor2 = pantalla2 != 0;

        c.paneles[2] = empresa;
        c.paneles[3] = s.usuario;
        c.paneles[4] = s.nombre;
        c.paneles[5] = s.nivel;
        c.paneles[6] = s.ch;

        copiarGrupo(ctx);

        if (mora == 1 && (s.nivel == QLatin1String("Gerente") || s.nivel == QLatin1String("Administrador"))) {
            c.paneles[2] = mensaje;
            ctx.dialogos.mensaje(mensaje, kTituloMensajeAdmin, Icono::Error);
        }

        if (version > VERSION_PROGRAMA) {
            if (ctx.dialogos.pregunta(kOfertaVersion, kTituloOfertaVersion)) {
                ctx.maquina.abrirDireccion(web);
                c.terminar = true;
                return c;
            }
            c.mostrarDescargar = true;
        }

        leerAjustesImpresion(rutaAjustes, ctx.sesion);
    } catch (const std::exception &e) {
        // The window stays with what was set so far.
        registrarFalla(lcSesion(), &ctx.sesion, QStringLiteral("MENU PRINCIPAL"), QStringLiteral("carga"), e);
    }
    return c;
}

void Timer_Activo_Timer(Contexto &ctx) {
    try {
        ctx.abrir_configuracion();
    } catch (const std::exception &e) {
        registrarFalla(lcSesion(), &ctx.sesion, QStringLiteral("MENU PRINCIPAL"),
                       QStringLiteral("configuracion"), e);
    }
}

QString sentenciaSalida(const BaseDatos &db, const QString &usuario) {
    return QStringLiteral("update usuarios set mac='' where usuario ='") + sqlTexto(db, usuario) +
           QStringLiteral("' limit 1 ");
}

bool confirmarSalida(Contexto &ctx) {
    if (!ctx.dialogos.pregunta(kPreguntaSalida, kTituloSalir))
        return false;
    try {
        BaseDatos &db = ctx.central();
        db.ejecutar(sentenciaSalida(db, ctx.sesion.usuario));
    } catch (const std::exception &e) {
        // The program ends all the same.
        registrarFalla(lcSesion(), &ctx.sesion, QStringLiteral("MENU PRINCIPAL"), QStringLiteral("salida"),
                       e);
    }
    return true;
}

bool confirmarSalir(Contexto &ctx) {
    return ctx.dialogos.pregunta(kPreguntaSalir, kTituloSalir);
}

QPoint centrado(const QRect &pantalla, const QSize &ventana) {
    return {pantalla.left() + pantalla.width() / 2 - ventana.width() / 2,
            pantalla.top() + pantalla.height() / 2 - ventana.height() / 2};
}

QPoint centradoHorizontal(const QRect &pantalla, const QRect &marco) {
    return {pantalla.left() + pantalla.width() / 2 - marco.width() / 2, marco.top()};
}

QPoint centradoEnMarco(const QSize &exterior, const QSize &marco) {
    return {exterior.width() / 2 - marco.width() / 2, exterior.height() / 2 - marco.height() / 2};
}

} // namespace corvalo
