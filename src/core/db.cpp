#include "db.h"

#include "texto.h"

namespace corvalo {

std::optional<ParametrosConexion> parsearCadena(const QString &cadena, QString *error) {
    ParametrosConexion p;
    bool conServidor = false;
    const QStringList partes = cadena.split(QLatin1Char(';'));
    int posicion = 0;
    for (const QString &parte : partes) {
        ++posicion;
        if (parte.trimmed().isEmpty())
            continue;
        const int igual = parte.indexOf(QLatin1Char('='));
        if (igual <= 0) {
            // The field is named by its place only: it may be the rest of a password.
            if (error)
                *error = QStringLiteral("el campo %1 de la cadena de conexión no tiene '='").arg(posicion);
            return std::nullopt;
        }
        const QString nombre = parte.left(igual).trimmed().toLower();
        const QString valor = parte.mid(igual + 1).trimmed();
        if (nombre == QLatin1String("driver")) {
            p.driver = valor;
        } else if (nombre == QLatin1String("server")) {
            p.server = valor;
            conServidor = true;
        } else if (nombre == QLatin1String("port")) {
            bool ok = false;
            const uint v = valor.toUInt(&ok);
            if (!ok || v == 0 || v > 65535) {
                if (error)
                    *error = QStringLiteral("puerto no válido en la cadena de conexión: \"%1\"").arg(valor);
                return std::nullopt;
            }
            p.port = v;
        } else if (nombre == QLatin1String("uid") || nombre == QLatin1String("user")) {
            p.uid = valor;
        } else if (nombre == QLatin1String("pwd") || nombre == QLatin1String("password")) {
            p.pwd = parte.mid(igual + 1); // a password keeps its blanks
        } else if (nombre == QLatin1String("database")) {
            p.database = valor;
        } else if (nombre == QLatin1String("socket")) {
            p.socket = valor;
        } else if (nombre == QLatin1String("connecttimeout") || nombre == QLatin1String("readtimeout") ||
                   nombre == QLatin1String("writetimeout")) {
            bool ok = false;
            const int v = valor.toInt(&ok);
            if (!ok || v <= 0 || v > 3600) {
                if (error)
                    *error =
                        QStringLiteral("%1 no válido en la cadena de conexión: \"%2\"").arg(nombre, valor);
                return std::nullopt;
            }
            (nombre == QLatin1String("connecttimeout") ? p.connectTimeout
             : nombre == QLatin1String("readtimeout")  ? p.readTimeout
                                                       : p.writeTimeout) = v;
        }
        // Other ODBC fields ("connection=", "option=") carry nothing for us.
    }
    if (!conServidor && p.socket.isEmpty()) {
        if (error)
            *error = QStringLiteral("la cadena de conexión no indica el servidor (server=)");
        return std::nullopt;
    }
    return p;
}

double Campo::numero() const {
    return nulo_ ? 0.0 : numeroDe(texto_);
}

namespace {
template <typename Nombre> int indiceEn(const QStringList &columnas, Nombre nombre) {
    for (int i = 0; i < columnas.size(); ++i)
        if (columnas[i] == nombre)
            return i;
    for (int i = 0; i < columnas.size(); ++i)
        if (columnas[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
} // namespace

int Resultado::indice(const QString &nombre) const {
    return indiceEn(columnas_, nombre);
}

int Resultado::indice(QLatin1String nombre) const {
    return indiceEn(columnas_, nombre);
}

Resultado::Resultado(QStringList columnas, const std::vector<std::vector<Campo>> &filas)
    : columnas_(std::move(columnas)), filas_(int(filas.size())) {
    for (const auto &f : filas) {
        for (int c = 0; c < columnas_.size(); ++c) {
            const Campo &v = c < int(f.size()) ? f[std::size_t(c)] : Campo();
            inicios_.push_back(datos_.size());
            if (v.esNulo()) {
                largos_.push_back(-1);
            } else {
                const QByteArray b = aCp1252(v.texto());
                largos_.push_back(int(b.size()));
                datos_ += b;
            }
        }
    }
}

Campo Resultado::campo(int fila, int columna) const {
    const std::size_t i = std::size_t(fila) * std::size_t(columnas_.size()) + std::size_t(columna);
    if (largos_[i] < 0)
        return Campo();
    return Campo(desdeCp1252(QByteArrayView(datos_.constData() + inicios_[i], largos_[i])));
}

Campo Resultado::valor(int fila, QLatin1String nombre) const {
    const int c = indice(nombre);
    if (c < 0)
        return valor(fila, QString(nombre)); // reports the missing column
    if (fila < 0 || fila >= filas_)
        throw DbError(QStringLiteral("fila inexistente: %1").arg(fila));
    return campo(fila, c);
}

Campo Resultado::valor(int fila, const QString &nombre) const {
    const int c = indice(nombre);
    if (c < 0)
        throw DbError(QStringLiteral("columna inexistente: %1").arg(nombre));
    if (fila < 0 || fila >= filas_)
        throw DbError(QStringLiteral("fila inexistente: %1").arg(fila));
    return campo(fila, c);
}

std::vector<Campo> Resultado::fila(int i) const {
    if (i < 0 || i >= filas_)
        throw DbError(QStringLiteral("fila inexistente: %1").arg(i));
    std::vector<Campo> out;
    for (int c = 0; c < columnas_.size(); ++c)
        out.push_back(campo(i, c));
    return out;
}

QString escaparMysql(const QString &valor) {
    QString out;
    out.reserve(valor.size() + 8);
    for (QChar c : valor) {
        switch (c.unicode()) {
        case 0:
            out += QLatin1String("\\0");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\'':
            out += QLatin1String("\\'");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case 0x1A:
            out += QLatin1String("\\Z");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString sqlTexto(const BaseDatos &db, const QString &valor) {
    return db.escapar(valor);
}
QString sqlTexto(const BaseDatos &db, double valor) {
    return db.escapar(textoNumero(valor));
}

std::unique_ptr<BaseDatos> FabricaMariaDb::abrir(const QString &cadena) {
    QString error;
    const auto p = parsearCadena(cadena, &error);
    if (!p)
        throw DbError(error);
    return abrirMariaDb(*p);
}

} // namespace corvalo
