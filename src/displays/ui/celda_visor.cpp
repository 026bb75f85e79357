#include "celda_visor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace corvalo {

namespace {

QColor qcolor(const Color &c) {
    return QColor(c.r, c.g, c.b);
}
Color colorVisor(const QColor &c) {
    return {c.red(), c.green(), c.blue()};
}

// The arrow inside `r`: a head over a shaft, filled, with a dark edge.
void pintarFlecha(QPainter &p, const QRectF &area, Flecha f) {
    if (f == Flecha::Ninguna)
        return;
    const double lado = std::min(area.width(), area.height()) * 0.86;
    const QRectF r(area.center().x() - lado / 2, area.center().y() - lado / 2, lado, lado);
    const double x0 = r.left(), x1 = r.right(), cx = r.center().x(), eje = lado * 0.2;
    const double cabeza = r.top() + lado * 0.52;
    QPainterPath camino;
    camino.moveTo(cx, r.top());
    camino.lineTo(x1, cabeza);
    camino.lineTo(cx + eje, cabeza);
    camino.lineTo(cx + eje, r.bottom());
    camino.lineTo(cx - eje, r.bottom());
    camino.lineTo(cx - eje, cabeza);
    camino.lineTo(x0, cabeza);
    camino.closeSubpath();
    if (f == Flecha::Abajo) {
        // The same arrow turned over.
        QTransform vuelta;
        vuelta.translate(0, r.top() + r.bottom());
        vuelta.scale(1, -1);
        camino = vuelta.map(camino);
    }
    const bool sube = f == Flecha::Arriba;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(sube ? QColor(0, 80, 0) : QColor(110, 0, 0), std::max(1.0, lado * 0.05), Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(sube ? QColor(0, 175, 0) : QColor(215, 0, 0));
    p.drawPath(camino);
}

} // namespace

CeldaVisor::CeldaVisor(QWidget *parent, double proporcion, Qt::Alignment alineacion)
    : QLabel(parent), proporcion_(proporcion) {
    setAlignment(alineacion);
    setAutoFillBackground(true);
    // The board decides the sizes: the text never widens or heightens a cell.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    setMinimumSize(1, 1);
    setTextFormat(Qt::PlainText);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(12);
    setFont(f);
    ponerColores({0, 0, 0}, kBlancoVisor);
}

void CeldaVisor::ponerTexto(const QString &texto) {
    if (texto == text())
        return;
    setText(texto);
    ajustar();
}

void CeldaVisor::ponerColores(const Color &texto, const Color &fondo) {
    if (colorTexto() == texto && colorFondo() == fondo && testAttribute(Qt::WA_SetPalette))
        return;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, qcolor(texto));
    p.setColor(QPalette::Window, qcolor(fondo));
    setPalette(p);
}

Color CeldaVisor::colorTexto() const {
    return colorVisor(palette().color(QPalette::WindowText));
}
Color CeldaVisor::colorFondo() const {
    return colorVisor(palette().color(QPalette::Window));
}

void CeldaVisor::ponerVariasLineas(bool si) {
    setWordWrap(si);
    ajustar();
}

void CeldaVisor::resizeEvent(QResizeEvent *ev) {
    QLabel::resizeEvent(ev);
    ajustar();
}

bool CeldaVisor::cabe(int pixeles) const {
    QFont f = font();
    f.setPixelSize(pixeles);
    const QFontMetrics fm(f);
    const QRect r = contentsRect();
    if (wordWrap()) {
        const QRect ocupa = fm.boundingRect(r, int(alignment()) | Qt::TextWordWrap, text());
        return ocupa.height() <= r.height() && ocupa.width() <= r.width();
    }
    return fm.horizontalAdvance(text()) <= r.width() && fm.height() <= r.height();
}

bool CeldaVisor::textoCabe() const {
    return cabe(font().pixelSize());
}

void CeldaVisor::ajustar() {
    const QRect r = contentsRect();
    if (r.height() <= 0 || r.width() <= 0)
        return;
    // The largest type up to the cell's proportion that holds the whole text.
    int alto = std::max(6, int(r.height() * proporcion_));
    int bajo = 6;
    if (!cabe(alto)) {
        while (bajo < alto - 1) {
            const int medio = (bajo + alto) / 2;
            (cabe(medio) ? bajo : alto) = medio;
        }
        alto = bajo;
    }
    if (font().pixelSize() != alto) {
        QFont f = font();
        f.setPixelSize(alto);
        setFont(f);
    }
}

FlechaVisor::FlechaVisor(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void FlechaVisor::ponerFlecha(Flecha f) {
    if (f == flecha_)
        return;
    flecha_ = f;
    update();
}

void FlechaVisor::paintEvent(QPaintEvent *) {
    QPainter p(this);
    pintarFlecha(p, QRectF(rect()), flecha_);
}

QPixmap imagenFlecha(Flecha f, const QSize &tamano) {
    QPixmap imagen(tamano);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    pintarFlecha(p, QRectF(imagen.rect()), f);
    return imagen;
}

} // namespace corvalo
