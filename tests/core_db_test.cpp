// The database layer and the local report database against the private server.
#include "bd_local.h"
#include "codificacion.h"
#include "contexto.h"
#include "servidor_prueba.h"
#include "texto.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace corvalo;

namespace {

class BaseCentral : public ::testing::Test {
protected:
    static void SetUpTestSuite() { cadena_ = new QString(prueba::crearBaseCentral(QStringLiteral("t_core"))); }
    static void TearDownTestSuite() { delete cadena_; }
    void SetUp() override {
        db = prueba::conectar(*cadena_);
        db->ejecutar(QStringLiteral("DELETE FROM usuarios"));
    }
    void insertarUsuario(const QString &usuario, const QString &clave, const QString &nombre = QStringLiteral("N")) {
        db->ejecutar(QStringLiteral("INSERT INTO usuarios (usuario, clave, nombre, nivel, grupo, estatus) VALUES ('") +
                     sqlTexto(*db, usuario) + QStringLiteral("','") + sqlTexto(*db, clave) + QStringLiteral("','") +
                     sqlTexto(*db, nombre) + QStringLiteral("','Taquilla','G1','Activo')"));
    }
    static QString *cadena_;
    std::unique_ptr<BaseDatos> db;
};
QString *BaseCentral::cadena_ = nullptr;

} // namespace

TEST_F(BaseCentral, ScrambledBytesRoundTripExactly) {
    // NUL, the codes 128..159 (five of them undefined in Windows-1252), 255 and a trailing blank.
    QString clave;
    clave.append(charDeCodigo(0));
    for (int c = 128; c <= 159; ++c)
        clave.append(charDeCodigo(static_cast<unsigned char>(c)));
    clave.append(charDeCodigo(255));
    clave.append(QLatin1Char('\''));
    clave.append(QLatin1Char('\\'));
    clave.append(QLatin1Char(' '));
    insertarUsuario(QStringLiteral("taq1"), clave);
    const Resultado r = db->ejecutar(QStringLiteral("select * from usuarios where usuario='taq1' "));
    ASSERT_EQ(r.filas(), 1);
    EXPECT_EQ(aCp1252(r.valor(0, QStringLiteral("clave")).texto()), aCp1252(clave));

    // A password scrambled as the login stores it comes back as typed.
    const QString plano = QStringLiteral("Añejo*27");
    db->ejecutar(QStringLiteral("UPDATE usuarios SET clave='") + sqlTexto(*db, codificar(plano, kClaveUsuarios)) +
                 QStringLiteral("' WHERE usuario='taq1'"));
    const Resultado r2 = db->ejecutar(QStringLiteral("select clave from usuarios where usuario='taq1'"));
    EXPECT_EQ(decodificar(r2.valor(0, QStringLiteral("CLAVE")).texto(), kClaveUsuarios), plano);
}

TEST_F(BaseCentral, QuotedValuesReachTheServerAsPlainData) {
    insertarUsuario(QStringLiteral("taq1"), QStringLiteral("x"));
    const QString ataque = QStringLiteral("x' or '1'='1");
    EXPECT_TRUE(db->ejecutar(QStringLiteral("select * from usuarios where usuario='") + sqlTexto(*db, ataque) +
                             QStringLiteral("' "))
                    .vacio());
    insertarUsuario(ataque, QStringLiteral("fin\\"), QStringLiteral("Peña \"El Zorro\"\n"));
    const Resultado r = db->ejecutar(QStringLiteral("select * from usuarios where usuario='") + sqlTexto(*db, ataque) +
                                     QStringLiteral("' "));
    ASSERT_EQ(r.filas(), 1);
    EXPECT_EQ(r.valor(0, QStringLiteral("usuario")).texto(), ataque);
    EXPECT_EQ(r.valor(0, QStringLiteral("clave")).texto(), QStringLiteral("fin\\"));
    EXPECT_EQ(r.valor(0, QStringLiteral("nombre")).texto(), QStringLiteral("Peña \"El Zorro\"\n"));
    EXPECT_EQ(db->ejecutar(QStringLiteral("select count(*) as n from usuarios")).valor(0, "n").entero(), 2);
}

