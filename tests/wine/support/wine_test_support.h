// Helpers for the tests that run under Wine: alert boxes seen and dismissed as a user
// would, child processes with an exact command line, scratch folders and files.
#pragma once
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenAlert {
    std::string caption;
    std::string text;
};

// Watches for message boxes of one process, reads their caption and text, and presses OK.
class AlertCollector {
  public:
    explicit AlertCollector(DWORD processId = GetCurrentProcessId());
    ~AlertCollector();
    // Stops watching and returns every box seen, in order.
    std::vector<SeenAlert> Finish();

  private:
    void Watch();
    DWORD processId_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenAlert> seen_;
    std::thread thread_;
};

// The path of a program named on the test's command line as a Unix path, as Windows sees it.
std::string WindowsPathOf(const char *unixPath);

// Starts commandLine as it stands in directory (NULL: the current one), with title (if any)
// in its start-up record. Returns the process handle or NULL.
HANDLE StartProcess(const std::string &commandLine, const char *directory = NULL,
                    const char *title = NULL);

// Waits for the process to end and returns its exit status (STILL_ACTIVE on time-out).
DWORD WaitForExit(HANDLE process, DWORD timeoutMs);

// A fresh folder at the root of drive C:, removed with everything in it at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const char *name);
    ~ScratchFolder();
    const std::string &Path() const {
        return path_;
    }
    std::string File(const std::string &name) const {
        return path_ + "\\" + name;
    }
    void Write(const std::string &name, const std::string &content) const;
    void MakeFolder(const std::string &name) const;

  private:
    std::string path_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string &path);
