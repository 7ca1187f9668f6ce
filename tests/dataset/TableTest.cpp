// The in-memory table: navigation, the filter, locate, editing, texts, packets and .cds files.
#include "contracts/Errors.h"
#include "dataset/Packet.h"
#include "TestFields.h"
#include "dataset/Table.h"
#include "dataset/Texts.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace dataset;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

namespace {

// Waiters as the waiter lookup returns them.
Table waiters()
{
    Table t({fld("CDVENDEDOR", FieldType::String, 4),
             fld("NMFANVEN", FieldType::String, 50),
             fld("IDATIVO", FieldType::Boolean)});
    const struct {
        const char *code, *name;
        bool active;
    } rows[] = {{"0001", "Ana", true}, {"0002", "bruno", false}, {"0003", "Bruno", true}, {"0004", "Célia", true}};
    for (const auto &r : rows) {
        t.append();
        t.setValue(QStringLiteral("CDVENDEDOR"), QString::fromUtf8(r.code));
        t.setValue(QStringLiteral("NMFANVEN"), QString::fromUtf8(r.name));
        t.setValue(QStringLiteral("IDATIVO"), r.active);
        t.post();
    }
    t.first();
    return t;
}

QStringList codesInOrder(Table &t)
{
    QStringList codes;
    for (t.first(); !t.eof(); t.next())
        codes << t.text(QStringLiteral("cdvendedor"));
    return codes;
}

auto activeOnly = [](const RowView &row) { return row.value(QStringLiteral("IDATIVO")).toBool(); };

} // namespace

TEST(Table, NavigatesRowsInOrder)
{
    Table t = waiters();
    EXPECT_EQ(t.recordCount(), 4);
    EXPECT_EQ(codesInOrder(t), QStringList({QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("0003"),
                                            QStringLiteral("0004")}));
    // After running off the end the last row stays current.
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 3);
    t.moveTo(1);
    EXPECT_FALSE(t.eof());
    EXPECT_EQ(t.text(QStringLiteral("NMFANVEN")), QStringLiteral("bruno"));
    EXPECT_THAT([&] { t.moveTo(4); }, ThrowsMessage<tkt::Error>(StrEq(texts::rowOutOfRange(4, 4).toStdString())));
    EXPECT_THAT([&] { t.moveTo(-1); }, ThrowsMessage<tkt::Error>(StrEq(texts::rowOutOfRange(-1, 4).toStdString())));
    EXPECT_THAT([&] { t.value(QStringLiteral("NOPE")); },
                ThrowsMessage<tkt::Error>(StrEq(texts::noSuchField(QStringLiteral("NOPE")).toStdString())));

    t.emptyTable();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), -1);
    EXPECT_EQ(t.fields().size(), 3);
    EXPECT_THAT([&] { t.value(QStringLiteral("CDVENDEDOR")); },
                ThrowsMessage<tkt::Error>(StrEq(texts::noCurrentRow().toStdString())));
    EXPECT_THROW(t.setValue(QStringLiteral("CDVENDEDOR"), QStringLiteral("x")), tkt::Error);
}

TEST(Table, FieldsAreFoundWhateverTheCaseAndMustBeDistinct)
{
    Table t = waiters();
    EXPECT_EQ(t.fieldIndex(QStringLiteral("nmFanVen")), 1);
    EXPECT_EQ(t.field(QStringLiteral("cdvendedor")).width, 4);
    EXPECT_FALSE(t.hasField(QStringLiteral("CDVENDEDOR ")));
    EXPECT_THROW(t.field(QStringLiteral("X")), tkt::Error);
    EXPECT_THAT([&] { t.setFields({fld("A", FieldType::String), fld("a", FieldType::Integer)}); },
                ThrowsMessage<tkt::Error>(StrEq(texts::fieldRepeated(QStringLiteral("a")).toStdString())));
    EXPECT_EQ(t.recordCount(), 4) << "a rejected field list changes nothing";
}

