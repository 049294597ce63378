#include "model/DataManagement.h"

#include "model/ColorMath.h"
#include "model/ModelLog.h"

#include <QDebug>

#include <algorithm>
#include <cstring>

using namespace layout;

namespace {

constexpr int kPadTypeByte = 0;
constexpr int kPadDataByte = 1;
constexpr int kPadRedByte = 4;
constexpr int kKnobTypeByte = 0;
constexpr int kKnobDataByte = 1;

constexpr int kDefaultKnobData[kKnobCount] = {7, 1, 2, 10, 14, 15, 12, 13, 53, 54, 51, 52};

bool validBank(int bank)
{
    return bank >= 1 && bank <= kBankCount;
}

int padModeType(const QString &mode)
{
    if (mode == QLatin1String("cc"))
        return 1;
    if (mode == QLatin1String("pc"))
        return 2;
    return 0;
}

int knobModeType(const QString &mode)
{
    if (mode == QLatin1String("chn"))
        return 1;
    if (mode == QLatin1String("pitch"))
        return 2;
    return 0;
}

} // namespace

// Spans one public call; the outermost one reports whether the image changed.
class DataManagement::EditScope
{
public:
    explicit EditScope(DataManagement &d)
        : m_d(d)
    {
        if (m_d.m_editDepth++ == 0)
            m_d.m_beforeEdit = m_d.m_image;
    }
    ~EditScope()
    {
        if (--m_d.m_editDepth == 0 && m_d.m_beforeEdit != m_d.m_image)
            emit m_d.imageChanged();
    }

private:
    DataManagement &m_d;
};

DataManagement::DataManagement(QObject *parent)
    : QObject(parent)
{
    const unsigned char header[] = {0xF0, 0x01, 0x00, 0x00, 0x00, 0x20, 0x6F, 0x00, 0x01, 0x00, 0x00};
    std::memcpy(m_image.data(), header, sizeof header);
    m_image[kImageSize - 1] = char(kSysExEnd);
}

void DataManagement::initDefaultData()
{
    const EditScope scope(*this);
    for (int p = 0; p < kPadCount; ++p) {
        const int o = padOffset(p);
        const int bank = p / kPadsPerBank;
        storeByte(o + 0, 0);
        storeByte(o + 1, 24 + p);
        storeByte(o + 2, 1);
        storeByte(o + 3, 0);
        for (int c = 0; c < 3; ++c)
            storeByte(o + kPadRedByte + c, c == bank ? 90 : 0);
    }
    for (int k = 0; k < kKnobCount; ++k) {
        const int o = knobOffset(k);
        const int values[kKnobRecordSize] = {0, kDefaultKnobData[k], 1, 0, 127, 0, 127};
        for (int i = 0; i < kKnobRecordSize; ++i)
            storeByte(o + i, values[i]);
    }
    for (int j = 0; j < kButtonCount; ++j) {
        const int o = buttonOffset(j);
        const int values[kButtonRecordSize] = {0, 21 + j, 1, 0};
        for (int i = 0; i < kButtonRecordSize; ++i)
            storeByte(o + i, values[i]);
    }
    rebuildFullColor();
    emit s_updateDate();
}

void DataManagement::setImage(const char *data, int len)
{
    const EditScope scope(*this);
    if (data && len > 0)
        std::memcpy(m_image.data(), data, size_t(std::min(len, kImageSize)));
    rebuildFullColor();
    emit s_updateDate();
}

void DataManagement::rebuildFullColor()
{
    for (int p = 0; p < kPadCount; ++p) {
        const int o = padOffset(p) + kPadRedByte;
        m_fullColor[p]
            = normalizeColor(std::int8_t(m_image[o]), std::int8_t(m_image[o + 1]), std::int8_t(m_image[o + 2]));
    }
}

QVariantMap DataManagement::readRecord(int offset, const char *const *keys, int count) const
{
    QVariantMap map;
    for (int i = 0; i < count; ++i)
        map.insert(QString::fromLatin1(keys[i]), byteAt(offset + i));
    return map;
}

int DataManagement::keyIndex(const QString &key, const char *const *keys, int count)
{
    for (int i = 0; i < count; ++i) {
        if (key == QLatin1String(keys[i]))
            return i;
    }
    return -1;
}

QVariantMap DataManagement::getPadInfo(int index)
{
    if (index < 0 || index >= kPadCount) {
        qCDebug(lcModel) << "getPadInfo: pad index cross the border" << index;
        return {};
    }
    return readRecord(padOffset(index), kPadKeys, kPadRecordSize);
}

void DataManagement::setPadInfo(int index, QString valueType, int value)
{
    const EditScope scope(*this);
    if (index < 0 || index >= kPadCount) {
        qCDebug(lcModel) << "setPadInfo: pad index cross the border" << index;
        return;
    }
    qCDebug(lcModel) << "setPadInfo1 "
                     << "index:" << index << valueType << value;
    // Only the first four keys are plain numbers; colours go through the string form.
    const int i = keyIndex(valueType, kPadKeys, 4);
    if (i >= 0)
        storeByte(padOffset(index) + i, value);
}

void DataManagement::setPadInfo(int index, QString valueType, QString value)
{
    const EditScope scope(*this);
    if (index < 0 || index >= kPadCount)
        return;
    qCDebug(lcModel) << "setPadInfo2 "
                     << "index:" << index << valueType << value;
    if (valueType == QLatin1String("padRGB"))
        storePadColor(index, value);
}

