#include "spis/case_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "casefile/case_writer.h"
#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"
#include "report/report.h"
#include "spis/avoidability_chain.h"
#include "spis/calculation_view.h"
#include "spis/case_error_text.h"
#include "spis/case_file_name.h"
#include "spis/case_properties_dialog.h"
#include "spis/case_storage.h"
#include "spis/copied_results.h"
#include "spis/desktop_recent.h"
#include "spis/diagram_panel.h"
#include "spis/file_stamp.h"
#include "spis/form_scroll_area.h"
#include "spis/guide_window.h"
#include "spis/link_source_dialog.h"
#include "spis/protocol_export.h"
#include "spis/protocol_process.h"
#include "spis/protocol_progress.h"
#include "spis/recent_files.h"
#include "spis/remembered_expert.h"
#include "spis/sweep_tab.h"
#include "spis/tolerance_tab.h"
#include "spis/window_fit.h"
#include "tolerance/distribution_json.h"
#include "tolerance/distribution_kinds.h"
#include "version/version.h"

namespace vorlanex::spis {

namespace {

const QString kGeometryKey = QStringLiteral("geometry");
const QString kCaseFilter = QStringLiteral("Případy Vorlanex (*.vorlanex);;Všechny soubory (*)");
// How long the status bar says that the protocol was written or printed.
constexpr int kProtocolDoneShownMs = 10000;
// How long a warning or a problem covers the case's state in the status bar.
constexpr int kStatusMessageShownMs = 20000;
// "✓ Brzdění …": the mark of how its run ended, the title or the page's name, and "±" when it has
// tolerances.
QString item_text(const casefile::Calculation& calculation, OpenCase::Ending ending) {
    const QString mark = ending == OpenCase::Ending::Failed      ? QStringLiteral("✗")
                         : ending == OpenCase::Ending::Completed ? QStringLiteral("✓")
                                                                 : QStringLiteral("⚠");
    const QString name = calculation.title && !calculation.title->empty()
                             ? qtshared::qt_text(*calculation.title)
                             : qtshared::qt_text(report::page_name(*calculation.scenario.page));
    return mark + QLatin1Char(' ') + name + (calculation.tolerances ? QStringLiteral(" ±") : QString());
}

QString calculations_count(qsizetype count) {
    if (count == 1) return QStringLiteral("1 výpočet");
    if (count >= 2 && count <= 4) return QStringLiteral("%1 výpočty").arg(count);
    return QStringLiteral("%1 výpočtů").arg(count);
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

// Why a tolerance typed was not taken, in Czech; the one stored before stays.
QString refusal_text(const tolerance::InputError& refused) {
    if (refused.czech.empty()) return qtshared::qt_text(tolerance::refused_tolerance_text());
    return QStringLiteral("Tolerance nepřijata, platí dosavadní: %1.").arg(qtshared::qt_text(refused.czech));
}

// The file beside the case's own with another suffix, for an export's dialog; none for a new case.
QString beside_case(const QString& case_path, const QString& suffix) {
    if (case_path.isEmpty()) return {};
    const QFileInfo info(case_path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + suffix;
}

}  // namespace

CaseWindow::CaseWindow(const numeric::DecimalSeparator& separator, QWidget* parent)
    : QMainWindow(parent),
      case_(separator),
      list_(new QListWidget(this)),
      view_(new CalculationView(this)),
      centre_(new FormScrollArea(view_, this)),
      tabs_(new QTabWidget(this)),
      diagram_(new DiagramPanel(case_, this)),
      tolerance_(new ToleranceTab(case_, this)),
      sweep_(new SweepTab(case_, this)),
      protocol_(new ProtocolExport(this)),
      state_(new QLabel(this)) {
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
    // The panels beside the form, each observing the open case: a new one is one line here.
    tabs_->setAccessibleName(QStringLiteral("Diagram a rozbory"));
    tabs_->addTab(diagram_, QStringLiteral("&Diagram"));
    tabs_->addTab(tolerance_, QStringLiteral("&Tolerance"));
    tabs_->addTab(sweep_, QStringLiteral("&Citlivost"));

    centre_->setAccessibleName(QStringLiteral("Vybraný výpočet"));

    // The list with the buttons below it that add, duplicate and remove a calculation.
    auto* list_side = new QWidget(this);
    list_side->setAccessibleName(QStringLiteral("Seznam výpočtů"));
    auto* list_column = new QVBoxLayout(list_side);
    list_column->setContentsMargins(0, 0, 0, 0);
    list_column->addWidget(list_);
    auto* list_buttons = new QHBoxLayout;
    list_column->addLayout(list_buttons);

    // The form keeps its width when the window is resized; the side panel takes what is gained or
    // lost, and is the only pane that collapses.
    // The tabs scroll in their pane when it is narrower than they are (a sweep's wide table, a small
    // screen), so they never widen the window past its screen.
    auto* side = new QScrollArea(this);
    side->setWidget(tabs_);
    side->setWidgetResizable(true);
    side->setFrameShape(QFrame::NoFrame);
    splitter_ = new QSplitter(this);
    splitter_->addWidget(list_side);
    splitter_->addWidget(centre_);
    splitter_->addWidget(side);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 0);
    splitter_->setStretchFactor(2, 1);
    splitter_->setCollapsible(0, false);
    splitter_->setCollapsible(1, false);
    splitter_->setCollapsible(2, true);
    setCentralWidget(splitter_);

    build_menus(list_buttons);
    connect(&case_, &OpenCase::list_changed, this, &CaseWindow::show_list);
    connect(&case_, &OpenCase::row_changed, this, &CaseWindow::show_row);
    connect(&case_, &OpenCase::selection_changed, this, &CaseWindow::show_selected);
    connect(&case_, &OpenCase::selected_ran, this, [this] {
        if (const casefile::RecordedRun* run = case_.selected_run()) view_->show_run(*run);
        show_answer();
    });
    connect(&case_, &OpenCase::state_changed, this, &CaseWindow::show_state);
    connect(&case_, &OpenCase::problem, this,
            [this](const QString& problem) { statusBar()->showMessage(problem, kStatusMessageShownMs); });
    state_->setObjectName(QStringLiteral("stav"));
    statusBar()->addWidget(state_, 1);
    statusBar()->addPermanentWidget(new ProtocolProgress(protocol_, this));
    connect(list_, &QListWidget::currentRowChanged, &case_, &OpenCase::select);
    connect(view_, &CalculationView::text_edited, this, [this](const QString& field_id, const QString& text) {
        case_.set_text(qtshared::utf8(field_id), qtshared::utf8(text));
    });
    connect(view_, &CalculationView::tolerance_edited, this, &CaseWindow::edit_tolerance);
    connect(view_, &CalculationView::take_requested, this, &CaseWindow::choose_and_take);
    connect(view_, &CalculationView::unlink_requested, this, &CaseWindow::unlink_input);
    connect(view_, &CalculationView::tolerance_left, this, &CaseWindow::check_tolerance);
    connect(view_, &CalculationView::title_edited, this, [this](const QString& title) {
        case_.set_description(&casefile::Calculation::title, qtshared::utf8(title));
    });
    connect(view_, &CalculationView::note_edited, this,
            [this](const QString& note) { case_.set_description(&casefile::Calculation::note, qtshared::utf8(note)); });
    connect(protocol_, &ProtocolExport::started, this, [this] {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        update_actions();
        update_status();
    });
    connect(protocol_, &ProtocolExport::finished, this, &CaseWindow::protocol_ended);
    // As large as the window likes, on a screen that has room for it; a geometry remembered from a
    // larger screen is fitted into this one.
    const QRect available = screen()->availableGeometry();
    resize(opening_size(available.size()));
    if (restoreGeometry(QSettings().value(kGeometryKey).toByteArray())) setGeometry(fitted_into(geometry(), available));
    start_new_case();
}

CaseWindow::~CaseWindow() {
    if (protocol_->running()) QApplication::restoreOverrideCursor();
    protocol_->stop();
}

void CaseWindow::build_menus(QBoxLayout* list_buttons) {
    menuBar()->setAccessibleName(QStringLiteral("Hlavní nabídka"));
    QHash<int, QMenu*> menus;
    for (const CaseMenu menu : case_menus()) {
        menus.insert(static_cast<int>(menu), named(menuBar()->addMenu(case_menu_title(menu))));
    }
    QMenu* add = nullptr;
    for (const CaseActionRow& row : case_action_rows()) {
        QMenu* menu = menus.value(static_cast<int>(row.menu));
        if (row.separator_before) menu->addSeparator();
        if (row.submenu) {
            QMenu* submenu = named(menu->addMenu(QString::fromUtf8(row.text)));
            submenu->setObjectName(QString::fromLatin1(row.object_name));
            if (row.action == CaseAction::RecentFiles) recent_menu_ = submenu;
            if (row.action == CaseAction::Add) add = submenu;
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(row.text));
        action->setObjectName(QString::fromLatin1(row.object_name));
        action->setShortcut(shortcut_of(row));
        connect(action, &QAction::triggered, this, [this, which = row.action] { trigger(which); });
        actions_.insert(static_cast<int>(row.action), action);
    }
    refresh_recent_menu();
    for (const page::PageDefinition* page : registry::calculation_pages()) {
        connect(add->addAction(qtshared::qt_text(report::page_name(*page))), &QAction::triggered, this,
                [this, page] { add_calculation(*page); });
    }
    // Delete removes a calculation only from the list: in a text field it deletes a character.
    QAction* remove = action(CaseAction::Remove);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    list_->addAction(remove);

    // The same below the list; no mnemonics there, "Alt+D" is the tab "Diagram".
    QPushButton* add_button = action_button(QStringLiteral("Přidat"), QStringLiteral("Přidat výpočet"), this);
    add_button->setMenu(add);  // drawn with the arrow of a button that opens a menu
    list_buttons->addWidget(add_button);
    list_buttons_ << add_button;
    for (const auto& [which, text, accessible_name] :
         {std::tuple{CaseAction::Duplicate, QStringLiteral("Duplikovat"), QStringLiteral("Duplikovat výpočet")},
          std::tuple{CaseAction::Remove, QStringLiteral("Odstranit"), QStringLiteral("Odstranit výpočet")}}) {
        QPushButton* button = action_button(text, accessible_name, this);
        QAction* triggered = action(which);
        connect(button, &QPushButton::clicked, triggered, &QAction::trigger);
        connect(triggered, &QAction::changed, button,
                [button, triggered] { button->setEnabled(triggered->isEnabled()); });
        list_buttons->addWidget(button);
        list_buttons_ << button;
    }
    list_buttons->addStretch();
}

void CaseWindow::trigger(CaseAction which) {
    switch (which) {
        case CaseAction::New:
            if (may_discard_changes()) start_new_case();
            return;
        case CaseAction::Open: return choose_and_open();
        case CaseAction::Save: save(); return;
        case CaseAction::SaveAs: choose_and_save(); return;
        case CaseAction::Properties: return edit_case_properties();
        case CaseAction::ExportPdf: return choose_and_export_pdf();
        case CaseAction::ExportHtml: return choose_and_export_html();
        case CaseAction::Print: return choose_and_print();
        case CaseAction::Quit: close(); return;
        case CaseAction::Undo: return case_.undo();
        case CaseAction::Redo: return case_.redo();
        case CaseAction::Duplicate: return case_.duplicate_selected();
        case CaseAction::Remove: return remove_selected();
        case CaseAction::MoveUp: return move_selected(-1);
        case CaseAction::MoveDown: return move_selected(1);
        case CaseAction::CopyResults: return copy_results();
        case CaseAction::AvoidabilityChain: return ask_avoidability_chain();
        case CaseAction::Guide: show_guide(); return;
        case CaseAction::NumberRules: show_guide(QStringLiteral("pravidla-pro-čísla")); return;
        case CaseAction::About: return show_about();
        case CaseAction::RecentFiles:
        case CaseAction::Add: return;  // submenus
    }
}

void CaseWindow::update_actions() {
    // Each need of the table, and whether it is met now.
    // clang-format off
    const std::pair<Need, bool> met[] = {
        {kSelection,    case_.selected() != nullptr},
        {kCalculation,  case_.count() > 0},
        {kIdleProtocol, !protocol_->running()},
        {kUndoStep,     case_.undo_stack().canUndo()},
        {kRedoStep,     case_.undo_stack().canRedo()},
        {kReconstruction, case_.selected() && is_avoidability_source(*case_.selected())},
    };
    // clang-format on
    for (const CaseActionRow& row : case_action_rows()) {
        QAction* action = this->action(row.action);
        if (!action) continue;
        bool enabled = true;
        for (const auto& [need, is_met] : met) enabled = enabled && (!(row.needs & need) || is_met);
        action->setEnabled(enabled);
    }
}

std::optional<QString> CaseWindow::open_case(const QString& path) {
    // The stamp before the reading: a file changed in between is then taken for changed at the
    // save, never the other way round.
    std::optional<FileStamp> stamp = stamp_of_file(path);
    auto read = read_case(path);
    if (auto* problem = std::get_if<QString>(&read)) return *problem;
    case_.replace(std::move(std::get<casefile::CaseFile>(read)), path, std::move(stamp));
    remember_file(path);
    if (const auto warning = open_elsewhere_warning()) statusBar()->showMessage(*warning, kStatusMessageShownMs);
    return std::nullopt;
}

std::optional<QString> CaseWindow::open_elsewhere_warning() const {
    if (!case_.open_elsewhere()) return std::nullopt;
    return QStringLiteral(
        "Případ je otevřen v jiném okně programu Vorlanex Spis; uložení v jednom okně přepíše změny druhého.");
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

std::optional<QString> CaseWindow::save_case(const QString& path, Overwrite overwrite) {
    if (overwrite == Overwrite::IfUnchanged && path == case_.path() && case_.changed_on_disk()) {
        return QStringLiteral(
                   "Soubor „%1“ byl od otevření změněn jiným oknem nebo programem; případ nebyl uložen, aby "
                   "se tyto změny neztratily.")
            .arg(shown_name(path));
    }
    const std::string text = case_.text();
    // What is written must read back as a case; anything else is this program's fault, never saved.
    // The lines kept as they were read did; the lines written anew are read back.
    const auto read_back = casefile::read_case_file(case_.lines_written_anew());
    if (const auto* error = std::get_if<casefile::CaseError>(&read_back)) {
        return QStringLiteral("Případ nelze zapsat: %1.").arg(czech_case_error(*error));
    }
    if (auto problem = write_atomically(path, text)) return problem;
    case_.saved_to(path, text);
    remember_file(path);
    remember_expert(qtshared::qt_text(case_.file().header.expert.value_or("")));
    return std::nullopt;
}

std::optional<QString> CaseWindow::export_html(const QString& path) {
    const auto html = protocol_html(case_);
    if (const auto* problem = std::get_if<QString>(&html)) return *problem;
    return write_atomically(path, std::get<std::string>(html));
}

std::optional<QString> CaseWindow::export_pdf(const QString& path) {
    return start_protocol({}, path, QStringLiteral("Exportuji protokol…"),
                          QStringLiteral("Protokol uložen do souboru „%1“.").arg(shown_name(path)));
}

std::optional<QString> CaseWindow::print_protocol(const QPrinter& printer) {
    const PrintChoice choice = print_choice(printer);
    const QString title = QStringLiteral("Protokol – %1")
                              .arg(case_.path().isEmpty() ? QStringLiteral("Nový případ") : shown_name(case_.path()));
    if (!choice.output_file.isEmpty()) {
        return start_protocol(print_arguments(choice, title), choice.output_file, QStringLiteral("Tisknu protokol…"),
                              QStringLiteral("Protokol vytištěn do souboru „%1“.").arg(shown_name(choice.output_file)));
    }
    return start_protocol(print_arguments(choice, title), {}, QStringLiteral("Tisknu protokol…"),
                          QStringLiteral("Protokol odeslán na tiskárnu „%1“.").arg(choice.printer));
}

bool CaseWindow::protocol_running() const { return protocol_->running(); }

void CaseWindow::set_protocol_program(const QString& path) { protocol_->set_program(path); }

std::optional<QString> CaseWindow::start_protocol(QStringList arguments, const QString& target, const QString& busy,
                                                  const QString& done) {
    if (protocol_->running()) return QStringLiteral("Protokol se právě vytváří; počkejte, až bude hotový.");
    const auto html = protocol_html(case_);
    if (const auto* problem = std::get_if<QString>(&html)) return *problem;
    return protocol_->start(std::get<std::string>(html), std::move(arguments), target, busy, done);
}

void CaseWindow::protocol_ended(const QString& problem, const QString& done) {
    QApplication::restoreOverrideCursor();
    update_actions();
    update_status();
    if (problem.isEmpty()) {
        statusBar()->showMessage(done);
        QTimer::singleShot(kProtocolDoneShownMs, this, [this, done] {
            if (statusBar()->currentMessage() == done) update_status();
        });
    }
    emit protocol_finished(problem);
    report_problem(problem.isEmpty() ? std::nullopt : std::optional<QString>(problem));
}

void CaseWindow::add_calculation(const page::PageDefinition& page) { case_.add(page); }

void CaseWindow::set_case_properties(const casefile::CaseHeader& header) { case_.set_header(header); }

void CaseWindow::edit_case_properties() {
    CasePropertiesDialog dialog(case_.file().header, this);
    if (dialog.exec() != QDialog::Accepted) return;
    set_case_properties(dialog.header());
    remember_expert(dialog.text(&casefile::CaseHeader::expert));
}

void CaseWindow::select_calculation(int row) { list_->setCurrentRow(row); }

void CaseWindow::closeEvent(QCloseEvent* event) {
    if (may_discard_changes()) {
        tolerance_->cancel();  // its thread joined before the window goes
        if (protocol_->running()) QApplication::restoreOverrideCursor();
        protocol_->stop();
        QSettings().setValue(kGeometryKey, saveGeometry());
        case_.close();
        event->accept();
    } else {
        event->ignore();
    }
}

void CaseWindow::choose_and_open() {
    if (!may_discard_changes()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Otevřít případ"), {}, kCaseFilter);
    if (!path.isEmpty()) report_opened(open_case(path));
}

void CaseWindow::report_opened(const std::optional<QString>& problem) {
    if (problem) return report_problem(problem);
    if (const auto warning = open_elsewhere_warning()) {
        QMessageBox::warning(this, QStringLiteral("Vorlanex Spis"), *warning);
    }
}

bool CaseWindow::save() {
    if (case_.path().isEmpty()) return choose_and_save();
    Overwrite overwrite = Overwrite::IfUnchanged;
    if (case_.changed_on_disk()) {
        switch (ask_about_changed_file()) {
            case ChangedFileAnswer::Overwrite: overwrite = Overwrite::Always; break;
            case ChangedFileAnswer::SaveAs: return choose_and_save();
            case ChangedFileAnswer::Cancel: return false;
        }
    }
    const std::optional<QString> problem = save_case(case_.path(), overwrite);
    report_problem(problem);
    return !problem;
}

CaseWindow::ChangedFileAnswer CaseWindow::ask_about_changed_file() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Soubor byl změněn"),
                    QStringLiteral("Soubor „%1“ byl od otevření změněn jiným oknem nebo programem. Uložením "
                                   "případu z tohoto okna se tyto změny ztratí.")
                        .arg(shown_name(case_.path())),
                    QMessageBox::NoButton, this);
    QPushButton* overwrite = box.addButton(QStringLiteral("&Přepsat"), QMessageBox::DestructiveRole);
    QPushButton* save_as = box.addButton(QStringLiteral("&Uložit jako…"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("&Zrušit"), QMessageBox::RejectRole);
    box.setDefaultButton(save_as);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == overwrite) return ChangedFileAnswer::Overwrite;
    if (box.clickedButton() == save_as) return ChangedFileAnswer::SaveAs;
    return ChangedFileAnswer::Cancel;
}

bool CaseWindow::choose_and_save() {
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Uložit případ"),
                                     case_.path().isEmpty() ? proposed_save_path() : case_.path(), kCaseFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".vorlanex");
    // The file dialog asked before an existing file is replaced.
    const std::optional<QString> problem = save_case(path, Overwrite::Always);
    report_problem(problem);
    return !problem;
}

void CaseWindow::choose_and_export_html() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportovat protokol do HTML"),
                                                      beside_case(case_.path(), QStringLiteral(".html")),
                                                      QStringLiteral("Stránky HTML (*.html)"));
    if (!path.isEmpty()) report_problem(export_html(path));
}

