#include "model/PresetText.h"

#include "model/SettingsLayout.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <vector>

namespace presettext {

namespace {

// A JSON value with the line it starts on. Our own reader, because
// QJsonDocument tells neither lines nor the order of keys, and refusing a
// hand edit must say where it is.
struct Value {
    enum Kind { Object, Array, String, Integer, Other }; // Other: a fraction, true, false or null
    Kind kind = Other;
    int line = 0;
    QString text;
    qint64 number = 0;
    std::vector<std::pair<QString, Value>> members; // in the file's order
    std::vector<Value> items;
};

constexpr int kMaxDepth = 8; // the format nests three deep
constexpr qint64 kHugeNumber = 1000000000000LL; // any number this long is out of range anyway

QString message(const char *text)
{
    return QCoreApplication::translate("PresetText", text);
}

class Parser
{
public:
    explicit Parser(const QByteArray &text)
        : m_text(text)
    { }

    bool parse(Value *out, QString *error)
    {
        if (!parseValue(out, 0))
            return report(error);
        skipSpace();
        if (m_pos < m_text.size() && !unexpected())
            return report(error);
        return true;
    }

private:
    bool report(QString *error) const
    {
        *error = m_error;
        return false;
    }

    bool fail(const char *why)
    {
        m_error = message(why).arg(m_line);
        return false;
    }

    bool unexpected()
    {
        if (m_pos >= m_text.size())
            return fail(QT_TRANSLATE_NOOP("PresetText", "Line %1: the text ends too early."));
        const QString shown = QString::fromLatin1(m_text.mid(m_pos, 1).toPercentEncoding(" {}[]\",:#"));
        m_error
            = message(QT_TRANSLATE_NOOP("PresetText", "Line %1: \"%2\" is not expected here.")).arg(m_line).arg(shown);
        return false;
    }

    char peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : '\0'; }

    void skipSpace()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text.at(m_pos);
            if (c == '\n')
                ++m_line;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++m_pos;
        }
    }

    bool take(char c)
    {
        skipSpace();
        if (peek() != c)
            return unexpected();
        ++m_pos;
        return true;
    }

    bool takeWord(const char *word)
    {
        const int length = int(qstrlen(word));
        if (m_text.mid(m_pos, length) != word)
            return unexpected();
        m_pos += length;
        return true;
    }

    bool parseValue(Value *out, int depth)
    {
        if (depth > kMaxDepth)
            return fail(QT_TRANSLATE_NOOP("PresetText", "Line %1: the text nests too deep."));
        skipSpace();
        out->line = m_line;
        switch (peek()) {
        case '{':
            out->kind = Value::Object;
            return parseMembers(out, depth);
        case '[':
            out->kind = Value::Array;
            return parseItems(out, depth);
        case '"':
            out->kind = Value::String;
            return parseString(&out->text);
        case 't':
            return takeWord("true");
        case 'f':
            return takeWord("false");
        case 'n':
            return takeWord("null");
        default:
            return parseNumber(out);
        }
    }

    bool parseMembers(Value *out, int depth)
    {
        ++m_pos;
        skipSpace();
        if (peek() == '}') {
            ++m_pos;
            return true;
        }
        for (;;) {
            skipSpace();
            std::pair<QString, Value> member;
            if (peek() != '"')
                return unexpected();
            if (!parseString(&member.first) || !take(':') || !parseValue(&member.second, depth + 1))
                return false;
            out->members.push_back(std::move(member));
            skipSpace();
            if (peek() != ',')
                return take('}');
            ++m_pos;
        }
    }

    bool parseItems(Value *out, int depth)
    {
        ++m_pos;
        skipSpace();
        if (peek() == ']') {
            ++m_pos;
            return true;
        }
        for (;;) {
            Value item;
            if (!parseValue(&item, depth + 1))
                return false;
            out->items.push_back(std::move(item));
            skipSpace();
            if (peek() != ',')
                return take(']');
            ++m_pos;
        }
    }

    bool parseString(QString *out)
    {
        ++m_pos;
        QByteArray bytes;
        while (m_pos < m_text.size()) {
            const char c = m_text.at(m_pos++);
            if (c == '"') {
                *out = QString::fromUtf8(bytes);
                return true;
            }
            if (uchar(c) < 0x20) {
                --m_pos;
                return unexpected();
            }
            if (c != '\\') {
                bytes += c;
                continue;
            }
            const char e = peek();
            ++m_pos;
            static const QByteArray simple("\"\\/bfnrt");
            static const QByteArray meant("\"\\/\b\f\n\r\t");
            if (simple.contains(e) && e != '\0') {
                bytes += meant.at(simple.indexOf(e));
            } else if (e == 'u') {
                bool ok = false;
                const ushort unit = m_text.mid(m_pos, 4).toUShort(&ok, 16);
                if (!ok || m_pos + 4 > m_text.size())
                    return unexpected();
                m_pos += 4;
                bytes += QString(QChar(unit)).toUtf8();
            } else {
                --m_pos;
                return unexpected();
            }
        }
        return unexpected();
    }

    bool parseNumber(Value *out)
    {
        static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][-+]?[0-9]+)?"));
        const QRegularExpressionMatch match = number.match(QString::fromLatin1(m_text.mid(m_pos, 64)));
        if (!match.hasMatch())
            return unexpected();
        m_pos += match.capturedLength();
        if (!match.captured(2).isEmpty() || !match.captured(3).isEmpty())
            return true; // a fraction: Other, the wrong type for every setting
        out->kind = Value::Integer;
        bool ok = false;
        out->number = match.captured().toLongLong(&ok);
        if (!ok || qAbs(out->number) > kHugeNumber)
            out->number = match.captured().startsWith(QLatin1Char('-')) ? -kHugeNumber : kHugeNumber;
        return true;
    }

    const QByteArray &m_text;
    int m_pos = 0;
    int m_line = 1;
    QString m_error;
};

