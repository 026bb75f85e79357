#include "texto.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

namespace {

// Whether the bytes hold a code of 0x80..0x9F, the ones Windows-1252 gives other characters
// than Latin-1; eight bytes at a time while they are ASCII.
bool tieneAltos(const char *p, qsizetype n) {
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if ((w & 0x8080808080808080ull) == 0)
            continue;
        for (int k = 0; k < 8; ++k) {
            const auto u = static_cast<unsigned char>(p[i + k]);
            if (u >= 0x80 && u <= 0x9F)
                return true;
        }
    }
    for (; i < n; ++i) {
        const auto u = static_cast<unsigned char>(p[i]);
        if (u >= 0x80 && u <= 0x9F)
            return true;
    }
    return false;
}

// Whether every character of the text is Latin-1 outside 0x80..0x9F, where Windows-1252 and
// Latin-1 agree; four characters at a time while they are ASCII.
bool esLatin1Llano(const QChar *p, qsizetype n) {
    auto llano = [](char16_t u) { return u < 0x80 || (u >= 0xA0 && u <= 0xFF); };
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if ((w & 0xFF80FF80FF80FF80ull) == 0)
            continue;
        for (int k = 0; k < 4; ++k)
            if (!llano(p[i + k].unicode()))
                return false;
    }
    for (; i < n; ++i)
        if (!llano(p[i].unicode()))
            return false;
    return true;
}

} // namespace

QString desdeCp1252(QByteArrayView bytes) {
    // Most texts hold no code of 0x80..0x9F: then Windows-1252 is Latin-1.
    if (!tieneAltos(bytes.data(), bytes.size()))
        return QString::fromLatin1(bytes);
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(charDeCodigo(static_cast<unsigned char>(b)));
    return out;
}

