#include "picture/PlainPngDecoder.h"

#include <QIODevice>
#include <QtEndian>

#include <zlib.h>

#include <sys/mman.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace tracella {
namespace {

bool readExactly(QIODevice& device, void* out, qint64 length)
{
    auto* to = static_cast<char*>(out);
    while (length > 0) {
        const qint64 got = device.read(to, length);
        if (got <= 0)
            return false;
        to += got;
        length -= got;
    }
    return true;
}

struct ChunkHead {
    quint32 length = 0;
    std::array<char, 4> type{};
    bool is(const char* name) const { return std::memcmp(type.data(), name, 4) == 0; }
};

bool readHead(QIODevice& device, ChunkHead& head)
{
    std::array<uchar, 8> bytes{};
    if (!readExactly(device, bytes.data(), 8))
        return false;
    head.length = qFromBigEndian<quint32>(bytes.data());
    std::memcpy(head.type.data(), bytes.data() + 4, 4);
    return head.length <= 0x7fffffffu;
}

// The contents of one run of IDAT chunks, each checked against its CRC as
// its end is reached.
class ImageData {
public:
    explicit ImageData(QIODevice& device) : device_(device) {}

    // Skips the chunks before the data, which libspng has already read, and
    // looks ahead: only a run of IDAT chunks and an empty IEND may follow,
    // so that a file libspng must judge is not decoded twice.
    bool findStart()
    {
        std::array<char, 8> signature{};
        if (!readExactly(device_, signature.data(), 8))
            return false;
        do {
            if (!readHead(device_, head_))
                return false;
        } while (!head_.is("IDAT") && skipChunk());
        if (!head_.is("IDAT"))
            return false;
        const qint64 data = device_.pos();
        const ChunkHead first = head_;
        do {
            if (!skipChunk() || !readHead(device_, head_))
                return false;
        } while (head_.is("IDAT"));
        if (!head_.is("IEND") || head_.length != 0 || !device_.seek(data))
            return false;
        head_ = first;
        return startChunk();
    }

    // Bytes read into `buffer`; 0 once the run has ended; -1 on damage.
    qint64 read(uchar* buffer, qint64 capacity)
    {
        while (!ended_ && left_ == 0)
            if (!endChunk())
                return -1;
        if (ended_)
            return 0;
        const qint64 length = std::min<qint64>(capacity, left_);
        if (!readExactly(device_, buffer, length))
            return -1;
        crc_ = crc32(crc_, buffer, static_cast<uInt>(length));
        left_ -= length;
        return length;
    }

    // The chunk after the run, once read has given 0.
    const ChunkHead& following() const { return head_; }

private:
    // Never past the end: a buffer warns of that.
    bool skipChunk()
    {
        const qint64 next = device_.pos() + head_.length + 4;
        return next <= device_.size() && device_.seek(next);
    }

    bool startChunk()
    {
        left_ = head_.length;
        crc_ = crc32(0, reinterpret_cast<const Bytef*>(head_.type.data()), 4);
        return true;
    }

    bool endChunk()
    {
        std::array<uchar, 4> stored{};
        if (!readExactly(device_, stored.data(), 4) || qFromBigEndian<quint32>(stored.data()) != crc_ ||
            !readHead(device_, head_))
            return false;
        ended_ = !head_.is("IDAT");
        return ended_ || startChunk();
    }

    QIODevice& device_;
    ChunkHead head_;
    qint64 left_ = 0;
    uLong crc_ = 0;
    bool ended_ = false;
};

// Inflates the zlib stream of the image data row by row. zlib's own check
// is off: the writer takes the Adler-32, faster, and it is compared at the end.
class RowInflater {
public:
    explicit RowInflater(ImageData& data) : data_(data)
    {
        ready_ = inflateInit(&z_) == Z_OK && inflateValidate(&z_, 0) == Z_OK;
    }
    ~RowInflater() { inflateEnd(&z_); }
    RowInflater(const RowInflater&) = delete;
    RowInflater& operator=(const RowInflater&) = delete;

    bool fill(uchar* row, std::size_t length)
    {
        z_.next_out = row;
        z_.avail_out = static_cast<uInt>(length);
        while (ready_ && z_.avail_out > 0 && !ended_)
            ready_ = step();
        return ready_ && z_.avail_out == 0;
    }

