#include "PictureCodec.h"

#include "CodecErrors.h"
#include "MemoryBuffer.h"
#include "store/HugePages.h"

#include <QImageReader>
#include <QtEndian>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>


#include <jpeglib.h>
#include <jerror.h>

namespace album {

PictureFormat formatOfFlag(const QVariant& flag)
{
    if (flag.isNull())
        return PictureFormat::None;
    const QString text = flag.toString();
    if (text == QLatin1String("0"))
        return PictureFormat::Bmp;
    if (text == QLatin1String("1"))
        return PictureFormat::Jpeg;
    return PictureFormat::None;
}

QByteArray PictureBytes::readAll()
{
    QByteArray bytes;
    readAll(bytes);
    return bytes;
}

void PictureBytes::readAll(QByteArray& bytes)
{
    bytes.resize(size());
    read(0, bytes.data(), bytes.size());
}

QSize fitPicture(QSize natural, QSize area)
{
    const qint64 W = natural.width(), H = natural.height();
    const qint64 AW = area.width(), AH = area.height();
    qint64 w = W, h = H;
    const bool wider = AH == 0 ? false : double(W) / double(H) >= double(AW) / double(AH);
    if (wider) {
        if (W > AW) {
            h = AW * H / W;
            w = AW;
        }
    } else if (H > AH) {
        w = W * AH / H;
        h = AH;
    }
    return QSize(int(w), int(h));
}


// ---- JPEG ------------------------------------------------------------------------------------
//
// libjpeg reports fatal errors through error_exit, which must not return. Ours longjmps back to
// the setjmp in runJpeg. Everything between the setjmp and a possible longjmp is plain C data
// (no object with a destructor lives in that frame), and the pixel buffer is taken and released
// by hand, so the jump skips nothing that needs cleaning up. Only after libjpeg is done is the
// buffer handed to a QImage.

namespace {

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool tooManyScans;
    CancelFlag cancelled;
    bool wasCancelled;
    bool readFailed;
};

extern "C" void jpegErrorExit(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings are not shown, except that data ending before the picture does (a truncated stream,
// which libjpeg would pad with grey, or one whose coded data stops at a marker early) is an error
// like any other broken stream. This also stops a short stream claiming a large frame at once
// instead of decoding millions of padded pixels.
extern "C" void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER))
        jpegErrorExit(cinfo);
    if (level < 0)
        ++cinfo->err->num_warnings;
}

extern "C" void jpegOutputMessage(j_common_ptr) {}

// libjpeg calls this once per row of blocks while it reads the coded data and once per output
// row, so a stream with more scans than kMaxJpegScans is stopped as its first scan too many
// begins, before it costs more than that many passes over the picture, and a decoding whose
// result is no longer wanted stops within a row.
extern "C" void jpegProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    if (manager->cancelled && manager->cancelled->load(std::memory_order_relaxed)) {
        manager->wasCancelled = true;
        std::longjmp(manager->jump, 1);
    }
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxJpegScans)
        return;
    manager->tooManyScans = true;
    std::longjmp(manager->jump, 1);
}

// A source manager that reads the stream piece by piece from a PictureBytes into one buffer of
// kPullBytes, so that a picture in the store is decoded without a copy of its whole. Data that
// ends early is met as the memory source meets it: a warning (an error here, see above) and an
// end-of-image marker. A failed read ends the decoding with what the reader threw.
constexpr qint64 kPullBytes = 64 * 1024;

struct PulledSource {
    jpeg_source_mgr pub;
    PictureBytes* bytes;
    qint64 offset;  // of the next piece to read
    unsigned char* buffer;
    std::exception_ptr failure;  // what the read threw, passed on as it is
};

// The next piece into the buffer: its length, 0 at the end, -1 when the read failed.
qint64 pullPiece(PulledSource* source) noexcept
{
    try {
        const qint64 left = source->bytes->size() - source->offset;
        const qint64 length = std::min(left, kPullBytes);
        if (length <= 0)
            return 0;
        source->bytes->read(source->offset, reinterpret_cast<char*>(source->buffer), length);
        source->offset += length;
        return length;
    } catch (...) {
        source->failure = std::current_exception();
    }
    return -1;
}

extern "C" void pulledInit(j_decompress_ptr) {}
extern "C" void pulledTerm(j_decompress_ptr) {}

