#include "resumen_dia.h"

#include "moneda.h"
#include "registro.h"
#include "texto.h"

#include <algorithm>
#include <tuple>

namespace corvalo {

namespace {

struct Tablas {
    QString bitacora, archivo, actual;
};

// The statement of one figure: head, day, booth, the race when one is chosen, the game clause.
QString figura(const BaseDatos &db, const QString &cabeza, const PedidoResumen &p, const QString &juego) {
    QString sql = cabeza + sqlTexto(db, fechaSql(p.dia)) + QStringLiteral("' and taquilla='") +
                  sqlTexto(db, p.taquilla);
    if (!esTodasLasCarreras(p.carrera))
        sql += QStringLiteral("' and carrera='") + sqlTexto(db, p.carrera);
    return sql + juego;
}

// bton_buscar: Tablas Dinámicas and Tabla Fija over ma_principal, Marcas over ma_marcas.
SentenciasResumen sentenciasTablas(const BaseDatos &db, const PedidoResumen &p, bool archivado) {
    const bool marcas = p.juego == 4;
    const Tablas t =
        marcas
            ? Tablas{QStringLiteral("bitacora_mk"), QStringLiteral("ventas_mk"), QStringLiteral("ma_marcas")}
            : Tablas{QStringLiteral("bitacora"), QStringLiteral("ventas"), QStringLiteral("ma_principal")};
    const bool una = !esTodasLasCarreras(p.carrera);
    const QString n = QString::number(p.juego);
    const QString juego1 = QStringLiteral("' and id_juego=") + n;
    const QString juego2 = QStringLiteral("'  and id_juego=") + n;
    SentenciasResumen s;

    // Today's cancelled Marcas tickets of one race are counted where they stay, in ma_marcas.
    const QString bitacora = marcas && !archivado && una ? t.actual : t.bitacora;
    QString juegoAnulados = juego1;
    if (archivado)
        juegoAnulados = una ? QStringLiteral("'   and id_juego=") + n : (p.juego == 1 ? juego1 : juego2);
    s.anulados = figura(db,
                        QStringLiteral("SELECT count(numero)as cant_anulados FROM ") + bitacora +
                            QStringLiteral(" where (estatus=5) and fecha= '"),
                        p, juegoAnulados);

    if (archivado && !una)
        s.porPagar =
            figura(db,
                   QStringLiteral("SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc FROM ") +
                       t.archivo + QStringLiteral(" where (estatus=1 or estatus=4)  and fecha  = '"),
                   p, juego1);
    else if (archivado)
        s.porPagar =
            figura(db,
                   QStringLiteral("SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc  FROM ") +
                       t.archivo + QStringLiteral(" where (estatus=4 or estatus=1)  and fecha  like '"),
                   p, juego2);
    else
        s.porPagar =
            figura(db,
                   QStringLiteral("SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ") +
                       t.actual + QStringLiteral(" where (estatus=1 or estatus=4)  and fecha  = '"),
                   p, juego2);
    s.columnaPorPagar = archivado ? QStringLiteral("monto_porcobrar") : QStringLiteral("monto_porpagar");

    const QString pagados =
        QStringLiteral("SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ");
    if (archivado)
        s.pagados =
            figura(db, pagados + t.archivo + QStringLiteral(" where (estatus=2 or estatus=3)  and fecha= '"),
                   p, juego1);
    else
        s.pagados = figura(db,
                           pagados + t.actual + QStringLiteral(" where (estatus=2 or estatus=3)  and fecha") +
                               (una ? QStringLiteral("= '") : QStringLiteral("  = '")),
                           p, juego2);

    s.venta =
        figura(db,
               archivado ? QStringLiteral("SELECT sum(monto) as venta,count(cobrado)as cant_venta FROM ") +
                               t.archivo + QStringLiteral(" where  fecha = '")
                         : QStringLiteral("SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ") +
                               t.actual + QStringLiteral(" where  fecha  = '"),
               p, juego2);
    // A cancelled Marcas ticket stays in its table with status 5: it is no sale.
    if (marcas)
        s.venta += QStringLiteral(" and estatus<>5");
    return s;
}

// Command7: Los Puestos in the session's currency, ties counted as still to pay on the booth
// screen; the operator screen counts 1, 3 and 6 as still to pay and 2 and 4 as paid.
SentenciasResumen sentenciasPuestos(const BaseDatos &db, const PedidoResumen &p, bool archivado) {
    const bool una = !esTodasLasCarreras(p.carrera);
    const bool operador = p.pantalla == PantallaVenta::Operador;
    const QString tabla = archivado ? QStringLiteral("ventas") : QStringLiteral("ma_principal");
    const QString moneda = sqlTexto(db, QString::number(p.moneda));
    auto juego = [&](const QString &blancos, const QString &cierre) {
        return QStringLiteral("' and id_juego=3") + blancos + QStringLiteral("and id_moneda  = '") + moneda +
               cierre;
    };
    const QString comilla = QStringLiteral("'");
    const QString comillaBlanco = QStringLiteral("' ");
    const QString dos = QStringLiteral("  ");
    SentenciasResumen s;
    s.anulados = figura(
        db,
        QStringLiteral("SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '"),
        p, juego(dos, archivado && !una ? QStringLiteral("'  ") : comilla));
    s.porPagar = figura(
        db,
        QStringLiteral("SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ") + tabla +
            (operador ? QStringLiteral(" where (estatus=1 or estatus=3 or estatus=6)  and fecha  = '")
                      : QStringLiteral(" where (estatus=1 or estatus=4 or estatus=5)  and fecha  = '")),
        p, juego(dos, archivado && una ? comillaBlanco : comilla));
    s.columnaPorPagar = QStringLiteral("monto_porpagar");
    s.pagados =
        figura(db,
               QStringLiteral("SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ") + tabla +
                   (operador ? QStringLiteral(" where (estatus=2 or estatus=4)  and fecha")
                             : QStringLiteral(" where (estatus=2 or estatus=3)  and fecha")) +
                   (!archivado && una ? QStringLiteral("= '") : QStringLiteral("  = '")),
               p, juego(dos, archivado && una ? comillaBlanco : comilla));
    s.venta = figura(db,
                     QStringLiteral("SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ") + tabla +
                         QStringLiteral(" where  fecha  = '"),
                     p,
                     archivado ? (una ? juego(QStringLiteral("   "), comilla) : juego(dos, comillaBlanco))
                               : juego(dos, comilla));
    return s;
}

int carreraDe(BaseDatos &db, const QString &sql) {
    const Resultado r = db.ejecutar(sql);
    if (r.vacio())
        return 0;
    return std::max(0, r.valor(0, QStringLiteral("carrera")).entero());
}

double positivo(double v) {
    return v > 0 ? v : 0;
}

long long positivo(long long v) {
    return v > 0 ? v : 0;
}

} // namespace

QString encabezadoJuego(int juego) {
    switch (juego) {
    case 1:
        return QStringLiteral("VENTAS TABLA DINAMICA");
    case 2:
        return QStringLiteral("VENTAS TABLA FIJA");
    case 3:
        return QStringLiteral("VENTAS LOS PUESTOS");
    case 4:
        return QStringLiteral("VENTAS MARCAS");
    default:
        return QStringLiteral("VENTAS");
    }
}

bool esTodasLasCarreras(const QString &carrera) {
    return carrera.isEmpty() || carrera == QLatin1String("TODAS");
}

BusquedaResumen busquedaEfectiva(const PedidoResumen &p) {
    if (p.pantalla == PantallaVenta::Operador && p.juego == 3)
        return BusquedaResumen::Puestos;
    return p.busqueda;
}

SentenciasResumen sentenciasResumen(const BaseDatos &db, const PedidoResumen &p, bool archivado) {
    return busquedaEfectiva(p) == BusquedaResumen::Puestos ? sentenciasPuestos(db, p, archivado)
                                                           : sentenciasTablas(db, p, archivado);
}

QString sentenciaCarreraMayor(const BaseDatos &db, const QDate &dia) {
    return QStringLiteral("SELECT carrera FROM carreras where fecha='") + sqlTexto(db, fechaSql(dia)) +
           QStringLiteral("' order by  carrera desc limit 1;");
}

QString sentenciaCarreraMenor(const BaseDatos &db, const QDate &dia) {
    return QStringLiteral("SELECT carrera FROM carreras where fecha='") + sqlTexto(db, fechaSql(dia)) +
           QStringLiteral("' order by  carrera asc limit 1;");
}

bool formatoMonedaDe(PantallaVenta pantalla, const QString &nombre_moneda) {
    return pantalla == PantallaVenta::Operador || nombre_moneda == QLatin1String("BS");
}

TextosResumen textosResumen(const CifrasResumen &c, bool moneda) {
    auto monto = [moneda](double v) { return moneda ? formatoMoneda(v) : formatoDolares(v); };
    return {monto(c.venta),
            monto(c.premios),
            monto(c.porPagar),
            monto(c.saldo()),
            monto(c.caja()),
            QString::number(c.vendidos),
            QString::number(c.pagados),
            QString::number(c.porPagarCantidad),
            QString::number(c.anulados)};
}

QDate fechaDeTrabajo(Contexto &ctx) {
    ctx.abrir_configuracion();
    return fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
}

ResultadoResumen resumirDia(Contexto &ctx, const PedidoResumen &pedido) {
    ResultadoResumen res;
    const PedidoResumen &p = pedido;
    const BusquedaResumen busqueda = busquedaEfectiva(p);
    const bool puestos = busqueda == BusquedaResumen::Puestos;
    auto sinJuego = [&](const QString &texto) {
        res.tipo = ResultadoResumen::Tipo::SinJuego;
        res.mensaje = texto;
        res.titulo = kTituloVerificacion;
        return res;
    };
    if (puestos && p.juego == 0)
        return sinJuego(kSinJuegoVer);
    try {
        const QString trabajo = fechaSql(fechaDeTrabajo(ctx));
        BaseDatos &db = ctx.central();
        res.carreraMayor = carreraDe(db, sentenciaCarreraMayor(db, p.dia));
        res.carreraMenor = carreraDe(db, sentenciaCarreraMenor(db, p.dia));
        if (!puestos) {
            const bool operador = p.pantalla == PantallaVenta::Operador;
            if (p.juego != 1 && p.juego != 2 && !(operador && p.juego == 4))
                return sinJuego(kSinJuegoVenta);
        }
        // Compared as text, which orders these dates correctly.
        const bool archivado = fechaSql(p.dia) < trabajo;
        const SentenciasResumen s = sentenciasResumen(db, p, archivado);

        // A day without a ticket of the booth has no sums: they are zero.
        auto leer = [&db](const QString &sql, const QString &suma, const QString &cantidad) {
            const Resultado r = db.ejecutar(sql);
            if (r.vacio())
                return std::pair<double, long long>{0, 0};
            return std::pair<double, long long>{suma.isEmpty() ? 0 : r.valor(0, suma).numero(),
                                                static_cast<long long>(r.valor(0, cantidad).numero())};
        };
        CifrasResumen c;
        c.anulados = positivo(leer(s.anulados, {}, QStringLiteral("cant_anulados")).second);
        const auto [porPagar, porPagarCantidad] =
            leer(s.porPagar, s.columnaPorPagar, QStringLiteral("cant_mpc"));
        c.porPagar = positivo(porPagar);
        c.porPagarCantidad = positivo(porPagarCantidad);
        const auto [premios, pagados] =
            leer(s.pagados, QStringLiteral("monto_cobrado"), QStringLiteral("cant_mc"));
        c.premios = positivo(premios);
        c.pagados = positivo(pagados);
        std::tie(c.venta, c.vendidos) = leer(s.venta, QStringLiteral("venta"), QStringLiteral("cant_venta"));

        res.tipo = ResultadoResumen::Tipo::Cifras;
        res.cifras = c;
        res.textos = textosResumen(c, formatoMonedaDe(p.pantalla, p.nombre_moneda));
        res.juego = puestos ? 3 : p.juego;
        res.dia = p.dia;
        res.carrera = p.carrera;
        return res;
    } catch (const DbError &e) {
        registrarFalla(lcCobro(), &ctx.sesion, kTituloResumen, QStringLiteral("resumen ") + fechaSql(p.dia),
                       e);
        ResultadoResumen falla;
        falla.tipo = ResultadoResumen::Tipo::Falla;
        falla.mensaje = kFalloResumen;
        falla.titulo = kTituloResumen;
        return falla;
    }
}

} // namespace corvalo
