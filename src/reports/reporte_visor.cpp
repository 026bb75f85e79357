#include "reporte_visor.h"

#include "registro.h"

#include <QCoreApplication>
#include <QDir>

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("RPT_Jugadas");
}

QString carpetaReportesPredeterminada() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Reportes"));
}

QString tituloAplicacion() {
    const QString nombre = QCoreApplication::applicationName();
    return nombre.isEmpty() ? QStringLiteral("Corvalo") : nombre;
}

std::optional<DocumentoReporte> cargarVisor(Contexto &ctx, const QString &carpeta, const PedidoVisor &pedido) {
    const int tipo = ctx.sesion.tipo_reporte;
    const QString archivo = archivoReporte(tipo);
    try {
        if (archivo.isEmpty())
            throw ErrorReporte(ErrorReporte::ArchivoFaltante, QStringLiteral("valor de reporte %1 sin archivo").arg(tipo));
        const DefinicionReporte d = abrirDefinicion(QDir(carpeta).filePath(archivo));
        if (!asegurarLocal(ctx, kPantalla))
            return std::nullopt;
        const Resultado filas = ctx.local().ejecutar(sentenciaDefinicion(d));
        ValoresReporte v;
        v.moneda = pedido.moneda.isEmpty() ? etiquetaMoneda(ctx, ctx.sesion.id_moneda) : pedido.moneda;
        v.parametro1 = pedido.parametro1;
        v.parametro2 = pedido.parametro2;
        v.impreso = ctx.reloj.ahora();
        return armarDocumento(d, filas, v);
    } catch (const ErrorReporte &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("abrir el reporte %1").arg(tipo), e);
        ctx.dialogos.mensaje(e.tipo == ErrorReporte::ArchivoFaltante ? kArchivoFaltante : QString::fromStdString(e.what()),
                             tituloAplicacion(), Icono::Error);
    } catch (const std::exception &e) {
        registrarFalla(lcReportes(), &ctx.sesion, kPantalla, QStringLiteral("leer el reporte %1").arg(tipo), e);
        ctx.dialogos.mensaje(sinClaves(QString::fromStdString(e.what())), tituloAplicacion(), Icono::Error);
    }
    return std::nullopt;
}

} // namespace corvalo
