// Many workstations at once on the private server: booths of one group selling the last tablas of
// a horse, one booth user on two workstations, simultaneous logins of one user, and a day of booth
// and Marcas sales whose codes are all different.
#include "backoffice.h"
#include "entorno_falso.h"
#include "impresion_falsa.h"
#include "login.h"
#include "servidor_prueba.h"
#include "texto.h"
#include "venta_marcas.h"
#include "venta_tablas.h"

#include <QSet>

#include <atomic>
#include <gtest/gtest.h>
#include <latch>
#include <thread>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

class Concurrencia : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cadena() = crearBaseCentral(QStringLiteral("t_concurrencia"));
        auto db = conectar(cadena());
        accesos() = backoffice::sembrarDemo(*db, QDate::currentDate());
        backoffice::fijarConfiguracion(*db, {"dolar_activado=0", "cupo_td_opcion=0", "cupo_tf_opcion=0",
                                             "opcioncupopt=0", "min_vbs=0", "modificar=1", "venta_pt=1"});
    }
    static QString &cadena() {
        static QString c;
        return c;
    }
    static QList<backoffice::Acceso> &accesos() {
        static QList<backoffice::Acceso> a;
        return a;
    }
    void SetUp() override {
        db = conectar(cadena());
        db->ejecutar(QStringLiteral("DELETE FROM ma_principal"));
        for (const auto &a : accesos())
            if (a.nivel == QLatin1String("Taquilla") && a.estatus != QLatin1String("Baja")) {
                usuario = a.usuario;
                grupo = a.grupo;
                break;
            }
        ASSERT_FALSE(usuario.isEmpty());
        const Resultado c = db->ejecutar(QStringLiteral("select * from configuracion"));
        carrera = c.valor(0, "carrera").texto();
        fecha = c.valor(0, "fecha").texto().left(10);
    }

    // One workstation: its own connection, dialogs and printer.
    struct Puesto {
        FabricaMariaDb fabrica;
        DialogosGrabados dialogos;
        RelojSistema reloj;
        MaquinaFalsa maquina;
        Contexto ctx{fabrica, dialogos, reloj, maquina};
        BoletosGrabados boletos;
        CupoCaballo cupo{};
        Puesto(const QString &cadena, const QString &usuario, const QString &grupo) {
            ctx.sesion.cadena_central = cadena;
            ctx.sesion.usuario = usuario;
            ctx.sesion.grupo = grupo;
            ctx.sesion.impresion = 1;
            ctx.conexion_central = conectar(cadena);
            ctx.abrir_configuracion();
        }
        ResultadoVenta vender(const QString &carrera, const QString &caballo, const QString &tablas) {
            VentaTablas v(ctx, cupo, &boletos);
            return v.procesar({carrera, caballo, tablas, 1, QStringLiteral("BS")});
        }
    };

    std::unique_ptr<BaseDatos> db;
    QString usuario, grupo, carrera, fecha;
};

TEST_F(Concurrencia, FiftyBoothsOfOneGroupSellingTheLastTablasNeverPassTheHorsesLimit) {
    // Horse 1 may take 30 tablas of the group, 2 a bet; the group has sold 21 already. Every
    // booth passes its first check, then all confirm at the same moment.
    db->ejecutar(QStringLiteral("UPDATE carreras SET apuesta_max_td=30 WHERE carrera='") + carrera +
                 QStringLiteral("' AND fecha='") + fecha + QStringLiteral("' ORDER BY id_carrera LIMIT 1"));
    backoffice::fijarConfiguracion(*db, {"apuesta_max_td=2"});
    struct Caso {
        int vendidas, pedido;
        double total; // tablas of the group on the horse afterwards
        int ventas;
    };
    const Caso casos[] = {{21, 2, 29, 4}, {0, 1, 30, 30}};
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.vendidas);
        db->ejecutar(QStringLiteral("DELETE FROM ma_principal"));
        if (c.vendidas > 0) {
            Puesto p(cadena(), usuario, grupo);
            for (int hechas = 0; hechas < c.vendidas; hechas += 1)
                ASSERT_EQ(p.vender(carrera, QStringLiteral("1"), QStringLiteral("1")).tipo,
                          ResultadoVenta::Tipo::Registrada);
        }
        constexpr int kPuestos = 50;
        std::vector<std::unique_ptr<Puesto>> puestos;
        for (int i = 0; i < kPuestos; ++i)
            puestos.push_back(std::make_unique<Puesto>(cadena(), usuario, grupo));
        std::latch confirmando(kPuestos);
        std::atomic<int> registradas = 0, rechazadas = 0;
        std::vector<std::thread> hilos;
        for (auto &p : puestos) {
            p->dialogos.alPreguntar = [&] { confirmando.arrive_and_wait(); };
            hilos.emplace_back([&, q = p.get()] {
                const ResultadoVenta r = q->vender(carrera, QStringLiteral("1"), QString::number(c.pedido));
                if (r.tipo == ResultadoVenta::Tipo::Registrada)
                    ++registradas;
                else if (r.mensaje.startsWith(
                             QStringLiteral("EL Nº DE TABLAS ES MAYOR AL PERMITIDO, DISPONIBLE: ")))
                    ++rechazadas;
            });
        }
        for (auto &h : hilos)
            h.join();
        const Resultado s = db->ejecutar(QStringLiteral(
            "SELECT COUNT(*) AS n, SUM(tablas) AS t, SUM(nu_boleto='') AS sin FROM ma_principal"));
        EXPECT_EQ(s.valor(0, "t").numero(), c.total);
        EXPECT_EQ(s.valor(0, "sin").entero(), 0);
        EXPECT_EQ(registradas.load(), c.ventas);
        EXPECT_EQ(rechazadas.load(), kPuestos - c.ventas);
    }
}

