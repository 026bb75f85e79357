// Logic of the foundation that needs no server: scrambling, connection strings, numbers,
// the code page, the print-settings file, the local database statements.
#include "ajustes_impresion.h"
#include "bd_falsa.h"
#include "bd_local.h"
#include "codificacion.h"
#include "contexto.h"
#include "db.h"
#include "entorno_falso.h"
#include "guion.h"
#include "llaves.h"
#include "registro.h"
#include "sesion.h"
#include "texto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <charconv>
#include <cstring>

using namespace corvalo;

namespace {

QString deCodigos(std::initializer_list<int> codigos) {
    QString s;
    for (int c : codigos)
        s.append(charDeCodigo(static_cast<unsigned char>(c)));
    return s;
}

std::vector<int> codigos(const QString &s) {
    std::vector<int> out;
    for (QChar c : s)
        out.push_back(codigoDeChar(c));
    return out;
}

} // namespace

TEST(Codificacion, KeyCycleStartsAgainFromTheSecondKeyCharacter) {
    // Key "ABC" (65, 66, 67), text of seven zero codes: d = b + 64 for each position, so the
    // result shows which key character was used: 1,2,3 then 2,3,1,2.
    const QString texto(7, QChar(0));
    EXPECT_EQ(codigos(codificar(texto, QStringLiteral("ABC"))),
              (std::vector<int>{129, 130, 131, 130, 131, 129, 130}));
}

TEST(Codificacion, WrapsAndEdges) {
    struct Caso {
        int a, b, esperado;
    };
    // a + b + 64 = 256 gives 0; 255 stays 255; 257 gives 1.
    for (const Caso &c : {Caso{96, 96, 0}, Caso{95, 96, 255}, Caso{97, 96, 1}, Caso{0, 0, 64}}) {
        const QString r = codificar(deCodigos({c.a}), deCodigos({c.b}));
        ASSERT_EQ(r.size(), 1);
        EXPECT_EQ(codigoDeChar(r[0]), c.esperado) << c.a << "+" << c.b;
        EXPECT_EQ(decodificar(r, deCodigos({c.b})), deCodigos({c.a}));
    }
    EXPECT_EQ(codificar(QStringLiteral("hola"), QString()), QStringLiteral("hola"));
    EXPECT_EQ(decodificar(QStringLiteral("hola"), QString()), QStringLiteral("hola"));
    EXPECT_EQ(codificar(QString(), QStringLiteral("key")), QString());
    EXPECT_EQ(decodificar(QString(), QStringLiteral("key")), QString());
}

TEST(Codificacion, FailsWhenTheCodeLeavesTheByteRange) {
    // 224 + 224 + 64 = 512: beyond one wrap.
    EXPECT_THROW(codificar(deCodigos({224}), deCodigos({224})), ErrorCodificacion);
    // decodificar: a - b + 192 < 0, e.g. a = 0, b = 200.
    EXPECT_THROW(decodificar(deCodigos({0}), deCodigos({200})), ErrorCodificacion);
    // a character outside the code page has no code to scramble
    EXPECT_THROW(codificar(QStringLiteral("\u4e00"), QStringLiteral("k")), ErrorCodificacion);
}

TEST(Codificacion, RoundTripsEveryTextBelowTheLimit) {
    const QString clave = kClaveUsuarios;
    QString texto;
    for (int a = 0; a < 256; ++a)
        if (a + 122 < 448) // the largest key code of kClaveUsuarios is 'r' = 114 ... 'q' = 113
            texto.append(charDeCodigo(static_cast<unsigned char>(a)));
    const QString cod = codificar(texto, clave);
    EXPECT_EQ(cod.size(), texto.size());
    EXPECT_EQ(decodificar(cod, clave), texto);
    // A ticket key: the code scrambled under horse + group + code.
    EXPECT_EQ(decodificar(codificar(QStringLiteral("401037"), QStringLiteral("5G1401037")),
                          QStringLiteral("5G1401037")),
              QStringLiteral("401037"));
}

