#pragma once
// The small picture beside the speed-for-visibility text: the view ahead along a winding road.
#include <QImage>

namespace vorlanex::pictures {

// A winding road with a dashed centre line, seen in perspective from the driver's seat, under a
// pale sky, and at its far end, where it bends right, two yellow chevron boards. Opaque; drawn
// for 32 x 32 and scaled to `width` x `height`.
QImage draw_road_view(int width, int height);

}  // namespace vorlanex::pictures
