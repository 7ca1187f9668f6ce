#pragma once
// The fonts of the touch forms. Their layouts name Windows fonts (Arial, Tahoma, MS Sans Serif);
// elsewhere the metric-compatible substitutes are registered so the captions keep their sizes.

#include "contracts/Export.h"

#include <QColor>

namespace tkt {

// Registers the substitute font files that exist and maps missing families to them. Safe to call
// many times; does nothing before a QGuiApplication exists.
TKT_SHARED_SERVICES_EXPORT void loadTouchFonts();

namespace touch {
inline const QColor outline{204, 91, 44};
inline const QColor confirm{34, 221, 100};
} // namespace touch

} // namespace tkt
