// The one output choice of everything the booth prints (tickets, payment receipts, day sheets):
// the port setting picks the system printer or a raw port, and "WINDOWS:" becomes the path of
// the workstation's default printer shared under its own name.
#pragma once

#include "impresora.h"
#include "puerto.h"

namespace corvalo {

class Contexto;

// The line of its own that marks a ticket or receipt printed again (the same code and barcode).
inline const QString kLineaCopia = QStringLiteral("*** COPIA ***");

// A document in both of its forms.
class Impreso {
public:
    virtual ~Impreso() = default;
    // Port output: the whole document as bytes.
    virtual QByteArray bytesPuerto() const = 0;
    // Printer output; ends the print job.
    virtual void dibujar(ImpresoraSistema &imp) const = 0;
};

class ServicioImpresion {
public:
    ServicioImpresion(Contexto &ctx, PuertoSalida &puerto, FabricaImpresoras &impresoras)
        : ctx_(ctx), puerto_(puerto), impresoras_(impresoras) {}

    // Sends the document to the output of the session's port setting. Throws on a printer or
    // port failure.
    void imprimir(const Impreso &documento);

    // "WINDOWS:" becomes "\\" + computer name + "\" + default printer, kept in the session.
    // Returns true for printer output ("WINDOWS2:").
    static bool elegirSalida(Contexto &ctx);

    Contexto &contexto() const { return ctx_; }

private:
    Contexto &ctx_;
    PuertoSalida &puerto_;
    FabricaImpresoras &impresoras_;
};

} // namespace corvalo
