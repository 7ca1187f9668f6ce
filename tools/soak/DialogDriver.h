#pragma once
// Plays the operator of one comanda dialog: waits until the dialog is up, lets the soak make a
// service call while it is open, then either leaves at once or walks the main path with the host's
// operator script player, and checks what the entry handed back.

#include "ModuleUnderTest.h"
#include "Options.h"

#include <QObject>
#include <QString>
#include <functional>

namespace soak {

struct DialogOutcome {
    bool ok = true;
    QString failure;
    // The dialog had to be ended by ending every event loop; no later dialog could show.
    bool runBroken = false;
};

class DialogDriver : public QObject {
    Q_OBJECT

public:
    DialogDriver(const Exports &exports, DialogPath path, int timeoutSeconds, QObject *parent = nullptr);

    // Calls the entry once. whileOpen runs once, from inside the dialog, before the operator acts.
    DialogOutcome run(const std::function<void()> &whileOpen);

private:
    const Exports &m_exports;
    DialogPath m_path;
    int m_timeoutMs;
};

} // namespace soak
