// The batch's own reader and writer against the JSON library they stand in for, and the batch on
// several threads and fed a line at a time.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/batch_line.h"
#include "cli/calc_command.h"
#include "cli/json_text.h"

namespace {

using vorlanex::cli::BatchLine;
using vorlanex::numeric::DecimalSeparator;

// What a batch line was read as, in one text, for comparing.
std::string summary(const BatchLine& line) {
    std::string text = "id=" + line.id.value_or("none") + " ";
    if (line.error) return text + "error=" + line.error->message;
    text += "page=" + std::string(line.scenario.page->key);
    for (const auto& [id, value] : line.scenario.fields) text += " " + id + "=" + value;
    return text;
}

void expect_read_as_the_library_reads(const std::string& line) {
    BatchLine quick;
    BatchLine generic;
    vorlanex::cli::read_batch_line(line, quick);
    vorlanex::cli::read_batch_line_generically(line, generic);
    EXPECT_EQ(summary(quick), summary(generic)) << line;
}

TEST(BatchLineReader, ReadsEveryLineAsTheJsonLibraryDoes) {
    const std::vector<std::string> lines{
        R"({"page":"kinematika","fields":{"I1":"20","I2":"8"}})",
        R"({"id":"a-1","page":"kinematika","fields":{}})",
        R"(  { "fields" : { "I2" : "8" } , "page" : "kinematika" , "id" : 7 }  )",
        "{\"page\":\"kinematika\",\"fields\":{\"I1\":\"20\"}}\r",
        R"({"page":"kinematika","id":-12,"fields":{"I1":"0,7"}})",
        R"({"page":"kinematika","id":0})",
        R"({"page":"kinematika","id":-0})",
        R"({"page":"kinematika","id":007})",
        R"({"page":"kinematika","id":1.5})",
        R"({"page":"kinematika","id":1e3})",
        R"({"page":"kinematika","id":123456789012345678})",
        R"({"page":"kinematika","id":12345678901234567890123})",
        R"({"page":"kinematika","id":"p\u0159\u00edpad"})",
        R"({"page":"kinematika","id":"případ \"7\""})",
        R"({"page":"kinematika","id":null})",
        R"({"page":"kinematika","fields":{"I1":"20\\"}})",
        R"({"page":"kinematika","fields":{"I1":"\u0032\u0030"}})",
        R"({"page":"kinematika","fields":{"I1":"dvacet km/h — rychle"}})",
        "{\"page\":\"kinematika\",\"fields\":{\"I1\":\"\x7f\"}}",
        "{\"page\":\"kinematika\",\"fields\":{\"I1\":\"\xc3\x28\"}}",
        "{\"page\":\"kinematika\",\"fields\":{\"I1\":\"\xed\xa0\x80\"}}",
        "{\"page\":\"kinematika\",\"fields\":{\"I1\":\"a\tb\"}}",
        "\xef\xbb\xbf{\"page\":\"kinematika\"}",
        R"({"page":"kinematika","fields":{"I1":"1","I1":"2"}})",
        R"({"page":"kinematika","page":"kinematika"})",
        R"({"page":"kinematika","fields":{"I9":"1"}})",
        R"({"page":"kinematika","fields":{"I1":20}})",
        R"({"page":"kinematika","fields":{"I1":["20"]}})",
        R"({"page":"kinematika","fields":{"I1":{"a":"1"}}})",
        R"({"page":"kinematika","fields":"I1=20"})",
        R"({"page":"kinematika","colour":"red"})",
        R"({"page":"nic"})",
        R"({"page":7})",
        R"({"fields":{"I1":"1"}})",
        R"({})",
        R"([])",
        R"("kinematika")",
        R"({"page":"kinematika"} x)",
        R"({"page":"kinematika",})",
        R"({"page":"kinematika","fields":{"I1":"1",}})",
        R"({"page":"kinematika")",
        R"({"page" "kinematika"})",
        R"({'page':'kinematika'})",
        std::string("{\"page\":\"kinematika\",\"fields\":{\"I1\":\"2\0\"}}", 40),
    };
    for (const std::string& line : lines) expect_read_as_the_library_reads(line);
}

