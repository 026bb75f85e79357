// The day summary, the day sheet and the sales and payments lists on the recording fake: every
// statement text of both screens, the figures and their formats, the refusals, the sheet's bytes
// and printer lines on both outputs, and the lists' statements and column setups.
#include "entorno_falso.h"
#include "hoja_dia.h"
#include "impresion_falsa.h"
#include "resumen_dia.h"
#include "texto.h"
#include "ventas_pagos.h"

#include <gtest/gtest.h>

using namespace corvalo;
using namespace corvalo::prueba;

namespace {

const QDate kTrabajo(2026, 3, 25);
const QDate kArchivado(2026, 3, 20);

class Resumen : public ::testing::Test {
protected:
    EntornoFalso e;
    void SetUp() override {
        e.db->responder("select * from configuracion", fila({{"fecha", "2026-03-25 00:00:00"}}));
        e.db->responder("SELECT count(numero)as cant_anulados", fila({{"cant_anulados", "0"}}));
        for (const char *c : {"monto_porcobrar", "monto_porpagar"})
            e.db->responder(QStringLiteral("SELECT sum(cobrado) as ") + c,
                            fila({{c, "0"}, {"cant_mpc", "0"}}));
        e.db->responder("SELECT sum(cobrado) as monto_cobrado",
                        fila({{"monto_cobrado", "0"}, {"cant_mc", "0"}}));
        e.db->responder("SELECT sum(monto) as venta", fila({{"venta", "0"}, {"cant_venta", "0"}}));
        e.ctx.sesion.usuario = "taq1";
        e.ctx.sesion.id_moneda = 1;
    }
    // The four figure statements run by the summary, after configuracion and the two races.
    QStringList figuras() const { return e.db->sentencias.mid(3); }
};

struct CasoSentencias {
    const char *nombre;
    PantallaVenta pantalla;
    BusquedaResumen busqueda;
    int juego;
    QDate dia;
    const char *carrera;
    int moneda;
    const char *anulados, *porPagar, *pagados, *venta;
};

const CasoSentencias kCasos[] = {
    {"Tablas Dinamicas, archived day, every race", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1,
     kArchivado, "", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and id_juego=1",
     "SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc FROM ventas where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=1",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-20' and taquilla='taq1' and id_juego=1",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta FROM ventas where  fecha = '2026-03-20' and "
     "taquilla='taq1'  and id_juego=1"},
    {"Tablas Dinamicas, archived day, one race", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1,
     kArchivado, "5", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and carrera='5'   and id_juego=1",
     "SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc  FROM ventas where (estatus=4 or "
     "estatus=1)  and fecha  like '2026-03-20' and taquilla='taq1' and carrera='5'  and id_juego=1",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-20' and taquilla='taq1' and carrera='5' and id_juego=1",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta FROM ventas where  fecha = '2026-03-20' and "
     "taquilla='taq1' and carrera='5'  and id_juego=1"},
    {"Tablas Dinamicas, working date, TODAS", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1, kTrabajo,
     "TODAS", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and id_juego=1",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-25' and taquilla='taq1'  and id_juego=1",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=3)  and fecha  = '2026-03-25' and taquilla='taq1'  and id_juego=1",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-25' "
     "and taquilla='taq1'  and id_juego=1"},
    {"Tablas Dinamicas, working date, one race", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1,
     kTrabajo, "05", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and carrera='05' and id_juego=1",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-25' and taquilla='taq1' and carrera='05'  and id_juego=1",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-25' and taquilla='taq1' and carrera='05'  and id_juego=1",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-25' "
     "and taquilla='taq1' and carrera='05'  and id_juego=1"},
    {"Tabla Fija, archived day, every race", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 2, kArchivado,
     "", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1'  and id_juego=2",
     "SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc FROM ventas where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=2",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-20' and taquilla='taq1' and id_juego=2",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta FROM ventas where  fecha = '2026-03-20' and "
     "taquilla='taq1'  and id_juego=2"},
    {"Tabla Fija, a day after the working date reads today's table", PantallaVenta::Operador,
     BusquedaResumen::Tablas, 2, QDate(2026, 3, 26), "", 2,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-26' and "
     "taquilla='taq1' and id_juego=2",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-26' and taquilla='taq1'  and id_juego=2",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=3)  and fecha  = '2026-03-26' and taquilla='taq1'  and id_juego=2",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-26' "
     "and taquilla='taq1'  and id_juego=2"},
    {"Marcas, archived day, every race", PantallaVenta::Operador, BusquedaResumen::Tablas, 4, kArchivado, "",
     1,
     "SELECT count(numero)as cant_anulados FROM bitacora_mk where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1'  and id_juego=4",
     "SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc FROM ventas_mk where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=4",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas_mk where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-20' and taquilla='taq1' and id_juego=4",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta FROM ventas_mk where  fecha = '2026-03-20' and "
     "taquilla='taq1'  and id_juego=4 and estatus<>5"},
    {"Marcas, archived day, one race", PantallaVenta::Operador, BusquedaResumen::Tablas, 4, kArchivado, "7",
     1,
     "SELECT count(numero)as cant_anulados FROM bitacora_mk where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and carrera='7'   and id_juego=4",
     "SELECT sum(cobrado) as monto_porcobrar,count(cobrado)as cant_mpc  FROM ventas_mk where (estatus=4 or "
     "estatus=1)  and fecha  like '2026-03-20' and taquilla='taq1' and carrera='7'  and id_juego=4",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas_mk where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-20' and taquilla='taq1' and carrera='7' and id_juego=4",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta FROM ventas_mk where  fecha = '2026-03-20' and "
     "taquilla='taq1' and carrera='7'  and id_juego=4 and estatus<>5"},
    {"Marcas, working date, every race", PantallaVenta::Operador, BusquedaResumen::Tablas, 4, kTrabajo, "", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora_mk where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and id_juego=4",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_marcas where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-25' and taquilla='taq1'  and id_juego=4",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_marcas where (estatus=2 or "
     "estatus=3)  and fecha  = '2026-03-25' and taquilla='taq1'  and id_juego=4",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_marcas where  fecha  = '2026-03-25' "
     "and taquilla='taq1'  and id_juego=4 and estatus<>5"},
    {"Marcas, working date, one race", PantallaVenta::Operador, BusquedaResumen::Tablas, 4, kTrabajo, "7", 1,
     "SELECT count(numero)as cant_anulados FROM ma_marcas where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and carrera='7' and id_juego=4",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_marcas where (estatus=1 or "
     "estatus=4)  and fecha  = '2026-03-25' and taquilla='taq1' and carrera='7'  and id_juego=4",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_marcas where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-25' and taquilla='taq1' and carrera='7'  and id_juego=4",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_marcas where  fecha  = '2026-03-25' "
     "and taquilla='taq1' and carrera='7'  and id_juego=4 and estatus<>5"},
    {"Los Puestos, archived day, every race", PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3,
     kArchivado, "", 2,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and id_juego=3  and id_moneda  = '2'  ",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ventas where (estatus=1 or "
     "estatus=4 or estatus=5)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=3  and id_moneda  "
     "= '2'",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=3)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=3  and id_moneda  = '2'",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ventas where  fecha  = '2026-03-20' and "
     "taquilla='taq1' and id_juego=3  and id_moneda  = '2' "},
    {"Los Puestos, archived day, one race", PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3, kArchivado,
     "5", 2,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  = '2'",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ventas where (estatus=1 or "
     "estatus=4 or estatus=5)  and fecha  = '2026-03-20' and taquilla='taq1' and carrera='5' and id_juego=3  "
     "and id_moneda  = '2' ",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=3)  and fecha  = '2026-03-20' and taquilla='taq1' and carrera='5' and id_juego=3  and "
     "id_moneda  = '2' ",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ventas where  fecha  = '2026-03-20' and "
     "taquilla='taq1' and carrera='5' and id_juego=3   and id_moneda  = '2'"},
    {"Los Puestos, working date, every race", PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3, kTrabajo,
     "", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and id_juego=3  and id_moneda  = '1'",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=4 or estatus=5)  and fecha  = '2026-03-25' and taquilla='taq1' and id_juego=3  and id_moneda  "
     "= '1'",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=3)  and fecha  = '2026-03-25' and taquilla='taq1' and id_juego=3  and id_moneda  = '1'",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-25' "
     "and taquilla='taq1' and id_juego=3  and id_moneda  = '1'"},
    {"Los Puestos, working date, one race", PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3, kTrabajo,
     "5", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  = '1'",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=4 or estatus=5)  and fecha  = '2026-03-25' and taquilla='taq1' and carrera='5' and id_juego=3  "
     "and id_moneda  = '1'",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=3)  and fecha= '2026-03-25' and taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  "
     "= '1'",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-25' "
     "and taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  = '1'"},
    {"operator's Los Puestos, archived day, every race", PantallaVenta::Operador, BusquedaResumen::Puestos, 3,
     kArchivado, "", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and id_juego=3  and id_moneda  = '1'  ",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ventas where (estatus=1 or "
     "estatus=3 or estatus=6)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=3  and id_moneda  "
     "= '1'",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=4)  and fecha  = '2026-03-20' and taquilla='taq1' and id_juego=3  and id_moneda  = '1'",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ventas where  fecha  = '2026-03-20' and "
     "taquilla='taq1' and id_juego=3  and id_moneda  = '1' "},
    {"operator's Los Puestos, archived day, one race", PantallaVenta::Operador, BusquedaResumen::Puestos, 3,
     kArchivado, "5", 2,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-20' and "
     "taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  = '2'",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ventas where (estatus=1 or "
     "estatus=3 or estatus=6)  and fecha  = '2026-03-20' and taquilla='taq1' and carrera='5' and id_juego=3  "
     "and id_moneda  = '2' ",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ventas where (estatus=2 or "
     "estatus=4)  and fecha  = '2026-03-20' and taquilla='taq1' and carrera='5' and id_juego=3  and "
     "id_moneda  = '2' ",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ventas where  fecha  = '2026-03-20' and "
     "taquilla='taq1' and carrera='5' and id_juego=3   and id_moneda  = '2'"},
    {"operator's Los Puestos, working date, one race", PantallaVenta::Operador, BusquedaResumen::Puestos, 3,
     kTrabajo, "5", 1,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  = '1'",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=3 or estatus=6)  and fecha  = '2026-03-25' and taquilla='taq1' and carrera='5' and id_juego=3  "
     "and id_moneda  = '1'",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=4)  and fecha= '2026-03-25' and taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  "
     "= '1'",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-25' "
     "and taquilla='taq1' and carrera='5' and id_juego=3  and id_moneda  = '1'"},
    // The operator's bton_buscar on Los Puestos runs the Los Puestos summary.
    {"operator's bton_buscar on Los Puestos, working date, every race", PantallaVenta::Operador,
     BusquedaResumen::Tablas, 3, kTrabajo, "", 2,
     "SELECT count(numero)as cant_anulados FROM bitacora where (estatus=5) and fecha= '2026-03-25' and "
     "taquilla='taq1' and id_juego=3  and id_moneda  = '2'",
     "SELECT sum(cobrado) as monto_porpagar,count(cobrado)as cant_mpc FROM ma_principal where (estatus=1 or "
     "estatus=3 or estatus=6)  and fecha  = '2026-03-25' and taquilla='taq1' and id_juego=3  and id_moneda  "
     "= '2'",
     "SELECT sum(cobrado) as monto_cobrado,count(cobrado)as cant_mc FROM ma_principal where (estatus=2 or "
     "estatus=4)  and fecha  = '2026-03-25' and taquilla='taq1' and id_juego=3  and id_moneda  = '2'",
     "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal where  fecha  = '2026-03-25' "
     "and taquilla='taq1' and id_juego=3  and id_moneda  = '2'"},
};

} // namespace

