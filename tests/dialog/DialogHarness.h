#pragma once
// A comanda dialog built as the entry builds it, on a fresh demo database of its own, with scripted
// fakes of both sibling modules (so no real message box or package dialog opens in a test).

#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "schema/DemoFiles.h"
#include "support/ScriptedSiblings.h"

#include <QTemporaryDir>
#include <memory>

struct DialogPresets {
    QString comanda = QStringLiteral("15");
    QString mode;
    QString permiteCons = QStringLiteral("S");
    QString permiteMesa = QStringLiteral("S");
    QString permiteGarcom = QStringLiteral("S");
    QString consumidor, cliente, vendedor, mesa;
};

class DialogHarness {
public:
    // The demo database and the host files in a folder of this harness; the parameters file can be
    // left out or given other values. A connection string given here replaces the demo database.
    explicit DialogHarness(bool withParametersFile = true, const schema::DemoParameters &parameters = {},
                           const QString &connectionString = {});
    ~DialogHarness();

    // Creates the dialog (its creation handler runs), copies the presets in as the entry does and
    // shows it without a modal loop (its show handler runs).
    Cli_tkt00740::TfrmCriaComanda &open(const DialogPresets &presets = {});
    Cli_tkt00740::TfrmCriaComanda &dialog() { return *m_dialog; }

    QString folder() const { return m_folder.path(); }
    QString connectionString() const { return m_connectionString; }

    ScriptedSiblings siblings;
    QStringList errorBoxes; // texts the platform's plain error box would have shown

private:
    QTemporaryDir m_folder;
    QString m_connectionString;
    std::unique_ptr<Cli_tkt00740::TfrmCriaComanda> m_dialog;
    std::function<void(const QString &)> m_savedErrorBox;
};

// Copies the presets into a dialog and sets its title line, as the entry does before showing it.
void applyPresets(Cli_tkt00740::TfrmCriaComanda &form, const DialogPresets &presets);
