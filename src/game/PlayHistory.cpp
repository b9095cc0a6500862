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
    start = Here(board);
    assists.NewPosition(start->position.pieces, start->position.player);
}

void PlayHistory::Continue(const BoardPosition& position, PlayBoard& board, bool wait)
{
    board.Lay(position, Player::StandingAt(position.player, position.facing));
    shotsCounted = position.shots;
    assists.NewPosition(position.pieces, position.player);
    assists.TakeAnswer(wait);
}

void PlayHistory::StartAgain(PlayBoard& board, SoundPlayer& sound, bool wait)
{
    GoTo(*start, board, sound, wait);
}

void PlayHistory::ReadKeys(Keyboard& keys, Settings& settings, bool keyLineShown, PlayBoard& board,
                           SoundPlayer& sound, bool wait)
{
    const int key = FirstGameKeyDown(keys, {VirtualKey::H, VirtualKey::Z, VirtualKey::Back, VirtualKey::Y,
                                            VirtualKey::R, VirtualKey::F1, VirtualKey::Tab});
    if (key == 0) {
        latch.Open();
        return;
    }
    if (!latch.Take())
        return;
    switch (key) {
    case VirtualKey::H:
        if (!assists.AskHint())
            sound.PlayEffect(GameSound::Refused, false);
        break;
    case VirtualKey::F1:
        settings.keyLine = !keyLineShown;
        break;
    case VirtualKey::Tab:
        planShown = !planShown;
        break;
    case VirtualKey::Y:
        Redo(board, sound, wait);
        break;
    case VirtualKey::R:
        Restart(board, sound, wait);
        break;
    default:
        if (key == VirtualKey::Z && GameKeyDown(keys, VirtualKey::Shift))
            Redo(board, sound, wait);
        else
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
    assists.ForgetRedo();
    assists.LeavePosition();
    awaitingRest = true;
}

void PlayHistory::SearchWhenAtRest(const PlayBoard& board, bool ended, bool wait)
{
    if (!awaitingRest || !board.AtRest())
        return;
    awaitingRest = false;
    newPosition = true;
    if (ended)
        return;
    const BoardPosition position = board.Position();
    assists.NewPosition(position.pieces, position.player);
    assists.TakeAnswer(wait);
}

UndoStep PlayHistory::Here(const PlayBoard& board) const
{
    return {board.Position(), board.player.Pose(), assists.Known()};
}

void PlayHistory::GoTo(UndoStep step, PlayBoard& board, SoundPlayer& sound, bool wait)
{
    if (board.player.chargeSoundOn)
        sound.StopEffect(GameSound::Charge);
    board.Lay(step.position, step.pose);
    shotsCounted = step.position.shots;
    newPosition = true;
    restPoint.reset();
    assists.NewPosition(std::move(step.position.pieces), board.Position().player, std::move(step.known));
    assists.TakeAnswer(wait);
    sound.PlayEffect(GameSound::Cursor, false);
}

void PlayHistory::Undo(PlayBoard& board, SoundPlayer& sound, bool wait)
{
    Travel(board.AtRest() ? assists.Pop() : std::nullopt, &Assists::PushRedo, board, sound, wait);
}

void PlayHistory::Redo(PlayBoard& board, SoundPlayer& sound, bool wait)
{
    Travel(board.AtRest() ? assists.PopRedo() : std::nullopt, &Assists::Push, board, sound, wait);
}

void PlayHistory::Travel(std::optional<UndoStep> step, void (Assists::*keepHere)(UndoStep), PlayBoard& board,
                         SoundPlayer& sound, bool wait)
{
    if (!step) {
        sound.PlayEffect(GameSound::Refused, false);
        return;
    }
    (assists.*keepHere)(Here(board));
    GoTo(std::move(*step), board, sound, wait);
}

// A restart is one more step back in the history: undo returns to where it
// was, and the shots go back to none.
void PlayHistory::Restart(PlayBoard& board, SoundPlayer& sound, bool wait)
{
    if (!start || !board.AtRest() || board.Position() == start->position) {
        sound.PlayEffect(GameSound::Refused, false);
        return;
    }
    assists.Push(Here(board));
    assists.ForgetRedo();
    GoTo(*start, board, sound, wait);
}