// Realistic lines with a byte changed, put in or taken out where JSON's syntax lives.
TEST(BatchLineReader, ReadsDamagedLinesAsTheJsonLibraryDoes) {
    const std::vector<std::string> lines{
        R"({"id":"case-000002","page":"kinematika-meze","fields":{"J1.lo":"20,5","J1.hi":"25","J2.lo":"8"}})",
        R"({"page":"gev-evu","fields":{"I1":"2700","I2":"9000","I3":"1000","I4":"1000"}})",
        R"({"id":41,"page":"draha-zastaveni","fields":{"I1":"50","I2":"0,8","I5":"-5"}})"};
    const std::string syntax = "{}[]:,\"\\ 0-9eE.\x80\xc3\xa9\t\rntu";
    std::mt19937 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        std::string line = lines[random() % lines.size()];
        for (int changes = 1 + static_cast<int>(random() % 3); changes > 0; --changes) {
            const std::size_t at = random() % (line.size() + 1);
            const char byte = syntax[random() % syntax.size()];
            switch (random() % 3) {
            case 0: line.insert(at, 1, byte); break;
            case 1: if (at < line.size()) line.erase(at, 1); break;
            default: if (at < line.size()) line[at] = byte; break;
            }
        }
        expect_read_as_the_library_reads(line);
        if (HasFailure()) return;
    }
}

std::string library_json_string(std::string_view text) {
    return nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

TEST(JsonText, StringsAreWrittenAsTheJsonLibraryWritesThem) {
    std::vector<std::string> texts{"",          "6,865",     "Pozor !\rVýpočet nelze provést !",
                                   "\"\\/",     "\x7f",      "a\tb\nc\bd\fe",
                                   "případ",    "😀",        "\xc3\x28",
                                   "\xed\xa0\x80", "\xf4\x90\x80\x80", "ab\xe2\x82",
                                   "\xc0\xaf",  std::string("\0\x01\x1f", 3)};
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 12, ' ');
        for (char& c : text) c = static_cast<char>(random() % 4 == 0 ? random() % 256 : 'a' + random() % 26);
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        std::string written = "x";
        vorlanex::cli::append_json_string(written, text);
        ASSERT_EQ(written, "x" + library_json_string(text)) << testing::PrintToString(text);
    }
}

struct BatchRun {
    int status;
    std::string out;
};

BatchRun run_batch(const std::string& input, unsigned jobs) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string> arguments{"--separator=,", "--jobs", std::to_string(jobs), "--batch"};
    const int status = vorlanex::cli::run_calc_command(arguments, DecimalSeparator(","), in, out, err);
    return {status, out.str()};
}

// Every kind of line, many times over: the threads' output is the one thread's, in input order.
TEST(BatchJobs, SeveralThreadsWriteWhatOneWritesInTheSameOrder) {
    const std::vector<std::string> kinds{
        R"({"id":"a","page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I4":"15","I5":"20","I6":"0,8","I7":"0,2","I8":"1"}})",
        R"({"page":"kinematika-meze","fields":{"J1.lo":"20","J1.hi":"25"}})",
        R"({"page":"gev-definice","fields":{"I1":"x"}})",
        R"({"page":"nic"})",
        "",
        "[",
        R"({"page":"ees-katalog","fields":{"I1":"900","I2":"1600","I3":"40"}})",
    };
    std::string input;
    std::mt19937 random(3);
    for (int i = 0; i < 3000; ++i) input += kinds[random() % kinds.size()] + "\n";
    input += R"({"page":"kinematika","fields":{"I2":")" + std::string(vorlanex::cli::kMaxBatchLineBytes, '7') + "\"}}\n";
    input += R"({"page":"rychlost-rozhledu"})";  // no newline at the end

    const BatchRun one = run_batch(input, 1);
    EXPECT_EQ(one.status, vorlanex::cli::kExitUsage);
    for (const unsigned jobs : {2U, 3U}) {
        const BatchRun several = run_batch(input, jobs);
        EXPECT_EQ(several.status, one.status) << jobs;
        EXPECT_TRUE(several.out == one.out) << jobs << " threads write other output";
    }
}

// An output that takes `capacity` bytes and refuses the rest, as a full disk does.
class FullDisk : public std::streambuf {
public:
    explicit FullDisk(std::size_t capacity) : room_(capacity) {}

protected:
    std::streamsize xsputn(const char*, std::streamsize count) override {
        const std::streamsize taken = std::min(count, static_cast<std::streamsize>(room_));
        room_ -= static_cast<std::size_t>(taken);
        return taken;
    }
    int_type overflow(int_type c) override { return room_ == 0 ? traits_type::eof() : (--room_, c); }

private:
    std::size_t room_;
};

