// The scrambling of passwords and ticket keys: any text under any key comes back unchanged, the
// scrambled text stays in the code page and keeps its length.
#include "codificacion.h"
#include "comun.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider d(data, size);
    const QString clave = corvalo::fuzz::texto(d, 32);
    const QString t = corvalo::fuzz::resto(d);
    const QString c = corvalo::codificar(t, clave);
    corvalo::fuzz::exigir(c.size() == t.size(), "length kept");
    corvalo::fuzz::exigir(corvalo::cabeEnCp1252(c), "scrambled text in the code page");
    corvalo::fuzz::exigir(corvalo::decodificar(c, clave) == t, "decodificar(codificar(t)) == t");
    return 0;
}
