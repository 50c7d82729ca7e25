// When two file identities are one file (that any spelling of one file gives one identity is
// seen through the window, where Run refuses such an output).
#include "SameFile.h"

#include <gtest/gtest.h>

TEST(SameFile, OneFileIsOneVolumeAndOneKnownId)
{
    // An id's bytes from its low end; the rest stay 0.
    const auto identity = [](ULONGLONG ullVolume, std::initializer_list<BYTE> id) {
        FileIdentity result;
        result.ullVolume = ullVolume;
        std::copy(id.begin(), id.end(), result.id);
        return result;
    };
    const FileIdentity known = identity(7, {1, 2});
    const struct { const char* why; FileIdentity a, b; bool bSame; } rows[] = {
        {"the same volume and id", known, identity(7, {1, 2}), true},
        {"another volume", known, identity(8, {1, 2}), false},
        {"another id", known, identity(7, {1, 3}), false},
        {"ids that differ beyond 64 bits (ReFS)", identity(7, {1, 0, 0, 0, 0, 0, 0, 0, 9}), identity(7, {1}), false},
        {"ids of 0 are unknown", identity(7, {}), identity(7, {}), false},
        {"a volume of 0 with a known id", identity(0, {1}), identity(0, {1}), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(IsSameIdentity(row.a, row.b), row.bSame);
        EXPECT_EQ(IsSameIdentity(row.b, row.a), row.bSame);
    }
}
