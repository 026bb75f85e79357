#include "dialogos_qt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace corvalo {

namespace {

// The window that was active when a box opened gets the keyboard back when the box closes, also
// where no window manager hands it back: the screen's shortcut keys (F5, F8 ...) only work in the
// active window.
class VentanaActiva {
public:
    VentanaActiva() : ventana_(QApplication::activeWindow()) {}
    ~VentanaActiva() {
        if (ventana_ && ventana_->isVisible())
            ventana_->activateWindow();
    }
    QWidget *ventana() const { return ventana_; }

private:
    QPointer<QWidget> ventana_;
};

} // namespace

Respuesta DialogosQt::mensaje(const QString &texto, const QString &titulo, Icono icono, Botones botones) {
    const VentanaActiva activa;
    QMessageBox caja(activa.ventana());
    caja.setWindowTitle(titulo);
    caja.setText(texto);
    switch (icono) {
    case Icono::Ninguno:
        caja.setIcon(QMessageBox::NoIcon);
        break;
    case Icono::Error:
        caja.setIcon(QMessageBox::Critical);
        break;
    case Icono::Informacion:
        caja.setIcon(QMessageBox::Information);
        break;
    case Icono::Pregunta:
        caja.setIcon(QMessageBox::Question);
        break;
    case Icono::Exclamacion:
        caja.setIcon(QMessageBox::Warning);
        break;
    }
    switch (botones) {
    case Botones::Ok: {
        QPushButton *ok = caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
        caja.setDefaultButton(ok);
        caja.setEscapeButton(ok);
        caja.exec();
        return Respuesta::Ok;
    }
    case Botones::OkCancel: {
        QPushButton *ok = caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
        QPushButton *cancelar = caja.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
        caja.setDefaultButton(ok);
        caja.setEscapeButton(cancelar);
        caja.exec();
        return caja.clickedButton() == ok ? Respuesta::Ok : Respuesta::Cancel;
    }
    case Botones::SiNo:
    case Botones::SiNoPorNo: {
        QPushButton *si = caja.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
        QPushButton *no = caja.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        caja.setDefaultButton(botones == Botones::SiNoPorNo ? no : si);
        caja.setEscapeButton(no);
        caja.exec();
        return caja.clickedButton() == si ? Respuesta::Si : Respuesta::No;
    }
    }
    return Respuesta::Ok;
}

std::optional<QString> DialogosQt::entrada(const QString &texto, const QString &titulo) {
    const VentanaActiva activa;
    QInputDialog caja(activa.ventana());
    caja.setWindowTitle(titulo);
    caja.setLabelText(texto);
    caja.setInputMode(QInputDialog::TextInput);
    caja.setOkButtonText(QStringLiteral("Aceptar"));
    caja.setCancelButtonText(QStringLiteral("Cancelar"));
    if (caja.exec() != QDialog::Accepted)
        return std::nullopt;
    return caja.textValue();
}

void terminarPrograma() {
    QCoreApplication::exit(0);
}

} // namespace corvalo
