#include "tolerance/sampling.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <span>
#include <string_view>
#include <thread>

#include "numeric/arithmetic_mode.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "numeric/show_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "tolerance/sample_draw.h"

namespace vorlanex::tolerance {

namespace {

constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();
// Samples a thread takes at a time.
constexpr std::uint64_t kBlock = 1024;

// What each sample starts from: every field in the layout's order with the text it opens with (or
// its distribution); result fields start empty, so a text in one afterwards was written by the run.
struct FieldStart {
    std::string_view id;
    std::string text;
    const Distribution* distribution = nullptr;
};

struct Plan {
    std::vector<FieldStart> fields;           // in the layout's order
    std::vector<std::string_view> results;    // the result fields' ids
    std::vector<std::size_t> result_indices;  // and their places in the layout
};

Plan make_plan(const page::PageDefinition& page, TypedTexts typed, const numeric::DecimalSeparator& separator,
               std::span<const Tolerance> tolerances) {
    Plan plan;
    for (const page::Field& field : page.layout.fields) {
        FieldStart start{field.id, page::default_text(field, separator)};
        for (const auto& [id, text] : typed) {
            if (id == field.id) start.text = text;
        }
        if (field.role == page::FieldRole::Result) {
            start.text.clear();
            plan.results.push_back(field.id);
            plan.result_indices.push_back(plan.fields.size());
        }
        for (const Tolerance& tolerance : tolerances) {
            if (tolerance.field == field.id) start.distribution = &tolerance.distribution;
        }
        plan.fields.push_back(std::move(start));
    }
    return plan;
}

// How many samples ended with a text, and the first of them.
struct Seen {
    std::uint64_t samples = 0;
    std::uint64_t first = 0;
};
using SeenTexts = std::map<std::string, Seen, std::less<>>;

void count(SeenTexts& seen, std::string_view text, std::uint64_t sample) {
    auto found = seen.find(text);
    if (found == seen.end()) found = seen.emplace(std::string(text), Seen{0, sample}).first;
    ++found->second.samples;
    found->second.first = std::min(found->second.first, sample);
}

// What one thread gathered besides the numbers.
struct Tally {
    std::vector<int> places;  // per result field
    SeenTexts warnings;
    SeenTexts faults;
};

// The page without a window, keeping the distinct warnings of the sample running. The texts are
// kept in strings reused from sample to sample, so a warning costs no allocation once seen.
class SamplePage final : public page::FieldMapPort {
public:
    SamplePage(const page::PageDefinition& page, const numeric::DecimalSeparator& separator)
        : FieldMapPort(page, separator) {}

    void warning(std::string_view message) override {
        const auto seen = warnings().begin() + static_cast<std::ptrdiff_t>(count_);
        if (std::find(warnings().begin(), seen, message) != seen) return;
        if (count_ == kept_.size()) kept_.emplace_back();
        kept_[count_++].assign(message);
    }
    std::span<const std::string> warnings() const { return {kept_.data(), count_}; }
    void forget_warnings() { count_ = 0; }

private:
    std::vector<std::string> kept_;
    std::size_t count_ = 0;
};

class Sampler {
public:
    Sampler(const page::PageDefinition& page, const numeric::DecimalSeparator& separator, const Plan& plan,
            std::uint64_t seed, std::vector<std::vector<double>>& values)
        : page_(page), separator_(separator), plan_(plan), seed_(seed), values_(values), port_(page, separator) {
        tally_.places.assign(plan.results.size(), 0);
    }

    void run(std::uint64_t sample) {
        SampleStream stream(seed_, sample);
        for (std::size_t f = 0; f < plan_.fields.size(); ++f) {
            const FieldStart& field = plan_.fields[f];
            if (field.distribution) {
                port_.preset_at(f, numeric::show_number_text(draw(*field.distribution, stream), separator_).view());
            } else {
                port_.preset_at(f, field.text);
            }
        }
        port_.forget_warnings();
        if (const auto fault = page::press_calculate(page_, port_)) count(tally_.faults, *fault, sample);
        for (const std::string& warning : port_.warnings()) count(tally_.warnings, warning, sample);
        for (std::size_t r = 0; r < plan_.results.size(); ++r) {
            values_[r][sample] = number_shown(plan_.result_indices[r], r);
        }
    }

    Tally& tally() { return tally_; }

private:
    // The number a result field shows, or kNoNumber when it shows none.
    double number_shown(std::size_t layout_index, std::size_t r) {
        const std::string_view text = port_.current_text_at(layout_index);
        if (text.empty()) return kNoNumber;
        try {
            const numeric::ShownNumber shown = numeric::read_shown_number(text, separator_);
            tally_.places[r] = std::max(tally_.places[r], shown.decimal_places);
            return shown.value;
        } catch (const numeric::Fault&) {
            return kNoNumber;  // one of the page's own words
        }
    }

