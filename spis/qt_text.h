#pragma once
// The case window's one bridge between the calculations' UTF-8 texts and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

namespace vorlanex::spis {

inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace vorlanex::spis
