#include "app/widgets/HelpWindow.h"

#include "app/services/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tracella {

HelpWindow::HelpWindow(const QString& contentsPage, QWidget* parent)
    : QWidget(parent, Qt::Window), contents_(contentsPage)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tracella Help"));
    resize(820, 600);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("txtHelpSearch"));
    search_->setPlaceholderText(QStringLiteral("Search the help"));
    results_ = new QListWidget(this);
    results_->setObjectName(QStringLiteral("lstHelpResults"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelpPage"));
    browser_->setOpenExternalLinks(true);

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel(QStringLiteral("Search:"), left));
    leftLayout->addWidget(search_);
    leftLayout->addWidget(results_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::runSearch);
    connect(results_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            browser_->setSource(QUrl(results_->item(row)->data(Qt::UserRole).toString()));
    });
}

void HelpWindow::showContents()
{
    browser_->setSource(QUrl(QStringLiteral("qrc") + contents_));
    show();
    raise();
    activateWindow();
}

void HelpWindow::showSearch()
{
    search_->clear();
    results_->clear();
    if (browser_->source().isEmpty())
        browser_->setSource(QUrl(QStringLiteral("qrc") + contents_));
    show();
    raise();
    activateWindow();
    search_->setFocus();
}

void HelpWindow::runSearch()
{
    results_->clear();
    const QStringList words = search_->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    const QDir folder = QFileInfo(contents_).dir();
    for (const QFileInfo& page : folder.entryInfoList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile file(page.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(file.readAll()));
        const QString text = doc.toPlainText();
        const bool all = std::all_of(words.begin(), words.end(),
                                     [&](const QString& w) { return text.contains(w, Qt::CaseInsensitive); });
        if (!all)
            continue;
        auto* item = new QListWidgetItem(doc.metaInformation(QTextDocument::DocumentTitle).isEmpty()
                                             ? page.baseName()
                                             : doc.metaInformation(QTextDocument::DocumentTitle),
                                         results_);
        item->setData(Qt::UserRole, QStringLiteral("qrc") + page.filePath());
    }
}

void ShowHelp(QWidget* owner, const QString& helpFile, int command)
{
    if (helpFile.isEmpty()) {
        ShowMessage(QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
                    owner->windowTitle(), MessageIcon::Information);
        return;
    }
    if (!QFile::exists(helpFile)) {
        // The help call's own failure: its description in a plain box.
        ShowMessage(QStringLiteral("The help file %1 cannot be found.").arg(helpFile), QString(), MessageIcon::None);
        return;
    }
    static QPointer<HelpWindow> window;
    if (!window || window->property("helpFile").toString() != helpFile) {
        delete window;
        window = new HelpWindow(helpFile);
        window->setProperty("helpFile", helpFile);
        window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    if (command == 261)
        window->showSearch();
    else
        window->showContents();
}

} // namespace tracella
