#include "TouchDialog.h"

#include "contracts/MessageForms.h"
#include "contracts/TBlendedBitBtn.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace commonui {

namespace {

QWidget *modalParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void showNotice(const QString &text, const QString &scheme)
{
    try {
        contracts::notice(text, scheme);
    } catch (const std::exception &error) {
        qWarning("%s (%s)", qUtf8Printable(text), error.what());
    } catch (...) {
        qWarning("%s", qUtf8Printable(text));
    }
}

bool guarded(const std::function<void()> &body, const QString &scheme)
{
    try {
        body();
        return true;
    } catch (const tkt::Abort &) {
    } catch (const std::exception &error) {
        showNotice(tkt::shownTextOf(error).shown, scheme);
    } catch (...) {
        showNotice(QCoreApplication::translate("TouchDialog", "Erro inesperado."), scheme);
    }
    return false;
}

bool runRoutine(const std::function<bool()> &body, const QString &scheme)
{
    bool answer = false;
    guarded(
        [&] {
            if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
                throw tkt::Error(tkt::shownText("TouchDialog", "A janela não pode ser aberta: o programa não tem interface gráfica."));
            tkt::loadTouchFonts();
            answer = body();
        },
        scheme);
    return answer;
}

QFont touchFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

TouchDialog::TouchDialog(const QString &objectName, const QString &title)
    : QDialog(modalParent(), Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(true);
    setObjectName(objectName);
    setWindowTitle(title);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    m_body = new QVBoxLayout(this);
    m_body->setContentsMargins(24, 20, 24, 24);
    m_body->setSpacing(14);
    m_body->setSizeConstraint(QLayout::SetFixedSize);

    QLabel *caption = addLabel(QStringLiteral("lblTitulo"), title, 22, true);
    caption->setAlignment(Qt::AlignCenter);
    QPalette captionPal = caption->palette();
    captionPal.setColor(QPalette::WindowText, tkt::touch::outline);
    caption->setPalette(captionPal);
}

bool TouchDialog::run()
{
    return exec() == QDialog::Accepted;
}

QLabel *TouchDialog::addLabel(const QString &objectName, const QString &text, int pixels, bool bold)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(touchFont(pixels, bold));
    m_body->addWidget(label);
    return label;
}

TBlendedBitBtn *TouchDialog::addButton(const QString &objectName, const QString &caption, const QColor &fill,
                                       std::function<void()> action, QSize size)
{
    auto *button = new TBlendedBitBtn(this);
    button->setObjectName(objectName);
    button->setText(caption);
    button->setFont(touchFont(20, true));
    button->setFillColor(fill);
    button->setTextColor(Qt::white);
    button->setRadius(10);
    button->setFixedSize(size);
    connect(button, &QAbstractButton::clicked, this,
            [this, action = std::move(action)] { guarded(action, m_scheme); });
    return button;
}

QGridLayout *TouchDialog::digitPad(std::function<void(QChar)> digit, std::function<void()> erase,
                                   std::function<void()> clear)
{
    auto *grid = new QGridLayout;
    grid->setSpacing(10);
    const QSize key(100, 64);
    for (int d = 1; d <= 9; ++d) {
        const QChar c(u'0' + d);
        grid->addWidget(addButton(QStringLiteral("btn%1").arg(d), QString(c), colors::digit,
                                  [digit, c] { digit(c); }, key),
                        2 - (d - 1) / 3, (d - 1) % 3);
    }
    grid->addWidget(addButton(QStringLiteral("btnLimpar"), tr("Limpar"), colors::neutral,
                              std::move(clear), key),
                    3, 0);
    grid->addWidget(addButton(QStringLiteral("btn0"), QStringLiteral("0"), colors::digit,
                              [digit] { digit(u'0'); }, key),
                    3, 1);
    grid->addWidget(addButton(QStringLiteral("btnApagar"), tr("Apagar"), colors::neutral,
                              std::move(erase), key),
                    3, 2);
    return grid;
}

void TouchDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(tkt::touch::outline, 2));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 10, 10);
}

void TouchDialog::keyPressEvent(QKeyEvent *event)
{
    // Alt and Ctrl combinations belong to the window underneath.
    const auto modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::NoModifier) {
        event->ignore();
        return;
    }
    bool used = false;
    const bool ran = guarded([&] { used = handleKey(event); }, m_scheme);
    event->setAccepted(used || !ran);
}

} // namespace commonui
