// Beside the live race panel: the amount sold on each horse of the current race as bars,
// with the group's per-horse limit as a line over the horses that have one.
#pragma once

#include "monitor.h"

#include <QChartView>

class QBarSet;
class QChart;

namespace corvalo {

class GraficoVentas : public QChartView {
    Q_OBJECT
public:
    explicit GraficoVentas(QWidget *parent = nullptr);

    // Draws a refresh of the panel (a race look-up is not drawn: the chart stays on the
    // current race).
    void mostrar(const PanelVentas &panel, const QString &captionMoneda);

    // What is drawn, for the tests.
    QStringList categorias() const { return categorias_; }
    QList<double> montos() const { return montos_; }
    QList<double> limites() const { return limites_; }      // one per horse; 0 = no limit
    QList<int> barrasAlLimite() const { return alLimite_; } // drawn in the warning colour
    QString titulo() const;

protected:
    void changeEvent(QEvent *ev) override;

private:
    void aplicarFuentes();
    QChart *grafico_;
    QStringList categorias_;
    QList<double> montos_, limites_;
    QList<int> alLimite_;
};

} // namespace corvalo
