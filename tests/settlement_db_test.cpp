// Ticket payment against the private server: what each status, age, key, booth and code shows
// on both paths, what paying leaves in the rows, and twenty workstations paying one ticket.
#include "backoffice.h"
#include "cobro.h"
#include "entorno_falso.h"
#include "llaves.h"
#include "moneda.h"
#include "servidor_prueba.h"
#include "texto.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <atomic>
#include <barrier>
#include <map>
#include <thread>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

const QDate kHoy(2026, 3, 25);

struct RecibosContados : ImpresionRecibos {
    std::atomic<int> n{0};
    void imprimir(const Recibo &) override { ++n; }
};

QStringList textos(const std::vector<Campo> &fila) {
    QStringList t;
    for (const Campo &c : fila)
        t << c.texto();
    return t;
}

struct Ticket {
    RutaCobro ruta = RutaCobro::Tablas;
    int estatus = 1;
    int edad = 0; // days before the working date
    bool archivado = false;
    QString taquilla = "taq1";
    QString grupo = "G01";
    double cobrado = 40;
};

class PagoReal : public ::testing::Test {
protected:
    static inline QString *cadena = nullptr;
    static void SetUpTestSuite() {
        cadena = new QString(crearBaseCentral("t_pay_logic"));
        auto db = conectar(*cadena);
        backoffice::sembrarDemo(*db, kHoy);
        backoffice::fijarConfiguracion(*db, {"fecha=" + fechaSql(kHoy), "dias=3", "cobroespecial=1"});
    }

    FabricaMariaDb fabrica;
    DialogosGrabados dialogos;
    RelojFijo reloj;
    MaquinaFalsa maquina;
    Contexto ctx{fabrica, dialogos, reloj, maquina};
    RecibosContados recibos;
    Cobro cobro{ctx, &recibos};
    std::unique_ptr<BaseDatos> db;
    static inline int siguiente = 1000;

    void SetUp() override {
        db = conectar(*cadena);
        ctx.conexion_central = conectar(*cadena);
        ctx.sesion.usuario = "taq1";
        ctx.sesion.grupo = "G01";
        ctx.sesion.ticket_cobro = 1;
        ctx.sesion.impresion = 1;
        config({"cobroespecial=1", "dias=3"});
    }
    void config(const QStringList &a) { backoffice::fijarConfiguracion(*db, a); }

    // Inserts a ticket with correct keys; returns its code.
    QString insertar(const Ticket &t) {
        const bool tablas = t.ruta == RutaCobro::Tablas;
        const QString nu = QString(tablas ? "4" : "3") + kHoy.toString("MMdd") + QString::number(++siguiente);
        const Llaves k = llavesBoleto(nu, "5", "20", "3", t.grupo);
        const QString tabla = t.archivado ? "ventas" : "ma_principal";
        db->ejecutar(
            "INSERT INTO " + tabla +
            " (carrera,caballo,monto,tablas,puesto,taquilla,grupo,hora,fecha,cobrado,fecha_cobro,estatus,"
            "nu_boleto,id_juego,id_moneda,llave1,llave2,llave3,llave4) VALUES ('3','5','20','" +
            (tablas ? "2" : "0") + "','" + (tablas ? "0" : "0.3") + "','" + t.taquilla + "','" + t.grupo +
            "','10:00','" + fechaSql(kHoy.addDays(-t.edad)) + "','" + textoNumero(t.cobrado) + "','','" +
            QString::number(t.estatus) + "','" + nu + "','" + (tablas ? "1" : "3") + "','1','" +
            sqlTexto(*db, k.llave1) + "','" + sqlTexto(*db, k.llave2) + "','" + sqlTexto(*db, k.llave3) +
            "','0')");
        return nu;
    }
    Resultado fila(const QString &nu, const QString &tabla = "ma_principal") {
        return db->ejecutar("SELECT * FROM " + tabla + " WHERE nu_boleto='" + nu + "'");
    }
};

