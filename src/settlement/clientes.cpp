#include "clientes.h"

#include "texto.h"

namespace corvalo {

namespace {

QStringList columna(const Resultado &r, const QString &nombre) {
    QStringList out;
    for (int i = 0; i < r.filas(); ++i)
        out << r.valor(i, nombre).texto();
    return out;
}

} // namespace

QStringList nombresClientes(const Resultado &grupos) {
    return columna(grupos, QStringLiteral("ch"));
}

std::optional<QString> codigoDeCliente(const Resultado &grupos, const QString &nombre) {
    for (int i = 0; i < grupos.filas(); ++i)
        if (grupos.valor(i, QStringLiteral("ch")).texto() == nombre &&
            grupos.valor(i, QStringLiteral("id_tipo")).numero() == 2)
            return grupos.valor(i, QStringLiteral("id_grupo")).texto();
    return std::nullopt;
}

std::optional<QString> clienteDeCodigo(const Resultado &grupos, const QString &codigo) {
    const double n = numeroDe(codigo);
    for (int i = 0; i < grupos.filas(); ++i)
        if (grupos.valor(i, QStringLiteral("id_grupo")).numero() == n)
            return grupos.valor(i, QStringLiteral("ch")).texto();
    return std::nullopt;
}

std::optional<QString> grupoDeCliente(const Resultado &grupos, const QString &nombre) {
    for (int i = 0; i < grupos.filas(); ++i)
        if (grupos.valor(i, QStringLiteral("ch")).texto() == nombre)
            return grupos.valor(i, QStringLiteral("grupo")).texto();
    return std::nullopt;
}

QStringList nombresHipodromos(const Resultado &hipodromos) {
    return columna(hipodromos, QStringLiteral("hipodromo"));
}

int numeroHipodromo(const Resultado &hipodromos, const QString &nombre) {
    for (int i = 0; i < hipodromos.filas(); ++i)
        if (hipodromos.valor(i, QStringLiteral("hipodromo")).texto() == nombre)
            return hipodromos.valor(i, QStringLiteral("id_hipodromo")).entero();
    return 0;
}

} // namespace corvalo
