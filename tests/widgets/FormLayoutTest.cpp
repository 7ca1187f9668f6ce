// The comanda dialog's layout file and message table, as the dialog loads them.
#include "ModalDriver.h"
#include "ui_TfrmCriaComanda.h"

#include "contracts/TMessages.h"
#include "shared_services/widgets/TouchMensagem.h"

#include <QFile>
#include <QFontInfo>
#include <QSvgRenderer>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Placement {
    const char *name;
    const char *kind;
    QRect geometry; // an empty size: the label sizes itself to its caption
};

const Placement kLayout[] = {
    {"Shape1", "TBlendedShape", {0, 0, 461, 411}},
    {"lblComanda", "QLabel", {19, 14, 374, 27}},
    {"lblSair", "TBlendedBitBtn", {420, 4, 37, 30}},
    {"lblInfConsumidor", "QLabel", {18, 50, 0, 0}},
    {"lblDadosCons", "QLabel", {18, 71, 309, 18}},
    {"spbPesqCons", "TBlendedBitBtn", {16, 89, 57, 53}},
    {"spbTecladoCons", "TBlendedBitBtn", {80, 89, 57, 53}},
    {"bdsBordaCons", "TBlendedShape", {150, 92, 220, 36}},
    {"lblCdcons", "QLabel", {160, 100, 200, 18}},
    {"spbCredPes", "TBlendedBitBtn", {382, 88, 57, 53}},
    {"lblNmCons", "QLabel", {160, 142, 294, 17}},
    {"lblInfGarcom", "QLabel", {19, 172, 0, 0}},
    {"spbVendedor", "TBlendedBitBtn", {16, 197, 57, 53}},
    {"bdsBordaGar", "TBlendedShape", {150, 205, 220, 36}},
    {"lblCdGarcom", "QLabel", {160, 213, 204, 18}},
    {"lblInfMesa", "QLabel", {19, 266, 0, 0}},
    {"spbPesqMesa", "TBlendedBitBtn", {16, 288, 57, 53}},
    {"bdsBordaMesa", "TBlendedShape", {160, 299, 220, 36}},
    {"lblNrMesa", "QLabel", {162, 307, 197, 18}},
    {"spdEnter", "TBlendedBitBtn", {12, 352, 70, 46}},
    {"lblCodTela", "QLabel", {395, 389, 51, 14}},
};

struct Form : ::testing::Test {
    QDialog dialog;
    Ui::TfrmCriaComanda ui;

    void SetUp() override
    {
        ui.setupUi(&dialog);
        dialog.ensurePolished();
        for (auto *child : dialog.findChildren<QWidget *>())
            child->ensurePolished();
    }

    template <class T = QWidget>
    T *find(const char *name) const
    {
        return dialog.findChild<T *>(QLatin1String(name));
    }
};

TEST_F(Form, EveryComponentSitsWhereTheLayoutPutsIt)
{
    EXPECT_EQ(dialog.size(), QSize(461, 411));
    EXPECT_EQ(dialog.minimumSize(), QSize(461, 411));
    EXPECT_EQ(dialog.maximumSize(), QSize(461, 411));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Informações Gerais da Comanda"));

    int stackingOrder = -1;
    for (const Placement &p : kLayout) {
        SCOPED_TRACE(p.name);
        QWidget *w = find(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), &dialog);
        EXPECT_TRUE(w->inherits(p.kind)) << w->metaObject()->className();
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus);
        if (p.geometry.isEmpty()) {
            EXPECT_EQ(w->pos(), p.geometry.topLeft());
            auto *label = qobject_cast<QLabel *>(w);
            ASSERT_NE(label, nullptr);
            const QFontMetrics metrics(label->font());
            EXPECT_GE(w->width(), metrics.horizontalAdvance(label->text()));
            EXPECT_GE(w->height(), metrics.height());
        } else {
            EXPECT_EQ(w->geometry(), p.geometry);
        }
        // Later components lie above earlier ones: the frames under their labels, Shape1 under all.
        const int index = dialog.children().indexOf(w);
        EXPECT_GT(index, stackingOrder);
        stackingOrder = index;
    }
    EXPECT_EQ(dialog.findChildren<QWidget *>().size(), std::size(kLayout));
}

