// Decoding of the interface's JPEG pictures with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The largest width or height of a picture that is decoded.
inline constexpr unsigned MaxJpegSide = 8192;

// The picture in bytes as an RGB image; a null image (and the decoder's
// message in error, when given) for data that is no readable JPEG.
QImage DecodeJpeg(const QByteArray &bytes, QString *error = nullptr);
