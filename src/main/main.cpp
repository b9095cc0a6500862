#include "main/ProgramMain.h"

int main(int argc, char** argv)
{
    return ProgramMain("orb", argc, argv, SceneId::Title);
}
