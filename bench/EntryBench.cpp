// CriaConfComanda from the call to the dialog on screen (offscreen), closed by the operator's exit
// as soon as it shows; beside it, an empty dialog of the same size shown and closed the same way.
#include "Benchmarks.h"
#include "Environment.h"

#include "Cli_tkt00740/Entry.h"
#include "Cli_tkt00740/Globals.h"
#include "Cli_tkt00740/TfrmCriaComanda.h"
#include "contracts/Errors.h"

#include <QDialog>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace bench {

namespace {

// Presses the exit once the dialog is visible; the entry's modal loop then ends.
void closeWhenShown(const std::function<QDialog *()> &dialog)
{
    auto *timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, dialog] {
        QDialog *shown = dialog();
        if (!shown || !shown->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        shown->close();
    });
    timer->start();
}

void entry(benchmark::State &state, Database database)
{
    useDatabase(database.connectionString());
    const int windows = windowsOpened();
    for (auto _ : state) {
        closeWhenShown([] { return static_cast<QDialog *>(Cli_tkt00740::frmCriaComanda); });
        QString consumer, client, waiter = QStringLiteral("0001"), table = QStringLiteral("0005");
        benchmark::DoNotOptimize(Cli_tkt00740::CriaConfComanda(QStringLiteral("15"), QString(), QStringLiteral("S"),
                                                               QStringLiteral("S"), QStringLiteral("S"), consumer,
                                                               client, waiter, table));
    }
    if (windowsOpened() != windows)
        state.SkipWithError("the entry showed a message");
}

void entryFloor(benchmark::State &state)
{
    for (auto _ : state) {
        QDialog dialog;
        dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dialog.setFixedSize(461, 411);
        closeWhenShown([&dialog] { return &dialog; });
        dialog.setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
        dialog.show();
        loop.exec(QEventLoop::DialogExec);
    }
}

} // namespace

void registerEntryBenchmarks(const Database &database)
{
    const std::string name = "entry/CriaConfComanda/" + std::to_string(database.consumers);
    benchmark::RegisterBenchmark(name.c_str(), entry, database)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/floor").c_str(), entryFloor)->Unit(benchmark::kMicrosecond);
}

} // namespace bench
