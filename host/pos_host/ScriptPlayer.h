#pragma once
// Plays an operator script into whichever window is in front at each step: the dialog, or a
// message box or keypad it opened modally on top of itself.
//
// Steps run from a timer, so they play while the modal windows' own event loops run. The timer
// for the next step is armed before a step is played: a click or key that opens a modal window
// does not return until that window closes, and the next steps must reach the new window.

#include "pos_host/OperatorScript.h"

#include <QObject>
#include <QTimer>

class QWidget;

namespace posscript {

class ScriptPlayer : public QObject {
    Q_OBJECT

public:
    explicit ScriptPlayer(QList<ScriptStep> steps, QObject *parent = nullptr);

    // Pause between steps, and between retries while no window is up yet.
    void setStepDelay(int milliseconds) { m_delay = milliseconds; }
    void start();
    void stop();

    int stepCount() const { return static_cast<int>(m_steps.size()); }
    int stepsPlayed() const { return m_next; }
    bool isRunning() const { return m_running; }

    // The popup, else the modal window on top, else the active window; null when none is up.
    static QWidget *frontWindow();
    static QString describe(const QWidget *window);

signals:
    // step counts from 1. The script stops at the failed step.
    void stepFailed(int step, const QString &token, const QString &message);
    // A mark step was reached, with the window it marks in front.
    void marked(const QString &label);
    // Every step was played (a step that opened a modal window may still be waiting on it).
    void finished();

private:
    void playNext();
    bool play(const ScriptStep &step, QWidget *window, QString *error);

    QList<ScriptStep> m_steps;
    int m_next = 0;
    int m_delay = 50;
    bool m_running = false;
    QTimer m_timer;
};

} // namespace posscript
