#include "calibration/widgets/AxisSearch.h"

#include "calibration/LabelOcr.h"

#include <QMetaObject>

namespace tracella {

AxisSearch::AxisSearch(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("AxisSearch"));
}

AxisSearch::~AxisSearch()
{
    cancel();
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

void AxisSearch::start(const QImage& picture, QRect region)
{
    if (thread_)
        return;
    cancel_ = std::make_shared<CancelToken>();
    thread_ = QThread::create([this, picture, region, token = cancel_] {
        // Tesseract is set up and used on this one thread.
        LabelOcr ocr;
        const auto report = [this](const QString& stage, int done, int total) {
            QMetaObject::invokeMethod(
                this, [this, stage, done, total] { emit progress(stage, done, total); }, Qt::QueuedConnection);
        };
        const AxisProposal proposal = ProposeAxes(picture, region, ocr, token.get(), report);
        QMetaObject::invokeMethod(
            this,
            [this, proposal] {
                thread_->wait();
                delete thread_;
                thread_ = nullptr;
                emit found(proposal);
            },
            Qt::QueuedConnection);
    });
    thread_->start();
}

void AxisSearch::cancel()
{
    if (cancel_)
        cancel_->cancel();
}

} // namespace tracella
