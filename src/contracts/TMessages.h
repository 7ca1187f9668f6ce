#pragma once
// Keyed message table of the shared services library: lines "key|text"; Msg finds the text of the
// first line whose key matches without regard to letter case.

#include "contracts/Export.h"

#include <QString>
#include <QStringList>

namespace contracts {

class TKT_SHARED_SERVICES_EXPORT TMessages {
public:
    QStringList Messages;

    // The text of the first line keyed `key` (case-insensitive); an empty text when no line is.
    QString Msg(const QString &key) const;

    // Reads the lines of a text file or Qt resource (UTF-8, one "key|text" a line).
    static TMessages fromFile(const QString &path);
};

} // namespace contracts
