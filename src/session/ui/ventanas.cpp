#include "ventanas.h"

#include "menu_principal.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

namespace corvalo {

QPushButton *boton(const QString &nombre, const QString &texto, QWidget *padre) {
    auto *b = nombrar(new QPushButton(texto, padre), nombre);
    b->setAutoDefault(true); // Enter presses the focused button
    return b;
}

QString css(const Color &c) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b);
}

void fondo(QWidget *w, const Color &c, const QString &texto) {
    w->setStyleSheet(QStringLiteral("background-color:%1;color:%2;").arg(css(c), texto));
}

namespace {
QRect areaPantalla(QWidget *w) {
    QScreen *pantalla = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return pantalla ? pantalla->geometry() : QRect(0, 0, 1024, 768);
}
} // namespace

void centrarVentana(QWidget *ventana) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(ventana->parentWidget())) {
        if (QMdiArea *area = sub->mdiArea()) {
            const QSize exterior = area->viewport()->size();
            sub->move(centradoEnMarco(exterior, sub->size()));
            return;
        }
    }
    const QPoint p = centrado(areaPantalla(ventana), ventana->frameGeometry().size());
    ventana->move(p);
}

void centrarMarcoEnPantalla(QWidget *marco) {
    const QRect pantalla = areaPantalla(marco);
    const QPoint global =
        centradoHorizontal(pantalla, QRect(marco->mapToGlobal(QPoint(0, 0)), marco->size()));
    marco->move(marco->parentWidget() ? marco->parentWidget()->mapFromGlobal(global) : global);
}

void centrarMarcoEnMarco(QWidget *marco, QWidget *exterior) {
    const QPoint p = centradoEnMarco(exterior->size(), marco->size());
    if (marco->parentWidget() == exterior || !marco->parentWidget())
        marco->move(p);
    else
        marco->move(marco->parentWidget()->mapFromGlobal(exterior->mapToGlobal(p)));
}

} // namespace corvalo

namespace corvalo {

void ofrecerImprimirDeNuevo(Dialogos &dialogos, QString pregunta, const QString &titulo,
                            const QString &otraVez, const std::function<void()> &imprimir,
                            const std::function<void(const std::exception &)> &fallo) {
    while (dialogos.pregunta(pregunta, titulo, Icono::Exclamacion)) {
        try {
            imprimir();
            return;
        } catch (const std::exception &e) {
            fallo(e);
            pregunta = otraVez;
        }
    }
}

void maximizarEnVentanaPrincipal(QWidget *pantalla) {
    QTimer::singleShot(0, pantalla, [pantalla] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(pantalla->parentWidget()))
            sub->showMaximized();
    });
}

void cerrarPantalla(QWidget *pantalla) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(pantalla->parentWidget()))
        sub->close();
    else
        pantalla->close();
}

void cerrarConEscape(QWidget *pantalla) {
    auto *escape = new QAction(pantalla);
    escape->setObjectName(QStringLiteral("cerrar_escape"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(escape, &QAction::triggered, pantalla, [pantalla] { cerrarPantalla(pantalla); });
    pantalla->addAction(escape);
}

namespace {

QPixmap dibujarIcono(int lado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const double u = lado / 32.0;
    // The track.
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 96, 48));
    g.drawRoundedRect(QRectF(0.5 * u, 0.5 * u, 31 * u, 31 * u), 6 * u, 6 * u);
    // A horseshoe, open at the bottom, in gold.
    QPen herradura(QColor(240, 200, 60), 5 * u, Qt::SolidLine, Qt::FlatCap);
    g.setPen(herradura);
    g.setBrush(Qt::NoBrush);
    g.drawArc(QRectF(7 * u, 5 * u, 18 * u, 20 * u), -30 * 16, 240 * 16);
    // Its nail holes.
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 96, 48));
    for (const QPointF c : {QPointF(9.3, 12), QPointF(22.7, 12), QPointF(12.5, 7.6), QPointF(19.5, 7.6)})
        g.drawEllipse(QPointF(c.x() * u, c.y() * u), 0.9 * u, 0.9 * u);
    return p;
}

} // namespace

QIcon iconoPrograma() {
    QIcon icono;
    for (int lado : {16, 24, 32, 48, 64})
        icono.addPixmap(dibujarIcono(lado));
    return icono;
}

bool instalarTraduccionesQt() {
    auto *traductor = new QTranslator(QCoreApplication::instance());
    if (!traductor->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    QCoreApplication::installTranslator(traductor);
    return true;
}

} // namespace corvalo