void DataManagement::storePadColor(int pad, const QString &color)
{
    // An invalid colour reads as 0, 0, 0.
    std::array<int, 3> rgb{};
    if (!parseColor(color, &rgb))
        rgb = {};
    const int o = padOffset(pad) + kPadRedByte;
    for (int i = 0; i < 3; ++i)
        storeByte(o + i, rgb[i] / 2);
    m_fullColor[pad]
        = normalizeColor(std::int8_t(m_image[o]), std::int8_t(m_image[o + 1]), std::int8_t(m_image[o + 2]));
}

void DataManagement::setPadBatch(int bank, QString mode, bool isDes, QString valueType, int value)
{
    const EditScope scope(*this);
    if (!validBank(bank))
        return;
    const int type = padModeType(mode);
    const int first = kPadsPerBank * (bank - 1);
    for (int k = 0; k < kPadsPerBank; ++k) {
        const int p = first + k;
        storeByte(padOffset(p) + kPadTypeByte, type);
        if (valueType == QLatin1String("padData"))
            storeByte(padOffset(p) + kPadDataByte, isDes ? std::max(value - k, 0) : std::min(value + k, 127));
        else
            setPadInfo(p, valueType, value);
    }
    emit s_updateDate();
}

void DataManagement::setPadBatchColor(int bank, QString color)
{
    const EditScope scope(*this);
    if (!validBank(bank))
        return;
    qCDebug(lcModel) << "setPadBatchColor "
                     << "bank:" << bank << "color" << color;
    const int first = kPadsPerBank * (bank - 1);
    for (int k = 0; k < kPadsPerBank; ++k)
        storePadColor(first + k, color);
    emit s_updateDate();
}

void DataManagement::setCurveInten(QString valueType, int value)
{
    const EditScope scope(*this);
    qCDebug(lcModel) << "setCurveInten "
                     << "valueType:" << valueType << "value" << value;
    if (valueType == QLatin1String("curve"))
        storeByte(kCurveOffset, value);
    else if (valueType == QLatin1String("intensity"))
        storeByte(kIntensityOffset, value);
}

QVariantMap DataManagement::getBQMInfo(int index)
{
    if (index < 0 || index >= kKnobCount) {
        qCDebug(lcModel) << "getBQMInfo: pad index cross the border" << index;
        return {};
    }
    return readRecord(knobOffset(index), kKnobKeys, kKnobRecordSize);
}

void DataManagement::setBQMInfo(int index, QString valueType, int value)
{
    const EditScope scope(*this);
    if (index < 0 || index >= kKnobCount) {
        qCDebug(lcModel) << "setBQMInfo: pad index cross the border" << index;
        return;
    }
    qCDebug(lcModel) << "setBQMInfo "
                     << "index:" << index << valueType << value;
    const int i = keyIndex(valueType, kKnobKeys, kKnobRecordSize);
    if (i >= 0)
        storeByte(knobOffset(index) + i, value);
}

void DataManagement::setBQMBatch(int bank, QString mode, QString valueType, int value)
{
    const EditScope scope(*this);
    if (!validBank(bank))
        return;
    const int type = knobModeType(mode);
    const int first = kKnobsPerBank * (bank - 1);
    for (int k = 0; k < kKnobsPerBank; ++k) {
        const int q = first + k;
        storeByte(knobOffset(q) + kKnobTypeByte, type);
        if (valueType == QLatin1String("bqmData"))
            storeByte(knobOffset(q) + kKnobDataByte, std::clamp(value + k, 0, 127));
        else
            setBQMInfo(q, valueType, value);
    }
    emit s_updateDate();
}

QVariantMap DataManagement::getWalkingBeltInfo(int index)
{
    if (index < 0 || index >= kButtonCount) {
        qCDebug(lcModel) << "getWalkingBeltInfo: index cross the border" << index;
        return {};
    }
    return readRecord(buttonOffset(index), kButtonKeys, kButtonRecordSize);
}

void DataManagement::setWalkingBeltInfo(int index, QString valueType, int value)
{
    const EditScope scope(*this);
    if (index < 0 || index >= kButtonCount) {
        qCDebug(lcModel) << "setWalkingBeltInfo: index cross the border" << index;
        return;
    }
    qCDebug(lcModel) << "setWalkingBeltInfo "
                     << "index:" << index << valueType << value;
    const int i = keyIndex(valueType, kButtonKeys, kButtonRecordSize);
    if (i >= 0)
        storeByte(buttonOffset(index) + i, value);
}

void DataManagement::setLum(int bank, float value)
{
    const EditScope scope(*this);
    if (!validBank(bank))
        return;
    qCDebug(lcModel) << "setLum "
                     << "bank:" << bank << "value" << value;
    const int first = kPadsPerBank * (bank - 1);
    for (int k = 0; k < kPadsPerBank; ++k) {
        const int p = first + k;
        const int o = padOffset(p) + kPadRedByte;
        for (int c = 0; c < 3; ++c)
            storeByte(o + c, int(float(m_fullColor[p][c]) * value));
    }
    emit s_updateDate();
}

QVariantMap DataManagement::getCurveInten()
{
    return {{QStringLiteral("curve"), byteAt(kCurveOffset)}, {QStringLiteral("intensity"), byteAt(kIntensityOffset)}};
}

QVariantList DataManagement::getVerInfo()
{
    return {byteAt(kVersionOffset), byteAt(kVersionOffset + 1), byteAt(kVersionOffset + 2)};
}
