#pragma once
// What the results an analysis tab shows were made from: the calculation's inputs and the settings
// run. The results stay shown while the calculation is edited and are out of date once its inputs
// differ from these, or once the settings the case keeps differ from those run.
#include <optional>

#include "casefile/case_file.h"

namespace vorlanex::spis {

template <typename Settings>
struct AnalysisBasis {
    casefile::Calculation inputs;
    Settings settings;

    bool out_of_date(const casefile::Calculation& now, const std::optional<Settings>& kept) const {
        return !casefile::same_inputs(inputs, now) || (kept && *kept != settings);
    }
};

}  // namespace vorlanex::spis
