#include "pos_host/ScriptPlayer.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace posscript;

namespace {

struct SeenKey {
    QString window;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

// A dialog that keeps every key it gets (Esc and Enter included) instead of closing on them, as
// the comanda dialog does.
class RecordingDialog : public QDialog {
public:
    RecordingDialog(const QString &name, QList<SeenKey> *seen, QWidget *parent = nullptr)
        : QDialog(parent), m_seen(seen)
    {
        setObjectName(name);
        auto *layout = new QVBoxLayout(this);
        auto *ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("btnOk"));
        ok->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(ok);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }

    QPushButton *addButton(const QString &name)
    {
        auto *button = new QPushButton(name, this);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::NoFocus);
        layout()->addWidget(button);
        return button;
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        m_seen->append({objectName(), event->key(), event->modifiers(), event->text()});
    }

private:
    QList<SeenKey> *m_seen;
};

ParsedScript parsed(const char *script)
{
    ParsedScript result = parseScript(QString::fromUtf8(script));
    EXPECT_TRUE(result.ok()) << result.error.toStdString();
    return result;
}

// A test must not hang on a script that leaves windows open.
class ModalGuard {
public:
    ModalGuard()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_fired = true;
            while (QWidget *modal = QApplication::activeModalWidget())
                if (!modal->close())
                    break;
        });
        m_timer.start(10000);
    }
    ~ModalGuard() { EXPECT_FALSE(m_fired) << "the windows had to be closed by the guard"; }

private:
    QTimer m_timer;
    bool m_fired = false;
};

} // namespace

TEST(ScriptPlayer, KeysAndClicksReachTheModalDialog)
{
    QList<SeenKey> seen;
    RecordingDialog dialog(QStringLiteral("frmTest"), &seen);
    ScriptPlayer player(parsed("7 a Alt+X Ctrl+Enter Esc type:Zé click:btnOk").steps);
    player.setStepDelay(10);
    QSignalSpy finished(&player, &ScriptPlayer::finished);
    ModalGuard guard;

    player.start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    // As on a real keyboard, the modifier keys are pressed before the key they modify.
    ASSERT_EQ(seen.size(), 9);
    EXPECT_EQ(seen[2].key, Qt::Key_Alt);
    EXPECT_EQ(seen[4].key, Qt::Key_Control);
    seen.removeAt(4);
    seen.removeAt(2);
    EXPECT_EQ(seen[0].key, Qt::Key_7);
    EXPECT_EQ(seen[0].text, QStringLiteral("7"));
    EXPECT_EQ(seen[1].text, QStringLiteral("a"));
    EXPECT_EQ(seen[2].key, Qt::Key_X);
    EXPECT_EQ(seen[2].modifiers, Qt::AltModifier);
    EXPECT_TRUE(seen[2].text.isEmpty()) << "Alt combinations type nothing";
    EXPECT_EQ(seen[3].key, Qt::Key_Return);
    EXPECT_EQ(seen[3].modifiers, Qt::ControlModifier);
    EXPECT_TRUE(seen[3].text.isEmpty());
    EXPECT_EQ(seen[4].key, Qt::Key_Escape);
    EXPECT_EQ(seen[5].text, QStringLiteral("Z"));
    EXPECT_EQ(seen[6].key, Qt::Key_Eacute);
    EXPECT_EQ(seen[6].text, QStringLiteral("é"));

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 2000);
    EXPECT_EQ(player.stepsPlayed(), player.stepCount());
    EXPECT_FALSE(player.isRunning());
}

TEST(ScriptPlayer, StepsFollowIntoANestedModalWindowAndBack)
{
    QList<SeenKey> seen;
    RecordingDialog dialog(QStringLiteral("frmOuter"), &seen);
    int nestedResult = -1;
    QObject::connect(dialog.addButton(QStringLiteral("btnAsk")), &QPushButton::clicked, &dialog, [&] {
        RecordingDialog nested(QStringLiteral("frmNested"), &seen, &dialog);
        nestedResult = nested.exec();
    });
    ScriptPlayer player(parsed("click:btnAsk 1 click:btnOk 2 click:btnOk").steps);
    player.setStepDelay(10);
    ModalGuard guard;

    player.start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    EXPECT_EQ(nestedResult, QDialog::Accepted);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].window, QStringLiteral("frmNested"));
    EXPECT_EQ(seen[0].text, QStringLiteral("1"));
    EXPECT_EQ(seen[1].window, QStringLiteral("frmOuter"));
    EXPECT_EQ(seen[1].text, QStringLiteral("2"));
}

TEST(ScriptPlayer, AMissingOrHiddenWidgetFailsTheScript)
{
    for (const char *script : {"7 click:btnNowhere 8", "7 click:btnHidden 8"}) {
        SCOPED_TRACE(script);
        QList<SeenKey> seen;
        RecordingDialog dialog(QStringLiteral("frmTest"), &seen);
        dialog.addButton(QStringLiteral("btnHidden"))->hide();
        ScriptPlayer player(parsed(script).steps);
        player.setStepDelay(10);
        QSignalSpy failed(&player, &ScriptPlayer::stepFailed);
        QObject::connect(&player, &ScriptPlayer::stepFailed, &dialog, &QDialog::reject);
        ModalGuard guard;

        player.start();
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);

        ASSERT_EQ(failed.count(), 1);
        EXPECT_EQ(failed[0][0].toInt(), 2);
        const QString token = failed[0][1].toString();
        const QString message = failed[0][2].toString();
        EXPECT_TRUE(token.startsWith(QStringLiteral("click:btn")));
        EXPECT_TRUE(message.contains(token.mid(6))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("frmTest"))) << message.toStdString();
        EXPECT_EQ(seen.size(), 1) << "nothing is played after the failed step";
        EXPECT_FALSE(player.isRunning());
    }
}

TEST(ScriptPlayer, FinishesWhileTheDialogIsStillOpen)
{
    QList<SeenKey> seen;
    RecordingDialog dialog(QStringLiteral("frmTest"), &seen);
    ScriptPlayer player(parsed("wait:30 5").steps);
    player.setStepDelay(10);
    bool openAtEnd = false;
    QObject::connect(&player, &ScriptPlayer::finished, &dialog, [&] {
        openAtEnd = dialog.isVisible();
        dialog.reject();
    });
    ModalGuard guard;

    player.start();
    dialog.exec();

    EXPECT_TRUE(openAtEnd);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].text, QStringLiteral("5"));
}

TEST(ScriptPlayer, MarksComeInScriptOrderBetweenTheKeys)
{
    QList<SeenKey> seen;
    RecordingDialog dialog(QStringLiteral("frmTest"), &seen);
    ScriptPlayer player(parsed("mark:first 1 mark:second 2 mark:last click:btnOk").steps);
    player.setStepDelay(10);
    QObject::connect(&player, &ScriptPlayer::marked, &dialog,
                     [&](const QString &label) { seen.append({QStringLiteral("mark"), 0, {}, label}); });
    ModalGuard guard;

    player.start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    QStringList order;
    for (const SeenKey &s : std::as_const(seen))
        order.append(s.window == QStringLiteral("mark") ? QStringLiteral("mark:") + s.text : s.text);
    EXPECT_EQ(order, (QStringList{"mark:first", "1", "mark:second", "2", "mark:last"}));
}
