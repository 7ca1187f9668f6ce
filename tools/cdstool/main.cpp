// cdstool: data packets and .cds files shown, converted to and from JSON, and edited in place.
// `cdstool --help` documents the commands and exit statuses.
#include "Commands.h"
#include "Usage.h"
#include "contracts/Errors.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <map>

namespace {

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    using namespace cdstool;
    const std::map<QString, std::function<void(const QStringList &)>> commands{
        {QStringLiteral("show"), show},
        {QStringLiteral("json"), toJson},
        {QStringLiteral("from-json"), fromJson},
        {QStringLiteral("set"), set},
    };
    try {
        if (!args.isEmpty() && (args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help")) {
            std::fputs(helpText().toLocal8Bit().constData(), stdout);
            return Ok;
        }
        if (args.isEmpty())
            throw UsageError(QStringLiteral("no command given"));
        const auto command = commands.find(args[0]);
        if (command == commands.end())
            throw UsageError(QStringLiteral("unknown command \"%1\"").arg(args[0]));
        for (const QString &arg : args.mid(1))
            if (arg.startsWith(u'-') && arg != u"-" && !arg.contains(u'='))
                throw UsageError(QStringLiteral("unknown option \"%1\"").arg(arg));
        command->second(args.mid(1));
        return Ok;
    } catch (const UsageError &e) {
        printErr(QStringLiteral("cdstool: %1\n%2\n").arg(e.message(), usageLine()));
        return BadUsage;
    } catch (const std::exception &e) {
        printErr(QStringLiteral("cdstool: %1\n").arg(tkt::messageOf(e)));
        return Refused;
    }
}
