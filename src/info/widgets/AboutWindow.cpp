#include "info/widgets/AboutWindow.h"

#include "acquire/widgets/Scanner.h"
#include "app/services/Services.h"
#include "info/InfoTexts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace tracella {
namespace {

// The system information programs Linux desktops ship, the first found wins.
const QStringList SystemInfoPrograms{QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor"),
                                     QStringLiteral("hardinfo")};

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(LabelText(text), parent);
    label->setObjectName(name);
    return label;
}

// Errors of the scanner library leave the label's bare text.
QString scannerVersionText()
{
    try {
        return ScannerVersionLabel(scanner().Version());
    } catch (...) {
        return ScannerVersionLabel(std::nullopt);
    }
}

bool isLeftClick(QEvent* event)
{
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tracella"));
    setWindowIcon(QIcon(QStringLiteral(":/info/info.png")));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    const VersionRecord& record = ProgramVersion();
    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setPixmap(QPixmap(QStringLiteral(":/info/about.png")));
    picIcon_->setFixedSize(50, 50);
    picIcon_->installEventFilter(this);

    QLabel* title = namedLabel(QStringLiteral("lblTitle"), record.title, this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    title->setFont(big);
    QLabel* version = namedLabel(QStringLiteral("lblVersion"), VersionLine(record), this);
    QLabel* description = namedLabel(QStringLiteral("lblDescription"), AboutDescription(record), this);
    description->setWordWrap(true);
    QLabel* scanVersion = namedLabel(QStringLiteral("lblScanVersion"), scannerVersionText(), this);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    QLabel* disclaimer = namedLabel(QStringLiteral("lblDisclaimer"), WarrantyNotice, this);
    disclaimer->setWordWrap(true);
    QLabel* mailPrompt = namedLabel(QStringLiteral("Label1"),
                                    QStringLiteral("If you have any comments, please click here to send me an e-mail:"),
                                    this);
    myUrl_ = namedLabel(QStringLiteral("MyUrl"), AuthorMailAddress, this);
    QFont link(QStringLiteral("Arial"));
    link.setPointSizeF(9.75);
    link.setUnderline(true);
    myUrl_->setFont(link);
    QPalette blue = myUrl_->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    myUrl_->setPalette(blue);
    myUrl_->setCursor(Qt::BusyCursor);
    myUrl_->installEventFilter(this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::StartSysInfo);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addSpacing(8);
    texts->addWidget(scanVersion);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch();
    auto* bottom = new QGridLayout;
    bottom->addWidget(disclaimer, 0, 0);
    bottom->addWidget(mailPrompt, 1, 0);
    bottom->addWidget(myUrl_, 2, 0);
    bottom->addLayout(buttons, 0, 1, 3, 1);
    bottom->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    description->setMinimumWidth(340);
    disclaimer->setMinimumWidth(340);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picIcon_ && isLeftClick(event)) {
        picIcon_Click();
        return true;
    }
    if (watched == myUrl_ && isLeftClick(event)) {
        MyUrl_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::picIcon_Click()
{
    ShowMessage(QStringLiteral("Do something for free for somebody else... at least give free smiles!"),
                QStringLiteral("Oops"), MessageIcon::Information);
}

void AboutWindow::MyUrl_Click()
{
    services().launcher->openUrl(QUrl(QStringLiteral("MailTo:") + myUrl_->text().trimmed()));
}

void AboutWindow::StartSysInfo()
{
    LauncherService& launcher = *services().launcher;
    const QString program = launcher.findProgram(SystemInfoPrograms);
    if (program.isEmpty() || !launcher.startProgram(program))
        ShowMessage(QStringLiteral("System Information Is Unavailable At This Time"), QString(), MessageIcon::None);
}

} // namespace tracella
