#include "QStringPrinter.h"
#include "db/NamedParameters.h"

#include <gtest/gtest.h>

using db::toPositional;

namespace {

struct Case {
    const char *sql;
    const char *positional;
    const char *names; // comma-separated, upper case
};

class NamedParameterMarkers : public ::testing::TestWithParam<Case> {};

TEST_P(NamedParameterMarkers, rewriteToPositional)
{
    const Case &c = GetParam();
    const auto result = toPositional(QString::fromUtf8(c.sql));
    EXPECT_EQ(result.sql, QString::fromUtf8(c.positional));
    EXPECT_EQ(result.occurrences.join(u','), QString::fromUtf8(c.names));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NamedParameterMarkers,
    ::testing::Values(
        Case{"SELECT * FROM V WHERE (V.CDVENDEDOR = :P_CDVENDEDOR) OR ('T' = :p_cdvendedor)",
             "SELECT * FROM V WHERE (V.CDVENDEDOR = ?) OR ('T' = ?)", "P_CDVENDEDOR,P_CDVENDEDOR"},
        Case{"SELECT ':P_NO', 'it''s :P_NO' FROM T WHERE A=:A", "SELECT ':P_NO', 'it''s :P_NO' FROM T WHERE A=?", "A"},
        Case{"SELECT \"x:Y\" FROM T WHERE B = :B1", "SELECT \"x:Y\" FROM T WHERE B = ?", "B1"},
        Case{"SELECT a::text, '10:30' FROM t WHERE c = :C::int", "SELECT a::text, '10:30' FROM t WHERE c = ?::int", "C"},
        Case{"SELECT 1 -- see :P_COMMENT\nFROM t /* :P_BLOCK */ WHERE x = :X", "SELECT 1 -- see :P_COMMENT\nFROM t /* :P_BLOCK */ WHERE x = ?", "X"},
        Case{"SELECT a[1:2], b : c, :1 FROM t WHERE d=:_D", "SELECT a[1:2], b : c, :1 FROM t WHERE d=?", "_D"},
        Case{"SELECT 'unterminated :P", "SELECT 'unterminated :P", ""},
        Case{"WHERE A=:P_A AND B=:P_B AND C=:P_A", "WHERE A=? AND B=? AND C=?", "P_A,P_B,P_A"},
        Case{":FIRST", "?", "FIRST"}));

} // namespace
