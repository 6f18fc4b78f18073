#pragma once
// The window's one bridge from the calculations' UTF-8 texts to Qt's strings.
#include <QString>
#include <string_view>

namespace vorlanex::app {

inline QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace vorlanex::app
