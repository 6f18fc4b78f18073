#include "spis/case_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "casefile/file_digest.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"
#include "report/case_report.h"
#include "report/document.h"
#include "report/recorded_run.h"
#include "report/report.h"
#include "spis/calculation_view.h"
#include "spis/case_error_text.h"
#include "spis/case_properties_dialog.h"
#include "spis/case_storage.h"
#include "spis/copied_results.h"
#include "spis/diagram_panel.h"
#include "spis/protocol_process.h"
#include "spis/recent_files.h"
#include "spis/sweep_tab.h"
#include "spis/tolerance_tab.h"
#include "version/version.h"

namespace vorlanex::spis {

namespace {

// How long after a change the recovery copy is written: edits in a row make one write.
constexpr int kRecoveryDelayMs = 3000;
const QString kGeometryKey = QStringLiteral("geometry");
const QString kCaseFilter = QStringLiteral("Případy Vorlanex (*.vorlanex);;Všechny soubory (*)");
// How long the status bar says that the protocol was written or printed.
constexpr int kProtocolDoneShownMs = 10000;
// Why a tolerance typed was not taken; the one stored before stays.
const QString kRefusedTolerance = QStringLiteral(
    "Tolerance nepřijata, platí dosavadní. Zapište od..do, od..nejpravděpodobněji..do, "
    "střed~odchylka nebo střed~odchylka~od..do (od nejvýše do, odchylka nad 0).");
// How long a closing window waits for the vorlanex-protocol it stopped.
constexpr int kProtocolStopWaitMs = 3000;

report::RecordedRun run_of(const CalculationEntry& entry, const numeric::DecimalSeparator& separator) {
    return report::RecordedRun(*entry.page, entry.typed, separator);
}

// "✓ Brzdění …": the outcome's mark, the title or the page's name, and "±" when it has tolerances.
QString item_text(const CalculationEntry& entry, const report::RecordedRun& run) {
    const QString mark = run.fault()              ? QStringLiteral("✗")
                         : run.warnings().empty() ? QStringLiteral("✓")
                                                  : QStringLiteral("⚠");
    const QString name = entry.title && !entry.title->empty() ? qtshared::qt_text(*entry.title)
                                                              : qtshared::qt_text(report::page_name(*entry.page));
    return mark + QLatin1Char(' ') + name + (entry.tolerances ? QStringLiteral(" ±") : QString());
}

QString calculations_count(qsizetype count) {
    if (count == 1) return QStringLiteral("1 výpočet");
    if (count >= 2 && count <= 4) return QStringLiteral("%1 výpočty").arg(count);
    return QStringLiteral("%1 výpočtů").arg(count);
}

// The command that makes the same report from the saved file, as a shell would take it.
std::string report_command(const QString& path) {
    const std::string name =
        qtshared::utf8(path.isEmpty() ? QStringLiteral("případ.vorlanex") : QFileInfo(path).fileName());
    std::string quoted = "'";
    for (const char character : name) quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    return "vorlanex-calc --report --case " + quoted + "'";
}

// A menu named for assistive technologies as it is titled: "Nedávné soubory".
QMenu* named(QMenu* menu) {
    menu->setAccessibleName(QString(menu->title()).remove(QLatin1Char('&')));
    return menu;
}

// A button beside the list that does what a menu's action does.
QPushButton* action_button(const QString& text, const QString& accessible_name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(accessible_name);
    return button;
}

QAction* add_action(QMenu* menu, const QString& text, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(text);
    action->setShortcut(shortcut);
    return action;
}

}  // namespace

CaseWindow::CaseWindow(const numeric::DecimalSeparator& separator, QWidget* parent)
    : QMainWindow(parent),
      document_(new_case(separator)),
      new_case_separator_(separator),
      list_(new QListWidget(this)),
      view_(new CalculationView(this)),
      tabs_(new QTabWidget(this)),
      diagram_(new DiagramPanel(this)),
      tolerance_(new ToleranceTab(this)),
      sweep_(new SweepTab(this)),
      recovery_timer_(new QTimer(this)),
      protocol_program_(protocol_program_beside_window()) {
    recovery_timer_->setSingleShot(true);
    recovery_timer_->setInterval(kRecoveryDelayMs);
    connect(recovery_timer_, &QTimer::timeout, this, &CaseWindow::write_recovery_copy);
    list_->setAccessibleName(QStringLiteral("Výpočty případu"));
    list_->setMinimumWidth(200);
    // Dragging a calculation moves its row in the list's model, as Nahoru and Dolů do; the case
    // follows every move of a row (calculation_moved).
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setDefaultDropAction(Qt::MoveAction);
    connect(list_->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int start, int, const QModelIndex&, int destination) {
                calculation_moved(start, destination);
            });
    tabs_->setAccessibleName(QStringLiteral("Diagram a rozbory"));
    tabs_->addTab(diagram_, QStringLiteral("&Diagram"));
    tabs_->addTab(tolerance_, QStringLiteral("&Tolerance"));
    tabs_->addTab(sweep_, QStringLiteral("&Citlivost"));

