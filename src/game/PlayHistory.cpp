#include "game/PlayHistory.h"

#include "app/Settings.h"
#include "game/GameKeys.h"
#include "game/GameSounds.h"
#include "game/PlayBoard.h"
#include "platform/VirtualKey.h"
#include "sound/SoundPlayer.h"

PlayHistory::PlayHistory(BackgroundSolve::Pace pace) : assists(pace) {}

void PlayHistory::Start(const PlayBoard& board)
{
    const BoardPosition start = board.Position();
    assists.NewPosition(start.pieces, start.player);
}

void PlayHistory::ReadKeys(Keyboard& keys, Settings& settings, bool keyLineShown, PlayBoard& board,
                           SoundPlayer& sound, bool wait)
{
    const int key = FirstGameKeyDown(keys, {VirtualKey::H, VirtualKey::Z, VirtualKey::Back, VirtualKey::F1});
    if (key == 0) {
        latch.Open();
        return;
    }
    if (!latch.Take())
        return;
    switch (key) {
    case VirtualKey::H:
        assists.AskHint();
        break;
    case VirtualKey::F1:
        settings.keyLine = !keyLineShown;
        break;
    default:
        Undo(board, sound, wait);
        break;
    }
}

// Undo goes back to the last frame before a charge began.
void PlayHistory::KeepRestPoint(const PlayBoard& board)
{
    if (board.player.state == PlayerState::Idle && board.AtRest())
        restPoint = UndoStep{board.Position(), board.player.Pose(), {}};
}

void PlayHistory::CountShot(const PlayBoard& board)
{
    if (board.player.score == shotsCounted)
        return;
    shotsCounted = board.player.score;
    if (restPoint) {
        restPoint->known = assists.Known();
        assists.Push(std::move(*restPoint));
        restPoint.reset();
    }
    assists.LeavePosition();
    awaitingRest = true;
}

void PlayHistory::SearchWhenAtRest(const PlayBoard& board, bool ended, bool wait)
{
    if (!awaitingRest || !board.AtRest())
        return;
    awaitingRest = false;
    if (ended)
        return;
    const BoardPosition position = board.Position();
    assists.NewPosition(position.pieces, position.player);
    assists.TakeAnswer(wait);
}

void PlayHistory::Undo(PlayBoard& board, SoundPlayer& sound, bool wait)
{
    std::optional<UndoStep> step;
    if (board.AtRest())
        step = assists.Pop();
    if (!step || !board.CanLay(step->position)) {
        sound.PlayEffect(GameSound::Refused, false);
        return;
    }
    if (board.player.chargeSoundOn)
        sound.StopEffect(GameSound::Charge);
    board.Lay(step->position, step->pose);
    shotsCounted = step->position.shots;
    restPoint.reset();
    assists.NewPosition(std::move(step->position.pieces), board.Position().player, std::move(step->known));
    assists.TakeAnswer(wait);
    sound.PlayEffect(GameSound::Cursor, false);
}
