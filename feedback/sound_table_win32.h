// The sound table from the program's resources, and playing its entries.
#pragma once
#include <cstdint>

#include "feedback/sound_thread.h"

// Start-up: fills the table; a missing resource leaves a null entry, which plays nothing.
void loadSoundTable();
// Plays entries asynchronously from memory; a new sound cuts off the one still playing.
SoundPlayer& wavePlayer();
// The preview of a newly chosen sound mode while idle (Birds waits a second on the caller).
void playSoundModePreview(int32_t soundMode);
