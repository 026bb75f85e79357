#include "Module_CodigoBarras.h"

#include <QStringList>

namespace corvalo {

namespace {

// Code 39: characters and their 9 elements (1 narrow, 2 wide).
const QString kSet39 = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*");
const QStringList kPatrones39 =
    QStringLiteral(
        "111221211,211211112,112211112,212211111,111221112,211221111,112221111,111211212,211211211,112211211,"
        "211112112,112112112,212112111,111122112,211122111,112122111,111112212,211112211,112112211,111122211,"
        "211111122,112111122,212111121,111121122,211121121,112121121,111111222,211111221,112111221,111121221,"
        "221111112,122111112,222111111,121121112,221121111,122121111,121111212,221111211,122111211,121212111,"
        "121211121,121112121,111212121,121121211")
        .split(QLatin1Char(','));

// Code 128: values 0 to 106 (103 to 105 the start symbols, 106 the stop).
const QStringList kPatrones128 = QStringLiteral("212222,222122,222221,121223,121322,131222,122213,122312,"
                                                "132212,221213,221312,231212,112232,122132,122231,"
                                                "113222,123122,123221,223211,221132,221231,213212,223112,"
                                                "312131,311222,321122,321221,312212,322112,322211,"
                                                "212123,212321,232121,111323,131123,131321,112313,132113,"
                                                "132311,211313,231113,231311,112133,112331,132131,"
                                                "113123,113321,133121,313121,211331,231131,213113,213311,"
                                                "213131,311123,311321,331121,312113,312311,332111,"
                                                "314111,221411,431111,111224,111422,121124,121421,141122,"
                                                "141221,112214,112412,122114,122411,142112,142211,"
                                                "241211,221114,413111,241112,134111,111242,121142,121241,"
                                                "114212,124112,124211,411212,421112,421211,212141,"
                                                "214121,412121,111143,111341,131141,114113,114311,411113,"
                                                "411311,113141,114131,311141,411131,211412,211214,"
                                                "211232,2331112")
                                     .split(QLatin1Char(','));
// Subset B: blank (value 0) to "~" (value 94), separated by "<>" in the set's text.
const QStringList kSet128 = [] {
    QStringList l;
    for (int c = 32; c <= 126; ++c)
        l << QString(QChar(c));
    return l;
}();

// Interleaved 2 of 5: digits "1" to "9" and "0" (1 narrow, 3 wide).
const QString kSetI25 = QStringLiteral("1234567890");
const QStringList kPatronesI25 =
    QStringLiteral("31113,13113,33111,11313,31311,13311,11133,31131,13131,11331").split(QLatin1Char(','));

// Codabar: 20 characters (1 narrow, 2 wide).
const QString kSetCodabar = QStringLiteral("1234567890-$:/.+ABCD");
const QStringList kPatronesCodabar =
    QStringLiteral(
        "1111221,1112112,2211111,1121121,2111121,1211112,1211211,1221111,2112111,1111122,1112211,1122111,"
        "2111212,2121112,2121211,1121212,1122121,1212112,1112122,1112221")
        .split(QLatin1Char(','));

} // namespace

void Module_CodigoBarras::Codigo39(const QString &texto) {
    const QString &asterisco = kPatrones39[kSet39.indexOf(QLatin1Char('*'))];
    patron_barras = asterisco + QLatin1Char('1');
    for (QChar c : texto) {
        const int k = int(kSet39.indexOf(c));
        if (k < 0)
            continue;
        patron_barras += kPatrones39[k] + QLatin1Char('1');
    }
    patron_barras += asterisco;
}

void Module_CodigoBarras::Codigo128(const QString &texto) {
    patron_barras = kPatrones128[104];
    long long suma = 104;
    for (int i = 0; i < texto.size(); ++i) {
        const int v = int(kSet128.indexOf(QString(texto[i])));
        if (v < 0)
            continue; // skipped; later characters keep their positions
        patron_barras += kPatrones128[v];
        suma += (long long)v * (i + 1);
    }
    patron_barras += kPatrones128[int(suma % 103)];
    patron_barras += kPatrones128[106];
}

void Module_CodigoBarras::CodigoI25(const QString &texto) {
    patron_barras = QStringLiteral("1111");
    for (int i = 0; i + 1 < texto.size(); i += 2) {
        const int a = int(kSetI25.indexOf(texto[i])), b = int(kSetI25.indexOf(texto[i + 1]));
        if (a < 0 || b < 0)
            continue;
        for (int k = 0; k < 5; ++k) {
            patron_barras += kPatronesI25[a][k];
            patron_barras += kPatronesI25[b][k];
        }
    }
    patron_barras += QStringLiteral("311");
}

void Module_CodigoBarras::CodigoCodabar(const QString &texto) {
    const QString &a = kPatronesCodabar[kSetCodabar.indexOf(QLatin1Char('A'))];
    patron_barras = a + QLatin1Char('1');
    for (QChar c : texto) {
        const int k = int(kSetCodabar.indexOf(c));
        if (k < 0)
            continue;
        patron_barras += kPatronesCodabar[k] + QLatin1Char('1');
    }
    patron_barras += a;
}

bool Module_CodigoBarras::DibujarCodigo(const QString &simbologia, QString &texto,
                                        SuperficieDibujo &superficie, double modulo, double alto,
                                        double izquierda, double arriba) {
    if (simbologia == QLatin1String("39")) {
        texto = texto.toUpper();
        Codigo39(texto);
    } else if (simbologia == QLatin1String("128")) {
        Codigo128(texto);
    } else if (simbologia == QLatin1String("2/5")) {
        QString t = texto.size() % 2 ? QStringLiteral("0") + texto : texto;
        if (t.size() > 20)
            return false;
        CodigoI25(t);
    } else if (simbologia == QLatin1String("Codabar")) {
        texto = texto.toUpper();
        CodigoCodabar(texto);
    } else {
        return false;
    }
    double x = izquierda;
    for (int i = 0; i < patron_barras.size(); ++i) {
        const double w = patron_barras[i].digitValue() * modulo;
        if (i % 2 == 0) {
            superficie.rectangulo(x, arriba, w, alto);
            x += w;
        } else {
            x += w * 1.3;
        }
    }
    return true;
}

double Module_CodigoBarras::anchoDibujado(double modulo) const {
    double x = 0;
    for (int i = 0; i < patron_barras.size(); ++i)
        x += patron_barras[i].digitValue() * modulo * (i % 2 == 0 ? 1.0 : 1.3);
    return x;
}

} // namespace corvalo
