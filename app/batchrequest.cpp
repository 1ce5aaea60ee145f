#include "batchrequest.h"

#include <QFileInfo>
#include <QHash>
#include <cmath>

namespace {

const char *const kCommands[] = {"report", "pages", "picks", "info"};

// The options of each command; true for those that take a value.
QHash<QString, bool> optionsOf(BatchRequest::Command command)
{
    switch (command) {
    case BatchRequest::Report:
        return {{QStringLiteral("from"), true},     {QStringLiteral("to"), true},
                {QStringLiteral("step"), true},     {QStringLiteral("columns"), true},
                {QStringLiteral("header"), false},  {QStringLiteral("grid"), false},
                {QStringLiteral("structures"), false}, {QStringLiteral("frequency"), false},
                {QStringLiteral("out"), true}};
    case BatchRequest::Pages:
        return {{QStringLiteral("from"), true},
                {QStringLiteral("to"), true},
                {QStringLiteral("piece-depth"), true},
                {QStringLiteral("original"), false},
                {QStringLiteral("out"), true}};
    case BatchRequest::Picks:
        return {{QStringLiteral("out"), true}};
    case BatchRequest::Info:
        return {{QStringLiteral("json"), false}};
    }
    return {};
}

} // namespace

bool BatchRequest::isCommand(const QString &name)
{
    for (const char *command : kCommands) {
        if (name == QLatin1String(command))
            return true;
    }
    return false;
}

int BatchRequest::reportFormat(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return 1;
    if (suffix == QLatin1String("odt") || suffix == QLatin1String("doc") || suffix == QLatin1String("docx"))
        return 0;
    return -1;
}

bool BatchRequest::parse(const QStringList &arguments, BatchRequest *request, QString *error)
{
    BatchRequest r;
    const QString commandName = arguments.value(0);
    for (int i = 0; i < 4; ++i) {
        if (commandName == QLatin1String(kCommands[i]))
            r.command = Command(i);
    }
    const QHash<QString, bool> options = optionsOf(r.command);
    auto usage = [error, &commandName](const QString &text) {
        *error = tr("kora %1: %2\nTry 'kora --help' for the commands and their options.").arg(commandName, text);
        return false;
    };

    bool onlyFiles = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString arg = arguments.at(i);
        if (onlyFiles || !arg.startsWith(QLatin1String("-")) || arg == QLatin1String("-")) {
            if (!r.project.isEmpty())
                return usage(tr("one project at a time; '%1' is one too many").arg(arg));
            r.project = arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            r.helpAsked = true;
            *request = r;
            return true;
        }
        QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        QString value;
        bool hasValue = false;
        const int eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        if (!arg.startsWith(QLatin1String("--")) || !options.contains(name))
            return usage(tr("unknown option '%1'").arg(arg));
        if (!options.value(name)) {
            if (hasValue)
                return usage(tr("option '--%1' takes no value").arg(name));
        } else if (!hasValue) {
            if (i + 1 >= arguments.size())
                return usage(tr("option '--%1' needs a value").arg(name));
            value = arguments.at(++i);
        }

        bool ok = true;
        auto metres = [&](double *target, bool *given) {
            *target = value.toDouble(&ok);
            ok = ok && std::isfinite(*target) && *target >= 0.0;
            *given = true;
        };
        if (name == QLatin1String("from")) {
            metres(&r.from, &r.hasFrom);
        } else if (name == QLatin1String("to")) {
            metres(&r.to, &r.hasTo);
        } else if (name == QLatin1String("step")) {
            metres(&r.step, &r.hasStep);
            ok = ok && r.step > 0.0;
        } else if (name == QLatin1String("columns")) {
            r.columns = value.toInt(&ok);
            ok = ok && r.columns >= 1 && r.columns <= 4;
        } else if (name == QLatin1String("piece-depth")) {
            r.pieceDepthMm = value.toInt(&ok);
            ok = ok && r.pieceDepthMm > 0;
        } else if (name == QLatin1String("out")) {
            r.out = value;
            ok = !value.isEmpty();
        } else if (name == QLatin1String("header")) {
            r.header = true;
        } else if (name == QLatin1String("grid")) {
            r.grid = true;
        } else if (name == QLatin1String("structures")) {
            r.structures = true;
        } else if (name == QLatin1String("frequency")) {
            r.frequency = true;
        } else if (name == QLatin1String("original")) {
            r.original = true;
        } else if (name == QLatin1String("json")) {
            r.json = true;
        }
        if (!ok)
            return usage(tr("'%1' is no valid value for '--%2'").arg(value, name));
    }

    if (r.project.isEmpty())
        return usage(tr("no project file given"));
    if (options.contains(QStringLiteral("out")) && r.out.isEmpty())
        return usage(tr("the option '--out' is required"));
    if (r.hasFrom && r.hasTo && r.from >= r.to)
        return usage(tr("the range from %1 m to %2 m is empty").arg(r.from).arg(r.to));
    if (r.command == Report && reportFormat(r.out) < 0)
        return usage(tr("'%1': the report is written as .pdf, .odt, .doc or .docx").arg(r.out));
    if (r.command == Report && r.hasStep && r.step < 0.2)
        return usage(tr("the depth step must be at least 0.2 m"));
    if (r.command == Picks) {
        const QString suffix = QFileInfo(r.out).suffix().toLower();
        if (suffix != QLatin1String("csv") && suffix != QLatin1String("las"))
            return usage(tr("'%1': the picks are written as .csv or .las").arg(r.out));
    }
    *request = r;
    return true;
}

QString BatchRequest::helpText()
{
    return tr("Commands (no window is opened; the project file is only read):\n"
              "  report PROJECT --out FILE [--from M] [--to M] [--step M] [--columns 1-4]\n"
              "         [--header] [--grid] [--structures] [--frequency]\n"
              "                 write a report as .pdf, .odt, .doc or .docx (by the suffix);\n"
              "                 the range defaults to the whole project, the step to the one\n"
              "                 the report dialog recommends for the columns (default 2)\n"
              "  pages PROJECT --out PREFIX [--from M] [--to M] [--piece-depth MM] [--original]\n"
              "                 save the pages as JPEG pieces PREFIX(12.00-14.00m).jpg of\n"
              "                 MM millimetres each (default 2000); --original: image only\n"
              "  picks PROJECT --out FILE.csv|FILE.las\n"
              "                 export the structure picks\n"
              "  info PROJECT [--json]\n"
              "                 print the project information and check its pieces\n"
              "\n"
              "Progress goes to standard error when it is a terminal.\n"
              "Exit status: 0 done, 1 the work failed (nothing written, an existing file\n"
              "kept), 2 a usage error.\n");
}