TEST_F(PagoReal, EveryStatusOnBothPathsAndWhatPayingLeaves) {
    struct Caso {
        RutaCobro ruta;
        int estatus;
        bool cambia;
        const char *mensaje;
        bool pagable;
        int pagado; // status after paying (payable cases)
    };
    const Caso casos[] = {
        {RutaCobro::Tablas, 0, true, "BOLETO NO GANADOR", false, 0},
        {RutaCobro::Tablas, 1, true, "CABALLO GANADOR", true, 2},
        {RutaCobro::Tablas, 2, true, "BOLETO YA PAGADO", false, 0},
        {RutaCobro::Tablas, 3, true, "BOLETO YA PAGADO", false, 0},
        {RutaCobro::Tablas, 4, true, "CABALLO RETIRADO", true, 3},
        {RutaCobro::Tablas, 5, false, "", false, 0},
        {RutaCobro::Tablas, 7, false, "", false, 0},
        {RutaCobro::Puestos, 0, true, "BOLETO NO GANADOR", false, 0},
        {RutaCobro::Puestos, 1, true, "BOLETO GANADOR", true, 2},
        {RutaCobro::Puestos, 2, true, "BOLETO YA COBRADO", false, 0},
        {RutaCobro::Puestos, 3, true, "BOLETO YA COBRADO", false, 0},
        {RutaCobro::Puestos, 4, true, "CABALLO RETIRADO", true, 3},
        {RutaCobro::Puestos, 5, true, "BOLETO EMPATE", true, 2},
        {RutaCobro::Puestos, 7, false, "", false, 0},
    };
    for (bool archivado : {false, true})
        for (const Caso &c : casos) {
            SCOPED_TRACE(QStringLiteral("%1 status %2 archived %3")
                             .arg(c.ruta == RutaCobro::Tablas ? "Tablas" : "Puestos")
                             .arg(c.estatus)
                             .arg(archivado)
                             .toStdString());
            const QString nu = insertar({c.ruta, c.estatus, 1, archivado});
            const ConsultaCobro r = cobro.consultar(nu, c.ruta);
            EXPECT_EQ(r.cambiaPanel, c.cambia);
            EXPECT_EQ(r.mensaje, QString::fromUtf8(c.mensaje));
            EXPECT_EQ(r.pagable, c.pagable);
            EXPECT_TRUE(r.cuadro.isEmpty());
            EXPECT_EQ(cobro.archivo, archivado);
            const int antes = recibos.n;
            const ResultadoPago p = cobro.pagar(nu, c.ruta);
            EXPECT_EQ(p.hecho, c.pagable);
            const Resultado f = fila(nu, archivado ? "ventas" : "ma_principal");
            EXPECT_EQ(f.valor(0, "estatus").entero(), c.pagable ? c.pagado : c.estatus);
            EXPECT_EQ(f.valor(0, "fecha_cobro").texto(), c.pagable ? fechaSql(kHoy) : QString());
            EXPECT_EQ(recibos.n - antes, c.pagable ? 1 : 0);
            if (c.pagable) {
                EXPECT_EQ(r.monto, QStringLiteral("Bs.S40,00"));
                EXPECT_EQ(p.recibo->monto, QStringLiteral("Bs.S40,00"));
                const ConsultaCobro otra = cobro.consultar(nu, c.ruta);
                EXPECT_EQ(otra.mensaje, c.ruta == RutaCobro::Tablas ? QStringLiteral("BOLETO YA PAGADO")
                                                                    : QStringLiteral("BOLETO YA COBRADO"));
            }
        }
}

TEST_F(PagoReal, AgeLimitFromTheWorkingDate) {
    struct Caso {
        RutaCobro ruta;
        int estatus, edad;
        bool pagable;
    };
    const Caso casos[] = {
        {RutaCobro::Tablas, 1, 3, true},  {RutaCobro::Tablas, 1, 4, false},
        {RutaCobro::Tablas, 4, 3, true},  {RutaCobro::Tablas, 4, 4, false},
        {RutaCobro::Puestos, 1, 3, true}, {RutaCobro::Puestos, 1, 4, false},
        {RutaCobro::Puestos, 5, 3, true}, {RutaCobro::Puestos, 5, 4, false},
        {RutaCobro::Puestos, 4, 4, true}, {RutaCobro::Puestos, 4, 400, true},
        {RutaCobro::Tablas, 1, -1, true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("status %1 age %2").arg(c.estatus).arg(c.edad).toStdString());
        const QString nu = insertar({c.ruta, c.estatus, c.edad, true});
        const ConsultaCobro r = cobro.consultar(nu, c.ruta);
        EXPECT_EQ(r.pagable, c.pagable);
        if (!c.pagable) {
            EXPECT_EQ(r.mensaje, QStringLiteral("BOLETO CADUCADO"));
        }
    }
    // The workstation clock plays no part.
    reloj.momento = QDateTime(kHoy.addDays(30), QTime(9, 0));
    EXPECT_TRUE(cobro.consultar(insertar({RutaCobro::Tablas, 1, 3}), RutaCobro::Tablas).pagable);
}