TEST(CodePage, IsABijectionOverAllBytes) {
    QByteArray todos;
    for (int i = 0; i < 256; ++i)
        todos.append(char(i));
    EXPECT_EQ(aCp1252(desdeCp1252(todos)), todos);
    EXPECT_EQ(aCp1252(QStringLiteral("Nº €")), QByteArray("N\xba \x80"));
    EXPECT_EQ(aCp1252(QStringLiteral("\u4e00")), QByteArray("?"));
}

TEST(Numeros, LeadingNumberConversion) {
    const std::vector<std::pair<QString, double>> casos = {
        {"", 0},       {"  12", 12}, {"12abc", 12}, {"-3", -3}, {"+4", 4},  {"0.3", 0.3}, {".5", 0.5},
        {"1e3", 1000}, {"7e", 7},    {"abc", 0},    {"-", 0},   {"3,5", 3}, {"1 2", 1}};
    for (const auto &[texto, valor] : casos)
        EXPECT_DOUBLE_EQ(numeroDe(texto), valor) << texto.toStdString();
}

TEST(Numeros, LeadingNumberOfALongText) {
    // Longer than any field: the number is read whole.
    EXPECT_DOUBLE_EQ(numeroDe(QString(70, QLatin1Char('0')) + QStringLiteral("12.5x")), 12.5);
    EXPECT_DOUBLE_EQ(numeroDe(QStringLiteral("\t-0.25e2 tablas")), -25);
    EXPECT_DOUBLE_EQ(numeroDe(QStringLiteral("\u00bd5")), 0);
}

// The quick ways through the number conversions give, bit for bit, what the full conversions
// give, on both sides of where they stop applying.
TEST(Numeros, QuickPathsAgreeWithTheFullConversion) {
    auto completa = [](const std::string &s) {
        double v = 0;
        std::from_chars(s.data(), s.data() + s.size(), v);
        return v;
    };
    for (const std::string s : {"0",
                                "-0",
                                "7",
                                "255",
                                "256",
                                "-12",
                                "12.5",
                                "0.1",
                                "0.3",
                                "-0.25",
                                "123456789012345",
                                "1234567890123456",
                                "999999999999999.9",
                                "12345678901234.5",
                                "0.000000000000001",
                                "00000000000000000001.5",
                                "3.14159265358979",
                                "1e3",
                                "-2.5E-2",
                                "1.7976931348623157e308"}) {
        const double v = completa(s[0] == '+' ? s.substr(1) : s);
        const double a = numeroDe(QString::fromLatin1(s)),
                     b = numeroDe(QByteArrayView(s.data(), qsizetype(s.size())));
        EXPECT_EQ(std::memcmp(&a, &v, sizeof v), 0) << s;
        EXPECT_EQ(std::memcmp(&b, &v, sizeof v), 0) << s;
    }
    // Bytes of 0x80 and above end the number as any other character does.
    EXPECT_EQ(numeroDe(QByteArrayView("12\xB5", 3)), 12);

    auto corta = [](double v) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        return QString::fromLatin1(buf, qsizetype(r.ptr - buf));
    };
    for (double v : {1.0, 9.0, 10.0, 255.0, 256.0, -1.0, -255.0, 4096.0, 999999999999999.0, 1e15,
                     9007199254740992.0, -1e15, 0.5, 123456.75})
        EXPECT_EQ(textoNumero(v), corta(v)) << v;
    // Tiny and huge numbers too read back exactly, without an exponent.
    for (double v : {1e-51, -2.5e-300, 5e-324, 1.7976931348623157e308}) {
        const QString t = textoNumero(v);
        EXPECT_FALSE(t.contains(QLatin1Char('e'))) << v;
        EXPECT_EQ(numeroDe(t), v) << v;
    }
}

