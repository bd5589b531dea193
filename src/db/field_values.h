#pragma once
// One record field handed to SQLite as the engine types it: texts right-trimmed and in UTF-8,
// whole numbers of an N field without decimals as integers, other numbers as reals, dates as
// yyyy-MM-dd, logicals as 0/1, and blanks as NULL. The same value whether SQLite receives it
// as a bound parameter (loading a copy) or as a column result (reading the file directly).

#include "dbf_format.h"

#include <sqlite3.h>

#include <cstring>

namespace vartesa::db {

/// Gives the field of `rec` to `sink`: text(p, len), integer(i), real(d) or null(). A text
/// handed over lives in the record or in `scratch` until the next call with that scratch.
template <class Sink>
void emitField(const Field& f, const char* rec, QByteArray& scratch, Sink&& sink) {
    const char* p = rec + f.offset;
    switch (f.type) {
    case FieldType::Char: {
        int len = f.length;
        while (len > 0 && (p[len - 1] == ' ' || p[len - 1] == '\0')) --len;
        bool ascii = true;
        for (int i = 0; i < len && ascii; ++i) ascii = static_cast<unsigned char>(p[i]) < 0x80;
        if (ascii) {
            sink.text(p, len);
        } else {
            scratch.clear();
            decodeChar(p, len, scratch);
            sink.text(scratch.constData(), int(scratch.size()));
        }
        return;
    }
    case FieldType::Numeric:
    case FieldType::Float: {
        std::int64_t i = 0;
        double d = 0;
        bool isInteger = false;
        if (!decodeNumber(p, f.length, i, d, isInteger)) sink.null();
        else if (f.type == FieldType::Numeric && f.decimals == 0 && isInteger) sink.integer(i);
        else sink.real(d);
        return;
    }
    case FieldType::Date: {
        QDate date;
        if (!decodeDate(p, f.length, date)) {
            sink.null();
            return;
        }
        scratch.resize(10);
        char* iso = scratch.data();
        std::memcpy(iso, p, 4);
        iso[4] = '-';
        std::memcpy(iso + 5, p + 4, 2);
        iso[7] = '-';
        std::memcpy(iso + 8, p + 6, 2);
        sink.text(iso, 10);
        return;
    }
    case FieldType::Logical: {
        const int b = decodeLogical(*p);
        if (b < 0) sink.null();
        else sink.integer(b);
        return;
    }
    }
}

} // namespace vartesa::db
