#include "fileinfowidget.h"

#include "mouselabel.h"
#include "projectinfo.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace {

// Range of the start and end boxes while no project is open, in metres.
constexpr int kEmptyRangeTop = 0;
constexpr int kEmptyRangeBottom = 500;
// The start and end boxes show centimetres: 100 depth units.
constexpr int kUnitsPerStep = 100;
constexpr int kDecimals = 2;

template <class Spin>
Spin *makeMetreSpin(QWidget *parent, double minimum, double maximum, const char *name)
{
    auto *spin = new Spin(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setSuffix(QStringLiteral(" m"));
    spin->setSingleStep(1);
    spin->setRange(minimum, maximum);
    spin->setFixedWidth(80);
    return spin;
}

// Depth in metres rounded down / up to the boxes' precision.
double metresDown(int depth)
{
    return std::floor(depth / double(kUnitsPerStep)) * kUnitsPerStep / 10000.0;
}

double metresUp(int depth)
{
    return std::ceil(depth / double(kUnitsPerStep)) * kUnitsPerStep / 10000.0;
}

int depthOf(const QDoubleSpinBox *spin)
{
    return int(std::lround(spin->value() * 10000.0));
}

// 80 pixels, or wider when the deepest value would not fit.
void setMetreRange(QDoubleSpinBox *spin, double low, double high)
{
    spin->setRange(low, high);
    spin->setFixedWidth(std::max(80, spin->minimumSizeHint().width()));
}

} // namespace

FileInfoWidget::FileInfoWidget(QWidget *parent)
    : QWidget(parent)
    , m_startText(QStringLiteral("0"))
    , m_separatorText(QStringLiteral(" --- "))
    , m_endText(QStringLiteral("0"))
{
    m_rangeTitle = new QLabel(this);
    m_rangeValue = new QLabel(this);
    m_rangeValue->setObjectName(QStringLiteral("rangeText"));
    m_rangeValue->setMinimumWidth(100);
    m_currentTitle = new QLabel(this);

    startSpin = makeMetreSpin<QDoubleSpinBox>(this, kEmptyRangeTop, kEmptyRangeBottom, "startSpin");
    startSpin->setDecimals(kDecimals);
    setMetreRange(startSpin, kEmptyRangeTop, kEmptyRangeBottom);
    m_currentTitle->setBuddy(startSpin);
    m_separator = new QLabel(QStringLiteral("---"), this);
    endSpin = makeMetreSpin<QDoubleSpinBox>(this, kEmptyRangeTop, kEmptyRangeBottom, "endSpin");
    endSpin->setDecimals(kDecimals);
    setMetreRange(endSpin, kEmptyRangeTop, kEmptyRangeBottom);
    endSpin->setValue(5);
    m_pageTitle = new QLabel(this);
    pageDepthSpin = makeMetreSpin<QSpinBox>(this, 1, 50, "pageDepthSpin");

    m_goButton = new QPushButton(this);
    m_goButton->setObjectName(QStringLiteral("goButton"));
    m_stopButton = new QPushButton(this);
    m_stopButton->setObjectName(QStringLiteral("stopButton"));
    m_lastButton = new QPushButton(this);
    m_lastButton->setObjectName(QStringLiteral("previousButton"));
    m_nextButton = new QPushButton(this);
    m_nextButton->setObjectName(QStringLiteral("nextButton"));

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_rangeTitle);
    layout->addWidget(m_rangeValue);
    layout->addSpacing(10);
    layout->addWidget(m_currentTitle);
    layout->addWidget(startSpin);
    layout->addWidget(m_separator);
    layout->addWidget(endSpin);
    layout->addWidget(m_pageTitle);
    layout->addWidget(pageDepthSpin);
    layout->addStretch();
    layout->addWidget(m_goButton);
    layout->addWidget(m_stopButton);
    layout->addWidget(m_lastButton);
    layout->addWidget(m_nextButton);

    // A reversed or empty range is refused here, before the page on screen
    // is given up for it.
    connect(m_goButton, &QPushButton::pressed, this, [this] {
        if (endDepth() <= startDepth()) {
            QMessageBox::warning(window(), tr("Warning"),
                                 tr("The end depth must be below the start depth."));
            return;
        }
        emit goPressed();
    });
    connect(m_stopButton, &QPushButton::pressed, this, &FileInfoWidget::signalStopPressed);
    connect(m_lastButton, &QPushButton::pressed, this, &FileInfoWidget::signalLastPressed);
    connect(m_nextButton, &QPushButton::pressed, this, &FileInfoWidget::signalNextPressed);
    connect(startSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double metres) { emit startValueChanged(int(std::floor(metres))); });
    connect(endSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double metres) { emit endValueChanged(int(std::floor(metres))); });

    updateRangeLabel();
    OnRetranslate();
}

