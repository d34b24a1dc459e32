#include <unistd.h>

#include "lsp/language_server.h"
#include "tool/commands.h"
#include "tool/drawing_program.h"

int main(int argc, char** argv) {
  const scenario::tool::FrontEnd language_server{
      "lsp", "Serve the language server protocol on stdin and stdout, for editors",
      "Serves both sources of a scenario as a pair (SCENARIO_linea.txt and SCENARIO_TRAIN-.txt): diagnostics as\n"
      "check lists them on every change, hover on fields, completion of records, sections and fields, the\n"
      "outline and formatting. An editor starts it; see the README for the set-up of Neovim and VS Code.",
      [] { return scenario::lsp::serve_language(STDIN_FILENO, STDOUT_FILENO); }};
  const auto draw_elsewhere = [argv](const scenario::tool::RenderRequest&) {
    return scenario::tool::hand_to_drawing_program(argv);
  };
  return scenario::tool::run_command_line(argc, argv, draw_elsewhere, {&language_server, 1});
}