void CaseWindow::choose_and_export_pdf() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Exportovat protokol do PDF"),
                                                beside_case(case_.path(), QStringLiteral(".pdf")),
                                                QStringLiteral("Dokumenty PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    report_problem(export_pdf(path));
}

void CaseWindow::choose_and_print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(case_.path().isEmpty() ? QStringLiteral("Protokol")
                                              : QFileInfo(case_.path()).completeBaseName());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Tisk protokolu"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, 9999);
    if (dialog.exec() == QDialog::Accepted) report_problem(print_protocol(printer));
}

void CaseWindow::move_selected(int step) {
    const int row = selected_row();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= case_.count()) return;
    // The row moves in the list's model, as a drag moves it; "before row" counts the row itself.
    list_->model()->moveRow(QModelIndex(), row, QModelIndex(), step > 0 ? target + 1 : target);
}

void CaseWindow::calculation_moved(int from, int before) { case_.move(from, before > from ? before - 1 : before); }

void CaseWindow::copy_results() {
    const casefile::RecordedRun* run = case_.selected_run();
    if (!run) return;
    QGuiApplication::clipboard()->setMimeData(results_mime_data(*run));
    statusBar()->showMessage(QStringLiteral("Výsledky výpočtu jsou ve schránce."), 3000);
}

