// The session record of a running program and the program's version.
#pragma once

#include <QString>

namespace corvalo {

constexpr int VERSION_PROGRAMA = 28001;
inline const QString kVersionTexto = QStringLiteral("2.8.01");
inline const QString kBanner = QStringLiteral("....:::: Corvalo 2.8.01::::....");

struct Sesion {
    QString usuario;
    QString nombre;
    QString nivel;
    QString grupo;
    QString ch;
    int id_moneda = 0;
    int ticket_cobro = 0;
    int cupoviptf = 0;
    QString name_empresa, rif_empresa, direccion_empresa, tlf_empresa;
    int mostrar_tf = 0;
    int mostrar_pt = 0;
    // Print settings (from the print-settings file).
    QString puerto;
    int impresion = 0;
    int codbarras = 0;
    int tamletra = 0;
    int tipo_reporte = 0;
    QString cadena_central;
};

} // namespace corvalo
