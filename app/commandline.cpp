#include "commandline.h"

#include <QFileInfo>

#ifndef KORA_VERSION
#error "KORA_VERSION is defined by the build (the project version)"
#endif

bool CommandLine::isToolkitOption(const QString &name, bool *takesValue)
{
    // The options QApplication takes out of argv itself (one or two dashes).
    static const QStringList withValue = {
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("display"),
        QStringLiteral("geometry"), QStringLiteral("title"), QStringLiteral("name"),
        QStringLiteral("session"), QStringLiteral("style"), QStringLiteral("stylesheet"),
        QStringLiteral("visual"), QStringLiteral("ncols"), QStringLiteral("cmap"),
        QStringLiteral("im"), QStringLiteral("qmljsdebugger")};
    static const QStringList flags = {
        QStringLiteral("reverse"), QStringLiteral("nograb"), QStringLiteral("dograb"),
        QStringLiteral("sync"), QStringLiteral("widgetcount"), QStringLiteral("testability")};
    const int eq = name.indexOf(QLatin1Char('='));
    const QString bare = eq < 0 ? name : name.left(eq);
    if (withValue.contains(bare)) {
        *takesValue = eq < 0;
        return true;
    }
    *takesValue = false;
    return eq < 0 && flags.contains(bare);
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    // A batch command comes first; a file of that name opens as ./report.
    if (BatchRequest::isCommand(arguments.value(1))) {
        if (!BatchRequest::parse(arguments.mid(1), &line.m_batch, &line.m_errorText))
            line.m_action = UsageError;
        else
            line.m_action = line.m_batch.helpAsked ? ShowHelp : Batch;
        return line;
    }
    bool onlyFiles = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (onlyFiles || arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-'))) {
            line.m_files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.m_action = ShowHelp;
            return line;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            line.m_action = ShowVersion;
            return line;
        }
        const QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        bool takesValue = false;
        if (isToolkitOption(name, &takesValue)) {
            if (takesValue)
                ++i;
            continue;
        }
        line.m_action = UsageError;
        line.m_errorText = tr("kora: unknown option '%1'\nTry 'kora --help' for the options.")
                               .arg(arg);
        return line;
    }
    return line;
}

QString CommandLine::helpText(const QString &programName)
{
    const QString program = programName.isEmpty() ? QStringLiteral("kora")
                                                   : QFileInfo(programName).fileName();
    return tr("Usage: %1 [OPTION]... [FILE]\n"
              "   or: %1 COMMAND PROJECT [OPTION]...\n"
              "View and interpret borehole-wall images.\n"
              "\n"
              "FILE is a project (.prj) or a picture; KORA opens it at start.\n"
              "\n"
              "Options:\n"
              "  -h, --help     show this help and exit\n"
              "  -v, --version  show the version and exit\n"
              "  --             treat every following argument as a file name\n"
              "\n"
              "The toolkit's options (-platform, -style, -display ...) are accepted too.\n"
              "Settings are kept in ~/.config/KD/QVNKORA.conf.\n"
              "\n")
               .arg(program)
           + BatchRequest::helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("KORA %1\n").arg(QStringLiteral(KORA_VERSION));
}
