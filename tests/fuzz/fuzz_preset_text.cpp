// Presets as text, as a hand edit may leave them, through the reader.
#include "FuzzQuiet.h"
#include "model/ImageCheck.h"
#include "model/PresetText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    silenceDebugLines();

    const QByteArray text(reinterpret_cast<const char *>(data), int(size));
    QByteArray image("untouched");
    QString error;
    if (!presettext::read(text, &image, &error)) {
        // A refusal says where, and takes nothing.
        if (!error.startsWith(QLatin1String("Line ")) || image != "untouched")
            std::abort();
        return 0;
    }
    if (!isCompleteImage(image))
        std::abort();
    // What was read writes out to text that reads back to the same bytes.
    QByteArray again;
    if (!presettext::read(presettext::write(image), &again, &error) || again != image)
        std::abort();
    return 0;
}
