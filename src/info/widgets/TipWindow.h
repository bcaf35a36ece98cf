#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tracella {

// frmTip: the step-by-step guide, one step's text at a time.
class TipWindow : public QWidget {
    Q_OBJECT
public:
    explicit TipWindow(QWidget* parent = nullptr);

    int currentStep() const { return step_; }
    QString currentText() const;

    void DisplayCurrentTip();
    void ShowNextStep();

signals:
    // OK, Enter, Esc or the close box: the window is unloaded.
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QStringList tips_;
    int step_ = 1;
    QLabel* lblTipText_ = nullptr;
};

} // namespace tracella
