// Generates the 54 state files from the weather radio county coverage listing:
//   build/tools/stategen/orvane-stategen data/nwr/nwr-county-coverage.csv data/States
// Writes every file (CR LF lines) and prints how many lines each got; ends with status 1
// and writes nothing when the listing cannot be turned into valid files.

#include "StateFileGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: orvane-stategen <nwr-county-coverage.csv> <States directory>\n");
        return 2;
    }
    QFile listing(args[1]);
    if (!listing.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const GeneratedStateFiles generated = generateStateFiles(listing.readAll());
    for (const QString &problem : generated.problems)
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    if (!generated.problems.isEmpty())
        return 1;

    const QDir out(args[2]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    for (const auto &[name, content] : generated.files) {
        QSaveFile file(out.filePath(name));
        file.setDirectWriteFallback(true); // a folder that takes no new file: write in place
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        std::printf("%-10s %4lld lines\n", qPrintable(name), static_cast<long long>(content.count('\n')));
    }
    return 0;
}