extern "C" boolean pulledFill(j_decompress_ptr cinfo)
{
    static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
    auto* source = reinterpret_cast<PulledSource*>(cinfo->src);
    const qint64 length = pullPiece(source);
    if (length < 0) {
        auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
        manager->readFailed = true;
        std::longjmp(manager->jump, 1);
    }
    if (length == 0) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->pub.next_input_byte = kEndOfImage;
        source->pub.bytes_in_buffer = 2;
        return TRUE;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = size_t(length);
    return TRUE;
}

// Skipped bytes beyond the buffer are never read.
extern "C" void pulledSkip(j_decompress_ptr cinfo, long count)
{
    auto* source = reinterpret_cast<PulledSource*>(cinfo->src);
    if (count <= 0)
        return;
    if (size_t(count) <= source->pub.bytes_in_buffer) {
        source->pub.next_input_byte += count;
        source->pub.bytes_in_buffer -= size_t(count);
        return;
    }
    source->offset += qint64(size_t(count) - source->pub.bytes_in_buffer);
    source->pub.bytes_in_buffer = 0;
    (void)pulledFill(cinfo);
}

void preparePulledSource(PulledSource* source, PictureBytes* bytes, unsigned char* buffer)
{
    source->pub.init_source = pulledInit;
    source->pub.fill_input_buffer = pulledFill;
    source->pub.skip_input_data = pulledSkip;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = pulledTerm;
    source->pub.next_input_byte = nullptr;
    source->pub.bytes_in_buffer = 0;
    source->bytes = bytes;
    source->offset = 0;
    source->buffer = buffer;
    source->failure = nullptr;
}

enum class JpegStatus {
    Ok, LibraryError, NoImage, TooLarge, NoMemory, HeaderOnly, TooManyScans, Truncated, Cancelled,
    ReadFailed
};

struct JpegJob {
    // in: the stream in memory (data, size), or pulled piece by piece
    const unsigned char* data;
    unsigned long size;
    PulledSource* pulled;
    bool headerOnly;
    bool checkOnly;        // every scan read at the smallest scale into one row; no picture kept
    unsigned leastWidth;   // 0: full size; otherwise the smallest DCT scale giving at least
    unsigned leastHeight;  // leastWidth × leastHeight (full size when none does)
    bool leastFromArea;    // the least size is the picture's size fitted to the area below
    QSize area;
    CancelFlag cancelled;
    // out
    JpegStatus status;
    int code;  // libjpeg's message code of a LibraryError
    unsigned width;   // the header's, then the decoded picture's
    unsigned height;
    unsigned imageWidth;   // the header's
    unsigned imageHeight;
    unsigned rowsRead;  // of a Truncated picture
    unsigned char* pixels;  // from allocatePixels, bytesPerLine × height; released by the QImage
    size_t bytesPerLine;
    char message[JMSG_LENGTH_MAX];
};

// Pixel memory for a decoded picture. A full-size photograph is tens of megabytes that are all
// written once, so the buffer is mapped on its own in huge pages (see store/HugePages.h). The
// mapping's start and length sit just before the pixels, for release.
constexpr size_t kPixelHeader = 64;

unsigned char* allocatePixels(size_t bytes)
{
    const store::HugePageMapping mapping = store::mapHugePages(bytes, kPixelHeader);
    if (!mapping.base)
        return nullptr;
    auto* pixels = reinterpret_cast<unsigned char*>(mapping.start);
    auto* header = reinterpret_cast<size_t*>(pixels - kPixelHeader);
    header[0] = reinterpret_cast<uintptr_t>(mapping.base);
    header[1] = mapping.length;
    return pixels;
}

extern "C" void releasePixels(void* pixels)
{
    if (!pixels)
        return;
    const auto* header = reinterpret_cast<const size_t*>(static_cast<unsigned char*>(pixels) - kPixelHeader);
    store::unmap({reinterpret_cast<void*>(header[0]), header[1], static_cast<char*>(pixels)});
}

void cmykRowToRgb32(const unsigned char* cmyk, unsigned char* out, unsigned width, bool inverted)
{
    for (unsigned x = 0; x < width; ++x) {
        unsigned c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const quint32 pixel = qRgb(int(c * k / 255), int(m * k / 255), int(y * k / 255));
        std::memcpy(out + 4 * size_t(x), &pixel, 4);
    }
}

