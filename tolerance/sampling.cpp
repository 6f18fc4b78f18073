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

// Where a taken input takes its text: the input's place on its page, the source's page and the
// place of the source's field there, and whether that field is an input (its text before the run).
struct TakenPlace {
    std::size_t input_at = 0;
    std::size_t source = 0;
    std::size_t field_at = 0;
    bool from_input = false;
    const TakenInput* taken = nullptr;
};

struct Plan {
    std::vector<FieldStart> fields;    // in the layout's order
    std::vector<ResultField> results;  // the result fields
    std::vector<TakenPlace> taken;     // the inputs taken from pages before it
    bool keeps_texts_before = false;   // a later page takes one of its inputs
};

std::size_t layout_index(const page::PageDefinition& page, std::string_view id) {
    for (std::size_t f = 0; f < page.layout.fields.size(); ++f) {
        if (page.layout.fields[f].id == id) return f;
    }
    return page.layout.fields.size();
}

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

// The plans of every page of the chain, each taken input placed (one the chain cannot place, on a
// field its page does not have, is passed over, as check_sampling passes no such page).
std::vector<Plan> make_plans(std::span<const ChainPage> chain, const numeric::DecimalSeparator& separator) {
    std::vector<Plan> plans;
    for (const ChainPage& chain_page : chain) {
        Plan plan = make_plan(*chain_page.page, chain_page.typed, separator, chain_page.tolerances);
        for (const TakenInput& taken : chain_page.taken) {
            if (taken.source >= plans.size()) continue;
            const page::PageDefinition& source = *chain[taken.source].page;
            const std::size_t input_at = layout_index(*chain_page.page, taken.input);
            const std::size_t field_at = layout_index(source, taken.field);
            if (input_at == chain_page.page->layout.fields.size() || field_at == source.layout.fields.size()) continue;
            const bool from_input = source.layout.fields[field_at].role == page::FieldRole::Input;
            plan.fields[input_at].distribution = nullptr;
            plan.taken.push_back({input_at, taken.source, field_at, from_input, &taken});
            if (from_input) plans[taken.source].keeps_texts_before = true;
        }
        plans.push_back(std::move(plan));
    }
    return plans;
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

// One page of the chain as a thread runs it: its fields, its texts before the run when a later
// page takes one of its inputs, and the fault that stopped its last run.
struct PageRun {
    PageRun(const page::PageDefinition& page, const numeric::DecimalSeparator& separator) : port(page, separator) {}
    SamplePage port;
    std::vector<std::string> before;
    std::optional<std::string> fault;
};

class Sampler {
public:
    Sampler(std::span<const ChainPage> chain, const numeric::DecimalSeparator& separator, std::span<const Plan> plans,
            std::uint64_t seed, SampleNumbers& numbers)
        : chain_(chain),
          separator_(separator),
          plans_(plans),
          seed_(seed),
          texts_(plans.back().results.size()),
          tally_(plans.back().results, separator, numbers) {
        runs_.reserve(chain.size());
        for (const ChainPage& chain_page : chain) runs_.emplace_back(*chain_page.page, separator);
    }

    void run(std::uint64_t sample) {
        for (std::size_t position = 0; position < chain_.size(); ++position) run_page(sample, position);
        const Plan& last = plans_.back();
        PageRun& run = runs_.back();
        for (std::size_t r = 0; r < last.results.size(); ++r)
            texts_[r] = run.port.current_text_at(last.results[r].layout_index);
        tally_.record(sample, texts_, run.port.warnings(), run.fault);
    }

    SampleTally& tally() { return tally_; }

private:
    void run_page(std::uint64_t sample, std::size_t position) {
        const Plan& plan = plans_[position];
        PageRun& run = runs_[position];
        SampleStream stream(seed_, sample, position);
        for (std::size_t f = 0; f < plan.fields.size(); ++f) {
            const FieldStart& field = plan.fields[f];
            if (field.distribution) {
                run.port.preset_at(f, numeric::show_number_text(draw(*field.distribution, stream), separator_).view());
            } else {
                run.port.preset_at(f, field.text);
            }
        }
        run.port.forget_warnings();
        run.fault.reset();
        for (const TakenPlace& taken : plan.taken) {
            const PageRun& source = runs_[taken.source];
            const std::string_view text = taken.from_input ? std::string_view(source.before[taken.field_at])
                                                           : source.port.current_text_at(taken.field_at);
            const std::string* fault = shows_nothing(text) ? &taken.taken->when_empty
                                       : source.fault      ? &taken.taken->when_faulted
                                                           : nullptr;
            if (fault && !run.fault) run.fault = *fault;
            run.port.preset_at(taken.input_at, fault ? std::string_view() : text);
        }
        if (plan.keeps_texts_before) {
            run.before.resize(plan.fields.size());
            for (std::size_t f = 0; f < plan.fields.size(); ++f) run.before[f].assign(run.port.current_text_at(f));
        }
        if (!run.fault) run.fault = page::press_calculate(*chain_[position].page, run.port);
    }

    std::span<const ChainPage> chain_;
    const numeric::DecimalSeparator& separator_;
    std::span<const Plan> plans_;
    std::uint64_t seed_;
    std::vector<PageRun> runs_;
    std::vector<std::string_view> texts_;  // the last page's result fields' texts after the sample
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

bool shows_nothing(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

std::uint64_t most_chain_sampling_memory(std::span<const ChainPage> chain, std::uint64_t samples, unsigned jobs) {
    constexpr std::uint64_t kPageTexts = 64 * 1024;
    if (chain.empty()) return 0;
    return most_sampling_memory(*chain.back().page, samples, jobs) +
           kPageTexts * (chain.size() - 1) * std::max(1u, jobs);
}

SamplingSummary run_samples(const page::PageDefinition& page, TypedTexts typed,
                            const numeric::DecimalSeparator& separator, std::span<const Tolerance> tolerances,
                            const SamplingSettings& settings, const Progress& progress) {
    const ChainPage alone{&page, typed, tolerances, {}};
    return run_chain_samples({&alone, 1}, separator, settings, progress);
}

SamplingSummary run_chain_samples(std::span<const ChainPage> chain, const numeric::DecimalSeparator& separator,
                                  const SamplingSettings& settings, const Progress& progress) {
    const std::vector<Plan> plans = make_plans(chain, separator);
    const Plan& plan = plans.back();
    const std::uint64_t total = settings.samples;
    const unsigned jobs = std::max(1u, settings.jobs);
    SampleNumbers numbers = sample_numbers(plan.results, total);

    std::atomic<std::uint64_t> next_block{0}, done{0};
    std::vector<std::optional<SampleTally>> tallies(jobs);
    on_threads(
        jobs,
        [&](unsigned thread) {
            Sampler sampler(chain, separator, plans, settings.seed, numbers);
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
