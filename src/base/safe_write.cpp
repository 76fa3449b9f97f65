// Replacing files whole, without following planted names or losing modes.
#include "base/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fstream>

#include "base/message_sink.h"

namespace quorix {

namespace {

enum class WriteResult { Ok, CannotCreate, WriteFailed };

// The temporary of the write in progress, for the signal handler: a fixed
// buffer, because the handler may touch nothing that allocates.
char g_temporary[PATH_MAX + 1];
volatile std::sig_atomic_t g_temporaryActive = 0;
std::atomic<bool> g_slotTaken{false};

extern "C" void RemoveTemporaryAndReraise(int sig) {
  if (g_temporaryActive) ::unlink(g_temporary);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

std::string Why(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// What a new file gets: 0666 less the umask, read without changing it
// (umask() would, for a moment, for every thread).
mode_t NewFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  return 0644;
}

// The file a name stands for after its symlinks, also when the last one
// dangles (the shell's `>` creates the link's target); empty with `error`
// set when the chain cannot be followed.
std::string FollowLinks(std::string path, int& error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno == ENOENT) return path;
      error = errno;
      return {};
    }
    if (!S_ISLNK(st.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof target) {
      error = n < 0 ? errno : ENAMETOOLONG;
      return {};
    }
    std::string next(target, static_cast<std::size_t>(n));
    if (next.front() == '/') {
      path = std::move(next);
    } else {
      std::string relative = FolderOf(path);
      relative += '/';
      relative += next;
      path = std::move(relative);
    }
  }
  error = ELOOP;
  return {};
}

// Writes through `f`, flushes it to the disk and closes it; false with
// `error` set on any failure.
bool WriteAndClose(std::FILE* f, const FileProducer& produce, int& error, bool sync) {
  errno = 0;
  bool ok = produce(f);
  ok = std::fflush(f) == 0 && ok;
  if (!ok) error = errno != 0 ? errno : EIO;
  if (ok && sync && ::fsync(::fileno(f)) != 0 && errno != EINVAL) {
    error = errno;
    ok = false;
  }
  if (std::fclose(f) != 0 && ok) {
    error = errno;
    ok = false;
  }
  return ok;
}

// A device, a pipe with a reader, or an open file named through /dev or
// /proc: written where it is, never replaced.
WriteResult WriteInPlace(const std::string& path, bool truncate, const FileProducer& produce, std::string& why) {
  // Without O_NONBLOCK a FIFO nobody reads would wait for ever.
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (truncate ? O_TRUNC : 0));
  if (fd < 0) {
    why = errno == ENXIO ? "nobody reads it" : Why(errno);
    return WriteResult::CannotCreate;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    why = Why(errno);
    ::close(fd);
    return WriteResult::CannotCreate;
  }
  int error = 0;
  if (!WriteAndClose(f, produce, error, false)) {
    why = Why(error);
    return WriteResult::WriteFailed;
  }
  return WriteResult::Ok;
}

bool NamesAnOpenFile(const std::string& name) { return name.rfind("/dev/", 0) == 0 || name.rfind("/proc/", 0) == 0; }

WriteResult WriteFileAtomically(const std::string& fileName, const FileProducer& produce, std::string* reason) {
  std::string why;
  const auto fail = [&](WriteResult r, const std::string& text) {
    if (reason) *reason = text;
    return r;
  };
  if (fileName.empty()) return fail(WriteResult::CannotCreate, "no file name");

  struct stat st {};
  if (::stat(fileName.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return fail(WriteResult::CannotCreate, "it is a folder");
    if (S_ISSOCK(st.st_mode)) return fail(WriteResult::CannotCreate, kNotARegularFile);
    // /dev/stdout and the like stand for a file the caller holds open;
    // replacing it would send the output past that file.
    if (!S_ISREG(st.st_mode) || NamesAnOpenFile(fileName)) {
      const WriteResult r = WriteInPlace(fileName, S_ISREG(st.st_mode), produce, why);
      return r == WriteResult::Ok ? r : fail(r, why);
    }
  } else if (errno != ENOENT) {
    return fail(WriteResult::CannotCreate, Why(errno));
  }

  int error = 0;
  const std::string target = FollowLinks(fileName, error);
  if (target.empty()) return fail(WriteResult::CannotCreate, Why(error));
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // The rename needs only the folder's permission; the shell would refuse.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    return fail(WriteResult::CannotCreate, Why(errno));

  // A short name of its own, so that a target whose name is as long as the
  // system allows still gets a temporary beside it.
  std::string pattern = FolderOf(target) + "/.quorix-XXXXXX";
  const bool registered = pattern.size() < sizeof g_temporary && !g_slotTaken.exchange(true);
  char* name = registered ? g_temporary : pattern.data();
  if (registered) std::memcpy(g_temporary, pattern.c_str(), pattern.size() + 1);
  const int fd = ::mkostemp(name, O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    if (registered) g_slotTaken = false;
    return fail(WriteResult::CannotCreate, Why(e));
  }
  if (registered) g_temporaryActive = 1;
  const std::string temporary = name;
  const auto release = [&] {
    if (!registered) return;
    g_temporaryActive = 0;
    g_slotTaken = false;
  };
  const auto discard = [&](WriteResult r, const std::string& text) {
    ::unlink(temporary.c_str());
    release();
    return fail(r, text);
  };

  if (exists) {
    // Owner first: a change of owner may clear the set-id bits of the mode.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    ::fchmod(fd, NewFileMode());
  }
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    const int e = errno;
    ::close(fd);
    return discard(WriteResult::CannotCreate, Why(e));
  }
  if (!WriteAndClose(f, produce, error, true)) return discard(WriteResult::WriteFailed, Why(error));
  if (::rename(temporary.c_str(), target.c_str()) != 0) return discard(WriteResult::CannotCreate, Why(errno));
  release();
  return WriteResult::Ok;
}

// "Error writing file X." with ": why" before its full stop.
std::string WithReason(const std::string& message, const std::string& why) {
  if (why.empty()) return message;
  if (!message.empty() && message.back() == '.') return message.substr(0, message.size() - 1) + ": " + why + ".";
  return message + ": " + why;
}

}  // namespace

bool WriteFileReporting(const std::string& fileName, std::string_view bytes, MessageSink& sink,
                        const std::string& cannotCreate, const std::string& writeFailed) {
  return WriteFileReporting(
      fileName, [&](std::FILE* f) { return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(); }, sink,
      cannotCreate, writeFailed);
}

bool WriteFileReporting(const std::string& fileName, const FileProducer& produce, MessageSink& sink,
                        const std::string& cannotCreate, const std::string& writeFailed) {
  std::string why;
  switch (WriteFileAtomically(fileName, produce, &why)) {
    case WriteResult::Ok: return true;
    case WriteResult::CannotCreate: sink.Message(WithReason(cannotCreate, why)); return false;
    case WriteResult::WriteFailed: sink.Message(WithReason(writeFailed, why)); return false;
  }
  return false;
}

bool WriteFile(const std::string& fileName, std::string_view bytes, MessageSink& sink) {
  return WriteFileReporting(fileName, bytes, sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

bool WriteFile(const std::string& fileName, const FileProducer& produce, MessageSink& sink) {
  return WriteFileReporting(fileName, produce, sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

void RemoveTemporariesOnTermination() {
  for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(sig, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndReraise;
    sigemptyset(&action.sa_mask);
    ::sigaction(sig, &action, nullptr);
  }
}

}  // namespace quorix
