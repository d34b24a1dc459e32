#include "tool/commands.h"

int main(int argc, char** argv) { return scenario::tool::run_command_line(argc, argv); }
