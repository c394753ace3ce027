#include "core/transfer/ContainerStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace notarium {
namespace {

using namespace std::string_literals;

// Streams written out by hand, byte for byte, so that the tests check the layout and not the
// writer against itself.
const std::string kHead = "TPF0"
                          "\x14"
                          "TCollectionContainer"s;
const std::string kCollectionStart = "\x0A"
                                     "Collection"
                                     "\x0E"s;
const std::string kTail = "\x00\x00\x00"s;

std::string prop(std::string_view name, const std::string& value)
{
    return std::string(1, static_cast<char>(name.size())) + std::string(name) + value;
}

std::string int8(int v)
{
    return "\x02"s + static_cast<char>(v);
}

// The seven integer properties with small values, as an item without strings and Booleans has.
std::string integers(int level, int top, int lines, int pos, int len, int image, int selected)
{
    return prop("NodeData.Level", int8(level)) + prop("NodeData.TopLin", int8(top))
        + prop("NodeData.LinCnt", int8(lines)) + prop("NodeData.SelPos", int8(pos))
        + prop("NodeData.SelLen", int8(len)) + prop("NodeData.iIndex", int8(image))
        + prop("NodeData.sIndex", int8(selected));
}

std::string stream(const std::vector<std::string>& itemBodies, std::string_view name = "")
{
    std::string s = kHead + static_cast<char>(name.size()) + std::string(name) + kCollectionStart;
    for (const std::string& body : itemBodies)
        s += "\x01"s + body + "\x00"s;
    return s + kTail;
}

TNodeDataItem sampleItem()
{
    TNodeDataItem d;
    d.NodeData.MemoStr = "ab";
    d.Caption = "T";
    d.Level = 1;
    d.NodeData.Modify = true;
    d.NodeData.LinCnt = 1;
    d.NodeData.SelPos = 2;
    d.iIndex = 2;
    d.sIndex = 2;
    return d;
}

TCollectionContainer containerOf(const std::vector<TNodeDataItem>& records, std::string name = {})
{
    TCollectionContainer c(std::move(name));
    for (const TNodeDataItem& d : records)
        c.add() = d;
    return c;
}

ContainerReadResult read(std::string_view bytes)
{
    return readContainerStream(bytes);
}

TEST(ContainerStreamLayout, OneItemIsWrittenByteForByte)
{
    const std::string expected = "TPF0"
                                 "\x14"
                                 "TCollectionContainer"
                                 "\x00"
                                 "\x0A"
                                 "Collection"
                                 "\x0E"
                                 "\x01"
                                 "\x10"
                                 "NodeData.MemoStr"
                                 "\x06\x02"
                                 "ab"
                                 "\x10"
                                 "NodeData.Caption"
                                 "\x06\x01"
                                 "T"
                                 "\x0E"
                                 "NodeData.Level"
                                 "\x02\x01"
                                 "\x0F"
                                 "NodeData.Modify"
                                 "\x09"
                                 "\x0F"
                                 "NodeData.TopLin"
                                 "\x02\x00"
                                 "\x0F"
                                 "NodeData.LinCnt"
                                 "\x02\x01"
                                 "\x0F"
                                 "NodeData.SelPos"
                                 "\x02\x02"
                                 "\x0F"
                                 "NodeData.SelLen"
                                 "\x02\x00"
                                 "\x0F"
                                 "NodeData.iIndex"
                                 "\x02\x02"
                                 "\x0F"
                                 "NodeData.sIndex"
                                 "\x02\x02"
                                 "\x00"
                                 "\x00\x00\x00"s;
    const TCollectionContainer c = containerOf({ sampleItem() });
    EXPECT_EQ(writeContainerStream(c), expected);
    const ContainerReadResult r = read(expected);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.container, c);
}

TEST(ContainerStreamLayout, EmptyTextsAndFalseFlagsAreLeftOutTrueFlagsAndNameAreWritten)
{
    TNodeDataItem plain; // every field zero, empty or false
    TNodeDataItem open;
    open.Level = 2;
    open.NodeData.TrOpen = true;
    open.NodeData.LinCnt = -1;
    open.NodeData.SelPos = 300;
    const std::string expected
        = stream({ integers(0, 0, 0, 0, 0, 0, 0),
                     prop("NodeData.Level", int8(2)) + prop("NodeData.TopLin", int8(0))
                         + prop("NodeData.LinCnt", int8(-1)) + prop("NodeData.SelPos", "\x03\x2C\x01"s)
                         + prop("NodeData.SelLen", int8(0)) + prop("NodeData.iIndex", int8(0))
                         + prop("NodeData.sIndex", int8(0)) + prop("NodeData.TrOpen", "\x09"s) },
            "Box");
    EXPECT_EQ(writeContainerStream(containerOf({ plain, open }, "Box")), expected);
}

