// A depth or azimuth correction killed at any moment leaves the project as it
// was or wholly corrected, never half done.

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <memory>

#include "correctionfixture.h"
#include "killfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

namespace {

const char *const kChildArgument = "--correct-child";

// Child mode: one correction, held at pauseAt when that is >= 0.
int runChild(const QString &kind, const QString &path, int pauseAt)
{
    loadRecord(path);
    std::unique_ptr<CorrectionThread> worker;
    if (kind == QLatin1String("depth"))
        worker.reset(new CorrectDepthThread(path, 21000));   // the 20 m sample, 5 % deeper
    else
        worker.reset(new CorrectAngleThread(path, 120));
    return KillFixture::runReported(*worker, pauseAt);
}

} // namespace

class TestCorrectionSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedAtRandomMomentsLeavesOldOrNew_data();
    void killedAtRandomMomentsLeavesOldOrNew();

private:
    QTemporaryDir m_dir;
    QString m_sample;   // 20 m downward project, 600 px wide
};

void TestCorrectionSafety::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sample = m_dir.filePath(QStringLiteral("sample.prj"));
    QVERIFY(SampleFixture::make(m_sample, {"--to", "20", "--width", "600", "--seed", "9"}));
}

void TestCorrectionSafety::killedAtRandomMomentsLeavesOldOrNew_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("lastStep");   // the last progress value of a run
    QTest::newRow("depth correction") << QStringLiteral("depth") << 20;
    QTest::newRow("azimuth correction") << QStringLiteral("angle") << 19;
}

void TestCorrectionSafety::killedAtRandomMomentsLeavesOldOrNew()
{
    QFETCH(QString, kind);
    QFETCH(int, lastStep);
    const auto childArgs = [&kind](const QString &path) {
        return QStringList{QString::fromLatin1(kChildArgument), kind, path};
    };
    KillFixture::Killer killer(lastStep);
    const QString reference = m_dir.filePath(kind + QStringLiteral("-ref.prj"));
    QVERIFY(copyProject(m_sample, reference));
    const FileState oldState = readState(reference);
    QVERIFY(killer.runToEnd(childArgs(reference)));
    const FileState newState = readState(reference);
    QVERIFY(newState.hash != oldState.hash);

    int olds = 0;
    int news = 0;
    const int rounds = 9;
    for (int round = 0; round < rounds; ++round) {
        const QString path = m_dir.filePath(QStringLiteral("%1-kill-%2.prj").arg(kind).arg(round));
        QVERIFY(copyProject(m_sample, path));
        bool held = false;
        const QString where = killer.killAtRandomMoment(childArgs(path), round, &held);
        QVERIFY2(!where.isEmpty(), qPrintable(QStringLiteral("round %1").arg(round)));

        const FileState state = readState(path);
        QVERIFY2(state.opened, qPrintable(where));
        QVERIFY2(state.integrity == QLatin1String("ok"), qPrintable(where + state.integrity));
        QVERIFY2(!state.hasNewTable, qPrintable(where));
        if (state.hash == oldState.hash) {
            ++olds;
        } else {
            QVERIFY2(!held, qPrintable(where + QStringLiteral(": changed before the swap")));
            QVERIFY2(state.hash == newState.hash, qPrintable(where + QStringLiteral(": neither old nor new")));
            ++news;
        }
    }
    qDebug() << kind << "kill test:" << olds << "rounds left the old table," << news << "the new one";
    QVERIFY(olds >= rounds / 3);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if ((argc == 4 || argc == 5) && qstrcmp(argv[1], kChildArgument) == 0)
        return runChild(QString::fromLatin1(argv[2]), QString::fromLocal8Bit(argv[3]),
                        argc == 5 ? std::atoi(argv[4]) : -1);
    TestCorrectionSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_correctionsafety.moc"
