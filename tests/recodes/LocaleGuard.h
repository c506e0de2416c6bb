#pragma once

#include <clocale>
#include <string>

namespace recodes_test {

// Switches the C library's locale for the life of the object (when the locale is installed).
class LocaleGuard {
public:
    explicit LocaleGuard(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleGuard() { std::setlocale(LC_ALL, m_previous.c_str()); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

} // namespace recodes_test
