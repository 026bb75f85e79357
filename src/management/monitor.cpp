#include "monitor.h"

#include "moneda.h"
#include "registro.h"
#include "texto.h"

#include <QHash>

#include <array>

namespace corvalo {

namespace {

struct Vendido {
    double venta = 0, tablas = 0;
};

// Sales rows by horse number.
QHash<QString, Vendido> porCaballo(const Resultado &ventas, bool conTablas) {
    QHash<QString, Vendido> out;
    for (int i = 0; i < ventas.filas(); ++i) {
        Vendido v;
        v.venta = ventas.valor(i, QStringLiteral("venta")).numero();
        if (conTablas)
            v.tablas = ventas.valor(i, QStringLiteral("tablasf")).numero();
        out.insert(textoNumero(ventas.valor(i, QStringLiteral("caballo")).numero()), v);
    }
    return out;
}

// The per-horse limits of the group's sales, in money, for the chart: the limit of the sale
// (race card or the group's venta_cupo_* row, as the setting chooses); a limit in tablas is
// worth what the horse's tablas were sold at, or its price when none was sold.
void leerLimites(BaseDatos &db, const PedidoPanel &p, const QString &carrera, const QString &fecha,
                 PanelVentas &out) {
    const int juego = p.juego.toInt();
    if (juego < 1 || juego > 3)
        return;
    const bool segunda = p.moneda == 2;
    const char *opcion = juego == 1 ? "cupo_td_opcion" : (juego == 2 ? "cupo_tf_opcion" : "opcioncupopt");
    const bool porGrupo = out.configuracion.valor(0, QLatin1String(opcion)).numero() != 0;
    std::array<double, 19> cupo{};
    if (porGrupo) {
        const QString tabla =
            juego == 1 ? QStringLiteral("venta_cupo_td")
                       : (juego == 2 ? QStringLiteral("venta_cupo_tf") : QStringLiteral("venta_cupo_pt"));
        const Resultado r =
            db.ejecutar(QStringLiteral("SELECT * FROM ") + tabla + QStringLiteral(" where  ch  = '") +
                        sqlTexto(db, p.grupo) + QStringLiteral("' and id_moneda='") +
                        sqlTexto(db, QString::number(p.moneda)) + QLatin1Char('\''));
        if (!r.vacio())
            for (int i = 1; i <= 18; ++i)
                cupo[std::size_t(i)] = r.valor(0, QStringLiteral("cab%1").arg(i)).numero();
    }
    // Los Puestos limits a horse's total only through the group's row.
    if (juego == 3 && !porGrupo)
        return;
    QHash<QString, std::pair<double, double>> tarjeta; // horse: limit in tablas, price of a tabla
    if (juego != 3) {
        const QString sufijo = segunda ? QStringLiteral("2") : QString();
        const QString limite =
            (juego == 1 ? QStringLiteral("apuesta_max_td") : QStringLiteral("apuesta_max_tf")) + sufijo;
        const QString precio =
            (juego == 1 ? QStringLiteral("valor_td") : QStringLiteral("valor_tf")) + sufijo;
        const Resultado r = db.ejecutar(
            QStringLiteral("SELECT nu_caballo,") + limite + QStringLiteral(" as limite,") + precio +
            QStringLiteral(" as precio FROM carreras  where carrera ='") + sqlTexto(db, carrera) +
            QStringLiteral("' and fecha  = '") + sqlTexto(db, fecha) + QLatin1Char('\''));
        for (int i = 0; i < r.filas(); ++i)
            tarjeta.insert(textoNumero(r.valor(i, QStringLiteral("nu_caballo")).numero()),
                           {r.valor(i, QStringLiteral("limite")).numero(),
                            r.valor(i, QStringLiteral("precio")).numero()});
    }
    for (FilaPanel &f : out.filas) {
        const int n = f.numero.toInt();
        const double delGrupo = n >= 1 && n <= 18 ? cupo[std::size_t(n)] : 0;
        double limite = 0;
        if (juego == 3) {
            limite = delGrupo;
        } else {
            const auto t = tarjeta.value(f.numero);
            const double tablas = porGrupo ? delGrupo : t.first;
            const double precio = f.tablas > 0 ? f.venta / f.tablas : t.second;
            limite = tablas * precio;
        }
        f.limite = limite > 0 ? limite : 0;
        if (f.limite > 0)
            out.conLimites = true;
    }
}

} // namespace

PanelVentas actualizar_ventas(BaseDatos &db, const PedidoPanel &p) {
    PanelVentas out;
    out.tipo = PedidoPanel::Tipo::Refresco;
    out.numero = p.numero;
    out.juego = p.juego;
    // 1, 2, 5. The settings afresh: race, date and state.
    out.configuracion = db.ejecutar(QStringLiteral("select * from configuracion"));
    out.estado = estadoCarrera(out.configuracion, kRgbCarreraAbiertaPanel);
    const QString carrera = out.estado.carrera;
    const QString fecha = fechaSql(out.estado.fecha);
    out.carrera = carrera;
    const bool todas = p.taquilla.isEmpty() || p.taquilla == kTodos;
    const QString moneda = sqlTexto(db, QString::number(p.moneda));

    // The race card.
    const Resultado tarjeta = db.ejecutar(
        QStringLiteral("SELECT caballo,nu_caballo,retirado,puesto FROM carreras  where carrera ='") +
        sqlTexto(db, carrera) + QStringLiteral("' and fecha  = '") + sqlTexto(db, fecha) + QLatin1Char('\''));
    // Sales by horse.
    QString sql =
        QStringLiteral(
            "SELECT caballo,sum(monto) as venta,sum(tablas) as tablasf FROM ma_principal where carrera ='") +
        sqlTexto(db, carrera) + QStringLiteral("' and fecha  = '") + sqlTexto(db, fecha);
    if (todas)
        sql += QStringLiteral("'  and grupo = '") + sqlTexto(db, p.grupo) +
               QStringLiteral("' and id_juego = '") + sqlTexto(db, p.juego) +
               QStringLiteral("'  and id_moneda  = '") + moneda + QStringLiteral("'  group by caballo");
    else
        sql += QStringLiteral("' and grupo = '") + sqlTexto(db, p.grupo) +
               QStringLiteral("' and taquilla='") + sqlTexto(db, p.taquilla) +
               QStringLiteral("' and id_juego = '") + sqlTexto(db, p.juego) +
               QStringLiteral("'  and id_moneda  = '") + moneda + QStringLiteral("' group by caballo");
    const Resultado ventas = db.ejecutar(sql);

    // One row per horse of the card, in the card's order; the total over all of them.
    out.sinVentas = ventas.vacio();
    const QHash<QString, Vendido> vendido = porCaballo(ventas, true);
    const bool puestos = p.juego == QLatin1String("3");
    for (int i = 0; i < tarjeta.filas(); ++i) {
        FilaPanel f;
        f.numero = textoNumero(tarjeta.valor(i, QStringLiteral("nu_caballo")).numero());
        f.retirado = tarjeta.valor(i, QStringLiteral("retirado")).entero() == 1;
        f.caballo = f.retirado ? kCaballoRetirado : tarjeta.valor(i, QStringLiteral("caballo")).texto();
        const auto v = vendido.find(f.numero);
        if (v != vendido.end()) {
            f.venta = v->venta;
            f.tablas = v->tablas;
            out.total += v->venta;
        }
        f.puesto = puestos ? etiquetaPuestoConsola(tarjeta.valor(i, QStringLiteral("puesto")).texto())
                           : textoNumero(f.tablas);
        f.monto = out.sinVentas ? QString() : textoMonto(f.venta);
        out.filas.push_back(f);
    }
    out.totalTexto = formatoSegunMoneda(out.total, p.captionMoneda);

    // The chart's limit line: the group's limits apply to the group's sales only. The figures
    // above do not depend on it.
    if (todas) {
        try {
            leerLimites(db, p, carrera, fecha, out);
        } catch (const std::exception &e) {
            out.conLimites = false;
            for (FilaPanel &f : out.filas)
                f.limite = 0;
            out.falloLimites = sinClaves(QString::fromLocal8Bit(e.what()));
        }
    }
    return out;
}

PanelVentas consultarCarrera(BaseDatos &db, const PedidoPanel &p) {
    PanelVentas out;
    out.tipo = PedidoPanel::Tipo::Consulta;
    out.numero = p.numero;
    const QString carrera = p.carrera;
    const QString fecha = fechaSql(p.fecha);
    out.carrera = carrera;
    const Resultado tarjeta = db.ejecutar(
        QStringLiteral("SELECT caballo,nu_caballo FROM carreras  where carrera ='") + sqlTexto(db, carrera) +
        QStringLiteral("' and fecha  = '") + sqlTexto(db, fecha) + QLatin1Char('\''));
    // Every game, currency and booth of the group.
    const Resultado ventas = db.ejecutar(
        QStringLiteral("SELECT caballo,sum(monto) as venta FROM ma_principal where carrera ='") +
        sqlTexto(db, carrera) + QStringLiteral("' and fecha  = '") + sqlTexto(db, fecha) +
        QStringLiteral("'  and grupo = '") + sqlTexto(db, p.grupo) + QStringLiteral("' group by caballo"));
    out.sinVentas = ventas.vacio();
    const QHash<QString, Vendido> vendido = porCaballo(ventas, false);
    for (int i = 0; i < tarjeta.filas(); ++i) {
        FilaPanel f;
        f.numero = textoNumero(tarjeta.valor(i, QStringLiteral("nu_caballo")).numero());
        f.caballo = tarjeta.valor(i, QStringLiteral("caballo")).texto();
        f.venta = vendido.value(f.numero).venta;
        out.total += f.venta;
        f.monto = out.sinVentas ? QString() : textoMonto(f.venta);
        out.filas.push_back(f);
    }
    return out;
}

} // namespace corvalo
