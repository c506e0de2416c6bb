#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "RequestTestSupport.h"

namespace {

using namespace tabulation_test;

constexpr int kVersion = 405;

// The bytes of a small cross request, compared with tests/golden/cross-request.bin, whose layout
// tests/golden/cross-request.md describes field by field. Regenerate with MORVANE_UPDATE_GOLDEN=1
// (and update the description) when the layout changes on purpose.
class CrossRequestGolden : public RequestFixture {
protected:
    // Q1 in rows (modalities 1 and 2, then a Total line), Q2 in columns (modalities 1 and 2), one
    // row calculation (1 "Pourcentage"), titled "T"; everything else at its default, the settings
    // store empty.
    CTraitement Request() {
        CTraitement request;
        request.type = CTraitement::kTriCroise;
        Modalities rows = Chosen(*q1, {0, 1});
        rows.push_back(std::make_unique<CModaliteEtendue>(&survey));
        rows.back()->code = CLigne::kTotalCode;
        rows.back()->SetDefaultShortCaption("Total");
        request.DefinirModalitesAxe(q1, rows, CTraitement::kLignes);
        request.SetTypeAxe(CTraitement::kLignes, CTraitement::kAxeFermee);
        request.DefinirModalitesAxe(q2, Chosen(*q2, {0, 1}), CTraitement::kColonnes);
        request.SetTypeAxe(CTraitement::kColonnes, CTraitement::kAxeFermee);
        std::vector<std::unique_ptr<CCalcul>> calculations;
        calculations.push_back(std::make_unique<CCalcul>(1, "Pourcentage", true));
        request.SetCalculsLignes(calculations);
        request.title = "T";
        return request;
    }
};

Bytes FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(CrossRequestGolden, StoredBytesMatchTheGoldenFile) {
    CTraitement request = Request();
    const Bytes bytes = Stored(request, kVersion);
    const std::string golden = std::string(MORVANE_SOURCE_DIR) + "/tests/golden/cross-request.bin";
    if (std::getenv("MORVANE_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
        GTEST_SKIP() << "golden file rewritten: " << golden;
    }
    const Bytes expected = FileBytes(golden);
    ASSERT_FALSE(expected.empty()) << "missing " << golden << " (run with MORVANE_UPDATE_GOLDEN=1)";
    EXPECT_EQ(bytes, expected);

    // The golden bytes load into the same request.
    CTraitement loaded;
    Load(loaded, expected, kVersion);
    EXPECT_FALSE(loaded.EstInvalide());
    EXPECT_EQ(loaded.title, "T");
    EXPECT_EQ(loaded.GetModalitesAxe(CTraitement::kLignes).size(), 3u);
    EXPECT_EQ(loaded.GetCalculsLignes().size(), 1u);
    EXPECT_EQ(Stored(loaded, kVersion), expected);
}

} // namespace
