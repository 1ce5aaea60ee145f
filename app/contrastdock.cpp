#include "contrastdock.h"

#include "contrastcontroller.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Slider positions are hundredths of the setting.
QSlider *makeSlider(int minimum, int maximum, int value)
{
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    slider->setPageStep(10);
    return slider;
}

} // namespace

ContrastDock::ContrastDock(ContrastController *controller, QWidget *parent)
    : QDockWidget(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("contrastDock"));
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(150);
    connect(m_timer, &QTimer::timeout, this, &ContrastDock::applyNow);

    m_brightness = makeSlider(-100, 100, 0);
    m_contrast = makeSlider(10, 400, 100);
    m_gamma = makeSlider(20, 500, 100);
    m_brightnessLabel = new QLabel;
    m_contrastLabel = new QLabel;
    m_gammaLabel = new QLabel;
    m_brightnessValue = new QLabel;
    m_contrastValue = new QLabel;
    m_gammaValue = new QLabel;
    m_autoStretch = new QCheckBox;
    m_normalise = new QCheckBox;
    m_windowLabel = new QLabel;
    m_window = new QDoubleSpinBox;
    m_window->setDecimals(2);
    m_window->setRange(0.05, 10.0);
    m_window->setSingleStep(0.1);
    m_window->setValue(controller->windowMetres());
    m_window->setSuffix(QStringLiteral(" m"));
    m_window->setKeyboardTracking(false);
    m_reset = new QPushButton;

    auto *grid = new QGridLayout;
    grid->addWidget(m_brightnessLabel, 0, 0);
    grid->addWidget(m_brightness, 0, 1);
    grid->addWidget(m_brightnessValue, 0, 2);
    grid->addWidget(m_contrastLabel, 1, 0);
    grid->addWidget(m_contrast, 1, 1);
    grid->addWidget(m_contrastValue, 1, 2);
    grid->addWidget(m_gammaLabel, 2, 0);
    grid->addWidget(m_gamma, 2, 1);
    grid->addWidget(m_gammaValue, 2, 2);
    grid->addWidget(m_autoStretch, 3, 0, 1, 3);
    grid->addWidget(m_normalise, 4, 0, 1, 3);
    grid->addWidget(m_windowLabel, 5, 0);
    grid->addWidget(m_window, 5, 1, 1, 2);
    auto *holder = new QWidget;
    auto *layout = new QVBoxLayout(holder);
    layout->addLayout(grid);
    layout->addWidget(m_reset);
    layout->addStretch(1);
    setWidget(holder);

    for (QSlider *slider : {m_brightness, m_contrast, m_gamma})
        connect(slider, &QSlider::valueChanged, this, &ContrastDock::scheduleApply);
    connect(m_autoStretch, &QCheckBox::toggled, this, &ContrastDock::scheduleApply);
    connect(m_normalise, &QCheckBox::toggled, this, &ContrastDock::scheduleApply);
    connect(m_normalise, &QCheckBox::toggled, m_window, &QWidget::setEnabled);
    connect(m_window, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &ContrastDock::scheduleApply);
    connect(m_reset, &QPushButton::clicked, this, &ContrastDock::reset);
    m_window->setEnabled(false);
    showValues();
    OnRetranslate();
}

void ContrastDock::OnRetranslate()
{
    setWindowTitle(tr("Wall contrast"));
    m_brightnessLabel->setText(tr("Brightness"));
    m_contrastLabel->setText(tr("Contrast"));
    m_gammaLabel->setText(tr("Gamma"));
    m_autoStretch->setText(tr("Automatic stretch"));
    m_autoStretch->setToolTip(tr("Stretch the tones of each piece between its darkest and brightest 1 %"));
    m_normalise->setText(tr("Dynamic normalisation"));
    m_normalise->setToolTip(tr("Equalise the tones over a window sliding down the hole"));
    m_windowLabel->setText(tr("Window"));
    m_reset->setText(tr("Reset"));
}

void ContrastDock::scheduleApply()
{
    showValues();
    m_timer->start();
}

void ContrastDock::showValues()
{
    m_brightnessValue->setText(QString::number(m_brightness->value() / 100.0, 'f', 2));
    m_contrastValue->setText(QString::number(m_contrast->value() / 100.0, 'f', 2));
    m_gammaValue->setText(QString::number(m_gamma->value() / 100.0, 'f', 2));
}

void ContrastDock::applyNow()
{
    m_timer->stop();
    WallContrast c = m_controller->contrast();
    c.brightness = m_brightness->value() / 100.0;
    c.contrast = m_contrast->value() / 100.0;
    c.gamma = m_gamma->value() / 100.0;
    c.autoStretch = m_autoStretch->isChecked();
    c.dynamicNormalisation = m_normalise->isChecked();
    m_controller->setSetting(c, m_window->value());
}

void ContrastDock::reset()
{
    const QSignalBlocker a(m_brightness);
    const QSignalBlocker b(m_contrast);
    const QSignalBlocker c(m_gamma);
    const QSignalBlocker d(m_autoStretch);
    const QSignalBlocker e(m_normalise);
    m_brightness->setValue(0);
    m_contrast->setValue(100);
    m_gamma->setValue(100);
    m_autoStretch->setChecked(false);
    m_normalise->setChecked(false);
    m_window->setEnabled(false);
    showValues();
    applyNow();
}
