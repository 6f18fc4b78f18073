#pragma once
// One run of vorlanex-protocol: the report's HTML cut into parts (protocol_parts.h), each printed
// to an A4 PDF by the browser (browser_print.h), two at a time, the parts joined and numbered over
// the whole, the pages asked for kept, the PDF written atomically and, when a printer is named,
// handed to it.
//
// Progress goes to standard output, one line a part printed: "progress 3/12" (the twelfth step
// being the page numbers when there are several parts). A watchdog ends the run only when no part
// has finished for a while (60 s, or $VORLANEX_PROTOCOL_STALL_SECONDS), however long the whole
// takes.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "spis/protocol/protocol_request.h"

namespace vorlanex::spis::protocol {

class BrowserPrint;

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
    void print_next();
    void part_printed(std::size_t part, const QByteArray& pdf, const QString& problem);
    void number_pages();
    void finish_pdf(const std::string& numbers);
    void step_done();
    void fail(const QString& problem);

    ProtocolRequest request_;
    QString browser_;
    QTimer watchdog_;
    int stall_seconds_;
    std::vector<std::string> parts_;
    std::vector<std::string> printed_;
    std::size_t next_ = 0;
    std::size_t printed_count_ = 0;
    std::vector<BrowserPrint*> running_;
    std::string first_part_;
    int pages_ = 0;  // of all parts
    int steps_ = 0;
    int steps_done_ = 0;
    bool done_ = false;
};

}  // namespace vorlanex::spis::protocol
