#pragma once

namespace scenario::tool {

// The name of the program beside this one that draws: only it loads cairo
// and the twenty-odd libraries cairo brings, which every other command
// would otherwise load at its start.
inline constexpr const char* kDrawingProgram = "scenario-render";

// Runs the drawing program, from the directory of this one, on this command
// line in place of this process. Returns only when it cannot be started,
// with the exit status of an internal error, having said why.
int hand_to_drawing_program(char** argv);

}  // namespace scenario::tool
