// Writes the six sound clips of the test packets, for committing under resources/:
//   build/tools/clipgen/orvane-clipgen resources

#include "SameClips.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString directory = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    QString error;
    if (!SameClips::writeClips(directory, &error)) {
        std::fprintf(stderr, "orvane-clipgen: %s\n", qPrintable(error));
        return 1;
    }
    for (const SameClips::ClipPlan &plan : SameClips::clipPlans())
        std::printf("wrote %s/%s\n", qPrintable(directory), plan.file);
    return 0;
}