    auto* centre = new QScrollArea(this);
    centre->setWidget(view_);
    centre->setWidgetResizable(true);
    centre->setAccessibleName(QStringLiteral("Vybraný výpočet"));

    // The list with the buttons below it that add, duplicate and remove a calculation.
    auto* list_side = new QWidget(this);
    list_side->setAccessibleName(QStringLiteral("Seznam výpočtů"));
    auto* list_column = new QVBoxLayout(list_side);
    list_column->setContentsMargins(0, 0, 0, 0);
    list_column->addWidget(list_);
    auto* list_buttons = new QHBoxLayout;
    list_column->addLayout(list_buttons);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(list_side);
    splitter->addWidget(centre);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(1, 2);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({240, 640, 400});
    setCentralWidget(splitter);

    build_menus(list_buttons);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { show_selected(); });
    connect(view_, &CalculationView::text_edited, this, &CaseWindow::edit_text);
    connect(view_, &CalculationView::tolerance_edited, this, &CaseWindow::edit_tolerance);
    connect(view_, &CalculationView::title_edited, this,
            [this](const QString& title) { edit_description(&CalculationEntry::title, title); });
    connect(view_, &CalculationView::note_edited, this,
            [this](const QString& note) { edit_description(&CalculationEntry::note, note); });
    resize(1200, 760);
    restoreGeometry(QSettings().value(kGeometryKey).toByteArray());
    take_document(document_, {});
}

CaseWindow::~CaseWindow() { stop_protocol(); }

