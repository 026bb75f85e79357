#include "codificacion.h"

#include "texto.h"

namespace corvalo {

namespace {

int codigo(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
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
    const int n = int(texto.size());
    QString out(n, Qt::Uninitialized);
    QChar *o = out.data();
    const QChar *t = texto.constData(), *k = clave.constData();
    for (int i = 1; i <= n; ++i) {
        const int a = codigo(t[i - 1]);
        const int b = codigo(k[posicionClave(i, largo) - 1]);
        const int c = op(a, b);
        o[i - 1] = (c < 0x80 || c >= 0xA0) ? QChar(char16_t(c)) : charDeCodigo(static_cast<unsigned char>(c));
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