void CaseWindow::show_about() {
    QMessageBox::about(this, QStringLiteral("O programu Vorlanex Spis"),
                       QStringLiteral("Vorlanex Spis %1\n\nPřípad znalce: výpočty kalkulátoru Vorlanex uložené "
                                      "v jednom souboru, s diagramem dráha–čas a protokolem. Každé číslo je "
                                      "výsledkem téhož výpočtu, jaký provede kalkulátor.")
                           .arg(qtshared::qt_text(kVersion)));
}

GuideWindow* CaseWindow::show_guide(const QString& anchor) {
    if (!guide_) guide_ = new GuideWindow(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
    if (!anchor.isEmpty()) guide_->show_heading(anchor);
    return guide_;
}

QString CaseWindow::proposed_save_path() const {
    const QStringList recent = stored_recent_files();
    const QString folder = recent.isEmpty() || !QFileInfo(recent.constFirst()).dir().exists()
                               ? QDir::homePath()
                               : QFileInfo(recent.constFirst()).absolutePath();
    const QString name = case_file_name(qtshared::qt_text(case_.file().header.reference.value_or("")));
    return name.isEmpty() ? folder : QDir(folder).filePath(name);
}

void CaseWindow::start_new_case() { case_.new_case(new_case_header(QDate::currentDate(), remembered_expert())); }

QList<QWidget*> CaseWindow::focus_order() const {
    QList<QWidget*> order{list_};
    order << view_->focus_order() << tabs_->tabBar();
    // The panel in front: its controls in the order of their making, as its own layout has them.
    if (QWidget* panel = tabs_->currentWidget()) {
        for (QWidget* widget : panel->findChildren<QWidget*>()) {
            if (widget->focusPolicy() & Qt::TabFocus && !widget->focusProxy()) order << widget;
        }
    }
    return order << list_buttons_;
}

bool CaseWindow::focusNextPrevChild(bool next) {
    // The form's controls are made anew for each calculation selected, after everything else of the
    // window: Qt's own chain would visit them last. Tab follows focus_order instead.
    const QList<QWidget*> order = focus_order();
    const QWidget* current = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < order.size() && at < 0; ++i) {
        if (current && (order[i] == current || order[i]->isAncestorOf(current))) at = i;
    }
    if (at < 0) return QMainWindow::focusNextPrevChild(next);
    const qsizetype count = order.size();
    for (qsizetype step = 1; step < count; ++step) {
        QWidget* candidate = order[((next ? at + step : at - step) % count + count) % count];
        if (!candidate->isVisible() || !candidate->isEnabled()) continue;
        candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        if (view_->isAncestorOf(candidate)) centre_->ensureWidgetVisible(candidate);
        return true;
    }
    return QMainWindow::focusNextPrevChild(next);
}