TEST_F(Resumen, EveryHeadAndClauseOfBothScreens) {
    for (const CasoSentencias &c : kCasos) {
        SCOPED_TRACE(c.nombre);
        e.db->sentencias.clear();
        e.ctx.sesion.id_moneda = c.moneda;
        const ResultadoResumen r = resumirDia(e.ctx, {c.pantalla, c.busqueda, c.juego, c.dia,
                                                      QString::fromUtf8(c.carrera), "taq1", c.moneda, "BS"});
        EXPECT_EQ(r.tipo, ResultadoResumen::Tipo::Cifras);
        const QString dia = fechaSql(c.dia);
        ASSERT_EQ(e.db->sentencias.size(), 7);
        EXPECT_EQ(e.db->sentencias.mid(0, 3), QStringList({"select * from configuracion",
                                                           "SELECT carrera FROM carreras where fecha='" +
                                                               dia + "' order by  carrera desc limit 1;",
                                                           "SELECT carrera FROM carreras where fecha='" +
                                                               dia + "' order by  carrera asc limit 1;"}));
        EXPECT_EQ(figuras(), QStringList({c.anulados, c.porPagar, c.pagados, c.venta}));
    }
}

TEST_F(Resumen, FiguresZeroRuleAndFormats) {
    e.db->responder("SELECT carrera FROM carreras where fecha='2026-03-25' order by  carrera desc",
                    fila({{"carrera", "12"}}));
    e.db->responder("SELECT carrera FROM carreras where fecha='2026-03-25' order by  carrera asc",
                    fila({{"carrera", "1"}}));
    e.db->responder("SELECT count(numero)as cant_anulados", fila({{"cant_anulados", "2"}}));
    e.db->responder("SELECT sum(cobrado) as monto_porpagar",
                    fila({{"monto_porpagar", "300.5"}, {"cant_mpc", "3"}}));
    e.db->responder("SELECT sum(cobrado) as monto_cobrado",
                    fila({{"monto_cobrado", "1000"}, {"cant_mc", "4"}}));
    e.db->responder("SELECT sum(monto) as venta", fila({{"venta", "5234.5"}, {"cant_venta", "40"}}));
    PedidoResumen p{PantallaVenta::Taquilla, BusquedaResumen::Tablas, 1, kTrabajo, "", "taq1", 1, "BS"};
    ResultadoResumen r = resumirDia(e.ctx, p);
    ASSERT_EQ(r.tipo, ResultadoResumen::Tipo::Cifras);
    EXPECT_EQ(r.carreraMenor, 1);
    EXPECT_EQ(r.carreraMayor, 12);
    EXPECT_EQ(r.juego, 1);
    EXPECT_EQ(QStringList(r.textos.begin(), r.textos.end()),
              QStringList({"Bs.S5.234,50", "Bs.S1.000,00", "Bs.S300,50", "Bs.S3.934,00", "Bs.S4.234,50", "40",
                           "4", "3", "2"}));
    // Any other currency label: "$#,##0.00"; the operator screen always the currency format.
    p.nombre_moneda = "$";
    r = resumirDia(e.ctx, p);
    EXPECT_EQ(r.textos[0], "$5.234,50");
    EXPECT_EQ(r.textos[3], "$3.934,00");
    p.nombre_moneda = "";
    EXPECT_EQ(resumirDia(e.ctx, p).textos[4], "$4.234,50");
    p.pantalla = PantallaVenta::Operador;
    EXPECT_EQ(resumirDia(e.ctx, p).textos[4], "Bs.S4.234,50");

    // A day without a ticket of the booth, and without a race card: missing sums and counts are
    // zero (the cancelled ones still count).
    EntornoFalso vacio;
    vacio.db->responder("select * from configuracion", fila({{"fecha", "2026-03-25"}}));
    vacio.db->responder("SELECT carrera FROM carreras", tabla({"carrera"}, {}));
    vacio.db->responder("SELECT count(numero)as cant_anulados", fila({{"cant_anulados", "1"}}));
    vacio.db->responder("SELECT sum(cobrado) as monto_porcobrar",
                        tabla({"monto_porcobrar", "cant_mpc"}, {{QString(), "0"}}));
    vacio.db->responder("SELECT sum(cobrado) as monto_cobrado",
                        tabla({"monto_cobrado", "cant_mc"}, {{QString(), "0"}}));
    vacio.db->responder("SELECT sum(monto) as venta", tabla({"venta", "cant_venta"}, {}));
    const Resultado nulo(QStringList{"venta", "cant_venta"},
                         std::vector<std::vector<Campo>>{{Campo(), Campo("0")}});
    const ResultadoResumen v = resumirDia(
        vacio.ctx, {PantallaVenta::Taquilla, BusquedaResumen::Tablas, 2, kArchivado, "3", "taq1", 1, "BS"});
    ASSERT_EQ(v.tipo, ResultadoResumen::Tipo::Cifras);
    EXPECT_EQ(QStringList(v.textos.begin(), v.textos.end()),
              QStringList({"Bs.S0,00", "Bs.S0,00", "Bs.S0,00", "Bs.S0,00", "Bs.S0,00", "0", "0", "0", "1"}));
    EXPECT_EQ(v.carreraMayor, 0);
    vacio.db->responder("SELECT sum(monto) as venta", nulo);
    EXPECT_EQ(resumirDia(vacio.ctx, {PantallaVenta::Taquilla, BusquedaResumen::Tablas, 2, kArchivado, "3",
                                     "taq1", 1, "BS"})
                  .textos[0],
              "Bs.S0,00");
}

