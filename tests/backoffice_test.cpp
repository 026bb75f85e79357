// The reference central schema and the back-office stand-in, against the private server.
#include "backoffice.h"
#include "codificacion.h"
#include "servidor_prueba.h"
#include "texto.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QSet>

using namespace corvalo;

namespace {

QString cadenaBase(const QString &nombre) {
    QString s = prueba::cadenaServidor();
    if (!s.endsWith(QLatin1Char(';')))
        s += QLatin1Char(';');
    return s + QStringLiteral("database=%1;").arg(nombre);
}

struct Salida {
    int codigo;
    QString out, err;
};

Salida correr(const QStringList &args) {
    QString out, err;
    QTextStream so(&out), se(&err);
    const int codigo = backoffice::ejecutar(args, so, se);
    so.flush();
    se.flush();
    return {codigo, out, err};
}

QStringList columnas(BaseDatos &db, const QString &tabla) {
    const Resultado r = db.ejecutar(QStringLiteral("SHOW COLUMNS FROM ") + tabla);
    QStringList c;
    for (int i = 0; i < r.filas(); ++i)
        c << r.valor(i, QStringLiteral("Field")).texto();
    return c;
}

QStringList textos(const std::vector<Campo> &fila) {
    QStringList t;
    for (const Campo &c : fila)
        t << (c.esNulo() ? QStringLiteral("NULL") : c.texto());
    return t;
}

QStringList columnasTicket() {
    return QStringList{"numero",   "carrera",   "caballo", "monto",   "tablas",      "puesto",  "taquilla",
                       "grupo",    "hora",      "fecha",   "cobrado", "fecha_cobro", "estatus", "nu_boleto",
                       "id_juego", "id_moneda", "llave1",  "llave2",  "llave3",      "llave4"};
}

class Esquema : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cadena_ = new QString(prueba::crearBaseCentral(QStringLiteral("t_schema_backoffice")));
    }
    static void TearDownTestSuite() { delete cadena_; }
    void SetUp() override {
        db = prueba::conectar(*cadena_);
        // The workstations' statements run in strict mode whatever the server's default.
        db->ejecutar(QStringLiteral("SET SESSION sql_mode='STRICT_TRANS_TABLES,NO_ENGINE_SUBSTITUTION'"));
        for (const char *t :
             {"ma_principal", "ventas", "ma_marcas", "ventas_mk", "configuracion", "usuarios"})
            db->ejecutar(QStringLiteral("DELETE FROM ") + QString::fromLatin1(t));
    }
    static QString *cadena_;
    std::unique_ptr<BaseDatos> db;
};
QString *Esquema::cadena_ = nullptr;

TEST_F(Esquema, TicketTablesKeepThePositionalColumnOrder) {
    EXPECT_EQ(columnas(*db, "ma_principal"), columnasTicket());
    EXPECT_EQ(columnas(*db, "ventas"), columnasTicket());
    const QStringList marcas{"numero",    "carrera",  "caballo",   "caballo2",     "monto",       "taquilla",
                             "grupo",     "hora",     "fecha",     "cobrado",      "fecha_cobro", "estatus",
                             "nu_boleto", "id_juego", "id_moneda", "id_hipodromo", "combinacion"};
    EXPECT_EQ(columnas(*db, "ma_marcas"), marcas);
    EXPECT_EQ(columnas(*db, "ventas_mk"), marcas);
}

