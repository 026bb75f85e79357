// Port output: the receipt printer's control bytes, the text of a printed document as bytes,
// and the device or queue a port name stands for.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace corvalo {

// Line end of the receipt printers: ESC EM CR LF.
inline const QByteArray kFinLinea("\x1b\x19\r\n", 4);
// End of a ticket: ESC "d" 1 CR LF.
inline const QByteArray kFinTicket("\x1b"
                                   "d\x01\r\n",
                                   5);
// Paper cut: ESC "m" CR LF.
inline const QByteArray kCorte("\x1b"
                               "m\r\n",
                               4);
inline const QByteArray kSoloCrLf("\r\n", 2);

// The text of a document for a port, in Windows-1252.
class TextoPuerto {
public:
    // The text and the receipt printer's line end.
    TextoPuerto &linea(const QString &texto = {});
    // The text and CR LF only.
    TextoPuerto &lineaCrLf(const QString &texto);
    // The text with no line end: what follows continues the same line.
    TextoPuerto &texto(const QString &texto);
    // `n` empty lines.
    TextoPuerto &blancas(int n);
    TextoPuerto &crudo(const QByteArray &bytes);
    const QByteArray &bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// Raw output: the whole document in one open-write-close cycle.
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

} // namespace corvalo
