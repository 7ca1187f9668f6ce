// The real host, module and stand-ins on the SQLite demo store, opening the comanda dialog twice in
// one process as a host serving many comandas would: the second dialog must work as the first did.
#include "e2e/PosHost.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kMainPath = QStringLiteral(
    "mark:consumer type:0000054321 Enter wait:200 mark:waiter type:7 Enter wait:200 mark:table type:1 Enter wait:300 "
    "mark:question click:btnSim wait:300 mark:password type:1234 Enter wait:300");

TEST(RepeatedDialogs, EveryDialogOfTheProcessOpensItsComandaAndIsMarked)
{
    PosHost host;
    QTemporaryDir dir;
    const QString marksPath = dir.filePath(QStringLiteral("marks.txt"));
    const HostRun r = host.run({"--repeat", "2", "--marks", marksPath}, kMainPath);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    const QStringList blocks = r.out.split(QRegularExpression(QStringLiteral("^dialog="),
                                                              QRegularExpression::MultilineOption),
                                           Qt::SkipEmptyParts);
    ASSERT_EQ(blocks.size(), 2) << r.out.toStdString();
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k + 1);
        HostRun block;
        block.out = blocks[k];
        EXPECT_TRUE(block.out.startsWith(QString::number(k + 1) + "\n"));
        EXPECT_EQ(block.value("result"), "True");
        EXPECT_EQ(block.value("consumidor"), "000000000000000000022");
        EXPECT_EQ(block.value("cliente"), "000000000000000000001");
        EXPECT_EQ(block.value("vendedor"), "0007");
        EXPECT_EQ(block.value("mesa"), "0001");
    }

    QFile marks(marksPath);
    ASSERT_TRUE(marks.open(QIODevice::ReadOnly));
    QStringList labels;
    qint64 previous = 0;
    for (const QByteArray &line : marks.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split(' ');
        ASSERT_EQ(fields.size(), 3) << line.toStdString();
        const qint64 us = fields[0].toLongLong();
        EXPECT_GE(us, previous) << "marks are written in time order";
        previous = us;
        labels.append(QString::fromLatin1(fields[1] + ' ' + fields[2]));
    }
    QStringList expected;
    for (const char *dialog : {"1", "2"})
        for (const char *label : {"open", "mark:consumer", "mark:waiter", "mark:table", "mark:question",
                                  "mark:password", "end"})
            expected.append(QStringLiteral("%1 %2").arg(QLatin1String(dialog), QLatin1String(label)));
    EXPECT_EQ(labels, expected);
}

} // namespace
