// The named mutex: when a name exists, who owns it, and that it never
// outlives the processes holding it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include <gtest/gtest.h>

#include "kernel/Kernel.h"
#include "kernel/Shell.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace {

using vyn::test::ChildProcess;

class NamedMutexTest : public ::testing::Test {
 protected:
  void SetUp() override { environment.Set("XDG_RUNTIME_DIR", runtime.path()); }

  // Asks for the name as a second start would, without keeping it.
  static bool NameExists(const char* name) {
    HANDLE probe = CreateMutexA(nullptr, FALSE, name);
    EXPECT_NE(probe, nullptr);
    bool exists = GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(probe);
    return exists;
  }

  // A holder process; returns its first line ("created", "existed", "failed").
  static std::string StartHolder(ChildProcess& holder) {
    EXPECT_TRUE(holder.started());
    return holder.ReadLine().value_or("no answer");
  }

  vyn::test::TempFolder runtime;
  vyn::test::ScopedEnvironment environment;
};

TEST_F(NamedMutexTest, FirstCreateIsNewAndSecondInSameProcessSeesItExist) {
  SetLastError(ERROR_ALREADY_EXISTS);  // a stale code must not leak through
  HANDLE first = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);

  HANDLE second = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);

  EXPECT_TRUE(CloseHandle(first));
  EXPECT_TRUE(NameExists("vyn")) << "the second handle still holds the name";
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_FALSE(NameExists("vyn")) << "the name goes with its last handle";
}

