// A ticket printed through Qt's printing into a PDF: its text in order, and a real barcode
// reader reading the ticket code back from the page rendered at 300 dpi.
#include "impresora_qt.h"
#include "qt_impresion.h"
#include "ticket.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvalo;

namespace {

QString correr(const QString &programa, const QStringList &args) {
    QProcess p;
    p.start(programa, args);
    if (!p.waitForFinished(60000) || p.error() == QProcess::FailedToStart) {
        ADD_FAILURE() << programa.toStdString() << " did not run";
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Pagina {
    QString texto;
    QString barras;
};

Pagina imprimir(const Boleto &b, const Sesion &s) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("ticket.pdf");
    {
        auto imp = impresoraPdf(pdf);
        if (b.juego == 3)
            ticketPuestosImpresora(*imp, b, s, QStringLiteral("10:15:00"));
        else
            ticketTablasImpresora(*imp, b, s, QStringLiteral("10:15:00"));
    }
    Pagina p;
    p.texto = correr("pdftotext", {"-layout", pdf, "-"});
    correr("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, dir.filePath("pagina")});
    p.barras = correr("zbarimg", {"--quiet", dir.filePath("pagina.png")}).trimmed();
    return p;
}

Sesion sesion(int tamletra) {
    Sesion s;
    s.ch = "HIPODROMO NORTE";
    s.nombre = "MARIA PEREZ";
    s.usuario = "taq1";
    s.tamletra = tamletra;
    s.codbarras = 1;
    return s;
}

Boleto boleto(int juego, const QString &nu) {
    Boleto b;
    b.juego = juego;
    b.nu_boleto = nu;
    b.carrera = 3;
    b.caballo = 5;
    b.nombre_caballo = "RELAMPAGO";
    b.tablas = juego == 3 ? 0 : 2;
    b.codigo_puesto = "10/3";
    b.monto = 60;
    b.fecha = QDate(2026, 1, 3);
    b.nombre_moneda = "BS";
    b.impresion_datos = 1;
    b.empresa = "HIPICA C.A.";
    b.rif = "J-1";
    return b;
}

void enOrden(const QString &texto, const QStringList &lineas) {
    qsizetype desde = 0;
    for (const QString &l : lineas) {
        const qsizetype i = texto.indexOf(l, desde);
        EXPECT_GE(i, 0) << "missing or out of order: " << l.toStdString() << "\n" << texto.toStdString();
        if (i >= 0)
            desde = i + l.size();
    }
}

} // namespace

TEST(TicketPdf, TablasTicketTextAndBarcode) {
    const Pagina p = imprimir(boleto(1, "401037"), sesion(8));
    enOrden(p.texto, {"VENTA DINAMICAS", "HIPICA C.A.", "J-1", "CH HIPODROMO NORTE", "TAQUILLA: MARIA PEREZ",
                      "F: 03-01-2026 H: 10:15:00", "BOLETO: 401037", "CARRERA: 3", "DE TABLAS: 2",
                      "CABALLO: (5) RELAMPAGO", "COSTO DEL BOLETO:"});
    EXPECT_EQ(p.barras, QStringLiteral("CODE-128:401037"));
}

TEST(TicketPdf, BarcodeStaysReadableAtEveryFontSize) {
    for (int t = 6; t <= 12; ++t) {
        const Pagina p = imprimir(boleto(2, "2032581234"), sesion(t));
        EXPECT_EQ(p.barras, QStringLiteral("CODE-128:2032581234")) << "tamletra " << t;
    }
    const Pagina pt = imprimir(boleto(3, "31109120"), sesion(12));
    enOrden(pt.texto,
            {"LOS PUESTOS", "CH HIPODROMO NORTE", "TAQUILLA: taq1", "BOLETO: 31109120", "PUESTO: 10/3"});
    EXPECT_EQ(pt.barras, QStringLiteral("CODE-128:31109120"));
}

TEST(PuertoSistema, WholeTicketInOneWriteAndUnopenablePorts) {
    QTemporaryDir dir;
    PuertoSistema puerto;
    const QString ruta = dir.filePath("LPT1.prn");
    {
        QFile viejo(ruta);
        ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
        viejo.write(QByteArray(500, 'x'));
    }
    const QByteArray bytes("N\xba DE TABLAS: 2\x1b\x19\r\n\x1b"
                           "d\x01\r\n",
                           22);
    puerto.escribir(ruta, bytes);
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes); // what was there before is replaced
    EXPECT_THROW(puerto.escribir(dir.filePath("no/such/folder/LPT1.prn"), bytes), std::runtime_error);
    EXPECT_THROW(puerto.escribir("\\\\127.0.0.1:1\\NOQUEUE", bytes), std::runtime_error);
}

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