// How each setting is written and read; the same table serves both ways.
struct Field;
struct Records {
    const std::vector<Field> *fields;
    int count;
    int offset;
    int size;
};

struct Field {
    enum Kind { Name, Version, Header, Bytes, Number, Colour, List };
    const char *key;
    Kind kind;
    int offset; // in its record, or in the image at the top
    int min = 0;
    int max = 0;
    int width = 1; // bytes of Header and Bytes
    const Records *records = nullptr;
};

constexpr int kHeaderOffset = 1;
constexpr int kHeaderSize = layout::kVersionOffset - kHeaderOffset;
constexpr int kVersionSize = layout::kCurveOffset - layout::kVersionOffset;
constexpr int kByteMax = 255;
constexpr int kColourSize = 3;

const std::vector<Field> &padFields()
{
    static const std::vector<Field> fields{
        {layout::kPadKeys[0], Field::Number, 0, 0, layout::kPadTypeMax},
        {layout::kPadKeys[1], Field::Number, 1, 0, layout::kMaxValue},
        {layout::kPadKeys[2], Field::Number, 2, 1, layout::kChannelCount},
        {layout::kPadKeys[3], Field::Number, 3, 0, layout::kModeMax},
        {"padColor", Field::Colour, 4},
    };
    return fields;
}

const std::vector<Field> &knobFields()
{
    static const std::vector<Field> fields{
        {layout::kKnobKeys[0], Field::Number, 0, 0, layout::kKnobTypeMax},
        {layout::kKnobKeys[1], Field::Number, 1, 0, layout::kMaxValue},
        {layout::kKnobKeys[2], Field::Number, 2, 1, layout::kChannelCount},
        {layout::kKnobKeys[3], Field::Number, 3, 0, layout::kMaxValue},
        {layout::kKnobKeys[4], Field::Number, 4, 0, layout::kMaxValue},
        {layout::kKnobKeys[5], Field::Number, 5, 0, layout::kMaxValue},
        {layout::kKnobKeys[6], Field::Number, 6, 0, layout::kMaxValue},
    };
    return fields;
}

const std::vector<Field> &buttonFields()
{
    static const std::vector<Field> fields{
        {layout::kButtonKeys[0], Field::Number, 0, 0, layout::kButtonTypeMax},
        {layout::kButtonKeys[1], Field::Number, 1, 0, layout::kMaxValue},
        {layout::kButtonKeys[2], Field::Number, 2, 1, layout::kChannelCount},
        {layout::kButtonKeys[3], Field::Number, 3, 0, layout::kModeMax},
    };
    return fields;
}

