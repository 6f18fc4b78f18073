#pragma once
// One run of vorlanex-protocol: the report's HTML loaded in Qt WebEngine from its file, printed to
// an A4 PDF with the margins of its own @page rule, its pages numbered, the pages asked for kept,
// the PDF written atomically and, when a printer is named, handed to it.
#include <QByteArray>
#include <QObject>
#include <QPageRanges>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

#include "spis/protocol/page_numbers.h"
#include "spis/protocol/protocol_request.h"

class QWebEngineProfile;

namespace vorlanex::spis::protocol {

class SealedPage;

class ProtocolJob final : public QObject {
    Q_OBJECT
public:
    explicit ProtocolJob(ProtocolRequest request, QObject* parent = nullptr);
    ~ProtocolJob() override;
    void start();

signals:
    // 0 when the PDF is written (and printed); 1 after a Czech message on standard error.
    void finished(int exit_code);

private:
    void load(const std::function<void()>& loaded);
    void print_report();
    void print_footers(int pages);
    void finish_pdf(const QByteArray& footers);
    void fail(const QString& problem);

    ProtocolRequest request_;
    QWebEngineProfile* profile_;
    SealedPage* page_;
    QTimer watchdog_;
    PageMargins margins_;
    QByteArray report_;
    std::function<void()> on_loaded_;
    bool done_ = false;
};

}  // namespace vorlanex::spis::protocol
