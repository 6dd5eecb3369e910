// Reading an image's bytes into a tree of values, checked for form but not yet for meaning.
#include "framework/ComponentImage.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

// Values, property entries and records that one image may hold in all.
constexpr int MaxImageNodes = 65536;

class TImageParser {
public:
    explicit TImageParser(const QByteArray &data) : FData(data) {}

    bool Image(TImageRecord &record)
    {
        if (FData.size() < 4 || std::memcmp(FData.constData(), ImageSignature, 4) != 0)
            return false;
        FPos = 4;
        // The end byte after the record is optional; anything after it is not ours to read.
        return Record(record, 0);
    }

private:
    qsizetype Remaining() const { return FData.size() - FPos; }

    bool Node()
    {
        return ++FNodes <= MaxImageNodes;
    }

    bool Peek(std::uint8_t &b) const
    {
        if (Remaining() < 1)
            return false;
        b = static_cast<std::uint8_t>(FData[FPos]);
        return true;
    }

    bool Byte(std::uint8_t &b)
    {
        if (!Peek(b))
            return false;
        ++FPos;
        return true;
    }

    bool Raw(qsizetype count, QByteArray &out)
    {
        if (count < 0 || count > Remaining())
            return false;
        out = FData.mid(FPos, count);
        FPos += count;
        return true;
    }

