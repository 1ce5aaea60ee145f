// kora-sample: writes sample KORA projects for demos, tests and benchmarks.
// See --help for the command line.

#include "sampleoptions.h"
#include "sampleprojectwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

void complain(const QString &message)
{
    std::fprintf(stderr, "kora-sample: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kora-sample"));

    SampleOptions options;
    QString error;
    if (!options.parse(QCoreApplication::arguments(), &error)) {
        complain(error);
        return 1;
    }

    const QFileInfo target(options.out);
    if (target.exists() && target.isDir()) {
        complain(QStringLiteral("%1 is a directory").arg(options.out));
        return 1;
    }
    if (target.exists() && !options.force) {
        complain(QStringLiteral("%1 already exists; not overwritten (use --force to replace it)")
                     .arg(options.out));
        return 1;
    }
    if (!target.absoluteDir().exists()) {
        complain(QStringLiteral("the folder of %1 does not exist").arg(options.out));
        return 2;
    }

    SampleProjectWriter writer(options);
    if (!writer.plan(&error)) {
        complain(error);
        return 1;
    }
    if (!writer.write(&error)) {
        complain(error);
        return 2;
    }

    if (!options.quiet) {
        const double ppu = options.pixelsPerUnit();
        std::printf("kora-sample: wrote %s: %d pieces, width %d px, %.4f pixels per metre "
                    "(%.8f per 0.1 mm), %s, generation %d, seed %u\n",
                    qPrintable(QFileInfo(options.out).absoluteFilePath()), writer.writtenPieces(),
                    options.width, ppu * 10000.0, ppu, qPrintable(options.direction),
                    options.generation, options.seed);
    }
    return 0;
}