TEST_F(Resumen, RefusalsAndFailures) {
    struct Caso {
        const char *nombre;
        PantallaVenta pantalla;
        BusquedaResumen busqueda;
        int juego;
        const char *mensaje;
        int sentencias; // run before the refusal
    };
    const Caso casos[] = {
        {"booth bton_buscar without a game", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 0,
         "Debe seleccionar un juego para poder hacer la venta", 3},
        {"booth bton_buscar on Los Puestos", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 3,
         "Debe seleccionar un juego para poder hacer la venta", 3},
        {"booth has no Marcas", PantallaVenta::Taquilla, BusquedaResumen::Tablas, 4,
         "Debe seleccionar un juego para poder hacer la venta", 3},
        {"operator bton_buscar without a game", PantallaVenta::Operador, BusquedaResumen::Tablas, 0,
         "Debe seleccionar un juego para poder hacer la venta", 3},
        {"Command7 without a game", PantallaVenta::Taquilla, BusquedaResumen::Puestos, 0,
         "Debe seleccionar un juego para poder ver las ventas", 0},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nombre);
        e.db->sentencias.clear();
        const ResultadoResumen r =
            resumirDia(e.ctx, {c.pantalla, c.busqueda, c.juego, kTrabajo, "", "taq1", 1, "BS"});
        EXPECT_EQ(r.tipo, ResultadoResumen::Tipo::SinJuego);
        EXPECT_EQ(r.mensaje, QString::fromUtf8(c.mensaje));
        EXPECT_EQ(r.titulo, "Verificación de datos");
        EXPECT_EQ(e.db->sentencias.size(), c.sentencias);
    }
    // A database failure comes back with its message, never as figures.
    e.db->fallar("SELECT sum(monto) as venta");
    const ResultadoResumen f = resumirDia(
        e.ctx, {PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3, kTrabajo, "", "taq1", 1, "BS"});
    EXPECT_EQ(f.tipo, ResultadoResumen::Tipo::Falla);
    EXPECT_EQ(f.mensaje, "NO SE PUDO CONSULTAR EL RESUMEN. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE");
    EXPECT_EQ(f.titulo, "RESUMEN DE VENTAS DEL DIA");
}