TEST(Table, FilterHidesRowsFromCountNavigationAndBack)
{
    Table t = waiters();
    t.setFilter(activeOnly);
    EXPECT_EQ(t.recordCount(), 4) << "a filter does nothing until it is switched on";
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(codesInOrder(t), QStringList({QStringLiteral("0001"), QStringLiteral("0003"), QStringLiteral("0004")}));
    t.moveTo(1);
    EXPECT_EQ(t.text(QStringLiteral("CDVENDEDOR")), QStringLiteral("0003"));
    EXPECT_EQ(t.visibleRow(2).at(0).toString(), QStringLiteral("0004"));
    EXPECT_EQ(t.allRows().size(), 4);

    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 4);
    EXPECT_EQ(t.recNo(), 0);

    // A predicate that fails leaves the rows as they were.
    t.setFiltered(true);
    EXPECT_THROW(t.setFilter([](const RowView &r) { return r.value(QStringLiteral("MISSING")).toBool(); }), tkt::Error);
    EXPECT_EQ(t.recordCount(), 3);
}

TEST(Table, EditedAndAppendedRowsMeetTheFilterWhenPosted)
{
    Table t = waiters();
    t.setFilter(activeOnly);
    t.setFiltered(true);
    t.append();
    t.setValue(QStringLiteral("CDVENDEDOR"), QStringLiteral("0005"));
    t.setValue(QStringLiteral("IDATIVO"), false);
    EXPECT_EQ(t.recordCount(), 4) << "the new row shows while it is filled in";
    EXPECT_EQ(t.text(QStringLiteral("CDVENDEDOR")), QStringLiteral("0005"));
    t.post();
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.allRows().size(), 5);

    t.moveTo(0);
    t.setValue(QStringLiteral("IDATIVO"), false);
    t.post();
    EXPECT_EQ(codesInOrder(t), QStringList({QStringLiteral("0003"), QStringLiteral("0004")}));
}

TEST(Table, LocateIsExactAndSeesOnlyVisibleRows)
{
    Table t = waiters();
    EXPECT_TRUE(t.locate(QStringLiteral("NMFANVEN"), QStringLiteral("Bruno")));
    EXPECT_EQ(t.text(QStringLiteral("CDVENDEDOR")), QStringLiteral("0003"));
    EXPECT_TRUE(t.locate(QStringLiteral("nmfanven"), QStringLiteral("bruno")));
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_FALSE(t.locate(QStringLiteral("NMFANVEN"), QStringLiteral("BRUNO")));
    EXPECT_FALSE(t.locate(QStringLiteral("NMFANVEN"), QStringLiteral("Bru")));
    EXPECT_EQ(t.recNo(), 1) << "a failed locate does not move";

    t.setFilter(activeOnly);
    t.setFiltered(true);
    EXPECT_FALSE(t.locate(QStringLiteral("NMFANVEN"), QStringLiteral("bruno")));
    EXPECT_TRUE(t.locate(QStringLiteral("CDVENDEDOR"), QStringLiteral("0004")));
    EXPECT_EQ(t.recNo(), 2);
    EXPECT_THROW(t.locate(QStringLiteral("NOPE"), 1), tkt::Error);

    Table n({fld("NR", FieldType::Integer)});
    for (const QVariant &v : {QVariant(7), QVariant(), QVariant(9)}) {
        n.append();
        n.setValue(QStringLiteral("NR"), v);
    }
    EXPECT_TRUE(n.locate(QStringLiteral("NR"), QVariant(QStringLiteral("9"))));
    EXPECT_EQ(n.recNo(), 2);
    EXPECT_TRUE(n.locate(QStringLiteral("NR"), QVariant()));
    EXPECT_EQ(n.recNo(), 1);
    EXPECT_FALSE(n.locate(QStringLiteral("NR"), QStringLiteral("sete")));
}

