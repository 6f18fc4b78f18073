// The avoidability chain: a "Dráha na zastavení" calculation is one only when its obstacle distance
// takes the collision point distance of a "Kinematika" calculation; the inputs it takes from that
// calculation are named, those it takes from others are not.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "casefile/avoidability_chain.h"
#include "casefile/case_file.h"
#include "casefile/case_links.h"

namespace {

using vorlanex::casefile::CaseError;
using vorlanex::casefile::CaseFile;

const std::string kHeader = R"({"format":2,"separator":","})"
                            "\n";
const std::string kBraking =
    R"({"id":"k","page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I4":"15","I5":"20","I6":"0,8","I7":"0,2","I8":"1"}})"
    "\n";
const std::string kOtherBraking =
    R"({"id":"j","page":"kinematika","fields":{"I1":"20","I2":"8","I3":"0,7","I4":"15","I5":"20","I6":"0,7","I7":"0,2","I8":"1"}})"
    "\n";
const std::string kStoppingTyped =
    R"({"id":"d","page":"draha-zastaveni","fields":{"I1":"50","I2":"0,8","I3":"1","I4":"0,2","I5":"30"}})"
    "\n";

std::string stopping(const std::string& links) {
    return R"({"id":"z","page":"draha-zastaveni","fields":{"I1":"50","I3":"1","I4":"0,2"},"links":{)" + links + "}}\n";
}

struct ChainCase {
    const char* name;
    std::string lines;                       // after the header
    std::size_t calculation;                 // the calculation asked about
    std::optional<std::size_t> source;       // the reconstruction of its chain, or none
    std::vector<std::string> linked_inputs;  // its inputs taken from that reconstruction
};

// clang-format off
const ChainCase kChainCases[] = {
    {"AllFourTaken", kBraking + stopping(R"("I2":{"from":"k","field":"I6"},"I3":{"from":"k","field":"I8"},"I4":{"from":"k","field":"I7"},"I5":{"from":"k","field":"R15"})"), 1, 0, {"I2", "I3", "I4", "I5"}},
    {"SourceAfterIt", stopping(R"("I5":{"from":"k","field":"R15"})") + kBraking, 0, 1, {"I5"}},
    {"AdhesionFromAnother", kBraking + kOtherBraking + stopping(R"("I2":{"from":"j","field":"I6"},"I5":{"from":"k","field":"R15"})"), 2, 0, {"I5"}},
    {"TheReconstructionItself", kBraking + stopping(R"("I5":{"from":"k","field":"R15"})"), 0, std::nullopt, {}},
    {"ObstacleFromAnotherDistance", kBraking + stopping(R"("I5":{"from":"k","field":"R13"})"), 1, std::nullopt, {}},
    {"ObstacleTyped", kBraking + stopping(R"("I2":{"from":"k","field":"I6"})"), 1, std::nullopt, {}},
    {"ObstacleFromAStoppingDistance", kStoppingTyped + stopping(R"("I5":{"from":"d","field":"R11"})"), 1, std::nullopt, {}},
    {"NoSuchCalculation", kBraking, 5, std::nullopt, {}},
};
// clang-format on

class AvoidabilityChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(AvoidabilityChain, IsRecognisedByItsObstacleLink) {
    const ChainCase& c = GetParam();
    auto read = vorlanex::casefile::read_case_file(kHeader + c.lines);
    if (const auto* error = std::get_if<CaseError>(&read)) FAIL() << error->message;
    const CaseFile& file = std::get<CaseFile>(read);
    const std::optional<vorlanex::casefile::AvoidabilityChain> chain =
        vorlanex::casefile::avoidability_chain(file, vorlanex::casefile::IdIndex(file), c.calculation);
    ASSERT_EQ(chain.has_value(), c.source.has_value());
    if (!chain) return;
    EXPECT_EQ(chain->reconstruction, *c.source);
    EXPECT_EQ(chain->linked_inputs, c.linked_inputs);
}

INSTANTIATE_TEST_SUITE_P(CaseLinks, AvoidabilityChain, ::testing::ValuesIn(kChainCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
