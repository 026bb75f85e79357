// corvalo-backoffice: the back-office stand-in (see backoffice.h).
#include "backoffice.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList argumentos = QCoreApplication::arguments();
    argumentos.removeFirst();
    QTextStream salida(stdout), errores(stderr);
    const int codigo = corvalo::backoffice::ejecutar(argumentos, salida, errores);
    salida.flush();
    errores.flush();
    return codigo;
}
