// The print-settings file: any bytes are read without harm, and the line written for what was
// read reads back to the same four values.
#include "ajustes_impresion.h"
#include "comun.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    corvalo::Sesion s;
    corvalo::leerAjustesImpresionDe(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), s);
    // A port the file line cannot hold is refused by the settings screen; the rest round-trips.
    if (s.puerto.contains(QLatin1Char('"')) || s.puerto.contains(QLatin1Char('\r')) ||
        s.puerto.contains(QLatin1Char('\n')))
        return 0;
    corvalo::Sesion otra;
    corvalo::leerAjustesImpresionDe(corvalo::lineaAjustesImpresion(s), otra);
    corvalo::fuzz::exigir(otra.puerto == s.puerto && otra.impresion == s.impresion &&
                              otra.codbarras == s.codbarras && otra.tamletra == s.tamletra,
                          "the written line reads back");
    return 0;
}