TEST(Fechas, ServerAndScreenForms) {
    EXPECT_EQ(fechaSql(QDate(2026, 3, 7)), "2026-03-07");
    EXPECT_EQ(fechaPantalla(QDate(2026, 12, 31)), "31-12-2026");
    EXPECT_EQ(fechaSql(QDate(999, 1, 2)), "0999-01-02");
    EXPECT_EQ(fechaSql(QDate()), "");
    const std::vector<std::pair<QString, QDate>> casos = {
        {"2026-03-07", QDate(2026, 3, 7)},
        {"2026-03-07 10:15:00", QDate(2026, 3, 7)},
        {"2026-02-30", QDate()},
        {"2026-13-01", QDate()},
        {"", QDate()},
        {"07-03-2026", QDate()},
        {"2026-3-07", QDate::fromString("2026-3-07", "yyyy-MM-dd")},
        {"0999-01-02", QDate(999, 1, 2)}};
    for (const auto &[texto, fecha] : casos)
        EXPECT_EQ(fechaDeTexto(texto), fecha) << texto.toStdString();
}

TEST(Resultado, ColumnsByNameIgnoreCaseAndAMissingOneThrows) {
    const Resultado r({QStringLiteral("Monto"), QStringLiteral("caballo")},
                      {{Campo(QStringLiteral("12.5")), Campo(QStringLiteral("7"))}});
    EXPECT_EQ(r.valor(0, QLatin1String("monto")).texto(), QStringLiteral("12.5"));
    EXPECT_EQ(r.valor(0, QLatin1String("caballo")).texto(), QStringLiteral("7"));
    EXPECT_EQ(r.valor(0, QStringLiteral("CABALLO")).texto(), QStringLiteral("7"));
    EXPECT_THROW(r.valor(0, QLatin1String("carrera")), DbError);
    EXPECT_THROW(r.valor(1, QLatin1String("monto")), DbError);
}

TEST(Resultado, NamesRepeatedButForCaseAndWideRows) {
    // The exact name first, then the first equal but for case.
    const Resultado r({QStringLiteral("X"), QStringLiteral("x"), QStringLiteral("y")},
                      {{Campo(QStringLiteral("1")), Campo(QStringLiteral("2")), Campo(QStringLiteral("3"))}});
    EXPECT_EQ(r.valor(0, QLatin1String("x")).entero(), 2);
    EXPECT_EQ(r.valor(0, QStringLiteral("X")).entero(), 1);
    EXPECT_EQ(r.valor(0, QLatin1String("Y")).entero(), 3);

    // Every column of a wide row, names alike at both ends among them, found by either form.
    QStringList nombres;
    std::vector<Campo> fila;
    for (int i = 0; i < 120; ++i) {
        nombres << QStringLiteral("estado_%1_pt").arg(i) << QStringLiteral("e%1").arg(i);
        fila.emplace_back(QString::number(2 * i));
        fila.emplace_back(QString::number(2 * i + 1));
    }
    const Resultado w(nombres, {fila});
    for (int c = 0; c < nombres.size(); ++c) {
        EXPECT_EQ(w.valor(0, nombres[c]).entero(), c) << nombres[c].toStdString();
        EXPECT_EQ(w.valor(0, QLatin1String(nombres[c].toUpper().toLatin1())).entero(), c);
    }
    EXPECT_FALSE(w.tieneColumna(QStringLiteral("estado_120_pt")));
    EXPECT_FALSE(w.tieneColumna(QString()));
}

TEST(Armado, GrowsPastWhatWasReserved) {
    Armado a(1);
    QString esperado;
    for (int i = 0; i < 50; ++i) {
        a << QLatin1String("ab'") << QStringLiteral("\u00f1\u20ac") << QLatin1Char('z');
        esperado += QStringLiteral("ab'\u00f1\u20acz");
    }
    EXPECT_EQ(std::move(a).texto(), esperado);
}

TEST(CodigoBoleto, DigitMonthDayAndNumber) {
    EXPECT_EQ(codigoBoleto(QStringLiteral("7"), QDate(2026, 3, 5), 42), QStringLiteral("7030542"));
    EXPECT_EQ(codigoBoleto(QStringLiteral("1"), QDate(2026, 12, 31), 100000), QStringLiteral("11231100000"));
    EXPECT_EQ(codigoBoleto(QString(), QDate(2026, 10, 9), 0), QStringLiteral("10090"));
    EXPECT_EQ(codigoBoleto(QStringLiteral("7"), QDate(), 42), QStringLiteral("742"));
}