TEST_F(PagoReal, KeyMismatchesStopTheLookupOnlyWithCobroespecial) {
    const QString t1 = "Este boleto presenta una alteración, verificar bien los datos del boleto";
    const QString t2 =
        "Este boleto presenta una alteración en el monto de carrera, verificar bien los datos del boleto";
    const QString t3 =
        "Este boleto presenta una alteración en el numero de carrera, verificar bien los datos del boleto";
    struct Caso {
        const char *nombre;
        QString cambio; // applied to the row after the sale
        QString grupo, taquilla;
        QString cuadro;
        QString sinLlaves; // message with cobroespecial 0
    };
    const Caso casos[] = {
        {"horse edited", "caballo='6'", "G01", "taq1", t1, "CABALLO GANADOR"},
        {"amount edited", "monto='200'", "G01", "taq1", t2, "CABALLO GANADOR"},
        {"race edited", "carrera='4'", "G01", "taq1", t3, "CABALLO GANADOR"},
        {"horse and race edited: the first check wins", "caballo='6',carrera='4'", "G01", "taq1", t1,
         "CABALLO GANADOR"},
        {"another group's ticket", "", "G02", "taq2", t1, "EL BOLETO NO PERTENECE A ESTA TAQUILLA"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        for (const char *especial : {"1", "0", "2"}) {
            config({QStringLiteral("cobroespecial=") + especial});
            Ticket t;
            t.grupo = c.grupo;
            t.taquilla = c.taquilla;
            const QString nu = insertar(t);
            if (!c.cambio.isEmpty())
                db->ejecutar("UPDATE ma_principal SET " + c.cambio + " WHERE nu_boleto='" + nu + "'");
            dialogos.textos.clear();
            const ConsultaCobro r = cobro.consultar(nu, RutaCobro::Tablas);
            if (QString(especial) == "1") {
                EXPECT_EQ(r.cuadro, c.cuadro);
                EXPECT_EQ(r.tituloCuadro, QStringLiteral("Seguridad del Sistema"));
                EXPECT_EQ(r.icono, Icono::Error);
                EXPECT_FALSE(r.cambiaPanel);
                EXPECT_EQ(cobro.estatus_consultado, 0);
                EXPECT_FALSE(cobro.pagar(nu, RutaCobro::Tablas).hecho);
            } else {
                EXPECT_TRUE(r.cuadro.isEmpty());
                EXPECT_EQ(r.mensaje, c.sinLlaves);
            }
        }
    }
    config({"cobroespecial=1"});
    EXPECT_TRUE(cobro.consultar(insertar({}), RutaCobro::Tablas).pagable); // untouched keys pass
}

TEST_F(PagoReal, BoothCodesAndPaths) {
    const QString otra = insertar({RutaCobro::Tablas, 1, 0, false, "taq3"});
    const QString otraPt = insertar({RutaCobro::Puestos, 1, 0, false, "taq3"});
    const QString tablas = insertar({RutaCobro::Tablas, 1});
    const QString puestos = insertar({RutaCobro::Puestos, 1});
    struct Caso {
        const char *nombre;
        QString codigo;
        RutaCobro ruta;
        QString mensaje;
        bool pagable;
    };
    const Caso casos[] = {
        {"another booth, Tablas", otra, RutaCobro::Tablas, "EL BOLETO NO PERTENECE A ESTA TAQUILLA", false},
        {"another booth, Puestos", otraPt, RutaCobro::Puestos, "El BOLETO ES DE OTRA TAQUILLA", false},
        {"trailing blank, Tablas", tablas + " ", RutaCobro::Tablas, "VERIFIQUE EL NUMERO DEL BOLETO", false},
        {"trailing blank, Puestos", puestos + " ", RutaCobro::Puestos, "BOLETO GANADOR", true},
        {"Los Puestos ticket on the Tablas path", puestos, RutaCobro::Tablas,
         "VERIFIQUE EL NUMERO DEL BOLETO", false},
        {"unknown code, Tablas", "999999", RutaCobro::Tablas, "VERIFIQUE EL NUMERO DEL BOLETO", false},
        {"unknown code, Puestos", "999999", RutaCobro::Puestos, "BOLETO NO GANADOR", false},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        const ConsultaCobro r = cobro.consultar(c.codigo, c.ruta);
        EXPECT_TRUE(r.cambiaPanel);
        EXPECT_EQ(r.mensaje, c.mensaje);
        EXPECT_EQ(r.pagable, c.pagable);
        EXPECT_EQ(cobro.pagar(c.codigo, c.ruta).hecho, c.pagable);
    }
    EXPECT_EQ(fila(puestos).valor(0, "estatus").entero(), 2);
    EXPECT_EQ(fila(otra).valor(0, "estatus").entero(), 1);
}

TEST_F(PagoReal, ArchivedPrizeMovesInTheDayTotalsOfItsDateGroupGameAndCurrency) {
    for (RutaCobro ruta : {RutaCobro::Tablas, RutaCobro::Puestos}) {
        const QString juego = ruta == RutaCobro::Tablas ? "1" : "3";
        const QString dia = fechaSql(kHoy.addDays(-2));
        db->ejecutar("DELETE FROM ventas_general WHERE fecha='" + dia + "'");
        // The ticket's row first; then its game in dollars, another game, and another group.
        db->ejecutar(
            "INSERT INTO ventas_general (fecha,grupo,id_juego,id_moneda,venta,premios,saldo,monto_porpagar) "
            "VALUES ('" +
            dia + "','G01','" + juego + "','1','1000','300','700','90'),('" + dia + "','G01','" + juego +
            "','2','1000','300','700','90'),('" + dia + "','G01','2','1','1000','300','700','90'),('" + dia +
            "','G02','" + juego + "','1','500','100','400','50')");
        const QString nu = insertar({ruta, 1, 2, true, "taq1", "G01", 37.5});
        ASSERT_TRUE(cobro.consultar(nu, ruta).pagable);
        ASSERT_TRUE(cobro.pagar(nu, ruta).hecho);
        const Resultado g =
            db->ejecutar("SELECT premios,saldo,monto_porpagar FROM ventas_general WHERE fecha='" + dia +
                         "' ORDER BY grupo,id_juego<>'" + juego + "',id_juego,id_moneda");
        ASSERT_EQ(g.filas(), 4);
        const QStringList esperado{"337.5 662.5 52.5", "300 700 90", "300 700 90", "100 400 50"};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(textos(g.fila(i)).join(' '), esperado[i]) << i;
        EXPECT_EQ(fila(nu, "ventas").valor(0, "estatus").entero(), 2);
    }
    // No totals row for the date: the ticket is still paid, nothing else changes.
    const QString nu = insertar({RutaCobro::Tablas, 1, 3, true});
    db->ejecutar("DELETE FROM ventas_general WHERE fecha='" + fechaSql(kHoy.addDays(-3)) + "'");
    ASSERT_TRUE(cobro.consultar(nu, RutaCobro::Tablas).pagable);
    EXPECT_TRUE(cobro.pagar(nu, RutaCobro::Tablas).hecho);
    EXPECT_EQ(fila(nu, "ventas").valor(0, "estatus").entero(), 2);
}

TEST_F(PagoReal, TwentyWorkstationsPayingOneTicketPayItOnce) {
    for (RutaCobro ruta : {RutaCobro::Tablas, RutaCobro::Puestos}) {
        const QString dia = fechaSql(kHoy.addDays(-1));
        db->ejecutar("DELETE FROM ventas_general WHERE fecha='" + dia + "'");
        db->ejecutar(
            "INSERT INTO ventas_general (fecha,grupo,id_juego,id_moneda,venta,premios,saldo,monto_porpagar) "
            "VALUES ('" +
            dia + "','G01','" + (ruta == RutaCobro::Tablas ? "1" : "3") + "','1','1000','300','700','90')");
        const QString nu = insertar({ruta, 1, 1, true});
        constexpr int kN = 20;
        struct Puesto {
            FabricaMariaDb fabrica;
            DialogosGrabados dialogos;
            RelojFijo reloj;
            MaquinaFalsa maquina;
            Contexto ctx{fabrica, dialogos, reloj, maquina};
        };
        std::vector<std::unique_ptr<Puesto>> puestos;
        std::vector<std::unique_ptr<Cobro>> cobros;
        RecibosContados contados;
        for (int i = 0; i < kN; ++i) {
            puestos.push_back(std::make_unique<Puesto>());
            puestos.back()->ctx.conexion_central = conectar(*cadena);
            puestos.back()->ctx.sesion = ctx.sesion;
            cobros.push_back(std::make_unique<Cobro>(puestos.back()->ctx, &contados));
        }
        std::atomic<int> pagables{0}, hechos{0}, yaPagados{0};
        std::barrier juntos(kN);
        std::vector<std::thread> hilos;
        for (int i = 0; i < kN; ++i)
            hilos.emplace_back([&, i] {
                if (cobros[i]->consultar(nu, ruta).pagable)
                    ++pagables;
                juntos.arrive_and_wait();
                const ResultadoPago p = cobros[i]->pagar(nu, ruta);
                hechos += p.hecho;
                yaPagados += !p.mensaje.isEmpty();
            });
        for (auto &h : hilos)
            h.join();
        EXPECT_EQ(pagables, kN);
        EXPECT_EQ(hechos, 1);
        EXPECT_EQ(yaPagados, kN - 1);
        EXPECT_EQ(contados.n, 1);
        const Resultado g = db->ejecutar("SELECT * FROM ventas_general WHERE fecha='" + dia + "'");
        EXPECT_EQ(g.valor(0, "premios").numero(), 340.0);
        EXPECT_EQ(g.valor(0, "saldo").numero(), 660.0);
        EXPECT_EQ(g.valor(0, "monto_porpagar").numero(), 50.0);
        EXPECT_EQ(fila(nu, "ventas").valor(0, "estatus").entero(), 2);
    }
}

} // namespace

