#pragma once
// The data module of the validation services: its connection, the lookup queries with their packet
// providers, the waiter verdict table, and the dialect holder of the comanda query. One instance
// serves one showing of the comanda dialog; the dialog creates it and the entry frees it.

#include "contracts/TADOSqlStorage.h"
#include "dataset/Table.h"
#include "db/Connection.h"
#include "db/Query.h"

#include <QByteArray>

namespace Srv_tkt00740 {

// A packet provider bound to one query.
class TDataSetProvider {
public:
    explicit TDataSetProvider(db::Query &query) : m_query(query) {}
    QByteArray packet() { return db::packetOf(m_query); }

private:
    db::Query &m_query;
};

class TrdmConfComanda {
public:
    TrdmConfComanda();
    ~TrdmConfComanda();
    TrdmConfComanda(const TrdmConfComanda &) = delete;
    TrdmConfComanda &operator=(const TrdmConfComanda &) = delete;

    void adcConfComandaBeforeConnect(db::Connection &connection);
    void adcConfComandaAfterConnect(db::Connection &connection);

    // Empties cdsGarcom and gives it its six fields anew.
    void recreateCdsGarcom();

    // The connection is declared first because every query is built on it; the other members keep
    // the order of the stored design.
    db::Connection adcConfComanda;
    dataset::Table cdsGarcom;
    // The field members of cdsGarcom are its six fields, reached by name: CDVENDEDOR (4),
    // NMFANVEN (50), CDOPERADOR (12), CDFILIAL (4), CDCAIXA (3), HABILITADO (1).
    db::Query adqValidaGarcom;
    TDataSetProvider dspValidaGarcom;
    db::Query adqExisteOperador;
    db::Query adqOperadorFilial;
    db::Query adqValMesa;
    TDataSetProvider dspValMesa;
    db::Query adqConsumidor;
    TDataSetProvider dspConsumidor;
    db::Query adqConsComan;
    TDataSetProvider dspConsComan;
    db::Query adqComandas;
    TDataSetProvider dspComandas;
    contracts::TADOSqlStorage assComandas;
};

// The single instance; empty between calls of the entry.
extern TrdmConfComanda *rdmConfComanda;

// Creates the instance when it is empty (an existing one is reused) and returns it.
TrdmConfComanda &createDataModule();
// Frees the instance, if any, and empties the global.
void freeDataModule();

} // namespace Srv_tkt00740
