#pragma once

// Why a stage was lost: the player has no free cell beside it to fire from,
// or no shot could turn anything over any more.
enum class LossReason { None, WalledIn, NoUsefulShot };
