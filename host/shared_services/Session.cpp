// The database side of the shared services stand-in: where the connection string comes from, how a
// fresh session is prepared, and how a database failure is put into words.
#include "shared_services/StandIn.h"

#include "db/Connection.h"
#include "db/SqlText.h"
#include "db/ConnectionString.h"
#include "db/DbKind.h"
#include "db/ServerLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace sharedservices {

namespace {

const QString kSettingsFile = QStringLiteral("tkt00740.conn");

QString programDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString firstLineOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line = line.mid(1).trimmed();
        if (!line.isEmpty())
            return line;
    }
    return {};
}

QString sessionResource(db::DbKind kind)
{
    switch (kind) {
    case db::DbKind::SQLite:
        return QStringLiteral(":/shared_services/sql/SQLite/session.sql");
    case db::DbKind::SqlServer:
        return QStringLiteral(":/shared_services/sql/SqlServer/session.sql");
    case db::DbKind::Oracle:
        return QStringLiteral(":/shared_services/sql/Oracle/session.sql");
    case db::DbKind::PostgreSQL:
        return QStringLiteral(":/shared_services/sql/PostgreSQL/session.sql");
    case db::DbKind::Unknown:
        break;
    }
    return {};
}

// psqlODBC's Unicode flavour asks the server for UTF-8 as it logs in; only the ANSI flavour must be
// told, and telling the Unicode one again costs every new connection a round trip.
bool loggedInAsUtf8(db::Connection &connection)
{
    static const QRegularExpression unicodeFlavour(QStringLiteral("psqlodbc\\w*w\\.(so|dll)$"),
                                                   QRegularExpression::CaseInsensitiveOption);
    return connection.kind() == db::DbKind::PostgreSQL && connection.link()
           && unicodeFlavour.match(connection.link()->odbcDriverName()).hasMatch();
}

// The statements of a session file.
QStringList statementsOf(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("Arquivo de sessão %1 não encontrado.").arg(resource));
    return db::splitStatements(QString::fromUtf8(file.readAll()));
}

// Every password the message could carry: the one of the connection string and the one the driver
// was given, besides "Password=..." pairs, which redaction of the text itself covers.
QStringList passwordsOf(db::Connection &connection)
{
    QStringList passwords;
    static const QRegularExpression pair(
        QStringLiteral("(?:^|;)\\s*(?:password|pwd)\\s*=\\s*(\\{[^}]*\\}|\"[^\"]*\"|'[^']*'|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = pair.globalMatch(connection.connectionString()); it.hasNext();) {
        const QString value = it.next().captured(1).trimmed();
        passwords << value;
        const bool quoted = value.size() >= 2
                            && ((value.front() == QLatin1Char('{') && value.back() == QLatin1Char('}'))
                                || (value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"'))
                                || (value.front() == QLatin1Char('\'') && value.back() == QLatin1Char('\'')));
        if (quoted)
            passwords << value.mid(1, value.size() - 2);
    }
    try {
        passwords << db::mapConnectionString(connection.connectionString()).password;
    } catch (const std::exception &) {
        // An unmappable string has no password we could know of.
    }
    if (connection.connected())
        passwords << connection.database().password();
    passwords.removeAll(QString());
    passwords.removeDuplicates();
    return passwords;
}

QString withoutPassword(QString text, const QString &password)
{
    // Only whole tokens: a short password must not blank out ordinary words that contain it.
    const QRegularExpression token(QStringLiteral("(?<![\\w])%1(?![\\w])")
                                       .arg(QRegularExpression::escape(password)));
    return text.replace(token, QStringLiteral("***"));
}

// "Password=..." and "Pwd=..." pairs of a connection string quoted in a driver's text; a braced
// or quoted value may hold ";" itself, and an unquoted one blanks.
QString withoutPasswordPairs(QString text)
{
    static const QRegularExpression pair(
        QStringLiteral("\\b(password|pwd)(\\s*=\\s*)(\\{[^}]*\\}?|\"[^\"]*\"?|'[^']*'?|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return text.replace(pair, QStringLiteral("\\1\\2***"));
}

} // namespace

QString connectionStringFor(const QString &dir)
{
    const QString fromEnvironment = qEnvironmentVariable("TKT_CONNECTION_STRING").trimmed();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString fromFile = firstLineOf(QDir(dir).filePath(kSettingsFile));
    if (!fromFile.isEmpty())
        return fromFile;
    return QStringLiteral("Provider=SQLite;Data Source=%1").arg(QDir(dir).filePath(QStringLiteral("demo.db")));
}

QString getStringConexQor(const QString &key)
{
    // The host keeps one database per installation; the key selects nothing here.
    Q_UNUSED(key)
    return connectionStringFor(programDir());
}

void setADODBSession(db::Connection &connection)
{
    if (!connection.connected())
        throw tkt::Error(QStringLiteral("A sessão do banco de dados não pode ser preparada: a conexão não está aberta."));
    // A kept connection was prepared by its first owner; the server still holds what it set.
    if (connection.sessionPrepared())
        return;
    const QString resource = sessionResource(connection.kind());
    if (resource.isEmpty())
        throw tkt::Error(QStringLiteral("A sessão do banco de dados não pode ser preparada: tipo de banco de dados desconhecido."));

    QStringList statements = loggedInAsUtf8(connection) ? QStringList() : statementsOf(resource);
    // SQL Server runs the whole set-up as one batch, one round trip; the others take a statement
    // at a time.
    if (connection.kind() == db::DbKind::SqlServer && statements.size() > 1)
        statements = QStringList{statements.join(QLatin1Char('\n'))};
    QSqlQuery query(connection.database());
    // A scrollable query is a server cursor on FreeTDS, which a server refuses for SET and which
    // costs extra round trips on any SQL Server.
    query.setForwardOnly(true);
    for (const QString &statement : statements) {
        if (!query.exec(statement))
            throw tkt::Error(QStringLiteral("A sessão do banco de dados %1 não pôde ser preparada: %2")
                                 .arg(db::dbKindName(connection.kind()), query.lastError().text()));
    }
    connection.setSessionPrepared();
}

QString adoExceptionMessage(const std::exception &error, db::Connection *connection, const QString &extra)
{
    try {
        QString text = tkt::messageOf(error);
        if (!extra.trimmed().isEmpty())
            text = QStringLiteral("%1: %2").arg(extra.trimmed(), text);
        text = withoutPasswordPairs(text);
        if (connection) {
            for (const QString &password : passwordsOf(*connection))
                text = withoutPassword(text, password);
        }
        if (text.trimmed().isEmpty())
            text = QStringLiteral("Erro de banco de dados sem descrição.");
        return text;
    } catch (...) {
        return QStringLiteral("Erro de banco de dados.");
    }
}

} // namespace sharedservices
