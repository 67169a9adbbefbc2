// Reading the sound list "SOUND\SOUND.TXT" into play.sound_list.
#pragma once
#include <cstdio>

#include "play/sound.h"

// Reads the lines of an open sound list: a name, then sync, nostop and loop (each the next token, 0 when it is not
// a number) and the file name. The first event with that name takes the line; unknown names are ignored.
void read_sound_list(std::FILE* file);
