#include "toolbar.h"

#include "globals.h"
#include "itemstyle.h"
#include "koraresources.h"

#include <QAbstractItemView>
#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QIcon>
#include <QKeySequence>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace {

struct ActionText
{
    const char *text;
    const char *tip;
};

// Texts and tips of the three groups, in group order.
const ActionText kFileTexts[] = {
    {QT_TRANSLATE_NOOP("ToolBar", "Open project"), QT_TRANSLATE_NOOP("ToolBar", "Open a project file")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Open picture"), QT_TRANSLATE_NOOP("ToolBar", "Open picture")},
    {QT_TRANSLATE_NOOP("ToolBar", "&current image"), QT_TRANSLATE_NOOP("ToolBar", "Save the current image")},
    {QT_TRANSLATE_NOOP("ToolBar", "save &Original image"), QT_TRANSLATE_NOOP("ToolBar", "Save the original image")},
    {QT_TRANSLATE_NOOP("ToolBar", "s&ave as"), QT_TRANSLATE_NOOP("ToolBar", "Save as")},
    {QT_TRANSLATE_NOOP("ToolBar", "Export"), QT_TRANSLATE_NOOP("ToolBar", "Export report")},
};

const ActionText kEditTexts[] = {
    {QT_TRANSLATE_NOOP("ToolBar", "&Roll"), QT_TRANSLATE_NOOP("ToolBar", "Roll the picture")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Delete"), QT_TRANSLATE_NOOP("ToolBar", "Delete item")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Project Information"), QT_TRANSLATE_NOOP("ToolBar", "Show or edit project Information")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Correction"), QT_TRANSLATE_NOOP("ToolBar", "Corrections")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Magnetic declination correctionBtn"), QT_TRANSLATE_NOOP("ToolBar", "Correct magnetic declination")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Diameter correctionBtn"), QT_TRANSLATE_NOOP("ToolBar", "Correct diameter")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Show 3D"), QT_TRANSLATE_NOOP("ToolBar", "Show 3D Image")},
};

const ActionText kToolTexts[] = {
    {QT_TRANSLATE_NOOP("ToolBar", "P&en"), QT_TRANSLATE_NOOP("ToolBar", "Pen")},
    {QT_TRANSLATE_NOOP("ToolBar", "I&nsert line"), QT_TRANSLATE_NOOP("ToolBar", "Line")},
    {QT_TRANSLATE_NOOP("ToolBar", "Measure length"), QT_TRANSLATE_NOOP("ToolBar", "M&easure length")},
    {QT_TRANSLATE_NOOP("ToolBar", "Measure angle"), QT_TRANSLATE_NOOP("ToolBar", "Measure angle")},
    {QT_TRANSLATE_NOOP("ToolBar", " Mark lithology"), QT_TRANSLATE_NOOP("ToolBar", "Mark lithology")},
    {QT_TRANSLATE_NOOP("ToolBar", "So&lid Arrow"), QT_TRANSLATE_NOOP("ToolBar", "Solid arrow")},
    {QT_TRANSLATE_NOOP("ToolBar", "A&ngle"), QT_TRANSLATE_NOOP("ToolBar", "Angle")},
    {QT_TRANSLATE_NOOP("ToolBar", "D&ip"), QT_TRANSLATE_NOOP("ToolBar", "Dip angle")},
    {QT_TRANSLATE_NOOP("ToolBar", "F&itCurve"), QT_TRANSLATE_NOOP("ToolBar", "To fit the curve")},
    {QT_TRANSLATE_NOOP("ToolBar", "R&uler"), QT_TRANSLATE_NOOP("ToolBar", "To measure distance")},
    {QT_TRANSLATE_NOOP("ToolBar", "text"), QT_TRANSLATE_NOOP("ToolBar", "Text")},
    {QT_TRANSLATE_NOOP("ToolBar", "&Irregular"), QT_TRANSLATE_NOOP("ToolBar", "Irregular")},
    {QT_TRANSLATE_NOOP("ToolBar", "&GridLines"), QT_TRANSLATE_NOOP("ToolBar", "GridLines")},
    {QT_TRANSLATE_NOOP("ToolBar", "Structure &pick"),
     QT_TRANSLATE_NOOP("ToolBar", "Structure pick: click three or more points along a trace and end "
                                  "with a right click or Enter; gives the depth, true dip and dip "
                                  "direction of the plane, for a vertical hole")},
};

