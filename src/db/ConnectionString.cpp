#include "db/ConnectionString.h"

#include "contracts/Errors.h"

#include <QList>
#include <algorithm>
#include <QRegularExpression>

namespace db {

namespace {

struct Pair {
    QString key;   // as written, trimmed
    QString value; // unquoted
};

QString normalKey(const QString &key)
{
    return key.simplified().toLower();
}

// "key=value;..." with values optionally in "..." or '...' (the quote doubled inside) or, as ODBC
// writes them, in {...} ("}}" inside).
QList<Pair> parsePairs(const QString &text)
{
    QList<Pair> pairs;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (text[i].isSpace() || text[i] == u';'))
            ++i;
        if (i >= n)
            break;
        const qsizetype keyStart = i;
        while (i < n && text[i] != u'=' && text[i] != u';')
            ++i;
        const QString key = text.mid(keyStart, i - keyStart).trimmed();
        if (i >= n || text[i] != u'=')
            throw tkt::Error(QStringLiteral("Texto de conexão inválido: falta \"=\" depois de \"%1\".").arg(key));
        if (key.isEmpty())
            throw tkt::Error(QStringLiteral("Texto de conexão inválido: há um valor sem nome."));
        ++i; // '='
        while (i < n && text[i].isSpace() && text[i] != u';')
            ++i;
        QString value;
        if (i < n && (text[i] == u'"' || text[i] == u'\'' || text[i] == u'{')) {
            const QChar open = text[i];
            const QChar close = open == u'{' ? QChar(u'}') : open;
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == close) {
                    if (i + 1 < n && text[i + 1] == close) {
                        value += close;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text[i++];
            }
            if (!closed)
                throw tkt::Error(QStringLiteral("Texto de conexão inválido: o valor de \"%1\" não fecha as aspas.").arg(key));
            while (i < n && text[i].isSpace())
                ++i;
            if (i < n && text[i] != u';')
                throw tkt::Error(QStringLiteral("Texto de conexão inválido: há texto depois das aspas do valor de \"%1\".").arg(key));
        } else {
            const qsizetype valueStart = i;
            while (i < n && text[i] != u';')
                ++i;
            value = text.mid(valueStart, i - valueStart).trimmed();
        }
        pairs.append({key, value});
    }
    return pairs;
}

class Pairs {
public:
    explicit Pairs(QList<Pair> pairs) : m_pairs(std::move(pairs)) {}

    // The value of the last pair named by any of the keys (later pairs override earlier ones).
    QString get(std::initializer_list<const char *> keys) const
    {
        for (qsizetype i = m_pairs.size() - 1; i >= 0; --i) {
            const QString k = normalKey(m_pairs[i].key);
            for (const char *key : keys)
                if (k == QLatin1String(key))
                    return m_pairs[i].value;
        }
        return {};
    }
    bool has(std::initializer_list<const char *> keys) const
    {
        for (const Pair &p : m_pairs) {
            const QString k = normalKey(p.key);
            for (const char *key : keys)
                if (k == QLatin1String(key))
                    return true;
        }
        return false;
    }
    const QList<Pair> &all() const { return m_pairs; }

private:
    QList<Pair> m_pairs;
};

const std::initializer_list<const char *> kDataSourceKeys = {"data source", "server", "address", "addr", "network address"};
const std::initializer_list<const char *> kCatalogKeys = {"initial catalog", "database"};
const std::initializer_list<const char *> kUserKeys = {"user id", "uid", "user", "user name", "username"};
const std::initializer_list<const char *> kPasswordKeys = {"password", "pwd"};

// An ODBC attribute; values that would end or confuse the pair go inside braces.
QString odbcPair(const QString &key, QString value, bool forceBraces = false)
{
    const bool braces = forceBraces || value.contains(u';') || value.contains(u'{') || value.contains(u'}')
                        || value.contains(u'=') || value != value.trimmed();
    if (braces)
        value = u'{' + value.replace(QStringLiteral("}"), QStringLiteral("}}")) + u'}';
    return key + u'=' + value + u';';
}

const QString kOdbc3 = QStringLiteral("SQL_ATTR_ODBC_VERSION=SQL_OV_ODBC3");

const std::initializer_list<const char *> kConnectTimeoutKeys = {"connect timeout", "connection timeout", "timeout"};
const std::initializer_list<const char *> kCommandTimeoutKeys = {"command timeout"};

// Seconds from 0 (no limit) to a day; a string that says anything else is refused rather than
// left to wait without the limit its writer meant.
int secondsOf(const Pairs &pairs, std::initializer_list<const char *> keys, const char *name, int fallback)
{
    if (!pairs.has(keys))
        return fallback;
    const QString text = pairs.get(keys).trimmed();
    bool ok = false;
    const int seconds = text.toInt(&ok);
    if (!ok || seconds < 0 || seconds > 86400)
        throw tkt::Error(QStringLiteral("Texto de conexão inválido: \"%1\" deve ser um número de segundos de 0 a "
                                        "86400, e não \"%2\".").arg(QLatin1String(name), text));
    return seconds;
}

