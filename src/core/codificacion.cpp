#include "codificacion.h"

#include "texto.h"

namespace corvalo {

namespace {

int codigo(QChar c) {
    const int v = codigoDeChar(c);
    if (v < 0)
        throw ErrorCodificacion("carácter fuera de la página de códigos");
    return v;
}

// Key position for text position i (both 1-based): the first pass runs through the whole key,
// later passes start from its second character.
int posicionClave(int i, int largo) {
    return i <= largo ? i : (i % largo) + 1;
}

template <typename Op> QString recorrer(const QString &texto, const QString &clave, Op op) {
    const int largo = int(clave.size());
    if (largo == 0)
        return texto;
    if (texto.size() > 32767)
        throw ErrorCodificacion("texto demasiado largo");
    QString out;
    out.reserve(texto.size());
    for (int i = 1; i <= int(texto.size()); ++i) {
        const int a = codigo(texto[i - 1]);
        const int b = codigo(clave[posicionClave(i, largo) - 1]);
        out.append(charDeCodigo(static_cast<unsigned char>(op(a, b))));
    }
    return out;
}

} // namespace

QString codificar(const QString &texto, const QString &clave) {
    return recorrer(texto, clave, [](int a, int b) {
        int d = a + b + 64;
        if (d > 255)
            d -= 256;
        if (d > 255)
            throw ErrorCodificacion("código fuera de rango al codificar");
        return d;
    });
}

QString decodificar(const QString &texto, const QString &clave) {
    return recorrer(texto, clave, [](int a, int b) {
        int e = a - b - 64;
        if (e < 0)
            e += 256;
        if (e < 0)
            throw ErrorCodificacion("código fuera de rango al decodificar");
        return e;
    });
}

} // namespace corvalo
