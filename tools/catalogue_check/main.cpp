// tkt_catalogue_check FILE.ts...: lists what keeps each catalogue from shipping; exit code 1 when
// anything does, so that the build stops before compiling it.
#include "CatalogueCheck.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList files = application.arguments().mid(1);
    if (files.isEmpty()) {
        std::fputs("usage: tkt_catalogue_check FILE.ts...\n", stderr);
        return 2;
    }
    int faulty = 0;
    for (const QString &path : files) {
        QFile file(path);
        QStringList faults;
        if (!file.open(QIODevice::ReadOnly))
            faults << QStringLiteral("cannot be read: %1").arg(file.errorString());
        else
            faults = catalogue::faultsOf(file.readAll());
        for (const QString &fault : faults)
            std::fprintf(stderr, "%s: %s\n", qUtf8Printable(path), qUtf8Printable(fault));
        faulty += faults.isEmpty() ? 0 : 1;
    }
    if (faulty)
        std::fprintf(stderr, "%d catalogue(s) not ready to ship: translate the entries above (Qt Linguist or any "
                             "editor) and build again\n", faulty);
    return faulty ? 1 : 0;
}
