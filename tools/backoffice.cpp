#include "backoffice.h"

#include "bd_local.h"
#include "contexto.h"
#include "guion.h"
#include "plataforma.h"
#include "texto.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace corvalo::backoffice {

namespace {

// The tool runs without a screen: no question is ever asked.
ParametrosConexion parametros(const QString &cadena) {
    QString error;
    auto p = parsearCadena(cadena, &error);
    if (!p)
        throw ErrorUso(QStringLiteral("bad connection string: ") + error);
    p->readTimeout = 120;
    p->writeTimeout = 120;
    return *p;
}

QString identificador(const QString &nombre) {
    QString n = nombre;
    return QLatin1Char('`') + n.replace(QLatin1Char('`'), QStringLiteral("``")) + QLatin1Char('`');
}

} // namespace

QStringList tablasEsquema() {
    static const QRegularExpression crear(QStringLiteral("^CREATE\\s+TABLE\\s+`([^`]+)`"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList tablas;
    for (const QString &s : dividirGuion(esquemaCentral())) {
        const auto m = crear.match(s);
        if (m.hasMatch())
            tablas << m.captured(1);
    }
    return tablas;
}

namespace {

// The definitions of a CREATE TABLE body, split at the commas outside parentheses, quotes and
// comments.
QStringList definiciones(const QString &sentencia) {
    QStringList partes;
    QString actual;
    int nivel = 0;
    for (qsizetype i = sentencia.indexOf(QLatin1Char('(')) + 1; i < sentencia.size(); ++i) {
        const QChar c = sentencia[i];
        if (c == QLatin1Char('/') && i + 1 < sentencia.size() && sentencia[i + 1] == QLatin1Char('*')) {
            const qsizetype fin = sentencia.indexOf(QStringLiteral("*/"), i + 2);
            i = fin < 0 ? sentencia.size() : fin + 1;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('`')) {
            const qsizetype fin = sentencia.indexOf(c, i + 1);
            const qsizetype hasta = fin < 0 ? sentencia.size() : fin + 1;
            actual += sentencia.mid(i, hasta - i);
            i = hasta - 1;
            continue;
        }
        if (c == QLatin1Char('('))
            ++nivel;
        if (c == QLatin1Char(')') && nivel-- == 0) {
            partes << actual.trimmed();
            break;
        }
        if (c == QLatin1Char(',') && nivel == 0) {
            partes << actual.trimmed();
            actual.clear();
            continue;
        }
        actual += c;
    }
    return partes;
}

} // namespace

QList<std::pair<QString, QStringList>> columnasEsquema() {
    static const QRegularExpression crear(QStringLiteral("^CREATE\\s+TABLE\\s+`([^`]+)`"),
                                          QRegularExpression::CaseInsensitiveOption);
    // A column starts with its quoted name; keys start with a word.
    static const QRegularExpression columna(QStringLiteral("^`([^`]+)`\\s"));
    QList<std::pair<QString, QStringList>> tablas;
    for (const QString &s : dividirGuion(esquemaCentral())) {
        const auto m = crear.match(s);
        if (!m.hasMatch())
            continue;
        QStringList columnas;
        for (const QString &d : definiciones(s)) {
            const auto c = columna.match(d);
            if (c.hasMatch())
                columnas << c.captured(1);
        }
        tablas.append({m.captured(1), columnas});
    }
    return tablas;
}

QStringList faltantesEsquema(BaseDatos &db) {
    const Resultado r = db.ejecutar(QStringLiteral(
        "select table_name, column_name from information_schema.columns where table_schema = database()"));
    QHash<QString, QSet<QString>> hay;
    for (int i = 0; i < r.filas(); ++i)
        hay[r.valor(i, QStringLiteral("table_name")).texto().toLower()].insert(
            r.valor(i, QStringLiteral("column_name")).texto().toLower());
    QStringList faltan;
    for (const auto &[tabla, columnas] : columnasEsquema()) {
        const auto t = hay.constFind(tabla.toLower());
        if (t == hay.constEnd()) {
            faltan << QStringLiteral("missing table ") + tabla;
            continue;
        }
        for (const QString &c : columnas)
            if (!t->contains(c.toLower()))
                faltan << QStringLiteral("missing column %1.%2").arg(tabla, c);
    }
    return faltan;
}

QStringList rangosFueraDeLugar(BaseDatos &db) {
    const Resultado r = db.ejecutar(QStringLiteral(
        "select table_name, auto_increment from information_schema.tables where table_schema = database() "
        "and table_name in ('ma_principal','ma_marcas')"));
    QStringList fuera;
    for (int i = 0; i < r.filas(); ++i) {
        const QString tabla = r.valor(i, QStringLiteral("table_name")).texto().toLower();
        const long long siguiente = r.valor(i, QStringLiteral("auto_increment")).texto().toLongLong();
        if (tabla == QLatin1String("ma_marcas") && siguiente < kPrimerNumeroMarcas)
            fuera << QStringLiteral("ma_marcas numbers its next ticket %1, below %2: its codes can be those "
                                    "of ma_principal (archive-day puts it back)")
                         .arg(siguiente)
                         .arg(kPrimerNumeroMarcas);
        if (tabla == QLatin1String("ma_principal") && siguiente >= kPrimerNumeroMarcas)
            fuera << QStringLiteral(
                         "ma_principal numbers its next ticket %1, inside the Marcas range from %2")
                         .arg(siguiente)
                         .arg(kPrimerNumeroMarcas);
    }
    return fuera;
}

void mantenerRangoMarcas(BaseDatos &db) {
    // The server never sets the counter below the highest number held.
    const Resultado r = db.ejecutar(QStringLiteral(
        "select auto_increment from information_schema.tables where table_schema = database() and "
        "table_name = 'ma_marcas'"));
    if (!r.vacio() && r.valor(0, QStringLiteral("auto_increment")).texto().toLongLong() < kPrimerNumeroMarcas)
        db.ejecutar(QStringLiteral("ALTER TABLE ma_marcas AUTO_INCREMENT=") +
                    QString::number(kPrimerNumeroMarcas));
}

std::unique_ptr<BaseDatos> abrirCentral(const QString &cadena, bool crearBase) {
    ParametrosConexion p = parametros(cadena);
    if (crearBase && !p.database.isEmpty()) {
        ParametrosConexion servidor = p;
        servidor.database.clear();
        auto db = abrirMariaDb(servidor);
        db->ejecutar(QStringLiteral("CREATE DATABASE IF NOT EXISTS ") + identificador(p.database) +
                     QStringLiteral(" DEFAULT CHARACTER SET latin1"));
    }
    return abrirMariaDb(p);
}

void crearEsquema(BaseDatos &db, bool soltar) {
    if (soltar) {
        for (const QString &t : tablasEsquema())
            db.ejecutar(QStringLiteral("DROP TABLE IF EXISTS ") + identificador(t));
    }
    ejecutarGuion(db, esquemaCentral());
}

QStringList fijarConfiguracion(BaseDatos &db, const QStringList &asignaciones) {
    if (asignaciones.isEmpty())
        throw ErrorUso(QStringLiteral("set: give at least one COLUMN=VALUE"));
    const Resultado columnas = db.ejecutar(QStringLiteral("SHOW COLUMNS FROM configuracion"));
    QStringList reales;
    for (int i = 0; i < columnas.filas(); ++i)
        reales << columnas.valor(i, QStringLiteral("Field")).texto();

    QStringList partes, hechas;
    for (const QString &a : asignaciones) {
        const int igual = a.indexOf(QLatin1Char('='));
        if (igual <= 0)
            throw ErrorUso(QStringLiteral("set: expected COLUMN=VALUE, got \"%1\"").arg(a));
        const QString pedida = a.left(igual).trimmed();
        const QString valor = a.mid(igual + 1);
        QString real;
        for (const QString &r : reales)
            if (r.compare(pedida, Qt::CaseInsensitive) == 0)
                real = r;
        if (real.isEmpty())
            throw ErrorUso(QStringLiteral("set: configuracion has no column \"%1\" (columns: %2)")
                               .arg(pedida, reales.join(QStringLiteral(", "))));
        partes << identificador(real) + QStringLiteral("='") + sqlTexto(db, valor) + QLatin1Char('\'');
        hechas << real + QLatin1Char('=') + valor;
    }
    if (db.ejecutar(QStringLiteral("SELECT count(*) AS n FROM configuracion"))
            .valor(0, QStringLiteral("n"))
            .entero() == 0)
        db.ejecutar(QStringLiteral("INSERT INTO configuracion (id) VALUES ('1')"));
    db.ejecutar(QStringLiteral("UPDATE configuracion SET ") + partes.join(QLatin1Char(',')));
    return hechas;
}

void prepararLocal(const QString &cadenaLocal) {
    parametros(cadenaLocal); // a malformed string is a usage error
    FabricaMariaDb fabrica;
    DialogosAutomaticos dialogos;
    RelojSistema reloj;
    MaquinaNula maquina;
    Contexto ctx(fabrica, dialogos, reloj, maquina);
    ctx.cadenaLocal = cadenaLocal;
    {
        auto servidor = fabrica.abrir(cadenaServidorLocal(cadenaLocal));
        servidor->ejecutar(QStringLiteral("DROP DATABASE IF EXISTS `bd_corvalo`"));
    }
    crear_bd_local(ctx);
}

QString textoUso() {
    return QStringLiteral(
        "usage: corvalo-backoffice --central CONN COMMAND [ARGS]\n"
        "       corvalo-backoffice --local CONN prepare-local\n"
        "\n"
        "commands:\n"
        "  check                        tell whether the central database has every table and column of\n"
        "                               the reference schema and name what it lacks (exit 3 when it lacks\n"
        "                               something)\n"
        "  create-schema [--drop]       create the central tables (--drop: drop them first)\n"
        "  seed-demo [--date YYYY-MM-DD] fill a demo day (default: today) and print the logins\n"
        "  set COLUMN=VALUE ...         change the settings row of configuracion\n"
        "  results --date YYYY-MM-DD --race N [--winner H] [--withdrawn H] [--tie H] [--prize-per-unit X]\n"
        "                               process a race: unpaid tickets on a winner become 1 (prize = stake\n"
        "                               times X, default 2), on a withdrawn horse 4 (the stake back), Los\n"
        "                               Puestos tickets on a tied horse 5 (half the prize), the rest 0;\n"
        "                               each horse option may be repeated\n"
        "  archive-day --date YYYY-MM-DD close a day: its tickets move into ventas and ventas_mk and its\n"
        "                               totals go into ventas_general, one row per group, game and\n"
        "                               currency\n"
        "  cancel [--marcas] --ticket CODE [--reason TEXT] [--type TEXT] [--user NAME]\n"
        "                               cancel a ticket of today: logged in bitacora (estatus 5) and "
        "removed\n"
        "                               from ma_principal, so it never pays or counts as a sale; with\n"
        "                               --marcas a Marcas ticket, logged in bitacora_mk and left in\n"
        "                               ma_marcas with estatus 5\n"
        "  prepare-local --local CONN   re-create the local report database bd_corvalo\n"
        "  serve-ip [--port N] [--answer ADDRESS]\n"
        "                               stand in for the public-address services on 127.0.0.1 (demos\n"
        "                               without internet): every GET is answered with ADDRESS\n"
        "  --help                       this text\n"
        "\n"
        "CONN is an ODBC-style connection string, e.g.\n"
        "  'driver={MySQL ODBC 3.51 Driver};server=127.0.0.1;port=3306 ;uid=u;pwd=p;database=corvalo;'\n");
}

int ejecutar(const QStringList &argumentos, QTextStream &salida, QTextStream &errores) {
    QString central, local, comando;
    QStringList resto;
    try {
        for (int i = 0; i < argumentos.size(); ++i) {
            const QString &a = argumentos[i];
            if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
                salida << textoUso();
                return 0;
            }
            if (a == QLatin1String("--central") || a == QLatin1String("--local")) {
                if (i + 1 >= argumentos.size())
                    throw ErrorUso(a + QStringLiteral(" needs a connection string"));
                (a == QLatin1String("--central") ? central : local) = argumentos[++i];
            } else if (comando.isEmpty()) {
                comando = a;
            } else {
                resto << a;
            }
        }
        if (comando.isEmpty())
            throw ErrorUso(QStringLiteral("no command given"));

        if (comando == QLatin1String("prepare-local")) {
            if (local.isEmpty())
                throw ErrorUso(QStringLiteral("prepare-local needs --local CONN"));
            if (!resto.isEmpty())
                throw ErrorUso(
                    QStringLiteral("prepare-local: unexpected argument \"%1\"").arg(resto.first()));
            prepararLocal(local);
            salida << "bd_corvalo created\n";
            return 0;
        }

        const bool conocido = comando == QLatin1String("check") ||
                              comando == QLatin1String("create-schema") ||
                              comando == QLatin1String("seed-demo") || comando == QLatin1String("set") ||
                              comando == QLatin1String("results") ||
                              comando == QLatin1String("archive-day") || comando == QLatin1String("cancel");
        if (!conocido)
            throw ErrorUso(QStringLiteral("unknown command \"%1\"").arg(comando));
        if (central.isEmpty())
            throw ErrorUso(comando + QStringLiteral(" needs --central CONN"));

        if (comando == QLatin1String("check")) {
            if (!resto.isEmpty())
                throw ErrorUso(QStringLiteral("check: unexpected argument \"%1\"").arg(resto.first()));
            if (parametros(central).database.isEmpty())
                throw ErrorUso(QStringLiteral("check: the connection string names no database (database=)"));
            auto db = abrirCentral(central);
            const QStringList faltan = faltantesEsquema(*db);
            const QStringList rangos = faltan.isEmpty() ? rangosFueraDeLugar(*db) : QStringList();
            for (const QString &f : rangos)
                salida << f << '\n';
            if (!rangos.isEmpty())
                return 3;
            const auto esquema = columnasEsquema();
            qsizetype columnas = 0;
            for (const auto &t : esquema)
                columnas += t.second.size();
            if (faltan.isEmpty()) {
                salida << "the central database has every table (" << esquema.size() << ") and column ("
                       << columnas << ") of the reference schema\n";
                return 0;
            }
            for (const QString &f : faltan)
                salida << f << '\n';
            salida << "the central database lacks " << faltan.size()
                   << (faltan.size() == 1 ? " table or column" : " tables or columns")
                   << " of the reference schema\n";
            return 3;
        }

        if (comando == QLatin1String("create-schema")) {
            bool soltar = false;
            for (const QString &r : resto) {
                if (r == QLatin1String("--drop"))
                    soltar = true;
                else
                    throw ErrorUso(QStringLiteral("create-schema: unexpected argument \"%1\"").arg(r));
            }
            parametros(central);
            auto db = abrirCentral(central, true);
            crearEsquema(*db, soltar);
            salida << "central schema created: " << tablasEsquema().join(QLatin1Char(' ')) << '\n';
            return 0;
        }

        if (comando == QLatin1String("seed-demo")) {
            QDate fecha = QDate::currentDate();
            for (int i = 0; i < resto.size(); ++i) {
                if (resto[i] == QLatin1String("--date") && i + 1 < resto.size()) {
                    fecha = QDate::fromString(resto[++i], QStringLiteral("yyyy-MM-dd"));
                    if (!fecha.isValid())
                        throw ErrorUso(
                            QStringLiteral("seed-demo: --date wants YYYY-MM-DD, got \"%1\"").arg(resto[i]));
                } else {
                    throw ErrorUso(QStringLiteral("seed-demo: unexpected argument \"%1\"").arg(resto[i]));
                }
            }
            parametros(central);
            auto db = abrirCentral(central);
            const QList<Acceso> accesos = sembrarDemo(*db, fecha);
            salida << "demo day " << fechaSql(fecha) << " loaded\n\n";
            salida << QStringLiteral("%1 %2 %3 %4 %5\n")
                          .arg(QStringLiteral("user"), -10)
                          .arg(QStringLiteral("password"), -10)
                          .arg(QStringLiteral("level"), -22)
                          .arg(QStringLiteral("group"), -6)
                          .arg(QStringLiteral("status"));
            for (const Acceso &a : accesos)
                salida << QStringLiteral("%1 %2 %3 %4 %5\n")
                              .arg(a.usuario, -10)
                              .arg(a.clave, -10)
                              .arg(a.nivel, -22)
                              .arg(a.grupo, -6)
                              .arg(a.estatus);
            return 0;
        }

        if (comando == QLatin1String("cancel")) {
            Anulacion a;
            a.usuario = QStringLiteral("backoffice");
            a.tipoMotivo = QStringLiteral("ANULACION");
            for (int i = 0; i < resto.size(); ++i) {
                const QString &o = resto[i];
                if (o == QLatin1String("--marcas")) {
                    a.marcas = true;
                    continue;
                }
                QString *destino = o == QLatin1String("--ticket")   ? &a.boleto
                                   : o == QLatin1String("--reason") ? &a.motivo
                                   : o == QLatin1String("--type")   ? &a.tipoMotivo
                                   : o == QLatin1String("--user")   ? &a.usuario
                                                                    : nullptr;
                if (!destino)
                    throw ErrorUso(QStringLiteral("cancel: unexpected argument \"%1\"").arg(o));
                if (i + 1 >= resto.size())
                    throw ErrorUso(QStringLiteral("cancel: %1 needs a value").arg(o));
                *destino = resto[++i];
            }
            if (a.boleto.isEmpty())
                throw ErrorUso(QStringLiteral("cancel needs --ticket CODE"));
            parametros(central);
            auto db = abrirCentral(central);
            const long long numero = anularBoleto(*db, a);
            salida << "ticket " << a.boleto << " (number " << numero << ") cancelled\n";
            return 0;
        }

        if (comando == QLatin1String("results") || comando == QLatin1String("archive-day")) {
            const bool resultados = comando == QLatin1String("results");
            Resultados r;
            bool conCarrera = false;
            auto valor = [&](int &i) {
                if (i + 1 >= resto.size())
                    throw ErrorUso(comando + QStringLiteral(": %1 needs a value").arg(resto[i]));
                return resto[++i];
            };
            auto entero = [&](int &i) {
                const QString opcion = resto[i];
                bool ok = false;
                const int v = valor(i).toInt(&ok);
                if (!ok || v <= 0)
                    throw ErrorUso(
                        comando +
                        QStringLiteral(": %1 wants a positive number, got \"%2\"").arg(opcion, resto[i]));
                return v;
            };
            for (int i = 0; i < resto.size(); ++i) {
                const QString &o = resto[i];
                if (o == QLatin1String("--date")) {
                    r.fecha = QDate::fromString(valor(i), QStringLiteral("yyyy-MM-dd"));
                    if (!r.fecha.isValid())
                        throw ErrorUso(comando +
                                       QStringLiteral(": --date wants YYYY-MM-DD, got \"%1\"").arg(resto[i]));
                } else if (resultados && o == QLatin1String("--race")) {
                    r.carrera = entero(i);
                    conCarrera = true;
                } else if (resultados && o == QLatin1String("--winner")) {
                    r.ganadores << entero(i);
                } else if (resultados && o == QLatin1String("--withdrawn")) {
                    r.retirados << entero(i);
                } else if (resultados && o == QLatin1String("--tie")) {
                    r.empates << entero(i);
                } else if (resultados && o == QLatin1String("--prize-per-unit")) {
                    bool ok = false;
                    r.premioPorUnidad = valor(i).toDouble(&ok);
                    if (!ok || r.premioPorUnidad < 0)
                        throw ErrorUso(QStringLiteral("results: --prize-per-unit wants a number, got \"%1\"")
                                           .arg(resto[i]));
                } else {
                    throw ErrorUso(comando + QStringLiteral(": unexpected argument \"%1\"").arg(o));
                }
            }
            if (!r.fecha.isValid())
                throw ErrorUso(comando + QStringLiteral(" needs --date YYYY-MM-DD"));
            if (resultados && !conCarrera)
                throw ErrorUso(QStringLiteral("results needs --race N"));
            parametros(central);
            auto db = abrirCentral(central);
            if (resultados) {
                const ConteoResultados n = cargarResultados(*db, r);
                salida << "race " << r.carrera << " of " << fechaSql(r.fecha) << ": " << n.ganadores
                       << " winning, " << n.retirados << " withdrawn, " << n.empates << " tied tickets\n";
            } else {
                const ConteoArchivo n = archivarDia(*db, r.fecha);
                salida << "day " << fechaSql(r.fecha) << " archived: " << n.boletos << " tickets, "
                       << n.marcas << " Marcas tickets, " << n.totales << " totals rows\n";
            }
            return 0;
        }

        // set
        parametros(central);
        auto db = abrirCentral(central);
        for (const QString &h : fijarConfiguracion(*db, resto))
            salida << "configuracion." << h << '\n';
        return 0;
    } catch (const ErrorUso &e) {
        errores << "corvalo-backoffice: " << QString::fromStdString(e.what()) << "\n\n" << textoUso();
        return 2;
    } catch (const std::exception &e) {
        errores << "corvalo-backoffice: " << QString::fromStdString(e.what()) << '\n';
        return 1;
    }
}

} // namespace corvalo::backoffice
