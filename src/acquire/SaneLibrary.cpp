#include "acquire/SaneLibrary.h"

#include "app/core/AppError.h"

#include <sane/sane.h>

namespace tracella {
namespace {

std::optional<FrameKind> kindOf(SANE_Frame format)
{
    switch (format) {
    case SANE_FRAME_GRAY: return FrameKind::Gray;
    case SANE_FRAME_RGB: return FrameKind::Rgb;
    case SANE_FRAME_RED: return FrameKind::Red;
    case SANE_FRAME_GREEN: return FrameKind::Green;
    case SANE_FRAME_BLUE: return FrameKind::Blue;
    default: return std::nullopt; // formats of SANE extensions we cannot show
    }
}

QString text(SANE_String_Const s)
{
    return s ? QString::fromUtf8(s) : QString();
}

class SaneDevice final : public ScanDevice {
public:
    explicit SaneDevice(SANE_Handle handle) : handle_(handle) {}
    ~SaneDevice() override { sane_close(handle_); }
    SaneDevice(const SaneDevice&) = delete;
    SaneDevice& operator=(const SaneDevice&) = delete;

    std::optional<FrameParameters> startFrame() override
    {
        if (sane_start(handle_) != SANE_STATUS_GOOD)
            return std::nullopt;
        SANE_Parameters p;
        if (sane_get_parameters(handle_, &p) != SANE_STATUS_GOOD)
            return std::nullopt;
        const std::optional<FrameKind> kind = kindOf(p.format);
        if (!kind)
            return std::nullopt;
        return FrameParameters{*kind, p.last_frame == SANE_TRUE, p.bytes_per_line, p.pixels_per_line, p.lines,
                               p.depth};
    }

    ScanRead read(char* into, int capacity, int& length) override
    {
        SANE_Int got = 0;
        const SANE_Status status = sane_read(handle_, reinterpret_cast<SANE_Byte*>(into), capacity, &got);
        length = got;
        if (status == SANE_STATUS_GOOD)
            return ScanRead::Data;
        return status == SANE_STATUS_EOF ? ScanRead::EndOfFrame : ScanRead::Failed;
    }

    void cancel() override { sane_cancel(handle_); }

private:
    SANE_Handle handle_;
};

} // namespace

bool SaneLibrary::start()
{
    SANE_Int code = 0;
    if (sane_init(&code, nullptr) != SANE_STATUS_GOOD)
        return false;
    version_ = SANE_VERSION_MAJOR(code) * 100 + SANE_VERSION_MINOR(code);
    return true;
}

void SaneLibrary::stop()
{
    sane_exit();
}

QList<ScanSource> SaneLibrary::sources()
{
    const SANE_Device** list = nullptr;
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        throw AppError{ScanLibraryFailure, QString::fromUtf8(sane_strstatus(status))};
    QList<ScanSource> found;
    for (const SANE_Device** d = list; d && *d; ++d)
        found.append({text((*d)->name), text((*d)->vendor), text((*d)->model), text((*d)->type)});
    return found;
}

std::unique_ptr<ScanDevice> SaneLibrary::open(const QString& name)
{
    SANE_Handle handle = nullptr;
    if (sane_open(name.toUtf8().constData(), &handle) != SANE_STATUS_GOOD)
        return nullptr;
    return std::make_unique<SaneDevice>(handle);
}

} // namespace tracella