void CaseWindow::build_menus(QBoxLayout* list_buttons) {
    menuBar()->setAccessibleName(QStringLiteral("Hlavní nabídka"));
    QMenu* file = named(menuBar()->addMenu(QStringLiteral("&Soubor")));
    connect(add_action(file, QStringLiteral("&Nový"), QKeySequence::New), &QAction::triggered, this,
            &CaseWindow::start_new_case);
    connect(add_action(file, QStringLiteral("&Otevřít…"), QKeySequence::Open), &QAction::triggered, this,
            &CaseWindow::choose_and_open);
    recent_menu_ = named(file->addMenu(QStringLiteral("Nedávné &soubory")));
    refresh_recent_menu();
    connect(add_action(file, QStringLiteral("&Uložit"), QKeySequence::Save), &QAction::triggered, this,
            &CaseWindow::save);
    connect(add_action(file, QStringLiteral("Uložit &jako…"), QKeySequence(QStringLiteral("Ctrl+Shift+S"))),
            &QAction::triggered, this, &CaseWindow::choose_and_save);
    file->addSeparator();
    connect(add_action(file, QStringLiteral("&Vlastnosti případu…")), &QAction::triggered, this,
            &CaseWindow::edit_case_properties);
    QAction* export_pdf = add_action(file, QStringLiteral("Exportovat protokol do &PDF…"));
    connect(export_pdf, &QAction::triggered, this, &CaseWindow::choose_and_export_pdf);
    connect(add_action(file, QStringLiteral("Exportovat protokol do &HTML…")), &QAction::triggered, this,
            &CaseWindow::choose_and_export_html);
    QAction* print = add_action(file, QStringLiteral("&Tisk…"), QKeySequence::Print);
    connect(print, &QAction::triggered, this, &CaseWindow::choose_and_print);
    protocol_actions_ = {export_pdf, print};
    file->addSeparator();
    connect(add_action(file, QStringLiteral("&Konec"), QKeySequence(QStringLiteral("Ctrl+Q"))), &QAction::triggered,
            this, &QWidget::close);

    QMenu* calculation = named(menuBar()->addMenu(QStringLiteral("&Výpočet")));
    QMenu* add = named(calculation->addMenu(QStringLiteral("&Přidat")));
    for (const page::PageDefinition* page : registry::calculation_pages()) {
        connect(add->addAction(qtshared::qt_text(report::page_name(*page))), &QAction::triggered, this,
                [this, page] { add_calculation(*page); });
    }
    QAction* duplicate = add_action(calculation, QStringLiteral("&Duplikovat"), QKeySequence(QStringLiteral("Ctrl+D")));
    connect(duplicate, &QAction::triggered, this, &CaseWindow::duplicate_selected);
    // Delete removes a calculation only from the list: in a text field it deletes a character.
    QAction* remove = add_action(calculation, QStringLiteral("&Odstranit"), QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    list_->addAction(remove);
    connect(remove, &QAction::triggered, this, &CaseWindow::remove_selected);
    // The same below the list; no mnemonics there, "Alt+D" is the tab "Diagram".
    QPushButton* add_button = action_button(QStringLiteral("Přidat"), QStringLiteral("Přidat výpočet"), this);
    add_button->setMenu(add);  // drawn with the arrow of a button that opens a menu
    QPushButton* duplicate_button =
        action_button(QStringLiteral("Duplikovat"), QStringLiteral("Duplikovat výpočet"), this);
    connect(duplicate_button, &QPushButton::clicked, duplicate, &QAction::trigger);
    QPushButton* remove_button = action_button(QStringLiteral("Odstranit"), QStringLiteral("Odstranit výpočet"), this);
    connect(remove_button, &QPushButton::clicked, remove, &QAction::trigger);
    for (QPushButton* button : {add_button, duplicate_button, remove_button}) list_buttons->addWidget(button);
    list_buttons->addStretch();

    connect(add_action(calculation, QStringLiteral("Na&horu"), QKeySequence(QStringLiteral("Ctrl+Up"))),
            &QAction::triggered, this, [this] { move_selected(-1); });
    connect(add_action(calculation, QStringLiteral("D&olů"), QKeySequence(QStringLiteral("Ctrl+Down"))),
            &QAction::triggered, this, [this] { move_selected(1); });
    calculation->addSeparator();
    connect(
        add_action(calculation, QStringLiteral("&Kopírovat výsledky"), QKeySequence(QStringLiteral("Ctrl+Shift+C"))),
        &QAction::triggered, this, &CaseWindow::copy_results);

    QMenu* help = named(menuBar()->addMenu(QStringLiteral("&Nápověda")));
    connect(add_action(help, QStringLiteral("&O programu")), &QAction::triggered, this, &CaseWindow::show_about);
}

std::optional<QString> CaseWindow::open_case(const QString& path) {
    auto read = read_case(path);
    if (auto* problem = std::get_if<QString>(&read)) return *problem;
    take_document(std::move(std::get<CaseDocument>(read)), path);
    remember_file(path);
    return std::nullopt;
}

std::optional<QString> CaseWindow::open_recent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QStringList list = stored_recent_files();
        list.removeAll(path);
        store_recent_files(list);
        refresh_recent_menu();
        return QStringLiteral("Soubor %1 již neexistuje; byl odebrán z nedávných souborů.").arg(path);
    }
    return open_case(path);
}

