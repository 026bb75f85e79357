// The MariaDB Connector/C connection behind BaseDatos.
#include "db.h"
#include "texto.h"

#include <errmsg.h>
#include <mysql.h>
#include <mysqld_error.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
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
    // A cluster node cut off from the others ("WSREP has not yet prepared node for application
    // use"): the connection is of no use until the node is back.
    case ER_UNKNOWN_COM_ERROR:
        return true;
    default:
        return false;
    }
}

class ConexionMariaDb : public BaseDatos {
public:
    // Connects to `servidor` (or to the socket when the string gives one); throws DbError.
    ConexionMariaDb(const ParametrosConexion &p, const Servidor &servidor) {
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
        const QByteArray host = servidor.host.toUtf8(), user = aCp1252(p.uid), pwd = aCp1252(p.pwd),
                         db = aCp1252(p.database), sock = p.socket.toUtf8();
        if (!mysql_real_connect(mysql_, host.isEmpty() ? nullptr : host.constData(), user.constData(),
                                pwd.constData(), db.isEmpty() ? nullptr : db.constData(), servidor.port,
                                sock.isEmpty() ? nullptr : sock.constData(), 0)) {
            const QString msg = QString::fromUtf8(mysql_error(mysql_));
            const unsigned codigo = mysql_errno(mysql_);
            mysql_close(mysql_);
            mysql_ = nullptr;
            throw DbError(msg, true, codigo);
        }
        hilo_ = mysql_thread_id(mysql_);
        nodo_ = textoServidor(servidor);
        // When the server started, by its own clock (after a restart the old ids mean nothing),
        // and whether it is a cluster node ready for work.
        static const char kInicio[] =
            "SELECT UNIX_TIMESTAMP() - (SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS WHERE "
            "VARIABLE_NAME='UPTIME'), (SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_VARIABLES WHERE "
            "VARIABLE_NAME='WSREP_ON'), (SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS WHERE "
            "VARIABLE_NAME='WSREP_READY')";
        bool listo = true;
        if (mysql_real_query(mysql_, kInicio, sizeof kInicio - 1) == 0) {
            if (MYSQL_RES *res = mysql_store_result(mysql_)) {
                if (MYSQL_ROW row = mysql_fetch_row(res); row) {
                    if (row[0])
                        inicio_ = std::atoll(row[0]);
                    cluster_ = row[1] && std::strcmp(row[1], "ON") == 0;
                    listo = !cluster_ || (row[2] && std::strcmp(row[2], "ON") == 0);
                }
                mysql_free_result(res);
            }
        }
        if (!listo) {
            // A node cut off from the cluster or still joining refuses every statement.
            mysql_close(mysql_);
            mysql_ = nullptr;
            throw DbError(QStringLiteral("el nodo %1 no está listo").arg(nodo_), true);
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
        std::shared_ptr<const NombresColumnas> columnas = nombres(mysql_fetch_fields(res), n);
        // The values' bytes and where each value lies go into two buffers of the connection,
        // kept from one statement to the next (every place is written before it is read); the
        // result gets its own copy of each, made once at the end.
        qsizetype ocupados = 0;
        std::size_t usados = 0;
        int nfilas = 0;
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
            const unsigned long *l = mysql_fetch_lengths(res);
            const qsizetype fin = ocupados;
            if (valores_.size() - usados < n)
                valores_.resize(std::max(2 * valores_.size(), usados + n));
            Resultado::Valor *v = valores_.data() + usados;
            usados += n;
            // The connector leaves a row's values in its read buffer in order, each after its
            // length prefix (at most nine bytes): a row found so is copied whole, prefixes
            // included, in one copy. Any other layout is copied value by value.
            unsigned i = 0;
            for (; i < n && !row[i]; ++i)
                v[i] = {fin, -1};
            const char *primero = i < n ? row[i] : nullptr, *ultimo = primero;
            qsizetype suma = 0;
            bool enOrden = true;
            // Offsets from the addresses in one addition: address minus the first's, plus fin.
            const qsizetype desplazamiento = fin - qsizetype(reinterpret_cast<std::uintptr_t>(primero));
            for (; i < n; ++i) {
                const char *p = row[i];
                if (!p) {
                    v[i] = {fin, -1};
                    continue;
                }
                const qsizetype largo = qsizetype(l[i]);
                enOrden &= p >= ultimo;
                v[i] = {desplazamiento + qsizetype(reinterpret_cast<std::uintptr_t>(p)), largo};
                ultimo = p + largo;
                suma += largo;
            }
            if (!primero) {
                // every value NULL
            } else if (enOrden && ultimo - primero <= suma + 9 * qsizetype(n)) {
                anadir(ocupados, primero, ultimo - primero);
            } else {
                for (unsigned i = 0; i < n; ++i)
                    if (row[i]) {
                        v[i] = {ocupados, qsizetype(l[i])};
                        anadir(ocupados, row[i], qsizetype(l[i]));
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
            throw DbError(error, conexion, numeroError);
        }
        afectadas_ = nfilas;
        Resultado r(std::move(columnas), nfilas, QByteArray(datos_.data(), ocupados),
                    std::vector<Resultado::Valor>(valores_.data(), valores_.data() + usados));
        recortar();
        return r;
    }

    long long filasAfectadas() const override { return afectadas_; }
    long long ultimoId() const override { return ultimoId_; }
    unsigned long idHilo() const override { return hilo_; }
    long long inicioServidor() const override { return inicio_; }
    bool perdida() const override { return perdida_; }
    bool comprobar() override {
        if (!perdida_ && mysql_ping(mysql_) != 0)
            perdida_ = true;
        return !perdida_;
    }
    QString nodo() const override { return nodo_; }
    bool enCluster() const override { return cluster_; }

    QString escapar(const QString &valor) const override {
        // The connection speaks latin1, where the server's escaping touches only these seven
        // characters: a value without them goes into the statement as it is.
        static constexpr auto kEscapados = [] {
            std::array<bool, 128> t{};
            for (char16_t u : {u'\0', u'\n', u'\r', u'\\', u'\'', u'"', char16_t(0x1A)})
                t[u] = true;
            return t;
        }();
        bool llano = true;
        for (QChar c : valor) {
            const char16_t u = c.unicode();
            if (u < 128 && kEscapados[u]) {
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
        throw DbError(QString::fromUtf8(mysql_error(mysql_)), conexion, n);
    }

    // Appends bytes to the buffer of values, which grows by doubling.
    void anadir(qsizetype &ocupados, const char *p, qsizetype n) {
        if (qsizetype(datos_.size()) - ocupados < n)
            datos_.resize(std::max({std::size_t(4096), 2 * datos_.size(), std::size_t(ocupados + n)}));
        std::memcpy(datos_.data() + ocupados, p, std::size_t(n));
        ocupados += n;
    }
    // After a large result the buffers go back to their usual size.
    void recortar() {
        constexpr std::size_t kBytes = 1 << 20, kValores = 1 << 16;
        if (datos_.size() > kBytes)
            std::vector<char>(kBytes).swap(datos_);
        if (valores_.size() > kValores)
            std::vector<Resultado::Valor>(kValores).swap(valores_);
    }

    // Column names decoded once per shape: a sale reads the same few tables again and again.
    std::shared_ptr<const NombresColumnas> nombres(const MYSQL_FIELD *campos, unsigned n) {
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
        auto forma = std::make_shared<const NombresColumnas>(std::move(columnas));
        nombres_.emplace(std::move(clave), forma);
        return forma;
    }

    MYSQL *mysql_ = nullptr;
    std::vector<char> datos_;
    std::vector<Resultado::Valor> valores_;
    std::map<std::string, std::shared_ptr<const NombresColumnas>> nombres_;
    long long afectadas_ = 0;
    long long ultimoId_ = 0;
    unsigned long hilo_ = 0;
    long long inicio_ = 0;
    bool perdida_ = false;
    QString nodo_;
    bool cluster_ = false;
};

// For each list of servers, the one that answered last.
std::mutex muUltimo;
std::map<QString, std::size_t> ultimoServidor;

} // namespace

std::unique_ptr<BaseDatos> abrirMariaDb(const ParametrosConexion &p) {
    if (p.servidores.size() <= 1)
        return std::make_unique<ConexionMariaDb>(p, p.servidores.empty() ? Servidor{p.server, p.port}
                                                                         : p.servidores.front());
    QString clave;
    for (const Servidor &s : p.servidores)
        clave += textoServidor(s) + QLatin1Char(',');
    std::size_t primero = 0;
    {
        std::lock_guard<std::mutex> l(muUltimo);
        if (auto it = ultimoServidor.find(clave); it != ultimoServidor.end())
            primero = it->second;
    }
    const std::size_t n = p.servidores.size();
    QStringList fallas;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = (primero + i) % n;
        try {
            auto c = std::make_unique<ConexionMariaDb>(p, p.servidores[k]);
            std::lock_guard<std::mutex> l(muUltimo);
            ultimoServidor[clave] = k;
            return c;
        } catch (const DbError &e) {
            fallas << textoServidor(p.servidores[k]) + QStringLiteral(": ") +
                          QString::fromStdString(e.what());
        }
    }
    throw DbError(QStringLiteral("ningún servidor responde (") + fallas.join(QStringLiteral("; ")) +
                      QLatin1Char(')'),
                  true);
}

} // namespace corvalo