TEST(ContainerStreamLayout, EmptyContainerIsTheBareFrame)
{
    EXPECT_EQ(writeContainerStream(TCollectionContainer()), stream({}));
    const ContainerReadResult r = read(stream({}));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.container.isEmpty());
}

struct IntegerCase {
    std::int32_t value;
    std::string encoded; // tag and value bytes
};

void PrintTo(const IntegerCase& c, std::ostream* os)
{
    *os << c.value;
}

class ContainerStreamIntegers : public ::testing::TestWithParam<IntegerCase> { };

TEST_P(ContainerStreamIntegers, SmallestSignedTagIsWrittenAndReadBack)
{
    const IntegerCase& c = GetParam();
    TNodeDataItem d;
    d.NodeData.SelLen = c.value;
    const std::string bytes = writeContainerStream(containerOf({ d }));
    const std::string expected = stream({ prop("NodeData.Level", int8(0)) + prop("NodeData.TopLin", int8(0))
        + prop("NodeData.LinCnt", int8(0)) + prop("NodeData.SelPos", int8(0))
        + prop("NodeData.SelLen", c.encoded) + prop("NodeData.iIndex", int8(0))
        + prop("NodeData.sIndex", int8(0)) });
    EXPECT_EQ(bytes, expected);
    const ContainerReadResult r = read(bytes);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.container.count(), 1u);
    EXPECT_EQ(r.container.item(0).NodeData.SelLen, c.value);
}

TEST_P(ContainerStreamIntegers, EveryWiderTagReadsTheSameValue)
{
    const IntegerCase& c = GetParam();
    const auto bits = static_cast<std::uint32_t>(c.value);
    std::vector<std::string> forms;
    if (c.encoded[0] == '\x02')
        forms.push_back("\x03"s + static_cast<char>(bits) + static_cast<char>(bits >> 8));
    if (c.encoded[0] != '\x04')
        forms.push_back("\x04"s + static_cast<char>(bits) + static_cast<char>(bits >> 8)
            + static_cast<char>(bits >> 16) + static_cast<char>(bits >> 24));
    for (const std::string& form : forms) {
        const ContainerReadResult r = read(stream({ prop("NodeData.TopLin", form) }));
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.container.item(0).NodeData.TopLin, c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ContainerStreamIntegers,
    ::testing::Values(IntegerCase { 0, "\x02\x00"s }, IntegerCase { -1, "\x02\xFF"s },
        IntegerCase { 127, "\x02\x7F"s }, IntegerCase { -128, "\x02\x80"s },
        IntegerCase { 128, "\x03\x80\x00"s }, IntegerCase { -129, "\x03\x7F\xFF"s },
        IntegerCase { 32767, "\x03\xFF\x7F"s }, IntegerCase { -32768, "\x03\x00\x80"s },
        IntegerCase { 32768, "\x04\x00\x80\x00\x00"s }, IntegerCase { -32769, "\x04\xFF\x7F\xFF\xFF"s },
        IntegerCase { INT32_MAX, "\x04\xFF\xFF\xFF\x7F"s },
        IntegerCase { INT32_MIN, "\x04\x00\x00\x00\x80"s }));

struct StringCase {
    std::size_t length;
    std::string prefix; // tag and length bytes
};

void PrintTo(const StringCase& c, std::ostream* os)
{
    *os << c.length << " bytes";
}

class ContainerStreamStrings : public ::testing::TestWithParam<StringCase> { };

TEST_P(ContainerStreamStrings, ShortFormUpTo255BytesLongFormBeyond)
{
    const StringCase& c = GetParam();
    std::string text(c.length, 'x');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(0x80 + i % 0x7F); // CP932 bytes, NUL-free
    TNodeDataItem d;
    d.Caption = text;
    const std::string bytes = writeContainerStream(containerOf({ d }));
    const std::string expectedProperty = prop("NodeData.Caption", c.prefix + text);
    EXPECT_EQ(bytes, stream({ expectedProperty + integers(0, 0, 0, 0, 0, 0, 0) }));
    const ContainerReadResult r = read(bytes);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.container.item(0).Caption, text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ContainerStreamStrings,
    ::testing::Values(StringCase { 1, "\x06\x01"s }, StringCase { 255, "\x06\xFF"s },
        StringCase { 256, "\x0C\x00\x01\x00\x00"s }, StringCase { 70000, "\x0C\x70\x11\x01\x00"s }));

TEST(ContainerStreamRead, TextsInEitherFormAndWithNulBytesReadAlike)
{
    const std::string body = "a\0b\r\n\x82\xA0"s;
    const ContainerReadResult shortForm
        = read(stream({ prop("NodeData.MemoStr", "\x06"s + static_cast<char>(body.size()) + body) }));
    const ContainerReadResult longForm = read(
        stream({ prop("NodeData.MemoStr", "\x0C"s + static_cast<char>(body.size()) + "\0\0\0"s + body) }));
    ASSERT_TRUE(shortForm.ok()) << shortForm.error;
    ASSERT_TRUE(longForm.ok()) << longForm.error;
    EXPECT_EQ(shortForm.container.item(0).NodeData.MemoStr, body);
    EXPECT_EQ(longForm.container, shortForm.container);
    // An empty text written out anyway reads as the empty text.
    const ContainerReadResult empty = read(stream({ prop("NodeData.Caption", "\x0C\0\0\0\0"s) }));
    ASSERT_TRUE(empty.ok()) << empty.error;
    EXPECT_EQ(empty.container.item(0), TNodeDataItem());
}

TEST(ContainerStreamRead, AbsentPropertiesReadAsDefaultsAndOrderDoesNotMatter)
{
    const ContainerReadResult r = read(stream({
        "",
        prop("NodeData.TrOpen", "\x09"s) + prop("NodeData.Caption", "\x06\x01Z"s)
            + prop("NodeData.Level", int8(-3)),
        prop("NodeData.Modify", "\x08"s) + prop("NodeData.TrOpen", "\x08"s), // explicit false
    }));
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.container.count(), 3u);
    EXPECT_EQ(r.container.item(0), TNodeDataItem());
    TNodeDataItem second;
    second.NodeData.TrOpen = true;
    second.Caption = "Z";
    second.Level = -3;
    EXPECT_EQ(r.container.item(1), second);
    EXPECT_EQ(r.container.item(2), TNodeDataItem());
}

