// The kora program's command line, run as a user runs it: --help and
// --version answer without a display, a wrong option is refused with exit
// code 2, a file named on the command line is opened, and the batch
// commands (report, pages, picks, info) do their work without a display,
// leave the project file as it was and keep an existing output on failure.

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QtTest>

#include "languagemanager.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "reportdlg.h"
#include "../report/reporttestsupport.h"
#include "samplefixture.h"
#include "shelltestsupport.h"
#include "structurepickstore.h"

class TestCommandLine : public QObject
{
    Q_OBJECT

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // Runs kora with args; on a full disk no file may grow at all, and a
    // write fails with EFBIG instead of ending the process.
    static Run run(const QStringList &args, bool fullDisk = false)
    {
        QProcess p;
        p.setProcessEnvironment(noDisplay());
        if (fullDisk)
            p.start(QStringLiteral("bash"), QStringList{QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$@\""), kora()} + args);
        else
            p.start(kora(), args);
        Run r;
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    // No display at all: neither X nor Wayland nor a platform override.
    static QProcessEnvironment noDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return env;
    }

    static QString kora() { return QCoreApplication::applicationDirPath() + QStringLiteral("/kora"); }

    // Runs kora with args and notes whether the project file named in them
    // (m_project unless given) is still byte for byte what it was.
    Run runBatch(const QStringList &args, const QString &project = QString(), bool fullDisk = false)
    {
        const QString path = project.isEmpty() ? m_project : project;
        const QByteArray before = ShellTest::fileHash(path);
        const Run r = run(args, fullDisk);
        if (before.isEmpty() || ShellTest::fileHash(path) != before) {
            qWarning() << "the project file changed under" << args;
            m_projectChanged = true;
        }
        return r;
    }

    // Page texts of a PDF (pdftotext, one entry per page).
    static QStringList pdfPages(const QString &pdf)
    {
        QStringList pages = ReportTest::pdfText(pdf).split(QLatin1Char('\f'));
        if (pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    static QStringList entries(const QString &dir)
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static bool writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    // The words of line with P standing for the project and O/ for outDir.
    QStringList cmd(const QString &line, const QString &outDir = QString()) const
    {
        QStringList args = line.split(QLatin1Char(' '));
        for (QString &arg : args)
            arg = arg == QLatin1String("P") ? m_project : arg.replace(QLatin1String("O/"), outDir + QLatin1Char('/'));
        return args;
    }

    static QStringList sampleArgs() { return {"--to", "4", "--name", "Hole 7", "--number", "ZK-7"}; }

    QTemporaryDir m_dir;
    QTemporaryDir m_settingsDir;
    QString m_project;
    bool m_projectChanged = false;

private slots:
    void initTestCase()
    {
        ShellTest::setUp(m_settingsDir, 0);
        // The programs run here keep their settings apart too, and both
        // sides speak the language those settings give.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_settingsDir.filePath(QStringLiteral("children"))));
        LanguageManager::instance()->reloadTranslators();
        m_project = ShellTest::makeProject(m_dir, QStringLiteral("p.prj"), sampleArgs());
        QVERIFY(!m_project.isEmpty());
        // Three structure picks, stored as the window stores them.
        StructurePickStore store(m_project);
        for (double depth : {22500.0, 5000.0, 12500.0}) {
            StructurePick pick{0, depth, depth / 1000.0, 90.0, 0.0, QStringLiteral("fracture"),
                               QStringLiteral("at %1, open").arg(depth)};
            QVERIFY(store.add(&pick));
        }
    }

    void cleanupTestCase()
    {
        // Every command, whatever its outcome, only read the project file.
        QVERIFY(!m_projectChanged);
    }

    // --help and --version answer without a display. Every usage error ends
    // with exit code 2, work that cannot be done (a missing project or
    // folder, a full disk) with 1; both with a message naming the fault on
    // standard error, nothing written and the outputs already there kept.
    void answersAndRefusals_data()
    {
        QTest::addColumn<QString>("args"); // P: the project, O/: the output folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("fragments"); // of stdout for 0, else of stderr
        QTest::addColumn<bool>("fullDisk");
        auto row = [](const char *name, const QString &args, int exitCode, const char *fragments, bool fullDisk = false) {
            QTest::newRow(name) << args << exitCode << QString::fromLatin1(fragments).split(QLatin1Char('|')) << fullDisk;
        };
        row("--help", QStringLiteral("--help"), 0, "--help|--version|FILE");
        row("-h", QStringLiteral("-h"), 0, "--help|--version|FILE");
        row("--version", QStringLiteral("--version"), 0, "KORA " KORA_VERSION);
        row("--version after a file", QStringLiteral("a.prj --version"), 0, "KORA " KORA_VERSION);
        row("--version after a toolkit option", QStringLiteral("-platform offscreen --version"), 0, "KORA " KORA_VERSION);
        row("unknown", QStringLiteral("--frobnicate"), 2, "--frobnicate|--help");
        row("unknown short", QStringLiteral("-x a.prj"), 2, "'-x'");
        row("help after an unknown option", QStringLiteral("--bad --help"), 2, "--bad");
        row("unknown option of a command", QStringLiteral("report P --out O/r.pdf --frobnicate"), 2, "'--frobnicate'");
        row("option of another command", QStringLiteral("info P --out O/r.pdf"), 2, "'--out'");
        row("missing value", QStringLiteral("report P --out O/r.pdf --step"), 2, "'--step' needs a value");
        row("not a number", QStringLiteral("report P --out O/r.pdf --from x"), 2, "'--from'");
        row("columns beyond 4", QStringLiteral("report P --out O/r.pdf --columns 5"), 2, "'--columns'");
        row("step below the dialog's", QStringLiteral("report P --out O/r.pdf --step 0.1"), 2, "0.2 m");
        row("unknown report suffix", QStringLiteral("report P --out O/r.txt"), 2, ".pdf, .odt, .doc or .docx");
        row("no output", QStringLiteral("report P --header"), 2, "'--out' is required");
        row("range below the project", QStringLiteral("report P --out O/r.pdf --to 9"), 2, "outside the project");
        row("empty range", QStringLiteral("report P --out O/r.pdf --from 3 --to 2"), 2, "is empty");
        row("pages outside the project", QStringLiteral("pages P --out O/pg --from 5"), 2, "outside the project");
        row("piece depth of 0", QStringLiteral("pages P --out O/pg --piece-depth 0"), 2, "'--piece-depth'");
        row("flag with a value", QStringLiteral("pages P --out O/pg --original=yes"), 2, "takes no value");
        row("unknown picks suffix", QStringLiteral("picks P --out O/p.txt"), 2, ".csv or .las");
        row("no project", QStringLiteral("info --json"), 2, "no project");
        row("two projects", QStringLiteral("info P P"), 2, "one project at a time");
        row("no such project", QStringLiteral("report O/none.prj --out O/r.pdf"), 1, "could not be opened");
        row("no such folder", QStringLiteral("pages P --out O/none/pg"), 1, "does not exist");
        row("picks, disk full", QStringLiteral("picks P --out O/p.csv"), 1, "an existing file is kept", true);
        row("report, disk full", QStringLiteral("report P --out O/r.pdf"), 1, "an existing file is kept", true);
    }

    void answersAndRefusals()
    {
        QFETCH(QString, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, fragments);
        QFETCH(bool, fullDisk);
        QTemporaryDir out;
        const QStringList olds{QStringLiteral("p.csv"), QStringLiteral("r.pdf")};
        for (const QString &name : olds)
            QVERIFY(writeFile(out.filePath(name), "the old file\n"));
        const Run r = runBatch(cmd(args, out.path()), QString(), fullDisk);
        QCOMPARE(r.exitCode, exitCode);
        for (const QString &fragment : fragments)
            QVERIFY2((exitCode == 0 ? r.out : r.err).contains(fragment), qPrintable(r.out + r.err));
        if (exitCode != 0)
            QVERIFY(r.out.isEmpty());
        QCOMPARE(entries(out.path()), olds);
        for (const QString &name : olds)
            QCOMPARE(contents(out.filePath(name)), QByteArray("the old file\n"));
    }

    // info tells the project's facts and what a check of its pieces finds.
    void infoReportsProjectAndCheck_data()
    {
        QTest::addColumn<QString>("sampleArgs");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<QByteArray>("check"); // what the check of the pieces finds
        QTest::newRow("sound") << "--to 6" << 6
                               << QByteArray(R"({"undecodableM": [], "gaps": [], "otherWidthM": [], "sound": true})");
        QTest::newRow("undecodable piece") << "--to 6 --bad-piece 2" << 6
                                           << QByteArray(R"({"undecodableM": [3], "gaps": [], "otherWidthM": [], "sound": false})");
        QTest::newRow("missing piece") << "--to 6 --missing-metre 4" << 5 << QByteArray(
            R"({"undecodableM": [], "gaps": [{"fromM": 3, "toM": 4}], "otherWidthM": [], "sound": false})");
        QTest::newRow("other width") << "--to 6 --piece-width 1:300" << 6
                                     << QByteArray(R"({"undecodableM": [], "gaps": [], "otherWidthM": [2], "sound": false})");
    }

    void infoReportsProjectAndCheck()
    {
        QFETCH(QString, sampleArgs);
        QFETCH(int, pieces);
        QFETCH(QByteArray, check);
        const QString path = ShellTest::makeProject(m_dir, QStringLiteral("info.prj"),
                                                    sampleArgs.split(QLatin1Char(' ')) + QStringList{"--name", "Hole 9"});
        QVERIFY(!path.isEmpty());
        const Run r = runBatch({QStringLiteral("info"), path, QStringLiteral("--json")}, path);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        const QJsonObject facts{{"projectName", "Hole 9"}, {"pieceCount", pieces}, {"startM", 0}, {"endM", 6},
                                {"imageWidth", 400}, {"diameterMm", 100}};
        for (auto it = facts.begin(); it != facts.end(); ++it)
            QVERIFY2(o.value(it.key()) == it.value(), qPrintable(it.key() + QLatin1Char(' ') + r.out));
        const QJsonObject found = QJsonDocument::fromJson(check).object();
        for (auto it = found.begin(); it != found.end(); ++it)
            QVERIFY2(o[QStringLiteral("check")][it.key()] == it.value(), qPrintable(it.key() + QLatin1Char(' ') + r.out));

        // The same as text.
        const Run text = runBatch({QStringLiteral("info"), path}, path);
        QCOMPARE(text.exitCode, 0);
        QVERIFY(text.out.contains(QStringLiteral("Hole 9")));
        QCOMPARE(text.out.contains(QStringLiteral("no faults found")), found[QStringLiteral("sound")].toBool());
        QCOMPARE(text.out.contains(QStringLiteral("Gaps:")), !found[QStringLiteral("gaps")].toArray().isEmpty());
        QCOMPARE(text.out.contains(QStringLiteral("Widths differ:")), !found[QStringLiteral("otherWidthM")].toArray().isEmpty());
    }

    // picks writes the stored picks as CSV, replacing an older export, or
    // as LAS for a .las name.
    void picksAsCsv()
    {
        QTemporaryDir out;
        const QString csv = out.filePath(QStringLiteral("picks.csv"));
        QVERIFY(writeFile(csv, "old\n"));
        const Run r = runBatch(cmd(QStringLiteral("picks P --out O/picks.csv"), out.path()));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.trimmed(), csv);
        const QStringList lines = QString::fromUtf8(contents(csv)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QStringLiteral("depth_m,dip_deg,dip_direction_deg,type,comment"));
        QCOMPARE(lines.at(1), QStringLiteral("0.5000,5.0,90.0,fracture,\"at 5000, open\""));
        QVERIFY(lines.at(3).startsWith(QStringLiteral("2.2500,22.5,")));
        QCOMPARE(entries(out.path()), QStringList{QStringLiteral("picks.csv")});

        QCOMPARE(runBatch(cmd(QStringLiteral("picks P --out O/picks.las"), out.path())).exitCode, 0);
        const QStringList rows = QString::fromUtf8(contents(out.filePath(QStringLiteral("picks.las"))))
                                     .section(QStringLiteral("~ASCII DEPT DIP DAZI TYPE\n"), 1)
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.first(), QStringLiteral("0.5000 5.00 90.00 1"));
    }

    // report writes the PDF (its pages as laid out) or a document;
    // standard error, not a terminal here, stays empty.
    void reportWritesTheFile()
    {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("r.pdf"));
        const QStringList args =
            cmd(QStringLiteral("report P --from 1 --to 3 --step 0.5 --columns 1 --header --out O/r.pdf"), out.path());
        const Run r = runBatch(args);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(r.out.trimmed(), pdf);
        // Four blocks of 0.5 m, one to a page in one column under the
        // header, which names the project; depth labels every 5 cm.
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(pages.at(i).contains(QStringLiteral("Hole 7")));
            const double top = 1.0 + 0.5 * i;
            for (double label : {top, top + 0.25, top + 0.45})
                QVERIFY2(pages.at(i).contains(QString::number(label, 'f', 2)), qPrintable(pages.at(i)));
        }
        QVERIFY(!pages.join(QString()).contains(QStringLiteral("0.95")));
        QVERIFY(!pages.join(QString()).contains(QStringLiteral("P10")));
        // With the structures of the range, a page more.
        QCOMPARE(runBatch(args + QStringList{QStringLiteral("--structures")}).exitCode, 0);
        QCOMPARE(pdfPages(pdf).size(), 5);
        // With the frequency track, titled beside every block.
        QCOMPARE(runBatch(args + QStringList{QStringLiteral("--frequency")}).exitCode, 0);
        const QStringList tracked = pdfPages(pdf);
        QCOMPARE(tracked.size(), 4);
        for (const QString &page : tracked)
            QVERIFY2(page.contains(QStringLiteral("P10")) && page.contains(QStringLiteral("(1/m), 1 m window")),
                     qPrintable(page));

        QCOMPARE(runBatch(cmd(QStringLiteral("report P --out O/r.odt"), out.path())).exitCode, 0);
        QCOMPARE(contents(out.filePath(QStringLiteral("r.odt"))).left(2), QByteArray("PK"));
        QCOMPARE(entries(out.path()), (QStringList{QStringLiteral("r.odt"), QStringLiteral("r.pdf")}));
    }

    // pages saves JPEG pieces of the range named by their depths, with the
    // scales, header band and the stored picks as the page on screen shows
    // them, or the image column alone: against a file without picks only
    // the pieces with picks (at 1.25 and 2.25 m) differ.
    void pagesAsPieces_data()
    {
        QTest::addColumn<bool>("original");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("header");
        QTest::newRow("interpreted") << false << 3000 << 120;
        QTest::newRow("original") << true << 400 << 0;
    }

    void pagesAsPieces()
    {
        QFETCH(bool, original);
        QFETCH(int, width);
        QFETCH(int, header);
        QTemporaryDir out;
        const QString bare = out.filePath(QStringLiteral("bare.prj"));
        QVERIFY(SampleFixture::make(bare, sampleArgs()));
        QStringList args = cmd(QStringLiteral("pages P --from 1 --to 3.5 --piece-depth 1000 --out O/pg"), out.path());
        if (original)
            args << QStringLiteral("--original");
        const Run r = runBatch(args);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        args[1] = bare;
        args[9] = out.filePath(QStringLiteral("bare"));
        QCOMPARE(runBatch(args, bare).exitCode, 0);
        const QStringList ranges =
            QStringLiteral("(1.00-2.00m).jpg (2.00-3.00m).jpg (3.00-3.50m).jpg").split(QLatin1Char(' '));
        QStringList listed;
        for (const QString &range : ranges)
            listed << out.filePath(QStringLiteral("pg") + range);
        QCOMPARE(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), listed);
        QStringList written = entries(out.path()).filter(QRegularExpression(QStringLiteral("^pg")));
        QCOMPARE(written.replaceInStrings(QRegularExpression(QStringLiteral("^")), out.path() + QLatin1Char('/')), listed);
        // 400 pixels round a 100 mm hole: 1274 rows a metre, give or take
        // the rows the scale truncates.
        const int rows[] = {1274, 1274, 637};
        for (int i = 0; i < 3; ++i) {
            const QImage piece(listed.at(i));
            QCOMPARE(piece.width(), width);
            QVERIFY2(qAbs(piece.height() - header - rows[i]) <= 2, qPrintable(QString::number(piece.height())));
            const QImage withoutPicks(out.filePath(QStringLiteral("bare") + ranges.at(i)));
            QCOMPARE(piece == withoutPicks, original || i == 2);
        }
    }

    // The command line's report, with the dialog's recommended defaults, is
    // the report the dialog makes: same pages, same labels.
    void reportMatchesTheDialog_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("header");
        QTest::addColumn<bool>("grid");
        QTest::newRow("defaults") << 2 << false << false;
        QTest::newRow("one column, header") << 1 << true << false;
        QTest::newRow("four columns, grid") << 4 << false << true;
    }

    void reportMatchesTheDialog()
    {
        QFETCH(int, columns);
        QFETCH(bool, header);
        QFETCH(bool, grid);
        QTemporaryDir out;
        const QString fromDialog = out.filePath(QStringLiteral("dialog.pdf"));
        {
            MainWindow w;
            ModalWatcher watcher;
            SHELL_OPEN_PROJECT(&w, m_project);
            watcher.answer([=](QWidget *widget) {
                auto *dialog = qobject_cast<ReportDlg *>(widget);
                QVERIFY(dialog);
                dialog->findChild<QCheckBox *>(QStringLiteral("checkBox"))->setChecked(header);
                dialog->findChild<QCheckBox *>(QStringLiteral("checkBox_2"))->setChecked(grid);
                dialog->findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentIndex(columns - 1);
                dialog->findChild<QComboBox *>(QStringLiteral("comboBoxType"))->setCurrentIndex(1);
                // The user takes the step the dialog recommends.
                const double recommended = ReportDlg::recommendedStep(1000, columns, header) / 10000.0;
                dialog->findChild<QDoubleSpinBox *>(QStringLiteral("SpinBoxStep"))->setValue(QString::number(recommended, 'f', 1).toDouble());
                dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
            });
            watcher.answerFileDialog(fromDialog);
            watcher.answer([](QWidget *offer) { static_cast<QDialog *>(offer)->reject(); });
            w.handleExportReportBtnPressed();
            QTRY_COMPARE_WITH_TIMEOUT(watcher.count(), 3, 60000);
        }
        const QString line = QStringLiteral("report P --columns %1 --out O/cli.pdf").arg(columns);
        QCOMPARE(runBatch(cmd(line + (header ? " --header" : "") + (grid ? " --grid" : ""), out.path())).exitCode, 0);
        const QStringList dialogPages = pdfPages(fromDialog);
        QVERIFY(!dialogPages.isEmpty());
        QCOMPARE(pdfPages(out.filePath(QStringLiteral("cli.pdf"))), dialogPages);
    }

    // On a terminal the work reports itself on standard error, a line per
    // tenth.
    void progressOnATerminal()
    {
        QTemporaryDir out;
        const QString command = QStringLiteral("'%1' report '%2' --step 0.2 --out '%3' >/dev/null")
                                    .arg(kora(), m_project, out.filePath(QStringLiteral("r.pdf")));
        const QByteArray before = ShellTest::fileHash(m_project);
        QProcess p;
        p.setProcessEnvironment(noDisplay());
        p.start(QStringLiteral("script"), {QStringLiteral("-qec"), command, QStringLiteral("/dev/null")});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(ShellTest::fileHash(m_project), before);
        const QString terminal = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        const QStringList lines = terminal.split(QRegularExpression(QStringLiteral("\\s*[\r\n]+\\s*")), Qt::SkipEmptyParts);
        QStringList expected;
        for (int tenth = 1; tenth <= 10; ++tenth)
            expected << QStringLiteral("kora report: %1 %").arg(tenth * 10);
        QCOMPARE(lines, expected);
    }

    // A project named after "--" and the toolkit's own options is opened:
    // the window's title names it.
    void fileIsOpenedAfterToolkitOptions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("-odd name.prj"));
        QVERIFY(SampleFixture::make(path, {QStringLiteral("--to"), QStringLiteral("3")}));
        QProcessEnvironment env = noDisplay();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(kora(), {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--"), path});
        QVERIFY(p.waitForStarted());
        // The recent-projects list in the private settings names the file
        // once it is open.
        const QString conf = dir.filePath(QStringLiteral("config/KD/QVNKORA.conf"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(conf) && QSettings(conf, QSettings::IniFormat)
                                                                .value(QStringLiteral("recentProjectList"))
                                                                .toStringList()
                                                                .contains(path),
                                 30000);
        p.kill();
        p.waitForFinished();
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
