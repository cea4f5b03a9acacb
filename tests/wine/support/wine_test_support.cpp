#include "wine_test_support.h"
#include <stdio.h>

AlertCollector::AlertCollector(DWORD processId)
    : processId_(processId), thread_(&AlertCollector::Watch, this) {}

AlertCollector::~AlertCollector() {
    Finish();
}

std::vector<SeenAlert> AlertCollector::Finish() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

void AlertCollector::Watch() {
    std::vector<HWND> answered;
    while (!stop_) {
        for (HWND w = FindWindowExA(NULL, NULL, "#32770", NULL); w != NULL;
             w = FindWindowExA(NULL, w, "#32770", NULL)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != processId_ || !IsWindowVisible(w))
                continue;
            bool known = false;
            for (HWND a : answered)
                known = known || a == w;
            if (known)
                continue;
            char caption[512] = "", text[1024] = "";
            GetWindowTextA(w, caption, sizeof caption);
            GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.push_back({caption, text});
            }
            answered.push_back(w);
            PostMessageA(w, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}

std::string WindowsPathOf(const char *unixPath) {
    std::string path = unixPath;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char &c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

HANDLE StartProcess(const std::string &commandLine, const char *directory, const char *title) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.lpTitle = (char *)title;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, directory, &startup, &info))
        return NULL;
    CloseHandle(info.hThread);
    return info.hProcess;
}

DWORD WaitForExit(HANDLE process, DWORD timeoutMs) {
    DWORD status = STILL_ACTIVE;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &status);
    return status;
}

ScratchFolder::ScratchFolder(const char *name) {
    // At the drive's root, so that paths stay well inside a 149-character setting.
    path_ = std::string("C:\\korvane-") + name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), NULL);
}

static void RemoveTree(const std::string &path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

void ScratchFolder::Write(const std::string &name, const std::string &content) const {
    FILE *f = fopen(File(name).c_str(), "wb");
    if (f == NULL)
        return;
    fwrite(content.data(), 1, content.size(), f);
    fclose(f);
}

void ScratchFolder::MakeFolder(const std::string &name) const {
    CreateDirectoryA(File(name).c_str(), NULL);
}

std::string ReadWholeFile(const std::string &path) {
    std::string content;
    FILE *f = fopen(path.c_str(), "rb");
    if (f == NULL)
        return content;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        content.append(buffer, n);
    fclose(f);
    return content;
}
