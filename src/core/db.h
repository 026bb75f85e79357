// The database layer: ODBC-style connection strings, one call to run a statement, result
// rows in server order with columns by name, and the one quoting function for values.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace corvalo {

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &what, bool conexion = false, unsigned codigo = 0)
        : std::runtime_error(what.toStdString()), conexion_(conexion), codigo_(codigo) {}
    // The connection failed (server gone, unreachable or silent past the timeouts) rather than
    // the server refusing the statement: a write may or may not have been applied.
    bool conexion() const { return conexion_; }
    // The server's error number, 0 when the failure is not the server's.
    unsigned codigo() const { return codigo_; }
    // The server is there but the database named by the connection string is not.
    bool baseDesconocida() const { return codigo_ == 1049; }
    // The write lost to another one on the same rows: a deadlock on one server, a certification
    // conflict on a cluster (both error 1213). Nothing of the transaction was applied.
    bool conflicto() const { return codigo_ == 1213; }

private:
    bool conexion_ = false;
    unsigned codigo_ = 0;
};

// One server of a connection string.
struct Servidor {
    QString host;
    unsigned port = 3306;
    friend bool operator==(const Servidor &, const Servidor &) = default;
};
// "host:port", as a connection names the server it is on.
QString textoServidor(const Servidor &s);

// Fields of a connection string such as
// "driver={MySQL ODBC 3.51 Driver};server=h;port=3306 ;uid=u;pwd=p;database=d;".
// "server=" may name several servers of one cluster, "server=db1,db2:3307,db3": each takes the
// port after its ":" or else the one of "port=".
struct ParametrosConexion {
    QString driver;
    QString server; // the first server's host
    unsigned port = 3306;
    std::vector<Servidor> servidores; // every server, in the string's order
    QString uid;
    QString pwd;
    QString database; // empty: no default database
    QString socket;   // Unix socket path; used when set
    // Seconds; "connecttimeout=", "readtimeout=" and "writetimeout=" of the string set them.
    int connectTimeout = 5;
    int readTimeout = 10;
    int writeTimeout = 10;
};

// Parses a connection string. Field names are case-insensitive, blanks around names and
// values are ignored, the trailing ";" is optional and unknown fields ("connection=",
// "option=") are accepted. Returns nothing and sets *error for a malformed string.
std::optional<ParametrosConexion> parsearCadena(const QString &cadena, QString *error = nullptr);

// The same string with "server=" naming the one server `nodo` ("host:port").
QString cadenaDeNodo(const QString &cadena, const QString &nodo);

// A value as the server sent it; null-aware. A value read from a result keeps the server's
// bytes and is turned into text the first time its text is asked for; numbers are read
// straight from the bytes.
class Campo {
public:
    Campo() = default;
    explicit Campo(QString t) : nulo_(false), texto_(std::move(t)) {}
    bool esNulo() const { return nulo_; }
    const QString &texto() const { // empty for NULL
        if (pendiente_)
            decodificar();
        return texto_;
    }
    double numero() const; // leading-number conversion; NULL is 0
    int entero() const { return int(numero()); }

private:
    friend class Resultado;
    Campo(QByteArray datos, qsizetype inicio, qsizetype largo)
        : nulo_(false), pendiente_(true), datos_(std::move(datos)), inicio_(inicio), largo_(largo) {}
    void decodificar() const;
    bool nulo_ = true;
    mutable bool pendiente_ = false;
    mutable QString texto_;
    QByteArray datos_; // shared with the result it came from
    qsizetype inicio_ = 0, largo_ = 0;
};

// The column names of a result, with a lookup by name. Results of the same shape share one.
class NombresColumnas {
public:
    explicit NombresColumnas(QStringList nombres);
    const QStringList &nombres() const { return nombres_; }
    // The column named `nombre`: the first of that exact name, else the first equal to it but
    // for case (as MySQL names compare); -1 when there is none.
    int indice(QStringView nombre) const;
    int indice(QLatin1String nombre) const;

private:
    template <typename Nombre> int buscar(Nombre nombre) const;
    QStringList nombres_;
    std::vector<int> tabla_; // open addressing on the case-folded name: column + 1, 0 free
    std::size_t mascara_ = 0;
    bool repetidas_ = false; // two names equal but for case: lookups scan the names in order
};

