#include "TouchMensagem.h"

#include "TouchStyle.h"
#include "contracts/TBlendedBitBtn.h"
#include "shared_services/StandIn.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace tkt {

namespace {

constexpr int kWidth = 460;
constexpr int kPadding = 24;

class TouchMessageDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(TouchMensagem)

public:
    TouchMessageDialog(const QString &text, bool question, bool badge, QWidget *parent)
        : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_question(question)
    {
        setModal(true);
        setObjectName(QStringLiteral("TouchMensagem"));
        setWindowTitle(badge ? tr("Crachá") : tr("Mensagem"));
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, Qt::black);
        setPalette(pal);
        setAutoFillBackground(true);

        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
        layout->setSpacing(18);
        layout->setSizeConstraint(QLayout::SetFixedSize);

        if (badge)
            layout->addLayout(badgeTitle());

        auto *message = new QLabel(text, this);
        message->setObjectName(QStringLiteral("lblMensagem"));
        message->setTextFormat(Qt::PlainText);
        message->setWordWrap(true);
        message->setAlignment(Qt::AlignCenter);
        message->setFont(touchFont(QStringLiteral("Arial"), 20, true));
        message->setFixedWidth(kWidth - 2 * kPadding);
        message->setMinimumHeight(60);
        layout->addWidget(message);

        auto *buttons = new QHBoxLayout;
        buttons->setSpacing(24);
        buttons->addStretch();
        if (question) {
            buttons->addWidget(answerButton(QStringLiteral("btnSim"), tr("Sim"), touch::confirm, true));
            buttons->addWidget(answerButton(QStringLiteral("btnNao"), tr("Não"), touch::outline, false));
        } else {
            buttons->addWidget(answerButton(QStringLiteral("btnOK"), tr("OK"), touch::confirm, true));
        }
        buttons->addStretch();
        layout->addLayout(buttons);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(touch::outline, 2));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 10, 10);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        // Alt and Ctrl combinations belong to the form underneath, never to the answer.
        const auto modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (modifiers != Qt::NoModifier) {
            event->ignore();
            return;
        }
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_S:
        case Qt::Key_Y:
            done(Accepted);
            return;
        case Qt::Key_Escape:
        case Qt::Key_N:
            done(Rejected);
            return;
        default:
            event->accept();
        }
    }

private:
    static QFont touchFont(const QString &family, int pixels, bool bold)
    {
        QFont font(family);
        font.setPixelSize(pixels);
        font.setBold(bold);
        return font;
    }

    TBlendedBitBtn *answerButton(const QString &name, const QString &caption, const QColor &fill, bool yes)
    {
        auto *button = new TBlendedBitBtn(this);
        button->setObjectName(name);
        button->setText(caption);
        // Arial rather than the form buttons' Tahoma: the Tahoma stand-in's bold face draws thin.
        button->setFont(touchFont(QStringLiteral("Arial"), 20, true));
        button->setFillColor(fill);
        button->setTextColor(Qt::white);
        button->setRadius(10);
        button->setFixedSize(150, 64);
        connect(button, &QAbstractButton::clicked, this, [this, yes] { done(yes ? Accepted : Rejected); });
        return button;
    }

    QHBoxLayout *badgeTitle()
    {
        auto *row = new QHBoxLayout;
        row->setSpacing(12);
        row->addStretch();
        auto *icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("lblCrachaIcone"));
        icon->setPixmap(renderSvg(QStringLiteral(":/tkt_shared/badge.svg"), 48));
        row->addWidget(icon);
        auto *title = new QLabel(tr("Crachá"), this);
        title->setObjectName(QStringLiteral("lblCracha"));
        title->setFont(touchFont(QStringLiteral("Arial"), 22, true));
        QPalette pal = title->palette();
        pal.setColor(QPalette::WindowText, touch::outline);
        title->setPalette(pal);
        row->addWidget(title);
        row->addStretch();
        return row;
    }

    QPixmap renderSvg(const QString &path, int side) const
    {
        const qreal ratio = devicePixelRatioF();
        QPixmap pixmap(QSize(side, side) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QSvgRenderer renderer(path);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, side, side));
        return pixmap;
    }

    bool m_question;
};

} // namespace

bool touchMensagem(const QString &text, const QString &a2, const QString &, const QString &ask, int,
                   const QString &, const QString &, int, dataset::Table *)
{
    try {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
            qWarning("Mensagem without a widget application: %s", qUtf8Printable(text));
            return false;
        }
        loadTouchFonts();
        QWidget *parent = QApplication::activeModalWidget();
        if (!parent)
            parent = QApplication::activeWindow();
        const bool question = ask.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
        const bool badge = a2.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
        TouchMessageDialog dialog(text, question, badge, parent);
        return dialog.exec() == QDialog::Accepted;
    } catch (const std::exception &error) {
        qWarning("Mensagem failed: %s", error.what());
    } catch (...) {
        qWarning("Mensagem failed");
    }
    return false;
}

} // namespace tkt

namespace sharedservices {

// The library's Mensagem is the touch dialog whenever this folder is built.
bool mensagem(const QString &text, const QString &a2, const QString &a3, const QString &ask, int kind,
              const QString &a6, const QString &scheme, int a8, dataset::Table *table)
{
    return tkt::touchMensagem(text, a2, a3, ask, kind, a6, scheme, a8, table);
}

} // namespace sharedservices
