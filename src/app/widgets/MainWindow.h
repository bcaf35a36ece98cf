#pragma once

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;

namespace tracella {

class MainStatusBar;

// frmMain: the multiple-document parent window with its menus, toolbar,
// status bar and progress bar. Commands live elsewhere and are reached by
// name through the command router; this window only wires controls to them.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;
    QToolBar* toolBar() const { return toolBar_; }
    MainStatusBar* statusPanels() const { return statusBar_; }
    QProgressBar* progressBar() const { return progressBar_; }
    // The progress bar sits on the toolbar: a hidden toolbar never shows it.
    void setProgressBarVisible(bool visible);
    bool progressBarVisible() const;
    // Beside the progress bar, shown only while a picture decodes.
    QPushButton* cancelDecodeButton() const { return cancelDecode_; }
    void setCancelDecodeVisible(bool visible);
    QMdiArea* mdiArea() const { return mdi_; }

    // Adds a window as an MDI child with the given caption.
    QMdiSubWindow* addChildWindow(QWidget* form);
    // The form of the active MDI child, or nullptr.
    QWidget* activeChildForm() const;

    void setDataMenuEnabled(bool enabled);

    // A toolbar button click, by its key (case-sensitive; unknown keys do nothing).
    void tbToolBar_ButtonClick(const QString& key);

    // The help file; empty means the program has no help.
    QString helpFile() const { return helpFile_; }
    void setHelpFile(const QString& file) { helpFile_ = file; }

    // Gives each toolbar button the first icon whose key equals its own.
    void assignToolbarIcons();

    // MDI arrangement codes: 0 cascade, 1 tile horizontal, 2 tile vertical, 3 arrange icons.
    void arrange(int code);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void connectActions();
    void rebuildWindowMenu();

    QMdiArea* mdi_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    MainStatusBar* statusBar_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QAction* progressHolder_ = nullptr;
    QPushButton* cancelDecode_ = nullptr;
    QAction* cancelDecodeHolder_ = nullptr;
    QString helpFile_;
    bool shuttingDown_ = false;
};

} // namespace tracella
