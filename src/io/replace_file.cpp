#include "io/replace_file.h"

#include "io/staged_files.h"

namespace scenario {

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  StagedFiles files;
  files.stage(path).append(bytes);
  files.publish();
}

}  // namespace scenario
