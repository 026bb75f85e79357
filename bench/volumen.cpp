#include "volumen.h"

#include "texto.h"

#include <QThread>

namespace corvalo::bench {

namespace {

// One SELECT over seq_1_to_N giving the 19 columns after numero. `dia` is the SQL expression
// of the ticket's date; `base` keeps the codes of the two tables apart. The values go in by
// name: the text is full of "seq%N" that QString::arg would take for its own markers.
QString filas(int n, const QString &dia, long long base) {
    return QStringLiteral(
               "SELECT 1+seq%12, 1+seq%14, 20*(1+seq%10), IF(seq%3=2, 0, 1+seq%5), IF(seq%3=2, 1+seq%5, 0), "
               "CASE seq%10 WHEN 0 THEN 'taq1' WHEN 1 THEN 'taq3' WHEN 2 THEN 'taq2' ELSE CONCAT('otra', "
               "seq%300) END, "
               "CASE seq%10 WHEN 0 THEN 'G01' WHEN 1 THEN 'G01' WHEN 2 THEN 'G02' ELSE CONCAT('G', "
               "10+seq%40) END, "
               "'10:00:00', @DIA@, "
               "IF(seq%20<5, 40*(1+seq%10), 0), IF(seq%20 IN (1,3), @DIA@, ''), "
               "CASE seq%20 WHEN 0 THEN 1 WHEN 1 THEN 2 WHEN 2 THEN 4 WHEN 3 THEN 3 WHEN 4 THEN IF(seq%3=2, "
               "5, 1) ELSE 0 END, "
               "CONCAT(1+seq%3, @BASE@+seq), 1+seq%3, 1+(seq%7=0), '', '', '', '0' FROM seq_1_to_@N@")
        // The text is full of "%" operators, so the values go in by name rather than with arg().
        .replace(QStringLiteral("@DIA@"), dia)
        .replace(QStringLiteral("@BASE@"), QString::number(base))
        .replace(QStringLiteral("@N@"), QString::number(n));
}

} // namespace

void llenarVolumen(BaseDatos &db, const QDate &fecha, const Volumen &v) {
    const QString cols = QStringLiteral("(carrera,caballo,monto,tablas,puesto,taquilla,grupo,hora,fecha,"
                                        "cobrado,fecha_cobro,estatus,nu_boleto,"
                                        "id_juego,id_moneda,llave1,llave2,llave3,llave4)");
    const QString d = QLatin1Char('\'') + fechaSql(fecha) + QLatin1Char('\'');
    if (v.archivo > 0)
        db.ejecutar(QStringLiteral("INSERT INTO ventas ") + cols + QLatin1Char(' ') +
                    filas(v.archivo,
                          QStringLiteral("DATE_SUB(") + d + QStringLiteral(", INTERVAL 1+seq%700 DAY)"),
                          900000000LL));
    if (v.hoy > 0)
        db.ejecutar(QStringLiteral("INSERT INTO ma_principal ") + cols + QLatin1Char(' ') +
                    filas(v.hoy, d, 100000000LL));
    db.ejecutar(QStringLiteral("ANALYZE TABLE ventas, ma_principal"));
    for (int i = 0; i < 60; ++i) {
        const Resultado r =
            db.ejecutar(QStringLiteral("SHOW GLOBAL STATUS LIKE 'Innodb_buffer_pool_pages_dirty'"));
        if (r.valor(0, QStringLiteral("Value")).entero() < 200)
            break;
        QThread::msleep(500);
    }
}

} // namespace corvalo::bench