std::optional<QString> CaseWindow::save_case(const QString& path) {
    const auto text = case_file_text(document_, kVersion);
    if (const auto* error = std::get_if<casefile::CaseError>(&text)) {
        return QStringLiteral("Případ nelze zapsat: %1.").arg(czech_case_error(*error));
    }
    if (auto problem = write_atomically(path, std::get<std::string>(text))) return problem;
    path_ = path;
    set_modified(false);
    remember_file(path);
    return std::nullopt;
}

std::optional<QString> CaseWindow::export_html(const QString& path) {
    const auto html = protocol_html();
    if (const auto* problem = std::get_if<QString>(&html)) return *problem;
    return write_atomically(path, std::get<std::string>(html));
}

std::variant<std::string, QString> CaseWindow::protocol_html() const {
    const auto text = case_file_text(document_, kVersion);
    if (const auto* error = std::get_if<casefile::CaseError>(&text)) {
        return QStringLiteral("Protokol nelze sestavit: %1.").arg(czech_case_error(*error));
    }
    const std::string& bytes = std::get<std::string>(text);
    const auto file = casefile::read_case_file(bytes);
    if (const auto* error = std::get_if<casefile::CaseError>(&file)) {
        return QStringLiteral("Protokol nelze sestavit: %1.").arg(czech_case_error(*error));
    }
    const report::Provenance provenance{report_command(path_), casefile::sha256_hex(bytes)};
    return report::make_case_report(std::get<casefile::CaseFile>(file), report::local_date(), provenance).html;
}

std::optional<QString> CaseWindow::export_pdf(const QString& path) {
    return start_protocol({}, path, QStringLiteral("Exportuji protokol…"),
                          QStringLiteral("Protokol uložen do souboru „%1“.").arg(shown_name(path)));
}

std::optional<QString> CaseWindow::print_protocol(const QPrinter& printer) {
    const PrintChoice choice = print_choice(printer);
    const QString title =
        QStringLiteral("Protokol – %1").arg(path_.isEmpty() ? QStringLiteral("Nový případ") : shown_name(path_));
    if (!choice.output_file.isEmpty()) {
        return start_protocol(print_arguments(choice, title), choice.output_file, QStringLiteral("Tisknu protokol…"),
                              QStringLiteral("Protokol vytištěn do souboru „%1“.").arg(shown_name(choice.output_file)));
    }
    return start_protocol(print_arguments(choice, title), {}, QStringLiteral("Tisknu protokol…"),
                          QStringLiteral("Protokol odeslán na tiskárnu „%1“.").arg(choice.printer));
}

bool CaseWindow::protocol_running() const { return protocol_ != nullptr; }

