// corvalo-backoffice: the back-office stand-in (see backoffice.h).
#include "backoffice.h"
#include "servicio_ip.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList argumentos = QCoreApplication::arguments();
    argumentos.removeFirst();
    QTextStream salida(stdout), errores(stderr);
    if (!argumentos.isEmpty() && argumentos.first() == QLatin1String("serve-ip"))
        return corvalo::backoffice::servirDireccion(argumentos.mid(1), salida, errores);
    const int codigo = corvalo::backoffice::ejecutar(argumentos, salida, errores);
    salida.flush();
    errores.flush();
    return codigo;
}
