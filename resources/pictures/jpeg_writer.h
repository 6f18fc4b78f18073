#pragma once
// Encodes a QImage as a JPEG file with fixed libjpeg settings, so that the same pixels always give
// the same bytes.
#include <QImage>
#include <QString>

namespace vorlanex::pictures {

enum class JpegColour {
    Grey,  // one component: black-on-white formulas, no colour fringes at all
    Full,  // YCbCr with full-resolution chroma (4:4:4), so thin coloured lines keep their colour
};

// Writes `image` to `path` at quality 95 with optimised Huffman tables, baseline, JFIF header.
// Returns false, with a message on stderr, when the file cannot be written.
bool write_jpeg(const QImage& image, JpegColour colour, const QString& path);

}  // namespace vorlanex::pictures
