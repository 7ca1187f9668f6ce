// Every text fits where it is shown, in every language: the comanda dialog on its main path, each of
// its messages and the question in the message box, and the common UI package's dialogs. A text
// measured with its widget's own font must fit the room the widget gives it (or wrap there, where
// the widget wraps). The pictures land in the artifacts folder.
#include "dialog/DialogHarness.h"
#include "Pkg_Aux00090/StandIn.h"
#include "shared_services/Language.h"
#include "shared_services/widgets/TouchMensagem.h"
#include "widgets/ModalDriver.h"

#include "Srv_tkt00740/Services.h"
#include "contracts/TBlendedBitBtn.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

using widgets_test::artifactPath;
using widgets_test::whenModal;

namespace {

void needRoom(QStringList &faults, const QWidget *w, const QString &text, int needs, int has)
{
    if (needs > has)
        faults << QStringLiteral("%1 «%2» needs %3 px, has %4").arg(w->objectName(), text).arg(needs).arg(has);
}

int lineEditRoom(QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QMargins margins = edit->textMargins();
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() - margins.left()
        - margins.right() - 4; // QLineEdit keeps 2 px on either side of its text
}

QStringList textFaults(QWidget *window)
{
    QStringList faults;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        const QFontMetrics metrics(w->font());
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
            const QRect room = label->contentsRect();
            if (!label->wordWrap()) {
                needRoom(faults, w, label->text(), metrics.horizontalAdvance(label->text()), room.width());
                continue;
            }
            for (const QString &word : label->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                needRoom(faults, w, word, metrics.horizontalAdvance(word), room.width());
            const QRect wrapped = metrics.boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label->text());
            needRoom(faults, w, label->text(), wrapped.height(), room.height());
        } else if (auto *button = qobject_cast<TBlendedBitBtn *>(w); button && !button->text().isEmpty()) {
            const int glyph = button->glyph().isEmpty() ? 0 : button->glyphSize() + button->spacing();
            needRoom(faults, w, button->text(), metrics.horizontalAdvance(button->text()) + glyph,
                     button->width() - 2 * button->margin());
        } else if (auto *edit = qobject_cast<QLineEdit *>(w); edit && !edit->placeholderText().isEmpty()) {
            needRoom(faults, w, edit->placeholderText(), metrics.horizontalAdvance(edit->placeholderText()),
                     lineEditRoom(edit));
        } else if (auto *header = qobject_cast<QHeaderView *>(w)) {
            for (int i = 0; i + 1 < header->count(); ++i) // the last section stretches to what it needs
                if (!header->isSectionHidden(i))
                    needRoom(faults, w, header->model()->headerData(i, header->orientation()).toString(),
                             header->sectionSizeHint(i), header->sectionSize(i));
        }
    }
    return faults;
}

class Fit : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override { qputenv("TKT_LANGUAGE", GetParam()); }
    void TearDown() override
    {
        qunsetenv("TKT_LANGUAGE");
        sharedservices::useHostLanguage();
    }

    void check(QWidget *window, const QString &name)
    {
        SCOPED_TRACE(name.toStdString());
        window->grab().save(artifactPath(QStringLiteral("%1_%2.png").arg(name, QLatin1String(GetParam()))));
        const QStringList faults = textFaults(window);
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    }

    // Checks the package dialog that `open` brings up, then closes it.
    void checkModal(const QString &name, const std::function<void()> &open,
                    const std::function<void(QWidget *)> &drive = {})
    {
        whenModal([this, name, drive](QWidget *modal) {
            if (drive)
                drive(modal);
            check(modal, name);
            qobject_cast<QDialog *>(modal)->done(QDialog::Rejected);
        });
        open();
    }
};

TEST_P(Fit, TheComandaDialogOnItsMainPath)
{
    DialogHarness h;
    Cli_tkt00740::TfrmCriaComanda &f = h.open();
    f.lblComanda()->setText(f.msg(QStringLiteral("inf_comanda")) + QStringLiteral(" 000123"));
    const std::array<const char *, 3> typed{"0000054321", "7", "1"};
    for (int field = 1; field <= 3; ++field) {
        f.selectField(field);
        QLabel *label = field == 1 ? f.lblCdcons() : field == 2 ? f.lblCdGarcom() : f.lblNrMesa();
        label->setText(QLatin1String(typed[field - 1]));
        EXPECT_TRUE(f.Vd_Geral()) << h.siblings.lastMessageText().toStdString();
    }
    check(&f, QStringLiteral("TfrmCriaComanda"));
}

