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
    // Statements starting with `prefijo` fail (with `conexion`: the connection is lost).
    void fallar(const QString &prefijo, bool conexion = false) { fallos_.push_back({prefijo, conexion}); }
    // Called before each statement; may throw or change answers.
    std::function<void(const QString &)> alEjecutar;
    long long afectadas = 1;
    // The insert id each INSERT's reply carries (then counted up by one), the connection's id,
    // the server's start and whether the connection is lost.
    long long siguienteId = 0;
    long long ultimo = 0;
    unsigned long hilo = 0;
    long long inicio = 0;
    bool perdidaFalsa = false;

    Resultado ejecutar(const QString &sql) override;
    long long filasAfectadas() const override { return afectadas; }
    QString escapar(const QString &valor) const override { return escaparMysql(valor); }
    long long ultimoId() const override { return ultimo; }
    unsigned long idHilo() const override { return hilo; }
    long long inicioServidor() const override { return inicio; }
    bool perdida() const override { return perdidaFalsa; }

    QStringList sentencias;

private:
    std::map<QString, Resultado> respuestas_;
    std::vector<std::pair<QString, bool>> fallos_;
};

// A one-row result, columns and values given in pairs.
Resultado fila(std::initializer_list<std::pair<QString, QString>> valores);
// Rows of the given columns.
Resultado tabla(const QStringList &columnas, const std::vector<QStringList> &filas);

// A factory that hands out BdFalsa connections (kept, so tests can read them) or fails.
class FabricaFalsa : public FabricaConexiones {
public:
    std::unique_ptr<BaseDatos> abrir(const QString &cadena) override;
    QStringList cadenas; // every string asked for
    bool falla = false;  // every open fails
    unsigned codigoFalla = 0; // the server's error number of those failures (1049: no such database)
    // Every connection handed out, kept alive here (the caller gets a forwarding handle).
    std::vector<BdFalsa *> abiertas;
    std::vector<std::unique_ptr<BdFalsa>> propias;
    std::function<void(BdFalsa &)> preparar; // scripts each new connection
};

} // namespace corvalo::prueba
