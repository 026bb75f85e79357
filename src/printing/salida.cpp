#include "salida.h"

#include "contexto.h"

#include <stdexcept>

namespace corvalo {

bool ServicioImpresion::elegirSalida(Contexto &ctx) {
    Sesion &s = ctx.sesion;
    if (s.puerto == QLatin1String("WINDOWS:"))
        s.puerto = QStringLiteral("\\\\") + ctx.maquina.nombreEquipo().left(32) + QStringLiteral("\\") +
                   ctx.maquina.impresoraPredeterminada().toUpper();
    return s.puerto == QLatin1String("WINDOWS2:");
}

void ServicioImpresion::imprimir(const Impreso &documento) {
    if (elegirSalida(ctx_)) {
        std::unique_ptr<ImpresoraSistema> imp = impresoras_.abrir();
        if (!imp)
            throw std::runtime_error("no printer");
        documento.dibujar(*imp);
        return;
    }
    puerto_.escribir(ctx_.sesion.puerto, documento.bytesPuerto());
}

} // namespace corvalo