struct ColorEntry
{
    const char *name;
    Qt::GlobalColor color;
};

const ColorEntry kColors[] = {
    {QT_TRANSLATE_NOOP("ToolBar", "black"), Qt::black},
    {QT_TRANSLATE_NOOP("ToolBar", "white"), Qt::white},
    {QT_TRANSLATE_NOOP("ToolBar", "red"), Qt::red},
    {QT_TRANSLATE_NOOP("ToolBar", "green"), Qt::green},
    {QT_TRANSLATE_NOOP("ToolBar", "blue"), Qt::blue},
    {QT_TRANSLATE_NOOP("ToolBar", "yellow"), Qt::yellow},
};

constexpr int kButtonSize = 40;
constexpr int kPanelMaxWidth = 110;

QList<QKeySequence> keys(const QString &portable)
{
    return {QKeySequence(portable)};
}

QList<QKeySequence> keys(QKeySequence::StandardKey key)
{
    return QKeySequence::keyBindings(key);
}

QString withoutMnemonic(QString text)
{
    // "P&en" -> "Pen"; "&&" stays a literal ampersand.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

ToolBar::ToolBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    initKoraResources();
    setMovable(false);
    setObjectName(QStringLiteral("toolBar"));

    createFileGroup();
    createEditGroup();
    createToolGroup();
    createColorAndWidth();
    // Save as and Save original image are menu and key commands only.
    for (QAction *a : m_fileActions + m_editActions + m_toolActions) {
        if (a != saveAsAct && a != saveOriginalImageAct)
            makeButton(a);
    }
    arrangePanels();

    // Every file command is in the File menu, which also makes the keys of
    // those without a button work.
    for (int i = 0; i < m_fileActions.size(); ++i)
        m_fileInMenu << true;
    for (int i = 0; i < m_editActions.size(); ++i)
        m_editInMenu << (i != MagneticDeclination && i != DiameterCorrection);
}

QAction *ToolBar::makeAction(const char *text, const char *tip, const QString &icon,
                             const QList<QKeySequence> &keySequences)
{
    QAction *action = icon.isEmpty() ? new QAction(tr(text), this)
                                     : new QAction(QIcon(icon), tr(text), this);
    action->setStatusTip(tr(tip));
    action->setToolTip(tr(tip));
    action->setShortcuts(keySequences);
    // Only tool modes stay checked while in use (createToolGroup); a command
    // button that kept its check mark would look like a mode that is on.
    return action;
}

void ToolBar::createFileGroup()
{
    // Ctrl+E belongs to Export alone; "save Original image" gave its Ctrl+D to
    // Show 3D and takes Ctrl+Shift+O.
    openProjectAct = makeAction(kFileTexts[0].text, kFileTexts[0].tip, QStringLiteral(":/res/Add folder.png"), keys(QStringLiteral("Ctrl+P")));
    openPictureAct = makeAction(kFileTexts[1].text, kFileTexts[1].tip, QStringLiteral(":/res/open.ico"), keys(QKeySequence::Open));
    saveCurrentImageAct = makeAction(kFileTexts[2].text, kFileTexts[2].tip, QStringLiteral(":/res/Save image.png"), keys(QKeySequence::Save));
    saveOriginalImageAct = makeAction(kFileTexts[3].text, kFileTexts[3].tip, QString(), keys(QStringLiteral("Ctrl+Shift+O")));
    // Not every platform has a standard Save As key; KORA's is Ctrl+Shift+S.
    saveAsAct = makeAction(kFileTexts[4].text, kFileTexts[4].tip, QString(), keys(QStringLiteral("Ctrl+Shift+S")));
    exportReportAct = makeAction(kFileTexts[5].text, kFileTexts[5].tip, QStringLiteral(":/res/report.png"), keys(QStringLiteral("Ctrl+E")));

    m_fileActions = {openProjectAct, openPictureAct, saveCurrentImageAct, saveOriginalImageAct,
                     saveAsAct, exportReportAct};

    connect(openProjectAct, &QAction::triggered, this, &ToolBar::signalOpenProject);
    connect(openPictureAct, &QAction::triggered, this, &ToolBar::signalOpenPicture);
    connect(saveCurrentImageAct, &QAction::triggered, this, &ToolBar::signalSaveCurrentImage);
    connect(saveOriginalImageAct, &QAction::triggered, this, &ToolBar::signalSaveOriginalImage);
    connect(saveAsAct, &QAction::triggered, this, &ToolBar::signalSaveAs);
    connect(exportReportAct, &QAction::triggered, this, &ToolBar::exportReportBtnPressed);
}