    // Little-endian unsigned of 1 to 8 bytes.
    bool Unsigned(int size, std::uint64_t &out)
    {
        if (Remaining() < size)
            return false;
        out = 0;
        for (int i = 0; i < size; ++i)
            out |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(FData[FPos + i])) << (8 * i);
        FPos += size;
        return true;
    }

    bool Signed(int size, std::int64_t &out)
    {
        std::uint64_t u = 0;
        if (!Unsigned(size, u))
            return false;
        if (size < 8) {
            const std::uint64_t sign = std::uint64_t{1} << (8 * size - 1);
            if (u & sign)
                u |= ~((sign << 1) - 1);
        }
        std::memcpy(&out, &u, sizeof out);
        return true;
    }

    bool ShortString(QByteArray &out)
    {
        std::uint8_t len = 0;
        return Byte(len) && Raw(len, out);
    }

    bool LongBytes(int unitSize, QByteArray &out)
    {
        std::uint64_t count = 0;
        if (!Unsigned(4, count))
            return false;
        const std::uint64_t bytes = count * static_cast<std::uint64_t>(unitSize);
        if (bytes > static_cast<std::uint64_t>(Remaining()))
            return false;
        return Raw(static_cast<qsizetype>(bytes), out);
    }

    // The end of a list: a 0 byte, consumed. False without consuming when another item follows.
    bool AtEnd(bool &end)
    {
        std::uint8_t b = 0;
        if (!Peek(b))
            return false;
        end = b == 0;
        if (end)
            ++FPos;
        return true;
    }

    bool Properties(std::vector<TImageProperty> &props, int depth)
    {
        for (;;) {
            bool end = false;
            if (!AtEnd(end))
                return false;
            if (end)
                return true;
            if (!Node())
                return false;
            TImageProperty p;
            if (!ShortString(p.Name) || !Value(p.Value, depth))
                return false;
            props.push_back(std::move(p));
        }
    }

    bool Value(TImageValue &v, int depth)
    {
        if (depth >= MaxImageDepth || !Node())
            return false;
        std::uint8_t tag = 0;
        if (!Byte(tag))
            return false;
        v.Tag = static_cast<TValueTag>(tag);
        switch (tag) {
        case vaNull:
        case vaFalse:
        case vaTrue:
        case vaNil:
            return true;
        case vaList:
            for (;;) {
                bool end = false;
                if (!AtEnd(end))
                    return false;
                if (end)
                    return true;
                TImageValue item;
                if (!Value(item, depth + 1))
                    return false;
                v.Items.push_back(std::move(item));
            }
        case vaInt8:
            return Signed(1, v.Int);
        case vaInt16:
            return Signed(2, v.Int);
        case vaInt32:
            return Signed(4, v.Int);
        case vaInt64:
            return Signed(8, v.Int);
        case vaExtended: {
            QByteArray raw;
            if (!Raw(10, raw))
                return false;
            v.Float = ExtendedToDouble(reinterpret_cast<const unsigned char *>(raw.constData()));
            return true;
        }
        case vaSingle: {
            std::uint64_t u = 0;
            if (!Unsigned(4, u))
                return false;
            const std::uint32_t bits = static_cast<std::uint32_t>(u);
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            v.Float = f;
            return true;
        }
        case vaDate: {
            std::uint64_t u = 0;
            if (!Unsigned(8, u))
                return false;
            std::memcpy(&v.Float, &u, sizeof v.Float);
            return true;
        }
        case vaCurrency:
            if (!Signed(8, v.Int))
                return false;
            v.Float = static_cast<double>(v.Int) / 10000.0;
            return true;
        case vaString:
        case vaIdent:
            return ShortString(v.Bytes);
        case vaBinary:
        case vaLString:
            return LongBytes(1, v.Bytes);
        case vaWString:
            return LongBytes(2, v.Bytes);
        case vaSet:
            for (;;) {
                QByteArray member;
                if (!ShortString(member))
                    return false;
                if (member.isEmpty())
                    return true;
                if (!Node())
                    return false;
                v.Members.push_back(std::move(member));
            }
        case vaCollection:
            for (;;) {
                bool end = false;
                if (!AtEnd(end))
                    return false;
                if (end)
                    return true;
                if (!Node())
                    return false;
                std::uint8_t b = 0;
                if (!Peek(b))
                    return false;
                // An item may carry its index before its list.
                if (b == vaInt8 || b == vaInt16 || b == vaInt32) {
                    TImageValue index;
                    if (!Value(index, depth + 1))
                        return false;
                }
                if (!Byte(b) || b != vaList)
                    return false;
                std::vector<TImageProperty> item;
                if (depth + 1 >= MaxImageDepth || !Properties(item, depth + 1))
                    return false;
                v.CollectionItems.push_back(std::move(item));
            }
        default:
            return false;
        }
    }

    bool Record(TImageRecord &r, int depth)
    {
        if (depth >= MaxImageDepth || !Node())
            return false;
        std::uint8_t b = 0;
        if (!Peek(b))
            return false;
        if ((b & 0xF0) == 0xF0) {
            ++FPos;
            r.Flags = b & 0x0F;
            if (r.Flags & 2) {
                TImageValue pos;
                if (!Value(pos, depth + 1))
                    return false;
                if (pos.Tag != vaInt8 && pos.Tag != vaInt16 && pos.Tag != vaInt32 && pos.Tag != vaInt64)
                    return false;
                r.ChildPos = pos.Int;
            }
        }
        if (!ShortString(r.ClassName) || r.ClassName.isEmpty() || !ShortString(r.Name))
            return false;
        if (!Properties(r.Properties, depth))
            return false;
        for (;;) {
            bool end = false;
            if (!AtEnd(end))
                return false;
            if (end)
                return true;
            TImageRecord child;
            if (!Record(child, depth + 1))
                return false;
            r.Children.push_back(std::move(child));
        }
    }

    const QByteArray &FData;
    qsizetype FPos = 0;
    int FNodes = 0;
};

} // namespace

double ExtendedToDouble(const unsigned char bytes[10])
{
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    const int exponent = ((bytes[9] & 0x7F) << 8) | bytes[8];
    const bool negative = (bytes[9] & 0x80) != 0;
    double value = 0;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // The integer bit is explicit; a zero exponent is a denormal with exponent 1 - bias.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(mantissa), e);
    }
    return negative ? -value : value;
}

bool ParseComponentImage(const QByteArray &image, TImageRecord &record)
{
    if (image.size() > MaxImageSize)
        return false;
    try {
        TImageParser parser(image);
        return parser.Image(record);
    } catch (const std::bad_alloc &) {
        return false;
    }
}