void CaseWindow::remember_file(const QString& path) {
    store_recent_files(with_recent(stored_recent_files(), path));
    refresh_recent_menu();
    add_to_desktop_recent(path);
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
            if (may_discard_changes()) report_opened(open_recent(path));
        });
    }
    recent_menu_->setEnabled(!list.isEmpty());
}

bool CaseWindow::may_discard_changes() {
    if (!isWindowModified()) return true;  // the mark the expert sees, which follows the case
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Neuložené změny"), QStringLiteral("Případ má neuložené změny. Uložit je?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

void CaseWindow::write_recovery_copy() {
    if (const auto problem = case_.write_recovery_copy()) statusBar()->showMessage(*problem, kStatusMessageShownMs);
}

bool CaseWindow::offer_recovery(const std::function<bool(const QString& written_at)>& ask) {
    for (const QString& copy : orphaned_copies()) {
        const QString written_at = QFileInfo(copy).lastModified().toString(QStringLiteral("d. M. yyyy H:mm"));
        if (!ask(written_at)) {
            forget_orphan(copy);
            continue;
        }
        auto read = read_case(copy);
        const QString case_path = recovered_case_path(copy);
        forget_orphan(copy);
        if (auto* problem = std::get_if<QString>(&read)) {
            report_problem(*problem);
            continue;
        }
        // The case is its file again, as the crashed window had it: what is on disk now is what a
        // save would overwrite, and it is compared as read now.
        case_.replace(std::move(std::get<casefile::CaseFile>(read)), case_path,
                      case_path.isEmpty() ? std::nullopt : stamp_of_file(case_path));
        case_.set_modified(true);
        write_recovery_copy();  // this window's own copy before the next change
        return true;
    }
    return false;
}

void CaseWindow::show_list() {
    // The rows are kept and written anew: a drag that moved one is still going on in the list.
    const QSignalBlocker quiet(list_);
    while (list_->count() > case_.count()) delete list_->takeItem(list_->count() - 1);
    if (list_->count() < case_.count()) list_->addItems(QStringList(case_.count() - list_->count(), QString()));
    for (int row = 0; row < case_.count(); ++row) show_row(row);
    update_actions();  // what needs a calculation follows their number
    update_status();
}

void CaseWindow::show_row(int row) {
    QListWidgetItem* item = list_->item(row);
    if (item) item->setText(item_text(case_.calculation(row), case_.ending(row)));
}

void CaseWindow::show_selected() {
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(case_.selected_row());
    }
    const casefile::Calculation* selected = case_.selected();
    if (selected) {
        view_->show_calculation(*selected, case_.separator(), *case_.selected_run(), link_sources());
        show_answer();
    } else {
        view_->clear();
    }
    update_actions();
}

