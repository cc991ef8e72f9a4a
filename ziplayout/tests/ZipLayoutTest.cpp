#include "ziplayout/ZipLayout.h"

#include "TestSupport.h"
#include "ZipBombs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// An archive written by libzip itself; `stored` entries are not deflated.
void writeArchive(const std::string& path, const Entries& entries, const std::string& stored = {})
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0);
        if (name == stored)
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Opens the archive with libzip and asks whether its entries are disjoint.
bool disjoint(const std::string& path)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return false;
    const bool answer = ziplayout::entriesAreDisjoint(path, archive);
    zip_discard(archive);
    return answer;
}

TEST(ZipLayout, ArchivesWrittenEntryAfterEntryAreDisjoint)
{
    TestFolder folder;
    const std::string path = folder / "plain.zip";
    writeArchive(path, {{"mimetype", "application/epub+zip"}, {"empty", ""}, {"a/b.txt", std::string(5000, 'b')},
                        {"c.txt", "c"}},
                 "mimetype");
    EXPECT_TRUE(disjoint(path));
    // libzip writes no file for no entries: an end record alone.
    put(path, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    EXPECT_TRUE(disjoint(path)) << "an archive of no entries";
    // A comment after the end record moves it away from the end of the file.
    writeArchive(path, {{"x.txt", "x"}});
    std::string bytes = bytesOf(path);
    bytes[bytes.size() - 2] = 5;
    put(path, bytes + "hello");
    EXPECT_TRUE(disjoint(path));
}

TEST(ZipLayout, EntriesListedOverOneLocalHeaderOverlap)
{
    TestFolder folder;
    const std::string path = folder / "shared.zip";
    put(path, zipbombs::overlappingArchive({"one.txt", "two.txt"}, std::string(4096, 'a')));
    EXPECT_FALSE(disjoint(path));
    put(path, zipbombs::overlappingArchive({"one.txt"}, std::string(4096, 'a')));
    EXPECT_TRUE(disjoint(path));
}

// An entry whose compressed data is said to run on over the next entry's
// local header, as when one entry's data quotes the next entry whole.
TEST(ZipLayout, DataRunningIntoTheNextEntryOverlaps)
{
    TestFolder folder;
    const std::string path = folder / "quoted.zip";
    writeArchive(path, {{"one.txt", std::string(100, 'x')}, {"two.txt", std::string(100, 'y')}}, "one.txt");
    std::string bytes = bytesOf(path);
    const size_t first = bytes.find("PK\x01\x02");
    ASSERT_NE(first, std::string::npos);
    // 100 stored bytes become 101: one byte into the second local header.
    ASSERT_EQ(static_cast<uint8_t>(bytes[first + 20]), 100);
    bytes[first + 20] = 101;
    put(path, bytes);
    EXPECT_FALSE(disjoint(path));
}

void put64(std::string& out, uint64_t v)
{
    zipbombs::put32(out, static_cast<uint32_t>(v));
    zipbombs::put32(out, static_cast<uint32_t>(v >> 32));
}

// The Zip64 end record of a directory of `count` entries, and its locator.
void putZip64End(std::string& archive, uint64_t count, uint64_t directorySize, uint64_t directoryAt)
{
    const uint64_t end64At = archive.size();
    zipbombs::put32(archive, 0x06064b50);
    put64(archive, 44);
    zipbombs::put16(archive, 45);
    zipbombs::put16(archive, 45);
    zipbombs::put32(archive, 0);
    zipbombs::put32(archive, 0);
    put64(archive, count);
    put64(archive, count);
    put64(archive, directorySize);
    put64(archive, directoryAt);
    zipbombs::put32(archive, 0x07064b50);
    zipbombs::put32(archive, 0);
    put64(archive, end64At);
    zipbombs::put32(archive, 1);
}

// A Zip64 archive of stored entries, every size and offset in the Zip64
// extra fields and the Zip64 end record; with `shareFirst` every directory
// entry points at the first local header.
std::string zip64Archive(const Entries& entries, bool shareFirst)
{
    using zipbombs::put16;
    using zipbombs::put32;
    std::string archive, directory;
    std::vector<uint64_t> offsets;
    for (const auto& [name, content] : entries) {
        const auto crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
        offsets.push_back(shareFirst && !offsets.empty() ? offsets.front() : archive.size());
        put32(archive, 0x04034b50);
        put16(archive, 45);
        put16(archive, 0);
        put16(archive, 0);  // stored
        put32(archive, 0);
        put32(archive, crc);
        put32(archive, 0xFFFFFFFF);
        put32(archive, 0xFFFFFFFF);
        put16(archive, static_cast<uint32_t>(name.size()));
        put16(archive, 20);
        archive += name;
        put16(archive, 1);
        put16(archive, 16);
        put64(archive, content.size());
        put64(archive, content.size());
        archive += content;

        put32(directory, 0x02014b50);
        put16(directory, 45);
        put16(directory, 45);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, 0);
        put32(directory, crc);
        put32(directory, 0xFFFFFFFF);
        put32(directory, 0xFFFFFFFF);
        put16(directory, static_cast<uint32_t>(name.size()));
        put16(directory, 28);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, 0);
        put32(directory, 0xFFFFFFFF);
        directory += name;
        put16(directory, 1);
        put16(directory, 24);
        put64(directory, content.size());
        put64(directory, content.size());
        put64(directory, offsets.back());
    }
    const uint64_t directoryAt = archive.size();
    archive += directory;
    putZip64End(archive, entries.size(), directory.size(), directoryAt);
    put32(archive, 0x06054b50);
    put32(archive, 0);
    put16(archive, 0xFFFF);
    put16(archive, 0xFFFF);
    put32(archive, 0xFFFFFFFF);
    put32(archive, 0xFFFFFFFF);
    put16(archive, 0);
    return archive;
}