TEST_F(Esquema, EveryColumnTheScreensUseExists) {
    const QMap<QString, QStringList> usadas{
        {"configuracion",
         {"fecha",
          "carrera",
          "modificar",
          "venta_pt",
          "venta_mk",
          "cab_max",
          "dias",
          "version",
          "vmt",
          "vmp",
          "vmg",
          "mora",
          "mensaje",
          "mcobro",
          "web",
          "empresa",
          "rif",
          "impresion_datos",
          "pantalla1",
          "pantalla2",
          "tipopantalla",
          "juego",
          "juego1",
          "juego2",
          "juego3",
          "multimoneda",
          "dolar_activado",
          "nu_administrador",
          "nu_tecnico",
          "mensajetf",
          "mensajeclientes",
          "apuesta_max_td",
          "apuesta_max_tf",
          "cupo_td_opcion",
          "cupo_tf_opcion",
          "opcioncupopt",
          "cupo_mk_opcion",
          "cupo_pt",
          "min_vbs",
          "max_vdls",
          "cobroespecial",
          "mostrartd",
          "mostrartf",
          "mostrar_pt",
          "pantalla_td",
          "pantalla_tf",
          "por_td",
          "por_tablafija",
          "valor_tabladinamica",
          "valor_tabladinamica2",
          "valortablafija",
          "valortablafija2"}},
        {"carreras",
         {"id_carrera",
          "fecha",
          "carrera",
          "nu_caballo",
          "caballo",
          "jinete",
          "valor_td",
          "valor_td2",
          "valor_tf",
          "valor_tf2",
          "puesto",
          "puesto2",
          "apuesta_max_td",
          "apuesta_max_td2",
          "apuesta_max_tf",
          "apuesta_max_tf2",
          "apuesta_max_pt",
          "apuesta_max_pt2",
          "estado",
          "estado_td2",
          "estado2_td",
          "estado_tf",
          "estado_tf2",
          "estado2_tf",
          "estado_pt",
          "estado_pt2",
          "estado2_pt",
          "estado_mk",
          "estado_mk2",
          "retirado",
          "retirado2",
          "retirado_tf",
          "retirado_tf2",
          "retirado_pt",
          "retirado_pt2",
          "ret_mk",
          "ret_mk2",
          "apuesta_max_mk",
          "apuesta_max_mk2",
          "id_hipodromo",
          "win",
          "win_ganadores"}},
        {"grupos",
         {"grupo", "id_grupo", "id_tipo", "ch", "mensajech", "ticket_cobro", "cupoviptf", "name_empresa",
          "rif_empresa", "direccion_empresa", "tlf_empresa", "mostrar_tf", "mostrar_pt"}},
        {"usuarios",
         {"usuario", "clave", "nombre", "nivel", "grupo", "estatus", "mac", "fecha_ingreso", "hora_ingreso",
          "ip_pc", "version"}},
        {"ventas_general",
         {"fecha", "grupo", "venta", "premios", "saldo", "monto_porpagar", "id_juego", "id_moneda"}},
        {"bitacora",
         {"numero", "carrera", "caballo", "ganadores", "taquilla", "grupo", "hora", "fecha", "estatus",
          "nu_boleto", "cobrado", "motivo", "usuario", "tipo_motivo", "monto", "tablas", "id_juego",
          "id_moneda"}},
        {"bitacora_mk", {"numero", "carrera", "taquilla", "fecha", "estatus", "id_juego", "id_moneda"}},
        {"juegos", {"id_juego", "juego"}},
        {"monedas", {"moneda"}},
        {"hipodromos", {"id_hipodromo", "hipodromo"}},
    };
    QStringList cupo{"ch", "id_moneda"};
    for (int i = 1; i <= 18; ++i)
        cupo << QStringLiteral("cab%1").arg(i);
    QMap<QString, QStringList> todas = usadas;
    for (const char *t : {"venta_cupo_td", "venta_cupo_tf", "venta_cupo_pt", "venta_cupo_mk"})
        todas.insert(QString::fromLatin1(t), cupo);
    for (auto it = todas.cbegin(); it != todas.cend(); ++it) {
        const QStringList reales = columnas(*db, it.key());
        for (const QString &c : it.value())
            EXPECT_TRUE(reales.contains(c)) << it.key().toStdString() << "." << c.toStdString();
    }
}

TEST_F(Esquema, PositionalTicketInsertsSucceedInStrictModeAndReadBack) {
    struct Caso {
        const char *tabla;
        const char *valores;  // after "(NULL,"
        QStringList esperado; // the row without numero
    };
    const Caso casos[] = {
        {"ma_principal",
         "'1','5','150','3','0','taq1','G1','10:15:00','2026-12-10','0','','0','','1','1','0','0','0','0');",
         {"1", "5", "150", "3", "0", "taq1", "G1", "10:15:00", "2026-12-10", "0", "", "0", "", "1", "1", "0",
          "0", "0", "0"}},
        // Los Puestos: a fractional kind and '0' where the Tablas sale writes ''.
        {"ma_principal",
         "'2','7','250.5','0','0.3','taq2','G2','10:16:30 p. "
         "m.','2026-12-10','0','0','0','','3','2','0','0','0','0');",
         {"2", "7", "250.5", "0", "0.3", "taq2", "G2", "10:16:30 p. m.", "2026-12-10", "0", "0", "0", "", "3",
          "2", "0", "0", "0", "0"}},
        {"ma_principal",
         "'3','1','40','0','-2','taq1','G1','11:00:00','2026-12-10','0','0','0','','3','1','0','0','0','0');",
         {"3", "1", "40", "0", "-2", "taq1", "G1", "11:00:00", "2026-12-10", "0", "0", "0", "", "3", "1", "0",
          "0", "0", "0"}},
        {"ventas",
         "'4','2','60','2','0','taq1','G1','09:00:00','2026-12-09','0','','0','','2','1','0','0','0','0');",
         {"4", "2", "60", "2", "0", "taq1", "G1", "09:00:00", "2026-12-09", "0", "", "0", "", "2", "1", "0",
          "0", "0", "0"}},
        {"ma_marcas",
         "'5','3','7','500','oper1','C01','12:00:00','2026-12-10','0','','0','','4','1','2','3-7');",
         {"5", "3", "7", "500", "oper1", "C01", "12:00:00", "2026-12-10", "0", "", "0", "", "4", "1", "2",
          "3-7"}},
    };
    for (const Caso &c : casos) {
        const QString tabla = QString::fromLatin1(c.tabla);
        SCOPED_TRACE(c.valores);
        db->ejecutar(QStringLiteral("INSERT INTO `") + tabla + QStringLiteral("` VALUES (NULL,") +
                     QString::fromUtf8(c.valores));
        const Resultado r = db->ejecutar(QStringLiteral("SELECT * FROM ") + tabla +
                                         QStringLiteral(" WHERE numero = LAST_INSERT_ID()"));
        ASSERT_EQ(r.filas(), 1);
        QStringList fila = textos(r.fila(0));
        EXPECT_GT(fila.takeFirst().toInt(), 0);
        EXPECT_EQ(fila, c.esperado);
    }
    // The read-back of the sale: the booth's highest number of the day.
    const Resultado n =
        db->ejecutar(QStringLiteral("SELECT numero FROM ma_principal Where taquilla='taq1'  and fecha  = "
                                    "'2026-12-10' order by numero desc limit 1   "));
    const Resultado todos =
        db->ejecutar(QStringLiteral("SELECT max(numero) AS m FROM ma_principal WHERE taquilla='taq1'"));
    ASSERT_EQ(n.filas(), 1);
    EXPECT_EQ(n.valor(0, "numero").texto(), todos.valor(0, "m").texto());
}