// The smallest of libjpeg's scales 1/8 .. 8/8 whose output is at least leastWidth × leastHeight;
// full size when the picture is smaller than that. Scaling happens inside the inverse DCT, so a
// smaller scale decodes proportionally less.
void chooseScale(jpeg_decompress_struct* cinfo, unsigned leastWidth, unsigned leastHeight)
{
    for (unsigned eighths = 1; eighths <= 8; ++eighths) {
        cinfo->scale_num = eighths;
        cinfo->scale_denom = 8;
        jpeg_calc_output_dimensions(cinfo);
        if (cinfo->output_width >= leastWidth && cinfo->output_height >= leastHeight)
            return;
    }
}

// Plain C from here to the end of the function: see the comment above.
void runJpeg(JpegJob* job)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    jpeg_progress_mgr progress;
    unsigned char* volatile pixels = nullptr;
    unsigned char* volatile scratchRow = nullptr;

    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jpegErrorExit;
    errors.pub.emit_message = jpegEmitMessage;
    errors.pub.output_message = jpegOutputMessage;
    errors.message[0] = '\0';
    errors.tooManyScans = false;
    errors.cancelled = job->cancelled;
    errors.wasCancelled = false;
    errors.readFailed = false;
    progress.progress_monitor = jpegProgress;
    job->status = JpegStatus::Ok;
    job->pixels = nullptr;
    job->message[0] = '\0';

    if (setjmp(errors.jump)) {
        releasePixels(pixels);
        std::free(scratchRow);
        jpeg_destroy_decompress(&cinfo);
        job->status = errors.wasCancelled  ? JpegStatus::Cancelled
                      : errors.readFailed   ? JpegStatus::ReadFailed
                      : errors.tooManyScans ? JpegStatus::TooManyScans
                                            : JpegStatus::LibraryError;
        job->code = errors.pub.msg_code;
        job->width = cinfo.image_width;
        job->height = cinfo.image_height;
        std::snprintf(job->message, sizeof job->message, "%s", errors.message);
        return;
    }

    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    if (job->pulled)
        cinfo.src = &job->pulled->pub;
    else
        jpeg_mem_src(&cinfo, job->data, job->size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::NoImage;
        return;
    }
    job->width = job->imageWidth = cinfo.image_width;
    job->height = job->imageHeight = cinfo.image_height;
    if (job->width == 0 || job->height == 0) {
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::NoImage;
        return;
    }
    if (job->headerOnly) {
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::HeaderOnly;
        return;
    }
    if (quint64(job->width) * quint64(job->height) > quint64(kMaxPixels)) {
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::TooLarge;
        return;
    }

    // The default settings, but the pixels written straight in QImage's RGB32 layout (a CMYK
    // stream is converted row by row).
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else
        cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    if (job->checkOnly) {
        cinfo.scale_num = 1;
        cinfo.scale_denom = 8;
    } else if (job->leastFromArea) {
        const QSize least = fitPicture(QSize(int(job->width), int(job->height)), job->area).expandedTo(QSize(1, 1));
        chooseScale(&cinfo, unsigned(least.width()), unsigned(least.height()));
    } else if (job->leastWidth > 0) {
        chooseScale(&cinfo, job->leastWidth, job->leastHeight);
    }

    // The memory source never suspends, so FALSE here would be a library fault: reported as
    // data that does not decode rather than trusted.
    if (!jpeg_start_decompress(&cinfo)) {
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::Truncated;
        job->rowsRead = 0;
        job->height = cinfo.output_height;
        return;
    }
    const size_t bytesPerLine = size_t(cinfo.output_width) * 4;
    // A check only needs the decoder to get through: every row goes into one scratch row, as
    // a CMYK row does before it is converted.
    const bool scratchRows = cmyk || job->checkOnly;
    if (!job->checkOnly)
        pixels = allocatePixels(bytesPerLine * cinfo.output_height);
    if (scratchRows)
        scratchRow = static_cast<unsigned char*>(std::malloc(bytesPerLine));
    if ((!job->checkOnly && !pixels) || (scratchRows && !scratchRow)) {
        releasePixels(pixels);
        std::free(scratchRow);
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::NoMemory;
        return;
    }
    // A check has the decoder skip every row but the last: a skipped row of blocks is still
    // Huffman-decoded, so a stream that ends early or holds a bad code fails as it would when
    // drawn, but no block is transformed, upsampled or converted (about 5 % of a check). The last
    // row is read, because skipping to the end would stop the decoder without reading the rest.
    if (job->checkOnly && cinfo.output_height > 1)
        (void)jpeg_skip_scanlines(&cinfo, cinfo.output_height - 1);
    // A row that does not come (which only a suspending source would cause) ends the decoding
    // as a broken picture: the rows below it were never written.
    bool complete = true;
    while (complete && cinfo.output_scanline < cinfo.output_height) {
        unsigned char* row = job->checkOnly ? nullptr : pixels + bytesPerLine * cinfo.output_scanline;
        JSAMPROW rows[1] = {scratchRows ? scratchRow : row};
        complete = jpeg_read_scanlines(&cinfo, rows, 1) == 1;
        if (complete && cmyk && row)
            cmykRowToRgb32(scratchRow, row, cinfo.output_width, cinfo.saw_Adobe_marker);
    }
    if (!complete || !jpeg_finish_decompress(&cinfo)) {
        job->rowsRead = cinfo.output_scanline;
        job->height = cinfo.output_height;
        releasePixels(pixels);
        std::free(scratchRow);
        jpeg_destroy_decompress(&cinfo);
        job->status = JpegStatus::Truncated;
        return;
    }
    job->width = cinfo.output_width;
    job->height = cinfo.output_height;
    job->bytesPerLine = bytesPerLine;
    job->pixels = pixels;
    std::free(scratchRow);
    jpeg_destroy_decompress(&cinfo);
}

