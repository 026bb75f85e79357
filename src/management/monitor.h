// The live race panel of the "VENTA" tab: the refresh (actualizar_ventas) and the race
// look-up on typing. Both take plain values and a connection of their own, so they can run
// away from the window's thread; the window shows what they return.
#pragma once

#include "gerencia.h"

#include <vector>

namespace corvalo {

// The panel has 14 rows; a race with more horses adds rows below them.
inline constexpr int kFilasPanel = 14;

struct PedidoPanel {
    enum class Tipo { Refresco, Consulta };
    Tipo tipo = Tipo::Refresco;
    QString taquilla;      // B: a booth, "TODOS" or empty
    QString juego;         // J: id_juego, empty when the game box matches no game
    int moneda = 1;        // M: the console currency
    QString grupo;         // G
    QString captionMoneda; // formats the total
    // The race look-up only: the race typed (R) and the working date of the settings shown (D).
    QString carrera;
    QDate fecha;
    // Given by RefrescoPanel::pedir, in the order of the requests: the window tells a late
    // answer from the one it waits for.
    quint64 numero = 0;
};

struct FilaPanel {
    QString numero;  // nu_caballo
    QString caballo; // Text_Caballo: the name, or " R  E  T  I  R  A  D  O "
    QString puesto;  // Text_puesto: the tablas, or the puesto label in Los Puestos
    QString monto;   // Text_MontoBsf: plain number text; blank when nothing was sold in the race
    double venta = 0, tablas = 0;
    bool retirado = false;
    // Amount limit of the horse for the chart (0: none), in the console currency.
    double limite = 0;
};

struct PanelVentas {
    PedidoPanel::Tipo tipo = PedidoPanel::Tipo::Refresco;
    Resultado configuracion; // the refresh: the settings row read afresh (rs_configuracion)
    EstadoCarrera estado;    // the refresh: Label_Carrera, Label_estado
    QString carrera;         // the race shown
    QString juego;           // J of the request
    std::vector<FilaPanel> filas;
    bool sinVentas = true;   // nothing sold in the race for these filters
    double total = 0;        // over every horse of the card
    QString totalTexto;      // Text_TotalBs (the refresh only)
    bool conLimites = false; // the chart's limit line applies (all booths, a limit is set)
    // The chart's limits could not be read (why): the figures stand without them.
    QString falloLimites;
    quint64 numero = 0; // the request's
};

// actualizar_ventas on `db`: the settings, the race card and the sales by horse of the
// current race. Throws DbError; a failure while reading the chart's limits does not: the panel
// comes without them.
PanelVentas actualizar_ventas(BaseDatos &db, const PedidoPanel &p);
// The race look-up (Combo_Carreras_Change / _Click): names and amounts of all games,
// currencies and booths of the group for the race typed. Throws DbError.
PanelVentas consultarCarrera(BaseDatos &db, const PedidoPanel &p);

} // namespace corvalo