TEST_F(Esquema, KeysAndPasswordsKeepEveryByte) {
    QString raro = QStringLiteral(" a");
    raro += QChar(0);
    for (int c = 128; c <= 159; ++c)
        raro += charDeCodigo(static_cast<unsigned char>(c));
    raro += charDeCodigo(255);
    raro += QStringLiteral("'\\z ");
    raro += QChar(0);
    raro += QStringLiteral("  "); // trailing blanks after a NUL
    const QString clave = codificar(QStringLiteral("taq2801"), kClaveUsuarios);

    db->ejecutar(
        QStringLiteral("INSERT INTO `ma_principal` VALUES (NULL,'1','5','150','3','0','taq1','G1','10:15:00',"
                       "'2026-12-10','0','','0','','1','1','0','0','0','0');"));
    db->ejecutar(QStringLiteral("update ma_principal set nu_boleto='11210") + QStringLiteral("1',llave1='") +
                 sqlTexto(*db, raro) + QStringLiteral("',llave2='") + sqlTexto(*db, clave) +
                 QStringLiteral("',llave3='") + sqlTexto(*db, raro + raro) +
                 QStringLiteral("' Where taquilla='taq1' limit 1   "));
    const Resultado t = db->ejecutar(QStringLiteral("SELECT * FROM ma_principal Where nu_boleto = '112101'"));
    ASSERT_EQ(t.filas(), 1);
    EXPECT_EQ(t.valor(0, "llave1").texto(), raro);
    EXPECT_EQ(t.valor(0, "llave2").texto(), clave);
    EXPECT_EQ(t.valor(0, "llave3").texto(), raro + raro);

    db->ejecutar(QStringLiteral("INSERT INTO usuarios (usuario, clave, nivel, grupo) VALUES ('u1','") +
                 sqlTexto(*db, raro) + QStringLiteral("','Taquilla','G1')"));
    const Resultado u = db->ejecutar(QStringLiteral("select * from usuarios where usuario='u1'"));
    ASSERT_EQ(u.filas(), 1);
    EXPECT_EQ(u.valor(0, "clave").texto(), raro);
    // Stored as given: the text without its trailing blanks is another password.
    QString sinBlancos = raro;
    while (sinBlancos.endsWith(QLatin1Char(' ')))
        sinBlancos.chop(1);
    EXPECT_TRUE(db->ejecutar(QStringLiteral("select usuario from usuarios where clave='") +
                             sqlTexto(*db, sinBlancos) + QLatin1Char('\''))
                    .vacio());
}

TEST_F(Esquema, BoothTotalsBesideTheSettingsRowCountEachTicketOnce) {
    // The booth-totals statement lists configuracion beside ma_principal with unqualified
    // grupo and id_moneda: the settings table must not have those names, and one row.
    db->ejecutar(
        QStringLiteral("INSERT INTO configuracion (id, fecha, carrera) VALUES ('1','2026-12-10','1')"));
    for (const char *v :
         {"'1','5','150','3','0','taq1','G1','10:15:00','2026-12-10','0','','0','','1','1','0','0','0','0'",
          "'1','6','50','1','0','taq1','G1','10:16:00','2026-12-10','0','','0','','1','1','0','0','0','0'",
          "'1','6','70','1','0','taq2','G1','10:16:00','2026-12-10','0','','0','','1','2','0','0','0','0'"})
        db->ejecutar(QStringLiteral("INSERT INTO `ma_principal` VALUES (NULL,") + QString::fromLatin1(v) +
                     QStringLiteral(");"));
    const Resultado r =
        db->ejecutar(QStringLiteral("select m.taquilla as taquilla ,sum(m.monto) as venta,m.fecha FROM "
                                    "ma_principal m,configuracion c where m.fecha =  "
                                    "'2026-12-10' and grupo = 'G1' and m.id_juego = '1'  and id_moneda  = "
                                    "'1'  group by m.taquilla,m.fecha;"));
    ASSERT_EQ(r.filas(), 1);
    EXPECT_EQ(r.valor(0, "taquilla").texto(), QStringLiteral("taq1"));
    EXPECT_EQ(r.valor(0, "venta").numero(), 200);
}

