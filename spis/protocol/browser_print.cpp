#include "spis/protocol/browser_print.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace vorlanex::spis::protocol {

namespace {

// Of the browser's output, what a message can show when it printed nothing.
constexpr qsizetype kOutputShown = 600;

bool write_file(const QString& path, const std::string& bytes) {
    QFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    return file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size && file.flush();
}

}  // namespace

QString browser_program() {
    const QString chosen = qEnvironmentVariable("VORLANEX_PROTOCOL_BROWSER");
    if (!chosen.isEmpty()) return chosen;
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) return found;
    }
    return {};
}

BrowserPrint::BrowserPrint(const QString& browser, const std::string& document, bool tagged, QObject* parent)
    : QObject(parent) {
    const QString html = document_folder_.filePath(QStringLiteral("protokol.html"));
    if (!document_folder_.isValid() || !work_folder_.isValid() || !write_file(html, document)) {
        // Said after the constructor, once the caller is listening.
        QTimer::singleShot(0, this,
                           [this] { fail(QStringLiteral("Dočasnou složku pro tisk protokolu nelze vytvořit.")); });
        return;
    }
    browser_ = new QProcess(this);
    browser_->setProcessChannelMode(QProcess::MergedChannels);
    browser_->setStandardInputFile(QProcess::nullDevice());
    // The browser leads a process group of its own, so that ending it ends its helpers too, and
    // dies with this program, so that a program killed by the window leaves no browser behind.
    browser_->setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    connect(browser_, &QProcess::started, this, [this] { group_ = static_cast<pid_t>(browser_->processId()); });
    connect(browser_, &QProcess::finished, this, &BrowserPrint::ended);
    connect(browser_, &QProcess::errorOccurred, this, [this, browser](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            fail(QStringLiteral("Prohlížeč „%1“, který protokol tiskne, nelze spustit: %2")
                     .arg(browser, browser_->errorString()));
        }
    });
    QStringList arguments{
        QStringLiteral("--headless"),
        QStringLiteral("--disable-gpu"),
        QStringLiteral("--no-pdf-header-footer"),
        QStringLiteral("--user-data-dir=") + work_folder_.filePath(QStringLiteral("profil")),
        QStringLiteral("--print-to-pdf=") + work_folder_.filePath(QStringLiteral("protokol.pdf")),
        // Nothing reaches the network: every connection, loopback too, goes to a proxy that is
        // not there, and no host name resolves.
        QStringLiteral("--proxy-server=127.0.0.1:9"),
        QStringLiteral("--proxy-bypass-list=<-loopback>"),
        QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
        QStringLiteral("--no-first-run"),
        QStringLiteral("--no-default-browser-check"),
        QStringLiteral("--disable-extensions"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-breakpad"),
    };
    // Chromium's own sandbox cannot run as root, where Chromium refuses to start with it.
    if (::geteuid() == 0) arguments << QStringLiteral("--no-sandbox");
    if (!tagged) arguments << QStringLiteral("--disable-pdf-tagging");
    arguments << QUrl::fromLocalFile(html).toString();
    browser_->start(browser, arguments);
}

BrowserPrint::~BrowserPrint() { end_browser(); }

void BrowserPrint::end_browser() {
    // Helpers the browser left behind go with its group.
    if (group_ > 0) ::kill(-group_, SIGKILL);
    group_ = 0;
    if (browser_ == nullptr || browser_->state() == QProcess::NotRunning) return;
    browser_->disconnect(this);
    browser_->kill();
    browser_->waitForFinished(3000);
}

void BrowserPrint::ended() {
    end_browser();
    QFile made(work_folder_.filePath(QStringLiteral("protokol.pdf")));
    if (made.open(QIODevice::ReadOnly)) {
        const QByteArray pdf = made.readAll();
        if (pdf.startsWith("%PDF")) {
            done_ = true;
            emit finished(pdf, {});
            return;
        }
    }
    const QString output = QString::fromUtf8(browser_->readAll()).trimmed().right(kOutputShown);
    fail(QStringLiteral("Prohlížeč protokol do PDF nevytiskl (stav %1).%2")
             .arg(browser_->exitCode())
             .arg(output.isEmpty() ? QString() : QStringLiteral("\n") + output));
}

void BrowserPrint::fail(const QString& problem) {
    if (done_) return;
    done_ = true;
    end_browser();
    emit finished({}, problem);
}

}  // namespace vorlanex::spis::protocol
