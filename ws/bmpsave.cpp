// The export's BMP file written under the busy cursor.
#include "ws/bmpsave.h"

#include "graphics/bmp_writer.h"
#include "ws/cursor.h"
#include "ws/ws.h"

int32_t save_bmp(MemDC& surface, int32_t x, int32_t y, int32_t width, int32_t height) {
    push_cursor(ws::IDC_WAIT);
    const int32_t written = write_bmp(surface, x, y, width, height);
    pop_cursor();
    return written;
}
