// orb-editor: the game program started in the stage editor, which no scene of
// the game leads to. It saves into ./Resource/BData of where it runs.
#include <cstdio>
#include <string>

#include "main/GameProgram.h"

int main()
{
    GameProgram program;
    std::string error;
    if (!program.Start({false, SceneId::Edit}, error)) {
        std::fprintf(stderr, "orb-editor: cannot start: %s\n", error.c_str());
        return 1;
    }
    program.Run(nullptr, true);
    return 0;
}
