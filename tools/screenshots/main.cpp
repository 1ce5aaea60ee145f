// kora-screenshots: the pictures of the user guide, made by KORA's own main
// window driven through its actions (tools/make-screenshots.sh runs it under
// Xvfb). Every picture is what the screen shows over the main window at that
// moment, dialogs included. A command that is missing from this build, or
// answers with a message box, is reported and its picture left as it was.
//
//   kora-screenshots --project demo.prj --features features.csv --out docs/images

#include <QApplication>
#include <QCommandLineParser>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGraphicsPixmapItem>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QtMath>
#include <QtTest>

#include <cstdio>

#include "fileinfowidget.h"
#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "languagemanager.h"
#include "mainwindow.h"
#include "toolbar.h"

namespace {

QString g_outDir;
MainWindow *g_window = nullptr;
int g_failures = 0;

void say(const QString &text)
{
    std::fprintf(stderr, "kora-screenshots: %s\n", qPrintable(text));
}

// Grabs rect of the screen (the main window and what lies over it) into
// name; on a platform without a screen to grab, the window's own picture.
void shoot(const QString &name, QRect rect = QRect())
{
    QTest::qWait(400);
    if (rect.isNull())
        rect = g_window->frameGeometry();
    QScreen *screen = QGuiApplication::primaryScreen();
    rect &= screen->geometry();
    QImage image = screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
    if (image.isNull() || image.allGray() && image.pixel(image.width() / 2, image.height() / 2) == qRgb(0, 0, 0))
        image = g_window->grab().toImage();
    // A palette of 256 colours keeps pictures of the wall small.
    image = image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::PreferDither);
    const QString path = QDir(g_outDir).filePath(name);
    if (!image.save(path, "PNG", 9)) {
        say(QStringLiteral("cannot write %1").arg(path));
        ++g_failures;
        return;
    }
    say(QStringLiteral("wrote %1 (%2 KB)").arg(path).arg(QFileInfo(path).size() / 1024));
}

QAction *actionNamed(const QStringList &texts)
{
    for (QAction *a : g_window->findChildren<QAction *>()) {
        QString text = a->text();
        text.remove(QLatin1Char('&'));
        if (texts.contains(text, Qt::CaseInsensitive))
            return a;
    }
    return nullptr;
}

QWidget *newWindow(const QList<QWidget *> &before)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w != g_window && !before.contains(w) && !qobject_cast<QMenu *>(w)
            && w->windowType() != Qt::ToolTip)
            return w;
    }
    return nullptr;
}

// Triggers action, photographs the window or dialog it opens, closes it.
bool shootCommand(QAction *action, const QString &name, int settleMs = 1500)
{
    if (!action) {
        say(QStringLiteral("%1: the command is not in this build; picture kept").arg(name));
        return false;
    }
    QList<QWidget *> before;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            before << w;
    }
    bool done = false;
    bool shot = false;
    auto capture = [&] {
        if (done)
            return;
        QWidget *other = newWindow(before);
        if (!other)
            return;
        done = true;
        if (auto *box = qobject_cast<QMessageBox *>(other)) {
            say(QStringLiteral("%1: the command answered \"%2\"; picture kept").arg(name, box->text()));
        } else {
            if (!other->isModal()) {
                // A window of its own: a good size over the page.
                other->move(g_window->x() + 160, g_window->y() + 40);
                other->resize(900, 700);
                QTest::qWait(2000);
            }
            QRect rect = g_window->frameGeometry().united(other->frameGeometry());
            shoot(name, rect);
            shot = true;
        }
        other->close();
    };
    QTimer::singleShot(settleMs, g_window, capture);
    action->trigger();
    QTest::qWait(settleMs + 200);
    capture();
    if (!done) {
        QStringList visible;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                visible << QString::fromLatin1(w->metaObject()->className());
        }
        say(QStringLiteral("%1: the command opened no window (enabled %2; windows: %3)")
                .arg(name).arg(action->isEnabled()).arg(visible.join(QLatin1Char(' '))));
    }
    return shot;
}

void waitForPage()
{
    QTest::qWait(200);
    for (int i = 0; i < 600 && (readingInProgress || g_window->readThread()); ++i)
        QTest::qWait(100);
    QTest::qWait(300);
}

// Mouse on the page view, in scene coordinates.
void mouse(QEvent::Type type, const QPointF &scenePos, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget *viewport = g_window->view()->viewport();
    const QPoint pos = g_window->view()->mapFromScene(scenePos);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, viewport->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
    QTest::qWait(30);
}

void drag(const QPointF &from, const QPointF &to)
{
    mouse(QEvent::MouseButtonPress, from);
    for (int i = 1; i <= 5; ++i)
        mouse(QEvent::MouseMove, from + (to - from) * (i / 5.0));
    mouse(QEvent::MouseButtonRelease, to);
}

void click(const QPointF &at, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(QEvent::MouseButtonPress, at, button);
    mouse(QEvent::MouseButtonRelease, at, button);
}

