// orb-stage: the stage files' solver, checker and replayer. See StageTool.h.
#include <iostream>

#include "StageTool.h"

int main(int argc, char** argv)
{
    return RunStageTool({argv + 1, argv + argc}, std::cout, std::cerr);
}
