// The controls the console's tabs are built from.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace corvalo {

// A read-only figure that takes no focus.
QLineEdit *celda(const QString &nombre, QWidget *padre);
// A caption whose mnemonic moves to `buddy`.
QLabel *rotulo(const QString &texto, QWidget *buddy, QWidget *padre);
// A list as wide as its entries.
QComboBox *lista(const QString &nombre, QWidget *padre);
// A list of races or horses that may also be typed: digits, or `todos` ("TODAS", "TODOS").
QComboBox *tecleable(const QString &nombre, const QStringList &items, const QString &todos, QWidget *padre);
// The width that shows `muestra` in `w`'s font, with room for the frame.
int ancho(const QWidget *w, const QString &muestra);

} // namespace corvalo
