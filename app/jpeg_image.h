#pragma once
// JPEG pictures decoded with libjpeg(-turbo) straight into a QImage.
//
// Damaged data never ends the program: empty, truncated, corrupt or non-JPEG input yields a null
// QImage, and libjpeg's messages are kept off stderr. Neither function needs a QGuiApplication.
#include <QImage>
#include <QString>
#include <span>

namespace vorlanex::app {

// Decodes a baseline or progressive JPEG (YCbCr, RGB or grayscale) into a Format_RGB32 image.
// Returns a null image when the bytes are not a complete, undamaged JPEG picture; a picture whose
// entropy-coded data is cut short or corrupt counts as damaged, even where libjpeg could patch it
// up. CMYK/YCCK pictures and pictures larger than 16384 px in either direction are refused too.
QImage decode_jpeg(std::span<const unsigned char> bytes);

// Reads a Qt resource (":/pictures/x.jpg") - or, failing that, a plain file - and decodes it.
// Returns a null image when it does not exist or cannot be decoded.
QImage decode_jpeg_resource(const QString& resource_path);

}  // namespace vorlanex::app