void ToolBar::createEditGroup()
{
    rollAct = makeAction(kEditTexts[0].text, kEditTexts[0].tip, QStringLiteral(":/res/roll.png"), keys(QStringLiteral("Ctrl+R")));
    // The Delete key alone: the platform's Delete binding also holds Ctrl+D
    // on Linux desktops, which would make Show 3D's key ambiguous.
    deleteAct = makeAction(kEditTexts[1].text, kEditTexts[1].tip, QStringLiteral(":/res/delete.png"), {QKeySequence(Qt::Key_Delete)});
    projectInfoAct = makeAction(kEditTexts[2].text, kEditTexts[2].tip, QStringLiteral(":/res/projectInfo.png"), keys(QStringLiteral("Ctrl+I")));
    correctionAct = makeAction(kEditTexts[3].text, kEditTexts[3].tip, QStringLiteral(":/res/correction.ico"), keys(QStringLiteral("Ctrl+Alt+C")));
    magneticDeclinationAct = makeAction(kEditTexts[4].text, kEditTexts[4].tip, QStringLiteral(":/res/Ruler.png"), keys(QStringLiteral("Ctrl+M")));
    diameterCorrectionAct = makeAction(kEditTexts[5].text, kEditTexts[5].tip, QStringLiteral(":/res/Ruler.png"), keys(QStringLiteral("Ctrl+Alt+M")));
    show3DAct = makeAction(kEditTexts[6].text, kEditTexts[6].tip, QStringLiteral(":/res/3D.ico"), keys(QStringLiteral("Ctrl+D")));

    m_editActions = {rollAct, deleteAct, projectInfoAct, correctionAct, magneticDeclinationAct,
                     diameterCorrectionAct, show3DAct};

    connect(rollAct, &QAction::triggered, this, &ToolBar::signalRoll);
    connect(deleteAct, &QAction::triggered, this, &ToolBar::signalDeleteItem);
    connect(projectInfoAct, &QAction::triggered, this, &ToolBar::projectInfoPressed);
    connect(correctionAct, &QAction::triggered, this, &ToolBar::correctionsBtnPressed);
    connect(magneticDeclinationAct, &QAction::triggered, this,
            &ToolBar::magneticDeclinationCorrectionBtnPressed);
    connect(diameterCorrectionAct, &QAction::triggered, this,
            &ToolBar::diameterCorrectionBtnPressed);
    connect(show3DAct, &QAction::triggered, this, [this]() { m_b3DShowing = true; });
    connect(show3DAct, &QAction::triggered, this, &ToolBar::signalShowCurrent3DImage);
}

