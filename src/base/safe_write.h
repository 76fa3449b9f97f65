// The one way both programs put a file on disk.
//
// A regular file is replaced through a temporary file created exclusively
// (mkstemp) in the target's folder under a short name of its own, flushed to
// the disk before it is renamed over the target, so that a failed or killed
// write leaves the old file (or none) and never a truncated one. The new file
// keeps the old one's mode and, where the system allows, its owner; a new
// file gets 0666 less the umask, as the shell would create it. A symlink is
// written through to its target, also when that does not exist yet (as `>`
// does); the link stays. Character and block devices are written in place;
// a FIFO only when someone reads it (never a wait); sockets and folders are
// refused. A file the user may not write is refused ("Permission denied"),
// as the shell refuses it, although the folder would allow a rename.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace quorix {

class MessageSink;

// `produce` writes the bytes to the open file and returns false after a
// failed write, so that output made while it is written need not be held whole.
using FileProducer = std::function<bool(std::FILE*)>;

// Puts the file down; a failure is told through `sink` in the caller's words
// followed by the reason: "Cannot create file X" becomes "Cannot create file
// X: Permission denied", "Error writing file X." becomes "Error writing file
// X: No space left on device.". True when the file was written.
bool WriteFileReporting(const std::string& fileName, std::string_view bytes, MessageSink& sink,
                        const std::string& cannotCreate, const std::string& writeFailed);
bool WriteFileReporting(const std::string& fileName, const FileProducer& produce, MessageSink& sink,
                        const std::string& cannotCreate, const std::string& writeFailed);

// The same in the usual words: "Cannot create file PATH: why", "Error writing
// file PATH: why.".
bool WriteFile(const std::string& fileName, std::string_view bytes, MessageSink& sink);
bool WriteFile(const std::string& fileName, const FileProducer& produce, MessageSink& sink);

// "why" for a file that is neither regular nor a device: the readers and the
// log refuse such files with it.
inline constexpr const char* kNotARegularFile = "it is not a regular file";

// Removes the temporary file of a write in progress when SIGTERM, SIGINT or
// SIGHUP ends the program, then ends it as the signal would have. Signals
// that are ignored (nohup) stay ignored. Both programs call it at start-up.
void RemoveTemporariesOnTermination();

}  // namespace quorix