TEST_F(Form, CaptionsTagsAndHints)
{
    EXPECT_EQ(find<QLabel>("lblInfConsumidor")->text(), QStringLiteral("Informe o consumidor"));
    EXPECT_EQ(find<QLabel>("lblInfGarcom")->text(), QStringLiteral("Informe o garçom"));
    EXPECT_EQ(find<QLabel>("lblInfMesa")->text(), QStringLiteral("Informe o número da mesa"));
    EXPECT_EQ(find<QLabel>("lblDadosCons")->text(),
              QStringLiteral("(Digite o Código, Nr. Crachá, CPF, Identidade ou Cód. Externo)"));
    EXPECT_EQ(find<QLabel>("lblCdcons")->text(), QStringLiteral("000000000000000000021"));
    EXPECT_EQ(find<QLabel>("lblNmCons")->text(), QStringLiteral("nome do consumidor"));
    EXPECT_EQ(find<QLabel>("lblCdGarcom")->text(), QStringLiteral("codigo do garcom"));
    EXPECT_EQ(find<QLabel>("lblNrMesa")->text(), QStringLiteral("numero da mesa"));
    EXPECT_EQ(find<QLabel>("lblCodTela")->text(), QStringLiteral("Tkt00740"));
    EXPECT_TRUE(find<QLabel>("lblCodTela")->alignment() & Qt::AlignRight);

    EXPECT_EQ(find("lblCdcons")->property("tag"), QVariant(1));
    EXPECT_EQ(find("lblCdGarcom")->property("tag"), QVariant(2));
    EXPECT_EQ(find("lblNrMesa")->property("tag"), QVariant(3));
    EXPECT_FALSE(find("lblNmCons")->property("tag").isValid());

    EXPECT_EQ(find("spbPesqCons")->toolTip(), QStringLiteral("Pesquisar consumidor (Alt+C)"));
    EXPECT_EQ(find("spbTecladoCons")->toolTip(), QStringLiteral("Alt + T (Teclado)"));
    EXPECT_EQ(find("spbCredPes")->toolTip(), QStringLiteral("Alterar Dados Consumidor (Alt + P)"));
    EXPECT_EQ(find("spbVendedor")->toolTip(), QStringLiteral("Pesquisar garçom (Alt + G)"));
    EXPECT_EQ(find("spbPesqMesa")->toolTip(), QStringLiteral("Pesquisar mesa (Alt + M)"));
    EXPECT_EQ(find("spdEnter")->toolTip(), QStringLiteral("Concluir Pedido"));
    EXPECT_FALSE(find<TBlendedBitBtn>("spdEnter")->showHint());
    EXPECT_TRUE(find<TBlendedBitBtn>("spbPesqMesa")->showHint());
}

