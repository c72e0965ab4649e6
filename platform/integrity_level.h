// Whether Windows lets this program's keys reach another program, judged by
// the two programs' integrity levels.
#pragma once

namespace tavrel {

// Integrity levels by the last part of the token's label, as the system
// gives them: 0x2000 medium (an ordinary program), 0x3000 high (one run as
// administrator); kLevelUnreadable where the token could not be read.
inline constexpr long kLevelUnreadable = -1;
inline constexpr long kMediumLevel = 0x2000;
inline constexpr long kHighLevel = 0x3000;

// True when the system would drop keys sent from a program at `ours` to one
// at `theirs`. A program whose token refuses to be read, once the process
// itself could be opened for limited query, is held to run higher: only
// protected and elevated programs refuse it, and keys sent there would be
// lost while the playback said "DONE!". Our own level unreadable leaves
// nothing to compare with, and playback goes on.
bool targetRunsHigher(long ours, long theirs);

}  // namespace tavrel
