// Start-up and end of a run: the program's folder, settings, trace log, the picture argument and the main loop.
#pragma once
#include <string>

inline constexpr const char* kSettingsFile = "ZELTORC.TXT";

// The folder that holds the running program (where its data files lie), ending without a separator.
std::string program_directory(const char* argv0);
// The program's arguments joined by blanks: the argument text of the command line.
std::string argument_text(int argc, char** argv);
// The picture named by the argument text: surrounding double quotes are removed (the last character is taken as
// the closing quote), an unquoted text is taken whole.
std::string picture_from_argument(const std::string& args);

// Makes `program_dir` current (a failure leaves the current folder), reads the settings, starts the trace log and
// takes the picture from the argument text.
void startup(const std::string& program_dir, const std::string& args);
// After the loop: writes the settings (a failure is told on stderr and in the trace), deletes the temporary
// pictures and closes the trace log.
void finish_run();

// The whole program: start-up, the main window, the message loop, the end of the run. Returns the exit code.
int win_main(int argc, char** argv);
