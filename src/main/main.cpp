#include <cstdio>
#include <string>

#include "main/GameProgram.h"

int main()
{
    GameProgram program;
    std::string error;
    if (!program.Start({}, error)) {
        std::fprintf(stderr, "orb: cannot start: %s\n", error.c_str());
        return 1;
    }
    program.Run(nullptr, true);
    return 0;
}
