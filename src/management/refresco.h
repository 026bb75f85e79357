// The live panel's statements run in a worker thread on a central connection of its own, so a
// slow or unreachable server never holds up the window: the window keeps its last figures,
// is told they are getting old, and gets the new ones when the server answers.
#pragma once

#include "monitor.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <optional>

class QThread;
class QTimer;

Q_DECLARE_METATYPE(corvalo::PedidoPanel)
Q_DECLARE_METATYPE(corvalo::PanelVentas)

namespace corvalo {

class TrabajadorPanel;

class RefrescoPanel : public QObject {
    Q_OBJECT
public:
    // A request unanswered for this long makes the figures shown old.
    static constexpr int kEsperaMs = 2000;

    // The worker opens its connection with `fabrica` and `cadena` (the central connection
    // string) when it first needs one, and again after a failure. `fabrica` must be safe to
    // call from another thread.
    RefrescoPanel(FabricaConexiones &fabrica, const QString &cadena, QObject *parent = nullptr);
    // Never waits for a statement still on the server: the worker finishes on its own.
    ~RefrescoPanel() override;

    // Runs the request in the worker. While one runs, the newest further request waits (it
    // replaces an earlier waiting one) and starts when the running one ends. Returns the
    // request's number (PedidoPanel::numero), higher for every later request.
    quint64 pedir(PedidoPanel p);
    // The number the next request will get: answers numbered below it were asked for before now.
    quint64 siguiente() const { return siguiente_; }
    bool ocupado() const { return enCurso_; }
    // The last refresh came back and nothing has been waiting longer than kEsperaMs since.
    bool alDia() const { return alDia_; }

signals:
    void listo(const corvalo::PanelVentas &panel);
    void fallido(const corvalo::PedidoPanel &pedido, const QString &error);
    // The figures shown became old (false) or fresh again (true).
    void alDiaCambiado(bool alDia);

private:
    void lanzar(const PedidoPanel &p);
    void terminado();
    void fijarAlDia(bool v);
    void recibido(const PanelVentas &panel);
    void fallo(const PedidoPanel &p, const QString &error);

    QThread *hilo_ = nullptr;
    TrabajadorPanel *trabajador_ = nullptr;
    QTimer *espera_ = nullptr;
    bool enCurso_ = false;
    bool alDia_ = true;
    std::optional<PedidoPanel> pendiente_;
    quint64 siguiente_ = 1;
};

// Lives in the worker thread.
class TrabajadorPanel : public QObject {
    Q_OBJECT
public:
    TrabajadorPanel(FabricaConexiones &fabrica, const QString &cadena) : fabrica_(fabrica), cadena_(cadena) {}
    ~TrabajadorPanel() override;
    void ejecutar(const corvalo::PedidoPanel &p);

signals:
    void hecho(const corvalo::PanelVentas &panel);
    void fallo(const corvalo::PedidoPanel &pedido, const QString &error);

private:
    FabricaConexiones &fabrica_;
    QString cadena_;
    std::unique_ptr<BaseDatos> db_;
};

} // namespace corvalo
