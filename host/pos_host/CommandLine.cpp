#include "pos_host/CommandLine.h"

#include <array>
#include <cstring>

namespace poshost {

namespace {

struct TextOption {
    const char *name;
    const char *positional;
    const char *description;
    QString EntryTexts::*field;
};

// Positional arguments and named options fill the same texts, in the entry's order.
const std::array<TextOption, 9> kTextOptions = {{
    {"comanda", "comanda", "Comanda number (default 15).", &EntryTexts::comanda},
    {"mode", "mode", "\"A\" for an open comanda, anything else opens one (default empty).", &EntryTexts::mode},
    {"permite-cons", "permiteCons", "\"S\": the consumer can and must be entered (default S).",
     &EntryTexts::permiteCons},
    {"permite-mesa", "permiteMesa", "\"S\": the table can and must be entered (default S).",
     &EntryTexts::permiteMesa},
    {"permite-garcom", "permiteGarcom", "\"S\": the waiter can and must be entered (default S).",
     &EntryTexts::permiteGarcom},
    {"consumidor", "consumidor", "Preset consumer code.", &EntryTexts::consumidor},
    {"cliente", "cliente", "Preset client code of the consumer.", &EntryTexts::cliente},
    {"vendedor", "vendedor", "Preset waiter code.", &EntryTexts::vendedor},
    {"mesa", "mesa", "Preset table number.", &EntryTexts::mesa},
}};

const QString kScript = QStringLiteral("script");
const QString kScriptExit = QStringLiteral("script-exit");
const QString kStepDelay = QStringLiteral("step-delay");
const QString kTimeout = QStringLiteral("timeout");
const QString kRepeat = QStringLiteral("repeat");
const QString kMarks = QStringLiteral("marks");
const QString kLanguage = QStringLiteral("language");
const QStringList kLanguages{QStringLiteral("pt_BR"), QStringLiteral("es"), QStringLiteral("en")};
constexpr int kMostRepeats = 10000;

} // namespace

CommandLine::CommandLine()
{
    m_parser.setApplicationDescription(QStringLiteral(
        "A point-of-sale host: loads the comanda module from its own folder, shows the comanda "
        "dialog and prints what the operator confirmed."));
    m_parser.addHelpOption();
    for (const TextOption &option : kTextOptions) {
        m_parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), QString::fromUtf8(option.description),
                                              QStringLiteral("text")));
        m_parser.addPositionalArgument(QString::fromLatin1(option.positional), QString::fromUtf8(option.description),
                                       QStringLiteral("[%1]").arg(QString::fromLatin1(option.positional)));
    }
    m_parser.addOption(QCommandLineOption(kScript, QStringLiteral("Operator script to play into the dialog."),
                                          QStringLiteral("steps")));
    m_parser.addOption(QCommandLineOption(
        kScriptExit, QStringLiteral("Close everything (exit code 3) when the script ends with the dialog open.")));
    m_parser.addOption(QCommandLineOption(kStepDelay, QStringLiteral("Pause between script steps (default 50)."),
                                          QStringLiteral("ms")));
    m_parser.addOption(QCommandLineOption(
        kTimeout, QStringLiteral("Give up on a call after this many seconds (exit code 4)."), QStringLiteral("seconds")));
    m_parser.addOption(QCommandLineOption(
        kRepeat,
        QStringLiteral("Call the entry this many times in one process (1 to %1, default 1), playing the script "
                       "into each dialog, as a host that serves many comandas a day without restarting does: "
                       "what the module keeps between calls, and what it costs again, shows.")
            .arg(kMostRepeats),
        QStringLiteral("count")));
    m_parser.addOption(QCommandLineOption(
        kMarks, QStringLiteral("Append timing marks of every call to this file (see below)."), QStringLiteral("file")));
    m_parser.addOption(QCommandLineOption(
        kLanguage,
        QStringLiteral("The host's language for this run: pt_BR, es or en (sets TKT_LANGUAGE; default: "
                       "TKT_LANGUAGE, else tkt00740.lang beside the program, else pt_BR)."),
        QStringLiteral("language")));
}

