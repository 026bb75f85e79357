// What the fuzz targets share: the input read as Windows-1252 texts and small numbers, the way
// values reach the program from the database, the files and the ports.
#pragma once

#include "texto.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace corvalo::fuzz {

inline QString texto(FuzzedDataProvider &d, std::size_t largo = 64) {
    const std::string s = d.ConsumeRandomLengthString(largo);
    return desdeCp1252(QByteArrayView(s.data(), qsizetype(s.size())));
}

inline QString resto(FuzzedDataProvider &d) {
    const std::string s = d.ConsumeRemainingBytesAsString();
    return desdeCp1252(QByteArrayView(s.data(), qsizetype(s.size())));
}

// A property that must hold for every input: a failure stops the fuzzer with the input saved.
inline void exigir(bool cierto, const char *que) {
    if (!cierto) {
        std::fprintf(stderr, "property broken: %s\n", que);
        std::abort();
    }
}

} // namespace corvalo::fuzz
