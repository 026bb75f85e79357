// The lists panel "VENTAS Y PAGOS": "Ventas " lists every ticket the booth sold today in the
// screen's game and currency, "Pagos" the paid ones, newest first, in a read-only grid. Both
// sales screens host it.
#pragma once

#include "ventas_pagos.h"

#include <QAbstractTableModel>
#include <QFrame>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace corvalo {

// The grid's rows: a list's result with its column setup (headers, alignment).
class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void mostrar(const ListaBoletos &l);
    const ColumnasLista &columnas() const { return columnas_; }

    int rowCount(const QModelIndex &padre = {}) const override;
    int columnCount(const QModelIndex &padre = {}) const override;
    QVariant data(const QModelIndex &i, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation o, int rol = Qt::DisplayRole) const override;

private:
    QStringList campos_;
    std::vector<QStringList> filas_;
    ColumnasLista columnas_;
};

class Frame5 : public QFrame {
    Q_OBJECT
public:
    Frame5(Contexto &ctx, PantallaVenta pantalla, QWidget *parent = nullptr);

    void setJuegoActual(int juego) { juego_actual_ = juego; }

    // Boton_Buscar: shows the panel at its place on the host, as large as its designed size (or
    // as its content needs), the grid as it was, the cursor on "Ventas ".
    void mostrar();

    QLabel *Label_Titulo;
    QPushButton *Command19, *Command1;
    QToolButton *Command20;
    QTableView *DataGrid2;
    ModeloLista *modelo;

    // Handlers.
    void Command19_Click();
    void Command1_Click();
    void Command20_Click();

signals:
    // Closed by its own button or Escape: the host takes the cursor back.
    void cerrado();

protected:
    bool event(QEvent *ev) override;

private:
    void listar(TipoLista tipo);
    void anchos();
    void ajustar();

    Contexto &ctx_;
    PantallaVenta pantalla_;
    int juego_actual_ = 0;
    bool ajustando_ = false;
};

} // namespace corvalo
