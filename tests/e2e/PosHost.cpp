#include "e2e/PosHost.h"

#include "schema/DemoFiles.h"

#include <QProcess>
#include <QRegularExpression>

QString HostRun::value(const QString &key) const
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    const auto m = line.match(out);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("<missing>");
}

PosHost::PosHost()
{
    m_connectionString = schema::makeDemo(m_folder.path());
}

HostRun PosHost::run(const QStringList &arguments, const QString &script, int timeoutSeconds) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TKT_CONNECTION_STRING"), m_connectionString);
    env.insert(QStringLiteral("TKT_HOST_DIR"), m_folder.path());
    for (auto it = m_environment.cbegin(); it != m_environment.cend(); ++it) {
        if (it.value().isEmpty())
            env.remove(it.key());
        else
            env.insert(it.key(), it.value());
    }
    p.setProcessEnvironment(env);
    QStringList args = arguments;
    args << QStringLiteral("--timeout") << QString::number(timeoutSeconds);
    if (!script.isEmpty())
        args << QStringLiteral("--script") << script << QStringLiteral("--script-exit");
    p.start(QStringLiteral(TKT_POS_HOST), args);
    HostRun r;
    if (!p.waitForFinished((timeoutSeconds + 15) * 1000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("pos_host did not finish");
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
