#pragma once

#include "app/SettingsStore.h"

#include <memory>

class CContexteEtude;

namespace cli {

// A command-line run's own settings (an empty store in memory: a run reads and writes none of the
// user's) and study context, in place of the process's for as long as the scope lasts; the
// process's come back when it ends, so that tests can run commands in-process one after another.
class RunScope {
public:
    RunScope();
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    std::unique_ptr<SettingsStore> m_previousStore;
    CContexteEtude* m_previousContext;
};

} // namespace cli
