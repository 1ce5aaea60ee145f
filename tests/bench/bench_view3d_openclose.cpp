// Benchmark: opening and closing the 3D window and the roll view a hundred
// times each must not grow the process: textures and quadrics go with their
// GL context. Prints the resident size after 10 and after 100 rounds.
// Run by hand (needs a GL context, e.g. through a virtual X server):
//   QT_QPA_PLATFORM=offscreen xvfb-run -a build/bin/bench_view3d_openclose

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "../view3d/gltestsupport.h"
#include "main3dwindow.h"
#include "myglwidget.h"
#include "rollwidget.h"

namespace {

// Resident set size in MiB, from /proc/self/statm.
double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0.0;
}

} // namespace

class BenchView3DOpenClose : public QObject
{
    Q_OBJECT

private slots:
    void main3DWindow();
    void rollWidget();

private:
    template <typename Open>
    void rounds(const char *what, Open open);
};

template <typename Open>
void BenchView3DOpenClose::rounds(const char *what, Open open)
{
    QElapsedTimer timer;
    double after10 = 0.0;
    timer.start();
    for (int i = 1; i <= 100; ++i) {
        QWidget *w = open();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->close();
        delete w;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (i == 10)
            after10 = residentMiB();
    }
    const double after100 = residentMiB();
    qInfo("%s: %.1f MiB after 10 rounds, %.1f MiB after 100 (growth %.1f MiB), %.0f ms per round", what,
          after10, after100, after100 - after10, timer.elapsed() / 100.0);
}

void BenchView3DOpenClose::main3DWindow()
{
    QTemporaryDir dir;
    const QStringList files{dir.filePath("page.jpg"), dir.filePath("left.jpg")};
    QVERIFY(GLTest::filled(1200, 3000, QColor(180, 120, 60)).save(files[0]));
    QVERIFY(GLTest::filled(300, 3000, Qt::white).save(files[1]));
    rounds("3D window (page 1200 x 3000)", [&files]() -> QWidget * { return new Main3DWindow(files); });
}

void BenchView3DOpenClose::rollWidget()
{
    const QImage image = GLTest::filled(2400, 3000, QColor(180, 120, 60));
    rounds("roll view (image 2400 x 3000)", [&image]() -> QWidget * {
        auto *w = new RollWidget;
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->setImage(image);
        return w;
    });
}

QTEST_MAIN(BenchView3DOpenClose)
#include "bench_view3d_openclose.moc"
