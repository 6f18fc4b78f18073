#include "spis/protocol_export.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <utility>

#include "casefile/case_writer.h"
#include "casefile/file_digest.h"
#include "qtshared/qt_text.h"
#include "report/case_report.h"
#include "report/document.h"
#include "report/report.h"
#include "spis/case_error_text.h"
#include "spis/case_storage.h"
#include "spis/open_case.h"
#include "spis/protocol/protocol_command_line.h"
#include "spis/protocol_process.h"
#include "version/version.h"

namespace vorlanex::spis {

namespace {

// How long a closing window waits for the vorlanex-protocol it stopped.
constexpr int kStopWaitMs = 3000;

// The command that makes the same report from the saved file, as a shell would take it.
std::string report_command(const QString& path) {
    const std::string name = qtshared::utf8(QFileInfo(path).fileName());
    std::string quoted = "'";
    for (const char character : name) quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    return "vorlanex-calc --report --case " + quoted + "'";
}

const std::string kSavedOrigin =
    "Protokol vytvořen v programu Vorlanex Spis z uloženého souboru případu; týž protokol vytvoří příkaz níže.";
const std::string kUnsavedOrigin =
    "Protokol vytvořen z neuloženého stavu případu v programu Vorlanex Spis; žádný soubor případu jej "
    "znovu nevytvoří.";

// The bytes of the case's file, which a command given that file reads, when the case is saved and
// unchanged since and its file can still be read.
std::optional<std::string> saved_file_bytes(const OpenCase& open_case) {
    if (open_case.path().isEmpty() || open_case.modified()) return std::nullopt;
    QFile file(open_case.path());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

// Why the protocol cannot be written into the folder of `target`, if it cannot.
std::optional<QString> target_problem(const QString& target) {
    const QFileInfo folder(QFileInfo(target).absolutePath());
    if (folder.exists() && !folder.isDir()) {
        return QStringLiteral("„%1“ není složka; protokol nebyl uložen.").arg(folder.filePath());
    }
    if (!folder.isDir()) return QStringLiteral("Složka „%1“ neexistuje; protokol nebyl uložen.").arg(folder.filePath());
    if (!folder.isWritable()) {
        return QStringLiteral("Do složky „%1“ nelze zapisovat; protokol nebyl uložen.").arg(folder.filePath());
    }
    return std::nullopt;
}

}  // namespace

std::variant<std::string, QString> protocol_html(const OpenCase& open_case) {
    if (auto saved = saved_file_bytes(open_case)) {
        auto read = casefile::read_case_file(*saved);
        if (auto* file = std::get_if<casefile::CaseFile>(&read)) {
            const report::Provenance provenance{report_command(open_case.path()), casefile::sha256_hex(*saved),
                                                kSavedOrigin};
            return report::make_case_report(*file, casefile::run_case(*file), report::local_date(), provenance).html;
        }
    }
    const std::vector<casefile::RecordedRun> runs = casefile::run_case(open_case.file());
    const std::string bytes = casefile::case_file_text(open_case.file(), kVersion, runs);
    // The report describes the case as it would be saved: its lines, and the outcomes recorded now.
    const auto unsaved = casefile::read_case_file(bytes);
    if (const auto* error = std::get_if<casefile::CaseError>(&unsaved)) {
        return QStringLiteral("Protokol nelze sestavit: %1.").arg(czech_case_error(*error));
    }
    const report::Provenance provenance{{}, std::nullopt, kUnsavedOrigin};
    return report::make_case_report(std::get<casefile::CaseFile>(unsaved), runs, report::local_date(), provenance).html;
}

ProtocolExport::ProtocolExport(QObject* parent) : QObject(parent), program_(protocol_program_beside_window()) {}

ProtocolExport::~ProtocolExport() { stop(); }

std::optional<QString> ProtocolExport::start(const std::string& html, QStringList arguments, const QString& target,
                                             const QString& busy, const QString& done) {
    if (running()) return QStringLiteral("Protokol se právě vytváří; počkejte, až bude hotový.");
    if (!target.isEmpty()) {
        if (auto problem = target_problem(target)) return problem;
    }
    if (!QFileInfo(program_).isExecutable()) {
        return QStringLiteral(
                   "Program %1, který protokol převádí do PDF a tiskne, chybí (hledán jako „%2“). "
                   "Je součástí balíčku vorlanex.")
            .arg(QString::fromLatin1(kProtocolProgramName), program_);
    }
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) return QStringLiteral("Dočasnou složku pro protokol nelze vytvořit.");
    const QString html_path = folder->filePath(QStringLiteral("protokol.html"));
    const QString pdf_path = folder->filePath(QStringLiteral("protokol.pdf"));
    if (const auto problem = write_atomically(html_path, html)) return problem;

    arguments.prepend(html_path);
    arguments.prepend(protocol::command_line::flag(protocol::command_line::kHtml));
    if (!target.isEmpty()) arguments << protocol::command_line::flag(protocol::command_line::kPdf) << pdf_path;
    folder_ = std::move(folder);
    target_ = target;
    busy_ = busy;
    done_ = done;
    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->setStandardInputFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, [this] {
        while (process_->canReadLine()) {
            if (const auto step = protocol_progress(QString::fromUtf8(process_->readLine()))) {
                emit progress(step->done, step->total);
            }
        }
    });
    connect(process_, &QProcess::finished, this, [this](int exit_code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && exit_code == 0) return ended(std::nullopt);
        const QString problem = protocol_problem(process_->readAllStandardError());
        ended(QStringLiteral("Protokol se nepodařilo vytvořit.\n\n%1").arg(problem));
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the others end in finished()
        ended(QStringLiteral("Program %1 nelze spustit: %2")
                  .arg(QString::fromLatin1(kProtocolProgramName), process_->errorString()));
    });
    emit started();
    process_->start(program_, arguments);
    return std::nullopt;
}

void ProtocolExport::ended(std::optional<QString> problem) {
    if (!problem && !target_.isEmpty()) {
        QFile made(folder_->filePath(QStringLiteral("protokol.pdf")));
        if (!made.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("Program %1 nezanechal žádné PDF.").arg(QString::fromLatin1(kProtocolProgramName));
        } else {
            const QByteArray pdf = made.readAll();
            problem =
                write_atomically(target_, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
        }
    }
    process_->deleteLater();
    process_ = nullptr;
    folder_.reset();
    emit finished(problem.value_or(QString()), done_);
}

void ProtocolExport::cancel() {
    if (!process_) return;
    stop();
    emit finished(QString(), QStringLiteral("Vytváření protokolu zrušeno; protokol nebyl vytvořen."));
}

void ProtocolExport::stop() {
    if (!process_) return;
    process_->disconnect(this);
    // Asked to end first, so that it ends its browsers and removes their folders, which hold the
    // protocol; killed when it does not.
    process_->terminate();
    if (!process_->waitForFinished(kStopWaitMs)) {
        process_->kill();
        process_->waitForFinished(kStopWaitMs);
    }
    delete process_;
    process_ = nullptr;
    folder_.reset();
}

}  // namespace vorlanex::spis
