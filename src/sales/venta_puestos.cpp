#include "venta_puestos.h"

#include "codificacion.h"
#include "moneda.h"
#include "texto.h"

#include <cmath>
#include <vector>

namespace corvalo {

namespace {} // namespace

namespace {

struct Clase {
    double valor;
    bool aproximado; // the tenths are compared within a margin
    TipoPuesto tipo;
};

// Every kind of bet, made once.
const std::vector<Clase> &clases() {
    static const std::vector<Clase> todas = [] {
        std::vector<Clase> c;
        for (int d = 1; d <= 9; ++d)
            c.push_back({d / 10.0,
                         true,
                         {QStringLiteral("10/%1").arg(d),
                          d == 5 ? QStringLiteral("10 A  5") : QStringLiteral("10 A  %1 ").arg(d),
                          QStringLiteral("10/%1").arg(d)}});
        // -1 has no entry of its own in the kinds the race card uses; it is shown as the one nini
        // it stands for, the way the horse panel shows it ("1N").
        for (int n = 1; n <= 5; ++n)
            c.push_back({double(-n),
                         false,
                         {QString::number(n), QStringLiteral("NINI"), QStringLiteral("%1N").arg(n)}});
        for (int n = 1; n <= 5; ++n)
            c.push_back(
                {double(n), false, {QString::number(n), QStringLiteral("PUESTO"), QString::number(n)}});
        for (int k : {12, 22, 23, 33, 34, 44, 45, 55})
            c.push_back({double(k),
                         false,
                         {QStringLiteral("%1 PUESTOS Y %2 NINI").arg(k / 10).arg(k % 10), QString(),
                          QStringLiteral("%1P%2N").arg(k / 10).arg(k % 10)}});
        return c;
    }();
    return todas;
}

} // namespace

TipoPuesto tipoPuesto(double v) {
    for (const Clase &c : clases())
        if (c.aproximado ? std::abs(v - c.valor) < 1e-9 : v == c.valor)
            return c.tipo;
    return {};
}

ResultadoVenta VentaPuestos::procesar(const DatosJugada &datos) {
    return procesarVenta(
        ctx_, [&](ResultadoVenta &hecho) { return ejecutar(datos, hecho); },
        QStringLiteral("HUBO UN ERROR INTENTE NUEVAMENTE "), QStringLiteral("VERIFIQUE LA INFORMACION"),
        CampoVenta::Carrera);
}

ResultadoVenta VentaPuestos::ejecutar(const DatosJugada &datos, ResultadoVenta &res) {
    BaseDatos &db = ctx_.central();
    const Sesion &s = ctx_.sesion;
    const bool operador = pantalla_ == PantallaVenta::Operador;
    if (operador)
        if (auto r = grupoDeVenta(ctx_, datos.cliente))
            return *r;

    // 1.
    ctx_.abrir_configuracion();
    auto conf = [&](const char *c) { return ctx_.configuracion(QLatin1String(c)); };
    if (datos.juego_actual == 0)
        return rechazoVenta(QStringLiteral("Debe seleccionar un juego para poder hacer la venta"),
                            CampoVenta::Ninguno, QStringLiteral("Verificación de datos"));
    conf("venta_pt");
    const double carreraActual = conf("carrera").numero();
    QDate fecha = fechaDeTexto(conf("fecha").texto());
    const double cabMax = conf("cab_max").numero();
    const double cupoPt = conf("cupo_pt").numero();
    const double opcion = conf("opcioncupopt").numero();
    const double minVbs = conf("min_vbs").numero();
    const double maxVdls = conf("max_vdls").numero();
    const EncabezadoBoleto encabezado = leerEncabezado(ctx_);

    const double carreraTecleada = numeroDe(datos.carrera);
    const double caballo = numeroDe(datos.caballo);
    const double monto = numeroDe(datos.monto);
    const int moneda = s.id_moneda == 2 ? 2 : 1;
    const QString caballoTxt = textoNumero(caballo);
    const QString grupo = s.grupo;
    const QString fechaTxt = fechaSql(fecha);

    // The amount is a whole, positive number, whatever way the text reached the field.
    if (monto < 0 || monto != std::floor(monto))
        return rechazoVenta(QStringLiteral("EL MONTO NO ES VALIDO"), CampoVenta::Monto);

    // 2, 3.
    if (caballo > cabMax)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CABALLO NO ES VALIDO"), CampoVenta::Caballo);
    if (carreraTecleada != carreraActual)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CARRERA NO ESTA PERMITIDO PARA LA VENTA"),
                            CampoVenta::Carrera);

