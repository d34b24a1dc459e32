#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "inspect/file_set_check.h"
#include "inspect/scenario_file.h"
#include "io/replace_file.h"
#include "model/run_files.h"
#include "render/route_drawing.h"
#include "tool/commands.h"
#include "tool/diagnostic.h"
#include "tool/render_command.h"
#include "tool/run_names.h"

namespace scenario::tool {

// Draws the compiled scenario from its three binary files; the image replaces
// any older file of that name only once it is complete.
int render(const RenderRequest& request) {
  if (names_refused("render", request.scenario, request.train)) return kBadCommandLine;
  try {
    const RunFiles files = run_files(request.dir, request.scenario, request.train);
    const RouteModel model = load_scenario(files);
    check_file_set(model, files);
    const RenderOptions options{
        .format = *image_format_for(request.output), .width = request.width, .height = request.height};
    replace_file(request.output, render_route(model, options));
  } catch (const ScenarioFileError& e) {
    std::cerr << command_message("render", e.what());
    return kScenarioError;
  } catch (const std::system_error& e) {
    std::cerr << command_message("render", request.output + ": " + e.what());
    return kScenarioError;
  } catch (const std::runtime_error& e) {
    std::cerr << command_message("render", e.what());
    return kScenarioError;
  }
  return kSuccess;
}

}  // namespace scenario::tool
