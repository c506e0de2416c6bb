#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/questionnaire/ArchiveVersion.h"
#include "platform/questionnaire/RuntimeClassRegistry.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Reason = ArchiveException::Reason;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Store(const std::function<void(CArchiveVersion&)>& write) {
    CArchiveVersion archive(404);
    write(archive);
    return archive.TakeBytes();
}

// Runs the reader over the bytes and answers the reason it failed with.
template <class Read> Reason FailureOf(const Bytes& bytes, Read read) {
    CArchiveVersion archive(bytes, 404);
    try {
        read(archive);
    } catch (const ArchiveException& e) {
        return e.GetReason();
    }
    ADD_FAILURE() << "the archive was read without error";
    return Reason::WriteFailed;
}

// Test records: a point (one 32-bit value), a label (a string), and a node that owns a child
// and refers, without owning it, to another node.
class CPoint : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CPoint", 1, &CObjet::CreateObject<CPoint>};
    CPoint() = default;
    explicit CPoint(std::int32_t value) : x(value) {}
    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    void Serialize(CArchiveVersion& archive) override {
        if (archive.IsStoring())
            archive << x;
        else
            archive >> x;
    }
    std::int32_t x = 0;
};

class CLabel : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CLabel", 3, &CObjet::CreateObject<CLabel>};
    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    void Serialize(CArchiveVersion& archive) override {
        if (archive.IsStoring())
            archive << text;
        else
            archive >> text;
    }
    std::string text;
};

class CNode : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CNode", 1, &CObjet::CreateObject<CNode>};
    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
    void Serialize(CArchiveVersion& archive) override {
        if (archive.IsStoring()) {
            archive << child << static_cast<const CObjet*>(reference);
        } else {
            archive >> child;
            reference = archive.ReadObjectReference<CNode>();
        }
    }
    std::unique_ptr<CNode> child;
    CNode* reference = nullptr;
};

// A class the writer knows but the reader does not.
class CUnregistered : public CObjet {
public:
    static constexpr RuntimeClass kRuntimeClass{"CUnregistered", 1, &CObjet::CreateObject<CUnregistered>};
    const RuntimeClass* GetRuntimeClass() const override { return &kRuntimeClass; }
};

class ArchiveTest : public testing::Test {
protected:
    void SetUp() override {
        RuntimeClassRegistry::Register(CPoint::kRuntimeClass);
        RuntimeClassRegistry::Register(CLabel::kRuntimeClass);
        RuntimeClassRegistry::Register(CNode::kRuntimeClass);
    }
};

// A text of n UTF-16 code units, alternating "a" and "é".
std::string TextOfUnits(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += i % 2 == 0 ? "a" : "é";
    return text;
}

struct LengthCase {
    std::size_t length;
    Bytes header; // the length bytes, after the Unicode marker when there is one
};

const LengthCase kLengthCases[] = {
    {0, {0x00}},
    {254, {0xFE}},
    {255, {0xFF, 0xFF, 0x00}},
    {65533, {0xFF, 0xFD, 0xFF}},
    {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}}, // 0xFFFE is the Unicode marker
    {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
    {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
};

TEST_F(ArchiveTest, StringsAreWrittenInTheUnicodeFormWithTheFrameworksLengths) {
    for (const LengthCase& c : kLengthCases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length);
        const std::string text = TextOfUnits(c.length);
        const Bytes bytes = Store([&](CArchiveVersion& a) { a << text; });
        const Bytes header = Concat({{0xFF, 0xFE, 0xFF}, c.header});
        ASSERT_EQ(bytes.size(), header.size() + 2 * c.length);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(header.size())), header);
        if (c.length >= 2) { // "a" then "é", UTF-16LE
            const auto body = bytes.begin() + static_cast<long>(header.size());
            EXPECT_EQ(Bytes(body, body + 4), (Bytes{0x61, 0x00, 0xE9, 0x00}));
        }

        CArchiveVersion in(bytes);
        std::string read;
        in >> read;
        EXPECT_EQ(read, text);
        EXPECT_TRUE(in.IsAtEnd());
    }
}