LinkSources CaseWindow::link_sources() const {
    LinkSources sources;
    for (const casefile::Link& link : case_.selected()->links) {
        sources[link.input] = link_source_text(case_.file(), link);
    }
    return sources;
}

void CaseWindow::show_answer() {
    const casefile::RecordedRun* run = case_.selected_run();
    const auto answer =
        run ? avoidability_answer(case_.file(), static_cast<std::size_t>(case_.selected_row()), *run) : std::nullopt;
    view_->show_answer(answer ? answer->verdict : QString(), answer ? answer->times : QString());
}

std::optional<QString> CaseWindow::add_avoidability_chain(const QString& speed_text) {
    const std::string typed = qtshared::utf8(speed_text.trimmed());
    double speed = 0;
    try {
        speed = numeric::parse_number(typed, case_.separator());
    } catch (const numeric::Fault&) {
        speed = 0;
    }
    if (!(speed > 0)) {
        return QStringLiteral("Dovolená rychlost „%1“ není kladné číslo v km/h (desetinný oddělovač „%2“).")
            .arg(speed_text, qtshared::qt_text(case_.separator().text()));
    }
    if (!case_.add_avoidability_chain(typed)) return QStringLiteral("Vyberte výpočet „Kinematika“.");
    return std::nullopt;
}

