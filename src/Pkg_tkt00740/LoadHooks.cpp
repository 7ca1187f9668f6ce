// Load and unload hooks and the unit table of the module.
#include "Pkg_tkt00740/UnitTable.h"

#include "Srv_tkt00740/TrdmConfComanda.h"
#include "db/ConnectionPool.h"
#include "Pkg_tkt00740/CallRules.h"
#include "Pkg_tkt00740/CliUnit.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <exception>

namespace {

// The runtime unit: a host without a Qt application gets one, owned by the module until Finalize.
QApplication *ownApplication = nullptr;

void runtimeInitialization()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tkt00740";
    static char *argv[] = {name, nullptr};
    ownApplication = new QApplication(argc, argv);
}

void runtimeFinalization()
{
    delete ownApplication;
    ownApplication = nullptr;
}

// The validation services keep nothing between calls but the server connections kept for the next
// dialog or call; those, and an instance left by an interrupted call, are released with the module,
// while Qt's database drivers are still loaded.
void srvInitialization() {}
void srvFinalization()
{
    Srv_tkt00740::freeDataModule();
    db::ConnectionPool::instance().drain();
}

const TktUnitEntry units[] = {
    {"System", runtimeInitialization, runtimeFinalization},
    {"Srv_tkt00740", srvInitialization, srvFinalization},
    {"Cli_tkt00740", Pkg_tkt00740::cliInitialization, Pkg_tkt00740::cliFinalization},
};

const TktPackageInfoTable table = {static_cast<int32_t>(sizeof units / sizeof units[0]), units};

void report(const char *hook, const std::exception *e)
{
    std::fprintf(stderr, "tkt00740: %s failed: %s\n", hook, e ? e->what() : "unknown error");
}

} // namespace

namespace Pkg_tkt00740 {
const TktPackageInfoTable &unitTable() { return table; }
} // namespace Pkg_tkt00740

extern "C" {

TKT_API void Initialize(void)
{
    try {
        if (!Pkg_tkt00740::beginInitialize())
            return;
        for (int i = 0; i < table.unitCount; ++i)
            table.units[i].initialization();
    } catch (const std::exception &e) {
        report("Initialize", &e);
    } catch (...) {
        report("Initialize", nullptr);
    }
}

TKT_API void Finalize(void)
{
    try {
        if (!Pkg_tkt00740::beginFinalize())
            return;
        for (int i = table.unitCount - 1; i >= 0; --i)
            table.units[i].finalization();
    } catch (const std::exception &e) {
        report("Finalize", &e);
    } catch (...) {
        report("Finalize", nullptr);
    }
}

TKT_API const TktPackageInfoTable *GetPackageInfoTable(void)
{
    return &table;
}

} // extern "C"
