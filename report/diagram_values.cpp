#include "report/diagram_values.h"

#include <algorithm>

namespace vorlanex::report {

namespace {

// The origin of every curve.
constexpr std::string_view kReactionStartEvent = "začátek reakce";

// The run's values as the diagram needs them: a field the run did not write, or that holds no
// number, or a negative value (a time, a distance or a speed), is noted, and the diagram is not
// drawn.
class Values {
public:
    explicit Values(const casefile::RecordedRun& run) : run_(run) {}

    // The field's value, without noting anything when it has none.
    std::optional<double> peek(std::string_view field) const { return run_.value(field); }

    // The field's value; a missing or negative one is noted.
    std::optional<double> require(std::string_view field) {
        const std::optional<double> value = run_.value(field);
        if (!value && !run_.written(field) && !is_input(field)) {
            add_once(not_written_, "„" + name(field) + "“");
        } else if (!value) {
            note("pole „" + name(field) + "“ neobsahuje číslo");
        } else if (!(*value >= 0)) {
            note("pole „" + name(field) + "“ ukazuje zápornou hodnotu " + run_.text_after(field));
            return std::nullopt;
        }
        return value;
    }

    // A speed in m/s, from a field in km/h or in m/s.
    std::optional<double> require_speed(std::string_view field) {
        const std::optional<double> value = require(field);
        if (!value) return std::nullopt;
        const page::Field* definition = run_.page().find_field(field);
        return definition && definition->unit == "km/h" ? *value / 3.6 : *value;
    }

    void note(std::string problem) { add_once(problems_, std::move(problem)); }

    // What keeps the diagram from being drawn, fields the run did not write first; none when it can be.
    std::vector<std::string> problems() const {
        std::vector<std::string> all;
        if (!not_written_.empty()) {
            std::string list;
            for (std::size_t i = 0; i < not_written_.size(); ++i) {
                list += (i == 0 ? "" : i + 1 == not_written_.size() ? " a " : ", ") + not_written_[i];
            }
            all.push_back("výpočet nezapsal pole " + list);
        }
        all.insert(all.end(), problems_.begin(), problems_.end());
        return all;
    }

    const casefile::RecordedRun& run() const { return run_; }
    std::string name(std::string_view field) const {
        const page::Field* definition = run_.page().find_field(field);
        return definition ? std::string(definition->accessible_name) : std::string(field);
    }
    // The field's text with its unit, as a label: "46,93 m".
    std::string shown(std::string_view field) const {
        const page::Field* definition = run_.page().find_field(field);
        return run_.text_after(field) + (definition ? " " + std::string(definition->unit) : "");
    }

private:
    static void add_once(std::vector<std::string>& list, std::string item) {
        if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(std::move(item));
    }
    bool is_input(std::string_view field) const {
        const page::Field* definition = run_.page().find_field(field);
        return definition && definition->role == page::FieldRole::Input;
    }