void ToolBar::createToolGroup()
{
    // Each key belongs to one action only: a key sequence shared by two
    // actions of one window triggers neither. Line (Ctrl+L), Angle (Ctrl+N),
    // Ruler (Ctrl+U) and Text (Ctrl+T) keep their keys; Ctrl+E stays with
    // Export, Ctrl+I with Project Information, Ctrl+A with About. The others
    // take a key of their own: Pen Ctrl+Shift+P, Measure length Ctrl+Shift+L,
    // Measure angle Ctrl+Shift+N, Mark lithology Ctrl+K, Solid arrow
    // Ctrl+Shift+A, Dip Ctrl+Shift+D, Fit curve Ctrl+Shift+F, Irregular
    // Ctrl+Shift+I.
    penAct = makeAction(kToolTexts[0].text, kToolTexts[0].tip, QStringLiteral(":/res/Pencil.ico"), keys(QStringLiteral("Ctrl+Shift+P")));
    lineAct = makeAction(kToolTexts[1].text, kToolTexts[1].tip, QStringLiteral(":/res/Line.png"), keys(QStringLiteral("Ctrl+L")));
    measureLengthAct = makeAction(kToolTexts[2].text, kToolTexts[2].tip, QStringLiteral(":/res/Measure.png"), keys(QStringLiteral("Ctrl+Shift+L")));
    measureAngleAct = makeAction(kToolTexts[3].text, kToolTexts[3].tip, QStringLiteral(":/res/AngleMeasure.ico"), keys(QStringLiteral("Ctrl+Shift+N")));
    markLithologyAct = makeAction(kToolTexts[4].text, kToolTexts[4].tip, QStringLiteral(":/res/Lithologymark.png"), keys(QStringLiteral("Ctrl+K")));
    arrowAct = makeAction(kToolTexts[5].text, kToolTexts[5].tip, QStringLiteral(":/res/Arrow.ico"), keys(QStringLiteral("Ctrl+Shift+A")));
    angleAct = makeAction(kToolTexts[6].text, kToolTexts[6].tip, QStringLiteral(":/res/Angle.ico"), keys(QStringLiteral("Ctrl+N")));
    dipAct = makeAction(kToolTexts[7].text, kToolTexts[7].tip, QStringLiteral(":/res/Dipangle.ico"), keys(QStringLiteral("Ctrl+Shift+D")));
    fitCurveAct = makeAction(kToolTexts[8].text, kToolTexts[8].tip, QStringLiteral(":/res/Curve.ico"), keys(QStringLiteral("Ctrl+Shift+F")));
    rulerAct = makeAction(kToolTexts[9].text, kToolTexts[9].tip, QStringLiteral(":/res/Ruler.png"), keys(QStringLiteral("Ctrl+U")));
    textAct = makeAction(kToolTexts[10].text, kToolTexts[10].tip, QStringLiteral(":/res/text.png"), keys(QStringLiteral("Ctrl+T")));
    irregularAct = makeAction(kToolTexts[11].text, kToolTexts[11].tip, QStringLiteral(":/res/buguize.ico"), keys(QStringLiteral("Ctrl+Shift+I")));
    gridLinesAct = makeAction(kToolTexts[12].text, kToolTexts[12].tip, QStringLiteral(":/res/GridLines.png"), {});
    // Ctrl+Shift+K: K as in Mark lithology's Ctrl+K, the other interpretation tool.
    structurePickAct = makeAction(kToolTexts[13].text, kToolTexts[13].tip, QStringLiteral(":/res/StructurePick.png"), keys(QStringLiteral("Ctrl+Shift+K")));

    m_toolActions = {penAct, lineAct, measureLengthAct, measureAngleAct, markLithologyAct,
                     arrowAct, angleAct, dipAct, fitCurveAct, rulerAct, textAct, irregularAct,
                     gridLinesAct, structurePickAct};

    m_modes = {
        {penAct, InsertPen},
        {lineAct, InsertLine},
        {measureLengthAct, MeasureLength},
        {measureAngleAct, MeasureAngle},
        {markLithologyAct, MarkLithology},
        {arrowAct, InsertArrow},
        {angleAct, InsertAngle},
        {dipAct, InsertDip},
        {fitCurveAct, FitCurve},
        {rulerAct, InsertRuler},
        {textAct, InsertText},
        {irregularAct, IrregularArea},
        {structurePickAct, InsertStructurePick},
    };

    for (QAction *a : m_toolActions) {
        if (a != gridLinesAct) {
            a->setCheckable(true);
            connect(a, &QAction::triggered, this, &ToolBar::toolChanged);
        }
    }
    connect(gridLinesAct, &QAction::triggered, this, &ToolBar::NotifyShowGridLines);
}

