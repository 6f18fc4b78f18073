#include "spis/protocol/protocol_job.h"

#include <QColor>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <cstdio>
#include <string>
#include <vector>

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

std::optional<double> millimetres_of(const QString& length) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]*\\.?[0-9]+)\\s*(mm|cm|in|pt|px)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(length);
    if (!match.hasMatch()) return std::nullopt;
    const double value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    if (unit == QLatin1String("mm")) return value;
    if (unit == QLatin1String("cm")) return value * 10;
    if (unit == QLatin1String("in")) return value * 25.4;
    if (unit == QLatin1String("pt")) return value * 25.4 / 72;
    return value * 25.4 / 96;  // px
}

std::string bytes_of(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

ParsedRequest request_from(const QString& html, const QString& pdf, const QString& pages,
                           const std::optional<PrinterSettings>& printer) {
    ParsedRequest parsed{{html, pdf, {}, printer}, {}};
    if (html.isEmpty()) {
        parsed.problem = QStringLiteral("Chybí --html: soubor HTML protokolu.");
    } else if (!QFileInfo(html).isFile() || !QFileInfo(html).isReadable()) {
        parsed.problem = QStringLiteral("Soubor protokolu „%1“ nelze přečíst.").arg(html);
    } else if (pdf.isEmpty() && !printer) {
        parsed.problem = QStringLiteral("Chybí --pdf nebo --printer: kam protokol dát.");
    } else if (printer && printer->printer.empty()) {
        parsed.problem = QStringLiteral("Tiskárna nemá jméno.");
    } else if (printer && printer->copies < 1) {
        parsed.problem = QStringLiteral("Počet kopií musí být alespoň 1.");
    } else if (!pages.isEmpty()) {
        parsed.request.pages = QPageRanges::fromString(pages);
        if (parsed.request.pages.isEmpty()) {
            parsed.problem = QStringLiteral("Rozsah stran „%1“ nelze přečíst (například 1-3,5).").arg(pages);
        }
    }
    return parsed;
}

PageMargins margins_from(const QVariant& css_margins) {
    PageMargins margins;
    const QVariantList list = css_margins.toList();
    if (list.size() != 4) return margins;
    double* const sides[] = {&margins.top, &margins.right, &margins.bottom, &margins.left};
    for (int i = 0; i < 4; ++i) {
        if (const auto value = millimetres_of(list[i].toString())) *sides[i] = *value;
    }
    return margins;
}

ProtocolJob::ProtocolJob(ProtocolRequest request, QObject* parent)
    : QObject(parent),
      request_(std::move(request)),
      // A profile without a storage name keeps nothing on disk: no cache, no cookies, no history.
      profile_(new QWebEngineProfile(this)),
      page_(new QWebEnginePage(profile_, this)) {
    // The report needs no script of its own and nothing from the network.
    page_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    page_->settings()->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    page_->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
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
    page_->load(QUrl::fromLocalFile(QFileInfo(request_.html).absoluteFilePath()));
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
    std::vector<int> kept;
    if (!request_.pages.isEmpty()) {
        for (int page = 1; page <= count; ++page) {
            if (request_.pages.contains(page)) kept.push_back(page);
        }
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
