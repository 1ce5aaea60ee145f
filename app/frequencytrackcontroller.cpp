#include "frequencytrackcontroller.h"

#include "fracturefrequency.h"
#include "graphicsfrequencytrackitem.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "projectinfo.h"
#include "structurepickcontroller.h"
#include "structurepickstore.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QThread>

#include <memory>

namespace {

// Scene layout: the page image starts at x = 1300, y = 120; the track stands
// a little right of it.
constexpr double kColumnLeft = 1300.0;
constexpr double kColumnTop = 120.0;
constexpr double kGap = 40.0;
constexpr double kTrackWidth = 220.0;

} // namespace

FrequencyTrackController::FrequencyTrackController(MainWindow *window, StructurePickController *picks)
    : QObject(window)
    , m_window(window)
    , m_picks(picks)
{
    m_menu = new QMenu(window);
    m_showAct = m_menu->addAction(QString());
    m_showAct->setObjectName(QStringLiteral("frequencyTrackAct"));
    m_showAct->setCheckable(true);
    m_menu->addSeparator();
    m_windows = new QActionGroup(this);
    for (double metres : FractureFrequency::windows()) {
        QAction *act = m_menu->addAction(QString());
        act->setCheckable(true);
        act->setData(metres);
        act->setChecked(metres == 1.0);
        m_windows->addAction(act);
    }
    m_menu->addSeparator();
    m_terzaghiAct = m_menu->addAction(QString());
    m_terzaghiAct->setCheckable(true);
    connect(m_showAct, &QAction::toggled, this, &FrequencyTrackController::refresh);
    connect(m_terzaghiAct, &QAction::toggled, this, &FrequencyTrackController::refresh);
    connect(m_windows, &QActionGroup::triggered, this, &FrequencyTrackController::refresh);
    if (picks)
        connect(picks, &StructurePickController::picksChanged, this, &FrequencyTrackController::refresh);
    if (QMenu *view = window->viewMenu())
        view->addMenu(m_menu);
    connect(window, &MainWindow::NotifyLanguageChanged, this, &FrequencyTrackController::OnRetranslate);
    OnRetranslate();
}

FrequencyTrackController::~FrequencyTrackController()
{
    for (const QPointer<QThread> &reader : qAsConst(m_readers)) {
        if (reader) {
            reader->wait();
            delete reader.data();
        }
    }
}

void FrequencyTrackController::OnRetranslate()
{
    m_menu->setTitle(tr("&Fracture frequency"));
    m_showAct->setText(tr("Show the fracture frequency track"));
    m_showAct->setStatusTip(tr("Picks per metre beside the image, per type and in total"));
    for (QAction *act : m_windows->actions())
        act->setText(tr("%1 m window").arg(act->data().toDouble()));
    m_terzaghiAct->setText(tr("Terzaghi correction (1/|cos δ|, at most 10)"));
}

double FrequencyTrackController::windowMetres() const
{
    QAction *checked = m_windows->checkedAction();
    return checked ? checked->data().toDouble() : 1.0;
}

GraphicsFrequencyTrackItem *FrequencyTrackController::track() const
{
    return m_track.data();
}

void FrequencyTrackController::removeTrack()
{
    if (!m_track)
        return;
    GraphicsScene *scene = m_window->scene();
    scene->removeItem(m_track);
    delete m_track.data();
    scene->setBaseItemCount(qMax(0, scene->baseItemCount() - 1));
}

void FrequencyTrackController::refresh()
{
    const int serial = ++m_readSerial;
    GraphicsScene *scene = m_window->scene();
    auto *left = static_cast<GraphicsLeftScaleItem *>(scene->itemOfType(GraphicsLeftScaleItem::Type));
    const QString path = ProjectInfo::instance()->projectPath();
    if (!m_showAct->isChecked() || path.isEmpty() || !left || !left->isInitialized()
        || !(left->pixelsPerDepthUnit() > 0.0)) {
        removeTrack();
        emit trackRefreshed();
        return;
    }
    const double from = left->startDepth();
    const double to = left->endDepth();
    const double ppu = left->pixelsPerDepthUnit();
    const double width = scene->sceneRect().width() - 2 * kColumnLeft;
    const double window = windowMetres();
    const bool terzaghi = m_terzaghiAct->isChecked();
    QVector<StructurePick> memory;
    if (m_picks) {
        for (const StructurePick &p : m_picks->memoryPicks())
            if (p.depth >= from && p.depth <= to)
                memory << p;
    }

    auto bins = std::make_shared<QVector<FractureFrequency::Bin>>();
    QThread *reader = QThread::create([path, from, to, window, terzaghi, memory, bins] {
        QVector<StructurePick> picks = StructurePickStore(path).picks(from, to);
        picks += memory;
        *bins = FractureFrequency::compute(picks, from, to, window, terzaghi);
    });
    connect(reader, &QThread::finished, this,
            [this, reader, bins, serial, from, to, ppu, width, window, terzaghi] {
                m_readers.removeAll(reader);
                reader->deleteLater();
                if (serial != m_readSerial)
                    return; // a newer page or setting is being read
                GraphicsScene *scene = m_window->scene();
                if (!m_track) {
                    m_track = new GraphicsFrequencyTrackItem;
                    scene->addItem(m_track);
                    // Part of the page, like its scales: no unsaved drawing.
                    scene->setBaseItemCount(scene->baseItemCount() + 1);
                }
                m_track->setGeometry(kColumnLeft + width + kGap, kTrackWidth, kColumnTop, from, to, ppu);
                m_track->setBins(*bins, window, terzaghi);
                emit trackRefreshed();
            });
    m_readers.removeAll(nullptr);
    m_readers << reader;
    reader->start();
}
