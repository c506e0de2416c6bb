#include "shell/RecentFileList.h"

#include "app/Registre.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "Recent File List";

std::string KeyOf(int index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFileList::Load() {
    m_files.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string path = CRegistre::GetString(kSection, KeyOf(i), {});
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end())
            m_files.push_back(std::move(path));
    }
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > static_cast<std::size_t>(kSize))
        m_files.resize(kSize);
    Save();
}

void RecentFileList::Remove(const std::string& path) {
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    Save();
}

void RecentFileList::Save() const {
    // An emptied entry is written empty: the store keeps no way to remove a key.
    for (int i = 0; i < kSize; ++i) {
        const auto index = static_cast<std::size_t>(i);
        CRegistre::SetString(kSection, KeyOf(i), index < m_files.size() ? m_files[index] : std::string());
    }
}
