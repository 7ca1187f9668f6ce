// pos_host: a point-of-sale host in miniature. It loads the shared services library, the common
// UI package and the comanda module from its own folder, calls the entry (once, or as often as
// asked) and prints what each dialog handed back, optionally playing an operator script into it.
#include "contracts/Windows1252.h"
#include "pos_host/CommandLine.h"
#include "pos_host/HostSession.h"
#include "pos_host/LoopbackVnc.h"
#include "pos_host/MarkLog.h"
#include "pos_host/ModuleLibraries.h"

#include <QApplication>
#include <QByteArray>
#include <array>
#include <cstdio>
#include <memory>

using namespace poshost;

namespace {

void printLine(std::FILE *stream, const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stream);
    std::fflush(stream);
}

// The texts cross to the module in its code page; a text it cannot carry would reach the module
// as some other code, so it is refused here.
bool encode(const EntryTexts &texts, std::array<QByteArray, 9> *bytes, QString *error)
{
    const std::array<std::pair<const char *, const QString *>, 9> named = {{
        {"comanda", &texts.comanda},
        {"mode", &texts.mode},
        {"permite-cons", &texts.permiteCons},
        {"permite-mesa", &texts.permiteMesa},
        {"permite-garcom", &texts.permiteGarcom},
        {"consumidor", &texts.consumidor},
        {"cliente", &texts.cliente},
        {"vendedor", &texts.vendedor},
        {"mesa", &texts.mesa},
    }};
    for (std::size_t i = 0; i < named.size(); ++i) {
        const QString &text = *named[i].second;
        (*bytes)[i] = tkt::toWindows1252(text);
        if (tkt::fromWindows1252((*bytes)[i]) != text) {
            *error = QStringLiteral("The %1 text \"%2\" has characters outside Windows-1252.")
                         .arg(QString::fromLatin1(named[i].first), text);
            return false;
        }
    }
    return true;
}

// One call of the entry with the session's script, and its result block.
void callEntry(const ModuleExports &module, std::array<QByteArray, 9> bytes, HostSession &session)
{
    // The four in/out texts: the module replaces a pointer with a text of its own when its dialog
    // closes; a pointer it left alone is still ours.
    std::array<char *, 4> given = {bytes[5].data(), bytes[6].data(), bytes[7].data(), bytes[8].data()};
    std::array<char *, 4> handedBack = given;

    session.begin();
    const int32_t result =
        module.criaConfComanda(bytes[0].constData(), bytes[1].constData(), bytes[2].constData(), bytes[3].constData(),
                               bytes[4].constData(), &handedBack[0], &handedBack[1], &handedBack[2], &handedBack[3]);
    session.end();

    printLine(stdout, QStringLiteral("result=%1").arg(result ? QStringLiteral("True") : QStringLiteral("False")));
    const std::array<const char *, 4> names = {"consumidor", "cliente", "vendedor", "mesa"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QByteArray value = handedBack[i] ? QByteArray(handedBack[i]) : QByteArray();
        printLine(stdout, QStringLiteral("%1=%2").arg(QString::fromLatin1(names[i]), tkt::fromWindows1252(value)));
        if (handedBack[i] != given[i])
            module.freeText(handedBack[i]);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (CommandLine::asksForHelp(argc, argv)) {
        QCoreApplication help(argc, argv);
        printLine(stdout, CommandLine().helpText());
        return ExitDone;
    }

    LoopbackVnc::chooseWhenNoDisplay(argc, argv);
    // A real host has its application before it loads any module.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pos_host"));

    HostOptions options;
    QString error;
    CommandLine commandLine;
    if (!commandLine.parse(QApplication::arguments(), &options, &error)) {
        printLine(stderr, error);
        printLine(stderr, QStringLiteral("Try pos_host --help."));
        return ExitBadArguments;
    }
    std::array<QByteArray, 9> bytes;
    if (!encode(options.texts, &bytes, &error)) {
        printLine(stderr, error);
        return ExitBadArguments;
    }
    // The shared services library reads the host's language where it reads the connection string.
    if (!options.language.isEmpty())
        qputenv("TKT_LANGUAGE", options.language.toUtf8());
    MarkLog marks;
    if (!options.marksFile.isEmpty() && !marks.open(options.marksFile, &error)) {
        printLine(stderr, error);
        return ExitBadArguments;
    }
    auto session = std::make_unique<HostSession>(options, &marks, 1);
    if (!session->prepare(&error)) {
        printLine(stderr, error);
        return ExitBadArguments;
    }

    LoopbackVnc::installIfVnc();

    ModuleLibraries libraries(QApplication::applicationDirPath());
    QStringList warnings;
    const bool loaded = libraries.load(&error, &warnings);
    for (const QString &warning : std::as_const(warnings))
        printLine(stderr, QStringLiteral("Warning: ") + warning);
    if (!loaded) {
        printLine(stderr, error);
        return ExitLoadFailed;
    }
    const ModuleExports &module = libraries.exports();

    module.initialize();

    for (int dialog = 1; dialog <= options.repeat; ++dialog) {
        // Every call gets its own script run, time guard and watchdog, as the first one had.
        if (dialog > 1) {
            session = std::make_unique<HostSession>(options, &marks, dialog);
            session->prepare(&error);
        }
        if (options.repeat > 1)
            printLine(stdout, QStringLiteral("dialog=%1").arg(dialog));
        callEntry(module, bytes, *session);
        // A call that had to be ended told every event loop to return, later ones too: no further
        // dialog could be shown. Its session is kept, so its watchdog still guards finalizing.
        if (session->exitCode() != ExitDone) {
            if (dialog < options.repeat)
                printLine(stderr, QStringLiteral("stopped after dialog %1 of %2").arg(dialog).arg(options.repeat));
            break;
        }
    }

    module.finalize();
    return session->exitCode();
}