// --- the command line ---------------------------------------------------------------

TEST(Backoffice, CreateSchemaMakesTheDatabaseAndRerunsWithDrop) {
    const QString cadena = cadenaBase(QStringLiteral("t_schema_bo_cli"));
    auto servidor = prueba::conectar(prueba::cadenaServidor());
    servidor->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS t_schema_bo_cli"));
    for (int vez = 0; vez < 2; ++vez) {
        const Salida s = correr({"--central", cadena, "create-schema", "--drop"});
        ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    }
    auto db = prueba::conectar(cadena);
    const Resultado r = db->ejecutar(QStringLiteral("SHOW TABLES"));
    QSet<QString> tablas;
    for (int i = 0; i < r.filas(); ++i)
        tablas << r.fila(i).at(0).texto();
    for (const char *t :
         {"ma_principal", "ventas", "ma_marcas", "ventas_mk", "ventas_general", "carreras", "configuracion",
          "grupos", "usuarios", "venta_cupo_td", "venta_cupo_tf", "venta_cupo_pt", "venta_cupo_mk",
          "bitacora", "bitacora_mk", "juegos", "monedas", "hipodromos"})
        EXPECT_TRUE(tablas.contains(QString::fromLatin1(t))) << t;
    EXPECT_EQ(tablas.size(), backoffice::tablasEsquema().size());
    // Without --drop the existing tables are an error of the database.
    EXPECT_EQ(correr({"--central", cadena, "create-schema"}).codigo, 1);
}

TEST(Backoffice, CheckNamesWhatTheCentralDatabaseLacks) {
    const QString cadena = prueba::crearBaseCentral(QStringLiteral("t_check_bo"));
    Salida s = correr({"--central", cadena, "check"});
    EXPECT_EQ(s.codigo, 0) << s.err.toStdString();
    EXPECT_EQ(s.out.toStdString(),
              "the central database has every table (19) and column (341) of the reference schema\n");

    auto db = prueba::conectar(cadena);
    db->ejecutar(QStringLiteral("ALTER TABLE ma_principal DROP COLUMN llave4"));
    db->ejecutar(QStringLiteral("ALTER TABLE configuracion DROP COLUMN vmg"));
    db->ejecutar(QStringLiteral("DROP TABLE hipodromos"));
    s = correr({"--central", cadena, "check"});
    EXPECT_EQ(s.codigo, 3);
    EXPECT_EQ(s.out.toStdString(),
              "missing column ma_principal.llave4\n"
              "missing column configuracion.vmg\n"
              "missing table hipodromos\n"
              "the central database lacks 3 tables or columns of the reference schema\n");
    // A connection string without a database is a usage error, not an empty database.
    EXPECT_EQ(correr({"--central", prueba::cadenaServidor(), "check"}).codigo, 2);
}

TEST(Backoffice, CheckNamesEveryColumnTheVoidAndThePaymentWrite) {
    // A workstation voids a ticket left without its code into bitacora / bitacora_mk and pays
    // tickets (ma_principal, ventas, the day's totals of ventas_general): a back-office schema
    // lacking any column they write would refuse that statement for good.
    const QString cadena = prueba::crearBaseCentral(QStringLiteral("t_check_escrituras"));
    auto db = prueba::conectar(cadena);
    const std::pair<const char *, const char *> escritas[] = {
        {"bitacora", "motivo"},          {"bitacora", "tipo_motivo"},     {"bitacora", "puesto"},
        {"bitacora", "id_moneda"},       {"bitacora_mk", "caballo2"},     {"bitacora_mk", "combinacion"},
        {"bitacora_mk", "id_hipodromo"}, {"ma_principal", "fecha_cobro"}, {"ventas", "fecha_cobro"},
        {"ventas_general", "premios"},   {"ventas_general", "id_juego"},  {"ventas_general", "id_moneda"},
        {"ma_marcas", "estatus"}};
    for (const auto &[tabla, columna] : escritas) {
        // A column of a unique key goes with its key.
        if (QString(columna).startsWith("id_") && QString(tabla) == "ventas_general")
            db->ejecutar(QStringLiteral("ALTER TABLE ventas_general DROP INDEX IF EXISTS "
                                        "ux_fecha_grupo_juego_moneda"));
        db->ejecutar(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(tabla, columna));
    }
    const Salida s = correr({"--central", cadena, "check"});
    EXPECT_EQ(s.codigo, 3);
    for (const auto &[tabla, columna] : escritas)
        EXPECT_TRUE(s.out.contains(QStringLiteral("missing column %1.%2\n").arg(tabla, columna)))
            << tabla << "." << columna << "\n"
            << s.out.toStdString();
}