TEST(ContainerStreamRead, ComponentNameIsKeptAndBytesAfterTheEndAreIgnored)
{
    const std::string bytes = writeContainerStream(containerOf({ sampleItem() }, "Container1"));
    // A clipboard block may be rounded up beyond the stream it holds.
    const ContainerReadResult r = read(bytes + "\0\0\xFFgarbage"s);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.container.name(), "Container1");
    EXPECT_EQ(r.container, containerOf({ sampleItem() }, "Container1"));
}

// A component name is an identifier, but nothing stops a caller from giving a longer one: it is
// cut to what its length byte can count instead of being written with a wrapped length.
TEST(ContainerStreamLayout, OverlongComponentNameIsCutTo255Bytes)
{
    const ContainerReadResult r
        = read(writeContainerStream(containerOf({ sampleItem() }, std::string(300, 'n'))));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.container.name(), std::string(255, 'n'));
    EXPECT_EQ(r.container.collection(), containerOf({ sampleItem() }).collection());
}

struct BadCase {
    const char* what;
    std::string bytes;
};

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.what;
}

class ContainerStreamRejects : public ::testing::TestWithParam<BadCase> { };

TEST_P(ContainerStreamRejects, WithAnErrorAndNoItems)
{
    const ContainerReadResult r = read(GetParam().bytes);
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(r.container.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Damaged, ContainerStreamRejects,
    ::testing::Values(BadCase { "empty", "" }, BadCase { "other signature", "TPF1" + stream({}).substr(4) },
        BadCase { "other class",
            "TPF0\x0A"
            "TComponent\x00\x00\x00"s },
        BadCase { "unknown container property", kHead + "\x00\x04Name\x06\x01x\x00\x00"s },
        BadCase { "collection property with a list tag",
            kHead
                + "\x00\x0A"
                  "Collection\x01\x00\x00\x00"s },
        BadCase { "unknown item property", stream({ prop("NodeData.Colour", int8(1)) }) },
        BadCase { "property of the item itself", stream({ prop("NodeData", int8(1)) }) },
        BadCase { "text in an integer property", stream({ prop("NodeData.Level", "\x06\x01x"s) }) },
        BadCase { "integer in a text property", stream({ prop("NodeData.MemoStr", int8(1)) }) },
        BadCase { "integer in a Boolean property", stream({ prop("NodeData.Modify", int8(1)) }) },
        BadCase { "64-bit integer", stream({ prop("NodeData.Level", "\x13\1\0\0\0\0\0\0\0"s) }) },
        BadCase { "item with an order value",
            kHead + "\x00"s + kCollectionStart + "\x02\x05\x01\x00\x00"s + kTail },
        BadCase { "child component", stream({}).substr(0, stream({}).size() - 1) + "\x01"s },
        BadCase { "long text longer than the data",
            stream({ prop("NodeData.MemoStr",
                "\x0C\xFF\xFF\xFF\xFF"
                "abc"s) }) },
        BadCase { "short text longer than the data",
            kHead + "\x00"s + kCollectionStart + "\x01"s
                + prop("NodeData.Caption",
                    "\x06\x10"
                    "abc"s) }));

// Each prefix lives in a buffer of exactly its size, so that the address sanitizer of the test
// build stops any read past the end.
ContainerReadResult readExact(std::string_view bytes)
{
    auto buffer = std::make_unique<char[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    return readContainerStream(std::string_view(buffer.get(), bytes.size()));
}

std::string richStream()
{
    TNodeDataItem a = sampleItem();
    TNodeDataItem b;
    b.NodeData.MemoStr = std::string(300, '\x81');
    b.Level = 70000;
    b.NodeData.TopLin = -200;
    b.NodeData.TrOpen = true;
    TNodeDataItem c;
    c.Caption = "c";
    c.sIndex = 3;
    return writeContainerStream(containerOf({ a, b, c }, "N"));
}

TEST(ContainerStreamDamage, EveryShorterPrefixIsRejected)
{
    const std::string full = richStream();
    ASSERT_TRUE(readExact(full).ok());
    for (std::size_t n = 0; n < full.size(); ++n) {
        const ContainerReadResult r = readExact(std::string_view(full).substr(0, n));
        EXPECT_FALSE(r.ok()) << "prefix of " << n << " bytes";
        EXPECT_TRUE(r.container.isEmpty());
    }
}

TEST(ContainerStreamDamage, FlippedBytesAreRejectedOrReadToAStableContainer)
{
    const std::string full = richStream();
    std::size_t accepted = 0;
    for (std::size_t i = 0; i < full.size(); ++i) {
        for (unsigned mask : { 0x01u, 0x10u, 0x80u, 0xFFu }) {
            std::string damaged = full;
            damaged[i] = static_cast<char>(damaged[i] ^ static_cast<char>(mask));
            const ContainerReadResult r = readExact(damaged);
            if (!r.ok()) {
                EXPECT_FALSE(r.error.empty());
                continue;
            }
            ++accepted;
            // What was accepted writes out and reads back the same.
            const ContainerReadResult again = read(writeContainerStream(r.container));
            ASSERT_TRUE(again.ok()) << again.error;
            EXPECT_EQ(again.container, r.container) << "byte " << i << " mask " << mask;
        }
    }
    // Flips inside texts and integer values are harmless; the check above must have run.
    EXPECT_GT(accepted, 0u);
}

TEST(ContainerStreamDamage, RandomBytesNeverCrash)
{
    std::mt19937 random(1234);
    const std::string base = richStream();
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = base.substr(0, random() % (base.size() + 1));
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        const ContainerReadResult r = readExact(bytes);
        EXPECT_EQ(r.ok(), r.error.empty());
    }
}

// The fuzzer starts from these files; a seed that no longer reads would leave it guessing. The
// inputs the fuzzer found itself (named by their SHA-1) are damaged on purpose as often as not.
TEST(ContainerStreamCorpus, EverySeedReads)
{
    std::size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(NOTARIUM_FUZZ_CORPUS "/transfer")) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 40 && name.find_first_not_of("0123456789abcdef") == std::string::npos)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const ContainerReadResult r = readContainerStream(bytes);
        EXPECT_TRUE(r.ok()) << entry.path() << ": " << r.error;
        ++seeds;
    }
    EXPECT_GE(seeds, 5u);
}

} // namespace
} // namespace notarium