    const casefile::RecordedRun& run_;
    std::vector<std::string> not_written_;
    std::vector<std::string> problems_;
};

Segment draw_phase(page::MotionPhase phase, Point from, Point to, std::optional<double> start_speed) {
    const double duration = to.t - from.t;
    if (phase == page::MotionPhase::Reaction || !start_speed || !(duration > 0)) return {phase, from, to, std::nullopt};
    return {phase, from, to, Point{from.t + duration / 2, from.s + *start_speed * duration / 2}};
}

// One coordinate of a phase's end; `quiet`: a missing value is expected and not noted.
std::optional<double> coordinate(Values& values, page::DiagramCoordinate where, double start, bool quiet) {
    const std::optional<double> value = quiet ? values.peek(where.field) : values.require(where.field);
    if (!value) return std::nullopt;
    if (quiet && !(*value >= 0)) return values.require(where.field);
    return where.from_reaction_start ? *value : start + *value;
}

std::string detail_of(const Values& values, std::string_view time_field, std::string_view distance_field) {
    return "t = " + values.shown(time_field) + ", s = " + values.shown(distance_field);
}

// The run's curve, phase by phase from the start of the reaction; nothing when a value is missing
// (the problem is noted in `values`).
std::optional<Curve> build_curve(const page::DiagramCurve& recipe, Values& values) {
    Curve curve{recipe.name, {}, {}};
    Point start{0, 0};
    curve.events.push_back({std::string(kReactionStartEvent), start, page::EventMark::Event, {}});
    bool complete = true;

    std::optional<Point> collision;
    if (recipe.collision) {
        if (!values.run().written(recipe.collision->time)) {
            values.require(recipe.collision->time);
            complete = false;
        } else if (values.peek(recipe.collision->time)) {
            const std::optional<double> tc = values.require(recipe.collision->time);
            const std::optional<double> d = values.require(recipe.collision->distance);
            if (tc && d) {
                collision = Point{*tc, *d};
            } else {
                complete = false;
            }
        }
    }

    for (const page::DiagramPhase& phase : recipe.phases) {
        const bool quiet = collision.has_value();
        const std::optional<double> t = coordinate(values, phase.time, start.t, quiet);
        const std::optional<double> s = coordinate(values, phase.distance, start.s, quiet);
        std::optional<double> speed;
        if (phase.phase != page::MotionPhase::Reaction) {
            speed = quiet && !values.peek(phase.start_speed) ? std::nullopt : values.require_speed(phase.start_speed);
        }
        const bool ends = t && s;
        if (collision && (!ends || !(collision->s > *s))) {
            // The vehicle meets the obstacle in this phase: the phase is drawn up to it.
            if (phase.phase != page::MotionPhase::Reaction && !speed) values.require_speed(phase.start_speed);
            curve.segments.push_back(draw_phase(phase.phase, start, *collision, speed));
            curve.events.push_back({std::string(recipe.collision->caption), *collision, page::EventMark::Collision,
                                    detail_of(values, recipe.collision->time, recipe.collision->distance)});
            collision.reset();
            break;
        }
        if (!ends) {
            complete = false;  // noted when its value was read
            continue;
        }
        if (phase.phase != page::MotionPhase::Reaction && !speed) {
            if (quiet) values.require_speed(phase.start_speed);
            complete = false;
            continue;
        }
        const Point end{*t, *s};
        curve.segments.push_back(draw_phase(phase.phase, start, end, speed));
        curve.events.push_back({std::string(phase.end_event), end, phase.end_mark,
                                phase.time.from_reaction_start && phase.distance.from_reaction_start
                                    ? detail_of(values, phase.time.field, phase.distance.field)
                                    : std::string()});
        start = end;
    }
    if (collision) {
        // Reached after the last phase's end: marked where the run puts it.
        curve.events.push_back({std::string(recipe.collision->caption), *collision, page::EventMark::Collision,
                                detail_of(values, recipe.collision->time, recipe.collision->distance)});
    }
    if (!complete) return std::nullopt;
    return curve;
}

}  // namespace

std::variant<DiagramValues, std::vector<std::string>> read_diagram_values(const casefile::RecordedRun& run,
                                                                          const page::PathTimeDiagramFields& fields) {
    Values values(run);
    DiagramValues read;
    for (const page::DiagramCurve& curve_fields : fields.curves) {
        if (std::optional<Curve> curve = build_curve(curve_fields, values)) read.curves.push_back(std::move(*curve));
    }
    for (const page::DiagramObstacle& obstacle : fields.obstacles) {
        if (const std::optional<double> s = values.require(obstacle.field))
            read.obstacles.push_back({std::string(obstacle.caption) + ": " + values.shown(obstacle.field), *s});
    }
    if (std::vector<std::string> problems = values.problems(); !problems.empty()) return problems;
    return read;
}

}  // namespace vorlanex::report