TEST_F(ArchiveTest, SingleByteStringsAreReadAsWindows1252) {
    for (const LengthCase& c : kLengthCases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length);
        Bytes body(c.length, 0x78); // "x"
        if (c.length > 0)
            body.back() = 0xE9; // "é"
        CArchiveVersion in(Concat({c.header, body}));
        const std::string read = in.ReadString();
        if (c.length > 0) {
            EXPECT_EQ(read.size(), c.length + 1);
            EXPECT_EQ(read.substr(read.size() - 3), "x\u00e9");
        } else {
            EXPECT_EQ(read, "");
        }
        EXPECT_TRUE(in.IsAtEnd());
    }
}

TEST_F(ArchiveTest, FrequenceInBothForms) {
    const Bytes singleByte = Concat({{0x09}, Ascii("Fr"), {0xE9}, Ascii("quence")});
    const Bytes unicode = Concat({{0xFF, 0xFE, 0xFF, 0x09},
                                  {0x46, 0, 0x72, 0, 0xE9, 0, 0x71, 0, 0x75, 0, 0x65, 0, 0x6E, 0, 0x63, 0, 0x65, 0}});
    EXPECT_EQ(Store([](CArchiveVersion& a) { a << "Fréquence"; }), unicode);
    for (const Bytes& bytes : {singleByte, unicode}) {
        CArchiveVersion in(bytes);
        EXPECT_EQ(in.ReadString(), "Fréquence");
    }
    // Windows-1252 beyond Latin-1: the euro sign and typographic quotes.
    CArchiveVersion in(Bytes{0x04, 0x80, 0x93, 0x41, 0x94});
    EXPECT_EQ(in.ReadString(), "€“A”");
}

TEST_F(ArchiveTest, IllFormedTextBecomesTheReplacementCharacter) {
    // Invalid UTF-8 handed to the writer, and an unpaired surrogate in a stored string.
    const Bytes written = Store([](CArchiveVersion& a) { a << std::string("a\xFF" "b\xE9"); });
    CArchiveVersion in(written);
    EXPECT_EQ(in.ReadString(), "a\uFFFDb\uFFFD");
    CArchiveVersion surrogate(Bytes{0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xD8, 0x41, 0x00});
    EXPECT_EQ(surrogate.ReadString(), "\uFFFDA");
    // A character outside the basic plane is two code units and survives the round trip.
    const Bytes clef = Store([](CArchiveVersion& a) { a << "\U0001D11E"; });
    EXPECT_EQ(clef, (Bytes{0xFF, 0xFE, 0xFF, 0x02, 0x34, 0xD8, 0x1E, 0xDD}));
    CArchiveVersion clefIn(clef);
    EXPECT_EQ(clefIn.ReadString(), "\U0001D11E");
}

TEST_F(ArchiveTest, CountsUseTheFrameworksEscapes) {
    const std::pair<std::uint32_t, Bytes> cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x10000, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
        {static_cast<std::uint32_t>(-404), {0xFF, 0xFF, 0x6C, 0xFE, 0xFF, 0xFF}}, // the version marker
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}},
    };
    for (const auto& [count, bytes] : cases) {
        SCOPED_TRACE(testing::Message() << "count " << count);
        EXPECT_EQ(Store([count = count](CArchiveVersion& a) { a.WriteCount(count); }), bytes);
        CArchiveVersion in(bytes);
        EXPECT_EQ(in.ReadCount(), count);
        EXPECT_TRUE(in.IsAtEnd());
    }
}

