#include "rpt_jugadas.h"

#include "dibujo_reporte.h"
#include "pipeline.h"
#include "registro.h"
#include "sesion.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace corvalo {

namespace {
const QString kPantalla = QStringLiteral("RPT_Jugadas");
const QString kSinArchivo =
    QStringLiteral("El archivo de reporte no se encuentra, restáurelo de los discos de instalación");
} // namespace

QString carpetaReportes() {
    // Beside the program (the build tree), else in share/corvalo of the installed tree.
    const QDir programa(QCoreApplication::applicationDirPath());
    const QString junto = programa.filePath(QStringLiteral("Reportes"));
    const QString instalada = QDir::cleanPath(programa.filePath(QStringLiteral("../share/corvalo/Reportes")));
    return QDir(junto).exists() || !QDir(instalada).exists() ? junto : instalada;
}

QString carpetaReportesLocales() {
    return QStringLiteral("/etc/corvalo/Reportes");
}

RPT_Jugadas::RPT_Jugadas(Contexto &ctx, const QString &carpeta, QWidget *parent)
    : QWidget(parent), ctx_(ctx), carpeta_(carpeta), impresora_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("RPT_Jugadas"));
    setWindowTitle(QStringLiteral("JUGADAS DEL DIA"));

    barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("barra"));
    barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto accion = [this](const char *nombre, const QString &texto, QStyle::StandardPixmap icono,
                         const QKeySequence &tecla) {
        QAction *a = barra->addAction(style()->standardIcon(icono), texto);
        a->setObjectName(QString::fromLatin1(nombre));
        if (!tecla.isEmpty()) {
            a->setShortcut(tecla);
            a->setToolTip(QString(texto).remove(QLatin1Char('&')) + QStringLiteral(" (") +
                          tecla.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        }
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
        return a;
    };
    accionImprimir = accion("accionImprimir", QStringLiteral("&Imprimir..."),
                            QStyle::SP_FileDialogDetailedView, QKeySequence(Qt::CTRL | Qt::Key_P));
    accionPdf = accion("accionPdf", QStringLiteral("Guardar &PDF..."), QStyle::SP_DialogSaveButton,
                       QKeySequence(Qt::CTRL | Qt::Key_S));
    accionCsv = accion("accionCsv", QStringLiteral("Guardar &CSV..."), QStyle::SP_FileIcon,
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    barra->addSeparator();
    accionAlejar =
        accion("accionAlejar", QStringLiteral("Alejar"), QStyle::SP_ArrowDown, QKeySequence(Qt::Key_Minus));
    accionAcercar =
        accion("accionAcercar", QStringLiteral("Acercar"), QStyle::SP_ArrowUp, QKeySequence(Qt::Key_Plus));
    accionAncho = accion("accionAncho", QStringLiteral("Ancho de &página"), QStyle::SP_TitleBarMaxButton,
                         QKeySequence(Qt::CTRL | Qt::Key_W));
    accionPagina = accion("accionPagina", QStringLiteral("Página &entera"), QStyle::SP_TitleBarNormalButton,
                          QKeySequence(Qt::CTRL | Qt::Key_E));
    barra->addSeparator();
    accionPrimera = accion("accionPrimera", QStringLiteral("Primera"), QStyle::SP_MediaSkipBackward,
                           QKeySequence(Qt::Key_Home));
    accionAnterior = accion("accionAnterior", QStringLiteral("Anterior"), QStyle::SP_MediaSeekBackward,
                            QKeySequence(Qt::Key_PageUp));
    Label_Pagina = new QLabel(this);
    Label_Pagina->setObjectName(QStringLiteral("Label_Pagina"));
    Label_Pagina->setContentsMargins(8, 0, 8, 0);
    barra->addWidget(Label_Pagina);
    accionSiguiente = accion("accionSiguiente", QStringLiteral("Siguiente"), QStyle::SP_MediaSeekForward,
                             QKeySequence(Qt::Key_PageDown));
    accionUltima = accion("accionUltima", QStringLiteral("Última"), QStyle::SP_MediaSkipForward,
                          QKeySequence(Qt::Key_End));
    barra->addSeparator();
    accionCerrar = accion("accionCerrar", QStringLiteral("&Cerrar"), QStyle::SP_DialogCloseButton,
                          QKeySequence(Qt::Key_Escape));

    // The main actions carry their names; zoom and pages their pictures and tool tips.
    for (QAction *a : {accionImprimir, accionPdf, accionCsv, accionCerrar})
        if (auto *b = qobject_cast<QToolButton *>(barra->widgetForAction(a)))
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    crViewer = new QPrintPreviewWidget(&impresora_, this);
    crViewer->setObjectName(QStringLiteral("crViewer"));
    crViewer->setFocusPolicy(Qt::StrongFocus);

    // The viewer fills the window under its toolbar.
    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->setSpacing(0);
    capa->addWidget(barra);
    capa->addWidget(crViewer, 1);

    connect(crViewer, &QPrintPreviewWidget::paintRequested, this, &RPT_Jugadas::pintar);
    connect(crViewer, &QPrintPreviewWidget::previewChanged, this, &RPT_Jugadas::actualizarPagina);
    connect(accionImprimir, &QAction::triggered, this, &RPT_Jugadas::imprimir_Click);
    connect(accionPdf, &QAction::triggered, this, &RPT_Jugadas::pdf_Click);
    connect(accionCsv, &QAction::triggered, this, &RPT_Jugadas::csv_Click);
    connect(accionAcercar, &QAction::triggered, crViewer, [this] { crViewer->zoomIn(); });
    connect(accionAlejar, &QAction::triggered, crViewer, [this] { crViewer->zoomOut(); });
    connect(accionAncho, &QAction::triggered, crViewer, &QPrintPreviewWidget::fitToWidth);
    connect(accionPagina, &QAction::triggered, crViewer, &QPrintPreviewWidget::fitInView);
    connect(accionPrimera, &QAction::triggered, this, [this] {
        crViewer->setCurrentPage(1);
        actualizarPagina();
    });
    connect(accionAnterior, &QAction::triggered, this, [this] {
        crViewer->setCurrentPage(crViewer->currentPage() - 1);
        actualizarPagina();
    });
    connect(accionSiguiente, &QAction::triggered, this, [this] {
        crViewer->setCurrentPage(crViewer->currentPage() + 1);
        actualizarPagina();
    });
    connect(accionUltima, &QAction::triggered, this, [this] {
        crViewer->setCurrentPage(crViewer->pageCount());
        actualizarPagina();
    });
    connect(accionCerrar, &QAction::triggered, this, &QWidget::close);
    for (QAction *a : {accionImprimir, accionPdf, accionCsv})
        a->setEnabled(false);
    resize(1000, 760);
}

RPT_Jugadas::~RPT_Jugadas() = default;

bool RPT_Jugadas::Form_Load() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    maqueta_.reset();
    QString fallo;
    bool faltante = false;
    try {
        const QString archivo = archivoReporte(ctx_.sesion.tipo_reporte);
        if (archivo.isEmpty())
            throw ErrorReporte(QStringLiteral("no hay reporte %1").arg(ctx_.sesion.tipo_reporte), true);
        const QString local = carpetaLocal.isEmpty() ? QString() : QDir(carpetaLocal).filePath(archivo);
        const DefinicionReporte def = leerArchivoReporte(
            !local.isEmpty() && QFileInfo::exists(local) ? local : QDir(carpeta_).filePath(archivo));
        // The parameters the report declares.
        QMap<QString, QString> valores;
        for (const ParametroReporte &p : def.parametros) {
            if (p.nombre == QLatin1String("Parametro1"))
                valores.insert(p.nombre, parametroTexto);
            else if (p.nombre == QLatin1String("Parametro2"))
                valores.insert(p.nombre, QString::number(parametroEntero));
        }
        valores.insert(QStringLiteral("centro"), ctx_.sesion.ch);
        valores.insert(QStringLiteral("usuario"), ctx_.sesion.usuario);
        valores.insert(QStringLiteral("impreso"),
                       ctx_.reloj.ahora().toString(QStringLiteral("dd-MM-yyyy hh:mm")));
        const int moneda = ctx_.sesion.id_moneda;
        if (moneda >= 1 && moneda <= ctx_.rs_monedas.filas())
            valores.insert(QStringLiteral("moneda"),
                           ctx_.rs_monedas.valor(moneda - 1, QStringLiteral("moneda")).texto());
        for (auto it = valoresCorrida.cbegin(); it != valoresCorrida.cend(); ++it)
            valores.insert(it.key(), it.value());
        if (!asegurarLocal(ctx_, kPantalla))
            throw DbError(QStringLiteral("la base de datos local de reportes no está disponible"));
        const Resultado filas = ctx_.local().ejecutar(sentenciaReporte(def));
        maqueta_ = std::make_unique<Maqueta>(maquetar(def, filas, valores));
        prepararImpresora(impresora_, *maqueta_);
    } catch (const ErrorReporte &e) {
        fallo = QString::fromUtf8(e.what());
        faltante = e.faltante;
    } catch (const DbError &e) {
        fallo = QString::fromUtf8(e.what());
    }
    crViewer->updatePreview();
    crViewer->fitToWidth();
    for (QAction *a : {accionImprimir, accionPdf, accionCsv})
        a->setEnabled(maqueta_ != nullptr);
    if (maqueta_ && !maqueta_->titulo.isEmpty())
        setWindowTitle(maqueta_->titulo);
    QApplication::restoreOverrideCursor();
    if (!maqueta_) {
        registrarFalla(lcReportes(), &ctx_.sesion, kPantalla, QStringLiteral("abrir el reporte"), fallo);
        ctx_.dialogos.mensaje(faltante ? kSinArchivo : fallo, QCoreApplication::applicationName(),
                              Icono::Error);
        return false;
    }
    return true;
}

