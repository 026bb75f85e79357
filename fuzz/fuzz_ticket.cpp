// The ticket layouts of both games, port bytes and printer lines, with any values the database
// and the session may hold: no crash, and no control byte of a value reaches the port.
#include "comun.h"
#include "ticket.h"

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
    corvalo::Boleto b;
    b.juego = d.ConsumeIntegralInRange<int>(0, 4);
    b.carrera = d.ConsumeIntegral<int>();
    b.caballo = d.ConsumeIntegral<int>();
    b.tablas = d.ConsumeFloatingPoint<double>();
    b.monto = d.ConsumeFloatingPoint<double>();
    b.impresion_datos = d.ConsumeIntegralInRange<int>(-1, 4);
    b.fecha = QDate(d.ConsumeIntegralInRange<int>(1900, 2100), d.ConsumeIntegralInRange<int>(1, 12),
                    d.ConsumeIntegralInRange<int>(1, 28));
    b.copia = d.ConsumeBool();
    b.nu_boleto = texto(d, 25);
    b.nombre_caballo = texto(d);
    b.codigo_puesto = texto(d, 8);
    b.nombre_moneda = texto(d, 8);
    b.empresa = texto(d);
    b.rif = texto(d, 20);
    corvalo::Sesion s;
    s.ch = texto(d);
    s.usuario = texto(d, 20);
    s.name_empresa = texto(d);
    s.rif_empresa = texto(d, 20);
    s.direccion_empresa = texto(d);
    s.tlf_empresa = texto(d, 20);
    s.codbarras = d.ConsumeIntegralInRange<int>(0, 1);
    s.tamletra = d.ConsumeIntegralInRange<int>(0, 14);
    const QString hora = texto(d, 12);
    // Marcas: the horse it is set against and the racetrack.
    b.caballo2 = d.ConsumeIntegral<int>();
    b.nombre_caballo2 = texto(d);
    b.hipodromo = texto(d);
    (void)corvalo::lineasEncabezado(b.impresion_datos, b.empresa, b.rif, s);
    (void)corvalo::ticketTablasPuerto(b, s, hora);
    (void)corvalo::ticketPuestosPuerto(b, s, hora);
    Impresora imp;
    corvalo::ticketTablasImpresora(imp, b, s, hora);
    corvalo::ticketPuestosImpresora(imp, b, s, hora);
    return 0;
}
