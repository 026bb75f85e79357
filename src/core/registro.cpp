#include "registro.h"

#include "sesion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>

namespace corvalo {

Q_LOGGING_CATEGORY(lcBaseDatos, "corvalo.db")
Q_LOGGING_CATEGORY(lcSesion, "corvalo.session")
Q_LOGGING_CATEGORY(lcVentas, "corvalo.sales")
Q_LOGGING_CATEGORY(lcCobro, "corvalo.settlement")
Q_LOGGING_CATEGORY(lcImpresion, "corvalo.printing")
Q_LOGGING_CATEGORY(lcGerencia, "corvalo.management")
Q_LOGGING_CATEGORY(lcVisor, "corvalo.displays")
Q_LOGGING_CATEGORY(lcReportes, "corvalo.reports")

QString sinClaves(const QString &texto) {
    static const QRegularExpression clave(QStringLiteral("((?:pwd|password)\\s*=)[^;]*"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString s = texto;
    return s.replace(clave, QStringLiteral("\\1***"));
}

void registrarFalla(const QLoggingCategory &categoria, const Sesion *sesion, const QString &pantalla,
                    const QString &accion, const QString &error) {
    const QString usuario = sesion && !sesion->usuario.isEmpty() ? sesion->usuario : QStringLiteral("-");
    qCWarning(categoria).noquote() << sinClaves(usuario + QLatin1Char(' ') + pantalla + QStringLiteral(": ") +
                                                accion + QStringLiteral(": ") + error);
}

void registrarFalla(const QLoggingCategory &categoria, const Sesion *sesion, const QString &pantalla,
                    const QString &accion, const std::exception &e) {
    registrarFalla(categoria, sesion, pantalla, accion, QString::fromUtf8(e.what()));
}

namespace {

// Order of the levels from the least to the most severe.
int rango(QtMsgType t) {
    switch (t) {
    case QtDebugMsg:
        return 0;
    case QtInfoMsg:
        return 1;
    case QtWarningMsg:
        return 2;
    case QtCriticalMsg:
        return 3;
    case QtFatalMsg:
        return 4;
    }
    return 2;
}

const char *nombreNivel(QtMsgType t) {
    switch (t) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "warning";
}

struct EstadoRegistro {
    QMutex mutex;
    QFile archivo;
    int minimo = 2;
    QtMessageHandler anterior = nullptr;
};

EstadoRegistro &estado() {
    static EstadoRegistro e;
    return e;
}

void manejador(QtMsgType tipo, const QMessageLogContext &contexto, const QString &mensaje) {
    EstadoRegistro &e = estado();
    if (rango(tipo) >= e.minimo) {
        const QString linea =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
            QStringLiteral(" [") + QLatin1String(nombreNivel(tipo)) + QStringLiteral("] ") +
            QLatin1String(contexto.category ? contexto.category : "default") + QStringLiteral(": ") +
            sinClaves(mensaje) + QLatin1Char('\n');
        QMutexLocker lock(&e.mutex);
        if (e.archivo.isOpen()) {
            e.archivo.write(linea.toUtf8());
            e.archivo.flush();
        }
    }
    if (e.anterior)
        e.anterior(tipo, contexto, mensaje);
}

} // namespace

bool instalarRegistro(const QString &archivo, QtMsgType nivel) {
    EstadoRegistro &e = estado();
    {
        QMutexLocker lock(&e.mutex);
        e.minimo = rango(nivel);
        if (e.archivo.isOpen())
            e.archivo.close();
        QDir().mkpath(QFileInfo(archivo).absolutePath());
        e.archivo.setFileName(archivo);
        if (!e.archivo.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            lock.unlock();
            qCWarning(lcSesion).noquote()
                << QStringLiteral("cannot open the log file %1: %2").arg(archivo, e.archivo.errorString());
            return false;
        }
    }
    if (nivel == QtDebugMsg)
        QLoggingCategory::setFilterRules(QStringLiteral("corvalo.*.debug=true"));
    QtMessageHandler previo = qInstallMessageHandler(manejador);
    if (previo != manejador)
        e.anterior = previo;
    return true;
}

QString archivoRegistroPredeterminado() {
    return QDir::homePath() + QStringLiteral("/.local/state/Corvalo/corvalo.log");
}

std::optional<QtMsgType> nivelRegistro(const QString &texto) {
    if (texto == QStringLiteral("debug"))
        return QtDebugMsg;
    if (texto == QStringLiteral("info"))
        return QtInfoMsg;
    if (texto == QStringLiteral("warning"))
        return QtWarningMsg;
    if (texto == QStringLiteral("critical"))
        return QtCriticalMsg;
    return std::nullopt;
}

} // namespace corvalo