    const page::PageDefinition& page_;
    const numeric::DecimalSeparator& separator_;
    const Plan& plan_;
    std::uint64_t seed_;
    std::vector<std::vector<double>>& values_;
    SamplePage port_;
    Tally tally_;
};

// Runs `work(thread)` on `jobs` threads in the calculations' arithmetic mode, while this thread
// reports `done()` to `progress` now and then; returns when all have finished.
template <typename Work, typename Done>
void on_threads(unsigned jobs, const Work& work, const Done& done, std::uint64_t total, const Progress& progress) {
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = jobs;
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < jobs; ++t) {
        threads.emplace_back([&, t] {
            numeric::set_arithmetic_mode();
            work(t);
            const std::lock_guard lock(mutex);
            --running;
            finished.notify_all();
        });
    }
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return running == 0; })) {
            if (progress) progress(done(), total);
        }
    }
    for (std::thread& thread : threads) thread.join();
}

std::vector<TextCount> in_order_of_first(const std::vector<Tally>& tallies, SeenTexts Tally::*which) {
    SeenTexts all;
    for (const Tally& tally : tallies) {
        for (const auto& [text, seen] : tally.*which) {
            auto [entry, added] = all.emplace(text, seen);
            if (added) continue;
            entry->second.samples += seen.samples;
            entry->second.first = std::min(entry->second.first, seen.first);
        }
    }
    std::vector<std::pair<std::uint64_t, TextCount>> ordered;
    for (const auto& [text, seen] : all) ordered.push_back({seen.first, {text, seen.samples}});
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TextCount> counts;
    for (auto& [first, text_count] : ordered) counts.push_back(std::move(text_count));
    return counts;
}

}  // namespace

std::optional<InputError> check_sampling(const page::PageDefinition& page, std::span<const Tolerance> tolerances,
                                         std::uint64_t samples) {
    if (samples < 1 || samples > kMostSamples) {
        return InputError{"the number of samples must be from 1 to " + std::to_string(kMostSamples)};
    }
    for (std::size_t i = 0; i < tolerances.size(); ++i) {
        const std::string& id = tolerances[i].field;
        const page::Field* field = page.find_field(id);
        if (!field)
            return InputError{"tolerance of field '" + id + "': page '" + std::string(page.key) +
                              "' has no such field"};
        if (field->role == page::FieldRole::Result) {
            return InputError{"tolerance of field '" + id + "': a result field cannot have a tolerance"};
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (tolerances[j].field == id) return InputError{"tolerance of field '" + id + "' is given twice"};
        }
    }
    return std::nullopt;
}

std::uint64_t most_sampling_memory(const page::PageDefinition& page, std::uint64_t samples, unsigned jobs) {
    constexpr std::uint64_t kProgram = 20'000'000;
    const auto results = static_cast<std::uint64_t>(
        std::count_if(page.layout.fields.begin(), page.layout.fields.end(),
                      [](const page::Field& field) { return field.role == page::FieldRole::Result; }));
    const std::uint64_t summarised_at_once = std::min<std::uint64_t>(std::max(1u, jobs), results);
    return sizeof(double) * samples * (results + summarised_at_once) + kProgram;
}

SamplingSummary run_samples(const page::PageDefinition& page, TypedTexts typed,
                            const numeric::DecimalSeparator& separator, std::span<const Tolerance> tolerances,
                            const SamplingSettings& settings, const Progress& progress) {
    const Plan plan = make_plan(page, typed, separator, tolerances);
    const std::uint64_t total = settings.samples;
    const unsigned jobs = std::max(1u, settings.jobs);
    std::vector<std::vector<double>> values(plan.results.size(), std::vector<double>(total));

    std::atomic<std::uint64_t> next_block{0}, done{0};
    std::vector<Tally> tallies(jobs);
    on_threads(
        jobs,
        [&](unsigned thread) {
            Sampler sampler(page, separator, plan, settings.seed, values);
            for (std::uint64_t start; (start = next_block.fetch_add(kBlock)) < total;) {
                if (settings.stop && settings.stop->load()) break;
                const std::uint64_t end = std::min(total, start + kBlock);
                for (std::uint64_t sample = start; sample < end; ++sample) sampler.run(sample);
                done += end - start;
            }
            tallies[thread] = std::move(sampler.tally());
        },
        [&] { return done.load(); }, total, progress);
    if (settings.stop && settings.stop->load()) return {};

    SamplingSummary summary;
    summary.samples = total;
    summary.seed = settings.seed;
    summary.warnings = in_order_of_first(tallies, &Tally::warnings);
    summary.faults = in_order_of_first(tallies, &Tally::faults);
    summary.results.resize(plan.results.size());
    std::atomic<std::size_t> next_field{0};
    on_threads(
        jobs,
        [&](unsigned) {
            for (std::size_t r; (r = next_field++) < plan.results.size();) {
                int places = 0;
                for (const Tally& tally : tallies) places = std::max(places, tally.places[r]);
                summary.results[r] = summarise(std::string(plan.results[r]), values[r], places, separator);
                std::vector<double>().swap(values[r]);
            }
        },
        [] { return std::uint64_t{0}; }, 0, {});
    return summary;
}

}  // namespace vorlanex::tolerance
