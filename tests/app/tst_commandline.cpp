// The kora program's command line, run as a user runs it: --help and
// --version answer without a display, a wrong option is refused with exit
// code 2, and a file named on the command line is opened.

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include "samplefixture.h"

class TestCommandLine : public QObject
{
    Q_OBJECT

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };

    static Run run(const QStringList &args, const QProcessEnvironment &env)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kora"), args);
        Run r;
        if (!p.waitForFinished(30000)) {
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

private slots:
    void optionsAnswerWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("inOut");
        QTest::addColumn<QStringList>("inErr");
        const QStringList options{QStringLiteral("--help"), QStringLiteral("--version"), QStringLiteral("FILE")};
        const QString version = QStringLiteral("KORA " KORA_VERSION);
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0 << options << QStringList();
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0 << options << QStringList();
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0 << QStringList{version}
                                   << QStringList();
        QTest::newRow("after a file") << QStringList{QStringLiteral("a.prj"), QStringLiteral("--version")} << 0
                                      << QStringList{version} << QStringList();
        QTest::newRow("after a toolkit option")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--version")}
            << 0 << QStringList{version} << QStringList();
        QTest::newRow("unknown") << QStringList{QStringLiteral("--frobnicate")} << 2 << QStringList()
                                 << QStringList{QStringLiteral("--frobnicate"), QStringLiteral("--help")};
        QTest::newRow("unknown short") << QStringList{QStringLiteral("-x"), QStringLiteral("a.prj")} << 2
                                       << QStringList() << QStringList{QStringLiteral("'-x'")};
        QTest::newRow("help after an unknown option") << QStringList{QStringLiteral("--bad"), QStringLiteral("--help")} << 2
                                       << QStringList() << QStringList{QStringLiteral("--bad")};
    }

    void optionsAnswerWithoutDisplay()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, inOut);
        QFETCH(QStringList, inErr);
        const Run r = run(args, noDisplay());
        QCOMPARE(r.exitCode, exitCode);
        for (const QString &s : inOut)
            QVERIFY2(r.out.contains(s), qPrintable(r.out));
        for (const QString &s : inErr)
            QVERIFY2(r.err.contains(s), qPrintable(r.err));
        if (exitCode == 2)
            QVERIFY(r.out.isEmpty());
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
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kora"),
                {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--"), path});
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

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
