#pragma once
// Keyed message table of the shared services library: lines "key|text"; Msg finds the text of the
// first line whose key matches without regard to letter case.

#include "contracts/Export.h"

#include <QMetaType>
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

    friend bool operator==(const TMessages &, const TMessages &) = default;
};

} // namespace contracts

// A form shows its message tables as properties of this type, so that the host's Trad finds them
// and rewrites their texts into the host's language.
Q_DECLARE_METATYPE(contracts::TMessages)
