#pragma once
// The four commands. Each throws tkt::Error for a bad file or a refused value and UsageError for
// arguments that do not fit it; main turns those into messages and exit statuses.

#include <QStringList>

namespace cdstool {

void show(const QStringList &arguments);
void toJson(const QStringList &arguments);
void fromJson(const QStringList &arguments);
void set(const QStringList &arguments);

} // namespace cdstool