const std::vector<Field> &topFields()
{
    static const Records pads{&padFields(), layout::kPadCount, layout::kPadOffset, layout::kPadRecordSize};
    static const Records knobs{&knobFields(), layout::kKnobCount, layout::kKnobOffset, layout::kKnobRecordSize};
    static const Records buttons{
        &buttonFields(), layout::kButtonCount, layout::kButtonOffset, layout::kButtonRecordSize};
    static const std::vector<Field> fields{
        {"format", Field::Name, 0},
        {"version", Field::Version, 0},
        {"header", Field::Header, kHeaderOffset, 0, 0, kHeaderSize},
        {"firmware", Field::Bytes, layout::kVersionOffset, 0, kByteMax, kVersionSize},
        {"curve", Field::Number, layout::kCurveOffset, 0, layout::kCurveMax},
        {"intensity", Field::Number, layout::kIntensityOffset, 0, layout::kMaxValue},
        {"pads", Field::List, 0, 0, 0, 1, &pads},
        {"knobs", Field::List, 0, 0, 0, 1, &knobs},
        {"buttons", Field::List, 0, 0, 0, 1, &buttons},
    };
    return fields;
}

QByteArray quoted(const QByteArray &text)
{
    return '"' + text + '"';
}

QByteArray valueText(const QByteArray &image, int base, const Field &field, int depth);

QByteArray objectText(const QByteArray &image, int base, const std::vector<Field> &fields, int depth)
{
    // The top level one setting per line; a record on one line of its own.
    const int width = 2 * (depth + 1);
    const QByteArray indent(width, ' ');
    const QByteArray gap = depth == 0 ? ",\n" + indent : QByteArray(", ");
    QByteArray out = depth == 0 ? "{\n" + indent : QByteArray("{");
    for (const Field &field : fields) {
        if (&field != &fields.front())
            out += gap;
        out += quoted(field.key) + ": " + valueText(image, base, field, depth);
    }
    return out + (depth == 0 ? QByteArray("\n}\n") : QByteArray("}"));
}

QByteArray valueText(const QByteArray &image, int base, const Field &field, int depth)
{
    const int at = base + field.offset;
    switch (field.kind) {
    case Field::Name:
        return quoted(kFormatName);
    case Field::Version:
        return QByteArray::number(kFormatVersion);
    case Field::Header:
        return quoted(image.mid(at, field.width).toHex(' ').toUpper());
    case Field::Bytes: {
        QByteArrayList numbers;
        for (int i = 0; i < field.width; ++i)
            numbers << QByteArray::number(uchar(image.at(at + i)));
        return '[' + numbers.join(", ") + ']';
    }
    case Field::Number:
        return QByteArray::number(int(qint8(image.at(at))));
    case Field::Colour: {
        QByteArray doubled;
        for (int i = 0; i < kColourSize; ++i)
            doubled += char(2 * image.at(at + i));
        return quoted('#' + doubled.toHex());
    }
    case Field::List: {
        const Records &r = *field.records;
        const int width = 2 * (depth + 1); // the list's own; its records one step further in
        const QByteArray indent(width + 2, ' ');
        QByteArray out = "[";
        for (int i = 0; i < r.count; ++i)
            out += (i ? ",\n" : "\n") + indent + objectText(image, r.offset + i * r.size, *r.fields, depth + 1);
        return out + '\n' + QByteArray(width, ' ') + ']';
    }
    }
    return {};
}

// Reads one object against its fields into the image; *error as the header says.
class Reader
{
public:
    explicit Reader(QByteArray *image)
        : m_image(image)
    { }

