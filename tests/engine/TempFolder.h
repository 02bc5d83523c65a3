#pragma once
// A folder of its own under the system's temporary folder, removed at the
// end, for tests that read real files.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quillon::test {

class TempFolder {
public:
    TempFolder()
    {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("quillon-engine-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes the bytes into the file of that name; returns its path.
    std::string File(const std::string& name, const std::string& bytes) const
    {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    std::string Folder() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace quillon::test
