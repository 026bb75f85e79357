// Barcode patterns against the published tables, the drawing rule, and a real barcode reader
// reading back what is drawn.
#include "Module_CodigoBarras.h"
#include "qt_impresion.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvalo;

namespace {

struct Rect {
    double x, y, w, h;
};

class SuperficieGrabada : public SuperficieDibujo {
public:
    std::vector<Rect> rects;
    void rectangulo(double x, double y, double w, double h) override { rects.push_back({x, y, w, h}); }
};

class SuperficieImagen : public SuperficieDibujo {
public:
    explicit SuperficieImagen(QImage &img) : p(&img) { p.setPen(Qt::NoPen); p.setBrush(Qt::black); }
    void rectangulo(double x, double y, double w, double h) override { p.drawRect(QRectF(x, y, w, h)); }
    QPainter p;
};

// What zbarimg reads from the drawn symbol, as "TYPE:data" lines.
QString leer(const QString &simbologia, QString texto) {
    Module_CodigoBarras m;
    QString copia = texto;
    SuperficieGrabada medida;
    m.DibujarCodigo(simbologia, copia, medida, 3, 120, 60, 40);
    QImage img(int(m.anchoDibujado(3)) + 120, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        SuperficieImagen s(img);
        EXPECT_TRUE(m.DibujarCodigo(simbologia, texto, s, 3, 120, 60, 40));
    }
    QTemporaryDir dir;
    const QString ruta = qEnvironmentVariableIsSet("CORVALO_KEEP_BARCODE") ? QStringLiteral("/tmp/codigo.png") : dir.filePath(QStringLiteral("codigo.png"));
    img.save(ruta);
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), ruta});
    if (!zbar.waitForFinished(20000) || zbar.error() == QProcess::FailedToStart) {
        ADD_FAILURE() << "zbarimg did not run (package zbar-tools)";
        return {};
    }
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

} // namespace

TEST(CodigoBarras, Code128Of401037) {
    Module_CodigoBarras m;
    m.Codigo128(QStringLiteral("401037"));
    // Start B, "4" "0" "1" "0" "3" "7" (values 20, 16, 17, 16, 19, 23), check 92, stop.
    EXPECT_EQ(m.patron_barras, QStringLiteral("211214"
                                              "221231"
                                              "123122"
                                              "123221"
                                              "123122"
                                              "221132"
                                              "312131"
                                              "111143"
                                              "2331112"));
}

TEST(CodigoBarras, PatternsOfTheOtherSymbologies) {
    Module_CodigoBarras m;
    // Code 39: start "*", narrow gap, each character and a gap, stop "*".
    QString texto = QStringLiteral("a-1");
    SuperficieGrabada s;
    ASSERT_TRUE(m.DibujarCodigo(QStringLiteral("39"), texto, s, 1, 1, 0, 0));
    EXPECT_EQ(texto, QStringLiteral("A-1")); // the caller's text comes back upper case
    EXPECT_EQ(m.patron_barras, QStringLiteral("121121211"
                                              "1"
                                              "211112112"
                                              "1"
                                              "121111212"
                                              "1"
                                              "211211112"
                                              "1"
                                              "121121211"));
    // Interleaved 2 of 5: "123" becomes "0123": pairs 01 and 23.
    texto = QStringLiteral("123");
    ASSERT_TRUE(m.DibujarCodigo(QStringLiteral("2/5"), texto, s, 1, 1, 0, 0));
    EXPECT_EQ(m.patron_barras, QStringLiteral("1111"
                                              "1311313113"  // 0 = 11331 with 1 = 31113 interleaved
                                              "1333111131"  // 2 = 13113 with 3 = 33111
                                              "311"));
    QString largo(21, QLatin1Char('1'));
    EXPECT_FALSE(m.DibujarCodigo(QStringLiteral("2/5"), largo, s, 1, 1, 0, 0));
    // Codabar: start A, gap, characters with gaps, stop A.
    texto = QStringLiteral("1b");
    ASSERT_TRUE(m.DibujarCodigo(QStringLiteral("Codabar"), texto, s, 1, 1, 0, 0));
    EXPECT_EQ(texto, QStringLiteral("1B"));
    EXPECT_EQ(m.patron_barras, QStringLiteral("1122121"
                                              "1"
                                              "1111221"
                                              "1"
                                              "1212112"
                                              "1"
                                              "1122121"));
    QString otro = QStringLiteral("x");
    EXPECT_FALSE(m.DibujarCodigo(QStringLiteral("EAN"), otro, s, 1, 1, 0, 0));
}

TEST(CodigoBarras, BarsAtTheirWidthSpacesThirtyPercentWider) {
    Module_CodigoBarras m;
    SuperficieGrabada s;
    QString texto = QStringLiteral("401037");
    ASSERT_TRUE(m.DibujarCodigo(QStringLiteral("128"), texto, s, 15, 900, 1000, 3400));
    ASSERT_EQ(s.rects.size(), 9u * 3 + 1); // three bars a symbol, four in the stop
    // Start B 211214: bar 2 (30 wide), space 1 (19.5), bar 1 (15), space 2 (39), bar 1, space 4.
    EXPECT_DOUBLE_EQ(s.rects[0].x, 1000);
    EXPECT_DOUBLE_EQ(s.rects[0].w, 30);
    EXPECT_DOUBLE_EQ(s.rects[0].y, 3400);
    EXPECT_DOUBLE_EQ(s.rects[0].h, 900);
    EXPECT_DOUBLE_EQ(s.rects[1].x, 1000 + 30 + 19.5);
    EXPECT_DOUBLE_EQ(s.rects[1].w, 15);
    EXPECT_DOUBLE_EQ(s.rects[2].x, 1000 + 30 + 19.5 + 15 + 39);
}

TEST(CodigoBarras, AReaderReadsWhatIsDrawn) {
    EXPECT_EQ(leer(QStringLiteral("128"), QStringLiteral("401037")), QStringLiteral("CODE-128:401037"));
    EXPECT_EQ(leer(QStringLiteral("128"), QStringLiteral("2032581234")), QStringLiteral("CODE-128:2032581234"));
    EXPECT_EQ(leer(QStringLiteral("39"), QStringLiteral("corvalo-28 $/+%.")), QStringLiteral("CODE-39:CORVALO-28 $/+%."));
    EXPECT_EQ(leer(QStringLiteral("39"), QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")),
              QStringLiteral("CODE-39:0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(leer(QStringLiteral("2/5"), QStringLiteral("1234567890")), QStringLiteral("I2/5:1234567890"));
    EXPECT_EQ(leer(QStringLiteral("2/5"), QStringLiteral("123456789")), QStringLiteral("I2/5:0123456789"));
    const QString codabar = leer(QStringLiteral("Codabar"), QStringLiteral("0123456789-$:/.+"));
    EXPECT_TRUE(codabar == QStringLiteral("Codabar:A0123456789-$:/.+A") ||
                codabar == QStringLiteral("Codabar:0123456789-$:/.+"))
        << codabar.toStdString();
}
