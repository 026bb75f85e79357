#include "filtros.h"

#include "texto.h"

namespace corvalo {

int SoloNumeros(int codigo) {
    if (codigo == 13 || codigo == 8)
        return codigo;
    if (codigo >= '0' && codigo <= '9')
        return codigo;
    return 0;
}

int FiltroMayusculas(int codigo) {
    if ((codigo >= 33 && codigo <= 47) || (codigo >= 58 && codigo <= 64) || (codigo >= 91 && codigo <= 95) ||
        (codigo >= 123 && codigo <= 163) || (codigo >= 166 && codigo <= 254))
        return 0;
    if (codigo < 0 || codigo > 255)
        return 0;
    const QChar mayuscula = charDeCodigo(static_cast<unsigned char>(codigo)).toUpper();
    const int c = codigoDeChar(mayuscula);
    return c < 0 ? codigo : c;
}

} // namespace corvalo
