#pragma once
// One document printed to an A4 PDF by Debian's Chromium, headless, in a process of its own.
//
// The document may come from anywhere (a case file names its own texts), so the browser is given
// it sealed (protocol_parts.h: a Content-Security-Policy that lets it load and run nothing), alone
// in a private temporary folder, with a fresh profile of its own elsewhere, every connection sent
// to a proxy that is not there and every host name unresolved; the PDF is printed with the page
// size, margins and margin boxes of the document's own @page rule.
#include <sys/types.h>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <string>

class QProcess;

namespace vorlanex::spis::protocol {

// The browser that prints: $VORLANEX_PROTOCOL_BROWSER when set (the tests give a stand-in), else
// chromium from PATH; empty when there is none.
QString browser_program();

class BrowserPrint final : public QObject {
    Q_OBJECT
public:
    // Starts printing `document` (already sealed) with `browser`; `finished` follows. A `tagged` PDF
    // carries the document's structure for assistive technology; a part of a protocol that is
    // joined to others is printed without it, which the join could not keep (and which makes the
    // PDF six times larger and slower to join).
    BrowserPrint(const QString& browser, const std::string& document, bool tagged, QObject* parent = nullptr);
    // Ends the browser and everything it started, if it still runs.
    ~BrowserPrint() override;

signals:
    // The PDF, or a Czech message (and no PDF).
    void finished(const QByteArray& pdf, const QString& problem);

private:
    void ended();
    void fail(const QString& problem);
    void end_browser();

    QTemporaryDir document_folder_;
    QTemporaryDir work_folder_;
    QProcess* browser_ = nullptr;
    pid_t group_ = 0;  // the browser's process group, while it may hold a process
    bool done_ = false;
};

}  // namespace vorlanex::spis::protocol
