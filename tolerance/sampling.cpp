#include "tolerance/sampling.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <thread>

#include "numeric/arithmetic_mode.h"
#include "numeric/show_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "tolerance/sample_draw.h"

namespace vorlanex::tolerance {

namespace {

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
    std::vector<FieldStart> fields;    // in the layout's order
    std::vector<ResultField> results;  // the result fields
};

Plan make_plan(const page::PageDefinition& page, TypedTexts typed, const numeric::DecimalSeparator& separator,
               std::span<const Tolerance> tolerances) {
    Plan plan;
    plan.results = result_fields(page);
    for (const page::Field& field : page.layout.fields) {
        FieldStart start{field.id, page::default_text(field, separator)};
        for (const auto& [id, text] : typed) {
            if (id == field.id) start.text = text;
        }
        if (field.role == page::FieldRole::Result) start.text.clear();
        for (const Tolerance& tolerance : tolerances) {
            if (tolerance.field == field.id) start.distribution = &tolerance.distribution;
        }
        plan.fields.push_back(std::move(start));
    }
    return plan;
}

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
            std::uint64_t seed, SampleNumbers& numbers)
        : page_(page),
          separator_(separator),
          plan_(plan),
          seed_(seed),
          port_(page, separator),
          texts_(plan.results.size()),
          tally_(plan.results, separator, numbers) {}

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
        const std::optional<std::string> fault = page::press_calculate(page_, port_);
        for (std::size_t r = 0; r < plan_.results.size(); ++r)
            texts_[r] = port_.current_text_at(plan_.results[r].layout_index);
        tally_.record(sample, texts_, port_.warnings(), fault);
    }

    SampleTally& tally() { return tally_; }

private:
    const page::PageDefinition& page_;
    const numeric::DecimalSeparator& separator_;
    const Plan& plan_;
    std::uint64_t seed_;
    SamplePage port_;
    std::vector<std::string_view> texts_;  // the result fields' texts after the sample
    SampleTally tally_;
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
    const std::vector<ResultField> results = result_fields(page);
    const auto with_numbers = static_cast<std::uint64_t>(
        std::count_if(results.begin(), results.end(), [](const ResultField& field) { return !field.declared_words; }));
    const std::uint64_t summarised_at_once = std::min<std::uint64_t>(std::max(1u, jobs), with_numbers);
    return sizeof(double) * samples * (with_numbers + summarised_at_once) +
           most_text_count_memory(results.size(), jobs) + kProgram;
}

SamplingSummary run_samples(const page::PageDefinition& page, TypedTexts typed,
                            const numeric::DecimalSeparator& separator, std::span<const Tolerance> tolerances,
                            const SamplingSettings& settings, const Progress& progress) {
    const Plan plan = make_plan(page, typed, separator, tolerances);
    const std::uint64_t total = settings.samples;
    const unsigned jobs = std::max(1u, settings.jobs);
    SampleNumbers numbers = sample_numbers(plan.results, total);

    std::atomic<std::uint64_t> next_block{0}, done{0};
    std::vector<std::optional<SampleTally>> tallies(jobs);
    on_threads(
        jobs,
        [&](unsigned thread) {
            Sampler sampler(page, separator, plan, settings.seed, numbers);
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

    std::vector<SampleTally> gathered;
    for (std::optional<SampleTally>& tally : tallies) gathered.push_back(std::move(*tally));
    SamplingSummary summary = SampleTally::summary_without_results(gathered, total, settings.seed);
    summary.results.resize(plan.results.size());
    std::atomic<std::size_t> next_field{0};
    on_threads(
        jobs,
        [&](unsigned) {
            for (std::size_t r; (r = next_field++) < plan.results.size();)
                summary.results[r] = SampleTally::summarise_result(r, gathered, numbers, separator);
        },
        [] { return std::uint64_t{0}; }, 0, {});
    return summary;
}

}  // namespace vorlanex::tolerance
