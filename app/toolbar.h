#ifndef TOOLBAR_H
#define TOOLBAR_H

#include <QHash>
#include <QList>
#include <QStringList>
#include <QToolBar>

#include "mode.h"

class QAction;
class QComboBox;
class QGraphicsItem;
class QSpinBox;
class QToolButton;

// The main tool bar: command, drawing and width panels stacked in the left
// tool-bar area. Tool actions set the current tool mode; command actions are
// forwarded as signals to the main window. The main window builds its File
// and Edit menus from fileGroupActions()/editGroupActions() and the menu flags.
class ToolBar : public QToolBar
{
    Q_OBJECT
public:
    // Indexes into the three action groups, in group order.
    enum FileIndex { OpenProject, OpenPicture, SaveCurrentImage, SaveOriginalImage, SaveAs, ExportReport };
    enum EditIndex { Roll, DeleteItem, ProjectInformation, Correction, MagneticDeclination,
                     DiameterCorrection, Show3D };
    enum ToolIndex { Pen, Line, MeasureLen, MeasureAng, MarkLith, SolidArrow, AngleTool, Dip,
                     FitCurveTool, Ruler, Text, Irregular, GridLines, StructurePickTool };

    explicit ToolBar(const QString &title, QWidget *parent = nullptr);

    // Menu building.
    QList<QAction *> fileGroupActions() const { return m_fileActions; }
    QList<QAction *> editGroupActions() const { return m_editActions; }
    QList<QAction *> toolGroupActions() const { return m_toolActions; }
    QList<bool> fileGroupMenuFlags() const { return m_fileInMenu; }
    QList<bool> editGroupMenuFlags() const { return m_editInMenu; }
    bool fileActionInMenu(int index) const;
    bool editActionInMenu(int index) const;

    QAction *fileAction(int index) const { return m_fileActions.value(index); }
    QAction *editAction(int index) const { return m_editActions.value(index); }
    QAction *toolAction(int index) const { return m_toolActions.value(index); }

    // The tool action in use, or none.
    QAction *currentToolAction() const { return m_currentTool; }
    // Mode a tool action selects (Pointer for anything else).
    Mode modeOf(QAction *action) const;

    QComboBox *colorComboBox() const { return m_colorCombo; }
    QSpinBox *widthSpinBox() const { return m_widthSpin; }
    QList<QToolButton *> toolButtons() const { return m_buttons; }
    bool is3DShowing() const { return m_b3DShowing; }

signals:
    void signalToolChanged();
    void signalColorChanged(int);
    void signalOpenPicture();
    void signalOpenProject();
    void signalSaveCurrentImage();
    void signalSaveAs();
    void signalDeleteItem();
    void signalRoll();
    void signalLineSizeChanged(int);
    void projectInfoPressed();
    void correctionsBtnPressed();
    void magneticDeclinationCorrectionBtnPressed();
    void diameterCorrectionBtnPressed();
    void exportReportBtnPressed();
    void signalSaveOriginalImage();
    void signalShowCurrent3DImage();
    void signalToolRealChanged();
    void NotifyShowGridLines();

public slots:
    void handleCancelInsertItem();
    void handleItemInserted(QGraphicsItem *insertedItem);
    void handleShow3DFinish(QStringList);
    void CancelCheckedBtn();
    void toolChanged();
    void colorChanged(int index);
    void lineSizeChanged(int lineWidth);
    void OnRetranslate();

private:
    QAction *makeAction(const char *text, const char *tip, const QString &icon,
                        const QList<QKeySequence> &keys);
    QToolButton *makeButton(QAction *action);
    void createFileGroup();
    void createEditGroup();
    void createToolGroup();
    void createColorAndWidth();
    void arrangePanels();
    void fitWidthBox();
    void fillColorTexts();
    void fitColorList();

    // File group
    QAction *openProjectAct = nullptr;
    QAction *openPictureAct = nullptr;
    QAction *saveCurrentImageAct = nullptr;
    QAction *saveAsAct = nullptr;
    QAction *saveOriginalImageAct = nullptr;
    QAction *exportReportAct = nullptr;
    // Tool group
    QAction *penAct = nullptr;
    QAction *lineAct = nullptr;
    QAction *measureLengthAct = nullptr;
    QAction *measureAngleAct = nullptr;
    QAction *markLithologyAct = nullptr;
    QAction *arrowAct = nullptr;
    QAction *angleAct = nullptr;
    QAction *dipAct = nullptr;
    QAction *fitCurveAct = nullptr;
    QAction *rulerAct = nullptr;
    QAction *textAct = nullptr;
    QAction *irregularAct = nullptr;
    QAction *gridLinesAct = nullptr;
    QAction *structurePickAct = nullptr;
    // Edit group
    QAction *rollAct = nullptr;
    QAction *deleteAct = nullptr;
    QAction *projectInfoAct = nullptr;
    QAction *correctionAct = nullptr;
    QAction *magneticDeclinationAct = nullptr;
    QAction *diameterCorrectionAct = nullptr;
    QAction *show3DAct = nullptr;

    QList<QToolButton *> m_buttons;
    QHash<QAction *, QToolButton *> m_buttonOf;
    QComboBox *m_colorCombo = nullptr;
    QSpinBox *m_widthSpin = nullptr;
    QWidget *m_drawingPanel = nullptr;
    QWidget *m_widthPanel = nullptr;

    QList<QAction *> m_fileActions;
    QList<QAction *> m_editActions;
    QList<QAction *> m_toolActions;
    QList<bool> m_fileInMenu;
    QList<bool> m_editInMenu;

    QAction *m_currentTool = nullptr;
    bool m_b3DShowing = false;

    QHash<QAction *, Mode> m_modes;
};

#endif // TOOLBAR_H
