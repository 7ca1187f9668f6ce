#pragma once
// Driving the package's dialogs from inside their modal loops (whenModal closes a dialog that the
// action leaves open, so a broken dialog fails the test instead of hanging it).

#include "widgets/ModalDriver.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace pkg_test {

using widgets_test::artifactPath;
using widgets_test::whenModal;

template <class T = QWidget>
T *child(QWidget *modal, const char *name)
{
    T *widget = modal->findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

inline void click(QWidget *modal, const char *name)
{
    if (auto *button = child<QAbstractButton>(modal, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

inline void typeInto(QWidget *modal, const char *name, const QString &text)
{
    if (auto *edit = child<QLineEdit>(modal, name))
        QTest::keyClicks(edit, text);
}

// A key pressed while the named child has the keyboard; keys it leaves go up to the dialog.
inline void pressIn(QWidget *modal, const char *name, Qt::Key key)
{
    if (auto *widget = child(modal, name))
        QTest::keyClick(widget, key);
}

inline void render(QWidget *modal, const QString &name)
{
    modal->grab().save(artifactPath(QStringLiteral("Pkg_Aux00090_%1.png").arg(name)));
}

} // namespace pkg_test
