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

// Reads a picture file and decodes it; a null image when it cannot be read or decoded. The window's
// own pictures are compiled into the program (resources/compiled_pictures) and go to decode_jpeg
// directly; this is for a picture on disk.
QImage decode_jpeg_file(const QString& path);

}  // namespace vorlanex::app
