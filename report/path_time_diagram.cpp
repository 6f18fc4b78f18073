#include "report/path_time_diagram.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "numeric/show_number.h"
#include "report/diagram_values.h"
#include "report/markup.h"

namespace vorlanex::report {

namespace {

// An axis from 0 to `max` with a tick every `step` (1, 2 or 5 times a power of ten), about
// `ticks` ticks in all.
struct Axis {
    double step = 1;
    double max = 1;
};

// A span below this is no visible motion (s) or no time at all (t).
constexpr double kSmallestSpan = 1e-6;

std::optional<Axis> axis_up_to(double largest, double ticks) {
    if (!(largest >= kSmallestSpan)) return Axis{};
    const double rough = largest / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    Axis axis;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        axis.step = factor * magnitude;
        if (axis.step >= rough) break;
    }
    axis.max = std::ceil(largest / axis.step * (1 - 1e-12)) * axis.step;
    if (!std::isfinite(axis.max) || !(axis.step > 0)) return std::nullopt;
    return axis;
}

// The drawing's frame in SVG user units; the plot area inside it.
constexpr double kWidth = 680, kHeight = 424;
constexpr double kPlotLeft = 78, kPlotRight = 650, kPlotTop = 34, kPlotBottom = 344;

struct PhaseStyle {
    std::string_view caption;
    std::string_view css_class;
    std::string_view colour;
};

constexpr PhaseStyle style_of(page::MotionPhase phase) {
    switch (phase) {
        case page::MotionPhase::Reaction: return {"reakce řidiče (stálá rychlost)", "reaction", "#1f5fbf"};
        case page::MotionPhase::BuildUp: return {"náběh brzdného účinku", "build-up", "#e07b00"};
        case page::MotionPhase::FullBraking: return {"plné brzdění", "full-braking", "#c62828"};
    }
    return {};
}
constexpr std::array kPhases{page::MotionPhase::Reaction, page::MotionPhase::BuildUp, page::MotionPhase::FullBraking};
constexpr std::string_view kObstacleColour = "#6a1b9a";
constexpr std::string_view kBandColour = "#c62828";

class Plot {
public:
    Plot(Axis time, Axis distance) : time_(time), distance_(distance) {}

    double x(double t) const { return kPlotLeft + t / time_.max * (kPlotRight - kPlotLeft); }
    double y(double s) const { return kPlotBottom - s / distance_.max * (kPlotBottom - kPlotTop); }
    std::string xy(Point p) const { return svg_number(x(p.t)) + " " + svg_number(y(p.s)); }

