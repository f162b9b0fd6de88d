// The four library files as data: each one's columns, header and names.
#pragma once

#include "record_table.h"
#include "records.h"
#include "table_format.h"

extern const TableFormat<FEEDS> feeds_format;
extern const TableFormat<TOOL_MATERIALS> tool_material_format;
extern const TableFormat<PARTS> part_material_format;
extern const TableFormat<CUTS> cut_method_format;

// The feeds file's inch columns are derived from its metric values.
inline constexpr double inches_per_mm = 0.03937007874015748;  // 1/25.4
inline constexpr double feet_per_metre = 3.280839895013124;   // 1000/(12 × 25.4)
