#pragma once

#include <ostream>
#include <string>
#include <vector>

// orb-stage's commands (see Usage). Returns the exit status: 0 when the
// stages are solvable (or sound, for check), 1 when not, 2 for a file that
// cannot be read or a bad command line.
int RunStageTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

extern const char* const StageToolUsage;
