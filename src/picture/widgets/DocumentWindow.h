#pragma once

#include <QWidget>

namespace tracella {

// frmDocument: the window that shows the picture being digitised.
class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    // The image toolbar strip (Picture3).
    QWidget* imageToolbar() const { return imageToolbar_; }

private:
    QWidget* imageToolbar_ = nullptr;
};

} // namespace tracella
