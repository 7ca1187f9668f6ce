#include "dialog/DialogHarness.h"

#include "Cli_tkt00740/EventGuard.h"
#include "Cli_tkt00740/Globals.h"
#include "Srv_tkt00740/TrdmConfComanda.h"

#include <QLabel>
#include <gtest/gtest.h>

DialogHarness::DialogHarness(bool withParametersFile, const schema::DemoParameters &parameters,
                             const QString &connectionString)
    : m_savedErrorBox(Cli_tkt00740::plainErrorBox)
{
    m_connectionString = schema::makeDemo(m_folder.path(), QString(), parameters);
    if (!withParametersFile)
        QFile::remove(m_folder.path() + QStringLiteral("/PARAMETROSQOR.CDS"));
    if (!connectionString.isEmpty())
        m_connectionString = connectionString;
    siblings.setConnectionString(m_connectionString);
    qputenv("TKT_HOST_DIR", m_folder.path().toUtf8());
    Cli_tkt00740::plainErrorBox = [this](const QString &text) { errorBoxes << text; };
}

DialogHarness::~DialogHarness()
{
    m_dialog.reset();
    Cli_tkt00740::frmCriaComanda = nullptr;
    Cli_tkt00740::boIdCriado = false;
    Srv_tkt00740::freeDataModule();
    Cli_tkt00740::plainErrorBox = m_savedErrorBox;
    qunsetenv("TKT_HOST_DIR");
}

void applyPresets(Cli_tkt00740::TfrmCriaComanda &form, const DialogPresets &p)
{
    form.stCdVendedor = p.vendedor;
    form.stNrMesa = p.mesa;
    form.stCdConsumidor = p.consumidor;
    form.stCdCliente = p.cliente;
    form.stPermiteCons = p.permiteCons;
    form.stPermiteMesa = p.permiteMesa;
    form.stPermiteGarcom = p.permiteGarcom;
    form.stNrComanda = p.comanda;
    const QString key = p.mode == QLatin1String("A") ? QStringLiteral("inf_comanda") : QStringLiteral("inc_comanda");
    form.lblComanda()->setText(form.msg(key) + QLatin1Char(' ') + p.comanda);
}

Cli_tkt00740::TfrmCriaComanda &DialogHarness::open(const DialogPresets &presets)
{
    m_dialog = std::make_unique<Cli_tkt00740::TfrmCriaComanda>();
    Cli_tkt00740::frmCriaComanda = m_dialog.get();
    Cli_tkt00740::boIdCriado = true;
    applyPresets(*m_dialog, presets);
    m_dialog->show();
    return *m_dialog;
}