std::optional<QString> CaseWindow::start_protocol(QStringList arguments, const QString& target, const QString& busy,
                                                  const QString& done) {
    if (protocol_running()) return QStringLiteral("Protokol se právě vytváří; počkejte, až bude hotový.");
    if (!target.isEmpty()) {
        const QFileInfo folder(QFileInfo(target).absolutePath());
        if (folder.exists() && !folder.isDir()) {
            return QStringLiteral("„%1“ není složka; protokol nebyl uložen.").arg(folder.filePath());
        }
        if (!folder.isDir()) {
            return QStringLiteral("Složka „%1“ neexistuje; protokol nebyl uložen.").arg(folder.filePath());
        }
        if (!folder.isWritable()) {
            return QStringLiteral("Do složky „%1“ nelze zapisovat; protokol nebyl uložen.").arg(folder.filePath());
        }
    }
    if (!QFileInfo(protocol_program_).isExecutable()) {
        return QStringLiteral(
                   "Program %1, který protokol převádí do PDF a tiskne, chybí (hledán jako „%2“). "
                   "Je součástí balíčku vorlanex.")
            .arg(QString::fromLatin1(kProtocolProgramName), protocol_program_);
    }
    const auto html = protocol_html();
    if (const auto* problem = std::get_if<QString>(&html)) return *problem;
    auto folder = std::make_unique<QTemporaryDir>();
    const QString html_path = folder->filePath(QStringLiteral("protokol.html"));
    const QString pdf_path = folder->filePath(QStringLiteral("protokol.pdf"));
    if (!folder->isValid()) return QStringLiteral("Dočasnou složku pro protokol nelze vytvořit.");
    if (const auto problem = write_atomically(html_path, std::get<std::string>(html))) return problem;

    arguments.prepend(html_path);
    arguments.prepend(QStringLiteral("--html"));
    if (!target.isEmpty()) arguments << QStringLiteral("--pdf") << pdf_path;
    protocol_folder_ = std::move(folder);
    protocol_target_ = target;
    protocol_busy_ = busy;
    protocol_done_ = done;
    protocol_ = new QProcess(this);
    protocol_->setProcessChannelMode(QProcess::SeparateChannels);
    protocol_->setStandardInputFile(QProcess::nullDevice());
    connect(protocol_, &QProcess::finished, this, [this](int exit_code, QProcess::ExitStatus status) {
        if (status == QProcess::NormalExit && exit_code == 0) return protocol_ended(std::nullopt);
        const QString problem = protocol_problem(protocol_->readAllStandardError());
        protocol_ended(QStringLiteral("Protokol se nepodařilo vytvořit.\n\n%1").arg(problem));
    });
    connect(protocol_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the others end in finished()
        protocol_ended(QStringLiteral("Program %1 nelze spustit: %2")
                           .arg(QString::fromLatin1(kProtocolProgramName), protocol_->errorString()));
    });
    for (QAction* action : std::as_const(protocol_actions_)) action->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    update_status();
    protocol_->start(protocol_program_, arguments);
    return std::nullopt;
}

void CaseWindow::protocol_ended(std::optional<QString> problem) {
    if (!problem && !protocol_target_.isEmpty()) {
        QFile made(protocol_folder_->filePath(QStringLiteral("protokol.pdf")));
        if (!made.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("Program %1 nezanechal žádné PDF.").arg(QString::fromLatin1(kProtocolProgramName));
        } else {
            const QByteArray pdf = made.readAll();
            problem = write_atomically(protocol_target_,
                                       std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
        }
    }
    protocol_->deleteLater();
    protocol_ = nullptr;
    protocol_folder_.reset();
    for (QAction* action : std::as_const(protocol_actions_)) action->setEnabled(true);
    QApplication::restoreOverrideCursor();
    update_status();
    if (!problem) {
        statusBar()->showMessage(protocol_done_);
        QTimer::singleShot(kProtocolDoneShownMs, this, [this, done = protocol_done_] {
            if (statusBar()->currentMessage() == done) update_status();
        });
    }
    emit protocol_finished(problem.value_or(QString()));
    report_problem(problem);
}

void CaseWindow::stop_protocol() {
    if (!protocol_) return;
    protocol_->disconnect(this);
    protocol_->kill();
    protocol_->waitForFinished(kProtocolStopWaitMs);
    delete protocol_;
    protocol_ = nullptr;
    protocol_folder_.reset();
    QApplication::restoreOverrideCursor();
}

void CaseWindow::add_calculation(const page::PageDefinition& page) {
    document_.calculations.push_back(new_calculation(page));
    set_modified(true);
    refresh_list();
    select_calculation(static_cast<int>(document_.calculations.size()) - 1);
}

void CaseWindow::set_case_properties(const casefile::CaseHeader& header) {
    const std::string before = document_.header_line;
    set_case_header(document_, header);
    if (document_.header_line != before) set_modified(true);
}

void CaseWindow::edit_case_properties() {
    CasePropertiesDialog dialog(document_.header, this);
    if (dialog.exec() == QDialog::Accepted) set_case_properties(dialog.header());
}

void CaseWindow::select_calculation(int row) { list_->setCurrentRow(row); }

int CaseWindow::selected_row() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(document_.calculations.size()) ? row : -1;
}