QString tooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("图片过大：%1×%2 像素，超过了一亿像素的上限，无法显示")
        .arg(width).arg(height);
}

enum class JpegWork { HeaderOnly, Decode, Check };

JpegJob jobFor(JpegWork work, CancelFlag cancelled = nullptr)
{
    JpegJob job{};
    job.headerOnly = work == JpegWork::HeaderOnly;
    job.checkOnly = work == JpegWork::Check;
    job.cancelled = cancelled;
    return job;
}

JpegJob jobAtLeast(QSize least, CancelFlag cancelled)
{
    Q_ASSERT(least.width() > 0 && least.height() > 0);
    JpegJob job = jobFor(JpegWork::Decode, cancelled);
    job.leastWidth = unsigned(least.width());
    job.leastHeight = unsigned(least.height());
    return job;
}

JpegJob jobForArea(QSize area, CancelFlag cancelled)
{
    JpegJob job = jobFor(JpegWork::Decode, cancelled);
    job.leastFromArea = true;
    job.area = area;
    return job;
}

const QString kEmptyJpeg = QStringLiteral("JPEG 图片数据为空，无法解码");

// Runs the job on its stream and turns every failure into its exception.
void finishJob(JpegJob& job)
{
    runJpeg(&job);
    switch (job.status) {
    case JpegStatus::LibraryError:
        if (job.code == JERR_IMAGE_TOO_BIG)  // a side over libjpeg's own limit of 65,500
            throw DecodeError(tooLarge(job.width, job.height));
        throw DecodeError(QStringLiteral("JPEG 图片数据无法解码（%1）")
                              .arg(jpegFailure(job.code, QString::fromLocal8Bit(job.message))));
    case JpegStatus::NoImage:
        throw DecodeError(QStringLiteral("JPEG 图片数据中没有图片"));
    case JpegStatus::TooLarge:
        throw DecodeError(tooLarge(job.width, job.height));
    case JpegStatus::TooManyScans:
        throw DecodeError(QStringLiteral("JPEG 图片数据无法解码（扫描多于 %1 遍，不是正常的图片）")
                              .arg(kMaxJpegScans));
    case JpegStatus::Truncated:
        throw DecodeError(QStringLiteral("JPEG 图片数据无法解码（只解出了 %1 行，图片共 %2 行）")
                              .arg(job.rowsRead).arg(job.height));
    case JpegStatus::Cancelled:
        throw DecodeCancelled();
    case JpegStatus::NoMemory:
        throw DecodeError(QStringLiteral("内存不足，无法解码 %1×%2 像素的 JPEG 图片")
                              .arg(job.width).arg(job.height));
    case JpegStatus::ReadFailed:
        std::rethrow_exception(job.pulled->failure);
    case JpegStatus::Ok:
    case JpegStatus::HeaderOnly:
        break;
    }
}

JpegJob runOn(const QByteArray& data, JpegJob job)
{
    if (data.isEmpty())
        throw DecodeError(kEmptyJpeg);
    job.data = reinterpret_cast<const unsigned char*>(data.constData());
    job.size = static_cast<unsigned long>(data.size());
    finishJob(job);
    return job;
}

