#include "pintor_reporte.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <vector>

namespace corvalo {

namespace {

const QString kFamilia = QStringLiteral("DejaVu Sans");

QFont fuente(double puntos, bool negrita = false) {
    QFont f(kFamilia);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

struct Medidas {
    QFont titulo = fuente(14, true), encabezado = fuente(10), columnas = fuente(8.5, true), cuerpo = fuente(8.5),
          grupo = fuente(9, true), total = fuente(8.5, true), pie = fuente(7.5);
    double ancho = 0, alto = 0;
    double alto_titulo = 0, alto_encabezado = 0, alto_columnas = 0, alto_fila = 0, alto_pie = 0, margen_celda = 0;
    std::vector<double> x, anchos; // left edge and width of every column

    Medidas(QPaintDevice *d, const DocumentoReporte &doc, const QRectF &area) {
        ancho = area.width();
        alto = area.height();
        alto_titulo = QFontMetricsF(titulo, d).height() * 1.5;
        alto_encabezado = QFontMetricsF(encabezado, d).height() * 1.25;
        alto_columnas = QFontMetricsF(columnas, d).height() * 1.8;
        alto_fila = QFontMetricsF(cuerpo, d).height() * 1.45;
        alto_pie = QFontMetricsF(pie, d).height() * 2.2;
        margen_celda = QFontMetricsF(cuerpo, d).averageCharWidth() * 0.8;
        double pesos = 0;
        for (const ColumnaDocumento &c : doc.columnas)
            pesos += c.ancho;
        double izq = 0;
        for (const ColumnaDocumento &c : doc.columnas) {
            const double w = pesos > 0 ? ancho * c.ancho / pesos : 0;
            x.push_back(izq);
            anchos.push_back(w);
            izq += w;
        }
    }

    double altoCabecera(const DocumentoReporte &doc) const {
        return alto_titulo + alto_encabezado * double(doc.encabezados.size()) + alto_encabezado * 0.5 + alto_columnas;
    }
    double altoLinea(const LineaDocumento &l) const {
        switch (l.tipo) {
        case LineaDocumento::Grupo:
            return alto_fila * 1.5;
        case LineaDocumento::Subtotal:
            return alto_fila * 1.3;
        case LineaDocumento::Total:
            return alto_fila * 1.8;
        default:
            return alto_fila;
        }
    }
};

Qt::Alignment alineacion(Alineacion a) {
    switch (a) {
    case Alineacion::Derecha:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Alineacion::Centro:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void texto(QPainter &p, const QRectF &r, const QString &t, Qt::Alignment a) {
    const QString visible = QFontMetricsF(p.font(), p.device()).elidedText(t, Qt::ElideRight, r.width());
    p.drawText(r, int(a), visible);
}

// The pages: for each, the first line and one past the last.
std::vector<std::pair<int, int>> paginar(const DocumentoReporte &doc, const Medidas &m) {
    std::vector<std::pair<int, int>> paginas;
    const double disponible = m.alto - m.altoCabecera(doc) - m.alto_pie - (doc.filas == 0 ? m.alto_fila : 0) -
                              m.alto_encabezado * double(doc.pie.size());
    int inicio = 0;
    double y = 0;
    for (int i = 0; i < doc.lineas.size(); ++i) {
        double h = m.altoLinea(doc.lineas[i]);
        // A group heading stays with its first row.
        if (doc.lineas[i].tipo == LineaDocumento::Grupo && i + 1 < doc.lineas.size())
            h += m.altoLinea(doc.lineas[i + 1]);
        if (y + h > disponible && i > inicio) {
            paginas.emplace_back(inicio, i);
            inicio = i;
            y = 0;
        }
        y += m.altoLinea(doc.lineas[i]);
    }
    paginas.emplace_back(inicio, int(doc.lineas.size()));
    return paginas;
}

void pintarCabecera(QPainter &p, const DocumentoReporte &doc, const Medidas &m, double &y) {
    p.setPen(Qt::black);
    p.setFont(m.titulo);
    texto(p, QRectF(0, y, m.ancho, m.alto_titulo), doc.titulo, Qt::AlignHCenter | Qt::AlignVCenter);
    y += m.alto_titulo;
    p.setFont(m.encabezado);
    for (const QString &e : doc.encabezados) {
        texto(p, QRectF(0, y, m.ancho, m.alto_encabezado), e, Qt::AlignHCenter | Qt::AlignVCenter);
        y += m.alto_encabezado;
    }
    y += m.alto_encabezado * 0.5;
    p.fillRect(QRectF(0, y, m.ancho, m.alto_columnas), QColor(217, 217, 217));
    p.setFont(m.columnas);
    for (int c = 0; c < doc.columnas.size(); ++c) {
        const QRectF celda(m.x[std::size_t(c)] + m.margen_celda, y, m.anchos[std::size_t(c)] - 2 * m.margen_celda,
                           m.alto_columnas);
        texto(p, celda, doc.columnas[c].encabezado, alineacion(doc.columnas[c].alineacion));
    }
    y += m.alto_columnas;
    p.drawLine(QPointF(0, y), QPointF(m.ancho, y));
}

void pintarCeldas(QPainter &p, const DocumentoReporte &doc, const Medidas &m, const LineaDocumento &l, double y,
                  double h) {
    for (int c = 0; c < doc.columnas.size() && c < l.celdas.size(); ++c) {
        if (l.celdas[c].isEmpty())
            continue;
        const QRectF celda(m.x[std::size_t(c)] + m.margen_celda, y, m.anchos[std::size_t(c)] - 2 * m.margen_celda, h);
        texto(p, celda, l.celdas[c], alineacion(doc.columnas[c].alineacion));
    }
}

// The label of a subtotal or total, over the columns before the first figure.
void pintarEtiqueta(QPainter &p, const Medidas &m, const LineaDocumento &l, double y, double h) {
    int primera = 0;
    while (primera < l.celdas.size() && l.celdas[primera].isEmpty())
        ++primera;
    const double hasta = primera < int(m.x.size()) ? m.x[std::size_t(primera)] : m.ancho;
    if (hasta <= 2 * m.margen_celda)
        return;
    texto(p, QRectF(m.margen_celda, y, hasta - 2 * m.margen_celda, h), l.texto, Qt::AlignLeft | Qt::AlignVCenter);
}

void pintarLinea(QPainter &p, const DocumentoReporte &doc, const Medidas &m, const LineaDocumento &l, int detalle,
                 double y) {
    const double h = m.altoLinea(l);
    switch (l.tipo) {
    case LineaDocumento::Grupo: {
        const QRectF banda(0, y + h - m.alto_fila * 1.15, m.ancho, m.alto_fila * 1.1);
        p.fillRect(banda, QColor(235, 235, 235));
        p.setFont(m.grupo);
        texto(p, banda.adjusted(m.margen_celda, 0, -m.margen_celda, 0), l.texto, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case LineaDocumento::Detalle:
        if (detalle % 2 == 1)
            p.fillRect(QRectF(0, y, m.ancho, h), QColor(246, 246, 246));
        p.setFont(m.cuerpo);
        pintarCeldas(p, doc, m, l, y, h);
        break;
    case LineaDocumento::Subtotal:
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QPointF(0, y + 1), QPointF(m.ancho, y + 1));
        p.setFont(m.total);
        pintarEtiqueta(p, m, l, y, h);
        pintarCeldas(p, doc, m, l, y, h);
        break;
    case LineaDocumento::Total: {
        const double arriba = y + m.alto_fila * 0.3;
        const QRectF banda(0, arriba, m.ancho, h - m.alto_fila * 0.3);
        p.fillRect(banda, QColor(217, 217, 217));
        p.drawLine(QPointF(0, arriba), QPointF(m.ancho, arriba));
        p.drawLine(QPointF(0, arriba + m.alto_fila * 0.12), QPointF(m.ancho, arriba + m.alto_fila * 0.12));
        p.setFont(m.total);
        pintarEtiqueta(p, m, l, arriba, banda.height());
        pintarCeldas(p, doc, m, l, arriba, banda.height());
        break;
    }
    }
}

} // namespace

void PintorReporte::prepararImpresora(QPrinter *impresora) const {
    impresora->setPageOrientation(doc_.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait);
    impresora->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    impresora->setDocName(doc_.titulo);
}

int PintorReporte::pintar(QPrinter *impresora) const {
    QPainter p;
    if (!p.begin(impresora))
        return 0;
    const QRectF area = impresora->pageLayout().paintRectPixels(impresora->resolution());
    const Medidas m(impresora, doc_, QRectF(0, 0, area.width(), area.height()));
    const auto paginas = paginar(doc_, m);
    int detalle = 0;
    for (std::size_t n = 0; n < paginas.size(); ++n) {
        if (n > 0)
            impresora->newPage();
        double y = 0;
        pintarCabecera(p, doc_, m, y);
        if (doc_.filas == 0 && n == 0) {
            p.setFont(m.cuerpo);
            texto(p, QRectF(m.margen_celda, y, m.ancho, m.alto_fila), QStringLiteral("Sin registros."),
                  Qt::AlignLeft | Qt::AlignVCenter);
            y += m.alto_fila;
        }
        for (int i = paginas[n].first; i < paginas[n].second; ++i) {
            const LineaDocumento &l = doc_.lineas[i];
            pintarLinea(p, doc_, m, l, detalle, y);
            detalle = l.tipo == LineaDocumento::Detalle ? detalle + 1 : 0;
            y += m.altoLinea(l);
        }
        if (n + 1 == paginas.size()) {
            p.setFont(m.encabezado);
            y += m.alto_encabezado * 0.5;
            for (const QString &t : doc_.pie) {
                texto(p, QRectF(0, y, m.ancho, m.alto_encabezado), t, Qt::AlignLeft | Qt::AlignVCenter);
                y += m.alto_encabezado;
            }
        }
        // The foot.
        const double pie = m.alto - m.alto_pie;
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QPointF(0, pie + m.alto_pie * 0.25), QPointF(m.ancho, pie + m.alto_pie * 0.25));
        p.setFont(m.pie);
        const QRectF banda(0, pie + m.alto_pie * 0.3, m.ancho, m.alto_pie * 0.7);
        texto(p, banda, doc_.impreso, Qt::AlignLeft | Qt::AlignVCenter);
        texto(p, banda, doc_.titulo, Qt::AlignHCenter | Qt::AlignVCenter);
        texto(p, banda, QStringLiteral("Página %1 de %2").arg(n + 1).arg(paginas.size()),
              Qt::AlignRight | Qt::AlignVCenter);
    }
    p.end();
    return int(paginas.size());
}

} // namespace corvalo