TEST(Numeros, PlainTextForm) {
    const std::vector<std::pair<double, QString>> casos = {{5, "5"},
                                                           {150, "150"},
                                                           {12.5, "12.5"},
                                                           {0.3, "0.3"},
                                                           {-2, "-2"},
                                                           {0, "0"},
                                                           {1234567.25, "1234567.25"},
                                                           {30 * 3.0, "90"}};
    for (const auto &[valor, texto] : casos)
        EXPECT_EQ(textoNumero(valor), texto);
}

TEST(CadenaConexion, ParsesTheOdbcFields) {
    const auto p =
        parsearCadena(QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=central.example;port=3306 "
                                     ";uid=cuenta;pwd=se;creta;database=corvalo;"));
    // "pwd=se" then ";creta" is not a field: a field without "=" is malformed.
    EXPECT_FALSE(p);

    const auto q =
        parsearCadena(QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=central.example;port=3306 "
                                     ";uid=cuenta;pwd=clave;database=corvalo;"));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->driver, QStringLiteral("{MySQL ODBC 3.51 Driver}"));
    EXPECT_EQ(q->server, QStringLiteral("central.example"));
    EXPECT_EQ(q->port, 3306u);
    EXPECT_EQ(q->uid, QStringLiteral("cuenta"));
    EXPECT_EQ(q->pwd, QStringLiteral("clave"));
    EXPECT_EQ(q->database, QStringLiteral("corvalo"));

    const auto l = parsearCadena(cadenaLocalIncorporada());
    ASSERT_TRUE(l);
    EXPECT_EQ(l->server, QStringLiteral("localhost"));
    EXPECT_EQ(l->pwd, QStringLiteral("qwe456"));
    EXPECT_EQ(l->database, QStringLiteral("bd_corvalo"));

    const auto s = parsearCadena(QStringLiteral("SERVER=h;Port=3310;UID=u;socket=/tmp/x.sock"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->port, 3310u);
    EXPECT_EQ(s->socket, QStringLiteral("/tmp/x.sock"));
    EXPECT_TRUE(s->database.isEmpty());

    EXPECT_TRUE(parsearCadena(cadenaCentralIncorporada()));
}

TEST(CadenaConexion, SeveralServersOfOneClusterEachWithItsPort) {
    const auto p =
        parsearCadena(QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=db1, db2:3307 ,db3;port=3310 "
                                     ";uid=u;pwd=p;database=corvalo;"));
    ASSERT_TRUE(p);
    const std::vector<Servidor> esperados = {{"db1", 3310}, {"db2", 3307}, {"db3", 3310}};
    EXPECT_EQ(p->servidores, esperados);
    EXPECT_EQ(p->server, QStringLiteral("db1")); // the first is where a plain connection goes
    EXPECT_EQ(p->port, 3310u);
    const auto uno = parsearCadena(QStringLiteral("server=h;port=3306 ;uid=u"));
    ASSERT_TRUE(uno);
    EXPECT_EQ(uno->servidores, (std::vector<Servidor>{{"h", 3306}}));
    for (const char *mala :
         {"server=db1,,db3;uid=u", "server=db1:0;uid=u", "server=db1:x;uid=u", "server=db1,:3306;uid=u"})
        EXPECT_FALSE(parsearCadena(QString::fromLatin1(mala))) << mala;
    // One node named alone, the rest of the string as it was.
    EXPECT_EQ(cadenaDeNodo(QStringLiteral("driver={X};server=db1,db2:3307;port=3306 ;uid=u;pwd=p;"),
                           QStringLiteral("db2:3307")),
              QStringLiteral("driver={X};server=db2:3307;port=3306 ;uid=u;pwd=p;"));
}

TEST(CadenaConexion, MalformedStringsAreReported) {
    for (const char *mala :
         {"", "uid=a;pwd=b", "server=h;port=abc", "server=h;port=70000", "server=h;basura"}) {
        QString error;
        EXPECT_FALSE(parsearCadena(QString::fromLatin1(mala), &error)) << mala;
        EXPECT_FALSE(error.isEmpty()) << mala;
    }
}

