#include "app/services/QtServices.h"

#include "app/services/PrintSpooler.h"

#include "app/services/Services.h"
#include "app/services/SharedIconStyle.h"
#include "picture/widgets/PageChooserDialog.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

namespace tracella {
namespace {

QWidget* dialogParent()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QString forDisplay(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}

class QtMessages final : public MessageService {
public:
    MessageAnswer show(const Message& m) override
    {
        QMessageBox box(dialogParent());
        box.setWindowTitle(m.title.isEmpty() ? ApplicationTitle : m.title);
        box.setText(forDisplay(m.text));
        switch (m.icon) {
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::None: break;
        }
        if (m.buttons == MessageButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
};

class QtInput final : public InputService {
public:
    QString ask(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        bool ok = false;
        const QString reply = QInputDialog::getText(dialogParent(), title.isEmpty() ? ApplicationTitle : title,
                                                    forDisplay(prompt), QLineEdit::Normal, defaultText, &ok);
        return ok ? reply : QString();
    }
    QString askPassword(const QString& prompt, const QString& title) override
    {
        bool ok = false;
        const QString reply = QInputDialog::getText(dialogParent(), title.isEmpty() ? ApplicationTitle : title,
                                                    forDisplay(prompt), QLineEdit::Password, QString(), &ok);
        return ok ? reply : QString();
    }
};

// "All Files (*.*)|*.*|Pictures (*.bmp)|*.bmp" -> Qt's name filters.
QStringList qtFilters(const QString& filter)
{
    const QStringList parts = filter.split(QChar(u'|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QChar(u';'), QChar(u' '));
        if (patterns == QStringLiteral("*.*"))
            patterns = QStringLiteral("*"); // files without a dot too
        QString label = parts[i];
        const int paren = label.indexOf(QChar(u'('));
        if (paren > 0)
            label = label.left(paren).trimmed();
        result << QStringLiteral("%1 (%2)").arg(label, patterns);
    }
    return result;
}

class QtFiles final : public FileDialogService {
public:
    std::optional<FileDialogResult> run(const FileDialogRequest& r) override
    {
        QFileDialog dialog(dialogParent(), r.title);
        const QStringList filters = qtFilters(r.filter);
        dialog.setNameFilters(filters);
        if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[r.filterIndex - 1]);
        if (r.mode == FileDialogRequest::Mode::Open) {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setOption(QFileDialog::DontConfirmOverwrite); // the commands ask themselves
        }
        if (!r.fileName.isEmpty())
            dialog.selectFile(r.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        FileDialogResult result;
        result.fileName = dialog.selectedFiles().first();
        result.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (r.mode == FileDialogRequest::Mode::Save && !r.defaultExtension.isEmpty() &&
            QFileInfo(result.fileName).suffix().isEmpty() && !QFileInfo(result.fileName).isDir()) {
            const QString ext = r.defaultExtension.startsWith(QChar(u'.')) ? r.defaultExtension
                                                                           : QChar(u'.') + r.defaultExtension;
            result.fileName += ext;
        }
        return result;
    }
};

class QtColours final : public ColourDialogService {
public:
    std::optional<QColor> pick(const QColor& initial) override
    {
        const QColor c = QColorDialog::getColor(initial, dialogParent());
        if (!c.isValid())
            return std::nullopt;
        return c;
    }
};

class QtClipboard final : public ClipboardService {
public:
    void clear() override { QGuiApplication::clipboard()->clear(); }
    QImage image() const override { return QGuiApplication::clipboard()->image(); }
    bool hasImage() const override
    {
        const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
        return offered && offered->hasImage();
    }
    QByteArray imageFile() const override
    {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* offered = clipboard->mimeData();
        if (!offered || clipboard->ownsClipboard())
            return {};
        const QStringList formats = offered->formats();
        for (const char* type : {"image/png", "image/bmp", "image/jpeg", "image/gif", "image/tiff", "image/webp"})
            if (formats.contains(QLatin1String(type)))
                return offered->data(QLatin1String(type));
        return {};
    }
    void setImage(const QImage& image) override { QGuiApplication::clipboard()->setImage(image); }
    QString text() const override { return QGuiApplication::clipboard()->text(); }
    void setText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

// Plays WAVE bytes through the default output; any problem means silence.
class QtSound final : public SoundService {
public:
    void play(const QByteArray& wave) override
    {
        QAudioFormat format;
        qsizetype dataOffset = 0, dataSize = 0;
        if (!parseWave(wave, format, dataOffset, dataSize))
            return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(format))
            return;
        sink_.reset();
        pcm_ = wave.mid(dataOffset, dataSize);
        buffer_.close();
        buffer_.setData(pcm_);
        buffer_.open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(&buffer_);
    }

private:
    static bool parseWave(const QByteArray& w, QAudioFormat& format, qsizetype& offset, qsizetype& size)
    {
        if (w.size() < 44 || !w.startsWith("RIFF") || w.mid(8, 4) != "WAVE")
            return false;
        auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(w.constData() + at); };
        auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(w.constData() + at); };
        qsizetype pos = 12;
        bool haveFormat = false;
        while (pos + 8 <= w.size()) {
            const QByteArray id = w.mid(pos, 4);
            const qsizetype len = u32(pos + 4);
            const qsizetype body = pos + 8;
            if (body + len > w.size() && id != "data")
                return false;
            if (id == "fmt " && len >= 16) {
                if (u16(body) != 1)
                    return false; // PCM only
                format.setChannelCount(u16(body + 2));
                format.setSampleRate(static_cast<int>(u32(body + 4)));
                const int bits = u16(body + 14);
                format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
                haveFormat = true;
            } else if (id == "data") {
                offset = body;
                size = std::min<qsizetype>(len, w.size() - body);
                return haveFormat;
            }
            pos = body + len + (len & 1);
        }
        return false;
    }

    QByteArray pcm_;
    QBuffer buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

class QtClock final : public ClockService {
public:
    QtClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return timer_.elapsed(); }
    void wait(int ms) override
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

private:
    QElapsedTimer timer_;
};

class QtScreen final : public ScreenService {
public:
    QImage grab(const QRect& rect) override
    {
        // A Wayland session does not let a client read the screen; under
        // XWayland the grab would come back black, which is worse than nothing.
        if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland")) ||
            qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
            return {};
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return {};
        return screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
    }
    QRect geometry() const override
    {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry() : QRect();
    }
    QPoint cursorPos() const override { return QCursor::pos(); }
};

class QtPrinters final : public PrinterService {
public:
    std::unique_ptr<QPrinter> defaultPrinter() override
    {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info);
    }
    std::optional<QString> refusal(const QPrinter& printer) override { return SpoolerRefusal(printer); }
};

class QtLauncher final : public LauncherService {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    QString findProgram(const QStringList& candidates) const override
    {
        for (const QString& name : candidates) {
            const QString path = QStandardPaths::findExecutable(name);
            if (!path.isEmpty())
                return path;
        }
        return {};
    }
    bool startProgram(const QString& program) override { return QProcess::startDetached(program, {}); }
};

} // namespace

void InstallQtServices()
{
    static QtMessages messages;
    static QtInput input;
    static QtFiles files;
    static QtColours colours;
    static QtClipboard clipboard;
    static QtSound sound;
    static QtClock clock;
    static QtScreen screen;
    static QtPrinters printers;
    static QtLauncher launcher;
    services() = Services{&messages, &input, &files, &colours, &clipboard, &sound, &clock, &screen, &printers,
                          &launcher, &QtPageChooser()};
    ShareStandardIcons();
}

} // namespace tracella
