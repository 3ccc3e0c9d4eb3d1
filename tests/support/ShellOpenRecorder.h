#pragma once

#include "shell/ShellOpen.h"

#include <string>
#include <vector>

// While it lives, what the program hands to the shell to open is noted here
// instead of being opened.
class ShellOpenRecorder {
  public:
    ShellOpenRecorder() : previous(g_shellOpen) {
        Opened().clear();
        g_shellOpen = [](const char* target) { Opened().push_back(target); };
    }
    ~ShellOpenRecorder() { g_shellOpen = previous; }
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    const std::vector<std::string>& Targets() const { return Opened(); }

  private:
    static std::vector<std::string>& Opened() {
        static std::vector<std::string> opened;
        return opened;
    }
    decltype(g_shellOpen) previous;
};