TEST(Table, ValuesKeepTheFieldTypeAndPrintCleanly)
{
    Table t({fld("V", FieldType::Float), fld("N", FieldType::Integer),
             fld("B", FieldType::Boolean), fld("DT", FieldType::DateTime),
             fld("D", FieldType::Date), fld("S", FieldType::String)});
    t.append();
    const struct {
        const char *field;
        QVariant in;
        const char *text;
    } cases[] = {
        {"V", 12.5, "12.5"}, {"V", 3.0, "3"}, {"V", 0.1, "0.1"}, {"V", QStringLiteral(" 7.25 "), "7.25"},
        {"N", QStringLiteral("0042"), "42"}, {"N", 5.0, "5"}, {"B", true, "True"}, {"B", 0, "False"},
        {"DT", QDateTime(QDate(2024, 7, 1), QTime(9, 5, 3, 500)), "2024-07-01T09:05:03"},
        {"DT", QStringLiteral("2024-07-01 09:05"), "2024-07-01T09:05:00"},
        {"D", QDate(2024, 7, 1), "2024-07-01"}, {"S", QStringLiteral("€ ç 中"), "€ ç 中"},
        {"S", QVariant(), ""}, {"V", QVariant(), ""},
    };
    for (const auto &c : cases) {
        const QString field = QString::fromLatin1(c.field);
        t.setValue(field, c.in);
        EXPECT_EQ(t.text(field), QString::fromUtf8(c.text)) << c.field;
    }
    EXPECT_EQ(t.value(QStringLiteral("N")).typeId(), QMetaType::LongLong);
    for (const auto &[field, bad] : {std::pair{"N", QVariant(QStringLiteral("12a"))}, {"N", QVariant(1.5)},
                                     {"V", QVariant(QStringLiteral("abc"))}, {"B", QVariant(QStringLiteral("talvez"))},
                                     {"DT", QVariant(QStringLiteral("ontem"))}, {"D", QVariant(QDate(10000, 1, 1))}})
        EXPECT_THAT([&] { t.setValue(QString::fromLatin1(field), bad); },
                    ThrowsMessage<tkt::Error>(StrEq(
                        texts::valueDoesNotFit(bad.toString(), QString::fromLatin1(field),
                                               fieldTypeName(t.field(QString::fromLatin1(field)).type))
                            .toStdString())))
            << field;
}

TEST(Table, PacketsReplaceEverythingButADamagedOneChangesNothing)
{
    Table source = waiters();
    source.field(QStringLiteral("IDATIVO")).visible = false;
    source.field(QStringLiteral("NMFANVEN")).displayLabel = QStringLiteral("Garçom");

    Table t({fld("OTHER", FieldType::Integer)});
    t.setFilter(activeOnly);
    t.setFiltered(true);
    t.loadPacket(source.toPacket());
    EXPECT_EQ(t.fields(), source.fields());
    EXPECT_EQ(t.allRows(), source.allRows());
    EXPECT_EQ(t.recordCount(), 3) << "the filter stays on across loads";
    EXPECT_EQ(t.recNo(), 0);

    const QByteArray damaged = source.toPacket().chopped(3);
    EXPECT_THROW(t.loadPacket(damaged), tkt::Error);
    EXPECT_EQ(t.allRows().size(), 4);
    EXPECT_EQ(t.fields(), source.fields());

    // The filter reads a field the new packet lacks: the load fails as a whole.
    Table plain({fld("X", FieldType::String)});
    plain.append();
    plain.setValue(QStringLiteral("X"), QStringLiteral("x"));
    EXPECT_THROW(t.loadPacket(plain.toPacket()), tkt::Error);
    EXPECT_EQ(t.fields(), source.fields());
    EXPECT_EQ(Table::fromPacket(plain.toPacket()).fields(), plain.fields());
}

TEST(Table, CdsFilesAreThePacketBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Cad_Cliente.cds"));
    const Table source = waiters();
    source.saveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), source.toPacket());
    file.close();

    Table loaded;
    loaded.loadFromFile(path);
    EXPECT_EQ(loaded.allRows(), source.allRows());
    EXPECT_EQ(loaded.text(QStringLiteral("NMFANVEN")), QStringLiteral("Ana"));

    const QString missing = dir.filePath(QStringLiteral("missing.cds"));
    EXPECT_THAT([&] { loaded.loadFromFile(missing); },
                ThrowsMessage<tkt::Error>(StrEq(texts::cannotOpenTableFile(missing, texts::fileDoesNotExist()).toStdString())));
    EXPECT_THAT([&] { loaded.loadFromFile(dir.path()); },
                ThrowsMessage<tkt::Error>(StartsWith(texts::cannotOpenTableFile(dir.path(), {}).toStdString())))
        << "a folder is there, but is no table file";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a packet");
    file.close();
    // The decoder's reason follows the file's path: a text item of 14 bytes where the map belongs.
    const QString notAMap = texts::packetInvalid(0, texts::notAPacket(texts::itemKind(texts::ItemKind::Text)));
    EXPECT_THAT([&] { loaded.loadFromFile(path); },
                ThrowsMessage<tkt::Error>(StrEq(texts::damagedTableFile(path, notAMap).toStdString())));
    EXPECT_EQ(loaded.recordCount(), 4);
    const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/x.cds"));
    EXPECT_THAT([&] { source.saveToFile(unwritable); },
                ThrowsMessage<tkt::Error>(StartsWith(texts::cannotWriteTableFile(unwritable, {}).toStdString())));
}
