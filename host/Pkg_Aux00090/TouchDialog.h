#pragma once
// What every dialog of the package shares: the touch look of the host's forms (frameless white
// window, orange rounded border, big rounded buttons), one guard around every event and routine so
// that nothing throws through the event loop or out of a routine, and the notice that shows a
// failure.

#include "contracts/Errors.h"

#include <QCoreApplication>
#include <QColor>
#include <QDialog>
#include <QString>

#include <functional>

class QAbstractButton;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QVBoxLayout;
class TBlendedBitBtn;

namespace commonui {

namespace colors {
inline const QColor digit{52, 64, 84};
inline const QColor neutral{128, 128, 128};
} // namespace colors

// Mensagem in its notice form; a Mensagem that fails is only logged.
void showNotice(const QString &text, const QString &scheme = {});

// Runs body; an exception is shown as a notice (Abort silently) and the answer is false.
bool guarded(const std::function<void()> &body, const QString &scheme = {});

// The entry of every routine: a widget application must exist, and whatever body throws becomes a
// notice and false.
bool runRoutine(const std::function<bool()> &body, const QString &scheme = {});

QFont touchFont(int pixels, bool bold);

class TouchDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TouchDialog)

public:
    // Parented to the active modal window, so that it stays above the dialog that called it.
    TouchDialog(const QString &objectName, const QString &title);

    // Shown modally; true when the dialog was accepted.
    bool run();

protected:
    QVBoxLayout *body() const { return m_body; }
    QLabel *addLabel(const QString &objectName, const QString &text, int pixels, bool bold = false);
    // A button whose click runs action inside the guard.
    TBlendedBitBtn *addButton(const QString &objectName, const QString &caption, const QColor &fill,
                              std::function<void()> action, QSize size = QSize(150, 64));
    // Digit keys 1-9 and 0, with clear ("btnLimpar") and erase ("btnApagar") beside the 0.
    QGridLayout *digitPad(std::function<void(QChar)> digit, std::function<void()> erase,
                          std::function<void()> clear);

    // Keys the dialog did not leave to a child; Alt and Ctrl combinations never get here. True when
    // the key was used.
    virtual bool handleKey(QKeyEvent *event) = 0;

    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) final;

    QString m_scheme; // handed to every notice of the dialog

private:
    QVBoxLayout *m_body;
};

} // namespace commonui
