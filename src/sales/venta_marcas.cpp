#include "venta_marcas.h"

#include "clientes.h"
#include "moneda.h"
#include "texto.h"

#include <cmath>

namespace corvalo {

namespace {

// A horse's row of the race card as Marcas reads it, in the sale's currency.
struct CaballoMarcas {
    QString nombre;
    double limite = 0, estado = 0, retirado = 0;
    int hipodromo = 0;
};

CaballoMarcas caballoDe(const Resultado &carrera, double numero, int moneda) {
    CaballoMarcas c;
    const int n = int(numero);
    if (numero != n || n < 1 || n > carrera.filas())
        return c; // no such row: no name, not withdrawn
    const int f = n - 1;
    const bool segunda = moneda == 2;
    c.nombre = carrera.valor(f, QStringLiteral("caballo")).texto();
    c.hipodromo = carrera.valor(f, QStringLiteral("id_hipodromo")).entero();
    c.limite =
        carrera.valor(f, segunda ? QStringLiteral("apuesta_max_mk2") : QStringLiteral("apuesta_max_mk"))
            .numero();
    c.estado =
        carrera.valor(f, segunda ? QStringLiteral("estado_mk2") : QStringLiteral("estado_mk")).numero();
    c.retirado = carrera.valor(f, segunda ? QStringLiteral("ret_mk2") : QStringLiteral("ret_mk")).numero();
    return c;
}

// Steps 8 and 9: the refusals of one horse; `segundo` names the second horse in its messages.
std::optional<ResultadoVenta> comprobar(const CaballoMarcas &c, CampoVenta campo, bool segundo) {
    if (c.retirado == 1)
        return rechazoVenta(segundo ? QStringLiteral("EL CABALLO 2 ESTA RETIRADO")
                                    : QStringLiteral("EL CABALLO ESTA RETIRADO"),
                            campo);
    if (c.nombre.isEmpty())
        return rechazoVenta(QStringLiteral("EL NUMERO DEL CABALLO NO EXISTE PARA ESTA CARRERA"), campo);
    if (c.estado == 1)
        return rechazoVenta(segundo ? QStringLiteral("SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO 2")
                                    : QStringLiteral("SE HA LLENADO EL CUPO DE VENTA A ESTE CABALLO"),
                            campo);
    return std::nullopt;
}

} // namespace

ResultadoVenta VentaMarcas::procesar(const DatosJugada &datos) {
    return procesarVenta(
        ctx_, [&](ResultadoVenta &hecho) { return ejecutar(datos, hecho); },
        QStringLiteral("VERIFIQUE LA INFORMACION E INTENTE NUEVAMENTE "),
        QStringLiteral("VERIFICACION DE LA CONEXION"), CampoVenta::Caballo1);
}

ResultadoVenta VentaMarcas::ejecutar(const DatosJugada &datos, ResultadoVenta &res) {
    BaseDatos &db = ctx_.central();
    const Sesion &s = ctx_.sesion;

    // 1. The client's group.
    if (auto r = grupoDeVenta(ctx_, datos.cliente))
        return *r;
    // 2. The racetrack, before any other check.
    const int hipodromo = numeroHipodromo(ctx_.rs_hipodromos, datos.hipodromo);
    if (hipodromo == 0)
        return rechazoVenta(QStringLiteral(" El hipodromo no Existe"), CampoVenta::Ninguno,
                            QStringLiteral("Validación de Datos"));

    // 3. Settings of the current row.
    auto conf = [&](const char *c) { return ctx_.configuracion(QLatin1String(c)); };
    const double ventaMk = conf("venta_mk").numero();
    const double opcion = conf("cupo_mk_opcion").numero();
    const double carreraActual = conf("carrera").numero();
    const double cabMax = conf("cab_max").numero();
    QDate fecha = fechaDeTexto(conf("fecha").texto());
    const EncabezadoBoleto encabezado = leerEncabezado(ctx_);

    const double h1 = numeroDe(datos.caballo), h2 = numeroDe(datos.caballo2);
    const double monto = numeroDe(datos.monto);
    const double carreraTecleada = numeroDe(datos.carrera);
    const int moneda = s.id_moneda == 2 ? 2 : 1;
    const QString grupo = s.grupo;
    const QString etiqueta = etiquetaMoneda(ctx_, moneda, datos.nombre_moneda);
    const QString h1Txt = textoNumero(h1), h2Txt = textoNumero(h2);

    // 4 - 6. The amount is a whole number, whatever way the text reached the field.
    if (monto < 0 || monto != std::floor(monto))
        return rechazoVenta(QStringLiteral("EL NUMERO DE MONTO NO ES VALIDO"), CampoVenta::Monto);
    if (h1 > cabMax)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CABALLO NO ES VALIDO"), CampoVenta::Caballo1);
    if (h2 > cabMax)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CABALLO NO ES VALIDO"), CampoVenta::Caballo2);
    if (carreraTecleada != carreraActual)
        return rechazoVenta(QStringLiteral("EL NUMERO DE CARRERA NO ESTA PERMITIDO PARA LA VENTA"),
                            CampoVenta::Caballo1);

    // 7 - 9. Horse n is the n-th row of the race at that racetrack.
    auto leer = [&] {
        return db.ejecutar(QStringLiteral("SELECT * FROM carreras where  carrera ='") +
                           sqlTexto(db, carreraActual) + QStringLiteral("' and fecha  = '") +
                           sqlTexto(db, fechaSql(fecha)) + QStringLiteral("'  and id_hipodromo  = '") +
                           QString::number(hipodromo) + QStringLiteral("'"));
    };
    Resultado carrera = leer();
    const CaballoMarcas primero = caballoDe(carrera, h1, moneda);
    if (auto r = comprobar(primero, CampoVenta::Caballo1, false))
        return *r;
    CaballoMarcas segundo = caballoDe(carrera, h2, moneda);
    if (auto r = comprobar(segundo, CampoVenta::Caballo2, true))
        return *r;

    // 10. What the group has bet on the first horse in this currency; a cancelled ticket (estatus
    // 5, which stays in ma_marcas) does not use up the limit.
    const QString sqlVendido =
        QStringLiteral("SELECT sum(monto) as venta_ch FROM ma_marcas where caballo='") + sqlTexto(db, h1Txt) +
        QStringLiteral("' and carrera ='") + sqlTexto(db, carreraActual) +
        QStringLiteral("' and fecha  = '") + sqlTexto(db, fechaSql(fecha)) +
        QStringLiteral("' and grupo = '") + sqlTexto(db, grupo) +
        (moneda == 1 ? QStringLiteral("' and id_juego=4 and id_moneda=1 and estatus<>5")
                     : QStringLiteral("' and id_juego=4 and id_moneda=2 and estatus<>5"));
    const Resultado vendido = db.ejecutar(sqlVendido);
    const double ventaCh = vendido.vacio() ? 0.0 : vendido.valor(0, QStringLiteral("venta_ch")).numero();

    // 11. Per-horse limit.
    double limite = primero.limite;
    if (opcion != 0) {
        limite = limiteDeTabla(
            db,
            QStringLiteral("SELECT * FROM venta_cupo_mk where  ch  = '") + sqlTexto(db, grupo) +
                (moneda == 1 ? QStringLiteral("' and id_moneda=1") : QStringLiteral("' and id_moneda=2")),
            cupo_, h1);
    }
    if (ventaCh + monto > limite)
        return rechazoVenta(QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: ") +
                                textoNumero(std::max(0.0, limite - ventaCh)),
                            CampoVenta::Monto);

    // 12, 13.
    if (ventaMk != 1)
        return rechazoVenta(QStringLiteral("LA CARRERA ESTA CERRADA, NO SE PUEDEN HACER CAMBIOS"),
                            CampoVenta::Ninguno, QStringLiteral("Validación del Sistema"));
    if (monto == 0)
        return rechazoVenta(QStringLiteral("DEBE INGRESAR UN Nº DE MONTO"), CampoVenta::Monto);

    // 14. Confirmation: the amount with its separators, in the sale's currency.
    const QString cr = QStringLiteral("\r");
    const QString texto = QStringLiteral(".") + cr + cr + cr + QStringLiteral("    ") + cr + cr + cr +
                          QStringLiteral("  CAB  ") + h1Txt + QStringLiteral("  CONTRAL EL: ") + h2Txt +
                          QStringLiteral("    POR: ") + cifraConSeparadores(monto) + QStringLiteral("  ") +
                          etiqueta + cr + cr + QStringLiteral(".");
    if (auto no = sinConfirmar(ctx_, texto))
        return *no;
    res.confirmada = true;

    // 15. Both horses again.
    carrera = leer();
    const CaballoMarcas primeroAhora = caballoDe(carrera, h1, moneda);
    if (auto r = comprobar(primeroAhora, CampoVenta::Caballo1, false))
        return *r;
    segundo = caballoDe(carrera, h2, moneda);
    if (auto r = comprobar(segundo, CampoVenta::Caballo2, false))
        return *r;

    // 16. Marcas must still be on sale, on the race the horses were checked in.
    const RevisionCarrera revision = revisarCarrera(ctx_, QStringLiteral("venta_mk"), carreraTecleada);
    if (revision.rechazo)
        return *revision.rechazo;
    fecha = revision.fecha;
    const double carrera2 = revision.carrera;

    // 17 - 22. Record, code and print; the row's number comes with the INSERT's reply.
    JugadaPorRegistrar j;
    j.tabla = TablaBoletos::Marcas;
    j.llaves = false;
    j.caballoTxt = h1Txt;
    j.montoTxt = textoNumero(monto).replace(QLatin1Char(','), QLatin1Char('.'));
    j.carreraTxt = textoNumero(carrera2);
    j.digito = QStringLiteral("4");
    j.columnaAbierta = QStringLiteral("venta_mk");
    j.valores = {j.carreraTxt,
                 h1Txt,
                 h2Txt,
                 j.montoTxt,
                 s.usuario,
                 grupo,
                 ctx_.reloj.horaTexto(),
                 fechaSql(fecha),
                 QStringLiteral("0"),
                 QString(),
                 QStringLiteral("0"),
                 QString(),
                 QStringLiteral("4"),
                 QString::number(moneda),
                 QString::number(segundo.hipodromo),
                 h1Txt + QStringLiteral("-") + h2Txt};
    ControlCupo c;
    c.sqlVendido = sqlVendido;
    c.limite = limite;
    c.vendido = ventaCh;
    c.pedido = monto;
    c.maximoJugada = 0; // Marcas has no per-bet limit: the check is always made again
    c.rechazo = QStringLiteral("EL MONTO ES MAYOR AL PERMITIDO, DISPONIBLE: ");
    c.bloqueo = {grupo, 4, moneda, carrera2, h1};
    j.cupo = c;

    Boleto &b = j.boleto;
    b.juego = 4;
    b.carrera = int(carrera2);
    b.caballo = int(h1);
    b.caballo2 = int(h2);
    // The ticket states the bet: both horses by name, and the racetrack.
    b.nombre_caballo = primeroAhora.nombre;
    b.nombre_caballo2 = segundo.nombre;
    b.hipodromo = datos.hipodromo;
    completarBoleto(b, monto, fecha, etiqueta, encabezado);
    return registrarJugada(ctx_, j, impresion_, res);
}

} // namespace corvalo
