// The one file that sees CLI11: its header costs seconds to compile, so the
// commands take plain requests and only this file turns argv into them.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/run_files.h"
#include "model/windows1252.h"
#include "render/drawing_options.h"
#include "tool/check_command.h"
#include "tool/check_watch.h"
#include "tool/colour.h"
#include "tool/diagnostic.h"
#include "tool/commands.h"
#include "tool/compile_command.h"
#include "tool/diagnostic_list.h"
#include "tool/diff_command.h"
#include "tool/explain_command.h"
#include "tool/export_command.h"
#include "tool/inspect_command.h"
#include "tool/new_command.h"
#include "tool/render_command.h"
#include "tool/standard_output.h"
#include "tool/view_command.h"

namespace scenario::tool {
namespace {

// The file's name says what it holds; a name that says nothing is a bad
// command line, like a missing file.
const CLI::Validator kScenarioFileName(
    [](const std::string& file) -> std::string {
      if (scenario_file_kind(file)) return {};
      return "cannot tell the format of " + file + " from its name: expected " + scenario_file_patterns();
    },
    "SCENARIO_FILE");

const CLI::Validator kImageName(
    [](const std::string& file) -> std::string {
      if (image_format_for(file)) return {};
      return "cannot tell the image format of " + file + ": the name must end in .svg, .png or .pdf";
    },
    "FILE.svg|FILE.png|FILE.pdf");

// An empty --dir names no directory; left out, the current one is meant.
const CLI::Validator kDirectoryNamed(
    [](const std::string& dir) -> std::string {
      if (!dir.empty()) return {};
      return "empty: name a directory, or leave --dir out for the current one";
    },
    "DIR");

const CLI::Validator kPaperName(
    [](const std::string& name) -> std::string {
      if (paper_for(name)) return {};
      return "no paper " + name + ": a4 or a3";
    },
    "a4|a3");

const std::map<std::string, ColourMode, std::less<>> kColourModes = {
    {"auto", ColourMode::kAuto}, {"always", ColourMode::kAlways}, {"never", ColourMode::kNever}};

// --color belongs to the commands that print diagnostics, where their help
// shows it: an option of the application itself would be taken only before
// the command's name.
void add_colour_option(CLI::App* command, ColourMode& mode) {
  command
      ->add_option_function<std::string>(
          "--color", [&mode](const std::string& when) { mode = kColourModes.find(when)->second; },
          "Colour the diagnostics as gcc does: auto (the default) when stderr is a terminal, TERM is set and not "
          "dumb, and NO_COLOR is unset or empty; always; never")
      ->check(CLI::IsMember({"auto", "always", "never"}))
      ->option_text("auto|always|never");
}

// Each command registers itself on the application; when it runs, it leaves
// its exit status in `status`.
void add_export_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("export", "Write the built-in line and train sources into a directory");
  command->footer(
      "Writes DIR/SCENARIO_linea.txt and DIR/SCENARIO_NUMBER-.txt, creating DIR and its parents. The texts\n"
      "are the built-in ones whatever the names. An existing source is left alone (status 1) unless --force\n"
      "is given. The format of both sources is written down in docs/source-format.md.");
  auto request = std::make_shared<ExportRequest>();
  command->add_option("--dir", request->dir, "Directory to write into")->capture_default_str()->check(kDirectoryNamed);
  command->add_option("--name", request->scenario, "Scenario name of the files")->capture_default_str();
  command->add_option("--train", request->train, "Train number of the train source")->capture_default_str();
  command->add_flag("--force", request->force, "Overwrite sources that already exist");
  command->callback([&status, request] { status = export_builtin(*request); });
}

void add_new_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("new", "Write a small commented line and train source to start a scenario from");
  command->footer(
      "Writes DIR/SCENARIO_linea.txt and DIR/SCENARIO_TRAIN-.txt, creating DIR and its parents: a route of\n"
      "12 km and a train on it with every kind of record, each explained by the comment lines before it.\n"
      "They compile without an error or a warning; the texts are the same whatever the names, and are the\n"
      "complete example of docs/source-format.md. An existing source is left alone (status 1) unless --force\n"
      "is given.");
  auto request = std::make_shared<NewRequest>();
  command->add_option("--dir", request->dir, "Directory to write into")->capture_default_str()->check(kDirectoryNamed);
  command->add_flag("--force", request->force, "Overwrite sources that already exist");
  command->add_option("SCENARIO", request->scenario, "Scenario name (writes SCENARIO_linea.txt)")->required();
  command->add_option("TRAIN", request->train, "Train number (writes SCENARIO_TRAIN-.txt)")->required();
  command->callback([&status, request] { status = new_scenario(*request); });
}

