#pragma once
// A case file's thumbnail for the desktop's file manager: a portrait sheet with the case's title,
// its reference, the first calculation (its title and page) and how many there are, and the
// calculator's minibus in a corner. Qt Gui alone (QImage and QPainter), so the thumbnailer runs
// without a display.
#include <QImage>

#include "casefile/case_file.h"

namespace vorlanex::spis {

// The sizes a thumbnail may be asked in, in pixels of its longer side.
inline constexpr int kSmallestThumbnail = 8;
inline constexpr int kLargestThumbnail = 4096;

// The thumbnail of `file`, `size` pixels high and narrower as an A4 sheet is; `size` within
// kSmallestThumbnail .. kLargestThumbnail.
QImage case_thumbnail(const casefile::CaseFile& file, int size);

}  // namespace vorlanex::spis
