// The ticket rows of the console's search as its grid shows them.
#pragma once

#include "boletos.h"
#include "moneda.h"

#include <QAbstractTableModel>

namespace corvalo {

class ModeloBoletos : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void mostrar(const Resultado &r) {
        beginResetModel();
        filas_ = r;
        endResetModel();
    }
    int rowCount(const QModelIndex &padre = {}) const override {
        return padre.isValid() ? 0 : filas_.filas();
    }
    int columnCount(const QModelIndex &padre = {}) const override {
        return padre.isValid() ? 0 : int(kColumnasBoletos.size());
    }
    QVariant data(const QModelIndex &i, int rol) const override {
        if (!i.isValid())
            return {};
        if (rol == Qt::DisplayRole) {
            const QString &columna = kColumnasBoletos[i.column()];
            if (!filas_.tieneColumna(columna))
                return QString();
            const Campo v = filas_.valor(i.row(), columna);
            if (columna == QLatin1String("estatus"))
                return nombreEstatus(v.texto());
            if (columna == QLatin1String("monto") || columna == QLatin1String("cobrado"))
                return v.texto().isEmpty() ? QString() : textoMonto(v.numero());
            return v.texto();
        }
        if (rol == Qt::TextAlignmentRole)
            return i.column() >= 8 || i.column() == 1 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                      : int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion < kEncabezadosBoletos.size())
            return kEncabezadosBoletos[seccion];
        return QAbstractTableModel::headerData(seccion, o, rol);
    }

private:
    Resultado filas_;
};

} // namespace corvalo