void ToolBar::createColorAndWidth()
{
    m_colorCombo = new QComboBox(this);
    m_colorCombo->setObjectName(QStringLiteral("colorComboBox"));
    m_colorCombo->setFixedSize(38, 38);
    for (const ColorEntry &entry : kColors) {
        const QColor color(entry.color);
        m_colorCombo->addItem(swatch(color), tr(entry.name), color);
    }
    m_colorCombo->setToolTip(tr("Choose color"));
    m_colorCombo->setStatusTip(tr("Choose color"));
    connect(m_colorCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ToolBar::colorChanged);
    fitColorList();

    m_widthSpin = new QSpinBox(this);
    m_widthSpin->setObjectName(QStringLiteral("widthSpinBox"));
    m_widthSpin->setFixedSize(80, 20);
    m_widthSpin->setRange(1, 50);
    m_widthSpin->setValue(8);
    m_widthSpin->setPrefix(tr("Width "));
    connect(m_widthSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &ToolBar::lineSizeChanged);
}

QToolButton *ToolBar::makeButton(QAction *action)
{
    auto *button = new QToolButton(this);
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setIconSize(QSize(32, 32));
    button->setDefaultAction(action);
    button->setStatusTip(withoutMnemonic(action->text()));
    button->hide(); // placed (and shown) by arrangePanels()
    m_buttons << button;
    m_buttonOf.insert(action, button);
    return button;
}

void ToolBar::arrangePanels()
{
    auto makePanel = [this]() {
        auto *panel = new QWidget(this);
        panel->setMaximumWidth(kPanelMaxWidth);
        auto *grid = new QGridLayout(panel);
        return qMakePair(panel, grid);
    };
    auto place = [this](QGridLayout *grid, QAction *action, int row, int column) {
        QToolButton *button = m_buttonOf.value(action);
        grid->addWidget(button, row, column);
        button->show();
    };

    auto command = makePanel();
    command.first->setObjectName(QStringLiteral("commandPanel"));
    place(command.second, openProjectAct, 0, 0);
    place(command.second, openPictureAct, 0, 1);
    place(command.second, saveCurrentImageAct, 1, 0);
    place(command.second, rollAct, 1, 1);
    place(command.second, projectInfoAct, 2, 0);
    place(command.second, magneticDeclinationAct, 2, 1);
    place(command.second, exportReportAct, 3, 0);
    addWidget(command.first);
    addSeparator();

    auto drawing = makePanel();
    drawing.first->setObjectName(QStringLiteral("drawingPanel"));
    place(drawing.second, arrowAct, 0, 0);
    place(drawing.second, lineAct, 0, 1);
    place(drawing.second, penAct, 1, 0);
    place(drawing.second, textAct, 1, 1);
    place(drawing.second, angleAct, 2, 0);
    place(drawing.second, fitCurveAct, 2, 1);
    place(drawing.second, rulerAct, 3, 0);
    place(drawing.second, deleteAct, 3, 1);
    place(drawing.second, measureLengthAct, 4, 0);
    place(drawing.second, measureAngleAct, 4, 1);
    place(drawing.second, markLithologyAct, 5, 0);
    place(drawing.second, irregularAct, 5, 1);
    drawing.second->addWidget(m_colorCombo, 6, 0);
    place(drawing.second, gridLinesAct, 6, 1);
    place(drawing.second, structurePickAct, 7, 0);
    addWidget(drawing.first);

    auto width = makePanel();
    width.first->setObjectName(QStringLiteral("widthPanel"));
    width.second->addWidget(m_widthSpin, 0, 0);
    addWidget(width.first);
    m_drawingPanel = drawing.first;
    m_widthPanel = width.first;
    fitWidthBox();
    addSeparator();

    // Shortcuts only work for actions on a visible widget. The actions whose
    // buttons are not placed (Dip, Correction, Diameter correction, Show 3D,
    // and Save as / Save original image without a button) are also attached to
    // the command panel so that their keys work without a menu.
    command.first->addActions(m_fileActions + m_editActions + m_toolActions);
}

void ToolBar::fitWidthBox()
{
    // At 80 pixels the box cuts off its value ("Width 5" for 50). It spans the
    // button columns of the drawing panel, and is wider still when the prefix
    // and the largest value need it; the width panel's side margins give way
    // so that the panel keeps to its 110 pixels.
    const QMargins drawingMargins = m_drawingPanel->layout()->contentsMargins();
    const int columns = m_drawingPanel->sizeHint().width() - drawingMargins.left()
        - drawingMargins.right();
    const int wanted = std::max({80, columns, m_widthSpin->sizeHint().width()});
    const int boxWidth = std::min(wanted, kPanelMaxWidth);
    m_widthSpin->setFixedWidth(boxWidth);
    QMargins margins = m_widthPanel->layout()->contentsMargins();
    const int side = std::min(drawingMargins.left(), std::max(0, (kPanelMaxWidth - boxWidth) / 2));
    margins.setLeft(side);
    margins.setRight(side);
    m_widthPanel->layout()->setContentsMargins(margins);
}

