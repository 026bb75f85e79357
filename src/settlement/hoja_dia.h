// The day sheet "HOJA DEL DIA": the nine figures of the summary printed to close the till, on
// a port as the receipt printer's bytes or on the system printer, through the one output choice
// of everything the booth prints.
#pragma once

#include "resumen_dia.h"
#include "salida.h"

#include <optional>

namespace corvalo {

struct HojaDia {
    PantallaVenta pantalla = PantallaVenta::Taquilla;
    int juego = 0;       // the title
    TextosResumen cajas; // the nine box texts as they stand
    QString dia;         // in the workstation's short date format
    QString hora;        // the workstation's time of day
    QString carrera;     // the race text
};

// The race text: the race as typed, or for every race "DE LA " + the lowest race + " HASTA LA "
// + the highest race of the day.
QString textoCarreraHoja(const QString &carrera, int menor, int mayor);
// The day in the workstation's short date format.
QString diaHoja(const QDate &dia);

// Port output (Windows-1252 bytes).
QByteArray hojaDiaPuerto(const HojaDia &h, const Sesion &s);
// Printer output; the print job is closed at the end.
void hojaDiaImpresora(ImpresoraSistema &imp, const HojaDia &h, const Sesion &s);

class ImpresionHojas {
public:
    virtual ~ImpresionHojas() = default;
    // Throws on a printer or port failure.
    virtual void imprimir(const HojaDia &h) = 0;
};

// The day sheets of one screen, sent to the output the print settings choose.
class ServicioHojas : public ImpresionHojas {
public:
    explicit ServicioHojas(ServicioImpresion &servicio) : servicio_(servicio) {}
    void imprimir(const HojaDia &h) override;

private:
    ServicioImpresion &servicio_;
};

inline const QString kSinJuegoImprimir = QStringLiteral("Debe seleccionar un juego para poder imprimir");
inline const QString kTituloHoja = QStringLiteral("HOJA DEL DIA");
inline const QString kFalloHoja =
    QStringLiteral("NO SE PUDO IMPRIMIR LA HOJA DEL DIA. VERIFIQUE LA IMPRESORA E INTENTE NUEVAMENTE");

// What Bton_ImprimirRV prints: the figures with the game, day and race they were summed for.
struct PedidoHoja {
    PantallaVenta pantalla = PantallaVenta::Taquilla;
    int juego_actual = 0; // the screen's game: none refuses the sheet
    int juego = 0;        // the game of the figures
    TextosResumen cajas;
    QDate dia;
    QString carrera;
    int carreraMenor = 0, carreraMayor = 0;
};

struct ResultadoHoja {
    QString mensaje, titulo;     // a message box to show; empty when none
    std::optional<HojaDia> hoja; // the sheet handed to the output
};

// Nothing is printed unless impresion is 1. A printer failure is logged and comes back as its
// message. `hojas` may be null: the sheet is then only returned.
ResultadoHoja imprimirHojaDia(Contexto &ctx, ImpresionHojas *hojas, const PedidoHoja &p);

} // namespace corvalo
