#include "app/widgets/RecoveryKeeper.h"

#include "app/services/Services.h"
#include "app/widgets/AppContext.h"
#include "app/widgets/ProjectCommands.h"
#include "data/ProjectStorage.h"
#include "picture/widgets/DocumentWindow.h"
#include "picture/widgets/PictureSurface.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>

namespace tracella {

RecoveryKeeper::RecoveryKeeper(QObject* parent, QString folder) : QObject(parent), writer_(std::move(folder))
{
    timer_.setSingleShot(true);
    timer_.setInterval(DelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::write);
    const QUndoStack* stack = &app().history.stack();
    connect(stack, &QUndoStack::indexChanged, this, &RecoveryKeeper::changed);
    connect(stack, &QUndoStack::cleanChanged, this, &RecoveryKeeper::changed);
}

// Not restarted by later changes: the copy is never more than the delay old.
void RecoveryKeeper::changed()
{
    if (app().history.stack().isClean()) {
        timer_.stop();
        writer_.discard();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

void RecoveryKeeper::write()
{
    if (app().history.stack().isClean())
        return;
    // A picture that is no file's is made PNG by a worker first: a large
    // one takes seconds.
    const PictureSurface* surface = app().document ? app().document->surface() : nullptr;
    if (app().pictureOrigin.bytes.isEmpty() && surface && surface->hasPicture()) {
        const QImage image = surface->picture().image;
        if (encoding_ == image.cacheKey())
            return; // already on its way
        encoding_ = image.cacheKey();
        QPointer<RecoveryKeeper> self(this);
        QThreadPool::globalInstance()->start([self, image] {
            const QByteArray png = PngBytes(image);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, png, key = image.cacheKey()] {
                    if (!self)
                        return;
                    self->encoding_ = 0;
                    const PictureSurface* s = app().document ? app().document->surface() : nullptr;
                    if (!s || s->picture().image.cacheKey() != key)
                        return; // another picture came meanwhile
                    if (app().pictureOrigin.source == PictureSource::File)
                        app().pictureOrigin.source = PictureSource::Png;
                    app().pictureOrigin.bytes = png;
                    self->write();
                },
                Qt::QueuedConnection);
        });
        return;
    }
    writer_.submit(CurrentProject());
}

void OfferRecovery(const QString& folder)
{
    const std::vector<QString> left = OrphanRecoveries(folder);
    if (left.empty())
        return;
    const QString file = left.front();
    const QString when = QFileInfo(file).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString question =
        QStringLiteral("Tracella ended before its work was saved. A copy of that work from %1 was kept.\r\n\r\n"
                       "Restore it? (No discards the copy.)")
            .arg(when);
    const bool restore = ShowMessage(question, QStringLiteral("Restore Work"), MessageIcon::Question,
                                     MessageButtons::YesNo) == MessageAnswer::Yes;
    if (restore) {
        std::variant<Project, QString> read = ReadProjectFile(file);
        if (const auto* problem = std::get_if<QString>(&read))
            ShowMessage(*problem, QStringLiteral("Restore Work"), MessageIcon::Exclamation);
        else if (OpenProject(std::get<Project>(std::move(read)), QStringLiteral("the restored work")))
            app().history.stack().resetClean(); // in no project yet: kept as unsaved work
    }
    RemoveRecovery(file);
}

} // namespace tracella
