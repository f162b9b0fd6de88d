// The rows of the four library tables. Plain values: fixed-width single-byte
// texts (code page 1251), each terminated inside its width, and doubles.
#pragma once

#include <cstdint>

class FEEDS {
public:
    virtual ~FEEDS() = default;

    char tag[10] = {};
    char LIBRF[25] = {};
    char OPERTYPE[20] = {};
    char PARTMAT[20] = {};
    char TOOLMAT[20] = {};
    double DPT_CUT_IN = 0.0;
    double DPT_CUT_MM = 0.0;
    double INDEX1 = 0.0;
    double INDEX2 = 0.0;
    double SURF_SPEED_FPM = 0.0;
    double SURF_SPEED_MPM = 0.0;
    double FEED_IPT = 0.0;
    double FEED_MMPT = 0.0;
};

class TOOL_MATERIALS {
public:
    virtual ~TOOL_MATERIALS() = default;

    char tag[10] = {};
    char LIBRF[20] = {};
    char MATNAM[50] = {};
    char MATDESC[133] = {};
    // The row's place among the rows of the last load; not stored in the file.
    std::int32_t util = 0;
};

class PARTS {
public:
    virtual ~PARTS() = default;

    char tag[10] = {};
    char LIBRF[20] = {};
    char MATCODE[50] = {};
    char MATNAME[50] = {};
    char PARTMAT[133] = {};
    char HARDNESS[20] = {};
};

class CUTS {
public:
    virtual ~CUTS() = default;

    char tag[10] = {};
    char LIBRF[20] = {};
    char MODE[20] = {};
    char NAME[50] = {};
    char DESCRIPTION[133] = {};
};