TEST(Backoffice, MarcasNumbersStayAboveEveryOtherTicketNumber) {
    const QString cadena = prueba::crearBaseCentral(QStringLiteral("t_check_rangos"));
    auto db = prueba::conectar(cadena);
    auto siguiente = [&](const char *tabla) {
        return db
            ->ejecutar(QStringLiteral("select auto_increment a from information_schema.tables where "
                                      "table_schema=database() and table_name='%1'")
                           .arg(tabla))
            .valor(0, "a")
            .texto()
            .toLongLong();
    };
    EXPECT_EQ(siguiente("ma_marcas"), backoffice::kPrimerNumeroMarcas);
    EXPECT_EQ(siguiente("ma_principal"), 1);
    // A back-office that numbered Marcas from 1 is named by check, and archive-day puts the
    // numbering back in its range.
    db->ejecutar("ALTER TABLE ma_marcas AUTO_INCREMENT=1");
    Salida s = correr({"--central", cadena, "check"});
    EXPECT_EQ(s.codigo, 3);
    EXPECT_TRUE(s.out.startsWith("ma_marcas numbers its next ticket 1, below 1000000000"))
        << s.out.toStdString();
    ASSERT_EQ(correr({"--central", cadena, "archive-day", "--date", "2026-03-25"}).codigo, 0);
    EXPECT_EQ(siguiente("ma_marcas"), backoffice::kPrimerNumeroMarcas);
    EXPECT_EQ(correr({"--central", cadena, "check"}).codigo, 0);
}

TEST(Backoffice, CommandLineErrors) {
    const QString cadena = cadenaBase(QStringLiteral("t_schema_bo_cli"));
    struct Caso {
        QStringList args;
        int codigo;
    };
    const Caso casos[] = {
        {{"--help"}, 0},
        {{}, 2},
        {{"create-schema"}, 2},                         // no --central
        {{"--central", cadena, "frobnicate"}, 2},       // unknown command
        {{"--central", cadena, "set", "modificar"}, 2}, // no '='
        {{"--central", cadena, "seed-demo", "--date", "10-12-2026"}, 2},
        {{"prepare-local"}, 2}, // no --local
        {{"--central", "server=127.0.0.1;port=1;uid=x;pwd=y;database=t_schema_none;", "set", "carrera=2"}, 1},
    };
    for (const Caso &c : casos) {
        const Salida s = correr(c.args);
        EXPECT_EQ(s.codigo, c.codigo) << c.args.join(' ').toStdString();
        if (c.codigo == 2) {
            EXPECT_TRUE(s.err.contains("usage: corvalo-backoffice")) << s.err.toStdString();
        }
        if (c.codigo == 1) {
            EXPECT_FALSE(s.err.isEmpty());
        }
    }
}

class Demo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cadena_ = new QString(cadenaBase(QStringLiteral("t_schema_bo_demo")));
        ASSERT_EQ(correr({"--central", *cadena_, "create-schema", "--drop"}).codigo, 0);
        salida_ = new Salida(correr({"--central", *cadena_, "seed-demo", "--date", "2026-12-10"}));
    }
    static void TearDownTestSuite() {
        delete cadena_;
        delete salida_;
    }
    void SetUp() override {
        ASSERT_EQ(salida_->codigo, 0) << salida_->err.toStdString();
        db = prueba::conectar(*cadena_);
    }
    int cuenta(const QString &sql) { return db->ejecutar(sql).fila(0).at(0).entero(); }
    static QString *cadena_;
    static Salida *salida_;
    std::unique_ptr<BaseDatos> db;
};
QString *Demo::cadena_ = nullptr;
Salida *Demo::salida_ = nullptr;

TEST_F(Demo, RaceCardHasTwelveRacesWithWithdrawalsAndEveryPuestoKind) {
    const Resultado carreras = db->ejecutar(
        QStringLiteral("SELECT carrera, count(*) AS n, min(nu_caballo) AS lo, max(nu_caballo) AS hi, "
                       "sum(caballo='') AS sin_nombre "
                       "FROM carreras WHERE fecha='2026-12-10' GROUP BY carrera ORDER BY carrera"));
    ASSERT_EQ(carreras.filas(), 12);
    for (int i = 0; i < 12; ++i) {
        const int n = carreras.valor(i, "n").entero();
        EXPECT_EQ(carreras.valor(i, "carrera").entero(), i + 1);
        EXPECT_GE(n, 8);
        EXPECT_LE(n, 14);
        EXPECT_EQ(carreras.valor(i, "lo").entero(), 1);
        EXPECT_EQ(carreras.valor(i, "hi").entero(), n);
        EXPECT_EQ(carreras.valor(i, "sin_nombre").entero(), 0);
    }
    // The sale takes horse n as the n-th row of the unordered race query.
    const Resultado r4 =
        db->ejecutar(QStringLiteral("SELECT * FROM carreras where  carrera ='4' and fecha  = '2026-12-10'"));
    for (int i = 0; i < r4.filas(); ++i)
        EXPECT_EQ(r4.valor(i, "nu_caballo").entero(), i + 1);

    EXPECT_EQ(
        cuenta(
            "SELECT count(*) FROM carreras WHERE valor_td<=0 OR valor_td2<=0 OR valor_tf<=0 OR valor_tf2<=0 "
            "OR jinete='' OR id_hipodromo NOT IN (SELECT id_hipodromo FROM hipodromos)"),
        0);
    EXPECT_EQ(cuenta("SELECT count(*) FROM carreras WHERE "
                     "estado+estado_td2+estado2_td+estado_tf+estado_tf2+estado2_tf+"
                     "estado_pt+estado_pt2+estado2_pt+estado_mk+estado_mk2+win <> 0"),
              0);
    const int retirados = cuenta("SELECT count(*) FROM carreras WHERE retirado=1");
    EXPECT_GE(retirados, 2);
    EXPECT_LE(retirados, 8);
    EXPECT_EQ(cuenta("SELECT count(*) FROM carreras WHERE retirado=1 AND retirado2=1 AND retirado_tf=1 AND "
                     "retirado_tf2=1 AND retirado_pt=1 AND retirado_pt2=1 AND ret_mk=1 AND ret_mk2=1"),
              retirados);
    EXPECT_EQ(cuenta("SELECT count(*) FROM carreras WHERE retirado=0 AND retirado2+retirado_tf+retirado_tf2+"
                     "retirado_pt+retirado_pt2+ret_mk+ret_mk2 <> 0"),
              0);

    const Resultado p = db->ejecutar(QStringLiteral("SELECT DISTINCT puesto FROM carreras"));
    QSet<QString> kinds;
    for (int i = 0; i < p.filas(); ++i)
        kinds << p.valor(i, "puesto").texto();
    for (const char *k :
         {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1",  "2",  "3",  "4", "5",
          "-1",  "-2",  "-3",  "-4",  "-5",  "12",  "22",  "23",  "33",  "34", "44", "45", "55"})
        EXPECT_TRUE(kinds.contains(QString::fromLatin1(k))) << k;
}

