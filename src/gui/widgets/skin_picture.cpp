#include "gui/widgets/skin_picture.h"

#include <QFile>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>

// libjpeg's header expects the standard C declarations before it.
#include <jpeglib.h>

namespace korvel {
namespace {

// libjpeg reports a damaged picture by calling error_exit, which must not return: it jumps back
// to the decoding function. Its warnings (a picture cut short, say) are left unsaid.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void LeaveDecoding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

struct JpegSize {
    int width = 0;
    int height = 0;
};

// Only plain values cross the jumps in the two functions below: no C++ object is alive between
// setjmp and a longjmp that would skip its destructor.
bool ReadJpegSize(const unsigned char* data, unsigned long size, JpegSize* out) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveDecoding;
    errors.manager.emit_message = IgnoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    out->width = static_cast<int>(info.image_width);
    out->height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

// Decodes the lines top .. top + lines - 1, whole, into rows of `stride` bytes at `pixels`, as
// opaque 32-bit pixels (QImage::Format_RGB32 in memory: blue, green, red, 0xff).
bool DecodeJpegLines(const unsigned char* data, unsigned long size, int top, int lines,
                     unsigned char* pixels, qsizetype stride) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveDecoding;
    errors.manager.emit_message = IgnoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&info);
    if (top > 0) {
        jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(top));
    }
    for (int y = 0; y < lines; ++y) {
        JSAMPROW row = pixels + y * stride;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
    }
    // The lines below are not wanted.
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

QImage DecodeJpeg(const QByteArray& bytes, const QRect& clip) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    JpegSize picture;
    if (!ReadJpegSize(data, size, &picture)) {
        return QImage();
    }
    const QRect whole(0, 0, picture.width, picture.height);
    const QRect wanted = clip.isNull() ? whole : clip & whole;
    if (wanted.isEmpty()) {
        return QImage();
    }
    QImage lines(picture.width, wanted.height(), QImage::Format_RGB32);
    if (lines.isNull() || !DecodeJpegLines(data, size, wanted.top(), wanted.height(), lines.bits(),
                                           lines.bytesPerLine())) {
        return QImage();
    }
    return wanted.width() == picture.width
               ? lines
               : lines.copy(wanted.left(), 0, wanted.width(), wanted.height());
}

bool IsJpeg(const QByteArray& bytes) {
    return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

}  // namespace

QImage DecodeSkinPicture(const QString& file, const QRect& clip, QString* error) {
    QFile input(file);
    if (input.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = input.readAll();
        if (IsJpeg(bytes)) {
            QImage picture = DecodeJpeg(bytes, clip);
            if (!picture.isNull()) {
                return picture;
            }
        }
    }
    QImageReader reader(file);
    if (!clip.isNull()) {
        reader.setClipRect(clip);
    }
    QImage picture = reader.read();
    if (picture.isNull() && error != nullptr) {
        *error = reader.errorString();
    }
    return picture;
}

}  // namespace korvel