QString RPT_Jugadas::pieImpresion() const {
    return QStringLiteral("Corvalo ") + kVersionTexto + QStringLiteral("   ") + ctx_.sesion.ch +
           QStringLiteral("   Impreso: ") + ctx_.reloj.ahora().toString(QStringLiteral("dd-MM-yyyy hh:mm"));
}

void RPT_Jugadas::pintar(QPrinter *impresora) {
    if (maqueta_)
        dibujarReporte(*maqueta_, impresora, pieImpresion());
}

void RPT_Jugadas::actualizarPagina() {
    const int total = crViewer->pageCount();
    Label_Pagina->setText(
        total > 0 ? QStringLiteral("Página %1 de %2").arg(crViewer->currentPage()).arg(total) : QString());
}

void RPT_Jugadas::imprimir_Click() {
    if (!maqueta_)
        return;
    QPrinter impresora(QPrinter::HighResolution);
    prepararImpresora(impresora, *maqueta_);
    QPrintDialog dialogo(&impresora, this);
    dialogo.setWindowTitle(QStringLiteral("Imprimir ") + maqueta_->titulo);
    dialogo.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialogo.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    dialogo.setMinMax(1, std::max(1, crViewer->pageCount()));
    if (dialogo.exec() != QDialog::Accepted)
        return;
    // The current page is the one on screen; a page range the printer keeps.
    if (impresora.printRange() == QPrinter::CurrentPage) {
        impresora.setPrintRange(QPrinter::PageRange);
        impresora.setFromTo(crViewer->currentPage(), crViewer->currentPage());
    }
    dibujarReporte(*maqueta_, &impresora, pieImpresion());
}