TEST_F(Resumen, ValuesCannotChangeTheStatements) {
    const ResultadoResumen r = resumirDia(e.ctx, {PantallaVenta::Taquilla, BusquedaResumen::Puestos, 3,
                                                  kTrabajo, "5' or '1'='1", "o'neil\\", 1, "BS"});
    EXPECT_EQ(r.tipo, ResultadoResumen::Tipo::Cifras);
    EXPECT_EQ(figuras().last(), "SELECT sum(monto) as venta,count(cobrado)as cant_venta  FROM ma_principal "
                                "where  fecha  = '2026-03-25' "
                                "and taquilla='o\\'neil\\\\' and carrera='5\\' or \\'1\\'=\\'1' and "
                                "id_juego=3  and id_moneda  = '1'");
}

// The day sheet.

namespace {

struct HojasGrabadas : ImpresionHojas {
    std::vector<HojaDia> hojas;
    bool falla = false;
    void imprimir(const HojaDia &h) override {
        if (falla)
            throw std::runtime_error("printer");
        hojas.push_back(h);
    }
};

const TextosResumen kCajas{
    "Bs.S5.234,50", "Bs.S1.000,00", "Bs.S300,50", "Bs.S3.934,00", "Bs.S4.234,50", "40", "4", "3", "2"};

Sesion sesionHoja() {
    Sesion s;
    s.ch = "EL TRIUNFO";
    s.nombre = "TAQ1 TAQUILLA";
    s.tamletra = 9;
    s.impresion = 1;
    return s;
}

QByteArray lineas(std::initializer_list<const char *> ls) {
    QByteArray b;
    for (const char *l : ls)
        b += QByteArray(l) + "\x1b\x19\r\n";
    return b;
}

} // namespace

