// Ticket output: the bytes of the port layouts, the printer lines, the output choice.
#include "entorno_falso.h"
#include "impresion_falsa.h"
#include "moneda.h"
#include "texto.h"
#include "ticket.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace corvalo;

namespace {

QByteArray L(const QByteArray &texto) {
    return texto + QByteArray("\x1b\x19\r\n", 4);
}

Sesion sesion() {
    Sesion s;
    s.ch = QStringLiteral("HIPODROMO NORTE");
    s.nombre = QStringLiteral("MARIA PEÑA");
    s.usuario = QStringLiteral("taq1");
    s.name_empresa = QStringLiteral("INVERSIONES HIPICAS");
    s.rif_empresa = QStringLiteral("J-123");
    s.direccion_empresa = QStringLiteral("AV. BOLIVAR");
    s.tlf_empresa = QStringLiteral("0212-555");
    s.tamletra = 8;
    s.codbarras = 1;
    return s;
}

Boleto tablas(int impresion_datos, int carrera = 3) {
    Boleto b;
    b.juego = 1;
    b.nu_boleto = QStringLiteral("401037");
    b.carrera = carrera;
    b.caballo = 5;
    b.nombre_caballo = QStringLiteral("CASTAÑO");
    b.tablas = 2;
    b.monto = 60.5;
    b.fecha = QDate(2026, 1, 3);
    b.nombre_moneda = QStringLiteral("BS");
    b.impresion_datos = impresion_datos;
    b.empresa = QStringLiteral("HIPICA C.A.");
    b.rif = QStringLiteral("J-1");
    return b;
}

Boleto puestos(int impresion_datos) {
    Boleto b = tablas(impresion_datos, 205);
    b.juego = 3;
    b.nu_boleto = QStringLiteral("31109120");
    b.codigo_puesto = QStringLiteral("10/3");
    b.tablas = 0;
    b.monto = 150;
    return b;
}

using prueba::ImpresoraGrabada;

} // namespace

TEST(TicketPuerto, TablasWithAndWithoutHeader) {
    const Sesion s = sesion();
    const QByteArray ast(40, '*');
    const QByteArray cuerpo = L("CH HIPODROMO NORTE") +
                              L("TAQUILLA MARIA PE\xd1"
                                "A") +
                              L("F: 03-01-2026H: 10:15:00") + L("BOLETO: 401037") + L("CARRERA: 3") +
                              L("CABALLO: (5) CASTA\xd1O") + L("N\xba DE TABLAS: 2") +
                              L("COSTO DEL BOLETO: Bs.S60,50") + L("") + L("") +
                              QByteArray("\x1b"
                                         "d\x01\r\n",
                                         5);
    // No header: the second asterisk line runs into "CH ".
    EXPECT_EQ(ticketTablasPuerto(tablas(0), s, "10:15:00"),
              L(ast) + L("            VENTA DINAMICAS") + ast + cuerpo);
    EXPECT_EQ(ticketTablasPuerto(tablas(1), s, "10:15:00"),
              L(ast) + L("            VENTA DINAMICAS") + L(ast) + L(" HIPICA C.A.") + L(" J-1") + cuerpo);
    Boleto fija = tablas(2);
    fija.juego = 2;
    EXPECT_EQ(ticketTablasPuerto(fija, s, "10:15:00"), L(ast) + L("            VENTA TABLA FIJA") + L(ast) +
                                                           L(" INVERSIONES HIPICAS") + L(" J-123") +
                                                           L(" AV. BOLIVAR") + L(" 0212-555") + cuerpo);
    // Race 205 prints as 5 on a Tablas ticket.
    EXPECT_TRUE(ticketTablasPuerto(tablas(0, 205), s, "x").contains(L("CARRERA: 5")));
}

TEST(TicketPuerto, LosPuestos) {
    const QByteArray g(34, '-');
    EXPECT_EQ(ticketPuestosPuerto(puestos(1), sesion(), "10:15:00"),
              L(g) + L("    Los Puestos") + L(g) + L(" HIPICA C.A.") + L(" J-1") + L("CH HIPODROMO NORTE") +
                  L("TAQUILLA: taq1") + L("F: 03-01-2026H: 10:15:00") + L("BOLETO: 31109120") +
                  L("CAR: 205CAB: 5") + L("PUESTO: 10/3") + L("COSTO DEL BOLETO: Bs.S150,00") + L("") +
                  L("") +
                  QByteArray("\x1b"
                             "d\x01\r\n\x1b"
                             "m\r\n",
                             9));
    // Without a header the lines follow the hyphens directly.
    EXPECT_TRUE(ticketPuestosPuerto(puestos(0), sesion(), "h")
                    .startsWith(L(g) + L("    Los Puestos") + L(g) + L("CH HIPODROMO NORTE")));
}

