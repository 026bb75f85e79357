#include "servidor_prueba.h"

#include "guion.h"

#include <QFile>

#include <cstdlib>

namespace corvalo::prueba {

namespace {
QString entorno(const char *nombre) {
    const char *v = std::getenv(nombre);
    if (!v || !*v)
        throw DbError(QStringLiteral("%1 is not set: run the tests through ./run.sh test, which starts the "
                                     "private database server")
                          .arg(QString::fromLatin1(nombre)));
    return QString::fromUtf8(v);
}
} // namespace

QString cadenaServidor() { return entorno("CORVALO_TEST_SERVER"); }
QString cadenaLocalPrueba() { return entorno("CORVALO_TEST_LOCAL"); }

std::unique_ptr<BaseDatos> conectar(const QString &cadena) {
    auto p = parsearCadena(cadena);
    if (!p)
        throw DbError(QStringLiteral("bad test connection string"));
    p->readTimeout = 120;
    p->writeTimeout = 120;
    return abrirMariaDb(*p);
}

QString cadenaCluster() {
    const char *v = std::getenv("CORVALO_CLUSTER_SERVER");
    return v ? QString::fromUtf8(v) : QString();
}

QString crearBaseCentral(const QString &nombre, const QString &servidor) {
    QString base = servidor.isEmpty() ? cadenaServidor() : servidor;
    if (!base.endsWith(QLatin1Char(';')))
        base += QLatin1Char(';');
    auto db = conectar(base);
    db->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(nombre));
    db->ejecutar(QStringLiteral("CREATE DATABASE `%1` DEFAULT CHARACTER SET latin1").arg(nombre));
    const QString cadena = base + QStringLiteral("database=%1;").arg(nombre);
    QFile f(QStringLiteral(CORVALO_SOURCE_DIR "/db/central.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("db/central.sql not found"));
    auto central = conectar(cadena);
    ejecutarGuion(*central, QString::fromUtf8(f.readAll()));
    return cadena;
}

} // namespace corvalo::prueba