JpegJob runOn(PictureBytes& data, JpegJob job)
{
    const qint64 size = data.size();
    if (size <= 0)
        throw DecodeError(kEmptyJpeg);
    const auto buffer = std::make_unique<unsigned char[]>(size_t(std::min(size, kPullBytes)));
    PulledSource source;
    preparePulledSource(&source, &data, buffer.get());
    job.pulled = &source;
    finishJob(job);
    job.pulled = nullptr;
    return job;
}

QImage imageOfJob(const JpegJob& job)
{
    QImage image(job.pixels, int(job.width), int(job.height), qsizetype(job.bytesPerLine),
                 QImage::Format_RGB32, releasePixels, job.pixels);
    if (image.isNull()) {
        releasePixels(job.pixels);
        throw DecodeError(QStringLiteral("内存不足，无法显示 JPEG 图片"));
    }
    return image;
}

JpegForArea forAreaOfJob(const JpegJob& job)
{
    return JpegForArea{QSize(int(job.imageWidth), int(job.imageHeight)), imageOfJob(job)};
}

} // namespace

QSize jpegSize(const QByteArray& data)
{
    const JpegJob job = runOn(data, jobFor(JpegWork::HeaderOnly));
    return QSize(int(job.width), int(job.height));
}

QImage decodeJpeg(const QByteArray& data)
{
    return imageOfJob(runOn(data, jobFor(JpegWork::Decode)));
}

QImage decodeJpegAtLeast(const QByteArray& data, QSize least, CancelFlag cancelled)
{
    return imageOfJob(runOn(data, jobAtLeast(least, cancelled)));
}

QImage decodeJpegAtLeast(PictureBytes& data, QSize least, CancelFlag cancelled)
{
    return imageOfJob(runOn(data, jobAtLeast(least, cancelled)));
}

JpegForArea decodeJpegForArea(const QByteArray& data, QSize area, CancelFlag cancelled)
{
    return forAreaOfJob(runOn(data, jobForArea(area, cancelled)));
}

JpegForArea decodeJpegForArea(PictureBytes& data, QSize area, CancelFlag cancelled)
{
    return forAreaOfJob(runOn(data, jobForArea(area, cancelled)));
}

void checkJpeg(const QByteArray& data)
{
    (void)runOn(data, jobFor(JpegWork::Check));
}

// ---- BMP -------------------------------------------------------------------------------------
//
// The header is read here before Qt's reader sees the data: the size must be positive and at
// most kMaxPixels (a negative height only says the rows are stored top-down), the kind of bitmap
// (compression and bit depth) one that the reader decodes, and an uncompressed bitmap's rows must
// all be present in the data. A run-length-encoded bitmap can expand, but only so far per byte.
// The size is taken from this header, never from the reader, which gives a top-down bitmap's
// height as negative.

