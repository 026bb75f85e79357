// Text helpers shared by every subsystem: the Windows-1252 code page of the database,
// the leading-number conversion used on typed values, and the plain text form of numbers.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>

#include <algorithm>

namespace corvalo {

// Windows-1252 <-> Unicode. The mapping is a bijection over the 256 byte codes: the five
// codes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 etc., as
// MySQL's latin1 does, so any byte string survives a round trip.
QChar charDeCodigo(unsigned char code);
// Code of a character in the code page; -1 when the character has none.
int codigoDeChar(QChar c);
QString desdeCp1252(QByteArrayView bytes);
// Characters with no code are written as '?'.
QByteArray aCp1252(const QString &text);
// True when every character of the text has a Windows-1252 code (it survives the database).
bool cabeEnCp1252(const QString &text);
// The text with every control character (codes below 32, and 127) replaced by a blank: values
// from the database or the session printed on a ticket cannot carry printer commands.
QString sinControles(const QString &text);

// The usual leading-number conversion: leading blanks skipped, an optional sign, digits with
// an optional "." fraction and exponent; anything after that is ignored; empty text is 0.
double numeroDe(const QString &text);
double numeroDe(QByteArrayView bytes); // the same over Windows-1252 bytes

// Builds a text by plain copies into one buffer, for the statements, keys and codes made on
// every sale: reserve about what it will hold, add the pieces, take the text.
class Armado {
public:
    explicit Armado(qsizetype reserva) : s_(std::max<qsizetype>(reserva, 16), Qt::Uninitialized) { apuntar(0); }
    Armado &operator<<(QLatin1String t) {
        const qsizetype n = t.size();
        lugar(n);
        const char *d = t.data();
        for (qsizetype i = 0; i < n; ++i)
            p_[i] = char16_t(static_cast<unsigned char>(d[i]));
        p_ += n;
        return *this;
    }
    Armado &operator<<(QStringView t) {
        const qsizetype n = t.size();
        lugar(n);
        std::copy_n(t.utf16(), n, p_);
        p_ += n;
        return *this;
    }
    Armado &operator<<(const QString &t) { return *this << QStringView(t); }
    Armado &operator<<(QLatin1Char c) {
        lugar(1);
        *p_++ = char16_t(static_cast<unsigned char>(c.toLatin1()));
        return *this;
    }
    QString texto() && {
        s_.truncate(p_ - reinterpret_cast<char16_t *>(s_.data()));
        return std::move(s_);
    }

private:
    void apuntar(qsizetype usado) {
        char16_t *inicio = reinterpret_cast<char16_t *>(s_.data());
        p_ = inicio + usado;
        fin_ = inicio + s_.size();
    }
    void lugar(qsizetype n) {
        if (fin_ - p_ >= n)
            return;
        const qsizetype usado = p_ - reinterpret_cast<char16_t *>(s_.data());
        s_.resize(std::max(2 * s_.size(), usado + n));
        apuntar(usado);
    }
    QString s_;
    char16_t *p_ = nullptr, *fin_ = nullptr;
};

// Plain text form of a number as the system writes it into statements, keys and messages:
// "5", "12.5", "-3", "0.3" (shortest form that reads back exactly, "." as decimal separator,
// no exponent).
QString textoNumero(double value);

// Dates as the database and the screens write them.
QString fechaSql(const QDate &d);      // "YYYY-MM-DD"
QString fechaPantalla(const QDate &d); // "DD-MM-YYYY"
// Reads a database date value ("YYYY-MM-DD", optionally followed by a time).
QDate fechaDeTexto(const QString &text);

} // namespace corvalo
