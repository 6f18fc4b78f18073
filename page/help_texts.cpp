#include "page/help_texts.h"

namespace vorlanex::page {

namespace {

// About the program: credit lines, what it is, the rights in it.
constexpr std::string_view kInformation =
    "Vorlanex (v 1.6a), 2026\r"
    "Autor: vývojový tým programu Vorlanex\r"
    "Kontakt a podpora: vývojový tým programu Vorlanex\r"
    "\r"
    "Pomůcka pro analýzu pohybu vozidla v průběhu nehodového děje.\r"
    "Vorlanex.\r"
    "\r"
    "Všechna práva k programu vyhrazena.\r"
    "Za závěry posudku odpovídá znalec, který program použil.";

// Adhesion coefficients of road surfaces; the runs of spaces line the columns up in the box.
constexpr std::string_view kAdhesionTable =
    "Součinitele adheze na různých druzích povrchu\r"
    "(zdroj - Lomberk: Soudní inženýrství)\r"
    "\r"
    "beton suchý     0,8 - 1,0\r"
    "           mokrý    0,5 - 0,8\r"
    "asfalt suchý     0,6 - 0,9\r"
    "           mokrý    0,3 - 0,8\r"
    "dlažba suchá    0,6 - 0,9\r"
    "           mokrá    0,3 - 0,5\r"
    "makadam suchý   0,6 - 0,8\r"
    "           mokrý    0,3 - 0,5\r"
    "\r"
    "polní cesta suchá   0,4 - 0,6\r"
    "           mokrá         0,3 - 0,4\r"
    "tráva suchá           0,4 - 0,6\r"
    "           mokrá         0,2 - 0,5\r"
    "hluboký písek, sníh   0,2 - 0,4\r"
    "\r"
    "náledí    0 °C    0,05 - 0,10\r"
    "           -10 °C   0,08 - 0,15\r"
    "           -20 °C   0,15 - 0,20\r"
    "(zdroj - Vestanic: Teória pohybu a rázu 0,1 - 0,3)";

constexpr std::string_view kEesNote =
    "Zadávaná hodnota EES reprezentuje ekvivalent energie, který způsobil zpomalení vozidla ve směru jeho pohybu\r"
    "(ve výpočtu není zohledněna rotace vozidla)";

// The mixed "." and "," in the numbers are part of the text.
constexpr std::string_view kGevRanges =
    "GEV < 0,75        ráz se skluzem\r"
    "GEV  0.9 - 1,2    ráz bez skluzu\r"
    " \r"
    "GEV  0.75 - 0,9   ráz s mírným skluzem";

}  // namespace

std::string_view help_text(HelpText which) {
    switch (which) {
    case HelpText::Information: return kInformation;
    case HelpText::AdhesionTable: return kAdhesionTable;
    case HelpText::EesNote: return kEesNote;
    case HelpText::GevRanges: return kGevRanges;
    }
    return kInformation;
}

}  // namespace vorlanex::page
