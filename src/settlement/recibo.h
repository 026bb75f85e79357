// The payment receipt: its port bytes, the lines the system printer draws, and the service
// that sends it to the output the print settings choose.
#pragma once

#include "salida.h"
#include "sesion.h"

#include <QDate>

namespace corvalo {

enum class RutaCobro { Tablas, Puestos };

struct Recibo {
    RutaCobro ruta = RutaCobro::Tablas;
    QString codigo;     // the code used for the payment
    QString monto;      // the amount as the panel shows it
    QDate fecha;        // the working date
    QString hora;       // the workstation's time of day
    bool copia = false; // printed again: marked as a copy
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

// The receipts of one screen, sent to the output the print settings choose.
class ServicioRecibos : public ImpresionRecibos {
public:
    explicit ServicioRecibos(ServicioImpresion &servicio) : servicio_(servicio) {}
    void imprimir(const Recibo &r) override;

private:
    ServicioImpresion &servicio_;
};

} // namespace corvalo
