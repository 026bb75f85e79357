#include "conf_impresion.h"

#include "ajustes_impresion.h"
#include "registro.h"
#include "texto.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace corvalo {

bool muestraLetraYBarras(const QString &puerto) {
    return puerto == kPuertoSistema2;
}

VistaImpresion abrirConfImpresion(Sesion &sesion, const QString &ruta) {
    VistaImpresion v;
    if (!leerAjustesImpresion(ruta, sesion))
        return v;
    v.leido = true;
    v.puerto = sesion.puerto;
    v.impresion = sesion.impresion == 1 ? QStringLiteral("SI") : QStringLiteral("NO");
    v.extras = muestraLetraYBarras(sesion.puerto);
    if (v.extras) {
        v.tamletra = QString::number(sesion.tamletra);
        v.codbarras = sesion.codbarras == 1 ? QStringLiteral("SI") : QStringLiteral("NO");
    }
    return v;
}

int tamletraDe(const QString &texto) {
    const double d = std::nearbyint(numeroDe(texto)); // the default rounding: halves to even
    if (!std::isfinite(d) || d > std::numeric_limits<int>::max() || d < std::numeric_limits<int>::min())
        return 0;
    return int(d);
}

bool puertoValido(const QString &puerto) {
    return !puerto.contains(QLatin1Char('"')) && !puerto.contains(QLatin1Char('\r')) &&
           !puerto.contains(QLatin1Char('\n'));
}

bool guardarConfImpresion(Contexto &ctx, const QString &ruta, const QString &combo1, const QString &combo2,
                          const QString &combo3, const QString &combo4) {
    if (!puertoValido(combo2)) {
        ctx.dialogos.mensaje(kPuertoNoValido, kTituloConfiguracion, Icono::Error);
        return false;
    }
    Sesion &s = ctx.sesion;
    s.impresion = combo1 == QLatin1String("SI") ? 1 : 0;
    s.puerto = combo2;
    s.tamletra = tamletraDe(combo3);
    s.codbarras = combo4 == QLatin1String("SI") ? 1 : 0;
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QString motivo;
    if (!guardarAjustesImpresion(ruta, s, &motivo)) {
        registrarFalla(lcSesion(), &s, QStringLiteral("Form_ConfImpresion"),
                       QStringLiteral("guardar ") + ruta, motivo);
        return true;
    }
    ctx.dialogos.mensaje(kCambiosGuardados, kTituloConfiguracion, Icono::Informacion);
    return true;
}

} // namespace corvalo