TEST_F(ArchiveTest, NumbersAreLittleEndianAndBoolIs32Bits) {
    const Bytes bytes = Store([](CArchiveVersion& a) {
        a << std::int8_t{-2} << std::uint8_t{200} << std::int16_t{-2} << std::uint16_t{0x1234} << std::int32_t{-2}
          << std::uint32_t{0x89ABCDEF} << 1.0f << 1.0 << true << false;
        a.WriteInt64(-2);
    });
    const Bytes expected = {0xFE, 0xC8, 0xFE, 0xFF, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89,
                            0x00, 0x00, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0x01, 0, 0, 0, 0, 0, 0, 0,
                            0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(bytes, expected);

    CArchiveVersion in(bytes);
    std::int8_t i8 = 0;
    std::uint8_t u8 = 0;
    std::int16_t i16 = 0;
    std::uint16_t u16 = 0;
    std::int32_t i32 = 0;
    std::uint32_t u32 = 0;
    float f = 0;
    double d = 0;
    bool yes = false;
    bool no = true;
    in >> i8 >> u8 >> i16 >> u16 >> i32 >> u32 >> f >> d >> yes >> no;
    EXPECT_EQ(i8, -2);
    EXPECT_EQ(u8, 200);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(u32, 0x89ABCDEFu);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(d, 1.0);
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    EXPECT_EQ(in.ReadInt64(), -2);
    EXPECT_TRUE(in.IsAtEnd());
}

TEST_F(ArchiveTest, ObjectArrayWithTwoObjectsOfOneClassAndANull) {
    std::vector<std::unique_ptr<CObjet>> objects;
    objects.push_back(std::make_unique<CPoint>(1));
    objects.push_back(nullptr);
    objects.push_back(std::make_unique<CPoint>(2));
    auto label = std::make_unique<CLabel>();
    label->text = "L";
    objects.push_back(std::move(label));

    const Bytes bytes = Store([&](CArchiveVersion& a) { a.SerializeArray(objects); });
    const Bytes expected = Concat({
        {0x04, 0x00},                                               // count
        {0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}, Ascii("CPoint"),      // new class, schema 1: index 1
        {0x01, 0x00, 0x00, 0x00},                                   // first point: index 2
        {0x00, 0x00},                                               // null
        {0x01, 0x80},                                               // class 1 again
        {0x02, 0x00, 0x00, 0x00},                                   // second point: index 3
        {0xFF, 0xFF, 0x03, 0x00, 0x06, 0x00}, Ascii("CLabel"),      // schema 3: index 4
        {0xFF, 0xFE, 0xFF, 0x01, 0x4C, 0x00},                       // its text "L"
    });
    EXPECT_EQ(bytes, expected);

    CArchiveVersion in(bytes, 404);
    std::vector<std::unique_ptr<CObjet>> loaded;
    loaded.push_back(std::make_unique<CPoint>(99)); // replaced by the loading
    in.SerializeArray(loaded);
    ASSERT_EQ(loaded.size(), 4u);
    const auto* first = dynamic_cast<CPoint*>(loaded[0].get());
    const auto* second = dynamic_cast<CPoint*>(loaded[2].get());
    const auto* third = dynamic_cast<CLabel*>(loaded[3].get());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(first->x, 1);
    EXPECT_EQ(loaded[1], nullptr);
    EXPECT_EQ(second->x, 2);
    EXPECT_EQ(third->text, "L");
    EXPECT_TRUE(in.IsAtEnd());
}

TEST_F(ArchiveTest, ReferencesToObjectsReadBefore) {
    // A owns B; B refers back to A.
    auto a = std::make_unique<CNode>();
    a->child = std::make_unique<CNode>();
    a->child->reference = a.get();
    const Bytes bytes = Store([&](CArchiveVersion& archive) { archive << a; });
    const Bytes expected = Concat({
        {0xFF, 0xFF, 0x01, 0x00, 0x05, 0x00}, Ascii("CNode"), // class: index 1, A: index 2
        {0x01, 0x80},                                         // B: class 1, index 3
        {0x00, 0x00},                                         // B's child: null
        {0x02, 0x00},                                         // B's reference: object 2, A
        {0x00, 0x00},                                         // A's reference: null
    });
    EXPECT_EQ(bytes, expected);

    CArchiveVersion in(bytes);
    std::unique_ptr<CNode> loaded;
    in >> loaded;
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->child, nullptr);
    EXPECT_EQ(loaded->child->reference, loaded.get());
    EXPECT_EQ(loaded->reference, nullptr);
}

