// The summary panel "RESUMEN DE VENTAS DEL DIA": the clerk picks a day and a race (or all), Buscar
// shows what the booth sold, paid and still owes in the screen's game, and "HOJA DEL DIA" prints
// those figures. Both sales screens host it; it keeps the figures shown, and what they were summed
// for, to itself.
#pragma once

#include "hoja_dia.h"
#include "resumen_dia.h"

#include <QFrame>
#include <QPointer>

#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace corvalo {

class Frame_CuadreFinal : public QFrame {
    Q_OBJECT
public:
    // `hojas`: where the day sheets go (null: nothing is printed).
    Frame_CuadreFinal(Contexto &ctx, ImpresionHojas *hojas, PantallaVenta pantalla,
                      QWidget *parent = nullptr);

    // The host's game and currency label, as they change.
    void setJuegoActual(int juego);
    void setNombreMoneda(const QString &nombre);

    // boton_cuadrefinal (`completo`: the boxes cleared, the game's heading, the game checked) and
    // "Reporte Taquilla": shows the panel centred on `centro`, the working date in the picker and
    // the race box empty, the cursor on the date.
    void mostrar(QWidget *centro, bool completo);

    QLabel *Label_Titulo, *Label_JuegoPR, *Label_Fecha, *Label_Carrera, *Label_Cantidad;
    QDateEdit *DTPicker1;
    QComboBox *Combo3;
    QPushButton *bton_buscar, *Command7, *Bton_ImprimirRV, *Bton_SalirFEV;
    QLabel *Label_Resultados[9];
    QLabel *Label_Nombres[6]; // "Venta:" ... and the cancelled row

    // Handlers.
    void bton_buscar_Click();
    void Command7_Click();
    void Bton_ImprimirRV_Click();
    void Bton_SalirFEV_Click();

signals:
    // Closed by its own button or Escape: the host takes the cursor back.
    void cerrado();

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;
    bool event(QEvent *ev) override;

private:
    void buscar(BusquedaResumen busqueda);
    void limpiarCajas();
    void ajustar();
    void aplicarFuentes();

    Contexto &ctx_;
    ImpresionHojas *hojas_;
    PantallaVenta pantalla_;
    int juego_actual_ = 0;
    QString nombre_moneda_;
    // The figures shown and what they were summed for; none while the boxes are clear.
    std::optional<ResultadoResumen> mostrado_;
    int carreraMenor_ = 0, carreraMayor_ = 0; // of the last search
    QPointer<QWidget> centro_;
};

} // namespace corvalo