TEST(HojaDelDia, PortBytesOfEachGame) {
    const Sesion s = sesionHoja();
    HojaDia h{PantallaVenta::Taquilla, 1, kCajas, "25/3/26", "10:15:00", "DE LA 1 HASTA LA 12"};
    const QByteArray cuerpo = lineas({"",
                                      "",
                                      "CENTRO HIPICO EL TRIUNFO",
                                      "TAQUILLA TAQ1 TAQUILLA",
                                      "FECHA: 25/3/26",
                                      "HORA: 10:15:00",
                                      "CARRERA: DE LA 1 HASTA LA 12",
                                      "VENTA : Bs.S5.234,50",
                                      "PREMIOS PAGADOS : Bs.S1.000,00",
                                      "POR PAGAR : Bs.S300,50",
                                      "SALDO : Bs.S3.934,00",
                                      "---------------------------------",
                                      "MONTO EN CAJA : Bs.S4.234,50",
                                      "---------------------------------",
                                      "BOLETOS VENDIDOS : 40",
                                      "BOLETOS PAGADOS  : 4",
                                      "BOLETOS POR PAGAR: 3",
                                      "BOLETOS ANULADOS : 2",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "",
                                      ""}) +
                              QByteArray("\x1b"
                                         "d\x01\r\n");
    struct Caso {
        PantallaVenta pantalla;
        int juego;
        const char *titulo;
    };
    const Caso casos[] = {
        {PantallaVenta::Taquilla, 1, "            ---- JUEGO TABLAS DINAMICAS ----"},
        {PantallaVenta::Taquilla, 2, "            ---- JUEGO TABLA FIJA ----"},
        {PantallaVenta::Taquilla, 3, "            ---- JUEGO DE LOS PUESTOS ----"},
        {PantallaVenta::Operador, 4, "            ---- JUEGO MARCAS ----"},
        {PantallaVenta::Taquilla, 4, ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.juego);
        h.pantalla = c.pantalla;
        h.juego = c.juego;
        EXPECT_EQ(hojaDiaPuerto(h, s), lineas({c.titulo}) + cuerpo);
    }
}

