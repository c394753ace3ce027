#include "core/transfer/ContainerStream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace notarium {
namespace {

constexpr std::string_view kSignature = "TPF0";
constexpr std::string_view kClassName = "TCollectionContainer";
constexpr std::string_view kCollectionProperty = "Collection";
constexpr std::size_t kMaxShortLength = 255;

enum Tag : unsigned char {
    TagEnd = 0x00,
    TagList = 0x01,
    TagInt8 = 0x02,
    TagInt16 = 0x03,
    TagInt32 = 0x04,
    TagString = 0x06,
    TagFalse = 0x08,
    TagTrue = 0x09,
    TagLongString = 0x0C,
    TagCollection = 0x0E,
};

// The item properties in the order they are written.
enum class Field { MemoStr, Caption, Level, Modify, TopLin, LinCnt, SelPos, SelLen, iIndex, sIndex, TrOpen };

struct FieldName {
    Field field;
    std::string_view name;
};

constexpr std::array<FieldName, 11> kFields { {
    { Field::MemoStr, "NodeData.MemoStr" },
    { Field::Caption, "NodeData.Caption" },
    { Field::Level, "NodeData.Level" },
    { Field::Modify, "NodeData.Modify" },
    { Field::TopLin, "NodeData.TopLin" },
    { Field::LinCnt, "NodeData.LinCnt" },
    { Field::SelPos, "NodeData.SelPos" },
    { Field::SelLen, "NodeData.SelLen" },
    { Field::iIndex, "NodeData.iIndex" },
    { Field::sIndex, "NodeData.sIndex" },
    { Field::TrOpen, "NodeData.TrOpen" },
} };

enum class Kind { String, Integer, Boolean };

Kind kindOf(Field field)
{
    switch (field) {
    case Field::MemoStr:
    case Field::Caption:
        return Kind::String;
    case Field::Modify:
    case Field::TrOpen:
        return Kind::Boolean;
    default:
        return Kind::Integer;
    }
}

// Item is TNodeDataItem or const TNodeDataItem: the writer and the reader share the field table.
// Every name is a NodeData property in the stream; Caption, Level and the image indexes are kept
// beside the item's TNodeData rather than in it.
template <typename Item> auto& stringField(Item& item, Field field)
{
    return field == Field::MemoStr ? item.NodeData.MemoStr : item.Caption;
}

template <typename Item> auto& booleanField(Item& item, Field field)
{
    return field == Field::Modify ? item.NodeData.Modify : item.NodeData.TrOpen;
}

template <typename Item> auto& integerField(Item& item, Field field)
{
    switch (field) {
    case Field::Level:
        return item.Level;
    case Field::TopLin:
        return item.NodeData.TopLin;
    case Field::LinCnt:
        return item.NodeData.LinCnt;
    case Field::SelPos:
        return item.NodeData.SelPos;
    case Field::SelLen:
        return item.NodeData.SelLen;
    case Field::iIndex:
        return item.iIndex;
    default:
        return item.sIndex;
    }
}

// --- writing ---

void putByte(std::string& out, unsigned value)
{
    out.push_back(static_cast<char>(static_cast<unsigned char>(value)));
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        putByte(out, (value >> (8 * i)) & 0xFFu);
}

// A length byte and the text. Only names go through here; a name longer than a length byte can
// count is cut rather than written with a wrong length.
void putShortText(std::string& out, std::string_view text)
{
    if (text.size() > kMaxShortLength)
        text = text.substr(0, kMaxShortLength);
    putByte(out, static_cast<unsigned>(text.size()));
    out.append(text);
}

void putInteger(std::string& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (value >= std::numeric_limits<std::int8_t>::min()
        && value <= std::numeric_limits<std::int8_t>::max()) {
        putByte(out, TagInt8);
        putLittleEndian(out, bits, 1);
    } else if (value >= std::numeric_limits<std::int16_t>::min()
        && value <= std::numeric_limits<std::int16_t>::max()) {
        putByte(out, TagInt16);
        putLittleEndian(out, bits, 2);
    } else {
        putByte(out, TagInt32);
        putLittleEndian(out, bits, 4);
    }
}

void putString(std::string& out, std::string_view text)
{
    if (text.size() <= kMaxShortLength) {
        putByte(out, TagString);
        putByte(out, static_cast<unsigned>(text.size()));
    } else {
        // A text of 4 GiB or more cannot be counted by the long form either; such a body is far
        // beyond anything the memo pane holds, so it is cut instead of written with a wrong length.
        if (text.size() > std::numeric_limits<std::uint32_t>::max())
            text = text.substr(0, std::numeric_limits<std::uint32_t>::max());
        putByte(out, TagLongString);
        putLittleEndian(out, static_cast<std::uint32_t>(text.size()), 4);
    }
    out.append(text);
}

void putItem(std::string& out, const TNodeDataItem& item)
{
    putByte(out, TagList);
    for (const FieldName& f : kFields) {
        // Empty strings and false Booleans are left out; a reader takes their absence for them.
        switch (kindOf(f.field)) {
        case Kind::String: {
            const std::string& text = stringField(item, f.field);
            if (text.empty())
                continue;
            putShortText(out, f.name);
            putString(out, text);
            break;
        }
        case Kind::Boolean:
            if (!booleanField(item, f.field))
                continue;
            putShortText(out, f.name);
            putByte(out, TagTrue);
            break;
        case Kind::Integer:
            putShortText(out, f.name);
            putInteger(out, integerField(item, f.field));
            break;
        }
    }
    putByte(out, TagEnd);
}

// --- reading ---

class StreamReader {
public:
    explicit StreamReader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    const std::string& error() const { return m_error; }
    bool failed() const { return !m_error.empty(); }