TEST_P(Fit, EveryMessageAndTheQuestionInTheMessageBox)
{
    DialogHarness h;
    Cli_tkt00740::TfrmCriaComanda &f = h.open();
    QStringList texts{Cli_tkt00740::TfrmCriaComanda::tr("Confirma a Abertura da Comanda?")};
    for (const QString &line : f.msgPadrao.Messages)
        texts << line.section(QLatin1Char('|'), 1);
    for (const QString &text : texts) {
        whenModal([this](QWidget *modal) {
            check(modal, QStringLiteral("Mensagem"));
            qobject_cast<QDialog *>(modal)->done(QDialog::Rejected);
        });
        tkt::touchMensagem(text, QString(), QStringLiteral("N"), QStringLiteral("S"), 3, QString(), QString(), 0, nullptr);
    }
}

TEST_P(Fit, TheCommonUiDialogs)
{
    DialogHarness h;
    Cli_tkt00740::TfrmCriaComanda &f = h.open();
    QString typed;
    for (const auto &[title, prompt] : {std::pair{"Inf_Cons", "Cod_Cons"}, {"Inf_garcon", "Cod_Vend"}, {"Inf_Mesa", "Cod_Mesa"}})
        checkModal(QStringLiteral("TecladoNumerico"), [&] {
            commonui::tecladoNumerico(typed, f.msg(QLatin1String(title)), f.msg(QLatin1String(prompt)), QString(), 21, 0, 0, 0, 0, 0);
        });

    f.loadServiceResult(f.cdsGarcomAux, Srv_tkt00740::getValidaGarcom("T", f.stCdFilial, f.stCdCaixa, "2"), "getValidaGarcom", "T");
    checkModal(QStringLiteral("Pesquisa_garcom"), [&] { commonui::pesquisa(f.cdsGarcomAux, QString(), "N", 0, 0, 0, 0, 0); });
    f.loadServiceResult(f.cdsMesas, Srv_tkt00740::getValMesa(f.stCdFilial, f.stCdLoja, "T"), "getValMesa", "T");
    checkModal(QStringLiteral("Pesquisa_mesa"), [&] { commonui::pesquisa(f.cdsMesas, QString(), "N", 0, 0, 0, 0, 0); });

    std::array<QString, 28> values;
    contracts::PesqConsumidorTexts texts{};
    for (size_t i = 0; i < values.size(); ++i)
        texts[i] = &values[i];
    checkModal(
        QStringLiteral("PesqConsumidor"),
        [&] { commonui::pesqConsumidor(f.msg("Consum_Coman"), QString(), texts, f.cdsCliente, "A", "1"); },
        [](QWidget *modal) {
            QTest::keyClicks(modal->findChild<QLineEdit *>("edtBusca"), "a");
            QTest::mouseClick(modal->findChild<QAbstractButton *>("btnBuscar"), Qt::LeftButton);
        });
    QString code, name, client;
    checkModal(QStringLiteral("CriaCadConsumidor"), [&] { commonui::criaCadConsumidor(code, name, client, "C"); });
    QVariant password = QVariantList(10);
    checkModal(
        QStringLiteral("ControleSenhOper"),
        [&] { commonui::controleSenhOper({QStringLiteral("001"), QStringLiteral("S"), false, QStringLiteral("0007")}, password); },
        [](QWidget *modal) {
            QTest::keyClicks(modal->findChild<QLineEdit *>("edtSenha"), "99");
            QTest::keyClick(modal->findChild<QLineEdit *>("edtSenha"), Qt::Key_Return);
        });
    checkModal(QStringLiteral("RelFiscais"), [] { commonui::relFiscais(); });
}

INSTANTIATE_TEST_SUITE_P(Languages, Fit, testing::Values("pt_BR", "es", "en"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

} // namespace
