#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "inspect/file_set_check.h"
#include "inspect/scenario_file.h"
#include "io/replace_file.h"
#include "model/run_files.h"
#include "render/route_drawing.h"
#include "tool/commands.h"
#include "tool/run_names.h"

namespace scenario::tool {
namespace {

struct RenderRequest {
  std::string dir = ".";
  std::string output;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
  std::string scenario;
  std::string train;
};

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
    std::cerr << "scenario render: " << e.what() << "\n";
    return kScenarioError;
  } catch (const std::system_error& e) {
    std::cerr << "scenario render: " << request.output << ": " << e.what() << "\n";
    return kScenarioError;
  } catch (const std::runtime_error& e) {
    std::cerr << "scenario render: " << e.what() << "\n";
    return kScenarioError;
  }
  return kSuccess;
}

const CLI::Validator kImageName(
    [](const std::string& file) -> std::string {
      if (image_format_for(file)) return {};
      return "cannot tell the image format of " + file + ": the name must end in .svg, .png or .pdf";
    },
    "FILE.svg|FILE.png|FILE.pdf");

}  // namespace

void add_render_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("render", "Draw a compiled scenario's plan and profile as SVG, PNG or PDF");
  command->footer(
      "Reads the binary files in DIR (SCENARIO_linea.dat, SCENARIO_TRAIN.sim, SCENARIO_TRAIN.dat) and draws\n"
      "the plan of the line with tunnels, signals and stations, and below it the profile: height and\n"
      "gradients, line speed limit with slowdowns, speed and indication boards, speed reduction points,\n"
      "stations and kilometre posts, with a legend. Without SCENARIO_linea.dat\n"
      "(compiled with --no-trace) only the profile is drawn. Files that do not belong together (a geometry\n"
      "file or an entry table left by an earlier compile of another route) are refused, naming the stale file.");
  auto request = std::make_shared<RenderRequest>();
  command->add_option("--dir", request->dir, "Directory of the binary files")
      ->capture_default_str()
      ->check(CLI::ExistingDirectory);
  command->add_option("-o,--output", request->output, "Image to write; its extension, .svg, .png or .pdf, sets the format")
      ->required()
      ->check(kImageName);
  command->add_option("--width", request->width, "Width in pixels")
      ->capture_default_str()
      ->check(CLI::Range(kSmallestSide, kLargestSide));
  command->add_option("--height", request->height, "Height in pixels")
      ->capture_default_str()
      ->check(CLI::Range(kSmallestSide, kLargestSide));
  command->add_option("SCENARIO", request->scenario, "Scenario name")->required();
  command->add_option("TRAIN", request->train, "Train number")->required();
  command->callback([&status, request] { status = render(*request); });
}

}  // namespace scenario::tool
