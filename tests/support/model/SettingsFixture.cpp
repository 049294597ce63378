#include "support/model/SettingsFixture.h"

void SettingsFixture::init()
{
    DataManagement fresh;
    fresh.initDefaultData();
    m_defaults = fresh.imageBytes();
    m_data.setImage(m_defaults.constData(), m_defaults.size());
}
