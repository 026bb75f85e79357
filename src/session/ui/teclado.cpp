#include "teclado.h"

#include "texto.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace corvalo {

bool FiltroTeclado::eventFilter(QObject *obj, QEvent *ev) {
    if (ev->type() != QEvent::KeyPress)
        return false;
    auto *tecla = static_cast<QKeyEvent *>(ev);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter)
        return false;
    if (tecla->modifiers() & ~(Qt::KeypadModifier))
        return false;
    auto *boton = qobject_cast<QAbstractButton *>(obj);
    if (!boton || !boton->hasFocus() || !boton->isEnabled() || !boton->isVisible())
        return false;
    if (!tecla->isAutoRepeat())
        boton->click();
    return true;
}

void instalarFiltroTeclado() {
    static FiltroTeclado *filtro = nullptr;
    if (filtro)
        return;
    filtro = new FiltroTeclado(qApp);
    qApp->installEventFilter(filtro);
}

TeclaFiltrada filtrarTecla(QLineEdit *campo, QKeyEvent *k, FiltroCaracter filtro) {
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return TeclaFiltrada::Pasa; // shortcuts, and paste, which the text filter catches
    int codigo = 0;
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        codigo = 13;
        break;
    case Qt::Key_Backspace:
        codigo = 8;
        break;
    default:
        if (k->text().isEmpty())
            return TeclaFiltrada::Pasa; // navigation and function keys
        codigo = codigoDeChar(k->text().at(0));
    }
    const int filtrado = codigo < 0 ? 0 : filtro(codigo);
    if (filtrado == 0)
        return TeclaFiltrada::Tragada;
    if (filtrado == 13)
        return TeclaFiltrada::Enter;
    if (filtrado != codigo) {
        campo->insert(QString(charDeCodigo(static_cast<unsigned char>(filtrado))));
        return TeclaFiltrada::Cambiada;
    }
    return TeclaFiltrada::Pasa;
}

namespace {

QString filtrarTexto(const QString &texto, FiltroCaracter filtro) {
    QString fuera;
    fuera.reserve(texto.size());
    for (QChar c : texto) {
        const int codigo = codigoDeChar(c);
        const int filtrado = codigo < 0 || codigo < 32 ? 0 : filtro(codigo);
        if (filtrado > 0)
            fuera += charDeCodigo(static_cast<unsigned char>(filtrado));
    }
    return fuera;
}

} // namespace

void filtrarTextoPegado(QLineEdit *campo, FiltroCaracter filtro) {
    QObject::connect(campo, &QLineEdit::textEdited, campo, [campo, filtro](const QString &texto) {
        const QString limpio = filtrarTexto(texto, filtro);
        if (limpio == texto)
            return;
        // The cursor stays after the same accepted characters.
        const int cursor = int(filtrarTexto(texto.left(campo->cursorPosition()), filtro).size());
        campo->setText(limpio);
        campo->setCursorPosition(cursor);
    });
}

} // namespace corvalo
