#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One application object for the whole run of a test program of windows, made before the first
// test and gone before the process ends; without a display the offscreen platform is used. A test
// file needs no application object of its own (and must not make a second one).
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (QApplication::instance() == nullptr)
            m_application = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[14] = "morvane_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

[[maybe_unused]] const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
