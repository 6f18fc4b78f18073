#include "spis/case_file_name.h"

#include <QRegularExpression>
#include <QStringList>

namespace vorlanex::spis {

namespace {

constexpr qsizetype kMostNameBytes = 200;

// What stands in place of a path's separator, a space, or a character a file system refuses; a dash
// of the reference's own joins them.
bool becomes_dash(QChar c) { return c.isSpace() || QStringLiteral("-/\\:*?\"<>|").contains(c); }

bool dropped(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, with any suffix: a Windows disk refuses them.
bool reserved(const QString& name) {
    static const QRegularExpression kReserved(QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return kReserved.match(name).hasMatch();
}

// `name` cut to at most `bytes` bytes of UTF-8, never within a character.
QString cut_to_bytes(const QString& name, qsizetype bytes) {
    QString cut;
    qsizetype used = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype length = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        const QString character = name.mid(i, length);
        used += character.toUtf8().size();
        if (used > bytes) break;
        cut += character;
        i += length - 1;
    }
    return cut;
}

QString trimmed_of_ends(QString name) {
    const auto at_end = [](QChar c) { return c == QLatin1Char('-') || c == QLatin1Char('.'); };
    while (!name.isEmpty() && at_end(name.front())) name.remove(0, 1);
    while (!name.isEmpty() && at_end(name.back())) name.chop(1);
    return name;
}

}  // namespace

QString case_file_name(const QString& reference) {
    QString name;
    for (const QChar c : reference.normalized(QString::NormalizationForm_C)) {
        if (becomes_dash(c)) {
            if (!name.endsWith(QLatin1Char('-'))) name += QLatin1Char('-');
        } else if (!dropped(c)) {
            name += c;
        }
    }
    name = trimmed_of_ends(cut_to_bytes(trimmed_of_ends(name), kMostNameBytes));
    if (name.isEmpty() || reserved(name)) return {};
    return name + QStringLiteral(".vorlanex");
}

}  // namespace vorlanex::spis
