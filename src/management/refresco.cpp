#include "refresco.h"

#include "registro.h"

#include <QThread>
#include <QTimer>

namespace corvalo {

TrabajadorPanel::~TrabajadorPanel() = default;

void TrabajadorPanel::ejecutar(const PedidoPanel &p) {
    try {
        if (!db_)
            db_ = fabrica_.abrir(cadena_);
        emit hecho(p.tipo == PedidoPanel::Tipo::Refresco ? actualizar_ventas(*db_, p)
                                                         : consultarCarrera(*db_, p));
    } catch (const std::exception &e) {
        // The connection may be broken: the next request opens a new one.
        db_.reset();
        emit fallo(p, sinClaves(QString::fromLocal8Bit(e.what())));
    }
}

RefrescoPanel::RefrescoPanel(FabricaConexiones &fabrica, const QString &cadena, QObject *parent)
    : QObject(parent) {
    qRegisterMetaType<PedidoPanel>();
    qRegisterMetaType<PanelVentas>();
    hilo_ = new QThread; // no parent: it may outlive this object (see the destructor)
    hilo_->setObjectName(QStringLiteral("RefrescoPanel"));
    trabajador_ = new TrabajadorPanel(fabrica, cadena);
    trabajador_->moveToThread(hilo_);
    connect(hilo_, &QThread::finished, trabajador_, &QObject::deleteLater);
    connect(trabajador_, &TrabajadorPanel::hecho, this, &RefrescoPanel::recibido);
    connect(trabajador_, &TrabajadorPanel::fallo, this, &RefrescoPanel::fallo);
    espera_ = new QTimer(this);
    espera_->setSingleShot(true);
    espera_->setInterval(kEsperaMs);
    connect(espera_, &QTimer::timeout, this, [this] { fijarAlDia(false); });
    hilo_->start();
}

RefrescoPanel::~RefrescoPanel() {
    disconnect(trabajador_, nullptr, this, nullptr);
    hilo_->quit();
    if (hilo_->wait(200)) {
        delete hilo_;
        return;
    }
    // A statement is still waiting on the server: the thread ends once it returns and is
    // freed then.
    connect(hilo_, &QThread::finished, hilo_, &QObject::deleteLater);
}

quint64 RefrescoPanel::pedir(PedidoPanel p) {
    p.numero = siguiente_++;
    if (enCurso_) {
        pendiente_ = p;
        // A tick that finds the last refresh still running: what is shown is already old.
        if (p.tipo == PedidoPanel::Tipo::Refresco)
            fijarAlDia(false);
        return p.numero;
    }
    lanzar(p);
    return p.numero;
}

void RefrescoPanel::lanzar(const PedidoPanel &p) {
    enCurso_ = true;
    espera_->start();
    TrabajadorPanel *t = trabajador_;
    QMetaObject::invokeMethod(
        t, [t, p] { t->ejecutar(p); }, Qt::QueuedConnection);
}

void RefrescoPanel::terminado() {
    enCurso_ = false;
    espera_->stop();
    if (pendiente_) {
        const PedidoPanel siguiente = *pendiente_;
        pendiente_.reset();
        lanzar(siguiente);
    }
}

void RefrescoPanel::fijarAlDia(bool v) {
    if (alDia_ == v)
        return;
    alDia_ = v;
    emit alDiaCambiado(v);
}

void RefrescoPanel::recibido(const PanelVentas &panel) {
    terminado();
    if (panel.tipo == PedidoPanel::Tipo::Refresco)
        fijarAlDia(true);
    emit listo(panel);
}

void RefrescoPanel::fallo(const PedidoPanel &p, const QString &error) {
    terminado();
    fijarAlDia(false);
    emit fallido(p, error);
}

} // namespace corvalo
