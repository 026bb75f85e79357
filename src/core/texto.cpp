#include "texto.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace corvalo {

namespace {
// Unicode of the codes 0x80..0x9F in Windows-1252 (undefined codes keep their own value).
constexpr std::array<char16_t, 32> kAlto = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

QChar charDeCodigo(unsigned char code) {
    if (code >= 0x80 && code <= 0x9F)
        return QChar(kAlto[code - 0x80]);
    return QChar(char16_t(code));
}

int codigoDeChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < kAlto.size(); ++i)
        if (kAlto[i] == u)
            return int(0x80 + i);
    return -1;
}

QString desdeCp1252(QByteArrayView bytes) {
    // Most texts hold no code of 0x80..0x9F: then Windows-1252 is Latin-1.
    bool latin1 = true;
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F) {
            latin1 = false;
            break;
        }
    }
    if (latin1)
        return QString::fromLatin1(bytes);
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(charDeCodigo(static_cast<unsigned char>(b)));
    return out;
}

QByteArray aCp1252(const QString &text) {
    bool latin1 = true;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u > 0xFF || (u >= 0x80 && u <= 0x9F)) {
            latin1 = false;
            break;
        }
    }
    if (latin1)
        return text.toLatin1();
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int code = codigoDeChar(c);
        out.append(code < 0 ? '?' : char(code));
    }
    return out;
}

bool cabeEnCp1252(const QString &text) {
    for (QChar c : text)
        if (codigoDeChar(c) < 0)
            return false;
    return true;
}

QString sinControles(const QString &text) {
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() < 32 || c.unicode() == 127)
            c = QLatin1Char(' ');
    return out;
}

double numeroDe(const QString &text) {
    const std::string s = text.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            end = j;
        }
    }
    std::string num = s.substr(start, end - start);
    if (!num.empty() && num[0] == '+')
        num.erase(0, 1);
    double v = 0;
    std::from_chars(num.data(), num.data() + num.size(), v);
    return v;
}

QString textoNumero(double value) {
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value) || std::isinf(value))
        return QStringLiteral("0");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return QString::number(value, 'g', 15);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString fechaSql(const QDate &d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}
QString fechaPantalla(const QDate &d) {
    return d.toString(QStringLiteral("dd-MM-yyyy"));
}

QDate fechaDeTexto(const QString &text) {
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

} // namespace corvalo