TEST(Quoting, EscapesWhatCouldChangeTheStatement) {
    prueba::BdFalsa db;
    EXPECT_EQ(sqlTexto(db, QStringLiteral("taquilla1")), QStringLiteral("taquilla1"));
    EXPECT_EQ(sqlTexto(db, QStringLiteral("x' or '1'='1")), QStringLiteral("x\\' or \\'1\\'=\\'1"));
    EXPECT_EQ(sqlTexto(db, QStringLiteral("fin\\")), QStringLiteral("fin\\\\"));
    EXPECT_EQ(sqlTexto(db, QString(QChar(0)) + QStringLiteral("a\"b\n")), QStringLiteral("\\0a\\\"b\\n"));
    EXPECT_EQ(sqlTexto(db, 12.5), QStringLiteral("12.5"));
}

TEST(Guion, SplitsAtStatementEndsOnly) {
    const QStringList s =
        dividirGuion(QStringLiteral("-- comentario; con punto y coma\nCREATE TABLE a (b varchar(3) default "
                                    "';');\n/* x; y */ INSERT INTO a VALUES ('it\\'s;');\n\n"));
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0], QStringLiteral("CREATE TABLE a (b varchar(3) default ';')"));
    EXPECT_EQ(s[1], QStringLiteral("INSERT INTO a VALUES ('it\\'s;')"));
}

// --- print-settings file ---------------------------------------------------------------

struct CasoAjustes {
    const char *nombre;
    QByteArray contenido;
    QString puerto;
    int impresion, codbarras, tamletra;
};

TEST(AjustesImpresion, ReadsAsFarAsTheFileAllows) {
    // The session starts as start-up leaves it: tamletra 8, the rest empty.
    const std::vector<CasoAjustes> casos = {
        {"complete", "\"LPT1:\",1,0,9\r\n", "LPT1:", 1, 0, 9},
        {"printer", "\"WINDOWS2:\",1,1,12\r\n", "WINDOWS2:", 1, 1, 12},
        {"no line end", "\"COM2:\",0,1,7", "COM2:", 0, 1, 7},
        {"empty", "", "", 0, 0, 8},
        {"truncated after port", "\"LPT2:\"", "LPT2:", 0, 0, 8},
        {"truncated in the middle", "\"LPT3:\",1,", "LPT3:", 1, 0, 8},
        {"unterminated quote", "\"LPT1:,1,1,9\r\n", "", 0, 0, 8},
        {"garbage number", "\"LPT4:\",1,x,9\r\n", "LPT4:", 1, 0, 8},
        {"unquoted port", "LPT5:,1,1,7\r\n", "LPT5:", 1, 1, 7},
        {"binary garbage", QByteArray("\x01\xff,\x00\x80", 5), desdeCp1252("\x01\xff"), 0, 0, 8},
        {"comma inside the quotes", "\"\\\\CAJA,1\\TICKETS\",1,0,8\r\n", "\\\\CAJA,1\\TICKETS", 1, 0, 8},
        {"half to even", "\"LPT1:\",1,0,8.5\r\n", "LPT1:", 1, 0, 8},
        {"out of range", "\"LPT1:\",1,0,99999\r\n", "LPT1:", 1, 0, 8},
        {"second line ignored", "\"LPT1:\",1,0,6\r\n\"COM1:\",0,0,7\r\n", "LPT1:", 1, 0, 6},
    };
    for (const auto &c : casos) {
        Sesion s;
        s.tamletra = 8;
        leerAjustesImpresionDe(c.contenido, s);
        EXPECT_EQ(s.puerto, c.puerto) << c.nombre;
        EXPECT_EQ(s.impresion, c.impresion) << c.nombre;
        EXPECT_EQ(s.codbarras, c.codbarras) << c.nombre;
        EXPECT_EQ(s.tamletra, c.tamletra) << c.nombre;
    }
}