TEST_F(Concurrencia, OneBoothUserOnTwoWorkstationsGetsARowAndACodeForEverySale) {
    Puesto a(cadena(), usuario, grupo), b(cadena(), usuario, grupo);
    std::latch salida(2);
    auto vender = [&](Puesto &p) {
        salida.arrive_and_wait();
        for (int i = 0; i < 20; ++i) {
            const ResultadoVenta r = p.vender(carrera, QString::number(1 + i % 3), QStringLiteral("1"));
            EXPECT_EQ(r.tipo, ResultadoVenta::Tipo::Registrada) << r.mensaje.toStdString();
        }
    };
    std::thread ha(vender, std::ref(a)), hb(vender, std::ref(b));
    ha.join();
    hb.join();
    const Resultado r = db->ejecutar(QStringLiteral("SELECT numero, nu_boleto, llave1 FROM ma_principal"));
    ASSERT_EQ(r.filas(), 40);
    QSet<QString> codigos;
    for (int i = 0; i < r.filas(); ++i) {
        EXPECT_FALSE(r.valor(i, "llave1").texto().isEmpty());
        codigos.insert(r.valor(i, "nu_boleto").texto());
    }
    EXPECT_EQ(codigos.size(), 40);
    EXPECT_FALSE(codigos.contains(QString()));
    // Each workstation printed the codes of its own rows.
    QSet<QString> impresos;
    for (const Puesto *p : {&a, &b})
        for (const Boleto &t : p->boletos.impresos)
            impresos.insert(t.nu_boleto);
    EXPECT_EQ(impresos, codigos);
}