TEST(HojaDelDia, PrinterLinesOfEachGame) {
    const Sesion s = sesionHoja();
    const QStringList cuerpo{"               RESUMEN DE VENTAS",
                             ".",
                             "CENTRO HIPICO EL TRIUNFO",
                             ".",
                             "TAQUILLA: TAQ1 TAQUILLA",
                             "FECHA: 25/3/26",
                             "HORA: 10:15:00",
                             "CARRERA: 5",
                             "-----------------------------------",
                             "VENTA : Bs.S5.234,50",
                             "PREMIOS PAGADOS : Bs.S1.000,00",
                             "POR PAGAR : Bs.S300,50",
                             "SALDO : Bs.S3.934,00",
                             "-----------------------------------",
                             "MONTO EN CAJA : Bs.S4.234,50",
                             "------------------------------------",
                             "BOLETOS VENDIDOS : 40",
                             "BOLETOS PAGADOS  : 4",
                             "BOLETOS POR PAGAR: 3",
                             "BOLETOS ANULADOS : 2",
                             ".",
                             ".",
                             ".",
                             ".",
                             "end"};
    struct Caso {
        PantallaVenta pantalla;
        int juego;
        const char *titulo; // "" prints nothing
    };
    const Caso casos[] = {
        {PantallaVenta::Taquilla, 1, "               TABLAS DINAMICAS ---"},
        {PantallaVenta::Taquilla, 2, "               TABLA FIJA ---"},
        {PantallaVenta::Taquilla, 3, "               LOS PUESTOS ---"},
        {PantallaVenta::Taquilla, 4, "               LOS PUESTOS ---"},
        {PantallaVenta::Operador, 3, "               LOS PUESTOS ---"},
        {PantallaVenta::Operador, 4, "               MARCAS ---"},
        {PantallaVenta::Operador, 5, ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.juego);
        ImpresoraGrabada imp;
        hojaDiaImpresora(imp, {c.pantalla, c.juego, kCajas, "25/3/26", "10:15:00", "5"}, s);
        QStringList esperado{"font:MS Sans Serif", "size:9"};
        if (*c.titulo)
            esperado << c.titulo;
        EXPECT_EQ(imp.registro, esperado + cuerpo);
    }
}

TEST(HojaDelDia, ControlBytesOfTheCentreAndUserNamesNeverReachThePrinter) {
    // A name carrying CR LF and a cut (ESC m) would forge a line and cut the paper: each control
    // character becomes a blank, as on tickets and receipts.
    Sesion s = sesionHoja();
    s.ch = QStringLiteral("EL\r\nVENTA : 0\x1bm");
    s.nombre = QStringLiteral("TAQ1\x1b"
                              "d\x01\t");
    const HojaDia h{PantallaVenta::Taquilla, 1, kCajas, "25/3/26", "10:15:00", "5"};
    const QByteArray bytes = hojaDiaPuerto(h, s);
    EXPECT_TRUE(bytes.contains(lineas({"CENTRO HIPICO EL  VENTA : 0 m"}))) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains(lineas({"TAQUILLA TAQ1 d  "}))) << bytes.toStdString();
    // Only the layout's own commands: every ESC starts a line end or the final cut.
    EXPECT_EQ(bytes.count("\x1b"), bytes.count("\x1b\x19\r\n") + 1);

    ImpresoraGrabada imp;
    hojaDiaImpresora(imp, h, s);
    EXPECT_TRUE(imp.registro.contains(QStringLiteral("CENTRO HIPICO EL  VENTA : 0 m")));
    EXPECT_TRUE(imp.registro.contains(QStringLiteral("TAQUILLA: TAQ1 d  ")));
}

TEST(HojaDelDia, PrintsThroughTheOneOutputChoiceOnlyWithImpresion) {
    EntornoFalso e;
    e.ctx.sesion = sesionHoja();
    e.reloj.hora = "10:15:00";
    PuertoGrabado puerto;
    ImpresorasGrabadas impresoras;
    ServicioImpresion salida(e.ctx, puerto, impresoras);
    ServicioHojas hojas(salida);
    const PedidoHoja p{PantallaVenta::Taquilla, 3, 3, kCajas, QDate(2026, 3, 25), "TODAS", 1, 12};

    e.ctx.sesion.puerto = "LPT1:";
    ResultadoHoja r = imprimirHojaDia(e.ctx, &hojas, p);
    EXPECT_TRUE(r.mensaje.isEmpty());
    ASSERT_TRUE(r.hoja);
    EXPECT_EQ(r.hoja->dia, "25/3/26");
    EXPECT_EQ(r.hoja->carrera, "DE LA 1 HASTA LA 12");
    ASSERT_EQ(puerto.escritos.size(), 1u);
    EXPECT_EQ(puerto.puertos, QStringList{"LPT1:"});
    EXPECT_TRUE(
        puerto.escritos[0].startsWith(lineas({"            ---- JUEGO DE LOS PUESTOS ----", "", ""})));
    EXPECT_TRUE(puerto.escritos[0].contains(lineas({"HORA: 10:15:00", "CARRERA: DE LA 1 HASTA LA 12"})));

    e.ctx.sesion.puerto = "WINDOWS2:";
    r = imprimirHojaDia(e.ctx, &hojas,
                        {PantallaVenta::Taquilla, 1, 2, kCajas, QDate(2026, 3, 25), "7", 1, 12});
    ASSERT_EQ(impresoras.trabajos.size(), 1u);
    EXPECT_EQ(impresoras.ultima().registro.mid(2, 1), QStringList{"               TABLA FIJA ---"});
    EXPECT_TRUE(impresoras.ultima().registro.contains("CARRERA: 7"));
    EXPECT_TRUE(impresoras.ultima().terminada);

    // impresion 0: nothing is printed and nothing is said.
    e.ctx.sesion.impresion = 0;
    r = imprimirHojaDia(e.ctx, &hojas, p);
    EXPECT_FALSE(r.hoja);
    EXPECT_TRUE(r.mensaje.isEmpty());
    EXPECT_EQ(puerto.escritos.size(), 1u);
    EXPECT_EQ(impresoras.trabajos.size(), 1u);

    // No game: refused before anything else.
    e.ctx.sesion.impresion = 1;
    PedidoHoja sin = p;
    sin.juego_actual = 0;
    r = imprimirHojaDia(e.ctx, &hojas, sin);
    EXPECT_EQ(r.mensaje, "Debe seleccionar un juego para poder imprimir");
    EXPECT_EQ(r.titulo, "Verificación de datos");
    EXPECT_EQ(puerto.escritos.size(), 1u);

    // A port that fails is said, not swallowed.
    e.ctx.sesion.puerto = "LPT1:";
    puerto.falla = true;
    r = imprimirHojaDia(e.ctx, &hojas, p);
    EXPECT_FALSE(r.hoja);
    EXPECT_EQ(r.mensaje, "NO SE PUDO IMPRIMIR LA HOJA DEL DIA. VERIFIQUE LA IMPRESORA E INTENTE NUEVAMENTE");
    EXPECT_EQ(r.titulo, "HOJA DEL DIA");
}

