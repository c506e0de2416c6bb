// qesbuild: writes questionnaire files (".qes") from a text description, the demo questionnaire,
// or a large synthetic questionnaire for measurements.
#include "tools/qesbuild/DemoSurvey.h"
#include "tools/qesbuild/DescriptionParser.h"
#include "tools/qesbuild/QesWriter.h"
#include "tools/qesbuild/SyntheticSurvey.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: qesbuild DESCRIPTION.txt OUT.qes\n"
                               "       qesbuild demo OUTDIR\n"
                               "       qesbuild synthetic OUT.qes --interviews N --questions M --seed S [--open]\n";

template <class Number> std::optional<Number> ReadNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int Synthetic(const std::vector<std::string>& arguments) {
    std::vector<std::string> options(arguments);
    const auto open = std::find(options.begin() + std::min<std::ptrdiff_t>(2, std::ssize(options)), options.end(), "--open");
    const bool openAnswers = open != options.end();
    if (openAnswers)
        options.erase(open);
    if (options.size() != 8) {
        std::cerr << kUsage;
        return 2;
    }
    std::optional<long long> interviews;
    std::optional<int> questions;
    std::optional<std::uint64_t> seed;
    for (std::size_t i = 2; i + 1 < options.size(); i += 2) {
        const std::string& option = options[i];
        const std::string& value = options[i + 1];
        if (option == "--interviews")
            interviews = ReadNumber<long long>(value);
        else if (option == "--questions")
            questions = ReadNumber<int>(value);
        else if (option == "--seed")
            seed = ReadNumber<std::uint64_t>(value);
        else {
            std::cerr << "qesbuild: unknown option " << option << "\n" << kUsage;
            return 2;
        }
    }
    if (!interviews || !questions || !seed) {
        std::cerr << "qesbuild: --interviews, --questions and --seed each need a whole number\n" << kUsage;
        return 2;
    }
    qesbuild::SyntheticSurvey::Write(options[1], *interviews, *questions, *seed, openAnswers);
    return 0;
}

int Run(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && arguments[0] == "synthetic")
        return Synthetic(arguments);
    if (arguments.size() != 2) {
        std::cerr << kUsage;
        return 2;
    }
    if (arguments[0] == "demo") {
        qesbuild::DemoSurvey::Write(arguments[1]);
        return 0;
    }
    qesbuild::FixtureDescription fixture = qesbuild::DescriptionParser::ParseFile(arguments[0]);
    qesbuild::WriteFixture(fixture, arguments[1]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        return Run(arguments);
    } catch (const std::exception& error) {
        std::cerr << "qesbuild: " << error.what() << "\n";
        return 1;
    }
}
