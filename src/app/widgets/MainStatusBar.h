#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

namespace tracella {

// The six-panel status bar: four text panels, then the date and the time,
// which keep themselves current.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    // Panels are numbered 1 to 6.
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    QLabel* panel(int panel) const;

    void updateClock();

private:
    QLabel* panels_[6] = {};
    QTimer* clock_ = nullptr;
};

} // namespace tracella