bool ToolBar::fileActionInMenu(int index) const
{
    return m_fileInMenu.value(index, false);
}

bool ToolBar::editActionInMenu(int index) const
{
    return m_editInMenu.value(index, false);
}

Mode ToolBar::modeOf(QAction *action) const
{
    return m_modes.value(action, Pointer);
}

void ToolBar::handleCancelInsertItem()
{
    currentMode = Pointer;
    CancelCheckedBtn();
}

void ToolBar::handleItemInserted(QGraphicsItem *insertedItem)
{
    Q_UNUSED(insertedItem);
    currentMode = Pointer;
    CancelCheckedBtn();
}

void ToolBar::handleShow3DFinish(QStringList)
{
    m_b3DShowing = false;
    show3DAct->setEnabled(true);
}

void ToolBar::CancelCheckedBtn()
{
    // GridLines and the commands are never checked; only the tool in use is.
    if (m_currentTool) {
        m_currentTool->setChecked(false);
        m_currentTool = nullptr;
    }
}

void ToolBar::toolChanged()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (readingInProgress) {
        // The click has already toggled the button; undo that so the check
        // marks keep showing the tool that is still in use.
        if (action)
            action->setChecked(action == m_currentTool);
        QMessageBox box(QMessageBox::Information, tr("Prompt"), tr("Working now, Please Waiting!"),
                        QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(tr("Ok"));
        box.exec();
        return;
    }
    if (action && action == m_currentTool) {
        m_currentTool->setChecked(false);
        m_currentTool = nullptr;
        // Leaving a tool ends what it was building, as a right click does: a
        // half-built ruler, curve, outline, angle or dip lets go of the mouse.
        emit signalToolRealChanged();
        currentMode = Pointer;
        return;
    }
    CancelCheckedBtn();
    m_currentTool = action;
    if (m_currentTool)
        m_currentTool->setChecked(true);
    emit signalToolRealChanged();
    currentMode = modeOf(action);
}

void ToolBar::colorChanged(int index)
{
    ItemStyle::instance()->setColor(m_colorCombo->itemData(index).value<QColor>());
}

void ToolBar::lineSizeChanged(int lineWidth)
{
    ItemStyle::instance()->setLineWidth(lineWidth);
}

void ToolBar::fillColorTexts()
{
    int i = 0;
    for (const ColorEntry &entry : kColors) {
        if (i < m_colorCombo->count())
            m_colorCombo->setItemText(i, tr(entry.name));
        ++i;
    }
    fitColorList();
}

void ToolBar::fitColorList()
{
    // The box is as narrow as a button; its list is made wide enough for the
    // whole colour names, which would otherwise be cut short ("y…w").
    QAbstractItemView *list = m_colorCombo->view();
    const int frame = 2 * list->frameWidth();
    list->setMinimumWidth(list->sizeHintForColumn(0) + frame);
}

void ToolBar::OnRetranslate()
{
    auto retranslate = [this](const QList<QAction *> &actions, const ActionText *texts) {
        for (int i = 0; i < actions.size(); ++i) {
            actions.at(i)->setText(tr(texts[i].text));
            actions.at(i)->setToolTip(tr(texts[i].tip));
            if (QToolButton *button = m_buttonOf.value(actions.at(i)))
                button->setStatusTip(withoutMnemonic(actions.at(i)->text()));
        }
    };
    retranslate(m_fileActions, kFileTexts);
    retranslate(m_editActions, kEditTexts);
    retranslate(m_toolActions, kToolTexts);

    m_colorCombo->setToolTip(tr("Choose color"));
    m_colorCombo->setStatusTip(tr("Choose color"));
    fillColorTexts();
    m_widthSpin->setPrefix(tr("Width "));
    fitWidthBox();
}
