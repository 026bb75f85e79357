#include "servicio_ip.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace corvalo::backoffice {

int servirDireccion(const QStringList &argumentos, QTextStream &salida, QTextStream &errores) {
    quint16 puerto = 0;
    QString respuesta = QStringLiteral("127.0.0.1");
    for (int i = 0; i < argumentos.size(); ++i) {
        const QString &a = argumentos[i];
        if (i + 1 >= argumentos.size()) {
            errores << "serve-ip: " << a << " needs a value\n";
            return 2;
        }
        bool ok = true;
        if (a == QLatin1String("--port"))
            puerto = argumentos[++i].toUShort(&ok);
        else if (a == QLatin1String("--answer"))
            respuesta = argumentos[++i];
        else
            ok = false;
        if (!ok) {
            errores << "serve-ip: unknown option or value: " << a << '\n';
            return 2;
        }
    }
    QTcpServer servidor;
    if (!servidor.listen(QHostAddress::LocalHost, puerto)) {
        errores << "serve-ip: cannot listen on 127.0.0.1:" << puerto << ": " << servidor.errorString()
                << '\n';
        return 1;
    }
    const QByteArray cuerpo = respuesta.toLatin1() + '\n';
    const QByteArray http = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                            QByteArray::number(cuerpo.size()) + "\r\nConnection: close\r\n\r\n" + cuerpo;
    QObject::connect(&servidor, &QTcpServer::newConnection, &servidor, [&] {
        while (QTcpSocket *s = servidor.nextPendingConnection()) {
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            auto leido = std::make_shared<QByteArray>();
            QObject::connect(s, &QTcpSocket::readyRead, s, [s, http, leido] {
                // One answer per request, once its head has arrived.
                leido->append(s->readAll());
                if (!leido->contains("\r\n\r\n"))
                    return;
                s->write(http);
                s->disconnectFromHost();
            });
        }
    });
    salida << "serving " << respuesta << " on http://127.0.0.1:" << servidor.serverPort() << "/\n";
    salida.flush();
    return QCoreApplication::exec();
}

} // namespace corvalo::backoffice
