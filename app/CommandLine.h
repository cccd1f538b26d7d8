#pragma once

// The command-line front end: the same executable, started with a command,
// compiles a chart, builds a program image or downloads a listing without a
// window and ends with an exit code (0 success, 1 failure, 2 bad arguments).
// Messages go to stderr in UTF-8; the compile's listing goes to stdout as GBK.

#include <optional>

// Runs the command named by the arguments, or returns nothing when they name
// none: no arguments, or a chart to open in the editor. Must be called before
// any application object exists.
std::optional<int> RunCommandLine(int argc, char* argv[]);
