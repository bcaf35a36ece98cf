#include "picture/widgets/PictureDrop.h"

#include "picture/PictureJob.h"
#include "picture/widgets/PdfImport.h"
#include "picture/widgets/PictureCommands.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace tracella {
namespace {

class DropFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData() && !DroppedFile(*drag->mimeData()).isEmpty())
                drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = drop->mimeData() ? DroppedFile(*drop->mimeData()) : QString();
            if (path.isEmpty())
                return true;
            drop->acceptProposedAction();
            // The dragging program waits for the drop to end; open once it has.
            QTimer::singleShot(0, this, [path] { OpenPictureFile(path); });
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QString DroppedFile(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

void AcceptPictureDrops(QWidget& window)
{
    window.setAcceptDrops(true);
    window.installEventFilter(new DropFilter(&window));
}

std::shared_ptr<PictureJob> StartArgumentFile(const QStringList& arguments)
{
    if (arguments.isEmpty() || arguments.front().isEmpty() || IsPdfFile(arguments.front()))
        return nullptr;
    AllowLargePictures();
    return PictureJob::loadFile(arguments.front());
}

void OpenArgumentFile(const QStringList& arguments, std::shared_ptr<PictureJob> started)
{
    if (!arguments.isEmpty() && !arguments.front().isEmpty())
        OpenPictureFile(arguments.front(), std::move(started));
}

} // namespace tracella
