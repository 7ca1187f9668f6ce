#pragma once
// Field lists written briefly: the aggregate needs every member spelled out to stay warning-free.
#include "dataset/Field.h"

inline dataset::Field fld(const char *name, dataset::FieldType type, int width = 0, const QString &label = {},
                          bool visible = true)
{
    return dataset::Field{QString::fromUtf8(name), type, width, label, visible};
}