TEST_F(Form, ButtonsCarryTheirStyleAndGlyphs)
{
    const char *grey[] = {"spbPesqCons", "spbTecladoCons", "spbCredPes", "spbVendedor", "spbPesqMesa"};
    for (const char *name : grey) {
        SCOPED_TRACE(name);
        auto *b = find<TBlendedBitBtn>(name);
        EXPECT_EQ(b->fillColor(), QColor(128, 128, 128));
        EXPECT_EQ(b->textColor(), QColor(0, 0, 128));
        EXPECT_EQ(b->disabledFillColor(), QColor(204, 204, 204));
        EXPECT_EQ(b->disabledTextColor(), QColor(192, 192, 192));
        EXPECT_EQ(b->pressedFillColor(), QColor(0, 0, 0));
        EXPECT_EQ(b->pressedTextColor(), QColor(255, 255, 255));
        EXPECT_EQ(b->margin(), QByteArray(name) == "spbCredPes" ? 5 : 0);
        EXPECT_EQ(b->spacing(), 0);
        EXPECT_EQ(b->font().pixelSize(), 11);
        EXPECT_TRUE(b->font().bold());
        EXPECT_EQ(QFontInfo(b->font()).family(), QStringLiteral("Tahoma"));
    }
    EXPECT_EQ(find<TBlendedBitBtn>("spdEnter")->fillColor(), QColor(34, 221, 100));
    EXPECT_EQ(find<TBlendedBitBtn>("spdEnter")->disabledTextColor(), QColor(Qt::white));
    EXPECT_EQ(find<TBlendedBitBtn>("lblSair")->fillColor(), QColor(Qt::white));
    EXPECT_EQ(find<TBlendedBitBtn>("lblSair")->margin(), 2);
    EXPECT_EQ(find<TBlendedBitBtn>("lblSair")->disabledFillColor(), QColor(Qt::white));
    EXPECT_FALSE(find("spbCredPes")->isEnabled());
    EXPECT_TRUE(find("spbPesqCons")->isEnabled());

    // The three search buttons share one drawing; every other button has its own.
    EXPECT_EQ(find<TBlendedBitBtn>("spbVendedor")->glyph(), find<TBlendedBitBtn>("spbPesqCons")->glyph());
    EXPECT_EQ(find<TBlendedBitBtn>("spbPesqMesa")->glyph(), find<TBlendedBitBtn>("spbPesqCons")->glyph());
    QStringList distinct;
    for (auto *b : dialog.findChildren<TBlendedBitBtn *>()) {
        SCOPED_TRACE(qPrintable(b->objectName()));
        for (const QString &path : {b->glyph(), b->disabledGlyph()}) {
            QSvgRenderer svg(path);
            ASSERT_TRUE(svg.isValid()) << qPrintable(path);
            EXPECT_EQ(svg.defaultSize(), QSize(34, 34));
        }
        EXPECT_NE(b->glyph(), b->disabledGlyph());
        if (!distinct.contains(b->glyph()))
            distinct << b->glyph();
    }
    EXPECT_EQ(distinct.size(), 5);
}

TEST_F(Form, FontsAndColoursOfTheLabels)
{
    struct Style {
        const char *name;
        int pixels;
        bool bold;
        QColor colour;
    };
    const QColor grey(128, 128, 128);
    const Style styles[] = {{"lblComanda", 16, true, Qt::black},      {"lblInfConsumidor", 13, true, Qt::black},
                            {"lblInfGarcom", 13, true, Qt::black},    {"lblInfMesa", 13, true, Qt::black},
                            {"lblDadosCons", 11, false, grey},        {"lblCdcons", 11, false, grey},
                            {"lblNmCons", 11, false, grey},           {"lblCdGarcom", 11, false, grey},
                            {"lblNrMesa", 11, false, grey},           {"lblCodTela", 11, false, grey}};
    for (const Style &s : styles) {
        SCOPED_TRACE(s.name);
        auto *label = find<QLabel>(s.name);
        EXPECT_EQ(label->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(label->font().pixelSize(), s.pixels);
        EXPECT_EQ(label->font().bold(), s.bold);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), s.colour);
        EXPECT_FALSE(label->autoFillBackground());
        EXPECT_FALSE(label->wordWrap());
        // Arial itself or its metric twin: a caption never grows wider than the layout planned.
        const QString family = QFontInfo(label->font()).family();
        EXPECT_TRUE(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"))
            << qPrintable(family);
    }
    EXPECT_EQ(dialog.font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(dialog.font().pixelSize(), 11);
}

TEST_F(Form, RendersTheWholeForm)
{
    find<QLabel>("lblComanda")->setText(QStringLiteral("Abertura de Comanda 000123"));
    dialog.show();
    const QImage image = dialog.grab().toImage();
    ASSERT_TRUE(image.save(widgets_test::artifactPath(QStringLiteral("TfrmCriaComanda.png"))));
    EXPECT_EQ(image.pixelColor(230, 0), QColor(204, 91, 44));
    EXPECT_EQ(image.pixelColor(230, 1), QColor(204, 91, 44));
    EXPECT_EQ(image.pixelColor(230, 405), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(40, 350 + 2), QColor(34, 221, 100));
    EXPECT_EQ(image.pixelColor(400, 90), QColor(204, 204, 204));

    // The opposite states, to see every disabled glyph and the enabled pencil.
    for (auto *button : dialog.findChildren<TBlendedBitBtn *>())
        button->setEnabled(!button->isEnabled());
    const QImage flipped = dialog.grab().toImage();
    ASSERT_TRUE(flipped.save(widgets_test::artifactPath(QStringLiteral("TfrmCriaComanda_flipped.png"))));
    EXPECT_EQ(flipped.pixelColor(40, 350 + 2), QColor(204, 204, 204));
    EXPECT_EQ(flipped.pixelColor(400, 90), QColor(128, 128, 128));
}

// The form's style sheet must not leak into the message box it opens over itself.
TEST_F(Form, MessageBoxOverTheFormKeepsItsOwnLook)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QWidget *parent = nullptr;
    QFont caption;
    QFont answer;
    widgets_test::whenModal([&](QWidget *modal) {
        parent = modal->parentWidget();
        caption = modal->findChild<QLabel *>(QStringLiteral("lblMensagem"))->font();
        answer = modal->findChild<QWidget *>(QStringLiteral("btnSim"))->font();
        QTest::keyClick(modal->windowHandle(), Qt::Key_Escape);
    });
    EXPECT_FALSE(tkt::touchMensagem(QStringLiteral("Garçom não informado."), QString(), QStringLiteral("N"),
                                    QStringLiteral("S"), 3, QString(), QString(), 0, nullptr));
    EXPECT_EQ(parent, &dialog);
    EXPECT_EQ(caption.pixelSize(), 20);
    EXPECT_TRUE(caption.bold());
    EXPECT_EQ(answer.family(), QStringLiteral("Arial"));
    EXPECT_EQ(answer.pixelSize(), 20);
}

