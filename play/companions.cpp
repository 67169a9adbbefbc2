// The companion windows' request values and doors, owned by the game.
#include "play/companions.h"

std::string view_folder;
std::string view_title;
std::string view_result;
Companions companions;