TEST(ZipLayout, Zip64SizesAndOffsetsAreReadFromTheirExtraFields)
{
    TestFolder folder;
    const std::string path = folder / "wide.zip";
    const Entries entries = {{"one.txt", "first entry"}, {"two.txt", "second entry"}};
    put(path, zip64Archive(entries, false));
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr) << error;
    // libzip reads it as the archive it is.
    char text[32] = {};
    zip_file_t* two = zip_fopen(archive, "two.txt", 0);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(zip_fread(two, text, sizeof text), 12);
    zip_fclose(two);
    EXPECT_EQ(std::string(text), "second entry");
    EXPECT_TRUE(ziplayout::entriesAreDisjoint(path, archive));
    zip_discard(archive);

    put(path, zip64Archive(entries, true));
    EXPECT_FALSE(disjoint(path));
}

// Stored entries of equal content, their local headers one after another,
// and two central directories over them: `listed` is what the plain end
// record describes, `read` what the Zip64 end record before it describes.
// Each directory gives, entry for entry, the local header it points at.
std::string twoDirectoryArchive(const Entries& entries, const std::vector<size_t>& listed,
                                const std::vector<size_t>& read)
{
    using zipbombs::put16;
    using zipbombs::put32;
    std::string archive;
    std::vector<uint32_t> offsets, crcs;
    for (const auto& [name, content] : entries) {
        crcs.push_back(static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size()))));
        offsets.push_back(static_cast<uint32_t>(archive.size()));
        put32(archive, 0x04034b50);
        put16(archive, 20);
        put16(archive, 0);
        put16(archive, 0);  // stored
        put32(archive, 0);
        put32(archive, crcs.back());
        put32(archive, static_cast<uint32_t>(content.size()));
        put32(archive, static_cast<uint32_t>(content.size()));
        put16(archive, static_cast<uint32_t>(name.size()));
        put16(archive, 0);
        archive += name + content;
    }
    const auto directory = [&](const std::vector<size_t>& at) {
        std::string out;
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto& [name, content] = entries[i];
            put32(out, 0x02014b50);
            put16(out, 20);
            put16(out, 20);
            put16(out, 0);
            put16(out, 0);
            put32(out, 0);
            put32(out, crcs[i]);
            put32(out, static_cast<uint32_t>(content.size()));
            put32(out, static_cast<uint32_t>(content.size()));
            put16(out, static_cast<uint32_t>(name.size()));
            put16(out, 0);
            put16(out, 0);
            put16(out, 0);
            put16(out, 0);
            put32(out, 0);
            put32(out, offsets[at[i]]);
            out += name;
        }
        return out;
    };
    const uint64_t listedAt = archive.size();
    const std::string listedDirectory = directory(listed);
    archive += listedDirectory;
    const uint64_t readAt = archive.size();
    const std::string readDirectory = directory(read);
    archive += readDirectory;
    putZip64End(archive, entries.size(), readDirectory.size(), readAt);
    put32(archive, 0x06054b50);
    put32(archive, 0);
    put16(archive, static_cast<uint32_t>(entries.size()));
    put16(archive, static_cast<uint32_t>(entries.size()));
    put32(archive, static_cast<uint32_t>(listedDirectory.size()));
    put32(archive, static_cast<uint32_t>(listedAt));
    put16(archive, 0);
    return archive;
}

