// The picks of a page are read off the window's thread: a read brings the
// picks of its depth range only, and of reads asked for one after another
// the last one's picks arrive last, with its ticket.

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "pagepickreader.h"
#include "pickfixture.h"
#include "samplefixture.h"

class TstPagePickReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lastReadBringsItsRange_data();
    void lastReadBringsItsRange();

private:
    QTemporaryDir m_dir;
    QString m_project;
};

void TstPagePickReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_project = m_dir.filePath(QStringLiteral("picks.prj"));
    QVERIFY(SampleFixture::make(m_project, {QStringLiteral("--to"), QStringLiteral("10")}));
    QVERIFY(PickFixture::plant(m_project, {1.0, 4.9, 5.1, 9.5}));
}

void TstPagePickReader::lastReadBringsItsRange_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<QList<double>>("depths");
    QTest::newRow("first page") << QString() << 0.0 << 5.0 << QList<double>{1.0, 4.9};
    QTest::newRow("second page") << QString() << 5.0 << 10.0 << QList<double>{5.1, 9.5};
    QTest::newRow("edges belong to the range") << QString() << 4.9 << 5.1 << QList<double>{4.9, 5.1};
    QTest::newRow("no such file") << QStringLiteral("gone.prj") << 0.0 << 10.0 << QList<double>{};
}

void TstPagePickReader::lastReadBringsItsRange()
{
    QFETCH(QString, file);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(QList<double>, depths);
    const QString path = file.isEmpty() ? m_project : m_dir.filePath(file);
    PagePickReader reader;
    QVector<quint64> tickets;
    QVector<StructurePick> last;
    connect(&reader, &PagePickReader::picksRead, this, [&](quint64 ticket, const QVector<StructurePick> &picks) {
        tickets << ticket;
        last = picks;
    });
    // Pages turned quickly: the reads before are for pages gone by.
    reader.read(m_project, 0, 100000);
    reader.read(m_project, 50000, 100000);
    const quint64 ticket = reader.read(path, from * 10000, to * 10000);
    QTRY_VERIFY(!tickets.isEmpty() && tickets.last() == ticket);
    QVERIFY(std::is_sorted(tickets.begin(), tickets.end()));
    QList<double> read;
    for (const StructurePick &p : qAsConst(last))
        read << p.depth / 10000;
    QCOMPARE(read, depths);
    // Reading makes no file.
    QCOMPARE(QFile::exists(path), file.isEmpty());
}

QTEST_GUILESS_MAIN(TstPagePickReader)
#include "tst_pagepickreader.moc"
