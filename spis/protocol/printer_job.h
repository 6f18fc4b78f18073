#pragma once
// The protocol on paper: its PDF handed to CUPS, the print system behind every printer Qt's print
// dialog lists, with the settings the expert chose there. CUPS prints a PDF as it is, vector
// pages and text, the same way QPrinter's own CUPS engine hands it the PDF it draws.
#include <optional>
#include <string>

namespace vorlanex::spis::protocol {

struct PrinterSettings {
    std::string printer;  // a CUPS destination, "name" or "name/instance"
    int copies = 1;
    bool collate = true;
    bool grayscale = false;
    std::string sides = "one-sided";  // or "two-sided-long-edge", "two-sided-short-edge"
    std::string media;                // "A4", ...; empty leaves the printer's own
    std::string title = "Protokol";
};

// Sends the PDF at `path` to the printer; the Czech reason when CUPS refused it.
std::optional<std::string> print_pdf(const std::string& path, const PrinterSettings& settings);

}  // namespace vorlanex::spis::protocol
