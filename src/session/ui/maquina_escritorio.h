// The workstation for the windows: addresses open in the desktop's default browser.
#pragma once

#include "maquina_linux.h"

namespace corvalo {

class MaquinaEscritorio : public MaquinaLinux {
public:
    using MaquinaLinux::MaquinaLinux;
    bool abrirDireccion(const QString &url) override;
};

} // namespace corvalo
