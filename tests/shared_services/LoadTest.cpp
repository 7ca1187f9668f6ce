// The stand-in installs its operations when it loads, before the program's own code runs, and can
// put them back after something replaced them.
#include "contracts/SharedServices.h"
#include "shared_services/StandIn.h"

#include <gtest/gtest.h>

namespace {

struct LoadSnapshot {
    bool allInstalled = false;
    QString ajustaAnswer;
};

LoadSnapshot takeSnapshot()
{
    using namespace contracts;
    LoadSnapshot snapshot;
    snapshot.allInstalled = Mensagem && MensagemMetodo && MontaRodapeGeral && Ajusta && EmptyString && Trad
                            && _GetStringConexQor && SetADODBSession && ADOExceptionMessage;
    if (Ajusta)
        snapshot.ajustaAnswer = Ajusta(QStringLiteral("7"), 4);
    return snapshot;
}

// Taken while this executable is being initialized: libraries it needs are initialized before it,
// and no test has run yet.
const LoadSnapshot atLoad = takeSnapshot();

TEST(SharedServicesLoad, OperationsAreInstalledWhenTheLibraryLoads)
{
    EXPECT_TRUE(atLoad.allInstalled);
    EXPECT_EQ(atLoad.ajustaAnswer, QStringLiteral("0007"));
}

TEST(SharedServicesLoad, InstallPutsBackOperationsThatWereRemovedOrReplaced)
{
    contracts::Ajusta = nullptr;
    contracts::EmptyString = [](const QString &) { return false; };
    contracts::ADOExceptionMessage = nullptr;

    tkt_shared_services_install();

    ASSERT_TRUE(contracts::Ajusta);
    ASSERT_TRUE(contracts::ADOExceptionMessage);
    EXPECT_EQ(contracts::Ajusta(QStringLiteral("12"), 4), QStringLiteral("0012"));
    EXPECT_TRUE(contracts::EmptyString(QStringLiteral("   ")));
}

} // namespace