    const Axis& time() const { return time_; }
    const Axis& distance() const { return distance_; }

private:
    Axis time_;
    Axis distance_;
};

std::string text_element(double x, double y, std::string_view text, std::string_view attributes = {}) {
    return "<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\"" +
           (attributes.empty() ? "" : " " + std::string(attributes)) + ">" + escaped(text) + "</text>\n";
}

std::string axes(const Plot& plot, const numeric::DecimalSeparator& separator) {
    std::string svg = "<g class=\"axes\" font-size=\"11\" fill=\"#222\">\n";
    const auto ticks = [&](const Axis& axis, auto&& draw) {
        const auto count = static_cast<int>(std::lround(axis.max / axis.step));
        for (int i = 0; i <= count; ++i) draw(i * axis.step, numeric::show_number(i * axis.step, separator));
    };
    ticks(plot.time(), [&](double t, const std::string& label) {
        const std::string x = svg_number(plot.x(t));
        svg += "<g class=\"tick t-tick\"><line x1=\"" + x + "\" y1=\"" + svg_number(kPlotTop) + "\" x2=\"" + x +
               "\" y2=\"" + svg_number(kPlotBottom + 4) + "\" stroke=\"#ddd\"/>" +
               text_element(plot.x(t), kPlotBottom + 17, label, "text-anchor=\"middle\"") + "</g>\n";
    });
    ticks(plot.distance(), [&](double s, const std::string& label) {
        const std::string y = svg_number(plot.y(s));
        svg += "<g class=\"tick s-tick\"><line x1=\"" + svg_number(kPlotLeft - 4) + "\" y1=\"" + y + "\" x2=\"" +
               svg_number(kPlotRight) + "\" y2=\"" + y + "\" stroke=\"#ddd\"/>" +
               text_element(kPlotLeft - 7, plot.y(s) + 4, label, "text-anchor=\"end\"") + "</g>\n";
    });
    svg += "<path d=\"M " + svg_number(kPlotLeft) + " " + svg_number(kPlotTop) + " V " + svg_number(kPlotBottom) +
           " H " + svg_number(kPlotRight) + "\" fill=\"none\" stroke=\"#222\"/>\n";
    svg += text_element((kPlotLeft + kPlotRight) / 2, kPlotBottom + 36, "čas od začátku reakce t [s]",
                        "class=\"axis-caption\" text-anchor=\"middle\" font-size=\"12\"");
    svg += text_element(0, 0, "dráha od místa začátku reakce s [m]",
                        "class=\"axis-caption\" text-anchor=\"middle\" font-size=\"12\" transform=\"translate(20 " +
                            svg_number((kPlotTop + kPlotBottom) / 2) + ") rotate(-90)\"");
    return svg + "</g>\n";
}

std::string segment_path(const Plot& plot, const Segment& segment) {
    return segment.control ? "Q " + plot.xy(*segment.control) + " " + plot.xy(segment.to) : "L " + plot.xy(segment.to);
}

// The region between the lower and the upper curve: along the one, back along the other.
std::string band(const Plot& plot, const Curve& lower, const Curve& upper) {
    std::string d = "M " + plot.xy(lower.events.front().at);
    for (const Segment& segment : lower.segments) d += " " + segment_path(plot, segment);
    d += " L " + plot.xy(upper.segments.empty() ? upper.events.front().at : upper.segments.back().to);
    for (auto it = upper.segments.rbegin(); it != upper.segments.rend(); ++it) {
        const Segment reversed{it->phase, it->to, it->from, it->control};
        d += " " + segment_path(plot, reversed);
    }
    return "<path class=\"band\" d=\"" + d + " Z\" fill=\"" + std::string(kBandColour) +
           "\" fill-opacity=\"0.12\" stroke=\"none\"/>\n";
}

// The second of two compared motions is dashed, so that the two stay apart where they run together.
constexpr std::string_view kComparedDash = "7 4";

std::string curve_paths(const Plot& plot, const Curve& curve, std::string_view dash) {
    std::string svg;
    for (const Segment& segment : curve.segments) {
        const PhaseStyle style = style_of(segment.phase);
        svg += "<path class=\"phase " + std::string(style.css_class) + "\" d=\"M " + plot.xy(segment.from) + " " +
               segment_path(plot, segment) + "\" fill=\"none\" stroke=\"" + std::string(style.colour) +
               "\" stroke-width=\"2.2\"" +
               (dash.empty() ? std::string() : " stroke-dasharray=\"" + std::string(dash) + "\"") + "/>\n";
    }
    return svg;
}

// The number of characters of a UTF-8 text, to make room for a caption.
std::size_t characters(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A label's extent in the drawing, estimated from its characters (Liberation Sans at 11 units is
// at most about 5.6 units a character; a line reaches 9 units above its baseline and 3 below).
struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};
constexpr double kCharacterWidth = 5.6;
constexpr double kAscent = 9, kDescent = 3;
constexpr double kLineStep = 13;  // from a caption's baseline to its detail's

// Where labels may go and where they already are: event and obstacle captions are placed so that
// none covers another, an event's mark, or the axes' numbers and captions, however close the
// points lie (a very short phase puts two events almost on one spot).
class LabelSpace {
public:
    // The room inside the frame right of the distance axis' numbers and above the time axis'.
    static constexpr Box kRoom{kPlotLeft + 2, 2, kWidth - 4, kPlotBottom - 2};