bool CommandLine::parse(const QStringList &arguments, HostOptions *options, QString *error)
{
    if (!m_parser.parse(arguments)) {
        *error = m_parser.errorText();
        return false;
    }

    const QStringList positional = m_parser.positionalArguments();
    if (positional.size() > static_cast<qsizetype>(kTextOptions.size())) {
        *error = QStringLiteral("Too many arguments: the entry takes %1 texts.").arg(kTextOptions.size());
        return false;
    }
    for (std::size_t i = 0; i < kTextOptions.size(); ++i) {
        const TextOption &option = kTextOptions[i];
        const QString name = QString::fromLatin1(option.name);
        const bool named = m_parser.isSet(name);
        const bool byPosition = static_cast<qsizetype>(i) < positional.size();
        if (named && byPosition) {
            *error = QStringLiteral("%1 is given both by position and as --%2.")
                         .arg(QString::fromLatin1(option.positional), name);
            return false;
        }
        if (named)
            options->texts.*option.field = m_parser.value(name);
        else if (byPosition)
            options->texts.*option.field = positional.at(static_cast<qsizetype>(i));
    }

    options->hasScript = m_parser.isSet(kScript);
    options->script = m_parser.value(kScript);
    options->scriptExit = m_parser.isSet(kScriptExit);
    if (options->scriptExit && !options->hasScript) {
        *error = QStringLiteral("--script-exit needs --script.");
        return false;
    }
    if (m_parser.isSet(kStepDelay)) {
        bool number = false;
        options->stepDelayMs = m_parser.value(kStepDelay).toInt(&number);
        if (!number || options->stepDelayMs < 0 || options->stepDelayMs > 60000) {
            *error = QStringLiteral("--step-delay needs milliseconds between 0 and 60000.");
            return false;
        }
    }
    if (m_parser.isSet(kTimeout)) {
        bool number = false;
        const double seconds = m_parser.value(kTimeout).toDouble(&number);
        if (!number || !(seconds > 0) || seconds > 24 * 3600) {
            *error = QStringLiteral("--timeout needs a number of seconds above 0 and at most a day.");
            return false;
        }
        options->timeoutMs = static_cast<int>(seconds * 1000);
    }
    if (m_parser.isSet(kRepeat)) {
        bool number = false;
        options->repeat = m_parser.value(kRepeat).toInt(&number);
        if (!number || options->repeat < 1 || options->repeat > kMostRepeats) {
            *error = QStringLiteral("--repeat needs a count from 1 to %1.").arg(kMostRepeats);
            return false;
        }
    }
    if (m_parser.isSet(kLanguage)) {
        options->language = m_parser.value(kLanguage);
        if (!kLanguages.contains(options->language)) {
            *error = QStringLiteral("--language needs one of %1.").arg(kLanguages.join(QStringLiteral(", ")));
            return false;
        }
    }
    if (m_parser.isSet(kMarks)) {
        options->marksFile = m_parser.value(kMarks);
        if (options->marksFile.isEmpty()) {
            *error = QStringLiteral("--marks needs a file name.");
            return false;
        }
    }
    return true;
}

bool CommandLine::asksForHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char *help : {"-h", "--help", "-?", "--help-all"})
            if (std::strcmp(argv[i], help) == 0)
                return true;
    }
    return false;
}

QString CommandLine::trailer()
{
    return QStringLiteral(R"(
Output, one line each: result=True|False, consumidor=, cliente=, vendedor=, mesa=. With --repeat
above 1, each call's block follows a line dialog=<k> (k from 1).

Operator script: steps separated by blanks, played into the window in front (the dialog, or a
message box or keypad on top of it):
  click:<objectName>   click the named widget
  type:<text>          one key per character; type:"two words" keeps the blank
  wait:<ms>            pause
  mark:<label>         plays nothing; writes a mark (label: letters, digits, _ and -)
  7  a  Enter  Esc  Backspace  F1  Alt+X  Ctrl+Enter  Alt+Shift+C  Num+Enter   one key

Marks file (--marks), one line each: <wall-clock microseconds> <dialog k> <label>, label "open"
just before the entry is called, "end" just after it returns, "mark:<label>" for a mark step.

Without a display (no DISPLAY or WAYLAND_DISPLAY, QT_QPA_PLATFORM unset) the dialog is shown
through a VNC server on 127.0.0.1:5900.

Exit codes: 0 the entry was called (whatever its result); 1 a library or one of its exports is
missing; 2 bad arguments; 3 the script ended with the dialog open (--script-exit); 4 timed out;
5 a script step failed. With --repeat, the code of the first call that had to be ended (3 to 5);
no dialog is opened after it.
)");
}

} // namespace poshost
