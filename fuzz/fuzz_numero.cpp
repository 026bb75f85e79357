// The number conversion of texts from fields and rows, and the text of a number: any text gives
// a number (never a crash), the same from the text as from its Windows-1252 bytes, and a finite
// number's text reads back to exactly it.
#include "comun.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider d(data, size);
    const bool comoDoble = d.ConsumeBool();
    if (comoDoble && d.remaining_bytes() >= sizeof(double)) {
        double v = 0;
        const auto b = d.ConsumeBytes<uint8_t>(sizeof(double));
        std::memcpy(&v, b.data(), sizeof v);
        if (std::isfinite(v) && std::fabs(v) < 1e15) {
            const QString t = corvalo::textoNumero(v);
            const double w = corvalo::numeroDe(t);
            corvalo::fuzz::exigir(w == v, "textoNumero reads back exactly");
        }
        return 0;
    }
    const QString t = corvalo::fuzz::resto(d);
    const double n = corvalo::numeroDe(t);
    const QByteArray bytes = corvalo::aCp1252(t);
    const double m = corvalo::numeroDe(QByteArrayView(bytes));
    corvalo::fuzz::exigir(std::memcmp(&n, &m, sizeof n) == 0 || (std::isnan(n) && std::isnan(m)),
                          "the same number from the text and from its bytes");
    (void)corvalo::fechaDeTexto(t);
    (void)corvalo::sinControles(t);
    return 0;
}
