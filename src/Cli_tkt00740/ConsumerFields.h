#pragma once
// The consumer fields as the dialog keeps them, whatever order a query lists its columns in.

#include "dataset/Table.h"

namespace Cli_tkt00740 {

class ConsumerFields {
public:
    // The rows as Query::fetchRows gives them, as a table with the consumer fields in the dialog's
    // order, captions and visibility. Throws tkt::Error naming a consumer field the query did not bring.
    dataset::Table arrange(dataset::FieldList fetched, QList<dataset::Row> rows);

private:
    // Worked out for the last column list seen: a prepared query brings the same one each time.
    dataset::FieldList m_fetched;
    dataset::FieldList m_fields;
    QList<int> m_source; // the fetched column of each field; empty when they come in the dialog's order
};

} // namespace Cli_tkt00740