void CaseWindow::ask_avoidability_chain() {
    bool accepted = false;
    const QString speed = QInputDialog::getText(this, QStringLiteral("Odvratitelnost při dovolené rychlosti"),
                                                QStringLiteral("Dovolená rychlost [km/h] (desetinný oddělovač „%1“):")
                                                    .arg(qtshared::qt_text(case_.separator().text())),
                                                QLineEdit::Normal, QStringLiteral("50"), &accepted);
    if (!accepted) return;
    if (const auto problem = add_avoidability_chain(speed)) QMessageBox::warning(this, windowTitle(), *problem);
}

std::optional<QString> CaseWindow::take_into_input(const QString& input, int source_row, const QString& field) {
    const auto refused = case_.link_selected(qtshared::utf8(input), source_row, qtshared::utf8(field));
    if (!refused) return std::nullopt;
    return czech_case_error(*refused);
}

void CaseWindow::choose_and_take(const QString& input) {
    const auto choice = choose_link_source(this, case_.file(), case_.selected_row(), input);
    if (!choice) return;
    if (const auto problem = take_into_input(input, choice->row, qtshared::qt_text(choice->field))) {
        QMessageBox::warning(this, QStringLiteral("Převzít z výsledku"), *problem);
    }
}

void CaseWindow::unlink_input(const QString& input) { case_.unlink_selected(qtshared::utf8(input)); }

