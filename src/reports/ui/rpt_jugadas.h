// The report viewer "JUGADAS DEL DIA": the report chosen by Sesion.tipo_reporte over its local
// table, on screen (zoom, pages), to the system printer, as PDF and as CSV.
#pragma once

#include "contexto.h"
#include "definicion.h"

#include <QPrinter>
#include <QWidget>

#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QToolBar;

namespace corvalo {

class RPT_Jugadas : public QWidget {
    Q_OBJECT
public:
    // `carpeta`: the folder of the report files (Reportes beside the program).
    RPT_Jugadas(Contexto &ctx, const QString &carpeta, QWidget *parent = nullptr);
    ~RPT_Jugadas() override;

    // The two parameters a report may declare: "Parametro1" (text) and "Parametro2" (integer).
    QString parametroTexto;
    int parametroEntero = 0;

    QToolBar *barra;
    QPrintPreviewWidget *crViewer;
    QAction *accionImprimir, *accionPdf, *accionCsv, *accionAcercar, *accionAlejar, *accionAncho,
        *accionPagina, *accionPrimera, *accionAnterior, *accionSiguiente, *accionUltima, *accionCerrar;
    QLabel *Label_Pagina;

    // Opens the report of Sesion.tipo_reporte and shows it; a failure is shown and leaves the
    // viewer empty. True when the report is shown.
    bool Form_Load();
    bool cargado() const { return maqueta_ != nullptr; }
    const Maqueta *maqueta() const { return maqueta_.get(); }

    // Saving without asking for the file name; false with the message shown.
    bool guardarPdfEn(const QString &ruta);
    bool guardarCsvEn(const QString &ruta);

    void imprimir_Click();
    void pdf_Click();
    void csv_Click();

signals:
    void cerrada();

protected:
    void closeEvent(QCloseEvent *ev) override;

private:
    void pintar(QPrinter *impresora);
    void actualizarPagina();
    QString pieImpresion() const;
    Contexto &ctx_;
    QString carpeta_;
    QPrinter impresora_;
    std::unique_ptr<Maqueta> maqueta_;
};

// The folder Reportes beside the program.
QString carpetaReportes();

// Opens the viewer on report `tipo_reporte` (Sesion.tipo_reporte takes the value) as a window
// of its own over `parent`; it closes with Escape and deletes itself when closed.
RPT_Jugadas *abrirReporte(Contexto &ctx, int tipo_reporte, QWidget *parent, const QString &parametro1 = {},
                          int parametro2 = 0);

} // namespace corvalo
