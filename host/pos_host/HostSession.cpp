#include "pos_host/HostSession.h"

#include <QCoreApplication>
#include <cstdio>

namespace poshost {

namespace {

// Time the windows get to close after they were told to, before the process is ended outright.
constexpr int kClosingGrace = 5000;
// Time the dialog gets to close after the script's last step.
constexpr int kSettleAfterScript = 250;

void tell(const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stderr);
    std::fflush(stderr);
}

} // namespace

HostSession::HostSession(HostOptions options, MarkLog *marks, int dialog)
    : m_options(std::move(options)), m_marks(marks), m_dialog(dialog)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        closeEverything(ExitTimedOut, QStringLiteral("timed out after %1 s").arg(m_options.timeoutMs / 1000.0));
    });
}

bool HostSession::prepare(QString *error)
{
    if (!m_options.hasScript)
        return true;
    posscript::ParsedScript parsed = posscript::parseScript(m_options.script);
    if (!parsed.ok()) {
        *error = QStringLiteral("Bad script: %1").arg(parsed.error);
        return false;
    }
    m_player = std::make_unique<posscript::ScriptPlayer>(std::move(parsed.steps));
    m_player->setStepDelay(m_options.stepDelayMs);
    connect(m_player.get(), &posscript::ScriptPlayer::finished, this, &HostSession::scriptFinished);
    if (m_marks)
        connect(m_player.get(), &posscript::ScriptPlayer::marked, this,
                [this](const QString &label) { m_marks->write(m_dialog, QStringLiteral("mark:") + label); });
    connect(m_player.get(), &posscript::ScriptPlayer::stepFailed, this,
            [this](int step, const QString &token, const QString &message) {
                closeEverything(ExitScriptFailed,
                                QStringLiteral("script failed at step %1 (%2): %3").arg(step).arg(token, message));
            });
    return true;
}

void HostSession::begin()
{
    m_inCall = true;
    if (m_options.timeoutMs > 0) {
        m_timeout.start(m_options.timeoutMs);
        m_watchdog.arm(m_options.timeoutMs + kClosingGrace, ExitTimedOut,
                       QStringLiteral("timed out after %1 s; the windows did not close").arg(m_options.timeoutMs / 1000.0));
    }
    if (m_player)
        m_player->start();
    if (m_marks)
        m_marks->write(m_dialog, QStringLiteral("open"));
}

void HostSession::end()
{
    if (m_marks)
        m_marks->write(m_dialog, QStringLiteral("end"));
    m_inCall = false;
    m_timeout.stop();
    // A call that ended by itself is done; one that had to be ended keeps its deadline until the
    // module has finalized.
    if (m_exitCode == ExitDone)
        m_watchdog.disarm();
    if (m_player && m_player->isRunning()) {
        m_player->stop();
        if (m_exitCode == ExitDone && m_player->stepsPlayed() < m_player->stepCount())
            tell(QStringLiteral("script: the dialog closed with %1 of %2 steps not played")
                     .arg(m_player->stepCount() - m_player->stepsPlayed())
                     .arg(m_player->stepCount()));
    }
}

void HostSession::scriptFinished()
{
    if (!m_options.scriptExit) {
        if (m_inCall)
            tell(QStringLiteral("script: done; the dialog waits for the operator"));
        return;
    }
    QTimer::singleShot(kSettleAfterScript, this, [this] {
        if (m_inCall)
            closeEverything(ExitScriptLeftDialogOpen, QStringLiteral("script ended with the dialog open"));
    });
}

void HostSession::closeEverything(int exitCode, const QString &message)
{
    if (!m_inCall || m_exitCode != ExitDone)
        return;
    m_exitCode = exitCode;
    m_timeout.stop();
    if (m_player)
        m_player->stop();
    tell(message);
    m_watchdog.arm(kClosingGrace, exitCode, message + QStringLiteral("; the windows did not close"));
    // Every running event loop returns, those of the modal windows included, and any loop started
    // from here on returns at once: the entry unwinds and hands back what its dialog holds.
    QCoreApplication::exit(exitCode);
}

} // namespace poshost
