#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh temporary folder for a benchmark's files, removed with them afterwards.
class TBenchFolder
{
public:
    TBenchFolder()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "talvo-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        Path = pattern;
    }
    ~TBenchFolder() { std::filesystem::remove_all(Path); }
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;

    std::filesystem::path Path;
};
