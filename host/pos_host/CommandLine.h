#pragma once
// The host's command line: the entry's nine texts, the operator script and its guards.

#include <QCommandLineParser>
#include <QString>

namespace poshost {

// The nine texts of the entry, in its argument order.
struct EntryTexts {
    QString comanda = QStringLiteral("15");
    QString mode;
    QString permiteCons = QStringLiteral("S");
    QString permiteMesa = QStringLiteral("S");
    QString permiteGarcom = QStringLiteral("S");
    QString consumidor;
    QString cliente;
    QString vendedor;
    QString mesa;
};

struct HostOptions {
    EntryTexts texts;
    QString script;
    bool hasScript = false;
    bool scriptExit = false;
    int stepDelayMs = 50;
    int timeoutMs = 0; // 0: no guard, for each call
    int repeat = 1;    // calls of the entry in this process
    QString marksFile; // empty: no marks
    QString language;  // empty: the host's setting as it stands (TKT_LANGUAGE, tkt00740.lang)
};

class CommandLine {
public:
    CommandLine();

    // False with a reason for an unknown option, a bad number or a text given twice.
    bool parse(const QStringList &arguments, HostOptions *options, QString *error);
    QString helpText() const { return m_parser.helpText() + trailer(); }

    static bool asksForHelp(int argc, char **argv);

private:
    static QString trailer();

    QCommandLineParser m_parser;
};

} // namespace poshost
