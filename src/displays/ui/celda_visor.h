// The cells of the public boards: text in type as large as the cell allows, made smaller only when
// the text would not fit, so nothing on the board is cut; and the price arrows, drawn by the
// program at the size of their cell.
#pragma once

#include "visor.h"

#include <QLabel>
#include <QWidget>

namespace corvalo {

class CeldaVisor : public QLabel {
    Q_OBJECT
public:
    // `proporcion`: the type's height as a part of the cell's height.
    explicit CeldaVisor(QWidget *parent, double proporcion = 0.72,
                        Qt::Alignment alineacion = Qt::AlignCenter);

    // Sets the text when it differs and fits the type to it.
    void ponerTexto(const QString &texto);
    void ponerColores(const Color &texto, const Color &fondo);
    Color colorTexto() const;
    Color colorFondo() const;
    // Several lines, broken between words.
    void ponerVariasLineas(bool si);
    // True when the text is drawn whole inside the cell in its present type.
    bool textoCabe() const;

protected:
    void resizeEvent(QResizeEvent *ev) override;

private:
    void ajustar();
    bool cabe(int pixeles) const;
    double proporcion_;
};

// Picture_Flecha: the arrow of a price that rose (up, green) or fell (down, red) since the race
// opened, or nothing.
class FlechaVisor : public QWidget {
    Q_OBJECT
public:
    explicit FlechaVisor(QWidget *parent);
    void ponerFlecha(Flecha f);
    Flecha flecha() const { return flecha_; }

protected:
    void paintEvent(QPaintEvent *ev) override;

private:
    Flecha flecha_ = Flecha::Ninguna;
};

// The arrow picture of `f` at the given size (empty for no arrow).
QPixmap imagenFlecha(Flecha f, const QSize &tamano);

} // namespace corvalo
