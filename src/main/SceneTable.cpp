#include "main/SceneTable.h"

std::unique_ptr<BaseScene> MakeScene(SceneId)
{
    return nullptr;
}
