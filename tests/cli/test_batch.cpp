// The batch's own reader and writer against the JSON library they stand in for, and the batch on
// several threads and fed a line at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "casefile/json_text.h"
#include "cli/batch.h"
#include "cli/batch_line.h"
#include "cli/calc_command.h"
#include "registry/page_tree.h"

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
        R"({"page":"kinematika","id":1E2})",
        R"({"page":"kinematika","id":-0.0e-0})",
        R"({"page":"kinematika","id":1e400})",
        R"({"page":"kinematika","id":-1e-400})",
        R"({"page":"kinematika","id":)" + std::string(400, '9') + "}",
        R"({"page":"kinematika","id":-)",
        R"({"page":"kinematika","id":1.})",
        R"({"page":"kinematika","id":.5})",
        R"({"page":"kinematika","id":1e})",
        R"({"page":"kinematika","id":+1})",
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

// A line of many keys is refused once it has more in one object than any scenario has; up to
// then it is read as any other line.
TEST(BatchLineReader, ReadsLinesOfManyKeysAsTheJsonLibraryDoes) {
    const vorlanex::page::PageDefinition* widest = nullptr;
    for (const vorlanex::page::PageDefinition* page : vorlanex::registry::calculation_pages()) {
        if (!widest || page->layout.fields.size() > widest->layout.fields.size()) widest = page;
    }
    const auto fields = [&](std::size_t count, std::string_view extra) {
        std::string object = "{";
        for (std::size_t i = 0; i < count; ++i) {
            object += (i ? ",\"" : "\"") + std::string(widest->layout.fields[i].id) + "\":\"1\"";
        }
        return object + std::string(extra) + "}";
    };
    const std::size_t all = widest->layout.fields.size();
    const std::string page = R"({"page":")" + std::string(widest->key) + R"(","fields":)";
    const std::vector<std::string> lines{
        page + fields(all, "") + "}",                                    // every field: a scenario
        page + fields(all, R"(,"X":"1")") + "}",                         // one more
        page + fields(all, R"(,"X":"1")") + R"(,"page":"kinematika"})",  // the refusal comes first
        page + fields(all - 1, R"(,"X":"1")") + R"(,"id":[1]})",         // the first refusal wins
        page + fields(all, R"(,"X":"1")") + " x",                        // refused before the syntax error
        R"({"page":"kinematika","a":1,"b":2,"c":3,"d":4})",
        R"({"id":)" + fields(all, R"(,"X":"1")") + "}",
    };
    for (const std::string& line : lines) expect_read_as_the_library_reads(line);
    BatchLine read;
    vorlanex::cli::read_batch_line(lines[0], read);
    EXPECT_FALSE(read.error) << read.error->message;
    vorlanex::cli::read_batch_line(lines[1], read);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->message,
              "the line has an object of more than " + std::to_string(all) + " keys, more than any scenario has");
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
                case 1:
                    if (at < line.size()) line.erase(at, 1);
                    break;
                default:
                    if (at < line.size()) line[at] = byte;
                    break;
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
    std::vector<std::string> texts{"",
                                   "6,865",
                                   "Pozor !\rVýpočet nelze provést !",
                                   "\"\\/",
                                   "\x7f",
                                   "a\tb\nc\bd\fe",
                                   "případ",
                                   "😀",
                                   "\xc3\x28",
                                   "\xed\xa0\x80",
                                   "\xf4\x90\x80\x80",
                                   "ab\xe2\x82",
                                   "\xc0\xaf",
                                   std::string("\0\x01\x1f", 3)};
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 12, ' ');
        for (char& c : text) c = static_cast<char>(random() % 4 == 0 ? random() % 256 : 'a' + random() % 26);
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        std::string written = "x";
        vorlanex::casefile::append_json_string(written, text);
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
    input +=
        R"({"page":"kinematika","fields":{"I2":")" + std::string(vorlanex::cli::kMaxBatchLineBytes, '7') + "\"}}\n";
    input += R"({"page":"rychlost-rozhledu"})";  // no newline at the end

    const BatchRun one = run_batch(input, 1);
    EXPECT_EQ(one.status, vorlanex::cli::kExitUsage);
    for (const unsigned jobs : {2U, 3U}) {
        const BatchRun several = run_batch(input, jobs);
        EXPECT_EQ(several.status, one.status) << jobs;
        EXPECT_TRUE(several.out == one.out) << jobs << " threads write other output";
    }
}

