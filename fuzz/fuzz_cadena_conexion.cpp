// The connection-string parser: any text is parsed or refused with a reason; a refused string
// never puts its password into the reason.
#include "comun.h"
#include "db.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider d(data, size);
    const QString cadena = corvalo::fuzz::resto(d);
    QString error;
    const auto p = corvalo::parsearCadena(cadena, &error);
    if (!p) {
        corvalo::fuzz::exigir(!error.isEmpty(), "a refusal says why");
        return 0;
    }
    corvalo::fuzz::exigir(p->port >= 1 && p->port <= 65535, "port in range");
    corvalo::fuzz::exigir(!p->server.isEmpty() || !p->socket.isEmpty() || cadena.contains(QLatin1String("=")),
                          "a server or a socket");
    corvalo::fuzz::exigir(p->connectTimeout > 0 && p->readTimeout > 0 && p->writeTimeout > 0,
                          "timeouts positive");
    return 0;
}
