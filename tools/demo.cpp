// The demo day: what the back-office leaves in the central tables before the first sale.
#include "backoffice.h"

#include "codificacion.h"
#include "texto.h"

#include <cmath>
#include <random>

namespace corvalo::backoffice {

namespace {

struct Fila {
    QStringList columnas;
    QStringList valores;
    Fila &operator()(const QString &columna, const QString &valor) {
        columnas << columna;
        valores << valor;
        return *this;
    }
    Fila &operator()(const QString &columna, double valor) { return (*this)(columna, textoNumero(valor)); }
    Fila &operator()(const QString &columna, int valor) { return (*this)(columna, QString::number(valor)); }
    Fila &operator()(const QString &columna, const char *valor) {
        return (*this)(columna, QString::fromUtf8(valor));
    }
};

void insertar(BaseDatos &db, const QString &tabla, const Fila &f) {
    QStringList valores;
    for (const QString &v : f.valores)
        valores << QLatin1Char('\'') + sqlTexto(db, v) + QLatin1Char('\'');
    db.ejecutar(QStringLiteral("INSERT INTO `") + tabla + QStringLiteral("` (`") +
                f.columnas.join(QStringLiteral("`,`")) + QStringLiteral("`) VALUES (") +
                valores.join(QLatin1Char(',')) + QLatin1Char(')'));
}

struct Grupo {
    int id;
    const char *grupo;
    int tipo;
    const char *ch;
    const char *mensaje;
    const char *empresa;
    const char *rif;
    const char *direccion;
    const char *telefono;
    double cupoviptf;
};

const Grupo kGrupos[] = {
    {1, "G01", 1, "EL TRIUNFO", "SUERTE EN LA QUINTA Y LA SEXTA VALIDA", "INVERSIONES EL TRIUNFO C.A.",
     "J-30123456-7", "AV. BOLIVAR, LOCAL 12, CARACAS", "0212-5551234", 0},
    {2, "G02", 1, "LA HERRADURA", "HOY PAGAMOS TODOS LOS DIVIDENDOS", "LA HERRADURA HIPICA S.A.",
     "J-31234567-8", "CALLE PEÑALVER 5, VALENCIA", "0241-5559876", 80},
    {3, "C01", 2, "LOS SAMANES", "", "LOS SAMANES APUESTAS C.A.", "J-32345678-9", "C.C. LOS SAMANES, MARACAY",
     "0243-5554455", 0},
    {4, "C02", 2, "EL PORVENIR", "", "EL PORVENIR HIPICO C.A.", "J-33456789-0", "AV. LAS DELICIAS, MARACAY",
     "0243-5556677", 0},
};

const Acceso kAccesos[] = {
    {QStringLiteral("admin"), QStringLiteral("adm2801"), QStringLiteral("Administrador"),
     QStringLiteral("G01"), QStringLiteral("Activo")},
    {QStringLiteral("adminoc"), QStringLiteral("ocu2801"), QStringLiteral("Administrador Oculto"),
     QStringLiteral("G01"), QStringLiteral("Activo")},
    {QStringLiteral("admger"), QStringLiteral("agr2801"), QStringLiteral("Admin_Gerencia"),
     QStringLiteral("G01"), QStringLiteral("Activo")},
    {QStringLiteral("admintf"), QStringLiteral("atf2801"), QStringLiteral("AdminTF"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("gerente"), QStringLiteral("ger2801"), QStringLiteral("Gerente"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("super1"), QStringLiteral("sup2801"), QStringLiteral("Supervisor"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("super2"), QStringLiteral("sup2802"), QStringLiteral("Supervisor"), QStringLiteral("G02"),
     QStringLiteral("Activo")},
    {QStringLiteral("taq1"), QStringLiteral("taq2801"), QStringLiteral("Taquilla"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("taq2"), QStringLiteral("taq2802"), QStringLiteral("Taquilla"), QStringLiteral("G02"),
     QStringLiteral("Activo")},
    {QStringLiteral("taq3"), QStringLiteral("taq2803"), QStringLiteral("Taquilla"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("oper1"), QStringLiteral("ope2801"), QStringLiteral("Operador"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("visor1"), QStringLiteral("vis2801"), QStringLiteral("Visor"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("socio1"), QStringLiteral("soc2801"), QStringLiteral("Socio"), QStringLiteral("G01"),
     QStringLiteral("Activo")},
    {QStringLiteral("baja1"), QStringLiteral("baj2801"), QStringLiteral("Taquilla"), QStringLiteral("G01"),
     QStringLiteral("Baja")},
};

const char *const kNombres[] = {"DON",      "REINA",   "GRAN",     "REY",   "DAMA",   "SEÑOR",    "LUNA",
                                "PRINCESA", "CAPITAN", "TORMENTA", "BRISA", "TRUENO", "ESTRELLA", "CACIQUE"};
const char *const kApellidos[] = {"DEL LLANO", "DORADA",  "MORENO",   "DE COPAS", "VELOZ",  "BRAVO",
                                  "DE ORO",    "DEL SUR", "SERENA",   "FUGAZ",    "ALTIVA", "DEL CARIBE",
                                  "INVICTO",   "MAGICA",  "DE PLATA", "NEGRO",    "CRIOLLA"};
const char *const kJinetes[] = {"J. CASTELLANO", "E. JARAMILLO", "R. CAPRILES", "J. ORTIZ",   "L. PEREZ",
                                "C. LOPEZ",      "A. RODRIGUEZ", "G. MARTINEZ", "F. ANDRADE", "V. LUGO",
                                "M. ROJAS",      "D. BRICEÑO",   "P. SALAZAR",  "H. MUJICA"};

// Los Puestos codes: odds 10 to 1 .. 10 to 9, places, nini, places and nini.
const double kPuestos[] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1,  2,  3,  4, 5,
                           -1,  -2,  -3,  -4,  -5,  12,  22,  23,  33,  34, 44, 45, 55};

const int kCaballosPorCarrera[] = {10, 8, 12, 14, 9, 11, 13, 8, 12, 10, 14, 9};

struct Retiro {
    int carrera;
    int caballo;
};
const Retiro kRetiros[] = {{2, 5}, {4, 9}, {7, 2}, {11, 12}};

int hipodromoDe(int carrera) {
    return carrera <= 8 ? 1 : (carrera <= 10 ? 2 : 3);
}

bool retirado(int carrera, int caballo) {
    for (const Retiro &r : kRetiros)
        if (r.carrera == carrera && r.caballo == caballo)
            return true;
    return false;
}

void sembrarCarreras(BaseDatos &db, const QString &fecha) {
    db.ejecutar(QStringLiteral("DELETE FROM carreras WHERE fecha='") + sqlTexto(db, fecha) +
                QLatin1Char('\''));
    std::mt19937 azar(28001);
    auto entre = [&azar](int a, int b) { return std::uniform_int_distribution<int>(a, b)(azar); };
    const int nPuestos = int(std::size(kPuestos));
    int global = 0;
    for (int carrera = 1; carrera <= int(std::size(kCaballosPorCarrera)); ++carrera) {
        for (int caballo = 1; caballo <= kCaballosPorCarrera[carrera - 1]; ++caballo, ++global) {
            const QString nombre =
                QString::fromUtf8(kNombres[(global * 5 + carrera) % std::size(kNombres)]) + QLatin1Char(' ') +
                QString::fromUtf8(kApellidos[(global * 3 + caballo) % std::size(kApellidos)]);
            const double td = 10.0 * entre(5, 60), tf = 10.0 * entre(5, 60);
            // Dollar prices: about a fortieth, in halves.
            const double td2 = std::max(1.0, std::round(td / 20.0) / 2.0);
            const double tf2 = std::max(1.0, std::round(tf / 20.0) / 2.0);
            const int ret = retirado(carrera, caballo) ? 1 : 0;
            Fila f;
            f(QStringLiteral("fecha"), fecha)(QStringLiteral("carrera"), carrera)(
                QStringLiteral("nu_caballo"), caballo)(QStringLiteral("caballo"), nombre)(
                QStringLiteral("jinete"), kJinetes[(global + carrera) % std::size(kJinetes)])(
                QStringLiteral("valor_td"), td)(QStringLiteral("valor_td2"), td2)(
                QStringLiteral("valor_tf"), tf)(QStringLiteral("valor_tf2"), tf2)(
                QStringLiteral("puesto"), kPuestos[global % nPuestos])(QStringLiteral("puesto2"),
                                                                       kPuestos[(global + 7) % nPuestos])(
                QStringLiteral("apuesta_max_td"), 100)(QStringLiteral("apuesta_max_td2"), 40)(
                QStringLiteral("apuesta_max_tf"), 100)(QStringLiteral("apuesta_max_tf2"), 40)(
                QStringLiteral("apuesta_max_pt"), 20000)(QStringLiteral("apuesta_max_pt2"), 500)(
                QStringLiteral("apuesta_max_mk"), 10000)(QStringLiteral("apuesta_max_mk2"), 300);
            for (const char *estado :
                 {"estado", "estado_td2", "estado2_td", "estado_tf", "estado_tf2", "estado2_tf", "estado_pt",
                  "estado_pt2", "estado2_pt", "estado_mk", "estado_mk2"})
                f(QString::fromLatin1(estado), 0);
            for (const char *r : {"retirado", "retirado2", "retirado_tf", "retirado_tf2", "retirado_pt",
                                  "retirado_pt2", "ret_mk", "ret_mk2"})
                f(QString::fromLatin1(r), ret);
            f(QStringLiteral("id_hipodromo"), hipodromoDe(carrera))(QStringLiteral("win"),
                                                                    0)(QStringLiteral("win_ganadores"), 0);
            insertar(db, QStringLiteral("carreras"), f);
        }
    }
}

void sembrarCupos(BaseDatos &db) {
    struct Cupo {
        const char *tabla;
        double bs, dolar;
    };
    const Cupo cupos[] = {{"venta_cupo_td", 200, 80},
                          {"venta_cupo_tf", 200, 80},
                          {"venta_cupo_pt", 30000, 800},
                          {"venta_cupo_mk", 15000, 400}};
    for (const Cupo &c : cupos) {
        const QString tabla = QString::fromLatin1(c.tabla);
        db.ejecutar(QStringLiteral("DELETE FROM ") + tabla);
        for (const Grupo &g : kGrupos) {
            for (int moneda = 1; moneda <= 2; ++moneda) {
                Fila f;
                f(QStringLiteral("ch"), g.grupo)(QStringLiteral("id_moneda"), moneda);
                for (int cab = 1; cab <= 18; ++cab)
                    f(QStringLiteral("cab%1").arg(cab), moneda == 1 ? c.bs : c.dolar);
                insertar(db, tabla, f);
            }
        }
    }
}

void sembrarConfiguracion(BaseDatos &db, const QString &fecha) {
    db.ejecutar(QStringLiteral("DELETE FROM configuracion"));
    Fila f;
    f(QStringLiteral("id"), 1)(QStringLiteral("fecha"), fecha)(QStringLiteral("carrera"), 1)(
        QStringLiteral("modificar"), 1)(QStringLiteral("venta_pt"), 1)(QStringLiteral("venta_mk"), 1)(
        QStringLiteral("cab_max"), 14)(QStringLiteral("dias"), 3)(QStringLiteral("version"), 28001)(
        QStringLiteral("vmt"), 28001)(QStringLiteral("vmp"), 28001)(QStringLiteral("vmg"), 28001)(
        QStringLiteral("web"), "http://www.corvalo.com.ve/descargas/corvalo.exe")(QStringLiteral("mora"), 0)(
        QStringLiteral("mensaje"), "RECUERDE CUADRAR LA CAJA AL CIERRE DE LA JORNADA")(
        QStringLiteral("mcobro"),
        "SU SISTEMA SE ENCUENTRA SUSPENDIDO POR FALTA DE PAGO, COMUNIQUESE CON ADMINISTRACION")(
        QStringLiteral("empresa"), "CORVALO SISTEMAS HIPICOS C.A.")(QStringLiteral("rif"), "J-40987654-3")(
        QStringLiteral("impresion_datos"), 1)(QStringLiteral("pantalla1"), 1)(QStringLiteral("pantalla2"), 1)(
        QStringLiteral("tipopantalla"), 0)(QStringLiteral("juego"), ":.. TABLAS DINAMICAS ..:")(
        QStringLiteral("juego1"), 1)(QStringLiteral("juego2"), 1)(QStringLiteral("juego3"), 1)(
        QStringLiteral("multimoneda"), 1)(QStringLiteral("dolar_activado"), 1)(
        QStringLiteral("nu_administrador"), "0414-5550101")(QStringLiteral("nu_tecnico"), "0424-5550202")(
        QStringLiteral("mensajetf"), "TABLA FIJA ABIERTA HASTA LA SALIDA")(
        QStringLiteral("mensajeclientes"), "")(QStringLiteral("apuesta_max_td"), 50)(
        QStringLiteral("apuesta_max_tf"), 50)(QStringLiteral("cupo_td_opcion"), 0)(
        QStringLiteral("cupo_tf_opcion"), 0)(QStringLiteral("opcioncupopt"), 0)(
        QStringLiteral("cupo_mk_opcion"), 0)(QStringLiteral("cupo_pt"), 5000)(QStringLiteral("min_vbs"), 10)(
        QStringLiteral("max_vdls"), 500)(QStringLiteral("cobroespecial"), 1)(QStringLiteral("mostrartd"), 1)(
        QStringLiteral("mostrartf"), 1)(QStringLiteral("mostrar_pt"), 1)(QStringLiteral("pantalla_td"), 1)(
        QStringLiteral("pantalla_tf"), 1)(QStringLiteral("por_td"), 20)(QStringLiteral("por_tablafija"), 20)(
        QStringLiteral("valor_tabladinamica"), 25000)(QStringLiteral("valor_tabladinamica2"), 1000)(
        QStringLiteral("valortablafija"), 20000)(QStringLiteral("valortablafija2"), 800);
    insertar(db, QStringLiteral("configuracion"), f);
}

// Totals of the day before, as the back-office leaves them when it archives a day: one row per
// betting-shop group, game and currency.
void sembrarDiaAnterior(BaseDatos &db, const QDate &fecha) {
    const QString ayer = fechaSql(fecha.addDays(-1));
    db.ejecutar(QStringLiteral("DELETE FROM ventas_general WHERE fecha='") + sqlTexto(db, ayer) +
                QLatin1Char('\''));
    int n = 0;
    for (const Grupo &g : kGrupos) {
        if (g.tipo == 2)
            continue;
        const double base = 180000.0 + 15000.0 * n++;
        for (int juego = 1; juego <= 4; ++juego)
            for (int moneda = 1; moneda <= 2; ++moneda) {
                // Dollars sell a small part of what bolivares do.
                const double venta = std::round(base / juego / (moneda == 1 ? 1.0 : 400.0));
                const double premios = std::round(venta * 0.55), porPagar = std::round(venta * 0.05);
                Fila f;
                f(QStringLiteral("fecha"), ayer)(QStringLiteral("grupo"), g.grupo)(
                    QStringLiteral("id_juego"), juego)(QStringLiteral("id_moneda"), moneda)(
                    QStringLiteral("venta"), venta)(QStringLiteral("premios"), premios)(
                    QStringLiteral("saldo"), venta - premios)(QStringLiteral("monto_porpagar"), porPagar);
                insertar(db, QStringLiteral("ventas_general"), f);
            }
    }
}

} // namespace

QList<Acceso> sembrarDemo(BaseDatos &db, const QDate &fecha) {
    const QString dia = fechaSql(fecha);

    db.ejecutar(QStringLiteral("DELETE FROM juegos"));
    const char *const juegos[] = {"TABLAS DINAMICAS", "TABLA FIJA", "LOS PUESTOS", "MARCAS"};
    for (int i = 0; i < 4; ++i)
        insertar(db, QStringLiteral("juegos"),
                 Fila()(QStringLiteral("id_juego"), i + 1)(QStringLiteral("juego"), juegos[i]));

    db.ejecutar(QStringLiteral("DELETE FROM monedas"));
    insertar(db, QStringLiteral("monedas"),
             Fila()(QStringLiteral("id_moneda"), 1)(QStringLiteral("moneda"), "BS"));
    insertar(db, QStringLiteral("monedas"),
             Fila()(QStringLiteral("id_moneda"), 2)(QStringLiteral("moneda"), "$"));

    db.ejecutar(QStringLiteral("DELETE FROM hipodromos"));
    const char *const hipodromos[] = {"LA RINCONADA", "VALENCIA", "SANTA RITA"};
    for (int i = 0; i < 3; ++i)
        insertar(db, QStringLiteral("hipodromos"),
                 Fila()(QStringLiteral("id_hipodromo"), i + 1)(QStringLiteral("hipodromo"), hipodromos[i]));

    db.ejecutar(QStringLiteral("DELETE FROM grupos"));
    for (const Grupo &g : kGrupos) {
        Fila f;
        f(QStringLiteral("id_grupo"), g.id)(QStringLiteral("grupo"), g.grupo)(
            QStringLiteral("id_tipo"), g.tipo)(QStringLiteral("ch"), g.ch)(
            QStringLiteral("mensajech"), g.mensaje)(QStringLiteral("ticket_cobro"), 1)(
            QStringLiteral("cupoviptf"), g.cupoviptf)(QStringLiteral("name_empresa"), g.empresa)(
            QStringLiteral("rif_empresa"), g.rif)(QStringLiteral("direccion_empresa"), g.direccion)(
            QStringLiteral("tlf_empresa"), g.telefono)(QStringLiteral("mostrar_tf"),
                                                       1)(QStringLiteral("mostrar_pt"), 1);
        insertar(db, QStringLiteral("grupos"), f);
    }

    db.ejecutar(QStringLiteral("DELETE FROM usuarios"));
    QList<Acceso> accesos;
    for (const Acceso &a : kAccesos) {
        Fila f;
        f(QStringLiteral("usuario"), a.usuario)(QStringLiteral("clave"), codificar(a.clave, kClaveUsuarios))(
            QStringLiteral("nombre"), a.usuario.toUpper() + QStringLiteral(" ") + a.nivel.toUpper())(
            QStringLiteral("nivel"), a.nivel)(QStringLiteral("grupo"), a.grupo)(QStringLiteral("estatus"),
                                                                                a.estatus)(
            QStringLiteral("mac"), "")(QStringLiteral("hora_ingreso"),
                                       "")(QStringLiteral("ip_pc"), "")(QStringLiteral("version"), 28001);
        insertar(db, QStringLiteral("usuarios"), f);
        accesos << a;
    }

    sembrarCarreras(db, dia);
    sembrarCupos(db);
    sembrarConfiguracion(db, dia);
    sembrarDiaAnterior(db, fecha);
    return accesos;
}

} // namespace corvalo::backoffice
