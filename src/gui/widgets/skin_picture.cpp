#include "gui/widgets/skin_picture.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>

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

void JumpOnErrors(jpeg_decompress_struct& info, JpegErrors& errors) {
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = LeaveDecoding;
    errors.manager.emit_message = IgnoreMessage;
}

// Where one face's lines go: rows top..bottom, columns left..left + width - 1 of the picture, to
// rows of `stride` bytes at `pixels`.
struct FaceTarget {
    int top;
    int bottom;
    int left;
    int width;
    unsigned char* pixels;
    qsizetype stride;
};

constexpr int kBytesPerPixel = 4;

// Only plain values cross the jumps in the two functions below: no C++ object is made between
// setjmp and a longjmp that would skip its destructor.
bool ReadJpegSize(const unsigned char* data, unsigned long size, int* width, int* height) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    JumpOnErrors(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    *width = static_cast<int>(info.image_width);
    *height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

// Decodes the lines the faces cover as opaque 32-bit pixels (QImage::Format_RGB32 in memory) and
// copies each face's part of them; `line` holds one whole line. A line only one full-width face
// needs is decoded straight into it. Lines no face covers are skipped.
bool DecodeJpegFaces(const unsigned char* data, unsigned long size, const FaceTarget* faces,
                     std::size_t count, unsigned char* line) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    JumpOnErrors(info, errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    int last = -1;
    for (std::size_t f = 0; f < count; ++f) {
        last = std::max(last, faces[f].bottom);
    }
    int y = 0;
    while (y <= last) {
        // The faces on this line; without any, skip to the next line one needs.
        const FaceTarget* only = nullptr;
        int covering = 0;
        int next = last + 1;
        for (std::size_t f = 0; f < count; ++f) {
            if (faces[f].top <= y && y <= faces[f].bottom) {
                ++covering;
                only = &faces[f];
            } else if (faces[f].top > y) {
                next = std::min(next, faces[f].top);
            }
        }
        if (covering == 0) {
            jpeg_skip_scanlines(&info, static_cast<JDIMENSION>(next - y));
            y = next;
            continue;
        }
        const bool direct = covering == 1 && only->left == 0 && only->width == width;
        JSAMPROW row = direct ? only->pixels + (y - only->top) * only->stride : line;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        if (!direct) {
            for (std::size_t f = 0; f < count; ++f) {
                const FaceTarget& face = faces[f];
                if (face.top <= y && y <= face.bottom) {
                    std::memcpy(face.pixels + (y - face.top) * face.stride,
                                line + face.left * kBytesPerPixel,
                                static_cast<std::size_t>(face.width) * kBytesPerPixel);
                }
            }
        }
        ++y;
    }
    // The lines below are not wanted.
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool IsJpeg(const QByteArray& bytes) {
    return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// Nothing when libjpeg cannot decode the picture.
std::optional<SkinFaces> DecodeJpeg(const QByteArray& bytes, const std::vector<QRect>& faces) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0, height = 0;
    if (!ReadJpegSize(data, size, &width, &height)) {
        return std::nullopt;
    }
    const QRect picture(0, 0, width, height);
    std::vector<QImage> images(faces.size());
    std::vector<FaceTarget> targets;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const QRect inside = faces[f] & picture;
        if (inside.isEmpty()) {
            continue;
        }
        images[f] = QImage(inside.size(), QImage::Format_RGB32);
        if (images[f].isNull()) {
            return std::nullopt;
        }
        targets.push_back({inside.top(), inside.bottom(), inside.left(), inside.width(),
                           images[f].bits(), images[f].bytesPerLine()});
    }
    std::vector<unsigned char> line(static_cast<std::size_t>(width) * kBytesPerPixel);
    if (!targets.empty() &&
        !DecodeJpegFaces(data, size, targets.data(), targets.size(), line.data())) {
        return std::nullopt;
    }
    return SkinFaces{picture.size(), std::move(images)};
}

// Qt's reader: the faces' bounding rectangle decoded, then each face cut from it.
SkinFaces DecodeByQt(const QString& file, const std::vector<QRect>& faces, QString* error) {
    QImageReader reader(file);
    const QRect picture(QPoint(0, 0), reader.canRead() ? reader.size() : QSize());
    QRect wanted;
    for (const QRect& face : faces) {
        wanted |= face & picture;
    }
    SkinFaces decoded{picture.size(), std::vector<QImage>(faces.size())};
    if (wanted.isEmpty()) {
        if (error != nullptr) {
            *error = reader.errorString();
        }
        return decoded;
    }
    reader.setClipRect(wanted);
    const QImage part = reader.read();
    if (part.isNull()) {
        if (error != nullptr) {
            *error = reader.errorString();
        }
        return decoded;
    }
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const QRect inside = faces[f] & picture;
        if (inside == wanted) {
            decoded.faces[f] = part;
        } else if (!inside.isEmpty()) {
            decoded.faces[f] = part.copy(inside.translated(-wanted.topLeft()));
        }
    }
    return decoded;
}

SkinFaces Decode(const QString& file, const std::vector<QRect>& faces, QString* error) {
    QFile input(file);
    if (input.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = input.readAll();
        if (IsJpeg(bytes)) {
            if (std::optional<SkinFaces> decoded = DecodeJpeg(bytes, faces)) {
                return std::move(*decoded);
            }
        }
    }
    return DecodeByQt(file, faces, error);
}

}  // namespace

QImage DecodeSkinPicture(const QString& file, const QRect& clip, QString* error) {
    // A rectangle far larger than any picture stands for "all of it".
    constexpr int kEverything = 1 << 20;
    const QRect wanted = clip.isNull() ? QRect(0, 0, kEverything, kEverything) : clip;
    return Decode(file, {wanted}, error).faces.front();
}

SkinFaces DecodeSkinFaces(const QString& file, const std::vector<QRect>& faces) {
    return Decode(file, faces, nullptr);
}

}  // namespace korvel
