#pragma once

#include <memory>
#include <utility>

#include <gtest/gtest.h>

#include "app/MemorySettingsStore.h"
#include "app/Registre.h"

// Every test reads and writes a fresh settings store of its own, and leaves the process as it
// found it.
class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto store = std::make_unique<MemorySettingsStore>();
        m_store = store.get();
        m_previous = CRegistre::InstallStore(std::move(store));
    }
    void TearDown() override { CRegistre::InstallStore(std::move(m_previous)); }

    MemorySettingsStore& Store() { return *m_store; }

private:
    MemorySettingsStore* m_store = nullptr;
    std::unique_ptr<SettingsStore> m_previous;
};