QByteArray aCp1252(const QString &text) {
    if (esLatin1Llano(text.constData(), text.size()))
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
    if (esLatin1Llano(text.constData(), text.size()))
        return true;
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

namespace {

inline char16_t unidadDe(QChar c) {
    return c.unicode();
}
inline char16_t unidadDe(char c) {
    return char16_t(static_cast<unsigned char>(c));
}

// The leading number: blanks, a sign, digits with one decimal point, an exponent. Only ASCII
// characters can belong to it, so the scan runs over the text's own characters.
template <typename C> double numeroEn(const C *s, qsizetype n) {
    auto en = [&](qsizetype i) { return i < n ? unidadDe(s[i]) : char16_t(0); };
    auto digito = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    qsizetype i = 0;
    while (en(i) == u' ' || en(i) == u'\t')
        ++i;
    const qsizetype start = i;
    const bool negativo = en(i) == u'-';
    if (en(i) == u'+' || en(i) == u'-')
        ++i;
    // Up to 15 digits in all and a short fraction: the digits as a whole number, exact in a
    // double, divided once by an exact power of ten give the correctly rounded value, the same
    // that the full conversion gives.
    static constexpr double kPotencias[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t entero = 0;
    qsizetype digits = 0, decimales = 0;
    while (digito(en(i))) {
        entero = entero * 10 + (en(i) - u'0');
        ++i;
        ++digits;
    }
    if (en(i) == u'.') {
        ++i;
        while (digito(en(i))) {
            entero = entero * 10 + (en(i) - u'0');
            ++i;
            ++digits;
            ++decimales;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    bool exponente = false;
    if (en(i) == u'e' || en(i) == u'E') {
        qsizetype j = i + 1;
        if (en(j) == u'+' || en(j) == u'-')
            ++j;
        if (digito(en(j))) {
            while (digito(en(j)))
                ++j;
            end = j;
            exponente = true;
        }
    }
    if (!exponente && digits <= 15) {
        const double v = double(entero) / kPotencias[decimales];
        return negativo ? -v : v;
    }
    qsizetype desde = start;
    if (unidadDe(s[desde]) == u'+')
        ++desde;
    char corto[64];
    std::string largo;
    char *num = corto;
    const qsizetype largoNum = end - desde;
    if (largoNum > qsizetype(sizeof corto)) {
        largo.resize(std::size_t(largoNum));
        num = largo.data();
    }
    for (qsizetype k = 0; k < largoNum; ++k)
        num[k] = char(unidadDe(s[desde + k]));
    double v = 0;
    std::from_chars(num, num + largoNum, v);
    return v;
}

} // namespace

double numeroDe(const QString &text) {
    return numeroEn(text.constData(), text.size());
}

double numeroDe(QByteArrayView bytes) {
    return numeroEn(bytes.data(), bytes.size());
}

QString textoNumero(double value) {
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value) || std::isinf(value))
        return QStringLiteral("0");
    // Room for the fixed form of any finite double (the smallest is "0." and 323 zeros before its
    // digits), so that every number gets its shortest form that reads back exactly.
    char buf[400];
    // Whole numbers, the usual case (races, horses, tablas), written digit by digit: the same
    // text as the shortest form below.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        // The small ones (horses, races, tablas) are made once and shared.
        static const std::array<QString, 256> kPequenos = [] {
            std::array<QString, 256> t;
            for (int i = 0; i < 256; ++i)
                t[std::size_t(i)] = QString::number(i);
            return t;
        }();
        if (value > 0 && value < 256)
            return kPequenos[std::size_t(value)];
        std::uint64_t n = std::uint64_t(std::fabs(value));
        char *fin = buf + sizeof buf, *p = fin;
        do {
            *--p = char('0' + n % 10);
            n /= 10;
        } while (n);
        if (value < 0)
            *--p = '-';
        return QString::fromLatin1(p, qsizetype(fin - p));
    }
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return QString::number(value, 'g', 15);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

namespace {

// "yyyy" "MM" "dd" as QDate::toString writes them, for the years of four digits; the rest (an
// invalid date, other years) goes to Qt.
bool fechaConSeparador(const QDate &d, bool anioPrimero, QString &out) {
    if (!d.isValid())
        return false;
    int y = 0, m = 0, dia = 0;
    d.getDate(&y, &m, &dia);
    if (y < 1000 || y > 9999)
        return false;
    char16_t b[10];
    auto dos = [](char16_t *p, int v) {
        p[0] = char16_t(u'0' + v / 10);
        p[1] = char16_t(u'0' + v % 10);
    };
    auto cuatro = [&](char16_t *p, int v) {
        dos(p, v / 100);
        dos(p + 2, v % 100);
    };
    if (anioPrimero) {
        cuatro(b, y);
        b[4] = u'-';
        dos(b + 5, m);
        b[7] = u'-';
        dos(b + 8, dia);
    } else {
        dos(b, dia);
        b[2] = u'-';
        dos(b + 3, m);
        b[5] = u'-';
        cuatro(b + 6, y);
    }
    out = QString(reinterpret_cast<const QChar *>(b), 10);
    return true;
}

} // namespace

QString fechaSql(const QDate &d) {
    QString out;
    if (fechaConSeparador(d, true, out))
        return out;
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}
QString fechaPantalla(const QDate &d) {
    QString out;
    if (fechaConSeparador(d, false, out))
        return out;
    return d.toString(QStringLiteral("dd-MM-yyyy"));
}

QDate fechaDeTexto(const QString &text) {
    // The server's form "yyyy-MM-dd" (a DATETIME's time after it is ignored) read directly;
    // any other text goes to Qt's parser.
    if (text.size() >= 10) {
        const QChar *c = text.constData();
        auto d = [&](int i) { return c[i] >= u'0' && c[i] <= u'9'; };
        auto v = [&](int i) { return int(c[i].unicode() - u'0'); };
        if (d(0) && d(1) && d(2) && d(3) && c[4] == u'-' && d(5) && d(6) && c[7] == u'-' && d(8) && d(9)) {
            const int y = v(0) * 1000 + v(1) * 100 + v(2) * 10 + v(3);
            if (y >= 1000)
                return QDate(y, v(5) * 10 + v(6), v(8) * 10 + v(9));
        }
    }
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

} // namespace corvalo