namespace {

quint32 le32(const QByteArray& data, int at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 le16(const QByteArray& data, int at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

QString brokenBmp(const QString& why)
{
    return QStringLiteral("BMP 图片数据无法解码（%1）").arg(why);
}

enum BmpCompression : quint32 { kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitfields = 3 };

QString compressionName(quint32 compression)
{
    switch (compression) {
    case kBmpRgb:
        return QStringLiteral("不压缩");
    case kBmpRle8:
        return QStringLiteral("RLE8");
    case kBmpRle4:
        return QStringLiteral("RLE4");
    case kBmpBitfields:
        return QStringLiteral("BITFIELDS");
    case 4:
        return QStringLiteral("内含 JPEG");
    case 5:
        return QStringLiteral("内含 PNG");
    case 6:
        return QStringLiteral("ALPHABITFIELDS");
    default:
        return QStringLiteral("压缩方式 %1").arg(compression);
    }
}

// The kinds the reader decodes: uncompressed at any BMP depth, RLE8 at 8 bits, RLE4 at 4 bits,
// bit fields at 16 or 32 bits.
bool isReadableKind(quint32 compression, quint32 bits)
{
    switch (compression) {
    case kBmpRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBmpRle8:
        return bits == 8;
    case kBmpRle4:
        return bits == 4;
    case kBmpBitfields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

struct BmpHeader {
    qint64 width = 0;
    qint64 height = 0;  // rows, whichever way they are stored
    quint32 planes = 0;
    quint32 bits = 0;
    quint32 compression = kBmpRgb;
    quint32 pixelOffset = 0;
};

BmpHeader readBmpHeader(const QByteArray& data)
{
    constexpr int kFileHeader = 14;
    if (data.size() < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M')
        throw DecodeError(brokenBmp(QStringLiteral("不是 BMP 文件")));
    BmpHeader header;
    header.pixelOffset = le32(data, 10);
    const quint32 infoSize = le32(data, 14);
    if (infoSize == 12) {
        header.width = le16(data, 18);
        header.height = le16(data, 20);
        header.planes = le16(data, 22);
        header.bits = le16(data, 24);
    } else if (infoSize >= 40 && infoSize <= 4096 && data.size() >= kFileHeader + 40) {
        header.width = qint32(le32(data, 18));
        header.height = std::abs(qint64(qint32(le32(data, 22))));
        header.planes = le16(data, 26);
        header.bits = le16(data, 28);
        header.compression = le32(data, 30);
    } else {
        throw DecodeError(brokenBmp(QStringLiteral("文件头不完整")));
    }
    return header;
}

} // namespace

QImage decodeBmp(const QByteArray& data)
{
    if (data.isEmpty())
        throw DecodeError(QStringLiteral("BMP 图片数据为空，无法解码"));
    const BmpHeader header = readBmpHeader(data);
    const qint64 width = header.width, height = header.height;
    if (width <= 0 || height <= 0)
        throw DecodeError(brokenBmp(QStringLiteral("图片尺寸为 %1×%2").arg(width).arg(height)));
    if (width * height > kMaxPixels)
        throw DecodeError(tooLarge(width, height));
    if (header.planes != 1)
        throw DecodeError(brokenBmp(QStringLiteral("不支持这种 BMP：%1 个位面").arg(header.planes)));
    if (!isReadableKind(header.compression, header.bits))
        throw DecodeError(brokenBmp(QStringLiteral("不支持这种 BMP：%1, %2 位")
                                        .arg(compressionName(header.compression))
                                        .arg(header.bits)));
    const qint64 available = qint64(data.size()) - qint64(header.pixelOffset);
    if (header.pixelOffset >= quint32(data.size()) || available <= 0)
        throw DecodeError(brokenBmp(QStringLiteral("没有像素数据")));
    if (header.compression == kBmpRgb || header.compression == kBmpBitfields) {
        const qint64 rowBytes = (width * header.bits + 31) / 32 * 4;
        if (rowBytes * height > available)
            throw DecodeError(brokenBmp(QStringLiteral("文件头所说的 %1×%2 像素超出了数据的长度")
                                            .arg(width).arg(height)));
    } else {
        // The most a run-length code can claim is a jump of 255 × 255 pixels in four bytes.
        if (width * height > available * 16384)
            throw DecodeError(brokenBmp(QStringLiteral("文件头所说的 %1×%2 像素超出了数据的长度")
                                            .arg(width).arg(height)));
    }

    QByteArray copy = data;  // shares the bytes; QBuffer needs a non-const array
    QBuffer buffer(&copy);
    openInMemory(buffer, QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);  // the BMP reader only, never a guess from content
    reader.setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 16);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw DecodeError(brokenBmp(readFailure(reader)));
    if (qint64(image.width()) * image.height() > kMaxPixels)
        throw DecodeError(tooLarge(image.width(), image.height()));
    return image;
}

std::optional<QImage> decodeRecord(const QByteArray& data, const QVariant& flag)
{
    switch (formatOfFlag(flag)) {
    case PictureFormat::Bmp:
        return decodeBmp(data);
    case PictureFormat::Jpeg:
        return decodeJpeg(data);
    case PictureFormat::None:
        break;
    }
    return std::nullopt;
}

std::optional<QImage> decodeRecordAtLeast(PictureBytes& data, const QVariant& flag, QSize least,
                                          CancelFlag cancelled)
{
    switch (formatOfFlag(flag)) {
    case PictureFormat::Bmp:
        return decodeBmp(data.readAll());
    case PictureFormat::Jpeg:
        return decodeJpegAtLeast(data, least, cancelled);
    case PictureFormat::None:
        break;
    }
    return std::nullopt;
}

std::optional<QImage> decodeRecordAtLeast(const QByteArray& data, const QVariant& flag, QSize least,
                                          CancelFlag cancelled)
{
    switch (formatOfFlag(flag)) {
    case PictureFormat::Bmp:
        return decodeBmp(data);
    case PictureFormat::Jpeg:
        return decodeJpegAtLeast(data, least, cancelled);
    case PictureFormat::None:
        break;
    }
    return std::nullopt;
}

} // namespace album
