#pragma once

class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace tracella {

class DotSample;

// The controls of frmOptions, named as the window names them.
struct OptionsControls {
    QTabWidget* tbsOptions = nullptr;

    // "Axis"
    QLineEdit* TxtRadius = nullptr;
    DotSample* PictureSample = nullptr;
    QFrame* framePointsColor = nullptr;
    QPushButton* cmdPointsColor = nullptr;
    QFrame* frameScaleColor = nullptr;
    QPushButton* cmdScaleColor = nullptr;
    QCheckBox* CheckXLog = nullptr;
    QCheckBox* CheckYLog = nullptr;
    QLabel* Label1 = nullptr;

    // "AutoRead"
    QFrame* frameARdataColor = nullptr;
    QPushButton* cmdARdataColor = nullptr;
    QFrame* frameARpointColor = nullptr;
    QPushButton* cmdARpointColor = nullptr;
    QLineEdit* TxtRows = nullptr;
    QLineEdit* TxtCols = nullptr;
    QPushButton* cmdPicSizeInfo = nullptr;
    QCheckBox* chkGrid = nullptr;

    // "Interpolation"
    QFrame* frameSplineColor = nullptr;
    QPushButton* cmdSplineColor = nullptr;
    QRadioButton* optSplineX = nullptr;
    QRadioButton* optSplineY = nullptr;
    QLineEdit* txtSplinePoints = nullptr;

    // "Pointers"
    QCheckBox* checkESCundo = nullptr;
    QSlider* Slider = nullptr;
    QLabel* ImagePointer = nullptr;

    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Lays out the four pages under the tab strip and the two buttons below it.
void BuildOptionsControls(QDialog& dialog, OptionsControls& c);

} // namespace tracella
