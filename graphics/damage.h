// How a picture reader treats a file that ends early or holds damaged data.
#pragma once

// kept: the reader gives the rows it could decode (the rest grey for JPEG, black for BMP) and says the picture is
// damaged, so a picture opened by the player still plays. refused: the picture is refused as soon as the damage
// shows, and nothing is printed; a saved game's copy of its picture must be whole, since the game's pieces were cut
// from the whole picture.
enum class Damage { kept, refused };