TEST_F(NamedMutexTest, NamesAreCaseSensitiveAndAnyCharacterIsAllowed) {
  HANDLE lower = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(lower, nullptr);
  EXPECT_FALSE(NameExists("VYN"));
  // Characters that cannot stand in a file name, and their escaped look-alike.
  HANDLE slash = CreateMutexA(nullptr, TRUE, "Global\\a/b c");
  ASSERT_NE(slash, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_FALSE(NameExists("Global%5Ca%2Fb%20c"));
  EXPECT_TRUE(NameExists("Global\\a/b c"));
  CloseHandle(slash);
  CloseHandle(lower);
}

TEST_F(NamedMutexTest, EachRuntimeFolderIsANamespaceOfItsOwn) {
  HANDLE held = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(held, nullptr);
  vyn::test::TempFolder other;
  vyn::test::ScopedEnvironment switched;
  switched.Set("XDG_RUNTIME_DIR", other.path());
  EXPECT_FALSE(NameExists("vyn"));
  CloseHandle(held);
}

TEST_F(NamedMutexTest, UnnamedMutexesAreIndependent) {
  HANDLE a = CreateMutexA(nullptr, TRUE, nullptr);
  HANDLE b = CreateMutexA(nullptr, TRUE, "");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_NE(a, b);
  EXPECT_TRUE(ReleaseMutex(a));
  EXPECT_TRUE(ReleaseMutex(b));
  CloseHandle(a);
  CloseHandle(b);
}

TEST_F(NamedMutexTest, CreateFailsWhenTheRuntimeFolderIsMissing) {
  environment.Set("XDG_RUNTIME_DIR", runtime / "missing");
  EXPECT_EQ(CreateMutexA(nullptr, TRUE, "vyn"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(NamedMutexTest, OverlongNameFails) {
  std::string name(261, 'n');
  EXPECT_EQ(CreateMutexA(nullptr, TRUE, name.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
}

// Without XDG_RUNTIME_DIR the names live in a private folder under /tmp.
TEST_F(NamedMutexTest, FallsBackToAPrivateFolderUnderTmp) {
  environment.Clear("XDG_RUNTIME_DIR");
  std::string name = "vyn-test-" + std::to_string(getpid());
  HANDLE held = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_TRUE(NameExists(name.c_str()));

  struct stat status {};
  std::string folder = "/tmp/vyn-" + std::to_string(getuid());
  ASSERT_EQ(lstat(folder.c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  CloseHandle(held);
  std::remove((folder + "/vyn-object-" + name + ".lock").c_str());
}

TEST_F(NamedMutexTest, OnlyTheOwningThreadReleasesAndOnlyAsOftenAsItOwns) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(mutex, nullptr);

  BOOL otherThreadResult = TRUE;
  DWORD otherThreadError = 0;
  std::thread([&] {
    otherThreadResult = ReleaseMutex(mutex);
    otherThreadError = GetLastError();
  }).join();
  EXPECT_FALSE(otherThreadResult);
  EXPECT_EQ(otherThreadError, ERROR_NOT_OWNER);

  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  CloseHandle(mutex);
}

// Opening an existing mutex never grants ownership; every handle to the name
// in this process reaches the same mutex.
TEST_F(NamedMutexTest, HandlesToOneNameShareOwnership) {
  HANDLE owner = CreateMutexA(nullptr, TRUE, "vyn");
  HANDLE opened = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(owner, nullptr);
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(ReleaseMutex(opened)) << "the owner's ownership is the mutex's, not the handle's";
  EXPECT_FALSE(ReleaseMutex(owner));
  CloseHandle(opened);
  CloseHandle(owner);
}

TEST_F(NamedMutexTest, HandlesThatAreNotLiveAreRejected) {
  int notAHandle = 0;
  EXPECT_FALSE(ReleaseMutex(&notAHandle));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(ReleaseMutex(nullptr));

  HANDLE mutex = CreateMutexA(nullptr, TRUE, "vyn");
  EXPECT_TRUE(CloseHandle(mutex));
  EXPECT_FALSE(CloseHandle(mutex));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(ReleaseMutex(mutex));
}

TEST_F(NamedMutexTest, AnotherProcessHoldingTheNameMakesItExistEvenAfterReleasing) {
  ChildProcess holder({VYN_MUTEX_HOLDER, "vyn", "release"});
  ASSERT_EQ(StartHolder(holder), "created");
  EXPECT_TRUE(NameExists("vyn"));

  HANDLE mine = CreateMutexA(nullptr, TRUE, "vyn");
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(ReleaseMutex(mine)) << "opening an existing mutex grants no ownership";
  CloseHandle(mine);

  holder.CloseInput();
  EXPECT_EQ(holder.ExitCode(), 0);
  EXPECT_FALSE(NameExists("vyn"));
}

TEST_F(NamedMutexTest, AKilledHolderLeavesNoStaleName) {
  for (int signal : {SIGKILL, SIGSEGV}) {
    ChildProcess holder({VYN_MUTEX_HOLDER, "vyn"});
    ASSERT_EQ(StartHolder(holder), "created");
    holder.Kill(signal);
    ASSERT_TRUE(holder.Wait().has_value());
    EXPECT_FALSE(NameExists("vyn")) << "after signal " << signal;

    ChildProcess next({VYN_MUTEX_HOLDER, "vyn"});
    EXPECT_EQ(StartHolder(next), "created") << "after signal " << signal;
  }
}

TEST_F(NamedMutexTest, ASecondProcessSeesTheNameOfTheFirst) {
  ChildProcess first({VYN_MUTEX_HOLDER, "vyn"});
  ASSERT_EQ(StartHolder(first), "created");
  ChildProcess second({VYN_MUTEX_HOLDER, "vyn"});
  EXPECT_EQ(StartHolder(second), "existed");
}

// Starts at the same moment are put one after the other: exactly one of
// them creates the name.
TEST_F(NamedMutexTest, OfManySimultaneousStartsExactlyOneCreates) {
  for (int round = 0; round < 5; ++round) {
    std::vector<std::unique_ptr<ChildProcess>> holders;
    for (int i = 0; i < 8; ++i)
      holders.push_back(std::make_unique<ChildProcess>(std::vector<std::string>{VYN_MUTEX_HOLDER, "vyn"}));
    int created = 0, existed = 0;
    for (auto& holder : holders) {
      std::string outcome = StartHolder(*holder);
      created += outcome == "created";
      existed += outcome == "existed";
    }
    EXPECT_EQ(created, 1) << "round " << round;
    EXPECT_EQ(existed, 7) << "round " << round;
    holders.clear();
    EXPECT_FALSE(NameExists("vyn"));
  }
}

// Looking a name up and taking it is one step for every other process: while
// one start is in the middle of it (here: while the test holds the
// namespace's guard), the others wait for it to finish.
TEST_F(NamedMutexTest, StartsWaitWhileAnotherIsBetweenLookUpAndTake) {
  int guard = open((runtime / "vyn-objects.guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(guard, 0);
  ASSERT_EQ(flock(guard, LOCK_EX), 0);
  ChildProcess holder({VYN_MUTEX_HOLDER, "vyn"});
  EXPECT_EQ(holder.ReadLine(std::chrono::milliseconds(300)), std::nullopt) << "went past a held guard";
  close(guard);
  EXPECT_EQ(holder.ReadLine().value_or("no answer"), "created");
}

// A program started while the handle is open must not inherit the name.
TEST_F(NamedMutexTest, StartedProgramsDoNotInheritTheName) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "vyn");
  ASSERT_NE(mutex, nullptr);
  vyn::test::TempFolder bin;
  bin.Write("lingering", "#!/bin/sh\nexec sleep 5\n");
  chmod((bin / "lingering").c_str(), 0755);
  ASSERT_GT(reinterpret_cast<std::intptr_t>(
                ShellExecuteA(nullptr, "open", (bin / "lingering").c_str(), nullptr, nullptr, SW_SHOW)),
            32);
  ChildProcess child({VYN_MUTEX_HOLDER, "unrelated"});
  ASSERT_EQ(StartHolder(child), "created");
  CloseHandle(mutex);
  EXPECT_FALSE(NameExists("vyn"));
}

}  // namespace