void CaseWindow::closeEvent(QCloseEvent* event) {
    if (may_discard_changes()) {
        tolerance_->cancel();  // its thread joined before the window goes
        stop_protocol();
        QSettings().setValue(kGeometryKey, saveGeometry());
        recovery_timer_->stop();
        recovery_.remove();
        event->accept();
    } else {
        event->ignore();
    }
}

void CaseWindow::start_new_case() {
    if (may_discard_changes()) take_document(new_case(new_case_separator_), {});
}

void CaseWindow::choose_and_open() {
    if (!may_discard_changes()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít případ"), {}, kCaseFilter);
    if (!path.isEmpty()) report_problem(open_case(path));
}

bool CaseWindow::save() {
    if (path_.isEmpty()) return choose_and_save();
    const std::optional<QString> problem = save_case(path_);
    report_problem(problem);
    return !problem;
}

bool CaseWindow::choose_and_save() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit případ"), path_, kCaseFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".vorlanex");
    const std::optional<QString> problem = save_case(path);
    report_problem(problem);
    return !problem;
}

void CaseWindow::choose_and_export_html() {
    QString suggested = path_.isEmpty() ? QString()
                                        : QFileInfo(path_).path() + QLatin1Char('/') +
                                              QFileInfo(path_).completeBaseName() + QStringLiteral(".html");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportovat protokol do HTML"), suggested,
                                                      QStringLiteral("Stránky HTML (*.html)"));
    if (!path.isEmpty()) report_problem(export_html(path));
}

void CaseWindow::choose_and_export_pdf() {
    const QString suggested = path_.isEmpty() ? QString()
                                              : QFileInfo(path_).path() + QLatin1Char('/') +
                                                    QFileInfo(path_).completeBaseName() + QStringLiteral(".pdf");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportovat protokol do PDF"), suggested,
                                                QStringLiteral("Dokumenty PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    report_problem(export_pdf(path));
}

void CaseWindow::choose_and_print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(path_.isEmpty() ? QStringLiteral("Protokol") : QFileInfo(path_).completeBaseName());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Tisk protokolu"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 9999);
    if (dialog.exec() == QDialog::Accepted) report_problem(print_protocol(printer));
}

void CaseWindow::duplicate_selected() {
    const int row = selected_row();
    if (row < 0) return;
    CalculationEntry copy = document_.calculations[static_cast<std::size_t>(row)];
    copy.id.reset();  // an id names one calculation
    document_.calculations.insert(document_.calculations.begin() + row + 1, std::move(copy));
    set_modified(true);
    refresh_list();
    select_calculation(row + 1);
}

void CaseWindow::remove_selected() {
    const int row = selected_row();
    if (row < 0) return;
    document_.calculations.erase(document_.calculations.begin() + row);
    set_modified(true);
    refresh_list();
    select_calculation(std::min(row, static_cast<int>(document_.calculations.size()) - 1));
}

void CaseWindow::move_selected(int step) {
    const int row = selected_row();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= static_cast<int>(document_.calculations.size())) return;
    // The row moves in the list's model, as a drag moves it; "before row" counts the row itself.
    list_->model()->moveRow(QModelIndex(), row, QModelIndex(), step > 0 ? target + 1 : target);
}

