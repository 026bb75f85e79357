#include "rpt_jugadas.h"

#include "pintor_reporte.h"
#include "registro.h"
#include "ventanas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("RPT_Jugadas");

QAction *accion(QToolBar *barra, const char *nombre, const QIcon &icono, const QString &texto,
                const QKeySequence &tecla) {
    QAction *a = barra->addAction(icono, texto);
    a->setObjectName(QString::fromLatin1(nombre));
    a->setShortcut(tecla);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    a->setToolTip(tecla.isEmpty() ? texto : texto + QStringLiteral(" (") + tecla.toString(QKeySequence::NativeText) +
                                               QLatin1Char(')'));
    return a;
}
} // namespace

RPT_Jugadas::RPT_Jugadas(Contexto &ctx, const PedidoVisor &pedido, QWidget *parent)
    : QWidget(parent), ctx_(ctx), pedido_(pedido), tipo_(ctx.sesion.tipo_reporte) {
    setObjectName(QStringLiteral("RPT_Jugadas"));
    setWindowTitle(QStringLiteral("JUGADAS DEL DIA"));
    barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("barra"));
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle *s = style();
    imprimir_accion = accion(barra, "imprimir_accion", s->standardIcon(QStyle::SP_DialogApplyButton),
                             QStringLiteral("&Imprimir"), QKeySequence::Print);
    pdf_accion = accion(barra, "pdf_accion", s->standardIcon(QStyle::SP_DialogSaveButton),
                        QStringLiteral("Guardar &PDF"), QKeySequence(Qt::CTRL | Qt::Key_S));
    csv_accion = accion(barra, "csv_accion", s->standardIcon(QStyle::SP_FileIcon), QStringLiteral("Guardar &CSV"),
                        QKeySequence(Qt::CTRL | Qt::Key_E));
    barra->addSeparator();
    alejar_accion = accion(barra, "alejar_accion", s->standardIcon(QStyle::SP_ArrowDown), QStringLiteral("&Alejar"),
                           QKeySequence(Qt::CTRL | Qt::Key_Minus));
    acercar_accion = accion(barra, "acercar_accion", s->standardIcon(QStyle::SP_ArrowUp), QStringLiteral("Ac&ercar"),
                            QKeySequence(Qt::CTRL | Qt::Key_Plus));
    ajustar_accion = accion(barra, "ajustar_accion", s->standardIcon(QStyle::SP_TitleBarMaxButton),
                            QStringLiteral("A&justar"), QKeySequence(Qt::CTRL | Qt::Key_0));
    barra->addSeparator();
    anterior_accion = accion(barra, "anterior_accion", s->standardIcon(QStyle::SP_ArrowLeft),
                             QStringLiteral("A&nterior"), QKeySequence(Qt::Key_PageUp));
    Label_Pagina = new QLabel(this);
    Label_Pagina->setObjectName(QStringLiteral("Label_Pagina"));
    Label_Pagina->setContentsMargins(6, 0, 6, 0);
    barra->addWidget(Label_Pagina);
    siguiente_accion = accion(barra, "siguiente_accion", s->standardIcon(QStyle::SP_ArrowRight),
                              QStringLiteral("&Siguiente"), QKeySequence(Qt::Key_PageDown));
    barra->addSeparator();
    cerrar_accion = accion(barra, "cerrar_accion", s->standardIcon(QStyle::SP_DialogCloseButton),
                           QStringLiteral("Ce&rrar"), QKeySequence(Qt::Key_Escape));

    crViewer = new QPrintPreviewWidget(this);
    crViewer->setObjectName(QStringLiteral("crViewer"));
    crViewer->setZoomMode(QPrintPreviewWidget::FitToWidth);
    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->setSpacing(0);
    capa->addWidget(barra);
    capa->addWidget(crViewer, 1);

    connect(crViewer, &QPrintPreviewWidget::paintRequested, this, &RPT_Jugadas::pintar);
    connect(crViewer, &QPrintPreviewWidget::previewChanged, this, &RPT_Jugadas::actualizarPagina);
    connect(imprimir_accion, &QAction::triggered, this, &RPT_Jugadas::imprimir_Click);
    connect(pdf_accion, &QAction::triggered, this, &RPT_Jugadas::pdf_Click);
    connect(csv_accion, &QAction::triggered, this, &RPT_Jugadas::csv_Click);
    connect(acercar_accion, &QAction::triggered, crViewer, [this] { crViewer->zoomIn(1.25); });
    connect(alejar_accion, &QAction::triggered, crViewer, [this] { crViewer->zoomOut(1.25); });
    connect(ajustar_accion, &QAction::triggered, crViewer, [this] { crViewer->fitToWidth(); });
    connect(anterior_accion, &QAction::triggered, this, [this] {
        crViewer->setCurrentPage(crViewer->currentPage() - 1);
        actualizarPagina();
    });
    connect(siguiente_accion, &QAction::triggered, this, [this] {
        crViewer->setCurrentPage(crViewer->currentPage() + 1);
        actualizarPagina();
    });
    connect(cerrar_accion, &QAction::triggered, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            close();
    });
    for (QAction *a : {imprimir_accion, pdf_accion, csv_accion})
        a->setEnabled(false);
    actualizarPagina();
}