TEST(TicketImpresora, TablasLinesFontsAndBarcode) {
    ImpresoraGrabada imp;
    Sesion s = sesion();
    ticketTablasImpresora(imp, tablas(1), s, "10:15:00");
    const QString g(45, QLatin1Char('-'));
    const QStringList esperado = {"font:MS Sans Serif",
                                  g,
                                  "size:10",
                                  "         VENTA DINAMICAS",
                                  "size:8",
                                  g,
                                  " HIPICA C.A.",
                                  " J-1",
                                  "CH HIPODROMO NORTE",
                                  "TAQUILLA: MARIA PEÑA",
                                  "F: 03-01-2026 H: 10:15:00",
                                  "BOLETO: 401037",
                                  "CARRERA: 3",
                                  "Nº DE TABLAS: 2",
                                  "CABALLO: (5) CASTAÑO",
                                  g,
                                  "COSTO DEL BOLETO: Bs.S60,50",
                                  g,
                                  ".",
                                  ".",
                                  "bars@3400",
                                  ".",
                                  ".",
                                  "end"};
    EXPECT_EQ(imp.registro, esperado);

    // Large type reaches the bars' place: they move below the last line.
    ImpresoraGrabada grande;
    s.tamletra = 12;
    ticketTablasImpresora(grande, tablas(2), s, "10:15:00");
    const int i = int(grande.registro.indexOf(QRegularExpression("bars@.*")));
    ASSERT_GT(i, 0);
    EXPECT_GT(grande.registro[i].mid(5).toDouble(), 3400);

    // No barcode when codbarras is 0; dollars in "$#,##0.00".
    ImpresoraGrabada sin;
    s.codbarras = 0;
    Boleto d = tablas(0);
    d.nombre_moneda = QString();
    d.monto = 1234.5;
    ticketTablasImpresora(sin, d, s, "h");
    EXPECT_EQ(sin.registro.filter(QRegularExpression("^bars@")).size(), 0);
    EXPECT_TRUE(sin.registro.contains("COSTO DEL BOLETO: $1.234,50"));
}

TEST(TicketImpresora, LosPuestosLines) {
    ImpresoraGrabada imp;
    ticketPuestosImpresora(imp, puestos(0), sesion(), "10:15:00");
    const QString g(45, QLatin1Char('-'));
    const QStringList esperado = {g,
                                  "font:MS Sans Serif",
                                  "size:10",
                                  "             LOS PUESTOS     ",
                                  "size:8",
                                  g,
                                  "CH HIPODROMO NORTE",
                                  ".",
                                  "TAQUILLA: taq1",
                                  "F: 03-01-2026 H: 10:15:00",
                                  "BOLETO: 31109120",
                                  "CARRERA: 205",
                                  "CABALLO: (5) CASTAÑO",
                                  "PUESTO: 10/3",
                                  g,
                                  "COSTO DEL BOLETO: Bs.S150,00",
                                  g,
                                  ".",
                                  ".",
                                  "bars@3400",
                                  ".",
                                  ".",
                                  "end"};
    EXPECT_EQ(imp.registro, esperado);
}

// Every ticket, whatever the game, prints its cost in the format of the sale's currency on both
// outputs: the workstation's currency format for "BS", "$#,##0.00" for any other label.
TEST(TicketImpresora, EveryTicketInTheFormatOfItsCurrency) {
    struct Caso {
        int juego;
        QString moneda;
        double monto;
        QString costo;
    };
    for (const Caso &c :
         {Caso{1, "BS", 60.5, "Bs.S60,50"}, Caso{2, "$", 27, "$27,00"}, Caso{3, "$", 1250, "$1.250,00"},
          Caso{3, "BS", 150, "Bs.S150,00"}, Caso{4, "$", 5.5, "$5,50"}, Caso{1, "US$", 9, "$9,00"}}) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.juego).arg(c.moneda).toStdString());
        Boleto b = c.juego == 3 ? puestos(0) : tablas(0);
        b.juego = c.juego;
        b.nombre_moneda = c.moneda;
        b.monto = c.monto;
        const QString linea = QStringLiteral("COSTO DEL BOLETO: ") + c.costo;
        const QByteArray bytes =
            c.juego == 3 ? ticketPuestosPuerto(b, sesion(), "h") : ticketTablasPuerto(b, sesion(), "h");
        EXPECT_EQ(bytes.count(L(aCp1252(linea))), 1) << bytes.toStdString();
        ImpresoraGrabada imp;
        if (c.juego == 3)
            ticketPuestosImpresora(imp, b, sesion(), "h");
        else
            ticketTablasImpresora(imp, b, sesion(), "h");
        EXPECT_EQ(imp.registro.count(linea), 1) << imp.registro.join('|').toStdString();
    }
}

