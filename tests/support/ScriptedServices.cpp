#include "support/ScriptedServices.h"

#include "app/services/PrintSpooler.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>
#include <QPrinter>
#include <QScreen>

#include <gtest/gtest.h>

#include <string>

namespace tracella::test {

namespace {

// The next scripted answer; with none left the dialog fails the test at once.
template <typename T>
std::optional<T> Next(std::deque<T>& script, const std::string& dialog)
{
    if (script.empty()) {
        ADD_FAILURE() << "unexpected " << dialog;
        return std::nullopt;
    }
    T answer = std::move(script.front());
    script.pop_front();
    return answer;
}

} // namespace

MessageAnswer ScriptedMessages::show(const Message& message)
{
    shown.push_back(message);
    const MessageAnswer safe = message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    return Next(script, "message box: \"" + message.text.toStdString() + "\" titled \"" +
                            message.title.toStdString() + "\"")
        .value_or(safe);
}

QString ScriptedInput::ask(const QString& prompt, const QString& title, const QString& defaultText)
{
    asked.push_back({prompt, title, defaultText});
    return Next(script, "input box: \"" + title.toStdString() + "\": " + prompt.toStdString())
        .value_or(std::nullopt)
        .value_or(QString());
}

std::optional<FileDialogResult> ScriptedFiles::run(const FileDialogRequest& request)
{
    requests.push_back(request);
    return Next(script, "file dialog with filter \"" + request.filter.toStdString() + "\"").value_or(std::nullopt);
}

std::optional<QColor> ScriptedColours::pick(const QColor& initial)
{
    initials.push_back(initial);
    return Next(script, "colour dialog").value_or(std::nullopt);
}

void FakeClipboard::clear()
{
    if (real) {
        QGuiApplication::clipboard()->clear();
        return;
    }
    storedImage = QImage();
    storedText.clear();
}

QImage FakeClipboard::image() const
{
    return real ? QGuiApplication::clipboard()->image() : storedImage;
}

bool FakeClipboard::hasImage() const
{
    if (real) {
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        return offered && offered->hasImage();
    }
    return unreadableImage || !storedImage.isNull() || !storedFile.isEmpty();
}

void FakeClipboard::setImage(const QImage& image)
{
    if (real)
        QGuiApplication::clipboard()->setImage(image);
    else
        storedImage = image;
}

QString FakeClipboard::text() const
{
    return real ? QGuiApplication::clipboard()->text() : storedText;
}

void FakeClipboard::setText(const QString& text)
{
    if (real)
        QGuiApplication::clipboard()->setText(text);
    else
        storedText = text;
}

void FakeClock::wait(int ms)
{
    waits.push_back(ms);
    elapsed += ms;
    QCoreApplication::processEvents();
}

QImage FakeScreen::grab(const QRect& rect)
{
    if (real) {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage() : QImage();
    }
    return picture.copy(rect);
}

QRect FakeScreen::geometry() const
{
    if (real) {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->geometry() : QRect();
    }
    return picture.rect();
}

QPoint FakeScreen::cursorPos() const
{
    return cursor.value_or(QCursor::pos());
}

std::unique_ptr<QPrinter> FakePrinters::defaultPrinter()
{
    if (pdfFile.isEmpty())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfFile);
    return printer;
}

std::optional<QString> FakePrinters::refusal(const QPrinter& printer)
{
    return SpoolerRefusal(printer);
}

bool RecordingLauncher::openUrl(const QUrl& url)
{
    opened.push_back(url);
    return true;
}

QString RecordingLauncher::findProgram(const QStringList& candidates) const
{
    for (const QString& c : candidates) {
        if (installed.contains(c))
            return QStringLiteral("/usr/bin/") + c;
    }
    return {};
}

bool RecordingLauncher::startProgram(const QString& program)
{
    started.push_back(program);
    return true;
}

std::optional<PageChoice> ScriptedPageChooser::choose(const PageSource& pages, const QString& title, int dpi)
{
    offered.push_back({pages.pageCount(), title, dpi});
    return Next(script, "page chooser: " + title.toStdString()).value_or(std::nullopt);
}

ScriptedServices::ScriptedServices() : previous_(services())
{
    services() = Services{&messages, &input, &files, &colours, &clipboard, &sound, &clock, &screen, &printers,
                          &launcher, &pages};
}

ScriptedServices::~ScriptedServices()
{
    services() = previous_;
}

void ScriptedServices::expectScriptsUsed() const
{
    EXPECT_TRUE(messages.script.empty()) << messages.script.size() << " scripted message answers unused";
    EXPECT_TRUE(input.script.empty()) << input.script.size() << " scripted input replies unused";
    EXPECT_TRUE(files.script.empty()) << files.script.size() << " scripted file dialogs unused";
    EXPECT_TRUE(colours.script.empty()) << colours.script.size() << " scripted colours unused";
    EXPECT_TRUE(pages.script.empty()) << pages.script.size() << " scripted page choices unused";
}

} // namespace tracella::test
