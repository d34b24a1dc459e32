#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "run/run_sequence.h"
#include "sources/builtin_sources.h"
#include "support/fnv1a.h"
#include "support/model_fixtures.h"
#include "support/temp_dir.h"

namespace scenario {
namespace {

// Every file of the built-in scenario, pinned by its size and its 64-bit
// FNV-1a digest: the three binary files the simulator loads (a change of one
// bit of one double of the plan trace shows here), the three driver documents
// and the two sources. A deliberate change of the scenario pins the new
// digests in the same commit.
struct PinnedFile {
  const char* name;
  size_t size;
  uint64_t digest;
};

constexpr PinnedFile kPinned[] = {
    {"Dorvallo_Brisente_linea.dat", 2479964, 0x2c9c48e167d5bb61},
    {"Dorvallo_Brisente_47302.sim", 4230, 0x4147e75027fe5d75},
    {"Dorvallo_Brisente_47302.dat", 37215, 0xf17e2dd51fb188ae},
    {"Dorvallo_Brisente_47302_note.txt", 1867, 0xf3d0dc456a9633ff},
    {"Dorvallo_Brisente_47302_rallentamenti.txt", 3283, 0x0f2bcaa220f4b5d8},
    {"Dorvallo_Brisente_47302_scheda_treno.txt", 15165, 0x73fb7bcf334f34b4},
    {"Dorvallo_Brisente_linea.txt", 6996, 0x6553f07b7248dc7b},
    {"Dorvallo_Brisente_47302-.txt", 5890, 0xde327bbc4e378d73},
};

TEST(PackageFiles, AreTheBuiltInScenarioByteForByte) {
  testing::TempDir dir;
  run_package(dir.path());
  // The run deletes the sources once read: written again as it wrote them.
  RouteModel model = testing::named_model(kBuiltInScenario, kBuiltInTrain);
  dati_linea(model, dir.path());
  dati_treno(model, dir.path());
  for (const PinnedFile& pinned : kPinned) {
    const std::string bytes = testing::bytes_of(dir / pinned.name).value_or("");
    EXPECT_EQ(bytes.size(), pinned.size) << pinned.name;
    const uint64_t digest = testing::fnv1a(bytes);
    EXPECT_EQ(digest, pinned.digest) << pinned.name << " has the digest 0x" << std::hex << digest;
  }
}

}  // namespace
}  // namespace scenario