QSize RPT_Jugadas::sizeHint() const {
    const QFontMetrics fm(font());
    return QSize(std::max(fm.averageCharWidth() * 130, barra->sizeHint().width()), fm.height() * 48);
}

void RPT_Jugadas::showEvent(QShowEvent *ev) {
    QWidget::showEvent(ev);
    if (cargado_)
        return;
    centrarVentana(this);
    Form_Load();
}

void RPT_Jugadas::Form_Load() {
    if (cargado_)
        return;
    cargado_ = true;
    // 1.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // 2-3. The report file, its parameters and its rows.
    ctx_.sesion.tipo_reporte = tipo_;
    documento_ = cargarVisor(ctx_, carpeta, pedido_);
    // 4.
    for (QAction *a : {imprimir_accion, pdf_accion, csv_accion})
        a->setEnabled(documento_.has_value());
    if (documento_)
        setWindowTitle(QStringLiteral("JUGADAS DEL DIA - ") + documento_->titulo);
    crViewer->updatePreview();
    QApplication::restoreOverrideCursor();
    crViewer->setFocus();
}

void RPT_Jugadas::pintar(QPrinter *impresora) {
    if (!documento_)
        return; // an empty viewer
    const PintorReporte pintor(*documento_);
    pintor.prepararImpresora(impresora);
    pintor.pintar(impresora);
}

int RPT_Jugadas::paginas() const { return crViewer->pageCount(); }

void RPT_Jugadas::actualizarPagina() {
    const int total = crViewer->pageCount();
    Label_Pagina->setText(total > 0 ? QStringLiteral("Página %1 de %2").arg(crViewer->currentPage()).arg(total)
                                    : QStringLiteral("Sin páginas"));
    anterior_accion->setEnabled(total > 0 && crViewer->currentPage() > 1);
    siguiente_accion->setEnabled(total > 0 && crViewer->currentPage() < total);
}

void RPT_Jugadas::imprimir_Click() {
    if (!documento_)
        return;
    QPrinter impresora(QPrinter::HighResolution);
    PintorReporte(*documento_).prepararImpresora(&impresora);
    QPrintDialog dialogo(&impresora, this);
    dialogo.setWindowTitle(QStringLiteral("Imprimir ") + documento_->titulo);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    if (PintorReporte(*documento_).pintar(&impresora) == 0) {
        registrarFalla(lcReportes, &ctx_.sesion, kPantalla, QStringLiteral("imprimir"),
                       QStringLiteral("la impresora no aceptó el trabajo"));
        ctx_.dialogos.mensaje(QStringLiteral("No se pudo imprimir el reporte en ") + impresora.printerName(),
                              tituloAplicacion(), Icono::Error);
    }
}