// The page's image column in scene coordinates.
QRectF imageColumn()
{
    QRectF column;
    for (QGraphicsItem *item : g_window->scene()->items()) {
        if (item->type() == QGraphicsPixmapItem::Type)
            column |= item->sceneBoundingRect();
    }
    return column;
}

// Scene point of an azimuth (degrees) and depth (metres) on the page.
QPointF wallPoint(double azimuth, double depthMetres)
{
    const QRectF column = imageColumn();
    const double x = column.left() + column.width() * azimuth / 360.0;
    // depthToY answers in scene coordinates, the column top included.
    const double y = g_window->leftScale()->depthToY(qRound(depthMetres * 10000.0));
    return QPointF(x, y);
}

void chooseTool(QAction *action)
{
    if (!action->isChecked())
        action->trigger();
}

struct Fracture {
    double depth = 0, dip = 0, direction = 0;
};

// Planted fractures of the sample tool's features CSV.
QList<Fracture> readFractures(const QString &path)
{
    QList<Fracture> list;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    QTextStream in(&file);
    const QStringList header = in.readLine().split(QLatin1Char(','));
    const int kind = header.indexOf(QStringLiteral("kind"));
    const int depth = header.indexOf(QStringLiteral("depth_m"));
    const int dip = header.indexOf(QStringLiteral("dip_deg"));
    const int direction = header.indexOf(QStringLiteral("dip_direction_deg"));
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(','));
        if (depth < 0 || dip < 0 || direction < 0 || f.size() <= qMax(depth, qMax(dip, direction)))
            continue;
        if (kind >= 0 && f.value(kind) != QLatin1String("fracture"))
            continue;
        list << Fracture{f.at(depth).toDouble(), f.at(dip).toDouble(), f.at(direction).toDouble()};
    }
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("project"), QStringLiteral("Demo project."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("features"), QStringLiteral("Its features CSV."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder of the pictures."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("diameter"), QStringLiteral("Hole diameter in mm."), QStringLiteral("mm"),
                      QStringLiteral("110")});
    parser.process(app);
    const QString project = QFileInfo(parser.value(QStringLiteral("project"))).absoluteFilePath();
    g_outDir = parser.value(QStringLiteral("out"));
    if (!QFile::exists(project) || g_outDir.isEmpty()) {
        say(QStringLiteral("needs --project FILE and --out DIR"));
        return 2;
    }
    QDir().mkpath(g_outDir);

    // Settings of a throw-away user, in English.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings(QStringLiteral("KD"), QStringLiteral("QVNKORA")).setValue(QStringLiteral("language"),
                                                                      QStringLiteral("en_US"));
    LanguageManager::instance()->reloadTranslators();
    FileInfoWidget::installAsNavigationPanel();

    MainWindow window;
    g_window = &window;
    window.move(0, 0);
    window.resize(1360, 800);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        say(QStringLiteral("the window was not shown"));
    window.resize(1360, 800);
    ToolBar *bar = window.toolBar();

    // A dialog nobody expected must not stop the tour: after 8 s it is named
    // and closed.
    QTimer watchdog;
    QPointer<QWidget> lastModal;
    int modalTicks = 0;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        // The label of a measurement is offered for editing: keep it.
        if (modal && modal->windowTitle() == QLatin1String("Input text")) {
            for (QPushButton *button : modal->findChildren<QPushButton *>()) {
                if (button->text() == QLatin1String("OK")) {
                    button->click();
                    return;
                }
            }
            return;
        }
        if (!modal || modal != lastModal) {
            lastModal = modal;
            modalTicks = 0;
            return;
        }
        if (++modalTicks < 25)
            return;
        auto *box = qobject_cast<QMessageBox *>(modal);
        say(QStringLiteral("closing an unexpected dialog \"%1\" %2")
                .arg(modal->windowTitle(), box ? box->text() : QString()));
        modal->close();
    });
    watchdog.start(300);

    // A page that shows a few fractures.
    window.openFile(project);
    waitForPage();
    if (auto *next = window.findChild<QPushButton *>(QStringLiteral("nextButton"))) {
        next->click();
        waitForPage();
    }
    // The steep fracture planted at 7 m in sight.
    window.view()->centerOn(wallPoint(180, 7.25));
    QTest::qWait(300);

    // 1. Opening a project and paging through it.
    shoot(QStringLiteral("open-project.png"));

    // 2. Drawing and measuring on the wall.
    const QList<Fracture> fractures = readFractures(parser.value(QStringLiteral("features")));
    // The part of the page in sight.
    const QRectF seen = window.view()->mapToScene(window.view()->viewport()->rect()).boundingRect();
    const double pageTop = window.leftScale()->yToDepth(qMax(0, int(seen.top()) - 120)) / 10000.0;
    const double pageEnd = window.leftScale()->yToDepth(int(seen.bottom()) - 120) / 10000.0;
    const double span = pageEnd - pageTop;
    chooseTool(bar->toolAction(ToolBar::MeasureLen));
    drag(wallPoint(30, pageTop + 0.08 * span), wallPoint(150, pageTop + 0.22 * span));
    chooseTool(bar->toolAction(ToolBar::Dip));
    drag(wallPoint(200, pageTop + 0.10 * span), wallPoint(320, pageTop + 0.20 * span));
    chooseTool(bar->toolAction(ToolBar::MeasureAng));
    drag(wallPoint(40, pageTop + 0.40 * span), wallPoint(120, pageTop + 0.50 * span));
    bar->toolAction(ToolBar::MeasureAng)->trigger();
    shoot(QStringLiteral("measure.png"));

    // 3. Irregular area: an outline drawn around a patch of wall.
    chooseTool(bar->toolAction(ToolBar::Irregular));
    {
        const QPointF c = wallPoint(250, pageTop + 0.6 * span);
        const double r = imageColumn().width() * 0.1;
        QTimer::singleShot(1500, &window, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->defaultButton() ? box->defaultButton()->click() : box->accept();
        });
        for (int i = 0; i < 14; ++i) {
            const double a = 2 * M_PI * i / 14.0;
            click(c + QPointF(r * qCos(a) * (1 + 0.2 * (i % 3)), r * 0.8 * qSin(a)));
        }
        click(c + QPointF(r, 0));
        QTest::qWait(4000);
        shoot(QStringLiteral("area.png"));
    }

    // 4. Structure picks along a planted fracture of the page.
    if (QAction *pick = bar->toolAction(ToolBar::StructurePickTool)) {
        Fracture chosen;
        bool found = false;
        for (const Fracture &f : fractures) {
            if (f.depth > pageTop + 0.1 * span && f.depth < pageEnd - 0.1 * span && f.dip > 15) {
                chosen = f;
                found = true;
                break;
            }
        }
        if (found) {
            chooseTool(pick);
            // The type dialog of a new pick, if one is asked, takes its default.
            QTimer::singleShot(2500, &window, [] {
                if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    dialog->accept();
            });
            const double amplitude = parser.value(QStringLiteral("diameter")).toDouble() / 2000.0
                * qTan(qDegreesToRadians(chosen.dip));
            for (double az : {30.0, 110.0, 190.0, 270.0, 340.0}) {
                const double z = chosen.depth + amplitude * qCos(qDegreesToRadians(az - chosen.direction));
                click(wallPoint(az, z));
            }
            click(wallPoint(340, chosen.depth), Qt::RightButton);
            QTest::qWait(3000);
            chooseTool(pick);
            pick->trigger();
            shoot(QStringLiteral("structure-pick.png"));
        } else {
            say(QStringLiteral("structure-pick.png: no planted fracture on the first page"));
        }
    } else {
        say(QStringLiteral("structure-pick.png: the command is not in this build; picture kept"));
    }

    // 5.-9. Commands with windows of their own.
    shootCommand(bar->fileAction(ToolBar::SaveCurrentImage), QStringLiteral("save-page.png"));
    shootCommand(bar->fileAction(ToolBar::ExportReport), QStringLiteral("report.png"));
    shootCommand(bar->editAction(ToolBar::Correction), QStringLiteral("corrections.png"));
    shootCommand(bar->editAction(ToolBar::Show3D), QStringLiteral("view3d.png"), 4000);
    // The roll view asks for its range first: the one it offers, the first
    // 2 m of the page on screen (a range off that page would be refused).
    QTimer::singleShot(1000, &window, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || qobject_cast<QMessageBox *>(dialog))
            return;
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            if (button->text().remove(QLatin1Char('&')) == QLatin1String("OK")) {
                button->click();
                return;
            }
        }
    });
    shootCommand(bar->editAction(ToolBar::Roll), QStringLiteral("roll.png"), 4000);
    shootCommand(actionNamed({QStringLiteral("Structures"), QStringLiteral("Structures..."),
                              QStringLiteral("Stereonet")}),
                 QStringLiteral("structures.png"), 2500);

    // 10. Contrast of the wall picture: the dock beside the page, with
    // dynamic normalisation on.
    if (QAction *contrast = actionNamed({QStringLiteral("Wall contrast")})) {
        contrast->trigger();
        QTest::qWait(500);
        for (QCheckBox *box : window.findChildren<QCheckBox *>()) {
            if (box->isVisible() && box->text().remove(QLatin1Char('&')) == QLatin1String("Dynamic normalisation"))
                box->click();
        }
        QTest::qWait(3000);
        shoot(QStringLiteral("contrast.png"));
        contrast->trigger();
    } else {
        say(QStringLiteral("contrast.png: the command is not in this build; picture kept"));
    }

    // Leave without questions about the drawings.
    window.scene()->clear();
    QTimer::singleShot(0, &app, [] {
        if (QWidget *m = QApplication::activeModalWidget())
            m->close();
    });
    return g_failures == 0 ? 0 : 1;
}
