// The printed ticket: the lines and bytes of the port output, the lines the system printer
// draws, and the service the sales hand their tickets to.
#pragma once

#include "salida.h"
#include "venta.h"

namespace corvalo {

// The cost of every ticket, booth and operator, is written in the format of the sale's currency
// on both outputs (formatoSegunMoneda of its label), so the clerk collects the right money.

// Values from the database and the session are printed with their control characters turned
// into blanks (sinControles); the layout's own control bytes stay.

// The header block chosen by impresion_datos (each line begins with a blank).
QStringList lineasEncabezado(int impresion_datos, const QString &empresa, const QString &rif,
                             const Sesion &s);

// Port output of the two tickets (Windows-1252 bytes). The Tablas ticket is also the Marcas
// ticket (game 4): "VENTA MARCAS", the horse bet on and the one it is set against with their
// names, the racetrack, no tablas.
QByteArray ticketTablasPuerto(const Boleto &b, const Sesion &s, const QString &hora);
QByteArray ticketPuestosPuerto(const Boleto &b, const Sesion &s, const QString &hora);

// Printer output of the two tickets; the print job is closed at the end.
void ticketTablasImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora);
void ticketPuestosImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora);

// The barcode of a ticket: Code 128 of the code at 1000, 3400 twips, module 15, bars 900 high;
// below the last text line when the text already reaches that place.
void barrasTicket(ImpresoraSistema &imp, const QString &nu_boleto);

// The tickets of one sales screen, sent to the output the print settings choose.
class ImpresionBoletos : public ImpresionTickets {
public:
    explicit ImpresionBoletos(ServicioImpresion &servicio) : servicio_(servicio) {}
    void imprimir(const Boleto &b) override;

private:
    ServicioImpresion &servicio_;
};

} // namespace corvalo
