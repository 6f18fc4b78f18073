#include "registry/page_tree.h"

#include <array>
#include <vector>

#include "collision/ees_catalogue_page.h"
#include "collision/ees_stiffness_page.h"
#include "collision/gev_definition_page.h"
#include "collision/gev_evu_page.h"
#include "kinematics/braking_bounds_page.h"
#include "kinematics/braking_page.h"
#include "kinematics/stopping_distance_page.h"
#include "kinematics/visibility_speed_page.h"
#include "version/version.h"

namespace vorlanex::registry {

namespace {

// About the program: credit lines, what it is, the rights in it (as LICENSE grants them) and who
// answers for an opinion made with it.
// clang-format off
constexpr std::string_view kInformation =
    "Vorlanex (v " VORLANEX_VERSION_TEXT "), 2026\r"
    "Autor: vývojový tým programu Vorlanex\r"
    "Kontakt a podpora: vývojový tým programu Vorlanex\r"
    "\r"
    "Pomůcka pro analýzu pohybu vozidla v průběhu nehodového děje.\r"
    "Vorlanex.\r"
    "\r"
    "Vorlanex je svobodný software, šířený pod licencí MIT.\r"
    "Za závěry posudku odpovídá znalec, který program použil.";
// clang-format on

// The information button stands in the bottom right corner of the first page.
// clang-format off
constexpr std::array kInformationButton{
    page::HelpButton{kInformation, {768, 344, 17, 17}, "Nápověda: informace o programu"},
};
// clang-format on

// The tree is made on first use, not as the program's statics are initialised: the pages come from
// functions in other files, and a benchmark or a test that registers itself from a static of its
// own may ask for the tree before this file's statics would have been made.
std::span<const TopPage> tree() {
    static const std::array ees_sub_pages{
        SubPage{"             EES               ", &collision::ees_catalogue_page()},
        SubPage{"EES - na základě tuhostí vozidel", &collision::ees_stiffness_page()},
    };
    static const std::array gev_sub_pages{
        SubPage{"GEV - dle metodiky EVU  ", &collision::gev_evu_page()},
        SubPage{"GEV - dle definice", &collision::gev_definition_page()},
    };
    static const std::array top_pages{
        TopPage{"Kinematika", &kinematics::braking_page(), {}, 0, kInformationButton},
        TopPage{"Kinematika (+ meze)", &kinematics::braking_bounds_page(), {}, 0},
        TopPage{"Dráha na zastavení", &kinematics::stopping_distance_page(), {}, 0},
        TopPage{"Rychlost přim. rozhledu", &kinematics::visibility_speed_page(), {}, 0},
        TopPage{"Přepočet EES", nullptr, ees_sub_pages, 1},
        TopPage{"Přepočet GEV", nullptr, gev_sub_pages, 0},
    };
    return top_pages;
}

// Every calculation page of the tree, in tab order; as many as the tree holds.
std::vector<const page::PageDefinition*> collect_pages() {
    std::vector<const page::PageDefinition*> pages;
    for (const TopPage& top : tree()) {
        if (top.page) pages.push_back(top.page);
        for (const SubPage& sub : top.sub_pages) {
            if (sub.page) pages.push_back(sub.page);
        }
    }
    return pages;
}

}  // namespace

std::span<const TopPage> page_tree() { return tree(); }

std::span<const page::PageDefinition* const> calculation_pages() {
    static const std::vector<const page::PageDefinition*> pages = collect_pages();
    return pages;
}

const page::PageDefinition* find_page(std::string_view key) {
    for (const page::PageDefinition* page : calculation_pages()) {
        if (page->key == key) return page;
    }
    return nullptr;
}

}  // namespace vorlanex::registry