TEST_F(Demo, PrintedLoginsMatchTheScrambledPasswords) {
    QMap<QString, QStringList> impresos; // usuario -> password, level, group, status
    for (const QString &linea : salida_->out.split(QLatin1Char('\n'))) {
        if (linea.size() < 53 || linea.startsWith(QStringLiteral("user ")))
            continue;
        impresos[linea.mid(0, 10).trimmed()] = {linea.mid(11, 10).trimmed(), linea.mid(22, 22).trimmed(),
                                                linea.mid(45, 6).trimmed(), linea.mid(52).trimmed()};
    }
    const Resultado u = db->ejecutar(QStringLiteral("select * from usuarios"));
    ASSERT_EQ(impresos.size(), u.filas());
    QSet<QString> niveles, gruposTaquilla;
    int bajas = 0;
    for (int i = 0; i < u.filas(); ++i) {
        const QString usuario = u.valor(i, "usuario").texto();
        ASSERT_TRUE(impresos.contains(usuario)) << usuario.toStdString();
        const QStringList &v = impresos[usuario];
        EXPECT_EQ(decodificar(u.valor(i, "clave").texto(), kClaveUsuarios), v[0]) << usuario.toStdString();
        EXPECT_NE(u.valor(i, "clave").texto(), v[0]);
        EXPECT_EQ(u.valor(i, "nivel").texto(), v[1]);
        EXPECT_EQ(u.valor(i, "grupo").texto(), v[2]);
        EXPECT_EQ(u.valor(i, "estatus").texto(), v[3]);
        EXPECT_TRUE(u.valor(i, "mac").texto().isEmpty());
        EXPECT_EQ(cuenta("SELECT count(*) FROM grupos WHERE grupo='" + v[2] + "'"), 1);
        if (v[3] == QLatin1String("Baja"))
            ++bajas;
        else
            niveles << v[1];
        if (v[1] == QLatin1String("Taquilla") && v[3] != QLatin1String("Baja"))
            gruposTaquilla << v[2];
    }
    for (const char *n : {"Administrador", "Gerente", "Supervisor", "Taquilla", "Operador", "Visor", "Socio"})
        EXPECT_TRUE(niveles.contains(QString::fromLatin1(n))) << n;
    EXPECT_EQ(bajas, 1);
    EXPECT_GE(gruposTaquilla.size(), 2);
}

