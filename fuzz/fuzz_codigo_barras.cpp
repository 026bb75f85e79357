// The four barcode encoders and their drawing: any text either draws bars inside the drawn
// width or is refused; the pattern holds only element widths.
#include "Module_CodigoBarras.h"
#include "comun.h"

namespace {

struct Superficie : corvalo::SuperficieDibujo {
    double derecha = 0;
    int rectangulos = 0;
    void rectangulo(double x, double, double ancho, double) override {
        corvalo::fuzz::exigir(ancho > 0, "a bar has a width");
        derecha = std::max(derecha, x + ancho);
        ++rectangulos;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider d(data, size);
    static const char *const simbologias[] = {"39", "128", "2/5", "Codabar", "otra"};
    const char *simbologia = simbologias[d.ConsumeIntegralInRange<int>(0, 4)];
    QString t = corvalo::fuzz::resto(d);
    corvalo::Module_CodigoBarras m;
    const QString original = t;
    for (int i = 0; i < 4; ++i) {
        corvalo::Module_CodigoBarras e;
        QString copia = original;
        switch (i) {
        case 0:
            e.Codigo39(copia);
            break;
        case 1:
            e.Codigo128(copia);
            break;
        case 2:
            e.CodigoI25(copia);
            break;
        default:
            e.CodigoCodabar(copia);
        }
        for (QChar c : e.patron_barras)
            corvalo::fuzz::exigir(c >= QLatin1Char('1') && c <= QLatin1Char('9'), "pattern of widths");
    }
    Superficie s;
    const bool dibujado = m.DibujarCodigo(QLatin1String(simbologia), t, s, 15, 900, 1000, 3400);
    if (dibujado && s.rectangulos > 0)
        corvalo::fuzz::exigir(s.derecha <= 1000 + m.anchoDibujado(15) + 1e-6, "bars inside the drawn width");
    if (!dibujado)
        corvalo::fuzz::exigir(s.rectangulos == 0, "nothing drawn for a refused text");
    return 0;
}