TEST(MessageTable, HoldsTheDialogsLinesInOrder)
{
    const QStringList keys{
        QStringLiteral("Vendedor_NCad"), QStringLiteral("Vendedor_NInf"), QStringLiteral("Cod_Vend"),
        QStringLiteral("Cod_Mesa"),      QStringLiteral("Mesa_Ninf"),     QStringLiteral("Mesa_Ncad"),
        QStringLiteral("Cod_Cons"),      QStringLiteral("Cons_Ninf"),     QStringLiteral("Cons_NCad"),
        QStringLiteral("ConsNCad"),      QStringLiteral("Consum_Coman"),  QStringLiteral("Inf_garcon"),
        QStringLiteral("Gar_N_Cad"),     QStringLiteral("Vend_N_Filial"), QStringLiteral("Vend_N_Caixa"),
        QStringLiteral("Gar_N_Assoc"),   QStringLiteral("Ope_N_Assoc"),   QStringLiteral("Inf_Mesa"),
        QStringLiteral("Inf_Cons"),      QStringLiteral("Cod_Cons"),      QStringLiteral("Ope_N_Cons"),
        QStringLiteral("Cons_Ninf"),     QStringLiteral("inc_comanda"),   QStringLiteral("inf_comanda"),
        QStringLiteral("CRACHA_BLOQ"),   QStringLiteral("Escopo_KLNB"),   QStringLiteral("Mesa_Uso")};

    QFile file(QStringLiteral(":/tkt00740/msgPadrao.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(bytes.contains('\r'));
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), keys.size());
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QStringList parts = lines[i].split(QLatin1Char('|'));
        ASSERT_EQ(parts.size(), 2);
        EXPECT_EQ(parts[0], keys[i]);
        EXPECT_FALSE(parts[1].isEmpty());
        EXPECT_EQ(parts[1], parts[1].trimmed());
    }

    const contracts::TMessages table = contracts::TMessages::fromFile(file.fileName());
    EXPECT_EQ(table.Messages.size(), 27);
    EXPECT_EQ(table.Msg(QStringLiteral("Mesa_NInf")), QStringLiteral("Mesa não informada."));
    EXPECT_EQ(table.Msg(QStringLiteral("Cod_Cons")), QStringLiteral("Digite o código do consumidor."));
    EXPECT_EQ(table.Messages[19], QStringLiteral("Cod_Cons|Digite o código do consumidor"));
    EXPECT_EQ(table.Msg(QStringLiteral("ConsNCad")), QStringLiteral("Consumidor não cadastrado.Deseja cadastrar ?"));
}

} // namespace
