// The report viewer: the report chosen by Sesion.tipo_reporte over its local table, on screen
// (zoom, pages), to the system printer (the pages chosen in the print dialog), as PDF and as CSV.
// Its title names the report it shows.
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
    // The values of the run that filled the table ({moneda}, {juego}, {desde}, {hasta},
    // {centro}); they win over the session's, which may have changed since.
    QMap<QString, QString> valoresCorrida;
    // The administrator's folder of local reports: a file there wins over the packaged one of
    // the same name (empty: none).
    QString carpetaLocal;

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
// The administrator's own report files, kept across upgrades: /etc/corvalo/Reportes.
QString carpetaReportesLocales();

// Opens the viewer on report `tipo_reporte` (Sesion.tipo_reporte takes the value) as a window
// of its own over `parent`; it closes with Escape and deletes itself when closed.
RPT_Jugadas *abrirReporte(Contexto &ctx, int tipo_reporte, QWidget *parent, const QString &parametro1 = {},
                          int parametro2 = 0, const QMap<QString, QString> &corrida = {});

// The file a save dialog returned, with the extension added when it was typed without it.
QString conExtension(const QString &ruta, const QString &extension);

} // namespace corvalo