void FileInfoWidget::installAsNavigationPanel()
{
    ProjectInfo::setPanelFactory([]() -> NavigationPanel * { return new FileInfoWidget; });
}

FileInfoWidget *FileInfoWidget::instance()
{
    return dynamic_cast<FileInfoWidget *>(ProjectInfo::instance()->fileInfoWidget());
}

void FileInfoWidget::setStartValue(int metres)
{
    startSpin->setValue(metres);
}

void FileInfoWidget::setEndValue(int metres)
{
    endSpin->setValue(metres);
}

int FileInfoWidget::startValue() const
{
    return int(std::floor(startSpin->value()));
}

int FileInfoWidget::endValue() const
{
    return int(std::ceil(endSpin->value()));
}

void FileInfoWidget::setStartDepth(int depth)
{
    startSpin->setValue(metresDown(depth));
}

void FileInfoWidget::setEndDepth(int depth)
{
    endSpin->setValue(metresUp(depth));
}

int FileInfoWidget::startDepth() const
{
    return depthOf(startSpin);
}

int FileInfoWidget::endDepth() const
{
    return depthOf(endSpin);
}

void FileInfoWidget::setDepthRange(int top, int bottom)
{
    const double low = metresDown(top);
    const double high = std::max(low, metresUp(bottom));
    setMetreRange(startSpin, low, high);
    setMetreRange(endSpin, low, high);
}

int FileInfoWidget::pageDepth() const
{
    return pageDepthSpin->value() * 10000;
}

void FileInfoWidget::setStartText(int depth)
{
    m_startText = QString::number(depth / 10.0, 'f', 0);
    updateRangeLabel();
}

void FileInfoWidget::setEndText(int depth)
{
    m_endText = QString::number(depth / 10.0, 'f', 0);
    updateRangeLabel();
}

void FileInfoWidget::reset()
{
    m_startText = QStringLiteral("0");
    m_separatorText = QStringLiteral(" --- ");
    m_endText = QStringLiteral("0");
    updateRangeLabel();
    setMetreRange(startSpin, kEmptyRangeTop, kEmptyRangeBottom);
    setMetreRange(endSpin, kEmptyRangeTop, kEmptyRangeBottom);
    startSpin->setValue(0);
    endSpin->setValue(5);
    pageDepthSpin->setValue(5);
    // The project is closed or another one opens: the position under the
    // cursor belonged to the old page.
    MouseLabel::instance()->clearPosition();
}

void FileInfoWidget::handleEditingFinished(QString)
{
    m_goButton->setEnabled(true);
}

void FileInfoWidget::OnRetranslate()
{
    m_rangeTitle->setText(tr("depth range(mm):"));
    m_currentTitle->setText(tr("Current:"));
    m_pageTitle->setText(tr("Page depth:"));
    m_goButton->setText(tr("Go"));
    m_stopButton->setText(tr("Stop"));
    m_lastButton->setText(tr("Previous"));
    m_nextButton->setText(tr("Next"));
}

void FileInfoWidget::updateRangeLabel()
{
    m_rangeValue->setText(rangeText());
}