void readTimeouts(const Pairs &pairs, ConnectionTarget &target)
{
    target.connectTimeout = secondsOf(pairs, kConnectTimeoutKeys, "Connect Timeout", target.connectTimeout);
    target.commandTimeout = secondsOf(pairs, kCommandTimeoutKeys, "Command Timeout", target.commandTimeout);
}

QString odbcOptions(const ConnectionTarget &target)
{
    QString options = kOdbc3;
    if (target.connectTimeout > 0)
        options += QStringLiteral(";SQL_ATTR_LOGIN_TIMEOUT=%1").arg(target.connectTimeout);
    return options;
}

DbKind kindOfOdbcDriver(const QString &driver)
{
    if (driver.contains(QLatin1String("postgres"), Qt::CaseInsensitive))
        return DbKind::PostgreSQL;
    if (driver.contains(QLatin1String("oracle"), Qt::CaseInsensitive))
        return DbKind::Oracle;
    if (driver.contains(QLatin1String("SQL Server"), Qt::CaseInsensitive)
        || driver.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive))
        return DbKind::SqlServer;
    if (driver.contains(QLatin1String("SQLite"), Qt::CaseInsensitive))
        return DbKind::SQLite;
    return DbKind::Unknown;
}

void credentials(const Pairs &pairs, ConnectionTarget &target, QString &odbc)
{
    target.userName = pairs.get(kUserKeys);
    target.password = pairs.get(kPasswordKeys);
    if (!target.userName.isEmpty())
        odbc += odbcPair(QStringLiteral("UID"), target.userName);
    if (!target.password.isEmpty())
        odbc += odbcPair(QStringLiteral("PWD"), target.password);
}

ConnectionTarget sqlite(const Pairs &pairs)
{
    ConnectionTarget target;
    target.driver = QStringLiteral("QSQLITE");
    target.databaseName = pairs.get({"data source"});
    if (target.databaseName.isEmpty())
        throw tkt::Error(QStringLiteral("O texto de conexão SQLite não informa o arquivo do banco de dados (Data Source)."));
    readTimeouts(pairs, target);
    // The registration dialog writes while the services read: wait for a lock instead of failing,
    // but never longer than a statement may take.
    int busy = 5000;
    if (target.commandTimeout > 0)
        busy = std::min(busy, target.commandTimeout * 1000);
    target.connectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busy);
    target.expectedKind = DbKind::SQLite;
    return target;
}