// Rows as the server sent them. The values are kept as the server's bytes and turned into
// text only when a column is read, so wide rows cost little when a few columns are used.
class Resultado {
public:
    // Where a value lies in the bytes; `largo` is -1 for NULL.
    struct Valor {
        qsizetype inicio;
        qsizetype largo;
    };
    Resultado() = default;
    Resultado(QStringList columnas, const std::vector<std::vector<Campo>> &filas);
    // Raw form: the bytes of every value one after the other, row by row, and where each
    // value lies in them.
    Resultado(std::shared_ptr<const NombresColumnas> columnas, int filas, QByteArray datos,
              std::vector<Valor> valores)
        : columnas_(std::move(columnas)), filas_(filas), datos_(std::move(datos)),
          valores_(std::move(valores)) {}

    const QStringList &columnas() const;
    int filas() const { return filas_; }
    bool vacio() const { return filas_ == 0; }
    bool tieneColumna(const QString &nombre) const { return indice(nombre) >= 0; }
    // Value of row `fila` (0-based, server order) in the column named `nombre`
    // (case-insensitive, as MySQL names compare). A missing column or row throws DbError.
    Campo valor(int fila, const QString &nombre) const;
    Campo valor(int fila, QLatin1String nombre) const; // the same, without making a QString
    std::vector<Campo> fila(int i) const;

private:
    int indice(const QString &nombre) const {
        return columnas_ ? columnas_->indice(QStringView(nombre)) : -1;
    }
    int indice(QLatin1String nombre) const { return columnas_ ? columnas_->indice(nombre) : -1; }
    Campo campo(int fila, int columna) const;
    std::shared_ptr<const NombresColumnas> columnas_;
    int filas_ = 0;
    QByteArray datos_;
    std::vector<Valor> valores_;
};

class BaseDatos {
public:
    virtual ~BaseDatos() = default;
    // Runs one statement; rows come back for statements that return them. Throws DbError.
    virtual Resultado ejecutar(const QString &sql) = 0;
    // Rows changed by the last statement.
    virtual long long filasAfectadas() const = 0;
    // Escapes a value for use between single quotes, as the live connection requires.
    virtual QString escapar(const QString &valor) const = 0;
    // The AUTO_INCREMENT value the last INSERT produced, as the server sent it with its reply
    // (0 when none).
    virtual long long ultimoId() const { return 0; }
    // The server's id of this connection (the process-list id), 0 when unknown.
    virtual unsigned long idHilo() const { return 0; }
    // When the server that took this connection started (seconds since the epoch, server
    // clock), 0 when unknown: a server restarted since then no longer knows the connection.
    virtual long long inicioServidor() const { return 0; }
    // The connection was lost: no statement can run on it any more.
    virtual bool perdida() const { return false; }
    // Asks the server whether it still knows this connection (after a restart, a KILL or an
    // idle timeout it does not); a connection found gone counts as lost from then on.
    virtual bool comprobar() { return !perdida(); }
    // The server the connection is on, "host:port" (empty when unknown).
    virtual QString nodo() const { return {}; }
    // The server is a node of a Galera cluster (wsrep on).
    virtual bool enCluster() const { return false; }
};

// From now on reads on `db` see every write the cluster committed before them (causal reads,
// wsrep_sync_wait=1), or no longer wait for that (`causal` false); nothing on a single server.
void lecturaCausal(BaseDatos &db, bool causal = true);

// The one quoting function: the value, escaped, to be put between the statement's quotes.
// For ordinary values (no quote, backslash, NUL or control characters) it is the value itself.
QString sqlTexto(const BaseDatos &db, const QString &valor);
QString sqlTexto(const BaseDatos &db, double valor);

// Escaping with the server's default rules (backslash escapes), for connections that have
// no server at hand.
QString escaparMysql(const QString &valor);

// Opens connections; tests replace it.
class FabricaConexiones {
public:
    virtual ~FabricaConexiones() = default;
    // Throws DbError when the string is malformed or the server cannot be reached.
    virtual std::unique_ptr<BaseDatos> abrir(const QString &cadena) = 0;
};

// MariaDB Connector/C: latin1, one statement per call, no automatic reconnect. With several
// servers it takes the first that answers and is ready (a cluster node that is not synced is
// passed over), starting with the one that answered last time for the same servers: after a
// node stops answering, the next connection goes on to the next node.
std::unique_ptr<BaseDatos> abrirMariaDb(const ParametrosConexion &p);

class FabricaMariaDb : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &cadena) override;
};

} // namespace corvalo
