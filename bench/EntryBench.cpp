// CriaConfComanda from the call to the dialog on screen (offscreen), closed by the operator's exit
// as soon as it shows; beside it, an empty dialog of the same size shown and closed the same way.
#include "Benchmarks.h"
#include "Environment.h"
#include "Paired.h"

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

std::pair<Run, Run> entryRuns(const Database &database)
{
    useDatabase(database.connectionString());
    Run measured = [] {
        const int windows = windowsOpened();
        closeWhenShown([] { return static_cast<QDialog *>(Cli_tkt00740::frmCriaComanda); });
        QString consumer, client, waiter = QStringLiteral("0001"), table = QStringLiteral("0005");
        benchmark::DoNotOptimize(Cli_tkt00740::CriaConfComanda(QStringLiteral("15"), QString(), QStringLiteral("S"),
                                                               QStringLiteral("S"), QStringLiteral("S"), consumer,
                                                               client, waiter, table));
        if (windowsOpened() != windows)
            throw tkt::Error(QStringLiteral("the entry showed a message"));
    };
    Run floor = [] {
        QDialog dialog;
        dialog.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dialog.setFixedSize(461, 411);
        closeWhenShown([&dialog] { return &dialog; });
        dialog.setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
        dialog.show();
        loop.exec(QEventLoop::DialogExec);
    };
    return {measured, floor};
}

} // namespace

void registerEntryBenchmarks(const Database &database)
{
    registerPaired("entry/CriaConfComanda/" + std::to_string(database.consumers),
                   [database] { return entryRuns(database); });
}

} // namespace bench