    // True when the stream ends here with `adler` as its check, and no data
    // follows.
    bool finish(quint32 adler)
    {
        uchar spare = 0;
        while (ready_ && !ended_) {
            z_.next_out = &spare;
            z_.avail_out = 1;
            ready_ = step() && z_.avail_out == 1;
        }
        return ready_ && ended_ && z_.avail_in == 0 && data_.read(input_.data(), 1) == 0 &&
               qFromBigEndian<quint32>(trailer_.data()) == adler;
    }

private:
    bool step()
    {
        if (z_.avail_in == 0) {
            const qint64 got = data_.read(input_.data(), static_cast<qint64>(input_.size()));
            if (got <= 0)
                return false;
            z_.next_in = input_.data();
            z_.avail_in = static_cast<uInt>(got);
        }
        const Bytef* from = z_.next_in;
        const int status = inflate(&z_, Z_NO_FLUSH);
        keepLastBytes(from, static_cast<std::size_t>(z_.next_in - from));
        ended_ = status == Z_STREAM_END;
        return status == Z_OK || ended_;
    }

    // The stream's last four bytes are its Adler-32, perhaps split over chunks.
    void keepLastBytes(const Bytef* from, std::size_t count)
    {
        for (std::size_t i = count > 4 ? count - 4 : 0; i < count; ++i) {
            std::memmove(trailer_.data(), trailer_.data() + 1, 3);
            trailer_[3] = from[i];
        }
    }

    ImageData& data_;
    z_stream z_{};
    std::vector<uchar> input_ = std::vector<uchar>(1 << 16);
    std::array<uchar, 4> trailer_{};
    bool ready_ = false;
    bool ended_ = false;
};

int paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes a row's filter into `out`; `above` is the row before, unfiltered.
bool unfilter(int filter, const uchar* __restrict in, uchar* __restrict out, const uchar* __restrict above,
              std::size_t length, std::size_t bpp)
{
    switch (filter) {
    case 0: std::memcpy(out, in, length); return true;
    case 1:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<uchar>(in[i] + (i >= bpp ? out[i - bpp] : 0));
        return true;
    case 2:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<uchar>(in[i] + above[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<uchar>(in[i] + ((i >= bpp ? out[i - bpp] : 0) + above[i]) / 2);
        return true;
    case 4:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<uchar>(
                in[i] + (i >= bpp ? paeth(out[i - bpp], above[i], above[i - bpp]) : paeth(0, above[i], 0)));
        return true;
    default: return false;
    }
}

// One unfiltered row into Qt's layout of the picture.
void toImageRow(const uchar* __restrict in, uchar* __restrict out, int width, int channels)
{
    auto* pixel = reinterpret_cast<quint32*>(out);
    switch (channels) {
    case 1: std::memcpy(out, in, static_cast<std::size_t>(width)); break;
    case 3:
        for (int x = 0; x < width; ++x, in += 3)
            pixel[x] = 0xff000000u | (quint32{in[0]} << 16) | (quint32{in[1]} << 8) | in[2];
        break;
    default:
        for (int x = 0; x < width; ++x, in += 4)
            pixel[x] = (quint32{in[3]} << 24) | (quint32{in[0]} << 16) | (quint32{in[1]} << 8) | in[2];
    }
}

// Unfilters rows, in order, into the picture.
class RowWriter {
public:
    RowWriter(QImage& image, int channels)
        : image_(image), channels_(static_cast<std::size_t>(channels)),
          bytes_(static_cast<std::size_t>(image.width()) * channels_), row_(bytes_), above_(bytes_)
    {
    }

    // `filtered` is the row as inflated: its filter byte, then its bytes.
    bool write(int y, const uchar* filtered)
    {
        adler_ = UpdateAdler32(adler_, filtered, 1 + bytes_);
        if (!unfilter(filtered[0], filtered + 1, row_.data(), above_.data(), bytes_, channels_))
            return false;
        toImageRow(row_.data(), image_.scanLine(y), image_.width(), static_cast<int>(channels_));
        std::swap(row_, above_);
        return true;
    }

    std::size_t filteredBytes() const { return 1 + bytes_; }
    // The Adler-32 of the rows written so far, as inflated.
    quint32 adler() const { return adler_; }

private:
    QImage& image_;
    std::size_t channels_, bytes_;
    std::vector<uchar> row_, above_; // the row above starts as zeros
    quint32 adler_ = 1;
};

// Inflated rows handed from the thread that inflates them to the one that
// writes them, a few at a time.
class RowRing {
public:
    RowRing(std::size_t rowBytes, int rows) : rowBytes_(rowBytes), slots_(rows), rows_(rowBytes * static_cast<std::size_t>(rows)) {}

    uchar* slot(int y) { return rows_.data() + static_cast<std::size_t>(y % slots_) * rowBytes_; }

    // Each waits for its turn at row y; false once the other side gave up.
    bool waitForRoom(int y) { return waitUntil([&] { return y - taken_ < slots_; }); }
    bool waitForRow(int y) { return waitUntil([&] { return y < ready_; }); }

    void ready(int rows) { update([&] { ready_ = rows; }); }
    void taken(int rows) { update([&] { taken_ = rows; }); }
    void giveUp() { update([&] { gaveUp_ = true; }); }

private:
    template <typename Turn>
    bool waitUntil(Turn turn)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return gaveUp_ || turn(); });
        return !gaveUp_;
    }

