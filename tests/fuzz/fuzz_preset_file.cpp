// Preset files (.stm, .syx and .json) through the open path into the settings model.
#include "FuzzQuiet.h"
#include "model/DataManagement.h"
#include "model/ImageCheck.h"
#include "model/PresetFile.h"
#include "model/PresetText.h"
#include "model/SettingsText.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    silenceDebugLines();

    const QByteArray contents(reinterpret_cast<const char *>(data), int(size));
    QByteArray image;
    QString error;
    if (!preset::decode(contents, &image, &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal must say why
        return 0;
    }
    if (!isCompleteImage(image))
        std::abort(); // only complete images may reach the model

    DataManagement settings;
    settings.initDefaultData();
    settings.setImage(image.constData(), image.size());
    if (settings.imageBytes() != image)
        std::abort();
    presettext::write(image);
    settingsText::toText(settings);

    // What is read back must write out to the same bytes.
    if (preset::decode(preset::encode(image, preset::Format::Stm), &image, &error) && image != settings.imageBytes())
        std::abort();
    return 0;
}
