#pragma once
// vorlanex-protocol's command line, the one place both sides read it from: the case window writes
// it (spis/protocol_process.cpp) and the program parses it (main.cpp).
//
//   vorlanex-protocol --html FILE [--pdf FILE] [--pages 1-3,5]
//                     [--printer NAME --copies N [--collate] [--grayscale] --duplex none|long|short
//                      [--media A4] --title TEXT]
#include <QLatin1String>
#include <QString>

namespace vorlanex::spis::protocol::command_line {

inline constexpr QLatin1String kHtml("html");
inline constexpr QLatin1String kPdf("pdf");
inline constexpr QLatin1String kPages("pages");
inline constexpr QLatin1String kPrinter("printer");
inline constexpr QLatin1String kCopies("copies");
inline constexpr QLatin1String kCollate("collate");
inline constexpr QLatin1String kGrayscale("grayscale");
inline constexpr QLatin1String kDuplex("duplex");
inline constexpr QLatin1String kMedia("media");
inline constexpr QLatin1String kTitle("title");

// The values of --duplex: one side, turned over the long edge, over the short edge.
inline constexpr QLatin1String kOneSide("none");
inline constexpr QLatin1String kLongEdge("long");
inline constexpr QLatin1String kShortEdge("short");

// The option as written on the command line: "--html".
inline QString flag(QLatin1String option) { return QStringLiteral("--") + option; }

}  // namespace vorlanex::spis::protocol::command_line
