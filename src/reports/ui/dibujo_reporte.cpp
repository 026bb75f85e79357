#include "dibujo_reporte.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace corvalo {

namespace {

QFont fuente(double puntos, bool negrita = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

Qt::Alignment alineacion(Alineacion a) {
    switch (a) {
    case Alineacion::Centro:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alineacion::Derecha:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Alineacion::Izquierda:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

void prepararImpresora(QPrinter &impresora, const Maqueta &m) {
    impresora.setPageSize(QPageSize(QPageSize::Letter));
    impresora.setPageOrientation(m.horizontal ? QPageLayout::Landscape : QPageLayout::Portrait);
    impresora.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

void dibujarReporte(const Maqueta &m, QPrinter *impresora, const QString &pieImpresion) {
    QPainter p;
    if (!p.begin(impresora))
        return;
    const QRectF area(QPointF(0, 0), impresora->pageLayout().paintRectPixels(impresora->resolution()).size());
    const double ancho = area.width();

    const QFont fTitulo = fuente(15, true), fSub = fuente(9.5), fCab = fuente(8.5, true),
                fLinea = fuente(8.5), fNegrita = fuente(8.5, true), fPie = fuente(7.5);
    const QFontMetricsF mTitulo(fTitulo, impresora), mSub(fSub, impresora), mLinea(fLinea, impresora),
        mPie(fPie, impresora);
    const double alto = mLinea.height() * 1.55;
    const double relleno = mLinea.averageCharWidth() * 0.6;

    // Column edges from their shares of the width.
    int suma = 0;
    for (const ColumnaReporte &c : m.columnas)
        suma += c.ancho;
    std::vector<double> x{0};
    for (const ColumnaReporte &c : m.columnas)
        x.push_back(x.back() + ancho * c.ancho / std::max(1, suma));

    const double altoCabecera =
        mTitulo.height() * 1.4 + mSub.height() * 1.3 * double(m.subtitulos.size()) + alto * 0.6 + alto * 1.1;
    const double altoPie = mPie.height() * 2.2;
    const double util = area.height() - altoCabecera - altoPie;
    const int porPagina = std::max(1, int(util / alto));
    const int lineasCuerpo = int(m.lineas.size()) + (m.pie.isEmpty() ? 0 : 2);
    const int paginas = std::max(1, (std::max(1, lineasCuerpo) + porPagina - 1) / porPagina);

    // The pages chosen in the print dialog; every page otherwise.
    int desde = 1, hasta = paginas;
    if (impresora->printRange() == QPrinter::PageRange && impresora->fromPage() > 0) {
        desde = std::max(1, impresora->fromPage());
        hasta = std::min(paginas, std::max(desde, impresora->toPage()));
    }

    const QColor gris(0xf0, 0xf0, 0xf0), azul(0xdd, 0xe6, 0xf2), tinta(0x20, 0x20, 0x20);
    int linea = 0;
    for (int pagina = 1; pagina <= paginas; ++pagina) {
        if (pagina < desde || pagina > hasta) {
            linea = std::min(int(m.lineas.size()), linea + porPagina);
            continue;
        }
        if (pagina > desde)
            impresora->newPage();
        double y = 0;
        p.setPen(tinta);
        p.setFont(fTitulo);
        p.drawText(QRectF(0, y, ancho, mTitulo.height() * 1.4), Qt::AlignHCenter | Qt::AlignVCenter,
                   m.titulo);
        y += mTitulo.height() * 1.4;
        p.setFont(fSub);
        for (const QString &s : m.subtitulos) {
            p.drawText(QRectF(0, y, ancho, mSub.height() * 1.3), Qt::AlignHCenter | Qt::AlignVCenter,
                       mSub.elidedText(s, Qt::ElideRight, ancho));
            y += mSub.height() * 1.3;
        }
        y += alto * 0.6;
        // Column headings on a shaded band.
        const double altoCab = alto * 1.1;
        p.fillRect(QRectF(0, y, ancho, altoCab), azul);
        p.setFont(fCab);
        const QFontMetricsF mCab(fCab, impresora);
        for (int c = 0; c < m.columnas.size(); ++c) {
            const QRectF celda(x[size_t(c)] + relleno, y, x[size_t(c) + 1] - x[size_t(c)] - 2 * relleno,
                               altoCab);
            p.drawText(celda, alineacion(m.columnas[c].alineacion),
                       mCab.elidedText(m.columnas[c].titulo, Qt::ElideRight, celda.width()));
        }
        y += altoCab;
        p.drawLine(QPointF(0, y), QPointF(ancho, y));

        if (m.lineas.isEmpty() && pagina == 1) {
            p.setFont(fLinea);
            p.drawText(QRectF(0, y + alto * 0.5, ancho, alto), Qt::AlignHCenter | Qt::AlignVCenter, m.vacio);
        }
        for (int n = 0; n < porPagina && linea < m.lineas.size(); ++n, ++linea) {
            const LineaReporte &l = m.lineas[linea];
            const QRectF banda(0, y, ancho, alto);
            switch (l.tipo) {
            case LineaReporte::Tipo::Grupo:
                p.fillRect(banda, azul.lighter(106));
                p.setFont(fNegrita);
                p.drawText(banda.adjusted(relleno, 0, -relleno, 0), Qt::AlignLeft | Qt::AlignVCenter,
                           mLinea.elidedText(l.texto, Qt::ElideRight, ancho));
                y += alto;
                continue;
            case LineaReporte::Tipo::Detalle:
                if (linea % 2 == 1)
                    p.fillRect(banda, gris);
                p.setFont(fLinea);
                break;
            case LineaReporte::Tipo::Subtotal:
            case LineaReporte::Tipo::Total:
                p.setFont(fNegrita);
                p.drawLine(QPointF(0, y), QPointF(ancho, y));
                if (l.tipo == LineaReporte::Tipo::Total)
                    p.drawLine(QPointF(0, y + alto * 0.08), QPointF(ancho, y + alto * 0.08));
                break;
            }
            const QFontMetricsF mc(p.font(), impresora);
            for (int c = 0; c < m.columnas.size() && c < l.celdas.size(); ++c) {
                const QRectF celda(x[size_t(c)] + relleno, y, x[size_t(c) + 1] - x[size_t(c)] - 2 * relleno,
                                   alto);
                // A total's label may run over the empty columns after it.
                QRectF caja = celda;
                if (l.tipo != LineaReporte::Tipo::Detalle && !l.celdas[c].isEmpty() &&
                    m.columnas[c].total == Total::Ninguno) {
                    int hasta = c + 1;
                    while (hasta < l.celdas.size() && l.celdas[hasta].isEmpty())
                        ++hasta;
                    caja.setRight(x[size_t(hasta)] - relleno);
                    p.drawText(caja, Qt::AlignLeft | Qt::AlignVCenter,
                               mc.elidedText(l.celdas[c], Qt::ElideRight, caja.width()));
                    continue;
                }
                p.drawText(caja, alineacion(m.columnas[c].alineacion),
                           mc.elidedText(l.celdas[c], Qt::ElideRight, caja.width()));
            }
            y += alto;
        }
        if (pagina == paginas && !m.pie.isEmpty()) {
            p.setFont(fLinea);
            p.drawText(QRectF(relleno, y + alto * 0.5, ancho, alto), Qt::AlignLeft | Qt::AlignVCenter, m.pie);
        }
        // The foot of the page.
        const double yPie = area.height() - altoPie;
        p.setFont(fPie);
        p.drawLine(QPointF(0, yPie + mPie.height() * 0.4), QPointF(ancho, yPie + mPie.height() * 0.4));
        const QRectF franja(0, yPie + mPie.height() * 0.6, ancho, mPie.height() * 1.4);
        p.drawText(franja, Qt::AlignLeft | Qt::AlignVCenter, pieImpresion);
        p.drawText(franja, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas));
    }
    p.end();
}

bool guardarPdf(const Maqueta &m, const QString &ruta, const QString &pieImpresion, QString *error) {
    // Written beside the destination and renamed once whole, so a failure leaves no half file.
    const QString parcial = ruta + QStringLiteral(".parcial");
    QFile::remove(parcial);
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(parcial);
    pdf.setCreator(QStringLiteral("Corvalo"));
    pdf.setDocName(m.titulo);
    prepararImpresora(pdf, m);
    dibujarReporte(m, &pdf, pieImpresion);
    const QFileInfo f(parcial);
    if (!f.exists() || f.size() == 0) {
        QFile::remove(parcial);
        if (error)
            *error = QStringLiteral("no se pudo escribir %1").arg(ruta);
        return false;
    }
    if (QFile::exists(ruta) && !QFile::remove(ruta)) {
        QFile::remove(parcial);
        if (error)
            *error = QStringLiteral("no se pudo reemplazar %1").arg(ruta);
        return false;
    }
    if (!QFile::rename(parcial, ruta)) {
        QFile::remove(parcial);
        if (error)
            *error = QStringLiteral("no se pudo escribir %1").arg(ruta);
        return false;
    }
    return true;
}

} // namespace corvalo
