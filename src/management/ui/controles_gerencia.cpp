#include "controles_gerencia.h"

#include "ventanas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

namespace corvalo {

QLineEdit *celda(const QString &nombre, QWidget *padre) {
    auto *e = nombrar(new QLineEdit(padre), nombre);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QLabel *rotulo(const QString &texto, QWidget *buddy, QWidget *padre) {
    auto *l = new QLabel(texto, padre);
    l->setBuddy(buddy);
    return l;
}

namespace {

// Typed races and horses: digits, or the list's word for "all" ("TODAS", "TODOS"), in
// capitals. The same check applies to typing, pasting and dropping.
class ValidadorNumero : public QValidator {
public:
    ValidadorNumero(const QString &todos, QObject *padre) : QValidator(padre), todos_(todos) {}
    State validate(QString &texto, int &) const override {
        texto = texto.toUpper();
        if (texto.isEmpty())
            return Intermediate;
        bool digitos = texto.size() <= 3;
        for (QChar c : texto)
            digitos = digitos && c.isDigit() && c.unicode() < 128;
        if (digitos)
            return Acceptable;
        if (!todos_.isEmpty() && todos_.startsWith(texto))
            return texto == todos_ ? Acceptable : Intermediate;
        return Invalid;
    }

private:
    QString todos_;
};

} // namespace

QComboBox *lista(const QString &nombre, QWidget *padre) {
    auto *c = nombrar(new QComboBox(padre), nombre);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QComboBox *tecleable(const QString &nombre, const QStringList &items, const QString &todos, QWidget *padre) {
    QComboBox *c = lista(nombre, padre);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // A race is typed whole: "2" stays 2 (the list's "02"), not the "201" a completion would make.
    c->setCompleter(nullptr);
    c->addItems(items);
    c->setValidator(new ValidadorNumero(todos, c));
    c->setCurrentIndex(-1);
    c->setEditText(QString());
    return c;
}

int ancho(const QWidget *w, const QString &muestra) {
    return w->fontMetrics().horizontalAdvance(muestra) + 16;
}

} // namespace corvalo
