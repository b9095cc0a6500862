// orb-editor: the game program started in the stage editor, which no scene of
// the game leads to. It saves into ./Resource/BData of where it runs.
#include "main/ProgramMain.h"

int main(int argc, char** argv)
{
    return ProgramMain("orb-editor", argc, argv, SceneId::Edit);
}
