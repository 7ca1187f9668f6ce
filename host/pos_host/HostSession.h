#pragma once
// One call of the entry as the host drives it: the operator script, the time guard, and closing
// every window when the script or the guard says the call must end.

#include "pos_host/CommandLine.h"
#include "pos_host/MarkLog.h"
#include "pos_host/ScriptPlayer.h"
#include "pos_host/Watchdog.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace poshost {

enum ExitCode {
    ExitDone = 0,
    ExitLoadFailed = 1,
    ExitBadArguments = 2,
    ExitScriptLeftDialogOpen = 3,
    ExitTimedOut = 4,
    ExitScriptFailed = 5,
};

class HostSession : public QObject {
    Q_OBJECT

public:
    // marks may be null; dialog numbers this call in it.
    HostSession(HostOptions options, MarkLog *marks, int dialog);

    // False with the reason when the script does not parse.
    bool prepare(QString *error);
    // Just before the entry is called: the script and the guard start with the first event loop.
    // Marks "open" last, so that it is as near the call as can be.
    void begin();
    // The entry returned: marks "end" first, and nothing more is played.
    void end();

    // ExitDone unless the call had to be ended.
    int exitCode() const { return m_exitCode; }

private:
    void scriptFinished();
    void closeEverything(int exitCode, const QString &message);

    HostOptions m_options;
    MarkLog *m_marks;
    int m_dialog;
    std::unique_ptr<posscript::ScriptPlayer> m_player;
    QTimer m_timeout;
    Watchdog m_watchdog;
    bool m_inCall = false;
    int m_exitCode = ExitDone;
};

} // namespace poshost
