#pragma once
#include <string>
#include <string_view>

namespace vorlanex::numeric {

// The title of the warning and error boxes: the executable's file name without its directory,
// cut at its first ".", every letter after the first character in lower case, whatever its script
// ("/opt/VORLANEX.bin" -> "Vorlanex"; "vorlanex" -> "vorlanex"; "ŽLUŤOUČKÝ" -> "Žluťoučký").
std::string application_title(std::string_view executable_path);

// The path of the running program's own executable file (Linux: /proc/self/exe; Windows: the
// module's file name, in UTF-8 and with "/" between its folders as application_title reads it), or
// `fallback` (argv[0]) when it cannot be read.
std::string own_executable_path(std::string_view fallback);

}  // namespace vorlanex::numeric
