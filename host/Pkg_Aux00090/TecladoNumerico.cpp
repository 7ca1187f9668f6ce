// The numeric keypad: the codes the operator enters here (consumer, waiter, table) are all digits.
#include "Pkg_Aux00090/StandIn.h"
#include "TouchDialog.h"

#include "contracts/TBlendedBitBtn.h"
#include "contracts/TBlendedShape.h"
#include "shared_services/widgets/TouchStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace commonui {

namespace {

class KeypadDialog : public TouchDialog {
    Q_DECLARE_TR_FUNCTIONS(TecladoNumerico)

public:
    KeypadDialog(const QString &title, const QString &prompt, QString missingMessage, int maxLength)
        : TouchDialog(QStringLiteral("TecladoNumerico"), title.isEmpty() ? tr("Teclado") : title),
          m_missingMessage(std::move(missingMessage)), m_maxLength(maxLength)
    {
        if (!prompt.isEmpty())
            addLabel(QStringLiteral("lblPrompt"), prompt, 18)->setAlignment(Qt::AlignCenter);

        auto *frame = new TBlendedShape(this);
        frame->setObjectName(QStringLiteral("shpValor"));
        frame->setFillColor(QColor(245, 245, 245));
        frame->setOutlineColor(tkt::touch::outline);
        frame->setOutlineWidth(1);
        frame->setFixedHeight(60);
        auto *frameLayout = new QHBoxLayout(frame);
        frameLayout->setContentsMargins(14, 0, 14, 0);
        m_display = new QLabel(frame);
        m_display->setObjectName(QStringLiteral("lblValor"));
        m_display->setTextFormat(Qt::PlainText);
        m_display->setFont(touchFont(30, true));
        m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        frameLayout->addWidget(m_display);
        body()->addWidget(frame);

        body()->addLayout(digitPad([this](QChar c) { type(c); }, [this] { erase(); }, [this] { clear(); }));

        auto *answers = new QHBoxLayout;
        answers->setSpacing(20);
        answers->addWidget(addButton(QStringLiteral("btnCancelar"), tr("Cancelar"), tkt::touch::outline,
                                     [this] { reject(); }));
        answers->addWidget(addButton(QStringLiteral("btnConfirmar"), tr("Confirmar"), tkt::touch::confirm,
                                     [this] { confirm(); }));
        body()->addLayout(answers);
    }

    QString entry() const { return m_entry; }

protected:
    bool handleKey(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            confirm();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        case Qt::Key_Backspace:
            erase();
            return true;
        case Qt::Key_Delete:
            clear();
            return true;
        default:
            break;
        }
        const QString text = event->text();
        if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9') {
            type(text.at(0));
            return true;
        }
        // Anything else is swallowed: the keypad takes digits only.
        return true;
    }

private:
    void type(QChar digit)
    {
        if (m_maxLength > 0 && m_entry.size() >= m_maxLength)
            return;
        m_entry += digit;
        m_display->setText(m_entry);
    }

    void erase()
    {
        m_entry.chop(1);
        m_display->setText(m_entry);
    }

    void clear()
    {
        m_entry.clear();
        m_display->clear();
    }

    void confirm()
    {
        if (m_entry.isEmpty()) {
            showNotice(m_missingMessage.isEmpty() ? tr("Informe o código.") : m_missingMessage);
            return;
        }
        accept();
    }

    QString m_missingMessage;
    int m_maxLength;
    QString m_entry;
    QLabel *m_display;
};

} // namespace

bool tecladoNumerico(QString &value, const QString &title, const QString &prompt, const QString &missingMessage,
                     int maxLength, int, int, int, int, int)
{
    return runRoutine([&] {
        KeypadDialog dialog(title, prompt, missingMessage, maxLength);
        if (!dialog.run())
            return false;
        value = dialog.entry();
        return true;
    });
}

} // namespace commonui
