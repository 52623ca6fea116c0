// ShellExecuteA with the "open" verb: starts a program directly, without a
// shell and without waiting for it.
//
// A Windows program name ("vynlg.exe") stands for the executable of the same
// name without ".exe", looked for first beside this program's own executable,
// as Windows looks in the application's folder first, then along PATH. The
// working directory "c:\windows" is the Windows directory.
//
// The program is started through an intermediate child that exits at once,
// so it is adopted by init and never lingers as our zombie, however long this
// process lives. A close-on-exec pipe reports whether the exec worked: it
// reads end-of-file when the program is running, or the exec's errno.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "kernel/Kernel.h"
#include "kernel/Shell.h"

namespace vyn::kernel {
namespace {

bool EndsWithIgnoringCase(const std::string& text, const char* suffix) {
  std::string tail = suffix;
  return text.size() >= tail.size() && strcasecmp(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

bool IsExecutableFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string OwnExecutableFolder() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string full(path, static_cast<size_t>(length));
  return full.substr(0, full.find_last_of('/'));
}

// The folders a bare program name is looked for in, in order.
std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders{OwnExecutableFolder()};
  const char* path = std::getenv("PATH");
  std::string list = path != nullptr ? path : "";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string folder = list.substr(start, end - start);
    folders.push_back(folder.empty() ? std::string(".") : folder);
    start = end + 1;
  }
  return folders;
}

// Windows file names have no case, Linux ones do: "VYNLG.EXE" finds an
// executable "VYNLG" or, failing that, "vynlg".
std::vector<std::string> NameSpellings(const std::string& name) {
  std::string lower = name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower == name) return {name};
  return {name, lower};
}

// The executable that a file name stands for, or empty when there is none.
std::string ResolveProgram(std::string file) {
  if (EndsWithIgnoringCase(file, ".exe")) file.resize(file.size() - 4);
  if (file.empty()) return {};
  if (file.find('/') != std::string::npos) return IsExecutableFile(file) ? file : std::string();
  for (const std::string& folder : SearchFolders())
    for (const std::string& name : NameSpellings(file))
      if (std::string candidate = folder + "/" + name; IsExecutableFile(candidate)) return candidate;
  return {};
}

bool IsWindowsDirectoryName(std::string directory) {
  while (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) directory.pop_back();
  return strcasecmp(directory.c_str(), "c:\\windows") == 0 || strcasecmp(directory.c_str(), "c:/windows") == 0;
}

// The folder the program starts in; empty means this process's own. The
// Windows directory always exists on Windows, so it is made when missing.
std::string WorkingDirectory(const char* directory) {
  if (directory == nullptr || directory[0] == '\0') return {};
  if (!IsWindowsDirectoryName(directory)) return directory;
  std::string folder = WindowsDirectory();
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    mkdir(folder.substr(0, slash).c_str(), 0700);
    if (slash == std::string::npos) break;
  }
  return folder;
}

// Parameters split at blanks; double quotes group words that hold blanks.
std::vector<std::string> SplitParameters(const char* parameters) {
  std::vector<std::string> words;
  if (parameters == nullptr) return words;
  std::string word;
  bool quoted = false, inWord = false;
  for (const char* p = parameters; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((*p == ' ' || *p == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += *p;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// Runs in the grandchild: only async-signal-safe calls between fork and exec.
[[noreturn]] void ExecProgram(const char* program, char* const* argv, const char* directory, int reportFd) {
  int error = 0;
  if (directory[0] != '\0' && chdir(directory) != 0) {
    error = errno;
  } else {
    execv(program, argv);
    error = errno;
  }
  ssize_t ignored = write(reportFd, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// 0 when the program is running, else the errno that stopped it.
int StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& directory) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  pid_t child = fork();
  if (child < 0) {
    int error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }
  if (child == 0) {
    close(report[0]);
    pid_t grandchild = fork();
    if (grandchild == 0) ExecProgram(program.c_str(), argv.data(), directory.c_str(), report[1]);
    if (grandchild < 0) {
      int error = errno;
      ssize_t ignored = write(report[1], &error, sizeof error);
      (void)ignored;
    }
    _exit(0);
  }
  close(report[1]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

HINSTANCE ShellResult(int code) { return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(code)); }

}  // namespace
}  // namespace vyn::kernel

// The parent window and the show command have no effect here: the started
// program opens its own windows as it likes.
HINSTANCE ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT) {
  using namespace vyn::kernel;
  if (verb != nullptr && strcasecmp(verb, "open") != 0) return ShellResult(SE_ERR_NOASSOC);
  if (file == nullptr) return ShellResult(SE_ERR_FNF);
  std::string program = ResolveProgram(file);
  if (program.empty()) return ShellResult(SE_ERR_FNF);

  int error = StartDetached(program, SplitParameters(parameters), WorkingDirectory(directory));
  if (error == 0) return ShellResult(42);
  if (error == ENOENT || error == ENOTDIR) return ShellResult(SE_ERR_PNF);
  if (error == EACCES || error == EPERM) return ShellResult(SE_ERR_ACCESSDENIED);
  return ShellResult(SE_ERR_OOM);
}