    void occupy(const Box& box) { taken_.push_back(box); }
    bool free(const Box& box) const {
        if (box.left < kRoom.left || box.right > kRoom.right || box.top < kRoom.top || box.bottom > kRoom.bottom) {
            return false;
        }
        return std::none_of(taken_.begin(), taken_.end(), [&](const Box& other) { return box.overlaps(other); });
    }

private:
    std::vector<Box> taken_;
};

// A label of one or two lines with its baseline at y, its start (or its end) at x.
struct LabelPlace {
    double x, y;
    bool anchored_at_end;
};

Box box_of(LabelPlace place, double width, int lines) {
    const double left = place.anchored_at_end ? place.x - width : place.x;
    return {left, place.y - kAscent, left + width, place.y + kLineStep * (lines - 1) + kDescent};
}

Box mark_box(double x, double y) { return {x - 6, y - 6, x + 6, y + 6}; }

// The first of the candidate places (the preferred one first) whose label is free, then the same
// places further up or down in steps of a line; the preferred place when none is.
LabelPlace free_place(const LabelSpace& space, std::span<const LabelPlace> candidates, double width, int lines) {
    for (int shift = 0; shift <= 24; ++shift) {
        for (const LabelPlace& place : candidates) {
            for (const double direction : {1.0, -1.0}) {
                const LabelPlace shifted{place.x, place.y + direction * shift * kLineStep, place.anchored_at_end};
                if (space.free(box_of(shifted, width, lines))) return shifted;
                if (shift == 0) break;
            }
        }
    }
    return candidates.front();
}

// `in_band`: 0 for a page's one curve, 1 for the lower and 2 for the upper curve of a band.
std::string event_marks(const Plot& plot, const Curve& curve, int in_band, LabelSpace& space) {
    std::string svg;
    for (std::size_t i = 0; i < curve.events.size(); ++i) {
        const EventPoint& event = curve.events[i];
        const double x = plot.x(event.at.t);
        const double y = plot.y(event.at.s);
        const std::string caption =
            curve.name.empty() ? event.caption : event.caption + " (" + std::string(curve.name) + ")";
        const char* mark_class = event.mark == page::EventMark::Collision ? "event collision"
                                 : event.mark == page::EventMark::Stop    ? "event stop"
                                                                          : "event";
        const std::string_view fill = event.mark == page::EventMark::Collision ? "#c62828"
                                      : event.mark == page::EventMark::Stop    ? "#fff"
                                                                               : "#222";
        svg += "<circle class=\"" + std::string(mark_class) + "\" cx=\"" + svg_number(x) + "\" cy=\"" + svg_number(y) +
               "\" r=\"" + (event.mark == page::EventMark::Event ? "3.5" : "5") + "\" fill=\"" + std::string(fill) +
               "\" stroke=\"#222\" stroke-width=\"1.5\"><title>" + escaped(caption) + "</title></circle>\n";
        // In a band only the last event of each curve is named, so the two curves' names do not
        // cover each other.
        if (in_band != 0 && i + 1 != curve.events.size()) continue;
        if (i == 0) continue;  // the start of the reaction is the origin of both axes
        // Preferably below and right of the point, under the rising curve. Where that would leave
        // the frame, above and left of it, over the curve's flat end; the lower curve of a band
        // keeps its caption below, under the band, and only moves it to the left.
        const double width =
            kCharacterWidth * static_cast<double>(std::max(characters(caption), characters(event.detail)));
        const int lines = event.detail.empty() ? 1 : 2;
        const bool fits_right = x + 9 + width <= kWidth - 4;
        const bool above = !fits_right && in_band != 1;
        const LabelPlace preferred{fits_right ? x + 9 : x - 9, above ? y - (lines == 1 ? 9 : 22) : y + 16, !fits_right};
        // Failing that: left above, right above, left below, right below.
        const double above_y = y - kLineStep * (lines - 1) - 9;
        const double below_y = y + 16;
        const std::array candidates{preferred, LabelPlace{x - 9, above_y, true}, LabelPlace{x + 9, above_y, false},
                                    LabelPlace{x - 9, below_y, true}, LabelPlace{x + 9, below_y, false}};
        const LabelPlace place = free_place(space, candidates, width, lines);
        space.occupy(box_of(place, width, lines));
        const std::string anchor = place.anchored_at_end ? "text-anchor=\"end\" " : "";
        svg += text_element(place.x, place.y, caption, anchor + "class=\"event-label\" font-size=\"11\"");
        if (!event.detail.empty()) {
            svg += text_element(place.x, place.y + kLineStep, event.detail,
                                anchor + "class=\"event-detail\" font-size=\"10\" fill=\"#444\"");
        }
    }
    return svg;
}

struct Obstacle {
    std::string caption;
    double s;
    bool inside;
};

std::string obstacle_lines(const Plot& plot, const std::vector<Obstacle>& obstacles, LabelSpace& space) {
    std::string svg;
    double outside_y = kPlotTop + 12;
    for (std::size_t i = 0; i < obstacles.size(); ++i) {
        const Obstacle& obstacle = obstacles[i];
        if (!obstacle.inside) {
            const std::string caption = obstacle.caption + " (mimo rozsah diagramu)";
            svg += text_element(kPlotRight - 4, outside_y, caption,
                                "class=\"obstacle-outside\" text-anchor=\"end\" font-size=\"11\" fill=\"" +
                                    std::string(kObstacleColour) + "\"");
            space.occupy(box_of({kPlotRight - 4, outside_y, true},
                                kCharacterWidth * static_cast<double>(characters(caption)), 1));
            outside_y += 14;
            continue;
        }
        const std::string y = svg_number(plot.y(obstacle.s));
        svg += "<line class=\"obstacle\" x1=\"" + svg_number(kPlotLeft) + "\" y1=\"" + y + "\" x2=\"" +
               svg_number(kPlotRight) + "\" y2=\"" + y + "\" stroke=\"" + std::string(kObstacleColour) +
               "\" stroke-width=\"1.2\" stroke-dasharray=\"6 4\"/>\n";
        // Two lines close together (the lower and upper place of the collision) take their captions
        // one above and one below.
        const bool below = i % 2 == 1;
        const LabelPlace over{kPlotLeft + 6, plot.y(obstacle.s) - 5, false};
        const LabelPlace under{kPlotLeft + 6, plot.y(obstacle.s) + 13, false};
        const double width = kCharacterWidth * static_cast<double>(characters(obstacle.caption));
        const std::array candidates = below ? std::array{under, over} : std::array{over, under};
        const LabelPlace place = free_place(space, candidates, width, 1);
        svg += text_element(place.x, place.y, obstacle.caption,
                            "class=\"obstacle-label\" font-size=\"11\" fill=\"" + std::string(kObstacleColour) + "\"");
        space.occupy(box_of(place, width, 1));
    }
    return svg;
}

// How the curves of one drawing relate: a page's one curve, the lower and upper curve of a band, or
// two motions compared (the second dashed), each named.
enum class CurvesShown { One, Band, Compared };

std::string legend(CurvesShown shown, const std::vector<Curve>& curves, bool has_obstacle) {
    std::string svg = "<g class=\"legend\" font-size=\"11\" fill=\"#222\">\n";
    double x = kPlotLeft;
    const double y = kHeight - 20;
    for (const page::MotionPhase phase : kPhases) {
        const PhaseStyle style = style_of(phase);
        svg += "<line x1=\"" + svg_number(x) + "\" y1=\"" + svg_number(y - 4) + "\" x2=\"" + svg_number(x + 22) +
               "\" y2=\"" + svg_number(y - 4) + "\" stroke=\"" + std::string(style.colour) +
               "\" stroke-width=\"2.2\"/>";
        svg += text_element(x + 27, y, style.caption);
        x += 45 + 5.6 * static_cast<double>(characters(style.caption));
    }
    svg += "\n";
    double second_x = kPlotLeft;
    const double second_y = kHeight - 4;
    if (shown == CurvesShown::Compared) {
        for (std::size_t i = 0; i < curves.size(); ++i) {
            svg += "<line class=\"compared-motion\" x1=\"" + svg_number(second_x) + "\" y1=\"" +
                   svg_number(second_y - 4) + "\" x2=\"" + svg_number(second_x + 22) + "\" y2=\"" +
                   svg_number(second_y - 4) + "\" stroke=\"#222\" stroke-width=\"2.2\"" +
                   (i == 0 ? std::string() : " stroke-dasharray=\"" + std::string(kComparedDash) + "\"") + "/>";
            svg += text_element(second_x + 27, second_y, curves[i].name);
            second_x += 45 + kCharacterWidth * static_cast<double>(characters(curves[i].name));
        }
    }
    if (shown == CurvesShown::Band) {
        svg += "<rect x=\"" + svg_number(second_x) + "\" y=\"" + svg_number(second_y - 9) +
               "\" width=\"22\" height=\"10\" fill=\"" + std::string(kBandColour) + "\" fill-opacity=\"0.12\"/>";
        svg += text_element(second_x + 27, second_y, "pásmo mezi dolní a horní mezí");
        second_x += 210;
    }
    if (has_obstacle) {
        svg += "<line x1=\"" + svg_number(second_x) + "\" y1=\"" + svg_number(second_y - 4) + "\" x2=\"" +
               svg_number(second_x + 22) + "\" y2=\"" + svg_number(second_y - 4) + "\" stroke=\"" +
               std::string(kObstacleColour) + "\" stroke-dasharray=\"6 4\"/>";
        svg += text_element(second_x + 27, second_y, "překážka / místo střetu");
    }
    return svg + "</g>\n";
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
    return text;
}

PathTimeDiagram not_drawn(const std::vector<std::string>& problems) {
    return PathTimeDiagram{{}, "Diagram nelze nakreslit: " + joined(problems) + "."};
}

// The drawing of the curves and obstacle lines, on axes that hold them all.
PathTimeDiagram drawn(const std::vector<Curve>& curves, const std::vector<ObstacleValue>& obstacle_values,
                      CurvesShown shown, const numeric::DecimalSeparator& separator) {
    // The extent of the curves, their control points included (a Bézier curve stays within them).
    Point largest;
    for (const Curve& curve : curves) {
        for (const Segment& segment : curve.segments) {
            for (const std::optional<Point>& p : {std::optional<Point>(segment.to), segment.control}) {
                if (!p) continue;
                largest.t = std::max(largest.t, p->t);
                largest.s = std::max(largest.s, p->s);
            }
        }
        for (const EventPoint& event : curve.events) {
            largest.t = std::max(largest.t, event.at.t);
            largest.s = std::max(largest.s, event.at.s);
        }
    }
    if (!(largest.t >= kSmallestSpan)) {
        return PathTimeDiagram{{}, "Diagram nelze nakreslit: podle výsledků neuplynul od začátku reakce žádný čas."};
    }
    // An obstacle far beyond the stop is named, not drawn, so that it does not shrink the curve.
    const double curve_extent = largest.s;
    std::vector<Obstacle> obstacles;
    for (const ObstacleValue& obstacle : obstacle_values) {
        const bool inside = obstacle.s <= 2 * std::max(curve_extent, kSmallestSpan);
        if (inside) largest.s = std::max(largest.s, obstacle.s);
        obstacles.push_back({obstacle.caption, obstacle.s, inside});
    }
    // A little room beyond the last point, so that its mark and caption stay inside the frame.
    constexpr double kHeadroom = 1.04;
    const std::optional<Axis> time_axis = axis_up_to(largest.t * kHeadroom, 8);
    const std::optional<Axis> distance_axis = axis_up_to(largest.s * kHeadroom, 7);
    if (!time_axis || !distance_axis) {
        return PathTimeDiagram{{}, "Diagram nelze nakreslit: hodnoty přesahují rozsah, který lze vykreslit."};
    }
    const Plot plot(*time_axis, *distance_axis);
    const bool is_band = shown == CurvesShown::Band;

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"path-time\" viewBox=\"0 0 " +
                      svg_number(kWidth) + " " + svg_number(kHeight) +
                      "\" role=\"img\" font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\">\n"
                      "<title>Dráha v závislosti na čase od začátku reakce řidiče</title>\n";
    svg += axes(plot, separator);
    if (is_band) svg += band(plot, curves[0], curves[1]);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        svg += curve_paths(plot, curves[i], shown == CurvesShown::Compared && i > 0 ? kComparedDash : "");
    }
    // Every mark is placed before any caption, so that no caption covers a mark.
    LabelSpace space;
    for (const Curve& curve : curves) {
        for (const EventPoint& event : curve.events) space.occupy(mark_box(plot.x(event.at.t), plot.y(event.at.s)));
    }
    svg += obstacle_lines(plot, obstacles, space);
    // Two curves, banded or compared, name only their last events, the first one's below.
    for (std::size_t i = 0; i < curves.size(); ++i)
        svg += event_marks(plot, curves[i], shown != CurvesShown::One ? static_cast<int>(i) + 1 : 0, space);
    svg += legend(shown, curves, !obstacles.empty());
    svg += "</svg>\n";
    return PathTimeDiagram{svg, {}};
}

}  // namespace