namespace {
QString nombrePropuesto(const Maqueta &m, const QString &extension) {
    QString base = m.titulo.toLower();
    base.replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(carpeta).filePath(base + QLatin1Char('.') + extension);
}
} // namespace

void RPT_Jugadas::pdf_Click() {
    if (!maqueta_)
        return;
    const QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como PDF"),
                                                      nombrePropuesto(*maqueta_, QStringLiteral("pdf")),
                                                      QStringLiteral("PDF (*.pdf)"));
    if (!ruta.isEmpty())
        guardarPdfEn(conExtension(ruta, QStringLiteral("pdf")));
}

void RPT_Jugadas::csv_Click() {
    if (!maqueta_)
        return;
    const QString ruta = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como CSV"),
                                                      nombrePropuesto(*maqueta_, QStringLiteral("csv")),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!ruta.isEmpty())
        guardarCsvEn(conExtension(ruta, QStringLiteral("csv")));
}

bool RPT_Jugadas::guardarPdfEn(const QString &ruta) {
    if (!maqueta_)
        return false;
    QString error;
    if (guardarPdf(*maqueta_, ruta, pieImpresion(), &error))
        return true;
    registrarFalla(lcReportes(), &ctx_.sesion, kPantalla, QStringLiteral("guardar el PDF"), error);
    ctx_.dialogos.mensaje(error, QCoreApplication::applicationName(), Icono::Error);
    return false;
}

bool RPT_Jugadas::guardarCsvEn(const QString &ruta) {
    if (!maqueta_)
        return false;
    QSaveFile f(ruta);
    if (f.open(QIODevice::WriteOnly) && f.write(csvDe(*maqueta_)) >= 0 && f.commit())
        return true;
    const QString error = QStringLiteral("%1: %2").arg(ruta, f.errorString());
    registrarFalla(lcReportes(), &ctx_.sesion, kPantalla, QStringLiteral("guardar el CSV"), error);
    ctx_.dialogos.mensaje(error, QCoreApplication::applicationName(), Icono::Error);
    return false;
}

void RPT_Jugadas::closeEvent(QCloseEvent *ev) {
    QWidget::closeEvent(ev);
    emit cerrada();
}

QString conExtension(const QString &ruta, const QString &extension) {
    if (QFileInfo(ruta).suffix().compare(extension, Qt::CaseInsensitive) == 0)
        return ruta;
    return ruta + QLatin1Char('.') + extension;
}

RPT_Jugadas *abrirReporte(Contexto &ctx, int tipo_reporte, QWidget *parent, const QString &parametro1,
                          int parametro2, const QMap<QString, QString> &corrida) {
    ctx.sesion.tipo_reporte = tipo_reporte;
    auto *v = new RPT_Jugadas(ctx, carpetaReportes(), parent);
    v->setWindowFlag(Qt::Window);
    v->setAttribute(Qt::WA_DeleteOnClose);
    v->parametroTexto = parametro1;
    v->parametroEntero = parametro2;
    v->valoresCorrida = corrida;
    v->carpetaLocal = carpetaReportesLocales();
    v->show();
    v->raise();
    v->activateWindow();
    v->Form_Load();
    v->crViewer->setFocus();
    return v;
}

} // namespace corvalo
