// The small interfaces through which the logic reaches the outside world. Windows and the
// platform layer implement them; tests replace them.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace corvalo {

enum class Icono { Ninguno, Error, Informacion, Pregunta, Exclamacion };
// SiNoPorNo: a Yes/No question whose default answer (Enter) is No, for a step that destroys.
enum class Botones { Ok, OkCancel, SiNo, SiNoPorNo };
inline bool esPregunta(Botones b) {
    return b == Botones::SiNo || b == Botones::SiNoPorNo;
}
enum class Respuesta { Ok, Cancel, Si, No };

class Dialogos {
public:
    virtual ~Dialogos() = default;
    virtual Respuesta mensaje(const QString &texto, const QString &titulo, Icono icono = Icono::Ninguno,
                              Botones botones = Botones::Ok) = 0;
    bool pregunta(const QString &texto, const QString &titulo, Icono icono = Icono::Ninguno,
                  Botones botones = Botones::SiNo) {
        return mensaje(texto, titulo, icono, botones) == Respuesta::Si;
    }
    // An input box; nothing when it was cancelled.
    virtual std::optional<QString> entrada(const QString &texto, const QString &titulo) = 0;
};

class Reloj {
public:
    virtual ~Reloj() = default;
    virtual QDateTime ahora() const = 0;
    // The workstation's time of day in its regional time format.
    virtual QString horaTexto() const = 0;
    // Milliseconds since the epoch, for the time between two moments.
    virtual qint64 msDesdeEpoca() const { return ahora().toMSecsSinceEpoch(); }
};

class RelojSistema : public Reloj {
public:
    QDateTime ahora() const override;
    QString horaTexto() const override;
    qint64 msDesdeEpoca() const override;
};

class Maquina {
public:
    virtual ~Maquina() = default;
    virtual QString direccionMac() = 0;                 // "AA:BB:CC:DD:EE:FF" or empty
    virtual bool redActiva() = 0;                       // any network connection up
    virtual QByteArray httpGet(const QString &url) = 0; // body, empty on any failure
    virtual QString nombreEquipo() = 0;
    virtual QString impresoraPredeterminada() = 0; // empty when none
    virtual bool abrirDireccion(const QString &url) = 0;
};

// Dialogs for programs without a user: every question is answered Yes, every input box
// is cancelled.
class DialogosAutomaticos : public Dialogos {
public:
    Respuesta mensaje(const QString &, const QString &, Icono, Botones b) override {
        return esPregunta(b) ? Respuesta::Si : Respuesta::Ok;
    }
    std::optional<QString> entrada(const QString &, const QString &) override { return std::nullopt; }
};

// A machine that has nothing: no address, no network, no printer.
class MaquinaNula : public Maquina {
public:
    QString direccionMac() override { return {}; }
    bool redActiva() override { return false; }
    QByteArray httpGet(const QString &) override { return {}; }
    QString nombreEquipo() override { return {}; }
    QString impresoraPredeterminada() override { return {}; }
    bool abrirDireccion(const QString &) override { return false; }
};

} // namespace corvalo
