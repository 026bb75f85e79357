// The scrambling of passwords and ticket keys: any text under any key comes back unchanged, the
// scrambled text stays in the code page and keeps its length.
#include "codificacion.h"
#include "comun.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider d(data, size);
    const QString clave = corvalo::fuzz::texto(d, 32);
    const QString t = corvalo::fuzz::resto(d);
    // A character and its key character whose codes add up past 447 have no scrambled form: the
    // scrambling refuses them with its own error, which its callers report as a failure.
    bool fuera = false;
    for (qsizetype i = 0; i < t.size() && !clave.isEmpty(); ++i) {
        const qsizetype k = i < clave.size() ? i : (i + 1) % clave.size();
        fuera = fuera || corvalo::codigoDeChar(t[i]) + corvalo::codigoDeChar(clave[k]) + 64 > 511;
    }
    if (fuera) {
        try {
            (void)corvalo::codificar(t, clave);
        } catch (const corvalo::ErrorCodificacion &) {
            return 0;
        }
        corvalo::fuzz::exigir(false, "an unscramblable text is refused");
    }
    const QString c = corvalo::codificar(t, clave);
    corvalo::fuzz::exigir(c.size() == t.size(), "length kept");
    corvalo::fuzz::exigir(corvalo::cabeEnCp1252(c), "scrambled text in the code page");
    corvalo::fuzz::exigir(corvalo::decodificar(c, clave) == t, "decodificar(codificar(t)) == t");
    return 0;
}
