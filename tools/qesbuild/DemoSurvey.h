#pragma once

#include <cstdint>
#include <filesystem>

namespace qesbuild {

class QesWriter;
class FixtureDescription;

// The demo questionnaire (resources/demo/demo.txt, compiled in) and its generated interviews: a
// customer-satisfaction survey with every common kind of question and one loop level (the
// members of the household). The interviews follow from the seed alone; some answers are made
// to depend on others (socio-professional category on age, satisfaction on region, income on
// category) so that cross tables show real differences.
class DemoSurvey {
public:
    static constexpr std::uint64_t kSeed = 20240501;
    static constexpr int kInterviews = 2000;

    static const char* DescriptionText();
    static FixtureDescription Description();

    // Writes <directory>/demo.qes (the directory is created when missing).
    static void Write(const std::filesystem::path& directory, std::uint64_t seed = kSeed,
                      int interviews = kInterviews);
    // Adds the interviews and the household members to a writer opened on Description().
    static void WriteRecords(QesWriter& writer, std::uint64_t seed, int interviews);
};

} // namespace qesbuild
