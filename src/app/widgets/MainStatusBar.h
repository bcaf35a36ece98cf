#pragma once

#include <QStatusBar>

#include <optional>

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
    void showPendingTexts();

    QLabel* panels_[6] = {};
    // Texts written since events last ran; shown together when they next do.
    std::optional<QString> pending_[6];
    bool showQueued_ = false;
    QTimer* clock_ = nullptr;
};

} // namespace tracella