    // 4. Horse n is the n-th row of the race.
    const Resultado carrera = leerCarrera(db, carreraActual, fecha);
    QString nombre;
    double limite = 0, estado = 0, tipo = 0, retirado = 0;
    const int n = int(caballo);
    if (caballo == n && n >= 1 && n <= carrera.filas()) {
        const int f = n - 1;
        nombre = carrera.valor(f, QStringLiteral("caballo")).texto();
        limite =
            carrera
                .valor(f, moneda == 2 ? QStringLiteral("apuesta_max_pt2") : QStringLiteral("apuesta_max_pt"))
                .numero();
        // The operator screen reads the state of the second currency from estado2_pt.
        estado = carrera
                     .valor(f, moneda == 2
                                   ? (operador ? QStringLiteral("estado2_pt") : QStringLiteral("estado_pt2"))
                                   : QStringLiteral("estado_pt"))
                     .numero();
        tipo = carrera.valor(f, moneda == 2 ? QStringLiteral("puesto2") : QStringLiteral("puesto")).numero();
        // The operator screen reads withdrawal from retirado_pt in both currencies.
        retirado = carrera
                       .valor(f, moneda == 2 && !operador ? QStringLiteral("retirado_pt2")
                                                          : QStringLiteral("retirado_pt"))
                       .numero();
    }
    // 5.
    if (retirado == 1)
        return rechazoVenta(QStringLiteral("EL CABALLO ESTA RETIRADO"), CampoVenta::Caballo);
    if (nombre.isEmpty())
        return rechazoVenta(QStringLiteral("EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA"),
                            CampoVenta::Caballo);
    if (estado == 1)
        return rechazoVenta(QStringLiteral("SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO"),
                            CampoVenta::Caballo);

    // 6. What the group has bet on the horse: both currencies together on the booth screen, the
    // sale's currency on the operator's.
    Armado armado(200 + caballoTxt.size() + fechaTxt.size() + grupo.size());
    armado << QLatin1String("SELECT sum(monto) as venta_ch FROM ma_principal where caballo='");
    armado << sqlTexto(db, caballoTxt);
    armado << QLatin1String("' and carrera ='");
    armado << sqlTexto(db, carreraActual);
    armado << QLatin1String("' and fecha  = '");
    armado << sqlTexto(db, fechaTxt);
    armado << QLatin1String("' and grupo = '");
    armado << sqlTexto(db, grupo) << QLatin1String("' and id_juego=3");
    if (operador)
        armado << QLatin1String(" and id_moneda= '") << QString::number(moneda)
               << (opcion != 0 ? QLatin1String("'") : QLatin1String("' "));
    const QString sqlVendido = std::move(armado).texto();
    double vendidoYa = 0, limiteCaballo = 0;
    auto vendido = [&] {
        const Resultado r = db.ejecutar(sqlVendido);
        vendidoYa = r.vacio() ? 0.0 : r.valor(0, QStringLiteral("venta_ch")).numero();
        return vendidoYa;
    };
    auto disponible = [](double lim, double ya) { return textoNumero(std::max(0.0, lim - ya)); };

    if (opcion != 0) {
        // 7. The operator screen does not measure the bet against the horse's own column.
        if (!operador && monto > limite)
            return rechazoVenta(QStringLiteral("LA JUGADA ES MAYOR A LA PERMITIDA"), CampoVenta::Caballo);
        if (monto > cupoPt)
            return rechazoVenta(QStringLiteral("EL MONTO ES MAYOR AL CUPO POR JUGADOR"), CampoVenta::Monto);
        const double ya = vendido();
        const double lim =
            limiteDeTabla(db,
                          operador ? QStringLiteral("SELECT * FROM venta_cupo_pt where ch= '") +
                                         sqlTexto(db, grupo) + QStringLiteral("'  and id_moneda= '") +
                                         QString::number(moneda) + QStringLiteral("' ")
                                   : QStringLiteral("SELECT * FROM venta_cupo_pt where  ch  = '") +
                                         sqlTexto(db, grupo) + QStringLiteral("' and id_moneda='") +
                                         sqlTexto(db, QString::number(moneda)) + QStringLiteral("'"),
                          cupo_, caballo);
        limiteCaballo = lim;
        if (ya + monto > lim)
            return rechazoVenta(QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: ") +
                                    disponible(lim, ya),
                                CampoVenta::Monto);
    } else {
        // 8.
        if (moneda == 2 && monto > maxVdls)
            return rechazoVenta(operador ? QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO EN $")
                                         : QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO EN  ") +
                                               datos.nombre_moneda,
                                CampoVenta::Ninguno);
        if (moneda == 1 && monto < minVbs)
            return rechazoVenta(operador ? QStringLiteral("EL MONTO ES MENOR AL PERMITIDO EN BS")
                                         : QStringLiteral("EL MONTO ES MENOR AL PERMITIDO EN ") +
                                               datos.nombre_moneda,
                                CampoVenta::Ninguno);
        if (monto > cupoPt)
            return rechazoVenta(QStringLiteral("EL MONTO ES MAYOR AL CUPO POR JUGADOR"), CampoVenta::Monto);
        const double ya = vendido();
        limiteCaballo = limite;
        if (ya + monto > limite)
            return rechazoVenta(QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: ") +
                                    disponible(limite, ya),
                                CampoVenta::Monto);
    }

