#include "page/press_calculate.h"

#include "numeric/faults.h"

namespace vorlanex::page {

std::optional<std::string> press_calculate(const PageDefinition& page, Port& port) {
    try {
        page.calculate(port);
        return std::nullopt;
    } catch (const numeric::Fault& fault) {
        return numeric::error_box_text(fault.message());
    }
}

}  // namespace vorlanex::page
