#include "spis/protocol/protocol_job.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "spis/protocol/browser_print.h"
#include "spis/protocol/page_numbers.h"
#include "spis/protocol/protocol_parts.h"

namespace vorlanex::spis::protocol {

namespace {

// How long no part may finish before the run is given up: long enough for a cold start of the
// browser on a slow machine and a part of the largest size.
constexpr int kStallSeconds = 60;
// Parts printed at once: the machine's two cores each lay out one.
constexpr std::size_t kPartsAtOnce = 2;

int positive_from_environment(const char* name, int otherwise) {
    bool number = false;
    const int value = qEnvironmentVariableIntValue(name, &number);
    return number && value > 0 ? value : otherwise;
}

std::string bytes_of(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

ProtocolJob::ProtocolJob(ProtocolRequest request, QObject* parent)
    : QObject(parent),
      request_(std::move(request)),
      browser_(browser_program()),
      stall_seconds_(positive_from_environment("VORLANEX_PROTOCOL_STALL_SECONDS", kStallSeconds)) {
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(stall_seconds_ * 1000);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("Protokol se nepodařilo vytvořit: žádná jeho část nebyla hotová za %1 s.")
                 .arg(stall_seconds_));
    });
}

ProtocolJob::~ProtocolJob() {
    for (BrowserPrint* print : running_) delete print;
}

void ProtocolJob::start() {
    if (browser_.isEmpty()) {
        return fail(QStringLiteral("Chybí prohlížeč Chromium, který protokol tiskne (balíček chromium)."));
    }
    QFile file(request_.html);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("Protokol „%1“ se nepodařilo načíst: %2").arg(request_.html, file.errorString()));
    }
    const std::string html = bytes_of(file.readAll());
    const auto sections = static_cast<std::size_t>(
        positive_from_environment("VORLANEX_PROTOCOL_SECTIONS_PER_PART", static_cast<int>(kSectionsPerPart)));
    parts_ = protocol_parts(html, sections);
    printed_.resize(parts_.size());
    if (parts_.size() > 1) first_part_ = parts_.front();
    // A protocol of several parts numbers its pages in a step of its own.
    steps_ = static_cast<int>(parts_.size()) + (parts_.size() > 1 ? 1 : 0);
    watchdog_.start();
    print_next();
}

void ProtocolJob::print_next() {
    while (!done_ && next_ < parts_.size() && running_.size() < kPartsAtOnce) {
        const std::size_t part = next_++;
        // A single part prints the report's page numbers itself; parts are numbered over the whole.
        const bool whole = parts_.size() == 1;
        auto* print = new BrowserPrint(browser_, sealed_document(parts_[part], whole), whole, this);
        running_.push_back(print);
        connect(print, &BrowserPrint::finished, this,
                [this, part, print](const QByteArray& pdf, const QString& problem) {
                    running_.erase(std::remove(running_.begin(), running_.end(), print), running_.end());
                    print->deleteLater();
                    part_printed(part, pdf, problem);
                });
        parts_[part].clear();
        parts_[part].shrink_to_fit();
    }
}

void ProtocolJob::part_printed(std::size_t part, const QByteArray& pdf, const QString& problem) {
    if (done_) return;
    if (!problem.isEmpty()) return fail(problem);
    printed_[part] = bytes_of(pdf);
    ++printed_count_;
    step_done();
    if (printed_count_ < printed_.size()) return print_next();
    pages_ = 0;
    for (const std::string& printed : printed_) {
        std::string problem;
        const int pages = page_count(printed, problem);
        if (pages < 1) return fail(QString::fromStdString(problem));
        pages_ += pages;
    }
    if (printed_.size() == 1) return finish_pdf({});
    number_pages();
}

void ProtocolJob::number_pages() {
    const int pages = pages_;
    // The numbers are printed by the report's own style, which is in the head of every part.
    auto* print =
        new BrowserPrint(browser_, sealed_document(page_numbers_document(first_part_, pages), true), false, this);
    running_.push_back(print);
    connect(print, &BrowserPrint::finished, this, [this, print](const QByteArray& numbers, const QString& failed) {
        running_.erase(std::remove(running_.begin(), running_.end(), print), running_.end());
        print->deleteLater();
        if (done_) return;
        if (!failed.isEmpty()) return fail(failed);
        step_done();
        finish_pdf(bytes_of(numbers));
    });
}

void ProtocolJob::finish_pdf(const std::string& numbers) {
    const int count = pages_;
    const std::vector<int> kept = kept_pages(request_.pages, count);
    if (!request_.pages.isEmpty() && kept.empty()) {
        return fail(QStringLiteral("Protokol nemá stránky %1: má jich %2.").arg(request_.pages.toString()).arg(count));
    }
    const PdfOutcome outcome = assembled(printed_, numbers, kept);
    printed_.clear();
    if (!outcome.ok()) return fail(QString::fromStdString(outcome.problem));

    QTemporaryDir own_folder;
    const QString path = request_.pdf.isEmpty() ? own_folder.filePath(QStringLiteral("protokol.pdf")) : request_.pdf;
    QSaveFile file(path);
    const auto size = static_cast<qint64>(outcome.pdf.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(outcome.pdf.data(), size) != size || !file.commit()) {
        return fail(QStringLiteral("PDF protokolu nelze zapsat do „%1“: %2").arg(path, file.errorString()));
    }
    if (request_.printer) {
        if (const auto refused = print_pdf(path.toStdString(), *request_.printer)) {
            return fail(QString::fromStdString(*refused));
        }
    }
    done_ = true;
    watchdog_.stop();
    emit finished(0);
}

void ProtocolJob::step_done() {
    ++steps_done_;
    watchdog_.start();  // a part finished: the limit counts from now
    std::printf("progress %d/%d\n", steps_done_, steps_);
    std::fflush(stdout);
}

void ProtocolJob::fail(const QString& problem) {
    if (done_) return;
    done_ = true;
    watchdog_.stop();
    for (BrowserPrint* print : running_) delete print;
    running_.clear();
    std::fprintf(stderr, "vorlanex-protocol: %s\n", problem.toUtf8().constData());
    emit finished(1);
}

}  // namespace vorlanex::spis::protocol
