#include "grafico_ventas.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace corvalo {

namespace {
const QColor kColorBarra(33, 102, 172);
const QColor kColorAlLimite(214, 39, 40);
const QColor kColorLimite(214, 39, 40);
// A horse this close to its limit is drawn in the warning colour.
constexpr double kCercaDelLimite = 0.9;
constexpr double kEscalaLimite = 3.0;
} // namespace

GraficoVentas::GraficoVentas(QWidget *parent) : QChartView(parent), grafico_(new QChart) {
    setObjectName(QStringLiteral("Grafico_Ventas"));
    grafico_->setAnimationOptions(QChart::NoAnimation);
    grafico_->legend()->setAlignment(Qt::AlignBottom);
    grafico_->setMargins(QMargins(4, 4, 4, 4));
    setChart(grafico_);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(360, 260);
    setFocusPolicy(Qt::NoFocus);
    aplicarFuentes();
}

void GraficoVentas::changeEvent(QEvent *ev) {
    QChartView::changeEvent(ev);
    if (ev->type() == QEvent::FontChange)
        aplicarFuentes();
}

void GraficoVentas::aplicarFuentes() {
    QFont f = font();
    grafico_->legend()->setFont(f);
    for (QAbstractAxis *eje : grafico_->axes())
        eje->setLabelsFont(f);
    for (QAbstractSeries *s : grafico_->series())
        if (auto *barras = qobject_cast<QBarSeries *>(s))
            for (QBarSet *set : barras->barSets())
                set->setLabelFont(f);
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    grafico_->setTitleFont(f);
}

QString GraficoVentas::titulo() const {
    return grafico_->title();
}

void GraficoVentas::mostrar(const PanelVentas &panel, const QString &captionMoneda) {
    if (panel.tipo != PedidoPanel::Tipo::Refresco)
        return;
    grafico_->removeAllSeries();
    for (QAbstractAxis *eje : grafico_->axes())
        grafico_->removeAxis(eje);
    categorias_.clear();
    montos_.clear();
    limites_.clear();
    alLimite_.clear();

    auto *vendido = new QBarSet(QStringLiteral("Vendido"));
    vendido->setColor(kColorBarra);
    vendido->setBorderColor(kColorBarra);
    vendido->setSelectedColor(kColorAlLimite);
    vendido->setLabelColor(palette().color(QPalette::WindowText));
    double maxVenta = 0, maxLimite = 0;
    for (const FilaPanel &f : panel.filas) {
        maxVenta = std::max(maxVenta, f.venta);
        if (panel.conLimites)
            maxLimite = std::max(maxLimite, f.limite);
    }
    // The scale follows the sales: a limit far above what was sold would flatten every bar, so
    // limits beyond kEscalaLimite times the largest sale are counted, not drawn.
    const double tope = maxVenta > 0 ? maxVenta * kEscalaLimite : maxLimite;
    double maximo = maxVenta;
    int fuera = 0;
    for (int i = 0; i < int(panel.filas.size()); ++i) {
        const FilaPanel &f = panel.filas[std::size_t(i)];
        categorias_ << (f.retirado ? f.numero + QStringLiteral(" R") : f.numero);
        montos_ << f.venta;
        *vendido << f.venta;
        double limite = panel.conLimites ? f.limite : 0;
        if (limite > 0 && f.venta >= limite * kCercaDelLimite)
            alLimite_ << i;
        if (limite > tope) {
            ++fuera;
            limite = 0;
        }
        limites_ << limite;
        maximo = std::max(maximo, limite);
    }
    vendido->selectBars(alLimite_);
    auto *barras = new QBarSeries;
    barras->append(vendido);
    barras->setLabelsVisible(true);
    barras->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    barras->setLabelsFormat(QStringLiteral("@value"));
    barras->setLabelsPrecision(12);
    grafico_->addSeries(barras);

    auto *ejeX = new QBarCategoryAxis;
    ejeX->append(categorias_);
    ejeX->setTitleText(QStringLiteral("Caballo"));
    auto *ejeY = new QValueAxis;
    ejeY->setLabelFormat(QStringLiteral("%.0f"));
    ejeY->setRange(0, maximo > 0 ? maximo * 1.18 : 1);
    ejeY->applyNiceNumbers();
    grafico_->addAxis(ejeX, Qt::AlignBottom);
    grafico_->addAxis(ejeY, Qt::AlignLeft);
    barras->attachAxis(ejeX);
    barras->attachAxis(ejeY);

    // The limit: a short line over each horse that has one.
    const QString nombreLimite =
        fuera == 0 ? QStringLiteral("Límite")
                   : QStringLiteral("Límite (%1 fuera de escala, lejos de lo vendido)").arg(fuera);
    QPen pluma(kColorLimite);
    pluma.setWidth(2);
    pluma.setStyle(Qt::DashLine);
    bool primera = true;
    auto serieLimite = [&]() {
        auto *linea = new QLineSeries;
        linea->setName(nombreLimite);
        linea->setPen(pluma);
        grafico_->addSeries(linea);
        linea->attachAxis(ejeX);
        linea->attachAxis(ejeY);
        if (!primera)
            for (QLegendMarker *m : grafico_->legend()->markers(linea))
                m->setVisible(false);
        primera = false;
        return linea;
    };
    for (int i = 0; i < limites_.size(); ++i) {
        if (limites_[i] <= 0)
            continue;
        QLineSeries *linea = serieLimite();
        linea->append(i - 0.42, limites_[i]);
        linea->append(i + 0.42, limites_[i]);
    }
    if (primera && fuera > 0)
        serieLimite(); // the legend still tells of the limits
    grafico_->setTitle(
        QStringLiteral("CARRERA %1 · VENDIDO POR CABALLO (%2)")
            .arg(panel.carrera, captionMoneda.isEmpty() ? QStringLiteral("-") : captionMoneda));
    aplicarFuentes();
}

} // namespace corvalo
