#include "game/ResumeOffer.h"

#include "game/GameKeys.h"
#include "game/GameSounds.h"
#include "game/ResumeFile.h"
#include "platform/VirtualKey.h"
#include "sound/SoundPlayer.h"
#include "stage/ParFile.h"
#include "stage/StageFile.h"

ResumeOffer::ResumeOffer(int group, int stage, const BoardPosition& start)
    : path(ResumeFile::Path(group, stage)), stageCheck(ParFile::Check(StageFile::Path(group, stage)))
{
    if (stageCheck)
        kept = ResumeFile::Read(path, *stageCheck, start);
    asking = kept.has_value();
    // The keys that chose the stage may still be down: the first answer waits for a fresh press.
    latch.Close();
}

std::optional<ResumeOffer::Answer> ResumeOffer::ReadAnswer(Keyboard& keys, SoundPlayer& sound)
{
    const int key = FirstGameKeyDown(
        keys, {VirtualKey::Return, VirtualKey::Left, VirtualKey::Right, VirtualKey::Up, VirtualKey::Down});
    if (key == 0) {
        latch.Open();
        return std::nullopt;
    }
    if (!latch.Take())
        return std::nullopt;
    if (key != VirtualKey::Return) {
        startAgain = !startAgain;
        sound.PlayEffect(GameSound::Cursor, false);
        return std::nullopt;
    }
    asking = false;
    sound.PlayEffect(GameSound::Decide, false);
    return startAgain ? Answer::StartAgain : Answer::Continue;
}

void ResumeOffer::Keep(const BoardPosition& position, bool ended)
{
    if (ended || position.shots == 0 || !stageCheck)
        Forget();
    else
        ResumeFile::Write(path, *stageCheck, position);
}

void ResumeOffer::Forget()
{
    ResumeFile::Remove(path);
}
