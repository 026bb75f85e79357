// Results and the end of the day, as the back-office leaves them: ticket statuses and prizes
// of a processed race, and a closed day moved into the archive with its totals.
#include "backoffice.h"

#include "texto.h"

namespace corvalo::backoffice {

namespace {

QString lista(BaseDatos &db, const QList<int> &caballos) {
    QStringList v;
    for (int c : caballos)
        v << QLatin1Char('\'') + sqlTexto(db, QString::number(c)) + QLatin1Char('\'');
    return v.join(QLatin1Char(','));
}

const QString kColumnasBoleto = QStringLiteral(
    "carrera,caballo,monto,tablas,puesto,taquilla,grupo,hora,fecha,cobrado,fecha_cobro,estatus,nu_boleto,"
    "id_juego,id_moneda,llave1,llave2,llave3,llave4");
const QString kColumnasMarcas = QStringLiteral(
    "carrera,caballo,caballo2,monto,taquilla,grupo,hora,fecha,cobrado,fecha_cobro,estatus,nu_boleto,id_juego,"
    "id_moneda,id_hipodromo,combinacion");

} // namespace

long long totalizarDia(BaseDatos &db, const QDate &fecha) {
    const QString dia = QLatin1Char('\'') + sqlTexto(db, fechaSql(fecha)) + QLatin1Char('\'');
    // One row per group, game and currency: paid prizes are 2 and 3 (Marcas 2 and 4), prizes
    // still owed 1, 4 and 5 (Marcas 1, 3 and 6); cancelled Marcas tickets (5) are not sales.
    db.ejecutar(QStringLiteral("DELETE FROM ventas_general WHERE fecha=") + dia);
    db.ejecutar(
        QStringLiteral("INSERT INTO ventas_general "
                       "(fecha,grupo,id_juego,id_moneda,venta,premios,saldo,monto_porpagar) "
                       "SELECT fecha,grupo,id_juego,id_moneda,SUM(venta),SUM(premios),"
                       "SUM(venta)-SUM(premios),SUM(porpagar) FROM ("
                       "SELECT fecha,grupo,id_juego,id_moneda,monto venta,"
                       "IF(estatus IN (2,3),cobrado,0) premios,"
                       "IF(estatus IN (1,4,5),cobrado,0) porpagar FROM ventas WHERE fecha=") +
        dia +
        QStringLiteral(" UNION ALL "
                       "SELECT fecha,grupo,id_juego,id_moneda,monto,IF(estatus IN (2,4),cobrado,0),"
                       "IF(estatus IN (1,3,6),cobrado,0) FROM ventas_mk WHERE estatus<>5 AND fecha=") +
        dia + QStringLiteral(") dia GROUP BY fecha,grupo,id_juego,id_moneda"));
    return db.filasAfectadas();
}

ConteoResultados cargarResultados(BaseDatos &db, const Resultados &r) {
    ConteoResultados n;
    const QString dondeCarrera = QStringLiteral(" WHERE fecha='") + sqlTexto(db, fechaSql(r.fecha)) +
                                 QStringLiteral("' AND carrera='") +
                                 sqlTexto(db, QString::number(r.carrera)) +
                                 QStringLiteral("' AND estatus NOT IN (2,3)");
    const QString premio = sqlTexto(db, textoNumero(r.premioPorUnidad));
    for (const QString &tabla : {QStringLiteral("ma_principal"), QStringLiteral("ventas")}) {
        const QString base = QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ");
        // Every unpaid ticket of the race loses unless a result below names its horse.
        db.ejecutar(base + QStringLiteral("estatus=0,cobrado=0") + dondeCarrera);
        if (!r.retirados.isEmpty()) {
            db.ejecutar(base + QStringLiteral("estatus=4,cobrado=monto") + dondeCarrera +
                        QStringLiteral(" AND caballo IN (") + lista(db, r.retirados) + QLatin1Char(')'));
            n.retirados += db.filasAfectadas();
        }
        if (!r.ganadores.isEmpty()) {
            db.ejecutar(base + QStringLiteral("estatus=1,cobrado=ROUND(monto*'") + premio +
                        QStringLiteral("',2)") + dondeCarrera + QStringLiteral(" AND caballo IN (") +
                        lista(db, r.ganadores) + QLatin1Char(')'));
            n.ganadores += db.filasAfectadas();
        }
        if (!r.empates.isEmpty()) {
            db.ejecutar(base + QStringLiteral("estatus=5,cobrado=ROUND(monto*'") + premio +
                        QStringLiteral("'/2,2)") + dondeCarrera +
                        QStringLiteral(" AND id_juego=3 AND caballo IN (") + lista(db, r.empates) +
                        QLatin1Char(')'));
            n.empates += db.filasAfectadas();
        }
    }
    // Marcas: a ticket wins when its horse is a winner and the horse it is set against is not, and
    // is refunded when either horse is withdrawn; cancelled (5) and paid (2, 3) tickets stay.
    const QString dondeMarcas = QStringLiteral(" WHERE fecha='") + sqlTexto(db, fechaSql(r.fecha)) +
                                QStringLiteral("' AND carrera='") + sqlTexto(db, QString::number(r.carrera)) +
                                QStringLiteral("' AND estatus NOT IN (2,3,5)");
    for (const QString &tabla : {QStringLiteral("ma_marcas"), QStringLiteral("ventas_mk")}) {
        const QString base = QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ");
        db.ejecutar(base + QStringLiteral("estatus=0,cobrado=0") + dondeMarcas);
        if (!r.ganadores.isEmpty()) {
            const QString g = lista(db, r.ganadores);
            db.ejecutar(base + QStringLiteral("estatus=1,cobrado=ROUND(monto*'") + premio +
                        QStringLiteral("',2)") + dondeMarcas + QStringLiteral(" AND caballo IN (") + g +
                        QStringLiteral(") AND caballo2 NOT IN (") + g + QLatin1Char(')'));
            n.ganadores += db.filasAfectadas();
        }
        if (!r.retirados.isEmpty()) {
            const QString w = lista(db, r.retirados);
            db.ejecutar(base + QStringLiteral("estatus=4,cobrado=monto") + dondeMarcas +
                        QStringLiteral(" AND (caballo IN (") + w + QStringLiteral(") OR caballo2 IN (") + w +
                        QStringLiteral("))"));
            n.retirados += db.filasAfectadas();
        }
    }
    // A race of a closed day changes what its groups still owe.
    if (db.ejecutar(QStringLiteral("SELECT count(*) n FROM ventas WHERE fecha='") +
                    sqlTexto(db, fechaSql(r.fecha)) + QLatin1Char('\''))
            .valor(0, QStringLiteral("n"))
            .entero() > 0)
        totalizarDia(db, r.fecha);
    db.ejecutar(QStringLiteral("UPDATE carreras SET win='") +
                sqlTexto(db, QString::number(r.ganadores.isEmpty() ? 0 : r.ganadores.first())) +
                QStringLiteral("',win_ganadores='") + sqlTexto(db, QString::number(r.ganadores.size())) +
                QStringLiteral("' WHERE fecha='") + sqlTexto(db, fechaSql(r.fecha)) +
                QStringLiteral("' AND carrera='") + sqlTexto(db, QString::number(r.carrera)) +
                QLatin1Char('\''));
    return n;
}

ConteoArchivo archivarDia(BaseDatos &db, const QDate &fecha) {
    ConteoArchivo n;
    const QString dia = QLatin1Char('\'') + sqlTexto(db, fechaSql(fecha)) + QLatin1Char('\'');
    db.ejecutar(QStringLiteral("START TRANSACTION"));
    try {
        db.ejecutar(QStringLiteral("INSERT INTO ventas (") + kColumnasBoleto + QStringLiteral(") SELECT ") +
                    kColumnasBoleto + QStringLiteral(" FROM ma_principal WHERE fecha=") + dia +
                    QStringLiteral(" ORDER BY numero"));
        n.boletos = db.filasAfectadas();
        db.ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE fecha=") + dia);
        db.ejecutar(QStringLiteral("INSERT INTO ventas_mk (") + kColumnasMarcas +
                    QStringLiteral(") SELECT ") + kColumnasMarcas +
                    QStringLiteral(" FROM ma_marcas WHERE fecha=") + dia +
                    QStringLiteral(" ORDER BY numero"));
        n.marcas = db.filasAfectadas();
        db.ejecutar(QStringLiteral("DELETE FROM ma_marcas WHERE fecha=") + dia);
        n.totales = totalizarDia(db, fecha);
        db.ejecutar(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            db.ejecutar(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
        throw;
    }
    // After the commit: ALTER TABLE would commit the day's move half done.
    mantenerRangoMarcas(db);
    return n;
}

namespace {

// A Marcas ticket stays in ma_marcas with estatus 5 and is logged in bitacora_mk.
long long anularMarcas(BaseDatos &db, const Anulacion &a) {
    const Resultado r = db.ejecutar(QStringLiteral("SELECT numero,estatus FROM ma_marcas WHERE nu_boleto='") +
                                    sqlTexto(db, a.boleto) + QStringLiteral("' FOR UPDATE"));
    if (r.vacio())
        throw ErrorUso(QStringLiteral("cancel: no Marcas ticket of today has the code \"%1\"").arg(a.boleto));
    if (r.filas() > 1)
        throw ErrorUso(
            QStringLiteral("cancel: %1 Marcas tickets have the code \"%2\"").arg(r.filas()).arg(a.boleto));
    const int estatus = r.valor(0, QStringLiteral("estatus")).entero();
    if (estatus == 2 || estatus == 3)
        throw ErrorUso(QStringLiteral("cancel: Marcas ticket \"%1\" is already paid").arg(a.boleto));
    if (estatus == 5)
        throw ErrorUso(QStringLiteral("cancel: Marcas ticket \"%1\" is already cancelled").arg(a.boleto));
    const QString numero = sqlTexto(db, r.valor(0, QStringLiteral("numero")).texto());
    db.ejecutar(
        QStringLiteral("INSERT INTO bitacora_mk (numero,carrera,caballo,caballo2,ganadores,taquilla,grupo,"
                       "hora,fecha,estatus,nu_boleto,cobrado,motivo,usuario,tipo_motivo,monto,tablas,"
                       "id_juego,id_moneda,id_hipodromo,combinacion) SELECT numero,carrera,caballo,"
                       "caballo2,0,taquilla,grupo,hora,fecha,5,nu_boleto,cobrado,'") +
        sqlTexto(db, a.motivo) + QStringLiteral("','") + sqlTexto(db, a.usuario) + QStringLiteral("','") +
        sqlTexto(db, a.tipoMotivo) +
        QStringLiteral("',monto,0,id_juego,id_moneda,id_hipodromo,combinacion FROM ma_marcas WHERE "
                       "numero='") +
        numero + QLatin1Char('\''));
    db.ejecutar(QStringLiteral("UPDATE ma_marcas SET estatus=5,cobrado=0 WHERE numero='") + numero +
                QLatin1Char('\''));
    return r.valor(0, QStringLiteral("numero")).texto().toLongLong();
}

} // namespace

long long anularBoleto(BaseDatos &db, const Anulacion &a) {
    db.ejecutar(QStringLiteral("START TRANSACTION"));
    try {
        if (a.marcas) {
            const long long n = anularMarcas(db, a);
            db.ejecutar(QStringLiteral("COMMIT"));
            return n;
        }
        const Resultado r =
            db.ejecutar(QStringLiteral("SELECT numero,estatus FROM ma_principal WHERE nu_boleto='") +
                        sqlTexto(db, a.boleto) + QStringLiteral("' FOR UPDATE"));
        if (r.vacio())
            throw ErrorUso(QStringLiteral("cancel: no ticket of today has the code \"%1\"").arg(a.boleto));
        if (r.filas() > 1)
            throw ErrorUso(
                QStringLiteral("cancel: %1 tickets have the code \"%2\"").arg(r.filas()).arg(a.boleto));
        const int estatus = r.valor(0, QStringLiteral("estatus")).entero();
        if (estatus == 2 || estatus == 3)
            throw ErrorUso(QStringLiteral("cancel: ticket \"%1\" is already paid").arg(a.boleto));
        const QString numero = sqlTexto(db, r.valor(0, QStringLiteral("numero")).texto());
        db.ejecutar(
            QStringLiteral(
                "INSERT INTO bitacora (numero,carrera,caballo,ganadores,taquilla,grupo,hora,fecha,"
                "estatus,nu_boleto,cobrado,motivo,usuario,tipo_motivo,monto,tablas,puesto,id_juego,"
                "id_moneda) SELECT numero,carrera,caballo,0,taquilla,grupo,hora,fecha,5,nu_boleto,"
                "cobrado,'") +
            sqlTexto(db, a.motivo) + QStringLiteral("','") + sqlTexto(db, a.usuario) + QStringLiteral("','") +
            sqlTexto(db, a.tipoMotivo) +
            QStringLiteral("',monto,tablas,puesto,id_juego,id_moneda FROM ma_principal WHERE numero='") +
            numero + QLatin1Char('\''));
        db.ejecutar(QStringLiteral("DELETE FROM ma_principal WHERE numero='") + numero + QLatin1Char('\''));
        db.ejecutar(QStringLiteral("COMMIT"));
        return r.valor(0, QStringLiteral("numero")).texto().toLongLong();
    } catch (...) {
        try {
            db.ejecutar(QStringLiteral("ROLLBACK"));
        } catch (const DbError &) {
            // The connection is gone: the server rolls the transaction back itself.
        }
        throw;
    }
}

} // namespace corvalo::backoffice
