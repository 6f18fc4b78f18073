#include "cli/batch.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <istream>
#include <limits>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "casefile/json_text.h"
#include "casefile/run_result.h"
#include "cli/allocation_arenas.h"
#include "cli/batch_line.h"
#include "cli/exit_status.h"
#include "numeric/arithmetic_mode.h"

namespace vorlanex::cli {

namespace {

constexpr std::string_view kTooLong = "the line is longer than 1 MiB (1048576 bytes)";

bool is_blank(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

// The input, a line at a time. Each read stops at its line's end: nothing past the line being
// read is taken from the stream.
class LineReader {
public:
    enum class Read { Line, TooLong, End, Failed };

    explicit LineReader(std::istream& in) : in_(in), buffer_(kMaxBatchLineBytes + 1) {}

    // True when the next read would wait for input that has not arrived yet (or finds the end).
    bool would_wait() { return in_.rdbuf()->in_avail() <= 0; }

    // The next line without its "\n" (valid until the next read), or that it was too long and
    // has been passed over, or the end of the input, or that the input could not be read.
    Read next(std::string_view& line) {
        if (failure_) return Read::Failed;
        if (!in_.good()) return Read::End;
        errno = 0;
        in_.getline(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        const auto count = static_cast<std::size_t>(in_.gcount());
        if (in_.bad()) return failed();
        if (in_.fail() && !in_.eof()) {  // the buffer filled up before the line ended
            in_.clear();
            in_.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            if (in_.bad()) return failed();
            return Read::TooLong;
        }
        if (count == 0) return Read::End;
        line = std::string_view(buffer_.data(), in_.eof() ? count : count - 1);  // without the "\n"
        return Read::Line;
    }

    // Why the input could not be read, after a read gave Read::Failed.
    const std::string& failure() const { return *failure_; }

private:
    Read failed() {
        failure_ = errno != 0 ? std::strerror(errno) : "the stream failed";
        return Read::Failed;
    }

    std::istream& in_;
    std::vector<char> buffer_;
    std::optional<std::string> failure_;
};

// The status of a batch whose reading ended with `read`, and the message of a failed input.
int batch_status(LineReader& reader, LineReader::Read read, bool usage_errors, std::ostream& err) {
    if (read != LineReader::Read::Failed) return usage_errors ? kExitUsage : kExitCompleted;
    err << "vorlanex-calc: the input could not be read (" << reader.failure() << "); stopped\n";
    return kExitInputFailed;
}

// Makes the result line of a batch line; one for each thread.
class ResultMaker {
public:
    explicit ResultMaker(const numeric::DecimalSeparator& separator) : separator_(separator) {}

    // Appends the result of line `number` (a line that was too long, when `too_long`) to
    // `out`, "\n" included. False when the line was no scenario. The line's texts are not kept
    // after it (a thread waiting for its next block would hold them for nothing).
    bool append_result(long number, bool too_long, std::string_view line, std::string& out) {
        const bool scenario = append_result_of_line(number, too_long, line, out);
        line_.scenario.fields.clear();
        line_.id.reset();
        return scenario;
    }

private:
    bool append_result_of_line(long number, bool too_long, std::string_view line, std::string& out) {
        out += R"({"line":)";
        out += std::to_string(number);
        if (too_long) return append_usage_error(kTooLong, out);
        read_batch_line(line, line_);
        if (line_.id) {
            out += R"(,"id":)";
            out += *line_.id;
        }
        if (line_.error) return append_usage_error(line_.error->message, out);

        out += ',';
        casefile::append_run_result(line_.scenario, separator_, out);
        out += "}\n";
        return true;
    }

    static bool append_usage_error(std::string_view message, std::string& out) {
        out += R"(,"usage_error":)";
        casefile::append_json_string(out, message);
        out += "}\n";
        return false;
    }

    const numeric::DecimalSeparator& separator_;
    BatchLine line_;
};

int run_on_this_thread(const numeric::DecimalSeparator& separator, LineReader& reader, Output& out, std::ostream& err) {
    ResultMaker maker(separator);
    std::string result;
    bool usage_errors = false;
    LineReader::Read read = LineReader::Read::End;
    for (long number = 1; !out.failed(); ++number) {
        if (reader.would_wait()) out.flush();
        std::string_view line;
        read = reader.next(line);
        if (read == LineReader::Read::End || read == LineReader::Read::Failed) break;
        if (read == LineReader::Read::Line && is_blank(line)) continue;
        result.clear();
        const bool scenario = maker.append_result(number, read == LineReader::Read::TooLong, line, result);
        usage_errors |= !scenario;
        out.write(result);
    }
    out.flush();
    return batch_status(reader, read, usage_errors, err);
}

// Lines read together and run on one thread; their results are written together.
struct Block {
    struct Line {
        long number;
        std::size_t offset;
        std::size_t length;
        bool too_long;
    };
    std::string input;
    std::vector<Line> lines;
    std::size_t longest = 0;  // the length of its longest line
    std::string output;
    std::size_t bytes = 0;  // what it is counted as in the bytes in flight
    bool usage_errors = false;
    bool done = false;

    // What the block takes at most while it is run: its input; its results, which quote a
    // field's text at most twice (in the error and among the fields) besides what every result
    // has; and the copies that the run of its longest line makes of that line's texts (the
    // scenario, the page's fields, the text read, the fault's message and its error box). A
    // result larger than that is counted as it is once the block has run.
    std::size_t bytes_while_run() const {
        constexpr std::size_t kCopiesOfALineWhileRun = 8;
        return input.capacity() + result_bytes() + kCopiesOfALineWhileRun * longest;
    }
    std::size_t result_bytes() const { return 2 * input.size() + lines.size() * kResultBytesBesidesTexts; }
};

constexpr std::size_t kBlockLines = 256;
constexpr std::size_t kBlockInputBytes = std::size_t{64} << 10;

// The batch on several threads. This thread reads the lines into blocks; each worker runs a whole
// block, and the worker that finishes the oldest block still unwritten writes it, and every block
// after it that is done, so the results leave in the order of the input. The blocks read and not
// yet written hold at most kMostBytesInFlight (or one block, when that alone holds more), so the
// memory stays the same whatever the number of threads and however long the lines.
class ParallelBatch {
public:
    ParallelBatch(const numeric::DecimalSeparator& separator, Output& out, unsigned jobs)
        : separator_(separator), out_(out), most_in_flight_(2 * std::size_t{jobs} + 2) {
        workers_.reserve(jobs);
        for (unsigned i = 0; i < jobs; ++i) workers_.emplace_back([this] { work(); });
    }

    int run(LineReader& reader, std::ostream& err) {
        auto block = std::make_unique<Block>();
        LineReader::Read read = LineReader::Read::End;
        for (long number = 1;; ++number) {
            if (!block->lines.empty() && reader.would_wait() && !hand_over(block)) break;
            std::string_view line;
            read = reader.next(line);
            if (read == LineReader::Read::End || read == LineReader::Read::Failed) break;
            if (read == LineReader::Read::Line && is_blank(line)) continue;
            const bool too_long = read == LineReader::Read::TooLong;
            block->lines.push_back({number, block->input.size(), too_long ? 0 : line.size(), too_long});
            if (!too_long) {
                block->input += line;
                block->longest = std::max(block->longest, line.size());
            }
            if ((block->lines.size() == kBlockLines || block->input.size() >= kBlockInputBytes) && !hand_over(block))
                break;
        }
        if (!block->lines.empty()) hand_over(block);
        {
            const std::lock_guard lock(mutex_);
            input_ended_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_) worker.join();
        out_.flush();
        return batch_status(reader, read, usage_errors_, err);
    }

private:
    // Queues the block for the workers, once there is room for it, and starts a new one; false
    // when the output has failed.
    bool hand_over(std::unique_ptr<Block>& block) {
        block->bytes = block->bytes_while_run();
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this, &block] {
            return stopped_ || blocks_.empty() ||
                   (blocks_.size() < most_in_flight_ && bytes_in_flight_ + block->bytes <= kMostBytesInFlight);
        });
        if (stopped_) return false;
        count_in_flight(block->bytes, 0);
        blocks_.push_back(std::move(block));
        block = std::make_unique<Block>();
        lock.unlock();
        changed_.notify_all();
        return true;
    }

    void work() {
        numeric::set_arithmetic_mode();  // the calculations' mode, on this thread too
        ResultMaker maker(separator_);
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopped_ || taken_ < blocks_.size() || input_ended_; });
            if (stopped_ || taken_ == blocks_.size()) return;  // stopped, or the input ended and all is taken
            Block& block = *blocks_[taken_++];
            lock.unlock();
            block.output.reserve(block.result_bytes());
            for (const Block::Line& line : block.lines) {
                const std::string_view text = std::string_view(block.input).substr(line.offset, line.length);
                block.usage_errors |= !maker.append_result(line.number, line.too_long, text, block.output);
            }
            std::string().swap(block.input);  // its results are all it holds now
            lock.lock();
            const std::size_t counted = block.bytes;
            block.bytes = block.output.capacity();
            count_in_flight(block.bytes, counted);
            block.done = true;
            write_finished_blocks(lock);
        }
    }

    // Writes the oldest blocks while they are done, unless another worker is writing.
    void write_finished_blocks(std::unique_lock<std::mutex>& lock) {
        while (!writing_ && !stopped_ && !blocks_.empty() && blocks_.front()->done) {
            writing_ = true;
            const std::unique_ptr<Block> oldest = std::move(blocks_.front());
            blocks_.pop_front();
            --taken_;
            lock.unlock();
            out_.write(oldest->output);
            out_.flush();
            lock.lock();
            writing_ = false;
            count_in_flight(0, oldest->bytes);
            usage_errors_ |= oldest->usage_errors;
            if (out_.failed()) stopped_ = true;
            changed_.notify_all();
        }
    }

    // Counts `added` bytes more and `removed` fewer in flight (with the mutex held).
    void count_in_flight(std::size_t added, std::size_t removed) {
        bytes_in_flight_ = bytes_in_flight_ + added - removed;
    }

    const numeric::DecimalSeparator& separator_;
    Output& out_;
    const std::size_t most_in_flight_;
    std::vector<std::thread> workers_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Block>> blocks_;  // from the oldest unwritten, in input order
    std::size_t taken_ = 0;                      // blocks_[0, taken_) are taken by workers
    bool input_ended_ = false;
    bool writing_ = false;
    bool stopped_ = false;  // the output failed
    bool usage_errors_ = false;
    std::size_t bytes_in_flight_ = 0;  // what the blocks in blocks_ are counted as
};

}  // namespace

int run_batch(const numeric::DecimalSeparator& separator, std::istream& in, Output& out, std::ostream& err,
              unsigned jobs) {
    LineReader reader(in);
    if (jobs <= 1) return run_on_this_thread(separator, reader, out, err);
    // The threads share one allocation arena, so that the large blocks they free (a long line, its
    // copies, its results) are not kept once for each; their small allocations still come from
    // caches of their own.
    share_one_allocation_arena();
    ParallelBatch batch(separator, out, jobs);
    return batch.run(reader, err);
}

}  // namespace vorlanex::cli
