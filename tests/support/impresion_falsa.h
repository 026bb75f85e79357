// Stand-ins for the printers and ports: everything printed is recorded, and a printer or port can
// be made to fail.
#pragma once

#include "impresora.h"
#include "puerto.h"
#include "recibo.h"
#include "venta.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <vector>

namespace corvalo::prueba {

// A system printer that records what is drawn: "font:NAME", "size:N", each line, "bars@TOP" for
// the first bar and "end" when the job is closed.
class ImpresoraGrabada : public ImpresoraSistema, public SuperficieDibujo {
public:
    QStringList registro;
    bool terminada = false;
    bool falla = false; // closing the job fails
    int barras = 0;
    void fuente(const QString &n) override { registro << QStringLiteral("font:") + n; }
    void tamano(int p) override {
        registro << QStringLiteral("size:%1").arg(p);
        alto_ = p * 20 * 1.2;
    }
    void linea(const QString &t) override {
        registro << t;
        y_ += alto_;
    }
    double posicionActual() const override { return y_; }
    SuperficieDibujo &superficie() override { return *this; }
    void rectangulo(double, double arriba, double, double) override {
        if (barras++ == 0)
            registro << QStringLiteral("bars@%1").arg(arriba);
    }
    void barrasDibujadas(double abajo) override { y_ = abajo; }
    void terminar() override {
        if (falla)
            throw std::runtime_error("printer");
        terminada = true;
        registro << QStringLiteral("end");
    }

private:
    double y_ = 0;
    double alto_ = 240;
};

// Hands every call on to a printer kept elsewhere.
class ImpresoraPrestada : public ImpresoraSistema {
public:
    explicit ImpresoraPrestada(ImpresoraGrabada &real) : real_(real) {}
    void fuente(const QString &n) override { real_.fuente(n); }
    void tamano(int p) override { real_.tamano(p); }
    void linea(const QString &t) override { real_.linea(t); }
    double posicionActual() const override { return real_.posicionActual(); }
    SuperficieDibujo &superficie() override { return real_.superficie(); }
    void barrasDibujadas(double abajo) override { real_.barrasDibujadas(abajo); }
    void terminar() override { real_.terminar(); }

private:
    ImpresoraGrabada &real_;
};

// Opens one recorded printer per print job and keeps them all, so a test reads a job after the
// service that printed it has let its printer go.
class ImpresorasGrabadas : public FabricaImpresoras {
public:
    std::vector<std::unique_ptr<ImpresoraGrabada>> trabajos;
    bool sinImpresora = false; // no printer: opening fails
    std::unique_ptr<ImpresoraSistema> abrir() override {
        if (sinImpresora)
            throw std::runtime_error("no default printer");
        trabajos.push_back(std::make_unique<ImpresoraGrabada>());
        return std::make_unique<ImpresoraPrestada>(*trabajos.back());
    }
    const ImpresoraGrabada &ultima() const { return *trabajos.back(); }
};

class PuertoGrabado : public PuertoSalida {
public:
    QStringList puertos;
    std::vector<QByteArray> escritos;
    bool falla = false;
    void escribir(const QString &p, const QByteArray &b) override {
        if (falla)
            throw std::runtime_error("port");
        puertos << p;
        escritos.push_back(b);
    }
};

class BoletosGrabados : public ImpresionTickets {
public:
    std::vector<Boleto> impresos;
    bool falla = false;
    void imprimir(const Boleto &b) override {
        if (falla)
            throw std::runtime_error("printer");
        impresos.push_back(b);
    }
};

class RecibosGrabados : public ImpresionRecibos {
public:
    QList<Recibo> recibos;
    bool falla = false;
    void imprimir(const Recibo &r) override {
        if (falla)
            throw std::runtime_error("printer");
        recibos << r;
    }
};

} // namespace corvalo::prueba
