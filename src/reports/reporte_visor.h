// What the report viewer loads: the report file chosen by Sesion.tipo_reporte, the rows of its
// local table and the laid-out report.
#pragma once

#include "reporte_documento.h"
#include "reporte_proceso.h"

#include <optional>

namespace corvalo {

inline const QString kArchivoFaltante =
    QStringLiteral("El archivo de reporte no se encuentra, restáurelo de los discos de instalación");

// The Reportes folder beside the program.
QString carpetaReportesPredeterminada();
// The title of the program's message boxes.
QString tituloAplicacion();

// What the opener of the viewer gives it.
struct PedidoVisor {
    QString moneda;     // label of the figures' currency; empty: the session's currency
    QString parametro1; // "Parametro1"
    int parametro2 = 0; // "Parametro2"
};

// The viewer's load: opens the file of Sesion.tipo_reporte in `carpeta`, reads its table on
// the local connection (opened when needed) and lays the report out. On failure the message
// (kArchivoFaltante for a missing file, the error's own text otherwise) is shown with the error
// icon and the program's title, and nothing comes back.
std::optional<DocumentoReporte> cargarVisor(Contexto &ctx, const QString &carpeta, const PedidoVisor &pedido);

} // namespace corvalo
