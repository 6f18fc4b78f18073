#pragma once
// The one bridge between the calculations' UTF-8 texts (std::string, std::string_view) and Qt's
// strings, for both windows.
#include <QString>
#include <string>
#include <string_view>

namespace vorlanex::qtshared {

// A calculation's UTF-8 text as Qt's string.
inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt's string as the calculations' UTF-8 text.
inline std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace vorlanex::qtshared