    // 9, 10.
    if (conf("venta_pt").numero() != 1)
        return rechazoVenta(QStringLiteral("LA CARRERA SE ENCUENTRA CERRADA"), CampoVenta::Ninguno,
                            QStringLiteral("VERIFIQUE LA INFORMACION"));
    if (monto == 0)
        return rechazoVenta(QStringLiteral("DEBE INGRESAR UN MONTO"), CampoVenta::Monto);

    // 11, 12. The amount with its separators, in the sale's own currency on both screens.
    const TipoPuesto t = tipoPuesto(tipo);
    const QString etiqueta = etiquetaMoneda(ctx_, moneda, datos.nombre_moneda);
    Armado pregunta(80 + t.texto1.size() + t.texto2.size() + caballoTxt.size() + etiqueta.size());
    pregunta << QLatin1String("    ") << t.texto1 << QLatin1String("  ") << t.texto2
             << QLatin1String("  AL CAB: ") << caballoTxt << QLatin1String("    POR: ")
             << cifraConSeparadores(monto) << QLatin1String("  ") << etiqueta;
    const QString texto = std::move(pregunta).texto();
    const qint64 preguntado = ctx_.reloj.msDesdeEpoca();
    if (auto no = sinConfirmar(ctx_, texto))
        return *no;
    res.confirmada = true;

    // 13.
    const RevisionCarrera revision = revisarCarrera(ctx_, QStringLiteral("venta_pt"), carreraTecleada);
    if (revision.rechazo)
        return *revision.rechazo;
    fecha = revision.fecha;
    const double carrera2 = revision.carrera;

    // 14 - 19. Record, code, keys and print; the row's number comes with the INSERT's reply.
    JugadaPorRegistrar j;
    j.caballoTxt = caballoTxt;
    j.montoTxt = textoNumero(monto).replace(QLatin1Char(','), QLatin1Char('.'));
    j.carreraTxt = textoNumero(carrera2);
    j.digito = QStringLiteral("3");
    j.columnaAbierta = QStringLiteral("venta_pt");
    j.llaves = !operador;
    j.valores = {j.carreraTxt,
                 caballoTxt,
                 j.montoTxt,
                 QStringLiteral("0"),
                 textoNumero(tipo).replace(QLatin1Char(','), QLatin1Char('.')),
                 s.usuario,
                 grupo,
                 ctx_.reloj.horaTexto(),
                 fechaSql(fecha),
                 QStringLiteral("0"),
                 QStringLiteral("0"),
                 QStringLiteral("0"),
                 QString(),
                 QStringLiteral("3"),
                 QString::number(moneda),
                 QStringLiteral("0"),
                 QStringLiteral("0"),
                 QStringLiteral("0"),
                 QStringLiteral("0")};
    ControlCupo c;
    c.sqlVendido = sqlVendido;
    c.limite = limiteCaballo;
    c.vendido = vendidoYa;
    c.pedido = monto;
    // A clerk who waited at the confirmation gave the other booths time to sell.
    c.maximoJugada = cupoPt * std::max(1.0, double((ctx_.reloj.msDesdeEpoca() - preguntado) / 1000) / 2.0);
    c.rechazo = QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: ");
    // Both currencies count toward the booth's one limit: one lock for both (on the operator
    // screen too, which may sell for the same group).
    c.bloqueo = {grupo, 3, 0, carrera2, caballo};
    j.cupo = c;

    Boleto &b = j.boleto;
    b.juego = 3;
    b.carrera = int(carreraTecleada);
    b.caballo = n;
    b.nombre_caballo = nombre;
    b.codigo_puesto = t.codigo;
    completarBoleto(b, monto, fecha, etiqueta, encabezado);
    return registrarJugada(ctx_, j, impresion_, res);
}

} // namespace corvalo
