#include "venta_tablas.h"

#include "codificacion.h"
#include "moneda.h"
#include "texto.h"

#include <cmath>

namespace corvalo {

namespace {

// The horse's row of the race card for the game and currency of the sale.
struct Caballo {
    QString nombre;
    double precio = 0, limite = 0, estado = 0, retirado = 0;
};

struct Columnas {
    const char *precio, *limite, *estado, *estadoRevision, *retirado;
};

// The operator screen reads withdrawal from `retirado` for both games and currencies, and the
// state of the second currency from estado2_td / estado2_tf in both passes.
Columnas columnasDe(int juego, int moneda, bool operador) {
    if (operador) {
        if (juego == 1)
            return moneda == 2
                       ? Columnas{"valor_td2", "apuesta_max_td2", "estado2_td", "estado2_td", "retirado"}
                       : Columnas{"valor_td", "apuesta_max_td", "estado", "estado", "retirado"};
        return moneda == 2 ? Columnas{"valor_tf2", "apuesta_max_tf2", "estado2_tf", "estado2_tf", "retirado"}
                           : Columnas{"valor_tf", "apuesta_max_tf", "estado_tf", "estado_tf", "retirado"};
    }
    if (juego == 1)
        return moneda == 2 ? Columnas{"valor_td2", "apuesta_max_td2", "estado_td2", "estado_td2", "retirado2"}
                           : Columnas{"valor_td", "apuesta_max_td", "estado", "estado", "retirado"};
    return moneda == 2 ? Columnas{"valor_tf2", "apuesta_max_tf2", "estado_tf2", "estado2_tf", "retirado_tf2"}
                       : Columnas{"valor_tf", "apuesta_max_tf", "estado_tf", "estado_tf", "retirado_tf"};
}

} // namespace

ResultadoVenta VentaTablas::procesar(const DatosJugada &datos) {
    return procesarVenta(
        ctx_, [&](ResultadoVenta &hecho) { return ejecutar(datos, hecho); },
        QStringLiteral("VERIFIQUE LA INFORMACION E INTENTE NUEVAMENTE "),
        QStringLiteral("VERIFICACION DE LA CONEXION"), CampoVenta::Caballo);
}

ResultadoVenta VentaTablas::ejecutar(const DatosJugada &datos, ResultadoVenta &res) {
    BaseDatos &db = ctx_.central();
    const Sesion &s = ctx_.sesion;
    const bool operador = pantalla_ == PantallaVenta::Operador;
    if (operador)
        if (auto r = grupoDeVenta(ctx_, datos.cliente))
            return *r;

    // 1. Settings of the current row.
    auto conf = [&](const char *c) { return ctx_.configuracion(QLatin1String(c)); };
    const int juego = datos.juego_actual;
    if (juego == 0)
        return rechazoVenta(QStringLiteral("Debe seleccionar un juego para poder hacer la venta"),
                            CampoVenta::Ninguno, QStringLiteral("Verificación de datos"));
    const double modificar = conf("modificar").numero();
    const double carreraActual = conf("carrera").numero();
    QDate fecha = fechaDeTexto(conf("fecha").texto());
    const double cabMax = conf("cab_max").numero();
    const double apuestaMax = conf(juego == 1 ? "apuesta_max_td" : "apuesta_max_tf").numero();
    const double cupoOpcion = conf(juego == 1 ? "cupo_td_opcion" : "cupo_tf_opcion").numero();
    const double minVbs = conf("min_vbs").numero();
    const double maxVdls = conf("max_vdls").numero();
    const EncabezadoBoleto encabezado = leerEncabezado(ctx_);

    const double carreraTecleada = numeroDe(datos.carrera);
    const double caballo = numeroDe(datos.caballo);
    const double tablas = numeroDe(datos.monto);
    const int moneda = s.id_moneda == 2 ? 2 : 1;
    const Columnas col = columnasDe(juego, moneda, operador);

    // 2 - 4. Tablas are a whole number, whatever way the text reached the field.
    if (tablas < 0 || tablas != std::floor(tablas))
        return rechazoVenta(QStringLiteral("EL NUMERO DE TABLAS NO ES VALIDO"), CampoVenta::Monto);
    if (caballo > cabMax)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CABALLO NO ES VALIDO"), CampoVenta::Caballo);
    if (carreraTecleada != carreraActual)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CARRERA NO ESTA PERMITIDO PARA LA VENTA"),
                            CampoVenta::Caballo);

    const QString caballoTxt = textoNumero(caballo);
    const QString grupo = s.grupo;