void CaseWindow::calculation_moved(int from, int before) {
    const int to = before > from ? before - 1 : before;
    if (from == to || from < 0 || to < 0 || to >= static_cast<int>(document_.calculations.size())) return;
    auto& calculations = document_.calculations;
    if (from < to) {
        std::rotate(calculations.begin() + from, calculations.begin() + from + 1, calculations.begin() + to + 1);
    } else {
        std::rotate(calculations.begin() + to, calculations.begin() + from, calculations.begin() + from + 1);
    }
    set_modified(true);
    select_calculation(to);
    show_selected();
}

void CaseWindow::copy_results() {
    const int row = selected_row();
    if (row < 0) return;
    QGuiApplication::clipboard()->setMimeData(
        results_mime_data(run_of(document_.calculations[static_cast<std::size_t>(row)], document_.separator)));
    statusBar()->showMessage(QStringLiteral("Výsledky výpočtu jsou ve schránce."), 3000);
}

void CaseWindow::show_about() {
    QMessageBox::about(this, QStringLiteral("O programu Vorlanex Spis"),
                       QStringLiteral("Vorlanex Spis %1\n\nPřípad znalce: výpočty kalkulátoru Vorlanex uložené "
                                      "v jednom souboru, s diagramem dráha–čas a protokolem. Každé číslo je "
                                      "výsledkem téhož výpočtu, jaký provede kalkulátor.")
                           .arg(qtshared::qt_text(kVersion)));
}

void CaseWindow::remember_file(const QString& path) {
    store_recent_files(with_recent(stored_recent_files(), path));
    refresh_recent_menu();
}

void CaseWindow::refresh_recent_menu() {
    recent_menu_->clear();
    const QStringList list = stored_recent_files();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& path = list[i];
        QAction* action = recent_menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown_name(path)));
        action->setToolTip(path);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (may_discard_changes()) report_problem(open_recent(path));
        });
    }
    recent_menu_->setEnabled(!list.isEmpty());
}

bool CaseWindow::may_discard_changes() {
    if (!isWindowModified()) return true;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Neuložené změny"), QStringLiteral("Případ má neuložené změny. Uložit je?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

void CaseWindow::take_document(CaseDocument document, const QString& path) {
    document_ = std::move(document);
    path_ = path;
    refresh_list();
    // Selecting the first calculation shows it (the list has no current row after its refresh); an
    // empty case is shown as nothing selected. Once: showing a calculation builds its whole form.
    if (document_.calculations.empty()) {
        show_selected();
    } else {
        select_calculation(0);
    }
    set_modified(false);
}

void CaseWindow::set_modified(bool modified) {
    // The case's title, else its file reference, else its file's name.
    const auto& header = document_.header;
    const QString name = header.title && !header.title->empty()           ? qtshared::qt_text(*header.title)
                         : header.reference && !header.reference->empty() ? qtshared::qt_text(*header.reference)
                         : path_.isEmpty()                                ? QStringLiteral("Nový případ")
                                                                          : shown_name(path_);
    setWindowTitle(QStringLiteral("[*]%1 – Vorlanex Spis").arg(name));
    setWindowModified(modified);
    update_status();
    if (modified) {
        recovery_timer_->start();
    } else {
        recovery_timer_->stop();
        recovery_.remove();
    }
}

void CaseWindow::write_recovery_copy() {
    recovery_timer_->stop();
    const auto text = case_file_text(document_, kVersion);
    const auto* bytes = std::get_if<std::string>(&text);
    const std::optional<QString> problem =
        bytes ? recovery_.write(*bytes) : QStringLiteral("Záložní kopii nelze sestavit.");
    if (problem) statusBar()->showMessage(*problem);
}

bool CaseWindow::offer_recovery(const std::function<bool(const QString& written_at)>& ask) {
    for (const QString& copy : orphaned_copies()) {
        const QString written_at = QFileInfo(copy).lastModified().toString(QStringLiteral("d. M. yyyy H:mm"));
        if (!ask(written_at)) {
            forget_orphan(copy);
            continue;
        }
        auto read = read_case(copy);
        forget_orphan(copy);
        if (auto* problem = std::get_if<QString>(&read)) {
            report_problem(*problem);
            continue;
        }
        take_document(std::move(std::get<CaseDocument>(read)), {});
        set_modified(true);
        write_recovery_copy();  // this window's own copy before the next change
        return true;
    }
    return false;
}

void CaseWindow::refresh_list() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const CalculationEntry& entry : document_.calculations) {
        auto* item = new QListWidgetItem(list_);
        item->setText(item_text(entry, run_of(entry, document_.separator)));
    }
    update_status();
}

