#pragma once
// cdstool run as a child process, as a technician runs it.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ToolRun {
    bool normalExit = false; // false when it crashed or did not finish in time
    int exitCode = -1;
    QByteArray out;
    QString err;
};

ToolRun runTool(const QStringList &arguments, const QByteArray &input = {});
