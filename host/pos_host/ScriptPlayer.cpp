#include "pos_host/ScriptPlayer.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>

namespace posscript {

namespace {

// Keys go where the keyboard would send them: the window's focus widget, or the window itself
// when nothing in it holds the focus.
QWidget *keyReceiver(QWidget *window)
{
    QWidget *focus = window->focusWidget();
    return focus && focus->isVisible() && focus->window() == window ? focus : window;
}

void pressAndRelease(const KeyStroke &stroke)
{
    QWidget *window = ScriptPlayer::frontWindow();
    if (!window)
        return;
    QPointer<QWidget> receiver = keyReceiver(window);
    QTest::sendKeyEvent(QTest::Press, receiver, stroke.key, stroke.text, stroke.modifiers);
    if (receiver)
        QTest::sendKeyEvent(QTest::Release, receiver, stroke.key, stroke.text, stroke.modifiers);
}

} // namespace

ScriptPlayer::ScriptPlayer(QList<ScriptStep> steps, QObject *parent) : QObject(parent), m_steps(std::move(steps))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ScriptPlayer::playNext);
}

void ScriptPlayer::start()
{
    m_next = 0;
    m_running = true;
    m_timer.start(m_delay);
}

void ScriptPlayer::stop()
{
    m_running = false;
    m_timer.stop();
}

QWidget *ScriptPlayer::frontWindow()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QString ScriptPlayer::describe(const QWidget *window)
{
    if (!window)
        return QStringLiteral("no window");
    QString name = window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                                  : window->objectName();
    if (!window->windowTitle().isEmpty())
        name += QStringLiteral(" \"%1\"").arg(window->windowTitle());
    return name;
}

void ScriptPlayer::playNext()
{
    if (!m_running)
        return;
    if (m_next >= m_steps.size()) {
        m_running = false;
        emit finished();
        return;
    }

    const ScriptStep step = m_steps.at(m_next);
    QWidget *window = frontWindow();
    if (step.kind != ScriptStep::Kind::Wait && !window) {
        m_timer.start(m_delay);
        return;
    }

    ++m_next;
    // A mark stands for the moment the next action starts: that action follows without a pause.
    const int pause = step.kind == ScriptStep::Kind::Wait ? step.milliseconds
                      : step.kind == ScriptStep::Kind::Mark ? 0
                                                             : m_delay;
    m_timer.start(pause);
    QString error;
    if (!play(step, window, &error)) {
        stop();
        emit stepFailed(m_next, step.token, error);
    }
}

bool ScriptPlayer::play(const ScriptStep &step, QWidget *window, QString *error)
{
    switch (step.kind) {
    case ScriptStep::Kind::Wait:
        return true;
    case ScriptStep::Kind::Mark:
        emit marked(step.label);
        return true;
    case ScriptStep::Kind::Type:
    case ScriptStep::Kind::Key:
        for (const KeyStroke &stroke : step.keys)
            pressAndRelease(stroke);
        return true;
    case ScriptStep::Kind::Click: {
        QWidget *found = window->objectName() == step.objectName ? window
                                                                 : window->findChild<QWidget *>(step.objectName);
        if (!found) {
            *error = QStringLiteral("no widget named %1 in %2").arg(step.objectName, describe(window));
            return false;
        }
        if (!found->isVisible()) {
            *error = QStringLiteral("%1 is not visible in %2").arg(step.objectName, describe(window));
            return false;
        }
        QPointer<QWidget> target = found;
        const QPoint centre = found->rect().center();
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, centre);
        if (target)
            QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, centre);
        return true;
    }
    }
    return true;
}

} // namespace posscript
