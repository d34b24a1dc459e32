#include "compile/competition_codes.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

RouteModel model_for(const std::string& train_number, const std::string& scenario_name) {
  RouteModel model;
  model.entries[kTrainRow].text = train_number;
  model.entries[kScenarioRow].text = scenario_name;
  return model;
}

struct CodeCase {
  std::string train_number;
  std::string scenario_name;
  int16_t og;
  int32_t st;
};

class CompetitionCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CompetitionCodes, FoldTrainNumberAndScenarioName) {
  const CodeCase& c = GetParam();
  RouteModel model = model_for(c.train_number, c.scenario_name);
  EXPECT_EQ(codice_gara_st(model), c.st);
  EXPECT_EQ(codice_gara_og(model), c.og);
}

INSTANTIATE_TEST_SUITE_P(Pairs, CompetitionCodes,
                         ::testing::Values(CodeCase{"", "", 2583, 34355},  // the fill text alone
                                           CodeCase{"12", "Ab", 2437, 33416},
                                           CodeCase{"47302", "Dorvallo_Brisente", 2370, 33270}));

TEST(CompetitionCodes, SumTheFilledTextOfTheTrainAndTheScenario) {
  EXPECT_EQ(competition_text(model_for("12", "Ab")), "12abaabbccddeeffgghhiillmmnnoo");
}

struct SamePair {
  std::string scenario_a;
  std::string scenario_b;
  bool same_codes;
};

class CodesOfTwoNames : public ::testing::TestWithParam<SamePair> {};

TEST_P(CodesOfTwoNames, AgreeExactlyWhenTheNamesDifferOnlyInCaseOrPastThe25thCharacter) {
  const SamePair& c = GetParam();
  RouteModel a = model_for("47302", c.scenario_a);
  RouteModel b = model_for("47302", c.scenario_b);
  EXPECT_EQ(codice_gara_og(a) == codice_gara_og(b) && codice_gara_st(a) == codice_gara_st(b), c.same_codes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CodesOfTwoNames,
    ::testing::Values(SamePair{"Dorvallo_Brisente", "DORVALLO_brisente", true},
                      SamePair{"Dorvallo_Brisente_abc", "Dorvallo_Brisente_abz", true},   // 26th: not counted
                      SamePair{"Dorvallo_Brisente_abc", "Dorvallo_Brisente_azc", false},  // 25th counts
                      SamePair{"Citt\xC0", "Citt\xE0", true},                    // Windows-1252 capitals too
                      SamePair{"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF", true},
                      SamePair{"x\xD7", "x\xF7", false}));                       // signs, not letters

}  // namespace
}  // namespace scenario