ConnectionTarget sqlServer(const Pairs &pairs)
{
    ConnectionTarget target;
    target.driver = QStringLiteral("QODBC");
    target.expectedKind = DbKind::SqlServer;
    const QString server = pairs.get(kDataSourceKeys);
    if (server.isEmpty())
        throw tkt::Error(QStringLiteral("O texto de conexão não informa o servidor SQL Server (Data Source)."));
    QString driver = pairs.get({"driver"});
    if (driver.isEmpty())
        driver = QStringLiteral("FreeTDS");
    QString odbc = odbcPair(QStringLiteral("Driver"), driver, true);
    odbc += odbcPair(QStringLiteral("Server"), server);
    const QString port = pairs.get({"port"});
    if (!port.isEmpty())
        odbc += odbcPair(QStringLiteral("Port"), port);
    const QString catalog = pairs.get(kCatalogKeys);
    if (!catalog.isEmpty())
        odbc += odbcPair(QStringLiteral("Database"), catalog);
    const QString integrated = pairs.get({"integrated security", "trusted_connection"});
    if (integrated.compare(QLatin1String("SSPI"), Qt::CaseInsensitive) == 0
        || integrated.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
        || integrated.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
        odbc += QStringLiteral("Trusted_Connection=Yes;");
    else
        credentials(pairs, target, odbc);
    const QString app = pairs.get({"application name"});
    if (!app.isEmpty())
        odbc += odbcPair(QStringLiteral("APP"), app);
    const QString workstation = pairs.get({"workstation id"});
    if (!workstation.isEmpty())
        odbc += odbcPair(QStringLiteral("WSID"), workstation);
    // FreeTDS talks to the server in the server's code page unless told otherwise.
    if (driver.contains(QLatin1String("TDS"), Qt::CaseInsensitive))
        odbc += QStringLiteral("ClientCharset=UTF-8;");
    target.databaseName = odbc;
    readTimeouts(pairs, target);
    target.connectOptions = odbcOptions(target);
    return target;
}

ConnectionTarget oracle(const Pairs &pairs)
{
    ConnectionTarget target;
    target.driver = QStringLiteral("QODBC");
    target.expectedKind = DbKind::Oracle;
    const QString service = pairs.get(kDataSourceKeys);
    if (service.isEmpty())
        throw tkt::Error(QStringLiteral("O texto de conexão não informa o serviço Oracle (Data Source)."));
    QString driver = pairs.get({"driver"});
    if (driver.isEmpty())
        driver = QStringLiteral("Oracle");
    QString odbc = odbcPair(QStringLiteral("Driver"), driver, true);
    odbc += odbcPair(QStringLiteral("DBQ"), service);
    credentials(pairs, target, odbc);
    target.databaseName = odbc;
    readTimeouts(pairs, target);
    target.connectOptions = odbcOptions(target);
    return target;
}

// Everything but the provider is the ODBC connection string, with the ADO names of the common
// attributes translated.
ConnectionTarget odbcPassThrough(const Pairs &pairs)
{
    ConnectionTarget target;
    target.driver = QStringLiteral("QODBC");
    QString odbc;
    QString dsn;
    QString driver;
    for (const Pair &p : pairs.all()) {
        const QString k = normalKey(p.key);
        // The module's own settings are not the driver's.
        if (k == QLatin1String("provider") || k == QLatin1String("connect timeout")
            || k == QLatin1String("connection timeout") || k == QLatin1String("command timeout"))
            continue;
        if (k == QLatin1String("extended properties")) {
            const Pairs inner(parsePairs(p.value));
            if (inner.has({"driver"}))
                driver = inner.get({"driver"});
            if (inner.has({"uid"}))
                target.userName = inner.get({"uid"});
            if (inner.has({"pwd"}))
                target.password = inner.get({"pwd"});
            odbc += p.value;
            if (!odbc.endsWith(u';'))
                odbc += u';';
        } else if (k == QLatin1String("data source") || k == QLatin1String("dsn")) {
            dsn = p.value;
        } else if (k == QLatin1String("user id") || k == QLatin1String("uid")) {
            target.userName = p.value;
            odbc += odbcPair(k == QLatin1String("uid") ? p.key : QStringLiteral("UID"), p.value);
        } else if (k == QLatin1String("password") || k == QLatin1String("pwd")) {
            target.password = p.value;
            odbc += odbcPair(k == QLatin1String("pwd") ? p.key : QStringLiteral("PWD"), p.value);
        } else if (k == QLatin1String("initial catalog")) {
            odbc += odbcPair(QStringLiteral("Database"), p.value);
        } else {
            if (k == QLatin1String("driver"))
                driver = p.value;
            odbc += odbcPair(p.key, p.value, k == QLatin1String("driver"));
        }
    }
    if (!dsn.isEmpty()) {
        // Qt's ODBC driver reads a string without "DRIVER=" or "SERVER=" as a data source name and
        // puts "DSN=" in front itself.
        if (odbc.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive)
            || odbc.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
            odbc = odbcPair(QStringLiteral("DSN"), dsn) + odbc;
        else
            odbc = odbcPair(QString(), dsn).mid(1) + odbc;
    }
    if (odbc.isEmpty())
        throw tkt::Error(QStringLiteral("O texto de conexão ODBC (MSDASQL) não informa a fonte de dados."));
    target.expectedKind = kindOfOdbcDriver(driver);
    target.databaseName = odbc;
    readTimeouts(pairs, target);
    target.connectOptions = odbcOptions(target);
    return target;
}

} // namespace

ConnectionTarget mapConnectionString(const QString &adoConnectionString)
{
    const Pairs pairs(parsePairs(adoConnectionString));
    const QString provider = pairs.get({"provider"}).trimmed();
    static const QRegularExpression version(QStringLiteral("\\.\\d+$"));
    const QString name = provider.toUpper().remove(version);

    static const QRegularExpression sqlServerProviders(QStringLiteral("^(SQLOLEDB|SQLNCLI\\d*|MSOLEDBSQL\\d*)$"));
    if (name.isEmpty() || sqlServerProviders.match(name).hasMatch())
        return sqlServer(pairs);
    if (name == QLatin1String("SQLITE") || name == QLatin1String("SQLITE3"))
        return sqlite(pairs);
    if (name == QLatin1String("MSDAORA") || name == QLatin1String("ORAOLEDB.ORACLE"))
        return oracle(pairs);
    if (name == QLatin1String("MSDASQL"))
        return odbcPassThrough(pairs);
    throw tkt::Error(QStringLiteral("O provedor \"%1\" do texto de conexão não é suportado.").arg(provider));
}

QString redactConnectionString(const QString &connectionString)
{
    // Blanks and values as the parser reads them: any Unicode blank around the "=", and an
    // unquoted value up to the next ";", line breaks included. A value cut short at a line break
    // would leave the rest of a password in the text.
    static const QRegularExpression pair(
        QStringLiteral("\\b(password|pwd)(\\s*=\\s*)(\\{(?:[^}]|\\}\\})*\\}?|\"(?:[^\"]|\"\")*\"?|'(?:[^']|'')*'?|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QString text = connectionString;
    return text.replace(pair, QStringLiteral("\\1\\2***"));
}

} // namespace db
