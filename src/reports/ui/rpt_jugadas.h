// The report viewer "JUGADAS DEL DIA": the report of Sesion.tipo_reporte on screen (pages and
// zoom), printed on the system printer, or saved as PDF or as CSV for a spreadsheet.
#pragma once

#include "reporte_visor.h"

#include <QWidget>

#include <optional>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QToolBar;

namespace corvalo {

class RPT_Jugadas : public QWidget {
    Q_OBJECT
public:
    RPT_Jugadas(Contexto &ctx, const PedidoVisor &pedido = {}, QWidget *parent = nullptr);

    // Where the report files are; the Reportes folder beside the program unless a test says otherwise.
    QString carpeta = carpetaReportesPredeterminada();

    QToolBar *barra;
    QAction *imprimir_accion, *pdf_accion, *csv_accion, *acercar_accion, *alejar_accion, *ajustar_accion,
        *anterior_accion, *siguiente_accion, *cerrar_accion;
    QLabel *Label_Pagina;
    QPrintPreviewWidget *crViewer;

    // The load: opens the report and shows it (the window stays open and empty on failure).
    void Form_Load();
    bool hayReporte() const { return documento_.has_value(); }
    const DocumentoReporte *documento() const { return documento_ ? &*documento_ : nullptr; }
    int paginas() const;

    // The toolbar's commands; the two savers ask for the file, the printer for the printer.
    void imprimir_Click();
    void pdf_Click();
    void csv_Click();
    // Saving without asking; false with the reason on failure. A file is written whole or not at all.
    bool guardarPdf(const QString &ruta, QString *error = nullptr);
    bool guardarCsv(const QString &ruta, QString *error = nullptr);

signals:
    void cerrada();

protected:
    void showEvent(QShowEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;
    void keyPressEvent(QKeyEvent *ev) override;
    QSize sizeHint() const override;

private:
    void pintar(QPrinter *impresora);
    void actualizarPagina();
    QString nombreSugerido(const QString &extension) const;
    Contexto &ctx_;
    PedidoVisor pedido_;
    int tipo_ = 0; // Sesion.tipo_reporte when the viewer was opened
    std::optional<DocumentoReporte> documento_;
    bool cargado_ = false;
};

// Opens the viewer over the report `tipo_reporte` (it becomes Sesion.tipo_reporte). The host
// shows the returned window (in the main window's area).
RPT_Jugadas *abrirReporte(Contexto &ctx, int tipo_reporte, QWidget *parent = nullptr, const PedidoVisor &pedido = {});

} // namespace corvalo
