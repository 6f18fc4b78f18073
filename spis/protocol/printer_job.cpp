#include "spis/protocol/printer_job.h"

#include <cups/cups.h>

namespace vorlanex::spis::protocol {

std::optional<std::string> print_pdf(const std::string& path, const PrinterSettings& settings) {
    const std::size_t slash = settings.printer.find('/');
    const std::string name = settings.printer.substr(0, slash);
    const std::string instance = slash == std::string::npos ? std::string() : settings.printer.substr(slash + 1);
    cups_dest_t* destination =
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), instance.empty() ? nullptr : instance.c_str());
    if (destination == nullptr) {
        return "Tiskárna „" + settings.printer + "“ není k dispozici: " + cupsLastErrorString();
    }
    // The destination's own defaults (an instance's options), then the dialog's choices over them.
    cups_option_t* options = nullptr;
    int count = 0;
    for (int i = 0; i < destination->num_options; ++i) {
        count = cupsAddOption(destination->options[i].name, destination->options[i].value, count, &options);
    }
    count = cupsAddOption("copies", std::to_string(settings.copies).c_str(), count, &options);
    count = cupsAddOption("collate", settings.collate ? "true" : "false", count, &options);
    count = cupsAddOption("print-color-mode", settings.grayscale ? "monochrome" : "color", count, &options);
    count = cupsAddOption("sides", settings.sides.c_str(), count, &options);
    if (!settings.media.empty()) count = cupsAddOption("media", settings.media.c_str(), count, &options);
    const int job = cupsPrintFile(destination->name, path.c_str(), settings.title.c_str(), count, options);
    cupsFreeOptions(count, options);
    cupsFreeDests(1, destination);
    if (job == 0) return "Tiskárna „" + settings.printer + "“ protokol nepřijala: " + cupsLastErrorString();
    return std::nullopt;
}

}  // namespace vorlanex::spis::protocol
