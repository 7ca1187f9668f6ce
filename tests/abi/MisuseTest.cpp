// Every misuse of the C ABI a careless host can commit, each in a child process of its own: the
// process must end normally, each call must give its documented failure answer, and each refusal
// must be logged once on tkt.abi.
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct Misuse {
    const char *name;
    QStringList answers; // lines the case must print, in order
    int refusals;        // tkt.abi warnings it must log
};

void PrintTo(const Misuse &m, std::ostream *os) { *os << m.name; }

const Misuse kMisuses[] = {
    {"entry-before-initialize", {"entry=0"}, 1},
    {"entry-without-widget-application", {"entry=0"}, 1},
    {"service-before-initialize", {"service=error:O módulo de comandas não foi inicializado"}, 1},
    {"calls-after-finalize", {"service=error:O módulo de comandas já foi finalizado", "entry=0"}, 2},
    {"calls-from-another-thread",
     {"service=error:getValMesa foi chamada de uma linha de execução (thread) diferente", "entry=0", "same-thread=packet"},
     3},
    {"null-pointers", {"service=packet", "comandas=packet", "entry=0"}, 0},
    {"long-texts", {"service=packet", "entry=0"}, 0},
    {"unpaired-surrogates", {"service=packet", "tables=packet"}, 0},
    {"one-address-twice", {"entry=0", "handed-back=yes"}, 0},
    {"hooks-twice-and-again", {"first=packet", "again=packet"}, 3},
};

class AbiMisuse : public testing::TestWithParam<Misuse> {};

TEST_P(AbiMisuse, AnswersItsFailureAndTheProcessGoesOn)
{
    const Misuse &misuse = GetParam();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_MESSAGE_PATTERN", "%{category}|%{type}|%{message}");
    env.insert("TKT_CONNECTION_STRING", "Provider=SQLite;Data Source=" TKT_ABI_DEMO "/demo.db");
    env.insert("TKT_HOST_DIR", TKT_ABI_DEMO);
    child.setProcessEnvironment(env);
    child.start(TKT_MISUSE_CASE, {TKT_MODULE, misuse.name});
    ASSERT_TRUE(child.waitForFinished(120000)) << "the call hung";
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    const QString err = QString::fromUtf8(child.readAllStandardError());
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit) << "the process was ended: " << err.toStdString();
    ASSERT_EQ(child.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith("done\n")) << out.toStdString();

    const QStringList lines = out.split('\n');
    qsizetype at = 0;
    for (const QString &answer : misuse.answers) {
        while (at < lines.size() && !lines[at].startsWith(answer))
            ++at;
        EXPECT_LT(at, lines.size()) << "missing, or out of order: " << answer.toStdString() << "\nin:\n"
                                    << out.toStdString();
    }
    const qsizetype warnings = err.split('\n').filter(QRegularExpression("^tkt\\.abi\\|warning\\|")).size();
    EXPECT_EQ(warnings, misuse.refusals) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Host, AbiMisuse, testing::ValuesIn(kMisuses), [](const testing::TestParamInfo<Misuse> &info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

} // namespace
