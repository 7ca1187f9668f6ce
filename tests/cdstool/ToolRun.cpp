#include "ToolRun.h"

#include <QProcess>

ToolRun runTool(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(QString::fromUtf8(TKT_CDSTOOL), arguments);
    ToolRun run;
    if (!process.waitForStarted(30000)) {
        run.err = process.errorString();
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        run.err = QStringLiteral("cdstool did not finish in 60 s");
        return run;
    }
    run.normalExit = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
