#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "tool/commands.h"

namespace scenario::tool {
namespace {

int run(int argc, char** argv) {
  CLI::App app{"scenario: export, compile, check, inspect, compare and draw train-driving scenarios"};
  app.set_version_flag("--version", std::string("scenario ") + SCENARIO_VERSION);
  app.require_subcommand(1);
  int status = kSuccess;
  add_export_command(app, status);
  add_compile_command(app, status);
  add_check_command(app, status);
  add_inspect_command(app, status);
  add_render_command(app, status);
  add_diff_command(app, status);
  add_explain_command(app, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);  // prints the reason and the usage on stderr
    return kBadCommandLine;
  } catch (const std::exception& e) {  // whatever a command let through: a message and a status, never an abort
    std::cerr << "scenario: " << e.what() << "\n";
    return kScenarioError;
  }
  return status;
}

}  // namespace
}  // namespace scenario::tool

int main(int argc, char** argv) { return scenario::tool::run(argc, argv); }
