#pragma once

#include <memory>

#include "app/BaseScene.h"
#include "app/SceneContext.h"
#include "app/SceneId.h"

// Builds the scene an id names, handing it the context; nullptr for a scene
// the game does not have.
std::unique_ptr<BaseScene> MakeScene(SceneId id, const SceneContext& context);