QString RPT_Jugadas::nombreSugerido(const QString &extension) const {
    QString carpetaDocs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpetaDocs.isEmpty() || !QFileInfo(carpetaDocs).isDir())
        carpetaDocs = QDir::homePath();
    const QString base = archivoReporte(tipo_).section(QLatin1Char('.'), 0, 0);
    return QDir(carpetaDocs).filePath((base.isEmpty() ? QStringLiteral("reporte") : base) + QLatin1Char('-') +
                                      ctx_.reloj.ahora().toString(QStringLiteral("yyyy-MM-dd-HHmm")) + extension);
}

void RPT_Jugadas::pdf_Click() {
    if (!documento_)
        return;
    const QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar el reporte como PDF"),
                                                      nombreSugerido(QStringLiteral(".pdf")),
                                                      QStringLiteral("PDF (*.pdf)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (ruta.isEmpty())
        return;
    QString error;
    if (!guardarPdf(ruta, &error))
        ctx_.dialogos.mensaje(error, tituloAplicacion(), Icono::Error);
}

void RPT_Jugadas::csv_Click() {
    if (!documento_)
        return;
    const QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar el reporte como CSV"),
                                                      nombreSugerido(QStringLiteral(".csv")),
                                                      QStringLiteral("CSV (*.csv)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (ruta.isEmpty())
        return;
    QString error;
    if (!guardarCsv(ruta, &error))
        ctx_.dialogos.mensaje(error, tituloAplicacion(), Icono::Error);
}

bool RPT_Jugadas::guardarPdf(const QString &ruta, QString *error) {
    auto falla = [&](const QString &motivo) {
        registrarFalla(lcReportes, &ctx_.sesion, kPantalla, QStringLiteral("guardar PDF"), motivo);
        if (error)
            *error = motivo;
        return false;
    };
    if (!documento_)
        return falla(QStringLiteral("No hay reporte que guardar"));
    // Painted into a file beside the target and put in its place once complete.
    const QString temporal = ruta + QStringLiteral(".parcial");
    {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(temporal);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        const PintorReporte pintor(*documento_);
        pintor.prepararImpresora(&pdf);
        if (pintor.pintar(&pdf) == 0) {
            QFile::remove(temporal);
            return falla(QStringLiteral("No se pudo escribir el archivo ") + ruta);
        }
    }
    if (!QFileInfo(temporal).isFile() || QFileInfo(temporal).size() == 0) {
        QFile::remove(temporal);
        return falla(QStringLiteral("No se pudo escribir el archivo ") + ruta);
    }
    QFile::remove(ruta);
    if (!QFile::rename(temporal, ruta)) {
        QFile::remove(temporal);
        return falla(QStringLiteral("No se pudo escribir el archivo ") + ruta);
    }
    return true;
}

bool RPT_Jugadas::guardarCsv(const QString &ruta, QString *error) {
    auto falla = [&](const QString &motivo) {
        registrarFalla(lcReportes, &ctx_.sesion, kPantalla, QStringLiteral("guardar CSV"), motivo);
        if (error)
            *error = motivo;
        return false;
    };
    if (!documento_)
        return falla(QStringLiteral("No hay reporte que guardar"));
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        return falla(QStringLiteral("No se pudo escribir el archivo %1: %2").arg(ruta, f.errorString()));
    f.write(csvDocumento(*documento_, localeReportes()));
    if (!f.commit())
        return falla(QStringLiteral("No se pudo escribir el archivo %1: %2").arg(ruta, f.errorString()));
    return true;
}

void RPT_Jugadas::closeEvent(QCloseEvent *ev) {
    QWidget::closeEvent(ev);
    emit cerrada();
}

void RPT_Jugadas::keyPressEvent(QKeyEvent *ev) {
    if (ev->key() == Qt::Key_Escape) {
        cerrar_accion->trigger();
        return;
    }
    QWidget::keyPressEvent(ev);
}

RPT_Jugadas *abrirReporte(Contexto &ctx, int tipo_reporte, QWidget *parent, const PedidoVisor &pedido) {
    ctx.sesion.tipo_reporte = tipo_reporte;
    return new RPT_Jugadas(ctx, pedido, parent);
}

} // namespace corvalo
