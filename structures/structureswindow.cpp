#include "structureswindow.h"

#include "roseplot.h"
#include "stereonetplot.h"
#include "holesurveystore.h"
#include "structurepickstore.h"
#include "tadpoleplot.h"
#include "trueorientation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

StructuresWindow::StructuresWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    m_tabs = new QTabWidget(this);
    m_stereonet = new StereonetPlot;
    m_rose = new RosePlot;
    m_tadpole = new TadpolePlot;
    m_tabs->addTab(m_stereonet, QString());
    m_tabs->addTab(m_rose, QString());
    m_tabs->addTab(m_tadpole, QString());

    m_from = new QDoubleSpinBox;
    m_to = new QDoubleSpinBox;
    for (QDoubleSpinBox *box : {m_from, m_to}) {
        box->setDecimals(2);
        box->setRange(0.0, 0.0);
        box->setSuffix(QStringLiteral(" m"));
        box->setKeyboardTracking(false);
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, &StructuresWindow::reload);
    }
    m_greatCircles = new QCheckBox;
    connect(m_greatCircles, &QCheckBox::toggled, m_stereonet, &StereonetPlot::setGreatCircles);
    m_meanOf = new QComboBox;
    // As wide as its longest entry in the language shown.
    m_meanOf->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_meanOf, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &StructuresWindow::applySelection);
    auto *exportButton = new QPushButton;
    exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(exportButton, &QPushButton::clicked, this, &StructuresWindow::exportCurrentPlot);

    auto *row = new QHBoxLayout;
    auto *fromLabel = new QLabel;
    fromLabel->setObjectName(QStringLiteral("fromLabel"));
    auto *toLabel = new QLabel;
    toLabel->setObjectName(QStringLiteral("toLabel"));
    auto *meanLabel = new QLabel;
    meanLabel->setObjectName(QStringLiteral("meanLabel"));
    row->addWidget(fromLabel);
    row->addWidget(m_from);
    row->addWidget(toLabel);
    row->addWidget(m_to);
    row->addWidget(m_greatCircles);
    row->addWidget(meanLabel);
    row->addWidget(m_meanOf);
    row->addStretch(1);
    row->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_tabs, 1);
    resize(720, 640);
    OnRetranslate();
}

void StructuresWindow::OnRetranslate()
{
    setWindowTitle(tr("Structures"));
    m_tabs->setTabText(0, tr("Stereonet"));
    m_tabs->setTabText(1, tr("Rose diagram"));
    m_tabs->setTabText(2, tr("Tadpole plot"));
    findChild<QLabel *>(QStringLiteral("fromLabel"))->setText(tr("From:"));
    findChild<QLabel *>(QStringLiteral("toLabel"))->setText(tr("To:"));
    findChild<QLabel *>(QStringLiteral("meanLabel"))->setText(tr("Mean of:"));
    findChild<QPushButton *>(QStringLiteral("exportButton"))->setText(tr("Export..."));
    m_greatCircles->setText(tr("Great circles"));
    const int index = qMax(0, m_meanOf->currentIndex());
    const QSignalBlocker block(m_meanOf);
    m_meanOf->clear();
    m_meanOf->addItem(tr("all picks"), QString());
    for (const QString &type : StructurePick::types())
        m_meanOf->addItem(StructurePick::typeName(type), type);
    m_meanOf->setCurrentIndex(index);
}

void StructuresWindow::setProject(const QString &path, double from, double to)
{
    m_projectPath = path;
    setWindowTitle(tr("Structures") + QStringLiteral(" - ") + QFileInfo(path).fileName());
    {
        const QSignalBlocker a(m_from);
        const QSignalBlocker b(m_to);
        for (QDoubleSpinBox *box : {m_from, m_to})
            box->setRange(from / 10000.0, to / 10000.0);
        m_from->setValue(from / 10000.0);
        m_to->setValue(to / 10000.0);
    }
    reload();
}

void StructuresWindow::reload()
{
    const double from = m_from->value() * 10000.0;
    const double to = m_to->value() * 10000.0;
    // True orientations where the project has a hole survey.
    const TrueOrientation orientation(m_projectPath.isEmpty() ? HoleSurvey()
                                                              : HoleSurveyStore(m_projectPath).read());
    m_picks = m_projectPath.isEmpty() ? QVector<StructurePick>()
                                      : orientation.corrected(StructurePickStore(m_projectPath).picks(from, to));
    for (StructurePlot *plot : {static_cast<StructurePlot *>(m_stereonet),
                                static_cast<StructurePlot *>(m_rose),
                                static_cast<StructurePlot *>(m_tadpole)}) {
        plot->setTrueOrientation(orientation.isActive());
        plot->setPicks(m_picks);
    }
    m_tadpole->setDepthRange(from, to);
    applySelection();
}

void StructuresWindow::applySelection()
{
    const QString type = m_meanOf->currentData().toString();
    QVector<int> selection;
    // Indices among the picks the plots show: those with valid values.
    int shown = 0;
    for (const StructurePick &p : qAsConst(m_picks)) {
        if (!p.isValid())
            continue;
        if (type.isEmpty() || p.type == type)
            selection.append(shown);
        ++shown;
    }
    // An empty selection of a type means no mean: select nothing that exists.
    if (selection.isEmpty() && !type.isEmpty())
        selection.append(-1);
    m_stereonet->setSelection(selection);
}

StructurePlot *StructuresWindow::currentPlot() const
{
    return qobject_cast<StructurePlot *>(m_tabs->currentWidget());
}

void StructuresWindow::exportCurrentPlot()
{
    StructurePlot *plot = currentPlot();
    if (!plot)
        return;
    QString selected;
    const QString path = QFileDialog::getSaveFileName(this, tr("Export plot"), QString(),
                                                      tr("PNG picture (*.png);;SVG drawing (*.svg)"),
                                                      &selected);
    if (path.isEmpty())
        return;
    QString target = path;
    if (QFileInfo(target).suffix().isEmpty())
        target += selected.contains(QLatin1String("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    QString why;
    if (!plot->exportTo(target, QSize(800, 800), &why))
        QMessageBox::warning(this, tr("Warning"),
                             tr("The plot could not be written to \"%1\": %2.").arg(target, why));
}
