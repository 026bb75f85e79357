#include "form_reportes.h"

#include "procesos.h"

#include <QLineEdit>

namespace corvalo {

namespace {
const QStringList kSoloSupervisor{QStringLiteral("Supervisor")};
} // namespace

Form_RPT_Ventas::Form_RPT_Ventas(Contexto &ctx, QWidget *parent)
    : PantallaReporte(ctx,
                      {"Form_RPT_Ventas", QStringLiteral("Resumen Venta "), QStringLiteral("&DESDE"),
                       QStringLiteral("&HASTA"), "Combo_grupo", QStringLiteral("HÍP&ICO"), false, true,
                       kSoloSupervisor, QStringLiteral("&JUEGO"), QStringLiteral("&Procesar "),
                       kReporteDiario},
                      parent) {
    QLineEdit **textos[] = {&Text1, &Text2, &Text3};
    for (int i = 0; i < 3; ++i) {
        *textos[i] = new QLineEdit(this);
        (*textos[i])->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        (*textos[i])->setReadOnly(true);
        (*textos[i])->setVisible(false);
    }
    Form_Load();
}

ResultadoProceso Form_RPT_Ventas::procesar(const FiltroReporte &f, Progreso *progreso) {
    ResultadoProceso r = procesarVentas(ctx_, f, progreso);
    Text1->setText(r.Text1);
    Text2->setText(r.Text2);
    Text3->setText(r.Text3);
    return r;
}

Form_RPT_CuadreTaqTF::Form_RPT_CuadreTaqTF(Contexto &ctx, QWidget *parent)
    : PantallaReporte(ctx,
                      {"Form_RPT_CuadreTaqTF", QStringLiteral("CUADRE POR TAQUILLA "),
                       QStringLiteral("&FECHA"), QString(), "Combo_grupo", QStringLiteral("HÍP&ICO"), true,
                       true, kSoloSupervisor, QStringLiteral("&JUEGO"), QStringLiteral("&Procesar "),
                       kReporteTaquillas},
                      parent) {
    Form_Load();
}

ResultadoProceso Form_RPT_CuadreTaqTF::procesar(const FiltroReporte &f, Progreso *progreso) {
    return procesarCuadreTaquillas(ctx_, f, progreso);
}

Form_RPT_ResultadosCarreras::Form_RPT_ResultadosCarreras(Contexto &ctx, QWidget *parent)
    : PantallaReporte(ctx,
                      {"Form_RPT_ResultadosCarreras", QStringLiteral("REPORTE RESULTADOS POR CARRERA "),
                       QStringLiteral("&Fecha"), QString(), "Combo_grupo", QStringLiteral("Híp&ico"), false,
                       true, kSoloSupervisor, QStringLiteral("&Juego"), QStringLiteral("&Procesar"),
                       kReporteCarreras},
                      parent) {
    Form_Load();
}

ResultadoProceso Form_RPT_ResultadosCarreras::procesar(const FiltroReporte &f, Progreso *progreso) {
    return procesarResultadosCarreras(ctx_, f, progreso);
}

Form_Bitacora::Form_Bitacora(Contexto &ctx, QWidget *parent)
    : PantallaReporte(ctx,
                      {"Form_Bitacora",
                       QStringLiteral("BOLETOS ELIMINADOS "),
                       QStringLiteral("&DESDE"),
                       QStringLiteral("&HASTA"),
                       "Combo_Hipicos",
                       QStringLiteral("Híp&ico"),
                       false,
                       false,
                       {QStringLiteral("Supervisor"), QStringLiteral("Taquilla"), QStringLiteral("Visor")},
                       QString(),
                       QStringLiteral("&Procesar"),
                       kReporteBitacora},
                      parent) {
    Form_Load();
}

ResultadoProceso Form_Bitacora::procesar(const FiltroReporte &f, Progreso *progreso) {
    return procesarBitacora(ctx_, f, progreso);
}

} // namespace corvalo
