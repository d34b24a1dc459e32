#include "io/replace_file.h"

namespace scenario {

void replace_file(const std::filesystem::path& path, std::string_view bytes, Durability durability) {
  StagedFiles files(durability);
  files.stage(path).append(bytes);
  files.publish();
}

}  // namespace scenario