TEST(AjustesImpresion, MissingFileReadsNothingAndSavingWritesExactlyOneLine) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("KVR2.bin"));
    Sesion s;
    s.tamletra = 8;
    EXPECT_FALSE(leerAjustesImpresion(ruta, s));
    EXPECT_EQ(s.impresion, 0);
    EXPECT_EQ(s.tamletra, 8);

    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"COM1:\",0,0,6\r\nmore\r\nlines\r\n");
    }
    s.puerto = QStringLiteral("WINDOWS2:");
    s.impresion = 1;
    s.codbarras = 1;
    s.tamletra = 10;
    ASSERT_TRUE(guardarAjustesImpresion(ruta, s));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"WINDOWS2:\",1,1,10\r\n"));

    Sesion leida;
    EXPECT_TRUE(leerAjustesImpresion(ruta, leida));
    EXPECT_EQ(leida.puerto, s.puerto);
    EXPECT_EQ(leida.tamletra, 10);

    EXPECT_FALSE(guardarAjustesImpresion(dir.filePath(QStringLiteral("no/such/folder/KVR2.bin")), s));
    // The failure says why, and the file that was there is left whole.
    QString motivo;
    EXPECT_FALSE(guardarAjustesImpresion(dir.path(), s, &motivo));
    EXPECT_FALSE(motivo.isEmpty());
    {
        QFile again(ruta);
        ASSERT_TRUE(again.open(QIODevice::ReadOnly));
        EXPECT_EQ(again.readAll(), QByteArray("\"WINDOWS2:\",1,1,10\r\n"));
    }
}

TEST(AjustesImpresion, APortWithPercentMarkersIsWrittenAsIs) {
    Sesion s;
    s.puerto = QStringLiteral("/var/spool/%1%2.prn");
    s.impresion = 1;
    s.codbarras = 0;
    s.tamletra = 9;
    EXPECT_EQ(lineaAjustesImpresion(s), QByteArray("\"/var/spool/%1%2.prn\",1,0,9\r\n"));
    Sesion leida;
    leerAjustesImpresionDe(lineaAjustesImpresion(s), leida);
    EXPECT_EQ(leida.puerto, s.puerto);
    EXPECT_EQ(leida.tamletra, 9);
}

TEST(AjustesImpresion, OffersThePortsInOrder) {
    const QStringList p = puertosOfrecidos();
    ASSERT_EQ(p.size(), 22);
    EXPECT_EQ(p.first(), QStringLiteral("LPT1:"));
    EXPECT_EQ(p[9], QStringLiteral("LPT10:"));
    EXPECT_EQ(p[10], QStringLiteral("COM1:"));
    EXPECT_EQ(p[20], QStringLiteral("WINDOWS:"));
    EXPECT_EQ(p[21], QStringLiteral("WINDOWS2:"));
}

// --- connections and the local database, against the recording fake --------------------

namespace {

using prueba::DialogosGrabados;

class MaquinaCaja : public Maquina {
public:
    QString direccionMac() override { return {}; }
    bool redActiva() override { return false; }
    QByteArray httpGet(const QString &) override { return {}; }
    QString nombreEquipo() override { return QStringLiteral("CAJA1"); }
    QString impresoraPredeterminada() override { return {}; }
    bool abrirDireccion(const QString &) override { return false; }
};

struct Entorno {
    prueba::FabricaFalsa fabrica;
    DialogosGrabados dialogos;
    RelojSistema reloj;
    MaquinaCaja maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
};

} // namespace

TEST(Conexiones, CentralFailureShowsTheMessageOnceAndLeavesItClosed) {
    Entorno e;
    e.fabrica.falla = true;
    e.ctx.abrir_central(QStringLiteral("server=nowhere;"));
    ASSERT_EQ(e.dialogos.vistos.size(), 1u);
    EXPECT_EQ(e.dialogos.vistos[0].texto,
              QStringLiteral(" HA OCURRIDO UN ERROR CON LA CONEXIÓN, REVISE LA CONEXION DE INTERNET "));
    EXPECT_EQ(e.dialogos.vistos[0].titulo, QStringLiteral("CONEXION CON EL SERVIDOR"));
    EXPECT_EQ(e.dialogos.vistos[0].botones, Botones::OkCancel);
    EXPECT_EQ(e.dialogos.vistos[0].icono, Icono::Ninguno);
    EXPECT_FALSE(e.ctx.conexion_central);
    EXPECT_THROW(e.ctx.abrir_configuracion(), DbError);
}

