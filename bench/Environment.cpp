#include "Environment.h"

#include "contracts/CommonUi.h"
#include "contracts/Errors.h"
#include "contracts/SharedServices.h"
#include "schema/DemoFiles.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <vector>

namespace bench {

namespace {

QString g_connectionString;
std::atomic<int> g_windows{0};

} // namespace

QString Database::connectionString() const
{
    return QStringLiteral("Provider=SQLite;Data Source=%1").arg(file);
}

QList<Database> databases(const QString &dir)
{
    static const QRegularExpression name(QStringLiteral("^consumers-(\\d+)\\.db$"));
    QList<Database> found;
    const QStringList files = QDir(dir).entryList({QStringLiteral("consumers-*.db")}, QDir::Files);
    for (const QString &file : files) {
        const QRegularExpressionMatch m = name.match(file);
        if (m.hasMatch())
            found.append(Database{m.captured(1).toLongLong(), QDir(dir).absoluteFilePath(file)});
    }
    std::sort(found.begin(), found.end(), [](const Database &a, const Database &b) { return a.consumers < b.consumers; });
    return found;
}

void installFakes()
{
    static std::unique_ptr<QTemporaryDir> hostFolder;
    if (hostFolder)
        return;
    hostFolder = std::make_unique<QTemporaryDir>();
    schema::writeParametersFile(hostFolder->path());
    qputenv("TKT_HOST_DIR", hostFolder->path().toUtf8());

    contracts::_GetStringConexQor = [](const QString &) { return g_connectionString; };
    contracts::Mensagem = [](const QString &, const QString &, const QString &, const QString &, int, const QString &,
                             const QString &, int, dataset::Table *) {
        ++g_windows;
        return false;
    };
    contracts::TecladoNumerico = [](QString &, const QString &, const QString &, const QString &, int, int, int, int,
                                    int, int) {
        ++g_windows;
        return false;
    };
    contracts::Pesquisa = [](dataset::Table &, const QString &, const QString &, int, int, int, int, int) {
        ++g_windows;
        return false;
    };
    contracts::PesqConsumidor = [](const QString &, const QString &, const contracts::PesqConsumidorTexts &,
                                   dataset::Table &, const QString &, const QString &) {
        ++g_windows;
        return false;
    };
    contracts::CriaCadConsumidor = [](QString &, QString &, QString &, const QString &) {
        ++g_windows;
        return false;
    };
    contracts::ControleSenhOper = [](const QVariantList &, QVariant &) {
        ++g_windows;
        return true;
    };
    contracts::RelFiscais = [] { ++g_windows; };
}

void useDatabase(const QString &connectionString)
{
    g_connectionString = connectionString;
}

int windowsOpened()
{
    return g_windows;
}

namespace {
std::vector<std::function<void()>> &releases()
{
    static std::vector<std::function<void()>> list;
    return list;
}
} // namespace

void atTeardown(std::function<void()> release)
{
    releases().push_back(std::move(release));
}

void teardown()
{
    auto &list = releases();
    while (!list.empty()) {
        const std::function<void()> release = std::move(list.back());
        list.pop_back();
        release();
    }
}

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw tkt::Error(QStringLiteral("No query text at %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

QString adjusted(const QString &code, int width)
{
    return contracts::Ajusta(code, width);
}

RawStatement::RawStatement(const QString &file, const QString &sql) : m_sql(sql.toUtf8())
{
    if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw tkt::Error(QStringLiteral("Cannot open %1: %2").arg(file, QString::fromUtf8(sqlite3_errmsg(m_db))));
    if (sqlite3_prepare_v2(m_db, m_sql.constData(), int(m_sql.size()), &m_statement, nullptr) != SQLITE_OK)
        throw tkt::Error(QStringLiteral("Cannot prepare: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
}

RawStatement::~RawStatement()
{
    sqlite3_finalize(m_statement);
    sqlite3_close(m_db);
}

void RawStatement::bind(const char *name, const QString &value)
{
    const int at = sqlite3_bind_parameter_index(m_statement, name);
    if (at == 0)
        return;
    for (auto &bound : m_values)
        if (bound.first == at) {
            bound.second = value.toUtf8();
            return;
        }
    m_values.append({at, value.toUtf8()});
}

int RawStatement::run(int maxRows)
{
    sqlite3_reset(m_statement);
    for (const auto &[at, text] : std::as_const(m_values))
        sqlite3_bind_text(m_statement, at, text.constData(), int(text.size()), SQLITE_STATIC);
    int rows = 0;
    const int columns = sqlite3_column_count(m_statement);
    volatile std::size_t sink = 0;
    int rc = SQLITE_DONE;
    while (rows != maxRows && (rc = sqlite3_step(m_statement)) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(m_statement, c)) {
            case SQLITE_INTEGER: sink = sink + std::size_t(sqlite3_column_int64(m_statement, c)); break;
            case SQLITE_FLOAT: sink = sink + std::size_t(sqlite3_column_double(m_statement, c)); break;
            case SQLITE_NULL: break;
            default:
                sink = sink + std::size_t(sqlite3_column_text(m_statement, c)[0]) + std::size_t(sqlite3_column_bytes(m_statement, c));
                break;
            }
        }
    }
    if (rows != maxRows && rc != SQLITE_DONE)
        throw tkt::Error(QStringLiteral("Raw statement failed: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    return rows;
}

QStringList RawStatement::plan()
{
    const QByteArray text = "EXPLAIN QUERY PLAN " + m_sql;
    sqlite3_stmt *explain = nullptr;
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &explain, nullptr) != SQLITE_OK)
        throw tkt::Error(QStringLiteral("Cannot explain: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    QHash<int, int> depth;
    QStringList lines;
    while (sqlite3_step(explain) == SQLITE_ROW) {
        const int id = sqlite3_column_int(explain, 0);
        const int parent = sqlite3_column_int(explain, 1);
        const int level = parent == 0 ? 0 : depth.value(parent) + 1;
        depth.insert(id, level);
        lines.append(QString(level * 2, QLatin1Char(' ')) +
                     QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(explain, 3))));
    }
    sqlite3_finalize(explain);
    return lines;
}

} // namespace bench
