#pragma once
// Scripts shared by the keypad and picker tests.
#include "dialog/DialogHarness.h"
#include "shared_services/StandIn.h"

#include <QByteArray>
#include <QStringList>

// The next Pesquisa picks the row whose field holds value; a pick of a row that is not listed fails
// the test instead of quietly picking another.
inline void pickWhere(ScriptedSiblings &siblings, const QString &field, const QString &value)
{
    siblings.script(contracts::Pesquisa, [field, value](dataset::Table &table, auto &&...) {
        if (!table.locate(field, value))
            throw tkt::Error("not in the list: " + field + " = " + value);
        return true;
    });
}

// A packet with one waiter row carrying the given verdict, or no row at all when verdict is null.
inline QByteArray waiterPacket(const QString &code, const QString &name, const QString &verdict)
{
    const auto field = [](const char *n, int width) {
        dataset::Field f;
        f.name = n;
        f.width = width;
        return f;
    };
    dataset::Table table({field("CDVENDEDOR", 4), field("NMFANVEN", 50), field("CDOPERADOR", 12),
                          field("CDFILIAL", 4), field("CDCAIXA", 3), field("HABILITADO", 1)});
    if (!verdict.isNull()) {
        table.append();
        table.setValue("CDVENDEDOR", code);
        table.setValue("NMFANVEN", name);
        table.setValue("HABILITADO", verdict);
        table.post();
    }
    return table.toPacket();
}

// The next MensagemMetodo behaves as the real one; the one after it answers with `packet`.
inline void realThenPacket(ScriptedSiblings &siblings, const QByteArray &packet)
{
    siblings.script(contracts::MensagemMetodo, sharedservices::mensagemMetodo);
    siblings.script(contracts::MensagemMetodo, [packet](auto &&...) { return packet; });
}

inline QStringList descriptions(const ScriptedSiblings &siblings)
{
    QStringList texts;
    for (const auto &call : siblings.calls("MensagemMetodo"))
        texts << call.arguments.value(3) + ": " + call.arguments.value(5);
    return texts;
}