TEST(Conexiones, LocalOpensItsRecordsetsInOrder) {
    Entorno e;
    e.ctx.abrir_local();
    ASSERT_EQ(e.fabrica.abiertas.size(), 1u);
    EXPECT_EQ(e.fabrica.cadenas.first(), cadenaLocalIncorporada());
    EXPECT_EQ(
        e.fabrica.abiertas[0]->sentencias,
        (QStringList{"select * from rpt_diario", "select * from conf_local", "select * from rpt_dividendos",
                     "select * from rpt_resultadostaqs", "select * from rpt_caballos_tf"}));
}

TEST(BdLocal, CreationStatementsAndConnections) {
    Entorno e;
    crear_bd_local(e.ctx);
    ASSERT_EQ(e.fabrica.abiertas.size(), 2u);
    EXPECT_EQ(
        e.fabrica.cadenas[0],
        QStringLiteral(
            "driver={MySQL ODBC 3.51 Driver};server=localhost;port=3306;uid=root;pwd=qwe456;connection="));
    EXPECT_EQ(e.fabrica.cadenas[1],
              QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=localhost;port=3306;uid=root;"
                             "pwd=qwe456;connection=;database=bd_corvalo;"));
    EXPECT_EQ(e.fabrica.abiertas[0]->sentencias, QStringList{"CREATE DATABASE `bd_corvalo`;"});
    const QStringList &s = e.fabrica.abiertas[1]->sentencias;
    ASSERT_EQ(s.size(), 9);
    const char *prefijos[] = {"CREATE TABLE `rpt_diario`",
                              "CREATE TABLE  `rpt_jugadas`",
                              "CREATE TABLE `conf_local`",
                              "INSERT INTO `conf_local`",
                              "CREATE TABLE  `rpt_bitacora`",
                              "CREATE TABLE  `rpt_dividendos`",
                              "CREATE TABLE `rpt_resultadoscarreras`",
                              "CREATE TABLE  `rpt_resultadostaqs`",
                              "CREATE TABLE  `rpt_caballos_tf`"};
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(s[i].startsWith(QLatin1String(prefijos[i]))) << s[i].toStdString();
    EXPECT_TRUE(s[1].contains(QLatin1String("`puesto` varchar(15) NOT NULL DEFAULT '',")));
    EXPECT_EQ(s[3],
              QStringLiteral("INSERT INTO `conf_local` (`id`,`impresion`,`puerto`,`ip_secundaria`,`version`,"
                             "`tamletra`,`grupo`,`ip`,`server`,`codbarras`) VALUES (1,1,'WINDOWS2:','") +
                  servidorLocalPredeterminado() + QStringLiteral("',28001,8,'','','',1);"));
    EXPECT_TRUE(
        s[8].endsWith(QLatin1String("PRIMARY KEY  (`integer`)) ENGINE=InnoDB DEFAULT CHARSET=latin1;")));
}