    // 5. The n-th row of the race is horse n.
    auto buscar = [&](bool revision) {
        const Resultado r = leerCarrera(db, carreraActual, fecha);
        Caballo c;
        const int n = int(caballo);
        if (caballo == n && n >= 1 && n <= r.filas()) {
            const int f = n - 1;
            c.nombre = r.valor(f, QStringLiteral("caballo")).texto();
            c.precio = r.valor(f, QLatin1String(col.precio)).numero();
            c.limite = r.valor(f, QLatin1String(col.limite)).numero();
            c.estado = r.valor(f, QLatin1String(revision ? col.estadoRevision : col.estado)).numero();
            c.retirado = r.valor(f, QLatin1String(col.retirado)).numero();
        }
        return c;
    };
    auto comprobar = [&](const Caballo &c) -> std::optional<ResultadoVenta> {
        if (c.retirado == 1)
            return rechazoVenta(QStringLiteral("EL CABALLO ESTA RETIRADO"), CampoVenta::Caballo);
        if (c.nombre.isEmpty())
            return rechazoVenta(QStringLiteral("EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA"),
                                CampoVenta::Caballo);
        if (c.estado == 1)
            return rechazoVenta(QStringLiteral("SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO"),
                                CampoVenta::Caballo);
        return std::nullopt;
    };
    const Caballo primero = buscar(false);
    // 6 - 8.
    if (auto r = comprobar(primero))
        return *r;

    // 9. Tablas the group has already sold on the horse.
    const QString sufijo = juego == 1 ? (moneda == 1 ? QStringLiteral("' and id_juego=1 and id_moneda=1")
                                                     : QStringLiteral("' and id_juego=1 and id_moneda=2"))
                                      : (moneda == 1 ? QStringLiteral("' and id_juego=2 and id_moneda=1")
                                                     : QStringLiteral("' and id_juego=2 and id_moneda=2"));
    Armado armado(192 + caballoTxt.size() + grupo.size());
    armado << QLatin1String("SELECT sum(tablas) as venta_ch FROM ma_principal where caballo='");
    armado << sqlTexto(db, caballoTxt);
    armado << QLatin1String("' and carrera ='");
    armado << sqlTexto(db, carreraActual);
    armado << QLatin1String("' and fecha  = '");
    armado << sqlTexto(db, fechaSql(fecha));
    armado << QLatin1String("' and grupo = '");
    armado << sqlTexto(db, grupo) << sufijo;
    const QString sqlVendido = std::move(armado).texto();
    const Resultado vendido = db.ejecutar(sqlVendido);
    const double ventaCh = vendido.vacio() ? 0.0 : vendido.valor(0, QStringLiteral("venta_ch")).numero();

    // 10. Per-horse limit.
    double limite = primero.limite;
    if (cupoOpcion != 0) {
        const QString sql =
            juego == 1 ? QStringLiteral("SELECT * FROM venta_cupo_td where  ch  = '") + sqlTexto(db, grupo) +
                             (moneda == 1 ? QStringLiteral("' and id_moneda=1")
                                          : QStringLiteral("' and id_moneda=2"))
                       : QStringLiteral("SELECT * FROM venta_cupo_tf where  ch  = '") + sqlTexto(db, grupo) +
                             (moneda == 1 ? QStringLiteral("'  and id_moneda=1")
                                          : QStringLiteral("'  and id_moneda=2"));
        limite = limiteDeTabla(db, sql, cupo_, caballo);
    }
    const double total = ventaCh + tablas;
    const double disponible = std::max(0.0, limite - ventaCh);
    if (total > limite)
        return rechazoVenta(QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: ") +
                                textoNumero(disponible),
                            CampoVenta::Monto);

    // 11. Per-bet limit.
    const double porJugada = s.cupoviptf > 0 ? double(s.cupoviptf) : apuestaMax;
    if (tablas > porJugada)
        return rechazoVenta(QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, PERMITIDO: ") +
                                textoNumero(porJugada),
                            CampoVenta::Monto);

