// The workstation as Linux shows it: network adapters, the network state, web requests,
// the computer name and the browser.
#pragma once

#include "plataforma.h"

namespace corvalo {

class MaquinaLinux : public Maquina {
public:
    explicit MaquinaLinux(int esperaMs = 2000) : esperaMs_(esperaMs) {}

    // The last non-loopback adapter that is up and has an address, as "AA:BB:CC:DD:EE:FF".
    QString direccionMac() override;
    bool redActiva() override;
    // GET without proxy or cache, agent "vb wininet"; empty on any failure or after the wait.
    QByteArray httpGet(const QString &url) override;
    QString nombreEquipo() override;
    QString impresoraPredeterminada() override;
    // xdg-open.
    bool abrirDireccion(const QString &url) override;

private:
    int esperaMs_;
};

// "aa:bb:cc:dd:ee:ff" or "aabbccddeeff" as six upper-case pairs joined by ":"; empty when
// it is not six bytes (or all zero).
QString formatoMac(const QString &hardware);

} // namespace corvalo