void add_compile_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("compile", "Compile a scenario's line and train sources into its binary files");
  command->footer(
      "Diagnostics go to stderr as PATH:LINE:COL: error: message [E25] or warning: message [name], each with\n"
      "the source line and a caret under the field, then a line that counts them (\"2 errors, 1 warning\").\n"
      "Exit status 1 with an error, 0 without; warnings never change the files or the status.");
  auto request = std::make_shared<CompileRequest>();
  command->add_option("--dir", request->dir, "Directory of the sources and the binary files (default: the current one)")
      ->check(kDirectoryNamed)
      ->check(CLI::ExistingDirectory);
  command->add_flag("--no-trace", request->no_trace, "Build no plan trace and write no line geometry file");
  command->add_flag("--keep-going", request->keep_going,
                    "On a reader error, still write the files from the partial model (exit status stays 1)");
  add_colour_option(command, request->colour);
  command->add_option("SCENARIO", request->scenario, "Scenario name (reads SCENARIO_linea.txt)")->required();
  command->add_option("TRAIN", request->train, "Train number (reads SCENARIO_TRAIN-.txt)")->required();
  command->callback([&status, request] { status = compile(*request); });
}

void add_check_command(CLI::App& app, int& status) {
  auto* command =
      app.add_subcommand("check", "List every error and warning of a scenario's sources, writing nothing");
  command->footer(
      "Diagnostics go to stderr as compile prints them. After a refused record the reading goes on with\n"
      "the next record, so that independent errors are all listed; past " +
      std::to_string(kShownErrors) + " errors, or " + std::to_string(kShownWarningsOfAName) +
      " warnings of one name,\nonly their number is given.\n"
      "The last line counts the errors (\"2 errors, 1 warning\"), or, without an error, says what was\n"
      "read: both sources, the route length, the stations, signals, speed and indication boards, tunnels\n"
      "and slowdowns, and \"no error, no warning\" or the count of warnings. Exit status 1 with an error,\n"
      "0 without.");
  auto request = std::make_shared<CheckRequest>();
  command->add_option("--dir", request->dir, "Directory of the sources (default: the current one)")
      ->check(kDirectoryNamed)
      ->check(CLI::ExistingDirectory);
  command->add_flag("--strict", request->strict, "Treat warnings as errors (exit status 1)");
  command->add_flag("--watch", request->watch,
                    "Check again after every save of either source, each check between a line \"" +
                        std::string(kWatchBegins) + "...\" and a line \"" + std::string(kWatchEnds) +
                        "N...\"; Ctrl-C ends it (exit status 0)");
  add_colour_option(command, request->colour);
  command->add_option("SCENARIO", request->scenario, "Scenario name (reads SCENARIO_linea.txt)")->required();
  command->add_option("TRAIN", request->train, "Train number (reads SCENARIO_TRAIN-.txt)")->required();
  command->callback([&status, request] { status = request->watch ? watch_check(*request) : check(*request); });
}

void add_inspect_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("inspect", "Decode binary scenario files to JSON on stdout");
  command->footer(
      "Files are told apart by name: SCENARIO_linea.dat (line geometry), SCENARIO_TRAIN.sim (entry table),\n"
      "SCENARIO_TRAIN.dat (cell grid). A damaged file is reported on stderr with the byte offset of the\n"
      "fault, and the status is 1.");
  auto request = std::make_shared<InspectRequest>();
  command->add_flag("--all", request->all,
                    "List every cell, not only those holding something, and every trace value, not only the summary");
  command->add_option("FILE", request->files, "Scenario files, told apart by name")
      ->required()
      ->check(kScenarioFileName);
  command->callback([&status, request] { status = inspect(*request); });
}

