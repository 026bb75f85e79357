// Writes whose outcome is not known yet. A sale's or a payment's entry is written (and flushed to
// disk) before its first write is sent and leaves once the outcome is known, so that a lost reply,
// closing the program or a power cut while a reply is awaited does not forget it: until the
// server has been asked the outcome is pending. The journal lives in the workstation's state
// folder and holds one entry per pending write, each a set of named values that the sale or the
// payment that wrote it knows how to resolve.
#pragma once

#include "db.h"

#include <QJsonObject>
#include <QString>

#include <memory>
#include <vector>

namespace corvalo {

class Contexto;

class DiarioPendientes {
public:
    // The journal file; an empty path keeps the entries in memory only. Reads the entries the
    // file holds (a file that cannot be read holds none).
    void abrir(const QString &ruta);
    const QString &ruta() const { return ruta_; }

    // Adds an entry (it gets a "id" and this run's "corrida") and writes the file at once.
    // Returns the entry's id.
    QString anotar(QJsonObject entrada);
    // Replaces the entry of the same "id".
    void actualizar(const QJsonObject &entrada);
    void quitar(const QString &id);
    // Counts one more attempt to resolve the entry that the server refused (a statement it will
    // refuse again, not a silence) and writes the file; returns the attempts counted so far.
    int contarIntento(const QString &id);

    const std::vector<QJsonObject> &entradas() const { return entradas_; }
    // The entry of an id (empty when there is none).
    QJsonObject entrada(const QString &id) const;
    bool vacio() const { return entradas_.empty(); }
    // Entries of one kind ("venta", "pago").
    std::vector<QJsonObject> deTipo(const QString &tipo) const;
    // True when the entry was written by this run of the program.
    bool deEstaCorrida(const QJsonObject &entrada) const;

private:
    void guardar();
    QString ruta_;
    QString corrida_;
    std::vector<QJsonObject> entradas_;
};

inline const QString kTituloPendiente = QStringLiteral("OPERACION PENDIENTE");
// After this many attempts refused by the server an entry is set aside for the supervisor, so that
// sales and payments resume.
inline constexpr int kIntentosPendiente = 3;
// The pending writes as the clerk reads them (each entry's "descripcion"), with what happens next.
QString mensajePendientes(const DiarioPendientes &diario);

// The journal of the running user: ~/.local/state/Corvalo/pendientes.json.
QString archivoPendientesPredeterminado();

// Opens a new central connection and ends the one whose reply was lost: KILL of its id, then
// waiting until the id has left the process list, so that its statement has either committed
// or rolled back before anything is read. A server restarted since the old connection was
// opened (another start time) no longer has it, and its ids name other connections: nothing is
// killed then. On a cluster (`nodo`, the server the old connection was on, names it) the new
// connection may be on another node: the old connection is then ended on its own node while
// that node is still a member of the cluster, and once it is not, what it did is what the
// others committed; the new connection reads causally (lecturaCausal), so it sees that. Throws
// DbError when the server cannot be reached or the old connection does not end within
// `esperaMs`.
std::unique_ptr<BaseDatos> terminarConexionPerdida(Contexto &ctx, unsigned long hilo, long long inicio,
                                                   int esperaMs = 15000, const QString &nodo = {});

} // namespace corvalo