namespace {

// Tickets of every game and currency of a day that the back-office processes and closes: the day
// has one totals row per game and currency of the group, and paying each archived prize moves
// exactly the row of its game and currency.
TEST_F(PagoReal, ArchivedTicketsOfEveryGameAndCurrencyMoveExactlyTheirRow) {
    // A day of its own, within the collection period (dias is raised for it).
    const QDate dia = kHoy.addDays(-9);
    config({"dias=10"});
    db->ejecutar("DELETE FROM ventas WHERE fecha='" + fechaSql(dia) + "'");
    struct Boleto {
        int juego, moneda;
        double monto;
        QString nu;
    };
    std::vector<Boleto> boletos;
    for (int juego : {1, 2, 3})
        for (int moneda : {1, 2})
            boletos.push_back({juego, moneda, 10.0 * (int(boletos.size()) + 1),
                               QString::number(juego) + dia.toString("MMdd") + QString::number(++siguiente)});
    for (const Boleto &b : boletos)
        db->ejecutar(
            "INSERT INTO ma_principal (carrera,caballo,monto,tablas,puesto,taquilla,grupo,hora,fecha,"
            "cobrado,fecha_cobro,estatus,nu_boleto,id_juego,id_moneda,llave1,llave2,llave3,llave4) VALUES "
            "('9','5','" +
            textoNumero(b.monto) + "','" + (b.juego == 3 ? "0" : "2") + "','0','taq1','G01','10:00','" +
            fechaSql(dia) + "','0','','0','" + b.nu + "','" + QString::number(b.juego) + "','" +
            QString::number(b.moneda) + "','0','0','0','0')");
    backoffice::Resultados r;
    r.fecha = dia;
    r.carrera = 9;
    r.ganadores = {5};
    r.premioPorUnidad = 2;
    backoffice::cargarResultados(*db, r);
    backoffice::archivarDia(*db, dia);

    // "game currency: venta premios saldo monto_porpagar" of each row of the group.
    auto totales = [&] {
        const Resultado t =
            db->ejecutar("SELECT * FROM ventas_general WHERE fecha='" + fechaSql(dia) + "' AND grupo='G01'");
        std::map<std::pair<int, int>, QString> m;
        for (int i = 0; i < t.filas(); ++i)
            m[{t.valor(i, "id_juego").entero(), t.valor(i, "id_moneda").entero()}] =
                QStringList{t.valor(i, "venta").texto(), t.valor(i, "premios").texto(),
                            t.valor(i, "saldo").texto(), t.valor(i, "monto_porpagar").texto()}
                    .join(' ');
        return m;
    };
    std::map<std::pair<int, int>, QString> esperado;
    for (const Boleto &b : boletos)
        esperado[{b.juego, b.moneda}] =
            QStringList{textoNumero(b.monto), "0", textoNumero(b.monto), textoNumero(2 * b.monto)}.join(' ');
    ASSERT_EQ(totales(), esperado);
    for (const Boleto &b : boletos) {
        SCOPED_TRACE(b.nu.toStdString());
        const RutaCobro ruta = b.juego == 3 ? RutaCobro::Puestos : RutaCobro::Tablas;
        ASSERT_TRUE(cobro.consultar(b.nu, ruta).pagable);
        ASSERT_TRUE(cobro.pagar(b.nu, ruta).hecho);
        // The prize moved from what is owed to what was paid in its row alone.
        const double premio = 2 * b.monto;
        esperado[{b.juego, b.moneda}] =
            QStringList{textoNumero(b.monto), textoNumero(premio), textoNumero(b.monto - premio), "0"}.join(
                ' ');
        EXPECT_EQ(totales(), esperado);
        EXPECT_EQ(fila(b.nu, "ventas").valor(0, "estatus").entero(), 2);
    }
}

} // namespace