TEST_F(BaseCentral, EachEscapedCharacterAloneAndPlainValuesUnchanged) {
    EXPECT_EQ(sqlTexto(*db, QStringLiteral("taq1 G01 2026-03-07 15.5 Peña")), "taq1 G01 2026-03-07 15.5 Peña");
    for (const QString &v : {QStringLiteral("'"), QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("\n"),
                             QStringLiteral("\r"), QString(QChar(0x1A)), QString(QChar(0)), QStringLiteral("a'\\")}) {
        const Resultado r = db->ejecutar(QStringLiteral("select '") + sqlTexto(*db, v) + QStringLiteral("' as v"));
        EXPECT_EQ(r.valor(0, "v").texto(), v) << int(v.at(0).unicode());
    }
}

TEST_F(BaseCentral, RowsInServerOrderColumnsByNameAndNulls) {
    const Resultado r = db->ejecutar(QStringLiteral(
        "select 3 as a, NULL as b, 'x' as c union all select 1, 2.5, '' union all select 2, 0, 'z'"));
    ASSERT_EQ(r.filas(), 3);
    EXPECT_EQ(r.columnas(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(r.valor(0, "A").entero(), 3);
    EXPECT_EQ(r.valor(1, "a").entero(), 1);
    EXPECT_TRUE(r.valor(0, "b").esNulo());
    EXPECT_EQ(r.valor(0, "b").numero(), 0);
    EXPECT_FALSE(r.valor(1, "c").esNulo());
    EXPECT_DOUBLE_EQ(r.valor(1, "b").numero(), 2.5);
    EXPECT_THROW(r.valor(0, "missing"), DbError);
    EXPECT_THROW(r.valor(3, "a"), DbError);

    // Many rows of varying width keep every value whole and in its row (the values buffer
    // grows many times while reading).
    const Resultado g = db->ejecutar(
        QStringLiteral("select seq as n, repeat('x', seq % 300) as t, if(seq % 7 = 0, NULL, seq) as m from seq_1_to_3000"));
    ASSERT_EQ(g.filas(), 3000);
    for (int i : {0, 1, 298, 299, 1499, 2999}) {
        const int n = i + 1;
        EXPECT_EQ(g.valor(i, "n").entero(), n);
        EXPECT_EQ(g.valor(i, "t").texto(), QString(n % 300, QLatin1Char('x')));
        EXPECT_EQ(g.valor(i, "m").esNulo(), n % 7 == 0);
    }

    // Values of every length prefix the protocol has, NULLs before, between and after them, a
    // row all NULL, and bytes of every code: each comes back whole and in its place.
    const Resultado v = db->ejecutar(QStringLiteral(
        "select NULL as a, repeat('a', 250) as b, NULL as c, repeat('b', 251) as d, '' as e, repeat('c', 70000) as f, "
        "unhex('00FF80819D27') as g, NULL as h "
        "union all select NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL "
        "union all select 'x', '', 'y', NULL, 'z', '', NULL, 'w'"));
    ASSERT_EQ(v.filas(), 3);
    EXPECT_TRUE(v.valor(0, "a").esNulo());
    EXPECT_EQ(v.valor(0, "b").texto(), QString(250, QLatin1Char('a')));
    EXPECT_TRUE(v.valor(0, "c").esNulo());
    EXPECT_EQ(v.valor(0, "d").texto(), QString(251, QLatin1Char('b')));
    EXPECT_FALSE(v.valor(0, "e").esNulo());
    EXPECT_EQ(v.valor(0, "e").texto(), QString());
    EXPECT_EQ(v.valor(0, "f").texto(), QString(70000, QLatin1Char('c')));
    EXPECT_EQ(aCp1252(v.valor(0, "g").texto()), QByteArray::fromHex("00FF80819D27"));
    EXPECT_TRUE(v.valor(0, "h").esNulo());
    for (const char *c : {"a", "b", "c", "d", "e", "f", "g", "h"})
        EXPECT_TRUE(v.valor(1, c).esNulo()) << c;
    const QStringList tercera = {"x", "", "y", "", "z", "", "", "w"};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(v.valor(2, v.columnas()[c]).texto(), tercera[c]) << c;
    EXPECT_TRUE(v.valor(2, "d").esNulo());
    EXPECT_FALSE(v.valor(2, "b").esNulo());

    // An empty sum is NULL and counts as 0.
    const Resultado s = db->ejecutar(QStringLiteral("SELECT sum(tablas) as venta_ch FROM ma_principal where caballo='99'"));
    ASSERT_EQ(s.filas(), 1);
    EXPECT_TRUE(s.valor(0, "venta_ch").esNulo());

    // Changed rows are reported; an update that changes nothing reports 0.
    insertarUsuario(QStringLiteral("taq1"), QStringLiteral("x"));
    db->ejecutar(QStringLiteral("update usuarios set mac='AA' where usuario ='taq1' limit 1 "));
    EXPECT_EQ(db->filasAfectadas(), 1);
    db->ejecutar(QStringLiteral("update usuarios set mac='AA' where usuario ='taq1' limit 1 "));
    EXPECT_EQ(db->filasAfectadas(), 0);

    // One statement per call.
    EXPECT_THROW(db->ejecutar(QStringLiteral("select 1; select 2")), DbError);
    EXPECT_THROW(db->ejecutar(QStringLiteral("select * from no_such_table")), DbError);
}

TEST(Conexion, UnreachableServerFailsWithinTheTimeout) {
    FabricaMariaDb fabrica;
    QElapsedTimer t;
    t.start();
    EXPECT_THROW(fabrica.abrir(QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=127.0.0.1;port=1 ;uid=a;pwd=b;database=c;")),
                 DbError);
    EXPECT_THROW(fabrica.abrir(QStringLiteral("server=127.0.0.1;port=abc")), DbError);
    EXPECT_LT(t.elapsed(), 6000);
    // A wrong password is a failure too.
    QString cadena = prueba::cadenaServidor();
    cadena.replace(QStringLiteral("pwd=corvalo"), QStringLiteral("pwd=wrong"));
    EXPECT_THROW(fabrica.abrir(cadena), DbError);
}

TEST(BdLocalReal, CreateRecreateAndOpen) {
    FabricaMariaDb fabrica;
    DialogosAutomaticos dialogos;
    RelojSistema reloj;
    MaquinaNula maquina;
    Contexto ctx(fabrica, dialogos, reloj, maquina);
    ctx.cadenaLocal = prueba::cadenaLocalPrueba();
    auto servidor = fabrica.abrir(cadenaServidorLocal(ctx.cadenaLocal));
    servidor->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS bd_corvalo"));

    crear_bd_local(ctx);
    ctx.abrir_local();
    ASSERT_EQ(ctx.rs_conf_local.filas(), 1);
    EXPECT_EQ(ctx.rs_conf_local.valor(0, "puerto").texto(), QStringLiteral("WINDOWS2:"));
    EXPECT_EQ(ctx.rs_conf_local.valor(0, "version").entero(), 28001);
    EXPECT_EQ(ctx.rs_conf_local.valor(0, "tamletra").entero(), 8);
    EXPECT_EQ(ctx.rs_conf_local.valor(0, "ip_secundaria").texto(), servidorLocalPredeterminado());
    auto tipoPuesto = [&] {
        return servidor
            ->ejecutar(QStringLiteral("select data_type from information_schema.columns where table_schema='bd_corvalo' "
                                      "and table_name='rpt_jugadas' and column_name='puesto'"))
            .valor(0, "data_type")
            .texto();
    };
    EXPECT_EQ(tipoPuesto(), QStringLiteral("varchar"));
    EXPECT_EQ(servidor->ejecutar(QStringLiteral("select count(*) as n from information_schema.tables where "
                                                "table_schema='bd_corvalo'"))
                  .valor(0, "n")
                  .entero(),
              8);

    // A second creation fails at its first statement and leaves the database as it was.
    EXPECT_THROW(crear_bd_local(ctx), DbError);
    EXPECT_EQ(tipoPuesto(), QStringLiteral("varchar"));

    recrear_bd_local(ctx);
    EXPECT_EQ(tipoPuesto(), QStringLiteral("double"));
    ctx.abrir_local();

    // Deleting through the main window's command drops and creates it again.
    borrar_bd_local(ctx);
    EXPECT_EQ(tipoPuesto(), QStringLiteral("varchar"));

    // Re-creation where there is no database fails at the drop.
    servidor->ejecutar(QStringLiteral("DROP DATABASE bd_corvalo"));
    EXPECT_THROW(recrear_bd_local(ctx), DbError);

    // "Borrar BD Local" where there is no database, from a level whose login opened no local
    // connection: it is created and the connection left open names it.
    ctx.conexion_local.reset();
    servidor->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS bd_corvalo"));
    EXPECT_TRUE(borrar_bd_local(ctx));
    ASSERT_TRUE(ctx.conexion_local);
    EXPECT_EQ(ctx.local().ejecutar(QStringLiteral("select database() as d")).valor(0, "d").texto(),
              QStringLiteral("bd_corvalo"));
    EXPECT_EQ(tipoPuesto(), QStringLiteral("varchar"));
}