// An input of lines of one length, each made when it is read, and an output that only counts the
// results: how far the batch reads ahead of the results it has written. The output takes the
// first results only once the whole input has been read, or after half a second, as a slow disk
// would, so the batch reads ahead as far as it ever will.
class ReadAhead {
public:
    ReadAhead(std::size_t lines, std::size_t line_bytes) : lines_(lines) {
        const std::string head = R"({"page":"kinematika","fields":{"I2":")";
        const std::string tail = "\"}}\n";
        line_ = head + std::string(line_bytes - head.size() - tail.size(), '7') + tail;
    }
    std::istream& input() { return input_stream_; }
    std::ostream& output() { return output_stream_; }
    std::size_t most_bytes_read_ahead() const { return most_lines_ahead_ * line_.size(); }

private:
    class Input : public std::streambuf {
    public:
        explicit Input(ReadAhead& lines) : lines_(lines) {}

    protected:
        int_type underflow() override {
            if (sent() == lines_.lines_) return traits_type::eof();
            {
                const std::lock_guard lock(lines_.mutex_);
                ++lines_.sent_;
                lines_.most_lines_ahead_ = std::max(lines_.most_lines_ahead_, lines_.sent_ - lines_.answered_);
            }
            lines_.all_sent_.notify_all();
            setg(lines_.line_.data(), lines_.line_.data(), lines_.line_.data() + lines_.line_.size());
            return traits_type::to_int_type(lines_.line_[0]);
        }
        std::streamsize showmanyc() override { return sent() < lines_.lines_ ? 1 : -1; }  // as a file

    private:
        std::size_t sent() {
            const std::lock_guard lock(lines_.mutex_);
            return lines_.sent_;
        }
        ReadAhead& lines_;
    };

    class Output : public std::streambuf {
    public:
        explicit Output(ReadAhead& lines) : lines_(lines) {}

    protected:
        std::streamsize xsputn(const char* text, std::streamsize count) override {
            std::unique_lock lock(lines_.mutex_);
            if (!started_) {
                lines_.all_sent_.wait_for(lock, std::chrono::milliseconds(500),
                                          [this] { return lines_.sent_ == lines_.lines_; });
                started_ = true;
            }
            lines_.answered_ += static_cast<std::size_t>(std::count(text, text + count, '\n'));
            return count;
        }
        int_type overflow(int_type c) override {
            const char text = traits_type::to_char_type(c);
            return traits_type::eq_int_type(c, traits_type::eof()) ? traits_type::not_eof(c) : (xsputn(&text, 1), c);
        }

    private:
        ReadAhead& lines_;
        bool started_ = false;
    };

    const std::size_t lines_;
    std::string line_;
    std::mutex mutex_;
    std::condition_variable all_sent_;
    std::size_t sent_ = 0;
    std::size_t answered_ = 0;
    std::size_t most_lines_ahead_ = 0;
    Input input_{*this};
    Output output_{*this};
    std::istream input_stream_{&input_};
    std::ostream output_stream_{&output_};
};

// The lines read and their results not yet written stay within a bound in bytes, however many
// threads run and however long the lines.
TEST(BatchJobs, TheBytesInFlightAreBoundedWhateverTheNumberOfThreads) {
    ReadAhead batch(160, std::size_t{256} << 10);  // 40 MiB
    std::ostringstream err;
    const std::vector<std::string> arguments{"--separator=,", "--jobs", std::to_string(vorlanex::cli::kMostJobs),
                                             "--batch"};
    EXPECT_EQ(vorlanex::cli::run_calc_command(arguments, DecimalSeparator(","), batch.input(), batch.output(), err),
              vorlanex::cli::kExitCompleted);
    EXPECT_LE(batch.most_bytes_read_ahead(), vorlanex::cli::kMostBytesInFlight);
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
    for (int i = 0; i < 5000; ++i)
        input += R"({"page":"gev-definice","fields":{"I1":"30","I2":"50"}})"
                 "\n";
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
