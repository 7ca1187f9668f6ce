// The host loads the package by file name; loading it is what puts its dialogs into the routines.
#include "contracts/CommonUi.h"

#include <QLibrary>
#include <gtest/gtest.h>

namespace {

bool allInstalled()
{
    using namespace contracts;
    return TecladoNumerico && Pesquisa && PesqConsumidor && CriaCadConsumidor && ControleSenhOper && RelFiscais;
}

TEST(Pkg_Aux00090Load, LoadingInstallsEveryRoutineAndTheExportPutsThemBack)
{
    ASSERT_FALSE(contracts::TecladoNumerico) << "this program must not link the package";
    QLibrary library(QStringLiteral(TKT_PKG_AUX00090_FILE));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    EXPECT_TRUE(allInstalled());

    auto install = reinterpret_cast<void (*)()>(library.resolve("tkt_pkg_aux00090_install"));
    ASSERT_NE(install, nullptr);
    contracts::Pesquisa = nullptr;
    contracts::RelFiscais = [] {};
    install();
    EXPECT_TRUE(allInstalled());
    EXPECT_NE(contracts::RelFiscais.function().target<void (*)()>(), nullptr);
}

} // namespace
