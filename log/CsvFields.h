// What the CSV writers (touch.csv, guide.csv) share: the file opened with its
// header, and text and numbers written straight into a row buffer with
// std::to_chars, no allocation and no locale.
#pragma once

#include <charconv>
#include <cstring>
#include <fstream>

// Opens (truncating) `name` in binary, so that rows end in CR LF exactly, and
// writes the header line. A file that cannot be opened stays closed.
inline void OpenCsvFile(std::ofstream& file, const char* name, const char* header) {
    file.open(name, std::ios::out | std::ios::trunc | std::ios::binary);
    if (file.is_open()) {
        file.write(header, (std::streamsize)std::strlen(header));
        file.write("\r\n", 2);
        file.flush();
    }
}

inline char* AppendText(char* p, const char* text) {
    while (*text)
        *p++ = *text++;
    return p;
}

// A number and the comma after it; 20 characters hold any 64-bit number.
template <typename Number> char* AppendField(char* p, Number value) {
    static_assert(sizeof(Number) <= 8, "room for 64-bit numbers only");
    p = std::to_chars(p, p + 20, value).ptr;
    *p++ = ',';
    return p;
}

// Turns the comma after the last field into the row's CR LF; returns the row's length.
inline int EndCsvRow(char* row, char* p) {
    p[-1] = '\r';
    *p++ = '\n';
    return (int)(p - row);
}
