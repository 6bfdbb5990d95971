// The commands of kestrel-sim.
#pragma once

#include "cli/Arguments.h"

namespace SimCli {

// Runs one command; throws UsageError or Failure. Returns the exit code.
int RunCommand(CArguments& args);

// The text of kestrel-sim --help.
const char* HelpText();

}  // namespace SimCli
