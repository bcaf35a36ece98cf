#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace tracella {

// The program's own help: HTML pages shipped as resources, a contents
// page and a search over the pages' text.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& contentsPage, QWidget* parent = nullptr);

    void showContents();
    // The same window with its search field focused and empty.
    void showSearch();

    QTextBrowser* browser() const { return browser_; }
    QLineEdit* searchField() const { return search_; }
    QListWidget* results() const { return results_; }

private:
    void runSearch();

    QString contents_;
    QLineEdit* search_ = nullptr;
    QListWidget* results_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};

// Help commands of the main window: the contents page (command 3) and the
// search (command 261). Shows the program's message when there is no help.
void ShowHelp(QWidget* owner, const QString& helpFile, int command);

} // namespace tracella
