#pragma once
// Runs the real POS host program against the real module and stand-ins, on the offscreen platform,
// with a demo store of its own, and reads what it prints.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;
    QString value(const QString &key) const; // "result", "consumidor", ... from "key=value" lines
};

class PosHost {
public:
    PosHost(); // a demo store (SQLite) and its host files in a folder of this object
    HostRun run(const QStringList &arguments, const QString &script, int timeoutSeconds = 60) const;
    QString connectionString() const { return m_connectionString; }
    // Set in the host's environment on every run after the defaults (an empty value removes it).
    void setEnvironment(const QString &name, const QString &value) { m_environment.insert(name, value); }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    QString m_connectionString;
    QHash<QString, QString> m_environment;
};