    // 12 - 14.
    if (modificar != 1)
        return rechazoVenta(QStringLiteral("LA CARRERA ESTA CERRADA, NO SE PUEDEN HACER CAMBIOS"),
                            CampoVenta::Ninguno, QStringLiteral("Validación del Sistema"));
    if (tablas == 0)
        return rechazoVenta(QStringLiteral("DEBE INGRESAR UN Nº DE TABLAS"), CampoVenta::Monto);
    const double monto = primero.precio * tablas;
    if (moneda == 1 && monto < minVbs)
        return rechazoVenta(operador
                                ? QStringLiteral("EL MONTO ES MENOR AL PERMITIDO EN BS")
                                : QStringLiteral("EL MONTO ES MENOR AL PERMITIDO EN ") + datos.nombre_moneda,
                            CampoVenta::Ninguno);
    if (moneda == 2 && monto > maxVdls)
        return rechazoVenta(operador
                                ? QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO EN $")
                                : QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO EN ") + datos.nombre_moneda,
                            CampoVenta::Ninguno);

    // 15. Confirmation: the price and the amount with their separators, the amount in the sale's
    // own currency on both screens.
    const QString etiqueta = etiquetaMoneda(ctx_, moneda, datos.nombre_moneda);
    QString texto;
    texto.reserve(160 + caballoTxt.size() + etiqueta.size());
    texto += QLatin1String(".\r\r\rEL VALOR DEL CABALLO ACTUAL ES DE : ");
    texto += cifraConSeparadores(primero.precio);
    texto += QLatin1String("     \r\r\r    ");
    texto += textoNumero(tablas);
    texto += QLatin1String("  TABLAS  AL CAB: ");
    texto += caballoTxt;
    texto += QLatin1String("    POR: ");
    texto += cifraConSeparadores(monto);
    texto += operador ? QLatin1String("  ") : QLatin1String(" ");
    texto += etiqueta;
    texto += QLatin1String("\r\r.");
    const qint64 preguntado = ctx_.reloj.msDesdeEpoca();
    if (auto no = sinConfirmar(ctx_, texto))
        return *no;
    res.confirmada = true;

    // 16. The horse again, and its price.
    const Caballo segundo = buscar(true);
    if (auto r = comprobar(segundo))
        return *r;
    if (segundo.precio != primero.precio)
        return rechazoVenta(
            QStringLiteral("El valor del caballo cambio, debe hacer la jugada de nuevo, Cambio de ") +
                textoNumero(primero.precio) + QStringLiteral("  a :") + textoNumero(segundo.precio),
            CampoVenta::Monto, QStringLiteral("Verificación de la Jugada"));

    // 17. The race must still be open and current.
    const RevisionCarrera revision = revisarCarrera(ctx_, QStringLiteral("modificar"), carreraTecleada);
    if (revision.rechazo)
        return *revision.rechazo;
    fecha = revision.fecha;
    const double carrera2 = revision.carrera;

    // 18 - 24. Record, code, keys and print; the row's number comes with the INSERT's reply.
    JugadaPorRegistrar j;
    j.caballoTxt = caballoTxt;
    j.montoTxt = textoNumero(monto).replace(QLatin1Char(','), QLatin1Char('.'));
    j.carreraTxt = textoNumero(carrera2);
    j.digito = juego == 1 ? QStringLiteral("4") : QStringLiteral("2");
    j.columnaAbierta = QStringLiteral("modificar");
    j.llaves = !operador;
    j.valores = {j.carreraTxt,
                 caballoTxt,
                 j.montoTxt,
                 textoNumero(tablas),
                 QStringLiteral("0"),
                 s.usuario,
                 grupo,
                 ctx_.reloj.horaTexto(),
                 fechaSql(fecha),
                 QStringLiteral("0"),
                 QString(),
                 QStringLiteral("0"),
                 QString(),
                 QString::number(juego),
                 QString::number(moneda),
                 QStringLiteral("0"),
                 QStringLiteral("0"),
                 QStringLiteral("0"),
                 QStringLiteral("0")};
    ControlCupo c;
    c.sqlVendido = sqlVendido;
    c.limite = limite;
    c.vendido = ventaCh;
    c.pedido = tablas;
    // A clerk who waited at the confirmation gave the other booths time to sell.
    c.maximoJugada = porJugada * std::max(1.0, double((ctx_.reloj.msDesdeEpoca() - preguntado) / 1000) / 2.0);
    c.rechazo = QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: ");
    c.bloqueo = {grupo, juego, moneda, carrera2, caballo};
    j.cupo = c;

    Boleto &b = j.boleto;
    b.juego = juego;
    b.carrera = int(carrera2);
    b.caballo = int(caballo);
    b.nombre_caballo = segundo.nombre;
    b.tablas = tablas;
    completarBoleto(b, monto, fecha, etiqueta, encabezado);
    return registrarJugada(ctx_, j, impresion_, res);
}

} // namespace corvalo
