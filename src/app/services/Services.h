#pragma once

#include "app/core/Message.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace tracella {

// Every modal interaction and platform service the windows use goes through
// these interfaces, so tests can script them and never block on a dialog.

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer show(const Message& message) = 0;
};

class InputService {
public:
    virtual ~InputService() = default;
    // The reply; Cancel gives the empty text.
    virtual QString ask(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // The same for a password: the typed text is not shown.
    virtual QString askPassword(const QString& prompt, const QString& title) { return ask(prompt, title, {}); }
};

struct FileDialogRequest {
    enum class Mode { Open, Save } mode = Mode::Open;
    QString title;
    QString filter;           // "Name (*.ext)|*.ext|..." as the commands write it
    int filterIndex = 1;      // 1-based
    QString fileName;         // pre-filled name
    QString defaultExtension; // ".dat", without a dot it's added
    bool fileMustExist = false;
};

struct FileDialogResult {
    QString fileName;
    int filterIndex = 1;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // nullopt when the user cancels.
    virtual std::optional<FileDialogResult> run(const FileDialogRequest& request) = 0;
};

class ColourDialogService {
public:
    virtual ~ColourDialogService() = default;
    virtual std::optional<QColor> pick(const QColor& initial) = 0;
};

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    virtual void clear() = 0;
    virtual QImage image() const = 0;
    // True when a picture is offered, even one that image() cannot decode.
    virtual bool hasImage() const = 0;
    // What another program offers as a picture file's bytes (PNG, BMP, ...),
    // to be decoded away from the window; empty when there are none, and
    // for the program's own copy, which image() gives at once.
    virtual QByteArray imageFile() const { return {}; }
    virtual void setImage(const QImage& image) = 0;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};

class SoundService {
public:
    virtual ~SoundService() = default;
    // Starts playing WAVE bytes; returns at once. Failures are silent.
    virtual void play(const QByteArray& wave) = 0;
};

class ClockService {
public:
    virtual ~ClockService() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start, never going back.
    virtual qint64 elapsedMs() const = 0;
    // Waits, letting events run.
    virtual void wait(int ms) = 0;
};

class ScreenService {
public:
    virtual ~ScreenService() = default;
    // Pixels of the screen; a null image when the platform refuses.
    virtual QImage grab(const QRect& rect) = 0;
    virtual QRect geometry() const = 0;
    virtual QPoint cursorPos() const = 0;
};

class PrinterService {
public:
    virtual ~PrinterService() = default;
    // The system's default printer, or nullptr when there is none.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
    // Right after a job has ended: why the spooler refused it, if it did.
    virtual std::optional<QString> refusal(const QPrinter& printer) = 0;
};

class LauncherService {
public:
    virtual ~LauncherService() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    // Full path of the first program found on PATH, or empty.
    virtual QString findProgram(const QStringList& candidates) const = 0;
    virtual bool startProgram(const QString& program) = 0;
};

// The pages of a document the page chooser offers.
class PageSource {
public:
    virtual ~PageSource() = default;
    virtual int pageCount() const = 0;
    // The page drawn to fit a square of side pixels; null when it cannot be drawn.
    virtual QImage thumbnail(int page, int side) const = 0;
    // The resolution the page gets when dpi is asked for (lower when the
    // page would be too large at dpi).
    virtual int fittingDpi(int page, int dpi) const = 0;
};

struct PageChoice {
    int page = 0; // 0-based
    int dpi = 0;
};

class PageChooserService {
public:
    virtual ~PageChooserService() = default;
    // nullopt when the user cancels.
    virtual std::optional<PageChoice> choose(const PageSource& pages, const QString& title, int dpi) = 0;
};

struct Services {
    MessageService* messages = nullptr;
    InputService* input = nullptr;
    FileDialogService* files = nullptr;
    ColourDialogService* colours = nullptr;
    ClipboardService* clipboard = nullptr;
    SoundService* sound = nullptr;
    ClockService* clock = nullptr;
    ScreenService* screen = nullptr;
    PrinterService* printers = nullptr;
    LauncherService* launcher = nullptr;
    PageChooserService* pages = nullptr;
};

// The services of this process: the Qt ones, or a test's scripted doubles.
Services& services();

// Shorthands for the commonest calls.
MessageAnswer ShowMessage(const Message& message);
MessageAnswer ShowMessage(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);

} // namespace tracella