void CaseWindow::remove_selected() {
    const int unlinked = case_.remove_selected();
    if (unlinked == 0) return;
    statusBar()->showMessage(
        QStringLiteral("Převzetí z odstraněného výpočtu zrušena (%1); pole si ponechala převzatý text.").arg(unlinked),
        kStatusMessageShownMs);
}

void CaseWindow::show_state() {
    // The case's title, else its file reference, else its file's name.
    const auto& header = case_.file().header;
    const QString name = header.title && !header.title->empty()           ? qtshared::qt_text(*header.title)
                         : header.reference && !header.reference->empty() ? qtshared::qt_text(*header.reference)
                         : case_.path().isEmpty()                         ? QStringLiteral("Nový případ")
                                                                          : shown_name(case_.path());
    setWindowTitle(QStringLiteral("[*]%1 – Vorlanex Spis").arg(name));
    setWindowModified(case_.modified());
    update_actions();  // Zpět and Znovu follow the undo stack
    update_status();
}

void CaseWindow::edit_tolerance(const QString& field_id, const QString& text) {
    // While it is typed, a tolerance is taken as soon as it can be; why it cannot is said only when
    // its line is left (check_tolerance), not at every keystroke of a text still being written.
    if (!case_.set_tolerance(qtshared::utf8(field_id), qtshared::utf8(text.trimmed()))) {
        view_->show_tolerance_problem(field_id, {});
    }
}

