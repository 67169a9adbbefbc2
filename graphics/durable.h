// Replacing a file so that it is found either wholly old or wholly new, even after a crash or a power cut.
#pragma once
#include <cstdio>
#include <functional>
#include <string>

// Writes `target` through `fill`, which receives an open stream and returns false when it could not write all.
// The contents go to a new temporary file in the same folder, which is flushed to the disk and then renamed over
// `target`; the folder is flushed too, so the rename itself survives a power cut. On any failure (the temporary
// file cannot be made, a write or the flush fails, the disk is full, the rename fails) the temporary file is
// removed, `target` is left as it was, false is returned and `error` (when given) receives the system's reason.
// A new file gets the usual permissions (0666 less the umask); a replaced one keeps its own.
bool durable_write(const std::string& target, const std::function<bool(std::FILE*)>& fill,
                   std::string* error = nullptr);

// Renames `from` to `to` and flushes their folder, so the change survives a power cut. False when the rename fails.
bool durable_rename(const std::string& from, const std::string& to);

// Removes the temporary files that durable_write left beside `target` in a run that was killed while writing
// (those of a process that is still running stay).
void remove_stale_temporaries(const std::string& target);
