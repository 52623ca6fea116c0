// Mutexes, named ones shared by every process of the user.
//
// A name exists while any live process holds a handle to it. Every handle
// keeps its own open file description of the name's lock file with a shared
// flock on it. Whether a name already exists is asked by trying for an
// exclusive flock: it is refused exactly while some other handle holds its
// shared one. The kernel drops a process's flocks when the process ends, by
// exit, crash or SIGKILL alike, so a name can never outlive its holders and a
// left-over lock file means nothing. The file is never deleted: deleting it
// would let two processes lock two different files under one name.
//
// The test and the change from exclusive to shared are two steps (flock does
// not convert atomically), so they run while holding the namespace's guard
// file: two starts at the same moment are put one after the other, and only
// one of them sees the name as new.
//
// Ownership is kept in this process only, in one record that all handles to
// the same name here share; nothing waits on a mutex, so no other process
// needs to know who owns it.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "kernel/HandleTable.h"
#include "kernel/Kernel.h"
#include "kernel/ObjectNamespace.h"

namespace vyn::kernel {
namespace {

struct MutexState {
  std::mutex lock;
  std::thread::id owner;
  unsigned recursion = 0;
};

class Mutex : public KernelObject {
 public:
  Mutex(int lockFd, std::shared_ptr<MutexState> state) : lockFd_(lockFd), state_(std::move(state)) {}
  ~Mutex() override {
    if (lockFd_ >= 0) close(lockFd_);
  }
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  MutexState& state() { return *state_; }

 private:
  int lockFd_;  // -1 for an unnamed mutex
  std::shared_ptr<MutexState> state_;
};

// The one ownership record of a name in this process.
std::shared_ptr<MutexState> SharedStateFor(const std::string& lockFile) {
  static std::mutex lock;
  static std::map<std::string, std::weak_ptr<MutexState>> states;
  std::lock_guard guard(lock);
  std::shared_ptr<MutexState> state = states[lockFile].lock();
  if (!state) {
    state = std::make_shared<MutexState>();
    states[lockFile] = state;
  }
  return state;
}

// Descriptors are close-on-exec: a program started from here must not keep
// our names alive.
int OpenLockFile(const std::string& path) {
  return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

bool Flock(int fd, int operation) {
  while (flock(fd, operation) != 0)
    if (errno != EINTR) return false;
  return true;
}

// The guard is held only for a few system calls. Waiting for it is bounded
// (about five seconds) so that a holder stopped in a debugger cannot hang
// every later start.
bool AcquireGuard(int guardFd) {
  for (int attempt = 0; attempt < 5000; ++attempt) {
    if (flock(guardFd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    usleep(1000);
  }
  return false;
}

// Opens the name's lock file and takes the shared lock on it. `existed` tells
// whether another handle, in this process or another, already held the name.
int JoinName(const ObjectPaths& paths, bool& existed, DWORD& error) {
  int guardFd = OpenLockFile(paths.guardFile);
  if (guardFd < 0) {
    error = ERROR_ACCESS_DENIED;
    return -1;
  }
  int lockFd = -1;
  if (AcquireGuard(guardFd)) {
    lockFd = OpenLockFile(paths.lockFile);
    if (lockFd >= 0) {
      existed = flock(lockFd, LOCK_EX | LOCK_NB) != 0;
      if (!Flock(lockFd, LOCK_SH)) {
        close(lockFd);
        lockFd = -1;
      }
    }
  }
  if (lockFd < 0) error = ERROR_ACCESS_DENIED;
  close(guardFd);
  return lockFd;
}

HANDLE NewMutexHandle(int lockFd, std::shared_ptr<MutexState> state, bool takeOwnership) {
  if (takeOwnership) {
    std::lock_guard guard(state->lock);
    state->owner = std::this_thread::get_id();
    state->recursion = 1;
  }
  return AddHandle(std::make_unique<Mutex>(lockFd, std::move(state)));
}

Mutex* LookUpMutex(HANDLE handle) { return dynamic_cast<Mutex*>(LookUpHandle(handle)); }

}  // namespace
}  // namespace vyn::kernel

// The security attributes are accepted and ignored: a name is always private
// to its user.
HANDLE CreateMutexA(SECURITY_ATTRIBUTES*, BOOL initialOwner, LPCSTR name) {
  using namespace vyn::kernel;
  if (name == nullptr || name[0] == '\0') {
    SetLastError(ERROR_SUCCESS);
    return NewMutexHandle(-1, std::make_shared<MutexState>(), initialOwner != FALSE);
  }
  ObjectPaths paths;
  DWORD error = ERROR_SUCCESS;
  if (!ObjectPathsFor(name, paths, error)) {
    SetLastError(error);
    return nullptr;
  }
  bool existed = false;
  int lockFd = JoinName(paths, existed, error);
  if (lockFd < 0) {
    SetLastError(error);
    return nullptr;
  }
  // Opening an existing mutex never grants ownership, whatever was asked.
  HANDLE handle = NewMutexHandle(lockFd, SharedStateFor(paths.lockFile), initialOwner != FALSE && !existed);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReleaseMutex(HANDLE handle) {
  vyn::kernel::Mutex* mutex = vyn::kernel::LookUpMutex(handle);
  if (mutex == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  vyn::kernel::MutexState& state = mutex->state();
  std::lock_guard guard(state.lock);
  if (state.recursion == 0 || state.owner != std::this_thread::get_id()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--state.recursion == 0) state.owner = std::thread::id();
  return TRUE;
}
