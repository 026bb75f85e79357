#include "bd_falsa.h"

namespace corvalo::prueba {

Resultado BdFalsa::ejecutar(const QString &sql) {
    sentencias << sql;
    if (alEjecutar)
        alEjecutar(sql);
    if (perdidaFalsa)
        throw DbError(QStringLiteral("conexión perdida"), true);
    for (const auto &[f, conexion] : fallos_)
        if (sql.startsWith(f)) {
            perdidaFalsa = perdidaFalsa || conexion;
            throw DbError(QStringLiteral("fallo simulado"), conexion);
        }
    ultimo = 0;
    // venta_cupo_turno has no AUTO_INCREMENT column: its INSERT brings no number back.
    if (sql.startsWith(QLatin1String("INSERT")) &&
        !sql.startsWith(QLatin1String("INSERT INTO venta_cupo_turno")) && siguienteId > 0)
        ultimo = siguienteId++;
    const Resultado *mejor = nullptr;
    int largo = -1;
    for (const auto &[prefijo, r] : respuestas_)
        if (sql.startsWith(prefijo) && int(prefijo.size()) > largo) {
            mejor = &r;
            largo = int(prefijo.size());
        }
    return mejor ? *mejor : Resultado();
}

Resultado fila(std::initializer_list<std::pair<QString, QString>> valores) {
    QStringList cols;
    std::vector<Campo> f;
    for (const auto &[c, v] : valores) {
        cols << c;
        f.emplace_back(v);
    }
    return Resultado(cols, {f});
}

Resultado tabla(const QStringList &columnas, const std::vector<QStringList> &filas) {
    std::vector<std::vector<Campo>> out;
    for (const QStringList &f : filas) {
        std::vector<Campo> r;
        for (const QString &v : f)
            r.emplace_back(v);
        out.push_back(std::move(r));
    }
    return Resultado(columnas, std::move(out));
}

namespace {
class Reenvio : public BaseDatos {
public:
    explicit Reenvio(BdFalsa &db) : db_(db) {}
    Resultado ejecutar(const QString &sql) override { return db_.ejecutar(sql); }
    long long filasAfectadas() const override { return db_.filasAfectadas(); }
    QString escapar(const QString &valor) const override { return db_.escapar(valor); }
    long long ultimoId() const override { return db_.ultimoId(); }
    unsigned long idHilo() const override { return db_.idHilo(); }
    long long inicioServidor() const override { return db_.inicioServidor(); }
    bool perdida() const override { return db_.perdida(); }

private:
    BdFalsa &db_;
};
} // namespace

std::unique_ptr<BaseDatos> FabricaFalsa::abrir(const QString &cadena) {
    cadenas << cadena;
    if (falla)
        throw DbError(codigoFalla == 1049 ? QStringLiteral("Unknown database 'bd_corvalo'")
                                          : QStringLiteral("servidor inalcanzable"),
                      true, codigoFalla);
    auto db = std::make_unique<BdFalsa>();
    if (preparar)
        preparar(*db);
    abiertas.push_back(db.get());
    propias.push_back(std::move(db));
    return std::make_unique<Reenvio>(*abiertas.back());
}

} // namespace corvalo::prueba
