#include "DialogDriver.h"

#include "pos_host/OperatorScript.h"
#include "pos_host/ScriptPlayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstring>
#include <memory>

namespace soak {

namespace {

// Badge 0000054321 is consumer 22 of client 1; waiter 7 is accepted at branch 0001, till 001;
// table 1 is free; the last Enter asks to open the comanda; the waiter's operator gives 1234.
// No pauses: every step waits for the window it acts on, and the checks after the call tell
// whether the path was walked.
const QString kMainPath = QStringLiteral("type:0000054321 Enter type:7 Enter type:1 Enter click:btnSim type:1234 Enter");
constexpr int kStepDelayMs = 10;
constexpr int kPollMs = 5;

const std::array<const char *, 4> kNames = {"consumidor", "cliente", "vendedor", "mesa"};
const std::array<const char *, 4> kMainPathValues = {"000000000000000000022", "000000000000000000001", "0007", "0001"};

QAbstractButton *exitButtonOfShownDialog()
{
    QWidget *modal = QApplication::activeModalWidget();
    auto *exit = modal ? modal->findChild<QAbstractButton *>(QStringLiteral("lblSair")) : nullptr;
    return exit && exit->isVisible() ? exit : nullptr;
}

} // namespace

DialogDriver::DialogDriver(const Exports &exports, DialogPath path, int timeoutSeconds, QObject *parent)
    : QObject(parent), m_exports(exports), m_path(path), m_timeoutMs(timeoutSeconds * 1000)
{
}

DialogOutcome DialogDriver::run(const std::function<void()> &whileOpen)
{
    DialogOutcome outcome;
    const auto fail = [&outcome](const QString &failure, bool breakRun) {
        if (outcome.ok)
            outcome.failure = failure;
        outcome.ok = false;
        // Ending the entry from outside means ending every event loop: the modal windows' own
        // loops would hold the call otherwise. Later loops return at once, so the run is over.
        if (breakRun && !outcome.runBroken) {
            outcome.runBroken = true;
            QCoreApplication::exit(1);
        }
    };

    std::unique_ptr<posscript::ScriptPlayer> player;
    if (m_path == DialogPath::Main) {
        posscript::ParsedScript parsed = posscript::parseScript(kMainPath);
        player = std::make_unique<posscript::ScriptPlayer>(std::move(parsed.steps));
        player->setStepDelay(kStepDelayMs);
        connect(player.get(), &posscript::ScriptPlayer::stepFailed, this,
                [&fail](int step, const QString &token, const QString &message) {
                    fail(QStringLiteral("script step %1 (%2) failed: %3").arg(step).arg(token, message), true);
                });
    }

    bool shown = false;
    QTimer poll;
    poll.setInterval(kPollMs);
    connect(&poll, &QTimer::timeout, this, [&] {
        QAbstractButton *exit = exitButtonOfShownDialog();
        if (!exit)
            return;
        poll.stop();
        shown = true;
        whileOpen();
        if (player)
            player->start();
        else
            exit->click();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [&] {
        fail(QStringLiteral("the dialog was %1 after %2 s").arg(shown ? QStringLiteral("still open") : QStringLiteral("not shown")).arg(m_timeoutMs / 1000),
             true);
    });
    poll.start();
    deadline.start(m_timeoutMs);

    std::array<char *, 4> texts = {nullptr, nullptr, nullptr, nullptr};
    const int32_t result =
        m_exports.criaConfComanda("15", "", "S", "S", "S", &texts[0], &texts[1], &texts[2], &texts[3]);
    poll.stop();
    deadline.stop();

    // The last step closes the dialog from inside its own play, so the player may still count as
    // running: only steps left unplayed are a failure.
    if (player && player->isRunning() && player->stepsPlayed() < player->stepCount()) {
        fail(QStringLiteral("the dialog closed with %1 of %2 steps not played")
                 .arg(player->stepCount() - player->stepsPlayed())
                 .arg(player->stepCount()),
             false);
    }
    if (player)
        player->stop();
    if (!shown)
        fail(QStringLiteral("the entry answered %1 without showing its dialog").arg(result), false);
    if (m_path == DialogPath::Main) {
        if (result != 1)
            fail(QStringLiteral("the main path ended with %1, not a comanda opened").arg(result), false);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (!texts[i] || std::strcmp(texts[i], kMainPathValues[i]) != 0)
                fail(QStringLiteral("the main path handed back %1=%2, not %3")
                         .arg(QString::fromLatin1(kNames[i]),
                              texts[i] ? QString::fromLatin1(texts[i]) : QStringLiteral("(nothing)"),
                              QString::fromLatin1(kMainPathValues[i])),
                     false);
        }
    } else {
        if (result != 0)
            fail(QStringLiteral("leaving the dialog answered %1").arg(result), false);
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (!texts[i])
                fail(QStringLiteral("leaving the dialog handed no %1 back").arg(QString::fromLatin1(kNames[i])), false);
    }
    for (char *text : texts)
        m_exports.freeText(text);
    return outcome;
}

} // namespace soak
