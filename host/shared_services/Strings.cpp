// Text helpers of the shared services stand-in.
#include "shared_services/StandIn.h"

namespace sharedservices {

QString ajusta(const QString &code, int width)
{
    // Codes are stored zero-filled on the left (badge codes as the consumer query expects them).
    // A code already at or over the width is left whole: cutting it would turn a wrong code into
    // another, existing one.
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty() || trimmed.size() >= width)
        return trimmed;
    return trimmed.rightJustified(width, QLatin1Char('0'));
}

bool emptyString(const QString &text)
{
    return text.trimmed().isEmpty();
}

QString montaRodapeGeral(bool usesFiscalPrinter, const QString &caption, const QString &flag)
{
    Q_UNUSED(flag)
    // The label shows the screen's code; the only thing the station adds is whether a fiscal printer
    // serves it. Terminal, operator and date are in the host's own footer, not in this label.
    static const QString fiscalSuffix = QStringLiteral(" - IF");
    const QString base = caption.trimmed();
    if (!usesFiscalPrinter || base.endsWith(fiscalSuffix))
        return base;
    return base + fiscalSuffix;
}

} // namespace sharedservices
