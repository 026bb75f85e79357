// Stand-ins for the outside world of the logic: recorded dialogs, a fixed clock, a machine.
#pragma once

#include "bd_falsa.h"
#include "contexto.h"

#include <functional>

namespace corvalo::prueba {

class DialogosGrabados : public Dialogos {
public:
    QStringList textos, titulos;
    bool si = true;                  // answer to yes/no questions
    std::optional<QString> entradaTexto;
    std::function<void()> alPreguntar; // runs while a question is on screen
    Respuesta mensaje(const QString &t, const QString &ti, Icono, Botones b) override {
        textos << t;
        titulos << ti;
        if (b == Botones::SiNo && alPreguntar)
            alPreguntar();
        return b == Botones::SiNo ? (si ? Respuesta::Si : Respuesta::No) : Respuesta::Ok;
    }
    std::optional<QString> entrada(const QString &t, const QString &ti) override {
        textos << t;
        titulos << ti;
        return entradaTexto;
    }
};

class RelojFijo : public Reloj {
public:
    QDateTime momento{QDate(2026, 1, 3), QTime(10, 15, 0)};
    QDateTime ahora() const override { return momento; }
    QString horaTexto() const override { return momento.time().toString(QStringLiteral("HH:mm:ss")); }
};

class MaquinaFalsa : public Maquina {
public:
    QString mac, equipo = QStringLiteral("CAJA1"), impresora;
    bool red = true;
    QByteArray respuestaHttp;
    QString direccionMac() override { return mac; }
    bool redActiva() override { return red; }
    QByteArray httpGet(const QString &) override { return respuestaHttp; }
    QString nombreEquipo() override { return equipo; }
    QString impresoraPredeterminada() override { return impresora; }
    bool abrirDireccion(const QString &) override { return false; }
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