TEST_F(ArchiveTest, IndexesFrom0x7FFFUseTheBigTag) {
    constexpr int kPoints = 33000; // class 1, points 2 .. 33001
    std::vector<std::unique_ptr<CPoint>> points;
    for (int i = 0; i < kPoints; ++i)
        points.push_back(std::make_unique<CPoint>(i));
    CLabel firstLabel;
    CLabel secondLabel;
    const Bytes bytes = Store([&](CArchiveVersion& a) {
        a.SerializeArray(points);
        a << static_cast<const CObjet*>(points.back().get()); // a reference to object 33001
        a << &firstLabel << &secondLabel;                     // class CLabel gets index 33002
    });
    const Bytes tail = Concat({
        {0xFF, 0x7F, 0xE9, 0x80, 0x00, 0x00},                         // object 33001
        {0xFF, 0xFF, 0x03, 0x00, 0x06, 0x00}, Ascii("CLabel"),         // new class 33002, object 33003
        {0xFF, 0xFE, 0xFF, 0x00},                                      // its empty text
        {0xFF, 0x7F, 0xEA, 0x80, 0x00, 0x80}, {0xFF, 0xFE, 0xFF, 0x00}, // class 33002 again
    });
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(tail.size()), bytes.end()), tail);

    CArchiveVersion in(bytes);
    std::vector<std::unique_ptr<CPoint>> loaded;
    in.SerializeArray(loaded);
    ASSERT_EQ(loaded.size(), static_cast<std::size_t>(kPoints));
    EXPECT_EQ(in.ReadObjectReference<CPoint>(), loaded.back().get());
    EXPECT_NE(in.ReadObject<CLabel>(), nullptr);
    EXPECT_NE(in.ReadObject<CLabel>(), nullptr);
    EXPECT_TRUE(in.IsAtEnd());
}

TEST_F(ArchiveTest, BadObjectStreamsAreRefused) {
    const Bytes pointClass = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00}, Ascii("CPoint"), {1, 0, 0, 0}});
    const auto readObject = [](CArchiveVersion& a) { a.ReadObject(); };
    const auto readTwo = [](CArchiveVersion& a) {
        auto first = a.ReadObject();
        auto second = a.ReadObject();
    };
    const auto readLabel = [](CArchiveVersion& a) { a.ReadObject<CLabel>(); };
    const auto readReference = [](CArchiveVersion& a) { a.ReadObjectReference(); };
    struct Case {
        const char* name;
        Bytes bytes;
        std::function<void(CArchiveVersion&)> read;
        Reason reason;
    };
    const Case cases[] = {
        {"unknown class", Concat({{0xFF, 0xFF, 0x01, 0x00, 0x04, 0x00}, Ascii("CZzz")}), readObject,
         Reason::UnknownClass},
        {"class the reader does not register",
         Store([](CArchiveVersion& a) {
             CUnregistered object;
             a << &object;
         }),
         readObject, Reason::UnknownClass},
        {"other schema", Concat({{0xFF, 0xFF, 0x02, 0x00, 0x06, 0x00}, Ascii("CPoint"), {1, 0, 0, 0}}), readObject,
         Reason::BadSchema},
        {"empty class name", {0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00}, readObject, Reason::BadClassName},
        {"class name of 64 characters", Concat({{0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00}, Bytes(64, 0x41)}), readObject,
         Reason::BadClassName},
        {"class never read", {0x01, 0x80}, readObject, Reason::BadIndex},
        {"object never read", {0x03, 0x00}, readObject, Reason::BadIndex},
        {"object index naming a class", Concat({pointClass, {0x01, 0x00}}), readTwo, Reason::BadIndex},
        {"class index naming an object", Concat({pointClass, {0x02, 0x80}}), readTwo, Reason::BadIndex},
        {"big class index naming nothing", {0xFF, 0x7F, 0x05, 0x00, 0x00, 0x80}, readObject, Reason::BadIndex},
        {"second owner of one object", Concat({pointClass, {0x02, 0x00}}), readTwo, Reason::SharedObject},
        {"reference where a new object stands", pointClass, readReference, Reason::SharedObject},
        {"object of another class", pointClass, readLabel, Reason::WrongClass},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FailureOf(c.bytes, c.read), c.reason);
    }
}

