#pragma once

#include "app/SceneId.h"

// The whole of main() for the game (first scene the title, which takes --play)
// and the editor: the command line, then the program. Returns the exit code.
int ProgramMain(const char* name, int argc, char** argv, SceneId firstScene);
