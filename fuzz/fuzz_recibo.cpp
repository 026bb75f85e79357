// The payment receipts, port bytes and printer lines, with any values: no crash.
#include "comun.h"
#include "recibo.h"

namespace {

struct SinSuperficie : corvalo::SuperficieDibujo {
    void rectangulo(double, double, double, double) override {}
};
struct Impresora : corvalo::ImpresoraSistema {
    SinSuperficie s;
    double y = 0;
    void fuente(const QString &) override {}
    void tamano(int) override {}
    void linea(const QString &) override { y += 240; }
    double posicionActual() const override { return y; }
    corvalo::SuperficieDibujo &superficie() override { return s; }
    void barrasDibujadas(double abajo) override { y = std::max(y, abajo); }
    void terminar() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using corvalo::fuzz::texto;
    FuzzedDataProvider d(data, size);
    corvalo::Recibo r;
    r.ruta = d.ConsumeBool() ? corvalo::RutaCobro::Tablas : corvalo::RutaCobro::Puestos;
    r.fecha = QDate(d.ConsumeIntegralInRange<int>(1900, 2100), d.ConsumeIntegralInRange<int>(1, 12),
                    d.ConsumeIntegralInRange<int>(1, 28));
    r.copia = d.ConsumeBool();
    r.codigo = texto(d, 25);
    r.monto = texto(d, 20);
    r.hora = texto(d, 12);
    corvalo::Sesion s;
    s.ch = texto(d);
    s.usuario = texto(d, 20);
    s.name_empresa = texto(d);
    s.rif_empresa = texto(d, 20);
    s.direccion_empresa = texto(d);
    s.tlf_empresa = texto(d, 20);
    s.ticket_cobro = d.ConsumeIntegralInRange<int>(0, 2);
    s.codbarras = d.ConsumeIntegralInRange<int>(0, 1);
    s.tamletra = d.ConsumeIntegralInRange<int>(0, 14);
    (void)corvalo::reciboTablasPuerto(r, s);
    (void)corvalo::reciboPuestosPuerto(r, s);
    Impresora imp;
    corvalo::reciboTablasImpresora(imp, r, s);
    corvalo::reciboPuestosImpresora(imp, r, s);
    return 0;
}
