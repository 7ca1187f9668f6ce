// Keyboard entry into the three field labels, the key shortcuts, and selecting a field by clicking
// its label. The labels are written by the dialog itself: there are no edit boxes.
#include "Cli_tkt00740/TfrmCriaComanda.h"

#include "contracts/CommonUi.h"
#include "contracts/TBlendedBitBtn.h"

#include <QLabel>

namespace Cli_tkt00740 {

namespace {

// The most characters each field takes, by its tag: a consumer code may be a 21-character code,
// a waiter or a table a 4-character code.
int mostCharacters(int campo)
{
    switch (campo) {
    case 1: return 21;
    case 2:
    case 3: return 4;
    default: return 0;
    }
}

} // namespace

void TfrmCriaComanda::FormKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    // The keypad flag only says where the key sits; Enter of the number block is still Enter.
    const Qt::KeyboardModifiers mods = shift & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
    const bool onlyAlt = mods == Qt::AltModifier;
    const bool onlyCtrl = mods == Qt::ControlModifier;

    if (key == VK_RETURN) {
        const bool wasOpen = isVisible();
        enterStep();
        // The Enter step may already have concluded: a closed dialog is not concluded a second time
        // (Ctrl+Enter would otherwise ask the waiter's password again after the dialog is gone).
        if (wasOpen && !isVisible())
            return;
    }
    if (key == VK_BACK)
        boConsConfirmado = false;
    if (key == VK_ESCAPE) {
        Vd_Geral();
        switch (inCampoAtual) {
        case 1:
            if (spbPesqMesa()->isEnabled())
                selectField(3);
            else if (spbVendedor()->isEnabled())
                selectField(2);
            break;
        case 2:
            if (spbPesqCons()->isEnabled())
                selectField(1);
            else if (spbPesqMesa()->isEnabled())
                selectField(3);
            break;
        case 3:
            if (spbVendedor()->isEnabled())
                selectField(2);
            else if (spbPesqCons()->isEnabled())
                selectField(1);
            break;
        default:
            break;
        }
    }
    // The shortcuts reach their handlers whether or not the buttons are enabled.
    if (key == VK_C && onlyAlt)
        spbPesqConsClick();
    if (key == VK_T && onlyAlt)
        spbTecladoConsClick();
    if (key == VK_G && onlyAlt)
        spbVendedorClick();
    if (key == VK_M && onlyAlt)
        spbPesqMesaClick();
    // The consumer data button names Alt + P in its hint; unlike the search shortcuts it follows the
    // button, which is enabled only while a consumer is recognised.
    if (key == VK_P && onlyAlt && spbCredPes()->isEnabled())
        spbCredPesClick();
    if (key == VK_RETURN && onlyCtrl)
        spdEnterClick();
    if (key == VK_F1 && boUtilizaImpFis)
        contracts::RelFiscais();
}

void TfrmCriaComanda::FormKeyPress(QChar &key)
{
    const char16_t ch = key.unicode();

    if (ch == 8)
        postaTexto(inCampoAtual, QString(), true);
    else if ((ch >= u'0' && ch <= u'9') || ch == u',')
        postaTexto(inCampoAtual, QString(QChar(ch)), false);

    if (inCampoAtual != 1)
        return;
    const char16_t upper = (ch >= u'a' && ch <= u'z') ? char16_t(ch - u'a' + u'A') : ch;
    if (upper >= u'A' && upper <= u'Z')
        postaTexto(1, QString(QChar(char16_t(upper - u'A' + u'a'))), false);
    else if (upper == u' ' || upper == u',' || upper == u'ç' || upper == u'.' || upper == u'/' || upper == u'\\')
        postaTexto(1, QString(QChar(upper)), false);
}

void TfrmCriaComanda::postaTexto(int campo, const QString &texto, bool apaga)
{
    const QList<QLabel *> labels = findChildren<QLabel *>();
    for (QLabel *label : labels) {
        const QVariant tag = label->property("tag");
        if (!tag.isValid() || tag.toInt() != campo)
            continue;

        QString caption = label->text();
        if (apaga) {
            caption.chop(1);
            label->setText(caption);
            // Erasing the consumer code away forgets the consumer whose data could be edited.
            if (campo == 1 && caption.isEmpty()) {
                lblNmCons()->clear();
                spbCredPes()->setEnabled(false);
            }
            continue;
        }
        // No consumer, waiter or table code holds a comma.
        if (texto == QLatin1String(","))
            return;
        if (caption.size() < mostCharacters(campo))
            label->setText(caption + texto);
    }
}

void TfrmCriaComanda::bsdConsumidorClick()
{
    Vd_Geral();
    if (spbPesqCons()->isEnabled())
        selectField(1);
}

void TfrmCriaComanda::bdsGarcomClick()
{
    Vd_Geral();
    if (spbVendedor()->isEnabled())
        selectField(2);
}

void TfrmCriaComanda::bdsMesaClick()
{
    Vd_Geral();
    if (spbPesqMesa()->isEnabled())
        selectField(3);
}

void TfrmCriaComanda::lblDadosConsClick()
{
    // The hint line sits under the consumer field and speaks of the consumer: it selects that field.
    bsdConsumidorClick();
}

} // namespace Cli_tkt00740
