// A library table described as data: its file, its header and its columns in
// file order. One reader and one writer (library_file.h) serve every table.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

enum class ColumnKind {
    text,     // stored in a fixed text field of the record
    number,   // stored as a double
    derived,  // read and dropped; written from other fields of the row
};

template <class Record>
struct Column {
    const char* name;
    ColumnKind kind;
    const char* format;  // how the writer puts the value out, e.g. "%.20s", "%.3lf"
    std::span<char> (*text)(Record&) = nullptr;
    double Record::*number = nullptr;
    double (*derive)(const Record&) = nullptr;
    // A number column that this row leaves empty in the file.
    bool (*written_empty)(const Record&) = nullptr;
    // The precision of a format of the plain form "%.Ns" or "%.Nlf", read once
    // here rather than for every field of every row; -1 for any other format.
    int precision = -1;
};

// The N of "%.Ns", "%.Nf" or "%.Nlf"; -1 when the format is anything else.
constexpr int plain_precision(const char* format) {
    if (format == nullptr || format[0] != '%' || format[1] != '.') return -1;
    int at = 2;
    int precision = 0;
    if (format[at] < '0' || format[at] > '9') return -1;
    for (; format[at] >= '0' && format[at] <= '9'; ++at) precision = precision * 10 + (format[at] - '0');
    if (format[at] == 'l') ++at;
    if ((format[at] != 's' && format[at] != 'f') || format[at + 1] != '\0') return -1;
    if (format[at] == 's' && format[at - 1] == 'l') return -1;
    return precision;
}

// Where a column's field lies in its record. A reader or writer that walks
// every field of every row reaches fields through these, since a call per
// field costs more than the field's own work.
struct FieldPlace {
    ColumnKind kind = ColumnKind::text;
    std::size_t offset = 0;  // from the record's start; a derived column has none
    std::size_t size = 0;    // a text field's width, a number's sizeof(double)
};

// The places of the columns' fields, in column order, found once in a record
// the columns are applied to.
template <class Record>
std::vector<FieldPlace> field_places(std::span<const Column<Record>> columns) {
    Record probe;
    const auto* start = reinterpret_cast<const char*>(&probe);
    std::vector<FieldPlace> places;
    places.reserve(columns.size());
    for (const Column<Record>& column : columns) {
        FieldPlace place{.kind = column.kind};
        if (column.kind == ColumnKind::text) {
            const std::span<char> field = column.text(probe);
            place.offset = static_cast<std::size_t>(field.data() - start);
            place.size = field.size();
        } else if (column.kind == ColumnKind::number) {
            place.offset = static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*(column.number))) - start);
            place.size = sizeof(double);
        }
        places.push_back(place);
    }
    return places;
}

template <class Record>
struct TableFormat {
    const char* file_name;   // e.g. "feeds_speeds.dat"
    const char* table_name;  // named in messages, e.g. "feeds_speeds"
    // Everything before the first data line: comment block, dashed lines and the
    // FORMAT line, with "\n" line ends.
    const char* header;
    std::span<const Column<Record>> columns;
};

namespace column_detail {
template <class T>
struct member_of;
template <class R, class T>
struct member_of<T R::*> {
    using record = R;
};
template <auto Field>
using record_of = typename member_of<decltype(Field)>::record;

template <auto Field>
std::span<char> text_of(record_of<Field>& row) {
    return std::span<char>(row.*Field);
}
}  // namespace column_detail

template <auto Field>
constexpr Column<column_detail::record_of<Field>> text_column(const char* name, const char* format) {
    return {name, ColumnKind::text, format, &column_detail::text_of<Field>, nullptr, nullptr, nullptr,
            plain_precision(format)};
}

template <auto Field>
constexpr Column<column_detail::record_of<Field>> number_column(
    const char* name, const char* format, bool (*written_empty)(const column_detail::record_of<Field>&) = nullptr) {
    return {name, ColumnKind::number, format, nullptr, Field, nullptr, written_empty, plain_precision(format)};
}

template <class Record>
constexpr Column<Record> derived_column(const char* name, const char* format, double (*derive)(const Record&)) {
    return {name, ColumnKind::derived, format, nullptr, nullptr, derive, nullptr, plain_precision(format)};
}
