#include <CLI/CLI.hpp>

#include <iostream>

namespace {

// Exit statuses: 0 success, 1 an error in the scenario, 2 a bad command line.
constexpr int kBadCommandLine = 2;

int run(int argc, char** argv) {
  CLI::App app{"scenario: compile, inspect and draw train-driving scenarios"};
  app.set_version_flag("--version", std::string("scenario ") + SCENARIO_VERSION);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kBadCommandLine;
  }
  std::cout << app.help();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return run(argc, argv); }