// The sales and payments lists.

namespace {

QString titulos(const ColumnasLista &c) {
    QStringList t;
    for (const ColumnaLista &x : c)
        t << x.titulo + QLatin1Char('/') + QString::number(int(x.alineacion)) + QLatin1Char('/') +
                 QString::number(x.ancho);
    return t.join(QLatin1Char('|'));
}

} // namespace

TEST(ListasVentasPagos, StatementsAndColumnSetupsOfEveryList) {
    struct Caso {
        PantallaVenta pantalla;
        TipoLista tipo;
        int juego;
        const char *sentencia; // nullptr: no list
        const char *columnas;
    };
    const char *ventaT =
        " CARRERA /2/1000| CABALLO /2/850| TABLAS /2/850| MONTO /1/1200| FECHA /2/1200| CH /2/500";
    const char *pagosT = " CARRERA /2/1000| CABALLO /2/850| TABLAS /2/850| MONTO /1/1200| COBRADO /2/1200";
    const char *puestos = " CARRERA /2/900| CAB /2/500| PUESTO /2/800| MONTO /2/1200| HORA /1/1250| ESTATUS "
                          "/2/900| COBRADO /1/1000";
    const Caso casos[] = {
        {PantallaVenta::Taquilla, TipoLista::Ventas, 1,
         "SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal Where  taquilla='taq1' and "
         "id_juego=1  and "
         "id_moneda  = '2' order by numero desc   ",
         ventaT},
        {PantallaVenta::Taquilla, TipoLista::Ventas, 2,
         "SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal Where  taquilla='taq1' and "
         "id_juego=2  and "
         "id_moneda  = '2' order by numero desc   ",
         ventaT},
        {PantallaVenta::Taquilla, TipoLista::Ventas, 3,
         "SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal Where  taquilla='taq1' "
         "and "
         "id_juego=3   and id_moneda  = '2' order by numero desc   ",
         puestos},
        {PantallaVenta::Taquilla, TipoLista::Pagos, 1,
         "SELECT carrera,caballo,tablas,monto,cobrado FROM ma_principal Where (estatus=2 OR estatus=3) and "
         "taquilla='taq1' and id_juego=1  and id_moneda  = '2' order by numero desc   ",
         pagosT},
        {PantallaVenta::Taquilla, TipoLista::Pagos, 3,
         "SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal Where (estatus=2 OR "
         "estatus=4) "
         "and taquilla='taq1' and id_juego=3   and id_moneda  = '2' order by numero desc   ",
         puestos},
        {PantallaVenta::Taquilla, TipoLista::Ventas, 4, nullptr, ""},
        {PantallaVenta::Taquilla, TipoLista::Pagos, 0, nullptr, ""},
        {PantallaVenta::Operador, TipoLista::Ventas, 2,
         "SELECT carrera,nu_boleto,caballo,tablas,monto,hora,grupo FROM ma_principal Where  taquilla='taq1' "
         "and "
         "id_juego=2  and id_moneda  = '2' order by numero desc   ",
         " CAR /2/500| NU_BOLETO /2/1500| CAB /2/500| TABLAS /2/800| MONTO /2/1500| HORA /2/1300| CH /2/800"},
        {PantallaVenta::Operador, TipoLista::Ventas, 3,
         "SELECT carrera,nu_boleto,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal Where  "
         "taquilla='taq1' "
         "and id_juego=3   and id_moneda  = '2' order by numero desc   ",
         " CAR /2/500| NU_BOLETO /2/1500| CAB /2/500| PUESTO /1/800| MONTO /2/1500| HORA /2/1300| ESTATUS "
         "/2/800| "
         "COBRADO /1/900"},
        {PantallaVenta::Operador, TipoLista::Ventas, 4,
         "SELECT carrera,nu_boleto,caballo,caballo2,monto,hora,estatus,cobrado FROM ma_marcas Where  "
         "taquilla='taq1' "
         "and id_juego=4   and id_moneda  = '2' order by numero desc   ",
         " CAR /2/500| NU_BOLETO /2/1500| CAB /2/500| CONTRA /2/800| MONTO /2/1500| HORA /2/1300| ESTATUS "
         "/2/800| "
         "COBRADO /1/900"},
        {PantallaVenta::Operador, TipoLista::Pagos, 2,
         "SELECT carrera,caballo,tablas,monto,cobrado FROM ma_principal Where (estatus=2 OR estatus=3) and "
         "taquilla='taq1' and id_juego=2  and id_moneda  = '2' order by numero desc   ",
         pagosT},
        {PantallaVenta::Operador, TipoLista::Pagos, 3,
         "SELECT carrera,caballo,puesto,monto,hora,estatus,cobrado FROM ma_principal Where (estatus=2 OR "
         "estatus=4) "
         "and taquilla='taq1' and id_juego=3   and id_moneda  = '2' order by numero desc   ",
         puestos},
        {PantallaVenta::Operador, TipoLista::Pagos, 4,
         "SELECT carrera,caballo,caballo2,monto,hora,estatus,cobrado FROM ma_marcas Where (estatus=2 OR "
         "estatus=4) and "
         "taquilla='taq1' and id_juego=4   and id_moneda  = '2' order by numero desc   ",
         " CAR /2/500| CAB /2/500| CONTRA /2/800| MONTO /2/1500| HORA /2/1300| ESTATUS /2/800| COBRADO "
         "/1/900"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(QStringLiteral("%1 %2 game %3")
                         .arg(c.pantalla == PantallaVenta::Taquilla ? "booth" : "operator")
                         .arg(c.tipo == TipoLista::Ventas ? "sales" : "payments")
                         .arg(c.juego)
                         .toStdString());
        EntornoFalso e;
        e.ctx.sesion.usuario = "taq1";
        e.ctx.sesion.id_moneda = 2;
        const std::optional<ListaBoletos> l = listarBoletos(e.ctx, c.tipo, c.pantalla, c.juego);
        if (!c.sentencia) {
            EXPECT_FALSE(l);
            EXPECT_TRUE(e.db->sentencias.isEmpty());
            continue;
        }
        ASSERT_TRUE(l);
        EXPECT_EQ(e.db->sentencias, QStringList{c.sentencia});
        EXPECT_EQ(titulos(l->columnas), c.columnas);
        EXPECT_TRUE(l->mensaje.isEmpty());
    }
}

TEST(ListasVentasPagos, AFailedListKeepsItsColumnsAndSaysSo) {
    EntornoFalso e;
    e.ctx.sesion.usuario = "taq1";
    e.ctx.sesion.id_moneda = 1;
    e.db->fallar("SELECT carrera");
    const std::optional<ListaBoletos> l = listarBoletos(e.ctx, TipoLista::Pagos, PantallaVenta::Taquilla, 3);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->filas.filas(), 0);
    EXPECT_EQ(l->filas.columnas(),
              QStringList({"carrera", "caballo", "puesto", "monto", "hora", "estatus", "cobrado"}));
    EXPECT_EQ(l->mensaje, "NO SE PUDO CONSULTAR LA LISTA. VERIFIQUE LA CONEXION E INTENTE NUEVAMENTE");
    EXPECT_EQ(l->titulo, "VENTAS Y PAGOS");
    // The booth's name cannot change the statement.
    EntornoFalso o;
    o.ctx.sesion.usuario = "x' or '1'='1";
    o.ctx.sesion.id_moneda = 1;
    listarBoletos(o.ctx, TipoLista::Ventas, PantallaVenta::Taquilla, 1);
    EXPECT_EQ(o.db->sentencias.last(), "SELECT carrera,caballo,tablas,monto,fecha,grupo FROM ma_principal "
                                       "Where  taquilla='x\\' or \\'1\\'=\\'1' "
                                       "and id_juego=1  and id_moneda  = '1' order by numero desc   ");
    EXPECT_EQ(textoCelda("fecha", Campo("2026-03-25")), "25-03-2026");
    EXPECT_EQ(textoCelda("monto", Campo("12.5")), "12.5");
    EXPECT_EQ(textoCelda("fecha", Campo()), "");
}
