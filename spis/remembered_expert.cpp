#include "spis/remembered_expert.h"

#include <QSettings>

#include "qtshared/qt_text.h"
#include "spis/recent_files.h"

namespace vorlanex::spis {

namespace {

const QString kKey = QStringLiteral("lastExpert");

}  // namespace

QString remembered_expert() { return QSettings().value(kKey).toString().trimmed(); }

void remember_expert(const QString& expert) {
    const QString name = expert.trimmed();
    if (name.isEmpty() || name == remembered_expert()) return;
    store_private_setting(kKey, name);
}

casefile::CaseHeader new_case_header(const QDate& today, const QString& expert) {
    casefile::CaseHeader header;
    if (today.isValid()) header.created = qtshared::utf8(today.toString(Qt::ISODate));
    if (!expert.trimmed().isEmpty()) header.expert = qtshared::utf8(expert.trimmed());
    return header;
}

}  // namespace vorlanex::spis
