// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A fresh folder under the system's temporary folder, removed with all its
// contents when the test ends.

#include "quillmere/AtomicFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace quillmere::fixtures {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillmere-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Names of the entries directly inside `folder`, sorted.
    static std::vector<std::string> entries(const std::filesystem::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

// A whole file's bytes, or "<missing>".
inline std::string contents(const std::filesystem::path& path)
{
    return readWholeFile(path).value_or("<missing>");
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Permission bits of a file or folder.
inline mode_t modeOf(const std::filesystem::path& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// A new folder "foreign" in `parent` that belongs to another user (nobody);
// none when the test does not run as root, which alone can give it away.
inline std::optional<std::filesystem::path> folderOfAnotherUser(const std::filesystem::path& parent)
{
    if (::geteuid() != 0) {
        return std::nullopt;
    }
    const auto folder = parent / "foreign";
    std::filesystem::create_directory(folder);
    if (::chown(folder.c_str(), 65534, 65534) != 0) {
        return std::nullopt;
    }
    return folder;
}

} // namespace quillmere::fixtures
