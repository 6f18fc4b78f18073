#pragma once
// Nápověda → Návod (F1): the Czech guide shipped inside the program (docs/navod.md compiled in as a
// resource), shown offline in a window of its own with its headings as a contents list beside the
// text. A link to a heading ("#pravidla-pro-čísla") moves to it; a link out of the guide opens
// nothing, the guide needs no network.
#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;
class QTreeWidget;
class QUrl;

namespace vorlanex::spis {

// The anchor a link names a heading by, as Markdown writers form it: lower case, letters (with their
// diacritics) and digits kept, spaces turned into "-", other marks dropped ("Pravidla pro čísla" →
// "pravidla-pro-čísla").
QString heading_anchor(const QString& heading);

// The guide's Markdown text as the program carries it.
QString guide_markdown();

class GuideWindow final : public QWidget {
    Q_OBJECT
public:
    explicit GuideWindow(QWidget* parent = nullptr);

    // Shows the heading with this anchor at the top of the text; false when the guide has none.
    bool show_heading(const QString& anchor);
    // The headings in the guide's order, as the contents list shows them.
    QStringList headings() const;
    QTextBrowser* text() const { return text_; }
    QTreeWidget* contents() const { return contents_; }

private:
    void follow_link(const QUrl& link);

    QTreeWidget* contents_;
    QTextBrowser* text_;
};

}  // namespace vorlanex::spis