TEST(BatchJobs, SeveralThreadsStopWhenTheOutputFails) {
    std::string input;
    for (int i = 0; i < 5000; ++i) input += R"({"page":"gev-definice","fields":{"I1":"30","I2":"50"}})" "\n";
    for (const unsigned jobs : {1U, 2U, 4U}) {
        std::istringstream in(input);
        FullDisk disk(20000);
        std::ostream out(&disk);
        std::ostringstream err;
        const std::vector<std::string> arguments{"--separator=,", "--jobs", std::to_string(jobs), "--batch"};
        EXPECT_EQ(vorlanex::cli::run_calc_command(arguments, DecimalSeparator(","), in, out, err),
                  vorlanex::cli::kExitOutputFailed)
            << jobs;
        EXPECT_GT(in.rdbuf()->in_avail(), 0) << jobs << " jobs: the batch stopped before the end of its input";
    }
}

// A program that talks to the batch: it sends a line, waits (up to five seconds) for its answer,
// then sends the next. It notes how many answers it had each time the batch asked for more input.
class Conversation {
public:
    explicit Conversation(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    std::istream& input() { return input_stream_; }
    std::ostream& output() { return output_stream_; }
    std::vector<std::size_t> answers_when_asked() {
        const std::lock_guard lock(mutex_);
        return answers_when_asked_;
    }

private:
    class Input : public std::streambuf {
    public:
        explicit Input(Conversation& talk) : talk_(talk) {}

    protected:
        int_type underflow() override {
            std::unique_lock lock(talk_.mutex_);
            talk_.answered_.wait_for(lock, std::chrono::seconds(5), [this] { return talk_.answers_ >= talk_.sent_; });
            talk_.answers_when_asked_.push_back(talk_.answers_);
            if (talk_.sent_ == talk_.lines_.size()) return traits_type::eof();
            line_ = talk_.lines_[talk_.sent_++] + "\n";
            setg(line_.data(), line_.data(), line_.data() + line_.size());
            return traits_type::to_int_type(line_[0]);
        }
        std::streamsize showmanyc() override { return 0; }  // nothing more has arrived yet

    private:
        Conversation& talk_;
        std::string line_;
    };

    // Keeps what is written in a buffer, as a file's stream does, and hands it to the program
    // only when it is full or flushed.
    class Output : public std::streambuf {
    public:
        explicit Output(Conversation& talk) : talk_(talk) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

    protected:
        int_type overflow(int_type c) override {
            hand_over();
            if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
            return traits_type::not_eof(c);
        }
        int sync() override {
            hand_over();
            return 0;
        }

    private:
        void hand_over() {
            {
                const std::lock_guard lock(talk_.mutex_);
                talk_.answers_ += static_cast<std::size_t>(std::count(pbase(), pptr(), '\n'));
            }
            talk_.answered_.notify_all();
            setp(buffer_.data(), buffer_.data() + buffer_.size());
        }

        Conversation& talk_;
        std::array<char, 4096> buffer_{};
    };

    std::vector<std::string> lines_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::size_t sent_ = 0;
    std::size_t answers_ = 0;
    std::vector<std::size_t> answers_when_asked_;
    Input input_{*this};
    Output output_{*this};
    std::istream input_stream_{&input_};
    std::ostream output_stream_{&output_};
};

TEST(BatchJobs, EachAnswerIsWrittenBeforeTheBatchWaitsForTheNextLine) {
    for (const unsigned jobs : {1U, 2U}) {
        Conversation talk({R"({"page":"gev-definice","fields":{"I1":"30","I2":"50"}})", R"({"page":"nic"})",
                           R"({"page":"gev-definice","fields":{"I1":"x"}})"});
        std::ostringstream err;
        const std::vector<std::string> arguments{"--separator=,", "--jobs", std::to_string(jobs), "--batch"};
        vorlanex::cli::run_calc_command(arguments, DecimalSeparator(","), talk.input(), talk.output(), err);
        EXPECT_EQ(talk.answers_when_asked(), (std::vector<std::size_t>{0, 1, 2, 3})) << jobs << " jobs";
    }
}

}  // namespace
