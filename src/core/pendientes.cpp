#include "pendientes.h"

#include "contexto.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QThread>
#include <QUuid>

#include <cstdlib>
#include <unistd.h>

namespace corvalo {

void DiarioPendientes::abrir(const QString &ruta) {
    ruta_ = ruta;
    entradas_.clear();
    if (ruta_.isEmpty())
        return;
    QFile f(ruta_);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
    for (const QJsonValue &v : doc.array())
        if (v.isObject() && !v.toObject().value(QStringLiteral("id")).toString().isEmpty())
            entradas_.push_back(v.toObject());
}

QString DiarioPendientes::anotar(QJsonObject entrada) {
    if (corrida_.isEmpty())
        corrida_ = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    entrada.insert(QStringLiteral("id"), id);
    entrada.insert(QStringLiteral("corrida"), corrida_);
    entradas_.push_back(entrada);
    guardar();
    return id;
}

void DiarioPendientes::actualizar(const QJsonObject &entrada) {
    for (QJsonObject &e : entradas_)
        if (e.value(QStringLiteral("id")) == entrada.value(QStringLiteral("id")))
            e = entrada;
    guardar();
}

void DiarioPendientes::quitar(const QString &id) {
    std::erase_if(entradas_,
                  [&](const QJsonObject &e) { return e.value(QStringLiteral("id")).toString() == id; });
    guardar();
}

QJsonObject DiarioPendientes::entrada(const QString &id) const {
    for (const QJsonObject &e : entradas_)
        if (e.value(QStringLiteral("id")).toString() == id)
            return e;
    return {};
}

int DiarioPendientes::contarIntento(const QString &id) {
    int n = 0;
    for (QJsonObject &e : entradas_)
        if (e.value(QStringLiteral("id")).toString() == id) {
            n = e.value(QStringLiteral("intentos")).toInt() + 1;
            e.insert(QStringLiteral("intentos"), n);
        }
    guardar();
    return n;
}

std::vector<QJsonObject> DiarioPendientes::deTipo(const QString &tipo) const {
    std::vector<QJsonObject> out;
    for (const QJsonObject &e : entradas_)
        if (e.value(QStringLiteral("tipo")).toString() == tipo)
            out.push_back(e);
    return out;
}

bool DiarioPendientes::deEstaCorrida(const QJsonObject &entrada) const {
    return !corrida_.isEmpty() && entrada.value(QStringLiteral("corrida")).toString() == corrida_;
}

void DiarioPendientes::guardar() {
    if (ruta_.isEmpty())
        return;
    QDir().mkpath(QFileInfo(ruta_).absolutePath());
    QJsonArray a;
    for (const QJsonObject &e : entradas_)
        a.append(e);
    // Written beside the old one and put in its place, so a cut leaves one or the other whole.
    QSaveFile f(ruta_);
    if (!f.open(QIODevice::WriteOnly))
        throw DbError(QStringLiteral("no se pudo escribir el diario de pendientes %1").arg(ruta_));
    f.write(QJsonDocument(a).toJson(QJsonDocument::Compact));
    f.flush();
    ::fsync(f.handle());
    if (!f.commit())
        throw DbError(QStringLiteral("no se pudo escribir el diario de pendientes %1").arg(ruta_));
}

QString mensajePendientes(const DiarioPendientes &diario) {
    QStringList lineas;
    for (const QJsonObject &e : diario.entradas())
        lineas << e.value(QStringLiteral("descripcion")).toString();
    return QStringLiteral("NO HAY RESPUESTA DEL SERVIDOR. EL RESULTADO ESTA PENDIENTE:\r\r") +
           lineas.join(QStringLiteral("\r")) +
           QStringLiteral("\r\rEL SISTEMA LO CONFIRMARA EN CUANTO EL SERVIDOR RESPONDA. MIENTRAS TANTO NO SE "
                          "PUEDEN HACER JUGADAS NI COBROS.");
}

QString archivoPendientesPredeterminado() {
    return QDir::homePath() + QStringLiteral("/.local/state/Corvalo/pendientes.json");
}

namespace {

// KILL of the connection `hilo` on `db`'s server, then waiting until it has left the process list.
void terminarEn(BaseDatos &db, unsigned long hilo, int esperaMs) {
    const QString id = QString::number(hilo);
    try {
        db.ejecutar(QStringLiteral("KILL ") + id);
    } catch (const DbError &e) {
        if (e.conexion())
            throw;
        // "Unknown thread id": it has already ended.
    }
    QElapsedTimer reloj;
    reloj.start();
    for (;;) {
        const Resultado r = db.ejecutar(
            QStringLiteral("SELECT COUNT(*) AS n FROM information_schema.PROCESSLIST WHERE ID = ") + id);
        if (r.valor(0, QStringLiteral("n")).entero() == 0)
            return;
        if (reloj.elapsed() > esperaMs)
            throw DbError(QStringLiteral("la conexión %1 sigue en el servidor").arg(id), true);
        QThread::msleep(20);
    }
}

} // namespace

std::unique_ptr<BaseDatos> terminarConexionPerdida(Contexto &ctx, unsigned long hilo, long long inicio,
                                                   int esperaMs, const QString &nodo) {
    std::unique_ptr<BaseDatos> nueva = ctx.fabrica.abrir(ctx.sesion.cadena_central);
    lecturaCausal(*nueva);
    if (!nodo.isEmpty() && !nueva->nodo().isEmpty() && nueva->nodo() != nodo) {
        // Another node. While the old one is still a member of the cluster its connection may
        // yet commit: it is ended there.
        if (hilo == 0 || !nueva->enCluster())
            return nueva;
        QElapsedTimer reloj;
        reloj.start();
        for (;;) {
            const Resultado m =
                nueva->ejecutar(QStringLiteral("SHOW STATUS LIKE 'wsrep_incoming_addresses'"));
            const QStringList miembros =
                m.vacio() ? QStringList()
                          : m.valor(0, QStringLiteral("Value")).texto().split(QLatin1Char(','));
            if (!miembros.contains(nodo))
                return nueva;
            try {
                std::unique_ptr<BaseDatos> vieja =
                    ctx.fabrica.abrir(cadenaDeNodo(ctx.sesion.cadena_central, nodo));
                if (vieja->nodo() == nodo) {
                    const long long inicioViejo = vieja->inicioServidor();
                    if (inicio == 0 || inicioViejo == 0 || std::llabs(inicioViejo - inicio) <= 2)
                        terminarEn(*vieja, hilo, esperaMs);
                    return nueva;
                }
            } catch (const DbError &e) {
                if (!e.conexion())
                    throw;
                // Not answering yet still a member: the cluster is about to leave it out.
            }
            if (reloj.elapsed() > esperaMs)
                throw DbError(QStringLiteral("el nodo %1 no responde y sigue en el cluster").arg(nodo), true);
            QThread::msleep(200);
        }
    }
    const long long inicioAhora = nueva->inicioServidor();
    const bool mismoServidor = inicio == 0 || inicioAhora == 0 || std::llabs(inicioAhora - inicio) <= 2;
    if (hilo == 0 || !mismoServidor || hilo == nueva->idHilo())
        return nueva;
    terminarEn(*nueva, hilo, esperaMs);
    return nueva;
}

} // namespace corvalo
