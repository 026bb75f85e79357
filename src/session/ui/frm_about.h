// The About window "ACERCA CORVALO".
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvalo {

inline const QString kDescripcionFabricante =
    QStringLiteral("Corvalo — sistema de taquillas para centros hípicos.\n"
                   "Venta y pago de boletos de Tablas Dinámicas, Tabla Fija, Los Puestos y Marcas,\n"
                   "cuadre de taquilla, gerencia, pantallas para el público y reportes.");

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    QLabel *lblTitle, *lblVersion, *lblDescription;
    QPushButton *cmdOK;

protected:
    void showEvent(QShowEvent *ev) override;
};

} // namespace corvalo
