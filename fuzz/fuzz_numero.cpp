// The number conversion of texts from fields and rows, and the text of a number: any text gives
// a number (never a crash), and a finite number's text reads back to it.
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
            corvalo::fuzz::exigir(std::fabs(w - v) <= 1e-6 * std::max(1.0, std::fabs(v)),
                                  "textoNumero reads back");
        }
        return 0;
    }
    const QString t = corvalo::fuzz::resto(d);
    (void)corvalo::numeroDe(t);
    (void)corvalo::fechaDeTexto(t);
    (void)corvalo::sinControles(t);
    return 0;
}
