#pragma once
// The avoidability chain: beside a reconstruction of braking ("Kinematika"), a "Dráha na zastavení"
// calculation that takes the reconstruction's adhesion, reaction and build-up times and the distance
// from the start of the reaction to the collision, and asks whether the vehicle would have stopped
// before the collision point at the permitted speed; and that question answered in words.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "casefile/case_file.h"
#include "casefile/recorded_run.h"

namespace vorlanex::spis {

// Whether a chain can be added after `calculation`: it is a "Kinematika" reconstruction.
bool is_avoidability_source(const casefile::Calculation& calculation);

// An id token (a JSON string) for `calculation`, made from its title, else its page's key: its
// letters without accents in lower case and its digits, the rest joined by "-", unique among the
// case's ids ("-2", "-3", … added when taken).
std::string new_id_token(const casefile::CaseFile& file, const casefile::Calculation& calculation);

// The "Dráha na zastavení" calculation at `speed_text` km/h linked to the reconstruction whose id
// token is `source_id`.
casefile::Calculation avoidability_calculation(const std::string& source_id, std::string_view speed_text);

// The answer of a chain in words: whether the vehicle stops before the collision point, and the
// times from the start of the reaction to the collision as it happened and at the permitted speed.
struct AvoidabilityAnswer {
    QString verdict;
    QString times;
};
// The answer of the calculation at `row` that ran as `run`, when it is a chain whose source is a
// reconstruction; nothing otherwise or when it did not run.
std::optional<AvoidabilityAnswer> avoidability_answer(const casefile::CaseFile& file, std::size_t row,
                                                      const casefile::RecordedRun& run);

// "Rekonstrukce brzdění, R15": what a linked input takes, its source named by its title (else its
// page's name, else its id) and the field.
QString link_source_text(const casefile::CaseFile& file, const casefile::Link& link);

}  // namespace vorlanex::spis