    template <typename Change>
    void update(Change change)
    {
        {
            const std::lock_guard lock(mutex_);
            change();
        }
        changed_.notify_all();
    }

    std::size_t rowBytes_;
    int slots_;
    std::vector<uchar> rows_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int ready_ = 0, taken_ = 0;
    bool gaveUp_ = false;
};

constexpr int RingRows = 16;

// Inflating and writing rows on one thread.
PlainPng decodeRows(RowInflater& inflater, RowWriter& writer, int height, DecodeProgress* progress)
{
    std::vector<uchar> filtered(writer.filteredBytes());
    for (int y = 0; y < height; ++y) {
        if (!inflater.fill(filtered.data(), filtered.size()) || !writer.write(y, filtered.data()))
            return PlainPng::NotTaken;
        if (progress) {
            progress->setRowsDone(y + 1);
            if (progress->cancel().isCancelled())
                return PlainPng::Cancelled;
        }
    }
    return PlainPng::Decoded;
}

// Has the system provide the memory of rows [from, from + count) now: the
// first touch of fresh memory costs more than writing the pixels.
void prefault(QImage& image, int from, int count)
{
#ifdef MADV_POPULATE_WRITE
    constexpr quintptr Page = 4096;
    const int to = std::min(image.height(), from + count);
    if (from >= to)
        return;
    const auto start = reinterpret_cast<quintptr>(image.scanLine(from)) & ~(Page - 1);
    const auto end = reinterpret_cast<quintptr>(image.scanLine(to - 1)) + static_cast<quintptr>(image.bytesPerLine());
    madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE); // only a hint: failure is harmless
#else
    Q_UNUSED(image);
    Q_UNUSED(from);
    Q_UNUSED(count);
#endif
}

// Inflating here while a second thread unfilters and writes the rows. The
// inflating is the lighter half, so this thread also has the memory of the
// rows ahead provided.
PlainPng decodeRowsPipelined(RowInflater& inflater, RowWriter& writer, QImage& image, DecodeProgress* progress)
{
    const int height = image.height();
    RowRing ring(writer.filteredBytes(), RingRows);
    bool written = true;
    std::thread writing([&] {
        for (int y = 0; y < height && ring.waitForRow(y); ++y) {
            if (!writer.write(y, ring.slot(y))) {
                written = false;
                ring.giveUp();
                return;
            }
            ring.taken(y + 1);
            if (progress)
                progress->setRowsDone(y + 1);
        }
    });
    PlainPng result = PlainPng::Decoded;
    for (int y = 0; y < height && result == PlainPng::Decoded; ++y) {
        if (y % RingRows == 0)
            prefault(image, y + RingRows, RingRows);
        if (!ring.waitForRoom(y) || !inflater.fill(ring.slot(y), writer.filteredBytes()))
            result = PlainPng::NotTaken;
        else if (progress && progress->cancel().isCancelled())
            result = PlainPng::Cancelled;
        else
            ring.ready(y + 1);
    }
    if (result != PlainPng::Decoded)
        ring.giveUp();
    writing.join();
    return written ? result : PlainPng::NotTaken;
}

