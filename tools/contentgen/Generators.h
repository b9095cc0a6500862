#pragma once

#include "ContentWriter.h"
#include "Ui.h"
#include "assets/AssetFiles.h"

// Each writes one family of the game's content into the runtime directory,
// under the names the game asks for them by (assets/AssetFiles.h).

void WriteBlocks(ContentWriter& out);
void WritePlayer(ContentWriter& out);
void WriteLaunchMarker(ContentWriter& out);
void WriteStageBoards(ContentWriter& out);
void WriteSkies(ContentWriter& out);
void WriteTitleModels(ContentWriter& out, const ui::Fonts& fonts);
void WriteGameHud(ContentWriter& out, const ui::Fonts& fonts);
void WriteAssistHud(ContentWriter& out, const ui::Fonts& fonts);
void WriteTitleMenu(ContentWriter& out, const ui::Fonts& fonts);
void WriteSelectPanel(ContentWriter& out, const ui::Fonts& fonts);
void WriteStageIdeas(ContentWriter& out, const ui::Fonts& fonts);
void WriteEditorTiles(ContentWriter& out);
