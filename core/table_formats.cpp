// The columns and headers of the four library files. A data line is the keyword
// "DATA", then the columns below in file order, each after a "|".
#include "table_formats.h"

#define DASHED_LINE "#----------------+-------------------------------+-------------\n"

namespace {

double depth_in_inches(const FEEDS& row) { return row.DPT_CUT_MM * inches_per_mm; }
double speed_in_feet_per_minute(const FEEDS& row) { return row.SURF_SPEED_MPM * feet_per_metre; }
double feed_in_inches(const FEEDS& row) { return row.FEED_MMPT * inches_per_mm; }
// Index columns stay empty unless the row has an index value.
bool no_index(const FEEDS& row) { return row.INDEX1 == 0 && row.INDEX2 == 0; }

const Column<FEEDS> feeds_columns[] = {
    text_column<&FEEDS::LIBRF>("LIBRF", "%.20s"),
    text_column<&FEEDS::OPERTYPE>("OPERTYPE", "%.20s"),
    text_column<&FEEDS::PARTMAT>("PARTMAT", "%.20s"),
    text_column<&FEEDS::TOOLMAT>("TOOLMAT", "%.20s"),
    derived_column<FEEDS>("DPT_CUT_IN", "%.3lf", depth_in_inches),
    number_column<&FEEDS::DPT_CUT_MM>("DPT_CUT_MM", "%.3lf"),
    number_column<&FEEDS::INDEX1>("INDEX1", "%.2lf", no_index),
    number_column<&FEEDS::INDEX2>("INDEX2", "%.2lf", no_index),
    derived_column<FEEDS>("SURF_SPEED_FPM", "%.3lf", speed_in_feet_per_minute),
    number_column<&FEEDS::SURF_SPEED_MPM>("SURF_SPEED_MPM", "%.3lf"),
    derived_column<FEEDS>("FEED_IPT", "%.3lf", feed_in_inches),
    number_column<&FEEDS::FEED_MMPT>("FEED_MMPT", "%.3lf"),
};

const Column<TOOL_MATERIALS> tool_material_columns[] = {
    text_column<&TOOL_MATERIALS::LIBRF>("LIBRF", "%.20s"),
    text_column<&TOOL_MATERIALS::MATNAM>("MATNAM", "%.50s"),
    text_column<&TOOL_MATERIALS::MATDESC>("MATDESC", "%.133s"),
};

// The library reference is the record's first field but the file's last column.
const Column<PARTS> part_material_columns[] = {
    text_column<&PARTS::MATCODE>("MATCODE", "%.50s"),
    text_column<&PARTS::MATNAME>("MATNAME", "%.50s"),
    text_column<&PARTS::PARTMAT>("PARTMAT", "%.133s"),
    text_column<&PARTS::HARDNESS>("HARDNESS", "%.20s"),
    text_column<&PARTS::LIBRF>("LIBRF", "%.20s"),
};

const Column<CUTS> cut_method_columns[] = {
    text_column<&CUTS::LIBRF>("LIBRF", "%.20s"),
    text_column<&CUTS::MODE>("MODE", "%.20s"),
    text_column<&CUTS::NAME>("NAME", "%.50s"),
    text_column<&CUTS::DESCRIPTION>("DESCRIPTION", "%.133s"),
};

}  // namespace

