#pragma once
// Drives a modal dialog from inside its own event loop: the action runs once the dialog is up, and a
// watchdog closes it should the action fail to, so a broken answer fails the test instead of hanging.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace widgets_test {

inline void whenModal(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, [action] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        QTimer::singleShot(5000, dialog, [dialog] { dialog->done(-1); });
        action(dialog);
    });
}

inline QString artifactPath(const QString &file)
{
    const QString dir = QStringLiteral(TKT_ARTIFACT_DIR);
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + file;
}

} // namespace widgets_test