std::optional<PathTimeDiagram> path_time_diagram(const casefile::RecordedRun& run) {
    if (!run.page().path_time_diagram) return std::nullopt;
    auto read = read_diagram_values(run, *run.page().path_time_diagram);
    if (const auto* problems = std::get_if<std::vector<std::string>>(&read)) return not_drawn(*problems);
    const DiagramValues& values = std::get<DiagramValues>(read);
    return drawn(values.curves, values.obstacles, values.curves.size() == 2 ? CurvesShown::Band : CurvesShown::One,
                 run.separator());
}

std::optional<PathTimeDiagram> compared_motions_diagram(const ComparedMotion& first, const ComparedMotion& second) {
    std::vector<Curve> curves;
    std::vector<ObstacleValue> obstacles;
    std::vector<std::string> problems;
    for (const ComparedMotion* motion : {&first, &second}) {
        if (!motion->run.page().path_time_diagram) return std::nullopt;
        auto read = read_diagram_values(motion->run, *motion->run.page().path_time_diagram);
        if (const auto* found = std::get_if<std::vector<std::string>>(&read)) {
            for (const std::string& problem : *found) problems.push_back(std::string(motion->name) + ": " + problem);
            continue;
        }
        DiagramValues& values = std::get<DiagramValues>(read);
        if (values.curves.size() != 1) return std::nullopt;
        curves.push_back(std::move(values.curves.front()));
        curves.back().name = motion->name;
        // The lines of the first motion (where it met what it met) stand for both.
        if (motion == &first) obstacles = std::move(values.obstacles);
    }
    if (!problems.empty()) return not_drawn(problems);
    return drawn(curves, obstacles, CurvesShown::Compared, first.run.separator());
}

}  // namespace vorlanex::report
