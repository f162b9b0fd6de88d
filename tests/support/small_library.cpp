#include "small_library.h"

#include "test_text.h"

void write_small_library(const ScratchDirectory& library) {
    library.write("cut_methods.dat", cp1251(
        "DATA|OPD0_0001|MILL|Фрезерование черновое|Черновая обработка\r\n"
        "DATA|opd0_0002|DRILL|Сверление|Сверление отверстий\r\n"
        "DATA|AB1|LATHE|Точение|Точение наружное\r\n"
        "DATA|AB12|LATHE|Точение чистовое|Чистовое точение\r\n"));
    library.write("part_materials.dat", cp1251(
        "DATA|ST45|Сталь 45|Сталь конструкционная|HB 200|MAT0_0001\r\n"
        "DATA|D16T|Д16Т|Алюминиевый сплав||MAT0_0002\r\n"));
    library.write("tool_materials.dat", cp1251(
        "DATA|TMC0_0001|Р6М5|Быстрорежущая сталь\r\n"
        "DATA|TMC0_0002|Т15К6|Твердый сплав\r\n"));
    library.write("feeds_speeds.dat",
        "DATA|FSDO_0001|OPD0_0001|MAT0_0001|TMC0_0001|0|2.5|||0|30|0|0.1\r\n"
        "DATA|FSDO_0002|OPD0_0002|mat0_0002|TMC0_0002|0|1|1|2|0|80|0|0.05\r\n"
        "DATA|FSDO_0003|AB12|MAT0_0009|TMC0_0002|0|0.5|||0|120|0|0.08\r\n"
        "DATA|FSDO_0004|OPD0_0001|MAT0_0002|TMC0_0001|0|4|||0|25|0|0.12\r\n");
}