void add_render_command(CLI::App& app, int& status, const Renderer& renderer) {
  auto* command = app.add_subcommand("render", "Draw a compiled scenario's plan and profile as SVG, PNG or PDF");
  command->footer(
      "Reads the binary files in DIR (SCENARIO_linea.dat, SCENARIO_TRAIN.sim, SCENARIO_TRAIN.dat) and draws\n"
      "the plan of the line with tunnels, signals and stations, and below it the profile: height and\n"
      "gradients, line speed limit with slowdowns, speed and indication boards, speed reduction points,\n"
      "stations with their times, signals with their positions, curves, tunnels and kilometre posts,\n"
      "with a legend; the speed reduction points the compiler added are drawn hollow. Without\n"
      "SCENARIO_linea.dat (compiled with --no-trace) only the profile is drawn. Files that do not belong\n"
      "together (a geometry file or an entry table left by an earlier compile of another route), or that\n"
      "are older than a source beside them, are refused, naming the stale file. A PDF is printed on\n"
      "landscape sheets, a page for every 20 km (30 km on A3).");
  auto request = std::make_shared<RenderRequest>();
  command->add_option("--dir", request->dir, "Directory of the binary files")
      ->capture_default_str()
      ->check(kDirectoryNamed)
      ->check(CLI::ExistingDirectory);
  command->add_option("-o,--output", request->output, "Image to write; its extension, .svg, .png or .pdf, sets the format")
      ->required()
      ->check(kImageName);
  command->add_option("--width", request->width, "Width in pixels (SVG and PNG)")
      ->capture_default_str()
      ->check(CLI::Range(kSmallestSide, kLargestSide));
  command->add_option("--height", request->height, "Height in pixels (SVG and PNG)")
      ->capture_default_str()
      ->check(CLI::Range(kSmallestSide, kLargestSide));
  command->add_option("--from", request->from_km, "Draw from this km of the route (decimals allowed)");
  command->add_option("--to", request->to_km, "Draw up to this km of the route (decimals allowed)");
  command->add_option_function<std::string>(
      "--paper", [request](const std::string& name) { request->paper = *paper_for(name); },
      "Paper of a PDF, landscape: a4 (the default) or a3")
      ->check(kPaperName);
  command->add_option("SCENARIO", request->scenario, "Scenario name")->required();
  command->add_option("TRAIN", request->train, "Train number")->required();
  command->callback([&status, request, &renderer] { status = renderer(*request); });
}

void add_view_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("view", "Write one HTML page that shows a scenario read from its sources");
  command->footer(
      "Reads DIR/SCENARIO_linea.txt and DIR/SCENARIO_TRAIN-.txt as check does and writes one self-contained\n"
      "page (default DIR/SCENARIO_TRAIN.html): the plan and the profile on one kilometre axis, with zoom and\n"
      "pan, layers to switch, each object's source record and what the compiler stores, and check's\n"
      "diagnostics pinned where they point. #km=12.0-15.5 in the page's address shows that stretch.\n"
      "With --watch the page is made anew on every save of a source and served on 127.0.0.1, where it\n"
      "reloads itself; Ctrl-C ends. Exit status 0 once the page is written, whatever it shows.");
  auto request = std::make_shared<ViewRequest>();
  command->add_option("--dir", request->dir, "Directory of the sources (default: the current one)")
      ->check(kDirectoryNamed)
      ->check(CLI::ExistingDirectory);
  command->add_option("-o,--output", request->output, "Page to write (default: DIR/SCENARIO_TRAIN.html)");
  command->add_flag("--watch", request->watch,
                    "Make the page anew on every save of a source and serve it on 127.0.0.1, reloading itself");
  command->add_option("--port", request->port, "With --watch, the port to serve on (default: a free one)")
      ->check(CLI::Range(1, 65535));
  command->add_option("SCENARIO", request->scenario, "Scenario name (reads SCENARIO_linea.txt)")->required();
  command->add_option("TRAIN", request->train, "Train number (reads SCENARIO_TRAIN-.txt)")->required();
  command->callback([&status, request] { status = view(*request); });
}

void add_diff_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand("diff", "Compare two binary scenario files of the same kind");
  command->footer(
      "Prints each difference on a line of its own, in metres, km/h, station names and times of day\n"
      "(a stretch of cells with the same change is one line). Exit status 0 when the files are the same,\n"
      "1 when they differ, 2 when one cannot be read or the two are of different kinds.");
  auto request = std::make_shared<DiffRequest>();
  command->add_option("A", request->a, "First scenario file")->required();
  command->add_option("B", request->b, "Second scenario file, of the same kind")->required();
  command->callback([&status, request] { status = diff(*request); });
}

void add_explain_command(CLI::App& app, int& status) {
  auto* command = app.add_subcommand(
      "explain", "Say what an error number or a warning means, its usual cause and its fix, or what a record's fields hold");
  command->footer("docs/errors.md holds the same for every number and warning; --markdown prints that document.");
  auto request = std::make_shared<ExplainRequest>();
  command->add_option("TOPIC", request->topic,
                      "Error number (25 or E25) or warning name (unknown-record), as a diagnostic shows it, or a "
                      "record's keyword (segnale)");
  command->add_flag("--markdown", request->markdown, "Print the whole catalogue as docs/errors.md holds it");
  command->add_option("--markdown-schema", request->schema_document,
                      "Print a Markdown document with its record tables made anew from the schema");
  command->callback([&status, request] { status = explain(*request); });
}

