#pragma once

#include "app/services/Services.h"

#include <QByteArray>
#include <QImage>

#include <deque>
#include <optional>
#include <vector>

namespace tracella::test {

// Scripted doubles of every service. Each dialog takes the next scripted
// answer; a dialog with no answer scripted fails the test at once with its
// text and returns the safe answer, so no test ever blocks.
class ScriptedMessages final : public MessageService {
public:
    MessageAnswer show(const Message& message) override;
    void answer(MessageAnswer a) { script.push_back(a); }
    std::deque<MessageAnswer> script;
    std::vector<Message> shown;
};

class ScriptedInput final : public InputService {
public:
    QString ask(const QString& prompt, const QString& title, const QString& defaultText) override;
    // std::nullopt stands for Cancel.
    void reply(std::optional<QString> r) { script.push_back(std::move(r)); }
    struct Asked {
        QString prompt, title, defaultText;
    };
    std::deque<std::optional<QString>> script;
    std::vector<Asked> asked;
};

class ScriptedFiles final : public FileDialogService {
public:
    std::optional<FileDialogResult> run(const FileDialogRequest& request) override;
    void choose(const QString& fileName, int filterIndex) { script.push_back(FileDialogResult{fileName, filterIndex}); }
    void cancel() { script.push_back(std::nullopt); }
    std::deque<std::optional<FileDialogResult>> script;
    std::vector<FileDialogRequest> requests;
};

class ScriptedColours final : public ColourDialogService {
public:
    std::optional<QColor> pick(const QColor& initial) override;
    std::deque<std::optional<QColor>> script;
    std::vector<QColor> initials;
};

// An in-memory clipboard, unless a test asks for the real one.
class FakeClipboard final : public ClipboardService {
public:
    void clear() override;
    QImage image() const override;
    bool hasImage() const override;
    QByteArray imageFile() const override { return real ? QByteArray() : storedFile; }
    void setImage(const QImage& image) override;
    QString text() const override;
    void setText(const QString& text) override;
    bool real = false;
    bool unreadableImage = false; // a picture is offered that cannot be decoded
    QImage storedImage;
    QByteArray storedFile; // a picture file offered by another program
    QString storedText;
};

class RecordingSound final : public SoundService {
public:
    void play(const QByteArray& wave) override { played.push_back(wave); }
    std::vector<QByteArray> played;
};

// A clock that moves only when told to, or when something waits on it.
class FakeClock final : public ClockService {
public:
    QDateTime now() const override { return current.addMSecs(elapsed); }
    qint64 elapsedMs() const override { return elapsed; }
    void wait(int ms) override;
    QDateTime current = QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9));
    qint64 elapsed = 0;
    std::vector<int> waits;
};

// The real screen, or a picture standing in for it.
class FakeScreen final : public ScreenService {
public:
    QImage grab(const QRect& rect) override;
    QRect geometry() const override;
    QPoint cursorPos() const override;
    bool real = true;
    QImage picture;
    std::optional<QPoint> cursor;
};

class FakePrinters final : public PrinterService {
public:
    std::unique_ptr<QPrinter> defaultPrinter() override;
    std::optional<QString> refusal(const QPrinter& printer) override;
    // Empty: no printer at all. Otherwise a PDF printer writing here.
    QString pdfFile;
};

class RecordingLauncher final : public LauncherService {
public:
    bool openUrl(const QUrl& url) override;
    QString findProgram(const QStringList& candidates) const override;
    bool startProgram(const QString& program) override;
    std::vector<QUrl> opened;
    std::vector<QString> started;
    QStringList installed; // programs that exist
};

// Installs the doubles for its lifetime and restores the services after.
// The page chooser answers as scripted (nullopt: Cancel) and keeps what it
// was offered.
class ScriptedPageChooser final : public PageChooserService {
public:
    std::optional<PageChoice> choose(const PageSource& pages, const QString& title, int dpi) override;
    void answer(std::optional<PageChoice> c) { script.push_back(c); }
    struct Offered {
        int pageCount = 0;
        QString title;
        int dpi = 0;
    };
    std::deque<std::optional<PageChoice>> script;
    std::vector<Offered> offered;
};

class ScriptedServices {
public:
    ScriptedServices();
    ~ScriptedServices();
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    ScriptedMessages messages;
    ScriptedInput input;
    ScriptedFiles files;
    ScriptedColours colours;
    FakeClipboard clipboard;
    RecordingSound sound;
    FakeClock clock;
    FakeScreen screen;
    FakePrinters printers;
    RecordingLauncher launcher;
    ScriptedPageChooser pages;

    // Fails the test for every scripted answer left unused.
    void expectScriptsUsed() const;

private:
    Services previous_;
};

} // namespace tracella::test
