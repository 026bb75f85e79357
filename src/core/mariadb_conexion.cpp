// The MariaDB Connector/C connection behind BaseDatos.
#include "db.h"
#include "texto.h"

#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace corvalo {

namespace {

// Errors of the connection rather than of the statement: after one of them a write may or may
// not have been applied, and the connection is of no further use.
bool esErrorDeConexion(unsigned int n) {
    switch (n) {
    case CR_SERVER_GONE_ERROR:
    case CR_SERVER_LOST:
    case CR_CONNECTION_ERROR:
    case CR_CONN_HOST_ERROR:
    case CR_SERVER_LOST_EXTENDED:
    case CR_COMMANDS_OUT_OF_SYNC:
    case ER_CONNECTION_KILLED:
    case ER_SERVER_SHUTDOWN:
    case ER_NET_READ_INTERRUPTED:
    case ER_NET_WRITE_INTERRUPTED:
    case ER_NET_READ_ERROR:
    case ER_NET_ERROR_ON_WRITE:
        return true;
    default:
        return false;
    }
}

class ConexionMariaDb : public BaseDatos {
public:
    explicit ConexionMariaDb(const ParametrosConexion &p) {
        mysql_ = mysql_init(nullptr);
        if (!mysql_)
            throw DbError(QStringLiteral("sin memoria para la conexión"));
        unsigned int ct = unsigned(p.connectTimeout), rt = unsigned(p.readTimeout),
                     wt = unsigned(p.writeTimeout);
        my_bool no = 0;
        mysql_optionsv(mysql_, MYSQL_OPT_CONNECT_TIMEOUT, &ct);
        mysql_optionsv(mysql_, MYSQL_OPT_READ_TIMEOUT, &rt);
        mysql_optionsv(mysql_, MYSQL_OPT_WRITE_TIMEOUT, &wt);
        mysql_optionsv(mysql_, MYSQL_OPT_RECONNECT, &no);
        mysql_optionsv(mysql_, MYSQL_SET_CHARSET_NAME, "latin1");
        // The program reads no option files: a workstation's own client settings must not
        // change where or how it connects.
        const QByteArray host = p.server.toUtf8(), user = aCp1252(p.uid), pwd = aCp1252(p.pwd),
                         db = aCp1252(p.database), sock = p.socket.toUtf8();
        if (!mysql_real_connect(mysql_, host.isEmpty() ? nullptr : host.constData(), user.constData(),
                                pwd.constData(), db.isEmpty() ? nullptr : db.constData(), p.port,
                                sock.isEmpty() ? nullptr : sock.constData(), 0)) {
            const QString msg = QString::fromUtf8(mysql_error(mysql_));
            mysql_close(mysql_);
            mysql_ = nullptr;
            throw DbError(msg, true);
        }
        hilo_ = mysql_thread_id(mysql_);
        // When the server started, by its own clock: after a restart the old ids mean nothing.
        static const char kInicio[] = "SELECT UNIX_TIMESTAMP() - VARIABLE_VALUE FROM "
                                      "information_schema.GLOBAL_STATUS WHERE VARIABLE_NAME='UPTIME'";
        if (mysql_real_query(mysql_, kInicio, sizeof kInicio - 1) == 0) {
            if (MYSQL_RES *res = mysql_store_result(mysql_)) {
                if (MYSQL_ROW row = mysql_fetch_row(res); row && row[0])
                    inicio_ = std::atoll(row[0]);
                mysql_free_result(res);
            }
        }
    }
    ~ConexionMariaDb() override {
        if (mysql_)
            mysql_close(mysql_);
    }

