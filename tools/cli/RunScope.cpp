#include "tools/cli/RunScope.h"

#include "app/ContexteEtude.h"
#include "app/MemorySettingsStore.h"
#include "app/Registre.h"

namespace cli {

RunScope::RunScope()
    : m_previousStore(CRegistre::InstallStore(std::make_unique<MemorySettingsStore>())),
      m_previousContext(GetContexte()) {}

RunScope::~RunScope() {
    CContexteEtude::RegisterContext(m_previousContext);
    CRegistre::InstallStore(std::move(m_previousStore));
}

} // namespace cli