void CaseWindow::refresh_item(int row, const report::RecordedRun& run) {
    if (QListWidgetItem* item = list_->item(row)) {
        item->setText(item_text(document_.calculations[static_cast<std::size_t>(row)], run));
    }
}

void CaseWindow::show_selected() {
    const int row = selected_row();
    if (row < 0) {
        view_->clear();
        diagram_->clear();
        tolerance_->show_calculation(nullptr, document_.separator);
        sweep_->show_calculation(nullptr, document_.separator);
        return;
    }
    const CalculationEntry& entry = document_.calculations[static_cast<std::size_t>(row)];
    const report::RecordedRun run = run_of(entry, document_.separator);
    view_->show_calculation(entry, document_.separator, run);
    diagram_->show_run(run);
    tolerance_->show_calculation(&entry, document_.separator);
    sweep_->show_calculation(&entry, document_.separator);
}

void CaseWindow::rerun_selected() {
    const int row = selected_row();
    if (row < 0) return;
    const report::RecordedRun run = run_of(document_.calculations[static_cast<std::size_t>(row)], document_.separator);
    view_->show_run(run);
    diagram_->show_run(run);
    const CalculationEntry& entry = document_.calculations[static_cast<std::size_t>(row)];
    tolerance_->show_calculation(&entry, document_.separator);
    sweep_->show_calculation(&entry, document_.separator);
    refresh_item(row, run);
}

void CaseWindow::edit_text(const QString& field_id, const QString& text) {
    const int row = selected_row();
    if (row < 0) return;
    document_.calculations[static_cast<std::size_t>(row)].set_text(qtshared::utf8(field_id), qtshared::utf8(text));
    set_modified(true);
    rerun_selected();
}

void CaseWindow::edit_tolerance(const QString& field_id, const QString& text) {
    const int row = selected_row();
    if (row < 0) return;
    CalculationEntry& entry = document_.calculations[static_cast<std::size_t>(row)];
    if (entry.set_tolerance(qtshared::utf8(field_id), qtshared::utf8(text.trimmed()), document_.separator)) {
        view_->show_tolerance_problem(field_id, kRefusedTolerance);
        return;
    }
    view_->show_tolerance_problem(field_id, {});
    set_modified(true);
    rerun_selected();  // the list's "±" and the tolerance tab follow
}

void CaseWindow::edit_description(std::optional<std::string> CalculationEntry::*member, const QString& text) {
    const int row = selected_row();
    if (row < 0) return;
    document_.calculations[static_cast<std::size_t>(row)].*member =
        text.isEmpty() ? std::nullopt : std::optional<std::string>(qtshared::utf8(text));
    set_modified(true);
    rerun_selected();  // the list names a calculation by its title
}

void CaseWindow::update_status() {
    if (protocol_running()) return statusBar()->showMessage(protocol_busy_);
    statusBar()->showMessage(QStringLiteral("%1 · %2 · Vorlanex %3")
                                 .arg(isWindowModified() ? QStringLiteral("Neuloženo") : QStringLiteral("Uloženo"),
                                      calculations_count(static_cast<qsizetype>(document_.calculations.size())),
                                      qtshared::qt_text(kVersion)));
}

void CaseWindow::report_problem(const std::optional<QString>& problem) {
    if (problem) QMessageBox::warning(this, QStringLiteral("Vorlanex Spis"), *problem);
}

}  // namespace vorlanex::spis
