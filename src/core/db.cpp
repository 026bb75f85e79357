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
    if (conServidor) {
        const QStringList nombres = p.server.split(QLatin1Char(','));
        for (const QString &n : nombres) {
            Servidor s{n.trimmed(), p.port};
            const int dos = s.host.lastIndexOf(QLatin1Char(':'));
            if (dos >= 0) {
                bool ok = false;
                const uint v = s.host.mid(dos + 1).trimmed().toUInt(&ok);
                if (!ok || v == 0 || v > 65535) {
                    if (error)
                        *error = QStringLiteral("puerto no válido en la cadena de conexión: \"%1\"").arg(n);
                    return std::nullopt;
                }
                s.port = v;
                s.host = s.host.left(dos).trimmed();
            }
            if (s.host.isEmpty() && nombres.size() > 1) {
                if (error)
                    *error = QStringLiteral("servidor vacío en la cadena de conexión: \"%1\"").arg(p.server);
                return std::nullopt;
            }
            p.servidores.push_back(s);
        }
        p.server = p.servidores.front().host;
        p.port = p.servidores.front().port;
    }
    return p;
}

QString textoServidor(const Servidor &s) {
    return s.host + QLatin1Char(':') + QString::number(s.port);
}

QString cadenaDeNodo(const QString &cadena, const QString &nodo) {
    QStringList partes = cadena.split(QLatin1Char(';'));
    for (QString &parte : partes) {
        const int igual = parte.indexOf(QLatin1Char('='));
        if (igual > 0 &&
            parte.left(igual).trimmed().compare(QLatin1String("server"), Qt::CaseInsensitive) == 0)
            parte = parte.left(igual + 1) + nodo;
    }
    return partes.join(QLatin1Char(';'));
}

void lecturaCausal(BaseDatos &db, bool causal) {
    if (db.enCluster())
        db.ejecutar(causal ? QStringLiteral("SET SESSION wsrep_sync_wait=1")
                           : QStringLiteral("SET SESSION wsrep_sync_wait=0"));
}

double Campo::numero() const {
    if (nulo_)
        return 0.0;
    // Only ASCII characters make a number, and Windows-1252 keeps ASCII as it is: the bytes
    // give the same number as the text.
    if (pendiente_)
        return numeroDe(QByteArrayView(datos_.constData() + inicio_, largo_));
    return numeroDe(texto_);
}

void Campo::decodificar() const {
    texto_ = desdeCp1252(QByteArrayView(datos_.constData() + inicio_, largo_));
    pendiente_ = false;
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

inline std::size_t unidad(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'A' && u <= u'Z') ? u + 32 : u;
    return c.toCaseFolded().unicode();
}

// The length and the case-folded first and last two characters: column names differ there
// (the few that do not meet a name or two more on the way, told apart by the comparison).
template <typename Nombre> std::size_t hashNombre(const Nombre &nombre) {
    const qsizetype n = nombre.size();
    if (n == 0)
        return 0;
    const std::size_t h = std::size_t(n) ^ (unidad(nombre[0]) << 4) ^ (unidad(nombre[n - 1]) << 9) ^
                          (unidad(nombre[n > 1 ? n - 2 : 0]) << 14);
    return (h * 0x9E3779B97F4A7C15ull) >> 40;
}

template <typename Nombre> bool mismoNombre(const QString &a, const Nombre &b) {
    const qsizetype n = a.size();
    if (n != b.size())
        return false;
    const QChar *p = a.constData();
    for (qsizetype i = 0; i < n; ++i)
        if (p[i] != QChar(b[i]))
            return false;
    return true;
}

} // namespace

NombresColumnas::NombresColumnas(QStringList nombres) : nombres_(std::move(nombres)) {
    std::size_t n = 16;
    while (n < std::size_t(nombres_.size()) * 2)
        n *= 2;
    tabla_.assign(n, 0);
    mascara_ = n - 1;
    for (int c = 0; c < nombres_.size(); ++c) {
        std::size_t i = hashNombre(nombres_[c]) & mascara_;
        while (tabla_[i] != 0) {
            if (nombres_[tabla_[i] - 1].compare(nombres_[c], Qt::CaseInsensitive) == 0)
                repetidas_ = true;
            i = (i + 1) & mascara_;
        }
        tabla_[i] = c + 1;
    }
}

// The table finds the one column of exactly that name; any other case (a name asked in other
// letters, names repeated but for case, no such column) takes the scan in order, which decides.
template <typename Nombre> int NombresColumnas::buscar(Nombre nombre) const {
    if (!repetidas_) {
        for (std::size_t i = hashNombre(nombre) & mascara_; tabla_[i] != 0; i = (i + 1) & mascara_)
            if (mismoNombre(nombres_[tabla_[i] - 1], nombre))
                return tabla_[i] - 1;
    }
    return indiceEn(nombres_, nombre);
}

int NombresColumnas::indice(QStringView nombre) const {
    return buscar(nombre);
}

int NombresColumnas::indice(QLatin1String nombre) const {
    return buscar(nombre);
}

const QStringList &Resultado::columnas() const {
    static const QStringList ninguna;
    return columnas_ ? columnas_->nombres() : ninguna;
}

Resultado::Resultado(QStringList columnas, const std::vector<std::vector<Campo>> &filas)
    : columnas_(std::make_shared<const NombresColumnas>(std::move(columnas))), filas_(int(filas.size())) {
    const int n = int(columnas_->nombres().size());
    for (const auto &f : filas) {
        for (int c = 0; c < n; ++c) {
            const Campo &v = c < int(f.size()) ? f[std::size_t(c)] : Campo();
            if (v.esNulo()) {
                valores_.push_back({datos_.size(), -1});
            } else {
                const QByteArray b = aCp1252(v.texto());
                valores_.push_back({datos_.size(), b.size()});
                datos_ += b;
            }
        }
    }
}

Campo Resultado::campo(int fila, int columna) const {
    const std::size_t i = std::size_t(fila) * std::size_t(columnas_->nombres().size()) + std::size_t(columna);
    const Valor &v = valores_[i];
    if (v.largo < 0)
        return Campo();
    return Campo(datos_, v.inicio, v.largo);
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
    const int n = int(columnas().size());
    out.reserve(std::size_t(n));
    for (int c = 0; c < n; ++c)
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
