#include "uJpeg.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return: it jumps back to the decoder with the message kept.
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
    auto *err = reinterpret_cast<TJpegError *>(info->err);
    (*info->err->format_message)(info, err->Message);
    std::longjmp(err->Jump, 1);
}

void OnJpegWarning(j_common_ptr, int) {}

// Everything that lives across the jump is set up before setjmp and is
// plain data, so nothing needs unwinding.
bool Decode(const QByteArray &bytes, QImage &image, QString &message) {
    jpeg_decompress_struct info;
    TJpegError err;
    info.err = jpeg_std_error(&err.Manager);
    err.Manager.error_exit = OnJpegError;
    err.Manager.emit_message = OnJpegWarning;
    err.Message[0] = '\0';
    QImage *target = &image;
    if (setjmp(err.Jump)) {
        jpeg_destroy_decompress(&info);
        message = QString::fromLocal8Bit(err.Message);
        *target = QImage();
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    // A damaged header may declare any size; the decoder would reserve
    // memory for it before reading a single row.
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > MaxJpegSide ||
        info.image_height > MaxJpegSide) {
        jpeg_destroy_decompress(&info);
        message = QStringLiteral("the picture declares %1 x %2 pixels; at most %3 pixels a side are read")
                      .arg(info.image_width)
                      .arg(info.image_height)
                      .arg(MaxJpegSide);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const JDIMENSION width = info.output_width;
    const JDIMENSION height = info.output_height;
    if (info.output_components != 3 || width == 0 || height == 0 || width > MaxJpegSide || height > MaxJpegSide) {
        jpeg_destroy_decompress(&info);
        message = QStringLiteral("unsupported picture size or colour format");
        return false;
    }
    *target = QImage(int(width), int(height), QImage::Format_RGB888);
    if (target->isNull()) {
        jpeg_destroy_decompress(&info);
        message = QStringLiteral("out of memory");
        return false;
    }
    while (info.output_scanline < height) {
        JSAMPROW row = target->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray &bytes, QString *error) {
    QImage image;
    QString message;
    if (bytes.isEmpty()) {
        message = QStringLiteral("no data");
    } else if (!Decode(bytes, image, message)) {
        image = QImage();
    }
    if (error)
        *error = image.isNull() ? message : QString();
    return image;
}