// CLI11's message, its quoted arguments shown as the echo shows a source
// line, then where help is.
std::string escaped_failure(const CLI::App* app, const CLI::Error& e) {
  std::string text = printable_text(e.what()) + "\n";
  if (app->get_help_ptr() != nullptr) text += "Run with " + app->get_help_ptr()->get_name() + " for more information.\n";
  return text;
}

// The command given, as messages name it: "diff"; empty before one is known.
std::string command_name(const CLI::App& app) {
  const std::vector<CLI::App*> given = app.get_subcommands();
  return given.empty() ? std::string() : given.front()->get_name();
}

// An argument of the command that looks like an option it does not have
// ("compile -x 1"): a SCENARIO or TRAIN that begins with '-' is taken for
// one unless it comes after "--".
std::optional<std::string> dash_argument(const CLI::App& app, int argc, char** argv) {
  const CLI::App* command = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (command == nullptr) {
      const std::vector<const CLI::App*> named =
          app.get_subcommands([argument](const CLI::App* sub) { return sub->check_name(std::string(argument)); });
      if (!named.empty()) command = named.front();
      continue;
    }
    if (argument.size() < 2 || argument.front() != '-') continue;
    const std::string name(argument.substr(0, argument.find('=')));
    if (command->get_option_no_throw(name) == nullptr) return std::string(argument);
  }
  return std::nullopt;
}

// Parses argv and runs the command it names; returns the exit status.
int parsed_and_run(CLI::App& app, int argc, char** argv, const int& status) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    if (const std::optional<std::string> dashed = dash_argument(app, argc, argv)) {
      const std::string command = command_name(app);
      std::cerr << command_message(command, *dashed + " is not an option of " + command +
                                                "; a SCENARIO or TRAIN that begins with '-' goes after --, as in "
                                                "\"scenario " + command + " -- " + *dashed + " ...\"");
      return kBadCommandLine;
    }
    app.exit(e);  // prints the reason and the usage on stderr
    return kBadCommandLine;
  } catch (const std::exception& e) {  // whatever a command let through: a message and a status, never an abort
    std::cerr << "scenario: " << printable_text(e.what()) << "\n";
    return kScenarioError;
  }
  return status;
}

void add_front_end(CLI::App& app, int& status, const FrontEnd& front_end) {
  auto* command = app.add_subcommand(front_end.name, front_end.description);
  command->footer(front_end.footer);
  command->callback([&status, &front_end] { status = front_end.run(); });
}

// Adds the commands to app, each leaving its exit status in status. A
// command line that begins with a command builds that command alone:
// building all of them with their options was 0.9 ms of the 5.5 of
// --version. Any other (help, --version, a mistake) builds them all, for the
// list of commands and the messages about them.
void add_commands(CLI::App& app, int& status, const Renderer& renderer, std::span<const FrontEnd> front_ends,
                  std::string_view first) {
  const std::array<std::pair<std::string_view, std::function<void()>>, 9> commands = {{
      {"export", [&] { add_export_command(app, status); }},
      {"new", [&] { add_new_command(app, status); }},
      {"compile", [&] { add_compile_command(app, status); }},
      {"check", [&] { add_check_command(app, status); }},
      {"inspect", [&] { add_inspect_command(app, status); }},
      {"render", [&] { add_render_command(app, status, renderer); }},
      {"view", [&] { add_view_command(app, status); }},
      {"diff", [&] { add_diff_command(app, status); }},
      {"explain", [&] { add_explain_command(app, status); }},
  }};
  const bool named =
      std::any_of(commands.begin(), commands.end(), [first](const auto& command) { return command.first == first; }) ||
      std::any_of(front_ends.begin(), front_ends.end(), [first](const FrontEnd& end) { return end.name == first; });
  const auto wanted = [named, first](std::string_view name) { return !named || name == first; };
  for (const auto& [name, add] : commands) {
    if (wanted(name)) add();
  }
  for (const FrontEnd& front_end : front_ends) {
    if (wanted(front_end.name)) add_front_end(app, status, front_end);
  }
}

}  // namespace

int run_command_line(int argc, char** argv, const Renderer& renderer, std::span<const FrontEnd> front_ends) {
  StandardOutput output;
  CLI::App app{"scenario: start, export, compile, check, inspect, compare, draw and view train-driving scenarios"};
  app.set_version_flag("--version", std::string("scenario ") + SCENARIO_VERSION);
  app.require_subcommand(1);
  app.failure_message(escaped_failure);
  int status = kSuccess;
  add_commands(app, status, renderer, front_ends, argc > 1 ? argv[1] : "");
  const int outcome = parsed_and_run(app, argc, argv, status);
  const std::string command = command_name(app);
  if (output.written(command)) return outcome;
  return command == "diff" ? kDiffTrouble : kScenarioError;
}

}  // namespace scenario::tool
