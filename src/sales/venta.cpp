#include "venta.h"

#include "registro.h"
#include "texto.h"

namespace corvalo {

ResultadoVenta rechazoVenta(const QString &mensaje, CampoVenta foco, const QString &titulo) {
    ResultadoVenta r;
    r.tipo = ResultadoVenta::Tipo::Rechazada;
    r.mensaje = mensaje;
    r.titulo = titulo;
    r.foco = foco;
    return r;
}

std::optional<ResultadoVenta> sinConfirmar(Contexto &ctx, const QString &texto) {
    if (ctx.dialogos.pregunta(texto, QStringLiteral("¿Los datos están Correctos?"), Icono::Pregunta))
        return std::nullopt;
    ResultadoVenta r;
    r.tipo = ResultadoVenta::Tipo::Cancelada;
    r.limpiar = true;
    r.foco = CampoVenta::Monto;
    return r;
}

RevisionCarrera revisarCarrera(Contexto &ctx, const QString &abierta, double carreraTecleada) {
    ctx.abrir_configuracion();
    RevisionCarrera r;
    const double venta = ctx.configuracion(abierta).numero();
    r.fecha = fechaDeTexto(ctx.configuracion(QStringLiteral("fecha")).texto());
    ctx.configuracion(QStringLiteral("cab_max"));
    r.carrera = ctx.configuracion(QStringLiteral("carrera")).numero();
    if (venta == 0 || r.carrera != carreraTecleada)
        r.rechazo = rechazoVenta(QStringLiteral("LA CARRERA SE ENCUENTRA CERRADA"), CampoVenta::Ninguno,
                                 QStringLiteral("VERIFIQUE LA INFORMACION"));
    return r;
}

ResultadoVenta ventaRegistrada(const Boleto &boleto, int numero, int impresion, ImpresionTickets *impresora) {
    if (impresion == 1 && impresora)
        impresora->imprimir(boleto);
    ResultadoVenta ok;
    ok.tipo = ResultadoVenta::Tipo::Registrada;
    ok.limpiar = true;
    ok.foco = CampoVenta::Monto;
    ok.boleto = boleto;
    ok.numero = numero;
    return ok;
}

ResultadoVenta conFallaVenta(Contexto &ctx, const std::function<ResultadoVenta(ResultadoVenta &)> &pasos,
                             const QString &mensaje, const QString &titulo, CampoVenta foco) {
    ResultadoVenta hecho;
    try {
        return pasos(hecho);
    } catch (const std::exception &e) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("venta (fila %1)").arg(hecho.numero), e);
    } catch (const FallaVenta &) {
        registrarFalla(lcVentas(), &ctx.sesion, QStringLiteral("CORVALO"),
                       QStringLiteral("venta (fila %1)").arg(hecho.numero),
                       QStringLiteral("falla de la venta"));
    }
    ResultadoVenta falla;
    falla.tipo = ResultadoVenta::Tipo::Fallida;
    falla.mensaje = mensaje;
    falla.titulo = titulo;
    falla.foco = foco;
    falla.limpiar = hecho.limpiar;
    falla.numero = hecho.numero;
    return falla;
}

Resultado leerCarrera(BaseDatos &db, double carrera, const QDate &fecha) {
    return db.ejecutar(QStringLiteral("SELECT * FROM carreras where  carrera ='") + sqlTexto(db, carrera) +
                       QStringLiteral("' and fecha  = '") + sqlTexto(db, fechaSql(fecha)) +
                       QStringLiteral("'"));
}

QString sentenciaInsertarBoleto(const BaseDatos &db, const QStringList &valores) {
    QString sql = QStringLiteral("INSERT INTO `ma_principal` VALUES (NULL,");
    for (int i = 0; i < valores.size(); ++i)
        sql += QStringLiteral("'") + sqlTexto(db, valores[i]) +
               (i + 1 < valores.size() ? QStringLiteral("',") : QStringLiteral("');"));
    return sql;
}

QString sentenciaCodigoYLlaves(const BaseDatos &db, const QString &nu, const Llaves &k,
                               const QString &usuario, int numero) {
    return QStringLiteral("update ma_principal set nu_boleto='") + sqlTexto(db, nu) +
           QStringLiteral("',llave1='") + sqlTexto(db, k.llave1) + QStringLiteral("',llave2='") +
           sqlTexto(db, k.llave2) + QStringLiteral("',llave3='") + sqlTexto(db, k.llave3) +
           QStringLiteral("' Where taquilla='") + sqlTexto(db, usuario) + QStringLiteral("' and numero = '") +
           sqlTexto(db, QString::number(numero)) + QStringLiteral("' limit 1   ");
}

} // namespace corvalo