TEST_F(ArchiveTest, AbsurdLengthsAndCountsFailBeforeAllocating) {
    // Each announces far more than the few bytes that follow; under the address sanitizer an
    // attempt to allocate for it would abort the test.
    const auto readString = [](CArchiveVersion& a) { a.ReadString(); };
    const auto readArray = [](CArchiveVersion& a) {
        std::vector<std::unique_ptr<CObjet>> objects;
        a.SerializeArray(objects);
    };
    const auto readBounded = [](CArchiveVersion& a) { a.ReadBoundedCount(4); };
    struct Case {
        const char* name;
        Bytes bytes;
        std::function<void(CArchiveVersion&)> read;
        Reason reason;
    };
    const Case cases[] = {
        {"32-bit Unicode length", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x41, 0x00}, readString,
         Reason::BadStringLength},
        {"32-bit single-byte length", {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xF0, 0x41}, readString,
         Reason::BadStringLength},
        {"64-bit length",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x41},
         readString, Reason::BadStringLength},
        {"16-bit length one past the end", {0xFF, 0x00, 0x01, 0x41}, readString, Reason::BadStringLength},
        {"object count", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00}, readArray, Reason::BadCount},
        {"counted items of four bytes", {0x03, 0x00, 1, 2, 3, 4, 5, 6, 7, 8}, readBounded, Reason::BadCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FailureOf(c.bytes, c.read), c.reason);
    }
}

// A small archive of every kind of value, and its reader.
Bytes SmallArchive() {
    return Store([](CArchiveVersion& a) {
        std::vector<std::unique_ptr<CObjet>> objects;
        objects.push_back(std::make_unique<CPoint>(7));
        objects.push_back(nullptr);
        objects.push_back(std::make_unique<CPoint>(8));
        a.WriteCount(static_cast<std::uint32_t>(-404));
        a << std::int32_t{12} << "Fréquence";
        a.SerializeArray(objects);
        a << 2.5 << true;
    });
}

void ReadSmallArchive(CArchiveVersion& a) {
    EXPECT_EQ(a.ReadCount(), static_cast<std::uint32_t>(-404));
    std::int32_t number = 0;
    std::string text;
    std::vector<std::unique_ptr<CPoint>> objects;
    double value = 0;
    bool flag = false;
    a >> number >> text;
    a.SerializeArray(objects);
    a >> value >> flag;
    EXPECT_EQ(number, 12);
    EXPECT_EQ(text, "Fréquence");
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[2]->x, 8);
    EXPECT_EQ(value, 2.5);
    EXPECT_TRUE(a.IsAtEnd());
}

TEST_F(ArchiveTest, EveryTruncationFailsCleanly) {
    const Bytes whole = SmallArchive();
    {
        CArchiveVersion in(whole, 404);
        ReadSmallArchive(in);
    }
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        CArchiveVersion in(Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)), 404);
        EXPECT_THROW(ReadSmallArchive(in), ArchiveException);
    }
}