void CaseWindow::check_tolerance(const QString& field_id, const QString& text) {
    const std::string typed = qtshared::utf8(text.trimmed());
    if (typed.empty()) return view_->show_tolerance_problem(field_id, {});
    const auto named = tolerance::json_form_of_short(qtshared::utf8(field_id), typed, case_.separator());
    const auto* refused = std::get_if<tolerance::InputError>(&named);
    view_->show_tolerance_problem(field_id, refused ? refusal_text(*refused) : QString());
}

void CaseWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (panes_fitted_) return;
    panes_fitted_ = true;
    // The first time it is shown, the panes share the window's width as the form needs.
    int handles = 0;
    for (int i = 1; i < splitter_->count(); ++i) handles += splitter_->handleWidth();
    constexpr int kListWanted = 240;
    // The tabs scroll in their pane, so the side panel is of use narrower than its widest tab: the
    // diagram and the tables read at this width.
    constexpr int kSideUseful = 300;
    const PaneNeeds needs{splitter_->widget(0)->minimumSizeHint().width(), kListWanted,
                          splitter_->widget(1)->minimumSizeHint().width(),
                          std::min(tabs_->minimumSizeHint().width(), kSideUseful)};
    splitter_->setSizes(pane_widths(splitter_->width() - handles, needs));
}

QString CaseWindow::state_text() const { return state_->text(); }

void CaseWindow::update_status() {
    // The case's state stays in the status bar; a passing message covers it only while it is shown.
    state_->setText(QStringLiteral("%1 · %2 · Vorlanex %3")
                        .arg(case_.modified() ? QStringLiteral("Neuloženo") : QStringLiteral("Uloženo"),
                             calculations_count(case_.count()), qtshared::qt_text(kVersion)));
    if (protocol_->running()) {
        statusBar()->showMessage(protocol_->busy_text());
    } else if (statusBar()->currentMessage() == protocol_->busy_text()) {
        statusBar()->clearMessage();
    }
}

void CaseWindow::report_problem(const std::optional<QString>& problem) {
    if (problem) QMessageBox::warning(this, QStringLiteral("Vorlanex Spis"), *problem);
}

}  // namespace vorlanex::spis
