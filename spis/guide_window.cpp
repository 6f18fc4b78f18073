#include "spis/guide_window.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <vector>

namespace vorlanex::spis {

namespace {

const QString kGuideResource = QStringLiteral(":/guide/navod.md");

// The guide's headings in order: a level above 0 marks one.
std::vector<QTextBlock> heading_blocks(const QTextDocument& document) {
    std::vector<QTextBlock> headings;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) headings.push_back(block);
    }
    return headings;
}

}  // namespace

QString heading_anchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed()) {
        if (c.isLetterOrNumber()) {
            anchor += c.toLower();
        } else if (c == QLatin1Char(' ')) {
            anchor += QLatin1Char('-');
        } else if (c == QLatin1Char('-') || c == QLatin1Char('_')) {
            anchor += c;
        }
    }
    return anchor;
}

QString guide_markdown() {
    QFile file(kGuideResource);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

GuideWindow::GuideWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), contents_(new QTreeWidget(this)), text_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Návod – Vorlanex"));
    text_->setAccessibleName(QStringLiteral("Text návodu"));
    text_->setOpenLinks(false);  // every link is followed here: within the guide, or not at all
    text_->setMarkdown(guide_markdown());
    contents_->setAccessibleName(QStringLiteral("Obsah návodu"));
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);

    // Each heading under the nearest heading of a higher level before it.
    std::vector<std::pair<int, QTreeWidgetItem*>> open_levels;
    for (const QTextBlock& block : heading_blocks(*text_->document())) {
        const int level = block.blockFormat().headingLevel();
        while (!open_levels.empty() && open_levels.back().first >= level) open_levels.pop_back();
        auto* item =
            open_levels.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(open_levels.back().second);
        item->setText(0, block.text());
        item->setData(0, Qt::UserRole, heading_anchor(block.text()));
        open_levels.emplace_back(level, item);
    }
    contents_->expandAll();
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) show_heading(item->data(0, Qt::UserRole).toString());
    });
    connect(text_, &QTextBrowser::anchorClicked, this, &GuideWindow::follow_link);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(text_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(920, 700);
}

bool GuideWindow::show_heading(const QString& anchor) {
    for (const QTextBlock& block : heading_blocks(*text_->document())) {
        if (heading_anchor(block.text()) != anchor) continue;
        QTextCursor cursor(block);
        text_->setTextCursor(cursor);  // the keyboard reads on from the heading
        const QRectF place = text_->document()->documentLayout()->blockBoundingRect(block);
        text_->verticalScrollBar()->setValue(static_cast<int>(place.top()));
        // The contents list marks the heading shown, without moving the text again.
        const QSignalBlocker quiet(contents_);
        for (QTreeWidgetItemIterator item(contents_); *item; ++item) {
            if ((*item)->data(0, Qt::UserRole).toString() == anchor) contents_->setCurrentItem(*item);
        }
        return true;
    }
    return false;
}

QStringList GuideWindow::headings() const {
    QStringList texts;
    for (QTreeWidgetItemIterator item(contents_); *item; ++item) texts << (*item)->text(0);
    return texts;
}

void GuideWindow::follow_link(const QUrl& link) {
    // Only a link to a heading of this guide: "#anchor", with no file and no address.
    if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
        show_heading(link.fragment(QUrl::FullyDecoded));
    }
}

}  // namespace vorlanex::spis
