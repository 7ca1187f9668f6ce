#pragma once
// The host's 8-bit code page. The entry's texts cross the library boundary in it; Qt 6 has no
// converter for it, so the table lives here.

#include "contracts/Export.h"

#include <QByteArray>
#include <QString>

namespace tkt {

// Each character becomes one byte; a character the code page cannot hold becomes '?' (a character
// outside the Basic Multilingual Plane is one character, so one '?').
TKT_CONTRACTS_EXPORT QByteArray toWindows1252(const QString &text);

// Every byte has a character: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same value, as Windows converts them, so that
// any byte string survives a round trip.
TKT_CONTRACTS_EXPORT QString fromWindows1252(const QByteArray &bytes);

} // namespace tkt
