#pragma once

#include "app/services/Services.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;
class QSpinBox;
class QTimer;

namespace tracella {

// The page chooser of a PDF import: thumbnails of the pages, drawn only as
// they come into sight, one at a time so the window stays responsive; the
// page number; the resolution, with a note when the page is too large for it.
class PageChooserDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int ThumbnailSide = 128;

    PageChooserDialog(const PageSource& pages, const QString& title, int dpi, QWidget* parent = nullptr);

    PageChoice choice() const;
    void setPage(int page);   // 0-based
    void setDpi(int dpi);
    QString resolutionNote() const;
    // How many thumbnails have been drawn so far.
    int thumbnailsDrawn() const { return drawn_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawNextThumbnail();
    void showNote();

    const PageSource& pages_;
    QListWidget* lstPages_ = nullptr;
    QSpinBox* txtPage_ = nullptr;
    QSpinBox* txtResolution_ = nullptr;
    QLabel* lblNote_ = nullptr;
    QTimer* thumbnails_ = nullptr;
    std::vector<bool> hasThumbnail_;
    int drawn_ = 0;
};

// The Qt page chooser: the dialog above, modal.
PageChooserService& QtPageChooser();

} // namespace tracella
