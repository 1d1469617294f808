#pragma once
// A fresh folder for one test's files, removed afterwards, and a stand-in for a full disk.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/tarnvault_test.XXXXXX";
        if (mkdtemp(pattern) != nullptr) path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Put(const std::string& name, const std::string& bytes) const {
        const std::string file = path + "/" + name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    static std::string Get(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static mode_t Mode(const std::string& file) {
        struct stat info {};
        return stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    size_t Entries() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(path),
                                                 std::filesystem::directory_iterator()));
    }

    std::string path;
};

// Runs action while no file may grow beyond limit bytes: writes past it fail as on a full disk.
template <typename Action>
auto WithFullDiskAt(rlim_t limit, Action action) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto result = action();
    setrlimit(RLIMIT_FSIZE, &saved);
    return result;
}
