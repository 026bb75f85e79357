#include "impresora_qt.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

#include <stdexcept>

namespace corvalo {

ImpresoraQt::ImpresoraQt(std::unique_ptr<QPrinter> impresora) : impresora_(std::move(impresora)) {
    font_ = QFont(QStringLiteral("MS Sans Serif"));
    font_.setStyleHint(QFont::SansSerif); // the nearest installed face when it is missing
    font_.setPointSize(8);
}

ImpresoraQt::~ImpresoraQt() {
    if (painter_.isActive())
        painter_.end();
}

void ImpresoraQt::empezar() {
    if (empezado_)
        return;
    empezado_ = true;
    impresora_->setFullPage(true);
    if (!painter_.begin(impresora_.get()))
        throw std::runtime_error("the printer cannot be opened");
    painter_.setFont(font_);
}

double ImpresoraQt::aDispositivo(double twips) const {
    return twips * impresora_->resolution() / 1440.0;
}

void ImpresoraQt::fuente(const QString &nombre) {
    empezar();
    font_.setFamily(nombre);
    font_.setStyleHint(QFont::SansSerif);
    painter_.setFont(font_);
}

void ImpresoraQt::tamano(int puntos) {
    empezar();
    if (puntos > 0)
        font_.setPointSize(puntos);
    painter_.setFont(font_);
}

void ImpresoraQt::linea(const QString &texto) {
    empezar();
    const QFontMetricsF m(painter_.font(), impresora_.get());
    const double x = aDispositivo(10);
    const double arriba = aDispositivo(y_);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(x, arriba + m.ascent()), texto);
    y_ += m.height() * 1440.0 / impresora_->resolution();
}

void ImpresoraQt::rectangulo(double x, double y, double ancho, double alto) {
    empezar();
    painter_.fillRect(QRectF(aDispositivo(x), aDispositivo(y), aDispositivo(ancho), aDispositivo(alto)),
                      Qt::black);
}

void ImpresoraQt::terminar() {
    empezar();
    if (!painter_.end())
        throw std::runtime_error("the print job could not be finished");
    if (impresora_->printerState() == QPrinter::Error)
        throw std::runtime_error("printer error");
}

std::unique_ptr<ImpresoraSistema> impresoraPredeterminadaDelSistema() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw std::runtime_error("no default printer");
    auto p = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    p->setDocName(QStringLiteral("Corvalo"));
    return std::make_unique<ImpresoraQt>(std::move(p));
}

std::unique_ptr<ImpresoraSistema> impresoraPdf(const QString &ruta) {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(ruta);
    p->setResolution(1200);
    return std::make_unique<ImpresoraQt>(std::move(p));
}

QString nombreImpresoraPredeterminada() {
    return QPrinterInfo::defaultPrinterName();
}

void PuertoSistema::escribir(const QString &puerto, const QByteArray &bytes) {
    const DestinoPuerto d = destinoDePuerto(puerto, [](const QString &r) { return QFileInfo::exists(r); });
    if (d.tipo == DestinoPuerto::Tipo::Cola) {
        // One raw job to the shared queue.
        QProcess lp;
        lp.start(QStringLiteral("lp"), {QStringLiteral("-h"), d.servidor, QStringLiteral("-d"), d.cola,
                                        QStringLiteral("-o"), QStringLiteral("raw")});
        if (!lp.waitForStarted(5000))
            throw std::runtime_error("the print queue cannot be reached");
        lp.write(bytes);
        lp.closeWriteChannel();
        if (!lp.waitForFinished(15000) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
            throw std::runtime_error("the print queue refused the job");
        return;
    }
    QFile f(d.ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("the port cannot be opened");
    if (f.write(bytes) != bytes.size())
        throw std::runtime_error("the port cannot be written");
    f.close();
    if (f.error() != QFileDevice::NoError)
        throw std::runtime_error("the port cannot be written");
}

} // namespace corvalo