    Resultado ejecutar(const QString &sql) override {
        const QByteArray bytes = aCp1252(sql);
        if (perdida_)
            throw DbError(QStringLiteral("la conexión se perdió"), true);
        ultimoId_ = 0;
        if (mysql_real_query(mysql_, bytes.constData(), static_cast<unsigned long>(bytes.size())) != 0)
            fallar();
        // Rows are read straight off the connection and copied once, into the result.
        MYSQL_RES *res = mysql_use_result(mysql_);
        if (!res) {
            if (mysql_field_count(mysql_) != 0)
                fallar();
            afectadas_ = static_cast<long long>(mysql_affected_rows(mysql_));
            ultimoId_ = static_cast<long long>(mysql_insert_id(mysql_));
            return {};
        }
        const unsigned n = mysql_num_fields(res);
        const QStringList columnas = nombres(mysql_fetch_fields(res), n);
        // Values go into one buffer, a row at a time with one size check and plain copies.
        QByteArray datos;
        datos.reserve(512);
        std::vector<qsizetype> inicios;
        std::vector<int> largos;
        inicios.reserve(n);
        largos.reserve(n);
        int nfilas = 0;
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
            const unsigned long *l = mysql_fetch_lengths(res);
            qsizetype fila = 0;
            for (unsigned i = 0; i < n; ++i)
                if (row[i])
                    fila += qsizetype(l[i]);
            qsizetype fin = datos.size();
            if (datos.capacity() < fin + fila)
                datos.reserve(std::max(2 * datos.capacity(), fin + fila));
            datos.resize(fin + fila);
            char *destino = datos.data();
            for (unsigned i = 0; i < n; ++i) {
                inicios.push_back(fin);
                if (!row[i]) {
                    largos.push_back(-1);
                } else {
                    largos.push_back(int(l[i]));
                    std::memcpy(destino + fin, row[i], l[i]);
                    fin += qsizetype(l[i]);
                }
            }
            ++nfilas;
        }
        const unsigned int numeroError = mysql_errno(mysql_);
        const QString error = numeroError ? QString::fromUtf8(mysql_error(mysql_)) : QString();
        mysql_free_result(res);
        if (numeroError) {
            const bool conexion = esErrorDeConexion(numeroError);
            perdida_ = perdida_ || conexion;
            throw DbError(error, conexion);
        }
        afectadas_ = nfilas;
        return Resultado(columnas, nfilas, std::move(datos), std::move(inicios), std::move(largos));
    }

    long long filasAfectadas() const override { return afectadas_; }
    long long ultimoId() const override { return ultimoId_; }
    unsigned long idHilo() const override { return hilo_; }
    long long inicioServidor() const override { return inicio_; }
    bool perdida() const override { return perdida_; }

    QString escapar(const QString &valor) const override {
        // The connection speaks latin1, where the server's escaping touches only these seven
        // characters: a value without them goes into the statement as it is.
        bool llano = true;
        for (QChar c : valor) {
            const char16_t u = c.unicode();
            if (u == 0 || u == u'\n' || u == u'\r' || u == u'\\' || u == u'\'' || u == u'"' || u == 0x1A) {
                llano = false;
                break;
            }
        }
        if (llano)
            return valor;
        const QByteArray in = aCp1252(valor);
        QByteArray out(in.size() * 2 + 1, '\0');
        const unsigned long n = mysql_real_escape_string(mysql_, out.data(), in.constData(),
                                                         static_cast<unsigned long>(in.size()));
        if (n == static_cast<unsigned long>(-1))
            return escaparMysql(valor);
        out.truncate(int(n));
        return desdeCp1252(QByteArrayView(out));
    }

private:
    [[noreturn]] void fallar() {
        const unsigned int n = mysql_errno(mysql_);
        const bool conexion = esErrorDeConexion(n);
        perdida_ = perdida_ || conexion;
        throw DbError(QString::fromUtf8(mysql_error(mysql_)), conexion);
    }

    // Column names decoded once per shape: a sale reads the same few tables again and again.
    QStringList nombres(const MYSQL_FIELD *campos, unsigned n) {
        std::size_t largo = n;
        for (unsigned i = 0; i < n; ++i)
            largo += campos[i].name_length;
        std::string clave;
        clave.reserve(largo);
        for (unsigned i = 0; i < n; ++i)
            clave.append(campos[i].name, campos[i].name_length).push_back('\0');
        if (auto it = nombres_.find(clave); it != nombres_.end())
            return it->second;
        QStringList columnas;
        columnas.reserve(n);
        for (unsigned i = 0; i < n; ++i)
            columnas << desdeCp1252(QByteArrayView(campos[i].name, qsizetype(campos[i].name_length)));
        if (nombres_.size() >= 64)
            nombres_.clear();
        nombres_.emplace(std::move(clave), columnas);
        return columnas;
    }

    MYSQL *mysql_ = nullptr;
    std::map<std::string, QStringList> nombres_;
    long long afectadas_ = 0;
    long long ultimoId_ = 0;
    unsigned long hilo_ = 0;
    long long inicio_ = 0;
    bool perdida_ = false;
};

} // namespace

std::unique_ptr<BaseDatos> abrirMariaDb(const ParametrosConexion &p) {
    return std::make_unique<ConexionMariaDb>(p);
}

} // namespace corvalo
