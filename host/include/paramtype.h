// Parameter types, as the SDK declares them: ParamType for the base types, continued by
// ParamType2. A block stores values of a parameter by its type; these numbers are never saved.
#pragma once

enum ParamType {
    TYPE_FLOAT,
    TYPE_INT,
    TYPE_RGBA,
    TYPE_POINT3,
    TYPE_BOOL,
    TYPE_USER,
};

enum ParamType2 {
    TYPE_ANGLE = TYPE_BOOL + 1,
    TYPE_PCNT_FRAC,
    TYPE_WORLD,
    TYPE_STRING,
    TYPE_FILENAME,
    TYPE_HSV,
    TYPE_COLOR_CHANNEL,
    TYPE_TIMEVALUE,
    TYPE_RADIOBTN_INDEX,
    TYPE_MTL,
    TYPE_TEXMAP,
    TYPE_BITMAP,
    TYPE_INODE,
    TYPE_REFTARG,
    TYPE_INDEX,
    TYPE_MATRIX3,
    TYPE_PBLOCK2,
    TYPE_POINT4,
    TYPE_FRGBA,
};
