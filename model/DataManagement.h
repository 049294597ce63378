#pragma once

#include "model/SettingsLayout.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <cstdint>

// Holds the one settings image and the full-colour table derived from it.
// QML reaches it as "DataMgt"; every edit changes the image in place.
class DataManagement : public QObject
{
    Q_OBJECT
public:
    explicit DataManagement(QObject *parent = nullptr);

    const char *image() const { return m_image.data(); }
    QByteArray imageBytes() const { return QByteArray(m_image.data(), layout::kImageSize); }
    void setImage(const char *data, int len);

    // Full-colour entry of a pad (red, green, blue); for tests and tools.
    std::array<std::int8_t, 3> fullColor(int pad) const { return m_fullColor[pad]; }

public slots:
    void initDefaultData();

    QVariantMap getPadInfo(int index);
    void setPadInfo(int index, QString valueType, int value);
    void setPadInfo(int index, QString valueType, QString value);
    void setPadBatch(int bank, QString mode, bool isDes, QString valueType, int value);
    void setPadBatchColor(int bank, QString color);
    void setCurveInten(QString valueType, int value);
    // The velocity curve and the pressure level, as "curve" and "intensity".
    QVariantMap getCurveInten();

    QVariantMap getBQMInfo(int index);
    void setBQMInfo(int index, QString valueType, int value);
    void setBQMBatch(int bank, QString mode, QString valueType, int value);

    QVariantMap getWalkingBeltInfo(int index);
    void setWalkingBeltInfo(int index, QString valueType, int value);

    void setLum(int bank, float value);
    QVariantList getVerInfo();

signals:
    void s_updateDate();
    // After any call that changed the image, once per outermost call (a batch is one change).
    void imageChanged();

private:
    class EditScope;
    int byteAt(int offset) const { return int(std::int8_t(m_image[offset])); }
    void storeByte(int offset, int value) { m_image[offset] = char(value); }
    QVariantMap readRecord(int offset, const char *const *keys, int count) const;
    static int keyIndex(const QString &key, const char *const *keys, int count);
    void rebuildFullColor();
    void storePadColor(int pad, const QString &color);

    std::array<char, layout::kImageSize> m_image{};
    std::array<char, layout::kImageSize> m_beforeEdit{};
    int m_editDepth = 0;
    std::array<std::array<std::int8_t, 3>, layout::kPadCount> m_fullColor{};
};
