#pragma once

#include "data/ProjectRecovery.h"

#include <QObject>
#include <QTimer>

namespace tracella {

// Keeps a recovery copy of the work while it has changes no project holds:
// written at most 30 s after a change, by a worker, and removed once the
// work is saved or the program ends normally.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 30000;

    explicit RecoveryKeeper(QObject* parent, QString folder = RecoveryFolder());
    RecoveryWriter& writer() { return writer_; }
    QTimer& timer() { return timer_; }

private:
    void changed();
    void write();

    RecoveryWriter writer_;
    QTimer timer_;
    qint64 encoding_ = 0; // the picture whose PNG a worker is making
};

// Offers, once the window is up, to restore the newest copy a crashed
// Tracella left; the copy is removed whether restored or not.
void OfferRecovery(const QString& folder = RecoveryFolder());

} // namespace tracella
