#include "impresora.h"

#include <QStringList>

namespace corvalo {

void ImprimirLinea(ImpresoraSistema &imp, const QString &texto, double, double) {
    if (texto.isEmpty())
        return;
    for (const QString &pieza : texto.split(QStringLiteral("\r\n")))
        imp.linea(pieza);
}

} // namespace corvalo
