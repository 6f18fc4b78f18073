#pragma once
// The shape of a page test: a table of named runs, each the texts typed before "Výpočet" and the
// whole transcript the press must give. A page's test declares its table and binds it with
//
//     class DrahaRun : public PageRunTest {};
//     TEST_P(DrahaRun, Transcript) { expect_run(stopping_distance_page(), GetParam()); }
//     INSTANTIATE_TEST_SUITE_P(Draha, DrahaRun, ::testing::ValuesIn(kRuns), run_name);
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "page/page_definition.h"
#include "tests/support/recording_port.h"

namespace vorlanex::testing {

using Texts = std::vector<std::pair<std::string, std::string>>;
using Transcript = std::vector<Event>;

// The fault messages, as the error box shows them.
inline const std::string kInvalidOperation = "Invalid floating point operation.";
inline const std::string kDivisionByZero = "Floating point division by zero.";
inline const std::string kOverflow = "Floating point overflow.";
inline std::string not_a_number(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value.";
}

inline Transcript operator+(Transcript first, const Transcript& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// `base` with some texts replaced or added.
inline Texts with(Texts base, const Texts& changes) {
    for (const auto& [id, text] : changes) {
        bool replaced = false;
        for (auto& entry : base) {
            if (entry.first == id) {
                entry.second = text;
                replaced = true;
            }
        }
        if (!replaced) base.emplace_back(id, text);
    }
    return base;
}

// The writes of `ids` in this order, with these texts.
inline Transcript writes(const std::vector<std::string>& ids, const std::vector<std::string>& texts) {
    Transcript events;
    for (std::size_t i = 0; i < ids.size() && i < texts.size(); ++i) events.push_back(set(ids[i], texts[i]));
    return events;
}

// The first `count` events of a run, then a fault.
inline Transcript stopped_after(const Transcript& events, std::size_t count, const std::string& message) {
    Transcript stopped(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(count));
    stopped.push_back(error(message));
    return stopped;
}

// The same texts written with "." as the decimal separator.
inline std::string with_point(std::string text) {
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    return text;
}
inline Texts with_point(Texts texts) {
    for (auto& entry : texts) entry.second = with_point(entry.second);
    return texts;
}
inline Transcript with_point(Transcript events) {
    for (Event& event : events) {
        if (event.kind == "set") event.text = with_point(event.text);
    }
    return events;
}

// The worked example a page declares, as typed texts.
inline Texts worked_example(const page::PageDefinition& page) {
    Texts texts;
    for (const page::FieldText& typed : page.worked_example) texts.emplace_back(typed.id, typed.text);
    return texts;
}

struct PageRun {
    std::string name;
    Texts typed;  // texts typed into fields (result fields too) before "Výpočet" is pressed
    Transcript transcript;
    std::string separator = ",";
};

inline std::ostream& operator<<(std::ostream& out, const PageRun& run) { return out << run.name; }
inline std::string run_name(const ::testing::TestParamInfo<PageRun>& info) { return info.param.name; }

class PageRunTest : public ::testing::TestWithParam<PageRun> {};

// With VORLANEX_PAGE_RUNS_OUT naming a folder, every run of a page's table is also appended there
// as one scenario of vorlanex-calc's batch, to the file of its separator (separator-2c.jsonl for
// ","): the same rows can then be run through the command as built for another system and its
// answers compared with this build's. Bytes that are no UTF-8 become U+FFFD (JSON cannot hold
// them); both builds read the same lines.
inline void append_to_batch(const page::PageDefinition& page, const PageRun& run) {
    const char* folder = std::getenv("VORLANEX_PAGE_RUNS_OUT");
    if (folder == nullptr) return;
    std::string file_name = std::string(folder) + "/separator-";
    constexpr std::string_view kHex = "0123456789abcdef";
    for (const unsigned char byte : run.separator) {
        file_name += kHex[byte >> 4];
        file_name += kHex[byte & 0xf];
    }
    nlohmann::json scenario = {{"page", page.key}, {"fields", nlohmann::json::object()}, {"id", run.name}};
    for (const auto& [id, text] : run.typed) scenario["fields"][id] = text;
    std::ofstream(file_name + ".jsonl", std::ios::app)
        << scenario.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

// Types the run's texts into the page as it opens, presses "Výpočet" and checks the whole
// transcript; then that every field keeps its text unless the run wrote it (a fault leaves the
// fields after it as they were).
inline void expect_run(const page::PageDefinition& page_definition, const PageRun& run) {
    append_to_batch(page_definition, run);
    RecordingPort page(page_definition, run.separator);
    for (const auto& [id, text] : run.typed) page.type(id, text);
    std::map<std::string, std::string> expected;
    for (const page::Field& field : page_definition.layout.fields)
        expected[std::string(field.id)] = page.field(field.id);

    EXPECT_EQ(page.press_calculate(), run.transcript);

    for (const Event& event : run.transcript) {
        if (event.kind == "set") expected[event.field] = event.text;
    }
    for (const auto& [id, text] : expected) EXPECT_EQ(page.field(id), text) << "field " << id;
}

}  // namespace vorlanex::testing
