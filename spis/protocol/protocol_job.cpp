#include "spis/protocol/protocol_job.h"

#include <QColor>
#include <QPageLayout>
#include <QPageSize>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <cstdio>
#include <string>
#include <vector>

#include "spis/protocol/sealed_page.h"

namespace vorlanex::spis::protocol {

namespace {

// Long enough for a cold start of WebEngine on a slow machine and a protocol of many pages.
constexpr int kWatchdogMs = 120'000;

// The margins of the first @page rule without a page selector, as the CSS object model gives them.
const QString kMarginsScript = QStringLiteral(R"((function () {
  for (const sheet of document.styleSheets) {
    let rules;
    try { rules = sheet.cssRules; } catch (e) { continue; }
    for (const rule of rules) {
      if (rule.type === CSSRule.PAGE_RULE && !rule.selectorText) {
        return [rule.style.marginTop, rule.style.marginRight, rule.style.marginBottom, rule.style.marginLeft];
      }
    }
  }
  return [];
})())");

std::string bytes_of(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

ProtocolJob::ProtocolJob(ProtocolRequest request, QObject* parent)
    : QObject(parent),
      request_(std::move(request)),
      // A profile without a storage name keeps nothing on disk: no cache, no cookies, no history.
      profile_(new QWebEngineProfile(this)),
      page_(new SealedPage(profile_, this)) {
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (done_ || !on_loaded_) return;
        const std::function<void()> loaded = std::exchange(on_loaded_, {});
        if (!ok) return fail(QStringLiteral("Protokol „%1“ se nepodařilo načíst.").arg(request_.html));
        loaded();
    });
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this] { fail(QStringLiteral("Vykreslovací proces Qt WebEngine skončil předčasně.")); });
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(kWatchdogMs);
    connect(&watchdog_, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("Protokol se nepodařilo vytvořit do %1 s.").arg(kWatchdogMs / 1000)); });
}

// The page goes before its profile, as WebEngine asks.
ProtocolJob::~ProtocolJob() { delete page_; }

void ProtocolJob::start() {
    watchdog_.start();
    on_loaded_ = [this] {
        page_->runJavaScript(kMarginsScript, QWebEngineScript::ApplicationWorld, [this](const QVariant& margins) {
            margins_ = margins_from(margins);
            print_report();
        });
    };
    page_->load_document(request_.html);
}

void ProtocolJob::print_report() {
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(margins_.left, margins_.top, margins_.right, margins_.bottom),
                             QPageLayout::Millimeter);
    page_->printToPdf(
        [this](const QByteArray& pdf) {
            if (done_) return;
            if (pdf.isEmpty()) return fail(QStringLiteral("Qt WebEngine protokol do PDF nevytiskl."));
            report_ = pdf;
            std::string problem;
            const int pages = page_count(bytes_of(report_), problem);
            if (pages < 1) return fail(QString::fromStdString(problem));
            print_footers(pages);
        },
        layout);
}

void ProtocolJob::print_footers(int pages) {
    on_loaded_ = [this] {
        page_->printToPdf(
            [this](const QByteArray& footers) {
                if (done_) return;
                if (footers.isEmpty()) return fail(QStringLiteral("Qt WebEngine čísla stran nevytiskl."));
                finish_pdf(footers);
            },
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    };
    // Nothing but the numbers: without a background of its own a footer page leaves the page under
    // it to be seen.
    page_->setBackgroundColor(Qt::transparent);
    page_->setHtml(QString::fromStdString(footers_html(pages, margins_)), QUrl(QStringLiteral("about:blank")));
}

void ProtocolJob::finish_pdf(const QByteArray& footers) {
    std::string problem;
    const int count = page_count(bytes_of(report_), problem);
    const std::vector<int> kept = kept_pages(request_.pages, count);
    if (!request_.pages.isEmpty()) {
        if (kept.empty()) {
            return fail(
                QStringLiteral("Protokol nemá stránky %1: má jich %2.").arg(request_.pages.toString()).arg(count));
        }
    }
    const PdfOutcome outcome = numbered(bytes_of(report_), bytes_of(footers), kept);
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

void ProtocolJob::fail(const QString& problem) {
    if (done_) return;
    done_ = true;
    watchdog_.stop();
    std::fprintf(stderr, "vorlanex-protocol: %s\n", problem.toUtf8().constData());
    emit finished(1);
}

}  // namespace vorlanex::spis::protocol
