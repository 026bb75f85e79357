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
    explicit DbError(const QString &what, bool conexion = false)
        : std::runtime_error(what.toStdString()), conexion_(conexion) {}
    // The connection failed (server gone, unreachable or silent past the timeouts) rather than
    // the server refusing the statement: a write may or may not have been applied.
    bool conexion() const { return conexion_; }

private:
    bool conexion_ = false;
};

// Fields of a connection string such as
// "driver={MySQL ODBC 3.51 Driver};server=h;port=3306 ;uid=u;pwd=p;database=d;".
struct ParametrosConexion {
    QString driver;
    QString server;
    unsigned port = 3306;
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

// A value as the server sent it; null-aware.
class Campo {
public:
    Campo() = default;
    explicit Campo(QString t) : nulo_(false), texto_(std::move(t)) {}
    bool esNulo() const { return nulo_; }
    const QString &texto() const { return texto_; } // empty for NULL
    double numero() const;                          // leading-number conversion; NULL is 0
    int entero() const { return int(numero()); }

private:
    bool nulo_ = true;
    QString texto_;
};

// Rows as the server sent them. The values are kept as the server's bytes and turned into
// text only when a column is read, so wide rows cost little when a few columns are used.
class Resultado {
public:
    Resultado() = default;
    Resultado(QStringList columnas, const std::vector<std::vector<Campo>> &filas);
    // Raw form: the bytes of every value one after the other, row by row; for each value its
    // start in `datos` and its length (-1 for NULL).
    Resultado(QStringList columnas, int filas, QByteArray datos, std::vector<qsizetype> inicios,
              std::vector<int> largos)
        : columnas_(std::move(columnas)), filas_(filas), datos_(std::move(datos)),
          inicios_(std::move(inicios)), largos_(std::move(largos)) {}

    const QStringList &columnas() const { return columnas_; }
    int filas() const { return filas_; }
    bool vacio() const { return filas_ == 0; }
    bool tieneColumna(const QString &nombre) const { return indice(nombre) >= 0; }
    // Value of row `fila` (0-based, server order) in the column named `nombre`
    // (case-insensitive, as MySQL names compare). A missing column or row throws DbError.
    Campo valor(int fila, const QString &nombre) const;
    Campo valor(int fila, QLatin1String nombre) const; // the same, without making a QString
    std::vector<Campo> fila(int i) const;

private:
    int indice(const QString &nombre) const;
    int indice(QLatin1String nombre) const;
    Campo campo(int fila, int columna) const;
    QStringList columnas_;
    int filas_ = 0;
    QByteArray datos_;
    std::vector<qsizetype> inicios_;
    std::vector<int> largos_;
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
};

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

// MariaDB Connector/C: latin1, one statement per call, no automatic reconnect.
std::unique_ptr<BaseDatos> abrirMariaDb(const ParametrosConexion &p);

class FabricaMariaDb : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &cadena) override;
};

} // namespace corvalo
