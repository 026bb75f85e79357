// What the start-up, the login and the main window take from the command line.
#pragma once

#include "contexto.h"

namespace corvalo {

// The three public-address echo services, tried in this order.
inline const QString kServiciosDireccion =
    QStringLiteral("http://checkip.amazonaws.com/ http://api.ipify.org/ http://icanhazip.com/");

struct OpcionesSesion {
    QString cadenaCentral = cadenaCentralIncorporada();
    QString rutaAjustes;                     // the print-settings file KVR2.bin
    QString servicios = kServiciosDireccion; // blank-separated URLs
    // The notice of a workstation that is not set up yet (shown by the start-up when
    // `revisarPuesto`): the settings files looked at and whether none of them set a value.
    bool revisarPuesto = false;
    QStringList archivosAjustes;
    bool sinAjustes = false;
};

} // namespace corvalo
