// The module's diagnostic log: one plain-text file with a trace of the module's life.
//
// The file is "C:\Temp\QuarelMap.log" on Windows and QuarelMap.log in $TMPDIR (else /tmp)
// elsewhere, truncated at every module load. The environment variable QUARELMAP_LOG switches it
// off when its first character is one of '0', 'F', 'N', 'f', 'n'; any other value, an empty
// value or no variable leaves it on.
//
// Lines are printf-style messages without a line feed of their own; the writer prefixes the
// local time and the thread id, adds the line feed and flushes. Writes may come from any thread
// at any time: before DiagLogOpen and after DiagLogClose they are dropped, and a disabled log
// formats nothing. Open and close are called by the module entry point only.
#pragma once

#if defined(__MINGW32__)
// MinGW's C++ runtime formats with its own C99 printf, not the system's older one, so formats
// are checked as GNU ones (%zu, %lld), as the writer will format them.
#define QUAREL_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__) || defined(__clang__)
#define QUAREL_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QUAREL_PRINTF_FORMAT(fmt, args)
#endif

namespace QuarelNS {

// Reads the switch and, when on, creates the directory, opens the file and writes the opening
// banner. Does nothing while the log is already open.
void DiagLogOpen();

// Writes the closing banner and closes the file. Safe to call when the log was never opened.
void DiagLogClose();

// One line: "[hh:mm:ss.mmm tNNNN] " followed by the formatted message.
void DiagLog(const char* format, ...) QUAREL_PRINTF_FORMAT(1, 2);

// Whether QUARELMAP_LOG's value (null when unset) leaves the log on.
bool DiagLogSwitchIsOn(const char* value);

}  // namespace QuarelNS
