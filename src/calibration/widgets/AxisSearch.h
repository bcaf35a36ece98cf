#pragma once

#include "calibration/AxisProposal.h"
#include "picture/CancelToken.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <memory>

namespace tracella {

// One search for the axes and their labels, off the window's thread, which
// can be given up; `progress` and `found` come on the window's thread.
class AxisSearch : public QObject {
    Q_OBJECT
public:
    explicit AxisSearch(QObject* parent = nullptr);
    ~AxisSearch() override;

    bool running() const { return thread_ != nullptr; }
    // A region with no pixels searches the whole picture.
    void start(const QImage& picture, QRect region = {});
    void cancel();

signals:
    void progress(const QString& stage, int done, int total);
    void found(const tracella::AxisProposal& proposal);

private:
    QThread* thread_ = nullptr;
    std::shared_ptr<CancelToken> cancel_;
};

} // namespace tracella
