#pragma once

#include "tools/qesbuild/DemoSurvey.h"

#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <unistd.h>

// The demo questionnaire, written once per test process and number of interviews into a
// temporary folder of its own, which goes when the process ends. Every test of a process that
// asks for the same number of interviews opens the same file; a test may add files of its own
// to the folder.
class DemoSurveyFolder {
public:
    // The folder holding "demo.qes" of `interviews` interviews, written on the first call.
    static const std::filesystem::path& Get(int interviews) { return Written().Get(interviews); }

    static std::string QuestionnairePath(int interviews) { return (Get(interviews) / "demo.qes").string(); }

private:
    class Folders {
    public:
        Folders() = default;
        Folders(const Folders&) = delete;
        Folders& operator=(const Folders&) = delete;
        ~Folders() {
            std::error_code ignored;
            for (const auto& [interviews, folder] : m_folders)
                std::filesystem::remove_all(folder, ignored);
        }

        const std::filesystem::path& Get(int interviews) {
            const auto found = m_folders.find(interviews);
            if (found != m_folders.end())
                return found->second;
            const std::filesystem::path folder =
                std::filesystem::temp_directory_path() /
                ("morvane-demo-" + std::to_string(::getpid()) + "-" + std::to_string(interviews));
            qesbuild::DemoSurvey::Write(folder, qesbuild::DemoSurvey::kSeed, interviews);
            return m_folders.emplace(interviews, folder).first->second;
        }

    private:
        std::map<int, std::filesystem::path> m_folders;
    };

    static Folders& Written() {
        static Folders folders;
        return folders;
    }
};
