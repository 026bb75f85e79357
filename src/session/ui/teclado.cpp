#include "teclado.h"

#include "texto.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

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

// Accepts a text only when the filter lets every character through (changing those it changes).
// Blanks and control characters around what was copied (a cell's line end, a scanner's suffix)
// are dropped without a word when the filter does not take them.
class ValidadorFiltro : public QValidator {
public:
    ValidadorFiltro(FiltroCaracter filtro, QObject *padre) : QValidator(padre), filtro_(filtro) {}
    State validate(QString &texto, int &cursor) const override {
        QString fuera;
        fuera.reserve(texto.size());
        int nuevoCursor = cursor;
        for (qsizetype i = 0; i < texto.size(); ++i) {
            const int codigo = codigoDeChar(texto[i]);
            const int filtrado = codigo < 32 ? 0 : filtro_(codigo);
            if (filtrado > 0) {
                fuera += filtrado == codigo ? texto[i] : charDeCodigo(static_cast<unsigned char>(filtrado));
                continue;
            }
            if (!texto[i].isSpace() && texto[i].category() != QChar::Other_Control)
                return Invalid;
            if (i < cursor)
                --nuevoCursor;
        }
        texto = fuera;
        cursor = nuevoCursor;
        return Acceptable;
    }

private:
    FiltroCaracter filtro_;
};

} // namespace

void rechazarTextoFiltrado(QLineEdit *campo, FiltroCaracter filtro, std::function<void()> rechazado) {
    campo->setValidator(new ValidadorFiltro(filtro, campo));
    QObject::connect(campo, &QLineEdit::inputRejected, campo, std::move(rechazado));
}

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