    // Records the first failure only: later ones are consequences of it.
    bool fail(std::string_view what)
    {
        if (m_error.empty())
            m_error = "damaged subtree data at byte " + std::to_string(m_pos) + ": " + std::string(what);
        return false;
    }

    std::size_t remaining() const { return m_bytes.size() - m_pos; }

    bool byte(unsigned char& value)
    {
        if (remaining() < 1)
            return fail("the data ends too early");
        value = static_cast<unsigned char>(m_bytes[m_pos++]);
        return true;
    }

    bool take(std::size_t count, std::string_view& out)
    {
        if (count > remaining())
            return fail("a length runs past the end of the data");
        out = m_bytes.substr(m_pos, count);
        m_pos += count;
        return true;
    }

    bool littleEndian(int bytes, std::uint32_t& value)
    {
        std::string_view raw;
        if (!take(static_cast<std::size_t>(bytes), raw))
            return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(raw[static_cast<std::size_t>(i)]))
                << (8 * i);
        return true;
    }

    bool shortText(std::string_view& out)
    {
        unsigned char length = 0;
        return byte(length) && take(length, out);
    }

    // An integer in any of the three widths; the narrower ones are sign-extended.
    bool integer(unsigned char tag, std::int32_t& value)
    {
        std::uint32_t raw = 0;
        switch (tag) {
        case TagInt8:
            if (!littleEndian(1, raw))
                return false;
            value = static_cast<std::int8_t>(static_cast<std::uint8_t>(raw));
            return true;
        case TagInt16:
            if (!littleEndian(2, raw))
                return false;
            value = static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
            return true;
        case TagInt32:
            if (!littleEndian(4, raw))
                return false;
            value = static_cast<std::int32_t>(raw);
            return true;
        default:
            return fail("an integer property has a value that is not an integer");
        }
    }

    bool string(unsigned char tag, std::string& value)
    {
        std::string_view text;
        if (tag == TagString) {
            if (!shortText(text))
                return false;
        } else if (tag == TagLongString) {
            std::uint32_t length = 0;
            if (!littleEndian(4, length) || !take(length, text))
                return false;
        } else {
            return fail("a text property has a value that is not a text");
        }
        value.assign(text);
        return true;
    }

    bool boolean(unsigned char tag, bool& value)
    {
        if (tag != TagTrue && tag != TagFalse)
            return fail("a yes/no property has a value that is not true or false");
        value = tag == TagTrue;
        return true;
    }

    bool item(TNodeDataItem& record)
    {
        for (;;) {
            std::string_view name;
            if (!shortText(name))
                return false;
            if (name.empty())
                return true; // the end byte of the item's property list
            const FieldName* found = nullptr;
            for (const FieldName& f : kFields)
                if (f.name == name)
                    found = &f;
            if (found == nullptr)
                return fail("an item has an unknown property");
            unsigned char tag = 0;
            if (!byte(tag))
                return false;
            bool ok = false;
            switch (kindOf(found->field)) {
            case Kind::String:
                ok = string(tag, stringField(record, found->field));
                break;
            case Kind::Integer:
                ok = integer(tag, integerField(record, found->field));
                break;
            case Kind::Boolean:
                ok = boolean(tag, booleanField(record, found->field));
                break;
            }
            if (!ok)
                return false;
        }
    }

    bool collection(TCollectionContainer& container)
    {
        // Reading the property again replaces what an earlier copy of it gave.
        container.clear();
        for (;;) {
            unsigned char tag = 0;
            if (!byte(tag))
                return false;
            if (tag == TagEnd)
                return true;
            if (tag != TagList)
                return fail("an item of the collection does not begin with a list");
            if (!item(container.add()))
                return false;
        }
    }

    bool container(TCollectionContainer& container)
    {
        std::string_view signature;
        if (!take(kSignature.size(), signature) || signature != kSignature)
            return fail("this is not subtree data (the signature TPF0 is missing)");
        std::string_view className;
        if (!shortText(className))
            return false;
        if (className != kClassName)
            return fail("the data holds another kind of component than a TCollectionContainer");
        std::string_view name;
        if (!shortText(name))
            return false;
        container.setName(std::string(name));
        for (;;) {
            std::string_view property;
            if (!shortText(property))
                return false;
            if (property.empty())
                break;
            if (property != kCollectionProperty)
                return fail("the container has an unknown property");
            unsigned char tag = 0;
            if (!byte(tag))
                return false;
            if (tag != TagCollection)
                return fail("the property Collection holds no collection");
            if (!collection(container))
                return false;
        }
        unsigned char children = 0;
        if (!byte(children))
            return false;
        if (children != TagEnd)
            return fail("the container has child components");
        return true;
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::string m_error;
};

} // namespace

std::string writeContainerStream(const TCollectionContainer& container)
{
    std::string out;
    out.append(kSignature);
    putShortText(out, kClassName);
    putShortText(out, container.name());
    putShortText(out, kCollectionProperty);
    putByte(out, TagCollection);
    for (const TNodeDataItem& item : container.collection())
        putItem(out, item);
    putByte(out, TagEnd); // end of the collection
    putByte(out, TagEnd); // end of the container's properties
    putByte(out, TagEnd); // end of the container's child list
    return out;
}

ContainerReadResult readContainerStream(std::string_view bytes)
{
    ContainerReadResult result;
    StreamReader reader(bytes);
    if (!reader.container(result.container)) {
        result.error = reader.failed() ? reader.error() : "damaged subtree data";
        // A half-read container is of no use to anyone.
        result.container = TCollectionContainer();
    }
    return result;
}

} // namespace notarium