TEST_F(Concurrencia, NoTwoTicketsOfADayShareACodeAcrossBoothAndMarcasSales) {
    // A Tablas Dinamicas and a Marcas code are both "4" + MMDD + the row's number, each table
    // numbering on its own: a day of booth and operator sales in turn gives no code twice.
    backoffice::fijarConfiguracion(*db, {"venta_mk=1", "cupo_mk_opcion=0"});
    db->ejecutar(QStringLiteral("DELETE FROM ma_marcas"));
    Puesto taquilla(cadena(), usuario, grupo);
    Puesto operador(cadena(), QStringLiteral("oper1"), QStringLiteral("G01"));
    operador.ctx.abrir_grupos();
    operador.ctx.abrir_hipodromos();
    // Two open horses of the current race at its racetrack, as Marcas counts them.
    const Resultado pista = db->ejecutar(QStringLiteral("SELECT id_hipodromo FROM carreras WHERE carrera='") +
                                         carrera + QStringLiteral("' AND fecha='") + fecha +
                                         QStringLiteral("' ORDER BY id_carrera LIMIT 1"));
    ASSERT_FALSE(pista.vacio());
    const QString idPista = pista.valor(0, "id_hipodromo").texto();
    const Resultado caballos =
        db->ejecutar(QStringLiteral("SELECT * FROM carreras where  carrera ='") + carrera +
                     QStringLiteral("' and fecha  = '") + fecha + QStringLiteral("'  and id_hipodromo  = '") +
                     idPista + QStringLiteral("'"));
    QStringList abiertos;
    for (int i = 0; i < caballos.filas() && abiertos.size() < 2; ++i)
        if (caballos.valor(i, "ret_mk").entero() != 1 && caballos.valor(i, "estado_mk").entero() != 1)
            abiertos << QString::number(i + 1);
    ASSERT_EQ(abiertos.size(), 2);
    QString nombrePista;
    for (int i = 0; i < operador.ctx.rs_hipodromos.filas(); ++i)
        if (operador.ctx.rs_hipodromos.valor(i, "id_hipodromo").texto() == idPista)
            nombrePista = operador.ctx.rs_hipodromos.valor(i, "hipodromo").texto();
    const QString cliente =
        db->ejecutar(QStringLiteral("SELECT ch FROM grupos WHERE id_tipo=2 LIMIT 1")).valor(0, "ch").texto();

    QStringList codigos;
    for (int i = 0; i < 15; ++i) {
        const ResultadoVenta t = taquilla.vender(carrera, QStringLiteral("1"), QStringLiteral("1"));
        ASSERT_EQ(t.tipo, ResultadoVenta::Tipo::Registrada) << t.mensaje.toStdString();
        codigos << t.boleto->nu_boleto;
        DatosJugada d{carrera, abiertos[0], QStringLiteral("1"), 4, QStringLiteral("BS")};
        d.cliente = cliente;
        d.caballo2 = abiertos[1];
        d.hipodromo = nombrePista;
        const ResultadoVenta m = VentaMarcas(operador.ctx, operador.cupo, &operador.boletos).procesar(d);
        ASSERT_EQ(m.tipo, ResultadoVenta::Tipo::Registrada) << m.mensaje.toStdString();
        codigos << m.boleto->nu_boleto;
    }
    // Same game digit and day on both kinds of ticket: only the numbers keep them apart.
    EXPECT_EQ(codigos[0].left(5), codigos[1].left(5));
    const Resultado todos = db->ejecutar(
        QStringLiteral("SELECT nu_boleto FROM ma_principal UNION ALL SELECT nu_boleto FROM ma_marcas"));
    QSet<QString> distintos;
    for (int i = 0; i < todos.filas(); ++i)
        distintos.insert(todos.valor(i, "nu_boleto").texto());
    EXPECT_EQ(todos.filas(), 30);
    EXPECT_EQ(distintos.size(), 30);
    EXPECT_EQ(QSet<QString>(codigos.begin(), codigos.end()), distintos);
}

TEST_F(Concurrencia, OfSimultaneousLoginsOfOneUserExactlyOneTakesTheWorkstationLock) {
    struct Caso {
        const char *mac;   // the address the row holds
        const char *fecha; // the day of its login (empty: today)
        int entran;        // logins of four other machines that get through
    };
    const Caso casos[] = {{"", "", 1}, {"AA-AA-AA-AA-AA-AA", "", 0}, {"AA-AA-AA-AA-AA-AA", "2001-01-01", 1}};
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.mac);
        const QString dia = *c.fecha ? QString::fromLatin1(c.fecha) : fecha;
        db->ejecutar(QStringLiteral("UPDATE usuarios SET mac='") + QLatin1String(c.mac) +
                     QStringLiteral("', fecha_ingreso='") + dia + QStringLiteral("' WHERE usuario='") +
                     usuario + QStringLiteral("'"));
        constexpr int kEquipos = 4;
        std::vector<std::unique_ptr<BaseDatos>> conexiones;
        for (int i = 0; i < kEquipos; ++i)
            conexiones.push_back(conectar(cadena()));
        std::latch salida(kEquipos);
        std::atomic<int> entraron = 0;
        std::vector<std::thread> hilos;
        for (int i = 0; i < kEquipos; ++i)
            hilos.emplace_back([&, i] {
                BaseDatos &d = *conexiones[std::size_t(i)];
                const QString mac = QStringLiteral("0%1-00-00-00-00-00").arg(i);
                salida.arrive_and_wait();
                d.ejecutar(sentenciaIngreso(d, fecha, QStringLiteral("10:00:00"), mac,
                                            QStringLiteral("10.0.0.1"), usuario));
                if (d.filasAfectadas() == 1)
                    ++entraron;
            });
        for (auto &h : hilos)
            h.join();
        EXPECT_EQ(entraron.load(), c.entran);
    }
}

} // namespace