const TableFormat<FEEDS> feeds_format = {
    "feeds_speeds.dat",
    "feeds_speeds",
    "# FEEDS_SPEEDS.DAT\n"
    "##########################################################################\n"
    "#\n"
    "#   PURPOSE:\n"
    "#\n"
    "#      This is the database file used for defining Speeds and Feeds in\n"
    "#      an operation.\n"
    "#\n"
    "##########################################################################\n"
    "##\n"
    "##  The data is organized in the format separated by |\n"
    "##  The fields in the database are in the following order:\n"
    "##\n"
    "##  LIBRF           - Unique record identifier\n"
    "##                     (Library Reference)\n"
    "##  OPERTYPE        - cutmthd_libref              Cut Method Library Reference\n"
    "##  PARTMAT         - part_material_libref Part   Part Material Library Reference\n"
    "##  TOOLMAT         - tool_material_libref        Tool Material Library Reference\n"
    "##  DPT_CUT_IN      - dpth_of_cut                 Depth_of_cut(inch)\n"
    "##  DPT_CUT_MM      - dpth_of_cut                 Depth_of_cut(mm)\n"
    "##  SURF_SPEED_FPM  - surface_speed               Suface Speed(FPM)\n"
    "##  SURF_SPEED_MPM  - surface_speed               Suface Speed(MPM)\n"
    "##  FEED_IPT        - feed_per_tooth              Feed per Tooth(IPT)\n"
    "##  FEED_MMPT       - feed_per_tooth              Feed per Tooth(MMPT)\n"
    "#\n"
    "#########################################################################\n"
    DASHED_LINE
    "\nFORMAT LIBRF OPERTYPE PARTMAT TOOLMAT DPT_CUT_IN DPT_CUT_MM INDEX1 INDEX2 SURF_SPEED_FPM SURF_SPEED_MPM "
    "FEED_IPT FEED_MMPT\n\n"
    DASHED_LINE,
    feeds_columns,
};

const TableFormat<TOOL_MATERIALS> tool_material_format = {
    "tool_materials.dat",
    "tool_materials",
    "# TOOL_MATERIALS.DAT\n"
    "##########################################################################\n"
    "#\n"
    "#   PURPOSE:\n"
    "#\n"
    "#      This is the database file used for defining Tool Material.\n"
    "#\n"
    "##########################################################################\n"
    "##\n"
    "##  The following key words for Attribute ids are defined\n"
    "##\n"
    "##  LIBREF   material_code         - Unique record identifier\n"
    "##                                   (Library Reference)\n"
    "##  MATNAM   material_name         - Material Name  (appears on the label)\n"
    "##  MATDESC  material_description  - Material Description\n"
    "#########################################################################\n"
    DASHED_LINE
    "FORMAT LIBRF MATNAM MATDESC\n"
    DASHED_LINE,
    tool_material_columns,
};

const TableFormat<PARTS> part_material_format = {
    "part_materials.dat",
    "part_materials",
    "# PART_MATERIALS.DAT\n"
    "##########################################################################\n"
    "#\n"
    "#   PURPOSE:\n"
    "#\n"
    "#      This is the database file used for defining Part Material.\n"
    "#\n"
    "##########################################################################\n"
    "##\n"
    "##  The following key words for Attribute ids are defined\n"
    "##\n"
    "##  MATCODE   material_code          - Material Code\n"
    "##  MATNAME   material_name          - Material Name (appears on the label)\n"
    "##  PARTMAT   material_description   - Material Description\n"
    "##  HARDNESS  material_hardness      - Material Hardness\n"
    "##  LIBREF    partmaterial_libref    - Unique record identifier\n"
    "##                                     (Library Reference)\n"
    "#########################################################################\n"
    DASHED_LINE
    "\nFORMAT MATCODE MATNAME PARTMAT HARDNESS LIBRF\n\n"
    DASHED_LINE,
    part_material_columns,
};

const TableFormat<CUTS> cut_method_format = {
    "cut_methods.dat",
    "cut_methods",
    "# CUT_METHODS.DAT\n"
    "##########################################################################\n"
    "#\n"
    "#   PURPOSE:\n"
    "#\n"
    "#      This is the database file used for defining \"Cut Method\" in\n"
    "#      Machining method.  The library reference is used for Feeds and\n"
    "#      Speeds Specifications.\n"
    "#\n"
    "##########################################################################\n"
    "##\n"
    "##  The following key words for Attribute ids are defined\n"
    "##\n"
    "##  LIBREF   cutmthd_libref   - Unique record identifier (Library Reference)\n"
    "##                                   (Library Reference)\n"
    "##  MODE     machine_mode     - Machine mode - MILL\n"
    "##                                           - DRILL\n"
    "##                                           - LATHE\n"
    "##  NAME     name             - Name of Cutting Method \n"
    "##                              (appears on the label in method view)\n"
    "#########################################################################\n"
    DASHED_LINE
    "FORMAT LIBRF MODE NAME DESCRIPTION\n"
    DASHED_LINE,
    cut_method_columns,
};
