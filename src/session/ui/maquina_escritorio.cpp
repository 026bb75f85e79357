#include "maquina_escritorio.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvalo {

bool MaquinaEscritorio::abrirDireccion(const QString &url) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

} // namespace corvalo