TEST_F(Demo, CodeTablesGroupsLimitsAndSettings) {
    const Resultado m = db->ejecutar(QStringLiteral("select * from monedas"));
    ASSERT_EQ(m.filas(), 2);
    EXPECT_EQ(m.valor(0, "moneda").texto(), QStringLiteral("BS"));
    EXPECT_EQ(m.valor(1, "moneda").texto(), QStringLiteral("$"));
    const Resultado j = db->ejecutar(QStringLiteral("select * from juegos"));
    ASSERT_EQ(j.filas(), 4);
    EXPECT_EQ(j.valor(3, "juego").texto(), QStringLiteral("MARCAS"));
    EXPECT_GE(cuenta("SELECT count(*) FROM hipodromos"), 2);

    EXPECT_GE(
        cuenta(
            "SELECT count(*) FROM grupos WHERE id_tipo<>2 AND ch<>'' AND name_empresa<>'' AND ticket_cobro=1 "
            "AND mostrar_tf=1 AND mostrar_pt=1"),
        2);
    EXPECT_GE(cuenta("SELECT count(*) FROM grupos WHERE id_tipo=2 AND ch<>''"), 1);
    const int grupos = cuenta("SELECT count(*) FROM grupos");
    for (const char *t : {"venta_cupo_td", "venta_cupo_tf", "venta_cupo_pt", "venta_cupo_mk"})
        EXPECT_EQ(cuenta(QStringLiteral(
                             "SELECT count(*) FROM %1 c JOIN grupos g ON g.grupo=c.ch WHERE c.cab1>0 AND "
                             "c.cab18>0 AND c.id_moneda IN (1,2)")
                             .arg(QString::fromLatin1(t))),
                  2 * grupos)
            << t;

    const Resultado c = db->ejecutar(QStringLiteral("select * from configuracion"));
    ASSERT_EQ(c.filas(), 1);
    const QMap<QString, QString> esperado{
        {"fecha", "2026-12-10"},  {"carrera", "1"},        {"modificar", "1"},    {"venta_pt", "1"},
        {"venta_mk", "1"},        {"cab_max", "14"},       {"dias", "3"},         {"version", "28001"},
        {"vmt", "28001"},         {"vmp", "28001"},        {"vmg", "28001"},      {"mora", "0"},
        {"multimoneda", "1"},     {"dolar_activado", "1"}, {"juego1", "1"},       {"apuesta_max_td", "50"},
        {"apuesta_max_tf", "50"}, {"cupo_td_opcion", "0"}, {"opcioncupopt", "0"}, {"cobroespecial", "1"},
        {"tipopantalla", "0"},    {"impresion_datos", "1"}};
    for (auto it = esperado.cbegin(); it != esperado.cend(); ++it)
        EXPECT_EQ(c.valor(0, it.key()).texto(), it.value()) << it.key().toStdString();
    for (const char *t : {"mensaje", "mcobro", "empresa", "rif", "web", "nu_administrador", "nu_tecnico"})
        EXPECT_FALSE(c.valor(0, QString::fromLatin1(t)).texto().isEmpty()) << t;
}

TEST_F(Demo, SeedingAgainReplacesTheRows) {
    const int usuarios = cuenta("SELECT count(*) FROM usuarios"),
              caballos = cuenta("SELECT count(*) FROM carreras");
    ASSERT_EQ(correr({"--central", *cadena_, "seed-demo", "--date", "2026-12-10"}).codigo, 0);
    EXPECT_EQ(cuenta("SELECT count(*) FROM usuarios"), usuarios);
    EXPECT_EQ(cuenta("SELECT count(*) FROM carreras"), caballos);
    EXPECT_EQ(cuenta("SELECT count(*) FROM configuracion"), 1);
}

TEST_F(Demo, SetChangesTheSettingsRowAndRejectsUnknownColumns) {
    Salida s =
        correr({"--central", *cadena_, "set", "MODIFICAR=0", "carrera=5", "mensaje=it's \"closed\"\\"});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    Resultado c = db->ejecutar(QStringLiteral("select * from configuracion"));
    EXPECT_EQ(c.valor(0, "modificar").texto(), QStringLiteral("0"));
    EXPECT_EQ(c.valor(0, "carrera").texto(), QStringLiteral("5"));
    EXPECT_EQ(c.valor(0, "mensaje").texto(), QStringLiteral("it's \"closed\"\\"));

    // One bad name stops the whole command before anything changes.
    s = correr({"--central", *cadena_, "set", "carrera=6", "no_such_column=1"});
    EXPECT_EQ(s.codigo, 2);
    EXPECT_TRUE(s.err.contains("no_such_column")) << s.err.toStdString();
    c = db->ejecutar(QStringLiteral("select * from configuracion"));
    EXPECT_EQ(c.valor(0, "carrera").texto(), QStringLiteral("5"));

    // A value the column cannot hold is refused by the server.
    EXPECT_EQ(correr({"--central", *cadena_, "set", "carrera=abc"}).codigo, 1);
    ASSERT_EQ(correr({"--central", *cadena_, "set", "modificar=1", "carrera=1", "mensaje=x"}).codigo, 0);
}

} // namespace

TEST(Backoffice, ResultsAndArchiveDayCommandLines) {
    const QString c = cadenaBase("t_pay_backoffice_args");
    struct Caso {
        QStringList args;
        const char *error;
    };
    const Caso casos[] = {
        {{"results", "--race", "3", "--winner", "2"}, "results needs --date"},
        {{"results", "--date", "2026-03-25", "--winner", "2"}, "results needs --race N"},
        {{"results", "--date", "2026-3-25", "--race", "3"}, "--date wants YYYY-MM-DD"},
        {{"results", "--date", "2026-03-25", "--race", "x"}, "--race wants a positive number"},
        {{"results", "--date", "2026-03-25", "--race", "3", "--winner"}, "--winner needs a value"},
        {{"archive-day"}, "archive-day needs --date"},
        {{"archive-day", "--date", "2026-03-25", "--race", "3"}, "unexpected argument \"--race\""},
    };
    for (const Caso &k : casos) {
        const Salida s = correr(QStringList{"--central", c} + k.args);
        EXPECT_EQ(s.codigo, 2) << k.error;
        EXPECT_TRUE(s.err.contains(QString::fromUtf8(k.error))) << s.err.toStdString();
    }
    EXPECT_TRUE(correr({"--help"}).out.contains("archive-day --date"));
}