TEST(TicketImpresora, AmountFormats) {
    const QLocale ve(QLocale::Spanish, QLocale::Venezuela);
    EXPECT_EQ(formatoDolares(1234.5, ve), QStringLiteral("$1.234,50"));
    EXPECT_EQ(formatoDolares(1234.5, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("$1,234.50"));
    EXPECT_EQ(formatoDolares(0, ve), QStringLiteral("$0,00"));
    // By the currency's label, as the tickets and the console show amounts.
    EXPECT_EQ(formatoSegunMoneda(13250, "BS"), "Bs.S13.250,00");
    EXPECT_EQ(formatoSegunMoneda(13250, "$"), "$13.250,00");
    EXPECT_EQ(formatoSegunMoneda(5, ""), "$5,00");   // no label chosen
    EXPECT_EQ(formatoSegunMoneda(5, "bs"), "$5,00"); // the label is compared exactly
    // With separators, so that a whole number cannot be read as a fraction.
    EXPECT_EQ(cifraConSeparadores(1250, ve), "1.250,00");
    EXPECT_EQ(cifraConSeparadores(5.5, ve), "5,50");
    // ImprimirLinea: one line a piece, nothing for an empty text.
    ImpresoraGrabada imp;
    ImprimirLinea(imp, QStringLiteral("uno\r\ndos"));
    ImprimirLinea(imp, QString());
    EXPECT_EQ(imp.registro, (QStringList{"uno", "dos"}));
}

TEST(SalidaImpresion, PortNamesOnThisPlatform) {
    auto nada = [](const QString &) { return false; };
    auto soloUsb = [](const QString &r) { return r.startsWith("/dev/usb/"); };
    EXPECT_EQ(destinoDePuerto("LPT1:", nada).ruta, QStringLiteral("/dev/lp0"));
    EXPECT_EQ(destinoDePuerto("LPT10:", nada).ruta, QStringLiteral("/dev/lp9"));
    EXPECT_EQ(destinoDePuerto("LPT2:", soloUsb).ruta, QStringLiteral("/dev/usb/lp1"));
    EXPECT_EQ(destinoDePuerto("COM1:", nada).ruta, QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(destinoDePuerto("COM10:", nada).ruta, QStringLiteral("/dev/ttyS9"));
    const DestinoPuerto cola = destinoDePuerto("\\\\CAJA1\\TICKETS", nada);
    EXPECT_EQ(cola.tipo, DestinoPuerto::Tipo::Cola);
    EXPECT_EQ(cola.servidor, QStringLiteral("CAJA1"));
    EXPECT_EQ(cola.cola, QStringLiteral("TICKETS"));
    EXPECT_EQ(destinoDePuerto("/tmp/ticket.txt", nada).ruta, QStringLiteral("/tmp/ticket.txt"));
    EXPECT_EQ(destinoDePuerto("LPT11:", nada).ruta, QStringLiteral("LPT11:"));
}

using prueba::PuertoGrabado;

TEST(SalidaImpresion, WindowsBecomesTheSharedDefaultPrinter) {
    prueba::FabricaFalsa f;
    prueba::DialogosGrabados d;
    prueba::RelojFijo h;
    prueba::MaquinaFalsa m;
    m.impresora = QStringLiteral("Tickets");
    Contexto ctx(f, d, h, m);
    ctx.sesion = sesion();
    ctx.sesion.puerto = QStringLiteral("WINDOWS:");
    PuertoGrabado puerto;
    prueba::ImpresorasGrabadas impresoras;
    impresoras.sinImpresora = true;
    ServicioImpresion salida(ctx, puerto, impresoras);
    ImpresionBoletos servicio(salida);
    servicio.imprimir(tablas(0));
    servicio.imprimir(puestos(0));
    EXPECT_EQ(ctx.sesion.puerto, QStringLiteral("\\\\CAJA1\\TICKETS"));
    EXPECT_EQ(puerto.puertos, (QStringList{"\\\\CAJA1\\TICKETS", "\\\\CAJA1\\TICKETS"}));
    EXPECT_EQ(puerto.escritos[0], ticketTablasPuerto(tablas(0), ctx.sesion, "10:15:00"));
    EXPECT_EQ(puerto.escritos[1], ticketPuestosPuerto(puestos(0), ctx.sesion, "10:15:00"));
    EXPECT_TRUE(impresoras.trabajos.empty());

    // "WINDOWS2:" draws on the printer; no printer available is a failure.
    ctx.sesion.puerto = QStringLiteral("WINDOWS2:");
    EXPECT_THROW(servicio.imprimir(tablas(0)), std::runtime_error);
    EXPECT_EQ(puerto.puertos.size(), 2);
    impresoras.sinImpresora = false;
    servicio.imprimir(puestos(0));
    ASSERT_EQ(impresoras.trabajos.size(), 1u);
    EXPECT_TRUE(impresoras.ultima().registro.contains(QStringLiteral("BOLETO: 31109120")));
    EXPECT_TRUE(impresoras.ultima().terminada);
}

TEST(TicketPuerto, ControlCharactersOfStoredValuesNeverReachThePrinter) {
    // A stored value carrying CR LF and a cut (ESC m) would forge a line and cut the paper: each
    // control character becomes a blank; the layout's own control bytes stay.
    struct Caso {
        const char *nombre;
        std::function<void(Boleto &, Sesion &)> poner;
        QByteArray linea; // as it prints
    };
    const QString forja = QStringLiteral("X\r\nCOSTO DEL BOLETO: 9999\x1bm\x7f");
    const Caso casos[] = {
        {"horse", [&](Boleto &b, Sesion &) { b.nombre_caballo = forja; },
         "CABALLO: (5) X  COSTO DEL BOLETO: 9999 m "},
        {"group", [&](Boleto &, Sesion &s) { s.ch = forja; }, "CH X  COSTO DEL BOLETO: 9999 m "},
        {"clerk", [&](Boleto &, Sesion &s) { s.nombre = forja; }, "TAQUILLA X  COSTO DEL BOLETO: 9999 m "},
        {"company", [&](Boleto &b, Sesion &) { b.empresa = forja; }, " X  COSTO DEL BOLETO: 9999 m "},
        {"tax number",
         [&](Boleto &b, Sesion &) {
             b.rif = QStringLiteral("J-1\x1b"
                                    "d\x01");
         },
         " J-1 d "},
        {"tab and NUL",
         [&](Boleto &b, Sesion &) { b.nombre_caballo = QStringLiteral("A\tB") + QChar(0) + "C"; },
         "CABALLO: (5) A B C"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        Boleto b = tablas(1);
        Sesion s = sesion();
        c.poner(b, s);
        const QByteArray bytes = ticketTablasPuerto(b, s, "10:15:00");
        EXPECT_TRUE(bytes.contains(L(c.linea))) << bytes.toStdString();
        // Only the layout's own commands: every ESC starts a line end or the final feed.
        EXPECT_EQ(bytes.count("\x1b"), bytes.count("\x1b\x19\r\n") + 1);
        EXPECT_EQ(bytes.count("COSTO DEL BOLETO: Bs.S60,50"), 1);
    }
    // The same on the Los Puestos layout, for the user and the kind.
    Boleto p = puestos(0);
    p.codigo_puesto = QStringLiteral("10/3\r\n\x1bm");
    Sesion s = sesion();
    s.usuario = QStringLiteral("taq1\n");
    const QByteArray bytes = ticketPuestosPuerto(p, s, "h");
    EXPECT_TRUE(bytes.contains(L("PUESTO: 10/3   m")));
    EXPECT_TRUE(bytes.contains(L("TAQUILLA: taq1 ")));
    EXPECT_EQ(bytes.count("\x1bm"), 1); // the layout's own cut, at the end
    EXPECT_TRUE(bytes.endsWith("\x1bm\r\n"));
}

TEST(TicketPuerto, ACopyIsMarkedOnALineOfItsOwnWithTheSameCode) {
    Boleto b = tablas(0);
    const QByteArray original = ticketTablasPuerto(b, sesion(), "10:15:00");
    b.copia = true;
    EXPECT_EQ(ticketTablasPuerto(b, sesion(), "10:15:00"), L("*** COPIA ***") + original);
    Boleto p = puestos(0);
    const QByteArray puestoOriginal = ticketPuestosPuerto(p, sesion(), "h");
    p.copia = true;
    EXPECT_EQ(ticketPuestosPuerto(p, sesion(), "h"), L("*** COPIA ***") + puestoOriginal);
    // On the printer the copy line comes first and the barcode is the same.
    ImpresoraGrabada a, c;
    b.copia = false;
    ticketTablasImpresora(a, b, sesion(), "10:15:00");
    b.copia = true;
    ticketTablasImpresora(c, b, sesion(), "10:15:00");
    EXPECT_EQ(c.registro.value(1), QStringLiteral("*** COPIA ***"));
    EXPECT_EQ(c.barras, a.barras);
}