    bool readObject(const Value &object, int base, const std::vector<Field> &fields, const QString &path)
    {
        if (object.kind != Value::Object)
            return fail(object.line, path.isEmpty() ? QStringLiteral("{ }") : path,
                QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: a group of settings in braces is expected."));
        QStringList seen;
        for (const auto &member : object.members) {
            const QString where = path.isEmpty() ? member.first : path + QLatin1Char('.') + member.first;
            const auto field = std::find_if(
                fields.cbegin(), fields.cend(), [&](const Field &f) { return member.first == QLatin1String(f.key); });
            if (field == fields.cend())
                return fail(member.second.line, where,
                    QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: this is not a setting of a preset."));
            if (seen.contains(member.first))
                return fail(member.second.line, where,
                    QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: this setting is given twice."));
            seen << member.first;
            if (!readValue(member.second, base, *field, where))
                return false;
        }
        for (const Field &field : fields) {
            if (!seen.contains(QLatin1String(field.key)))
                return fail(object.line, path.isEmpty() ? QString::fromLatin1(field.key) : path + '.' + field.key,
                    QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: this setting is missing."));
        }
        return true;
    }

    QString error() const { return m_error; }

private:
    bool fail(int line, const QString &where, const char *why)
    {
        m_error = message(why).arg(line).arg(where);
        return false;
    }

    bool readValue(const Value &value, int base, const Field &field, const QString &where)
    {
        const int at = base + field.offset;
        switch (field.kind) {
        case Field::Name:
            if (value.kind != Value::String || value.text != QLatin1String(kFormatName)) {
                m_error = message(QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: \"%3\" is expected."))
                              .arg(value.line)
                              .arg(where, QLatin1String(kFormatName));
                return false;
            }
            return true;
        case Field::Version:
            if (value.kind != Value::Integer || value.number != kFormatVersion) {
                m_error = message(
                    QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: this editor reads presets of version %3 only."))
                              .arg(value.line)
                              .arg(where)
                              .arg(kFormatVersion);
                return false;
            }
            return true;
        case Field::Header: {
            static const QRegularExpression hex(
                QStringLiteral("^[0-9A-Fa-f]{2}( [0-9A-Fa-f]{2}){%1}$").arg(kHeaderSize - 1));
            if (value.kind != Value::String || !hex.match(value.text).hasMatch())
                return fail(value.line, where,
                    QT_TRANSLATE_NOOP("PresetText",
                        "Line %1, %2: seven bytes in hexadecimal such as \"01 00 00 00 20 6F 00\" are expected."));
            m_image->replace(at, field.width, QByteArray::fromHex(value.text.toLatin1()));
            return true;
        }
        case Field::Bytes:
            if (!readCount(value, field.width, where))
                return false;
            for (int i = 0; i < field.width; ++i) {
                if (!readNumber(value.items.at(i), at + i, field, QStringLiteral("%1[%2]").arg(where).arg(i)))
                    return false;
            }
            return true;
        case Field::Number:
            return readNumber(value, at, field, where);
        case Field::Colour:
            return readColour(value, at, where);
        case Field::List: {
            const Records &r = *field.records;
            if (!readCount(value, r.count, where))
                return false;
            for (int i = 0; i < r.count; ++i) {
                if (!readObject(value.items.at(i), r.offset + i * r.size, *r.fields,
                        QStringLiteral("%1[%2]").arg(where).arg(i)))
                    return false;
            }
            return true;
        }
        }
        return false;
    }

    bool readCount(const Value &value, int count, const QString &where)
    {
        if (value.kind != Value::Array)
            return fail(
                value.line, where, QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: a list in brackets is expected."));
        if (int(value.items.size()) != count) {
            m_error = message(QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: %3 entries are given; %4 are expected."))
                          .arg(value.line)
                          .arg(where)
                          .arg(int(value.items.size()))
                          .arg(count);
            return false;
        }
        return true;
    }

    bool readNumber(const Value &value, int at, const Field &field, const QString &where)
    {
        if (value.kind != Value::Integer)
            return fail(value.line, where, QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: a whole number is expected."));
        if (value.number < field.min || value.number > field.max) {
            m_error = message(QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: %3 is out of range; %4 to %5 are allowed."))
                          .arg(value.line)
                          .arg(where)
                          .arg(value.number)
                          .arg(field.min)
                          .arg(field.max);
            return false;
        }
        (*m_image)[at] = char(value.number);
        return true;
    }

    bool readColour(const Value &value, int at, const QString &where)
    {
        static const QRegularExpression colour(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
        if (value.kind != Value::String || !colour.match(value.text).hasMatch())
            return fail(value.line, where,
                QT_TRANSLATE_NOOP("PresetText", "Line %1, %2: a colour such as \"#ff8000\" is expected."));
        const QByteArray screen = QByteArray::fromHex(value.text.mid(1).toLatin1());
        for (int i = 0; i < kColourSize; ++i)
            (*m_image)[at + i] = char(uchar(screen.at(i)) / 2); // the controller keeps half
        return true;
    }

    QByteArray *m_image;
    QString m_error;
};

} // namespace

bool looksLikeText(const QByteArray &contents)
{
    return contents.trimmed().startsWith('{');
}

QByteArray write(const QByteArray &image)
{
    return objectText(image, 0, topFields(), 0);
}

bool read(const QByteArray &text, QByteArray *image, QString *error)
{
    Value root;
    if (!Parser(text).parse(&root, error))
        return false;
    // Every byte between F0 and F7 is one of the fields, all of them required.
    QByteArray built(layout::kImageSize, '\0');
    built[0] = char(layout::kSysExStart);
    built[layout::kImageSize - 1] = char(layout::kSysExEnd);
    Reader reader(&built);
    if (!reader.readObject(root, 0, topFields(), QString())) {
        *error = reader.error();
        return false;
    }
    *image = built;
    return true;
}

} // namespace presettext
