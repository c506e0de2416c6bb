#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/ContexteEtude.h"
#include "platform/questionnaire/ArchiveException.h"
#include "platform/questionnaire/ArchiveVersion.h"

// What every fuzz target shares: one study context registered as the program's, whose survey
// gives the readers something to resolve names against, and the round trip every target checks.
namespace fuzz {

// The survey (built once): levels "Interviews" (code 0) and "Membres" (7); the study field 3
// "Hommes" and the weighting 4 "Redressement A"; questions Q1 closed (modalities 1, 2, 3), Q2
// closed (1, 2), Q12 closed (1, 2, 3) and Q12G its sub-total recode one depth below, Q20 closed in
// a loop (key 3), Q30 numeric, Q31 open. The archived classes are registered and the settings
// live in memory. The questionnaire path is empty: lookups in the definition store find nothing.
CContexteEtude& Survey();

// An archive input: its first byte chooses the version (403, 404 or 405), the rest is the archive.
int VersionOf(std::uint8_t first);
std::uint8_t FirstByteOf(int version);

template <class T> std::vector<std::uint8_t> Stored(T& object, int version) {
    CArchiveVersion out(version);
    object.Serialize(out);
    return out.TakeBytes();
}

// Once a reader has accepted an input, what it holds must store, load again and store the same
// bytes: anything else is a reader or writer out of step, reported as a crash.
template <class T> void CheckStable(T& object, int version) {
    const std::vector<std::uint8_t> first = Stored(object, version);
    T again;
    try {
        CArchiveVersion in(first, version);
        again.Serialize(in);
        if (!in.IsAtEnd())
            std::abort();
    } catch (const ArchiveException&) {
        std::abort();
    }
    if (Stored(again, version) != first)
        std::abort();
}

// Reads the input into a new T; an input refused with ArchiveException is fine, an accepted
// one must pass CheckStable.
template <class T> void FuzzArchive(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    Survey();
    const int version = VersionOf(data[0]);
    T object;
    try {
        CArchiveVersion in(std::vector<std::uint8_t>(data + 1, data + size), version);
        object.Serialize(in);
    } catch (const ArchiveException&) {
        return;
    }
    CheckStable(object, version);
}

} // namespace fuzz
