// Picture files beyond MemDC::load_picture: how a reader treats a damaged file, and a picture rewritten whole.
#pragma once
#include <cstdint>
#include <vector>

// What a reader does with a file that ends early or holds damaged data. kept: it gives the rows it could decode
// (the rest grey for JPEG, black for BMP) and says the picture is damaged, so a picture opened by the player
// still plays. refused: the picture is refused as soon as the damage shows, and nothing is printed; a saved
// game's copy of its picture must be whole, since the game's pieces were cut from the whole picture.
enum class Damage { kept, refused };

// The picture file `file_name` as load_picture reads it, damage and all, as the bytes of a whole 24-bit BMP file
// of the same size, so that a game cut from a damaged file can be saved with a picture that reads back the same.
// Empty when the file cannot be read. Nothing is shown to the player.
std::vector<uint8_t> picture_as_bmp(const char* file_name);
