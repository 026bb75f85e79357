// A recording database for statement-text tests: every statement is kept in order, and the
// rows a statement returns are scripted by the test.
#pragma once

#include "db.h"
#include "qt_impresion.h"

#include <functional>
#include <map>
#include <ostream>


namespace corvalo::prueba {

class BdFalsa : public BaseDatos {
public:
    // Answer for statements starting with `prefijo` (the longest matching prefix wins).
    void responder(const QString &prefijo, Resultado r) { respuestas_[prefijo] = std::move(r); }
    // Statements starting with `prefijo` fail.
    void fallar(const QString &prefijo) { fallos_.push_back(prefijo); }
    // Called before each statement; may throw or change answers.
    std::function<void(const QString &)> alEjecutar;
    long long afectadas = 1;

    Resultado ejecutar(const QString &sql) override;
    long long filasAfectadas() const override { return afectadas; }
    QString escapar(const QString &valor) const override { return escaparMysql(valor); }

    QStringList sentencias;

private:
    std::map<QString, Resultado> respuestas_;
    QStringList fallos_;
};

// A one-row result, columns and values given in pairs.
Resultado fila(std::initializer_list<std::pair<QString, QString>> valores);
// Rows of the given columns.
Resultado tabla(const QStringList &columnas, const std::vector<QStringList> &filas);

// A factory that hands out BdFalsa connections (kept, so tests can read them) or fails.
class FabricaFalsa : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &cadena) override;
    QStringList cadenas;          // every string asked for
    bool falla = false;           // every open fails
    // Every connection handed out, kept alive here (the caller gets a forwarding handle).
    std::vector<BdFalsa *> abiertas;
    std::vector<std::unique_ptr<BdFalsa>> propias;
    std::function<void(BdFalsa &)> preparar; // scripts each new connection
};

} // namespace corvalo::prueba
