// The kova command line: checks the arguments and enters sign or verify.
#pragma once

namespace kova {

// Runs the tool for this command line and returns the exit status of a
// completed run (0); every error ends the process with status 1.
int run(int argc, char** argv);

}  // namespace kova
