#pragma once

#include <QDialog>

class QLabel;

namespace tracella {

// frmAbout: the version record, the scanner library's version, the warranty
// notice, a mail link to the authors and the system information program.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // cmdSysInfo: the first system information program of the desktop.
    void StartSysInfo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void picIcon_Click();
    void MyUrl_Click();

    QLabel* picIcon_ = nullptr;
    QLabel* myUrl_ = nullptr;
};

} // namespace tracella
