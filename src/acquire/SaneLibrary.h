#pragma once

#include "acquire/ScanLibrary.h"

namespace tracella {

// The scanner library of the desktop: SANE, with whatever backends its
// configuration enables (SANE_CONFIG_DIR is read once, at the first start).
class SaneLibrary final : public ScanLibrary {
public:
    bool start() override;
    void stop() override;
    int version() const override { return version_; }
    QList<ScanSource> sources() override;
    std::unique_ptr<ScanDevice> open(const QString& name) override;

private:
    int version_ = 0;
};

} // namespace tracella
