#include "ajustes_puesto.h"

#include "contexto.h"
#include "db.h"
#include "opciones.h"
#include "registro.h"
#include "sesion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace corvalo {

namespace {

const QString kIncorporado = QStringLiteral("built in");

bool esDireccionIpv4(const QString &texto) {
    const QStringList partes = texto.split(QLatin1Char('.'));
    if (partes.size() != 4)
        return false;
    for (const QString &p : partes) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (const QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

} // namespace

QStringList clavesAjustes() {
    return {QStringLiteral("central"),
            QStringLiteral("local"),
            QStringLiteral("local-default-server"),
            QStringLiteral("ip-services"),
            QStringLiteral("print-settings"),
            QStringLiteral("log-level"),
            QStringLiteral("log-file")};
}

ValorAjuste *AjustesPuesto::valor(const QString &clave) {
    ValorAjuste *const valores[] = {&central,          &local,         &servidorLocal,  &servicios,
                                    &ajustesImpresion, &nivelRegistro, &archivoRegistro};
    const int i = int(clavesAjustes().indexOf(clave));
    return i < 0 ? nullptr : valores[i];
}

const ValorAjuste *AjustesPuesto::valor(const QString &clave) const {
    return const_cast<AjustesPuesto *>(this)->valor(clave);
}

bool AjustesPuesto::algunoDeArchivo() const {
    for (const QString &c : clavesAjustes()) {
        const QString &o = valor(c)->origen;
        if (o != kIncorporado && o != QLatin1String("command line"))
            return true;
    }
    return false;
}

AjustesPuesto ajustesIncorporados(const QString &ajustesImpresion, const QString &archivoRegistro) {
    AjustesPuesto a;
    a.central = {cadenaCentralIncorporada(), kIncorporado};
    a.local = {cadenaLocalIncorporada(), kIncorporado};
    a.servidorLocal = {servidorLocalPredeterminado(), kIncorporado};
    a.servicios = {kServiciosDireccion, kIncorporado};
    a.ajustesImpresion = {ajustesImpresion, kIncorporado};
    a.nivelRegistro = {QStringLiteral("warning"), kIncorporado};
    a.archivoRegistro = {archivoRegistro, kIncorporado};
    return a;
}

QString fijarAjuste(AjustesPuesto &a, const QString &clave, const QString &valor, const QString &origen) {
    ValorAjuste *destino = a.valor(clave);
    if (!destino)
        return QStringLiteral("unknown key \"%1\" (the keys are %2)")
            .arg(clave, clavesAjustes().join(QStringLiteral(", ")));
    if (valor.isEmpty())
        return clave + QStringLiteral(" has no value");
    if (clave == QLatin1String("central") || clave == QLatin1String("local")) {
        QString motivo;
        if (!parsearCadena(valor, &motivo))
            return clave + QStringLiteral(": malformed connection string: ") + sinClaves(motivo);
    } else if (clave == QLatin1String("log-level")) {
        if (!nivelRegistro(valor))
            return QStringLiteral("log-level: unknown level \"%1\" (debug, info, warning or critical)")
                .arg(valor);
    } else if (clave == QLatin1String("local-default-server")) {
        if (!esDireccionIpv4(valor))
            return QStringLiteral("local-default-server: \"%1\" is not an IPv4 address").arg(valor);
    }
    *destino = {valor, origen};
    return {};
}

QString leerArchivoAjustes(const QString &ruta, AjustesPuesto &a) {
    const QFileInfo info(ruta);
    if (!info.exists()) {
        a.archivos.append({ruta, false});
        return {};
    }
    QFile archivo(ruta);
    if (info.isDir() || !archivo.open(QIODevice::ReadOnly)) {
        QString texto =
            QStringLiteral("cannot read the settings file %1: %2")
                .arg(ruta, info.isDir() ? QStringLiteral("it is a folder") : archivo.errorString());
        if (!info.isDir() && !info.isReadable())
            texto += QStringLiteral(" (it holds the central password and is readable by root and the group "
                                    "corvalo only: add this account to that group with "
                                    "\"adduser USER corvalo\" and log in again)");
        return texto;
    }
    const QByteArray bytes = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return QStringLiteral("cannot read the settings file %1: %2").arg(ruta, archivo.errorString());

    AjustesPuesto leidos = a;
    QHash<QString, int> lineas; // key -> the line that set it
    const QStringList renglones = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (int i = 0; i < renglones.size(); ++i) {
        const int n = i + 1;
        const QString linea = renglones[i].trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char('#')))
            continue;
        const QString lugar = QStringLiteral("%1 line %2").arg(ruta).arg(n);
        const qsizetype igual = linea.indexOf(QLatin1Char('='));
        // The line itself is never repeated: it may hold a password.
        if (igual <= 0)
            return lugar + QStringLiteral(": not a \"key = value\" line");
        const QString clave = linea.left(igual).trimmed();
        const QString valor = linea.mid(igual + 1).trimmed();
        if (lineas.contains(clave))
            return lugar +
                   QStringLiteral(": %1 is already set on line %2").arg(clave).arg(lineas.value(clave));
        const QString problema = fijarAjuste(leidos, clave, valor, lugar);
        if (!problema.isEmpty())
            return lugar + QStringLiteral(": ") + problema;
        lineas.insert(clave, n);
    }
    leidos.archivos.append({ruta, true});
    a = leidos;
    return {};
}

QString archivoAjustesSistema(const QString &carpetaPrograma) {
    const QString carpeta = QDir::cleanPath(carpetaPrograma);
    const QString usrBin = QStringLiteral("/usr/bin");
    if (carpeta.endsWith(usrBin))
        return carpeta.left(carpeta.size() - usrBin.size()) + QStringLiteral("/etc/corvalo/corvalo.conf");
    return QStringLiteral("/etc/corvalo/corvalo.conf");
}

QString archivoAjustesUsuario(const QString &carpetaConfiguracion) {
    return QDir::cleanPath(carpetaConfiguracion) + QStringLiteral("/Corvalo/corvalo.conf");
}

AjustesPuesto leerAjustesPuesto(const QString &carpetaPrograma, const QString &carpetaConfiguracion,
                                QString *problema) {
    AjustesPuesto a =
        ajustesIncorporados(QDir::cleanPath(carpetaConfiguracion) + QStringLiteral("/Corvalo/KVR2.bin"),
                            archivoRegistroPredeterminado());
    for (const QString &ruta :
         {archivoAjustesSistema(carpetaPrograma), archivoAjustesUsuario(carpetaConfiguracion)}) {
        const QString p = leerArchivoAjustes(ruta, a);
        if (!p.isEmpty()) {
            if (problema)
                *problema = p;
            break;
        }
    }
    return a;
}

QString textoVersion(const AjustesPuesto &a) {
    QString t = QStringLiteral("corvalo 2.8.01 (version %1)\n").arg(VERSION_PROGRAMA);
    for (const AjustesPuesto::Archivo &f : a.archivos)
        t += QStringLiteral("settings file %1: %2\n")
                 .arg(f.ruta, f.leido ? QStringLiteral("read") : QStringLiteral("not present"));
    for (const QString &c : clavesAjustes()) {
        const ValorAjuste &v = *a.valor(c);
        t += QStringLiteral("%1 = %2\n    (%3)\n").arg(c, sinClaves(v.valor), v.origen);
    }
    return t;
}

} // namespace corvalo