TEST(Backoffice, ResultsThenArchiveDayLeaveStatusesAndTotals) {
    const QString c = prueba::crearBaseCentral(QStringLiteral("t_pay_backoffice"));
    auto db = prueba::conectar(c);
    auto ticket = [&](int caballo, double monto, int juego, int estatus, double cobrado, const QString &nu) {
        db->ejecutar(
            QStringLiteral("INSERT INTO ma_principal (carrera,caballo,monto,tablas,taquilla,grupo,fecha,"
                           "cobrado,estatus,nu_boleto,id_juego,id_moneda) VALUES ('3','%1','%2','1','taq1',"
                           "'G01','2026-03-25','%3','%4','%5','%6','1')")
                .arg(caballo)
                .arg(monto)
                .arg(cobrado)
                .arg(estatus)
                .arg(nu)
                .arg(juego));
    };
    ticket(1, 10, 1, 0, 0, "W");
    ticket(2, 20, 2, 0, 0, "R");
    ticket(3, 30, 3, 0, 0, "T");
    ticket(3, 40, 1, 1, 99, "L");  // a Tablas ticket on the tied horse loses
    ticket(1, 50, 1, 2, 100, "P"); // already paid: left alone
    ticket(1, 60, 1, 0, 0, "D");   // in dollars
    db->ejecutar("UPDATE ma_principal SET id_moneda=2 WHERE nu_boleto='D'");
    const Salida s = correr({"--central", c, "results", "--date", "2026-03-25", "--race", "3", "--winner",
                             "1", "--withdrawn", "2", "--tie", "3", "--prize-per-unit", "3"});
    ASSERT_EQ(s.codigo, 0) << s.err.toStdString();
    EXPECT_EQ(s.out, QStringLiteral("race 3 of 2026-03-25: 2 winning, 1 withdrawn, 1 tied tickets\n"));
    const Resultado r = db->ejecutar("SELECT nu_boleto,estatus,cobrado FROM ma_principal ORDER BY numero");
    const QStringList esperado{"W 1 30", "R 4 20", "T 5 45", "L 0 0", "P 2 100", "D 1 180"};
    for (int i = 0; i < r.filas(); ++i)
        EXPECT_EQ(textos(r.fila(i)).join(' '), esperado.value(i));

    const Salida a = correr({"--central", c, "archive-day", "--date", "2026-03-25"});
    ASSERT_EQ(a.codigo, 0) << a.err.toStdString();
    EXPECT_EQ(db->ejecutar("SELECT count(*) n FROM ma_principal").valor(0, "n").entero(), 0);
    EXPECT_EQ(db->ejecutar("SELECT count(*) n FROM ventas WHERE fecha='2026-03-25'").valor(0, "n").entero(),
              6);
    // One row per game and currency of the group, as the sales summary reads them: game 1 in
    // bolivares sold 10+40+50, paid 100 and owes W's 30; game 1 in dollars D's 60, owing 180.
    auto totales = [&] {
        const Resultado g =
            db->ejecutar("SELECT id_juego,id_moneda,venta,premios,saldo,monto_porpagar FROM ventas_general "
                         "WHERE fecha='2026-03-25' AND grupo='G01' ORDER BY id_juego,id_moneda");
        QStringList filas;
        for (int i = 0; i < g.filas(); ++i)
            filas << textos(g.fila(i)).join(' ');
        return filas;
    };
    EXPECT_EQ(totales(),
              QStringList({"1 1 100 100 0 30", "1 2 60 0 60 180", "2 1 20 0 20 20", "3 1 30 0 30 45"}));
    // Archiving again replaces the totals and moves nothing twice.
    ASSERT_EQ(correr({"--central", c, "archive-day", "--date", "2026-03-25"}).codigo, 0);
    EXPECT_EQ(db->ejecutar("SELECT count(*) n FROM ventas").valor(0, "n").entero(), 6);
    EXPECT_EQ(
        db->ejecutar("SELECT count(*) n FROM ventas_general WHERE fecha='2026-03-25'").valor(0, "n").entero(),
        4);
    // The race processed again on the closed day (horse 3 wins) writes the day's rows again:
    // owed are now the prizes of L (game 1) and T (game 3), 80 and 60.
    ASSERT_EQ(correr({"--central", c, "results", "--date", "2026-03-25", "--race", "3", "--winner", "3",
                      "--prize-per-unit", "2"})
                  .codigo,
              0);
    EXPECT_EQ(totales(),
              QStringList({"1 1 100 100 0 80", "1 2 60 0 60 0", "2 1 20 0 20 0", "3 1 30 0 30 60"}));
    // The schema keeps one row per date, group, game and currency.
    EXPECT_THROW(db->ejecutar("INSERT INTO ventas_general (fecha,grupo,id_juego,id_moneda) VALUES "
                              "('2026-03-25','G01','1','2')"),
                 DbError);
}
