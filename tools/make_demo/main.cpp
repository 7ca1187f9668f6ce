// Builds the demo beside a host program: the store database (SQLite file demo.db, or a PostgreSQL
// or SQL Server database) with the schema and demo rows, the parameters file and the client file.

#include "contracts/Errors.h"
#include "db/ConnectionString.h"
#include "schema/DemoFiles.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

const char *const kUsage =
    "usage: make_demo <folder> [--pg \"<ODBC connection string>\" | --mssql \"<ADO connection string>\"]\n"
    "  Creates in <folder>: demo.db (SQLite store database with the demo data; replaced if present),\n"
    "  PARAMETROSQOR.CDS and Dados/Cadastros/Cad_Cliente.cds.\n"
    "  --pg     installs the schema and demo data into that PostgreSQL database instead of demo.db;\n"
    "           the store tables it already holds are replaced.\n"
    "  --mssql  the same into a SQL Server database, named as the module is given it:\n"
    "           \"Provider=SQLOLEDB.1;Data Source=host;Port=1433;Initial Catalog=db;User ID=u;Password=p\".\n";

struct Options {
    QString folder;
    QString connectionString; // the module's (ADO style); empty: SQLite
    bool help = false;
};

Options parse(const QStringList &arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == u"--pg" || a == u"--mssql") {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).trimmed().isEmpty())
                throw tkt::Error(a == u"--pg" ? QStringLiteral("--pg needs an ODBC connection string.")
                                              : QStringLiteral("--mssql needs an ADO connection string."));
            if (!options.connectionString.isEmpty())
                throw tkt::Error(QStringLiteral("Only one of --pg and --mssql may be given."));
            const QString target = arguments.at(++i);
            options.connectionString = a == u"--pg" ? QStringLiteral("Provider=MSDASQL;") + target : target;
            if (a == u"--mssql" && db::mapConnectionString(target).expectedKind != db::DbKind::SqlServer)
                throw tkt::Error(QStringLiteral("--mssql needs a SQL Server connection string (Provider=SQLOLEDB.1;...)."));
        } else if (a == u"-h" || a == u"--help") {
            options.help = true;
            return options;
        } else if (a.startsWith(u'-')) {
            throw tkt::Error(QStringLiteral("Unknown option %1.").arg(a));
        } else if (options.folder.isEmpty()) {
            options.folder = a;
        } else {
            throw tkt::Error(QStringLiteral("Only one folder may be given."));
        }
    }
    if (options.folder.isEmpty())
        throw tkt::Error(QStringLiteral("No folder given."));
    return options;
}

QString build(const Options &options)
{
    const QString database = schema::makeDemo(options.folder, options.connectionString);
    return db::redactConnectionString(database);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    Options options;
    try {
        options = parse(app.arguments());
    } catch (const tkt::Error &e) {
        err << "make_demo: " << e.message() << '\n' << kUsage;
        return 2;
    }
    if (options.help) {
        out << kUsage;
        return 0;
    }

    try {
        const QString database = build(options);
        out << "Demo database: " << database << '\n'
            << "Parameters file: " << QDir::toNativeSeparators(schema::parametersFilePath(options.folder)) << '\n'
            << "Client file: " << QDir::toNativeSeparators(schema::clientFilePath(options.folder)) << '\n';
        return 0;
    } catch (const std::exception &e) {
        err << "make_demo: " << tkt::messageOf(e) << '\n';
        return 1;
    }
}
