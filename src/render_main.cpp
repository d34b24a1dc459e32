#include "tool/commands.h"
#include "tool/render_command.h"

// scenario-render: the scenario tool's commands with the drawing, which
// `scenario render` hands its command line to.
int main(int argc, char** argv) { return scenario::tool::run_command_line(argc, argv, scenario::tool::render); }
