#pragma once
// The case's protocol: its HTML made from the case as it would be saved (read and run once), and
// the PDF or the print made of it by vorlanex-protocol in a process of its own while the window
// stays usable. A PDF is written atomically, and only when the program succeeded.
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <variant>

class QProcess;
class QTemporaryDir;

namespace vorlanex::spis {

class OpenCase;

// The case report of the open case, or a Czech message. A case saved and unchanged since is reported
// from its file on disk, as "vorlanex-calc --report --case FILE" reports it, and the protocol names
// that command and the SHA-256 of the file's bytes; any other state from the window's case, and
// the protocol says so and names neither.
std::variant<std::string, QString> protocol_html(const OpenCase& open_case);

class ProtocolExport final : public QObject {
    Q_OBJECT
public:
    explicit ProtocolExport(QObject* parent = nullptr);
    ~ProtocolExport() override;

    // Where vorlanex-protocol is: beside the window's own program unless set here (the tests).
    void set_program(const QString& path) { program_ = path; }
    bool running() const { return process_ != nullptr; }
    // What the status bar says while it runs.
    const QString& busy_text() const { return busy_; }

    // Runs vorlanex-protocol on `html` with `arguments` (after --html); `target` is where the PDF it
    // makes is written when it succeeds, empty when it prints. `busy` and `done` are what the window
    // says meanwhile and after. A Czech message at once when it cannot start.
    std::optional<QString> start(const std::string& html, QStringList arguments, const QString& target,
                                 const QString& busy, const QString& done);
    // Stops the program, if it runs, and waits a little for it.
    void stop();
    // Stops the program at the expert's wish: `finished` says it was cancelled, and no file is written.
    void cancel();

signals:
    void started();
    // vorlanex-protocol printed `done` of the protocol's `total` steps.
    void progress(int done, int total);
    // The protocol is written or printed (an empty `problem`, and `done` says so), or why not.
    void finished(const QString& problem, const QString& done);

private:
    void ended(std::optional<QString> problem);

    QString program_;
    QProcess* process_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_;
    QString target_;
    QString busy_;
    QString done_;
};

}  // namespace vorlanex::spis
