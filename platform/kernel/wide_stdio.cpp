#include "kernel/wide_stdio.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/file.h"
#include "open_files.h"
#include "text/codepage.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace device {
namespace {

// The host file behind a stream: the descriptor and the open's claim on the file.
struct StreamFile {
  int fd;
  std::unique_ptr<FileShare> share;
  FILE* stream = nullptr;
};

// The streams opened in text mode, until they are closed.
struct TextStreams {
  std::mutex mutex;
  std::set<FILE*> streams;
};

TextStreams& Text()
{
  static TextStreams* text = new TextStreams;
  return *text;
}

bool IsTextStream(FILE* stream)
{
  TextStreams& text = Text();
  std::lock_guard lock(text.mutex);
  return text.streams.count(stream) != 0;
}

ssize_t ReadStream(void* cookie, char* buffer, size_t size)
{
  return read(static_cast<StreamFile*>(cookie)->fd, buffer, size);
}

ssize_t WriteStream(void* cookie, const char* buffer, size_t size)
{
  size_t done = 0;
  while (done < size) {
    ssize_t put = write(static_cast<StreamFile*>(cookie)->fd, buffer + done, size - done);
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      return done > 0 ? static_cast<ssize_t>(done) : -1;
    }
    done += static_cast<size_t>(put);
  }
  return static_cast<ssize_t>(done);
}

int SeekStream(void* cookie, off64_t* offset, int whence)
{
  off64_t position = lseek64(static_cast<StreamFile*>(cookie)->fd, *offset, whence);
  if (position < 0) {
    return -1;
  }
  *offset = position;
  return 0;
}

int CloseStream(void* cookie)
{
  std::unique_ptr<StreamFile> file(static_cast<StreamFile*>(cookie));
  {
    TextStreams& text = Text();
    std::lock_guard lock(text.mutex);
    text.streams.erase(file->stream);
  }
  return close(file->fd);
}

struct Mode {
  int flags;
  DWORD access;
  bool text;
  const char* streamMode;
};

std::optional<Mode> ParseMode(std::u16string_view mode)
{
  if (mode.empty()) {
    return std::nullopt;
  }
  bool update = false, binary = false, text = false;
  for (char16_t c : mode.substr(1)) {
    if (c == u'+' && !update) {
      update = true;
    } else if (c == u'b' && !binary && !text) {
      binary = true;
    } else if (c == u't' && !binary && !text) {
      text = true;
    } else {
      return std::nullopt;
    }
  }
  int access = update ? O_RDWR : 0;
  DWORD generic = update ? GENERIC_READ | GENERIC_WRITE : 0;
  switch (mode[0]) {
    case u'r':
      return Mode{access | (update ? 0 : O_RDONLY), update ? generic : GENERIC_READ, !binary, update ? "r+" : "r"};
    case u'w':
      return Mode{(update ? access : O_WRONLY) | O_CREAT | O_TRUNC, update ? generic : GENERIC_WRITE, !binary, update ? "w+" : "w"};
    case u'a':
      return Mode{(update ? access : O_WRONLY) | O_CREAT | O_APPEND, update ? generic : GENERIC_WRITE, !binary, update ? "a+" : "a"};
    default:
      return std::nullopt;
  }
}

// Writes UTF-16 text as UTF-8, line feeds as CR LF on a text stream. Returns the characters
// written (as given, before line feeds became CR LF), or -1.
int WriteWide(FILE* stream, std::u16string_view text)
{
  int written = static_cast<int>(text.size());
  std::u16string lines;
  if (IsTextStream(stream)) {
    for (char16_t c : text) {
      if (c == u'\n') {
        lines += u'\r';
      }
      lines += c;
    }
    text = lines;
  }
  if (text.empty()) {
    return 0;
  }
  int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  if (size <= 0 || fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) {
    return -1;
  }
  return written;
}

}  // namespace
}  // namespace device

using namespace device;

FILE* _wfopen(const WCHAR* filename, const WCHAR* mode)
{
  std::optional<Mode> parsed = mode ? ParseMode(mode) : std::nullopt;
  if (!filename || !parsed) {
    errno = EINVAL;
    return nullptr;
  }
  std::optional<MappedPath> path = MapPath(filename);
  if (!path || !path->parentExists || (!path->exists && !(parsed->flags & O_CREAT))) {
    errno = ENOENT;
    return nullptr;
  }
  // Nothing is truncated before the share modes of the other opens allowed this one.
  int fd = open(path->host.c_str(), (parsed->flags & ~O_TRUNC) | O_CLOEXEC, 0666);
  if (fd < 0) {
    return nullptr;
  }
  struct stat info {};
  auto file = std::make_unique<StreamFile>();
  file->fd = fd;
  file->share = FileShare::Admit(fd, parsed->access, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !file->share || ((parsed->flags & O_TRUNC) && ftruncate(fd, 0) != 0)) {
    close(fd);
    errno = EACCES;
    return nullptr;
  }
  cookie_io_functions_t functions{ReadStream, WriteStream, SeekStream, CloseStream};
  FILE* stream = fopencookie(file.get(), parsed->streamMode, functions);
  if (!stream) {
    close(fd);
    return nullptr;
  }
  file->stream = stream;
  file.release();
  if (parsed->text) {
    TextStreams& text = Text();
    std::lock_guard lock(text.mutex);
    text.streams.insert(stream);
  }
  return stream;
}

int vfwprintf(FILE* stream, const WCHAR* format, kv::FormatArgs args)
{
  if (!stream || !format) {
    return -1;
  }
  std::u16string text(kv::FormatInto(nullptr, 0, format, args), u'\0');
  kv::FormatInto(text.data(), text.size() + 1, format, args);
  return WriteWide(stream, text);
}

int fputws(const WCHAR* text, FILE* stream)
{
  if (!stream || !text) {
    return EOF;
  }
  return WriteWide(stream, text) < 0 ? EOF : 0;
}
