#include "info/widgets/TipWindow.h"

#include "app/widgets/AppContext.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tracella {
namespace {

QString lines(std::initializer_list<const char*> parts)
{
    QStringList list;
    for (const char* p : parts)
        list << QString::fromLatin1(p);
    return list.join(QStringLiteral("\r\n"));
}

QStringList stepTexts()
{
    return {
        lines({"1. Get the picture that you want to digitize using one of the following methods:",
               "a)  Load an existing image file (*.bmp, *.ico, *.jpg, *.gif): (CTRL+L)",
               "b)  Paste an image from the clipboard: (CTRL+V)",
               "c)  Capture an image from another program: (CTRL+T)",
               "d)  Use Scanner to get image from a hard copy: (CTRL+R)", "",
               "Any of these options can be found in the main menu under Picture or using the Toolbar."}),
        lines({"2. Go to the Options window to set the type of axis in case any or both of them are Logarithmic.", "",
               "Options can be found in the main menu under File or using keyboard CTRL+O"}),
        lines({"3. Scale: This is done so Tracella will read the points in the same scale that your data is plotted.",
               "", "Scale can be found in the main menu under Picture or using keyboard CTRL+M"}),
        lines({"4. Read data points.", "", "*  Click on the image to save the coordinates of the selected point.",
               "*  If your data points have colors different that any other part of the picture then Tracella will "
               "recognize these points for you.  In the Options window you can select the color of your points and "
               "then just click AutoRead to obtain the values.",
               "*  After selecting some points you can use interpolation to generate more points over the curve that "
               "you are digitizing."}),
        lines({"5. Edit Data.", "", "If you have chosen a wrong point or you want to remove some chosen points.",
               "Use your mouse to highlight rows of data in the table for deletion."}),
        lines({"6.  Save Data to file or clipboard.", "",
               "You can save your data in a regular text file that can be recognized by any text editor or "
               "spreadsheet program."}),
    };
}

} // namespace

TipWindow::TipWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Step by Step"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tracella.png")));

    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("Picture1"));
    box->setAutoFillBackground(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    auto* heading = new QLabel(QStringLiteral("Recommended Procedure..."), box);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    lblTipText_ = new QLabel(box);
    lblTipText_->setObjectName(QStringLiteral("lblTipText"));
    lblTipText_->setWordWrap(true);
    lblTipText_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblTipText_->setMinimumSize(330, 170);
    auto* icon = new QLabel(box);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/tracella.png")).pixmap(32, 32));
    auto* boxLayout = new QGridLayout(box);
    boxLayout->addWidget(icon, 0, 0, Qt::AlignTop);
    boxLayout->addWidget(heading, 0, 1);
    boxLayout->addWidget(lblTipText_, 1, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* next = new QPushButton(QStringLiteral("&Next Step"), this);
    next->setObjectName(QStringLiteral("cmdNextTip"));
    auto* help = new QPushButton(QStringLiteral(" &Help"), this);
    help->setObjectName(QStringLiteral("cmdHelp"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(next);
    buttons->addWidget(help);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(box, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TipWindow::closeRequested);
    connect(next, &QPushButton::clicked, this, &TipWindow::ShowNextStep);
    connect(help, &QPushButton::clicked, this, [] { RunCommand(QStringLiteral("mnuHelpContents")); });

    tips_ = stepTexts();
    step_ = 1;
    DisplayCurrentTip();
}

QString TipWindow::currentText() const
{
    return lblTipText_->text();
}

void TipWindow::DisplayCurrentTip()
{
    if (!tips_.isEmpty())
        lblTipText_->setText(tips_.at(step_ - 1));
}

void TipWindow::ShowNextStep()
{
    step_ += 1;
    if (step_ > tips_.size())
        step_ = 1;
    DisplayCurrentTip();
}

void TipWindow::keyPressEvent(QKeyEvent* event)
{
    // OK is both the default and the cancel button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit closeRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TipWindow::closeEvent(QCloseEvent* event)
{
    event->ignore(); // the guide command owns unloading
    emit closeRequested();
}

} // namespace tracella
