#pragma once

#include <string>
#include <vector>

// The files opened last, most recent first, kept in the settings between runs (section
// "Recent File List", keys "File1" to "File4") and offered at the end of the "Fichier" menu.
class RecentFileList {
public:
    static constexpr int kSize = 4;

    // Reads the list from the settings; empty entries are skipped.
    void Load();
    // The path goes first (once), the oldest beyond the size goes, and the list is saved.
    void Add(const std::string& path);
    // The path leaves the list (a file that could not be opened), which is saved.
    void Remove(const std::string& path);

    const std::vector<std::string>& GetFiles() const { return m_files; }

private:
    void Save() const;

    std::vector<std::string> m_files;
};