constexpr quint32 AdlerBase = 65521;
constexpr std::size_t AdlerBlock = 32;

// Adds whole blocks of 32 bytes to the Adler-32 sums as that many single
// steps would: in a block, each byte counts in b once per later step.
#ifdef __SSE2__
void addBlocks(quint32& a, quint32& b, const uchar* data, std::size_t blocks)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i w0 = _mm_setr_epi16(32, 31, 30, 29, 28, 27, 26, 25), w1 = _mm_setr_epi16(24, 23, 22, 21, 20, 19, 18, 17),
                  w2 = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9), w3 = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    __m128i sums = zero, before = zero, weighted = zero;
    for (std::size_t k = 0; k < blocks; ++k, data += AdlerBlock) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16));
        before = _mm_add_epi32(before, sums); // the bytes of earlier blocks, once per block
        sums = _mm_add_epi32(sums, _mm_add_epi32(_mm_sad_epu8(lo, zero), _mm_sad_epu8(hi, zero)));
        const __m128i front = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w0),
                                            _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w1));
        const __m128i back = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w2),
                                           _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w3));
        weighted = _mm_add_epi32(weighted, _mm_add_epi32(front, back));
    }
    const auto total = [](__m128i v) {
        v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
        v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
        return quint64{static_cast<quint32>(_mm_cvtsi128_si32(v))};
    };
    b = static_cast<quint32>((b + AdlerBlock * (blocks * a + total(before)) + total(weighted)) % AdlerBase);
    a = static_cast<quint32>((a + total(sums)) % AdlerBase);
}
#else
void addBlocks(quint32& a, quint32& b, const uchar* data, std::size_t blocks)
{
    for (; blocks > 0; --blocks, data += AdlerBlock) {
        quint32 sum = 0, weighted = 0;
        for (std::size_t i = 0; i < AdlerBlock; ++i) {
            sum += data[i];
            weighted += static_cast<quint32>(AdlerBlock - i) * data[i];
        }
        b += AdlerBlock * a + weighted;
        a += sum;
    }
}
#endif

} // namespace

quint32 UpdateAdler32(quint32 adler, const uchar* data, std::size_t length)
{
    // zlib's bound: the most bytes before the sums must be reduced.
    constexpr std::size_t Reduce = 5552;
    quint32 a = adler & 0xffff, b = adler >> 16;
    while (length > 0) {
        std::size_t n = std::min(length, Reduce);
        length -= n;
        addBlocks(a, b, data, n / AdlerBlock);
        data += n / AdlerBlock * AdlerBlock;
        for (n %= AdlerBlock; n > 0; --n, ++data) {
            a += *data;
            b += a;
        }
        a %= AdlerBase;
        b %= AdlerBase;
    }
    return (b << 16) | a;
}

PlainPng DecodePlainPng(QIODevice& device, qint64 start, int channels, QImage& image, DecodeProgress* progress,
                        bool pipelined)
{
    if (!device.seek(start))
        return PlainPng::NotTaken;
    ImageData data(device);
    if (!data.findStart())
        return PlainPng::NotTaken;
    RowInflater inflater(data);
    RowWriter writer(image, channels);
    const PlainPng rows = pipelined ? decodeRowsPipelined(inflater, writer, image, progress)
                                    : decodeRows(inflater, writer, image.height(), progress);
    if (rows != PlainPng::Decoded)
        return rows;
    if (!inflater.finish(writer.adler()))
        return PlainPng::NotTaken;
    // Only an intact IEND may follow: libspng judges every other ending.
    const ChunkHead& end = data.following();
    std::array<uchar, 4> crc{};
    const bool plainEnd = end.is("IEND") && end.length == 0 && readExactly(device, crc.data(), 4) &&
                          qFromBigEndian<quint32>(crc.data()) == crc32(0, reinterpret_cast<const Bytef*>("IEND"), 4);
    return plainEnd ? PlainPng::Decoded : PlainPng::NotTaken;
}

} // namespace tracella
