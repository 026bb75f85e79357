// The MariaDB Connector/C connection behind BaseDatos.
#include "db.h"
#include "texto.h"

#include <mysql.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

namespace corvalo {

namespace {

class ConexionMariaDb : public BaseDatos {
public:
    explicit ConexionMariaDb(const ParametrosConexion &p) {
        mysql_ = mysql_init(nullptr);
        if (!mysql_)
            throw DbError(QStringLiteral("sin memoria para la conexión"));
        unsigned int ct = unsigned(p.connectTimeout), rt = unsigned(p.readTimeout), wt = unsigned(p.writeTimeout);
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
            throw DbError(msg);
        }
    }
    ~ConexionMariaDb() override {
        if (mysql_)
            mysql_close(mysql_);
    }

    Resultado ejecutar(const QString &sql) override {
        const QByteArray bytes = aCp1252(sql);
        if (mysql_real_query(mysql_, bytes.constData(), static_cast<unsigned long>(bytes.size())) != 0)
            throw DbError(QString::fromUtf8(mysql_error(mysql_)));
        // Rows are read straight off the connection and copied once, into the result.
        MYSQL_RES *res = mysql_use_result(mysql_);
        if (!res) {
            if (mysql_field_count(mysql_) != 0)
                throw DbError(QString::fromUtf8(mysql_error(mysql_)));
            afectadas_ = static_cast<long long>(mysql_affected_rows(mysql_));
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
        const bool cortado = mysql_errno(mysql_) != 0;
        const QString error = cortado ? QString::fromUtf8(mysql_error(mysql_)) : QString();
        mysql_free_result(res);
        if (cortado)
            throw DbError(error);
        afectadas_ = nfilas;
        return Resultado(columnas, nfilas, std::move(datos), std::move(inicios), std::move(largos));
    }

    long long filasAfectadas() const override { return afectadas_; }

    QString escapar(const QString &valor) const override {
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
    // Column names decoded once per shape: a sale reads the same few tables again and again.
    QStringList nombres(const MYSQL_FIELD *campos, unsigned n) {
        std::string clave;
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
};

} // namespace

std::unique_ptr<BaseDatos> abrirMariaDb(const ParametrosConexion &p) {
    return std::make_unique<ConexionMariaDb>(p);
}

} // namespace corvalo
