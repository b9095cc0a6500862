#include "render/Transform.h"

void Transform::UpdateWorld()
{
    world = scale * rotation * GetTranslation();
}
