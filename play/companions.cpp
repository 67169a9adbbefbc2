// The companion windows' request values and doors, owned by the game.
#include "play/companions.h"

Companions companions;
