// Ticket printing: the output chosen by the port setting, the ticket lines and bytes of the
// port output, and the lines the system printer draws.
#pragma once

#include "Module_CodigoBarras.h"
#include "venta.h"

#include <QLocale>

#include <functional>
#include <memory>

namespace corvalo {

// The regional settings the amounts are formatted with (Spanish of Venezuela where the
// workstation has no regional settings of its own).
QLocale localeRegional();
// The named format "Currency" of the workstation.
QString formatoMoneda(double monto, const QLocale &loc = localeRegional());
// The format "$#,##0.00".
QString formatoDolares(double monto, const QLocale &loc = localeRegional());

// The header block chosen by impresion_datos (each line begins with a blank).
QStringList lineasEncabezado(int impresion_datos, const QString &empresa, const QString &rif, const Sesion &s);

// Line end of the receipt printers: ESC EM CR LF.
inline const QByteArray kFinLinea("\x1b\x19\r\n", 4);
inline const QByteArray kFinTicket("\x1b" "d\x01\r\n", 5);
inline const QByteArray kCorte("\x1b" "m\r\n", 4);

// Port output of the two tickets (Windows-1252 bytes). `operador`: the amounts of the
// operator screen, formatted with "Currency".
QByteArray ticketTablasPuerto(const Boleto &b, const Sesion &s, const QString &hora, bool operador = false);
QByteArray ticketPuestosPuerto(const Boleto &b, const Sesion &s, const QString &hora, bool operador = false);

// The system printer as the tickets use it. Units are twips (1/1440 inch) of the page.
class ImpresoraSistema {
public:
    virtual ~ImpresoraSistema() = default;
    virtual void fuente(const QString &nombre) = 0;
    virtual void tamano(int puntos) = 0;
    // One line of text under the previous one.
    virtual void linea(const QString &texto) = 0;
    // Where the next line would start, from the top of the page.
    virtual double posicionActual() const = 0;
    // Filled rectangles for the barcode; it moves the text position below the bars.
    virtual SuperficieDibujo &superficie() = 0;
    virtual void barrasDibujadas(double abajo) = 0;
    // Ends the print job; throws on a printer failure.
    virtual void terminar() = 0;
};

// Splits the text at CR LF and prints each piece as one line; an empty text prints nothing.
void ImprimirLinea(ImpresoraSistema &imp, const QString &texto, double izquierda = 10, double arriba = 10);

void ticketTablasImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora,
                           bool operador = false);
void ticketPuestosImpresora(ImpresoraSistema &imp, const Boleto &b, const Sesion &s, const QString &hora,
                            bool operador = false);

// The barcode of a ticket: Code 128 of the code at 1000, 3400 twips, module 15, bars 900 high;
// below the last text line when the text already reaches that place.
void barrasTicket(ImpresoraSistema &imp, const QString &nu_boleto);

// Raw output: the whole ticket in one open-write-close cycle.
class PuertoSalida {
public:
    virtual ~PuertoSalida() = default;
    // Throws std::runtime_error when the port cannot be opened or written.
    virtual void escribir(const QString &puerto, const QByteArray &bytes) = 0;
};

// The device a port name stands for on this platform: "LPT1:" .. "LPT10:" the parallel (or USB
// printer) devices, "COM1:" .. "COM10:" the serial ones; a shared-printer path "\\HOST\QUEUE"
// is a print queue; anything else is a file or device path.
struct DestinoPuerto {
    enum class Tipo { Archivo, Cola } tipo = Tipo::Archivo;
    QString ruta;     // file or device
    QString servidor; // for a queue
    QString cola;
};
DestinoPuerto destinoDePuerto(const QString &puerto, const std::function<bool(const QString &)> &existe);

// The printing service the sales call.
class ServicioImpresion : public ImpresionTickets {
public:
    using FabricaImpresora = std::function<std::unique_ptr<ImpresoraSistema>()>;
    ServicioImpresion(Contexto &ctx, PuertoSalida &puerto, FabricaImpresora impresora, bool operador = false)
        : ctx_(ctx), puerto_(puerto), impresora_(std::move(impresora)), operador_(operador) {}

    void imprimir(const Boleto &b) override;

    // "WINDOWS:" becomes "\\" + computer name + "\" + default printer, kept in the session.
    // Returns true for printer output ("WINDOWS2:").
    static bool elegirSalida(Contexto &ctx);

private:
    Contexto &ctx_;
    PuertoSalida &puerto_;
    FabricaImpresora impresora_;
    bool operador_;
};

} // namespace corvalo
