#ifndef CONTRASTDOCK_H
#define CONTRASTDOCK_H

#include <QDockWidget>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class ContrastController;

// Beside the page: brightness, contrast and gamma sliders, the automatic
// stretch and the dynamic normalisation with its window in metres. A change
// reaches the page after a short pause, so that dragging a slider does not
// redo the page for every step.
class ContrastDock : public QDockWidget
{
    Q_OBJECT

public:
    explicit ContrastDock(ContrastController *controller, QWidget *parent = nullptr);

    QSlider *brightnessSlider() const { return m_brightness; }
    QSlider *contrastSlider() const { return m_contrast; }
    QSlider *gammaSlider() const { return m_gamma; }
    QCheckBox *autoStretchBox() const { return m_autoStretch; }
    QCheckBox *normalisationBox() const { return m_normalise; }
    QDoubleSpinBox *windowBox() const { return m_window; }

public slots:
    // Hands the dock's setting to the controller now.
    void applyNow();
    // Back to the picture as it was read.
    void reset();
    void OnRetranslate();

private:
    void scheduleApply();
    void showValues();

    ContrastController *m_controller = nullptr;
    QSlider *m_brightness = nullptr;
    QSlider *m_contrast = nullptr;
    QSlider *m_gamma = nullptr;
    QLabel *m_brightnessLabel = nullptr;
    QLabel *m_contrastLabel = nullptr;
    QLabel *m_gammaLabel = nullptr;
    QLabel *m_brightnessValue = nullptr;
    QLabel *m_contrastValue = nullptr;
    QLabel *m_gammaValue = nullptr;
    QCheckBox *m_autoStretch = nullptr;
    QCheckBox *m_normalise = nullptr;
    QLabel *m_windowLabel = nullptr;
    QDoubleSpinBox *m_window = nullptr;
    QPushButton *m_reset = nullptr;
    QTimer *m_timer = nullptr;
};

#endif // CONTRASTDOCK_H