// A Zip64 locator before the end record makes the Zip64 end record the one
// that counts, even where the plain one's fields are not saturated: a plain
// record describing a harmless directory must not vouch for the other.
TEST(ZipLayout, TheDirectoryOfAZip64EndRecordIsCheckedWhereverALocatorPrecedesTheEnd)
{
    TestFolder folder;
    const std::string path = folder / "decoy.zip";
    const Entries entries = {{"one.txt", "same text"}, {"two.txt", "same text"}};
    put(path, twoDirectoryArchive(entries, {0, 1}, {0, 0}));
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr) << error;
    EXPECT_FALSE(ziplayout::entriesAreDisjoint(path, archive));
    zip_discard(archive);

    put(path, twoDirectoryArchive(entries, {0, 0}, {0, 1}));
    EXPECT_FALSE(disjoint(path)) << "either directory may be the one read";
    put(path, twoDirectoryArchive(entries, {0, 1}, {0, 1}));
    EXPECT_TRUE(disjoint(path));
}

// 65535 entries fit the plain end record's count, saturated or not: writers
// that keep to it, without any Zip64 record, make ordinary archives.
TEST(ZipLayout, AnArchiveOf65535EntriesWithoutZip64RecordsIsDisjoint)
{
    using zipbombs::put16;
    using zipbombs::put32;
    constexpr uint32_t kCount = 0xFFFF;
    std::string archive, directory;
    for (uint32_t i = 0; i < kCount; ++i) {
        const std::string name = std::to_string(i);
        const auto at = static_cast<uint32_t>(archive.size());
        // Empty stored files: flags, method, time, date, crc and sizes all 0.
        put32(archive, 0x04034b50);
        put16(archive, 10);
        for (int field = 0; field < 4; ++field)
            put16(archive, 0);
        for (int field = 0; field < 3; ++field)
            put32(archive, 0);
        put16(archive, static_cast<uint32_t>(name.size()));
        put16(archive, 0);
        archive += name;

        put32(directory, 0x02014b50);
        put16(directory, 10);
        put16(directory, 10);
        for (int field = 0; field < 4; ++field)
            put16(directory, 0);
        for (int field = 0; field < 3; ++field)
            put32(directory, 0);
        put16(directory, static_cast<uint32_t>(name.size()));
        for (int field = 0; field < 4; ++field)
            put16(directory, 0);  // extra, comment, disk, internal attributes
        put32(directory, 0);
        put32(directory, at);
        directory += name;
    }
    const auto directoryAt = static_cast<uint32_t>(archive.size());
    archive += directory;
    put32(archive, 0x06054b50);
    put32(archive, 0);
    put16(archive, kCount);
    put16(archive, kCount);
    put32(archive, static_cast<uint32_t>(directory.size()));
    put32(archive, directoryAt);
    put16(archive, 0);
    TestFolder folder;
    const std::string path = folder / "many.zip";
    put(path, archive);
    int error = 0;
    zip_t* opened = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(opened, nullptr) << error;
    EXPECT_EQ(zip_get_num_entries(opened, 0), kCount);
    EXPECT_TRUE(ziplayout::entriesAreDisjoint(path, opened));
    zip_discard(opened);
}

TEST(ZipLayout, ADirectoryThatCannotBeMatchedWithLibzipsIsNotPassed)
{
    TestFolder folder;
    const std::string path = folder / "plain.zip";
    writeArchive(path, {{"x.txt", "x"}});
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    const std::string other = folder / "other.zip";
    writeArchive(other, {{"y.txt", "y"}});
    EXPECT_FALSE(ziplayout::entriesAreDisjoint(other, archive));
    EXPECT_FALSE(ziplayout::entriesAreDisjoint(folder / "missing.zip", archive));
    EXPECT_FALSE(ziplayout::entriesAreDisjoint(path, nullptr));
    EXPECT_TRUE(ziplayout::entriesAreDisjoint(path, archive));
    zip_discard(archive);
}

}  // namespace
