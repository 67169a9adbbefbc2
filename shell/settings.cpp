// The process-wide settings record and the hook through which the skin file is read.
#include "shell/settings.h"

Settings settings;

void (*read_skin_file)(std::FILE* file) = nullptr;
