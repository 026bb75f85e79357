// The payment receipt: its port bytes, the lines the system printer draws, and the service
// that sends it to the output the print settings choose.
#pragma once

#include "impresion.h"

namespace corvalo {

enum class RutaCobro { Tablas, Puestos };

struct Recibo {
    RutaCobro ruta = RutaCobro::Tablas;
    QString codigo; // the code used for the payment
    QString monto;  // the amount as the panel shows it
    QDate fecha;    // the working date
    QString hora;   // the workstation's time of day
};

// Port output (Windows-1252 bytes).
QByteArray reciboTablasPuerto(const Recibo &r, const Sesion &s);
QByteArray reciboPuestosPuerto(const Recibo &r, const Sesion &s);

// Printer output; the print job is closed at the end.
void reciboTablasImpresora(ImpresoraSistema &imp, const Recibo &r, const Sesion &s);
void reciboPuestosImpresora(ImpresoraSistema &imp, const Recibo &r, const Sesion &s);

class ImpresionRecibos {
public:
    virtual ~ImpresionRecibos() = default;
    // Throws on a printer or port failure.
    virtual void imprimir(const Recibo &r) = 0;
};

// Chooses the output as tickets do (ServicioImpresion::elegirSalida).
class ServicioRecibos : public ImpresionRecibos {
public:
    using FabricaImpresora = std::function<std::unique_ptr<ImpresoraSistema>()>;
    ServicioRecibos(Contexto &ctx, PuertoSalida &puerto, FabricaImpresora impresora)
        : ctx_(ctx), puerto_(puerto), impresora_(std::move(impresora)) {}
    void imprimir(const Recibo &r) override;

private:
    Contexto &ctx_;
    PuertoSalida &puerto_;
    FabricaImpresora impresora_;
};

} // namespace corvalo