class ArchiveFileTest : public ArchiveTest {
protected:
    void SetUp() override {
        ArchiveTest::SetUp();
        m_directory = std::filesystem::path(testing::TempDir()) /
                      ("archive-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(m_directory);
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    static void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path m_directory;
};

TEST_F(ArchiveFileTest, FileArchivesMatchMemoryArchivesAndFailCleanlyWhenCut) {
    const std::filesystem::path path = m_directory / "small.dos";
    {
        CArchiveVersion out(path, CArchiveVersion::Mode::Store, 404);
        EXPECT_TRUE(out.IsStoring());
        std::vector<std::unique_ptr<CObjet>> objects;
        objects.push_back(std::make_unique<CPoint>(7));
        objects.push_back(nullptr);
        objects.push_back(std::make_unique<CPoint>(8));
        out.WriteCount(static_cast<std::uint32_t>(-404));
        out << std::int32_t{12} << "Fréquence";
        out.SerializeArray(objects);
        out << 2.5 << true;
        out.Close();
    }
    const Bytes whole = ReadFile(path);
    EXPECT_EQ(whole, SmallArchive());
    {
        CArchiveVersion in(path, CArchiveVersion::Mode::Load, 404);
        EXPECT_TRUE(in.IsLoading());
        EXPECT_EQ(in.GetVersion(), 404);
        ReadSmallArchive(in);
    }
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        const std::filesystem::path cutPath = m_directory / "cut.dos";
        WriteFile(cutPath, Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
        CArchiveVersion in(cutPath, CArchiveVersion::Mode::Load, 404);
        EXPECT_THROW(ReadSmallArchive(in), ArchiveException);
    }
}

TEST_F(ArchiveFileTest, LongStringsCrossTheBuffer) {
    // Several buffers' worth, so that reading refills and writing flushes in the middle of a value.
    const std::string text = TextOfUnits(3 * CArchiveVersion::kBufferSize + 17);
    const std::filesystem::path path = m_directory / "long.bin";
    {
        CArchiveVersion out(path, CArchiveVersion::Mode::Store);
        out << std::uint8_t{1} << text << text << std::int32_t{-1};
        out.Close();
    }
    CArchiveVersion in(path, CArchiveVersion::Mode::Load);
    std::uint8_t first = 0;
    std::string a;
    std::string b;
    std::int32_t last = 0;
    in >> first >> a >> b >> last;
    EXPECT_EQ(a, text);
    EXPECT_EQ(b, text);
    EXPECT_EQ(last, -1);
    EXPECT_TRUE(in.IsAtEnd());
}

TEST_F(ArchiveFileTest, AnArchiveAbandonedBeforeCloseLeavesTheFileAsItWas) {
    const std::filesystem::path path = m_directory / "kept.dos";
    WriteFile(path, {1, 2, 3});
    try {
        CArchiveVersion out(path, CArchiveVersion::Mode::Store, 404);
        out << std::int32_t{5};
        CUnregistered object;
        out << &object;
        throw std::runtime_error("the save fails half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadFile(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_directory), std::filesystem::directory_iterator()), 1);
}

TEST_F(ArchiveFileTest, MissingFilesAndWrongModesAreRefused) {
    try {
        CArchiveVersion in(m_directory / "missing.dos", CArchiveVersion::Mode::Load);
        ADD_FAILURE() << "a missing file was opened";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.GetReason(), Reason::CannotOpen);
    }
    EXPECT_THROW(CArchiveVersion(m_directory / "no" / "such" / "dir.dos", CArchiveVersion::Mode::Store),
                 ArchiveException);

    CArchiveVersion in(Bytes{1, 0, 0, 0});
    EXPECT_EQ(FailureOf(Bytes{1, 0, 0, 0}, [](CArchiveVersion& a) { a << std::int32_t{1}; }), Reason::WrongMode);
    CArchiveVersion out(405);
    std::int32_t value = 0;
    EXPECT_THROW(out >> value, ArchiveException);
    EXPECT_EQ(out.GetVersion(), 405);
}

TEST_F(ArchiveTest, NestingIsBounded) {
    auto root = std::make_unique<CNode>();
    CNode* last = root.get();
    for (int i = 0; i < CArchiveVersion::kMaxNesting + 5; ++i) {
        last->child = std::make_unique<CNode>();
        last = last->child.get();
    }
    const Bytes bytes = Store([&](CArchiveVersion& a) { a << root; });
    EXPECT_EQ(FailureOf(bytes, [](CArchiveVersion& a) { a.ReadObject<CNode>(); }), Reason::TooDeep);
    // Free the chain iteratively: its recursive destruction is as deep as the chain.
    while (root) {
        std::unique_ptr<CNode> next = std::move(root->child);
        root = std::move(next);
    }
}

TEST(RuntimeClassRegistryTest, RegistrationRules) {
    static constexpr RuntimeClass kFirst{"CRegistryProbe", 1, &CObjet::CreateObject<CPoint>};
    static constexpr RuntimeClass kSameName{"CRegistryProbe", 1, &CObjet::CreateObject<CPoint>};
    static constexpr RuntimeClass kBadName{"C Space", 1, &CObjet::CreateObject<CPoint>};
    RuntimeClassRegistry::Register(kFirst);
    EXPECT_NO_THROW(RuntimeClassRegistry::Register(kFirst));
    EXPECT_THROW(RuntimeClassRegistry::Register(kSameName), std::invalid_argument);
    EXPECT_THROW(RuntimeClassRegistry::Register(kBadName), std::invalid_argument);
    EXPECT_EQ(RuntimeClassRegistry::Find("CRegistryProbe"), &kFirst);
    EXPECT_EQ(RuntimeClassRegistry::Find("cregistryprobe"), nullptr);
}

} // namespace
