#include "cli/command_text.h"

namespace vorlanex::cli {

std::string command_text(std::span<const std::string> arguments) {
    std::string text = "vorlanex-calc";
    for (const std::string& argument : arguments) {
        const bool plain = !argument.empty() && argument.find_first_not_of(
                                                    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                                    ",._-=~/+:") == std::string::npos;
        text += " ";
        if (plain) {
            text += argument;
            continue;
        }
        text += "'";
        for (const char c : argument) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
        text += "'";
    }
    return text;
}

}  // namespace vorlanex::cli
