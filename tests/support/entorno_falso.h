// Stand-ins for the outside world of the logic: recorded dialogs, a fixed clock, a machine.
#pragma once

#include "bd_falsa.h"
#include "contexto.h"

#include <QMap>

#include <deque>
#include <functional>
#include <vector>

namespace corvalo::prueba {

// Every box shown is recorded. Yes/No questions take the queued answers in order, then the one
// default answer: Yes; other boxes answer Ok. Input boxes give `entradaTexto`.
class DialogosGrabados : public Dialogos {
public:
    struct Visto {
        QString texto, titulo;
        Icono icono;
        Botones botones;
    };
    std::vector<Visto> vistos;
    QStringList textos, titulos;
    std::deque<Respuesta> respuestas;
    std::optional<QString> entradaTexto;
    std::function<void()> alPreguntar; // runs while a question is on screen
    Respuesta mensaje(const QString &t, const QString &ti, Icono i, Botones b) override {
        vistos.push_back({t, ti, i, b});
        textos << t;
        titulos << ti;
        if (esPregunta(b) && alPreguntar)
            alPreguntar();
        if (esPregunta(b) && !respuestas.empty()) {
            const Respuesta r = respuestas.front();
            respuestas.pop_front();
            return r;
        }
        return esPregunta(b) ? Respuesta::Si : Respuesta::Ok;
    }
    std::optional<QString> entrada(const QString &t, const QString &ti) override {
        vistos.push_back({t, ti, Icono::Ninguno, Botones::OkCancel});
        textos << t;
        titulos << ti;
        return entradaTexto;
    }
};

class RelojFijo : public Reloj {
public:
    QDateTime momento{QDate(2026, 1, 3), QTime(10, 15, 0)};
    QString hora; // the time of day as the workstation writes it; empty: "HH:mm:ss"
    QDateTime ahora() const override { return momento; }
    QString horaTexto() const override {
        return hora.isEmpty() ? momento.time().toString(QStringLiteral("HH:mm:ss")) : hora;
    }
};

// A workstation: its address, network state, name and default printer; web requests are answered
// from `respuestas` (by address) or `respuestaHttp`, and recorded.
class MaquinaFalsa : public Maquina {
public:
    QString mac, equipo = QStringLiteral("CAJA1"), impresora;
    bool red = true;
    QByteArray respuestaHttp;
    QMap<QString, QByteArray> respuestas;
    QStringList pedidas, abiertas;
    QString direccionMac() override { return mac; }
    bool redActiva() override { return red; }
    QByteArray httpGet(const QString &url) override {
        pedidas << url;
        return respuestas.contains(url) ? respuestas.value(url) : respuestaHttp;
    }
    QString nombreEquipo() override { return equipo; }
    QString impresoraPredeterminada() override { return impresora; }
    bool abrirDireccion(const QString &url) override {
        abiertas << url;
        return true;
    }
};

// A context over the recording fake (or, with `cadena`, whatever the factory gives).
struct EntornoFalso {
    FabricaFalsa fabrica;
    DialogosGrabados dialogos;
    RelojFijo reloj;
    MaquinaFalsa maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    BdFalsa *db = nullptr;
    EntornoFalso() {
        ctx.conexion_central = fabrica.abrir(QStringLiteral("server=fake"));
        db = fabrica.abiertas.back();
    }
};

} // namespace corvalo::prueba
