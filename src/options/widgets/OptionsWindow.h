#pragma once

#include "options/widgets/OptionsControls.h"

#include <QDialog>
#include <QPointer>

class QFrame;

namespace tracella {

class PictureSurface;
class SweepGridPreview;

// frmOptions: the modal, tabbed dialog that shows and changes the settings.
// Nothing in the application state changes until "&Do It"; each opening
// is a new dialog filled from the state.
class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    explicit OptionsWindow(QWidget* parent = nullptr);
    ~OptionsWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void connectControls();
    void QueColor(QFrame* swatch);
    void drawDotSample();
    void ShowGrid();
    void cmdPicSizeInfo_Click();
    void Slider_Change(int position);
    void cmdApply_Click();

    OptionsControls c_;
    QPointer<SweepGridPreview> preview_;
};

} // namespace tracella
