#include "bench_library.h"

#include <cstdio>
#include <fstream>

namespace {

// Texts as the editors store them: code page 1251 bytes.
constexpr const char* milling = "\xD4\xF0\xE5\xE7\xE5\xF0\xEE\xE2\xE0\xED\xE8\xE5";  // Фрезерование
constexpr const char* steel = "\xD1\xF2\xE0\xEB\xFC";                              // Сталь
constexpr const char* carbide = "\xD2\xE2\xE5\xF0\xE4\xFB\xE9 \xF1\xEF\xEB\xE0\xE2";  // Твердый сплав

template <class Line>
void write_lines(const std::string& path, int rows, Line line) {
    std::ofstream out(path, std::ios::binary);
    char text[300];
    for (int i = 0; i < rows; ++i) {
        line(text, sizeof text, i);
        out << text << "\r\n";
    }
}

}  // namespace

void write_bench_library(const std::string& folder, int feeds_rows, int auxiliary_rows) {
    write_lines(folder + "/feeds_speeds.dat", feeds_rows, [&](char* text, std::size_t size, int i) {
        std::snprintf(text, size,
                      "DATA|FSDO_%06d|OPD0_%04d|MAT0_%04d|TMC0_%04d|0.098|%d.500|%s|%s|98.425|%d.000|0.004|0.1%02d", i,
                      i % auxiliary_rows, (i * 7) % auxiliary_rows, (i * 13) % auxiliary_rows, i % 9,
                      i % 5 ? "" : "1.00", i % 5 ? "" : "2.00", 20 + i % 300, i % 100);
    });
    write_lines(folder + "/cut_methods.dat", auxiliary_rows, [](char* text, std::size_t size, int i) {
        std::snprintf(text, size, "DATA|OPD0_%04d|MILL|%s %d|Roughing of a step", i, milling, i);
    });
    write_lines(folder + "/part_materials.dat", auxiliary_rows, [](char* text, std::size_t size, int i) {
        std::snprintf(text, size, "DATA|ST%d|%s %d|Structural steel|HB 200|MAT0_%04d", i, steel, i, i);
    });
    write_lines(folder + "/tool_materials.dat", auxiliary_rows, [](char* text, std::size_t size, int i) {
        std::snprintf(text, size, "DATA|TMC0_%04d|T15K6-%d|%s", i, i, carbide);
    });
}