TEST(BdLocal, OfferRunsOnlyForTheTwoAccessCodes) {
    struct Caso {
        std::optional<QString> clave;
        Respuesta respuesta;
        int conexiones; // connections opened: creation (2) or re-creation (3), plus abrir_local (1)
        QString primera;
    };
    const std::vector<Caso> casos = {
        {QStringLiteral("40917"), Respuesta::Si, 3, QStringLiteral("CREATE DATABASE `bd_corvalo`;")},
        {QStringLiteral("82365"), Respuesta::Si, 4, QStringLiteral("drop DATABASE `bd_corvalo`;")},
        {QStringLiteral("40918"), Respuesta::Si, 0, {}},
        {QStringLiteral(""), Respuesta::Si, 0, {}},
        {std::nullopt, Respuesta::Si, 0, {}},
        {QStringLiteral("40917"), Respuesta::No, 0, {}},
    };
    for (const auto &c : casos) {
        Entorno e;
        e.dialogos.entradaTexto = c.clave;
        e.dialogos.respuestas = {c.respuesta};
        ofrecer_bd_local(e.ctx);
        ASSERT_EQ(int(e.fabrica.abiertas.size()), c.conexiones) << c.clave.value_or("(cancel)").toStdString();
        EXPECT_EQ(
            e.dialogos.vistos[0].texto,
            QStringLiteral("Este Usuario Requiere crear las credenciales para los reportes desea hacerlo? "));
        EXPECT_EQ(e.dialogos.vistos[0].titulo, QStringLiteral("Confirmar Requerimiento"));
        if (c.conexiones == 0) {
            // Besides the question (and the input box when answered Yes), one message says why
            // nothing was created.
            ASSERT_EQ(e.dialogos.vistos.size(), c.respuesta == Respuesta::Si ? 3u : 2u);
            const bool clave = c.clave && c.respuesta == Respuesta::Si;
            EXPECT_EQ(e.dialogos.vistos.back().texto,
                      clave
                          ? QStringLiteral("La clave de acceso no es válida: la base de datos local de "
                                           "reportes no se ha creado.")
                          : QStringLiteral("La base de datos local de reportes no se ha creado: los reportes "
                                           "no estarán disponibles hasta crearla."));
            continue;
        }
        EXPECT_EQ(e.fabrica.abiertas[0]->sentencias.first(), c.primera);
        EXPECT_EQ(e.dialogos.vistos[1].texto, QStringLiteral("INGRESE LA CLAVE"));
        EXPECT_EQ(e.dialogos.vistos[1].titulo, QStringLiteral("CONFIRMACION"));
        EXPECT_EQ(e.dialogos.vistos.back().texto, QStringLiteral("La BD ha sido creada con exito"));
        EXPECT_EQ(e.dialogos.vistos.back().titulo, QStringLiteral("SISTEMA"));
        EXPECT_EQ(e.fabrica.abiertas.back()->sentencias.first(), QStringLiteral("select * from rpt_diario"));
    }
}

TEST(BdLocal, DeleteAnsweredNoChangesNothing) {
    Entorno e;
    e.dialogos.respuestas = {Respuesta::No};
    borrar_bd_local(e.ctx);
    EXPECT_TRUE(e.fabrica.cadenas.isEmpty());
    ASSERT_EQ(e.dialogos.vistos.size(), 1u);
    EXPECT_EQ(e.dialogos.vistos[0].texto,
              QStringLiteral(" ¿Esta usted seguro de querer borrar la bd local?"));
    EXPECT_EQ(e.dialogos.vistos[0].titulo, QStringLiteral("confirmar"));
    EXPECT_EQ(e.dialogos.vistos[0].botones, Botones::SiNoPorNo); // Enter answers No
}

// The technician's log never shows a password, whatever the case or blanks of the field.
TEST(Registro, LosTextosPierdenSusClaves) {
    EXPECT_EQ(sinClaves("driver={MySQL ODBC 3.51 Driver};server=h;uid=u;pwd=s3cr;eto;database=d;"),
              "driver={MySQL ODBC 3.51 Driver};server=h;uid=u;pwd=***;eto;database=d;");
    EXPECT_EQ(sinClaves("PWD = qwe456"), "PWD =***");
    EXPECT_EQ(sinClaves("sin claves"), "sin claves");
}

TEST(Registro, UnaFallaQuedaEnElArchivoConUsuarioYPantalla) {
    const QString archivo = QDir::temp().filePath(
        QStringLiteral("corvalo_registro_%1/corvalo.log").arg(QCoreApplication::applicationPid()));
    QFile::remove(archivo);
    ASSERT_TRUE(instalarRegistro(archivo, QtInfoMsg));
    Sesion s;
    s.usuario = "taq1";
    registrarFalla(lcVentas(), &s, "Form_Venta_TD", "Timer1", "Lost connection; pwd=qwe456");
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(
        texto.contains("[warning] corvalo.sales: taq1 Form_Venta_TD: Timer1: Lost connection; pwd=***"))
        << texto.toStdString();
    EXPECT_FALSE(texto.contains("qwe456"));
}
