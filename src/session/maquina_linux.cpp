#include "maquina_linux.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QStringList>
#include <QSysInfo>
#include <QTimer>
#include <QUrl>

namespace corvalo {

QString formatoMac(const QString &hardware) {
    QString hex = hardware;
    hex.remove(QLatin1Char(':')).remove(QLatin1Char('-'));
    if (hex.size() != 12)
        return {};
    QStringList pares;
    bool ceros = true;
    for (int i = 0; i < 12; i += 2) {
        bool ok = false;
        const int v = hex.mid(i, 2).toInt(&ok, 16);
        if (!ok)
            return {};
        ceros = ceros && v == 0;
        pares << QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
    }
    return ceros ? QString() : pares.join(QLatin1Char(':'));
}

QString MaquinaLinux::direccionMac() {
    QString ultima;
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if (!(f & QNetworkInterface::IsUp) || (f & QNetworkInterface::IsLoopBack) ||
            i.addressEntries().isEmpty())
            continue;
        const QString mac = formatoMac(i.hardwareAddress());
        if (!mac.isEmpty())
            ultima = mac;
    }
    return ultima;
}

bool MaquinaLinux::redActiva() {
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if ((f & QNetworkInterface::IsUp) && !(f & QNetworkInterface::IsLoopBack))
            return true;
    }
    return false;
}

QByteArray MaquinaLinux::httpGet(const QString &url) {
    const QUrl direccion(url);
    if (!direccion.isValid() || direccion.scheme().isEmpty())
        return {};
    QNetworkAccessManager red;
    red.setProxy(QNetworkProxy::NoProxy);
    red.setCache(nullptr);
    QNetworkRequest pedido(direccion);
    pedido.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("vb wininet"));
    pedido.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    pedido.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    pedido.setTransferTimeout(esperaMs_);
    QNetworkReply *respuesta = red.get(pedido);
    QByteArray cuerpo;
    QEventLoop espera;
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, respuesta, &QNetworkReply::abort);
    QObject::connect(respuesta, &QNetworkReply::readyRead, [&] {
        while (respuesta->bytesAvailable() > 0)
            cuerpo += respuesta->read(256);
    });
    QObject::connect(respuesta, &QNetworkReply::finished, &espera, &QEventLoop::quit);
    limite.start(esperaMs_);
    if (!respuesta->isFinished())
        espera.exec(QEventLoop::ExcludeUserInputEvents);
    const bool bien = respuesta->error() == QNetworkReply::NoError;
    if (bien)
        while (respuesta->bytesAvailable() > 0)
            cuerpo += respuesta->read(256);
    delete respuesta;
    return bien ? cuerpo : QByteArray();
}

QString MaquinaLinux::nombreEquipo() {
    return QSysInfo::machineHostName();
}

QString MaquinaLinux::impresoraPredeterminada() {
    return {};
}

bool MaquinaLinux::abrirDireccion(const QString &url) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url});
}

} // namespace corvalo
