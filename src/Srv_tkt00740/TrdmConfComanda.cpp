#include "Srv_tkt00740/TrdmConfComanda.h"

#include "db/SqlText.h"
#include "contracts/SharedServices.h"

#include <utility>

namespace Srv_tkt00740 {

TrdmConfComanda *rdmConfComanda = nullptr;

namespace {

const QString kSqlFolder = QStringLiteral(":/srv/sql");

// Queries with one text for every database (a dialect file may still refine it).
const std::pair<db::Query TrdmConfComanda::*, const char *> kSingleTextQueries[] = {
    {&TrdmConfComanda::adqValidaGarcom, "adqValidaGarcom"},
    {&TrdmConfComanda::adqExisteOperador, "adqExisteOperador"},
    {&TrdmConfComanda::adqOperadorFilial, "adqOperadorFilial"},
    {&TrdmConfComanda::adqValMesa, "adqValMesa"},
    {&TrdmConfComanda::adqConsumidor, "adqConsumidor"},
    {&TrdmConfComanda::adqConsComan, "adqConsComan"},
};

dataset::Field textField(const char *name, int width)
{
    dataset::Field f;
    f.name = QLatin1String(name);
    f.type = dataset::FieldType::String;
    f.width = width;
    return f;
}

} // namespace

TrdmConfComanda::TrdmConfComanda()
    : adqValidaGarcom(adcConfComanda)
    , dspValidaGarcom(adqValidaGarcom)
    , adqExisteOperador(adcConfComanda)
    , adqOperadorFilial(adcConfComanda)
    , adqValMesa(adcConfComanda)
    , dspValMesa(adqValMesa)
    , adqConsumidor(adcConfComanda)
    , dspConsumidor(adqConsumidor)
    , adqConsComan(adcConfComanda)
    , dspConsComan(adqConsComan)
    , adqComandas(adcConfComanda)
    , dspComandas(adqComandas)
{
    recreateCdsGarcom();
    for (const auto &[member, name] : kSingleTextQueries)
        (this->*member).setSql(db::sqlText(kSqlFolder, QLatin1String(name), QString()));

    // The text stored on the comanda query is the Oracle one; the dialect holder replaces it with the
    // text of the database in use once the connection is open.
    using contracts::TADOSqlStorage;
    assComandas.setText(TADOSqlStorage::SQLORACLE, db::sqlText(kSqlFolder, QStringLiteral("adqComandas"), QStringLiteral("oracle")));
    assComandas.setText(TADOSqlStorage::SQLMSSQL, db::sqlText(kSqlFolder, QStringLiteral("adqComandas"), QStringLiteral("mssql")));
    assComandas.setText(TADOSqlStorage::SQLSQLITE, db::sqlText(kSqlFolder, QStringLiteral("adqComandas"), QStringLiteral("sqlite")));
    assComandas.setText(TADOSqlStorage::SQLPGSQL,
                        db::sqlText(kSqlFolder, QStringLiteral("adqComandas"), QStringLiteral("postgresql")));
    assComandas.setQuery(&adqComandas);
    adqComandas.setSql(assComandas.text(TADOSqlStorage::SQLORACLE));

    // Columns that are expressions: SQLite declares no type for them, so each run would type them by
    // its values (and a run without rows as text). Every database describes them so.
    adqComandas.setColumnType(QStringLiteral("POSICAO"), dataset::FieldType::Float);
    adqConsumidor.setColumnType(QStringLiteral("CDCONSUMID"), dataset::FieldType::String);
    adqValidaGarcom.setColumnType(QStringLiteral("HABILITADO"), dataset::FieldType::String);

    adcConfComanda.beforeConnect = [this](db::Connection &c) { adcConfComandaBeforeConnect(c); };
    adcConfComanda.afterConnect = [this](db::Connection &c) { adcConfComandaAfterConnect(c); };
}

TrdmConfComanda::~TrdmConfComanda()
{
    // Queries let go of their statements before the connection they run on is closed.
    for (db::Query *q : {&adqValidaGarcom, &adqExisteOperador, &adqOperadorFilial, &adqValMesa, &adqConsumidor,
                         &adqConsComan, &adqComandas})
        q->close();
    adcConfComanda.close();
}

void TrdmConfComanda::adcConfComandaBeforeConnect(db::Connection &connection)
{
    // A string without a provider reaches SQL Server through the stored default provider, which
    // the connection-string mapping applies.
    connection.setConnectionString(contracts::_GetStringConexQor(QString()));
}

void TrdmConfComanda::adcConfComandaAfterConnect(db::Connection &connection)
{
    contracts::SetADODBSession(connection);
    for (const auto &[member, name] : kSingleTextQueries)
        (this->*member).setSql(db::sqlText(kSqlFolder, QLatin1String(name), connection.kind()));
    assComandas.apply(connection.kind());
}

void TrdmConfComanda::recreateCdsGarcom()
{
    // One list shared by every recreation: a table given a list it already holds does not check it again.
    static const dataset::FieldList fields{textField("CDVENDEDOR", 4), textField("NMFANVEN", 50),
                                           textField("CDOPERADOR", 12), textField("CDFILIAL", 4),
                                           textField("CDCAIXA", 3), textField("HABILITADO", 1)};
    cdsGarcom.setFields(fields);
}

TrdmConfComanda &createDataModule()
{
    if (!rdmConfComanda)
        rdmConfComanda = new TrdmConfComanda();
    return *rdmConfComanda;
}

void freeDataModule()
{
    delete std::exchange(rdmConfComanda, nullptr);
}

} // namespace Srv_tkt00740
