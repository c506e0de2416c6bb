// Values of the formula language: their text forms and the set operations on lists of numbers.
// The set operations on long lists (searched through a sorted copy or a hash) are checked against
// a plain restatement of the rules, element by element, on lists with many repetitions.
#include "formula/NumberLists.h"
#include "formula/ValeurFormule.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using V = CValeurFormule;

V List(const std::vector<double>& numbers) {
    V value;
    value.DefinirListe(numbers);
    return value;
}

TEST(ValeurFormule, TextForms) {
    struct Case {
        V value;
        const char* text;
    };
    V number;
    number.DefinirNombre(0.5);
    V big;
    big.DefinirNombre(1234567);
    V exact;
    exact.DefinirNombre(123456);
    V negativeZero;
    negativeZero.DefinirNombre(-0.0);
    V string;
    string.DefinirChaine("Bêta");
    V date;
    date.DefinirDate(45356.75);
    V midnight;
    midnight.DefinirDate(45356);
    V time;
    time.DefinirDate(0.5);
    V error;
    error.DefinirErreur();
    const std::vector<Case> cases = {
        {List({3, 1, 3}), "{3 1 3 }"},
        {List({}), "{}"},
        {List({0.5, -2}), "{0.5 -2 }"},
        {number, "0.5"},
        {big, "1.23457e+06"},
        {exact, "123456"},
        {negativeZero, "-0"},
        {string, "Bêta"},
        {date, "05/03/2024 18:00:00"},
        {midnight, "05/03/2024"},
        {time, "12:00:00"},
        {error, ""},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.text);
        EXPECT_EQ(item.value.DonnerTexte(), item.text);
    }
}

TEST(ValeurFormule, NumbersOfValues) {
    V date;
    date.DefinirDate(45356);
    V string;
    string.DefinirChaine("12");
    V error;
    error.DefinirErreur();
    std::vector<double> numbers{99};
    date.DonnerNombres(numbers); // a scalar's number, whatever its type
    EXPECT_EQ(numbers, std::vector<double>{45356});
    List({1, 2}).DonnerNombres(numbers);
    EXPECT_EQ(numbers, (std::vector<double>{1, 2}));

    numbers = {7};
    List({1, 2}).CollecterNombres(numbers);
    date.CollecterNombres(numbers);
    string.CollecterNombres(numbers);
    error.CollecterNombres(numbers);
    V three;
    three.DefinirNombre(3);
    three.CollecterNombres(numbers);
    EXPECT_EQ(numbers, (std::vector<double>{7, 1, 2, 3}));

    const V list = List({4, 5});
    EXPECT_EQ(list.DonnerNombreElements(), 2);
    ASSERT_NE(list.ElementListe(1), nullptr);
    EXPECT_EQ(*list.ElementListe(1), 5);
    EXPECT_EQ(list.ElementListe(2), nullptr);
    EXPECT_EQ(list.ElementListe(-1), nullptr);
}

TEST(ValeurFormule, CopyingAValueLeavesTheTokenFields) {
    V target;
    target.kind = V::kFonction;
    target.code = 26;
    target.position = 4;
    target.length = 2;
    target.operands = {1, 2};
    target.DefinirChaine("x");
    const V source = List({1, 2});
    target.CopierValeur(source);
    EXPECT_EQ(target.DonnerTexte(), "{1 2 }");
    EXPECT_EQ(target.kind, V::kFonction);
    EXPECT_EQ(target.code, 26);
    EXPECT_EQ(target.position, 4);
    EXPECT_EQ(target.operands, (std::vector<std::int32_t>{1, 2}));
}

std::vector<double> Union(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    EXPECT_TRUE(NumberLists::Union(a, b, out));
    return out;
}
std::vector<double> Difference(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    NumberLists::Difference(a, b, out);
    return out;
}
std::vector<double> Intersection(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    NumberLists::Intersection(a, NumberLists::Lookup(b), out);
    return out;
}
bool Included(const std::vector<double>& a, const std::vector<double>& b) {
    return NumberLists::IsIncluded(a, NumberLists::Lookup(b));
}

TEST(NumberLists, TheExamplesOfTheLanguage) {
    EXPECT_EQ(Union({1, 2, 2}, {2, 3}), (std::vector<double>{1, 2, 2, 3}));
    EXPECT_EQ(Difference({1, 2, 2, 3}, {2, 4}), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Intersection({1, 2, 2, 5}, {2, 5, 7}), (std::vector<double>{2, 2, 5}));
    EXPECT_TRUE(Included({1, 1, 2}, {2, 1}));
    EXPECT_TRUE(Included({2, 1}, {1, 1, 2}));
    EXPECT_TRUE(Included({}, {}));
    EXPECT_TRUE(Included({}, {3}));
    EXPECT_FALSE(Included({3}, {}));
    EXPECT_EQ(Union({}, {2, 2}), (std::vector<double>{2}));
    EXPECT_EQ(Difference({2, 1, 2}, {2, 2, 2}), (std::vector<double>{1}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Intersection({nan}, {nan}).size(), 0u); // a NaN equals nothing
    EXPECT_EQ(Union({nan}, {nan}).size(), 2u);
    EXPECT_TRUE(Included({-0.0}, {0.0}));
}

// The rules as the language states them, one element at a time.
std::vector<double> PlainUnion(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out = a;
    for (double x : b)
        if (std::find(out.begin(), out.end(), x) == out.end())
            out.push_back(x);
    return out;
}
std::vector<double> PlainDifference(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out = a;
    for (double x : b) {
        auto found = std::find(out.begin(), out.end(), x);
        if (found != out.end())
            out.erase(found);
    }
    return out;
}
std::vector<double> PlainIntersection(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    for (double x : a)
        if (std::find(b.begin(), b.end(), x) != b.end())
            out.push_back(x);
    return out;
}
bool PlainIncluded(const std::vector<double>& a, const std::vector<double>& b) {
    return std::all_of(a.begin(), a.end(),
                       [&](double x) { return std::find(b.begin(), b.end(), x) != b.end(); });
}

TEST(NumberLists, LongListsFollowThePlainRules) {
    std::mt19937 random(20240305);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::uniform_int_distribution<int> size(0, 120);
        std::uniform_int_distribution<int> value(1, 1 + round % 60);
        std::vector<double> a(static_cast<std::size_t>(size(random)));
        std::vector<double> b(static_cast<std::size_t>(size(random)));
        for (double& x : a)
            x = value(random);
        for (double& x : b)
            x = value(random);
        EXPECT_EQ(Union(a, b), PlainUnion(a, b));
        EXPECT_EQ(Difference(a, b), PlainDifference(a, b));
        EXPECT_EQ(Intersection(a, b), PlainIntersection(a, b));
        EXPECT_EQ(Included(a, b), PlainIncluded(a, b));
        EXPECT_EQ(Included(b, a), PlainIncluded(b, a));
    }
}

// A union whose result would be longer than a list may be is refused.
TEST(NumberLists, UnionsAreBounded) {
    std::vector<double> a(NumberLists::kMaxElements);
    std::vector<double> b{-1.0, -2.0};
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = static_cast<double>(i);
    std::vector<double> out;
    EXPECT_FALSE(NumberLists::Union(a, b, out));
    const std::vector<double> known{0.0, 1.0};
    EXPECT_TRUE(NumberLists::Union(a, known, out));
    EXPECT_EQ(out.size(), NumberLists::kMaxElements);
}

} // namespace
